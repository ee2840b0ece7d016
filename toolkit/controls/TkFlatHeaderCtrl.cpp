#include "toolkit/controls/TkFlatHeaderCtrl.h"

#include <vector>

#include "framework/wnd/WindowDc.h"
#include "resources/ids/ToolkitLayoutIds.h"
#include "toolkit/controls/TkControlFonts.h"
#include "toolkit/gdi/TkMemDC.h"

BEGIN_MESSAGE_MAP(CTkFlatHeaderCtrl, CTkHeaderCtrl)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_RBUTTONDOWN()
  ON_WM_DRAWITEM_REFLECT()
  ON_MESSAGE(WM_TK_DEFERRED_INIT, OnDeferredInit)
  ON_COMMAND(ID_TK_HEADER_SORT_ASC, OnSortAscending)
  ON_COMMAND(ID_TK_HEADER_SORT_DESC, OnSortDescending)
  ON_COMMAND(ID_TK_HEADER_ALIGN_LEFT, OnAlignLeft)
  ON_COMMAND(ID_TK_HEADER_ALIGN_CENTER, OnAlignCenter)
  ON_COMMAND(ID_TK_HEADER_ALIGN_RIGHT, OnAlignRight)
END_MESSAGE_MAP()

namespace {
bool IsListWindow(HWND hWnd) {
  char szClass[32] = "";
  return hWnd && ::GetClassNameA(hWnd, szClass, sizeof szClass) &&
         lstrcmpiA(szClass, WC_LISTVIEWA) == 0;
}
}  // namespace

HWND CTkFlatHeaderCtrl::GetParentList() const {
  HWND hParent = ::GetParent(m_hWnd);
  return IsListWindow(hParent) ? hParent : nullptr;
}

BOOL CTkFlatHeaderCtrl::HasClickableHeader() const {
  HWND hList = GetParentList();
  return hList && !(::GetWindowLongA(hList, GWL_STYLE) & LVS_NOSORTHEADER);
}

int CTkFlatHeaderCtrl::OnCreate(LPCREATESTRUCT lpcs) {
  if (CTkHeaderCtrl::OnCreate(lpcs) == -1) return -1;
  SendMessage(WM_TK_DEFERRED_INIT);
  return 0;
}

void CTkFlatHeaderCtrl::PreSubclassWindow() {
  CTkHeaderCtrl::PreSubclassWindow();
  PostMessage(WM_TK_DEFERRED_INIT);
}

// The list draws over its header unless it clips its children.
LRESULT CTkFlatHeaderCtrl::OnDeferredInit(WPARAM, LPARAM) {
  if (m_bInitPending) {
    m_bInitPending = FALSE;
    HWND hParent = ::GetParent(m_hWnd);
    if (hParent) {
      ::SetWindowLongA(hParent, GWL_STYLE, ::GetWindowLongA(hParent, GWL_STYLE) | WS_CLIPCHILDREN);
    }
  }
  return 0;
}

void CTkFlatHeaderCtrl::SetHeaderMenu(UINT nMenuID, int nSubMenu) {
  m_nMenuID = nMenuID;
  m_nSubMenu = nSubMenu;
}

void CTkFlatHeaderCtrl::SetBoldFont(BOOL bBold) {
  SetBoldFontNoRedraw(bBold);
  Invalidate();
}

void CTkFlatHeaderCtrl::SetBoldFontNoRedraw(BOOL bBold) {
  TkApplyFont(m_hWnd, bBold ? TkGetBoldFont() : TkGetNormalFont(), TRUE);
}

int CTkFlatHeaderCtrl::SetSortImage(int nCol, BOOL bAscending) {
  m_nSortCol = nCol;
  m_nAscending = bAscending ? 1 : 0;
  HDITEMA item = {};
  item.mask = HDI_FORMAT | HDI_BITMAP;
  GetItem(nCol, &item);
  if (!item.hbm) {
    item.mask = HDI_FORMAT;
    item.fmt |= HDF_OWNERDRAW;
    SetItem(nCol, &item);
  }
  Invalidate();
  return static_cast<int>(reinterpret_cast<INT_PTR>(item.hbm));
}

void CTkFlatHeaderCtrl::ShowSortArrow(BOOL bShow) {
  m_bShowArrow = bShow;
  Invalidate();
}

int CTkFlatHeaderCtrl::HitTestItem(CPoint point) const {
  for (int i = 0; i < GetItemCount(); ++i) {
    CRect rc;
    GetItemRect(i, &rc);
    if (rc.PtInRect(point)) return i;
  }
  return -1;
}

void CTkFlatHeaderCtrl::SetColumnAlign(int nFormat) {
  HWND hList = GetParentList();
  int nCol = HitTestItem(m_ptLastRClick);
  if (!hList || nCol < 0) return;
  LVCOLUMNA col = {};
  col.mask = LVCF_FMT;
  ::SendMessageA(hList, LVM_GETCOLUMNA, nCol, reinterpret_cast<LPARAM>(&col));
  col.fmt = (col.fmt & ~LVCFMT_JUSTIFYMASK) | nFormat;
  ::SendMessageA(hList, LVM_SETCOLUMNA, nCol, reinterpret_cast<LPARAM>(&col));
  ::SendMessageA(hList, LVM_SETWORKAREAS, 0, 0);
}

void CTkFlatHeaderCtrl::OnSortAscending() {
  int nCol = HitTestItem(m_ptLastRClick);
  if (nCol == m_nSortCol && m_nAscending == 1) return;
  SortFromMenu(nCol, TRUE);
}

void CTkFlatHeaderCtrl::OnSortDescending() {
  int nCol = HitTestItem(m_ptLastRClick);
  if (nCol == m_nSortCol && m_nAscending == 0) return;
  SortFromMenu(nCol, FALSE);
}

void CTkFlatHeaderCtrl::SortFromMenu(int nCol, BOOL bAscending) {
  if (nCol < 0) return;
  m_nAscending = bAscending ? 1 : 0;
  m_nSortCol = nCol;
  NotifySort(nCol);
}

// Tells the list as a click with button 1 would, sent to the list's owner and everything below
// it; each list acts only on what its own header sends.
void CTkFlatHeaderCtrl::NotifySort(int nCol) {
  HWND hList = GetParentList();
  if (!hList) return;
  CWnd* pOwner = CWnd::FromHandle(hList)->GetOwner();
  if (!pOwner || !pOwner->GetSafeHwnd()) return;
  char szText[256] = "";
  HDITEMA item = {};
  item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_BITMAP | HDI_IMAGE | HDI_ORDER;
  item.pszText = szText;
  item.cchTextMax = sizeof szText;
  GetItem(nCol, &item);
  NMHEADERA nm = {};
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
  nm.hdr.code = HDN_ITEMCLICKA;
  nm.iItem = nCol;
  nm.iButton = 1;
  nm.pitem = &item;
  pOwner->SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
  pOwner->SendMessageToDescendants(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
}

void CTkFlatHeaderCtrl::OnRButtonDown(UINT nFlags, CPoint point) {
  m_ptLastRClick = point;
  HWND hList = GetParentList();
  BOOL bSortable = !hList || !(::GetWindowLongA(hList, GWL_STYLE) & LVS_NOSORTHEADER);
  if (!bSortable || !m_bSortMenu) {
    CTkHeaderCtrl::OnRButtonDown(nFlags, point);
    return;
  }
  CPoint ptScreen = point;
  ClientToScreen(&ptScreen);
  CMenu menu;
  if (m_nMenuID) {
    if (menu.LoadMenu(m_nMenuID)) {
      HMENU hSub = ::GetSubMenu(menu.GetSafeHmenu(), m_nSubMenu);
      if (hSub) {
        ::TrackPopupMenu(hSub, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0, GetOwner()->GetSafeHwnd(),
                         nullptr);
      }
    }
    return;
  }
  int nCol = HitTestItem(point);
  if (nCol < 0 || !menu.LoadMenu(IDR_TK_HEADER_MENU)) return;
  HMENU hSub = ::GetSubMenu(menu.GetSafeHmenu(), 2);
  if (!hSub) return;
  if (nCol == m_nSortCol) {
    ::CheckMenuItem(hSub, m_nAscending == 1 ? ID_TK_HEADER_SORT_ASC : ID_TK_HEADER_SORT_DESC,
                    MF_BYCOMMAND | MF_CHECKED);
  }
  if (hList) {
    LVCOLUMNA col = {};
    col.mask = LVCF_FMT;
    ::SendMessageA(hList, LVM_GETCOLUMNA, nCol, reinterpret_cast<LPARAM>(&col));
    int fmt = col.fmt & LVCFMT_JUSTIFYMASK;
    UINT nMark = fmt == LVCFMT_RIGHT    ? ID_TK_HEADER_ALIGN_RIGHT
                 : fmt == LVCFMT_CENTER ? ID_TK_HEADER_ALIGN_CENTER
                                        : ID_TK_HEADER_ALIGN_LEFT;
    ::CheckMenuItem(hSub, nMark, MF_BYCOMMAND | MF_CHECKED);
  }
  ::TrackPopupMenu(hSub, TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0, m_hWnd, nullptr);
}

void CTkFlatHeaderCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
  m_bLButtonDown = TRUE;
  CTkHeaderCtrl::OnLButtonDown(nFlags, point);
}

void CTkFlatHeaderCtrl::OnLButtonUp(UINT nFlags, CPoint point) {
  m_bLButtonDown = FALSE;
  CTkHeaderCtrl::OnLButtonUp(nFlags, point);
}

void CTkFlatHeaderCtrl::OnWindowPosChanged(WINDOWPOS* pPos) {
  CTkHeaderCtrl::OnWindowPosChanged(pPos);
  Invalidate(TRUE);
}

void CTkFlatHeaderCtrl::OnPaint() {
  CPaintDC dc(this);
  CRect rc;
  GetClientRect(&rc);
  CTkMemDC mem(&dc, rc, ::GetSysColor(COLOR_BTNFACE));
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(mem.GetSafeHdc()), 0);
  DrawFlatBorders(&mem, rc);
}

void CTkFlatHeaderCtrl::DrawFlatBorders(CDC* pDC, const CRect& rcClient) {
  COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
  COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
  COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  CRect rc = rcClient;
  rc.right += 1;
  pDC->Draw3dRect(&rc, clrHilite, clrShadow);
  rc.DeflateRect(1, 1, 0, 1);
  pDC->Draw3dRect(&rc, clrFace, clrFace);
  int x = rcClient.left;
  int nCount = GetItemCount();
  std::vector<int> order(static_cast<size_t>(nCount > 0 ? nCount : 0));
  if (nCount > 0) SendMessage(HDM_GETORDERARRAY, nCount, reinterpret_cast<LPARAM>(order.data()));
  for (int i = 0; i < nCount; ++i) {
    HDITEMA item = {};
    item.mask = HDI_WIDTH;
    GetItem(order[static_cast<size_t>(i)], &item);
    x += item.cxy;
    pDC->FillSolidRect(x, 2, 1, rcClient.bottom - 3, clrShadow);
    pDC->FillSolidRect(x + 1, 2, 1, rcClient.bottom - 3, clrHilite);
    pDC->FillSolidRect(x - 1, 2, 1, rcClient.bottom - 3, clrFace);
    pDC->FillSolidRect(x - 2, 2, 1, rcClient.bottom - 3, clrFace);
  }
  if (!m_bLButtonDown) pDC->FillSolidRect(rcClient.right - 1, rcClient.top, 1, rcClient.Height(), clrShadow);
}

void CTkFlatHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CDC* pDC = CDC::FromHandle(lpDIS->hDC);
  CRect rcItem(lpDIS->rcItem);
  int nSaved = pDC->SaveDC();
  pDC->FillSolidRect(&rcItem, ::GetSysColor(COLOR_BTNFACE));
  pDC->SetBkMode(TRANSPARENT);
  ::IntersectClipRect(lpDIS->hDC, rcItem.left, rcItem.top, rcItem.right, rcItem.bottom);

  char szText[256] = "";
  HDITEMA item = {};
  item.mask = HDI_TEXT | HDI_FORMAT;
  item.pszText = szText;
  item.cchTextMax = sizeof szText;
  GetItem(static_cast<int>(lpDIS->itemID), &item);
  UINT nFormat = DT_END_ELLIPSIS | DT_NOPREFIX | DT_NOCLIP | DT_SINGLELINE | DT_VCENTER;
  nFormat |= (item.fmt & HDF_RIGHT) ? DT_RIGHT : (item.fmt & HDF_CENTER) ? DT_CENTER : DT_LEFT;

  BOOL bClickable = HasClickableHeader();
  CRect rcText = rcItem;
  if ((lpDIS->itemState & ODS_SELECTED) && bClickable) rcText.OffsetRect(1, 2);
  BOOL bArrow = static_cast<int>(lpDIS->itemID) == m_nSortCol && m_bShowArrow;
  if (bArrow) rcText.right -= 3 * m_nArrowSize;
  rcText.left += 6;
  rcText.right -= 6;
  if (!rcText.IsRectEmpty()) {
    HGDIOBJ hOld = ::SelectObject(lpDIS->hDC, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
    ::DrawTextA(lpDIS->hDC, szText, -1, &rcText, nFormat);
    ::SelectObject(lpDIS->hDC, hOld);
  }
  if (bArrow && bClickable) DrawArrow(pDC, rcItem, m_nAscending == 1);
  pDC->RestoreDC(nSaved);
}

void CTkFlatHeaderCtrl::DrawArrow(CDC* pDC, const CRect& rcItem, BOOL bAscending) const {
  CPen penHilite(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  CPen penShadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  int R = rcItem.right, B = rcItem.bottom;
  CPen* pOld = pDC->SelectObject(&penHilite);
  if (!bAscending) {
    pDC->MoveTo(R - 9, 5);
    pDC->LineTo(R - 13, B - 5);
    pDC->SelectObject(&penShadow);
    pDC->MoveTo(R - 13, B - 6);
    pDC->LineTo(R - 16, 5);
    pDC->LineTo(R - 9, 5);
  } else {
    pDC->MoveTo(R - 12, 5);
    pDC->LineTo(R - 9, B - 6);
    pDC->LineTo(R - 17, B - 6);
    pDC->SelectObject(&penShadow);
    pDC->MoveTo(R - 16, B - 7);
    pDC->LineTo(R - 12, 4);
  }
  pDC->SelectObject(pOld);
}
