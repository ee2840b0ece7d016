#include "toolkit/dialogs/WgDirSelectDlg.h"

#include <cstring>

#include "resources/ids/ToolkitPopupsIds.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/dialogs/TkBrowseFolderDlg.h"

namespace {

constexpr LPCSTR kNoFilesFilter = "(nofiles)|NOFILES.$$$||";
constexpr int kShellLength = 65535;
// The file box's controls that have no use for a folder: file name, list, type and labels.
constexpr int kFileControls[] = {1152, 1148, 1120, 1136, 1090, 1089};
constexpr int kFolderList = 1121;

bool IsFolder(const CString& path) {
  DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CString WgWithTrailingBackslash(const CString& path) {
  CString out = path;
  if (out.IsEmpty() || out[out.GetLength() - 1] != '\\') out += "\\";
  return out;
}

CString WgBrowseStartFolder(const CString& text) {
  CString folder = text;
  folder.Trim();
  if (folder.IsEmpty()) return CString();
  if (folder.GetLength() > 1 && folder[folder.GetLength() - 1] == '\\' &&
      folder[folder.GetLength() - 2] != ':')
    folder = folder.Left(folder.GetLength() - 1);
  if (folder[folder.GetLength() - 1] == ':') {
    // A bare drive: it exists when something on it can be listed.
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA(folder + "\\*.*", &found);
    if (find == INVALID_HANDLE_VALUE) return CString();
    ::FindClose(find);
    return folder + "\\";
  }
  return IsFolder(folder) ? folder : CString();
}

CWgDirSelectDlg::CWgDirSelectDlg(DWORD dwStyle, LPCSTR lpszTitle, LPCSTR lpszInitialFolder,
                                 CWnd* pParent)
    : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, kNoFilesFilter,
                  pParent),
      m_dwStyle(dwStyle),
      m_strTitle(lpszTitle ? lpszTitle : ""),
      m_strInitial(lpszInitialFolder ? lpszInitialFolder : ""),
      m_strName(TkLoadString(IDS_WG_DIRSELECT_NAME)) {}

void CWgDirSelectDlg::SetResult(LPCSTR lpszPath) {
  lstrcpynA(m_szResult, lpszPath ? lpszPath : "", MAX_PATH);
  m_nFolderLength = kShellLength;
}

INT_PTR CWgDirSelectDlg::DoModal() {
  return (m_dwStyle & WGDS_SHELLBROWSER) ? RunShellBrowser() : RunFolderOnlyFileBox();
}

BOOL CWgDirSelectDlg::OnInitDialog() { return TRUE; }

INT_PTR CWgDirSelectDlg::RunShellBrowser() {
  CTkBrowseFolderDlg browser(m_pParentWnd);
  if (!m_strTitle.IsEmpty()) {
    browser.m_strTitle = m_strTitle;
    browser.m_bi.lpszTitle = browser.m_strTitle;
  }
  lstrcpynA(browser.m_szPath, m_strInitial, MAX_PATH);
  if (browser.DoModal() != IDOK) return IDCANCEL;
  SetResult(WgWithTrailingBackslash(browser.m_szPath));
  return IDOK;
}

UINT_PTR CALLBACK CWgDirSelectDlg::FolderOnlyHook(HWND hDlg, UINT message, WPARAM,
                                                  LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrA(hDlg, GWLP_USERDATA,
                        reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
    return 0;
  }
  if (message != WM_NOTIFY) return 0;
  const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
  if (notify->hdr.code != CDN_INITDONE) return 0;
  auto* self = reinterpret_cast<CWgDirSelectDlg*>(::GetWindowLongPtrA(hDlg, GWLP_USERDATA));
  HWND box = ::GetParent(hDlg);
  for (int id : kFileControls) ::SendMessageA(box, CDM_HIDECONTROL, id, 0);
  // A file name the box accepts, so that OK takes the folder shown.
  if (self) {
    ::SendMessageA(box, CDM_SETCONTROLTEXT, 1152, reinterpret_cast<LPARAM>(self->m_strName.GetString()));
    ::SendMessageA(box, CDM_SETCONTROLTEXT, 1148, reinterpret_cast<LPARAM>(self->m_strName.GetString()));
  }
  if (HWND list = ::GetDlgItem(box, kFolderList)) ::SetFocus(list);
  return 0;
}

INT_PTR CWgDirSelectDlg::RunFolderOnlyFileBox() {
  lstrcpynA(m_szFileName, m_strName, MAX_PATH);
  m_ofn.lpstrTitle = m_strTitle.IsEmpty() ? nullptr : m_strTitle.GetString();
  m_ofn.lpstrInitialDir = m_strInitial.IsEmpty() ? nullptr : m_strInitial.GetString();
  m_ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
  m_ofn.lpfnHook = FolderOnlyHook;
  m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
  if (CFileDialog::DoModal() != IDOK) return IDCANCEL;
  CString path = GetPathName();
  int slash = path.ReverseFind('\\');
  m_nFolderLength = slash < 0 ? 0 : slash + 1;
  lstrcpynA(m_szResult, path.Left(m_nFolderLength), MAX_PATH);
  return IDOK;
}
