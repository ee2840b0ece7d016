#include "toolkit/dialogs/TkBrowseFolderDlg.h"

#include "framework/wnd/Wnd.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/core/ToolkitHelpers.h"

CTkBrowseFolderDlg::CTkBrowseFolderDlg(CWnd* pParent)
    : m_strTitle(TkLoadString(IDS_TK_FOLDER_TITLE)) {
  m_bi.hwndOwner = pParent ? pParent->GetSafeHwnd() : nullptr;
  m_bi.pidlRoot = nullptr;
  m_bi.pszDisplayName = m_szPath;
  m_bi.lpszTitle = m_strTitle.GetString();
  m_bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
  m_bi.lpfn = BrowseCallbackProc;
  m_bi.lParam = reinterpret_cast<LPARAM>(m_szPath);
}

INT_PTR CTkBrowseFolderDlg::DoModal() {
  INT_PTR result = IDCANCEL;
  IMalloc* shellAlloc = nullptr;
  if (FAILED(::SHGetMalloc(&shellAlloc)) || !shellAlloc) return IDCANCEL;
  // The browser writes the chosen item's display name into its buffer even when no path comes
  // of it; the caller's path must stay as it was unless a folder is chosen.
  char displayName[MAX_PATH] = "";
  BROWSEINFOA bi = m_bi;
  bi.pszDisplayName = displayName;
  bi.lParam = reinterpret_cast<LPARAM>(m_szPath);
  LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
  if (pidl) {
    char path[MAX_PATH] = "";
    if (::SHGetPathFromIDListA(pidl, path)) {
      lstrcpynA(m_szPath, path, MAX_PATH);
      result = IDOK;
    }
    shellAlloc->Free(pidl);
  }
  shellAlloc->Release();
  return result;
}

int CALLBACK CTkBrowseFolderDlg::BrowseCallbackProc(HWND hWnd, UINT uMsg, LPARAM lParam,
                                                    LPARAM lpData) {
  if (uMsg == BFFM_INITIALIZED) {
    char start[MAX_PATH] = "";
    if (lpData) lstrcpynA(start, reinterpret_cast<LPCSTR>(lpData), MAX_PATH);
    if (!start[0]) ::GetCurrentDirectoryA(MAX_PATH, start);
    ::SendMessageA(hWnd, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start));
  } else if (uMsg == BFFM_SELCHANGED) {
    char path[MAX_PATH] = "";
    if (::SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path))
      ::SendMessageA(hWnd, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(path));
  }
  return 0;
}
