#include "framework/exceptions/Exception.h"

#include "framework/app/WinApp.h"

IMPLEMENT_DYNAMIC(CException, CObject)

CString CException::Describe() const {
  return CString();
}

CString CException::GetErrorText() const {
  return Describe();
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  CString text = Describe();
  if (lpszError && nMaxError > 0) lstrcpynA(lpszError, text, static_cast<int>(nMaxError));
  return !text.IsEmpty();
}

int CException::ReportError(UINT nType, UINT nMessageID) const {
  CString text = Describe();
  if (text.IsEmpty() && nMessageID) text.LoadString(nMessageID);
  if (text.IsEmpty()) return 0;
  if ((nType & MB_ICONMASK) == 0) nType |= MB_ICONEXCLAMATION;
  return MessageBoxA(GetActiveWindow(), text, AfxGetAppName(), nType);
}
