#include "toolkit/bars/TkReBar.h"

#include <cstdio>

#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/services/TkProfileStore.h"

IMPLEMENT_DYNCREATE(CTkReBar, CTkControlBar)

BEGIN_MESSAGE_MAP(CTkReBar, CTkControlBar)
  ON_WM_NCCREATE()
  ON_WM_NCCALCSIZE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
  ON_NOTIFY_REFLECT(RBN_ENDDRAG, OnHeightChange)
  ON_NOTIFY_REFLECT(RBN_CHILDSIZE, OnChildSize)
  ON_MESSAGE(RB_SHOWBAND, OnShowBand)
  ON_MESSAGE(WM_RECALCPARENT, OnRecalcParent)
END_MESSAGE_MAP()

namespace {

// Every toolkit file registers both; registering a name twice gives the same number.
[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");

// Variable row height, no divider, no alignment, sizing or moving of its own: the frame places
// the bar.
constexpr DWORD kFixedCtrlStyle =
    RBS_VARHEIGHT | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;

// Whether a frame is inside its own RecalcLayout, which is protected in the frame.
struct FrameLayoutState : CFrameWnd {
  static BOOL InLayout(CFrameWnd* frame) { return frame->*(&FrameLayoutState::m_bInRecalcLayout); }
};

CString Entry(int band, const char* name) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%s", band, name);
  return CString(text);
}

}  // namespace

CTkReBar::CTkReBar() {
  // The bands draw their own edges; only the bar style's border lines take room.
  m_cxLeftBorder = m_cxRightBorder = 0;
  m_cyTopBorder = m_cyBottomBorder = 0;
  m_bContextMenu = TRUE;
}

CTkReBar::~CTkReBar() = default;

BOOL CTkReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  if (nID == AFX_IDW_REBAR) m_dwStyle |= CBRS_HIDE_INPLACE;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_COOL_CLASSES};
  ::InitCommonControlsEx(&icc);
  DWORD wndStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | kFixedCtrlStyle;
  CRect rect(0, 0, 0, 0);
  if (!CWnd::Create(REBARCLASSNAMEA, nullptr, wndStyle, rect, pParentWnd, nID)) return FALSE;
  // Not deleted with its window: frames hold their rebar as a member, which a delete of its own
  // would free a second time.
  m_bAutoDelete = FALSE;
  return TRUE;
}

void CTkReBar::SetOwner(CWnd* pOwnerWnd) {
  CWnd::SetOwner(pOwnerWnd);
  if (m_hWnd && pOwnerWnd) SendMessage(RB_SETPARENT, reinterpret_cast<WPARAM>(pOwnerWnd->m_hWnd));
}

BOOL CTkReBar::OnNcCreate(LPCREATESTRUCT) {
  BOOL result = static_cast<BOOL>(Default());
  if (result && m_hWndOwner) SendMessage(RB_SETPARENT, reinterpret_cast<WPARAM>(m_hWndOwner));
  return result;
}

REBARBANDINFOA CTkReBar::BandInfo(DWORD dwMask) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = dwMask;
  return info;
}

BOOL CTkReBar::AddBar(CWnd* pBar, LPCSTR pszText, HBITMAP hbmp, DWORD dwStyle, UINT nBandID) {
  REBARBANDINFOA info = BandInfo(RBBIM_STYLE | RBBIM_ID);
  info.fStyle = dwStyle;
  info.wID = nBandID;
  if (pszText) {
    info.fMask |= RBBIM_TEXT;
    info.lpText = const_cast<LPSTR>(pszText);
  }
  if (hbmp) {
    info.fMask |= RBBIM_BACKGROUND;
    info.hbmBack = hbmp;
  }
  return InsertBand(pBar, &info);
}

BOOL CTkReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCSTR pszText,
                      DWORD dwStyle, UINT nBandID) {
  REBARBANDINFOA info = BandInfo(RBBIM_STYLE | RBBIM_ID | RBBIM_COLORS);
  info.fStyle = dwStyle;
  info.wID = nBandID;
  info.clrFore = clrFore;
  info.clrBack = clrBack;
  if (pszText) {
    info.fMask |= RBBIM_TEXT;
    info.lpText = const_cast<LPSTR>(pszText);
  }
  return InsertBand(pBar, &info);
}

BOOL CTkReBar::InsertBand(CWnd* pBar, REBARBANDINFOA* pInfo) {
  if (!pBar || !pBar->m_hWnd) return FALSE;
  pInfo->fMask |= RBBIM_CHILD;
  pInfo->hwndChild = pBar->m_hWnd;
  BOOL horz = IsHorizontal();
  // A toolkit bar may know its band better (a toolbar keeps room for its chevron). Only those
  // are asked: to another control the message is one of its own (to a toolbar, hide a button).
  bool toolkitBar =
      pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)) || pBar->IsKindOf(RUNTIME_CLASS(CTkToolBar));
  if (!toolkitBar || !pBar->SendMessage(TKM_GETBANDSIZE, horz, reinterpret_cast<LPARAM>(pInfo))) {
    CSize size;
    if (pBar->IsKindOf(RUNTIME_CLASS(CControlBar))) {
      size = static_cast<CControlBar*>(pBar)->CalcFixedLayout(FALSE, horz);
    } else {
      CRect rect;
      pBar->GetWindowRect(&rect);
      size = rect.Size();
    }
    pInfo->fMask |= RBBIM_CHILDSIZE;
    pInfo->cxMinChild = static_cast<UINT>(horz ? size.cx : size.cy);
    pInfo->cyMinChild = static_cast<UINT>(horz ? size.cy : size.cx);
  }
  // Old controls keep 4 pixels of the child's width for themselves.
  DWORD version = ToolkitData().GetComCtlVersion();
  if (version != 0 && version < kNarrowBandComCtl) pInfo->cxMinChild += 4;
  if (!SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pInfo)))
    return FALSE;
  CFrameWnd* frame = GetParentFrame() && GetParentFrame()->IsFrameWnd()
                         ? static_cast<CFrameWnd*>(GetParentFrame())
                         : nullptr;
  if (frame) frame->RecalcLayout();
  return TRUE;
}

BOOL CTkReBar::IsChildVisible(HWND hwndChild) {
  CWnd* child = CWnd::FromHandlePermanent(hwndChild);
  if (child && child->IsKindOf(RUNTIME_CLASS(CControlBar)))
    return static_cast<CControlBar*>(child)->IsVisible();
  return (::GetWindowLongA(hwndChild, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A bar hidden by the program (its own menu, the frame's bar command) takes its band along.
void CTkReBar::SyncBandsWithChildren() {
  for (UINT i = GetBandCount(); i-- > 0;) {
    REBARBANDINFOA info = BandInfo(RBBIM_CHILD | RBBIM_STYLE);
    if (!SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info)) || !info.hwndChild)
      continue;
    BOOL visible = IsChildVisible(info.hwndChild);
    BOOL hidden = (info.fStyle & RBBS_HIDDEN) != 0;
    if (visible == hidden) SendMessage(RB_SHOWBAND, i, visible);
  }
}

// A band hidden or shown through the control takes its child along.
void CTkReBar::SyncChildWithBand(UINT nBand) {
  REBARBANDINFOA info = BandInfo(RBBIM_CHILD | RBBIM_STYLE);
  if (!SendMessage(RB_GETBANDINFOA, nBand, reinterpret_cast<LPARAM>(&info)) || !info.hwndChild)
    return;
  BOOL show = (info.fStyle & RBBS_HIDDEN) == 0;
  if (IsChildVisible(info.hwndChild) == show) return;
  CWnd* child = CWnd::FromHandlePermanent(info.hwndChild);
  if (child && child->IsKindOf(RUNTIME_CLASS(CControlBar))) {
    auto* bar = static_cast<CControlBar*>(child);
    bar->ShowWindow(show ? SW_SHOWNOACTIVATE : SW_HIDE);
    bar->m_nStateFlags &= ~(CControlBar::delayHide | CControlBar::delayShow);
  } else {
    ::ShowWindow(info.hwndChild, show ? SW_SHOWNOACTIVATE : SW_HIDE);
  }
}

LRESULT CTkReBar::OnShowBand(WPARAM wParam, LPARAM) {
  LRESULT result = Default();
  SyncChildWithBand(static_cast<UINT>(wParam));
  return result;
}

CSize CTkReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  SyncBandsWithChildren();
  CRect bounds(0, 0, 0, 0);
  UINT count = GetBandCount();
  for (UINT i = 0; i < count; ++i) {
    REBARBANDINFOA info = BandInfo(RBBIM_STYLE);
    SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    if (info.fStyle & RBBS_HIDDEN) continue;
    CRect band;
    SendMessage(RB_GETRECT, i, reinterpret_cast<LPARAM>(&band));
    bounds.UnionRect(&bounds, &band);
  }
  if (!bounds.IsRectEmpty()) {
    // The inside rectangle of an empty one is the borders' room, negative.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    bounds.right -= inside.Width();
    bounds.bottom -= inside.Height();
  }
  CSize size(bounds.Width(), bounds.Height());
  if (bStretch && bHorz) size.cx = 32767;
  if (bStretch && !bHorz) size.cy = 32767;
  return size;
}

CSize CTkReBar::CalcDynamicLayout(int, DWORD nMode) {
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CTkReBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

INT_PTR CTkReBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  // The band's bar under the point answers for its own items.
  RBHITTESTINFO hit = {};
  hit.pt = point;
  int band = static_cast<int>(SendMessage(RB_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (band >= 0) {
    REBARBANDINFOA info = BandInfo(RBBIM_CHILD);
    SendMessage(RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info));
    CWnd* child = info.hwndChild ? CWnd::FromHandlePermanent(info.hwndChild) : nullptr;
    if (child) {
      CPoint inChild = point;
      ::MapWindowPoints(m_hWnd, child->m_hWnd, &inChild, 1);
      return child->OnToolHitTest(inChild, pTI);
    }
  }
  return CTkControlBar::OnToolHitTest(point, pTI);
}

LRESULT CTkReBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // Prompts of the bars in the bands belong to the frame's message pane.
  if (message == WM_SETMESSAGESTRING || message == WM_POPMESSAGESTRING) {
    CWnd* owner = GetOwner();
    if (owner && owner != this) return owner->SendMessage(message, wParam, lParam);
  }
  return CTkControlBar::WindowProc(message, wParam, lParam);
}

void CTkReBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  // The client rectangle is the window's less the bar style's border lines.
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, IsHorizontal());
  RECT& rc = lpncsp->rgrc[0];
  rc.left += inside.left;
  rc.top += inside.top;
  rc.right += inside.right;
  rc.bottom += inside.bottom;
}

// The control paints its bands itself.
void CTkReBar::OnPaint() { Default(); }
BOOL CTkReBar::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }

void CTkReBar::RecalcParentLayout() {
  CWnd* parent = GetParentFrame();
  if (parent && parent->IsFrameWnd()) static_cast<CFrameWnd*>(parent)->RecalcLayout();
}

// A band changed height or was dragged elsewhere. Inside the frame's own layout (the frame sized
// the bar) laying out again would recurse: that waits until the layout is over.
void CTkReBar::OnHeightChange(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  CWnd* parent = GetParentFrame();
  auto* frame = parent && parent->IsFrameWnd() ? static_cast<CFrameWnd*>(parent) : nullptr;
  if (!frame) return;
  if (FrameLayoutState::InLayout(frame))
    PostMessage(WM_RECALCPARENT);
  else
    frame->RecalcLayout();
}

LRESULT CTkReBar::OnRecalcParent(WPARAM, LPARAM) {
  RecalcParentLayout();
  return 0;
}

// The band's child learns its new rectangle, so that a toolbar can hide what does not fit.
void CTkReBar::OnChildSize(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  auto* notify = reinterpret_cast<NMREBARCHILDSIZE*>(pNMHDR);
  REBARBANDINFOA info = BandInfo(RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_IDEALSIZE | RBBIM_SIZE |
                                 RBBIM_STYLE | RBBIM_ID);
  if (!SendMessage(RB_GETBANDINFOA, notify->uBand, reinterpret_cast<LPARAM>(&info)) ||
      !info.hwndChild)
    return;
  TkBandChildSize pair = {&info, notify};
  ::SendMessageA(info.hwndChild, TKM_BANDCHILDSIZE, IsHorizontal(),
                 reinterpret_cast<LPARAM>(&pair));
}

void CTkReBar::SaveBandLayout(LPCSTR lpszSection) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  UINT count = GetBandCount();
  for (UINT i = 0; i < count; ++i) {
    REBARBANDINFOA info = BandInfo(RBBIM_ID | RBBIM_SIZE | RBBIM_STYLE);
    SendMessage(RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&info));
    store.WriteProfileInt(lpszSection, Entry(i, "wID"), static_cast<int>(info.wID));
    store.WriteProfileInt(lpszSection, Entry(i, "cx"), static_cast<int>(info.cx));
    store.WriteProfileInt(lpszSection, Entry(i, "fStyle"), static_cast<int>(info.fStyle));
    store.WriteProfileInt(lpszSection, Entry(i, "iIndex"), static_cast<int>(i));
  }
  store.WriteProfileInt(lpszSection, "Count", static_cast<int>(count));
}

void CTkReBar::LoadBandLayout(LPCSTR lpszSection) {
  CTkProfileStore store(HKEY_CURRENT_USER);
  UINT count = GetBandCount();
  // A layout of other bands (an older or newer program) would put bars in wrong places.
  if (store.GetProfileInt(lpszSection, "Count", 0) != count) return;
  for (UINT i = 0; i < count; ++i) {
    UINT id = store.GetProfileInt(lpszSection, Entry(i, "wID"), 0);
    int band = static_cast<int>(SendMessage(RB_IDTOINDEX, id));
    if (band < 0) continue;
    REBARBANDINFOA info = BandInfo(RBBIM_SIZE | RBBIM_STYLE);
    info.cx = store.GetProfileInt(lpszSection, Entry(i, "cx"), 0);
    info.fStyle = store.GetProfileInt(lpszSection, Entry(i, "fStyle"), 0);
    SendMessage(RB_SETBANDINFOA, band, reinterpret_cast<LPARAM>(&info));
    int index = static_cast<int>(store.GetProfileInt(lpszSection, Entry(i, "iIndex"), 0));
    if (index != band && index >= 0 && index < static_cast<int>(count))
      SendMessage(RB_MOVEBAND, band, index);
  }
}
