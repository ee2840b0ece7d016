#include "ui/sheets/project/ZubOutput.h"

#include "app/services/AppServices.h"
#include "app/document/ZubrinDoc.h"
#include "foundation/os/WgFileSystem.h"
#include "framework/app/MessageBox.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/project/ProjectShared.h"
#include "ui/sheets/project/ZubSheet.h"

BEGIN_MESSAGE_MAP(CZubOutput, CPropertyPage)
  ON_EN_CHANGE(IDC_OUTPUT_FOLDER, OnChanged)
  ON_MESSAGE(WM_HELP, OnHelpMessage)
END_MESSAGE_MAP()

CZubOutput::CZubOutput(CZubrinDoc* doc)
    : CPropertyPage(IDD_PROJECT_OUTPUT), m_pDoc(doc ? doc : projectui::ActiveDocument()) {
  if (m_pDoc) m_strFolder = m_pDoc->m_reportsDir;
}

void CZubOutput::DoDataExchange(CDataExchange* pDX) {
  DDX_Text(pDX, IDC_OUTPUT_FOLDER, m_strFolder);
}

BOOL CZubOutput::OnInitDialog() {
  m_folderEdit.Initialize(IDC_OUTPUT_FOLDER, this);
  CPropertyPage::OnInitDialog();
  m_bReady = true;
  return TRUE;
}

BOOL CZubOutput::OnSetActive() {
  LastProjectPage = 3;
  return CPropertyPage::OnSetActive();
}

bool CZubOutput::CheckFolder(CString& folder) {
  folder.Trim();
  if (folder.IsEmpty()) return true;
  // "C:\" names the drive itself; only a longer path loses its trailing backslash.
  if (folder.GetLength() > 3 && folder[folder.GetLength() - 1] == '\\')
    folder = folder.Left(folder.GetLength() - 1);
  if (folder.GetLength() <= 3 && folder.GetLength() >= 2 && folder[1] == ':') return true;
  CWgFileSystem files;
  if (files.DirectoryExists(folder)) return true;
  if (AfxMessageBox(IDS_PROJECT_CREATE_FOLDER, MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
  if (files.MakePath(folder)) return true;
  CString failure;
  failure.Format(LoadResString(IDS_PROJECT_FOLDER_FAILED), static_cast<LPCSTR>(folder));
  AfxMessageBox(failure, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

BOOL CZubOutput::OnKillActive() {
  if (!CPropertyPage::OnKillActive()) return FALSE;
  if (!CheckFolder(m_strFolder)) {
    m_folderEdit.SetFocus();
    return FALSE;
  }
  return TRUE;
}

// A changed folder marks the document, with or without the sheet's Apply button.
BOOL CZubOutput::OnApply() {
  if (!CheckFolder(m_strFolder)) return FALSE;
  if (m_pDoc) {
    const bool changed = m_pDoc->m_reportsDir != m_strFolder;
    m_pDoc->m_reportsDir = m_strFolder;
    if (changed) m_pDoc->SetModifiedFlag();
  }
  return CPropertyPage::OnApply();
}

void CZubOutput::OnChanged() {
  if (m_bReady) SetModified();
}

LRESULT CZubOutput::OnHelpMessage(WPARAM, LPARAM lParam) {
  return projectui::AnswerContextHelp(lParam);
}
