// The search-term list's import from a web page: what it makes of the page's keywords, and its
// refusal during a run. The page itself is fetched by the import dialog, tested on its own.
#include <gtest/gtest.h>

#include "app/services/AppServices.h"
#include "resources/resource.h"
#include "ui/tests/views/TermsWindow.h"

namespace termstest {
namespace {

using Terms = std::vector<std::string>;
using TermImportPageTest = TermsWindowTest;

// Keywords are cut at commas when there is one, else at blanks; the pieces become active terms
// after the others, without their leading blanks and without empty pieces.
TEST_F(TermImportPageTest, KeywordsBecomeTerms) {
  struct Case {
    const char* keywords;
    Terms added;
  } cases[] = {
      {"one two, three", {"one two", "three"}},
      {"one two", {"one", "two"}},
      {",, bikes,,boards &amp; more ,", {"bikes", "boards &amp; more "}},
      {"  spaced   words ", {"spaced", "words"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keywords);
    SetTerms({"alpha"}, 0);
    AskedBoxes() = Boxes();
    EXPECT_TRUE(m_terms->AddKeywordTerms(c.keywords));
    Terms expected = {"alpha"};
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(DocTerms(), expected);
    EXPECT_EQ(RowTexts(), expected);
    EXPECT_EQ(DocActive(), std::vector<int>(expected.size(), 1));
    EXPECT_TRUE(AskedBoxes().texts.empty());
  }
}

TEST_F(TermImportPageTest, APageWithoutKeywordsIsToldAndAddsNothing) {
  SetTerms({"alpha"}, 0);
  AskedBoxes() = Boxes();
  EXPECT_FALSE(m_terms->AddKeywordTerms(""));
  ASSERT_EQ(AskedBoxes().texts.size(), 1u);
  EXPECT_EQ(AskedBoxes().texts[0], std::string(LoadResString(IDS_IMPORT_NO_KEYWORDS)));
  EXPECT_EQ(DocTerms(), Terms{"alpha"});
  EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(TermImportPageTest, RefusedDuringARun) {
  SetTerms({"alpha"}, 0);
  EXPECT_TRUE(Enabled(m_terms, ID_TERM_IMPORT_PAGE));
  Doc()->m_running = 1;
  AskedBoxes() = Boxes();
  EXPECT_FALSE(Enabled(m_terms, ID_TERM_IMPORT_PAGE));
  EXPECT_FALSE(m_terms->AddKeywordTerms("one, two"));
  EXPECT_EQ(DocTerms(), Terms{"alpha"});
  EXPECT_TRUE(AskedBoxes().texts.empty());
  Doc()->m_running = 0;
}

}  // namespace
}  // namespace termstest
