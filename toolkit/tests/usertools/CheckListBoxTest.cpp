// The toolkit's check list box on a real window under the X display: which clicks and keys
// change a check by the style, disabled items, the parent's notification and the caller's item
// data kept beside the check.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/wnd/Wnd.h"
#include "resources/ids/ToolkitControlsIds.h"
#include "toolkit/controls/TkCheckListBox.h"

namespace {

constexpr UINT kListId = 7100;

// Records the check notifications it hears.
class Host : public CWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (HIWORD(wParam) == CLBN_CHKCHANGE) changes.push_back(LOWORD(wParam));
    return CWnd::OnCommand(wParam, lParam);
  }
  std::vector<UINT> changes;
};

class CheckListBoxTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
    s_language = language;
  }
  void SetUp() override {
    ASSERT_NE(s_language, nullptr) << "ZBResENU.dll beside the test";
    AfxSetResourceHandle(s_language);
    ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0,
                                300, 200, nullptr, nullptr));
    ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY,
                              CRect(10, 10, 210, 110), &m_host, kListId));
    for (const char* text : {"one", "two", "three", "four", "five", "six", "seven", "eight"})
      m_list.AddString(text);
  }
  void TearDown() override {
    if (m_host.m_hWnd) m_host.DestroyWindow();
  }
  // A click on the item's check image, or to the right of it.
  CPoint PointOf(int index, bool onImage) {
    CRect rect;
    m_list.GetItemRect(index, &rect);
    int x = onImage ? rect.left + 3 : rect.left + CTkCheckListBox::GetCheckImageSize().cx + 20;
    return CPoint(x, rect.top + rect.Height() / 2);
  }
  void Click(int index, bool onImage, bool twice = false) {
    CPoint pt = PointOf(index, onImage);
    LPARAM at = MAKELPARAM(pt.x, pt.y);
    m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
    m_list.SendMessage(WM_LBUTTONUP, 0, at);
    if (twice) {
      m_list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      m_list.SendMessage(WM_LBUTTONUP, 0, at);
    }
  }
  static HINSTANCE s_language;
  Host m_host;
  CTkCheckListBox m_list;
};
HINSTANCE CheckListBoxTest::s_language = nullptr;

TEST_F(CheckListBoxTest, ImagesComeFromTheToolkitStripAndItemsAreAsHighAsTheFont) {
  EXPECT_EQ(CTkCheckListBox::GetCheckImageSize(), CSize(13, 13));
  TEXTMETRICA tm{};
  HDC hdc = ::GetDC(m_list.m_hWnd);
  HGDIOBJ old = ::SelectObject(hdc, reinterpret_cast<HFONT>(m_list.SendMessage(WM_GETFONT)));
  ::GetTextMetricsA(hdc, &tm);
  ::SelectObject(hdc, old);
  ::ReleaseDC(m_list.m_hWnd, hdc);
  EXPECT_EQ(m_list.GetItemHeight(0), tm.tmHeight);
}

// Each row: style, starting check, clicks (on the image unless noted), the checks after each.
TEST_F(CheckListBoxTest, ClicksOnTheImageCycleTheCheckByTheStyle) {
  struct Case {
    UINT style;
    int start;
    std::vector<int> after;
  };
  const Case cases[] = {
      {BS_AUTOCHECKBOX, 0, {1, 0, 1}},
      {BS_AUTO3STATE, 0, {1, 2, 0}},
      {BS_AUTOCHECKBOX, 2, {0, 1}},  // indeterminate set in code counts as checked
      {BS_CHECKBOX, 0, {0, 0}},      // the owner alone sets the checks
      {BS_3STATE, 1, {1, 1}},
  };
  for (const Case& c : cases) {
    m_list.SetCheckStyle(c.style);
    m_list.SetCheck(2, c.start);
    m_host.changes.clear();
    int expectedChanges = 0;
    for (int check : c.after) {
      Click(2, true);
      if (c.style == BS_AUTOCHECKBOX || c.style == BS_AUTO3STATE) ++expectedChanges;
      EXPECT_EQ(m_list.GetCheck(2), check) << "style " << c.style << " from " << c.start;
    }
    EXPECT_EQ(static_cast<int>(m_host.changes.size()), expectedChanges) << "style " << c.style;
    for (UINT id : m_host.changes) EXPECT_EQ(id, kListId);
  }
}

TEST_F(CheckListBoxTest, ANonAutomaticStyleSwallowsTheClickSelectionAndAll) {
  m_list.SetCheckStyle(BS_CHECKBOX);
  m_list.SetCurSel(0);
  Click(3, false);
  EXPECT_EQ(m_list.GetCurSel(), 0);
  EXPECT_EQ(m_list.GetCheck(3), 0);
}

TEST_F(CheckListBoxTest, AClickBesideTheImageSelectsWithoutCheckingAndADoubleClickChecks) {
  m_list.SetCheckStyle(BS_AUTOCHECKBOX);
  Click(4, false);
  EXPECT_EQ(m_list.GetCurSel(), 4);
  EXPECT_EQ(m_list.GetCheck(4), 0);
  EXPECT_TRUE(m_host.changes.empty());
  Click(5, false, true);
  EXPECT_EQ(m_list.GetCurSel(), 5);
  EXPECT_EQ(m_list.GetCheck(5), 1);
}

TEST_F(CheckListBoxTest, ADisabledItemNeverChangesItsCheck) {
  m_list.SetCheckStyle(BS_AUTO3STATE);
  m_list.Enable(1, FALSE);
  Click(1, true);
  Click(1, false, true);
  m_list.SetCurSel(1);
  m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(m_list.GetCheck(1), 0);
  EXPECT_FALSE(m_list.IsEnabled(1));
  EXPECT_TRUE(m_host.changes.empty());
}

TEST_F(CheckListBoxTest, TheSpaceKeyTogglesTheItemWithTheCaret) {
  m_list.SetCheckStyle(BS_AUTOCHECKBOX);
  m_list.SetFocus();
  m_list.SetCurSel(6);
  m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(m_list.GetCheck(6), 1);
  m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(m_list.GetCheck(6), 0);
  EXPECT_EQ(m_host.changes.size(), 2u);
}

TEST_F(CheckListBoxTest, ItemDataStaysTheCallersBesideTheCheckAcrossInsertsAndDeletes) {
  m_list.SetItemData(0, 0x1234);
  m_list.SetCheck(0, 1);
  m_list.InsertString(0, "new first");
  EXPECT_EQ(m_list.GetItemData(1), 0x1234u);
  EXPECT_EQ(m_list.GetCheck(1), 1);
  EXPECT_EQ(m_list.GetCheck(0), 0);
  EXPECT_EQ(m_list.GetItemData(0), 0u);
  m_list.DeleteString(0);
  EXPECT_EQ(m_list.GetItemData(0), 0x1234u);
  EXPECT_EQ(m_list.GetCheck(0), 1);
  m_list.ResetContent();
  EXPECT_EQ(m_list.GetCount(), 0);
}

TEST_F(CheckListBoxTest, TheCheckImageIsDrawnFromTheStripAtTheItemsLeft) {
  m_list.SetCheck(0, 1);
  m_list.UpdateWindow();
  m_list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  CRect rect;
  m_list.GetItemRect(0, &rect);
  HDC hdc = ::GetDC(m_list.m_hWnd);
  // The image's frame is grey, and the text column starts past the image.
  int top = rect.top + 1 + std::max(0, (static_cast<int>(rect.Height()) - 13) / 2);
  EXPECT_EQ(::GetPixel(hdc, rect.left + 1, top + 6), RGB(128, 128, 128));
  ::ReleaseDC(m_list.m_hWnd, hdc);
}

}  // namespace
