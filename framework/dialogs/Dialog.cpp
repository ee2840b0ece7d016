#include "framework/dialogs/Dialog.h"

#include "framework/app/AfxResource.h"
#include "framework/threads/WinThread.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
  ON_COMMAND(IDOK, OnOKCommand)
  ON_COMMAND(IDCANCEL, OnCancelCommand)
END_MESSAGE_MAP()

namespace {

// Our window procedure does the dialog's work; the system's dialog procedure only answers
// "not handled" so that the default dialog handling runs.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

}  // namespace

LPCDLGTEMPLATEA AfxLoadDialogTemplate(LPCSTR lpszTemplateName, HINSTANCE* phInst) {
  HINSTANCE hInst = AfxGetResourceHandle();
  if (!hInst) hInst = ::GetModuleHandleA(nullptr);
  HRSRC hRes = ::FindResourceA(hInst, lpszTemplateName, MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL hGlobal = hRes ? ::LoadResource(hInst, hRes) : nullptr;
  if (phInst) *phInst = hInst;
  return hGlobal ? static_cast<LPCDLGTEMPLATEA>(::LockResource(hGlobal)) : nullptr;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEA lpTemplate, HWND hWndParent, HINSTANCE hInst) {
  m_nModalResult = -1;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpTemplate, hWndParent, AfxDlgProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCSTR lpszTemplateName, CWnd* pParentWnd) {
  m_lpszTemplateName = lpszTemplateName;
  if (pParentWnd) m_pParentWnd = pParentWnd;
  HINSTANCE hInst = nullptr;
  LPCDLGTEMPLATEA tmpl = AfxLoadDialogTemplate(lpszTemplateName, &hInst);
  if (!tmpl) return FALSE;
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  return CreateDlgIndirect(tmpl, pParent ? pParent->m_hWnd : nullptr, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd) {
  if (pParentWnd) m_pParentWnd = pParentWnd;
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  return CreateDlgIndirect(lpDialogTemplate, pParent ? pParent->m_hWnd : nullptr,
                           AfxGetResourceHandle());
}

HWND CDialog::PreModal() {
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  HWND hWnd = pParent ? pParent->m_hWnd : nullptr;
  // The owner must be a top-level window of this thread: owning another thread's window
  // would tie the two threads' input together.
  while (hWnd && (::GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)) hWnd = ::GetParent(hWnd);
  if (hWnd && ::GetWindowThreadProcessId(hWnd, nullptr) != ::GetCurrentThreadId()) hWnd = nullptr;
  if (hWnd) hWnd = ::GetLastActivePopup(hWnd);
  return hWnd;
}

INT_PTR CDialog::DoModal() {
  HINSTANCE hInst = nullptr;
  LPCDLGTEMPLATEA tmpl = AfxLoadDialogTemplate(m_lpszTemplateName, &hInst);
  if (!tmpl) return -1;
  HWND hWndOwner = PreModal();
  BOOL bEnableOwner = hWndOwner && ::IsWindowEnabled(hWndOwner);
  if (bEnableOwner) ::EnableWindow(hWndOwner, FALSE);
  m_bContinueModal = TRUE;
  m_bInModalLoop = TRUE;
  if (CreateDlgIndirect(tmpl, hWndOwner, hInst)) {
    if (m_bContinueModal && !(GetStyle() & WS_VISIBLE)) ShowWindow(SW_SHOWNORMAL);
    if (m_bContinueModal) RunModalLoop();
    if (m_hWnd) {
      ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
  }
  m_bInModalLoop = FALSE;
  // The owner is enabled before the dialog goes, so that it gets the activation back.
  if (bEnableOwner) ::EnableWindow(hWndOwner, TRUE);
  if (hWndOwner && ::GetActiveWindow() == m_hWnd) ::SetActiveWindow(hWndOwner);
  DestroyWindow();
  return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
  if (m_bInModalLoop) {
    EndModalLoop(nResult);
  } else {
    m_nModalResult = nResult;
    ::EndDialog(m_hWnd, nResult);
  }
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
  return OnInitDialog();
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
  if (pWndCtrl) ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
  // Keys and mouse of the dialog and its controls: the dialog's navigation (Tab, Enter, Escape,
  // mnemonics).
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  return ::IsDialogMessageA(m_hWnd, pMsg);
}
