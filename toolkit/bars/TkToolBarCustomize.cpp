// CTkToolBar: creation, loading and the customise dialog of the common control: the buttons as
// loaded are the dialog's list and what Reset puts back; the arrangement the user makes is kept
// in the registry under names composed at creation.
#include <algorithm>
#include <cstring>
#include <string>

#include "framework/app/AfxResource.h"
#include "framework/app/WinApp.h"
#include "framework/frame/FrameWnd.h"
#include "resources/ids/ToolkitToolbarIds.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/core/ToolkitHelpers.h"

// The control's string pool only grows: a text already in it is used again by its index.
INT_PTR CTkToolBar::PoolString(LPCSTR lpszText) {
  auto found = m_stringPool.find(lpszText);
  if (found != m_stringPool.end()) return found->second;
  std::string strings(lpszText);
  strings.push_back('\0');  // the list of strings ends with an empty one
  INT_PTR index = SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(strings.c_str()));
  if (index >= 0) m_stringPool[lpszText] = index;
  return index;
}

BOOL CTkToolBar::SetButtonText(int nIndex, LPCSTR lpszText) {
  TBBUTTON button = {};
  if (!lpszText || !_GetButton(nIndex, &button) || (button.fsStyle & TBSTYLE_SEP)) return FALSE;
  INT_PTR index = PoolString(lpszText);
  if (index < 0) return FALSE;
  m_textByCommand[static_cast<UINT>(button.idCommand)] = lpszText;
  if (button.iString == index) return TRUE;
  button.iString = index;
  if (!_SetButton(nIndex, &button)) return FALSE;
  // The control sizes buttons for their texts as they are inserted; the bar follows.
  SendMessage(TB_AUTOSIZE);
  PositionControls();
  return TRUE;
}

BOOL CTkToolBar::SaveState() {
  if (m_strRegKey.IsEmpty() || !m_hWnd) return FALSE;
  TBSAVEPARAMSA params = {HKEY_CURRENT_USER, m_strRegKey, m_strRegValue};
  SendMessage(TB_SAVERESTOREA, TRUE, reinterpret_cast<LPARAM>(&params));
  return TRUE;
}

BOOL CTkToolBar::RestoreState() {
  if (m_strRegKey.IsEmpty() || !m_hWnd) return FALSE;
  TBSAVEPARAMSA params = {HKEY_CURRENT_USER, m_strRegKey, m_strRegValue};
  ShowHiddenButtons();
  BOOL restored = SendMessage(TB_SAVERESTOREA, FALSE, reinterpret_cast<LPARAM>(&params)) != 0;
  AfterButtonsChanged();
  return restored;
}

int CTkToolBar::TkMessageBox(UINT nIDText, UINT nType) {
  return ::MessageBoxA(m_hWnd, TkLoadString(nIDText), AfxGetAppName(), nType);
}

// The frame lays the bars out again and the buttons take their states from the handlers.
void CTkToolBar::AfterButtonsChanged() {
  SendMessage(TB_AUTOSIZE);
  PositionControls();
  auto* frame = static_cast<CFrameWnd*>(GetParentFrame());
  if (frame) {
    frame->RecalcLayout();
    OnUpdateCmdUI(frame, TRUE);
  }
}

// All buttons take part in the dialog, also those behind the chevron.
void CTkToolBar::OnBeginAdjust(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  if (m_bCustomizing) return;
  ShowHiddenButtons();
  // Every button is on the bar: the chevron goes past its end.
  PositionChevron(10000, IsHorizontalForChevron());
  m_bCustomizing = TRUE;
  auto* frame = static_cast<CFrameWnd*>(GetParentFrame());
  if (frame) frame->RecalcLayout();
}

void CTkToolBar::OnEndAdjust(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  m_bCustomizing = FALSE;
  SaveState();
}

void CTkToolBar::OnDragRefused(NMHDR*, LRESULT* pResult) { *pResult = 1; }

void CTkToolBar::OnCustomizeHelp(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  TkMessageBox(IDS_TK_TOOLBAR_NOHELP, MB_OK | MB_ICONINFORMATION);
}

// The dialog lists the buttons as loaded, each with its text: the one set on the bar, else the
// command's prompt string (its tooltip part after the line feed, or the prompt when that is
// empty).
void CTkToolBar::OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
  *pResult = 0;
  if (nm->iItem < 0 || nm->iItem >= static_cast<int>(m_initial.size())) return;
  TBBUTTON button = m_initial[nm->iItem].button;
  CString text;
  if (button.idCommand >= 1 && !(button.fsStyle & TBSTYLE_SEP)) {
    auto found = m_textByCommand.find(static_cast<UINT>(button.idCommand));
    if (found != m_textByCommand.end()) {
      text = found->second;
      int live = CommandToIndex(static_cast<UINT>(button.idCommand));
      TBBUTTON current = {};
      if (live >= 0 &&
          ::SendMessageA(m_hWnd, TB_GETBUTTON, live, reinterpret_cast<LPARAM>(&current)))
        button.iString = current.iString;
    } else {
      char buffer[256] = {};
      ::LoadStringA(AfxGetResourceHandle(), static_cast<UINT>(button.idCommand), buffer,
                    sizeof buffer);
      CString prompt(buffer);
      int lineFeed = prompt.Find('\n');
      text = lineFeed < 0 ? prompt : prompt.Mid(lineFeed + 1);
      if (text.IsEmpty() && lineFeed >= 0) text = prompt.Left(lineFeed);
    }
  }
  if (!text.IsEmpty() && nm->pszText && nm->cchText > 0) {
    int length = std::min(text.GetLength(), nm->cchText - 1);
    std::memcpy(nm->pszText, static_cast<LPCSTR>(text), length);
    nm->pszText[length] = '\0';
    nm->cchText = length;
  }
  nm->tbButton = button;
  *pResult = 1;
}

// A button that is hidden (behind the chevron, or by the program) is not the user's to remove.
void CTkToolBar::OnQueryDelete(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMTOOLBARA*>(pNMHDR);
  *pResult = !(nm->tbButton.idCommand != 0 && (nm->tbButton.fsState & TBSTATE_HIDDEN));
}

void CTkToolBar::OnQueryInsert(NMHDR*, LRESULT* pResult) { *pResult = 1; }

void CTkToolBar::OnReset(NMHDR*, LRESULT* pResult) {
  *pResult = 1;
  if (TkMessageBox(IDS_TK_TOOLBAR_RESET, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  m_hidden.clear();
  for (int i = static_cast<int>(SendMessage(TB_BUTTONCOUNT)) - 1; i >= 0; --i)
    SendMessage(TB_DELETEBUTTON, i);
  for (const TkInitialButton& initial : m_initial) {
    if (initial.bHiddenAtLoad) continue;
    TBBUTTON button = initial.button;
    // The texts set since loading belong to the buttons as well.
    auto found = m_textByCommand.find(static_cast<UINT>(button.idCommand));
    if (found != m_textByCommand.end() && !(button.fsStyle & TBSTYLE_SEP)) {
      INT_PTR index = PoolString(found->second);
      if (index >= 0) button.iString = index;
    }
    SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
  }
  for (const TkDropDown& d : m_dropDowns) {
    int index = CommandToIndex(d.nID);
    if (index >= 0) SetButtonStyle(index, GetButtonStyle(index) | TBSTYLE_DROPDOWN);
  }
  AfterButtonsChanged();
}

void CTkToolBar::OnToolBarChange(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  AfterButtonsChanged();
}
