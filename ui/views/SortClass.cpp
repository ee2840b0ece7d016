#include "ui/views/SortClass.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/services/AppServices.h"
#include "framework/controls/ListCtrl.h"

CSortClass::CSortClass(CListCtrl* list, int column, int kind)
    : m_list(list), m_column(column), m_kind(kind) {
  const int count = m_list->GetItemCount();
  m_items.reserve(static_cast<size_t>(count));
  for (int row = 0; row < count; ++row) {
    m_items.push_back(MakeItem(row));
    m_list->SetItemData(row, reinterpret_cast<DWORD_PTR>(m_items.back().get()));
  }
}

CSortClass::~CSortClass() {
  for (int row = 0, count = m_list->GetItemCount(); row < count; ++row) {
    auto* item = reinterpret_cast<CSortItemBase*>(m_list->GetItemData(row));
    if (item) m_list->SetItemData(row, item->m_own);
  }
}

std::unique_ptr<CSortClass::CSortItemBase> CSortClass::MakeItem(int row) const {
  CString text = m_list->GetItemText(row, m_column);
  std::unique_ptr<CSortItemBase> made;
  if (m_kind == kNumber) {
    auto item = std::make_unique<CSortItemInt>();
    item->m_number = std::atoi(text);
    if (item->m_number == 0) item->m_number = kNoNumber;
    made = std::move(item);
  } else if (m_kind == kDate) {
    auto item = std::make_unique<CSortItemDate>();
    item->m_key = ParseDateLocale(text);
    made = std::move(item);
  } else {
    auto item = std::make_unique<CSortItem>();
    item->m_text = text;
    item->m_checked = (m_list->GetItemState(row, LVIS_STATEIMAGEMASK) >> 12) == 2;
    made = std::move(item);
  }
  made->m_own = m_list->GetItemData(row);
  return made;
}

void CSortClass::Sort(int order) {
  PFNLVCOMPARE compare = m_kind == kNumber ? CompareNumber : m_kind == kDate ? CompareDate : CompareText;
  m_list->SortItems(compare, static_cast<DWORD_PTR>(order));
}

int CALLBACK CSortClass::CompareText(LPARAM a, LPARAM b, LPARAM order) {
  const auto* x = reinterpret_cast<const CSortItem*>(a);
  const auto* y = reinterpret_cast<const CSortItem*>(b);
  if (order == kAscending) return _stricmp(x->m_text, y->m_text);
  if (order == kDescending) return _stricmp(y->m_text, x->m_text);
  if (x->m_checked != y->m_checked) return x->m_checked ? -1 : 1;
  return x->m_checked ? _stricmp(x->m_text, y->m_text) : 0;
}

int CALLBACK CSortClass::CompareNumber(LPARAM a, LPARAM b, LPARAM order) {
  int x = reinterpret_cast<const CSortItemInt*>(a)->m_number;
  int y = reinterpret_cast<const CSortItemInt*>(b)->m_number;
  if (order == kDescending) std::swap(x, y);
  return x < y ? -1 : x > y ? 1 : 0;
}

int CALLBACK CSortClass::CompareDate(LPARAM a, LPARAM b, LPARAM order) {
  const CString& x = reinterpret_cast<const CSortItemDate*>(a)->m_key;
  const CString& y = reinterpret_cast<const CSortItemDate*>(b)->m_key;
  int result = std::strcmp(x, y);
  return order == kAscending ? result : -result;
}
