// The fake search engine: every engine of tests/fixtures/engines.src.dat served on loopback by
// one HTTP test server, each under its own path ("/alpha/", "/beta/", ... see README.md in
// tests/fixtures). Tests set where their site stands and how the engines behave (FakeScenario),
// run the engine code against it, and look at the requests and submissions it recorded.
//
//   zbtest::FakeSearchEngine fake;
//   ASSERT_TRUE(fake.Start());
//   zbtest::FakeScenario scenario;
//   scenario.rank = 12;
//   fake.SetScenario("alpha", scenario);
//   WriteEngineFixtures(dir, fake.Port(), BuildEngineDataKey().c_str());
//   ... load dir\engines.dat, run "Alpha Search" ...
//   EXPECT_EQ(fake.RequestsTo("alpha").size(), 2u);
//
// It also answers as a proxy: a request whose target is an absolute URL of its own host is
// served as above, and one for any other host gets a small page of that "web site" (status 200),
// so engines that follow result links can run with their proxy set to the fake engine without
// reaching out of the machine. Routes added with Route() take precedence over the engines.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/fakeengine/FakeResults.h"
#include "tests/fakeengine/FakeScenario.h"
#include "tests/servers/HttpTestServer.h"

namespace zbtest {

// One form an engine received on its add-URL or sign-in side.
struct FakeSubmission {
  std::string engine;  // path name: "alpha", "kappa", "lambda", "tas", "biwe", "dir"
  std::string step;    // "add", "terms", "details", "confirm", "signin", "suggest"
  FormData fields;     // query and body together
  bool accepted = false;
  std::string answer;  // the outcome text of the page
};

class FakeEngineState;

class FakeSearchEngine : public HttpTestServer {
 public:
  FakeSearchEngine();
  ~FakeSearchEngine() override;

  // "127.0.0.1:<port>" and "http://127.0.0.1:<port>".
  std::string HostPort() const;
  std::string Base() const { return "http://" + HostPort(); }

  // The scenario of every engine, or of one engine by its path name; one set for an engine wins
  // over the general one.
  void SetScenario(const FakeScenario& scenario);
  void SetScenario(const std::string& engine, const FakeScenario& scenario);
  FakeScenario Scenario(const std::string& engine) const;
  // The results the engine serves, rank 1 first.
  std::vector<std::string> ResultUrls(const std::string& engine) const;

  // Requests that reached one engine (directly or through the proxy side), in order.
  std::vector<HttpRequest> RequestsTo(const std::string& engine) const;
  // Requests for other hosts, answered as the web.
  std::vector<HttpRequest> WebRequests() const;
  std::vector<FakeSubmission> Submissions() const;
  // Forgets requests, submissions and what the engines remember (submitted addresses, tickets).
  void ClearRecords();

  // The path name of the engine a request went to ("" for none or another host).
  std::string EngineOf(const HttpRequest& request) const;

 private:
  HttpResponse Dispatch(const HttpRequest& request);
  // The request's path when it is for this server ("/alpha/search"), else empty.
  std::string OwnPath(const HttpRequest& request) const;

  mutable std::mutex scenarioMutex_;
  FakeScenario general_;
  std::map<std::string, FakeScenario> perEngine_;
  std::unique_ptr<FakeEngineState> state_;
};

}  // namespace zbtest
