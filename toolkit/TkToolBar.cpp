#include "toolkit/TkToolBar.h"

#include "framework/AfxResource.h"
#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNAMIC(CTkToolBar, CToolBar)

BEGIN_MESSAGE_MAP(CTkToolBar, CToolBar)
  ON_NOTIFY_REFLECT(TBN_DROPDOWN, OnDropDown)
END_MESSAGE_MAP()

BOOL CTkToolBar::AddDropDownButton(UINT nID, UINT nMenuID, BOOL bArrow) {
  int index = CommandToIndex(nID);
  if (index < 0) return FALSE;
  SendMessage(TB_SETEXTENDEDSTYLE, 0,
              SendMessage(TB_GETEXTENDEDSTYLE) | TBSTYLE_EX_DRAWDDARROWS);
  UINT style = GetButtonStyle(index);
  SetButtonStyle(index, style | (bArrow ? BTNS_DROPDOWN : BTNS_WHOLEDROPDOWN));
  for (int i = 0; i < m_nDropDowns; ++i) {
    if (m_dropDowns[i].nID == nID) {
      m_dropDowns[i].nMenuID = nMenuID;
      return TRUE;
    }
  }
  if (m_nDropDowns == static_cast<int>(sizeof m_dropDowns / sizeof m_dropDowns[0])) return FALSE;
  m_dropDowns[m_nDropDowns++] = {nID, nMenuID};
  return TRUE;
}

UINT CTkToolBar::GetDropDownMenu(UINT nID) const {
  for (int i = 0; i < m_nDropDowns; ++i)
    if (m_dropDowns[i].nID == nID) return m_dropDowns[i].nMenuID;
  return 0;
}

// The menu's commands go to the owner (the frame), like the buttons'.
void CTkToolBar::OnDropDown(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
  *pResult = TBDDRET_DEFAULT;
  UINT menuId = GetDropDownMenu(static_cast<UINT>(nm->iItem));
  HMENU menu = menuId ? ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(menuId)) : nullptr;
  if (!menu) {
    *pResult = TBDDRET_NODEFAULT;
    return;
  }
  RECT rect = {};
  SendMessage(TB_GETRECT, nm->iItem, reinterpret_cast<LPARAM>(&rect));
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&rect), 2);
  CWnd* owner = GetOwner();
  HMENU popup = ::GetSubMenu(menu, 0);
  if (popup && owner)
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, rect.left, rect.bottom, 0,
                     owner->m_hWnd, nullptr);
  ::DestroyMenu(menu);
}
