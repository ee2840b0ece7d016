#include "toolkit/controls/TkListCtrlBase.h"

#include <cstdlib>

#include "framework/app/AfxResource.h"
#include "framework/wnd/WindowDc.h"
#include "resources/ids/ToolkitLayoutIds.h"
#include "toolkit/controls/TkControlFonts.h"
#include "toolkit/services/TkProfileStore.h"

CTkListCtrlBase::CTkListCtrlBase(CListCtrl* pList)
    : m_pList(pList), m_nMaxColWidth(::GetSystemMetrics(SM_CXFULLSCREEN)),
      m_clrText(::GetSysColor(COLOR_WINDOWTEXT)), m_clrBack(::GetSysColor(COLOR_WINDOW)) {}

BOOL CTkListCtrlBase::IsReportView() const {
  return m_pList->GetSafeHwnd() && (m_pList->GetStyle() & LVS_TYPEMASK) == LVS_REPORT;
}

BOOL CTkListCtrlBase::SubclassHeader(BOOL bBoldFont) {
  if (!IsReportView() || m_header.GetSafeHwnd()) return FALSE;
  HWND hHeader = m_pList->GetHeaderCtrl();
  if (!hHeader || !m_header.SubclassWindow(hHeader)) return FALSE;
  m_header.SetBoldFontNoRedraw(bBoldFont);
  return TRUE;
}

BOOL CTkListCtrlBase::SortList(int, BOOL) {
  return TRUE;
}

void CTkListCtrlBase::SetSortArrow(int nCol, BOOL bAscending) {
  if (m_header.GetSafeHwnd()) m_header.SetSortImage(nCol, bAscending);
}

int CTkListCtrlBase::AddColumn(LPCSTR lpszText, int nWidth, int nFormat) {
  if (!IsReportView() || !m_pList->GetHeaderCtrl()) return -1;
  int nCount = GetColumnCount();
  if (nWidth == -1) nWidth = nCount > 0 ? m_pList->GetColumnWidth(nCount - 1) : 0;
  return m_pList->InsertColumn(nCount, lpszText, nFormat, nWidth, nCount);
}

BOOL CTkListCtrlBase::BuildColumns(int nCount, const int* pWidths, const UINT* pStringIDs) {
  for (int i = 0; i < nCount; ++i) {
    if (AddColumn(AfxLoadString(pStringIDs[i]).c_str(), pWidths[i]) < 0) return FALSE;
  }
  return TRUE;
}

BOOL CTkListCtrlBase::BuildColumns(int nCount, const int* pWidths, const LPCSTR* pTexts) {
  for (int i = 0; i < nCount; ++i) {
    if (AddColumn(pTexts[i], pWidths[i]) < 0) return FALSE;
  }
  return TRUE;
}

int CTkListCtrlBase::GetColumnCount() const {
  if (!IsReportView()) return -1;
  return static_cast<int>(::SendMessageA(m_pList->GetHeaderCtrl(), HDM_GETITEMCOUNT, 0, 0));
}

int CTkListCtrlBase::HitTestEx(CPoint point, int* pCol) const {
  LVHITTESTINFO hti = {};
  hti.pt = point;
  int nRow = m_pList->HitTest(&hti);
  if (pCol) *pCol = 0;
  if (!IsReportView()) return nRow;
  int nTop = m_pList->GetTopIndex();
  int nBottom = nTop + m_pList->GetCountPerPage();
  if (nBottom > m_pList->GetItemCount()) nBottom = m_pList->GetItemCount();
  int nColumns = GetColumnCount();
  for (int row = nTop; row <= nBottom && row < m_pList->GetItemCount(); ++row) {
    CRect rc;
    m_pList->GetItemRect(row, &rc, LVIR_BOUNDS);
    if (!rc.PtInRect(point)) continue;
    int x = rc.left;
    for (int col = 0; col < nColumns; ++col) {
      int cx = m_pList->GetColumnWidth(col);
      if (point.x >= x && point.x <= x + cx) {
        if (pCol) *pCol = col;
        return row;
      }
      x += cx;
    }
  }
  return -1;
}

BOOL CTkListCtrlBase::CopyRow(int nFrom, int nTo) {
  if (nFrom == nTo || nFrom < 0 || nTo < 0) return FALSE;
  if (m_pList->InsertItem(nTo, m_pList->GetItemText(nFrom, 0)) < 0) return FALSE;
  if (nTo <= nFrom) ++nFrom;  // the source moved down by the new row
  for (int col = 1; col < GetColumnCount(); ++col) {
    m_pList->SetItemText(nTo, col, m_pList->GetItemText(nFrom, col));
  }
  return TRUE;
}

BOOL CTkListCtrlBase::MoveRow(int nFrom, int nTo) {
  if (!CopyRow(nFrom, nTo)) return FALSE;
  return m_pList->DeleteItem(nTo < nFrom ? nFrom + 1 : nFrom);
}

void CTkListCtrlBase::SetListColors(COLORREF clrText, COLORREF clrBack) {
  m_clrText = clrText;
  m_clrBack = clrBack;
  if (m_pList->GetSafeHwnd()) m_pList->Invalidate();
}

void CTkListCtrlBase::SetExtendedStyle(DWORD dwBits) {
  m_pList->SetExtendedStyle(m_pList->GetExtendedStyle() | dwBits);
}

DWORD CTkListCtrlBase::GetExtendedStyle() const {
  return m_pList->GetExtendedStyle();
}

CString CTkListCtrlBase::StorageSection() const {
  if (m_strKey.IsEmpty()) return m_strSection;
  return m_strKey + "\\" + m_strSection;
}

void CTkListCtrlBase::EnableColumnStore(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszKey) {
  m_bStoreWidths = TRUE;
  m_strSection = lpszSection ? lpszSection : AfxLoadString(IDS_TK_COLUMN_SECTION).c_str();
  m_strEntry = lpszEntry ? lpszEntry : AfxLoadString(IDS_TK_COLUMN_ENTRY).c_str();
  m_strKey = lpszKey ? lpszKey : "";
  RestoreColumnWidths();
}

void CTkListCtrlBase::StoreColumnWidths() {
  if (!IsReportView()) return;
  CString strWidths;
  for (int col = 0; col < GetColumnCount(); ++col) {
    CString one;
    one.Format("%d,", m_pList->GetColumnWidth(col));
    strWidths += one;
  }
  CTkProfileStore store(HKEY_CURRENT_USER);
  store.WriteProfileString(StorageSection(), m_strEntry, strWidths);
}

int CTkListCtrlBase::WidthField(const CString& strWidths, int nIndex) {
  int nStart = 0;
  for (int i = 0; i < nIndex; ++i) {
    int nComma = strWidths.Find(',', nStart);
    if (nComma < 0) return 0;
    nStart = nComma + 1;
  }
  return std::atoi(strWidths.Mid(nStart).GetString());
}

int CTkListCtrlBase::GetStoredColumnWidth(int nCol) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  return WidthField(store.GetProfileString(StorageSection(), m_strEntry, ""), nCol);
}

void CTkListCtrlBase::RestoreColumnWidth(int nCol) {
  m_pList->SetColumnWidth(nCol, GetStoredColumnWidth(nCol));
}

void CTkListCtrlBase::RestoreColumnWidths() {
  CTkProfileStore store(HKEY_CURRENT_USER);
  CString strWidths = store.GetProfileString(StorageSection(), m_strEntry, "");
  // Nothing stored yet: the columns keep the widths they were built with.
  if (strWidths.IsEmpty()) return;
  for (int col = 0; col < GetColumnCount(); ++col) {
    m_pList->SetColumnWidth(col, WidthField(strWidths, col));
  }
}

int CTkListCtrlBase::AutoWidth(int nContentWidth, int nHeaderTextWidth, BOOL bSortArrow, int nMin,
                               int nMax) {
  int t = nHeaderTextWidth + 12 + (bSortArrow ? 24 : 0);
  int w = nContentWidth > t ? nContentWidth : t;
  if (w < nMin) w = nMin;
  if (w > nMax) w = nMax;
  return w;
}

void CTkListCtrlBase::AutoSizeColumn(int nCol) {
  m_pList->SetRedraw(FALSE);
  int nFirst = nCol < 0 ? 0 : nCol;
  int nLast = nCol < 0 ? GetColumnCount() - 1 : nCol;
  HWND hHeader = m_pList->GetHeaderCtrl();
  for (int col = nFirst; col <= nLast; ++col) {
    m_pList->SetColumnWidth(col, LVSCW_AUTOSIZE);
    int w = m_pList->GetColumnWidth(col);
    char szText[256] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = szText;
    item.cchTextMax = sizeof szText;
    ::SendMessageA(hHeader, HDM_GETITEMA, col, reinterpret_cast<LPARAM>(&item));
    HDC hdc = ::GetDC(hHeader);
    HGDIOBJ hOld = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(::SendMessageA(hHeader, WM_GETFONT, 0, 0)));
    SIZE size = {};
    ::GetTextExtentPoint32A(hdc, szText, lstrlenA(szText), &size);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hHeader, hdc);
    BOOL bArrow = col == m_nSortCol && m_header.GetSafeHwnd() && m_header.IsSortArrowShown();
    m_pList->SetColumnWidth(col, AutoWidth(w, size.cx, bArrow, m_nMinColWidth, m_nMaxColWidth));
  }
  m_pList->SetRedraw(TRUE);
  m_pList->Invalidate();
}

BOOL CTkListCtrlBase::NextSortDirection(int nSortCol, BOOL bAscending, int nClickedCol,
                                        int nButton, int nHeaderAscending, BOOL* pAscending) {
  if (nButton == 0) {
    *pAscending = nClickedCol == nSortCol ? !bAscending : TRUE;
    return TRUE;
  }
  if (nButton == 1) {
    *pAscending = nHeaderAscending == 1;
    return TRUE;
  }
  return FALSE;
}

BOOL CTkListCtrlBase::OnHeaderNotify(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMHEADERA*>(pNMHDR);
  switch (pNMHDR->code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW:
      if (!m_bNoColumnSizing) return FALSE;
      *pResult = 1;
      return TRUE;
    case HDN_ITEMCLICKA:
    case HDN_ITEMCLICKW: {
      if (!m_header.GetSafeHwnd()) return FALSE;
      BOOL bAscending = m_bAscending;
      if (!NextSortDirection(m_nSortCol, m_bAscending, nm->iItem, nm->iButton,
                             m_header.GetAscending(), &bAscending)) {
        return FALSE;
      }
      m_bAscending = bAscending;
      m_nSortCol = nm->iItem;
      m_header.SetSortImage(m_nSortCol, m_bAscending);
      SortList(m_nSortCol, m_bAscending);
      return FALSE;
    }
    case HDN_ITEMCHANGINGA:
    case HDN_ITEMCHANGINGW:
    case HDN_ENDTRACKA:
    case HDN_ENDTRACKW:
      // The A and W item records keep the width at the same place.
      if (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->pitem->cxy < m_nMinColWidth) {
        nm->pitem->cxy = m_nMinColWidth;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void CTkListCtrlBase::ApplyListFont() {
  if (m_bFontFlag && m_pList->GetSafeHwnd()) TkApplyFont(m_pList->m_hWnd, TkGetNormalFont(), TRUE);
}
