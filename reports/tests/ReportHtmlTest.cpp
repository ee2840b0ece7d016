#include "reports/ReportHtml.h"

#include <gtest/gtest.h>

using namespace reporthtml;

namespace {

struct Case {
  const char* input;
  const char* expected;
};

// Result HTML keeps its markup but nothing in it may run script in the local report.
TEST(ReportHtml, SanitizeKeepsMarkupAndDropsScript) {
  const Case cases[] = {
      // plain markup and text stay as they are
      {"<a href=\"http://x.example/\">X</a> and <b>bold</b>",
       "<a href=\"http://x.example/\">X</a> and <b>bold</b>"},
      {"a < b &amp; c", "a &lt; b &amp; c"},
      // script and style elements go with their contents, in any case
      {"x<script>alert(1)</script>y", "xy"},
      {"x<SCRIPT type=\"text/javascript\">a('</b>')</SCRIPT >y", "xy"},
      {"x<style>body{}</style>y", "xy"},
      {"x<script>never closed", "x"},
      // frames, objects and page-wide tags go, their text stays
      {"<iframe src=\"http://e.example/\">in</iframe>z", "inz"},
      {"<meta http-equiv=refresh content=\"0;url=javascript:x\">k", "k"},
      // event attributes go, whatever their case or quoting
      {"<img src=x onerror=\"alert(2)\">", "<img src=\"x\">"},
      {"<a href=\"/p\" OnMouseOver='x()' title=t>p</a>", "<a href=\"/p\" title=\"t\">p</a>"},
      // script link targets go, also when hidden by entities, blanks or case
      {"<a href=\"javascript:alert(3)\">E</a>", "<a>E</a>"},
      {"<a href=\"  JaVaScRiPt:alert(3)\">E</a>", "<a>E</a>"},
      {"<a href=\"java&#115;cript:x\">E</a>", "<a>E</a>"},
      {"<a href=\"java&#x09;script:x\">E</a>", "<a>E</a>"},
      {"<a href=\"vbscript:msgbox\">E</a>", "<a>E</a>"},
      {"<img src='javascript&colon;x'>", "<img>"},
      // a quote in a value cannot break out of the rebuilt attribute
      {"<a title='say \"hi\" >' href=/q>q</a>", "<a title=\"say &quot;hi&quot; &gt;\" href=\"/q\">q</a>"},
      // comments and declarations go; a tag left open at the end is text
      {"a<!-- <script>x</script> -->b", "ab"},
      {"a<!DOCTYPE html>b", "ab"},
      {"a<b", "a&lt;b"},
      {"5 <6 and <a href=x", "5 &lt;6 and &lt;a href=x"},
  };
  for (const Case& c : cases) EXPECT_EQ(SanitizeHtml(c.input), c.expected) << c.input;
}

// Target and title of a result link, as the link cell shows them.
TEST(ReportHtml, LinkTargetAndTitle) {
  struct LinkCase {
    const char* link;
    const char* target;
    const char* title;
  };
  const LinkCase cases[] = {
      {"<a href=\"http://a.example/\">A</a>", "http://a.example/", "A"},
      // capitals, blanks around "=", single quotes and &amp;
      {"<A HREF = 'http://a.example/?x=1&amp;y=2'>T <b>b</b></A>", "http://a.example/?x=1&y=2",
       "T <b>b</b>"},
      // an unquoted value ends at a blank or ">"
      {"<a href=http://u.example/p class=c>U</a>", "http://u.example/p", "U"},
      // line ends and tabs inside the value go, blanks around it too
      {"<a href=\" http://a.example/\r\n\tp \">A</a>", "http://a.example/p", "A"},
      // the title ends at the closing </a> tag itself, not at </abbr>, </address> or </area>
      {"<a href=x>An <abbr>ABC</abbr> text</a>", "x", "An <abbr>ABC</abbr> text"},
      {"<a href=x>at <address>here</address></a >", "x", "at <address>here</address>"},
      {"<a href=x><map><area></area></map>t</a>", "x", "<map><area></area></map>t"},
      // no href, no ">", no closing tag
      {"<a name=n>N</a>", "", "N"},
      {"<a href=x", "x", ""},
      {"<a href=x>open", "x", "open"},
      // "xhref=" is another attribute
      {"<a xhref=\"no\" href=\"yes\">Y</a>", "yes", "Y"},
  };
  for (const LinkCase& c : cases) {
    EXPECT_STREQ(LinkTarget(c.link).c_str(), c.target) << c.link;
    EXPECT_STREQ(LinkTitle(c.link).c_str(), c.title) << c.link;
  }
}

TEST(ReportHtml, ScriptTargetsAndHttpPrefix) {
  EXPECT_TRUE(IsScriptTarget("javascript:x"));
  EXPECT_TRUE(IsScriptTarget(" java\tscript:x"));
  EXPECT_TRUE(IsScriptTarget("LiveScript:x"));
  EXPECT_FALSE(IsScriptTarget("http://javascript.example/"));
  EXPECT_FALSE(IsScriptTarget("/javascript:x"));
  EXPECT_STREQ(WithHttp("www.a.example").c_str(), "http://www.a.example");
  EXPECT_STREQ(WithHttp("http://a.example").c_str(), "http://a.example");
  // only "http://" anywhere counts, as the engine data always wrote it
  EXPECT_STREQ(WithHttp("https://a.example").c_str(), "http://https://a.example");
}

// The search term is highlighted in text in any case, never inside a tag.
TEST(ReportHtml, Highlighting) {
  const char* open = "<FONT COLOR=#800000 style=\"background:ffff00\">";
  const std::string o = open;
  EXPECT_EQ(HighlightTerm("Blue WIDGETS", "widgets"), "Blue " + o + "WIDGETS</FONT>");
  EXPECT_EQ(HighlightTerm("<a href=\"/widgets\">widgets</a>", "widgets"),
            "<a href=\"/widgets\">" + o + "widgets</FONT></a>");
  EXPECT_EQ(HighlightTerm("blue and red", "red  blue"),
            o + "blue</FONT> and " + o + "red</FONT>");
  // a later word never matches inside the highlight tags of an earlier one
  EXPECT_EQ(HighlightTerm("font size", "size font"), o + "font</FONT> " + o + "size</FONT>");
  // words that could cut a tag or an entity are not highlighted
  EXPECT_EQ(HighlightTerm("a &amp; <b>b</b>", "& <b"), "a &amp; <b>b</b>");
}

}  // namespace
