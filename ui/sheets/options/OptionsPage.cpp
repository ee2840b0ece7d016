// The options pages' common base: the settings they edit, the save and broadcast of Apply, the
// page last shown, context help and the modified state that any edit of the user sets.
#include "app/SearchProperties.h"
#include "app/ZubrinApp.h"
#include "app/run/UpdateBroadcast.h"
#include "framework/WinApp.h"
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

// A click or a typed change in any field is an edit: the sheet's Apply lights up for it.
BOOL COptionsPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT code = HIWORD(wParam);
  if (lParam && !m_bFilling && (code == BN_CLICKED || code == EN_CHANGE || code == CBN_SELCHANGE))
    SetModified(TRUE);
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
