// CTkToolBar's drop-down buttons: a menu opened below the button, the colour popup, or a note
// to the owner; and the hot item held still while the mouse button is down.
#include <windows.h>

#include "framework/app/AfxResource.h"
#include "toolkit/bars/TkFlatPainters.h"
#include "toolkit/bars/TkTheme.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/menubar/TkTrackedMenu.h"
#include "toolkit/widgets/TkColorPickerPopup.h"

namespace {

// The look's painter, told when a drop-down opens and closes so it draws the button dropped.
CTkFlatToolBarPainter* Painter() { return GetCurrentTheme().GetToolBarPainter(); }

// The button is drawn again with the room of the shadow its open menu cast.
void TellPainterClosed(CWnd* bar, int nIndex) {
  CTkFlatToolBarPainter* painter = Painter();
  if (!painter) return;
  painter->SetDroppedButton(bar->m_hWnd, -1);
  if (nIndex >= 0) painter->InvalidateButton(bar, nIndex);
}

}  // namespace

// Every drop-down button has a record; the live button (and the record kept for the customise
// dialog's Reset) gets the drop-down style.
BOOL CTkToolBar::AddDropDownButton(UINT nID, UINT nMenuID, BOOL bArrow) {
  int index = CommandToIndex(nID);
  if (index < 0) return FALSE;
  if (bArrow)
    SendMessage(TB_SETEXTENDEDSTYLE, 0,
                SendMessage(TB_GETEXTENDEDSTYLE) | TBSTYLE_EX_DRAWDDARROWS);
  SetButtonStyle(index, GetButtonStyle(index) | TBSTYLE_DROPDOWN);
  if (TkInitialButton* initial = FindInitial(nID)) initial->button.fsStyle |= TBSTYLE_DROPDOWN;
  TkDropDown* drop = FindDropDown(nID);
  if (!drop) {
    m_dropDowns.push_back(TkDropDown{});
    drop = &m_dropDowns.back();
    drop->nID = nID;
  }
  drop->nMenuID = nMenuID;
  return TRUE;
}

BOOL CTkToolBar::AddDropDownButton(UINT nID, COLORREF clrCurrent, COLORREF clrDefault,
                                   DWORD dwPopupStyle, BOOL bShowColorBar, BOOL bArrow) {
  if (!AddDropDownButton(nID, 0, bArrow)) return FALSE;
  TkDropDown* drop = FindDropDown(nID);
  drop->bColorPopup = TRUE;
  drop->clrCurrent = clrCurrent;
  drop->clrDefault = clrDefault;
  drop->dwPopupStyle = dwPopupStyle;
  drop->bShowColorBar = bShowColorBar;
  return TRUE;
}

const TkDropDown* CTkToolBar::FindDropDown(UINT nID) const {
  for (const TkDropDown& d : m_dropDowns)
    if (d.nID == nID) return &d;
  return nullptr;
}

UINT CTkToolBar::GetDropDownMenu(UINT nID) const {
  const TkDropDown* d = FindDropDown(nID);
  return d ? d->nMenuID : 0;
}

// A bar at the left or right opens its menus as a bar at the top would: below the button.
void CTkToolBar::TrackDropDownMenu(HMENU hPopup, const RECT& rcButton) {
  CWnd* owner = GetOwner();
  if (!owner) return;
  CTkTrackedMenu tracked(hPopup);
  tracked.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL, rcButton.left,
                         rcButton.bottom, owner->m_hWnd, TRUE);
}

BOOL CTkToolBar::IsLeftButtonDown() const {
  // The logical button: with swapped buttons the physical right one.
  int key = ::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return (::GetKeyState(key) & 0x8000) != 0;
}

// The menu's commands go to the owner (the frame), like the buttons'. A button without a menu
// tells the owner, which may open something of its own; the mouse stays captured until the button
// comes up, so that the release does not land on another button.
void CTkToolBar::OnDropDown(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
  *pResult = TBDDRET_DEFAULT;
  TkDropDown* drop = FindDropDown(static_cast<UINT>(nm->iItem));
  if (!drop) {
    *pResult = TBDDRET_NODEFAULT;
    return;
  }
  // A second click on the button of the open colour popup leaves it as it is.
  if (m_hWndColorPopup && ::IsWindow(m_hWndColorPopup) &&
      m_nColorPopupCmd == static_cast<int>(drop->nID))
    return;
  RECT rect = {};
  SendMessage(TB_GETRECT, nm->iItem, reinterpret_cast<LPARAM>(&rect));
  CRect grown(rect);
  grown.InflateRect(4, 4);
  InvalidateRect(&grown);
  ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(&rect), 2);

  m_nDropDownPressed = CommandToIndex(drop->nID);
  CTkToolkitData& data = ToolkitData();
  data.m_rcDropDownButton = rect;
  data.m_dwDropDownSide = IsFloating() ? 0 : (m_dwStyle & CBRS_ALIGN_ANY);
  if (CTkFlatToolBarPainter* painter = Painter()) {
    painter->SetDroppedButton(m_hWnd, m_nDropDownPressed);
    painter->InvalidateButton(this, m_nDropDownPressed);
  }
  if (drop->nMenuID) {
    HMENU menu = ::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(drop->nMenuID));
    HMENU popup = menu ? ::GetSubMenu(menu, 0) : nullptr;
    if (popup) TrackDropDownMenu(popup, rect);
    if (menu) ::DestroyMenu(menu);
    TellPainterClosed(this, m_nDropDownPressed);
    m_nDropDownPressed = -1;
  } else if (drop->bColorPopup) {
    OpenColorPopup(*drop, rect);
  } else {
    CWnd* owner = GetOwner();
    if (owner)
      owner->SendMessage(WM_TK_TOOLBAR_DROPDOWN, reinterpret_cast<WPARAM>(nm),
                         reinterpret_cast<LPARAM>(&rect));
    TellPainterClosed(this, m_nDropDownPressed);
    m_nDropDownPressed = -1;
    if (IsLeftButtonDown()) {
      m_bTrackingCapture = TRUE;
      SetCapture();
    }
  }
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The popup owns itself (it is deleted with its window); the bar keeps only its window.
void CTkToolBar::OpenColorPopup(TkDropDown& drop, const RECT& rcButton) {
  if (m_hWndColorPopup && ::IsWindow(m_hWndColorPopup)) ::DestroyWindow(m_hWndColorPopup);
  m_hWndColorPopup = nullptr;
  m_nColorPopupCmd = static_cast<int>(drop.nID);
  auto* popup = new CTkColorPickerPopup(TRUE, drop.nID);
  popup->AddNotifyWindow(m_hWnd);
  // A failed creation has deleted the popup already (its window's end deletes it).
  HWND made = popup->Create(rcButton, this, drop.dwPopupStyle, drop.clrCurrent, drop.clrDefault)
                  ? popup->m_hWnd
                  : nullptr;
  if (!made) {
    m_nColorPopupCmd = -1;
    m_nDropDownPressed = -1;
    TellPainterClosed(this, m_nDropDownPressed);
    return;
  }
  m_hWndColorPopup = made;
}

LRESULT CTkToolBar::OnColorPopupChosen(WPARAM wParam, LPARAM lParam) {
  if (TkDropDown* drop = FindDropDown(static_cast<UINT>(lParam)))
    drop->clrCurrent = static_cast<COLORREF>(wParam);
  Invalidate();
  CWnd* owner = GetOwner();
  return owner ? owner->SendMessage(WM_TK_COLORPOPUP_CHOSEN, wParam, lParam) : 0;
}

LRESULT CTkToolBar::OnColorPopupClosed(WPARAM wParam, LPARAM) {
  TellPainterClosed(this, m_nDropDownPressed);
  LPARAM command = m_nColorPopupCmd;
  m_nColorPopupCmd = -1;
  m_hWndColorPopup = nullptr;
  m_nDropDownPressed = -1;
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  CWnd* owner = GetOwner();
  return owner ? owner->SendMessage(WM_TK_COLORPOPUP_CLOSED, wParam, command) : 0;
}

void CTkToolBar::OnLButtonUp(UINT, CPoint) {
  if (m_bTrackingCapture) {
    ::ReleaseCapture();
    m_bTrackingCapture = FALSE;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
  Default();
}

// Dragging with the button held over other buttons would light them up as if they were the one
// that gets the release.
void CTkToolBar::OnHotItemChange(NMHDR*, LRESULT* pResult) {
  *pResult = IsLeftButtonDown() ? 1 : 0;
}
