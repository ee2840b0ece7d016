#include "framework/dialogs/PropertyPage.h"

#include "framework/app/AfxResource.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

namespace {

// The sheet makes the page's window; the page object takes it over when it is initialised.
INT_PTR CALLBACK AfxPageDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* psp = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
  auto* page = reinterpret_cast<CPropertyPage*>(psp->lParam);
  if (!page->SubclassWindow(hWnd)) return TRUE;
  return page->OnInitDialog();
}

}  // namespace

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption)
    : CPropertyPage(MAKEINTRESOURCEA(nIDTemplate), nIDCaption) {
  m_nIDHelp = nIDTemplate;
}

CPropertyPage::CPropertyPage(LPCSTR lpszTemplateName, UINT nIDCaption)
    : CDialog(lpszTemplateName) {
  m_psp.dwSize = sizeof m_psp;
  m_psp.dwFlags = PSP_DEFAULT;
  m_psp.pszTemplate = lpszTemplateName;
  m_psp.pfnDlgProc = AfxPageDlgProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  if (nIDCaption) {
    m_strCaption = AfxLoadString(nIDCaption).c_str();
    m_psp.dwFlags |= PSP_USETITLE;
  }
}

BOOL CPropertyPage::OnSetActive() {
  // The first activation follows OnInitDialog, which filled the controls already.
  if (m_bFirstSetActive) {
    m_bFirstSetActive = FALSE;
  } else {
    UpdateData(FALSE);
  }
  return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
  return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
  OnOK();
  return TRUE;
}

void CPropertyPage::OnReset() {
  OnCancel();
}

void CPropertyPage::SetModified(BOOL bChanged) {
  HWND hSheet = ::GetParent(m_hWnd);
  if (hSheet) {
    ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd),
                   0);
  }
}

void CPropertyPage::CancelToClose() {
  HWND hSheet = ::GetParent(m_hWnd);
  if (hSheet) ::SendMessageA(hSheet, PSM_CANCELTOCLOSE, 0, 0);
}

void CPropertyPage::SetSheetResult(int nResult) {
  CWnd* pSheet = FromHandlePermanent(::GetParent(m_hWnd));
  if (pSheet) pSheet->m_nModalResult = nResult;
}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) {
  // The sheet does the keyboard navigation for all of its pages.
  return CWnd::PreTranslateMessage(pMsg);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  switch (hdr->code) {
    case PSN_SETACTIVE:
      *pResult = OnSetActive() ? 0 : -1;
      break;
    case PSN_KILLACTIVE:
      *pResult = !OnKillActive();
      break;
    case PSN_APPLY:
      *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
      // Applied for OK (not for Apply Now): the sheet will end with IDOK.
      if (*pResult == PSNRET_NOERROR && reinterpret_cast<PSHNOTIFY*>(lParam)->lParam) {
        SetSheetResult(IDOK);
      }
      break;
    case PSN_RESET:
      OnReset();
      SetSheetResult(IDCANCEL);
      *pResult = 0;
      break;
    case PSN_QUERYCANCEL:
      *pResult = !OnQueryCancel();
      break;
    default:
      return CDialog::OnNotify(wParam, lParam, pResult);
  }
  // The sheet may read the answer from the dialog's result slot as well.
  ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, *pResult);
  return TRUE;
}
