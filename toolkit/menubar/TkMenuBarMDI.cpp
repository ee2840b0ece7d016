// The menu bar in an MDI frame: the maximised child's icon (its system menu) and its minimise,
// restore and close buttons on the bar, and the numbered list of child windows in the window
// menu.
#include <map>

#include "framework/core/String.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/WindowDc.h"
#include "resources/ids/ToolkitMenuBarIds.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/menubar/TkMenuBar.h"
#include "toolkit/menus/TkMenuShared.h"

namespace {

// The commands of the four MDI rectangles.
const UINT kMDICommands[4] = {SC_MOUSEMENU, SC_MINIMIZE, SC_RESTORE, SC_CLOSE};

}  // namespace

HWND CTkMenuBar::GetActiveMDIChild(BOOL* pbMaximized) const {
  BOOL maximized = FALSE;
  HWND child = nullptr;
  if (m_hWndMDIClient && ::IsWindow(m_hWndMDIClient))
    child = reinterpret_cast<HWND>(
        ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
  if (pbMaximized) *pbMaximized = child ? maximized : FALSE;
  return child;
}

void CTkMenuBar::RefreshMDIButtons() {
  if (!m_hWndMDIClient || !m_hWnd) return;
  BOOL maximized = FALSE;
  HWND child = GetActiveMDIChild(&maximized);
  BOOL now = child && maximized && (::GetWindowLongA(child, GWL_STYLE) & WS_SYSMENU);
  if (now == m_bMDIMaximized) return;
  m_bMDIMaximized = now;
  RecalcOwnerLayout();
  RecalcFrame();
}

LRESULT CTkMenuBar::OnIdleUpdate(WPARAM wParam, LPARAM lParam) {
  RefreshMDIButtons();
  return CTkToolBar::OnIdleUpdateCmdUI(wParam, lParam);
}

BOOL CTkMenuBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_bMDIMaximized) {
    CPoint point;
    ::GetCursorPos(&point);
    CRect window;
    GetWindowRect(&window);
    point.Offset(-window.left, -window.top);
    if (HitTestMDIButton(point) >= 0) {
      return static_cast<BOOL>(::DefWindowProcA(m_hWnd, WM_SETCURSOR,
                                                reinterpret_cast<WPARAM>(pWnd ? pWnd->m_hWnd : nullptr),
                                                MAKELPARAM(nHitTest, message)));
    }
  }
  return static_cast<BOOL>(Default());
}

void CTkMenuBar::TrackSystemMenu(HMENU hSysMenu, CPoint point, TPMPARAMS* pParams) {
  ::TrackPopupMenuEx(hSysMenu, TPM_VERTICAL, point.x, point.y, GetOwnerFrame(), pParams);
}

BOOL CTkMenuBar::OnMDIButtonMouse(UINT message, UINT, CPoint point) {
  if (!m_bMDIMaximized) return FALSE;
  HWND child = GetActiveMDIChild();
  if (!child) return FALSE;
  // Client to window coordinates: the MDI rectangles lie in the non-client area.
  CRect window;
  GetWindowRect(&window);
  ClientToScreen(&point);
  point.Offset(-window.left, -window.top);
  if (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK) m_nMDIPressed = HitTestMDIButton(point);
  int pressed = m_nMDIPressed;
  if (pressed < 0) return FALSE;
  // A missing box is drawn inactive and ignores the mouse.
  LONG style = ::GetWindowLongA(child, GWL_STYLE);
  if ((pressed == kMDIMinimize && !(style & WS_MINIMIZEBOX)) ||
      (pressed == kMDIRestore && !(style & WS_MAXIMIZEBOX))) {
    m_nMDIPressed = -1;
    LONG other = pressed == kMDIMinimize ? WS_MAXIMIZEBOX : WS_MINIMIZEBOX;
    return (style & other) != 0;
  }
  CWindowDC dc(this);
  switch (message) {
    case WM_LBUTTONDBLCLK:
      if (pressed == kMDIIcon || pressed == kMDIClose) {
        ::SendMessageA(child, WM_SYSCOMMAND, SC_CLOSE, 0);
        m_nMDIPressed = -1;
        return TRUE;
      }
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (pressed == kMDIIcon) {
        CRect icon = m_rcMDI[kMDIIcon];
        icon.OffsetRect(window.left, window.top);
        TPMPARAMS params;
        CPoint at = ComputeTrackPoint(icon, params);
        m_nMDIPressed = -1;
        // The system's own menu: the owner-drawn menus leave it as it is.
        ++TkMenuState().nSkipInitMenuPopup;
        TrackSystemMenu(::GetSystemMenu(child, FALSE), at, &params);
        return TRUE;
      }
      DrawMDIButton(&dc, pressed, TRUE);
      m_bMDIPushed = TRUE;
      SetCapture();
      return TRUE;
    case WM_MOUSEMOVE: {
      BOOL over = m_rcMDI[pressed].PtInRect(point);
      if (over != m_bMDIPushed) {
        m_bMDIPushed = over;
        DrawMDIButton(&dc, pressed, over);
      }
      return TRUE;
    }
    case WM_LBUTTONUP:
      ::ReleaseCapture();
      if (m_bMDIPushed) {
        m_bMDIPushed = FALSE;
        DrawMDIButton(&dc, pressed, FALSE);
        ::SendMessageA(child, WM_SYSCOMMAND, kMDICommands[pressed], 0);
      }
      m_nMDIPressed = -1;
      return TRUE;
    default:
      return FALSE;
  }
}

void CTkMenuBar::RefreshWindowList() {
  HMENU menu = m_hWindowMenu;
  if (!menu || !::IsMenu(menu) || !m_hWndMDIClient) return;
  // The old list goes: from the first child-window item to the end.
  int count = ::GetMenuItemCount(menu);
  bool needSeparator = true;
  for (int pos = 0; pos < count; ++pos) {
    UINT id = ::GetMenuItemID(menu, pos);
    if (id != static_cast<UINT>(-1) && id >= kTkFirstMDIChildId) {
      while (::GetMenuItemCount(menu) > pos) ::DeleteMenu(menu, pos, MF_BYPOSITION);
      needSeparator = false;
      break;
    }
  }
  // The separator before the old list stays; a separator left at the end is that one.
  HWND active = GetActiveMDIChild();
  std::map<int, HWND> slots;
  for (HWND child = ::GetWindow(m_hWndMDIClient, GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    int slot = ::GetDlgCtrlID(child) - static_cast<int>(kTkFirstMDIChildId);
    if (slot < 0) continue;
    if (slot > 8) {
      if (child != active) continue;
      slot = 8;
    }
    slots[slot] = child;
  }
  if (slots.empty()) return;
  if (needSeparator) ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  for (const auto& [slot, child] : slots) {
    char title[256] = {};
    ::GetWindowTextA(child, title, sizeof title);
    CString text;
    text.Format("&%d  %s", slot + 1, title);
    UINT flags = MF_STRING | MF_BYPOSITION | (child == active ? MF_CHECKED : MF_UNCHECKED);
    ::InsertMenuA(menu, static_cast<UINT>(-1), flags, static_cast<UINT_PTR>(::GetDlgCtrlID(child)),
                  text);
  }
  if (m_bListMoreWindows) {
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, kTkMoreWindowsId, TkLoadString(IDS_TK_MORE_WINDOWS));
  }
}
