#include "framework/dialogs/FileDialog.h"

#include "framework/threads/WinThread.h"

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt, LPCSTR lpszFileName,
                         DWORD dwFlags, LPCSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strDefExt(lpszDefExt ? lpszDefExt : "") {
  m_pParentWnd = pParentWnd;
  m_ofn.lStructSize = sizeof m_ofn;
  m_ofn.lpstrFile = m_szFileName;
  m_ofn.nMaxFile = sizeof m_szFileName;
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
  m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
  m_ofn.lpstrDefExt = lpszDefExt ? m_strDefExt.GetString() : nullptr;
  if (lpszFileName) lstrcpynA(m_szFileName, lpszFileName, sizeof m_szFileName);
  if (lpszFilter) {
    m_strFilter = lpszFilter;
    // "a|b|c|d||" becomes "a\0b\0c\0d\0\0": the system's double-terminated list.
    int n = m_strFilter.GetLength();
    char* buf = m_strFilter.GetBuffer(n + 1);
    for (int i = 0; i < n; ++i) {
      if (buf[i] == '|') buf[i] = '\0';
    }
    m_strFilter.ReleaseBuffer(n);
    m_ofn.lpstrFilter = m_strFilter.GetString();
  }
}

INT_PTR CFileDialog::DoModal() {
  // Callers written for the 32-bit layouts adjust the size by hand (the old short record, or
  // "12 bytes more" for the newer one); on 64 bits only the system's two sizes are valid, and
  // anything else would make the box fail. Any other size means the full record.
  if (m_ofn.lStructSize != sizeof(OPENFILENAMEA) &&
      m_ofn.lStructSize != OPENFILENAME_SIZE_VERSION_400A) {
    m_ofn.lStructSize = sizeof(OPENFILENAMEA);
  }
  // The filter's buffer lives in the string; copy its address afresh (the object may be moved).
  if (!m_strFilter.IsEmpty()) m_ofn.lpstrFilter = m_strFilter.GetString();
  CWnd* pParent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  m_ofn.hwndOwner = pParent ? pParent->GetTopLevelParent()->m_hWnd : nullptr;
  BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
  return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const {
  CString path(m_szFileName);
  int slash = path.ReverseFind('\\');
  if (path.ReverseFind('/') > slash) slash = path.ReverseFind('/');
  return path.Mid(slash + 1);
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const {
  CString path(m_szFileName);
  int slash = path.ReverseFind('\\');
  if (path.ReverseFind('/') > slash) slash = path.ReverseFind('/');
  return slash < 0 ? CString() : path.Left(slash);
}
