// The colour wells and owner-drawn buttons on real windows: the well button drops down its grid
// and hands the choice to its parent under its own id, the Other button leads through the colour
// dialog, a colour outside the grid takes the custom cell, and the button frames' two looks.
#include <gtest/gtest.h>

#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/tests/wnd/WndTestSupport.h"
#include "resources/ids/ToolkitColourIds.h"
#include "toolkit/widgets/WgColorWell.h"
#include "toolkit/widgets/WgWellButton.h"

namespace {

struct Note {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

class Host : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_WG_COLORCHOSEN || message == WM_WG_OTHERCOLOR)
      notes.push_back({message, wParam, lParam});
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<Note> notes;
};

COLORREF g_dialogAnswer = 0;
COLORREF g_dialogGiven = 0;
int g_dialogRuns = 0;
BOOL AnswerDialog(CWnd*, COLORREF& color, DWORD) {
  ++g_dialogRuns;
  g_dialogGiven = color;
  color = g_dialogAnswer;
  return TRUE;
}

class ColorWellTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
    s_language = language;
  }
  void SetUp() override {
    ASSERT_NE(s_language, nullptr) << "ZBResENU.dll beside the test";
    AfxSetResourceHandle(s_language);
    ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 50, 50,
                                400, 300, nullptr, nullptr));
    CWgWellButton::SetColorDialogProc(AnswerDialog);
    g_dialogRuns = 0;
  }
  void TearDown() override {
    CWgWellButton::SetColorDialogProc(nullptr);
    if (m_host.m_hWnd) m_host.DestroyWindow();
    PumpPending();
  }
  static LPARAM At(const CRect& rect) {
    CPoint p = rect.CenterPoint();
    return MAKELPARAM(p.x, p.y);
  }
  static HINSTANCE s_language;
  Host m_host;
};
HINSTANCE ColorWellTest::s_language = nullptr;

TEST_F(ColorWellTest, WellButtonDropsDownItsGridAndReportsItsOwnId) {
  CWgWellButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 70, 32), &m_host, 321));
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  button.SetColumns(4);
  button.SetColor(RGB(255, 0, 0));
  button.OnClickAction();
  CWgPopupColorWell& drop = button.GetDropDown();
  ASSERT_TRUE(drop.m_hWnd);
  // Below the button, left-aligned, with the current colour selected.
  CRect buttonRect, dropRect;
  button.GetWindowRect(&buttonRect);
  drop.GetWindowRect(&dropRect);
  EXPECT_EQ(dropRect.left, buttonRect.left);
  EXPECT_EQ(dropRect.top, buttonRect.bottom);
  EXPECT_EQ(drop.GetColor(), RGB(255, 0, 0));
  EXPECT_EQ(::GetCapture(), drop.m_hWnd);

  // A click on the first cell (black) chooses it; the drop-down closes and the button tells
  // its parent with its own id, not the drop-down's 0.
  const WgColorWellGeometry& geo = drop.GetGeometry();
  COLORREF first = drop.GetCellColor(0);
  drop.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(geo.CellRect(0, 0)));
  drop.SendMessage(WM_LBUTTONUP, 0, At(geo.CellRect(0, 0)));
  EXPECT_FALSE(drop.m_hWnd);
  PumpPending();
  ASSERT_EQ(m_host.notes.size(), 1u);
  EXPECT_EQ(m_host.notes[0].message, WM_WG_COLORCHOSEN);
  EXPECT_EQ(m_host.notes[0].wParam, 321u);
  EXPECT_EQ(static_cast<COLORREF>(m_host.notes[0].lParam), first);
  EXPECT_EQ(button.GetColor(), first);
}

TEST_F(ColorWellTest, EscapeAndClickOutsideCloseWithoutAChoice) {
  CWgWellButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 70, 32), &m_host, 5));
  button.SetColor(RGB(0, 0, 255));
  for (int way = 0; way < 2; ++way) {
    button.OnClickAction();
    CWgPopupColorWell& drop = button.GetDropDown();
    ASSERT_TRUE(drop.m_hWnd);
    if (way == 0) drop.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    else drop.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-20, -20));
    EXPECT_FALSE(drop.m_hWnd) << way;
    PumpPending();
  }
  EXPECT_TRUE(m_host.notes.empty());
  EXPECT_EQ(button.GetColor(), RGB(0, 0, 255));
}

TEST_F(ColorWellTest, OtherButtonRunsTheColourDialogAndKeyboardChooses) {
  CWgWellButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 70, 32), &m_host, 77));
  button.SetOption(TRUE);
  button.SetColor(RGB(1, 2, 3));  // not in the grid: it goes into the custom cell
  button.OnClickAction();
  CWgPopupColorWell& drop = button.GetDropDown();
  ASSERT_TRUE(drop.m_hWnd);
  EXPECT_TRUE(drop.GetGeometry().customShown);
  EXPECT_EQ(drop.GetSelRow(), drop.GetGeometry().rows);
  EXPECT_EQ(drop.GetColor(), RGB(1, 2, 3));
  CRect other;
  ::GetWindowRect(drop.GetOtherButton().m_hWnd, &other);
  drop.ScreenToClient(&other);
  EXPECT_EQ(other, drop.GetGeometry().OtherButtonRect());

  g_dialogAnswer = RGB(10, 20, 30);
  drop.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WG_OTHER, BN_CLICKED),
                   reinterpret_cast<LPARAM>(drop.GetOtherButton().m_hWnd));
  EXPECT_FALSE(drop.m_hWnd);
  PumpPending();
  EXPECT_EQ(g_dialogRuns, 1);
  EXPECT_EQ(g_dialogGiven, RGB(1, 2, 3));
  ASSERT_EQ(m_host.notes.size(), 1u);
  EXPECT_EQ(m_host.notes[0].wParam, 77u);
  EXPECT_EQ(button.GetColor(), RGB(10, 20, 30));

  // Arrow keys and Enter: right from the custom cell goes to the first grid cell.
  m_host.notes.clear();
  button.OnClickAction();
  ASSERT_TRUE(drop.m_hWnd);
  drop.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  drop.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
  COLORREF second = drop.GetCellColor(1);
  drop.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
  PumpPending();
  ASSERT_EQ(m_host.notes.size(), 1u);
  EXPECT_EQ(static_cast<COLORREF>(m_host.notes[0].lParam), second);
}

TEST_F(ColorWellTest, ChildWellSendsItsIdAndTakesForeignColoursIntoTheCustomCell) {
  CWgColorWell well;
  ASSERT_TRUE(well.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WGCW_BORDER, CRect(5, 5, 0, 0),
                          &m_host, 44, 4, 5, TRUE));
  EXPECT_EQ(well.GetGeometry().margin, 5);
  CRect rect;
  well.GetClientRect(&rect);
  EXPECT_EQ(rect.Size(), well.GetGeometry().WindowSize());
  well.SelectColor(well.GetCellColor(6));
  EXPECT_EQ(well.GetSelColumn(), 2);
  EXPECT_EQ(well.GetSelRow(), 1);
  EXPECT_FALSE(well.GetGeometry().customShown);
  well.SelectColor(RGB(9, 9, 9));
  EXPECT_TRUE(well.GetGeometry().customShown);
  EXPECT_EQ(well.GetColor(), RGB(9, 9, 9));
  well.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  ASSERT_EQ(m_host.notes.size(), 1u);  // sent, so already there
  EXPECT_EQ(m_host.notes[0].wParam, 44u);
  EXPECT_EQ(static_cast<COLORREF>(m_host.notes[0].lParam), RGB(9, 9, 9));
  well.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WG_OTHER, BN_CLICKED),
                   reinterpret_cast<LPARAM>(well.GetOtherButton().m_hWnd));
  ASSERT_EQ(m_host.notes.size(), 2u);
  EXPECT_EQ(m_host.notes[1].message, WM_WG_OTHERCOLOR);
}

TEST_F(ColorWellTest, OwnerDrawnStyleStaysAndFramesFollowTheLook) {
  CWgOwnerDrawButton button;
  ASSERT_TRUE(button.Create("x", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 40, 20),
                            &m_host, 9, TRUE));
  button.SetButtonStyle(BS_DEFPUSHBUTTON);
  EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  button.SetFocus();
  EXPECT_TRUE(button.SendMessage(WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);

  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 20);
  HGDIOBJ old = ::SelectObject(mem, bitmap);
  CRect all(0, 0, 40, 20);
  COLORREF frame = ::GetPixel(mem, 0, 0);
  // Pressed, the new look starts with a shadow frame; the old look leaves the corner to the
  // face (its outline has no corners) and moves the contents further in.
  button.SetNewLook(TRUE);
  CRect newContents = button.DrawFrame(mem, all, TRUE);
  EXPECT_EQ(::GetPixel(mem, 0, 0), ::GetSysColor(COLOR_BTNSHADOW) & 0xFFFFFF);
  button.SetNewLook(FALSE);
  CRect oldContents = button.DrawFrame(mem, all, TRUE);
  frame = ::GetPixel(mem, 0, 0);
  EXPECT_EQ(frame, ::GetSysColor(COLOR_BTNFACE) & 0xFFFFFF);
  EXPECT_EQ(::GetPixel(mem, 5, 0), ::GetSysColor(COLOR_WINDOWFRAME) & 0xFFFFFF);
  EXPECT_EQ(newContents.TopLeft(), CPoint(3, 3));
  EXPECT_GT(oldContents.left, newContents.left);
  ::SelectObject(mem, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
}

TEST_F(ColorWellTest, DataExchangeLoadsAndSavesTheButtonColour) {
  CWgWellButton button;
  ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE, CRect(10, 10, 70, 32), &m_host, 88));
  COLORREF value = RGB(4, 5, 6);
  CDataExchange load(&m_host, FALSE);
  DDX_ColorWell(&load, 88, value);
  EXPECT_EQ(button.GetColor(), RGB(4, 5, 6));
  button.SetColor(RGB(7, 8, 9));
  CDataExchange save(&m_host, TRUE);
  DDX_ColorWell(&save, 88, value);
  EXPECT_EQ(value, RGB(7, 8, 9));
}

}  // namespace
