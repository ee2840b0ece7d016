#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "foundation/cgi/CgiEnvironment.h"
#include "foundation/html/HtmlDocument.h"
#include "foundation/html/HtmlList.h"
#include "foundation/html/HtmlTable.h"
#include "foundation/html/HtmlTags.h"
#include "foundation/core/ScrambleCoder.h"

namespace {

std::string Print(const CHtmlElement& element) {
  return element.ToText().c_str();
}

struct PrintCase {
  const char* what;
  std::function<std::string()> print;
  std::string expected;
};

void CheckCases(const PrintCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    SCOPED_TRACE(cases[i].what);
    EXPECT_EQ(cases[i].print(), cases[i].expected);
  }
}

template <class E, class F>
std::function<std::string()> Built(F setUp) {
  return [setUp] {
    E element;
    setUp(element);
    return Print(element);
  };
}

TEST(HtmlElement, OpeningTagAttributesAndColours) {
  const PrintCase cases[] = {
      {"attributes in byte order", Built<CHtmlTable>([](CHtmlTable& t) {
         t.SetWidth("100", true);
         t.SetBorder(0);
       }),
       "<TABLE BORDER=\"0\" WIDTH=\"100%\">\n</TABLE>\n"},
      {"upper case sorts before lower case", Built<CHtmlBold>([](CHtmlBold& b) {
         b.SetAttribute("align", "x");
         b.SetAttribute("BORDER", 1);
         b.SetAttribute("ALIGN", "y");
       }),
       "<B ALIGN=\"y\" BORDER=\"1\" align=\"x\"></B>"},
      {"empty, blank-only and trailing blanks", Built<CHtmlBold>([](CHtmlBold& b) {
         b.SetAttributeEmpty("A");
         b.SetAttribute("B", "   ");
         b.SetAttribute("C", " x  ");
       }),
       "<B A B C=\" x\"></B>"},
      {"COMPACT is a bare word", Built<CHtmlList>([](CHtmlList& l) { l.SetCompact(true); }),
       "<UL COMPACT></UL>\n"},
      {"COMPACT cleared", Built<CHtmlList>([](CHtmlList& l) {
         l.SetCompact(true);
         l.SetCompact(false);
       }),
       "<UL></UL>\n"},
      {"numbered list", [] { return Print(CHtmlList(CHtmlList::kNumbered)); }, "<OL></OL>\n"},
      {"negative numbers store empty attributes", Built<CHtmlTable>([](CHtmlTable& t) {
         t.SetBorder(-1);
         t.SetCellPadding(5);
         t.SetCellSpacing(0);
       }),
       "<TABLE BORDER CELLPADDING=\"5\" CELLSPACING=\"0\">\n</TABLE>\n"},
      {"colours", Built<CHtmlTableRow>([](CHtmlTableRow& r) { r.SetBgColor(0x00FF00); }),
       "<TR BGCOLOR=\"#00ff00\"></TR>\n"},
      {"no colour",
       Built<CHtmlTableRow>([](CHtmlTableRow& r) { r.SetBgColor(CHtmlElement::kNoColor); }),
       "<TR BGCOLOR></TR>\n"},
      {"width as text and empty", Built<CHtmlTableCell>([](CHtmlTableCell& c) {
         c.SetWidth("50");
         c.SetColSpan(6);
       }),
       "<TD COLSPAN=\"6\" WIDTH=\"50\"></TD>\n"},
      {"empty width", Built<CHtmlTableCell>([](CHtmlTableCell& c) { c.SetWidth("", true); }),
       "<TD WIDTH></TD>\n"},
      {"image with border and vertical alignment", Built<CHtmlElementList>([](auto& l) {
         CHtmlImage image("logo.gif");
         image.SetBorder(0);
         image.SetAlign(CHtmlElement::kMiddle);
         l.Add(image);
         CHtmlImage withAlt("a.gif", "Alt");
         withAlt.SetAlign(CHtmlElement::kRight);
         l.Add(withAlt);
       }),
       "<IMG BORDER=\"0\" SRC=\"logo.gif\" VALIGN=\"MIDDLE\"><IMG ALIGN=\"RIGHT\" ALT=\"Alt\" "
       "SRC=\"a.gif\">"},
  };
  CheckCases(cases, std::size(cases));
  EXPECT_EQ(std::string(CHtmlElement::ColorText(0xFF0000).c_str()), "#ff0000");
  EXPECT_EQ(std::string(CHtmlElement::ColorText(0).c_str()), "#000000");
  EXPECT_EQ(std::string(CHtmlElement::ColorText(0x0000FF).c_str()), "#0000ff");
}

TEST(HtmlElement, CodedSetters) {
  struct {
    int code;
    const char* align;
    const char* valign;
    const char* type;
  } cases[] = {
      {0, "", "", ""},
      {1, "LEFT", "", "1"},
      {2, "CENTER", "", "A"},
      {3, "RIGHT", "", "a"},
      {4, "JUSTIFY", "", "I"},
      {5, "", "TOP", "i"},
      {6, "", "TEXTTOP", "DISC"},
      {7, "", "MIDDLE", "CIRCLE"},
      {8, "", "BOTTOM", "SQUARE"},
      {9, "", "BASELINE", ""},
      {10, "", "", ""},
      {-1, "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    CHtmlListItem item;
    item.SetAlign(c.code);
    item.SetVAlign(c.code);
    item.SetType(c.code);
    EXPECT_TRUE(item.GetAttributes().Contains("ALIGN"));
    EXPECT_STREQ(item.GetAttribute("ALIGN").c_str(), c.align);
    EXPECT_STREQ(item.GetAttribute("VALIGN").c_str(), c.valign);
    EXPECT_STREQ(item.GetAttribute("TYPE").c_str(), c.type);
  }
}

TEST(HtmlElement, FontSizes) {
  struct {
    int size;
    bool relative;
    const char* expected;
  } cases[] = {
      {9, true, "<FONT SIZE=\"+7\"></FONT>"},
      {-9, true, "<FONT SIZE=\"-7\"></FONT>"},
      {2, true, "<FONT SIZE=\"+2\"></FONT>"},
      {-3, true, "<FONT SIZE=\"-3\"></FONT>"},
      {0, true, "<FONT></FONT>"},
      {0, false, "<FONT SIZE></FONT>"},
      {9, false, "<FONT SIZE=\"7\"></FONT>"},
      {-2, false, "<FONT SIZE=\"1\"></FONT>"},
      {4, false, "<FONT SIZE=\"4\"></FONT>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    CHtmlFont font;
    font.SetSize(c.size, c.relative);
    EXPECT_EQ(Print(font), c.expected);
  }
  CHtmlFont white("Arial, Helvetica", -6, 0xFFFFFF);
  white.SetContent("1.0");
  white.SetContent("2.0");
  EXPECT_EQ(Print(white),
            "<FONT COLOR=\"#ffffff\" FACE=\"Arial, Helvetica\" SIZE=\"-6\">2.0</FONT>");
  EXPECT_EQ(Print(CHtmlFont("Arial, Helvetica")), "<FONT FACE=\"Arial, Helvetica\"></FONT>")
      << "a data font carries no size or colour";
}

TEST(HtmlElement, TextEscapingAndMarkup) {
  struct {
    const char* text;
    const char* escaped;
  } cases[] = {
      {"   ", "&nbsp;&nbsp; "},
      {"a < b & c", "a &lt; b &amp; c"},
      {"\"q\" > 1", "&quot;q&quot; &gt; 1"},
      {"two  blanks", "two&nbsp; blanks"},
      {"trailing ", "trailing "},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Print(CHtmlString(c.text)), c.escaped);
    EXPECT_STREQ(CHtmlString::Escape(c.text).c_str(), c.escaped);
    EXPECT_EQ(Print(CHtmlString(c.text, 0)), c.text) << "markup prints as it stands";
    EXPECT_EQ(Print(CHtmlTextElement(c.text)), c.text);
  }
  CHtmlElementList list;
  EXPECT_EQ(list.AddText(""), nullptr);
  EXPECT_EQ(list.AddHtml(""), nullptr);
  list.AddText("R&D <b>");
  list.AddHtml("&nbsp;<BR>");
  EXPECT_EQ(Print(list), "R&amp;D &lt;b&gt;&nbsp;<BR>");
  EXPECT_EQ(Print(CHtmlTextElement("<i>x</i>", "CENTER")), "<CENTER><i>x</i></CENTER>");
}

// Titles, site names and result links come from pages and users: whatever they hold, they stay
// inside their attribute or their text.
TEST(HtmlElement, DataCannotBreakOutOfTheMarkup) {
  CHtmlTableRow row;
  CHtmlAnchor link("http://x.org/?a=1&b=\"><script>alert(1)</script>", "Tom & Jerry <script>");
  link.SetTarget("_blank\" onload=\"evil()");
  row.Add(link);
  row.Add(CHtmlBold("</TD></TR><TR>"));
  row.Add(CHtmlImage("a.gif", "1 > 0 & \"q\""));
  EXPECT_EQ(Print(row),
            "<TR><TD><A HREF=\"http://x.org/?a=1&amp;b=&quot;&gt;&lt;script&gt;alert(1)&lt;/"
            "script&gt;\" TARGET=\"_blank&quot; onload=&quot;evil()\">Tom &amp; Jerry "
            "&lt;script&gt;</A></TD>\n"
            "<TD><B>&lt;/TD&gt;&lt;/TR&gt;&lt;TR&gt;</B></TD>\n"
            "<TD><IMG ALT=\"1 &gt; 0 &amp; &quot;q&quot;\" SRC=\"a.gif\"></TD>\n"
            "</TR>\n");

  CHtmlDocument page;
  page.SetTitle("Q&A <Site>");
  EXPECT_NE(Print(page).find("<TITLE>Q&amp;A &lt;Site&gt;</TITLE>"), std::string::npos);

  // Markup the program composes on purpose keeps its tags.
  CHtmlTableCell cell;
  cell.Add(CHtmlString("<FONT COLOR=#800000 style=\"background:ffff00\">term</FONT>", 0));
  cell.AddHtml("&nbsp;");
  EXPECT_EQ(Print(cell),
            "<TD><FONT COLOR=#800000 style=\"background:ffff00\">term</FONT>&nbsp;</TD>\n");
}

TEST(HtmlElement, LineEndsByTag) {
  const PrintCase cases[] = {
      {"line break", [] { return Print(CHtmlTagElement()); }, "<BR>\n"},
      {"rule", [] { return Print(CHtmlRule()); }, "<HR>\n"},
      {"paragraph", [] { return Print(CHtmlParagraph(CHtmlElement::kCenter)); },
       "<P ALIGN=\"CENTER\"></P>\n"},
      {"inline elements",
       [] {
         CHtmlBold bold(CHtmlCenter(CHtmlAnchor("u", "t")));
         return Print(bold);
       },
       "<B><CENTER><A HREF=\"u\">t</A></CENTER></B>"},
      {"named anchor and local link", Built<CHtmlElementList>([](auto& l) {
         l.Add(CHtmlNamedAnchor("L1"));
         l.Add(CHtmlAnchor("", "first", "L1"));
         l.Add(CHtmlAnchor("page.htm", CHtmlBold("b"), "P2", "_top"));
       }),
       "<A NAME=\"L1\"></A><A HREF=\"#L1\">first</A>"
       "<A HREF=\"page.htm#P2\" TARGET=\"_top\"><B>b</B></A>"},
      {"empty map prints nothing", [] { return Print(CHtmlMap("m")); }, ""},
      {"map with an area", Built<CHtmlMap>([](CHtmlMap& m) {
         m.SetAttribute("NAME", "m");
         m.AddArea("RECT", "0,0,10,10", "a.htm");
       }),
       "<MAP NAME=\"m\"><AREA COORDS=\"0,0,10,10\" HREF=\"a.htm\" SHAPE=\"RECT\"></MAP>\n"},
      {"list with items", Built<CHtmlList>([](CHtmlList& l) {
         l.AddText("one");
         CHtmlList inner(CHtmlList::kNumbered);
         inner.AddText("two");
         l.Add(inner);
         l.Add(CHtmlListItem(CHtmlBold("three")));
       }),
       "<UL><LI>one</LI>\n<OL><LI>two</LI>\n</OL>\n<LI><B>three</B></LI>\n</UL>\n"},
      {"table with caption and rows", Built<CHtmlTable>([](CHtmlTable& t) {
         t.AddText("a");
         CHtmlTableRow row(CHtmlElement::kLeft);
         row.Add(CHtmlTableCell(CHtmlBold("b"), CHtmlElement::kRight));
         CHtmlElement header("TH", true);
         row.Add(header);
         t.Add(row);
         t.Add(CHtmlCaption("old"));
         t.Add(CHtmlCaption("C&C"));
       }),
       "<TABLE>\n<CAPTION>C&amp;C</CAPTION><TR><TD>a</TD>\n</TR>\n"
       "<TR ALIGN=\"LEFT\"><TD ALIGN=\"RIGHT\"><B>b</B></TD>\n<TH></TH>\n</TR>\n</TABLE>\n"},
      {"form field", [] { return Print(CHtmlInput("TEXT", "q", "v")); },
       "<INPUT NAME=\"q\" TYPE=\"TEXT\" VALUE=\"v\">"},
  };
  CheckCases(cases, std::size(cases));
}

TEST(HtmlElement, AddReturnsThePlacedCopy) {
  CHtmlTable table;
  CHtmlFont font("Arial");
  CHtmlElement* placed = table.Add(font);
  ASSERT_NE(placed, nullptr);
  EXPECT_NE(placed, &font);
  EXPECT_TRUE(placed->HasTag("FONT"));
  ASSERT_NE(placed->GetParent(), nullptr);
  EXPECT_TRUE(placed->GetParent()->HasTag("TD"));
  EXPECT_TRUE(placed->GetParent()->GetParent()->HasTag("TR"));
  EXPECT_EQ(placed->GetParent()->GetParent()->GetParent(), &table);
  // Changing the original afterwards does not reach the copy in the tree.
  font.SetFace("Courier");
  EXPECT_STREQ(placed->GetAttribute("FACE").c_str(), "Arial");
  table << CHtmlTableRow() << CHtmlTableRow();
  EXPECT_EQ(table.GetChildCount(), 3u);
}

TEST(HtmlElement, FindAndReplaceByName) {
  CHtmlElementList root;
  CHtmlBold direct("direct");
  direct.SetName("slot");
  CHtmlTable table;
  CHtmlBold deep("deep");
  deep.SetName("slot");
  table.Add(deep);
  root.Add(direct);
  root.Add(table);

  CHtmlElement* found = root.FindByName("slot", true);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(Print(*found), "<B>direct</B>");
  EXPECT_EQ(root.FindByName("none", false), nullptr);
  EXPECT_EQ(CHtmlString("x").FindByName("slot", false), nullptr) << "a leaf has no descendants";

  CHtmlString replacement("new", 1);
  replacement.SetName("slot");  // same name: the copies put in are not searched again
  EXPECT_EQ(root.ReplaceByName("slot", replacement, true), 1);
  EXPECT_EQ(Print(root), "new<TABLE>\n<TR><TD><B>deep</B></TD>\n</TR>\n</TABLE>\n");
  EXPECT_EQ(root.ReplaceByName("slot", CHtmlString("all"), false), 2);
  EXPECT_EQ(Print(root), "all<TABLE>\n<TR><TD>all</TD>\n</TR>\n</TABLE>\n");
  EXPECT_EQ(root.FindByName("slot", false), nullptr) << "the replacement carried no name";

  // Through a page's fixed parts into its body.
  CHtmlDocument page;
  CHtmlBold marker("m");
  marker.SetName("marker");
  page << marker;
  ASSERT_NE(page.FindByName("marker", false), nullptr);
  EXPECT_EQ(page.FindByName("marker", true), nullptr);
  EXPECT_EQ(page.ReplaceByName("marker", CHtmlString("done"), false), 1);
  EXPECT_NE(Print(page).find("<BODY>\ndone\n</BODY>"), std::string::npos);
}

TEST(HtmlElement, ClonesAreDeepAndEveryElementIsFreed) {
  long alive = CHtmlElement::GetAliveCount();
  long constructed = CHtmlElement::GetConstructedCount();
  {
    CHtmlDocument page;
    page.SetTitle("T");
    CHtmlTable table;
    for (int i = 0; i < 5; ++i) table.AddText(CLibString(i));
    page << table;
    std::unique_ptr<CHtmlElement> copy(page.Clone());
    ASSERT_NE(copy, nullptr);
    page.GetBody().RemoveAll();
    EXPECT_NE(Print(*copy).find("<TD>4</TD>"), std::string::npos);
    EXPECT_EQ(Print(page).find("<TD>"), std::string::npos);
    EXPECT_GT(CHtmlElement::GetAliveCount(), alive);
  }
  EXPECT_EQ(CHtmlElement::GetAliveCount(), alive);
  EXPECT_GT(CHtmlElement::GetConstructedCount(), constructed);
}

TEST(HtmlDocument, PageLayout) {
  const PrintCase cases[] = {
      {"file mode without title", [] { return Print(CHtmlDocument()); },
       "\n<HTML>\n<HEAD>\n\n</HEAD>\n<BODY>\n\n</BODY>\n</HTML>"},
      {"report page", Built<CHtmlDocument>([](CHtmlDocument& p) {
         p.SetTitle("Summary");
         p.SetBodyColour(0xFFFFFF);
         CHtmlElementList body;
         body.AddText("x");
         body.Add(CHtmlParagraph());
         p << body;
       }),
       "\n<HTML>\n<HEAD>\n<TITLE>Summary</TITLE>\n\n</HEAD>\n"
       "<BODY BGCOLOR=\"#ffffff\">\nx<P></P>\n\n</BODY>\n</HTML>"},
      {"CGI output with prolog",
       [] {
         CHtmlDocument p(0);
         p.SetProlog("Pragma: no-cache");
         p.SetNoHead(true);
         return Print(p);
       },
       "Content-Type: text/html\nPragma: no-cache\n\n<HTML>\n<BODY>\n\n</BODY>\n</HTML>"},
      {"prolog ending in a line end", Built<CHtmlDocument>([](CHtmlDocument& p) {
         p.SetProlog("<!DOCTYPE x>\n");
         p.SetNoHtmlTags(true);
         p.SetNoHead(true);
       }),
       "<!DOCTYPE x>\n\n<BODY>\n\n</BODY>\n"},
      {"frames replace the body", Built<CHtmlDocument>([](CHtmlDocument& p) {
         p << CHtmlBold("lost");
         CHtmlContainer frames("FRAMESET");
         frames.SetAttribute("COLS", "50%,*");
         p << frames;
       }),
       "\n<HTML>\n<HEAD>\n\n</HEAD>\n<FRAMESET COLS=\"50%,*\"></FRAMESET></HTML>"},
      {"BODY and HEAD elements replace the page's own", Built<CHtmlDocument>([](CHtmlDocument& p) {
         p << CHtmlBold("lost");
         p.SetBodyColour(0);
         CHtmlBody body;
         body.SetAttribute("TEXT", "#000000");
         body.AddText("kept");
         p << body;
         CHtmlContainer head("HEAD");
         head.AddHtml("<META NAME=\"x\">");
         p << head;
         p.SetTitle("T");
       }),
       "\n<HTML>\n<HEAD>\n<TITLE>T</TITLE>\n<META NAME=\"x\">\n</HEAD>\n"
       "<BODY TEXT=\"#000000\">\nkept\n</BODY>\n</HTML>"},
  };
  CheckCases(cases, std::size(cases));

  // Write and ToText print the same.
  CHtmlDocument page;
  page.SetTitle("same");
  std::ostringstream os;
  page.Write(os);
  EXPECT_EQ(os.str(), Print(page));
}

TEST(HtmlDocument, FormValuesAndCookiesFromTheEnvironment) {
  CCgiEnvironment environment;
  environment.SetAt("user", "bob \"the\" <b>");
  environment.SetAt("plain", "v");
  environment.SetAt("secret", "s3cr3t");
  environment.SetAt("empty", "");
  environment.GetCookies().Parse("sid=42; path=/; secure");

  CHtmlDocument page(0);
  page.SetEnvironment(&environment);
  page << CHtmlInput("TEXT", "user", "old");
  page << CHtmlInput("TEXT", "plain");
  page << CHtmlInput("TEXT", "empty", "mine");
  page << CHtmlInput("TEXT", "unknown", "own");
  CHtmlTextElement select("", "SELECT");
  select.SetAttribute("NAME", "plain");
  page << select;

  std::string text = Print(page);
  EXPECT_EQ(text.rfind("Content-Type: text/html\nSet-Cookie: sid=42; path=/; secure\n\n", 0), 0u)
      << text;
  EXPECT_NE(
      text.find("<INPUT NAME=\"user\" TYPE=\"TEXT\" VALUE=\"bob &quot;the&quot; &lt;b&gt;\">"),
      std::string::npos);
  EXPECT_NE(text.find("<INPUT NAME=\"plain\" TYPE=\"TEXT\" VALUE=\"v\">"), std::string::npos)
      << "a missing VALUE is added after the others";
  EXPECT_NE(text.find("<INPUT NAME=\"empty\" TYPE=\"TEXT\" VALUE=\"mine\">"), std::string::npos);
  EXPECT_NE(text.find("<INPUT NAME=\"unknown\" TYPE=\"TEXT\" VALUE=\"own\">"), std::string::npos);
  EXPECT_NE(text.find("<SELECT NAME=\"plain\" VALUE=\"v\"></SELECT>"), std::string::npos);

  // A hidden field carries its value coded with the environment's coder.
  CScrambleCoder coder("key");
  environment.SetCoder(&coder);
  CHtmlDocument hidden;
  hidden.SetEnvironment(&environment);
  hidden << CHtmlInput("hidden", "secret", "x");
  text = Print(hidden);
  EXPECT_EQ(text.find("s3cr3t"), std::string::npos);
  size_t start = text.find("VALUE=\"");
  ASSERT_NE(start, std::string::npos);
  start += 7;
  std::string printed = text.substr(start, text.find('"', start) - start);
  std::string bytes;
  for (size_t i = 0; i < printed.size(); ++i) {
    static const char* const kEntities[][2] = {
        {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}};
    bool matched = false;
    for (const auto& entity : kEntities) {
      if (printed.compare(i, strlen(entity[0]), entity[0]) == 0) {
        bytes += entity[1];
        i += strlen(entity[0]) - 1;
        matched = true;
        break;
      }
    }
    if (!matched) bytes += printed[i];
  }
  int length = static_cast<int>(bytes.size());
  char* plain = coder.Decode(bytes.data(), length);
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(std::string(plain, length), "s3cr3t") << "the coded bytes, escaped in the attribute";
  FreeCoderBuffer(plain);

  // Elements outside a tree with an environment keep their own values.
  EXPECT_EQ(Print(CHtmlInput("TEXT", "user", "old")),
            "<INPUT NAME=\"user\" TYPE=\"TEXT\" VALUE=\"old\">");
}

// Tags the program uses all the time are shared between elements, others are each element's
// own; attributes are kept in an array of their own. Both must behave as plain copies would.
TEST(HtmlElement, TagsAndAttributesKeptApartFromTheirSources) {
  const PrintCase cases[] = {
      {"an uncommon tag outlives the element it was copied from", [] {
         auto original = std::make_unique<CHtmlContainer>(CLibString("BLINK"));
         original->AddText("x");
         std::unique_ptr<CHtmlElement> copy(original->Clone());
         original.reset();
         return Print(*copy);
       },
       "<BLINK>x</BLINK>"},
      {"a tag set from the element's own tag", Built<CHtmlContainer>([](CHtmlContainer& e) {
         e.SetTag("BLINK", true);
         e.SetTag(e.GetTag(), false);
         e.AddText("x");
       }),
       "<BLINK>x"},
      {"a shared tag set from the element's own tag", Built<CHtmlTableCell>([](CHtmlTableCell& e) {
         e.SetTag(e.GetTag(), true);
       }),
       "<TD></TD>\n"},
      {"a tag in other letters is printed as given", Built<CHtmlContainer>([](CHtmlContainer& e) {
         e.SetTag(CLibString("td"), true);
       }),
       "<td></td>\n"},
      {"an uncommon tag replaced by a common one", Built<CHtmlContainer>([](CHtmlContainer& e) {
         e.SetTag("BLINK", true);
         e.SetTag("TR", true);
       }),
       "<TR></TR>\n"},
      {"attributes taken from another element replace the old ones", [] {
         CHtmlBold source;
         source.SetAttribute("B", "2");
         source.SetAttribute(CLibString("A"), CLibString("1"));
         CHtmlBold target;
         target.SetAttribute("C", 3);
         target.SetAttributes(source.GetAttributes());
         source.SetAttribute("D", "4");
         return Print(target);
       },
       "<B A=\"1\" B=\"2\"></B>"},
      {"an element's own attribute list given back to it", Built<CHtmlBold>([](CHtmlBold& b) {
         b.SetAttribute("Z", "z");
         b.SetAttribute("A", "a");
         b.SetAttributes(b.GetAttributes());
       }),
       "<B A=\"a\" Z=\"z\"></B>"},
      {"removing and replacing keep the order", Built<CHtmlBold>([](CHtmlBold& b) {
         for (const char* name : {"D", "B", "C", "A"}) b.SetAttribute(name, name);
         b.RemoveAttribute("C");
         b.SetAttribute("B", "long value past any short-string buffer");
       }),
       "<B A=\"A\" B=\"long value past any short-string buffer\" D=\"D\"></B>"},
  };
  CheckCases(cases, sizeof cases / sizeof cases[0]);
}

// Element memory is used again once freed: trees made after others were thrown away must print
// exactly as the first did.
TEST(HtmlElement, TreesMadeAfterOthersWereFreedPrintTheSame) {
  auto make = [] {
    auto table = std::make_unique<CHtmlTable>();
    for (int i = 0; i < 200; ++i) {
      auto* row = new CHtmlTableRow(CHtmlElement::kLeft);
      row->SetBgColor(static_cast<uint32_t>(i));
      for (int k = 0; k < 1 + i % 7; ++k) row->AddOwned(new CHtmlFont("Arial, Helvetica", k));
      row->AddText(CLibString(i));
      table->AddOwned(row);
    }
    return table;
  };
  const std::string first = Print(*make());
  for (int round = 0; round < 3; ++round) {
    auto other = make();
    other->RemoveAll();
    EXPECT_EQ(Print(*make()), first);
  }
}

}  // namespace
