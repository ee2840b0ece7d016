// The options pages' common base: the settings they edit, the save and broadcast of Apply, the
// page last shown, context help and the modified state that any edit of the user sets.
#include "app/settings/SearchProperties.h"
#include "app/program/ZubrinApp.h"
#include "app/run/UpdateBroadcast.h"
#include "framework/app/WinApp.h"
#include "ui/sheets/options/OptionsPages.h"
#include "framework/wnd/MessageMap.h"

int LastOptionsPage = 0;

BEGIN_MESSAGE_MAP(COptionsPage, CPropertyPage)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
END_MESSAGE_MAP()

COptionsPage::COptionsPage(UINT nIDTemplate, int nIndex)
    : CPropertyPage(nIDTemplate), m_nIndex(nIndex) {}

CSearchProperties& COptionsPage::Settings() { return GetSearchProperties(); }

void COptionsPage::SaveAndBroadcast(UINT hint) {
  Settings().Save();
  BroadcastUpdate(hint, 0);
}

BOOL COptionsPage::OnInitDialog() {
  m_bFilling = TRUE;
  BOOL result = CPropertyPage::OnInitDialog();
  m_bFilling = FALSE;
  return result;
}

BOOL COptionsPage::OnSetActive() {
  LastOptionsPage = m_nIndex;
  m_bFilling = TRUE;
  BOOL result = CPropertyPage::OnSetActive();
  m_bFilling = FALSE;
  return result;
}

// A click on a check box, a typed change or another choice in a list is an edit: the sheet's
// Apply lights up for it. A push button (the header's, say) is no edit by itself.
BOOL COptionsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  bool edit = code == EN_CHANGE || code == CBN_SELCHANGE;
  if (code == BN_CLICKED && control) {
    LONG_PTR type = ::GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK;
    edit = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
           type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
  }
  if (control && !m_bFilling && edit) SetModified(TRUE);
  return CPropertyPage::OnCommand(wParam, lParam);
}

void COptionsPage::EnableItem(int nID, BOOL bEnable) {
  if (HWND item = ::GetDlgItem(m_hWnd, nID)) ::EnableWindow(item, bEnable);
}

BOOL COptionsPage::IsChecked(int nID) const {
  return ::IsDlgButtonChecked(m_hWnd, nID) == BST_CHECKED;
}

LRESULT COptionsPage::OnHelpMessage(WPARAM, LPARAM lParam) {
  auto* app = dynamic_cast<CZubrinApp*>(AfxGetApp());
  if (app && lParam) return app->OnContextHelp(reinterpret_cast<const HELPINFO*>(lParam));
  return TRUE;
}
