// The chevron popup: its width limit and where it opens as tables, then on a real frame and
// toolbar: it lists the bar's hidden buttons, a chosen button closes it and reaches the frame as
// a command, a control placed in a hidden button is lent and given back, the customise button
// tells the chevron, and the frame's close request closes it.
#include <gtest/gtest.h>

#include <vector>

#include "framework/frame/FrameWnd.h"
#include "framework/tests/wnd/WndTestSupport.h"
#include "toolkit/bars/TkExpMenuWnd.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/tests/popups/PopupsTestIds.h"

namespace {

TEST(ChevronPopupLayout, WidthLimitIsSixButtonsUpTo250) {
  struct Case { int button, limit; } cases[] = {{50, 250}, {23, 138}, {41, 246}, {42, 250}, {0, 0}};
  for (const Case& c : cases) EXPECT_EQ(TkExpMenuWidthLimit(c.button), c.limit) << c.button;
}

// The popup opens away from the frame's edge the bar sits on, joined to the chevron.
TEST(ChevronPopupLayout, OpensBesideTheChevronByDockSide) {
  const RECT chevron = {500, 40, 512, 62};
  struct Case {
    const char* why;
    DWORD side;
    POINT at;
  } cases[] = {
      {"top: below, right edges flush", CBRS_ALIGN_TOP, {512 - 80 + 1, 62}},
      {"floating: like the top", 0, {512 - 80 + 1, 62}},
      {"bottom: above, right edges flush", CBRS_ALIGN_BOTTOM, {512 - 80 + 1, 40 - 60 + 1}},
      {"right: to the left, bottoms flush", CBRS_ALIGN_RIGHT, {500 - 80 + 1, 62 - 60 + 1}},
      {"left: to the right, bottoms flush", CBRS_ALIGN_LEFT, {512, 62 - 60 + 1}},
  };
  for (const Case& c : cases) {
    POINT at = TkExpMenuPosition(chevron, 80, 60, c.side);
    EXPECT_EQ(at.x, c.at.x) << c.why;
    EXPECT_EQ(at.y, c.at.y) << c.why;
  }
}

// A frame that writes down the commands it carries out. It has a handler for every test
// command but the fourth. A member of the test, so it does not delete itself as frames do.
class RecordingFrame : public CFrameWnd {
 protected:
  void PostNcDestroy() override {}

 public:
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
    if (nCode == CN_COMMAND && pInfo && nID >= ID_POP_ONE && nID <= ID_POP_SIX)
      return nID != ID_POP_FOUR;
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
  }
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.push_back(LOWORD(wParam));
    lParams.push_back(lParam);
    return TRUE;
  }
  std::vector<UINT> commands;
  std::vector<LPARAM> lParams;
};

// Stands for the chevron button: what the popup posts to it.
class NotifyWnd : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kClosed) ++closed;
    if (message == WM_COMMAND) commands.push_back(LOWORD(wParam));
    return CWnd::WindowProc(message, wParam, lParam);
  }
  static constexpr UINT kClosed = WM_USER + 77;
  int closed = 0;
  std::vector<UINT> commands;
};

// A popup that stays open when the activation goes elsewhere: without a window manager Wine may
// hand it to another window at any time, and a popup that closes then is right but checks
// nothing else.
class SteadyPopup : public CTkExpMenuWnd {
 public:
  using CTkExpMenuWnd::CTkExpMenuWnd;
  bool steady = true;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (steady && ((message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) ||
                   (message == WM_ACTIVATEAPP && !wParam)))
      return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    return CTkExpMenuWnd::WindowProc(message, wParam, lParam);
  }
};

class ChevronPopupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ToolkitData().m_bMenuShadows = TRUE;
    ASSERT_TRUE(frame_.Create(nullptr, "Chevron popup test", WS_OVERLAPPEDWINDOW,
                              CRect(20, 20, 520, 320)));
    ASSERT_TRUE(bar_.CreateEx(&frame_, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    ASSERT_TRUE(bar_.LoadToolBar(IDR_POPUP_BAR));
    bar_.SetButtonText(bar_.CommandToIndex(ID_POP_FIVE), "Five");
    ASSERT_TRUE(CreateTestWindow(notify_, "chevron"));
    // Shown without activation: a late activation of the frame would close the popup, as it
    // should, before the test looks at it.
    frame_.ShowWindow(SW_SHOWNA);
    frame_.RecalcLayout();
    PumpPending();
  }
  void TearDown() override {
    PumpPending();
    // A popup a failed check left open goes before its frame.
    if (last_ && notify_.closed == 0 && ::IsWindow(lastWnd_)) last_->DestroyWindow();
    PumpPending();
    notify_.DestroyWindow();
    frame_.DestroyWindow();
  }
  // Hides the bar's trailing buttons and opens the popup under a chevron at the bar's end.
  CTkExpMenuWnd* Open(int length, bool pump = true, bool steady = true) {
    // Windows of earlier tests may still be handing the activation around; the popup closes
    // when it loses it, so it opens once that has settled.
    for (int i = 0; i < 10; ++i) {
      ::Sleep(20);
      PumpPending();
    }
    bar_.HideButtonsToFit(length);
    auto* popup = new SteadyPopup(&notify_, NotifyWnd::kClosed);
    popup->steady = steady;
    RECT rc;
    bar_.GetWindowRect(&rc);
    if (!popup->Create(rc.right - 12, rc.top, rc.right, rc.bottom, &bar_)) return nullptr;
    last_ = popup;
    lastWnd_ = popup->m_hWnd;
    if (pump) PumpPending();
    return popup;
  }
  std::vector<UINT> PopupIds(CTkExpMenuWnd* popup) {
    std::vector<UINT> ids;
    CTkHiddenButtonsToolbar& hidden = popup->GetHiddenToolBar();
    for (int i = 0; i < hidden.GetCount(); ++i) ids.push_back(hidden.GetItemID(i));
    return ids;
  }
  // A click on a button of a toolbar, as the control reports it to the window it tells (a mouse
  // click depends on the capture, which windows of earlier tests may still hold under Wine).
  static void Click(CTkToolBar& bar, int index) {
  // The popup's bars tell their owners: the frame for the hidden buttons, the popup itself for
  // the command bar.
    HWND told = bar.GetOwner()->m_hWnd;
    ::SendMessageA(told, WM_COMMAND, MAKEWPARAM(bar.GetItemID(index), BN_CLICKED),
                   reinterpret_cast<LPARAM>(bar.m_hWnd));
  }

  RecordingFrame frame_;
  CTkToolBar bar_;
  CTkExpMenuWnd* last_ = nullptr;
  HWND lastWnd_ = nullptr;
  NotifyWnd notify_;
};

TEST_F(ChevronPopupTest, ListsTheHiddenButtonsAndSendsTheChosenCommand) {
  CTkExpMenuWnd* popup = Open(60);
  ASSERT_NE(popup, nullptr);
  HWND popupWnd = popup->m_hWnd;
  EXPECT_TRUE(::IsWindowVisible(popupWnd));
  EXPECT_EQ(popup->GetFrameWnd(), frame_.m_hWnd) << "the hook sits on the frame";
  // The popup casts a shadow, which goes with it.
  HWND shadow = ::GetWindow(popupWnd, GW_HWNDNEXT);
  char title[16] = {};
  ::GetWindowTextA(shadow, title, sizeof(title));
  EXPECT_STREQ(title, "Shadow");
  EXPECT_TRUE(::IsWindowVisible(shadow));

  // The hidden buttons in their order; the separator before them does not lead the popup.
  std::vector<UINT> expected;
  for (const auto& h : bar_.GetHiddenButtons()) {
    UINT id = bar_.GetItemID(h.first);
    if (id != 0 || !expected.empty()) expected.push_back(id);
  }
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(PopupIds(popup), expected);
  CTkHiddenButtonsToolbar& hidden = popup->GetHiddenToolBar();
  int five = hidden.CommandToIndex(ID_POP_FIVE);
  ASSERT_GE(five, 0);
  EXPECT_STREQ(hidden.GetButtonText(five), "Five") << "texts come along";
  EXPECT_EQ(popup->GetCommandToolBar().m_hWnd, nullptr) << "no customising, no command bar";
  // The frame's handlers decide which buttons work.
  EXPECT_FALSE(hidden.SendMessage(TB_ISBUTTONENABLED, ID_POP_FOUR)) << "no handler";
  EXPECT_TRUE(hidden.SendMessage(TB_ISBUTTONENABLED, ID_POP_SIX));

  // Opens below the chevron (the bar is at the top), right edges within a pixel.
  RECT bar, pop;
  bar_.GetWindowRect(&bar);
  ::GetWindowRect(popupWnd, &pop);
  EXPECT_EQ(pop.top, bar.bottom);
  EXPECT_EQ(pop.right, bar.right + 1);

  // A chosen button: the popup goes first, then the frame gets the command, posted, lParam 0.
  int six = hidden.CommandToIndex(ID_POP_SIX);
  ASSERT_GE(six, 0);
  Click(hidden, six);
  EXPECT_FALSE(::IsWindow(popupWnd));
  EXPECT_FALSE(::IsWindow(shadow));
  EXPECT_TRUE(frame_.commands.empty()) << "posted, not sent";
  PumpPending();
  ASSERT_EQ(frame_.commands.size(), 1u);
  EXPECT_EQ(frame_.commands[0], static_cast<UINT>(ID_POP_SIX));
  EXPECT_EQ(frame_.lParams[0], 0);
  EXPECT_EQ(notify_.closed, 1) << "the chevron learns that the popup is gone";

  // The frame's own commands reach it untouched once the hook is off.
  frame_.SendMessage(WM_COMMAND, ID_POP_ONE, 0);
  EXPECT_EQ(frame_.commands.size(), 2u);
}

TEST_F(ChevronPopupTest, LendsPlacedControlsAndTakesThemBack) {
  CWnd combo;
  ASSERT_TRUE(combo.Create("COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST,
                           CRect(0, 0, 80, 100), &bar_, ID_POP_SIX));
  ASSERT_TRUE(bar_.PlaceControl(bar_.CommandToIndex(ID_POP_SIX), &combo, 80));
  // Checked before the queue runs: where the activation goes afterwards is the system's.
  CTkExpMenuWnd* popup = Open(60, false);
  ASSERT_NE(popup, nullptr);
  HWND popupWnd = popup->m_hWnd;
  EXPECT_EQ(::GetParent(combo.m_hWnd), popup->GetHiddenToolBar().m_hWnd);
  EXPECT_TRUE(::IsWindowVisible(combo.m_hWnd));

  // A control's notification is not a button's command: the popup stays.
  frame_.SendMessage(WM_COMMAND, MAKEWPARAM(ID_POP_SIX, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(combo.m_hWnd));
  EXPECT_TRUE(::IsWindow(popupWnd));

  // The frame's close request goes to the popup as WM_CLOSE.
  frame_.SendMessage(WM_TK_CLOSE_EXPMENU);
  PumpPending();
  EXPECT_FALSE(::IsWindow(popupWnd));
  EXPECT_EQ(::GetParent(combo.m_hWnd), bar_.m_hWnd) << "back with its own bar";
  EXPECT_FALSE(::IsWindowVisible(combo.m_hWnd)) << "hidden until the bar shows it";
  EXPECT_EQ(notify_.closed, 1);
  combo.DestroyWindow();
}

TEST_F(ChevronPopupTest, CustomiseButtonTellsTheChevron) {
  bar_.SetAllowCustomize(TRUE);
  CTkExpMenuWnd* popup = Open(60);
  ASSERT_NE(popup, nullptr);
  HWND popupWnd = popup->m_hWnd;
  CTkHiddenButtonsToolbar& command = popup->GetCommandToolBar();
  ASSERT_NE(command.m_hWnd, nullptr);
  ASSERT_EQ(command.GetCount(), 1);
  EXPECT_EQ(command.GetItemID(0), kTkAddRemoveButtonsCmd);
  EXPECT_STREQ(command.GetButtonText(0), "&Customize...");
  RECT hiddenRc, commandRc;
  popup->GetHiddenToolBar().GetWindowRect(&hiddenRc);
  command.GetWindowRect(&commandRc);
  EXPECT_GE(commandRc.top, hiddenRc.bottom) << "below the hidden buttons";

  Click(command, 0);
  PumpPending();
  EXPECT_FALSE(::IsWindow(popupWnd));
  ASSERT_EQ(notify_.commands.size(), 1u);
  EXPECT_EQ(notify_.commands[0], kTkAddRemoveButtonsCmd);
  EXPECT_TRUE(frame_.commands.empty()) << "not a command of the frame";
  EXPECT_EQ(notify_.closed, 1);
}

// Losing activation closes the popup, once, however many requests follow.
TEST_F(ChevronPopupTest, DeactivationClosesItOnce) {
  CTkExpMenuWnd* popup = Open(60, true, false);
  ASSERT_NE(popup, nullptr);
  HWND popupWnd = popup->m_hWnd;
  ::SendMessageA(popupWnd, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_FALSE(::IsWindow(popupWnd));
  frame_.SendMessage(WM_TK_CLOSE_EXPMENU);  // the hook is off: nothing left to close
  PumpPending();
  EXPECT_EQ(notify_.closed, 1);
}

}  // namespace

namespace {

// The popup windows open on the desktop.
std::vector<HWND> OpenPopups() {
  std::vector<HWND> found;
  for (HWND w = ::GetWindow(::GetDesktopWindow(), GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    CWnd* object = CWnd::FromHandlePermanent(w);
    if (object && object->IsKindOf(RUNTIME_CLASS(CTkExpMenuWnd))) found.push_back(w);
  }
  return found;
}

// The bar's own chevron with its real popup, opened and closed again and again by every way a
// popup goes. The popup frees itself; the chevron that opened it must neither read nor free it
// afterwards, also when it is clicked again before the closing note has arrived, and when the
// bar goes with a popup still open.
TEST_F(ChevronPopupTest, TheChevronOpensAndClosesItsRealPopupAgainAndAgain) {
  REBARBANDINFOA band = {};
  ASSERT_TRUE(bar_.GetBandSize(&band, TRUE));
  CTkExpButton* chevron = bar_.GetChevron();
  ASSERT_NE(chevron, nullptr);
  bar_.OnBandChildSize(TRUE, CRect(0, 0, 70, 22));
  ASSERT_FALSE(bar_.GetHiddenButtons().empty());
  ASSERT_TRUE(chevron->IsWindowVisible());

  auto click = [&] {
    chevron->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    chevron->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  };
  enum Way { kChoice, kDeactivated, kFrameRequest, kCancelMode };
  const struct {
    Way way;
    const char* why;
  } ways[] = {{kChoice, "a hidden button chosen"},
              {kDeactivated, "activation lost"},
              {kFrameRequest, "the frame's close request"},
              {kCancelMode, "the chevron's mode cancelled"}};
  auto close = [&](Way way, HWND popup) {
    switch (way) {
      case kChoice: {
        CTkExpMenuWnd* open = CTkExpMenuWnd::FromOpenWindow(popup);
        ASSERT_NE(open, nullptr);
        CTkHiddenButtonsToolbar& hidden = open->GetHiddenToolBar();
        Click(hidden, hidden.CommandToIndex(ID_POP_SIX));
        break;
      }
      case kDeactivated:
        ::SendMessageA(popup, WM_ACTIVATE, WA_INACTIVE, 0);
        break;
      case kFrameRequest:
        frame_.SendMessage(WM_TK_CLOSE_EXPMENU);
        break;
      case kCancelMode:
        chevron->SendMessage(WM_CANCELMODE);
        break;
    }
  };
  for (int round = 0; round < 3; ++round) {
    for (const auto& way : ways) {
      SCOPED_TRACE(way.why);
      click();
      std::vector<HWND> popups = OpenPopups();
      ASSERT_EQ(popups.size(), 1u) << "the chevron opens one real popup";
      EXPECT_TRUE(chevron->IsPopupOpen());
      click();
      EXPECT_EQ(OpenPopups().size(), 1u) << "no second popup while one is open";
      close(way.way, popups[0]);
      // Clicked again before the closing note has come: nothing opens, nothing is touched.
      click();
      PumpPending();
      EXPECT_FALSE(::IsWindow(popups[0]));
      EXPECT_TRUE(OpenPopups().empty());
      EXPECT_FALSE(chevron->IsPopupOpen()) << "the closing note releases the chevron";
      EXPECT_EQ(chevron->GetState() & BST_PUSHED, 0u);
    }
  }
  EXPECT_EQ(frame_.commands, std::vector<UINT>(3, ID_POP_SIX)) << "each choice ran once";

  // The bar and its chevron go while a popup is open: the popup goes with them, once.
  click();
  std::vector<HWND> popups = OpenPopups();
  ASSERT_EQ(popups.size(), 1u);
  bar_.DestroyWindow();
  PumpPending();
  EXPECT_FALSE(::IsWindow(popups[0]));
}

}  // namespace

namespace {

// The popup is sized for the rows its toolbar wraps into; a later layout of that toolbar (its
// first paint, an idle update) keeps the same rows, so every button stays inside the popup.
TEST_F(ChevronPopupTest, TheHiddenButtonsStayInTheRowsThePopupWasSizedFor) {
  // More buttons than the popup's widest row (six buttons) holds.
  std::vector<UINT> ids;
  for (UINT id = 41100; id < 41114; ++id) ids.push_back(id);
  ASSERT_TRUE(bar_.SetButtons(ids.data(), static_cast<int>(ids.size())));
  frame_.RecalcLayout();
  CTkExpMenuWnd* popup = Open(1);
  ASSERT_NE(popup, nullptr);
  CTkHiddenButtonsToolbar& hidden = popup->GetHiddenToolBar();
  auto inside = [&hidden](const char* when) {
    CRect client;
    hidden.GetClientRect(&client);
    int rows = 0, lastTop = -1;
    for (int i = 0; i < hidden.GetCount(); ++i) {
      CRect item;
      hidden.GetItemRect(i, &item);
      UINT id = 0, style = 0;
      int image = 0;
      hidden.GetButtonInfo(i, id, style, image);
      // A separator that ends a row takes no room along it.
      if (item.IsRectEmpty() || (style & TBSTYLE_SEP)) continue;
      if (item.top != lastTop) ++rows, lastTop = item.top;
      EXPECT_LE(item.right, client.right) << when << ", button " << i;
      EXPECT_LE(item.bottom, client.bottom) << when << ", button " << i;
    }
    return rows;
  };
  int rows = inside("opened");
  EXPECT_GT(rows, 1) << "more buttons than a row of the popup takes";
  hidden.SetLayoutPending();
  hidden.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(inside("laid out again"), rows);
}

}  // namespace
