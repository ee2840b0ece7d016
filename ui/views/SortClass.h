// CSortClass: sorts the rows of a list view by one column through the control's own sort. The
// control compares item data only, so while the sorter lives every row's item data is a sort
// item carrying the column's sort key, the row's check state and the row's own data; the
// destructor puts the rows' own data back.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/core/String.h"

class CListCtrl;

class CSortClass {
 public:
  enum Kind { kText = 0, kNumber = 1, kDate = 2 };
  // Orders: text 1 ascending, 0 descending, other checked rows first; number 0 descending,
  // other ascending; date 1 ascending, other descending.
  enum Order { kDescending = 0, kAscending = 1, kCheckedFirst = 2 };

  // The number a row without a number (or with 0, an engine that did not find the site) sorts
  // as, so that such rows follow every ranked row in ascending order.
  static constexpr int kNoNumber = 9999;

  struct CSortItemBase {
    virtual ~CSortItemBase() = default;
    DWORD_PTR m_own = 0;  // the row's own item data
  };
  struct CSortItem : CSortItemBase {
    CString m_text;
    BOOL m_checked = FALSE;
  };
  struct CSortItemInt : CSortItemBase {
    int m_number = 0;
  };
  struct CSortItemDate : CSortItemBase {
    CString m_key;  // "yyyymmdd", "00000000" for no date
  };

  CSortClass(CListCtrl* list, int column, int kind);
  ~CSortClass();
  CSortClass(const CSortClass&) = delete;
  CSortClass& operator=(const CSortClass&) = delete;

  void Sort(int order);

  // The comparisons the control is given, exposed for the tests of their rules.
  static int CALLBACK CompareText(LPARAM a, LPARAM b, LPARAM order);
  static int CALLBACK CompareNumber(LPARAM a, LPARAM b, LPARAM order);
  static int CALLBACK CompareDate(LPARAM a, LPARAM b, LPARAM order);

 private:
  std::unique_ptr<CSortItemBase> MakeItem(int row) const;

  CListCtrl* m_list;
  int m_column;
  int m_kind;
  std::vector<std::unique_ptr<CSortItemBase>> m_items;
};
