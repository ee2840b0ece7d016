#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/servers/tests/RawClient.h"
#include "tools/enginedata/DataFileCoder.h"

namespace {

using zbtest::FakeResults;
using zbtest::FakeScenario;
using zbtest::FakeSearchEngine;
using zbtest::ParsedResponse;

int Count(const std::string& text, const std::string& part) {
  if (part.empty()) return 0;
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++n;
  return n;
}

std::string Unescape(std::string text) {
  for (size_t at; (at = text.find("&amp;")) != std::string::npos;) text.replace(at, 5, "&");
  return text;
}

// A small client with a cookie jar. Requests are texts as the engines write them: an optional
// "post " before a path or an absolute URL of the fake engine.
class Browser {
 public:
  explicit Browser(FakeSearchEngine& fake) : fake_(fake) {}

  ParsedResponse Fetch(const std::string& request, const std::string& host = "") {
    std::string method = "GET", target = request;
    if (target.compare(0, 5, "post ") == 0) {
      method = "POST";
      target.erase(0, 5);
    }
    if (target.compare(0, fake_.Base().size(), fake_.Base()) == 0)
      target.erase(0, fake_.Base().size());
    std::string body;
    if (method == "POST") {
      size_t question = target.find('?');
      if (question != std::string::npos) {
        body = target.substr(question + 1);
        target.erase(question);
      }
    }
    std::string wire = method + " " + target +
                       " HTTP/1.0\r\nHost: " + (host.empty() ? fake_.HostPort() : host) + "\r\n";
    std::string cookies;
    for (const auto& cookie : jar_)
      cookies += (cookies.empty() ? "" : "; ") + cookie.first + "=" + cookie.second;
    if (!cookies.empty()) wire += "Cookie: " + cookies + "\r\n";
    if (method == "POST")
      wire += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
              std::to_string(body.size()) + "\r\n";
    ParsedResponse response = zbtest::Parse(zbtest::Exchange(fake_.Port(), wire + "\r\n" + body));
    Keep(response);
    return response;
  }

  // Follows redirects; `hops` gets their statuses.
  ParsedResponse Follow(const std::string& request, std::vector<int>* hops = nullptr) {
    ParsedResponse response = Fetch(request);
    for (int n = 0; n < 12 && response.status >= 300 && response.status < 400; ++n) {
      if (hops) hops->push_back(response.status);
      response = Fetch(response.Header("Location"));
    }
    return response;
  }

  void Forget() { jar_.clear(); }
  std::string CookieValue(const std::string& name) const {
    auto it = jar_.find(name);
    return it == jar_.end() ? std::string() : it->second;
  }

 private:
  void Keep(const ParsedResponse& response) {
    std::regex setCookie("\r\nSet-Cookie: ([^=;\r]+)=([^;\r]*)", std::regex::icase);
    for (std::sregex_iterator it(response.head.begin(), response.head.end(), setCookie), end;
         it != end; ++it)
      jar_[(*it)[1]] = (*it)[2];
  }

  FakeSearchEngine& fake_;
  std::map<std::string, std::string> jar_;
};

class FakeEngineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fake.Start()); }
  FakeSearchEngine fake;
  Browser browser{fake};
};

// The readable fixture, as name -> key -> value (escapes replaced), for checks against the pages.
std::map<std::string, std::map<std::string, std::string>> ReadDefinitions(unsigned short port) {
  std::map<std::string, std::map<std::string, std::string>> sections;
  std::string text = zbtest::FixtureForPort("engines.src.dat", port);
  std::string section;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty()) {
      section.clear();
    } else if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
    } else if (!section.empty() && line[0] != '#') {
      size_t eq = line.find('=');
      std::string value = eq == std::string::npos ? "" : line.substr(eq + 1);
      for (size_t at; (at = value.find("\\n")) != std::string::npos;) value.replace(at, 2, "\n");
      sections[section][line.substr(0, eq)] = value;
    }
  }
  return sections;
}

std::string Substitute(std::string text, const std::map<std::string, std::string>& values) {
  for (const auto& v : values)
    for (size_t at; (at = text.find(v.first)) != std::string::npos;)
      text.replace(at, v.first.size(), v.second);
  return text;
}

TEST_F(FakeEngineTest, FixtureMarkersStandInTheEnginesPages) {
  auto definitions = ReadDefinitions(fake.Port());
  ASSERT_EQ(definitions.size(), 19u);
  EXPECT_EQ(definitions["Icons"]["redx"], "2");
  EXPECT_GT(definitions["Epsilon"]["legal"].size(), 4096u);
  EXPECT_EQ(definitions["Epsilon"]["afterlegal"], "ok");

  browser.Fetch("/zeta/");
  browser.Fetch("/theta/");
  // The first result page of each engine: where the first request leads, after its cookies,
  // redirects and refreshes, as the engine code will see it.
  struct {
    const char* engine;
    const char* page;  // null: the engine's first request
  } cases[] = {
      {"Alpha Search", nullptr},
      {"Beta Seek", nullptr},
      {"Gamma Index", nullptr},
      {"Delta Web", nullptr},
      {"Epsilon", nullptr},
      {"Zeta Finder", "/zeta/find?query=blue+widgets"},
      {"Eta Meta", "/eta/results?q=blue+widgets&o=0"},
      {"Theta", nullptr},
      {"Iota Solo", nullptr},
      {"iWon Web Sites", nullptr},
      {"Kappa", nullptr},
      {"Yahoo", nullptr},
  };
  std::map<std::string, std::string> firstPage = {{"#KEYWORDS#", "blue+widgets"},
                                                  {"#MAXMATCHES#", "50"}};
  std::map<std::string, std::string> afterFirst = {{"#TOTALRESULTS+1#", "11"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.engine);
    auto& keys = definitions[c.engine];
    ASSERT_EQ(keys["enabled"], "1");
    std::string request = c.page ? c.page : Substitute(keys["genfirst"], firstPage);
    if (request.find("//localhost:") != std::string::npos) request.erase(0, request.find("/solo/"));
    ParsedResponse response = browser.Follow(request);
    ASSERT_EQ(response.status, 200) << request;
    const std::string& page = response.body;

    std::vector<std::string> starts, ends;
    for (const char* suffix : {"", "2", "3", "4"}) {
      if (!keys["startofpage" + std::string(suffix)].empty())
        starts.push_back(keys["startofpage" + std::string(suffix)]);
      if (!keys["endofpage" + std::string(suffix)].empty())
        ends.push_back(keys["endofpage" + std::string(suffix)]);
    }
    auto anyIn = [&](const std::vector<std::string>& markers) {
      for (const auto& m : markers)
        if (page.find(m) != std::string::npos) return true;
      return markers.empty();
    };
    EXPECT_TRUE(anyIn(starts)) << "start of page";
    EXPECT_TRUE(anyIn(ends)) << "end of page";

    int blocks = 0;
    for (const char* n : {"1", "2", "3", "4"})
      blocks += Count(page, keys["startmarker" + std::string(n)]);
    if (c.engine == std::string("iWon Web Sites")) {
      blocks = Count(page, "new Array('");
      EXPECT_NE(page.find(keys["iwontitles"]), std::string::npos);
      EXPECT_NE(page.find(keys["iwonendofarray"]), std::string::npos);
    }
    EXPECT_EQ(blocks, 10);
    if (!keys["stopmarker1"].empty()) {
      EXPECT_GE(Count(page, keys["stopmarker1"]), 10);
    }

    if (keys["gennext"] == "#NEXTURL#") {
      std::string marker1 = Substitute(keys["nextpagemarker1"], afterFirst);
      std::string marker2 = keys["nextpagemarker2"];
      EXPECT_TRUE(page.find(marker1) != std::string::npos ||
                  (!marker2.empty() && page.find(marker2) != std::string::npos))
          << "next-page marker";
    }
    if (!keys["formstart2"].empty()) {
      EXPECT_EQ(page.find(keys["formstart"]), std::string::npos);
      EXPECT_NE(page.find(keys["formstart2"]), std::string::npos);
    }
  }
}

// Form starts after the marker up to the first form end: the forms that a form position can
// reach there.
int FormsInRegion(const std::string& page, const std::string& marker) {
  size_t start = page.find(marker);
  if (start == std::string::npos) return 0;
  size_t end = page.find("</form", start);
  return Count(page.substr(start, end == std::string::npos ? std::string::npos : end - start),
               "<form");
}

TEST_F(FakeEngineTest, FixtureFormMarkersReachTheirForms) {
  auto definitions = ReadDefinitions(fake.Port());
  FakeScenario scenario;
  scenario.categoriesNeedSignIn = false;
  fake.SetScenario(scenario);
  browser.Fetch("/kappa/");
  struct {
    const char* engine;
    const char* marker;    // key of the form marker
    const char* position;  // key of the form position
    std::string page;
  } cases[] = {
      {"Zeta Finder", "first_formstart", "", "/zeta/"},
      {"Kappa", "formstart2", "formposition", "/kappa/search?q=red"},
      {"Kappa", "submitformstart", "submitformposition", "/kappa/add.html"},
      {"Lambda Directory", "submitformstart", "", "/lambda/suggest"},
      {"Lambda Directory", "submitformstart2", "", "post /lambda/suggest/terms?agree=yes&sid=L-77"},
      {"Lambda Directory", "submitformstart3", "submitformposition3",
       "post /lambda/suggest/details?sid=L-77&url=http%3A%2F%2Fs.com%2F&title=T&email=a%40b.c"},
      {"Yahoo", "submitformstart2", "", "/dir/suggest?cat=arts/music/"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.engine) + " " + c.marker);
    auto& keys = definitions[c.engine];
    std::string marker = keys[c.marker];
    ASSERT_FALSE(marker.empty());
    int position = *c.position ? atoi(keys[c.position].c_str()) : 0;
    std::string page = browser.Fetch(c.page).body;
    EXPECT_GE(FormsInRegion(page, marker), std::max(position, 1)) << page;
  }
  // The category page offers its add-URL link, and the add page says it takes sites.
  std::string category = browser.Fetch("/dir/cat/arts/music/").body;
  EXPECT_NE(category.find(definitions["Yahoo"]["categoryaddurllink"]), std::string::npos);
  EXPECT_NE(category.find(definitions["Yahoo"]["categorystartofpage"]), std::string::npos);
  EXPECT_NE(browser.Fetch("/dir/suggest?cat=arts/music/")
                .body.find(definitions["Yahoo"]["categoryaddurlsupported"]),
            std::string::npos);
  EXPECT_NE(browser.Fetch("post /dir/signin?login=a%40b.c")
                .body.find(definitions["Yahoo"]["categorysigninsuccess"]),
            std::string::npos);
}

TEST(FakeResults, TheSiteStandsAtItsRankAmongLookalikes) {
  FakeScenario scenario;
  scenario.site = "http://www.site.com/";
  scenario.rank = 7;
  scenario.totalResults = 45;
  FakeResults results(scenario);
  ASSERT_EQ(results.Count(), 45);
  std::vector<std::string> lookalikes = FakeResults::MakeLookalikes(scenario.site);
  EXPECT_EQ(lookalikes[0], "http://www.site.co/");
  EXPECT_EQ(lookalikes[1], "http://site.community.org/");
  EXPECT_EQ(results.Url(7), "http://www.site.com/");
  // Nearest first, the earlier rank before the later at the same distance.
  EXPECT_EQ(results.Url(6), lookalikes[0]);
  EXPECT_EQ(results.Url(8), lookalikes[1]);
  EXPECT_EQ(results.Url(5), lookalikes[2]);
  EXPECT_EQ(results.Url(1), "http://www.result1.example/");
  EXPECT_EQ(results.Url(45), "http://www.result45.example/");
  EXPECT_EQ(results.Url(46), "");
  EXPECT_EQ(std::set<std::string>(results.Urls().begin(), results.Urls().end()).size(), 45u);

  for (int rank : {0, 46}) {
    scenario.rank = rank;
    FakeResults without(scenario);
    for (const std::string& url : without.Urls()) EXPECT_NE(url, scenario.site);
    EXPECT_EQ(without.Url(1), lookalikes[0]);
  }
  scenario.rank = 1;
  scenario.lookalikes = {"http://a.example/", "http://b.example/"};
  FakeResults custom(scenario);
  EXPECT_EQ(custom.Url(2), "http://a.example/");
  EXPECT_EQ(custom.Url(3), "http://b.example/");
  EXPECT_EQ(custom.Url(4), "http://www.result4.example/");
}

// Walks an engine's pages the way its definition does and gathers the result addresses.
struct Walk {
  const char* engine;  // path name
  std::string first;
  std::function<std::string(const std::string& page, int pages, int results)> next;
};

std::string HrefOfLinkWith(const std::string& page, const std::string& text) {
  size_t at = page.find(text);
  if (at == std::string::npos) return std::string();
  size_t open = page.rfind("<a href=\"", at);
  size_t close = page.find('"', open + 9);
  return Unescape(page.substr(open + 9, close - open - 9));
}

TEST_F(FakeEngineTest, EveryNextPageStyleWalksEveryResultOnce) {
  FakeScenario scenario;
  scenario.totalResults = 45;
  scenario.rank = 23;
  fake.SetScenario(scenario);
  browser.Fetch("/zeta/");
  browser.Fetch("/theta/");
  std::vector<Walk> walks = {
      {"alpha", "/alpha/search?q=red&n=50",
       [](const std::string& p, int, int) { return HrefOfLinkWith(p, ">Next page<"); }},
      {"beta", "/beta/search?q=red&first=1",
       [](const std::string& p, int, int) {
         std::string text = HrefOfLinkWith(p, ">Next results<");
         return text.empty() ? HrefOfLinkWith(p, "next.gif") : text;
       }},
      {"gamma", "/gamma/search?q=red&s=0",
       [](const std::string& p, int, int results) {
         return HrefOfLinkWith(p, ">[" + std::to_string(results + 1) + "-");
       }},
      {"delta", "/delta/search?q=red&start=0&num=50",
       [](const std::string&, int, int results) {
         return "/delta/search?q=red&start=" + std::to_string(results) + "&num=50";
       }},
      {"epsilon", "/epsilon/search?q=red&page=1",
       [](const std::string&, int pages, int) {
         return "/epsilon/search?q=red&page=" + std::to_string(pages + 1);
       }},
      {"zeta", "/zeta/find?query=red",
       [](const std::string&, int pages, int) {
         return "/zeta/find?query=red&skip=" + std::to_string(pages * 10);
       }},
      {"eta", "/eta/search?q=red&o=0",
       [](const std::string&, int, int results) {
         return "/eta/search?q=red&o=" + std::to_string(results);
       }},
      {"theta", "post /theta/query?q=red&n=50",
       [](const std::string& p, int, int) { return HrefOfLinkWith(p, ">More results<"); }},
      {"iwon", "/iwon/search?q=red&pg=1",
       [](const std::string& p, int, int) { return HrefOfLinkWith(p, ">Next Page<"); }},
      {"kappa", "/kappa/search?q=red",
       [](const std::string& p, int, int) -> std::string {
         std::smatch m;
         if (!std::regex_search(
                 p, m,
                 std::regex("<form method=\"post\" action=\"(/kappa/search)\">"
                            "<input type=\"hidden\" name=\"q\" value=\"(\\w+)\">"
                            "<input type=\"hidden\" name=\"pos\" value=\"(\\d+)\">")))
           return std::string();
         return "post " + m[1].str() + "?q=" + m[2].str() + "&pos=" + m[3].str() + "&nav=Next+10";
       }},
  };
  std::vector<std::string> expected = fake.ResultUrls("alpha");
  ASSERT_EQ(expected[22], scenario.site);
  for (const Walk& walk : walks) {
    SCOPED_TRACE(walk.engine);
    std::vector<std::string> found;
    std::string request = walk.first;
    int pages = 0;
    while (!request.empty() && pages < 10) {
      ParsedResponse response = browser.Follow(request);
      std::string page = response.body;
      // Eta's refresh page names the results page.
      std::smatch refresh;
      if (std::regex_search(page, refresh, std::regex("URL=([^\"]+)\">")))
        page = browser.Fetch(refresh[1].str()).body;
      size_t before = found.size();
      for (const std::string& url : expected) {
        std::string href = walk.engine == std::string("theta") ? zbtest::UrlEncode(url) : url;
        if (page.find((walk.engine == std::string("theta") ? "u=" : "") + href + "\"") !=
                std::string::npos ||
            page.find("'" + url + "'") != std::string::npos)
          found.push_back(url);
      }
      if (found.size() == before) break;  // past the end: a page without results
      ++pages;
      request = walk.next(page, pages, static_cast<int>(found.size()));
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(pages, 5);
  }
}

// An engine may place the site differently per search term; the term may stand in any field
// of the request, and a term without its own rank takes the scenario's.
TEST_F(FakeEngineTest, RanksByTermFollowTheRequestsTerm) {
  FakeScenario scenario;
  scenario.rank = 2;
  scenario.rankByTerm = {{"blue widgets", 5}, {"red", 0}};
  fake.SetScenario("delta", scenario);
  const struct {
    const char* request;
    int place;  // 1-based among the page's hits, 0 absent
  } cases[] = {
      {"/delta/search?q=blue+widgets&start=0&num=50", 5},
      {"/delta/search?q=red&start=0&num=50", 0},
      {"/delta/search?q=green&start=0&num=50", 2},
      {"/delta/search?q=blue&start=0&num=50", 2},  // a part of a term is another term
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request);
    std::string page = browser.Fetch(c.request).body;
    size_t at = page.find("<a href=\"" + scenario.site + "\"");
    if (c.place == 0) {
      EXPECT_EQ(at, std::string::npos);
      continue;
    }
    ASSERT_NE(at, std::string::npos) << page;
    EXPECT_EQ(Count(page.substr(0, at), "<p class=\"hit\">"), c.place);
  }
}

TEST_F(FakeEngineTest, PagesPastTheEndAreEmptyWhenAsked) {
  FakeScenario scenario;
  scenario.totalResults = 12;
  fake.SetScenario(scenario);
  ParsedResponse past = browser.Fetch("/delta/search?q=red&start=20");
  EXPECT_EQ(past.status, 200);
  EXPECT_NE(past.body.find("No more results"), std::string::npos);
  scenario.emptyPastEnd = true;
  fake.SetScenario("delta", scenario);
  EXPECT_EQ(browser.Fetch("/delta/search?q=red&start=20").body, "");
  EXPECT_EQ(browser.Fetch("/delta/search?q=&start=0").body, "");
  EXPECT_NE(browser.Fetch("/alpha/search?q=red&start=20").body, "") << "other engines keep theirs";
  EXPECT_EQ(Count(browser.Fetch("/delta/search?q=red&start=10").body, "<p class=\"hit\">"), 2);
}

TEST_F(FakeEngineTest, ZetaHomePageSetsACookieAndHoldsTheSearchForm) {
  ParsedResponse noCookie = browser.Fetch("/zeta/find?query=red");
  EXPECT_NE(noCookie.body.find("session has expired"), std::string::npos);
  ParsedResponse home = browser.Fetch("/zeta/");
  EXPECT_EQ(browser.CookieValue("zsession"), "Z1");
  for (const char* field :
       {"<div id=\"searchbox\">\n<form name=\"f\" method=\"get\" action=\"/zeta/find\">",
        "type=\"hidden\" name=\"src\" value=\"home page\"", "name=\"oq\" value=\"\"",
        "<option value=\"en\" selected>", "<option selected>Europe</option>",
        "name=\"safe\" value=\"on\" checked", "name=\"fresh\" value=\"1\">",
        "name=\"scope\" value=\"web\" checked", "<input type=\"image\" name=\"go\""})
    EXPECT_NE(home.body.find(field), std::string::npos) << field;
  ParsedResponse results = browser.Fetch(
      "/zeta/find?go.x=12&go.y=5&lang=en&query=red&region=Europe&safe=off&scope=web&num=50&oq=red&"
      "sid=ZS-1001&src=home+page");
  EXPECT_EQ(Count(results.body, "<h3 class=\"t\">"), 10);
  EXPECT_EQ(fake.RequestsTo("zeta").back().Header("Cookie"), "zsession=Z1");
}

TEST_F(FakeEngineTest, EtaAnswersWithEachFormOfMetaRefresh) {
  std::string results = fake.Base() + "/eta/results?q=red+car&o=10";
  struct {
    zbtest::RefreshStyle style;
    std::string tag;
  } cases[] = {
      {zbtest::RefreshStyle::Plain,
       "<meta http-equiv=\"refresh\" content=\"0;URL=" + results + "\">"},
      {zbtest::RefreshStyle::Blank,
       "<meta http-equiv=\"refresh\" content=\"0; URL=" + results + "\">"},
      {zbtest::RefreshStyle::LowerCase,
       "<meta http-equiv=\"Refresh\" content=\"0; url=" + results + "\">"},
      {zbtest::RefreshStyle::QuotedUrl,
       "<meta http-equiv=\"refresh\" content=\"0; URL='" + results + "'\">"},
      {zbtest::RefreshStyle::Unquoted, "<meta http-equiv=refresh content=0;url=" + results + ">"},
      {zbtest::RefreshStyle::Delayed,
       "<meta http-equiv=\"refresh\" content=\"3;URL=" + results + "\">"},
      {zbtest::RefreshStyle::Relative,
       "<meta http-equiv=\"refresh\" content=\"0;URL=/eta/results?q=red+car&o=10\">"},
  };
  FakeScenario scenario;
  for (const auto& c : cases) {
    scenario.refresh = c.style;
    fake.SetScenario("eta", scenario);
    ParsedResponse page = browser.Fetch("/eta/search?q=red+car&o=10");
    EXPECT_NE(page.body.find(c.tag), std::string::npos) << c.tag << "\n" << page.body;
    EXPECT_EQ(Count(page.body, "<!--RS-->"), 0);
  }
  scenario.refresh = zbtest::RefreshStyle::None;
  fake.SetScenario("eta", scenario);
  EXPECT_EQ(Count(browser.Fetch("/eta/search?q=red+car&o=10").body, "<!--RS-->"), 10);
  EXPECT_EQ(Count(browser.Fetch(results).body, "<!--RE-->"), 10);
}

TEST_F(FakeEngineTest, ThetaNeedsItsCookieAndRedirectsInHops) {
  EXPECT_EQ(browser.Fetch("post /theta/query?q=red&n=50").status, 403);
  browser.Fetch("/theta/");
  ASSERT_EQ(browser.CookieValue("tc"), "ok");
  for (int hops : {1, 2, 3, 5, 9}) {
    FakeScenario scenario;
    scenario.redirectHops = hops;
    fake.SetScenario("theta", scenario);
    std::vector<int> statuses;
    ParsedResponse page = browser.Follow("post /theta/query?q=red&n=50", &statuses);
    EXPECT_EQ(static_cast<int>(statuses.size()), hops);
    EXPECT_EQ(statuses[0], 302);
    if (hops >= 3) {
      EXPECT_EQ(statuses[1], 301);
      EXPECT_EQ(statuses[2], 303);
    }
    EXPECT_EQ(Count(page.body, "<span class=\"res\">"), 10) << hops;
  }
  // Relative and absolute locations take turns; the last is the absolute result page.
  ParsedResponse first = browser.Fetch("post /theta/query?q=red&n=50");
  EXPECT_EQ(first.Header("Location").substr(0, 11), "/theta/hop?");
  ParsedResponse second = browser.Fetch(first.Header("Location"));
  EXPECT_EQ(second.Header("Location").substr(0, fake.Base().size()), fake.Base());

  std::string url = fake.ResultUrls("theta")[3];
  ParsedResponse out = browser.Fetch("/theta/out?n=4&u=" + zbtest::UrlEncode(url));
  EXPECT_EQ(out.status, 302);
  EXPECT_EQ(out.Header("Location"), url);
  ParsedResponse next = browser.Fetch("/theta/next?q=red&p=2");
  EXPECT_EQ(next.Header("Location"), "/theta/serp?q=red&p=2");
}

TEST_F(FakeEngineTest, AnswersAsAProxyForItselfAndForTheWeb) {
  ParsedResponse own = browser.Fetch("/");  // not an engine
  EXPECT_EQ(own.status, 404);
  std::string wire = "GET " + fake.Base() +
                     "/alpha/search?q=red HTTP/1.0\r\nHost: " + fake.HostPort() + "\r\n\r\n";
  ParsedResponse proxied = zbtest::Parse(zbtest::Exchange(fake.Port(), wire));
  EXPECT_EQ(Count(proxied.body, "<li class=\"r\">"), 10);
  std::string web =
      "GET http://www.zb-testsite.com/about.html HTTP/1.0\r\nHost: "
      "www.zb-testsite.com\r\n\r\n";
  ParsedResponse site = zbtest::Parse(zbtest::Exchange(fake.Port(), web));
  EXPECT_EQ(site.status, 200);
  EXPECT_NE(site.body.find("Welcome to www.zb-testsite.com"), std::string::npos);
  // localhost is this server too ("Iota Solo").
  std::string solo =
      "GET http://localhost:" + std::to_string(fake.Port()) + "/solo/search?q=red HTTP/1.0\r\n\r\n";
  EXPECT_EQ(Count(zbtest::Parse(zbtest::Exchange(fake.Port(), solo)).body, "\n*"), 10);

  EXPECT_EQ(fake.RequestsTo("alpha").size(), 1u);
  EXPECT_EQ(fake.RequestsTo("solo").size(), 1u);
  ASSERT_EQ(fake.WebRequests().size(), 1u);
  EXPECT_EQ(fake.WebRequests()[0].Header("Host"), "www.zb-testsite.com");
  EXPECT_EQ(browser.Fetch("/omicron/search?q=red").status, 410);
  fake.ClearRecords();
  EXPECT_TRUE(fake.Requests().empty());
}

TEST_F(FakeEngineTest, AlphaTakesASiteInOneRequest) {
  ParsedResponse ok = browser.Fetch("/alpha/addurl?url=http%3A%2F%2Fwww.site.com%2F&email=a%40b.c");
  EXPECT_NE(ok.body.find("Thank you for submitting http://www.site.com/"), std::string::npos);
  ParsedResponse update =
      browser.Fetch("/alpha/addurl?url=http%3A%2F%2Fwww.site.com%2F&email=a%40b.c&update=1");
  EXPECT_NE(update.body.find("Your listing has been updated"), std::string::npos);
  ParsedResponse missing = browser.Fetch("/alpha/addurl?url=&email=a%40b.c");
  EXPECT_EQ(missing.body.find("Thank you"), std::string::npos);
  FakeScenario refusing;
  refusing.submitSucceeds = false;
  fake.SetScenario("alpha", refusing);
  ParsedResponse refused = browser.Fetch("/alpha/addurl?url=http%3A%2F%2Fx.com%2F&email=a%40b.c");
  EXPECT_NE(refused.body.find("could not accept"), std::string::npos);

  auto submissions = fake.Submissions();
  ASSERT_EQ(submissions.size(), 4u);
  EXPECT_EQ(submissions[0].engine, "alpha");
  EXPECT_EQ(submissions[0].fields.Get("email"), "a@b.c");
  EXPECT_TRUE(submissions[0].accepted);
  EXPECT_TRUE(submissions[1].accepted);
  EXPECT_FALSE(submissions[2].accepted);
  EXPECT_FALSE(submissions[3].accepted);
}

TEST_F(FakeEngineTest, KappaAddFormNeedsItsCookieAndTheVerificationCode) {
  EXPECT_EQ(browser.Fetch("/kappa/add.html").body.find("<form method=\"post\""), std::string::npos);
  browser.Fetch("/kappa/");
  ParsedResponse form = browser.Fetch("/kappa/add.html");
  EXPECT_NE(form.body.find("<div id=\"content\">"), std::string::npos);
  EXPECT_EQ(Count(form.body, "<form"), 2);
  EXPECT_NE(form.body.find("<img id=\"vcode\" src=\"/kappa/code/K7Q2X.jpg\""), std::string::npos);

  FakeScenario gif;
  gif.captcha = zbtest::CaptchaImage::Gif;
  gif.verificationCode = "W9P";
  fake.SetScenario("kappa", gif);
  form = browser.Fetch("/kappa/add.html");
  EXPECT_NE(form.body.find("<img id=\"vcode\" src=\"/kappa/code/img1.gif\""), std::string::npos);
  ParsedResponse image = browser.Fetch("/kappa/code/img1.gif");
  EXPECT_EQ(image.body.substr(0, 6), "GIF89a");

  // The form's own fields first, the engine's after them: the later value counts.
  std::string post =
      "post /kappa/add?add=Add+URL&code=&desc=&email=&title=&url=http%3A%2F%2F&"
      "token=KT-5521&url=http%3A%2F%2Fwww.site.com%2F&email=a%40b.c&title=T&code=";
  struct {
    std::string code;
    bool succeeds;
    const char* answer;
  } cases[] = {
      {"WRONG", true, "Invalid verification code"},
      {"W9P", true, "Your site has been received"},
      {"W9P", true, "already in our queue"},
      {"W9P", false, "cannot accept new sites"},
  };
  for (const auto& c : cases) {
    gif.submitSucceeds = c.succeeds;
    fake.SetScenario("kappa", gif);
    EXPECT_NE(browser.Fetch(post + c.code).body.find(c.answer), std::string::npos) << c.answer;
  }
  auto submissions = fake.Submissions();
  ASSERT_EQ(submissions.size(), 4u);
  EXPECT_EQ(submissions[1].fields.Get("url"), "http://www.site.com/");
  EXPECT_EQ(submissions[1].fields.Get("token"), "KT-5521");
  browser.Forget();
  EXPECT_NE(browser.Fetch(post + "W9P").body.find("session has expired"), std::string::npos);
}

TEST_F(FakeEngineTest, LambdaTakesASiteInThreeStepsAndRefreshesToTheOutcome) {
  for (bool succeeds : {true, false}) {
    SCOPED_TRACE(succeeds);
    FakeScenario scenario;
    scenario.submitSucceeds = succeeds;
    fake.SetScenario("lambda", scenario);
    ParsedResponse terms = browser.Fetch("/lambda/suggest");
    EXPECT_NE(terms.body.find("<div id=\"terms\">"), std::string::npos);
    ParsedResponse details =
        browser.Fetch("post /lambda/suggest/terms?agree=yes&next=Continue&sid=L-77");
    EXPECT_NE(details.body.find("<div id=\"details\">"), std::string::npos);
    ParsedResponse confirm = browser.Fetch(
        "post /lambda/suggest/details?region=eu&url=&title=&sid=L-77&step=2&url=http%3A%2F%2Fwww."
        "site.com%2F&title=Site&description=D&contact=A+B&email=a%40b.c");
    std::smatch ticket;
    ASSERT_TRUE(std::regex_search(confirm.body, ticket, std::regex("value=\"(TK-\\d+)\"")));
    ParsedResponse outcome =
        browser.Fetch("post /lambda/suggest/confirm?ok=Confirm&sid=L-77&ticket=" + ticket[1].str());
    EXPECT_EQ(outcome.body.find("queued for review"), std::string::npos);
    std::smatch refresh;
    ASSERT_TRUE(
        std::regex_search(outcome.body, refresh,
                          std::regex("<meta http-equiv=\"refresh\" content=\"1;URL=([^\"]+)\">")));
    ParsedResponse final = browser.Fetch(refresh[1].str());
    EXPECT_EQ(final.body.find("has been queued for review") != std::string::npos, succeeds);
  }
  EXPECT_NE(browser.Fetch("post /lambda/suggest/terms?sid=L-77").body.find("accept the terms"),
            std::string::npos);
  EXPECT_NE(browser.Fetch("post /lambda/suggest/details?sid=L-77&url=x").body.find("missing"),
            std::string::npos);
  auto submissions = fake.Submissions();
  ASSERT_EQ(submissions.size(), 8u);
  EXPECT_EQ(submissions[1].step, "details");
  EXPECT_EQ(submissions[1].fields.Get("url"), "http://www.site.com/");
  EXPECT_EQ(submissions[1].fields.Get("contact"), "A B");
  EXPECT_TRUE(submissions[2].accepted);
  EXPECT_FALSE(submissions[5].accepted);
}

TEST_F(FakeEngineTest, TasmaniaAndBiweAnswerTheirOnePost) {
  ParsedResponse ok =
      browser.Fetch("post /tas/add?url=www.site.com%2F&email=a%40b.c&type=Commercial");
  EXPECT_NE(ok.body.find("Listing received"), std::string::npos);
  EXPECT_NE(
      ok.body.find("<meta http-equiv=\"refresh\" content=\"0;URL=" + fake.Base() + "/tas/\">"),
      std::string::npos);
  EXPECT_EQ(browser.Fetch(fake.Base() + "/tas/").body.find("Listing received"), std::string::npos);
  EXPECT_NE(browser.Fetch("post /tas/add?url=x.com&email=a%40b.c&type=ADULT").body.find("refused"),
            std::string::npos);

  struct {
    std::string query;
    const char* answer;
  } cases[] = {
      {"clave=&url=http%3A%2F%2Fs.es%2F&titulo=T&loc=es-md", "clave incorrecta"},
      {"clave=k&url=http%3A%2F%2Fs.es%2F&titulo=T&loc=", "Alta pendiente"},
      {"clave=k&url=http%3A%2F%2Fs.es%2F&titulo=T&loc=es-md", "ya estaba dada de alta"},
      {"clave=k&url=http%3A%2F%2Fotro.es%2F&titulo=T&loc=es-md", "Alta realizada"},
  };
  for (const auto& c : cases)
    EXPECT_NE(browser.Fetch("post /biwe/alta?" + c.query).body.find(c.answer), std::string::npos)
        << c.answer;
  EXPECT_EQ(fake.Submissions().back().fields.Get("loc"), "es-md");
}

TEST_F(FakeEngineTest, DirectoryCategoriesAfterSignIn) {
  ParsedResponse closed = browser.Fetch("/dir/cat/arts/");
  EXPECT_NE(closed.body.find("<div id=\"nocats\">"), std::string::npos);
  EXPECT_EQ(closed.body.find("<ul class=\"cats\">"), std::string::npos);

  FakeScenario refusing;
  refusing.signInSucceeds = false;
  fake.SetScenario("dir", refusing);
  EXPECT_EQ(browser.Fetch("post /dir/signin?login=a%40b.c&remember=1").body.find("signed in"),
            std::string::npos);
  EXPECT_EQ(browser.CookieValue("dirauth"), "");
  fake.SetScenario("dir", FakeScenario());
  ParsedResponse signin = browser.Fetch("post /dir/signin?login=a%40b.c&remember=1");
  EXPECT_NE(signin.body.find("You are signed in as a@b.c"), std::string::npos);
  EXPECT_EQ(browser.CookieValue("dirauth"), "a%40b.c");

  ParsedResponse arts = browser.Fetch("/dir/cat/arts/");
  EXPECT_NE(
      arts.body.find("<a href=\"" + fake.Base() + "/dir/suggest?cat=arts/\">Suggest a Site</a>"),
      std::string::npos);
  EXPECT_LT(arts.body.find("Suggest a Site"), arts.body.find("<ul class=\"cats\">"));
  EXPECT_NE(arts.body.find("<li><a href=\"/dir/cat/arts/music/\">Music</a> (120)</li>"),
            std::string::npos);
  EXPECT_EQ(Count(arts.body, "<li"), 2);
  ParsedResponse music = browser.Fetch("/dir/cat/arts/music/");
  EXPECT_EQ(Count(music.body, "<li class=\"new\">"), 2);
  EXPECT_EQ(Count(browser.Fetch("/dir/cat/").body, "<li>"), 4);

  EXPECT_NE(browser.Fetch("/dir/suggest?cat=arts/").body.find("more specific"), std::string::npos);
  ParsedResponse suggest = browser.Fetch("/dir/suggest?cat=arts/music/");
  EXPECT_NE(suggest.body.find("Suggest a Site to Arts &gt; Music"), std::string::npos);
  EXPECT_NE(suggest.body.find("<div id=\"suggest\">"), std::string::npos);
  std::string add =
      "post /dir/suggest/add?cat=arts%2Fmusic%2F&url=&url=http%3A%2F%2Fs.com%2F&title=T";
  EXPECT_NE(
      browser.Fetch(add).body.find("Thank you for suggesting http://s.com/ to Arts &gt; Music"),
      std::string::npos);
  EXPECT_NE(browser.Fetch(add).body.find("We already list"), std::string::npos);

  FakeScenario open;
  open.categoriesNeedSignIn = false;
  fake.SetScenario("dir", open);
  browser.Forget();
  EXPECT_NE(browser.Fetch("/dir/cat/business/").body.find("Companies"), std::string::npos);
  EXPECT_EQ(Count(browser.Fetch("/dir/search?p=red").body, "<li class=\"site\">"), 10);
}

TEST_F(FakeEngineTest, FixturesAreWrittenForThePortScrambledOrPlain) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder =
      std::string(temp) + "fakeengine_fixtures_" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  const char* key = "a test key";
  for (bool scrambled : {false, true}) {
    ASSERT_TRUE(zbtest::WriteEngineFixtures(folder, fake.Port(), scrambled ? key : nullptr));
    for (const std::string name : {"engines", "categories"}) {
      std::string expected = zbtest::FixtureForPort(name + ".src.dat", fake.Port());
      EXPECT_EQ(expected.find("@PORT@"), std::string::npos);
      EXPECT_NE(expected.find("127.0.0.1:" + std::to_string(fake.Port()) + "/"), std::string::npos);
      FILE* file = fopen((folder + "\\" + name + ".dat").c_str(), "rb");
      ASSERT_NE(file, nullptr);
      std::string written;
      char buffer[4096];
      for (size_t n; (n = fread(buffer, 1, sizeof(buffer), file)) > 0;) written.append(buffer, n);
      fclose(file);
      if (!scrambled) {
        EXPECT_EQ(written, expected);
        continue;
      }
      EXPECT_EQ(written.find("127.0.0.1:" + std::to_string(fake.Port())), std::string::npos)
          << "only comments stay readable";
      CDataFileCoder coder(key);
      std::string decoded;
      size_t start = 0;
      while (start < written.size()) {
        size_t end = written.find('\n', start);
        if (end == std::string::npos) end = written.size();
        std::string plain;
        coder.DecodeLine(written.substr(start, end - start), plain);
        decoded += plain + "\n";
        start = end + 1;
      }
      EXPECT_EQ(decoded, expected) << name;
      DeleteFileA((folder + "\\" + name + ".dat").c_str());
    }
  }
  RemoveDirectoryA(folder.c_str());
  EXPECT_EQ(zbtest::ReadFixture("engines.dat").substr(0, 9), "# Engine ");
}

}  // namespace
