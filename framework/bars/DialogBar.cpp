#include "framework/bars/DialogBar.h"

#include "framework/dialogs/Dialog.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNAMIC(CDialogBar, CControlBar)

BEGIN_MESSAGE_MAP(CDialogBar, CControlBar)
END_MESSAGE_MAP()

namespace {
INT_PTR CALLBACK BarDlgProc(HWND, UINT message, WPARAM, LPARAM) {
  // Focus stays where the user puts it: the bar never takes it at creation.
  (void)message;
  return FALSE;
}
}  // namespace

CDialogBar::CDialogBar() {
  m_cxLeftBorder = m_cxRightBorder = 0;
  m_cyTopBorder = m_cyBottomBorder = 0;
}

CDialogBar::~CDialogBar() = default;

BOOL CDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID) {
  if (!pParentWnd || m_hWnd) return FALSE;
  m_dwStyle = nStyle & CBRS_ALL;
  HINSTANCE inst = nullptr;
  LPCDLGTEMPLATEA tmpl = AfxLoadDialogTemplate(MAKEINTRESOURCEA(nIDTemplate), &inst);
  if (!tmpl) return FALSE;
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateDialogIndirectParamA(inst, tmpl, pParentWnd->m_hWnd, BarDlgProc, 0);
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  if (!hWnd) return FALSE;
  // A dialog bar is a child window whatever its template says, known by the bar's id.
  ::SetWindowLongPtrA(hWnd, GWLP_ID, nID);
  CRect rect;
  GetWindowRect(&rect);
  m_sizeDefault = rect.Size();
  SetOwner(pParentWnd);
  if (nStyle & WS_VISIBLE) ShowWindow(SW_SHOWNOACTIVATE);
  return TRUE;
}

CSize CDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = m_sizeDefault;
  if (bStretch && bHorz) size.cx = 32767;
  if (bStretch && !bHorz) size.cy = 32767;
  return size;
}

void CDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

BOOL CDialogBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  CWnd* owner = GetOwner();
  if (owner && owner != this) {
    owner->SendMessage(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return CControlBar::OnCommand(wParam, lParam);
}

BOOL CDialogBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  CWnd* owner = GetOwner();
  if (owner && owner != this) {
    *pResult = owner->SendMessage(WM_NOTIFY, wParam, lParam);
    return TRUE;
  }
  return CControlBar::OnNotify(wParam, lParam, pResult);
}
