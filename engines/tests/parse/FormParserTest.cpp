#include "engines/parse/FormParser.h"

#include <gtest/gtest.h>

#include <string>

#include "engines/parse/FormRecord.h"
#include "engines/db/SearchEngine.h"

namespace {

std::string S(const CLibString& text) {
  return text.c_str();
}

std::string Fields(const CNVList& list) {
  std::string text;
  list.ForEach([&](const CNVItem& item) {
    if (!text.empty()) text += ";";
    text += std::string(item.m_name.c_str()) + "=" + item.m_value.c_str();
  });
  return text;
}

const char kHomePage[] = R"(<html><head><title>Findit - the finder</title></head>
<body>
<form name="login" action="/account/login" method="POST">
 <input type="text" name="user"><input type="password" name="pass">
 <input type="hidden" name="from" value="home">
</form>
<!-- search box -->
<div class="box"><table><tr><td>
<FORM ACTION="/cgi-bin/find" METHOD="get" name="f">
 <input type="hidden" name="sid" value="c0ffee">
 <INPUT TYPE="hidden" NAME="fmt" VALUE="full list">
 <input type=hidden name=expr value="a>b">
 <input type=text name=q size=40 value="">
 <select name="lang"><option value="any">any language<option value="en" selected>English</option>
   <option value="de">German</select>
 <Select name=country><option>Anywhere</option><option selected>
   United Kingdom </option></Select>
 <select name=sort><option value=rank>Rank<option value=date>Date</select>
 <input type=checkbox name=safe value=1 checked> <input type=checkbox name=adult value=1>
 <input type=radio name=scope value=web checked><input type=radio name=scope value=news>
 <input type=image name=go src="/img/go.gif">
 <input type=submit value="Find">
</FORM>
</td></tr></table></div>
<form action="/newsletter" method="post"><input name=email value=""></form>
</body></html>)";

class FormParserTest : public ::testing::Test {
 protected:
  int Parse(const char* marker, int position, const CNVList& overrides = CNVList(),
            const char* page = kHomePage) {
    return ParseForm(engine, marker, position, page, form, overrides);
  }
  CSearchEngine engine;
  CEngineForm form;
};

TEST_F(FormParserTest, ReadsTheSearchFormOfARealLookingPage) {
  form.m_fields.SetAt("stale", "1");  // what an earlier parse left goes
  form.m_method = "stale";
  EXPECT_EQ(Parse("<!-- search box -->", 1), 9);
  EXPECT_EQ(S(form.m_method), "get");
  EXPECT_EQ(S(form.m_action), "/cgi-bin/find");  // from the form's own tag, past the marker
  EXPECT_EQ(Fields(form.m_fields), "country=United Kingdom;lang=en;q=;safe=1;scope=web");
  EXPECT_EQ(Fields(form.m_hidden), "expr=a>b;fmt=full list;sid=c0ffee");
  EXPECT_EQ(Fields(form.m_images), "go=");
}

struct RegionCase {
  const char* marker;
  int position;
  const char* action;  // of the form read, "" for none
};

TEST_F(FormParserTest, MarkerRegionsAndPositionsPickTheForm) {
  const RegionCase cases[] = {
      {"<form", 0, "/account/login"},  // position 0 counts as 1
      {"<form", 1, "/account/login"},
      {"<form", 2, "/newsletter"},      // the marker matches as written: "<FORM" is not it
      {"<!-- search box -->", 2, ""},   // the newsletter form lies outside every region
      {"</form>", 1, "/cgi-bin/find"},  // a region opened after the first form
      {"</form>", 2, ""},               // "</FORM>" opens no region for the next one
      {"<form name=\"login\"", 1, ""},  // its form start lies inside the marker itself
      {"no such marker", 1, ""},
      {"", 1, ""},
  };
  for (const RegionCase& c : cases) {
    int fields = Parse(c.marker, c.position);
    EXPECT_EQ(S(form.m_action), c.action) << c.marker << " #" << c.position;
    if (*c.action == '\0') {
      EXPECT_EQ(fields, 0) << c.marker << " #" << c.position;
    }
  }
}

TEST_F(FormParserTest, EachReadStopsAtItsOwnFormsEnd) {
  EXPECT_EQ(Parse("<form", 1), 3);
  EXPECT_EQ(Fields(form.m_fields), "pass=;user=");
  EXPECT_EQ(Fields(form.m_hidden), "from=home");
  EXPECT_EQ(S(form.m_method), "POST");
}

TEST_F(FormParserTest, OverridesReplaceFieldsTheFormHas) {
  engine.m_keywords = "red shoes";
  CNVList overrides;
  overrides.SetAt("q", "#KEYWORDS#");  // plain: the query builder encodes it later
  overrides.SetAt("sid", "fresh");
  overrides.SetAt("go", "clicked");
  overrides.SetAt("method", "post");
  overrides.SetAt("action", "/cgi-bin/find2?page=#TOTALPAGES+1#");
  overrides.SetAt("unknown", "ignored");
  EXPECT_EQ(Parse("<!-- search box -->", 1, overrides), 9);
  EXPECT_EQ(S(form.m_fields.GetValue("q")), "red shoes");
  EXPECT_EQ(S(form.m_hidden.GetValue("sid")), "fresh");
  EXPECT_EQ(S(form.m_images.GetValue("go")), "clicked");
  EXPECT_EQ(S(form.m_method), "post");
  EXPECT_EQ(S(form.m_action), "/cgi-bin/find2?page=1");
  EXPECT_FALSE(form.m_fields.Contains("unknown"));
  EXPECT_FALSE(form.m_hidden.Contains("unknown"));
}

TEST_F(FormParserTest, AnEmptyPageGivesAnEmptyForm) {
  EXPECT_EQ(Parse("<form", 1, CNVList(), ""), 0);
  EXPECT_EQ(S(form.m_action), "");
}

}  // namespace
