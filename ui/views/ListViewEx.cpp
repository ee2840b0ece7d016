#include "ui/views/ListViewEx.h"

#include <commctrl.h>

#include <cstdlib>

#include "app/settings/SearchProperties.h"
#include "app/program/StartupPhases.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/UpdateBroadcast.h"
#include "ui/Panes.h"

IMPLEMENT_DYNCREATE(CListViewEx, CListView)

BEGIN_MESSAGE_MAP(CListViewEx, CListView)
  ON_WM_CREATE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_RBUTTONDOWN()
  ON_WM_RBUTTONDBLCLK()
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_PAINT()
  ON_WM_DRAWITEM_REFLECT()
  ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnListKeyDown)
  ON_MESSAGE(WM_ZB_UPDATE, OnUpdateBroadcast)
END_MESSAGE_MAP()

BOOL CListViewEx::PreCreateWindow(CREATESTRUCTA& cs) {
  cs.style |= WS_CHILD | WS_VISIBLE | WS_BORDER;
  cs.style &= ~static_cast<DWORD>(LVS_SMALLICON | LVS_SHOWSELALWAYS);
  cs.style |= LVS_REPORT | LVS_OWNERDRAWFIXED;
  return CListView::PreCreateWindow(cs);
}

int CListViewEx::OnCreate(LPCREATESTRUCT lpcs) {
  if (CListView::OnCreate(lpcs) == -1) return -1;
  CListCtrl& list = GetListCtrl();
  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  return 0;
}

bool CListViewEx::IsRunActive() const {
  CZubrinDoc* doc = dynamic_cast<CZubrinDoc*>(GetDocument());
  if (!doc) doc = CZubrinDoc::GetDocument();
  return doc && doc->m_running != 0;
}

// ---- rows ----

int CListViewEx::GetRowState(int item) const {
  DWORD_PTR data = GetListCtrl().GetItemData(item);
  if (data <= static_cast<DWORD_PTR>(kRowHighlight)) return static_cast<int>(data);
  return GetCheck(item) ? kRowNormal : kRowDisabled;
}

BOOL CListViewEx::GetCheck(int item) const {
  UINT state = GetListCtrl().GetItemState(item, LVIS_STATEIMAGEMASK);
  return (state >> 12) == 2;
}

void CListViewEx::SetCheck(int item, BOOL checked) {
  GetListCtrl().SetItemState(item, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1), LVIS_STATEIMAGEMASK);
}

void CListViewEx::InvalidateRow(int item) {
  RECT bounds;
  if (m_hWnd && GetListCtrl().GetItemRect(item, &bounds, LVIR_BOUNDS))
    ::InvalidateRect(m_hWnd, &bounds, FALSE);
}

void CListViewEx::SelectRow(int item) {
  CListCtrl& list = GetListCtrl();
  for (int i = list.GetNextItem(-1, LVNI_SELECTED); i != -1; i = list.GetNextItem(i, LVNI_SELECTED))
    list.SetItemState(i, 0, LVIS_SELECTED | LVIS_FOCUSED);
  if (item < 0 || item >= list.GetItemCount()) return;
  list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  list.EnsureVisible(item, FALSE);
}

int CListViewEx::GetColumnCount() const {
  HWND header = GetListCtrl().GetHeaderCtrl();
  return header ? Header_GetItemCount(header) : 0;
}

void CListViewEx::SetListColors(COLORREF text, COLORREF background) {
  CListCtrl& list = GetListCtrl();
  list.SetTextColor(text);
  list.SetTextBkColor(background);
  list.SetBkColor(background);
}

// ---- column widths ----

void CListViewEx::SaveColumnWidths() {
  CString widths;
  for (int i = 0, n = GetColumnCount(); i < n; ++i) {
    CString field;
    field.Format("%d,", GetListCtrl().GetColumnWidth(i));
    widths += field;
  }
  CSearchProperties& settings = GetSearchProperties();
  settings.m_strColWidths = widths;
  settings.Save();
}

void CListViewEx::RestoreColumnWidths() {
  const char* field = GetSearchProperties().m_strColWidths;
  for (int i = 0, n = GetColumnCount(); i < n; ++i) {
    // A missing or non-numeric field gives 0, as atoi does.
    int width = field ? std::atoi(field) : 0;
    GetListCtrl().SetColumnWidth(i, width & 0xFFFF);
    if (field) field = std::strchr(field, ',');
    if (field) ++field;
  }
}

// ---- colours ----

COLORREF CListViewEx::GetRowTextColor(int rowState) {
  if (rowState == kRowDisabled) return ::GetSysColor(COLOR_GRAYTEXT);
  if (rowState == kRowMovedDown) return RGB(255, 255, 255);
  return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR));
}

COLORREF CListViewEx::GetRowBkColor(int rowState) {
  switch (rowState) {
    case kRowMovedUp: return RGB(0, 255, 0);
    case kRowMovedDown: return RGB(255, 0, 0);
    case kRowFirst: return RGB(255, 255, 0);
    default: return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR));
  }
}

void CListViewEx::OnCheckChanged(int, BOOL, BOOL) {}

// ---- mouse ----

int CListViewEx::ItemAt(CPoint point) const {
  LVHITTESTINFO hit = {};
  hit.pt = point;
  int item = GetListCtrl().HitTest(&hit);
  return (hit.flags & LVHT_ONITEM) ? item : -1;
}

int CListViewEx::CheckBoxHit(CPoint point) const {
  CListCtrl& list = GetListCtrl();
  if (!(list.GetExtendedStyle() & LVS_EX_CHECKBOXES)) return -1;
  if (!(::GetWindowLongA(m_hWnd, GWL_STYLE) & LVS_OWNERDRAWFIXED)) return -1;
  int item = ItemAt(point);
  RECT icon;
  if (item < 0 || !list.GetItemRect(item, &icon, LVIR_ICON)) return -1;
  return point.x < icon.left ? item : -1;
}

void CListViewEx::OnLButtonDown(UINT, CPoint point) {
  int box = CheckBoxHit(point);
  if (box >= 0) {
    // The control never toggles the box itself: the derived view decides what a check means.
    if (!IsRunActive()) OnCheckChanged(box, !GetCheck(box), FALSE);
    return;
  }
  if (ItemAt(point) < 0) return;
  Default();
}

void CListViewEx::OnLButtonDblClk(UINT, CPoint point) {
  if (ItemAt(point) < 0 || CheckBoxHit(point) >= 0) return;
  Default();
}

void CListViewEx::OnRButtonDown(UINT, CPoint point) {
  if (ItemAt(point) >= 0) Default();
}

void CListViewEx::OnRButtonDblClk(UINT, CPoint point) {
  if (ItemAt(point) >= 0) Default();
}

// ---- keys ----

void CListViewEx::OnKeyDown(UINT nChar, UINT, UINT) {
  switch (nChar) {
    case VK_RETURN:
      PostMessage(WM_COMMAND, ID_RUN_CHECK_ALL);
      return;
    case VK_ESCAPE:
      PostMessage(WM_COMMAND, ID_RUN_STOP);
      break;
    case VK_SPACE:
      // During a run the space bar may no more change a check box than a click may; the
      // control would toggle the box itself, so the key does not reach it at all.
      if (IsRunActive() && (GetListCtrl().GetExtendedStyle() & LVS_EX_CHECKBOXES)) return;
      break;
    default:
      break;
  }
  Default();
}

void CListViewEx::OnListKeyDown(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (reinterpret_cast<NMLVKEYDOWN*>(pNMHDR)->wVKey != VK_SPACE || IsRunActive()) return;
  CListCtrl& list = GetListCtrl();
  int row = -1;
  for (int i = list.GetNextItem(-1, LVNI_SELECTED); i != -1; i = list.GetNextItem(i, LVNI_SELECTED)) {
    row = i;
    if (list.GetItemState(i, LVIS_FOCUSED)) break;
  }
  if (row >= 0) OnCheckChanged(row, !GetCheck(row), TRUE);
}

// ---- focus and painting ----

void CListViewEx::RedrawSelectedRows() {
  CListCtrl& list = GetListCtrl();
  for (int i = list.GetNextItem(-1, LVNI_SELECTED); i != -1; i = list.GetNextItem(i, LVNI_SELECTED))
    InvalidateRow(i);
}

void CListViewEx::OnSetFocus(CWnd* pOldWnd) {
  Default();
  if (!pOldWnd || ::GetParent(pOldWnd->m_hWnd) != m_hWnd) RedrawSelectedRows();
}

void CListViewEx::OnKillFocus(CWnd* pNewWnd) {
  Default();
  if (!pNewWnd || ::GetParent(pNewWnd->m_hWnd) != m_hWnd) RedrawSelectedRows();
}

void CListViewEx::OnPaint() {
  if ((::GetWindowLongA(m_hWnd, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT) {
    RECT client, row;
    ::GetClientRect(m_hWnd, &client);
    if (GetListCtrl().GetItemRect(0, &row, LVIR_BOUNDS) && row.right < client.right) {
      // The highlight runs to the client's right edge, beyond the last column.
      RECT strip = {row.right - 1, client.top, client.right, client.bottom};
      ::InvalidateRect(m_hWnd, &strip, FALSE);
    }
  }
  Default();
  // The engine list's rows on the screen: what the user waits for at start-up.
  if (m_hWnd == g_hEngineViewWnd) MarkStartupPhase(startup::kFirstPaint);
}

LRESULT CListViewEx::OnUpdateBroadcast(WPARAM wParam, LPARAM lParam) {
  OnUpdate(nullptr, static_cast<LPARAM>(wParam), reinterpret_cast<CObject*>(lParam));
  return 0;
}

// ---- drawing ----

namespace {

UINT AlignmentOf(int format) {
  switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
  }
}

const UINT kCellText = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

}  // namespace

void CListViewEx::DrawItem(LPDRAWITEMSTRUCT dis) {
  CListCtrl& list = GetListCtrl();
  HDC dc = dis->hDC;
  const int item = static_cast<int>(dis->itemID);
  char text[512] = "";
  LVITEMA lvi = {};
  lvi.mask = LVIF_IMAGE | LVIF_STATE | LVIF_TEXT;
  lvi.iItem = item;
  lvi.stateMask = 0xFFFF;
  lvi.pszText = text;
  lvi.cchTextMax = sizeof text;
  list.GetItem(&lvi);
  const int rowState = GetRowState(item);

  const bool focused = ::GetFocus() == m_hWnd;
  const bool showSelAlways = (::GetWindowLongA(m_hWnd, GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
  const bool highlighted = (lvi.state & LVIS_DROPHILITED) ||
                           ((lvi.state & LVIS_SELECTED) && (focused || showSelAlways));

  RECT bounds, label, icon, client;
  list.GetItemRect(item, &bounds, LVIR_BOUNDS);
  list.GetItemRect(item, &label, LVIR_LABEL);
  list.GetItemRect(item, &icon, LVIR_ICON);
  ::GetClientRect(m_hWnd, &client);
  SIZE blank = {};
  ::GetTextExtentPoint32A(dc, " ", 1, &blank);
  const int margin = blank.cx * 2;
  RECT highlight = {label.left, bounds.top, client.right, bounds.bottom};

  const int saved = ::SaveDC(dc);
  const COLORREF background = GetRowBkColor(highlighted ? kRowHighlight : rowState);
  ::SetTextColor(dc, GetRowTextColor(rowState));
  ::SetBkColor(dc, background);
  HBRUSH brush = ::CreateSolidBrush(background);
  ::FillRect(dc, &highlight, brush);
  ::DeleteObject(brush);

  if (HIMAGELIST states = ListView_GetImageList(m_hWnd, LVSIL_STATE)) {
    int image = static_cast<int>((lvi.state & LVIS_STATEIMAGEMASK) >> 12);
    if (image > 0)
      ImageList_Draw(states, image - 1, dc, bounds.left, bounds.top, ILD_TRANSPARENT);
  }
  if (HIMAGELIST small = ListView_GetImageList(m_hWnd, LVSIL_SMALL)) {
    UINT style = ILD_TRANSPARENT | (lvi.state & LVIS_OVERLAYMASK) | (highlighted ? ILD_BLEND50 : 0);
    if (lvi.iImage >= 0) ImageList_Draw(small, lvi.iImage, dc, icon.left, icon.top, style);
  }

  RECT cell = label;
  cell.left += margin / 2;
  cell.right -= margin;
  ::DrawTextA(dc, text, -1, &cell, kCellText | DT_NOCLIP);

  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH;
  int right = label.right;
  for (int sub = 1; list.SendMessage(LVM_GETCOLUMNA, sub, reinterpret_cast<LPARAM>(&column)); ++sub) {
    RECT area = {right, bounds.top, right + column.cx, bounds.bottom};
    right = area.right;
    CString cellText = list.GetItemText(item, sub);
    if (cellText.IsEmpty()) continue;
    area.left += margin;
    area.right -= margin;
    ::DrawTextA(dc, cellText, -1, &area, kCellText | AlignmentOf(column.fmt));
  }

  if ((lvi.state & LVIS_FOCUSED) && focused) ::DrawFocusRect(dc, &highlight);
  ::RestoreDC(dc, saved);
}
