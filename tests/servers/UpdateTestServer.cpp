#include "tests/servers/UpdateTestServer.h"

namespace zbtest {

std::string MakeCatalogue(const std::vector<UpdateFileSpec>& files,
                          const std::vector<std::string>& servers) {
  std::string text = "[File List]\r\nCount=" + std::to_string(files.size()) + "\r\n";
  for (size_t i = 0; i < files.size(); ++i)
    text += "File" + std::to_string(i) + "=" + files[i].name + "\r\n";
  for (const UpdateFileSpec& f : files) {
    text += "[" + f.name + "]\r\nDescription=The file " + f.name + "\r\nVersion=" + f.version +
            "\r\nSize=" + std::to_string(f.size) + "\r\nHttpPath=" + f.httpPath +
            "\r\nIsResource=" + std::to_string(f.isResource) + "\r\n";
    if (!f.dateTime.empty()) text += "DateTime=" + f.dateTime + "\r\n";
  }
  if (!servers.empty()) {
    text += "[FTP Servers]\r\nCount=" + std::to_string(servers.size()) + "\r\n";
    for (size_t i = 0; i < servers.size(); ++i)
      text += "Server" + std::to_string(i) + "=" + servers[i] + "\r\n";
  }
  return text;
}

UpdateTestServer::~UpdateTestServer() {
  Stop();
}

std::string UpdateTestServer::Host() const {
  return Address() + ":" + std::to_string(Port());
}

void UpdateTestServer::PublishCatalogue(const std::string& text) {
  Route(kCataloguePath, HttpResponse::Text(text, "text/plain"));
}

void UpdateTestServer::PublishArchive(const std::string& path, const std::string& bytes) {
  Route(path, HttpResponse::Text(bytes, "application/octet-stream"));
}

void UpdateTestServer::PublishShortArchive(const std::string& path, const std::string& bytes,
                                           size_t sent) {
  HttpResponse r = HttpResponse::Text(bytes, "application/octet-stream");
  r.Header("Content-Length", std::to_string(bytes.size()));
  r.truncateAfter = r.Wire().size() - bytes.size() + sent;
  Route(path, r);
}

void UpdateTestServer::PublishStalledArchive(const std::string& path, const std::string& bytes,
                                             size_t sent) {
  HttpResponse r = HttpResponse::Text(bytes, "application/octet-stream");
  r.stallAfter = r.Wire().size() - bytes.size() + sent;
  Route(path, r);
}

int UpdateTestServer::RequestsFor(const std::string& path) const {
  int n = 0;
  for (const HttpRequest& r : Requests())
    if (r.Path() == path) ++n;
  return n;
}

}  // namespace zbtest
