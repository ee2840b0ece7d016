#include "framework/wnd/CmdUI.h"

#include <windows.h>
#include <commctrl.h>

#include "framework/wnd/Wnd.h"

// The menu's handle (kept apart with the other code that needs the menu class).
HMENU AfxMenuHandle(CMenu* pMenu);

namespace {

enum class Kind { kMenu, kToolBar, kStatusBar, kControl, kNone };

Kind KindOf(const CCmdUI& ui) {
  if (ui.m_pMenu) return Kind::kMenu;
  if (!ui.m_pOther || !ui.m_pOther->m_hWnd) return Kind::kNone;
  char cls[32] = "";
  ::GetClassNameA(ui.m_pOther->m_hWnd, cls, sizeof cls);
  if (lstrcmpiA(cls, TOOLBARCLASSNAMEA) == 0) return Kind::kToolBar;
  if (lstrcmpiA(cls, STATUSCLASSNAMEA) == 0) return Kind::kStatusBar;
  return Kind::kControl;
}

bool IsButton(HWND h) {
  char cls[16] = "";
  ::GetClassNameA(h, cls, sizeof cls);
  return lstrcmpiA(cls, "Button") == 0;
}

}  // namespace

void CCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  switch (KindOf(*this)) {
    case Kind::kMenu:
      // Items that open a popup keep their state (the popup's items decide).
      if (!m_pSubMenu) {
        ::EnableMenuItem(AfxMenuHandle(m_pMenu), m_nIndex,
                         MF_BYPOSITION | (bOn ? MF_ENABLED : MF_DISABLED | MF_GRAYED));
      }
      break;
    case Kind::kToolBar:
      m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELONG(bOn, 0));
      break;
    case Kind::kStatusBar:
      // A disabled pane shows no text.
      if (!bOn) m_pOther->SendMessage(SB_SETTEXTA, m_nIndex, reinterpret_cast<LPARAM>(""));
      break;
    case Kind::kControl:
      // The focus must not stay on a control that is being disabled.
      if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
        HWND parent = ::GetParent(m_pOther->m_hWnd);
        ::SendMessageA(parent, WM_NEXTDLGCTL, 0, FALSE);
      }
      m_pOther->EnableWindow(bOn);
      break;
    case Kind::kNone:
      break;
  }
}

void CCmdUI::SetCheck(int nCheck) {
  switch (KindOf(*this)) {
    case Kind::kMenu:
      if (!m_pSubMenu) {
        ::CheckMenuItem(AfxMenuHandle(m_pMenu), m_nIndex,
                        MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
      }
      break;
    case Kind::kToolBar:
      m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELONG(nCheck != 0, 0));
      if (nCheck == 2) m_pOther->SendMessage(TB_INDETERMINATE, m_nID, MAKELONG(TRUE, 0));
      break;
    case Kind::kControl:
      if (IsButton(m_pOther->m_hWnd)) m_pOther->SendMessage(BM_SETCHECK, nCheck);
      break;
    default:
      break;
  }
}

void CCmdUI::SetRadio(BOOL bOn) {
  if (KindOf(*this) != Kind::kMenu || m_pSubMenu) {
    SetCheck(bOn ? 1 : 0);
    return;
  }
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE;
  HMENU h = AfxMenuHandle(m_pMenu);
  if (!::GetMenuItemInfoA(h, m_nIndex, TRUE, &info)) return;
  info.fType = bOn ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
  info.fState = bOn ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
  ::SetMenuItemInfoA(h, m_nIndex, TRUE, &info);
}

void CCmdUI::SetText(LPCSTR lpszText) {
  switch (KindOf(*this)) {
    case Kind::kMenu: {
      if (m_pSubMenu) break;
      MENUITEMINFOA info = {};
      info.cbSize = sizeof info;
      info.fMask = MIIM_STRING;
      info.dwTypeData = const_cast<LPSTR>(lpszText);
      ::SetMenuItemInfoA(AfxMenuHandle(m_pMenu), m_nIndex, TRUE, &info);
      break;
    }
    case Kind::kStatusBar:
      m_pOther->SendMessage(SB_SETTEXTA, m_nIndex, reinterpret_cast<LPARAM>(lpszText));
      break;
    case Kind::kControl:
      m_pOther->SetWindowText(lpszText);
      break;
    default:
      break;
  }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  m_bEnableChanged = FALSE;
  BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
  if (bDisableIfNoHndler && !m_bEnableChanged) {
    AFX_CMDHANDLERINFO info = {nullptr};
    // No update handler said anything: the item works when some command handler exists.
    Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
  }
  return handled;
}

