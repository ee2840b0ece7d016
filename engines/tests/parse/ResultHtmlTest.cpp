#include "engines/parse/ResultHtml.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Simplified(const char* html) {
  return SimplifyResultHtml(CLibString(html)).c_str();
}

TEST(SimplifyResultHtml, DropsTheLookAndKeepsTheStructure) {
  const struct {
    const char* html;
    const char* expected;
  } cases[] = {
      // Bold around a word and a class on the link: both go, the blank before ">" stays.
      {"<b>Red</b> shoes <a href=\"http://shoes.example/\" class=\"r\">Shoes</a>",
       "Red shoes <a href=\"http://shoes.example/\" >Shoes</a>"},
      // A comment at the start goes with its terminator; the text keeps its leading blank.
      {"<!-- result 1 --> <a href=x>One</a>", " <a href=x>One</a>"},
      {"a<!-- x --!>b", "ab"},
      {"<![if !IE]>keep<![endif]-->after", "after"},
      {"<!DOCTYPE html>text", "<!DOCTYPE html>text"},  // no terminator: not a comment
      // White space runs, line ends and tabs included, become one blank.
      {"one \r\n\t two\n\nthree", "one two three"},
      // Every look tag, opening or closing, any case; the others stay.
      {"<FONT size=2 color=red>x</FONT><Span>y</sPan><i>z</i><u>u</u><s>s</s><em>e</em>"
       "<strong>st</strong><big>bg</big><small>sm</small><img src=\"a.gif\" alt=\"\"><hr>",
       "xyzusestbgsm"},
      {"<br><p>text</p><li>item</li><table><tr><td>cell</td></tr></table>",
       "<br><p>text</p><li>item</li><table><tr><td>cell</td></tr></table>"},
      {"<bdo dir=rtl>x</bdo><blockquote>q</blockquote>",
       "<bdo dir=rtl>x</bdo><blockquote>q</blockquote>"},
      // The look attributes, in any quoting and case, with the other attributes kept.
      {"<td bgcolor=#ffffff width=\"50%\" STYLE='color: red' align=left>c</td>",
       "<td  width=\"50%\"  align=left>c</td>"},
      {"<a target=_blank href='x.html' Class=a title=\"class=b\">t</a>",
       "<a  href='x.html'  title=\"class=b\">t</a>"},
      {"<div class = \"box\" id=r1>d</div>", "<div  id=r1>d</div>"},
      {"<a href=\"x\" data-class=\"k\" nowrap>t</a>",
       "<a href=\"x\" data-class=\"k\" nowrap>t</a>"},
      // A quoted value may hold ">" and blanks.
      {"<a title=\"a > b\" class=c href=x>t</a>", "<a title=\"a > b\"  href=x>t</a>"},
      // "<" that opens no tag is text.
      {"1 < 2 class=x and 3 <= 4", "1 < 2 class=x and 3 <= 4"},
      // Damaged ends: an unterminated tag or quote is kept as it stands.
      {"text <b", "text <b"},
      {"<a href=\"x class=y", "<a href=\"x class=y"},
      {"", ""},
  };
  // A removed attribute leaves the blanks on both sides of it.
  for (const auto& c : cases) EXPECT_EQ(Simplified(c.html), c.expected) << c.html;
}

TEST(SimplifyResultHtml, RewritesTheBufferInPlace) {
  char buffer[] = "<b>big</b>  <a class=x href=y>link</a>";
  SimplifyResultHtml(buffer);
  EXPECT_STREQ(buffer, "big <a  href=y>link</a>");
  SimplifyResultHtml(static_cast<char*>(nullptr));  // nothing to do, no crash
}

}  // namespace
