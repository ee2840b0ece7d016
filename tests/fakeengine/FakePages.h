// Inside the fake search engine: one request on its way to an engine's pages, the state the
// engines keep between requests, and the page functions of the engines.
#pragma once

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "tests/fakeengine/FakeSearchEngine.h"

namespace zbtest {

class FakeEngineState {
 public:
  void Record(const FakeSubmission& submission);
  std::vector<FakeSubmission> Submissions() const;
  // True when the engine had taken this address before; remembers it.
  bool Remember(const std::string& engine, const std::string& url);
  // 1, 2, 3, ... per counter name.
  int Next(const std::string& counter);
  void SaveTicket(const std::string& ticket, const FormData& fields);
  bool FindTicket(const std::string& ticket, FormData& fields) const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<FakeSubmission> submissions_;
  std::set<std::string> remembered_;
  std::map<std::string, int> counters_;
  std::map<std::string, FormData> tickets_;
};

struct FakeCall {
  const HttpRequest& request;
  std::string engine;  // "alpha"
  std::string path;    // "/alpha/search", without the host when it came through the proxy side
  FormData params;     // the query and, for a POST, the body
  std::string base;    // "http://127.0.0.1:<port>"
  FakeScenario scenario;
  FakeEngineState& state;

  bool IsPost() const { return request.method == "POST"; }
  // The value of a cookie the request carries, empty when absent.
  std::string Cookie(const std::string& name) const;
};

// A whole HTML page.
std::string Page(const std::string& title, const std::string& body,
                 const std::string& head = std::string());
HttpResponse NotFound();
HttpResponse Gif();
// A page that refreshes to the address in the given form.
std::string RefreshTag(RefreshStyle style, const std::string& absoluteUrl,
                       const std::string& relativeUrl);

// The engines' pages by path name; each answers every path of its engine.
HttpResponse AlphaPages(FakeCall& call);
HttpResponse BetaPages(FakeCall& call);
HttpResponse GammaPages(FakeCall& call);
HttpResponse DeltaPages(FakeCall& call);
HttpResponse EpsilonPages(FakeCall& call);
HttpResponse ZetaPages(FakeCall& call);
HttpResponse EtaPages(FakeCall& call);
HttpResponse ThetaPages(FakeCall& call);
HttpResponse SoloPages(FakeCall& call);
HttpResponse IwonPages(FakeCall& call);
HttpResponse KappaPages(FakeCall& call);
HttpResponse LambdaPages(FakeCall& call);
HttpResponse TasPages(FakeCall& call);
HttpResponse BiwePages(FakeCall& call);
HttpResponse MailDirectPages(FakeCall& call);
HttpResponse DirectoryPages(FakeCall& call);
HttpResponse OmicronPages(FakeCall& call);
// The add-URL sides of engines that also search.
HttpResponse AlphaAddUrl(FakeCall& call);
HttpResponse KappaAddUrl(FakeCall& call);

}  // namespace zbtest
