// The control wrappers: each one over a real control, through the members the program uses, and
// the command user interface on a toolbar and a status bar.
#include <gtest/gtest.h>

#include "framework/controls/AnimateCtrl.h"
#include "framework/controls/Button.h"
#include "framework/controls/ComboBox.h"
#include "framework/controls/Edit.h"
#include "framework/controls/HeaderCtrl.h"
#include "framework/controls/ListBox.h"
#include "framework/controls/ListCtrl.h"
#include "framework/controls/ProgressCtrl.h"
#include "framework/controls/ReBarCtrl.h"
#include "framework/controls/SpinButtonCtrl.h"
#include "framework/controls/Static.h"
#include "framework/controls/TabCtrl.h"
#include "framework/controls/ToolBarCtrl.h"
#include "framework/controls/ToolTipCtrl.h"
#include "framework/controls/TreeCtrl.h"
#include "framework/tests/wnd/WndTestSupport.h"

namespace {

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&icc);
    ASSERT_TRUE(CreateTestWindow(parent));
  }
  CWnd parent;
  const RECT rc = {0, 0, 150, 100};
};

TEST_F(ControlsTest, ListsKeepTheirItems) {
  CComboBox combo;
  ASSERT_TRUE(combo.Create(CBS_DROPDOWNLIST | WS_VISIBLE, rc, &parent, 1));
  combo.AddString("b");
  combo.InsertString(0, "a");
  combo.SetItemData(1, 77);
  EXPECT_EQ(combo.SelectString(-1, "b"), 1);
  CString text;
  combo.GetLBText(combo.GetCurSel(), text);
  EXPECT_STREQ(text, "b");
  EXPECT_EQ(combo.GetItemData(1), 77u);

  CListBox list;
  ASSERT_TRUE(list.Create(WS_VISIBLE, rc, &parent, 2));
  list.AddString("one");
  list.AddString("two");
  list.SetCurSel(1);
  list.GetText(list.GetCurSel(), text);
  EXPECT_STREQ(text, "two");
  list.GetText(5, text);
  EXPECT_STREQ(text, "") << "an index past the end gives nothing";

  CListCtrl view;
  ASSERT_TRUE(view.Create(LVS_REPORT | WS_VISIBLE, rc, &parent, 3));
  view.InsertColumn(0, "Name", LVCFMT_LEFT, 60);
  view.InsertColumn(1, "Rank", LVCFMT_LEFT, 40, 1);
  EXPECT_EQ(view.InsertItem(0, "site"), 0);
  view.SetItemText(0, 1, "7");
  view.SetItemData(0, 99);
  EXPECT_STREQ(view.GetItemText(0, 0), "site");
  EXPECT_STREQ(view.GetItemText(0, 1), "7");
  EXPECT_EQ(view.GetItemData(0), 99u);
  CHeaderCtrl header;
  ASSERT_TRUE(header.SubclassWindow(view.GetHeaderCtrl()));
  EXPECT_EQ(header.GetItemCount(), 2);
  header.UnsubclassWindow();

  CTreeCtrl tree;
  ASSERT_TRUE(tree.Create(WS_VISIBLE, rc, &parent, 4));
  HTREEITEM root = tree.InsertItem("root");
  HTREEITEM child = tree.InsertItem("child", root);
  EXPECT_EQ(tree.GetParentItem(child), root);
  EXPECT_EQ(tree.GetChildItem(root), child);
  EXPECT_TRUE(tree.ItemHasChildren(root));
  tree.SetItemText(child, "renamed");
  EXPECT_STREQ(tree.GetItemText(child), "renamed");
}

TEST_F(ControlsTest, RangesAndPositions) {
  CProgressCtrl progress;
  ASSERT_TRUE(progress.Create(WS_VISIBLE, rc, &parent, 5));
  progress.SetRange32(0, 500);
  progress.SetPos(250);
  int lo = -1, hi = -1;
  progress.GetRange(lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 500);
  EXPECT_EQ(progress.GetPos(), 250);

  CSpinButtonCtrl spin;
  ASSERT_TRUE(spin.Create(WS_VISIBLE, rc, &parent, 6));
  spin.SetRange32(1, 10);
  spin.SetPos(20);
  EXPECT_EQ(spin.GetPos(), 10) << "kept within the range";

  CTabCtrl tabs;
  ASSERT_TRUE(tabs.Create(WS_VISIBLE, rc, &parent, 7));
  tabs.InsertItem(0, "a");
  tabs.InsertItem(1, "b");
  tabs.SetCurSel(1);
  EXPECT_EQ(tabs.GetItemCount(), 2);
  EXPECT_EQ(tabs.GetCurSel(), 1);

  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_VISIBLE | ES_AUTOHSCROLL, rc, &parent, 8));
  edit.SetWindowText("hello");
  edit.SetSel(1, 3);
  int s = 0, e = 0;
  edit.GetSel(s, e);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(e, 3);

  CButton check;
  ASSERT_TRUE(check.Create("c", BS_AUTOCHECKBOX | WS_VISIBLE, rc, &parent, 9));
  check.SetCheck(BST_CHECKED);
  EXPECT_EQ(check.GetCheck(), BST_CHECKED);
  CStatic label;
  EXPECT_TRUE(label.Create("label", WS_VISIBLE, rc, &parent));
  CAnimateCtrl clip;
  EXPECT_TRUE(clip.Create(WS_VISIBLE, rc, &parent, 10));
}

TEST_F(ControlsTest, BarsAndTipsFollowTheCommandUserInterface) {
  CToolBarCtrl bar;
  ASSERT_TRUE(bar.Create(WS_VISIBLE | CCS_NORESIZE, rc, &parent, 11));
  TBBUTTON buttons[2] = {};
  buttons[0].idCommand = 601;
  buttons[0].fsState = TBSTATE_ENABLED;
  buttons[0].fsStyle = BTNS_CHECK;
  buttons[0].iBitmap = I_IMAGENONE;
  buttons[1] = buttons[0];
  buttons[1].idCommand = 602;
  ASSERT_TRUE(bar.AddButtons(2, buttons));
  EXPECT_EQ(bar.CommandToIndex(602), 1);
  CCmdUI ui;
  ui.m_pOther = &bar;
  ui.m_nID = 601;
  ui.Enable(FALSE);
  ui.m_nID = 602;
  ui.SetCheck(1);
  EXPECT_FALSE(bar.IsButtonEnabled(601));
  EXPECT_TRUE(bar.IsButtonChecked(602));

  CWnd status;
  ASSERT_TRUE(status.Create(STATUSCLASSNAMEA, "", WS_VISIBLE, rc, &parent, 12));
  CCmdUI pane;
  pane.m_pOther = &status;
  pane.m_nIndex = 0;
  pane.SetText("pane text");
  char text[32] = "";
  status.SendMessage(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "pane text");
  pane.Enable(FALSE);
  status.SendMessage(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
  EXPECT_STREQ(text, "") << "a disabled pane shows nothing";

  CToolTipCtrl tips;
  ASSERT_TRUE(tips.Create(&parent));
  tips.AddTool(&bar, "bar tip");
  EXPECT_EQ(tips.GetToolCount(), 1);
  CReBarCtrl rebar;
  ASSERT_TRUE(rebar.Create(WS_VISIBLE, rc, &parent, 13));
  REBARBANDINFOA band = {};
  band.cbSize = sizeof band;
  band.fMask = RBBIM_TEXT;
  band.lpText = const_cast<LPSTR>("band");
  EXPECT_TRUE(rebar.InsertBand(0, &band));
  EXPECT_EQ(rebar.GetBandCount(), 1u);
}

}  // namespace
