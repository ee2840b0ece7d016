// The page readers on large hostile pages: tags, links, comments and quotes that never end. Each
// reader must still find the real items around the filler. A reader that went back over the rest
// of the page for every unclosed tag would take minutes on these pages (the test program's time
// limit catches that); read in one pass they take milliseconds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engines/parse/FormParser.h"
#include "engines/parse/FormRecord.h"
#include "engines/parse/LinkParser.h"
#include "engines/submit/PageTranslator.h"
#include "engines/query/Placeholders.h"
#include "engines/parse/ResultHtml.h"
#include "engines/db/SearchEngine.h"
#include "engines/parse/TagAttributes.h"
#include "engines/tests/EngineKeysFixture.h"
#include "engines/tests/parse/HostilePages.h"
#include "engines/tests/ResultTestSupport.h"

namespace {

using enginetest::DefinedEngine;
using enginetest::ResultTexts;
using hostilepages::Repeat;
using Keys = std::vector<std::pair<const char*, std::string>>;

std::string S(const CLibString& text) {
  return text.c_str();
}

// Equality of texts as long as a page, reported by where they first differ rather than in full.
::testing::AssertionResult SameText(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure()
         << "lengths " << actual.size() << " and " << expected.size() << ", first difference at "
         << at << ": \"" << actual.substr(at, 40) << "\" instead of \"" << expected.substr(at, 40)
         << "\"";
}

std::string Fields(const CNVList& list) {
  std::string text;
  list.ForEach([&](const CNVItem& item) {
    if (!text.empty()) text += ";";
    text += std::string(item.m_name.c_str()) + "=" + item.m_value.c_str();
  });
  return text;
}

std::string Entries(const CNVList& list) {
  std::string text;
  list.ForEach([&](const CNVItem& item) {
    text += std::string(item.m_name.c_str()) + "=" + item.m_value.c_str() + ";";
  });
  return text;
}

// An engine of the given name defined by the keys, with the page as its current page.
struct PageEngine {
  PageEngine(const char* name, const Keys& keys, const std::string& page) : defined(name) {
    for (const auto& key : keys) defined.Set(key.first, key.second);
    defined.engine.m_pageText = page.c_str();
    defined.engine.SetCurrentUrl(CUrl("http://dir.test/top/"));
  }
  CSearchEngine& engine() { return defined.engine; }
  DefinedEngine defined;
};

TEST(HostilePages, FormsOfTagsThatNeverClose) {
  // Each filler tag ends where the next one begins and names no field of the form.
  const char* const fillers[] = {"<input ", "<INPUT type=hidden ", "<input name=\"",
                                 "<form ",  "<option selected ",   "<select "};
  for (const char* piece : fillers) {
    CSearchEngine engine;
    CEngineForm form;
    const std::string page = hostilepages::SearchForm(Repeat(piece));
    ParseForm(engine, "<!-- search -->", 1, page.c_str(), form, CNVList());
    std::string fields = Fields(form.m_fields);
    EXPECT_EQ(S(form.m_action), "/find") << piece;
    EXPECT_NE(fields.find("q=blue"), std::string::npos) << piece;
    EXPECT_EQ(Fields(form.m_hidden), "sid=7") << piece;
    if (std::string(piece) != "<input name=\"") {
      EXPECT_EQ(fields, "q=blue") << piece;
    }
  }
}

TEST(HostilePages, CategoryPagesOfLinksThatNeverClose) {
  const char* const fillers[] = {"<a x", "<A ", "<a href=\"", "<a href=x>", "<a\n"};
  for (const char* piece : fillers) {
    PageEngine p("Hostile Cats",
                 {{".categoryhlinkstartmarker1", "<li>"},
                  {".categoryhlinkstopmarker1", "</li>"},
                  {".categoryaddurllink", "suggest"}},
                 hostilepages::CategoryPage(Repeat(piece)));
    CNVList list;
    CLibString request;
    p.engine().ReadCategoryPage(p.engine().m_pageText, list, request);
    EXPECT_EQ(Entries(list), "Arts=http://dir.test/top/arts/;Music=http://dir.test/top/music/;")
        << piece;
    EXPECT_EQ(S(request), "/suggest?c=1") << piece;
  }
}

TEST(HostilePages, CategoryLinkTextRunningOverThePage) {
  const std::string filler = Repeat(" fine\r\n");
  PageEngine p("Hostile Cats",
               {{".categoryhlinkstartmarker1", "<li>"}, {".categoryhlinkstopmarker1", "</li>"}},
               "<ul><li><a href=\"arts/\">Arts" + filler + "</li></ul>");
  CNVList list;
  CLibString request;
  p.engine().ReadCategoryPage(p.engine().m_pageText, list, request);
  ASSERT_EQ(list.GetCount(), 1u);
  list.ForEach([&](const CNVItem& item) {
    EXPECT_TRUE(SameText(S(item.m_name), "Arts" + Repeat(" fine", filler.size() / 7 * 5)));
    EXPECT_EQ(S(item.m_value), "http://dir.test/top/arts/");
  });
}

TEST(HostilePages, AddUrlTextsInALinkToNoPage) {
  // The text stands many times in a script link that is never closed; the real link follows.
  PageEngine p("Hostile Cats", {{".categoryaddurllink", "Add"}},
               "<a href=\"javascript:add()\">" + Repeat("Add ") + "<a href=\"/add?c=9\">Add</a>");
  CNVList list;
  CLibString request;
  p.engine().ReadCategoryPage(p.engine().m_pageText, list, request);
  EXPECT_EQ(S(request), "/add?c=9");
}

TEST(HostilePages, ResultBlocksOfCommentsThatNeverEnd) {
  const char* const fillers[] = {"<!", "<!-", "<!--", "<! --", "<!--!"};
  for (const char* piece : fillers) {
    const std::string filler = Repeat(piece);
    PageEngine p("Hostile Results", {{".startmarker1", "<li>"}, {".stopmarker1", "</li>"}},
                 hostilepages::ResultList(filler));
    EXPECT_EQ(p.engine().ParseResultsPage(), 2) << piece;
    // Comments without an end are no comments: the text stays as it was.
    const std::vector<std::string> texts = ResultTexts(p.engine());
    ASSERT_EQ(texts.size(), 2u) << piece;
    EXPECT_TRUE(SameText(texts[0], "<a href=\"http://a.example/\">A</a> " + filler + "</li>"))
        << piece;
    EXPECT_EQ(texts[1], "<a href=\"http://b.example/\">B</a></li>") << piece;
    EXPECT_EQ(S(p.engine().GetResultUrl(texts[0].c_str(), false)), "http://a.example/") << piece;
  }
  // Comments that end are still removed, each up to its own end.
  const std::string ended = Repeat("<!-- c -->x");
  EXPECT_TRUE(
      SameText(S(SimplifyResultHtml(CLibString(ended.c_str()))), Repeat("x", ended.size() / 11)));
}

TEST(HostilePages, NextPageMarkersInTagsThatNeverClose) {
  const char* const fillers[] = {"<a x Next ", "Next <a ", "<A\tNext",
                                 "<a href=\"javascript:n()\">Next"};
  for (const char* piece : fillers) {
    PageEngine p(
        "Hostile Pager",
        {{".startmarker1", "<li>"}, {".stopmarker1", "</li>"}, {".nextpagemarker1", "Next"}},
        hostilepages::PagerAfter(Repeat(piece)));
    EXPECT_EQ(p.engine().ParseResultsPage(), 1) << piece;
    EXPECT_EQ(S(p.engine().m_nextUrl), "/p2") << piece;
  }
}

TEST(HostilePages, LinkTextsAsLongAsThePage) {
  const struct {
    const char* piece;
    const char* shown;  // the piece as the link's text shows it
  } cases[] = {
      {"word &nbsp;", "word  "},
      {"a&lt;b&gt; ", "a<b> "},
      {"x\r\n", "x"},
      {"<b>w</b>", "w"},
  };
  for (const auto& c : cases) {
    const std::string filler = Repeat(c.piece);
    const std::string page = hostilepages::LongLink(filler);
    EXPECT_EQ(S(FindLink(page.c_str(), "zzz", 0)), "/long") << c.piece;
    EXPECT_EQ(S(FindLink(page.c_str(), "zzz", 1)), "/short") << c.piece;
    CLibString href, text;
    SplitLinkText(page.substr(3).c_str(), href, text);
    EXPECT_EQ(S(href), "/long");
    const std::string shown = Repeat(c.shown, filler.size() / strlen(c.piece) * strlen(c.shown));
    EXPECT_TRUE(SameText(S(text), shown + " zzz" + "zzz")) << c.piece;
  }
}

TEST(HostilePages, ResultLinksAfterManyMailLinks) {
  // The directory whose listings begin with a mail link: every mail link is passed over.
  const char* const fillers[] = {"<a href=mailto:x@y.example>", "<a href=\"mailto:x@y.example\" ",
                                 "<A HREF=MAILTO:x@y.example>text "};
  for (const char* piece : fillers) {
    PageEngine p("Infopoint", {}, "");
    const std::string block = Repeat(piece) + "<a href=\"http://c.example/\">C</a>";
    EXPECT_EQ(S(p.engine().GetResultUrl(block.c_str(), false)), "http://c.example/") << piece;
  }
}

TEST(HostilePages, ArraysWithoutEntries) {
  const char* const fillers[] = {"titles=[ ]; ", "titles=[", "]; "};
  for (const char* piece : fillers) {
    PageEngine p("iWon Web Sites", {{".iwontitles", "titles=["}, {".iwonendofarray", "];"}},
                 hostilepages::ResultArrays(Repeat(piece)));
    EXPECT_EQ(p.engine().ParseResultsPage(), 1) << piece;
    EXPECT_EQ(ResultTexts(p.engine()),
              std::vector<std::string>{"<a href=\"http://w.example/\">Title</a><br>About<br>"
                                       "http://w.example/"})
        << piece;
  }
}

TEST(HostilePages, AttributeValuesAsLongAsThePage) {
  const std::string filler = Repeat("a&amp;\r\n");
  const std::string expected = Repeat("a&", filler.size() / 8 * 2);
  CNVList attributes;
  ParseTagAttributes(("<input name=v value=\"" + filler + "\">").c_str(), attributes);
  EXPECT_TRUE(SameText(S(attributes.GetValue("value")), expected));
  EXPECT_TRUE(SameText(S(ExtractHref(("<a href=\"" + filler + "\">").c_str())), expected));
}

TEST(HostilePages, RequestsFromAddressesAndFieldsAsLongAsThePage) {
  const std::string address = Repeat("a &&");
  CSearchEngine engine;
  engine.m_nextUrl = address.c_str();
  CLibString request = "#NEXTURL#";
  engine.SubstitutePlaceholders(request, true);
  std::string expected = Repeat("a%20&", address.size() / 4 * 5);
  expected.pop_back();  // no "&" at the end
  EXPECT_TRUE(SameText(S(request), expected));

  const std::string value = Repeat("|_");
  CNVList fields;
  fields.SetAt("v", value.c_str());
  EXPECT_TRUE(SameText(S(BuildFieldQuery(fields)), "v=" + value));
}

TEST(HostilePages, TranslationsOfManyLines) {
  const struct {
    const char* piece;
    const char* shown;
  } cases[] = {
      {"Bonjour\r\n", "Bonjour  "},
      {"caf\xC3\xA9 ", "caf\xE9 "},
  };
  for (const auto& c : cases) {
    const std::string filler = Repeat(c.piece);
    std::string expected = Repeat(c.shown, filler.size() / strlen(c.piece) * strlen(c.shown));
    expected.erase(expected.find_last_not_of(' ') + 1);
    const std::string page = "<div style=\"padding:10px;\">" + filler;
    EXPECT_TRUE(SameText(S(CTranslator::ExtractTranslation(page.c_str())), expected)) << c.piece;
  }
}

}  // namespace
