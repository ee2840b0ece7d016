#include "toolkit/controls/TkHeaderCtrl.h"

BEGIN_MESSAGE_MAP(CTkHeaderCtrl, CHeaderCtrl)
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_SETCURSOR()
  ON_NOTIFY_REFLECT_EX(HDN_ITEMCHANGINGA, OnItemChanging)
  ON_NOTIFY_REFLECT_EX(HDN_ITEMCHANGINGW, OnItemChanging)
END_MESSAGE_MAP()

CTkHeaderCtrl::CTkHeaderCtrl() {
  HDC hdc = ::GetDC(nullptr);
  m_bRightToLeft = (::GetTextAlign(hdc) & TA_RTLREADING) != 0;
  ::ReleaseDC(nullptr, hdc);
}

void CTkHeaderCtrl::UnlockColumn(int nCol) {
  for (INT_PTR i = 0; i < m_locked.GetSize(); ++i) {
    if (m_locked[i] == nCol) {
      m_locked.RemoveAt(i);
      return;
    }
  }
}

BOOL CTkHeaderCtrl::IsColumnLocked(int nCol) const {
  for (INT_PTR i = 0; i < m_locked.GetSize(); ++i) {
    if (m_locked[i] == nCol) return TRUE;
  }
  return FALSE;
}

int CTkHeaderCtrl::FitShare(int nWidth, int nColumns, int nLocked) {
  int nFree = nColumns - nLocked;
  return nFree > 0 ? nWidth / nFree : 0;
}

void CTkHeaderCtrl::FitColumns(int nWidth) {
  int nCount = GetItemCount();
  int nShare = FitShare(nWidth, nCount, static_cast<int>(m_locked.GetSize()));
  if (nShare <= 0 || nShare <= m_nMinWidth) return;
  HWND hList = ::GetParent(m_hWnd);
  for (int i = 0; i < nCount; ++i) {
    if (!IsColumnLocked(i)) ::SendMessageA(hList, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(nShare, 0));
  }
}

void CTkHeaderCtrl::AutoFitColumns(int nWidth) {
  if (nWidth == 0) {
    CRect rc;
    GetWindowRect(&rc);
    nWidth = rc.Width() - ::GetSystemMetrics(SM_CXVSCROLL) - GetLockedWidth();
  }
  FitColumns(nWidth);
}

int CTkHeaderCtrl::GetLockedWidth() const {
  HWND hList = ::GetParent(m_hWnd);
  int nWidth = 0;
  for (INT_PTR i = 0; i < m_locked.GetSize(); ++i) {
    nWidth += static_cast<int>(::SendMessageA(hList, LVM_GETCOLUMNWIDTH, m_locked[i], 0));
  }
  return nWidth;
}

void CTkHeaderCtrl::OnWindowPosChanging(WINDOWPOS* pPos) {
  Default();
  if (!m_bAutoFit || GetItemCount() == 0 || (pPos->flags & SWP_NOSIZE)) return;
  CRect rc;
  GetWindowRect(&rc);
  if (pPos->cx != rc.Width()) {
    FitColumns(pPos->cx - ::GetSystemMetrics(SM_CXVSCROLL) - GetLockedWidth());
  }
}

BOOL CTkHeaderCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_locked.GetSize() > 0) {
    HDHITTESTINFO hti = {};
    ::GetCursorPos(&hti.pt);
    ScreenToClient(&hti.pt);
    int nItem = HitTest(&hti);
    if (nItem >= 0) {
      // A locked column shows no sizing cursor on its own dividers, nor on the neighbour's side
      // of the divider it shares.
      if (IsColumnLocked(nItem)) return TRUE;
      int nNeighbour = m_bRightToLeft ? nItem + 1 : nItem - 1;
      CRect rc;
      GetItemRect(nItem, &rc);
      BOOL bNearHalf = m_bRightToLeft ? hti.pt.x >= rc.CenterPoint().x
                                      : hti.pt.x < rc.CenterPoint().x;
      if (nNeighbour >= 0 && IsColumnLocked(nNeighbour) && bNearHalf) return TRUE;
    }
  }
  return CHeaderCtrl::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CTkHeaderCtrl::OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMHEADERA*>(pNMHDR);
  BOOL bRefuse = IsColumnLocked(nm->iItem) ||
                 (nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->pitem->cxy < m_nMinWidth);
  if (!bRefuse) return FALSE;  // the list goes on with its own handling
  *pResult = 1;
  return TRUE;
}
