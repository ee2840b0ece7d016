// The application's document side: the recent-file list and its commands, opening documents,
// help requests.
#include <cstdio>

#include "framework/app/CommandLineInfo.h"
#include "framework/docview/Document.h"
#include "framework/dialogs/FileDialog.h"
#include "framework/docview/DocTemplate.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/app/AppIds.h"
#include "framework/app/RecentFileList.h"
#include "framework/wnd/MessageMap.h"

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
  ON_COMMAND_EX_RANGE(ID_FILE_MRU_FIRST, ID_FILE_MRU_LAST, OnOpenRecentFile)
  ON_UPDATE_COMMAND_UI(ID_FILE_MRU_FILE1, OnUpdateRecentFileMenu)
  ON_COMMAND(ID_FILE_NEW, OnFileNew)
  ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
  ON_COMMAND(ID_FILE_PRINT_SETUP, OnFilePrintSetup)
END_MESSAGE_MAP()

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
  delete m_pRecentFileList;
  m_pRecentFileList = nullptr;
  if (nMaxMRU == 0) return;
  if (nMaxMRU > ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1) nMaxMRU = ID_FILE_MRU_LAST - ID_FILE_MRU_FIRST + 1;
  m_pRecentFileList = new CRecentFileList(ID_FILE_MRU_FIRST, "Recent File List", "File%d",
                                          static_cast<int>(nMaxMRU));
  m_pRecentFileList->ReadList();
}

void CWinApp::AddToRecentFileList(LPCSTR lpszPathName) {
  if (m_pRecentFileList) m_pRecentFileList->Add(lpszPathName);
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR lpszFileName) {
  if (m_pDocTemplate) return m_pDocTemplate->OpenDocumentFile(lpszFileName);
  // Without a document template the program has no kind of document to open the file as.
  CString text;
  text.Format("%s cannot be opened: the program has no document type for it.",
              lpszFileName ? lpszFileName : "");
  AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
  return nullptr;
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd) {
  char line[128];
  std::snprintf(line, sizeof line, "WinHelp(0x%llx, %u): no help engine installed\n",
                static_cast<unsigned long long>(dwData), nCmd);
  OutputDebugStringA(line);
}

int CWinApp::ExitInstance() {
  if (m_pRecentFileList) m_pRecentFileList->WriteList();
  return CWinThread::ExitInstance();
}

void CWinApp::DeleteDocumentState() {
  delete m_pDocTemplate;
  m_pDocTemplate = nullptr;
  delete m_pRecentFileList;
  m_pRecentFileList = nullptr;
}

BOOL CWinApp::OnOpenRecentFile(UINT nID) {
  if (!m_pRecentFileList) return FALSE;
  int nIndex = static_cast<int>(nID - ID_FILE_MRU_FIRST);
  if (nIndex < 0 || nIndex >= m_pRecentFileList->GetSize()) return FALSE;
  CString path = (*m_pRecentFileList)[nIndex];
  if (path.IsEmpty()) return FALSE;
  if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
    // A file moved or deleted since: say so and let the user drop the entry.
    CString text;
    text.Format("%s no longer exists.\nRemove it from the list of recent files?",
                static_cast<LPCSTR>(path));
    if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) == IDYES)
      m_pRecentFileList->Remove(nIndex);
    return TRUE;
  }
  // A file that exists but fails to open keeps its entry: the document has reported why, and
  // the cause (a lock, a share offline) may pass.
  OpenDocumentFile(path);
  return TRUE;
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
  if (!m_pRecentFileList) {
    pCmdUI->Enable(FALSE);
    return;
  }
  m_pRecentFileList->UpdateMenu(pCmdUI);
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
  if (!pTemplate || pTemplate == m_pDocTemplate) return;
  delete m_pDocTemplate;  // a program has one kind of document; a second replaces the first
  m_pDocTemplate = pTemplate;
}

void CWinApp::OnFileNew() {
  if (m_pDocTemplate) m_pDocTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFileOpen() {
  CString filters = m_pDocTemplate ? m_pDocTemplate->GetFileFilter()
                                    : CString("All Files (*.*)|*.*||");
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filters,
                     m_pMainWnd);
  if (dialog.DoModal() == IDOK) OpenDocumentFile(dialog.GetPathName());
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
  switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
      OnFileNew();
      return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
      return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    default:
      return TRUE;
  }
}

BOOL CWinApp::RegisterShellFileTypes(BOOL) {
  if (!m_pDocTemplate) return FALSE;
  CString ext, typeId, typeName;
  if (!m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) ||
      !m_pDocTemplate->GetDocString(typeId, CDocTemplate::regFileTypeId))
    return FALSE;
  m_pDocTemplate->GetDocString(typeName, CDocTemplate::regFileTypeName);
  char module[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, module, MAX_PATH);
  CString command;
  command.Format("\"%s\" \"%%1\"", module);
  // Under the user's own classes: no administrator rights needed, nobody else affected.
  CString classes = "Software\\Classes\\";
  auto set = [](const CString& key, LPCSTR value) {
    return ::RegSetKeyValueA(HKEY_CURRENT_USER, key, nullptr, REG_SZ, value,
                             static_cast<DWORD>(lstrlenA(value) + 1)) == ERROR_SUCCESS;
  };
  BOOL ok = set(classes + ext, typeId);
  if (!typeName.IsEmpty()) ok = set(classes + typeId, typeName) && ok;
  if (m_bShellOpen) ok = set(classes + typeId + "\\shell\\open\\command", command) && ok;
  return ok;
}
