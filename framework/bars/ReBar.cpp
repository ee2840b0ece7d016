#include "framework/bars/ReBar.h"

#include <algorithm>

#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_NCPAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
  ON_NOTIFY_REFLECT(RBN_ENDDRAG, OnHeightChange)
  ON_MESSAGE(WM_RECALCPARENT, OnRecalcParent)
END_MESSAGE_MAP()

namespace {
// Variable row height, no divider, no alignment, sizing or moving of its own: the frame places it.
constexpr DWORD kFixedCtrlStyle = RBS_VARHEIGHT | CCS_NODIVIDER | CCS_NOPARENTALIGN |
                                  CCS_NORESIZE | CCS_NOMOVEY;
}  // namespace

CReBar::CReBar() {
  m_cxLeftBorder = m_cxRightBorder = 0;
  m_cyTopBorder = m_cyBottomBorder = 0;
}

CReBar::~CReBar() = default;

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_COOL_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  m_dwStyle = dwStyle & CBRS_ALL;
  DWORD wndStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | kFixedCtrlStyle;
  CRect rect(0, 0, 0, 0);
  if (!CWnd::Create(REBARCLASSNAMEA, nullptr, wndStyle, rect, pParentWnd, nID)) return FALSE;
  m_bAutoDelete = FALSE;
  return TRUE;
}

REBARBANDINFOA CReBar::BandInfo(LPCSTR pszText, HBITMAP hbmp, DWORD dwStyle) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_STYLE;
  info.fStyle = dwStyle;
  if (pszText) {
    info.fMask |= RBBIM_TEXT;
    info.lpText = const_cast<LPSTR>(pszText);
  }
  if (hbmp) {
    info.fMask |= RBBIM_BACKGROUND;
    info.hbmBack = hbmp;
  }
  return info;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCSTR pszText, HBITMAP hbmp, DWORD dwStyle) {
  REBARBANDINFOA info = BandInfo(pszText, hbmp, dwStyle);
  return InsertBand(pBar, &info);
}

BOOL CReBar::InsertBand(CWnd* pBar, REBARBANDINFOA* pInfo) {
  if (!pBar || !pBar->m_hWnd) return FALSE;
  pInfo->fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE;
  pInfo->hwndChild = pBar->m_hWnd;
  BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  CSize size;
  if (pBar->IsKindOf(RUNTIME_CLASS(CControlBar))) {
    size = static_cast<CControlBar*>(pBar)->CalcFixedLayout(FALSE, horz);
  } else {
    CRect rect;
    pBar->GetWindowRect(&rect);
    size = rect.Size();
  }
  pInfo->cxMinChild = horz ? size.cx : size.cy;
  pInfo->cyMinChild = horz ? size.cy : size.cx;
  if (!SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pInfo)))
    return FALSE;
  CFrameWnd* frame = GetDockingFrame();
  if (frame) frame->RecalcLayout();
  return TRUE;
}

void CReBar::SyncBandsWithChildren() {
  UINT count = GetBandCount();
  for (UINT i = count; i-- > 0;) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_CHILD | RBBIM_STYLE;
    if (!SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info)) || !info.hwndChild)
      continue;
    CWnd* child = CWnd::FromHandlePermanent(info.hwndChild);
    BOOL visible = child && child->IsKindOf(RUNTIME_CLASS(CControlBar))
                       ? static_cast<CControlBar*>(child)->IsVisible()
                       : (::GetWindowLongA(info.hwndChild, GWL_STYLE) & WS_VISIBLE) != 0;
    BOOL hidden = (info.fStyle & RBBS_HIDDEN) != 0;
    if (visible == hidden) SendMessage(RB_SHOWBAND, i, visible);
  }
}

CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  SyncBandsWithChildren();
  CRect bounds(0, 0, 0, 0);
  UINT count = GetBandCount();
  for (UINT i = 0; i < count; ++i) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE;
    SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    if (info.fStyle & RBBS_HIDDEN) continue;
    CRect band;
    SendMessage(RB_GETRECT, i, reinterpret_cast<LPARAM>(&band));
    bounds.UnionRect(&bounds, &band);
  }
  if (!bounds.IsRectEmpty()) {
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    bounds.right -= inside.Width();
    bounds.bottom -= inside.Height();
  }
  CSize size(bounds.right, bounds.bottom);
  if (bStretch && bHorz) size.cx = 32767;
  if (bStretch && !bHorz) size.cy = 32767;
  return size;
}

CSize CReBar::CalcDynamicLayout(int, DWORD nMode) {
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

LRESULT CReBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Prompts of the bars in the bands belong to the frame's message pane.
  if (message == WM_SETMESSAGESTRING || message == WM_POPMESSAGESTRING) {
    CWnd* owner = GetOwner();
    if (owner && owner != this) return owner->SendMessage(message, wParam, lParam);
  }
  LRESULT result = CControlBar::WindowProc(message, wParam, lParam);
  if (message == RB_SHOWBAND) SyncChildWithBand(static_cast<UINT>(wParam));
  return result;
}

// A band hidden or shown through the control takes its bar along.
void CReBar::SyncChildWithBand(UINT nBand) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_CHILD | RBBIM_STYLE;
  if (!SendMessage(RB_GETBANDINFOA, nBand, reinterpret_cast<LPARAM>(&info)) || !info.hwndChild)
    return;
  bool show = (info.fStyle & RBBS_HIDDEN) == 0;
  CWnd* child = CWnd::FromHandlePermanent(info.hwndChild);
  if (child && child->IsKindOf(RUNTIME_CLASS(CControlBar))) {
    CControlBar* bar = static_cast<CControlBar*>(child);
    if ((bar->IsVisible() != FALSE) != show) {
      bar->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
      bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
    }
  } else if (((::GetWindowLongA(info.hwndChild, GWL_STYLE) & WS_VISIBLE) != 0) != show) {
    ::ShowWindow(info.hwndChild, show ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
}

// A band changed height while the frame may be laying out: lay out again afterwards.
void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  PostMessage(WM_RECALCPARENT);
}

LRESULT CReBar::OnRecalcParent(WPARAM, LPARAM) {
  CFrameWnd* frame = GetDockingFrame();
  if (frame) frame->RecalcLayout();
  return 0;
}
