// A plain forwarding HTTP proxy in the test's own process. It takes absolute-URI requests
// ("GET http://127.0.0.1:8080/a HTTP/1.0"), asks for Basic authorization (407 with
// "Proxy-Authenticate" when it is missing or wrong), and forwards to origins on 127.x only: it
// never resolves a name. Every request it got is recorded as it came.
//
//   zbtest::HttpTestServer origin;  origin.Start();  origin.Route("/a", ...);
//   zbtest::HttpTestProxy proxy("zbuser", "secret");
//   ASSERT_TRUE(proxy.Start());
//   ... client with proxy 127.0.0.1:proxy.Port(), user "zbuser", password "secret",
//       fetches origin.Url("/a") ...
//   EXPECT_EQ(proxy.LastRequest().Header("Proxy-Authorization"),
//             "Basic " + zbtest::HttpTestProxy::Base64("zbuser:secret"));
//   EXPECT_EQ(proxy.ForwardedCount(), 1);
#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "tests/servers/HttpMessages.h"
#include "tests/servers/LoopbackServer.h"

namespace zbtest {

class HttpTestProxy : public LoopbackServer {
 public:
  // An empty user name: no authorization asked. The default credentials need Base64 padding,
  // so a client that drops the padding is refused.
  explicit HttpTestProxy(std::string user = "zbuser", std::string password = "secret");
  ~HttpTestProxy() override;

  std::vector<HttpRequest> Requests() const;
  HttpRequest LastRequest() const;  // empty when none came
  // Requests passed on to an origin (authorized, with a loopback origin that answered).
  int ForwardedCount() const { return forwarded_; }

  // Padded Base64, as Basic authorization wants it.
  static std::string Base64(const std::string& text);

 protected:
  void Serve(Connection& connection) override;

 private:
  bool Authorized(const HttpRequest& request) const;
  void Forward(Connection& client, const HttpRequest& request);

  const std::string user_;
  const std::string password_;
  mutable std::mutex mutex_;
  std::vector<HttpRequest> requests_;
  std::atomic<int> forwarded_{0};
};

}  // namespace zbtest
