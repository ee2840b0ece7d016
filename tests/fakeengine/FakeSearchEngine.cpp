#include "tests/fakeengine/FakeSearchEngine.h"

#include "tests/fakeengine/FakePages.h"

namespace zbtest {

namespace {

using PageFunction = HttpResponse (*)(FakeCall&);

const std::map<std::string, PageFunction>& EngineTable() {
  static const std::map<std::string, PageFunction> table = {
      {"alpha", AlphaPages},   {"beta", BetaPages},       {"gamma", GammaPages},
      {"delta", DeltaPages},   {"epsilon", EpsilonPages}, {"zeta", ZetaPages},
      {"eta", EtaPages},       {"theta", ThetaPages},     {"solo", SoloPages},
      {"iwon", IwonPages},     {"kappa", KappaPages},     {"lambda", LambdaPages},
      {"tas", TasPages},       {"biwe", BiwePages},       {"maildirect", MailDirectPages},
      {"dir", DirectoryPages}, {"omicron", OmicronPages},
  };
  return table;
}

std::string FirstSegment(const std::string& path) {
  size_t start = path.find_first_not_of('/');
  if (start == std::string::npos) return std::string();
  size_t end = path.find_first_of("/?", start);
  return path.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

HttpResponse WebPage(const HttpRequest& request) {
  std::string host = HostOf(request.target);
  return HttpResponse::Text(Page(host, "<h1>Welcome to " + HtmlEscape(host) + "</h1>\n<p>" +
                                           HtmlEscape(request.target) + "</p>"));
}

}  // namespace

FakeSearchEngine::FakeSearchEngine() : state_(new FakeEngineState) {
  SetFallback([this](const HttpRequest& request) { return Dispatch(request); });
}

FakeSearchEngine::~FakeSearchEngine() {
  // The handlers use this object's members: no request may be served once they go.
  Stop();
}

std::string FakeSearchEngine::HostPort() const {
  return Address() + ":" + std::to_string(Port());
}

void FakeSearchEngine::SetScenario(const FakeScenario& scenario) {
  std::lock_guard<std::mutex> lock(scenarioMutex_);
  general_ = scenario;
}

void FakeSearchEngine::SetScenario(const std::string& engine, const FakeScenario& scenario) {
  std::lock_guard<std::mutex> lock(scenarioMutex_);
  perEngine_[engine] = scenario;
}

FakeScenario FakeSearchEngine::Scenario(const std::string& engine) const {
  std::lock_guard<std::mutex> lock(scenarioMutex_);
  auto it = perEngine_.find(engine);
  return it != perEngine_.end() ? it->second : general_;
}

std::vector<std::string> FakeSearchEngine::ResultUrls(const std::string& engine) const {
  return FakeResults(Scenario(engine)).Urls();
}

std::string FakeSearchEngine::OwnPath(const HttpRequest& request) const {
  const std::string& target = request.target;
  if (!target.empty() && target[0] == '/') return target;
  if (target.compare(0, 7, "http://") != 0) return std::string();
  std::string host = HostOf(target);
  std::string port = ":" + std::to_string(Port());
  if (host != HostPort() && host != "localhost" + port) return std::string();
  std::string rest = target.substr(7 + host.size());
  return rest.empty() || rest[0] != '/' ? "/" + rest : rest;
}

std::string FakeSearchEngine::EngineOf(const HttpRequest& request) const {
  return FirstSegment(OwnPath(request));
}

std::vector<HttpRequest> FakeSearchEngine::RequestsTo(const std::string& engine) const {
  std::vector<HttpRequest> found;
  for (const HttpRequest& request : Requests())
    if (EngineOf(request) == engine) found.push_back(request);
  return found;
}

std::vector<HttpRequest> FakeSearchEngine::WebRequests() const {
  std::vector<HttpRequest> found;
  for (const HttpRequest& request : Requests())
    if (OwnPath(request).empty()) found.push_back(request);
  return found;
}

std::vector<FakeSubmission> FakeSearchEngine::Submissions() const {
  return state_->Submissions();
}

void FakeSearchEngine::ClearRecords() {
  ClearRequests();
  state_->Clear();
}

HttpResponse FakeSearchEngine::Dispatch(const HttpRequest& request) {
  std::string target = OwnPath(request);
  if (target.empty()) {
    return request.target.compare(0, 7, "http://") == 0 ? WebPage(request) : NotFound();
  }
  std::string engine = FirstSegment(target);
  auto it = EngineTable().find(engine);
  if (it == EngineTable().end()) return NotFound();

  size_t question = target.find('?');
  FakeCall call{request,
                engine,
                target.substr(0, question),
                FormData(question == std::string::npos ? "" : target.substr(question + 1)),
                Base(),
                Scenario(engine),
                *state_};
  if (call.IsPost()) call.params.Add(request.body);
  for (const auto& [name, value] : call.params.Items()) {
    auto term = call.scenario.rankByTerm.find(value);
    if (term != call.scenario.rankByTerm.end()) call.scenario.rank = term->second;
  }
  return it->second(call);
}

// --- what the pages share ---

void FakeEngineState::Record(const FakeSubmission& submission) {
  std::lock_guard<std::mutex> lock(mutex_);
  submissions_.push_back(submission);
}

std::vector<FakeSubmission> FakeEngineState::Submissions() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return submissions_;
}

bool FakeEngineState::Remember(const std::string& engine, const std::string& url) {
  std::lock_guard<std::mutex> lock(mutex_);
  return !remembered_.insert(engine + " " + url).second;
}

int FakeEngineState::Next(const std::string& counter) {
  std::lock_guard<std::mutex> lock(mutex_);
  return ++counters_[counter];
}

void FakeEngineState::SaveTicket(const std::string& ticket, const FormData& fields) {
  std::lock_guard<std::mutex> lock(mutex_);
  tickets_[ticket] = fields;
}

bool FakeEngineState::FindTicket(const std::string& ticket, FormData& fields) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = tickets_.find(ticket);
  if (it == tickets_.end()) return false;
  fields = it->second;
  return true;
}

void FakeEngineState::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  submissions_.clear();
  remembered_.clear();
  counters_.clear();
  tickets_.clear();
}

std::string FakeCall::Cookie(const std::string& name) const {
  for (const auto& header : request.headers) {
    if (!EqualsNoCase(header.first, "Cookie")) continue;
    const std::string& line = header.second;
    size_t start = 0;
    while (start < line.size()) {
      size_t end = line.find(';', start);
      if (end == std::string::npos) end = line.size();
      std::string item = line.substr(start, end - start);
      size_t first = item.find_first_not_of(' ');
      item = first == std::string::npos ? std::string() : item.substr(first);
      size_t eq = item.find('=');
      if (eq != std::string::npos && item.substr(0, eq) == name) return item.substr(eq + 1);
      start = end + 1;
    }
  }
  return std::string();
}

std::string Page(const std::string& title, const std::string& body, const std::string& head) {
  return "<html><head><title>" + HtmlEscape(title) + "</title>\n" + head + "</head>\n<body>\n" +
         body + "\n</body></html>\n";
}

HttpResponse NotFound() {
  return HttpResponse::Text(Page("Not found", "<h1>Not found</h1>"), "text/html", 404);
}

HttpResponse Gif() {
  static const unsigned char kPixel[] = {
      0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00,
      0x00, 0xff, 0xff, 0xff, 0x21, 0xf9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
      0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};
  return HttpResponse::Text(std::string(reinterpret_cast<const char*>(kPixel), sizeof(kPixel)),
                            "image/gif");
}

std::string RefreshTag(RefreshStyle style, const std::string& absoluteUrl,
                       const std::string& relativeUrl) {
  switch (style) {
    case RefreshStyle::Plain:
      return "<meta http-equiv=\"refresh\" content=\"0;URL=" + absoluteUrl + "\">";
    case RefreshStyle::Blank:
      return "<meta http-equiv=\"refresh\" content=\"0; URL=" + absoluteUrl + "\">";
    case RefreshStyle::LowerCase:
      return "<meta http-equiv=\"Refresh\" content=\"0; url=" + absoluteUrl + "\">";
    case RefreshStyle::QuotedUrl:
      return "<meta http-equiv=\"refresh\" content=\"0; URL='" + absoluteUrl + "'\">";
    case RefreshStyle::Unquoted:
      return "<meta http-equiv=refresh content=0;url=" + absoluteUrl + ">";
    case RefreshStyle::Delayed:
      return "<meta http-equiv=\"refresh\" content=\"3;URL=" + absoluteUrl + "\">";
    case RefreshStyle::Relative:
      return "<meta http-equiv=\"refresh\" content=\"0;URL=" + relativeUrl + "\">";
    case RefreshStyle::None:
      break;
  }
  return std::string();
}

}  // namespace zbtest
