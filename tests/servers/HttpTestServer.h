// An HTTP server in the test's own process: answers from a route table of fixed responses or
// handlers, with faults on demand, and records every request it got.
//
//   zbtest::HttpTestServer server;
//   ASSERT_TRUE(server.Start());
//   server.Route("/a", zbtest::HttpResponse::Redirect("/b"));
//   server.Route("/b", zbtest::HttpResponse::Text("<p>hi</p>").Header("Set-Cookie", "s=1;
//   path=/")); server.Route("/items/*", [](const zbtest::HttpRequest& r) {
//     return zbtest::HttpResponse::Text("item " + r.Path().substr(7));
//   });
//   ... client fetches server.Url("/a") ...
//   EXPECT_EQ(server.Requests()[1].Header("Referer"), server.Url("/a"));
#pragma once
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tests/servers/HttpMessages.h"
#include "tests/servers/LoopbackServer.h"

namespace zbtest {

class HttpTestServer : public LoopbackServer {
 public:
  using Handler = std::function<HttpResponse(const HttpRequest&)>;

  HttpTestServer() = default;
  ~HttpTestServer() override;

  // A route's path is matched against the whole target first ("/find?q=x"), then against the
  // target without its query ("/find"), then as a prefix when it ends in "*" ("/items/*"; the
  // longest prefix wins). A later route for the same path replaces the earlier one.
  void Route(const std::string& path, HttpResponse response);
  void Route(const std::string& path, Handler handler);
  // Answers requests that no route takes; without one they get 404.
  void SetFallback(Handler handler);

  // "http://127.0.0.1:<port>" followed by the path.
  std::string Url(const std::string& path = "/") const;

  std::vector<HttpRequest> Requests() const;
  size_t RequestCount() const;
  HttpRequest LastRequest() const;  // empty when none came
  // Waits until at least `count` requests have come; false when the time ran out.
  bool WaitForRequests(size_t count, DWORD timeoutMs = 5000) const;
  void ClearRequests();

 protected:
  void Serve(Connection& connection) override;

 private:
  HttpResponse Answer(const HttpRequest& request);

  mutable std::mutex mutex_;
  std::map<std::string, Handler> routes_;
  Handler fallback_;
  std::vector<HttpRequest> requests_;
};

}  // namespace zbtest
