// CDialog: a dialog box from a template of the current resource module. DoModal runs the
// dialog in its own message loop (PreTranslateMessage and idle work go on, the owner is
// disabled meanwhile); Create makes it modeless. On a thread without a main window of its own
// (a worker) a modal dialog has no owner unless one is given.
#pragma once
#include "framework/wnd/Wnd.h"

class CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)
 public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

  virtual INT_PTR DoModal();
  BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  BOOL Create(LPCSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  BOOL CreateIndirect(LPCDLGTEMPLATEA lpDialogTemplate, CWnd* pParentWnd = nullptr);
  // A modal dialog leaves its loop with the result; a modeless one is hidden and ended.
  void EndDialog(int nResult);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  BOOL PreTranslateMessage(MSG* pMsg) override;

  void NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
  void PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
  DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
  void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

  LPCSTR m_lpszTemplateName = nullptr;
  UINT m_nIDHelp = 0;
  CWnd* m_pParentWnd = nullptr;

 protected:
  // The owner a modal dialog disables: the given parent's top-level window, else the
  // thread's main window.
  HWND PreModal();
  BOOL CreateDlgIndirect(LPCDLGTEMPLATEA lpTemplate, HWND hWndParent, HINSTANCE hInst);
  LRESULT HandleInitDialog(WPARAM, LPARAM);
  void OnOKCommand() { OnOK(); }
  void OnCancelCommand() { OnCancel(); }
  DECLARE_MESSAGE_MAP()

  BOOL m_bInModalLoop = FALSE;
};

// The template resource of that name in the current resource module, or null.
LPCDLGTEMPLATEA AfxLoadDialogTemplate(LPCSTR lpszTemplateName, HINSTANCE* phInst);
