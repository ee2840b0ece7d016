#include "toolkit/widgets/WgBrowseEdit.h"

#include "framework/dialogs/FileDialog.h"
#include "resources/ids/ToolkitPopupsIds.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/dialogs/WgDirSelectDlg.h"
#include "toolkit/widgets/WgBrowseButton.h"

namespace {

constexpr LPCSTR kAllFilesFilter = "All files (*.*)|*.*||";
// No read-only box, and the current folder stays where it was.
constexpr DWORD kFileFlags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

bool IsFolder(const CString& path) {
  if (path.IsEmpty()) return false;
  DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const CString& path) {
  if (path.IsEmpty()) return false;
  DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

CWgBrowseEditBase::~CWgBrowseEditBase() {
  if (m_pButton) m_pButton->Detach();
}

bool CWgBrowseEditBase::Initialize(UINT nEditId, CWnd* pDialog) {
  HWND edit = ::GetDlgItem(pDialog->m_hWnd, static_cast<int>(nEditId));
  if (!edit) return false;
  BOOL enabled = ::IsWindowEnabled(edit);
  if (!SubclassDlgItem(nEditId, pDialog)) return false;
  m_pButton = new CWgBrowseButton(this);
  if (!m_pButton->Create(pDialog)) {
    delete m_pButton;
    m_pButton = nullptr;
    return false;
  }
  m_pButton->EnableWindow(enabled);
  return true;
}

LRESULT CWgBrowseEditBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ENABLE:
      if (m_pButton && m_pButton->m_hWnd) m_pButton->EnableWindow(static_cast<BOOL>(wParam));
      break;
    case WM_SHOWWINDOW:
      if (m_pButton && m_pButton->m_hWnd) m_pButton->ShowWindow(wParam ? SW_SHOW : SW_HIDE);
      break;
    case WM_DESTROY:
      if (m_pButton) {
        CWgBrowseButton* button = m_pButton;
        m_pButton = nullptr;
        button->Detach();
        if (button->m_hWnd) button->DestroyWindow();  // it deletes itself
      }
      break;
  }
  return CEdit::WindowProc(message, wParam, lParam);
}

CWgBrowseDirEdit::CWgBrowseDirEdit(DWORD dwStyle) : m_dwStyle(dwStyle) {
  m_strTitle = TkLoadString(IDS_WG_BROWSE_DIR_TITLE);
}

INT_PTR CWgBrowseDirEdit::RunDirDialog(CWgDirSelectDlg& dialog) { return dialog.DoModal(); }

void CWgBrowseDirEdit::Browse() {
  CString text;
  GetWindowText(text);
  CString start = WgBrowseStartFolder(text);
  CWgDirSelectDlg dialog(m_dwStyle, m_strTitle, start, GetParent());
  if (RunDirDialog(dialog) == IDOK) SetWindowText(dialog.GetPath());
}

CWgBrowseFileEdit::CWgBrowseFileEdit() : m_strFilter(kAllFilesFilter), m_dwFlags(kFileFlags) {
  m_strTitle = TkLoadString(IDS_WG_BROWSE_FILE_TITLE);
}

INT_PTR CWgBrowseFileEdit::RunFileDialog(CFileDialog& dialog) { return dialog.DoModal(); }

void CWgBrowseFileEdit::Browse() {
  char saved[MAX_PATH] = "";
  bool restore = (m_dwFlags & OFN_NOCHANGEDIR) != 0;
  if (restore) ::GetCurrentDirectoryA(MAX_PATH, saved);
  CString initial = m_strInitialFile;
  if (initial.IsEmpty()) GetWindowText(initial);
  CString folder;
  if (IsFolder(initial)) {
    // A folder opens the box there with no file name.
    folder = initial;
    ::SetCurrentDirectoryA(folder);
    initial.Empty();
  } else if (!IsFile(initial)) {
    initial.Empty();
  }
  CFileDialog dialog(TRUE, m_strDefExt.IsEmpty() ? nullptr : m_strDefExt.GetString(),
                     initial.IsEmpty() ? nullptr : initial.GetString(), m_dwFlags, m_strFilter,
                     this);
  if (!m_strTitle.IsEmpty()) dialog.m_ofn.lpstrTitle = m_strTitle;
  if (!folder.IsEmpty()) dialog.m_ofn.lpstrInitialDir = folder;
  if (RunFileDialog(dialog) == IDOK) SetWindowText(dialog.GetPathName());
  if (restore) ::SetCurrentDirectoryA(saved);
}
