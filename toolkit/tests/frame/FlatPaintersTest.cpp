// The flat look's painters: the combo box's frame and drop button by state, and toolbar buttons
// and separators by state, each in the colours of the toolkit's global data.
#include <gtest/gtest.h>

#include "framework/controls/ComboBox.h"
#include "toolkit/bars/TkFlatPainters.h"
#include "toolkit/bars/TkTheme.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/popups/TkShadowWnd.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

namespace {

class FlatPaintersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ToolkitData().ReloadColors();
    ToolkitData().LoadMetrics();
    ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "painters", WS_OVERLAPPEDWINDOW, 10,
                                  10, 400, 200, nullptr, nullptr));
  }
  void TearDown() override {
    FlatTheme().SetNoHotTracking(FALSE);
    m_parent.DestroyWindow();
  }
  // A flat toolbar of 40 x 30 buttons without images, states as given.
  HWND MakeToolBar(const std::vector<TBBUTTON>& buttons) {
    HWND bar = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT |
                                                              CCS_NOPARENTALIGN | CCS_NORESIZE,
                                 0, 0, 380, 40, m_parent.m_hWnd, nullptr, nullptr, nullptr);
    ::SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    ::SendMessageA(bar, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELPARAM(40, 30));
    return bar;
  }
  tktest::FlatLook m_look{TRUE};
  CWnd m_parent;
};

TBBUTTON Button(int id, BYTE state, BYTE style = BTNS_BUTTON) {
  TBBUTTON b = {};
  b.iBitmap = I_IMAGENONE;
  b.idCommand = id;
  b.fsState = state;
  b.fsStyle = style;
  return b;
}

}  // namespace

TEST_F(FlatPaintersTest, TheComboShowsItsFrameAndButtonInTheStateColours) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(10, 10, 160, 200),
                           &m_parent, 1001));
  CRect client;
  combo.GetClientRect(&client);
  const CTkToolkitData& data = ToolkitData();
  struct Case {
    const char* why;
    BOOL hot, noHotTracking;
    COLORREF frame, button;
  };
  const Case cases[] = {
      {"resting", FALSE, FALSE, data.m_clrCaptionText, data.m_clrFace},
      {"under the mouse", TRUE, FALSE, data.m_clrSelection, data.m_clrSelectionLight},
      {"hot, but hot tracking is off", TRUE, TRUE, data.m_clrCaptionText, data.m_clrFace},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    FlatTheme().SetNoHotTracking(c.noHotTracking);
    tktest::Canvas canvas(client.Width(), client.Height());
    FlatTheme().GetComboPainter()->Paint(&combo, canvas.Hdc(), c.hot);
    int middle = client.Height() / 2;
    EXPECT_EQ(canvas.At(0, middle), data.m_clrFace) << "the outer ring";
    EXPECT_EQ(canvas.At(1, middle), c.frame) << "the field's frame";
    int buttonLeft = client.right - 1 - (data.m_cxHThumb + 2);
    EXPECT_EQ(canvas.At(buttonLeft, middle), c.frame) << "the button's own frame";
    EXPECT_EQ(canvas.At(buttonLeft + 2, 3), c.button) << "inside the button";
  }
}

TEST_F(FlatPaintersTest, ToolbarButtonsTakeTheColoursOfTheirState) {
  const CTkToolkitData& data = ToolkitData();
  HWND bar = MakeToolBar({
      Button(1, TBSTATE_ENABLED),
      Button(2, TBSTATE_ENABLED | TBSTATE_CHECKED),
      Button(3, TBSTATE_ENABLED | TBSTATE_PRESSED),
      Button(4, TBSTATE_CHECKED),
      Button(5, TBSTATE_INDETERMINATE),
      Button(6, TBSTATE_ENABLED | TBSTATE_INDETERMINATE),
      Button(7, TBSTATE_ENABLED),
      Button(8, TBSTATE_ENABLED),
  });
  CWnd* toolBar = CWnd::FromHandle(bar);
  const COLORREF plain = CTkFlatToolBarPainter::BackgroundOf(toolBar);
  EXPECT_EQ(plain, data.m_clrFaceTint) << "a flat toolbar outside a rebar";
  ::SendMessageA(bar, TB_SETHOTITEM, 6, 0);
  CTkFlatToolBarPainter* painter = FlatTheme().GetToolBarPainter();
  painter->SetDroppedButton(bar, 7);
  struct Case {
    const char* why;
    int index;
    COLORREF inside, leftEdge, bottomEdge;
  };
  const Case cases[] = {
      {"normal", 0, plain, plain, plain},
      {"checked", 1, data.m_clrSelectionMix, data.m_clrSelection, data.m_clrSelection},
      {"pressed", 2, data.m_clrSelectionHalf, data.m_clrSelection, data.m_clrSelection},
      {"disabled and checked", 3, data.m_clrFace, data.m_clrDarkShadowTint, data.m_clrDarkShadowTint},
      {"disabled and indeterminate", 4, data.m_clrLightFace, data.m_clrLightFace, data.m_clrLightFace},
      {"indeterminate, resting", 5, plain, plain, plain},
      {"hot", 6, data.m_clrSelectionLight, data.m_clrSelection, data.m_clrSelection},
      {"dropped: open at the bottom", 7, plain, data.m_clrDarkShadowTint, plain},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    RECT r;
    ASSERT_TRUE(::SendMessageA(bar, TB_GETITEMRECT, c.index, reinterpret_cast<LPARAM>(&r)));
    tktest::Canvas canvas(400, 60);
    painter->PaintButton(canvas.Hdc(), toolBar, c.index);
    EXPECT_EQ(canvas.At(r.left + 5, r.top + 5), c.inside);
    EXPECT_EQ(canvas.At(r.left, (r.top + r.bottom) / 2), c.leftEdge);
    EXPECT_EQ(canvas.At(r.left + 5, r.bottom - 1), c.bottomEdge);
  }
  painter->SetDroppedButton(nullptr, -1);
}

TEST_F(FlatPaintersTest, ASeparatorIsAThinLineInTheDarkFace) {
  HWND bar = MakeToolBar({Button(1, TBSTATE_ENABLED), Button(0, 0, BTNS_SEP)});
  CWnd* toolBar = CWnd::FromHandle(bar);
  RECT r;
  ASSERT_TRUE(::SendMessageA(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
  tktest::Canvas canvas(400, 60);
  FlatTheme().GetToolBarPainter()->PaintSeparator(canvas.Hdc(), toolBar, 1);
  int middle = (r.top + r.bottom) / 2;
  EXPECT_EQ(canvas.At(r.left + 3, middle), ToolkitData().m_clrDarkFace);
  EXPECT_EQ(canvas.At(r.left + 1, middle), CTkFlatToolBarPainter::BackgroundOf(toolBar));
  EXPECT_EQ(canvas.At(r.left + 3, r.top + 1), CTkFlatToolBarPainter::BackgroundOf(toolBar))
      << "the line stops 2 pixels short of the top";
}

// The open menu's shadow lies beside and below the button, and only while menus cast shadows.
TEST_F(FlatPaintersTest, TheDropShadowDarkensBesideAndBelowTheButtonOnlyWithMenuShadows) {
  HWND bar = MakeToolBar({Button(1, TBSTATE_ENABLED)});
  CWnd* toolBar = CWnd::FromHandle(bar);
  RECT r;
  ASSERT_TRUE(::SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
  const COLORREF white = RGB(255, 255, 255);
  BOOL saved = ToolkitData().m_bMenuShadows;
  for (BOOL shadows : {TRUE, FALSE}) {
    ToolkitData().m_bMenuShadows = shadows;
    tktest::Canvas canvas(400, 60);
    canvas.Clear(white);
    FlatTheme().GetToolBarPainter()->PaintDropShadow(canvas.Hdc(), toolBar, 0);
    int middle = (r.top + r.bottom) / 2;
    EXPECT_EQ(canvas.At(r.right, middle) != white, shadows != FALSE) << "beside, " << shadows;
    EXPECT_EQ(canvas.At((r.left + r.right) / 2, r.bottom) != white, shadows != FALSE)
        << "below, " << shadows;
    EXPECT_EQ(canvas.At(r.left + 5, middle), white) << "the button itself is left alone";
    EXPECT_EQ(canvas.At(r.right + kTkShadowDepth, middle), white) << "4 pixels, no more";
  }
  ToolkitData().m_bMenuShadows = saved;
}

TEST(DropArrowTest, TheArrowIsATriangleFiveWideInTheTextColour) {
  tktest::Canvas canvas(20, 20);
  ::SetTextColor(canvas.Hdc(), RGB(255, 0, 0));
  ::SetBkColor(canvas.Hdc(), RGB(0, 0, 255));
  DrawDropArrow(canvas.Hdc(), RECT{0, 0, 13, 11});  // top left at (5, 5)
  const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
  const char* rows[] = {"rrrrr", "brrrb", "bbrbb"};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(canvas.At(5 + x, 5 + y), rows[y][x] == 'r' ? red : blue) << x << "," << y;
}
