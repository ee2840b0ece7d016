// The toolkit's rebar on real windows under the X display: its bar style, the sizes its bands
// take from their bars, bands and bars shown and hidden together, prompts passed to the frame,
// and the band layout kept in the registry and read back after a restart.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/app/WinApp.h"
#include "framework/app/AfxResource.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/bars/TkReBar.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/tests/rebar/ReBarTestIds.h"

namespace {

const char kCompany[] = "Orvandel Labs, Inc.";
const char kProgram[] = "ZBPro";

// Writes down the prompts its bars ask it to show.
class PromptFrame : public CFrameWnd {
 public:
  // The test owns the frame: it is not deleted with its window.
  void PostNcDestroy() override {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_SETMESSAGESTRING || message == WM_POPMESSAGESTRING)
      prompts.push_back({message, static_cast<UINT>(wParam)});
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  struct Prompt {
    UINT message;
    UINT id;
    bool operator==(const Prompt& o) const { return message == o.message && id == o.id; }
  };
  std::vector<Prompt> prompts;
};

// A toolkit bar that sizes its own band when asked.
class SelfSizingBar : public CTkControlBar {
 public:
  BOOL GetBandSize(REBARBANDINFOA* info, BOOL bHorz) override {
    asked.push_back(bHorz);
    info->fMask |= RBBIM_CHILDSIZE;
    info->cxMinChild = 77;
    info->cyMinChild = 19;
    return TRUE;
  }
  std::vector<BOOL> asked;
};

REBARBANDINFOA Band(CTkReBar& rebar, UINT index, UINT mask) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = mask;
  rebar.SendMessage(RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&info));
  return info;
}

std::vector<UINT> BandIds(CTkReBar& rebar) {
  std::vector<UINT> ids;
  for (UINT i = 0; i < rebar.GetBandCount(); ++i) ids.push_back(Band(rebar, i, RBBIM_ID).wID);
  return ids;
}

class ReBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<CWinApp>(kProgram);
    app_->SetRegistryKey(kCompany);
    section_.Format("TkReBarTest-%lu", ::GetCurrentProcessId());
    ASSERT_TRUE(frame_.Create(nullptr, "Rebar test", WS_OVERLAPPEDWINDOW, CRect(10, 10, 610, 310)));
    frame_.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (frame_.m_hWnd) frame_.DestroyWindow();
    CString path;
    path.Format("Software\\%s\\%s\\%s", kCompany, kProgram, section_.GetString());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path);
    app_.reset();
  }
  // A rebar of the frame with three plain windows as bands 10, 20 and 30.
  void MakeThreeBands(CTkReBar& rebar, CWnd (&children)[3]) {
    ASSERT_TRUE(rebar.Create(&frame_, RBS_BANDBORDERS,
                             WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_BORDER_BOTTOM, 5000));
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(children[i].Create("STATIC", "", WS_CHILD | WS_VISIBLE,
                                     CRect(0, 0, 60 + 10 * i, 20), &frame_, 100 + i));
      ASSERT_TRUE(rebar.AddBar(&children[i], nullptr, nullptr, RBBS_GRIPPERALWAYS, 10 * (i + 1)));
    }
  }

  std::unique_ptr<CWinApp> app_;
  CString section_;
  PromptFrame frame_;
};

// The frame's own rebar hides while a server is active in place; any other keeps its style. The
// control's own alignment and sizing are off: the frame places it.
TEST_F(ReBarTest, TheFramesRebarIsMarkedAndTheControlLeavesItsPlaceToTheFrame) {
  struct Case {
    UINT id;
    bool hideInPlace;
  };
  for (Case c : {Case{AFX_IDW_REBAR, true}, Case{0xE900, false}}) {
    SCOPED_TRACE(c.id);
    CTkReBar rebar;
    ASSERT_TRUE(rebar.Create(&frame_, RBS_BANDBORDERS,
                             WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_BORDER_BOTTOM, c.id));
    EXPECT_EQ((rebar.GetBarStyle() & CBRS_HIDE_INPLACE) != 0, c.hideInPlace);
    EXPECT_EQ(rebar.GetBarStyle() & CBRS_ALL, (CBRS_TOP | CBRS_BORDER_BOTTOM |
                                               (c.hideInPlace ? CBRS_HIDE_INPLACE : 0)));
    DWORD style = rebar.GetStyle();
    for (DWORD bit : {DWORD(RBS_VARHEIGHT), DWORD(CCS_NODIVIDER), DWORD(CCS_NOPARENTALIGN),
                      DWORD(CCS_NORESIZE), DWORD(CCS_NOMOVEY), DWORD(RBS_BANDBORDERS)})
      EXPECT_NE(style & bit, 0u) << std::hex << bit;
    EXPECT_EQ(::GetDlgCtrlID(rebar.m_hWnd), static_cast<int>(c.id));
    rebar.DestroyWindow();
  }
}

// A band's least child size: what a bar says of itself when it answers, else a control bar's
// fixed size, else the window's size. Old common controls get 4 pixels more.
TEST_F(ReBarTest, ABandTakesItsLeastSizeFromItsBarOrItsWindow) {
  struct Case {
    const char* what;
    DWORD comCtl;
    int extra;
  };
  const Case cases[] = {{"current controls", (5u << 16) | 80u, 0},
                        {"controls before 4.72", (4u << 16) | 71u, 4}};
  DWORD saved = ToolkitData().m_dwComCtlVersion;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ToolkitData().m_dwComCtlVersion = c.comCtl;
    CTkReBar rebar;
    ASSERT_TRUE(rebar.Create(&frame_, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, 5001));
    CWnd plain;
    ASSERT_TRUE(plain.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 64, 21), &frame_, 1));
    SelfSizingBar self;
    ASSERT_TRUE(self.Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5),
                            &frame_, 2));
    // A control of the system's that is no toolkit bar is not asked: the bars' message means
    // "hide button 1" to a toolbar.
    CWnd native;
    ASSERT_TRUE(native.Create(TOOLBARCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE |
                                  CCS_NOPARENTALIGN | CCS_NODIVIDER,
                              CRect(0, 0, 50, 22), &frame_, 7));
    native.SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    TBBUTTON one = {};
    one.iBitmap = I_IMAGENONE;
    one.idCommand = 1;
    one.fsState = TBSTATE_ENABLED;
    native.SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&one));
    ASSERT_TRUE(rebar.AddBar(&plain, nullptr, nullptr, 0, 1));
    ASSERT_TRUE(rebar.AddBar(&self, "Self", nullptr, 0, 2));
    ASSERT_TRUE(rebar.AddBar(&native, nullptr, nullptr, 0, 3));
    EXPECT_EQ(self.asked, (std::vector<BOOL>{TRUE})) << "asked once, for a horizontal band";
    EXPECT_FALSE(native.SendMessage(TB_ISBUTTONHIDDEN, 1));
    REBARBANDINFOA third = Band(rebar, 2, RBBIM_CHILDSIZE);
    EXPECT_EQ(third.cxMinChild, 50u + c.extra) << "the window's size";

    REBARBANDINFOA first = Band(rebar, 0, RBBIM_CHILDSIZE | RBBIM_CHILD | RBBIM_ID);
    EXPECT_EQ(first.hwndChild, plain.m_hWnd);
    EXPECT_EQ(first.wID, 1u);
    EXPECT_EQ(first.cxMinChild, 64u + c.extra);
    EXPECT_EQ(first.cyMinChild, 21u);
    REBARBANDINFOA second = Band(rebar, 1, RBBIM_CHILDSIZE | RBBIM_ID);
    EXPECT_EQ(second.wID, 2u);
    EXPECT_EQ(second.cxMinChild, 77u + c.extra);
    EXPECT_EQ(second.cyMinChild, 19u);
    rebar.DestroyWindow();
    plain.DestroyWindow();
    self.DestroyWindow();
    native.DestroyWindow();
  }
  ToolkitData().m_dwComCtlVersion = saved;
}

// A band hidden through the control hides its bar, and shows it again; a bar hidden by the
// program hides its band at the next layout, so that no empty band stays.
TEST_F(ReBarTest, BandsAndTheirBarsAreShownAndHiddenTogether) {
  CTkReBar rebar;
  ASSERT_TRUE(rebar.Create(&frame_, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, 5002));
  CTkToolBar bar;
  ASSERT_TRUE(bar.CreateEx(&frame_, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE850));
  ASSERT_TRUE(bar.LoadToolBar(IDR_REBAR_TEST_BAR));
  CWnd plain;
  ASSERT_TRUE(plain.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &frame_, 3));
  ASSERT_TRUE(rebar.AddBar(&bar, nullptr, nullptr, RBBS_GRIPPERALWAYS, 1));
  ASSERT_TRUE(rebar.AddBar(&plain, nullptr, nullptr, RBBS_BREAK, 2));

  auto bandHidden = [&](UINT i) { return (Band(rebar, i, RBBIM_STYLE).fStyle & RBBS_HIDDEN) != 0; };
  for (UINT index : {0u, 1u}) {
    SCOPED_TRACE(index);
    HWND child = index == 0 ? bar.m_hWnd : plain.m_hWnd;
    rebar.SendMessage(RB_SHOWBAND, index, FALSE);
    EXPECT_FALSE(::IsWindowVisible(child));
    rebar.SendMessage(RB_SHOWBAND, index, TRUE);
    EXPECT_TRUE(::IsWindowVisible(child));
  }

  int tall = rebar.CalcFixedLayout(FALSE, TRUE).cy;
  bar.ShowWindow(SW_HIDE);
  CSize without = rebar.CalcFixedLayout(FALSE, TRUE);
  EXPECT_TRUE(bandHidden(0));
  EXPECT_FALSE(bandHidden(1));
  EXPECT_LT(without.cy, tall) << "the hidden bar's row is gone";
  bar.ShowWindow(SW_SHOW);
  EXPECT_EQ(rebar.CalcFixedLayout(FALSE, TRUE).cy, tall);
  EXPECT_FALSE(bandHidden(0));
  // Stretched along its length, whatever its bands.
  EXPECT_EQ(rebar.CalcDynamicLayout(-1, LM_STRETCH | LM_HORZ).cx, 32767);
  EXPECT_EQ(rebar.CalcDynamicLayout(-1, LM_STRETCH).cy, 32767);
}

// The bottom border line is the bar's, below the bands.
TEST_F(ReBarTest, TheBorderLineAddsToTheBandsHeight) {
  CTkReBar plain, bordered;
  ASSERT_TRUE(plain.Create(&frame_, 0, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, 5003));
  ASSERT_TRUE(bordered.Create(&frame_, 0, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP |
                                              CBRS_BORDER_BOTTOM,
                              5004));
  CWnd a, b;
  ASSERT_TRUE(a.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &frame_, 4));
  ASSERT_TRUE(b.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 40, 20), &frame_, 5));
  ASSERT_TRUE(plain.AddBar(&a, nullptr, nullptr, 0, 1));
  ASSERT_TRUE(bordered.AddBar(&b, nullptr, nullptr, 0, 1));
  EXPECT_EQ(bordered.CalcFixedLayout(FALSE, TRUE).cy, plain.CalcFixedLayout(FALSE, TRUE).cy + 2);
}

// The bars in the bands show their prompts in the frame's message pane, through the rebar.
TEST_F(ReBarTest, PromptsOfTheBandsBarsReachTheFrame) {
  CTkReBar rebar;
  ASSERT_TRUE(rebar.Create(&frame_, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, 5005));
  frame_.prompts.clear();
  rebar.SendMessage(WM_SETMESSAGESTRING, ID_RB_OPEN);
  rebar.SendMessage(WM_POPMESSAGESTRING, 0xE001);
  using P = PromptFrame::Prompt;
  EXPECT_EQ(frame_.prompts,
            (std::vector<P>{P{WM_SETMESSAGESTRING, ID_RB_OPEN}, P{WM_POPMESSAGESTRING, 0xE001}}));
}

// Order, widths and styles of the bands come back after a restart, as a new rebar with the same
// bands reads them.
TEST_F(ReBarTest, TheBandLayoutComesBackAfterARestart) {
  std::vector<UINT> savedOrder;
  std::vector<UINT> savedWidths;
  {
    CTkReBar rebar;
    CWnd children[3];
    MakeThreeBands(rebar, children);
    rebar.SendMessage(RB_MOVEBAND, 2, 0);  // 30 10 20
    REBARBANDINFOA info = Band(rebar, 1, RBBIM_SIZE | RBBIM_STYLE);
    info.fMask = RBBIM_SIZE | RBBIM_STYLE;
    info.cx = 150;
    info.fStyle |= RBBS_BREAK;
    rebar.SendMessage(RB_SETBANDINFOA, 1, reinterpret_cast<LPARAM>(&info));
    savedOrder = BandIds(rebar);
    for (UINT i = 0; i < 3; ++i) savedWidths.push_back(Band(rebar, i, RBBIM_SIZE).cx);
    rebar.SaveBandLayout(section_);
    rebar.DestroyWindow();
    for (CWnd& c : children) c.DestroyWindow();
  }
  ASSERT_EQ(savedOrder, (std::vector<UINT>{30, 10, 20}));
  CTkReBar rebar;
  CWnd children[3];
  MakeThreeBands(rebar, children);
  ASSERT_EQ(BandIds(rebar), (std::vector<UINT>{10, 20, 30}));
  rebar.LoadBandLayout(section_);
  EXPECT_EQ(BandIds(rebar), savedOrder);
  for (UINT i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Band(rebar, i, RBBIM_SIZE).cx, savedWidths[i]);
  }
  EXPECT_NE(Band(rebar, 1, RBBIM_STYLE).fStyle & RBBS_BREAK, 0u);
  EXPECT_EQ(Band(rebar, 0, RBBIM_STYLE).fStyle & RBBS_BREAK, 0u);
}

// A layout stored for another set of bands, or none at all, changes nothing.
TEST_F(ReBarTest, AStoredLayoutForOtherBandsOrNoneIsIgnored) {
  struct Case {
    const char* what;
    int storedCount;  // -1: nothing stored
  };
  for (Case c : {Case{"four bands stored", 4}, Case{"two bands stored", 2}, Case{"none", -1}}) {
    SCOPED_TRACE(c.what);
    CString path;
    path.Format("Software\\%s\\%s\\%s", kCompany, kProgram, section_.GetString());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path);
    CTkReBar rebar;
    CWnd children[3];
    MakeThreeBands(rebar, children);
    if (c.storedCount >= 0) {
      // A layout that reverses the bands, under the wrong count.
      rebar.SendMessage(RB_MOVEBAND, 2, 0);
      rebar.SendMessage(RB_MOVEBAND, 2, 1);
      rebar.SaveBandLayout(section_);
      rebar.SendMessage(RB_MOVEBAND, 0, 2);
      rebar.SendMessage(RB_MOVEBAND, 0, 1);
      ASSERT_EQ(BandIds(rebar), (std::vector<UINT>{10, 20, 30}));
      HKEY key = nullptr;
      ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
      DWORD count = static_cast<DWORD>(c.storedCount);
      ::RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                       sizeof count);
      ::RegCloseKey(key);
    }
    std::vector<UINT> widths;
    for (UINT i = 0; i < 3; ++i) widths.push_back(Band(rebar, i, RBBIM_SIZE).cx);
    rebar.LoadBandLayout(section_);
    EXPECT_EQ(BandIds(rebar), (std::vector<UINT>{10, 20, 30}));
    for (UINT i = 0; i < 3; ++i) EXPECT_EQ(Band(rebar, i, RBBIM_SIZE).cx, widths[i]);
    rebar.DestroyWindow();
    for (CWnd& child : children) child.DestroyWindow();
  }
}

// The child of a resized band hears of its new rectangle with the band's record.
TEST_F(ReBarTest, ABandsChildHearsOfItsNewSize) {
  class SizeListener : public CWnd {
   public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      if (message == TKM_BANDCHILDSIZE) {
        auto* pair = reinterpret_cast<TkBandChildSize*>(lParam);
        horz.push_back(static_cast<BOOL>(wParam));
        ids.push_back(pair->pBand->wID);
        widths.push_back(pair->pNotify->rcChild.right - pair->pNotify->rcChild.left);
        return 0;
      }
      return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<BOOL> horz;
    std::vector<UINT> ids;
    std::vector<LONG> widths;
  } listener;
  CTkReBar rebar;
  ASSERT_TRUE(rebar.Create(&frame_, RBS_BANDBORDERS, WS_CHILD | WS_VISIBLE | CBRS_TOP, 5006));
  ASSERT_TRUE(
      listener.Create("STATIC", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &frame_, 6));
  ASSERT_TRUE(rebar.AddBar(&listener, nullptr, nullptr, 0, 42));
  // The notification as the control sends it to its parent, which hands it back to the rebar.
  NMREBARCHILDSIZE nm = {};
  nm.hdr.hwndFrom = rebar.m_hWnd;
  nm.hdr.idFrom = 5006;
  nm.hdr.code = RBN_CHILDSIZE;
  nm.uBand = 0;
  nm.wID = 42;
  nm.rcChild = {10, 2, 133, 22};
  listener.ids.clear();
  listener.widths.clear();
  listener.horz.clear();
  frame_.SendMessage(WM_NOTIFY, 5006, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(listener.ids, (std::vector<UINT>{42}));
  EXPECT_EQ(listener.widths, (std::vector<LONG>{123}));
  EXPECT_EQ(listener.horz, (std::vector<BOOL>{TRUE}));
}

}  // namespace
