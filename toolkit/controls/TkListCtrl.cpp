#include "toolkit/controls/TkListCtrl.h"

#include "framework/wnd/WindowDc.h"
#include "toolkit/gdi/TkMemDC.h"

BEGIN_MESSAGE_MAP(CTkListCtrl, CListCtrl)
  ON_WM_CREATE()
  ON_NOTIFY_REFLECT_EX(NM_CUSTOMDRAW, OnCustomDraw)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_SETTINGCHANGE()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_TK_DEFERRED_INIT, OnDeferredInit)
END_MESSAGE_MAP()

int CTkListCtrl::OnCreate(LPCREATESTRUCT lpcs) {
  if (CListCtrl::OnCreate(lpcs) == -1) return -1;
  SendMessage(WM_TK_DEFERRED_INIT);
  return 0;
}

void CTkListCtrl::PreSubclassWindow() {
  CListCtrl::PreSubclassWindow();
  PostMessage(WM_TK_DEFERRED_INIT);
}

LRESULT CTkListCtrl::OnDeferredInit(WPARAM, LPARAM) {
  if (m_bInitPending) {
    m_bInitPending = FALSE;
    ApplyListFont();
  }
  return 0;
}

// Header notifications count only when they come from this list's own header: the header's sort
// commands are sent to every window of the owner, and another list must not sort on them.
BOOL CTkListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  BOOL bHeaderCode = static_cast<int>(hdr->code) <= static_cast<int>(HDN_FIRST) &&
                     static_cast<int>(hdr->code) >= static_cast<int>(HDN_LAST);
  if (bHeaderCode) {
    HWND hOwnHeader = GetHeaderCtrl();
    if (!hOwnHeader || hdr->hwndFrom != hOwnHeader) {
      *pResult = 0;
      return hdr->code == HDN_ITEMCLICKA;  // another header's sort command: not ours
    }
    *pResult = 0;
    if (OnHeaderNotify(hdr, pResult)) return TRUE;
  }
  return CListCtrl::OnNotify(wParam, lParam, pResult);
}

BOOL CTkListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
  *pResult = CDRF_DODEFAULT;
  if (cd->nmcd.dwDrawStage == CDDS_PREPAINT) {
    *pResult = CDRF_NOTIFYITEMDRAW;
  } else if (cd->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
    int nRow = static_cast<int>(cd->nmcd.dwItemSpec);
    if (nRow < GetItemCount() && IsWindowEnabled() && !(GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED)) {
      cd->clrText = m_clrText;
      cd->clrTextBk = m_clrBack;
    }
  }
  return TRUE;
}

void CTkListCtrl::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  HWND hHeader = GetHeaderCtrl();
  if ((GetStyle() & LVS_TYPEMASK) == LVS_REPORT && hHeader && ::IsWindowVisible(hHeader)) {
    CRect rcHeader;
    ::GetWindowRect(hHeader, &rcHeader);
    ScreenToClient(&rcHeader);
    dc.ExcludeClipRect(&rcHeader);
  }
  CTkMemDC mem(&dc, rc, m_clrBack);
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(mem.GetSafeHdc()), 0);
}

void CTkListCtrl::ScrollWithoutFlicker(UINT message) {
  SetRedraw(FALSE);
  Default();
  SetRedraw(TRUE);
  Invalidate(TRUE);
  UpdateWindow();
  SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  (void)message;
}

void CTkListCtrl::OnHScroll(UINT, UINT, CScrollBar*) {
  ScrollWithoutFlicker(WM_HSCROLL);
}

void CTkListCtrl::OnVScroll(UINT, UINT, CScrollBar*) {
  ScrollWithoutFlicker(WM_VSCROLL);
}

void CTkListCtrl::OnSettingChange(UINT uFlags, LPCSTR lpszSection) {
  CListCtrl::OnSettingChange(uFlags, lpszSection);
  m_nMaxColWidth = ::GetSystemMetrics(SM_CXFULLSCREEN);
}

void CTkListCtrl::OnDestroy() {
  if (m_bStoreWidths) StoreColumnWidths();
  CListCtrl::OnDestroy();
}
