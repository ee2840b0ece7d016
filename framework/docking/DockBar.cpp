#include "framework/docking/DockBar.h"

#include <algorithm>

#include "framework/docking/DockContext.h"
#include "framework/docking/DockState.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
  ON_MESSAGE(WM_SIZEPARENT, OnDockSizeParent)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL bFloating) : m_bFloating(bFloating) {
  m_arrBars.Add(nullptr);
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

BOOL CDockBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  CRect rect(0, 0, 0, 0);
  return CWnd::Create(AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                      nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD, rect, pParentWnd, nID);
}

CControlBar* CDockBar::GetDockedControlBar(int nPos) const {
  void* p = m_arrBars[nPos];
  return IsPlaceHolder(p) ? nullptr : static_cast<CControlBar*>(p);
}

int CDockBar::GetDockedCount() const {
  int n = 0;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) n += GetDockedControlBar(static_cast<int>(i)) != nullptr;
  return n;
}

int CDockBar::GetDockedVisibleCount() const {
  int n = 0;
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(static_cast<int>(i));
    n += bar && bar->IsVisible();
  }
  return n;
}

int CDockBar::FindBar(CControlBar* pBar, int nPosExclude) const {
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
    if (i != nPosExclude && m_arrBars[i] == pBar) return static_cast<int>(i);
  return -1;
}

void CDockBar::AdoptBar(CControlBar* pBar) {
  DWORD style = pBar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING);
  style |= (m_dwStyle & CBRS_ALIGN_ANY) | (m_bFloating ? CBRS_FLOATING : 0);
  pBar->m_dwStyle = style;
  if (::GetParent(pBar->m_hWnd) != m_hWnd) ::SetParent(pBar->m_hWnd, m_hWnd);
}

void CDockBar::DockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (!pBar || !pBar->m_hWnd) return;
  CDockBar* old = pBar->m_pDockBar;
  if (old == this && !lpRect) return;
  int placeHolderPos = -1;
  if (old == this) {
    // Moving within this bar: keep its place marked until the new one is known.
    placeHolderPos = FindBar(pBar);
    m_arrBars[placeHolderPos] = reinterpret_cast<void*>(static_cast<UINT_PTR>(0xFFFF));
  }
  AdoptBar(pBar);
  if (!m_bFloating) RemovePlaceHolder(static_cast<UINT>(pBar->GetDlgCtrlID()));
  if (lpRect) {
    CRect rect(*lpRect);
    ScreenToClient(&rect);
    int pos = Insert(pBar, rect, rect.CenterPoint());
    m_arrBars.InsertAt(pos, pBar);
  } else {
    if (m_arrBars[m_arrBars.GetUpperBound()] != nullptr) m_arrBars.Add(nullptr);
    m_arrBars.Add(pBar);
    m_arrBars.Add(nullptr);
  }
  if (placeHolderPos >= 0) RemovePlaceHolder(0xFFFF);
  pBar->m_pDockBar = this;
  if (old && old != this) {
    old->RemoveControlBar(pBar, -1, m_bFloating && !old->m_bFloating);
    // A floating frame left without bars has nothing more to show.
    if (old->m_bFloating && old->GetDockedCount() == 0) old->GetParent()->DestroyWindow();
  }
  pBar->m_pDockBar = this;
  RelayoutFrame();
}

void CDockBar::ReDockControlBar(CControlBar* pBar, LPCRECT lpRect) {
  if (!pBar || !pBar->m_hWnd) return;
  void* id = reinterpret_cast<void*>(static_cast<UINT_PTR>(pBar->GetDlgCtrlID()));
  int pos = -1;
  for (INT_PTR i = 0; i < m_arrBars.GetSize() && !lpRect; ++i)
    if (m_arrBars[i] == id) pos = static_cast<int>(i);
  if (pos < 0) {
    DockControlBar(pBar, lpRect);
    return;
  }
  CDockBar* old = pBar->m_pDockBar;
  AdoptBar(pBar);
  m_arrBars[pos] = pBar;
  if (old && old != this) {
    old->RemoveControlBar(pBar);
    if (old->m_bFloating && old->GetDockedCount() == 0) old->GetParent()->DestroyWindow();
  }
  pBar->m_pDockBar = this;
  RelayoutFrame();
}

BOOL CDockBar::RemoveControlBar(CControlBar* pBar, int nPosExclude, int nAddPlaceHolder) {
  int pos = FindBar(pBar, nPosExclude);
  if (pos < 0) return FALSE;
  if (nAddPlaceHolder) {
    m_arrBars[pos] = reinterpret_cast<void*>(static_cast<UINT_PTR>(pBar->GetDlgCtrlID()));
  } else {
    m_arrBars.RemoveAt(pos);
    RemoveEmptyRow(pos);
  }
  if (pBar->m_pDockBar == this) pBar->m_pDockBar = nullptr;
  if (m_hWnd) RelayoutFrame();
  return TRUE;
}

void CDockBar::RemovePlaceHolder(UINT nID) {
  void* id = reinterpret_cast<void*>(static_cast<UINT_PTR>(nID));
  for (INT_PTR i = m_arrBars.GetUpperBound(); i > 0; --i) {
    if (m_arrBars[i] != id) continue;
    m_arrBars.RemoveAt(i);
    RemoveEmptyRow(static_cast<int>(i));
  }
}

void CDockBar::RemoveEmptyRow(int nPos) {
  // nPos is where the removed entry was; a row end there after a row end is an empty row.
  if (nPos > 0 && nPos < m_arrBars.GetSize() && m_arrBars[nPos] == nullptr &&
      m_arrBars[nPos - 1] == nullptr)
    m_arrBars.RemoveAt(nPos);
}

int CDockBar::Insert(CControlBar*, CRect rect, CPoint ptMid) {
  BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  int across = horz ? ptMid.y : ptMid.x, along = horz ? rect.left : rect.top;
  int rowStart = 1;
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    if (m_arrBars[i] != nullptr) continue;
    // The row from rowStart to i: does the point fall on it?
    int lo = INT32_MAX, hi = INT32_MIN, insertAt = static_cast<int>(i);
    for (int j = rowStart; j < i; ++j) {
      CControlBar* bar = GetDockedControlBar(j);
      if (!bar || !bar->IsVisible()) continue;
      CRect r;
      bar->GetWindowRect(&r);
      ScreenToClient(&r);
      lo = std::min<int>(lo, horz ? r.top : r.left);
      hi = std::max<int>(hi, horz ? r.bottom : r.right);
      if ((horz ? r.left : r.top) > along && insertAt == i) insertAt = j;
    }
    if (lo <= hi && across < lo) {  // above this row: a new row before it
      m_arrBars.InsertAt(rowStart, nullptr);
      return rowStart;
    }
    if (lo <= hi && across < hi) return insertAt;
    rowStart = static_cast<int>(i) + 1;
  }
  // Below every row: a new last row.
  m_arrBars.Add(nullptr);
  return static_cast<int>(m_arrBars.GetUpperBound());
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL) {
  BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0 || m_bFloating;
  int across = 0, along = 0, rowThick = 0, longest = 0;
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(static_cast<int>(i));
    if (m_arrBars[i] == nullptr) {
      across += rowThick;
      longest = std::max(longest, along);
      along = rowThick = 0;
      continue;
    }
    if (!bar || !bar->IsVisible()) continue;
    DWORD mode = m_bFloating ? (LM_HORZ | LM_MRUWIDTH) : horz ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
    CSize size = bar->CalcDynamicLayout(-1, mode);
    CRect rect = horz ? CRect(CPoint(along, across), size) : CRect(CPoint(across, along), size);
    if (!m_bLayoutQuery) {
      if (!m_bFloating && bar->m_pDockContext) bar->m_pDockContext->m_rectMRUDockPos = rect;
      bar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                        SWP_NOZORDER | SWP_NOACTIVATE);
    }
    along += horz ? size.cx : size.cy;
    rowThick = std::max<int>(rowThick, horz ? size.cy : size.cx);
  }
  longest = std::max(longest, along);
  if (horz) return CSize(bStretch ? 32767 : longest, across);
  return CSize(across, bStretch ? 32767 : longest);
}

LRESULT CDockBar::OnDockSizeParent(WPARAM wParam, LPARAM lParam) {
  auto* lpLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
  m_bLayoutQuery = lpLayout->hDWP == nullptr;
  LRESULT result = OnSizeParent(wParam, lParam);
  m_bLayoutQuery = FALSE;
  return result;
}

void CDockBar::RelayoutFrame() {
  CWnd* parent = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
  if (parent && parent->IsFrameWnd()) static_cast<CFrameWnd*>(parent)->RecalcLayout();
}

void CDockBar::OnDestroy() {
  // The bars go with this window; they must not come back to rows that are gone.
  for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
    CControlBar* bar = GetDockedControlBar(static_cast<int>(i));
    if (bar && bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
  }
  m_arrBars.RemoveAll();
  m_arrBars.Add(nullptr);
  CControlBar::OnDestroy();
}

void CDockBar::GetBarInfo(CControlBarInfo* pInfo) {
  CControlBar::GetBarInfo(pInfo);
  pInfo->m_bDockBar = TRUE;
  for (INT_PTR i = 1; i < m_arrBars.GetSize(); ++i) {
    void* p = m_arrBars[i];
    UINT_PTR id = 0;
    if (IsPlaceHolder(p))
      id = reinterpret_cast<UINT_PTR>(p) | 0x10000;
    else if (p)
      id = static_cast<UINT_PTR>(static_cast<CControlBar*>(p)->GetDlgCtrlID());
    pInfo->m_arrBarID.Add(reinterpret_cast<void*>(id));
  }
}
