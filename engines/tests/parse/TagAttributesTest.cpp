#include "engines/parse/TagAttributes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct AttributeCase {
  const char* tag;
  const char* name;
  const char* expected;
};

TEST(GetTagAttribute, ReadsValuesAsABrowserDoes) {
  const AttributeCase cases[] = {
      {"<a href=\"/find?q=a b\">", "href", "/find?q=a b"},  // quoted blanks stay in the value
      {"<a href='/x' class=y>", "href", "/x"},
      {"<a class=y href=/plain>", "href", "/plain"},          // unquoted, ends at ">"
      {"<a href=/plain title=x>", "href", "/plain"},          // unquoted, ends at a blank
      {"<base href=http://h/dir/", "href", "http://h/dir/"},  // runs to the end of the text
      {"<A HREF=\"/upper\">", "href", "/upper"},              // names in any case
      {"<form method=post action=\"/s\">", "ACTION", "/s"},
      {"<a href = \"/spaced\" >", "href", "/spaced"},  // blanks around "="
      {"<input checked name=box>", "name", "box"},     // a bare name before it
      {"<input type=checkbox checked>", "checked", ""},
      {"<a title=\"1 > 0\" href=/after>", "href", "/after"},  // ">" inside quotes
      {"<a href=/first href=/second>", "href", "/first"},
      {"a href=/nobracket>", "href", "/nobracket"},
      {"<a name=x>href=/outside", "href", ""},  // the tag ended first
      {"<a name=x>", "href", ""},
      {"<a\nhref=\"/nl\"\tclass=c>", "href", "/nl"},  // line ends separate attributes
      {"<img src=/code/4711.jpg/>", "src", "/code/4711.jpg/"},
      {"<br/ clear=all>", "clear", "all"},
      {"", "href", ""},
  };
  for (const AttributeCase& c : cases)
    EXPECT_EQ(std::string(GetTagAttribute(c.tag, c.name).c_str()), c.expected)
        << c.tag << " / " << c.name;
}

TEST(GetTagAttribute, UnclosedQuoteTakesTheRest) {
  EXPECT_EQ(std::string(GetTagAttribute("<a href=\"/open", "href").c_str()), "/open");
}

TEST(ParseTagAttributes, KeepsQuotedValuesWithBlanksWhole) {
  CNVList list;
  int count = ParseTagAttributes(
      "<INPUT Type=\"text\" NAME='q'  value=\" two  words \" title=\"a &amp; b\"\r\n"
      "name=\"second\" data=x>ignored=1",
      list);
  EXPECT_EQ(count, 5);
  EXPECT_EQ(list.GetValue("type"), "text");
  EXPECT_EQ(list.GetValue("name"), "second");  // a later duplicate wins
  EXPECT_EQ(list.GetValue("value"), "two  words");
  EXPECT_EQ(list.GetValue("title"), "a & b");
  EXPECT_FALSE(list.Contains("ignored"));
}

TEST(ParseTagAttributes, EmptiesTheListFirstAndKeepsBareNames) {
  CNVList list;
  list.SetAt("old", "1");
  ParseTagAttributes("<option selected value=\"v\nw\">", list);
  EXPECT_FALSE(list.Contains("old"));
  EXPECT_TRUE(list.Contains("selected"));
  EXPECT_EQ(list.GetValue("value"), "vw");  // line ends are dropped from values
}

struct InputCase {
  const char* tag;
  const char* visible;  // "name=value" or ""
  const char* hidden;
  const char* image;
};

std::string Only(const CNVList& list) {
  std::string text;
  list.ForEach([&](const CNVItem& item) {
    if (!text.empty()) text += ";";
    text += std::string(item.m_name.c_str()) + "=" + item.m_value.c_str();
  });
  return text;
}

TEST(ClassifyInput, FilesEachInputByType) {
  const InputCase cases[] = {
      {"<input type=hidden name=sid value=\"a b\">", "", "sid=a b", ""},
      {"<input type=\"IMAGE\" name=go src=go.gif>", "", "", "go="},
      {"<input type=checkbox name=safe value=1>", "", "", ""},  // not checked: not sent
      {"<input type=checkbox name=safe value=1 checked>", "safe=1", "", ""},
      {"<input type=Checkbox name=all CHECKED>", "all=on", "", ""},  // a browser sends "on"
      {"<input type=radio name=lang value=en checked=\"checked\">", "lang=en", "", ""},
      {"<input type=radio name=lang value=de>", "", "", ""},
      {"<input name=q value=\"\">", "q=", "", ""},  // no type: a text field
      {"<input type=submit name=btn value=\"Search now\">", "btn=Search now", "", ""},
      {"<input type=password name=pw>", "pw=", "", ""},
      {"<input type=text value=orphan>", "", "", ""},  // no name: never sent
  };
  for (const InputCase& c : cases) {
    CNVList visible, hidden, image;
    ClassifyInput(c.tag, visible, hidden, image);
    EXPECT_EQ(Only(visible), c.visible) << c.tag;
    EXPECT_EQ(Only(hidden), c.hidden) << c.tag;
    EXPECT_EQ(Only(image), c.image) << c.tag;
  }
}

TEST(ClassifyInput, ALaterFieldOfTheSameNameReplacesTheValue) {
  CNVList visible, hidden, image;
  ClassifyInput("<input name=q value=1>", visible, hidden, image);
  ClassifyInput("<input name=q value=2>", visible, hidden, image);
  EXPECT_EQ(Only(visible), "q=2");
}

}  // namespace
