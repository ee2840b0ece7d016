// The banner test server: our own GIFs in turn, with the headers a banner server sends.
#include "tests/servers/BannerTestServer.h"

namespace zbtest {
namespace {
#include "tests/servers/BannerGifs.inc"

template <size_t N>
std::string Bytes(const unsigned char (&data)[N]) {
  return std::string(reinterpret_cast<const char*>(data), N);
}
}  // namespace

BannerTestServer::BannerTestServer() {
  Route("/cgi-bin/getbanner.cgi", [this](const HttpRequest& r) { return Answer(r); });
}

std::vector<std::string> BannerTestServer::Banners() {
  return {Bytes(kBannerRed), Bytes(kBannerBlue)};
}

void BannerTestServer::SetMode(Mode mode) {
  std::lock_guard<std::mutex> lock(bannerMutex_);
  mode_ = mode;
}

void BannerTestServer::SetDisplaySeconds(const std::string& seconds) {
  std::lock_guard<std::mutex> lock(bannerMutex_);
  seconds_ = seconds;
}

void BannerTestServer::SetBannerId(const std::string& id) {
  std::lock_guard<std::mutex> lock(bannerMutex_);
  id_ = id;
}

void BannerTestServer::SetDelay(DWORD ms) {
  std::lock_guard<std::mutex> lock(bannerMutex_);
  delayMs_ = ms;
}

int BannerTestServer::BannersServed() const {
  std::lock_guard<std::mutex> lock(bannerMutex_);
  return served_;
}

std::vector<std::string> BannerTestServer::BannerQueries() const {
  std::vector<std::string> queries;
  for (const HttpRequest& request : Requests())
    if (request.Path() == "/cgi-bin/getbanner.cgi") queries.push_back(request.Query());
  return queries;
}

HttpResponse BannerTestServer::Answer(const HttpRequest&) {
  std::lock_guard<std::mutex> lock(bannerMutex_);
  if (mode_ == Mode::Fail) return HttpResponse::Text("no banner", "text/plain", 500);
  const std::vector<std::string> banners = Banners();
  const std::string& gif = banners[served_ % banners.size()];
  HttpResponse response = HttpResponse::Text(gif, "image/gif");
  response.Header("bannerid", id_.empty() ? std::to_string(served_ + 1) : id_);
  if (!seconds_.empty()) response.Header("bannertime", seconds_);
  response.delayMs = delayMs_;
  if (mode_ == Mode::Truncate) {
    // The length of the whole banner, then the connection closes half-way through it.
    response.truncateAfter = response.Wire().size() - gif.size() / 2;
  } else {
    ++served_;
  }
  return response;
}

}  // namespace zbtest
