#include "framework/dialogs/ColorDialog.h"

#include "framework/threads/WinThread.h"

IMPLEMENT_DYNAMIC(CColorDialog, CDialog)

COLORREF* CColorDialog::GetSavedCustomColors() {
  static COLORREF colors[16] = {
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
      RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};
  return colors;
}

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) {
  m_pParentWnd = pParentWnd;
  m_cc.lStructSize = sizeof m_cc;
  m_cc.lpCustColors = GetSavedCustomColors();
  m_cc.Flags = dwFlags;
  if (clrInit) m_cc.Flags |= CC_RGBINIT;
  m_cc.rgbResult = clrInit;
}

INT_PTR CColorDialog::DoModal() {
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  m_cc.hwndOwner = pParent ? pParent->GetTopLevelParent()->m_hWnd : nullptr;
  return ::ChooseColorA(&m_cc) ? IDOK : IDCANCEL;
}
