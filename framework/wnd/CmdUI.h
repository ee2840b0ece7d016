// CCmdUI: one user-interface item (a menu item, a toolbar button, a status pane or a dialog
// control) asking the command targets whether its command is enabled, checked or what it says.
// Which kind of item it is follows from the members set: m_pMenu (a menu item at m_nIndex),
// m_pOther (a toolbar, a status bar pane at m_nIndex, or any other control window).
#pragma once
#include <windows.h>

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
 public:
  CCmdUI() = default;
  virtual ~CCmdUI() = default;

  virtual void Enable(BOOL bOn = TRUE);
  // 0 clear, 1 checked, 2 indeterminate (where the item knows a third state).
  virtual void SetCheck(int nCheck = 1);
  virtual void SetRadio(BOOL bOn = TRUE);
  virtual void SetText(LPCSTR lpszText);
  // Lets the next command target in the route handle the update as well.
  void ContinueRouting() { m_bContinueRouting = TRUE; }

  // Asks pTarget's route; when no update handler enabled or disabled the item and
  // bDisableIfNoHndler is set, the item is disabled unless a command handler exists. TRUE when
  // an update handler took the item.
  BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

  UINT m_nID = 0;
  UINT m_nIndex = 0;
  CMenu* m_pMenu = nullptr;        // the popup holding the item
  CMenu* m_pSubMenu = nullptr;     // the item's own popup, when it opens one
  CMenu* m_pParentMenu = nullptr;  // the menu holding m_pMenu, for popups of popups
  CWnd* m_pOther = nullptr;        // the control window of a non-menu item
  BOOL m_bEnableChanged = FALSE;
  BOOL m_bContinueRouting = FALSE;
  UINT m_nIndexMax = 0;
};

// Runs the update route for every item of a popup menu (items that open a popup are enabled
// when any of their items is); used when a menu is about to open.
void AfxUpdateMenuCmdUI(CMenu* pPopup, CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
