// The menu bar's popups and keyboard: opening a button's popup and chaining to the next one
// while the user moves with the arrows or the mouse, the input filter that watches the open
// popup, and the frame's keys (Alt, F10, arrows, mnemonics, Escape) as a native menu bar takes
// them.
//
// Moving on from an open popup to its neighbour relies on the system passing the popup's input
// through the MSGF_MENU filter hook. Wine does so for keys; where a system does not (Wine has
// not always done it for every mouse move), Left, Right and the mouse stay inside the popup and
// the expand timer does not start, but every popup still opens from its button and the
// keyboard mode works, since both come from the frame's own messages.
#include <cctype>

#include "framework/frame/FrameWnd.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/menubar/TkMenuBar.h"
#include "toolkit/menubar/TkTrackedMenu.h"
#include "toolkit/menus/TkMenuShared.h"

namespace {

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// Bit 29 of the key data: Alt was down.
bool AltBit(LPARAM lParam) { return (lParam & (1 << 29)) != 0; }

// The frame's hook notes the expand command (the chevron item chosen) in its flag; once it is
// set, every popup of this tracking opens with all its items.
BOOL OpenExpanded() { return TkExpandCommandFlag() || TkMenuState().bOpenExpanded; }
void ClearOpenExpanded() {
  TkExpandCommandFlag() = FALSE;
  TkMenuState().bOpenExpanded = FALSE;
}

}  // namespace

UINT CTkMenuBar::TrackButtonPopup(HMENU hPopup, UINT nFlags, CPoint point, TPMPARAMS* pParams) {
  CTkTrackedMenu popup(hPopup);
  return popup.TrackPopupMenu(nFlags, point.x, point.y, GetOwnerFrame(), pParams, TRUE);
}

void CTkMenuBar::Beep() { ::MessageBeep(0); }

void CTkMenuBar::OpenHiddenButtonMenu(UINT nID, const RECT& rcScreen) {
  if (!m_hMenu || static_cast<int>(nID) >= ::GetMenuItemCount(m_hMenu)) return;
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_SUBMENU;
  if (!::GetMenuItemInfoA(m_hMenu, nID, TRUE, &info)) return;
  HWND owner = GetOwnerFrame();
  if (!info.hSubMenu) {
    ::PostMessageA(owner, WM_COMMAND, info.wID, 0);
    return;
  }
  TkMenuShared& shared = TkMenuState();
  TPMPARAMS params = {sizeof params, rcScreen};
  shared.dwTrackedDockSide = m_dwStyle & CBRS_ALIGN_ANY;
  TrackButtonPopup(info.hSubMenu, TPM_VERTICAL, CPoint(rcScreen.left, rcScreen.bottom), &params);
  shared.dwTrackedDockSide = 0;
}

void CTkMenuBar::TrackPopup(int nIndex) {
  TkMenuShared& shared = TkMenuState();
  shared.bMenuBarTracking = FALSE;
  ClearOpenExpanded();
  CTkTrackedMenu menu(m_hMenu);
  HWND owner = GetOwnerFrame();
  while (nIndex >= 0 && nIndex < ButtonCount()) {
    m_nTrackedIndex = nIndex;
    m_nNextIndex = -1;
    // The button's command is its item's position in the menu.
    UINT position = GetItemID(nIndex);
    SendMessage(TB_PRESSBUTTON, position, MAKELPARAM(TRUE, 0));
    UpdateWindow();
    SetTrackingState(kTrackPopup, nIndex);

    shared.pTrackingBar = this;
    if (shared.nMsgFilterNesting == 0)
      shared.hMsgFilterHook =
          ::SetWindowsHookExA(WH_MSGFILTER, MenuInputFilter, nullptr, ::GetCurrentThreadId());
    ++shared.nMsgFilterNesting;

    CRect button;
    SendMessage(TB_GETRECT, position, reinterpret_cast<LPARAM>(&button));
    CRect screen(button);
    ClientToScreen(&screen);
    TPMPARAMS params;
    CPoint at = ComputeTrackPoint(screen, params);
    shared.bExpanded = OpenExpanded();

    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU;
    if (::GetMenuItemInfoA(m_hMenu, position, TRUE, &info)) {
      if (!info.hSubMenu) {
        ::SendMessageA(owner, WM_COMMAND, info.wID, 0);
      } else {
        m_hPopup = info.hSubMenu;
        shared.rcTrackedButton = button;
        shared.dwTrackedDockSide = m_dwStyle & CBRS_ALIGN_ANY;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        TrackButtonPopup(m_hPopup, TPM_VERTICAL, at, &params);
        shared.dwTrackedDockSide = 0;
      }
    }
    m_hPopup = nullptr;
    if (m_bExpandTimerRunning) {
      ::KillTimer(owner, m_nExpandTimerId);
      m_bExpandTimerRunning = 0;
    }
    if (shared.nMsgFilterNesting > 0 && --shared.nMsgFilterNesting == 0) {
      if (shared.hMsgFilterHook) ::UnhookWindowsHookEx(shared.hMsgFilterHook);
      shared.hMsgFilterHook = nullptr;
      shared.pTrackingBar = nullptr;
    }
    SendMessage(TB_PRESSBUTTON, position, MAKELPARAM(FALSE, 0));
    UpdateWindow();
    if (shared.nMsgFilterNesting == 0)
      SetTrackingState(m_bEscapePressed ? kTrackHot : kTrackNone, nIndex);
    nIndex = m_nNextIndex;
    Invalidate();
  }
  ClearOpenExpanded();
  m_nTrackedIndex = -1;
  shared.bMenuBarTracking = TRUE;
}

void CTkMenuBar::TrackNext(int nIndex) {
  if (nIndex == m_nOpenIndex) return;
  // The frame's default handling of the cancel closes the open popup.
  ::PostMessageA(GetOwnerFrame(), WM_CANCELMODE, 0, 0);
  m_nNextIndex = nIndex;
}

void CTkMenuBar::SetHotItem(int nIndex) {
  m_nHotIndex = nIndex;
  if (m_hWnd) SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(nIndex));
}

void CTkMenuBar::SetTrackingState(int nState, int nIndex) {
  if (nState == m_nTrackingState) return;
  if (nState == kTrackNone) nIndex = -1;
  SetHotItem(nIndex);
  if (nState == kTrackPopup) {
    m_bEscapePressed = FALSE;
    m_bRightArrowMoves = TRUE;
    m_bLeftArrowMoves = TRUE;
    m_nOpenIndex = nIndex;
  } else {
    m_nOpenIndex = -1;
  }
  m_nTrackingState = nState;
}

int CTkMenuBar::GetNextButton(int nIndex, BOOL bPrevious) const {
  int count = ButtonCount();
  if (count <= 0) return -1;
  if (bPrevious) return nIndex - 1 < 0 ? count - 1 : nIndex - 1;
  return nIndex + 1 >= count ? 0 : nIndex + 1;
}

int CTkMenuBar::HitTestButton(CPoint point) const {
  if (!m_hWnd) return -1;
  int hit = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
  CRect client;
  GetClientRect(&client);
  // The control also names the nearest button for points beside the bar.
  if (hit >= 0 && !client.PtInRect(point)) return -1;
  return hit < ButtonCount() ? hit : -1;
}

LRESULT CALLBACK CTkMenuBar::MenuInputFilter(int nCode, WPARAM wParam, LPARAM lParam) {
  TkMenuShared& shared = TkMenuState();
  if (nCode == MSGF_MENU && shared.pTrackingBar) {
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg && shared.pTrackingBar->OnMenuInput(*msg, FALSE)) return 1;
  }
  return ::CallNextHookEx(shared.hMsgFilterHook, nCode, wParam, lParam);
}

BOOL CTkMenuBar::OnMenuInput(MSG& msg, BOOL bClientCoords) {
  switch (msg.message) {
    case WM_KEYDOWN: {
      UINT key = static_cast<UINT>(msg.wParam);
      if ((key == VK_LEFT && m_bLeftArrowMoves) || (key == VK_RIGHT && m_bRightArrowMoves)) {
        TrackNext(GetNextButton(m_nOpenIndex, key == VK_LEFT));
        return TRUE;
      }
      if (key == VK_ESCAPE) m_bEscapePressed = TRUE;
      return FALSE;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN: {
      CPoint point(static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
      if (bClientCoords && msg.hwnd) ::ClientToScreen(msg.hwnd, &point);
      ScreenToClient(&point);
      if (msg.message == WM_LBUTTONDOWN) {
        if (HitTestButton(point) != m_nOpenIndex) return FALSE;
        TrackNext(-1);
        return TRUE;
      }
      BOOL over = TRUE;
      if (!m_bLastMouseValid || point != m_ptLastMouse) {
        int hit = HitTestButton(point);
        if (hit < 0) {
          over = FALSE;
        } else if (hit != m_nOpenIndex) {
          TrackNext(hit);
          over = FALSE;
        }
        m_ptLastMouse = point;
        m_bLastMouseValid = TRUE;
      }
      const CTkToolkitData& data = ToolkitData();
      if (!data.m_bWin95 && !data.m_bWinNT4 && HasHideableCommands()) {
        HWND owner = GetOwnerFrame();
        if (over && !m_bExpandTimerRunning) {
          ::SetTimer(owner, m_nExpandTimerId, m_nExpandElapse, nullptr);
          m_bExpandTimerRunning = 1;
        } else if (!over && m_bExpandTimerRunning) {
          ::KillTimer(owner, m_nExpandTimerId);
          m_bExpandTimerRunning = 0;
        }
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

void CTkMenuBar::NoteMenuSelect(HMENU hMenu, UINT nItem) {
  if (m_nTrackingState <= kTrackNone) return;
  // On an item with a submenu Right opens the submenu rather than the next bar popup.
  m_bRightArrowMoves = !hMenu || ::GetSubMenu(hMenu, static_cast<int>(nItem)) == nullptr;
  m_bLeftArrowMoves = TRUE;
}

void CTkMenuBar::OnLButtonDown(UINT nFlags, CPoint point) {
  if (OnMDIButtonMouse(WM_LBUTTONDOWN, nFlags, point)) return;
  int hit = HitTestButton(point);
  if (hit >= 0) {
    TrackPopup(hit);
    return;
  }
  CControlBar::OnLButtonDown(nFlags, point);
  RecalcOwnerLayout();
}

void CTkMenuBar::OnMouseMove(UINT nFlags, CPoint point) {
  if (OnMDIButtonMouse(WM_MOUSEMOVE, nFlags, point)) return;
  if (m_nTrackingState == kTrackHot) {
    if (!m_bLastMouseValid || point != m_ptLastMouse) {
      int hit = HitTestButton(point);
      if (hit >= 0) SetHotItem(hit);
    }
    m_ptLastMouse = point;
    m_bLastMouseValid = TRUE;
    return;
  }
  m_ptLastMouse = point;
  m_bLastMouseValid = TRUE;
  Default();
}

void CTkMenuBar::OnLButtonUp(UINT nFlags, CPoint point) {
  if (OnMDIButtonMouse(WM_LBUTTONUP, nFlags, point)) return;
  CTkToolBar::OnLButtonUp(nFlags, point);
}

void CTkMenuBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
  if (OnMDIButtonMouse(WM_LBUTTONDBLCLK, nFlags, point)) return;
  CControlBar::OnLButtonDblClk(nFlags, point);
}

int CTkMenuBar::MapMnemonic(UINT nChar) const {
  UINT command = 0;
  if (SendMessage(TB_MAPACCELERATORA, nChar, reinterpret_cast<LPARAM>(&command))) {
    int index = CommandToIndex(command);
    if (index >= 0) return index;
  }
  // The control's own lookup is missing on some systems: the texts' "&x" marks decide.
  int count = ButtonCount();
  for (int i = 0; i < count; ++i) {
    CString text = GetButtonText(i);
    for (int c = 0; c + 1 < text.GetLength(); ++c) {
      if (text[c] != '&') continue;
      if (text[c + 1] == '&') {
        ++c;
        continue;
      }
      if (std::toupper(static_cast<unsigned char>(text[c + 1])) == static_cast<int>(nChar))
        return i;
      break;
    }
  }
  return -1;
}

BOOL CTkMenuBar::TranslateFrameMessage(MSG* pMsg) {
  if (!pMsg || !m_hWnd || !IsWindowVisible()) return FALSE;
  const UINT message = pMsg->message;
  const UINT key = static_cast<UINT>(pMsg->wParam);
  const bool keyMessage =
      message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
  // Alt enters the keyboard mode only when it went up without another key in between: after
  // Alt+F, Alt+Tab or Alt+F4 its release is not a request for the menu.
  if (keyMessage && key == VK_MENU) {
    if (message != WM_SYSKEYUP && !(pMsg->lParam & (1 << 30))) m_bAltAlone = TRUE;
  } else if (keyMessage && message != WM_SYSKEYUP) {
    m_bAltAlone = FALSE;
  }
  // Function keys belong to the program; F10 is the menu key.
  if (keyMessage && key >= VK_F1 && key <= VK_F11 && key != VK_F10) return FALSE;
  const bool alt = AltBit(pMsg->lParam);
  if (message == WM_SYSKEYDOWN && alt) ShowMnemonics(TRUE);
  if (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK) {
    m_bAltAlone = FALSE;
    if (pMsg->hwnd != m_hWnd && m_nTrackingState > kTrackNone) SetTrackingState(kTrackNone, -1);
    ShowMnemonics(FALSE);
    return FALSE;
  }
  if (!keyMessage) return FALSE;
  if (key == VK_MENU || (key == VK_F10 && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) && !alt)) {
    bool toggle = key == VK_F10 || m_bAltAlone;
    if (key == VK_MENU && message == WM_SYSKEYUP) m_bAltAlone = FALSE;
    if (message == WM_SYSKEYUP && toggle) {
      if (m_nTrackingState == kTrackNone) {
        SetTrackingState(kTrackHot, 0);
      } else if (m_nTrackingState == kTrackHot) {
        SetTrackingState(kTrackNone, -1);
        ShowMnemonics(FALSE);
      }
    }
    return TRUE;
  }
  if (message == WM_SYSKEYUP) return FALSE;
  if (m_nTrackingState == kTrackHot) {
    switch (key) {
      case VK_RETURN:
      case VK_SPACE:
      case VK_UP:
      case VK_DOWN:
        TrackPopup(m_nHotIndex);
        return TRUE;
      case VK_ESCAPE:
        SetTrackingState(kTrackNone, -1);
        ShowMnemonics(FALSE);
        return TRUE;
      case VK_LEFT:
      case VK_RIGHT:
        SetHotItem(GetNextButton(m_nHotIndex, key == VK_LEFT));
        return TRUE;
      default:
        break;
    }
  }
  if ((alt || m_nTrackingState == kTrackHot) &&
      ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
    int index = MapMnemonic(key);
    if (index >= 0) {
      TrackPopup(index);
      return TRUE;
    }
    if (m_nTrackingState == kTrackHot && !alt) {
      Beep();
      return TRUE;
    }
  }
  return FALSE;
}
