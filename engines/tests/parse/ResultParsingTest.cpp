// Reading one result page with an engine's markers: the result blocks it is cut into, the next
// page's link in each way engines show it, the search form for the next request, and pages that
// are damaged, empty or cut short.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engines/query/DebugOptions.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineKeysFixture.h"
#include "engines/tests/EngineTestSupport.h"
#include "engines/tests/ResultTestSupport.h"

namespace {

using enginetest::DefinedEngine;
using enginetest::EventLog;
using enginetest::Results;
using enginetest::ResultTexts;
using Keys = std::vector<std::pair<const char*, std::string>>;
using Texts = std::vector<std::string>;

std::string S(const CLibString& text) {
  return text.c_str();
}

// An engine defined by the keys, with the page as its current page.
class PageEngine {
 public:
  PageEngine(const Keys& keys, const std::string& page, const char* name = "Parse Test Engine")
      : defined(name) {
    for (const auto& key : keys) defined.Set(key.first, key.second);
    engine().m_pageText = page.c_str();
  }
  CSearchEngine& engine() { return defined.engine; }
  int Parse() { return engine().ParseResultsPage(); }
  Texts Blocks() { return ResultTexts(engine()); }
  std::string Next() { return S(engine().m_nextUrl); }

  DefinedEngine defined;
};

Texts ParseBlocks(const Keys& keys, const std::string& page) {
  PageEngine p(keys, page);
  p.Parse();
  return p.Blocks();
}

TEST(ResultBlocks, ListItemsWithEachIncludeAndStripRule) {
  const std::string page = "<ul>\n<li>A</li>\n<li>B</li>\n</ul><hr>";
  const struct {
    const char* include;
    const char* strip;
    Texts blocks;
  } cases[] = {
      {"0", "0", {"A</li>", "B</li>"}},  // closed at the byte after the stop marker
      {"0", "1", {"A", "B"}},
      {"1", "1", {"<li>A", "<li>B"}},
      {"1", "0", {"<li>A</li>", "<li>B</li>"}},
  };
  for (const auto& c : cases) {
    PageEngine p({{".startmarker1", "<li>"},
                  {".stopmarker1", "</li>"},
                  {".includestart1", c.include},
                  {".stripstop1", c.strip}},
                 page);
    EXPECT_EQ(p.Parse(), 2);
    EXPECT_EQ(p.Blocks(), c.blocks) << "include " << c.include << ", strip " << c.strip;
  }
}

// Whole pages in the markup styles that engines use, each read with markers of its kind: what
// stands before the start of the results and after their end is never a result.
TEST(ResultBlocks, PagesInSeveralMarkupStyles) {
  const struct {
    const char* style;
    Keys keys;
    std::string page;
    Texts blocks;
  } cases[] = {
      {"table rows",
       {{".startofpage", "<table class=\"serp\">"},
        {".endofpage", "</table>"},
        {".startmarker1", "<tr class=\"hit\">"},
        {".stopmarker1", "</tr>"},
        {".includestart1", "1"}},
       "<table><tr class=\"hit\"><td>ad</td></tr></table>\n"
       "<table class=\"serp\">\n<tr class=\"hit\"><td><a href=\"/c?1\">[cached]</a> "
       "<a href=\"http://one.example/\"><b>One</b></a></td></tr>\n"
       "<tr class=\"hit\"><td bgcolor=\"#eeeeee\">Two</td></tr>\n</table>\n"
       "<table><tr class=\"hit\"><td>footer</td></tr></table>",
       {"<tr ><td><a href=\"/c?1\">[cached]</a> <a href=\"http://one.example/\">One</a></td></tr>",
        "<tr ><td >Two</td></tr>"}},
      {"divisions of two kinds, wrapped",
       {{".startofpage2", "<div id=\"results\">"},
        {".endofpage2", "<!-- end results -->"},
        {".startmarker1", "<div class=\"g\">"},
        {".startmarker2", "<div class=\"g alt\">"},
        {".includestart1", "1"},
        {".includestart2", "1"},
        {".stopmarker1", "<!--/g-->"},
        {".prepend", "<div id=\"result\">"},
        {".append", "</div>"}},
       "<div id=\"results\"><div class=\"g\">One</div><!--/g-->\n"
       "<div class=\"g alt\">Two</div><!--/g-->\n<!-- end results -->"
       "<div class=\"g\">After</div><!--/g-->",
       {"<div id=\"result\"><div >One</div></div>", "<div id=\"result\"><div >Two</div></div>"}},
      {"paragraphs with a start marker only",
       {{".startofpage", "<div class=\"hits\">"},
        {".endofpage", "<div class=\"foot\">"},
        {".startmarker1", "<p class=\"hit\">"}},
       "<div class=\"hits\"><p class=\"hit\">One <a href=\"http://one.example/\">one</a>\n"
       "<p class=\"hit\">Two\n<p class=\"hit\">Three</div><div class=\"foot\">(c)</div>",
       {"One <a href=\"http://one.example/\">one</a> ", "Two ", "Three</div>"}},
      {"comment markers",
       {{".startmarker1", "<!--RS-->"}, {".stopmarker1", "<!--RE-->"}, {".stripstop1", "1"}},
       "<p>About</p><!--RS--><a href=\"http://one.example/\">One</a><!--RE-->\n"
       "<!--RS-->Two<!--RE--><p>End</p>",
       {"<a href=\"http://one.example/\">One</a>", "Two"}},
      {"lines of preformatted text",
       {{".startofpage", "<pre class=\"hits\">"},
        {".endofpage", "</pre>"},
        {".startmarker1", "\n*"}},
       "<pre>\n* not a result</pre><pre class=\"hits\">\n* <a href=\"http://one.example/\">One</a>"
       "\n* Two - two\n</pre>\n* after",
       {" <a href=\"http://one.example/\">One</a>", " Two - two "}},
      {"definition list after the third start-of-page marker",
       {{".startofpage3", "<dl class=\"web\">"},
        {".endofpage3", "</dl>"},
        {".endofpage4", "<div class=\"nothing\">"},
        {".startmarker1", "<dt>"},
        {".stopmarker1", "</dd>"}},
       "<dl><dt>menu</dt></dl><dl class=\"web\"><dt>One</dt><dd>first</dd><dt>Two</dt>"
       "<dd>second</dd></dl>",
       {"One</dt><dd>first</dd>", "Two</dt><dd>second</dd>"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseBlocks(c.keys, c.page), c.blocks) << c.style;
}

TEST(ResultBlocks, MarkersTakeTheCountsOfThisPage) {
  // The page counter rises before the markers are filled in.
  PageEngine p({{".startmarker1", "<div id=p#TOTALPAGES#>"},
                {".stopmarker1", "</div>"},
                {".stripstop1", "1"}},
               "<div id=p1>first</div><div id=p2>second</div>");
  p.Parse();
  EXPECT_EQ(p.Blocks(), Texts{"first"});
  EXPECT_EQ(p.engine().m_pagesParsed, 1);
  p.engine().m_pageText = "<div id=p1>first</div><div id=p2>second</div>";
  p.Parse();
  EXPECT_EQ(p.Blocks(), (Texts{"first", "second"}));
}

// A block still open when the results end (at the end-of-page marker or the end of the page) is
// the page's last result: it is kept, and the ranks after it stay right.
TEST(ResultBlocks, TheBlockOpenAtTheEndIsTheLastResult) {
  const struct {
    const char* how;
    Keys keys;
    std::string page;
    Texts blocks;
  } cases[] = {
      {"end-of-page marker",
       {{".startmarker1", "<p>"}, {".endofpage", "<div id=foot>"}},
       "<p>One<p>Two<div id=foot>footer <p>not a result",
       {"One", "Two"}},
      {"end of the page", {{".startmarker1", "<p>"}}, "<p>One<p>Two\n", {"One", "Two "}},
      {"end of the page just after the stop marker",
       {{".startmarker1", "<li>"}, {".stopmarker1", "</li>"}},
       "<li>One</li><li>Two</li>",
       {"One</li>", "Two</li>"}},
      {"stop marker that is also the end of the page",
       {{".startmarker1", "<li>"}, {".stopmarker1", "</ul>"}, {".endofpage", "</ul>"}},
       "<ul><li>One</ul>",
       {"One</ul>"}},
      {"included start marker",
       {{".startmarker1", "<li>"}, {".includestart1", "1"}, {".endofpage", "</ol>"}},
       "<ol><li>One<li>Two</ol>",
       {"<li>One", "<li>Two"}},
      {"nothing after the last start marker",
       {{".startmarker1", "<li>"}, {".includestart1", "1"}, {".endofpage", "</ol>"}},
       "<ol><li>One<li></ol>",
       {"<li>One"}},
      {"empty block closed by its stripped stop marker",
       {{".startmarker1", "<li>"}, {".stopmarker1", "</li>"}, {".stripstop1", "1"}},
       "<li>One</li><li></li>",
       {"One"}},
  };
  for (const auto& c : cases) {
    PageEngine p(c.keys, c.page);
    p.engine().m_pageIndex = 1;
    EXPECT_EQ(p.Parse(), static_cast<int>(c.blocks.size())) << c.how;
    EXPECT_EQ(p.Blocks(), c.blocks) << c.how;
    auto results = Results(p.engine());
    for (size_t i = 0; i < results.size(); ++i) {
      EXPECT_EQ(results[i]->m_position, static_cast<int>(i)) << c.how;
      EXPECT_EQ(results[i]->m_index, static_cast<int>(i)) << c.how;
      EXPECT_EQ(results[i]->m_page, 1) << c.how;
    }
  }
}

TEST(ResultBlocks, AStopReadsNoFurther) {
  const std::string page = "<li>One</li><li>Two</li><li>Three";
  const Keys keys = {{".startmarker1", "<li>"}, {".stopmarker1", "</li>"}, {".stripstop1", "1"}};
  {
    // The run recognises the site in the first result and stops the engine: nothing more is
    // read, not even the block still open.
    PageEngine p(keys, page);
    EventLog log(p.engine());
    log.onEvent = [](const EventLog::Event& e) { return e.code != kEngineResultFound; };
    EXPECT_EQ(p.Parse(), 1);
    EXPECT_EQ(p.Blocks(), Texts{"One"});
  }
  {
    PageEngine p(keys, page);
    p.engine().Abort();
    EXPECT_EQ(p.Parse(), 0);
    EXPECT_TRUE(p.Blocks().empty());
  }
}

TEST(ResultBlocks, DamagedAndEmptyPages) {
  const Keys keys = {{".startofpage", "<ol>"},
                     {".startmarker1", "<li class=\"r\">"},
                     {".stopmarker1", "</li>"},
                     {".stripstop1", "1"},
                     {".nextpagemarker1", "Next"}};
  const struct {
    const char* what;
    std::string page;
    Texts blocks;
  } cases[] = {
      {"empty page", "", {}},
      {"no start of the results", "<li class=\"r\">One</li>", {}},
      {"only the start of the results", "<html><ol>", {}},
      {"cut inside a start marker", "<ol><li class=\"r\">One</li><li cla", {"One"}},
      {"cut inside a block", "<ol><li class=\"r\">One</li><li class=\"r\">Tw", {"One", "Tw"}},
      {"cut inside a tag",
       "<ol><li class=\"r\"><a href=\"http://one.exa",
       {"<a href=\"http://one.exa"}},
      {"stray bytes and stop markers outside blocks",
       std::string("<ol></li>\x01\xff</li><li class=\"r\">\xe9t\xe9</li>"),
       {"\xe9t\xe9"}},
      {"broken links around the next marker",
       "<ol><li class=\"r\">One</li><a href=\"p2\">Next<a href=p3 title=\"x",
       {"One"}},
  };
  for (const auto& c : cases) {
    PageEngine p(keys, c.page);
    p.Parse();
    EXPECT_EQ(p.Blocks(), c.blocks) << c.what;
    EXPECT_EQ(p.Next(), "") << c.what;
    EXPECT_EQ(p.engine().m_pagesParsed, 1) << c.what;
  }

  // A long page of one result never closed.
  std::string big = "<ol><li class=\"r\">" + std::string(300000, 'x');
  PageEngine p(keys, big);
  p.Parse();
  ASSERT_EQ(p.Blocks().size(), 1u);
  EXPECT_EQ(p.Blocks()[0].size(), 300000u);
}

TEST(NextPageLink, FoundInEveryWayPagesShowIt) {
  const std::string results = "<ol><li>One</li><li>Two</li></ol>\n";
  const struct {
    const char* style;
    Keys keys;
    std::string page;
    const char* next;
  } cases[] = {
      {"text link",
       {{".nextpagemarker1", "Next page"}},
       "<p><a href=\"/find?q=x&amp;start=10\">Next page</a></p>",
       "/find?q=x&start=10"},
      {"image link",
       {{".nextpagemarker1", "Next results"}, {".nextpagemarker2", "next.gif"}},
       "<a href=\"p2.html\"><img src=\"/img/next.gif\" alt=\"\"></a>",
       "p2.html"},
      {"upper-case anchor", {{".nextpagemarker1", "Next"}}, "<A HREF=p4.html>Next</A>", "p4.html"},
      {"marker in the link's address",
       {{".nextpagemarker1", "page=2"}},
       "<a href=\"/find?page=2\">2</a>",
       "/find?page=2"},
      {"\">\" in a quoted attribute",
       {{".nextpagemarker1", "Next"}},
       "<a title=\"a>b\" href=\"p3.html\">Next</a>",
       "p3.html"},
      {"the first of two",
       {{".nextpagemarker1", "Next"}},
       "<a href=\"one.html\">Next</a> <a href=\"two.html\">Next</a>",
       "one.html"},
      {"the word outside a link first",
       {{".nextpagemarker1", "Next"}},
       "<a href=\"help.html\">Help</a> Next: <a href=\"p2.html\">Next</a>",
       "p2.html"},
      {"counted marker, read after this page's results",
       {{".nextpagemarker1", "[#TOTALRESULTS+1#-"}},
       "<a href=\"p1\">[1-2]</a> <a href=\"p2\">[3-4]</a>",
       "p2"},
      // Matched with its own length, not that of its placeholder: a count just after the close
      // of another link does not belong to that link.
      {"counted marker after another link",
       {{".nextpagemarker1", "[#TOTALRESULTS+1#-"}},
       "<a href=\"top\">Top</a>[3-4] <a href=\"p2\">[3-4]</a>",
       "p2"},
      {"a class written without a value",
       {{".nextpagemarker1", "More"}},
       "<a class href=\"/dir/more.html\">More</a>",
       "/dir/more.html"},
      // Not links to the next page.
      {"the word outside any link",
       {{".nextpagemarker1", "Next"}},
       "<a href=\"p1.html\">1</a> Next",
       ""},
      {"the word before any link",
       {{".nextpagemarker1", "Next"}},
       "Next <a href=\"p1.html\">1</a>",
       ""},
      {"an abbreviation is no link",
       {{".nextpagemarker1", "Next"}},
       "<a href=\"p1.html\">1</a> <abbr title=x>Next</abbr>",
       ""},
      {"a link never closed", {{".nextpagemarker1", "Next"}}, "<a href=\"p9.html\">Next", ""},
  };
  for (const auto& c : cases) {
    Keys keys = c.keys;
    keys.push_back({".startmarker1", "<li>"});
    keys.push_back({".stopmarker1", "</li>"});
    PageEngine p(keys, results + c.page);
    p.Parse();
    EXPECT_EQ(p.Next(), c.next) << c.style;
    EXPECT_EQ(p.engine().m_nextLinkFound, c.next[0] ? 1 : 0) << c.style;
  }
}

TEST(NextPageLink, LookedForOnlyAmongTheResultsUnlessCounted) {
  const std::string page =
      "<a href=\"early.html\">Next</a> <a href=\"p2.html\">[3-4]</a><div id=r><li>One</li>"
      "<li>Two</li></div>";
  const Keys results = {
      {".startofpage", "<div id=r>"}, {".startmarker1", "<li>"}, {".stopmarker1", "</li>"}};
  Keys plain = results;
  plain.push_back({".nextpagemarker1", "Next"});
  PageEngine p1(plain, page);
  p1.Parse();
  EXPECT_EQ(p1.Next(), "");
  // A marker that counts is looked for again over the whole page once the results are in.
  Keys counted = results;
  counted.push_back({".nextpagemarker1", "[#TOTALRESULTS+1#-"});
  PageEngine p2(counted, page);
  p2.Parse();
  EXPECT_EQ(p2.Next(), "p2.html");
}

TEST(NextPageLink, TheSearchFormOfThePage) {
  // The pager's first form is left open, so both forms stand in the region of the marker.
  const std::string pager =
      "<div class=\"pager\"><form action=\"/k/search\"><input type=hidden name=pos value=0>"
      "<input type=submit name=nav value=\"Prev 10\">"
      "<form action=\"/k/search\" method=get><input type=hidden name=pos value=10>"
      "<input type=hidden name=q value=shoes><input type=submit name=nav "
      "value=\"More\"></form></div>";
  // The first marker belongs to an older layout: the second is tried.
  PageEngine p({{".formstart", "<div id=\"pager-v1\">"},
                {".formstart2", "<div class=\"pager\">"},
                {".formposition", "2"},
                {".formchangename1", "nav"},
                {".formchangevalue1", "Next 10"},
                {".startmarker1", "<li>"},
                {".stopmarker1", "</li>"},
                {".stripstop1", "1"}},
               "<li>One</li>" + pager);
  CEngineForm& form = p.engine().m_forms->Main();
  form.m_fields.SetAt("stale", "from the last page");
  p.Parse();
  EXPECT_EQ(S(form.m_fields.GetValue("nav")), "Next 10");
  EXPECT_FALSE(form.m_fields.Contains("stale"));
  EXPECT_EQ(S(form.m_hidden.GetValue("pos")), "10");
  EXPECT_EQ(S(form.m_hidden.GetValue("q")), "shoes");
  EXPECT_EQ(S(form.m_action), "/k/search");
  EXPECT_EQ(S(form.m_method), "get");
  EXPECT_EQ(p.Blocks(), Texts{"One"});  // the results are read all the same

  // A page without the form leaves the form empty.
  p.engine().m_pageText = "<li>Two</li>";
  p.Parse();
  EXPECT_EQ(form.m_fields.GetCount(), 0u);
  EXPECT_EQ(form.m_hidden.GetCount(), 0u);
}

// The engine whose results stand in JavaScript arrays.
TEST(ResultBlocks, ResultsInArrays) {
  const std::string page =
      "<script>\nvar nextLink = '/iwon/search?pg=2';\nvar results = new Array(\n"
      "new Array('1', 'http://one.example/', 'One &amp; only', 'About one', ''),\n"
      "new Array('2', 'http://two.example/a', 'Two', 'About two', '')\n"
      "); // end of results\nvar resultUrls = null;\n</script>\n"
      "<p><a href=\"/iwon/search?pg=2\">Next Page</a></p>";
  const Keys keys = {{".iwonnextlink", "var nextLink"},
                     {".iwontitles", "var results = new Array("},
                     {".iwonurls", "var resultUrls"},
                     {".iwonabstracts", "var resultAbstracts"},
                     {".iwonendofarray", "); // end of results"},
                     {".nextpagemarker1", "Next Page"}};
  PageEngine p(keys, page, "iWon Web Sites");
  EXPECT_EQ(p.Parse(), 2);
  EXPECT_EQ(p.Blocks(), (Texts{"<a href=\"http://one.example/\">One &amp; only</a><br>About one<br>"
                               "http://one.example/",
                               "<a href=\"http://two.example/a\">Two</a><br>About two<br>"
                               "http://two.example/a"}));
  EXPECT_EQ(p.Next(), "/iwon/search?pg=2");

  // Other engines read the same page as HTML only.
  PageEngine other(keys, page);
  EXPECT_EQ(other.Parse(), 0);
}

TEST(ResultBlocks, PageDumps) {
  enginetest::TempFolder folder;
  SetDebugOptions(folder.File("").c_str());
  {
    PageEngine p({{".startmarker1", "<li>"}, {".nextpagemarker1", "Next"}},
                 "<li>One <a href=\"p2.html\">Next</a>", "Dump Engine");
    p.engine().m_debug = 1;
    p.Parse();
  }
  ResetDebugOptions();
  CLibString page, next;
  page.ReadFromFile(folder.File("Dump Engine.FullPage.1.htm").c_str());
  next.ReadFromFile(folder.File("Dump Engine.mNextURL1.txt").c_str());
  EXPECT_EQ(S(page), "<li>One <a href=\"p2.html\">Next</a>");
  EXPECT_EQ(S(next), "p2.html");
}

}  // namespace
