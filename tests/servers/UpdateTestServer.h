// A local update server for the update program's tests: the HTTP test server publishing a
// catalogue under "/zubrin/latest/ZBPro.cat" and archives under any path. The catalogue's
// server list and the program's profile name it by "127.0.0.1:<port>".
//
//   zbtest::UpdateTestServer server;
//   ASSERT_TRUE(server.Start());
//   server.PublishArchive("/zubrin/latest/tool.arq", archiveBytes);
//   server.PublishCatalogue(zbtest::MakeCatalogue({{"tool.dll", "2.0.0.0", 5000,
//                                                  "/zubrin/latest/tool.arq"}}, {server.Host()}));
#pragma once
#include <string>
#include <vector>

#include "tests/servers/HttpTestServer.h"

namespace zbtest {

struct UpdateFileSpec {
  std::string name;
  std::string version;
  long size = 1000;
  std::string httpPath;
  int isResource = 0;
  std::string dateTime;  // empty: none
};

// The text of a catalogue listing the files, with the server list (none when empty).
std::string MakeCatalogue(const std::vector<UpdateFileSpec>& files,
                          const std::vector<std::string>& servers);

class UpdateTestServer : public HttpTestServer {
 public:
  static constexpr const char* kCataloguePath = "/zubrin/latest/ZBPro.cat";
  ~UpdateTestServer() override;

  // "127.0.0.1:<port>", as a server list names this server.
  std::string Host() const;
  void PublishCatalogue(const std::string& text);
  void PublishArchive(const std::string& path, const std::string& bytes);
  // The archive's first bytes only, with a "Content-Length" of the whole.
  void PublishShortArchive(const std::string& path, const std::string& bytes, size_t sent);
  // The archive's first bytes, then nothing until the client gives up (a transfer to cancel).
  void PublishStalledArchive(const std::string& path, const std::string& bytes, size_t sent);
  // How many requests asked for this path.
  int RequestsFor(const std::string& path) const;
};

}  // namespace zbtest
