// A banner server in the test's own process: answers "/cgi-bin/getbanner.cgi" with our own
// animated GIFs in turn, each with its "bannerid" and "bannertime" headers, and can be told to
// fail or to cut its replies short. "/cgi-bin/clickbanner.cgi" is never asked for by the
// program itself (the browser would), so it is not served.
//
//   zbtest::BannerTestServer banners;
//   ASSERT_TRUE(banners.Start());
//   banners.SetDisplaySeconds(20);
//   ... the form asks banners.BaseUrl() ...
#pragma once
#include <string>
#include <vector>

#include "tests/servers/HttpTestServer.h"

namespace zbtest {

class BannerTestServer : public HttpTestServer {
 public:
  enum class Mode {
    Serve,     // the next banner, whole
    Fail,      // status 500
    Truncate,  // the next banner's head promises more bytes than the body brings
  };

  BannerTestServer();

  // "http://127.0.0.1:<port>/", the base address a banner server list holds.
  std::string BaseUrl() const { return Url("/"); }
  void SetMode(Mode mode);
  // The "bannertime" header's text; empty leaves the header out.
  void SetDisplaySeconds(const std::string& seconds);
  void SetDisplaySeconds(int seconds) { SetDisplaySeconds(std::to_string(seconds)); }
  // The "bannerid" header of the banners from now on; empty numbers them "1", "2", ...
  void SetBannerId(const std::string& id);
  // A pause before each reply's first byte.
  void SetDelay(DWORD ms);

  // The GIFs served in turn, and how many banner requests were answered with a banner.
  static std::vector<std::string> Banners();
  int BannersServed() const;
  // The getbanner requests' query texts, in order.
  std::vector<std::string> BannerQueries() const;

 private:
  HttpResponse Answer(const HttpRequest& request);

  mutable std::mutex bannerMutex_;
  Mode mode_ = Mode::Serve;
  std::string seconds_ = "30";
  std::string id_;
  int served_ = 0;
  DWORD delayMs_ = 0;
};

}  // namespace zbtest
