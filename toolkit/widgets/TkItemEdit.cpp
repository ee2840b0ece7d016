#include "toolkit/widgets/TkItemEdit.h"

#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/widgets/TkBrowseBtn.h"

IMPLEMENT_DYNAMIC(CTkItemEdit, CTkBrowseEdit)

BEGIN_MESSAGE_MAP(CTkItemEdit, CTkBrowseEdit)
  ON_WM_KILLFOCUS()
  ON_WM_CHAR()
  ON_WM_KEYDOWN()
  ON_WM_KEYUP()
  ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CTkItemEdit::CTkItemEdit(CWnd* pParent, const CRect& rect, CString* pText, UINT nBrowseStyle,
                         BOOL bDeleteOnClose)
    : m_pText(pText), m_bDeleteOnClose(bDeleteOnClose ? 1 : 0) {
  m_nGap = 0;
  m_nBrowseStyle = nBrowseStyle;
  if (!Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, rect, pParent,
              IDC_TK_ITEM_EDIT))
    return;
  ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()), FALSE);
  SetWindowText(m_pText ? m_pText->GetString() : "");
  SetSel(0, -1);
  SetFocus();
  m_pDialogParent = this;
}

BOOL CTkItemEdit::HandleEndKey(UINT nChar) {
  if (nChar != VK_RETURN && nChar != VK_ESCAPE) return FALSE;
  if (nChar == VK_ESCAPE) m_bCancelled = 1;
  EndEdit();
  return TRUE;
}

BOOL CTkItemEdit::PreTranslateMessage(MSG* pMsg) {
  // Ahead of any dialog manager above, which would take Return and Escape for its buttons.
  if (pMsg->hwnd == m_hWnd && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) &&
      HandleEndKey(static_cast<UINT>(pMsg->wParam)))
    return TRUE;
  return CTkBrowseEdit::PreTranslateMessage(pMsg);
}

void CTkItemEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!HandleEndKey(nChar)) CTkBrowseEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CTkItemEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!HandleEndKey(nChar)) CTkBrowseEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CTkItemEdit::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (!HandleEndKey(nChar)) CTkBrowseEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

UINT CTkItemEdit::OnGetDlgCode() { return CTkBrowseEdit::OnGetDlgCode() | DLGC_WANTALLKEYS; }

void CTkItemEdit::OnKillFocus(CWnd* pNewWnd) {
  CTkBrowseEdit::OnKillFocus(pNewWnd);
  // Going to its own button is part of the edit (the user browses for the value).
  if (pNewWnd && m_pBrowseBtn && pNewWnd->GetSafeHwnd() == m_pBrowseBtn->m_hWnd) return;
  EndEdit();
}

void CTkItemEdit::EndEdit() {
  if (m_bEnded || !m_hWnd) return;
  m_bEnded = 1;
  if (m_pBrowseBtn && m_pBrowseBtn->m_hWnd) m_pBrowseBtn->PostMessage(WM_CLOSE);
  PostMessage(WM_CLOSE);
  HWND owner = GetOwner()->GetSafeHwnd();
  UINT id = static_cast<UINT>(GetDlgCtrlID());
  if (m_bCancelled) {
    ::SendMessageA(owner, WM_COMMAND, MAKEWPARAM(id, TKN_ITEMEDIT_CANCELLED),
                   reinterpret_cast<LPARAM>(m_hWnd));
    return;
  }
  m_bCommitted = 1;
  if (m_pText) GetWindowText(*m_pText);
  ::SendMessageA(owner, WM_COMMAND, MAKEWPARAM(id, TKN_ITEMEDIT_COMMITTED),
                 reinterpret_cast<LPARAM>(m_hWnd));
}

void CTkItemEdit::PostNcDestroy() {
  CTkBrowseEdit::PostNcDestroy();
  if (m_bDeleteOnClose) delete this;
}
