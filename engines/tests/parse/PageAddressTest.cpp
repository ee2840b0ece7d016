// Addresses that pages hand the engine: a refresh's target, a base address, a form's action, the
// next page's link, a result's link, a category's link. None may carry a line end (or any other
// control character) into a request, and none that leads to no web page ("javascript:",
// "mailto:" ...) is fetched or costs a name look-up.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engines/parse/FormParser.h"
#include "engines/parse/FormRecord.h"
#include "engines/parse/LinkParser.h"
#include "engines/parse/MetaRefresh.h"
#include "engines/parse/PageAddress.h"
#include "engines/query/PageCache.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineKeysFixture.h"
#include "engines/tests/ResultTestSupport.h"
#include "foundation/tests/net/NetTestSupport.h"
#include "tests/servers/HttpTestServer.h"

namespace {

using enginetest::DefinedEngine;
using enginetest::ResultTexts;
using Keys = std::vector<std::pair<const char*, std::string>>;

std::string S(const CLibString& text) {
  return text.c_str();
}

// Addresses as pages write them, and what each may become: "" where nothing is to be fetched.
const struct AddressCase {
  const char* written;
  const char* fetched;
} kAddresses[] = {
    {"http://a.example/x\r\nX-Injected: 1", "http://a.example/xX-Injected: 1"},
    {"/next\tpage\x0b\x01\x7f", "/nextpage"},
    {"page2.html", "page2.html"},
    {"?start=10", "?start=10"},
    {"HTTPS://secure.example/", "HTTPS://secure.example/"},
    {"www.example.test:8080/a", "www.example.test:8080/a"},
    {"javascript:alert(1)", ""},
    {"JavaScript:go('x')", ""},
    {"java\tscript:alert(1)", ""},
    {"mailto:pages@x.example", ""},
    {"ftp://files.example/list", ""},
    {"file:///c:/boot.ini", ""},
    {"data:text/html,<p>x</p>", ""},
    {"news:comp.lang", ""},
};

TEST(PageAddresses, RefreshTargets) {
  for (const AddressCase& c : kAddresses) {
    std::string page =
        "<html><head><META HTTP-EQUIV=\"Refresh\" CONTENT=\"0; URL=" + std::string(c.written) +
        "\"></head></html>";
    EXPECT_EQ(S(GetMetaRefreshUrl(page.c_str())), c.fetched) << c.written;
  }
}

TEST(PageAddresses, TextsThatEndWhereControlCharactersAreSkipped) {
  // Blanks and control characters are passed over before and inside a scheme; the text's end
  // must stop that, whatever lies behind it.
  const char buffer[] = "page\0javascript:x";
  EXPECT_TRUE(IsWebAddress(buffer));
  const char blanks[] = " \t\0mailto:x";
  EXPECT_TRUE(IsWebAddress(blanks));
  EXPECT_TRUE(IsWebAddress(""));
}

TEST(PageAddresses, LinksLoseControlCharacters) {
  for (const AddressCase& c : kAddresses) {
    std::string href = S(ExtractHref(("<a href=\"" + std::string(c.written) + "\">").c_str()));
    EXPECT_EQ(href.find_first_of("\r\n\t\x0b\x01\x7f"), std::string::npos) << c.written;
    EXPECT_EQ(IsWebAddress(href.c_str()), *c.fetched != '\0') << c.written;
  }
}

TEST(PageAddresses, NextPageLinks) {
  const struct {
    const char* pager;
    const char* next;
  } cases[] = {
      {"<a href=\"javascript:more()\">Next</a> <a href=\"/p2\">Next</a>", "/p2"},
      {"<a href=\"mailto:pages@x.example\">Next</a>", ""},
      {"<a href=\"/p\r\n2\">Next</a>", "/p2"},
      {"<a href=\" JAVASCRIPT:go()\">Next</a><a href=\"?page=2\">Next</a>", "?page=2"},
      {"<a name=\"top\">Next</a><a href=\"p3.html\">Next</a>", "p3.html"},
  };
  for (const auto& c : cases) {
    DefinedEngine defined("Pager Test Engine");
    defined.Set(".startmarker1", "<li>");
    defined.Set(".stopmarker1", "</li>");
    defined.Set(".nextpagemarker1", "Next");
    defined.engine.m_pageText = (std::string("<li>one</li>") + c.pager).c_str();
    defined.engine.ParseResultsPage();
    EXPECT_EQ(S(defined.engine.m_nextUrl), c.next) << c.pager;
    EXPECT_EQ(defined.engine.m_nextLinkFound != 0, *c.next != '\0') << c.pager;
  }
}

TEST(PageAddresses, BaseAddressesAndFormActions) {
  const struct {
    const char* base;
    const char* resolved;  // "page.htm" against the base, on http://www.site.test/dir/index.htm
  } cases[] = {
      {"http://base.example/a\r\nX-Injected: 1/",
       "get http://base.example/aX-Injected: 1/page.htm"},
      {"http://base.example/in\x01side/", "get http://base.example/inside/page.htm"},
      {"javascript:alert(1)", "get http://www.site.test/dir/page.htm"},
      {"mailto:x@y.example", "get http://www.site.test/dir/page.htm"},
  };
  for (const auto& c : cases) {
    CSearchEngine engine;
    engine.SetCurrentUrl(CUrl("http://www.site.test/dir/index.htm"));
    engine.m_pageText = ("<head><base href=\"" + std::string(c.base) + "\"></head>").c_str();
    EXPECT_EQ(S(engine.ResolveUrl("page.htm")), c.resolved) << c.base;
  }

  CSearchEngine engine;
  CEngineForm form;
  ParseForm(engine, "<!-- f -->", 1,
            "<!-- f --><form method=get action=\"/find\r\nX-Injected: 1\"><input name=q></form>",
            form, CNVList());
  EXPECT_EQ(S(form.m_action), "/findX-Injected: 1");
}

TEST(PageAddresses, CategoryLinksToNoPageNameNoCategory) {
  DefinedEngine defined("Address Cats");
  defined.Set(".categoryhlinkstartmarker1", "<li>");
  defined.Set(".categoryhlinkstopmarker1", "</li>");
  defined.Set(".categoryaddurllink", "Add");
  defined.engine.SetCurrentUrl(CUrl("http://dir.test/top/"));
  CNVList list;
  CLibString request;
  defined.engine.ReadCategoryPage(
      "<ul><li><a href=\"mailto:arts@dir.test\">Arts</a></li>"
      "<li><a href=\"javascript:open('m')\">Music</a></li>"
      "<li><a href=\"sci/\r\n\">Science</a></li></ul>"
      "<a href=\"javascript:add()\">Add</a> <a href=\"/add?c=3\">Add</a>",
      list, request);
  ASSERT_EQ(list.GetCount(), 1u);
  EXPECT_EQ(S(list.GetValue("Science")), "http://dir.test/top/sci/");
  EXPECT_EQ(S(request), "/add?c=3");
}

// Nothing that leads to no web page reaches the network, not even as a name look-up; an address
// with line ends reaches the server as one request line.
class PageAddressNetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server.Start()); }

  nettest::FakeNames names{std::vector<std::string>{}};
  zbtest::HttpTestServer server;
};

TEST_F(PageAddressNetTest, AddressesToNoPageAreNeverAskedFor) {
  CSearchEngine engine;
  for (const AddressCase& c : kAddresses) {
    if (*c.fetched) continue;
    CLibString page = "stale";
    engine.SendForm(page, c.written, nullptr, CLibString());
    EXPECT_EQ(S(page), "") << c.written;
    engine.SendForm(page, (std::string("post ") + c.written).c_str(), nullptr, CLibString());
    EXPECT_EQ(S(FetchPageCached(engine, c.written)), "") << c.written;
    EXPECT_EQ(S(ResolveFinalUrl(engine, c.written)), "") << c.written;
  }
  EXPECT_EQ(nettest::FakeNames::Lookups(), 0);
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(PageAddressNetTest, ImageCodesFromAddressesToNoImage) {
  DefinedEngine defined("Image Code Engine");
  defined.Set(".submitimage", "id=\"code\"");
  defined.engine.SetCurrentUrl(CUrl(server.Url("/add").c_str()));
  for (const AddressCase& c : kAddresses) {
    if (*c.fetched) continue;
    std::string page = "<img id=\"code\" src=\"" + std::string(c.written) + "\">";
    EXPECT_EQ(S(defined.engine.GetSubmitImageCode(page.c_str())), "") << c.written;
  }
  // An image named after its code gives the code without being fetched, as before.
  EXPECT_EQ(S(defined.engine.GetSubmitImageCode("<img id=\"code\" src=\"/c/K7\r\nQ.jpg\">")),
            "K7Q");
  EXPECT_EQ(nettest::FakeNames::Lookups(), 0);
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(PageAddressNetTest, ResultLinksAndRefreshesToNoPageAreNotFollowed) {
  server.Route("/first", zbtest::HttpResponse::Text(
                             "<meta http-equiv=\"refresh\" content=\"0;url=javascript:go()\">"
                             "<li><a href=\"javascript:open(1)\">One</a></li>"
                             "<li><a href=\"mailto:two@x.example\">Two</a></li>"));
  DefinedEngine defined("Follow Test Engine");
  defined.Set(".genfirst", server.Url("/first"));
  defined.Set(".followmetarefresh", "1");
  defined.Set(".followresulthlinks", "1");
  defined.Set(".startmarker1", "<li>");
  defined.Set(".stopmarker1", "</li>");
  defined.engine.RunQuery("widgets", 10, 5);
  EXPECT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(nettest::FakeNames::Lookups(), 0);
  const std::vector<std::string> texts = ResultTexts(defined.engine);
  ASSERT_EQ(texts.size(), 2u);
  for (const std::string& text : texts) EXPECT_EQ(text.find("<!--"), std::string::npos) << text;
}

TEST_F(PageAddressNetTest, LineEndsInAnAddressStayInOneRequestLine) {
  server.SetFallback([](const zbtest::HttpRequest&) { return zbtest::HttpResponse::Text("ok"); });
  CSearchEngine engine;
  CLibString page;
  engine.SendForm(page, (server.Url("/a\r\nX-Injected:1\r\n\x0b") + "b").c_str(), nullptr,
                  CLibString());
  EXPECT_EQ(S(page), "ok");
  ASSERT_EQ(server.RequestCount(), 1u);
  const zbtest::HttpRequest request = server.LastRequest();
  EXPECT_EQ(request.Header("X-Injected"), "");
  EXPECT_EQ(request.Path().find_first_of("\r\n\x0b"), std::string::npos) << request.Path();
}

}  // namespace
