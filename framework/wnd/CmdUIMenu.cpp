// The menu side of the command user interface.
#include "framework/gdi/Menu.h"
#include "framework/wnd/CmdUI.h"
#include "framework/wnd/CmdTarget.h"

HMENU AfxMenuHandle(CMenu* pMenu) {
  return pMenu->GetSafeHmenu();
}

void AfxUpdateMenuCmdUI(CMenu* pPopup, CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  HMENU hMenu = AfxMenuHandle(pPopup);
  CCmdUI state;
  state.m_pMenu = pPopup;
  state.m_nIndexMax = static_cast<UINT>(::GetMenuItemCount(hMenu));
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    UINT id = ::GetMenuItemID(hMenu, static_cast<int>(state.m_nIndex));
    if (id == 0) continue;  // separator
    state.m_pSubMenu = nullptr;
    if (id == static_cast<UINT>(-1)) {
      // An item opening a popup runs under the id of the popup's first item.
      HMENU hSub = ::GetSubMenu(hMenu, static_cast<int>(state.m_nIndex));
      if (!hSub || (id = ::GetMenuItemID(hSub, 0)) == 0 || id == static_cast<UINT>(-1)) continue;
      state.m_pSubMenu = CMenu::FromHandle(hSub);
    }
    state.m_nID = id;
    state.DoUpdate(pTarget, bDisableIfNoHndler);
    // An update handler may have removed or added items.
    UINT count = static_cast<UINT>(::GetMenuItemCount(hMenu));
    if (count < state.m_nIndexMax) {
      state.m_nIndex -= state.m_nIndexMax - count;
      state.m_nIndexMax = count;
    }
  }
}
