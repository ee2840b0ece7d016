// The Configure columns page: which columns of the engine list show. A hidden column is one of
// width 0; the first column (the engine) always shows and is not listed.
#include <commctrl.h>

#include "app/settings/SearchProperties.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/options/OptionsPages.h"

BEGIN_MESSAGE_MAP(CPropConfigureColumns, COptionsPage)
  ON_LBN_SELCHANGE(IDC_OPT_COLUMN_LIST, OnListChange)
  ON_CONTROL(CLBN_CHKCHANGE, IDC_OPT_COLUMN_LIST, OnListChange)
END_MESSAGE_MAP()

CPropConfigureColumns::CPropConfigureColumns() : COptionsPage(IDD_PROP_COLUMNS, 4) {
  m_nColAutoSave = Settings().m_nColAutoSave;
}

BOOL CPropConfigureColumns::OnInitDialog() {
  COptionsPage::OnInitDialog();
  if (!m_hHeader) return TRUE;
  int count = static_cast<int>(::SendMessageA(m_hHeader, HDM_GETITEMCOUNT, 0, 0));
  for (int column = 1; column < count; ++column) {
    char title[257] = {};
    HDITEMA item = {};
    item.mask = HDI_WIDTH | HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = 256;
    if (!::SendMessageA(m_hHeader, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item))) continue;
    int entry = m_list.AddString(title);
    if (entry >= 0) m_list.SetCheck(entry, item.cxy >= 1 ? 1 : 0);
  }
  return TRUE;
}

void CPropConfigureColumns::DoDataExchange(CDataExchange* pDX) {
  COptionsPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_OPT_COLUMN_LIST, m_list);
  DDX_Check(pDX, IDC_OPT_COL_AUTOSAVE, m_nColAutoSave);
}

void CPropConfigureColumns::OnListChange() { SetModified(TRUE); }

// Through the list itself when the header is a list view's, so that the list lays out its
// cells anew; a bare header takes the width directly.
void CPropConfigureColumns::SetColumnWidth(int column, int width) {
  HWND parent = ::GetParent(m_hHeader);
  char className[32] = {};
  if (parent) ::GetClassNameA(parent, className, sizeof className);
  if (lstrcmpiA(className, WC_LISTVIEWA) == 0) {
    ::SendMessageA(parent, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0));
    return;
  }
  HDITEMA item = {};
  item.mask = HDI_WIDTH;
  item.cxy = width;
  ::SendMessageA(m_hHeader, HDM_SETITEMA, column, reinterpret_cast<LPARAM>(&item));
}

BOOL CPropConfigureColumns::OnApply() {
  Settings().m_nColAutoSave = m_nColAutoSave;
  Settings().Save();
  if (!m_hHeader || !::IsWindow(m_hHeader)) return TRUE;
  ::SendMessageA(m_hHeader, WM_SETREDRAW, FALSE, 0);
  int count = m_list.GetCount();
  for (int entry = 0; entry < count; ++entry) {
    int column = entry + 1;
    HDITEMA item = {};
    item.mask = HDI_WIDTH;
    if (!::SendMessageA(m_hHeader, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item))) continue;
    if (m_list.GetCheck(entry)) {
      if (item.cxy == 0) SetColumnWidth(column, kShownWidth);
    } else {
      SetColumnWidth(column, 0);
    }
  }
  ::SendMessageA(m_hHeader, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(m_hHeader, nullptr, TRUE);
  if (HWND parent = ::GetParent(m_hHeader)) ::InvalidateRect(parent, nullptr, TRUE);
  return TRUE;
}
