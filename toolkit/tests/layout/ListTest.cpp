// Headers and the sortable list: the arithmetic of fitting, sort directions, stored widths and
// auto-sizing as tables; then two live lists side by side, whose headers' clicks and sort
// commands move the arrow and sort only the list they belong to, whose locked and least widths
// hold, and whose column widths come back when a list is made again.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/app/WinApp.h"
#include "toolkit/controls/TkListCtrl.h"

namespace {

TEST(HeaderArithmetic, FittingSharesTheWidthAmongUnlockedColumnsOnly) {
  struct Case {
    const char* why;
    int width, columns, locked, share;
  } cases[] = {
      {"an equal share", 300, 3, 0, 100},
      {"locked columns take no share", 300, 4, 1, 100},
      {"every column locked: no share at all, not a division by zero", 300, 3, 3, 0},
      {"no columns", 300, 0, 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CTkHeaderCtrl::FitShare(c.width, c.columns, c.locked), c.share) << c.why;
  }
}

TEST(ListArithmetic, HeaderClicksChooseTheSortDirection) {
  struct Case {
    const char* why;
    int sortCol;
    BOOL asc;
    int clicked, button, headerAsc;
    BOOL acts, result;
  } cases[] = {
      {"a click on the sort column turns ascending into descending", 1, TRUE, 1, 0, -1, TRUE, FALSE},
      {"and back", 1, FALSE, 1, 0, -1, TRUE, TRUE},
      {"another column starts ascending", 1, FALSE, 2, 0, -1, TRUE, TRUE},
      {"the header's descending command", 1, TRUE, 1, 1, 0, TRUE, FALSE},
      {"the header's ascending command", -1, TRUE, 0, 1, 1, TRUE, TRUE},
      {"any other button does nothing", 1, TRUE, 1, 2, 1, FALSE, TRUE},
  };
  for (const Case& c : cases) {
    BOOL asc = TRUE;
    EXPECT_EQ(CTkListCtrlBase::NextSortDirection(c.sortCol, c.asc, c.clicked, c.button, c.headerAsc,
                                                 &asc),
              c.acts)
        << c.why;
    if (c.acts) {
      EXPECT_EQ(asc, c.result) << c.why;
    }
  }
}

TEST(ListArithmetic, StoredWidthsAndAutoWidths) {
  const CString stored("120,80,,236,");
  const int expected[] = {120, 80, 0, 236, 0, 0};  // empty and missing fields are 0
  for (int i = 0; i < 6; ++i) EXPECT_EQ(CTkListCtrlBase::WidthField(stored, i), expected[i]) << i;
  EXPECT_EQ(CTkListCtrlBase::WidthField(CString(""), 0), 0);

  struct Case {
    const char* why;
    int content, text;
    BOOL arrow;
    int min, max, width;
  } cases[] = {
      {"the contents when wider than the heading", 150, 40, FALSE, 0, 1000, 150},
      {"the heading and its margin when wider", 20, 40, FALSE, 0, 1000, 52},
      {"room for the sort arrow", 20, 40, TRUE, 0, 1000, 76},
      {"never below the least width", 20, 10, FALSE, 60, 1000, 60},
      {"never beyond the screen", 5000, 40, FALSE, 0, 1000, 1000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CTkListCtrlBase::AutoWidth(c.content, c.text, c.arrow, c.min, c.max), c.width) << c.why;
  }
}

// A list that sorts its rows by the text of a column and logs every sort.
class CSortingList : public CTkListCtrl {
 public:
  std::vector<std::string> sorts;
  BOOL SortList(int nCol, BOOL bAscending) override {
    sorts.push_back(std::to_string(nCol) + (bAscending ? "+" : "-"));
    m_nCompareCol = nCol;
    m_bCompareAsc = bAscending;
    return SortItems(Compare, reinterpret_cast<DWORD_PTR>(this));
  }
  std::vector<std::string> Column(int nCol) const {
    std::vector<std::string> texts;
    for (int i = 0; i < GetItemCount(); ++i) texts.push_back(GetItemText(i, nCol).GetString());
    return texts;
  }

 private:
  static int CALLBACK Compare(LPARAM a, LPARAM b, LPARAM self) {
    auto* list = reinterpret_cast<CSortingList*>(self);
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = a;
    int ia = static_cast<int>(list->SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    find.lParam = b;
    int ib = static_cast<int>(list->SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
    int r = lstrcmpA(list->GetItemText(ia, list->m_nCompareCol), list->GetItemText(ib, list->m_nCompareCol));
    return list->m_bCompareAsc ? r : -r;
  }
  int m_nCompareCol = 0;
  BOOL m_bCompareAsc = TRUE;
};

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_section.Format("TkListTest-%lu", GetCurrentProcessId());
    m_app = std::make_unique<CWinApp>("ZBPro");
    m_app->SetRegistryKey("Orvandel Labs, Inc.");
    ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  0, 0, 600, 400, nullptr, nullptr));
    MakeList(m_first, 10, 801);
    MakeList(m_second, 300, 802);
  }
  void TearDown() override {
    m_parent.DestroyWindow();
    CString path;
    path.Format("Software\\Orvandel Labs, Inc.\\ZBPro\\%s", m_section.GetString());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path);
    m_app.reset();
  }
  void MakeList(CSortingList& list, int x, UINT id) {
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(x, 10, x + 280, 300),
                            &m_parent, id));
    const LPCSTR names[] = {"Name", "Rank", "Page"};
    const int widths[] = {100, 60, 60};
    ASSERT_TRUE(list.BuildColumns(3, widths, names));
    ASSERT_TRUE(list.SubclassHeader());
    list.GetFlatHeader().ShowSortArrow(TRUE);
    const char* rows[][3] = {{"beta", "2", "1"}, {"alpha", "3", "2"}, {"gamma", "1", "1"}};
    for (int i = 0; i < 3; ++i) {
      list.InsertItem(i, rows[i][0]);
      list.SetItemData(i, static_cast<DWORD_PTR>(i + 1));
      list.SetItemText(i, 1, rows[i][1]);
      list.SetItemText(i, 2, rows[i][2]);
    }
  }
  // A left click on a column heading, as the header reports it to its list.
  void Click(CSortingList& list, int col) {
    NMHEADERW nm = {};
    nm.hdr.hwndFrom = list.GetHeaderCtrl();
    nm.hdr.idFrom = 0;
    nm.hdr.code = HDN_ITEMCLICKW;
    nm.iItem = col;
    nm.iButton = 0;
    list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  }
  LRESULT ChangeWidth(CSortingList& list, int col, int cx) {
    HDITEMA item = {};
    item.mask = HDI_WIDTH;
    item.cxy = cx;
    NMHEADERA nm = {};
    nm.hdr.hwndFrom = list.GetHeaderCtrl();
    nm.hdr.code = HDN_ITEMCHANGINGA;
    nm.iItem = col;
    nm.pitem = &item;
    m_lastWidth = &item;
    LRESULT r = list.SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
    m_changedWidth = item.cxy;
    return r;
  }

  CString m_section;
  std::unique_ptr<CWinApp> m_app;
  CWnd m_parent;
  CSortingList m_first, m_second;
  HDITEMA* m_lastWidth = nullptr;
  int m_changedWidth = 0;
};

using Texts = std::vector<std::string>;

TEST_F(ListTest, HeaderClicksSortAndTheArrowFollowsThem) {
  Click(m_first, 0);
  EXPECT_EQ(m_first.Column(0), (Texts{"alpha", "beta", "gamma"}));
  Click(m_first, 0);
  EXPECT_EQ(m_first.Column(0), (Texts{"gamma", "beta", "alpha"}));
  EXPECT_EQ(m_first.GetFlatHeader().GetSortColumn(), 0);
  EXPECT_EQ(m_first.GetFlatHeader().GetAscending(), 0);
  Click(m_first, 1);
  EXPECT_EQ(m_first.Column(1), (Texts{"1", "2", "3"}));
  EXPECT_EQ(m_first.GetFlatHeader().GetSortColumn(), 1);
  EXPECT_EQ(m_first.GetFlatHeader().GetAscending(), 1);
  EXPECT_EQ(m_first.sorts, (Texts{"0+", "0-", "1+"}));
  HDITEMA item = {};
  item.mask = HDI_FORMAT;
  m_first.GetFlatHeader().GetItem(1, &item);
  EXPECT_TRUE(item.fmt & HDF_OWNERDRAW) << "the sort column draws its own arrow";
  EXPECT_TRUE(m_second.sorts.empty());
}

TEST_F(ListTest, AHeadersSortCommandSortsOnlyItsOwnList) {
  m_second.GetFlatHeader().SortFromMenu(1, FALSE);
  EXPECT_EQ(m_second.sorts, (Texts{"1-"}));
  EXPECT_EQ(m_second.Column(1), (Texts{"3", "2", "1"}));
  EXPECT_TRUE(m_first.sorts.empty()) << "the other list in the window keeps its order";
  EXPECT_EQ(m_first.GetSortColumn(), -1);
}

TEST_F(ListTest, LockedColumnsAndLeastWidthsHold) {
  CTkFlatHeaderCtrl& header = m_first.GetFlatHeader();
  header.LockColumn(0);
  EXPECT_EQ(ChangeWidth(m_first, 0, 150), 1) << "a locked column refuses a new width";
  EXPECT_EQ(ChangeWidth(m_first, 1, 150), 0);
  header.SetMinWidth(40);
  EXPECT_EQ(ChangeWidth(m_first, 1, 20), 1) << "the header refuses a width below its least";
  header.SetMinWidth(0);
  m_first.SetMinColumnWidth(50);
  EXPECT_EQ(ChangeWidth(m_first, 1, 20), 0);
  EXPECT_EQ(m_changedWidth, 50) << "the list raises a width below its least";

  header.LockColumn(1);
  header.LockColumn(2);
  header.FitColumns(600);  // every column locked: nothing to share out
  EXPECT_EQ(m_first.GetColumnWidth(0), 100);
  EXPECT_EQ(m_first.GetColumnWidth(1), 60);
  header.UnlockColumn(1);
  header.UnlockColumn(2);
  header.FitColumns(300);
  EXPECT_EQ(m_first.GetColumnWidth(0), 100);
  EXPECT_EQ(m_first.GetColumnWidth(1), 150);
  EXPECT_EQ(m_first.GetColumnWidth(2), 150);
}

TEST_F(ListTest, ColumnWidthsComeBackWhenTheListIsMadeAgain) {
  m_first.EnableColumnStore(m_section, "Widths", nullptr);
  m_first.SetColumnWidth(0, 140);
  m_first.SetColumnWidth(2, 33);
  m_first.DestroyWindow();  // stores them

  CSortingList again;
  MakeList(again, 10, 803);
  EXPECT_EQ(again.GetColumnWidth(0), 100);
  again.EnableColumnStore(m_section, "Widths", nullptr);
  EXPECT_EQ(again.GetColumnWidth(0), 140);
  EXPECT_EQ(again.GetColumnWidth(1), 60);
  EXPECT_EQ(again.GetColumnWidth(2), 33);
  EXPECT_EQ(again.GetStoredColumnWidth(5), 0);
  again.DestroyWindow();
}

TEST_F(ListTest, RowsMoveWithAllTheirColumns) {
  ASSERT_TRUE(m_first.MoveRow(2, 0));
  EXPECT_EQ(m_first.Column(0), (Texts{"gamma", "beta", "alpha"}));
  EXPECT_EQ(m_first.Column(1), (Texts{"1", "2", "3"}));
  EXPECT_FALSE(m_first.CopyRow(1, 1));
  int col = -1;
  CRect rc;
  m_first.GetItemRect(1, &rc, LVIR_BOUNDS);
  EXPECT_EQ(m_first.HitTestEx(CPoint(rc.left + 120, rc.CenterPoint().y), &col), 1);
  EXPECT_EQ(col, 1);
}

}  // namespace
