// The link control: a static of a test window made into a link and driven by messages; the shell
// is replaced by a recorder, so nothing is opened. Colours are read back as the parent's
// WM_CTLCOLORSTATIC hands them to the control.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/os/UrlLink.h"
#include "framework/app/MessageBox.h"
#include "resources/resource.h"
#include "ui/controls/MyHyperLink.h"
#include "ui/dialogs/AboutBox2.h"
#include "ui/dialogs/InstantUpdateMessage.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

using Link = CMyHyperLink;

// What the stand-in for the shell was asked, and what it answers.
struct Opens {
  std::vector<std::string> urls;
  int result = 42;
};
Opens g_opens;
int RecordOpen(LPCSTR url, int) {
  g_opens.urls.push_back(url);
  return g_opens.result;
}

std::vector<std::string> g_boxes;
int RecordBox(LPCSTR text, UINT) {
  g_boxes.push_back(text);
  return IDOK;
}

std::string ToolTipText(HWND tip, HWND link) {
  char text[1024] = {};
  TOOLINFOA ti = {};
  ti.cbSize = sizeof ti;
  ti.hwnd = link;
  ti.uId = 1;
  ti.lpszText = text;
  ::SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&ti));
  return text;
}

// The colour the control sets when its parent asks it, as it does before every paint.
COLORREF PaintColour(HWND link) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  ::SetTextColor(dc, RGB(1, 2, 3));
  ::SendMessageA(::GetParent(link), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(link));
  COLORREF colour = ::GetTextColor(dc);
  ::DeleteDC(dc);
  return colour;
}

LOGFONTA ControlFont(HWND control) {
  LOGFONTA lf = {};
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
  if (font) ::GetObjectA(font, sizeof lf, &lf);
  return lf;
}

class MyHyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_opens = Opens();
    g_boxes.clear();
    m_previousOpen = Link::SetOpenFunction(RecordOpen);
    AfxSetMessageBoxHandler(RecordBox);
    ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "Link test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                                  50, 500, 300, nullptr, nullptr));
  }
  void TearDown() override {
    m_links.clear();
    m_parent.DestroyWindow();
    Link::SetOpenFunction(m_previousOpen);
    AfxSetMessageBoxHandler(nullptr);
  }

  // A static at (x, 20) of the given size and style, in the dialog font unless told otherwise,
  // made into a link with the options and the address given.
  Link& Attach(const char* text, const char* url, DWORD options = Link::kDefaultOptions,
               DWORD style = SS_LEFT, bool font = true, int x = 20, int width = 300) {
    HWND control = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, x, 20,
                                     width, 40, m_parent.m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + m_links.size())),
                                     ::GetModuleHandleA(nullptr), nullptr);
    if (font) ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
    m_links.push_back(std::make_unique<Link>());
    Link& link = *m_links.back();
    link.SetLinkOptions(Link::kDefaultOptions & ~options, options & ~Link::kDefaultOptions, FALSE);
    if (url) link.SetURL(url);
    EXPECT_TRUE(link.SubclassWindow(control));
    return link;
  }
  // The window's rectangle in the parent's client area.
  RECT Placement(const Link& link) const {
    RECT r = {};
    ::GetWindowRect(link.m_hWnd, &r);
    ::MapWindowPoints(nullptr, m_parent.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  static SIZE TextExtent(const Link& link) {
    char text[512] = {};
    ::GetWindowTextA(link.m_hWnd, text, sizeof text);
    HDC dc = ::GetDC(link.m_hWnd);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(link.m_hWnd, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(link.m_hWnd, dc);
    return size;
  }

  CWnd m_parent;
  std::vector<std::unique_ptr<Link>> m_links;
  Link::OpenFunction m_previousOpen = nullptr;
};

}  // namespace

// The address and the text fill in for each other; the tool tip shows the address and follows it.
TEST_F(MyHyperLinkTest, AddressTextAndToolTip) {
  struct Case {
    const char* text;
    const char* url;  // null: none set before attachment
    const char* shownText;
    const char* address;
  };
  const Case cases[] = {
      {"", "http://www.example.com/", "http://www.example.com/", "http://www.example.com/"},
      {"http://only.text.example/", nullptr, "http://only.text.example/", "http://only.text.example/"},
      {"Our home page", "http://home.example/", "Our home page", "http://home.example/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shownText);
    Link& link = Attach(c.text, c.url);
    char text[256] = {};
    ::GetWindowTextA(link.m_hWnd, text, sizeof text);
    EXPECT_STREQ(text, c.shownText);
    EXPECT_STREQ(link.GetURL(), c.address);
    EXPECT_EQ(ToolTipText(link.GetToolTip().m_hWnd, link.m_hWnd), c.address);
  }
  Link& link = *m_links.back();
  link.SetURL("http://changed.example/path");
  EXPECT_EQ(ToolTipText(link.GetToolTip().m_hWnd, link.m_hWnd), "http://changed.example/path");
  EXPECT_TRUE(::IsWindowVisible(link.m_hWnd)) << "shown again after the change";
  char text[256] = {};
  ::GetWindowTextA(link.m_hWnd, text, sizeof text);
  EXPECT_STREQ(text, "Our home page") << "the text stays";
}

// Option 1 underlines the link font; removing it takes the underline away. An option both removed
// and added is refused and changes nothing. Without a font there is nothing to size to.
TEST_F(MyHyperLinkTest, FontAndOptions) {
  Link& link = Attach("Underlined", "http://u.example/");
  LOGFONTA lf = ControlFont(link.m_hWnd);
  EXPECT_TRUE(lf.lfUnderline);
  LOGFONTA gui = {};
  ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui);
  EXPECT_STREQ(lf.lfFaceName, gui.lfFaceName);
  EXPECT_EQ(lf.lfHeight, gui.lfHeight);

  EXPECT_FALSE(link.SetLinkOptions(Link::kHoverColour | Link::kUnderline, Link::kUnderline));
  EXPECT_EQ(link.GetLinkOptions(), static_cast<DWORD>(Link::kDefaultOptions));
  EXPECT_TRUE(ControlFont(link.m_hWnd).lfUnderline);

  EXPECT_TRUE(link.SetLinkOptions(Link::kUnderline, Link::kHoverColour));
  EXPECT_EQ(link.GetLinkOptions(),
            static_cast<DWORD>(Link::kSizeToText | Link::kFocusOnPress | Link::kHoverColour));
  EXPECT_FALSE(ControlFont(link.m_hWnd).lfUnderline);

  CFont bold;
  LOGFONTA boldLf = gui;
  boldLf.lfWeight = FW_BOLD;
  ASSERT_TRUE(bold.CreateFontIndirect(&boldLf));
  link.SetFont(&bold);
  EXPECT_EQ(ControlFont(link.m_hWnd).lfWeight, FW_BOLD);
  EXPECT_FALSE(ControlFont(link.m_hWnd).lfUnderline) << "the options still hold";
  EXPECT_NE(ControlFont(link.m_hWnd).lfWeight, 0);

  Link& plain = Attach("No font", "http://n.example/", Link::kDefaultOptions, SS_LEFT, false);
  EXPECT_EQ(plain.GetLinkOptions() & Link::kSizeToText, 0u);
}

// Option 4 fits the window to its text: a left-aligned link keeps its left edge, a right-aligned
// one its right edge, a centred one its centre; without the option the window stays as made.
TEST_F(MyHyperLinkTest, SizedToItsText) {
  struct Case {
    DWORD options;
    DWORD style;
    const char* keeps;  // "left", "right", "centre" or "all"
  };
  const Case cases[] = {
      {Link::kDefaultOptions, SS_LEFT, "left"},
      {Link::kDefaultOptions, SS_RIGHT, "right"},
      {Link::kDefaultOptions, SS_CENTER, "centre"},
      {Link::kUnderline, SS_LEFT, "all"},
  };
  const int x = 40, width = 400;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keeps);
    Link& link = Attach("Size me", "http://s.example/", c.options, c.style, true, x, width);
    RECT r = Placement(link);
    SIZE text = TextExtent(link);
    if (std::string(c.keeps) == "all") {
      EXPECT_EQ(r.left, x);
      EXPECT_EQ(r.right - r.left, width);
      EXPECT_EQ(r.bottom - r.top, 40);
      continue;
    }
    // The text with room for one more character, never less than the text.
    EXPECT_GT(r.right - r.left, text.cx);
    EXPECT_LE(r.right - r.left, text.cx + text.cy);
    EXPECT_EQ(r.bottom - r.top, text.cy);
    EXPECT_EQ(r.top, 20);
    if (std::string(c.keeps) == "left") {
      EXPECT_EQ(r.left, x);
    }
    if (std::string(c.keeps) == "right") {
      EXPECT_EQ(r.right, x + width);
    }
    if (std::string(c.keeps) == "centre") {
      EXPECT_NEAR((r.left + r.right) / 2, x + width / 2, 1);
    }
    ::DestroyWindow(link.m_hWnd);
  }
}

// The colour follows the state: focus gives the pressed colour (unless option 64), the mouse over
// it the hover colour (only with option 2), and a successful open the visited colour for good.
TEST_F(MyHyperLinkTest, ColoursFollowMouseFocusAndVisits) {
  Link& link = Attach("Colours", "http://c.example/");
  HWND h = link.m_hWnd;
  EXPECT_EQ(PaintColour(h), Link::kLinkColour);
  EXPECT_EQ(::SendMessageA(h, WM_NCHITTEST, 0, MAKELPARAM(60, 30)), HTCLIENT);

  ::SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_TRUE(link.IsMouseOver());
  EXPECT_EQ(::GetCapture(), h) << "the capture tells when the mouse leaves";
  EXPECT_EQ(PaintColour(h), Link::kLinkColour) << "no hover colour without option 2";
  link.SetLinkOptions(0, Link::kHoverColour);
  EXPECT_EQ(PaintColour(h), Link::kHoverColourValue);
  ::SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(-5, 2));
  EXPECT_FALSE(link.IsMouseOver());
  EXPECT_EQ(::GetCapture(), nullptr);
  EXPECT_EQ(PaintColour(h), Link::kLinkColour);

  ::SetFocus(h);
  EXPECT_TRUE(link.IsPressed());
  EXPECT_EQ(PaintColour(h), Link::kPressedColour);
  link.SetLinkOptions(0, Link::kNoPressedColour);
  EXPECT_EQ(PaintColour(h), Link::kLinkColour);
  link.SetLinkOptions(Link::kNoPressedColour, 0);
  ::SetFocus(m_parent.m_hWnd);
  EXPECT_FALSE(link.IsPressed());
  EXPECT_EQ(PaintColour(h), Link::kLinkColour);

  // A failed open leaves the link as it was and says why.
  g_opens.result = SE_ERR_NOASSOC;
  EXPECT_FALSE(link.GotoURL());
  EXPECT_FALSE(link.IsVisited());
  EXPECT_EQ(PaintColour(h), Link::kLinkColour);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0], "Can't open link:\n\nThere is no application associated\nwith the given "
                        "filename extension.");

  g_opens.result = 42;
  EXPECT_TRUE(link.GotoURL());
  EXPECT_TRUE(link.IsVisited());
  EXPECT_EQ(PaintColour(h), Link::kVisitedColour);
  ::SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  EXPECT_EQ(PaintColour(h), Link::kHoverColourValue) << "hovering outranks visited";
  ::SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
  EXPECT_EQ(PaintColour(h), Link::kVisitedColour);
  EXPECT_EQ(g_opens.urls, std::vector<std::string>({"http://c.example/", "http://c.example/"}));
  EXPECT_EQ(g_boxes.size(), 1u);
}

// What opens the link: the release of a press (or the press itself with option 8), and the space
// key; nothing else.
TEST_F(MyHyperLinkTest, ClickAndSpaceOpen) {
  struct Event {
    UINT message;
    WPARAM wParam;
  };
  struct Case {
    const char* what;
    DWORD options;
    std::vector<Event> events;
    size_t opensAfterFirst;  // opens after the first event
    size_t opens;            // after all of them
  };
  const Case cases[] = {
      {"click", Link::kDefaultOptions, {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}}, 0, 1},
      {"click, option 8", Link::kDefaultOptions | Link::kOpenOnPress,
       {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_LBUTTONUP, 0}}, 1, 1},
      {"release alone", Link::kDefaultOptions, {{WM_LBUTTONUP, 0}}, 0, 0},
      {"space", Link::kDefaultOptions, {{WM_KEYDOWN, VK_SPACE}}, 1, 1},
      {"other keys", Link::kDefaultOptions, {{WM_KEYDOWN, VK_RETURN}, {WM_KEYDOWN, 'A'}}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_opens.urls.clear();
    Link& link = Attach("Open me", "http://open.example/", c.options);
    ::SetFocus(m_parent.m_hWnd);
    for (size_t i = 0; i < c.events.size(); ++i) {
      ::SendMessageA(link.m_hWnd, c.events[i].message, c.events[i].wParam, MAKELPARAM(3, 3));
      if (i == 0) {
        EXPECT_EQ(g_opens.urls.size(), c.opensAfterFirst);
      }
    }
    EXPECT_EQ(g_opens.urls.size(), c.opens);
    EXPECT_EQ(link.IsVisited() != FALSE, c.opens > 0);
    ::DestroyWindow(link.m_hWnd);
  }
}

TEST_F(MyHyperLinkTest, PressTakesTheFocusOnlyWithOption16) {
  Link& taking = Attach("Takes", "http://t.example/");
  ::SetFocus(m_parent.m_hWnd);
  ::SendMessageA(taking.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(::GetFocus(), taking.m_hWnd);
  ::SendMessageA(taking.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));

  Link& leaving = Attach("Leaves", "http://l.example/", Link::kUnderline);
  ::SetFocus(m_parent.m_hWnd);
  ::SendMessageA(leaving.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(::GetFocus(), m_parent.m_hWnd);
  ::SendMessageA(leaving.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(g_opens.urls.size(), 2u);
}

// Every link shows the system's hand, which no link owns: one link going away leaves the others'
// cursor whole. Option 32 keeps the control's own cursor.
TEST_F(MyHyperLinkTest, HandCursorOutlivesAnyOneLink) {
  Link& first = Attach("First", "http://1.example/");
  Link& second = Attach("Second", "http://2.example/");
  Link& own = Attach("Own", "http://3.example/", Link::kDefaultOptions | Link::kNoHandCursor);
  HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND);
  EXPECT_EQ(first.GetLinkCursor(), hand);
  EXPECT_EQ(second.GetLinkCursor(), hand);
  EXPECT_EQ(own.GetLinkCursor(), nullptr);

  EXPECT_TRUE(::SendMessageA(second.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(second.m_hWnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  m_links.erase(m_links.begin());  // the first link and its window go
  ICONINFO info = {};
  ASSERT_TRUE(::GetIconInfo(second.GetLinkCursor(), &info)) << "the cursor is still alive";
  if (info.hbmMask) ::DeleteObject(info.hbmMask);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  EXPECT_TRUE(::SendMessageA(second.m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(second.m_hWnd),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(::GetCursor(), hand);
}

// When the shell cannot open an address, the ".htm" association's command gets it. However the
// address is made, it stays one quoted argument in a line as long as it needs: nothing is cut,
// and no part of it becomes an argument or a switch of its own.
TEST(MyHyperLinkCommand, HostileAddressesStayOneQuotedArgument) {
  const std::string longPath(1200, 'a');
  struct Case {
    const char* why;
    std::string command;
    std::string url;
    std::string line;
  };
  const Case cases[] = {
      {"longer than any fixed buffer", "\"C:\\b.exe\" \"%1\"", "http://x/" + longPath,
       "\"C:\\b.exe\"  \"http://x/" + longPath + "\""},
      {"a long command", "\"C:\\" + longPath + ".exe\" %1", "u",
       "\"C:\\" + longPath + ".exe\"  \"u\""},
      {"quotes and a switch", "b.exe \"%1\"", "x\" /s \"C:\\evil.exe", "b.exe  \"x\\\" /s \\\"C:\\evil.exe\""},
      {"its own placeholder", "b.exe \"%1\"", "http://x/%1\"%1", "b.exe  \"http://x/%1\\\"%1\""},
      {"an ampersand and a pipe", "b.exe %1", "http://x/?a=1&b=2|c", "b.exe  \"http://x/?a=1&b=2|c\""},
      {"a trailing backslash", "b.exe \"%1\"", "C:\\dir\\", "b.exe  \"C:\\dir\\\\\""},
      {"no placeholder: the address goes last", "b.exe -url", "u v", "b.exe -url \"u v\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(std::string(CUrlLink::MakeCommandLine(c.command.c_str(), c.url.c_str())), c.line);
  }
}

// The two small dialogs show their addresses as links that take the hover colour under the mouse
// and open through the shell.
class SmallDialogLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dlgtest::UseLanguageModule();
    g_opens = Opens();
    m_previousOpen = Link::SetOpenFunction(RecordOpen);
  }
  void TearDown() override { Link::SetOpenFunction(m_previousOpen); }
  Link::OpenFunction m_previousOpen = nullptr;
};

TEST_F(SmallDialogLinksTest, AboutBoxAndUpdateNoticeLinksOpenTheirPages) {
  CAboutBox2 about;
  CInstantUpdateMessage notice;
  struct Case {
    CDialog* dialog;
    int linkId;
    CString url;
  };
  const Case cases[] = {
      {&about, IDC_ABOUT_LINK, about.m_strLinkURL},
      {&notice, IDC_UPDATE_LINK, notice.m_strLinkURL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.linkId);
    g_opens.urls.clear();
    COLORREF before = 0, hover = 0, left = 0, after = 0;
    std::string tip, text;
    dlgtest::RunModal(*c.dialog,
                      {[&](HWND d) {
                         HWND link = ::GetDlgItem(d, c.linkId);
                         before = PaintColour(link);
                         text = dlgtest::ItemText(d, c.linkId);
                         HWND tipWindow = nullptr;
                         if (auto* wrapped = dynamic_cast<Link*>(CWnd::FromHandlePermanent(link)))
                           tipWindow = wrapped->GetToolTip().m_hWnd;
                         tip = ToolTipText(tipWindow, link);
                         // The mouse over the link and off it again.
                         ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
                         hover = PaintColour(link);
                         ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
                         left = PaintColour(link);
                         ::SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
                         ::SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
                         after = PaintColour(link);
                       },
                       [](HWND d) { dlgtest::Press(d, IDCANCEL); }});
    EXPECT_EQ(before, Link::kLinkColour);
    EXPECT_EQ(hover, Link::kHoverColourValue) << "the mouse over the link";
    EXPECT_EQ(left, Link::kLinkColour);
    EXPECT_EQ(after, Link::kPressedColour) << "the press took the focus";
    EXPECT_EQ(text, std::string(c.url));
    EXPECT_EQ(tip, std::string(c.url));
    EXPECT_EQ(g_opens.urls, std::vector<std::string>{std::string(c.url)});
  }
}
