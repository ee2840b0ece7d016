// The frame's side of docking: its four dock bars, docking and floating bars, and the saved
// layout, checked against the frame before any of it is applied.
#include <set>

#include "framework/docking/DockBar.h"
#include "framework/docking/DockContext.h"
#include "framework/docking/DockState.h"
#include "framework/docking/MiniDockFrameWnd.h"
#include "framework/frame/FrameWnd.h"

namespace {
// Dock bars in layout order: top and bottom span the frame, the sides fit between them.
const DWORD kDockBarMap[4][2] = {{AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
                                 {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
                                 {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
                                 {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT}};

BOOL IsDockBarId(UINT id) { return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_BOTTOM; }
}  // namespace

void CFrameWnd::EnableDocking(DWORD dwDockStyle) {
  if (!m_pFloatingFrameClass) m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
  for (const auto& entry : kDockBarMap) {
    if (!(dwDockStyle & entry[1] & CBRS_ALIGN_ANY) || GetControlBar(entry[0])) continue;
    auto* pDock = new CDockBar;
    pDock->m_bAutoDelete = TRUE;
    if (!pDock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | entry[1],
                       entry[0]))
      delete pDock;
  }
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect) {
  CDockBar* pDockBar = nullptr;
  if (nDockBarID) {
    CControlBar* found = GetControlBar(nDockBarID);
    if (found && found->IsDockBar()) pDockBar = static_cast<CDockBar*>(found);
  }
  for (const auto& entry : kDockBarMap) {
    if (pDockBar || nDockBarID) break;
    if (!(pBar->m_dwDockStyle & entry[1] & CBRS_ALIGN_ANY)) continue;
    pDockBar = static_cast<CDockBar*>(GetControlBar(entry[0]));
  }
  if (pDockBar) DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pBar || !pDockBar) return;
  pDockBar->DockControlBar(pBar, lpRect);
  RecalcLayout();
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect) {
  if (!pBar || !pDockBar) return;
  pDockBar->ReDockControlBar(pBar, lpRect);
  RecalcLayout();
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
  CRuntimeClass* cls = m_pFloatingFrameClass ? m_pFloatingFrameClass
                                             : RUNTIME_CLASS(CMiniDockFrameWnd);
  CObject* object = cls->CreateObject();
  if (!object || !object->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
    delete object;
    return nullptr;
  }
  auto* pFrame = static_cast<CMiniDockFrameWnd*>(object);
  if (!pFrame->Create(this, dwStyle)) {
    // A window that failed cleaned up after itself (PostNcDestroy), whether it never came or
    // came and went: the object must not be touched again.
    return nullptr;
  }
  return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle) {
  if (!pBar || !pBar->m_hWnd) return;
  CWnd* pFrame = pBar->IsFloating() ? pBar->GetParentFrame() : nullptr;
  if (!pFrame) {
    CMiniDockFrameWnd* pMini = CreateFloatingFrame(dwStyle);
    if (!pMini) return;
    pMini->m_wndDockBar.DockControlBar(pBar);
    pMini->RecalcLayout();
    pFrame = pMini;
  }
  if (pBar->m_pDockContext) pBar->m_pDockContext->m_ptMRUFloatPos = point;
  pFrame->SetWindowPos(nullptr, point.x, point.y, 0, 0,
                       SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE |
                           (pBar->IsVisible() ? SWP_SHOWWINDOW : 0));
  RecalcLayout();
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar) {
  for (const auto& entry : kDockBarMap) {
    if (!(dwDockStyle & entry[1] & CBRS_ALIGN_ANY)) continue;
    CControlBar* bar = GetControlBar(entry[0]);
    if (!bar || !bar->IsVisible()) continue;
    CRect dock;
    bar->GetWindowRect(&dock);
    // An empty dock bar still catches a bar dragged onto its edge.
    if (entry[1] & CBRS_ORIENT_HORZ)
      dock.InflateRect(0, 8);
    else
      dock.InflateRect(8, 0);
    CRect overlap;
    if (overlap.IntersectRect(&dock, &rect)) {
      if (ppDockBar) *ppDockBar = static_cast<CDockBar*>(bar);
      return entry[1] & CBRS_ALIGN_ANY;
    }
  }
  return 0;
}

void CFrameWnd::GetDockState(CDockState& state) {
  state.Clear();
  state.SetScreenSize(CSize(0, 0));
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    if (!bar->m_hWnd || bar->GetDlgCtrlID() == 0) continue;
    auto* info = new CControlBarInfo;
    bar->GetBarInfo(info);
    state.m_arrBarInfo.Add(info);
  }
}

namespace {
// Everything a saved layout names must exist in the frame and fit on the screen; one bad entry
// rejects the whole layout.
class DockStateCheck {
 public:
  explicit DockStateCheck(CFrameWnd* frame) : m_frame(frame) {
    m_screen = CRect(CPoint(::GetSystemMetrics(SM_XVIRTUALSCREEN),
                            ::GetSystemMetrics(SM_YVIRTUALSCREEN)),
                     CSize(::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                           ::GetSystemMetrics(SM_CYVIRTUALSCREEN)));
    if (m_screen.IsRectEmpty())
      m_screen = CRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  }
  BOOL Check(const CDockState& state) {
    INT_PTR n = state.m_arrBarInfo.GetSize();
    if (n > CDockState::kMaxBars) return FALSE;
    for (INT_PTR i = 0; i < n; ++i)
      if (!CheckInfo(*static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]))) return FALSE;
    // A bar said to be docked must be in some dock bar's rows.
    for (UINT id : m_dockedBars)
      if (!m_listed.count(id)) return FALSE;
    return TRUE;
  }

 private:
  BOOL CheckInfo(CControlBarInfo& info) {
    CControlBar* bar = m_frame->GetControlBar(info.m_nBarID);
    if (!bar || !m_ids.insert(info.m_nBarID).second) return FALSE;
    // Whether an entry is a dock bar is not stored: the frame's bar of that id says.
    info.m_bDockBar = bar->IsDockBar();
    if (info.m_bDockBar != IsDockBarId(info.m_nBarID)) return FALSE;
    if (info.m_bDockBar) return IsDockBarId(info.m_nBarID) && CheckRows(info);
    if (info.m_arrBarID.GetSize() > 1) return FALSE;
    if (info.m_bFloating && !m_screen.PtInRect(info.m_pointPos)) return FALSE;
    if (!info.m_bFloating) m_dockedBars.push_back(info.m_nBarID);
    if (info.m_bDocking && !WithinScreen(info.m_rectMRUDockPos)) return FALSE;
    if (info.m_bDocking && info.m_uMRUDockID && !IsDockBarId(info.m_uMRUDockID)) return FALSE;
    return TRUE;
  }
  BOOL CheckRows(const CControlBarInfo& info) {
    if (info.m_arrBarID.GetSize() > CDockState::kMaxBarIds) return FALSE;
    for (INT_PTR i = 0; i < info.m_arrBarID.GetSize(); ++i) {
      auto raw = reinterpret_cast<UINT_PTR>(info.m_arrBarID[i]);
      if (raw == 0) continue;
      if (raw > 0x1FFFF) return FALSE;
      UINT id = static_cast<UINT>(raw & 0xFFFF);
      CControlBar* bar = m_frame->GetControlBar(id);
      if (!bar || bar->IsDockBar()) return FALSE;
      // A bar has one place and at most one placeholder.
      std::set<UINT>& seen = (raw & 0x10000) ? m_placeholders : m_listed;
      if (!seen.insert(id).second) return FALSE;
    }
    return TRUE;
  }
  BOOL WithinScreen(const CRect& rect) const {
    return rect.left <= rect.right && rect.top <= rect.bottom &&
           rect.Width() <= m_screen.Width() && rect.Height() <= m_screen.Height() &&
           rect.left >= -m_screen.Width() && rect.top >= -m_screen.Height() &&
           rect.right <= 2 * m_screen.Width() && rect.bottom <= 2 * m_screen.Height();
  }

  CFrameWnd* m_frame;
  CRect m_screen;
  std::set<UINT> m_ids, m_listed, m_placeholders;
  std::vector<UINT> m_dockedBars;
};
}  // namespace

BOOL CFrameWnd::SetDockState(const CDockState& state) {
  if (!DockStateCheck(this).Check(state)) return FALSE;
  INT_PTR n = state.m_arrBarInfo.GetSize();
  // Take every bar out of the rows first, parked on the frame, then rebuild the rows.
  for (INT_PTR i = 0; i < n; ++i) {
    auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
    CControlBar* bar = GetControlBar(info->m_nBarID);
    info->m_pBar = bar;
    if (bar->IsDockBar() || !bar->m_pDockBar) continue;
    CDockBar* old = bar->m_pDockBar;
    ::ShowWindow(bar->m_hWnd, SW_HIDE);
    ::SetParent(bar->m_hWnd, m_hWnd);
    old->RemoveControlBar(bar);
    if (old->m_bFloating && old->GetDockedCount() == 0) old->GetParent()->DestroyWindow();
  }
  for (INT_PTR i = 0; i < n; ++i) {
    auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
    if (!info->m_bDockBar) continue;
    auto* dock = static_cast<CDockBar*>(info->m_pBar);
    dock->m_arrBars.RemoveAll();
    dock->m_arrBars.Add(nullptr);
    for (INT_PTR j = 0; j < info->m_arrBarID.GetSize(); ++j) {
      auto raw = reinterpret_cast<UINT_PTR>(info->m_arrBarID[j]);
      if (raw == 0 || (raw & 0x10000)) {
        dock->m_arrBars.Add(reinterpret_cast<void*>(raw & 0xFFFF));
        continue;
      }
      CControlBar* bar = GetControlBar(static_cast<UINT>(raw));
      bar->m_dwStyle = (bar->m_dwStyle & ~(CBRS_ALIGN_ANY | CBRS_FLOATING)) |
                       (dock->m_dwStyle & CBRS_ALIGN_ANY);
      ::SetParent(bar->m_hWnd, dock->m_hWnd);
      bar->m_pDockBar = dock;
      dock->m_arrBars.Add(bar);
    }
    if (dock->m_arrBars[dock->m_arrBars.GetUpperBound()] != nullptr) dock->m_arrBars.Add(nullptr);
  }
  for (INT_PTR i = 0; i < n; ++i) {
    auto* info = static_cast<CControlBarInfo*>(state.m_arrBarInfo[i]);
    if (!info->m_bDockBar) static_cast<CControlBar*>(info->m_pBar)->SetBarInfo(info, this);
  }
  RecalcLayout();
  return TRUE;
}

BOOL CFrameWnd::LoadBarState(LPCSTR lpszProfileName) {
  CDockState state;
  if (!state.LoadState(lpszProfileName)) return FALSE;
  return SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCSTR lpszProfileName) {
  CDockState state;
  GetDockState(state);
  state.SaveState(lpszProfileName);
}
