#include "toolkit/bars/TkControlBar.h"

#include "framework/app/AfxResource.h"
#include "framework/bars/ReBar.h"
#include "framework/bars/StatusBar.h"
#include "framework/docking/DockBar.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"
#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/docking/TkDockBar.h"
#include "toolkit/docking/float/TkDockContext.h"
#include "toolkit/docking/window/TkDockWindow.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/gdi/TkMemDC.h"
#include "toolkit/menubar/TkTrackedMenu.h"

IMPLEMENT_DYNAMIC(CTkControlBar, CControlBar)

namespace {

// Every toolkit file registers both; registering a name twice gives the same number.
const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");

// The framework's doubled border width.
constexpr int kBorder2 = 2;
// Room the gripper takes at the bar's start.
constexpr int kGripper = 7;

bool IsWindowOfClass(HWND hwnd, const char* cls) {
  char name[32] = {};
  return hwnd && ::GetClassNameA(hwnd, name, sizeof name) && lstrcmpiA(name, cls) == 0;
}

bool IsReBarWindow(HWND hwnd) { return IsWindowOfClass(hwnd, REBARCLASSNAMEA); }

CString TitleOf(CWnd* bar, UINT fallback) {
  CString text;
  bar->GetWindowText(text);
  return text.IsEmpty() ? TkLoadString(fallback) : text;
}

void FillSolid(HDC dc, int x, int y, int cx, int cy, COLORREF colour) {
  RECT r = {x, y, x + cx, y + cy};
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
}

// A 3-D bar: highlight at top and left, shadow at bottom and right.
void Draw3dBar(HDC dc, int x, int y, int cx, int cy) {
  const CTkToolkitData& data = ToolkitData();
  FillSolid(dc, x, y, cx - 1, 1, data.m_clrHighlight);
  FillSolid(dc, x, y, 1, cy - 1, data.m_clrHighlight);
  FillSolid(dc, x + cx - 1, y, 1, cy, data.m_clrShadow);
  FillSolid(dc, x, y + cy - 1, cx, 1, data.m_clrShadow);
}

// A toolbar offers its customising when it is not in a rebar and its control is adjustable.
bool OffersCustomizing(CControlBar* bar) {
  return bar && bar->IsKindOf(RUNTIME_CLASS(CTkToolBar)) && !IsReBarWindow(::GetParent(bar->m_hWnd)) &&
         (bar->GetStyle() & CCS_ADJUSTABLE);
}

// Through the toolkit's tracked menu, as every toolkit popup: a menu still open goes first. The
// command reaches the owner before the caller goes on (the frame lays itself out after it).
void TrackBarMenu(HMENU menu, CPoint point, HWND owner) {
  CTkTrackedMenu tracked(menu);
  UINT command = tracked.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, owner,
                                        FALSE);
  if (command) ::SendMessageA(owner, WM_COMMAND, command, 0);
}

}  // namespace

HMENU BuildBarContextMenu(CFrameWnd* pFrame, CControlBar* pClicked) {
  if (!pFrame) return nullptr;
  HMENU menu = ::CreatePopupMenu();
  CPtrList dockWindows, toolBars, others, statusBars;
  // The menu bar is a toolbar too, but the frame's menu is never hidden from here. Known by name:
  // it lives above the bars.
  const CRuntimeClass* menuBar = CRuntimeClass::FromName("CTkMenuBar");
  for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
    if (!bar->m_hWnd || bar->IsDockBar() || bar->IsKindOf(RUNTIME_CLASS(CReBar)) ||
        IsReBarWindow(bar->m_hWnd) || (menuBar && bar->IsKindOf(menuBar)))
      continue;
    if (bar->IsKindOf(RUNTIME_CLASS(CTkDockWindow)))
      dockWindows.AddTail(bar);
    else if (bar->IsKindOf(RUNTIME_CLASS(CTkToolBar)))
      toolBars.AddTail(bar);
    else if (bar->IsKindOf(RUNTIME_CLASS(CStatusBar)))
      statusBars.AddTail(bar);
    else if (bar->IsKindOf(RUNTIME_CLASS(CTkControlBar)))
      others.AddTail(bar);
  }
  auto add = [menu](CPtrList& list, UINT fallback, bool alwaysFallback) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
      auto* bar = static_cast<CControlBar*>(list.GetNext(pos));
      CString title = alwaysFallback ? TkLoadString(fallback) : TitleOf(bar, fallback);
      UINT flags = MF_STRING | (bar->IsVisible() ? MF_CHECKED : MF_UNCHECKED);
      ::AppendMenuA(menu, flags, static_cast<UINT_PTR>(bar->GetDlgCtrlID()), title);
    }
  };
  // The sizing docking windows first, set apart from the bars by a separator.
  add(dockWindows, IDS_TK_DOCKWINDOW_TITLE, false);
  if (!dockWindows.IsEmpty()) ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  add(toolBars, IDS_TK_TOOLBAR_TITLE, false);
  add(others, IDS_TK_BAR_TITLE, false);
  add(statusBars, IDS_TK_STATUSBAR_TITLE, true);
  if (OffersCustomizing(pClicked)) {
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, ID_TK_CUSTOMIZE_TOOLBAR, TkLoadString(IDS_TK_CUSTOMIZE));
  }
  int count = ::GetMenuItemCount(menu);
  // A separator left at the end has nothing after it.
  if (count > 0 && (::GetMenuState(menu, count - 1, MF_BYPOSITION) & MF_SEPARATOR)) {
    ::DeleteMenu(menu, count - 1, MF_BYPOSITION);
    --count;
  }
  if (count == 0) {
    ::DestroyMenu(menu);
    return nullptr;
  }
  return menu;
}

LRESULT CTkBarFrameHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CTkWndHook::WindowProc(message, wParam, lParam);
  if ((message == WM_SYSCOLORCHANGE || message == WM_SETTINGCHANGE) && m_pBar && m_pBar->m_hWnd)
    m_pBar->SendMessage(message, wParam, lParam);
  return result;
}

BEGIN_MESSAGE_MAP(CTkControlBar, CControlBar)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_NCPAINT()
  ON_WM_PAINT()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_RBUTTONDOWN()
  ON_MESSAGE(TKM_GETBANDSIZE, OnGetBandSize)
  ON_MESSAGE(TKM_BANDCHILDSIZE, OnBandChildSize)
  ON_MESSAGE(TKM_FULLWINDOWDRAG, OnFullWindowDrag)
  ON_MESSAGE(TKM_FLOATDRAGSIZE, OnFloatDragSizeMsg)
  ON_MESSAGE(TKM_FRAMECHANGED, OnFrameChangedMsg)
END_MESSAGE_MAP()

CTkControlBar::CTkControlBar() {
  m_cxLeftBorder = 6;
  m_cxRightBorder = 6;
  m_cyTopBorder = 1;
  m_cyBottomBorder = 1;
  m_cxDefaultGap = 2;
  m_nMRUWidth = 32767;
  CreateFonts();
}

CTkControlBar::~CTkControlBar() { DeleteFonts(); }

void CTkControlBar::DeleteFonts() {
  for (HFONT* font : {&m_hFontNormal, &m_hFontVert, &m_hFontBold}) {
    if (*font) ::DeleteObject(*font);
    *font = nullptr;
  }
}

void CTkControlBar::CreateFonts() {
  DeleteFonts();
  HDC screen = ::GetDC(nullptr);
  int height = -::MulDiv(8, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
  ::ReleaseDC(nullptr, screen);
  const CTkToolkitData& data = ToolkitData();
  auto make = [height](HFONT from, LONG weight, LONG angle) -> HFONT {
    LOGFONTA lf = {};
    if (!from || !::GetObjectA(from, sizeof lf, &lf))
      ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    if (!from) {
      lf.lfWeight = weight;
      lf.lfEscapement = lf.lfOrientation = angle;
    }
    lf.lfHeight = height;
    lf.lfWidth = 0;
    return ::CreateFontIndirectA(&lf);
  };
  m_hFontNormal = make(data.m_hFontNormal, FW_NORMAL, 0);
  m_hFontVert = make(data.m_hFontVert, FW_NORMAL, 900);
  m_hFontBold = make(data.m_hFontBold, FW_BOLD, 0);
}

void CTkControlBar::DoPaint(CDC*) {}

void CTkControlBar::SetStatusText(int nHit) {
  CWnd* frame = GetTopLevelFrame();
  if (!frame) return;
  if (nHit == -1)
    frame->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
  else
    frame->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit));
}

void CTkControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
  CControlBar::SetBorders(cxLeft, cyTop, cxRight, cyBottom);
}

void CTkControlBar::SetBorders(LPCRECT lpRect) {
  SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

CRect CTkControlBar::GetBorders() const {
  return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder);
}

BOOL CTkControlBar::ModifyTkBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
  m_dwTkStyle = (m_dwTkStyle & ~dwRemove) | dwAdd;
  if (m_hWnd) {
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (bRedraw) Invalidate();
  }
  // A toolkit dock bar holding the bar takes the change as well.
  HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
  CWnd* dock = parent ? CWnd::FromHandlePermanent(parent) : nullptr;
  if (dock && dock->IsKindOf(RUNTIME_CLASS(CTkDockBar))) {
    auto* tkDock = static_cast<CTkDockBar*>(dock);
    tkDock->SetDockBarStyle((tkDock->GetDockBarStyle() & ~dwRemove) | dwAdd);
    if (bRedraw) tkDock->Invalidate();
  }
  return TRUE;
}

void CTkControlBar::SetMenuID(UINT nMenuID, int nSubMenu) {
  m_nMenuID = nMenuID;
  m_nSubMenu = nSubMenu;
}

namespace {
bool ParentIs(const CWnd* bar, UINT id) {
  HWND parent = bar->m_hWnd ? ::GetParent(bar->m_hWnd) : nullptr;
  return parent && static_cast<UINT>(::GetDlgCtrlID(parent)) == id;
}
}  // namespace

BOOL CTkControlBar::IsLeftDocked() const { return ParentIs(this, AFX_IDW_DOCKBAR_LEFT); }
BOOL CTkControlBar::IsRightDocked() const { return ParentIs(this, AFX_IDW_DOCKBAR_RIGHT); }
BOOL CTkControlBar::IsTopDocked() const { return ParentIs(this, AFX_IDW_DOCKBAR_TOP); }
BOOL CTkControlBar::IsBottomDocked() const { return ParentIs(this, AFX_IDW_DOCKBAR_BOTTOM); }

COLORREF CTkControlBar::GetBackgroundColor() const {
  return ToolkitData().m_bFlatLook ? ToolkitData().m_clrFaceTint : ToolkitData().m_clrFace;
}

BOOL CTkControlBar::GetBandSize(REBARBANDINFOA* pInfo, BOOL bHorz) {
  if (!pInfo) return FALSE;
  CSize size = CalcFixedLayout(FALSE, bHorz);
  pInfo->fMask |= RBBIM_CHILDSIZE;
  pInfo->cxMinChild = static_cast<UINT>(size.cx);
  pInfo->cyMinChild = static_cast<UINT>(size.cy);
  return TRUE;
}

void CTkControlBar::OnFrameChanged() {
  CWnd* frame = m_hWnd ? GetParentFrame() : nullptr;
  auto* now = frame && frame->IsFrameWnd() ? static_cast<CFrameWnd*>(frame) : nullptr;
  CWnd* top = now ? now->GetTopLevelFrame() : nullptr;
  HWND topWnd = top && top != now ? top->m_hWnd : nullptr;
  // The watch leaves the old frame and follows the bar to its new one.
  if (now == m_pWatchedFrame && m_frameHook.m_hWnd == (now ? now->m_hWnd : nullptr) &&
      m_topFrameHook.m_hWnd == topWnd)
    return;
  m_frameHook.HookWindow(static_cast<HWND>(nullptr));
  m_topFrameHook.HookWindow(static_cast<HWND>(nullptr));
  m_pWatchedFrame = now;
  if (now && now->m_hWnd) m_frameHook.HookWindow(now->m_hWnd);
  if (topWnd) m_topFrameHook.HookWindow(topWnd);
}


void CTkControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
  // The borders as every control bar has them (two pixels each), then the gripper's room.
  CControlBar::CalcInsideRect(rect, bHorz);
  if (IsGripperShown()) {
    if (bHorz)
      rect.left += kGripper;
    else
      rect.top += kGripper;
  }
}

void CTkControlBar::DrawBorders(CDC* pDC, CRect& rect) {
  DWORD style = m_dwStyle;
  if (!(style & CBRS_BORDER_ANY) || !pDC) return;
  HDC dc = pDC->GetSafeHdc();
  const CTkToolkitData& data = ToolkitData();
  bool inReBar = m_bInReBar || IsReBarWindow(::GetParent(m_hWnd));
  bool isReBar = IsReBarWindow(m_hWnd);
  COLORREF outer = data.m_clrShadow, inner = data.m_clrHighlight;
  // The flat look has no edges, except on rebars.
  if (data.m_bFlatLook && !isReBar) outer = inner = data.m_clrFace;

  if (style & CBRS_BORDER_3D) {
    rect.right -= 1;
    rect.bottom -= 1;
  }
  auto lines = [&](const CRect& r, COLORREF colour) {
    if (style & CBRS_BORDER_LEFT) FillSolid(dc, r.left, r.top, 1, r.Height(), colour);
    if (style & CBRS_BORDER_TOP) FillSolid(dc, r.left, r.top, r.Width(), 1, colour);
    if (style & CBRS_BORDER_RIGHT) FillSolid(dc, r.right - 1, r.top, 1, r.Height(), colour);
    if (style & CBRS_BORDER_BOTTOM) FillSolid(dc, r.left, r.bottom - 1, r.Width(), 1, colour);
  };
  auto shrink = [&](CRect& r, int by) {
    if (style & CBRS_BORDER_LEFT) r.left += by;
    if (style & CBRS_BORDER_TOP) r.top += by;
    if (style & CBRS_BORDER_RIGHT) r.right -= by;
    if (style & CBRS_BORDER_BOTTOM) r.bottom -= by;
  };
  lines(rect, outer);
  shrink(rect, 1);
  if (style & CBRS_BORDER_3D) {
    lines(rect, inner);
    shrink(rect, 1);
  }
  if (inReBar) {
    // A band draws its own edges: the bar only keeps their room.
    if (!(style & CBRS_BORDER_3D)) shrink(rect, kBorder2 - 1);
    return;
  }
  // The etched second line: dark below and right, light above and left.
  if (style & CBRS_BORDER_RIGHT) FillSolid(dc, --rect.right, rect.top, 1, rect.Height(), outer);
  if (style & CBRS_BORDER_BOTTOM) FillSolid(dc, rect.left, --rect.bottom, rect.Width(), 1, outer);
  if (style & CBRS_BORDER_TOP) FillSolid(dc, rect.left, rect.top++, rect.Width(), 1, inner);
  if (style & CBRS_BORDER_LEFT) FillSolid(dc, rect.left++, rect.top, 1, rect.Height(), inner);
}

void CTkControlBar::DrawGripper(CDC* pDC, const CRect& rect) {
  if (!IsGripperShown() || !pDC) return;
  HDC dc = pDC->GetSafeHdc();
  const CTkToolkitData& data = ToolkitData();
  // A vertical bar has its gripper across the top, a horizontal one down its left side.
  bool across = !(m_dwStyle & CBRS_ORIENT_HORZ) && !IsTopDocked() && !IsBottomDocked();
  int length = across ? rect.Width() : rect.Height();
  int start = across ? rect.left : rect.top;
  int edge = across ? rect.top : rect.left;
  auto bar = [&](int offset, int from, int len, int thick) {
    if (across)
      Draw3dBar(dc, from, edge + offset, len, thick);
    else
      Draw3dBar(dc, edge + offset, from, thick, len);
  };
  if (GetTkBarStyle() & TKBS_DOUBLE_GRIPPER) {
    for (int offset : {2, 5}) {
      bar(offset, start + 2, length - 4, 3);
      // The last pixel of each bar in the highlight colour.
      if (across)
        ::SetPixel(dc, start + length - 3, edge + offset + 2, data.m_clrHighlight);
      else
        ::SetPixel(dc, edge + offset + 2, start + length - 3, data.m_clrHighlight);
    }
  } else if (data.m_bFlatLook) {
    // A dotted grip of short lines, one every two pixels.
    for (int at = 4; at < length - 9; at += 2) {
      if (across)
        FillSolid(dc, start + at, edge + 2, 1, 3, data.m_clrShadowTint);
      else
        FillSolid(dc, edge + 2, start + at, 3, 1, data.m_clrShadowTint);
    }
  } else {
    int borders = across ? m_cxLeftBorder + m_cxRightBorder : m_cyTopBorder + m_cyBottomBorder;
    int from = start + (across ? m_cxLeftBorder : m_cyTopBorder) + 2;
    bar(2, from, length - borders - 4, 3);
  }
}

void CTkControlBar::DrawNonClient() {
  CWindowDC dc(this);
  CRect client, window;
  GetClientRect(&client);
  ClientToScreen(&client);
  GetWindowRect(&window);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  ::ExcludeClipRect(dc.GetSafeHdc(), client.left, client.top, client.right, client.bottom);
  // An empty rectangle would make the memory DC cover the clip box: nothing to draw there.
  if (window.IsRectEmpty()) return;
  CTkMemDC mem(&dc, window, GetBackgroundColor());
  CDC* memDc = mem.IsValid() ? static_cast<CDC*>(&mem) : &dc;
  DrawBorders(memDc, window);
  DrawGripper(memDc, window);
}

void CTkControlBar::OnNcPaint() { DrawNonClient(); }

void CTkControlBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  CTkMemDC mem(&dc, client, GetBackgroundColor());
  if (IsVisible()) DoPaint(mem.IsValid() ? static_cast<CDC*>(&mem) : &dc);
}

int CTkControlBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CControlBar::OnCreate(lpcs) == -1) return -1;
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()));
  OnFrameChanged();
  return 0;
}

void CTkControlBar::OnDestroy() {
  m_frameHook.HookWindow(static_cast<HWND>(nullptr));
  m_topFrameHook.HookWindow(static_cast<HWND>(nullptr));
  m_pWatchedFrame = nullptr;
  CControlBar::OnDestroy();
}

void CTkControlBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  CRect before;
  GetClientRect(&before);
  Default();
  if ((lpwndpos->flags & SWP_NOSIZE) || !(m_dwStyle & CBRS_BORDER_RIGHT)) return;
  CRect window;
  GetWindowRect(&window);
  int newWidth = before.Width() + (lpwndpos->cx - window.Width());
  if (newWidth == before.Width()) return;
  // The right edge moves: its old and its new strip are painted again.
  int strip = kBorder2 + m_cxRightBorder;
  CRect oldStrip(before.right - strip, before.top, before.right, before.bottom);
  CRect newStrip(newWidth - strip, before.top, newWidth, before.bottom);
  InvalidateRect(&oldStrip);
  InvalidateRect(&newStrip);
}

void CTkControlBar::OnRButtonDown(UINT nFlags, CPoint point) {
  if (!m_bContextMenu) {
    CControlBar::OnRButtonDown(nFlags, point);
    return;
  }
  ClientToScreen(&point);
  if (m_nMenuID) {
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nMenuID));
    HMENU popup = menu ? ::GetSubMenu(menu, m_nSubMenu) : nullptr;
    CWnd* owner = GetTopLevelParent();
    if (popup && owner) TrackBarMenu(popup, point, owner->m_hWnd);
    if (menu) ::DestroyMenu(menu);
    return;
  }
  CFrameWnd* site = m_pDockSite;
  if (!site) {
    CWnd* frame = GetParentFrame();
    site = frame && frame->IsFrameWnd() ? static_cast<CFrameWnd*>(frame) : nullptr;
  }
  if (!site) return;
  ShowContextMenu(point, site);
  site->RecalcLayout();
}

void CTkControlBar::ShowContextMenu(CPoint point, CFrameWnd* pFrame) {
  HMENU menu = BuildBarContextMenu(pFrame, this);
  if (!menu) return;
  // The frame learns which toolbar its customise command is for.
  if (OffersCustomizing(this))
    pFrame->SendMessage(g_barContextMenu, reinterpret_cast<WPARAM>(static_cast<CControlBar*>(this)));
  TrackBarMenu(menu, point, pFrame->m_hWnd);
  ::DestroyMenu(menu);
}

void CTkControlBar::EnableDocking(DWORD dwDockStyle) {
  // The toolkit's dock context drags, floats and docks the bar.
  m_dwDockStyle = dwDockStyle;
  if (dwDockStyle && !m_pDockContext) m_pDockContext = new CTkDockContext(this);
  if (!m_hWndOwner && m_hWnd) m_hWndOwner = ::GetParent(m_hWnd);
}

LRESULT CTkControlBar::OnGetBandSize(WPARAM wParam, LPARAM lParam) {
  m_bInReBar = TRUE;
  return GetBandSize(reinterpret_cast<REBARBANDINFOA*>(lParam), static_cast<BOOL>(wParam));
}

LRESULT CTkControlBar::OnBandChildSize(WPARAM wParam, LPARAM lParam) {
  OnBandChildSizeChanged(static_cast<BOOL>(wParam), lParam);
  return 0;
}

LRESULT CTkControlBar::OnFullWindowDrag(WPARAM, LPARAM) { return WantsFullWindowDrag(); }

LRESULT CTkControlBar::OnFloatDragSizeMsg(WPARAM, LPARAM lParam) {
  return OnFloatDragSize(reinterpret_cast<SIZE*>(lParam));
}

LRESULT CTkControlBar::OnFrameChangedMsg(WPARAM, LPARAM) {
  OnFrameChanged();
  return 0;
}

HWND CTkControlBar::NotifyingChild(UINT message, WPARAM wParam, LPARAM lParam) const {
  switch (message) {
    case WM_COMMAND:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
      return lParam ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : nullptr;
    case WM_DRAWITEM:
      return lParam ? reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_DELETEITEM:
      return lParam ? reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_COMPAREITEM:
      return lParam ? reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_MEASUREITEM:
      return wParam ? ::GetDlgItem(m_hWnd, static_cast<int>(wParam)) : nullptr;
    default:
      return nullptr;
  }
}

LRESULT CTkControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_NOTIFY:
    case WM_COMMAND:
      break;
    default:
      return CControlBar::WindowProc(message, wParam, lParam);
  }
  // The child control handles its own notification first; what it leaves goes to the owner,
  // which carries the bar's commands.
  LRESULT result = 0;
  HWND child = NotifyingChild(message, wParam, lParam);
  if (child && child != m_hWnd && ReflectLastMsg(child, message, wParam, lParam, &result))
    return result;
  CWnd* owner = GetOwner();
  if (owner && owner->m_hWnd && owner->m_hWnd != m_hWnd)
    result = owner->SendMessage(message, wParam, lParam);
  if (message == WM_NOTIFY && lParam) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    // A tip the owner left empty gets the bar's own text.
    bool emptyTip = (hdr->code == TTN_NEEDTEXTA &&
                     !reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText &&
                     !reinterpret_cast<NMTTDISPINFOA*>(lParam)->szText[0]) ||
                    (hdr->code == TTN_NEEDTEXTW &&
                     !reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText &&
                     !reinterpret_cast<NMTTDISPINFOW*>(lParam)->szText[0]);
    if (emptyTip) return CControlBar::WindowProc(message, wParam, lParam);
  }
  return result;
}
