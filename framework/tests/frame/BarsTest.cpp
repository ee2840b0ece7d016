// Toolbars, rebars and dialog bars on a real frame: buttons from a TOOLBAR resource, tips and
// prompts, a control placed on a button, commands of the bars' children reaching the frame,
// bands following their bars, and the application's print setup keeping its choice.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "framework/app/WinApp.h"
#include "framework/app/AppIds.h"
#include "framework/bars/DialogBar.h"
#include "framework/bars/ReBar.h"
#include "framework/bars/StatusBar.h"
#include "framework/bars/ToolBar.h"
#include "framework/controls/ComboBox.h"
#include "framework/frame/FrameWnd.h"
#include "framework/tests/frame/BarsTestIds.h"
#include "framework/wnd/MessageMap.h"

namespace {

class BarsFrame : public CFrameWnd {
 public:
  int m_selChanges = 0;
  int m_dlgBarClicks = 0;

 protected:
  void OnSelChange() { ++m_selChanges; }
  void OnDlgBarButton() { ++m_dlgBarClicks; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BarsFrame, CFrameWnd)
  ON_CBN_SELCHANGE(ID_TEST_TOOL_PLACE, OnSelChange)
  ON_COMMAND(ID_TEST_DLGBAR_BUTTON, OnDlgBarButton)
END_MESSAGE_MAP()

class BarsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_frame = new BarsFrame;
    ASSERT_TRUE(m_frame->Create(nullptr, "bars", WS_OVERLAPPEDWINDOW, CRect(200, 200, 700, 500)));
    ASSERT_TRUE(m_status.Create(m_frame));
    const UINT indicators[] = {ID_SEPARATOR};
    m_status.SetIndicators(indicators, 1);
    m_frame->ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();  // deletes the frame object
  }
  BOOL MakeToolBar(DWORD barStyle) {
    if (!m_bar.CreateEx(m_frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | barStyle))
      return FALSE;
    if (!m_bar.LoadToolBar(IDR_TEST_TOOLBAR)) return FALSE;
    m_frame->RecalcLayout();
    return TRUE;
  }
  CPoint CentreOf(UINT id) {
    CRect r;
    m_bar.GetItemRect(m_bar.CommandToIndex(id), &r);
    return r.CenterPoint();
  }
  // What the message pane shows after the mouse moved over the point of the bar.
  std::string MoveOver(CPoint pt) {
    MSG msg = {m_bar.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y), 0, {}};
    ::ClientToScreen(m_bar.m_hWnd, &msg.pt);
    msg.pt.x += pt.x;
    msg.pt.y += pt.y;
    m_bar.PreTranslateMessage(&msg);
    return MessagePane();
  }
  std::string MessagePane() { return m_status.GetPaneText(0).GetString(); }

  BarsFrame* m_frame = nullptr;
  CStatusBar m_status;
  CToolBar m_bar;
};

TEST_F(BarsTest, AToolBarResourceGivesItsButtonsInOrderAndADamagedOneIsRefused) {
  ASSERT_TRUE(MakeToolBar(0));
  struct Case {
    int index;
    UINT id;
    bool separator;
  };
  const Case cases[] = {{0, ID_TEST_TOOL_A, false}, {1, 0, true}, {2, ID_TEST_TOOL_B, false},
                        {3, ID_TEST_TOOL_C, false}, {4, ID_TEST_TOOL_PLACE, false}};
  ASSERT_EQ(m_bar.GetCount(), 5);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(m_bar.GetItemID(c.index), c.id);
    EXPECT_EQ((LOWORD(m_bar.GetButtonStyle(c.index)) & TBSTYLE_SEP) != 0, c.separator);
    if (c.id) {
      EXPECT_EQ(m_bar.CommandToIndex(c.id), c.index);
    }
  }
  EXPECT_EQ(m_bar.CommandToIndex(9999), -1);

  // A resource that claims more buttons than it holds, or none at all, leaves the bar as it was.
  EXPECT_FALSE(m_bar.LoadToolBar(IDR_TEST_TOOLBAR_SHORT));
  EXPECT_FALSE(m_bar.LoadToolBar(4242));
  EXPECT_EQ(m_bar.GetCount(), 5);

  // A text (below the image on this bar) makes the button taller, reads back, and the bar's
  // size grows with it so that the text is not cut off.
  CRect before, after;
  m_bar.GetItemRect(2, &before);
  CSize barBefore = m_bar.CalcFixedLayout(FALSE, TRUE);
  ASSERT_TRUE(m_bar.SetButtonText(2, "Second thing"));
  m_bar.GetItemRect(2, &after);
  EXPECT_EQ(m_bar.GetButtonText(2), CString("Second thing"));
  EXPECT_GT(after.Height(), before.Height());
  EXPECT_GE(m_bar.CalcFixedLayout(FALSE, TRUE).cy, after.Height());
  EXPECT_GT(m_bar.CalcFixedLayout(FALSE, TRUE).cy, barBefore.cy);
  EXPECT_FALSE(m_bar.SetButtonText(1, "separator")) << "a separator has no text";
}

TEST_F(BarsTest, TipsComeFromTheTipPartAndPromptsFollowTheMouseIntoTheMessagePane) {
  ASSERT_TRUE(MakeToolBar(CBRS_TOOLTIPS | CBRS_FLYBY));
  struct Case {
    UINT id;
    const char* tip;
  };
  for (const Case& c : {Case{ID_TEST_TOOL_A, "First"}, Case{ID_TEST_TOOL_B, "Second"}}) {
    SCOPED_TRACE(c.tip);
    EXPECT_EQ(m_bar.OnToolHitTest(CentreOf(c.id), nullptr), static_cast<INT_PTR>(c.id));
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = m_bar.m_hWnd;
    info.hdr.idFrom = c.id;
    info.hdr.code = TTN_NEEDTEXTA;
    m_bar.SendMessage(WM_NOTIFY, c.id, reinterpret_cast<LPARAM>(&info));
    ASSERT_NE(info.lpszText, nullptr);
    EXPECT_STREQ(info.lpszText, c.tip);
  }

  // The prompt part, item by item; between buttons and off them the idle text again.
  struct Move {
    CPoint at;
    const char* pane;
  };
  CRect separator;
  m_bar.GetItemRect(1, &separator);
  const Move moves[] = {
      {CentreOf(ID_TEST_TOOL_A), "Does the first thing"},
      {CentreOf(ID_TEST_TOOL_C), "Only a prompt"},
      {separator.CenterPoint(), "Ready"},
      {CentreOf(ID_TEST_TOOL_B), "Does the second thing"},
  };
  for (const Move& m : moves) EXPECT_EQ(MoveOver(m.at), m.pane);

  // The mouse leaves the bar without a move over it: the bar's watch puts the idle text back.
  ::SetCursorPos(5, 5);
  m_bar.SendMessage(WM_TIMER, 0xE000);
  EXPECT_EQ(MessagePane(), "Ready");
  EXPECT_EQ(m_bar.GetFlyByCommand(), 0u);
}

TEST_F(BarsTest, ABarWithoutFlyByLeavesTheMessagePaneAlone) {
  ASSERT_TRUE(MakeToolBar(CBRS_TOOLTIPS));
  m_frame->SetMessageText("Working");
  EXPECT_EQ(MoveOver(CentreOf(ID_TEST_TOOL_A)), "Working");
}

TEST_F(BarsTest, APlacedControlSitsOnItsButtonAndTalksToTheFrame) {
  ASSERT_TRUE(MakeToolBar(0));
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, 0, 50, 200), &m_bar,
                           ID_TEST_TOOL_PLACE));
  int index = m_bar.CommandToIndex(ID_TEST_TOOL_PLACE);
  ASSERT_TRUE(m_bar.PlaceControl(index, &combo, 120));
  EXPECT_NE(LOWORD(m_bar.GetButtonStyle(index)) & TBSTYLE_SEP, 0) << "the button makes room";

  // It stays on its place when buttons before it grow.
  for (const char* text : {static_cast<const char*>(nullptr), "A much longer text"}) {
    SCOPED_TRACE(text ? text : "as loaded");
    if (text) m_bar.SetButtonText(0, text);
    CRect item, placed;
    m_bar.GetItemRect(index, &item);
    combo.GetWindowRect(&placed);
    m_bar.ScreenToClient(&placed);
    EXPECT_EQ(item.Width(), 120);
    EXPECT_EQ(placed.left, item.left);
    EXPECT_EQ(placed.Width(), 120);
  }

  // Its notifications go to the frame, as the buttons' commands do.
  m_bar.SendMessage(WM_COMMAND, MAKEWPARAM(ID_TEST_TOOL_PLACE, CBN_SELCHANGE),
                    reinterpret_cast<LPARAM>(combo.m_hWnd));
  EXPECT_EQ(m_frame->m_selChanges, 1);
}

TEST_F(BarsTest, BandsHoldTheBarsAndFollowTheirVisibility) {
  ASSERT_TRUE(MakeToolBar(0));
  CDialogBar dlgBar;
  ASSERT_TRUE(dlgBar.Create(m_frame, IDD_TEST_DIALOGBAR, CBRS_TOP, 0xE830));
  EXPECT_GT(dlgBar.m_sizeDefault.cx, 40) << "the template's size";
  CReBar rebar;
  ASSERT_TRUE(rebar.Create(m_frame));
  ASSERT_TRUE(rebar.AddBar(&m_bar));
  ASSERT_TRUE(rebar.AddBar(&dlgBar, "Go", nullptr, RBBS_BREAK));
  EXPECT_EQ(rebar.GetBandCount(), 2u);
  EXPECT_EQ(m_bar.GetParent()->m_hWnd, rebar.m_hWnd) << "the band holds the bar";

  auto height = [&] {
    m_frame->RecalcLayout();
    CRect r;
    rebar.GetWindowRect(&r);
    return r.Height();
  };
  int both = height();
  EXPECT_GT(both, 20);

  // A hidden bar hides its band and the rebar shrinks; shown again, it comes back.
  m_frame->ShowControlBar(&dlgBar, FALSE, FALSE);
  int one = height();
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_STYLE;
  rebar.SendMessage(RB_GETBANDINFOA, 1, reinterpret_cast<LPARAM>(&info));
  EXPECT_NE(info.fStyle & RBBS_HIDDEN, 0u);
  EXPECT_LT(one, both);
  m_frame->ShowControlBar(&dlgBar, TRUE, FALSE);
  EXPECT_EQ(height(), both);

  // The other way round: a band hidden through the control hides its bar, and shows it again.
  for (BOOL show : {FALSE, TRUE}) {
    rebar.SendMessage(RB_SHOWBAND, 0, show);
    EXPECT_EQ(m_bar.IsWindowVisible() != FALSE, show != FALSE);
  }
  EXPECT_EQ(height(), both);

  // The dialog bar's button reaches the frame.
  ::SendMessageA(dlgBar.m_hWnd, WM_COMMAND, MAKEWPARAM(ID_TEST_DLGBAR_BUTTON, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dlgBar.m_hWnd, ID_TEST_DLGBAR_BUTTON)));
  EXPECT_EQ(m_frame->m_dlgBarClicks, 1);
}

// The print dialog answered by a script instead of the user.
class PrintApp : public CWinApp {
 public:
  PrintApp() : CWinApp("BarsTestPrint") {}
  BOOL DoPrintDialog(PRINTDLGA* pPD) override {
    ++calls;
    flags = pPD->Flags;
    givenMode = pPD->hDevMode;
    givenNames = pPD->hDevNames;
    if (!accept) return FALSE;
    pPD->hDevMode = ::GlobalAlloc(GMEM_MOVEABLE, 16);
    pPD->hDevNames = ::GlobalAlloc(GMEM_MOVEABLE, 16);
    return TRUE;
  }
  int calls = 0;
  DWORD flags = 0;
  bool accept = true;
  HGLOBAL givenMode = nullptr, givenNames = nullptr;
};

TEST(PrintSetupTest, TheCommandOpensTheSetupDialogOnTheLastChoiceAndKeepsItOnCancel) {
  PrintApp app;
  app.OnCmdMsg(ID_FILE_PRINT_SETUP, CN_COMMAND, nullptr, nullptr);
  ASSERT_EQ(app.calls, 1) << "command 57606 runs the print setup";
  EXPECT_NE(app.flags & PD_PRINTSETUP, 0u);
  EXPECT_EQ(app.givenMode, nullptr);
  HGLOBAL chosen = app.m_hDevMode;
  ASSERT_NE(chosen, nullptr);

  app.accept = false;
  app.OnFilePrintSetup();
  EXPECT_EQ(app.givenMode, chosen) << "the dialog starts on the last choice";
  EXPECT_EQ(app.m_hDevMode, chosen) << "a cancel keeps it";

  app.accept = true;
  app.OnFilePrintSetup();
  EXPECT_NE(app.m_hDevMode, chosen) << "a new choice replaces it";
  EXPECT_NE(app.m_hDevNames, nullptr);
}

}  // namespace
