#include "engines/bench/HostilePageBench.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engines/db/EngineKeys.h"
#include "engines/parse/FormParser.h"
#include "engines/parse/FormRecord.h"
#include "engines/parse/LinkParser.h"
#include "engines/submit/PageTranslator.h"
#include "engines/db/SearchEngine.h"
#include "engines/parse/TagAttributes.h"
#include "engines/tests/parse/HostilePages.h"
#include "foundation/net/Url.h"

namespace {

using Clock = std::chrono::steady_clock;
using hostilepages::Repeat;
using Keys = std::vector<std::pair<const char*, const char*>>;

// A reader run on one page; true when it found what the page's real items say it must.
using Reader = std::function<bool(const std::string& page)>;

struct Case {
  const char* name;
  Reader read;
  std::string normal;
  std::string hostile;
};

// An engine of that name with the keys in the shared key list, as the engine database sets it.
CSearchEngine& DefinedEngine(const char* name, const Keys& keys) {
  static std::vector<std::unique_ptr<CSearchEngine>> engines;
  engines.push_back(std::make_unique<CSearchEngine>());
  CSearchEngine& engine = *engines.back();
  engine.m_name = name;
  engine.SetCurrentUrl(CUrl("http://dir.test/top/"));
  for (const auto& key : keys) EngineKeyList.SetAt(CLibString(name) + key.first, key.second);
  return engine;
}

void EmptyResults(CSearchEngine& engine) {
  while (CListNode* node = engine.m_results.Head()) {
    delete static_cast<CSearchResult*>(node->Payload());
    engine.m_results.Remove(node, true);
  }
}

// Parses the page as the engine's result page: the number of blocks, and the next page's address.
std::pair<int, std::string> ParseResults(CSearchEngine& engine, const std::string& page) {
  engine.m_pageText = page.c_str();
  int blocks = engine.ParseResultsPage();
  EmptyResults(engine);
  return {blocks, engine.m_nextUrl.c_str()};
}

std::vector<Case> MakeCases() {
  std::vector<Case> cases;
  cases.push_back({"form inputs",
                   [](const std::string& page) {
                     CSearchEngine engine;
                     CEngineForm form;
                     ParseForm(engine, "<!-- search -->", 1, page.c_str(), form, CNVList());
                     return form.m_hidden.GetValue("sid") == "7";
                   },
                   hostilepages::SearchForm(Repeat("<input type=hidden name=f value=1>")),
                   hostilepages::SearchForm(Repeat("<input "))});

  CSearchEngine& cats = DefinedEngine("Bench Cats", {{".categoryhlinkstartmarker1", "<li>"},
                                                     {".categoryhlinkstopmarker1", "</li>"},
                                                     {".categoryaddurllink", "suggest"}});
  cases.push_back({"category links",
                   [&cats](const std::string& page) {
                     CNVList list;
                     CLibString request;
                     cats.ReadCategoryPage(page.c_str(), list, request);
                     return list.GetCount() == 2 && request == "/suggest?c=1";
                   },
                   hostilepages::CategoryPage(Repeat("<a href=\"x.htm\">x</a> ")),
                   hostilepages::CategoryPage(Repeat("<a x"))});

  CSearchEngine& results =
      DefinedEngine("Bench Blocks", {{".startmarker1", "<li>"}, {".stopmarker1", "</li>"}});
  cases.push_back(
      {"result comments",
       [&results](const std::string& page) { return ParseResults(results, page).first == 2; },
       hostilepages::ResultList(Repeat("<!-- c --> ")), hostilepages::ResultList(Repeat("<!"))});

  CSearchEngine& pager = DefinedEngine(
      "Bench Pager",
      {{".startmarker1", "<li>"}, {".stopmarker1", "</li>"}, {".nextpagemarker1", "Next"}});
  cases.push_back(
      {"next markers",
       [&pager](const std::string& page) { return ParseResults(pager, page).second == "/p2"; },
       hostilepages::PagerAfter(Repeat("<a href=\"/x\">x</a> Next ")),
       hostilepages::PagerAfter(Repeat("<a x Next "))});

  cases.push_back(
      {"link texts",
       // The second link whose text holds the word is the short one at the end.
       [](const std::string& page) { return FindLink(page.c_str(), "zzz", 1) == "/short"; },
       hostilepages::LongLink(Repeat("word</a> <a href=\"/s\">")),
       hostilepages::LongLink(Repeat("word &nbsp;"))});

  CSearchEngine& mail = DefinedEngine("Infopoint", {});
  cases.push_back(
      {"mail links",
       [&mail](const std::string& page) {
         return mail.GetResultUrl(page.c_str(), false) == "http://c.example/";
       },
       Repeat("<a href=\"mailto:x@y.example\">m</a> ") + "<a href=\"http://c.example/\">C</a>",
       Repeat("<a href=\"mailto:x@y.example\" ") + "<a href=\"http://c.example/\">C</a>"});

  CSearchEngine& arrays =
      DefinedEngine("iWon Web Sites", {{".iwontitles", "titles=["}, {".iwonendofarray", "];"}});
  cases.push_back(
      {"result arrays",
       [&arrays](const std::string& page) { return ParseResults(arrays, page).first == 1; },
       hostilepages::ResultArrays(Repeat("var a = 1; ")),
       hostilepages::ResultArrays(Repeat("titles=[ ]; "))});

  cases.push_back({"attribute values",
                   [](const std::string& page) {
                     CNVList attributes;
                     ParseTagAttributes(page.c_str(), attributes);
                     return attributes.GetValue("value").GetLength() > 0;
                   },
                   "<input name=v value=\"" + Repeat("a and b ") + "\">",
                   "<input name=v value=\"" + Repeat("a&amp;\r\n") + "\">"});

  cases.push_back({"translation",
                   [](const std::string& page) {
                     return CTranslator::ExtractTranslation(page.c_str()).GetLength() > 0;
                   },
                   "<div style=\"padding:10px;\">" + Repeat("Bonjour ") + "</div>",
                   "<div style=\"padding:10px;\">" + Repeat("Bonjour\r\n")});
  return cases;
}

// Milliseconds per reading of the page; ok becomes false when a reading misses its items.
double TimePerPage(const Reader& read, const std::string& page, int rounds, bool& ok) {
  auto start = Clock::now();
  for (int r = 0; r < rounds; ++r) ok = read(page) && ok;
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / rounds;
}

}  // namespace

int RunHostilePageBench(int rounds) {
  if (rounds < 1) rounds = 1;
  std::vector<Case> cases = MakeCases();
  printf("== page readers on hostile pages (%d rounds, about %zu KB each)\n", rounds,
         hostilepages::kPageSize / 1024);
  printf("%-18s %15s %15s %8s\n", "reader", "normal ms/page", "hostile ms/page", "ratio");
  int status = 0;
  for (const Case& c : cases) {
    bool ok = true;
    double normal = TimePerPage(c.read, c.normal, rounds, ok);
    double hostile = TimePerPage(c.read, c.hostile, rounds, ok);
    printf("%-18s %15.3f %15.3f %8.2f%s\n", c.name, normal, hostile,
           normal > 0 ? hostile / normal : 0.0, ok ? "" : "  (items lost)");
    if (!ok) status = 1;
  }
  return status;
}
