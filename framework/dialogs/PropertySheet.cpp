#include "framework/dialogs/PropertySheet.h"

#include "framework/app/AfxResource.h"
#include "framework/threads/WinThread.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {
thread_local CPropertySheet* t_pSheetInit = nullptr;
}  // namespace

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(AfxLoadString(nIDCaption).c_str()) {
  CommonConstruct(pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : m_strCaption(pszCaption ? pszCaption : "") {
  CommonConstruct(pParentWnd, iSelectPage);
}

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage) {
  m_pParentWnd = pParentWnd;
  m_psh.dwSize = sizeof m_psh;
  m_psh.dwFlags = PSH_PROPSHEETPAGE;
  m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
  m_pages.push_back(pPage);
  if (m_hWnd) {
    PROPSHEETPAGEA psp = pPage->m_psp;
    psp.hInstance = AfxGetResourceHandle();
    HPROPSHEETPAGE h = ::CreatePropertySheetPageA(&psp);
    if (h) SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(h));
  }
}

void CPropertySheet::RemovePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return;
  if (m_hWnd) SendMessage(PSM_REMOVEPAGE, nPage);
  m_pages.erase(m_pages.begin() + nPage);
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
  return nPage >= 0 && nPage < GetPageCount() ? m_pages[nPage] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
  for (int i = 0; i < GetPageCount(); ++i) {
    if (m_pages[i] == pPage) return i;
  }
  return -1;
}

int CPropertySheet::GetActiveIndex() const {
  if (!m_hWnd) return static_cast<int>(m_psh.nStartPage);
  HWND hPage = reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND));
  for (int i = 0; i < GetPageCount(); ++i) {
    if (m_pages[i]->m_hWnd && m_pages[i]->m_hWnd == hPage) return i;
  }
  return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
  return GetPage(GetActiveIndex());
}

BOOL CPropertySheet::SetActivePage(int nPage) {
  if (nPage < 0 || nPage >= GetPageCount()) return FALSE;
  if (!m_hWnd) {
    m_psh.nStartPage = static_cast<UINT>(nPage);
    return TRUE;
  }
  return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, nPage, 0));
}

void CPropertySheet::SetTitle(LPCSTR lpszText, UINT nStyle) {
  m_strCaption = lpszText ? lpszText : "";
  m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
  if (m_hWnd) SendMessage(PSM_SETTITLEA, nStyle & PSH_PROPTITLE, reinterpret_cast<LPARAM>(lpszText));
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM) {
  if (message == PSCB_INITIALIZED && t_pSheetInit) {
    CPropertySheet* sheet = t_pSheetInit;
    t_pSheetInit = nullptr;
    sheet->SubclassWindow(hWnd);
  }
  return 0;
}

INT_PTR CPropertySheet::DoModal() {
  if (m_pages.empty()) return -1;
  HINSTANCE hInst = AfxGetResourceHandle();
  m_pageRecords.clear();
  for (CPropertyPage* page : m_pages) {
    page->m_bFirstSetActive = TRUE;
    PROPSHEETPAGEA psp = page->m_psp;
    psp.hInstance = hInst;
    if (psp.dwFlags & PSP_USETITLE) psp.pszTitle = page->m_strCaption;
    m_pageRecords.push_back(psp);
  }
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  HWND hOwner = pParent ? pParent->GetTopLevelParent()->m_hWnd : nullptr;
  if (hOwner && ::GetWindowThreadProcessId(hOwner, nullptr) != ::GetCurrentThreadId()) hOwner = nullptr;
  PROPSHEETHEADERA psh = m_psh;
  psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_USECALLBACK;
  psh.hwndParent = hOwner;
  psh.hInstance = hInst;
  psh.pszCaption = m_strCaption;
  psh.nPages = static_cast<UINT>(m_pageRecords.size());
  if (psh.nStartPage >= psh.nPages) psh.nStartPage = 0;
  psh.ppsp = m_pageRecords.data();
  psh.pfnCallback = SheetCallback;
  BOOL bEnableOwner = hOwner && ::IsWindowEnabled(hOwner);
  if (bEnableOwner) ::EnableWindow(hOwner, FALSE);
  t_pSheetInit = this;
  ::PropertySheetA(&psh);
  t_pSheetInit = nullptr;
  m_nModalResult = IDCANCEL;
  if (m_hWnd) {
    m_bContinueModal = TRUE;
    RunModalLoop();
  }
  if (bEnableOwner) ::EnableWindow(hOwner, TRUE);
  if (hOwner && m_hWnd && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hOwner);
  DestroyWindow();
  return m_nModalResult;
}

BOOL CPropertySheet::ContinueModal() {
  // The sheet has no current page once OK or Cancel ended it.
  if (m_bContinueModal && m_hWnd && !SendMessage(PSM_GETCURRENTPAGEHWND)) m_bContinueModal = FALSE;
  return m_bContinueModal;
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam) {
  // The result the sheet ends with, should this press end it.
  if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) m_nModalResult = LOWORD(wParam);
  return CWnd::OnCommand(wParam, lParam);
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  return static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}
