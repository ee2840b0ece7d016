#include "framework/docview/FormView.h"

#include "framework/docview/Document.h"
#include "framework/dialogs/Dialog.h"
#include "framework/frame/FrameWnd.h"

IMPLEMENT_DYNAMIC(CFormView, CView)

BEGIN_MESSAGE_MAP(CFormView, CView)
  ON_WM_CREATE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

namespace {

// The form's own window procedure does the work; the system's dialog procedure answers "not
// handled" so that the default dialog handling (keys, colours, focus) runs.
INT_PTR CALLBACK FormDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

CFormView::CFormView(UINT nIDTemplate) : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)) {}

CFormView::CFormView(LPCSTR lpszTemplateName) : m_lpszTemplateName(lpszTemplateName) {}

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, LPVOID lpParam) {
  HINSTANCE hInst = nullptr;
  LPCDLGTEMPLATEA tmpl = AfxLoadDialogTemplate(m_lpszTemplateName, &hInst);
  // As every window's creation: one that fails cleans up after itself (PostNcDestroy), so the
  // frame and the splitter never touch a view whose creation failed.
  if (!tmpl || !pParentWnd) {
    PostNcDestroy();
    return FALSE;
  }
  // A dialog's WM_CREATE carries no parameter of ours: the context waits in a member.
  m_pCreateContext = static_cast<CCreateContext*>(lpParam);
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(hInst, tmpl, pParentWnd->m_hWnd, FormDlgProc, 0);
  // A window that came and went has had its WM_NCDESTROY; one that never came is told here.
  if (!AfxUnhookWindowCreate()) {
    PostNcDestroy();
    return FALSE;
  }
  if (!hWnd) return FALSE;
  m_pCreateContext = nullptr;
  // The template says child and control; the caller says where, which id and whether framed.
  ModifyStyle(WS_BORDER | WS_CAPTION | WS_POPUP, WS_CHILD | (dwStyle & WS_BORDER),
              SWP_FRAMECHANGED);
  SetDlgCtrlID(static_cast<int>(nID));
  ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (dwStyle & WS_VISIBLE) ShowWindow(SW_SHOWNOACTIVATE);
  return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCT lpcs) {
  if (CWnd::OnCreate(lpcs) == -1) return -1;
  if (m_pCreateContext && m_pCreateContext->m_pCurrentDoc)
    m_pCreateContext->m_pCurrentDoc->AddView(this);
  return 0;
}

LRESULT CFormView::HandleInitDialog(WPARAM, LPARAM) {
  Default();
  return OnInitDialog();
}

BOOL CFormView::OnInitDialog() { return FALSE; }

void CFormView::OnInitialUpdate() {
  UpdateData(FALSE);
  CView::OnInitialUpdate();
}

void CFormView::SaveFocusControl() {
  HWND focus = ::GetFocus();
  if (focus && ::IsChild(m_hWnd, focus)) m_hWndFocus = focus;
}

void CFormView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
  if (!bActivate) SaveFocusControl();
  CView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CFormView::OnSetFocus(CWnd*) {
  // The form itself takes no keys: the focus goes on to the control that had it, else to the
  // first one that can take it.
  if (!::IsWindow(m_hWndFocus) || !::IsChild(m_hWnd, m_hWndFocus)) {
    m_hWndFocus = ::GetNextDlgTabItem(m_hWnd, nullptr, FALSE);
  }
  if (m_hWndFocus) ::SetFocus(m_hWndFocus);
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) {
  if (CView::PreTranslateMessage(pMsg)) return TRUE;
  if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
  // The frame's accelerators come first; then the dialog's own keys (Tab between controls).
  CFrameWnd* frame = GetParentFrame();
  if (frame && frame->PreTranslateMessage(pMsg)) return TRUE;
  return ::IsDialogMessageA(m_hWnd, pMsg);
}
