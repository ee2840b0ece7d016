#include "engines/query/Placeholders.h"

#include <gtest/gtest.h>

#include <string>

#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineKeysFixture.h"

namespace {

std::string S(const CLibString& text) {
  return text.c_str();
}

class PlaceholdersTest : public ::testing::Test {
 protected:
  PlaceholdersTest() : defined("Placeholder Test Engine"), engine(defined.engine) {
    engine.m_keywords = "red shoes";
    engine.m_maxResults = 50;
    engine.m_pagesParsed = 2;
    engine.m_firstPageResults = 3;
    engine.m_nextUrl = "/find?q=red shoes&start=10";
    for (int i = 0; i < 7; ++i) engine.m_results.Append(new CListNode(new CSearchResult));
  }
  std::string Substitute(const char* text, bool encode = true) {
    CLibString value = text;
    engine.SubstitutePlaceholders(value, encode);
    return S(value);
  }
  enginetest::DefinedEngine defined;
  CSearchEngine& engine;
};

TEST_F(PlaceholdersTest, EachPlaceholderTakesItsValue) {
  const struct {
    const char* text;
    bool encode;
    const char* expected;
  } cases[] = {
      {"no placeholder&&here&", true, "no placeholder&&here&"},  // nothing done without "#"
      {"q=#KEYWORDS#", true, "q=red+shoes"},
      {"q=#KEYWORDS#", false, "q=red shoes"},
      {"q=#KEYWORDS#&&n=#MAXMATCHES#&", true, "q=red+shoes&n=50"},
      {"#TOTALRESULTS#/#TOTALRESULTS+1#/#FIRSTPAGERESULTS#", true, "7/8/3"},
      {"#TOTALPAGES#/#TOTALPAGES+1#/#AMOUNTTOGET#", true, "2/3/20"},
      {"a=1&&&&b=#MAXMATCHES#&&&", true, "a=1&b=50"},
      {"go?#NEXTURL#", true, "go?/find?q=red%20shoes&start=10"},
      {"#KEYWORDS# and #KEYWORDS#", false, "red shoes and red shoes"},
      {"#UNKNOWN#", true, "#UNKNOWN#"},
  };
  for (const auto& c : cases) EXPECT_EQ(Substitute(c.text, c.encode), c.expected) << c.text;
  // The stored next-page address keeps its blanks written as "%20".
  EXPECT_EQ(S(engine.m_nextUrl), "/find?q=red%20shoes&start=10");
}

TEST_F(PlaceholdersTest, AmountToGetWaitsForTheFirstParsedPage) {
  engine.m_pagesParsed = 0;
  EXPECT_EQ(Substitute("n=#AMOUNTTOGET#&p=#TOTALPAGES+1#"), "n=#AMOUNTTOGET#&p=1");
}

TEST_F(PlaceholdersTest, NoNextPageEmptiesTheWholeRequest) {
  engine.m_nextUrl = "";
  EXPECT_EQ(Substitute("http://h/find?q=#KEYWORDS#&u=#NEXTURL#"), "");
}

TEST_F(PlaceholdersTest, KeywordsAreEncodedForTheEnginesCharacterSet) {
  engine.m_keywords = "caf\xe9 bar";
  EXPECT_EQ(Substitute("q=#KEYWORDS#"), "q=caf%e9+bar");
  defined.Set(".charset", "UTF-8");
  EXPECT_EQ(Substitute("q=#KEYWORDS#"), "q=caf%c3%a9+bar");
}

TEST_F(PlaceholdersTest, FormFieldsAreSentWithTheClickOfTheLastImageButton) {
  CEngineForm& form = engine.m_forms->Main();
  form.m_fields.SetAt("q", "a|b");
  form.m_fields.SetAt("my_field", "x y");
  form.m_hidden.SetAt("s_id", "1/2");
  form.m_images.SetAt("alpha", "");
  form.m_images.SetAt("zeta", "");
  EXPECT_EQ(Substitute("#ALLFORMFIELDS#&#ALLHIDDENFORMFIELDS#"),
            "my_field=x+y&q=a|b&zeta.x=12&zeta.y=5&s_id=1%2f2");
  EXPECT_EQ(S(form.m_fields.GetValue("zeta.x")), "12");  // the pair stays in the form
  EXPECT_FALSE(form.m_fields.Contains("alpha.x"));
}

TEST_F(PlaceholdersTest, FormNextSendsTheFormToItsAction) {
  CEngineForm& form = engine.m_forms->Main();
  form.m_fields.SetAt("q", "#KEYWORDS#");
  form.m_hidden.SetAt("sid", "1");
  form.m_method = "post";
  form.m_action = "/cgi/find";
  EXPECT_EQ(Substitute("#FORMNEXT#"), "post /cgi/find?q=%23KEYWORDS%23&sid=1");

  // Without method and action: the page last fetched, without its query; no hidden fields
  // leave no "&" behind.
  form.m_method = "";
  form.m_action = "";
  form.m_fields.SetAt("q", "red shoes");
  form.m_hidden.RemoveAll();
  engine.SetCurrentUrl(CUrl("http://search.example:8080/home/index.html?x=1"));
  EXPECT_EQ(Substitute("#FORMNEXT#"), "http://search.example:8080/home/index.html?q=red+shoes");
}

TEST(BuildFieldQuery, WritesNamesInOrderAndKeepsPipesAndUnderscores) {
  CNVList fields;
  fields.SetAt("b_2", "x|y z");
  fields.SetAt("a", "&=");
  EXPECT_EQ(S(BuildFieldQuery(fields)), "a=%26%3d&b_2=x|y+z");
  EXPECT_EQ(S(BuildFieldQuery(CNVList())), "");
}

}  // namespace
