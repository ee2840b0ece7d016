// The docking window's sizes, creation, persistence and window handling; its look is in
// TkDockWindowCaption.cpp.
#include "toolkit/docking/window/TkDockWindow.h"
#include "toolkit/docking/TkDockBar.h"

#include <algorithm>

#include "framework/docview/Document.h"
#include "framework/exceptions/MemoryException.h"
#include "framework/docking/DockBar.h"
#include "framework/docking/MiniDockFrameWnd.h"
#include "framework/docview/View.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitDockWndIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/docking/TkDockBar.h"
#include "toolkit/docking/float/TkDockContext.h"
#include "toolkit/docking/window/TkBarButton.h"
#include "toolkit/docking/window/TkDockRow.h"
#include "toolkit/services/TkProfileStore.h"

IMPLEMENT_DYNAMIC(CTkDockWindow, CTkControlBar)

namespace {
[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");

constexpr int kStateValues = 10;  // what a saved block gives back: sizes and the two flags
constexpr int kSavedValues = 11;  // and the style word, written but not read back

// A batch step that failed: the system ran out of window-position records.
class CTkDeferPosException : public CException {};
}  // namespace

void CTkDeferPos::Move(HWND hWnd, const CRect& rect) {
  if (!m_hdwp) {
    m_hdwp = ::BeginDeferWindowPos(m_nWindows);
    if (!m_hdwp) throw CTkDeferPosException();
  }
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  CRect target = rect;
  if (rect.IsRectEmpty()) {
    flags |= SWP_HIDEWINDOW;
    target.SetRectEmpty();
  } else {
    flags |= SWP_SHOWWINDOW;
  }
  m_hdwp = ::DeferWindowPos(m_hdwp, hWnd, nullptr, target.left, target.top, target.Width(),
                            target.Height(), flags);
  if (!m_hdwp) throw CTkDeferPosException();
}

void CTkDeferPos::End() {
  if (m_hdwp) ::EndDeferWindowPos(m_hdwp);
  m_hdwp = nullptr;
}

BEGIN_MESSAGE_MAP(CTkDockWindow, CTkControlBar)
  ON_WM_NCHITTEST()
  ON_WM_CREATE()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
  ON_MESSAGE(WM_TK_DOCKWND_INIT, OnDeferredInit)
END_MESSAGE_MAP()

CTkDockWindow::CTkDockWindow() { LoadGlyphs(); }

CTkDockWindow::~CTkDockWindow() {
  // A window still up goes while its buttons and child still exist.
  if (m_hWnd && ::IsWindow(m_hWnd)) DestroyWindow();
  // The buttons go first: they only show the glyphs, which are this window's to destroy.
  delete m_pHideButton;
  delete m_pExpandButton;
  m_pHideButton = m_pExpandButton = nullptr;
  DestroyGlyphs();
}

void CTkDockWindow::LoadGlyphs() {
  HIMAGELIST list = ::ImageList_LoadImageA(TkResourceModule(),
                                           MAKEINTRESOURCEA(IDB_TK_DOCKWND_GLYPHS), 10, 0,
                                           RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (!list) return;
  for (int i = 0; i < 9 && i < ::ImageList_GetImageCount(list); ++i)
    m_hGlyphs[i] = ::ImageList_GetIcon(list, i, ILD_NORMAL);
  ::ImageList_Destroy(list);
}

void CTkDockWindow::DestroyGlyphs() {
  for (HICON& icon : m_hGlyphs) {
    if (icon) ::DestroyIcon(icon);
    icon = nullptr;
  }
}

tkdock::Side CTkDockWindow::GetSide() const {
  if (IsHorzDocked()) return tkdock::Side::Lying;
  if (IsVertDocked()) return tkdock::Side::Standing;
  return tkdock::Side::Floating;
}

tkdock::Sizes CTkDockWindow::GetSizes() const { return {m_szVert, m_szHorz, m_szFloat, m_szLast}; }

void CTkDockWindow::PutSizes(const tkdock::Sizes& sizes) {
  m_szVert = sizes.vert;
  m_szHorz = sizes.horz;
  m_szFloat = sizes.floating;
  m_szLast = sizes.current;
}

BOOL CTkDockWindow::Create(CWnd* pParentWnd, UINT nID, LPCSTR lpszTitle, int cx, int cy,
                           DWORD dwStyle, DWORD dwTkStyle) {
  m_pParentWnd = pParentWnd;
  m_dwStyle = (dwStyle & CBRS_ALL) | CBRS_FLOAT_MULTI | CBRS_HIDE_INPLACE | CBRS_SIZE_DYNAMIC;
  m_szVert = m_szHorz = m_szLast = CSize(cx, cy);
  int m = std::min(cx, cy);
  m_szFloat = CSize(m, m);
  // The given size is for the edges the style names; the other orientation lies across.
  if (!(dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT | CBRS_BORDER_RIGHT)))
    m_szVert = CSize(cy, cx);
  else
    m_szHorz = CSize(cy, cx);
  m_dwTkStyle = dwTkStyle;
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS | CS_CLASSDC, nullptr,
                                   ::GetSysColorBrush(COLOR_BTNFACE));
  CRect rect(0, 0, cx, cy);
  DWORD style = (dwStyle & 0xFFBF0000) | WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
  if (!CWnd::Create(cls, lpszTitle, style, rect, pParentWnd, nID)) return FALSE;
  ++m_nInitCounter;
  PostMessage(WM_TK_DOCKWND_INIT, 0, m_nInitCounter);
  return TRUE;
}

CSize CTkDockWindow::CalcDynamicLayout(int nLength, DWORD nMode) {
  tkdock::Sizes sizes = GetSizes();
  CSize result = tkdock::CalcDynamicLayout(sizes, nLength, nMode);
  PutSizes(sizes);
  return result;
}

void CTkDockWindow::GetInsideRect(CRect& rect) const {
  CRect client(0, 0, 0, 0);
  if (m_hWnd) GetClientRect(&client);
  rect = tkdock::InsideRect(client.Width(), client.Height(), GetSide(), m_dwTkStyle,
                            ToolkitData().m_bFlatLook != FALSE, IsTabBar() != FALSE);
}

int CTkDockWindow::GetMinLength() const { return tkdock::MinLength(GetSide(), m_dwTkStyle); }

void CTkDockWindow::SetDockedSize(const CSize& size) {
  m_szLast = size;
  switch (GetSide()) {
    case tkdock::Side::Lying: m_szHorz = size; break;
    case tkdock::Side::Standing: m_szVert = size; break;
    default: m_szFloat = size; break;
  }
}

void CTkDockWindow::UseMRUSize() { m_szLast = m_szFloat; }

void CTkDockWindow::Restore() {
  if (IsHorzDocked())
    m_szLast.cx = m_szHorz.cx;
  else if (IsVertDocked())
    m_szLast.cy = m_szVert.cy;
  m_dwSpare2 = FALSE;
}

int CTkDockWindow::Minimize() {
  m_dwSpare2 = FALSE;
  int min = GetMinLength();
  if (IsHorzDocked()) {
    m_szLast.cx = min;
    return m_szHorz.cx - min;
  }
  if (IsVertDocked()) {
    m_szLast.cy = min;
    return m_szVert.cy - min;
  }
  return 0;
}

void CTkDockWindow::Expand(int nLength) {
  if (IsHorzDocked())
    m_szLast.cx = nLength;
  else if (IsVertDocked())
    m_szLast.cy = nLength;
  m_dwSpare2 = TRUE;
}

void CTkDockWindow::EnableDocking(DWORD dwDockStyle) {
  m_dwDockStyle = dwDockStyle;
  if (!m_pDockContext) m_pDockContext = new CTkDockContext(this);
  if (!m_hWndOwner && m_hWnd) m_hWndOwner = ::GetParent(m_hWnd);
}

CWnd* CTkDockWindow::CreateView(CRuntimeClass* pViewClass, CDocument* pDoc,
                                CCreateContext* pContext) {
  CWnd* frameWnd = GetParentFrame();
  auto* frame = frameWnd && frameWnd->IsFrameWnd() ? static_cast<CFrameWnd*>(frameWnd) : nullptr;
  CCreateContext context;
  if (!pContext) {
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewDocTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
    context.m_pLastView = frame ? frame->GetActiveView() : nullptr;
    context.m_pCurrentFrame = frame;
    pContext = &context;
  }
  CRuntimeClass* cls = pContext->m_pNewViewClass ? pContext->m_pNewViewClass : pViewClass;
  CObject* object = cls ? cls->CreateObject() : nullptr;
  if (!object) throw CMemoryException();
  auto* view = static_cast<CWnd*>(object);
  CRect rect(0, 0, 0, 0);
  if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, rect, this,
                    AFX_IDW_PANE_FIRST, pContext))
    return nullptr;  // a view that failed is deleted by its own clean-up
  if (frame) view->SetOwner(frame);
  return view;
}

void CTkDockWindow::SetBarState(const DWORD* pState) {
  auto size = [pState](int i) {
    return CSize(static_cast<int>(pState[i]), static_cast<int>(pState[i + 1]));
  };
  m_szVert = size(0);
  m_szHorz = size(2);
  m_szFloat = size(4);
  m_szLast = size(6);
  m_dwSpare1 = pState[8];
  m_dwSpare2 = pState[9];
  UpdateButtonLook();
}

BOOL CTkDockWindow::ModifyTkBarStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
  if (!CTkControlBar::ModifyTkBarStyle(dwRemove, dwAdd, bRedraw)) return FALSE;
  if (m_pHideButton && m_pExpandButton && m_pHideButton->m_hWnd && m_pExpandButton->m_hWnd) {
    UpdateButtonLook();
    int show = HasButtons() ? SW_SHOW : SW_HIDE;
    m_pHideButton->ShowWindow(show);
    m_pExpandButton->ShowWindow(show);
  }
  return TRUE;
}

void CTkDockWindow::SetTitle(LPCSTR lpszTitle) {
  if (!m_hWnd) return;
  SetWindowText(lpszTitle);
  if (!IsSideFloating()) {
    Invalidate(TRUE);
    return;
  }
  CWnd* frame = GetParentFrame();
  if (frame) frame->SetWindowText(lpszTitle);
}

void CTkDockWindow::SaveState(LPCSTR lpszProfileName) {
  if (!m_hWnd) return;
  DWORD values[kSavedValues] = {
      static_cast<DWORD>(m_szVert.cx),  static_cast<DWORD>(m_szVert.cy),
      static_cast<DWORD>(m_szHorz.cx),  static_cast<DWORD>(m_szHorz.cy),
      static_cast<DWORD>(m_szFloat.cx), static_cast<DWORD>(m_szFloat.cy),
      static_cast<DWORD>(m_szLast.cx),  static_cast<DWORD>(m_szLast.cy),
      m_dwSpare1,                       m_dwSpare2,
      m_dwTkStyle};
  BYTE bytes[sizeof values];
  // Little-endian 32-bit values, whatever the machine.
  for (int i = 0; i < kSavedValues; ++i)
    for (int b = 0; b < 4; ++b) bytes[i * 4 + b] = static_cast<BYTE>(values[i] >> (8 * b));
  CTkProfileStore store(HKEY_CURRENT_USER);
  store.WriteProfileBinary(lpszProfileName, TkLoadString(IDS_TK_DOCKWND_STATE), bytes,
                           sizeof bytes);
}

void CTkDockWindow::LoadState(LPCSTR lpszProfileName) {
  if (!m_hWnd) return;
  CTkProfileStore store(HKEY_CURRENT_USER);
  BYTE* data = nullptr;
  UINT bytes = 0;
  if (!store.GetProfileBinary(lpszProfileName, TkLoadString(IDS_TK_DOCKWND_STATE), &data, &bytes))
    return;
  // A block too short for the sizes and flags is not a saved state: the window keeps its own.
  if (data && bytes >= kStateValues * 4) {
    DWORD values[kStateValues];
    for (int i = 0; i < kStateValues; ++i)
      values[i] = static_cast<DWORD>(data[i * 4]) | (static_cast<DWORD>(data[i * 4 + 1]) << 8) |
                  (static_cast<DWORD>(data[i * 4 + 2]) << 16) |
                  (static_cast<DWORD>(data[i * 4 + 3]) << 24);
    SetBarState(values);
  }
  delete[] data;
}

// On a toolkit dock bar the bar shares its row out itself; on any other the row is worked out here.
void CTkDockWindow::ExpandInRow() {
  if (auto* dock = dynamic_cast<CTkDockBar*>(m_pDockBar))
    dock->ExpandWindow(this, TRUE);
  else
    TkExpandWindowInRow(this);
}

void CTkDockWindow::RestoreInRow() {
  if (auto* dock = dynamic_cast<CTkDockBar*>(m_pDockBar))
    dock->RestoreRow(this, TRUE);
  else
    TkRestoreRowOf(this);
}

void CTkDockWindow::DelayShow(BOOL bShow) {
  if (!bShow && IsExpanded()) {
    if (!IsSideFloating()) RestoreInRow();
    Restore();
  }
  if (bShow) ModifyTkBarStyle(0, TKDW_NEWLY_DOCKED, FALSE);
  CTkControlBar::DelayShow(bShow);
}

LRESULT CTkDockWindow::OnNcHitTest(CPoint) {
  HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW);
  if (::GetCursor() != arrow) ::SetCursor(arrow);
  return HTCLIENT;
}

void CTkDockWindow::OnWindowPosChanged(WINDOWPOS* lpwndpos) {
  CTkControlBar::OnWindowPosChanged(lpwndpos);
  CTkDeferPos batch(8);
  BOOL buttons = m_pHideButton && m_pExpandButton && m_pHideButton->m_hWnd &&
                 m_pExpandButton->m_hWnd;
  if (!HasButtons()) {
    if (buttons) {
      if (m_pHideButton->IsWindowVisible()) m_pHideButton->ShowWindow(SW_HIDE);
      if (m_pExpandButton->IsWindowVisible()) m_pExpandButton->ShowWindow(SW_HIDE);
    }
    if (!IsSideFloating()) {
      m_bSysMenuRemoved = FALSE;
    } else if (!m_bSysMenuRemoved) {
      // Without caption buttons a floating window has nothing to close it by but its frame's;
      // the frame's system menu goes once.
      CWnd* dockBar = GetParent();
      CWnd* frame = dockBar ? dockBar->GetParent() : nullptr;
      CObject* object = frame ? CWnd::FromHandlePermanent(frame->m_hWnd) : nullptr;
      if (object && object->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))) {
        static_cast<CWnd*>(object)->ModifyStyle(WS_SYSMENU, 0);
        m_bSysMenuRemoved = TRUE;
      }
    }
  } else if (buttons && !IsSideFloating()) {
    CRect rect;
    GetButtonRect(rect);
    batch.Move(m_pExpandButton->m_hWnd, rect);
    CRect client;
    GetClientRect(&client);
    batch.Move(m_pHideButton->m_hWnd, tkdock::HideButtonRect(client.Width(), client.Height(),
                                                            GetSide(), ToolkitData().m_bFlatLook));
  }
  if (m_pChild && m_pChild->m_hWnd) {
    CRect inside;
    GetInsideRect(inside);
    inside.DeflateRect(1, 1);
    batch.Move(m_pChild->m_hWnd, inside);
  }
  batch.End();
}

void CTkDockWindow::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  // The base bar repaints its right border strip; a docking window draws its borders itself.
  DWORD saved = m_dwStyle;
  m_dwStyle &= ~CBRS_BORDER_ANY;
  CTkControlBar::OnWindowPosChanging(lpwndpos);
  m_dwStyle = saved;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpwndpos->flags & SWP_NOSIZE)) Invalidate();
  if (lpwndpos->flags & SWP_HIDEWINDOW) return;
  // Docked, the child must not be painted over; floating, the frame repaints all of it.
  if (!IsSideFloating())
    ModifyStyle(0, WS_CLIPCHILDREN);
  else
    ModifyStyle(WS_CLIPCHILDREN, 0);
}

namespace {
// The largest visible, enabled child (by client area) of the window, leaving out bars and
// caption buttons; null when it has none.
HWND LargestChild(HWND parent) {
  HWND best = nullptr;
  long long bestArea = -1;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child) || !::IsWindowEnabled(child)) continue;
    CWnd* wnd = CWnd::FromHandlePermanent(child);
    if (wnd && (wnd->IsKindOf(RUNTIME_CLASS(CControlBar)) ||
                wnd->IsKindOf(RUNTIME_CLASS(CTkBarButton))))
      continue;
    RECT r;
    ::GetClientRect(child, &r);
    long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
    if (area > bestArea) {
      bestArea = area;
      best = child;
    }
  }
  return best;
}
}  // namespace

void CTkDockWindow::OnLButtonDown(UINT nFlags, CPoint point) {
  // A click anywhere on the window gives the focus to its main content, the deepest largest
  // child.
  HWND target = nullptr;
  for (HWND level = LargestChild(m_hWnd); level; level = LargestChild(level)) target = level;
  if (target) {
    ::SetFocus(target);
    m_bActive = TRUE;
  }
  CTkControlBar::OnLButtonDown(nFlags, point);
}

LRESULT CTkDockWindow::OnInitialUpdate(WPARAM, LPARAM) {
  Default();
  ++m_nInitCounter;
  return 0;
}

LRESULT CTkDockWindow::OnDeferredInit(WPARAM, LPARAM lParam) {
  // Docked views get their first update from the frame; a window that floats from the start
  // sends it itself, unless the frame has done so since this was posted.
  if (lParam == m_nInitCounter && IsSideFloating())
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
  return 0;
}

LRESULT CTkDockWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  // The caption buttons' commands are the window's own; everything else a child sends goes the
  // base bar's way, to the owner.
  if (message == WM_COMMAND && lParam && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == ID_TK_DOCKWND_HIDE) {
      OnHide();
      return 0;
    }
    if (LOWORD(wParam) == ID_TK_DOCKWND_EXPAND) {
      OnExpand();
      return 0;
    }
  }
  return CTkControlBar::WindowProc(message, wParam, lParam);
}
