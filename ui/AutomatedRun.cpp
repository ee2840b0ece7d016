#include "ui/AutomatedRun.h"

#include "app/services/AppPaths.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/program/ZubrinAppLog.h"
#include "app/document/ZubrinDoc.h"
#include "engines/sets/EngineSet.h"
#include "framework/threads/WinThread.h"
#include "framework/wnd/Wnd.h"
#include "reports/ReportCommands.h"

namespace {

CString WithoutExtension(const CString& name) {
  int dot = name.ReverseFind('.');
  return dot > 0 ? name.Left(dot) : name;
}

CString FolderOf(const CString& path) {
  int slash = path.ReverseFind('\\');
  int forward = path.ReverseFind('/');
  if (forward > slash) slash = forward;
  return slash >= 0 ? path.Left(slash + 1) : CString();
}

void SaveDocument(CZubrinDoc& doc) {
  CString path = doc.GetPathName();
  if (path.IsEmpty()) {
    CZubrinAppLog::Fail("The document was not saved: it has no file.");
  } else if (!doc.OnSaveDocument(path)) {
    CZubrinAppLog::Fail("The document %s could not be saved.", path.GetString());
  }
  // What could not be saved is in the log; the close must not wait for a save question.
  doc.SetModifiedFlag(FALSE);
}

void FinishAuto(CZubrinDoc& doc, NQCommandLineInfo& commandLine) {
  if (commandLine.m_bCsv && commandLine.m_strCsvPath.IsEmpty())
    commandLine.m_strCsvPath = DefaultAutomatedCsvPath(doc.GetPathName(), doc.GetTitle());
  if (!RunAutomatedReports(&doc))
    CZubrinAppLog::Fail("Not every CSV file, report or mail asked for was written or sent.");
  SaveDocument(doc);
}

void FinishDebug(CZubrinDoc& doc) {
  doc.m_reportsDir = GetDirectoryField();
  CString name = GetEngineField();
  CSearchEngine* engine = doc.m_currentSet && !name.IsEmpty()
                              ? doc.m_currentSet->FindEngine(name.GetString())
                              : nullptr;
  if (!engine)
    CZubrinAppLog::Fail("The detail report of the debug run was not written: no engine \"%s\".",
                        name.GetString());
  else if (!RunReportCommand(ReportKind::Detail, ReportAction::Write, engine, &doc))
    CZubrinAppLog::Fail("The detail report of %s was not written.", name.GetString());
  doc.SetModifiedFlag(FALSE);
}

}  // namespace

CString DefaultAutomatedCsvPath(const CString& documentPath, const CString& title) {
  CString folder = documentPath.IsEmpty() ? GetAppFolder() : FolderOf(documentPath);
  CString name = WithoutExtension(title);
  if (name.IsEmpty()) name = "ZBPro";
  return folder + name + ".csv";
}

void FinishAutomatedRun(CZubrinDoc* doc) {
  if (!CZubrinDoc::MarkAutomatedEnd()) return;
  if (!doc) doc = CZubrinDoc::GetDocument();
  NQCommandLineInfo* commandLine = GetCommandLineInfo();
  if (doc && commandLine) {
    if (commandLine->m_bAuto)
      FinishAuto(*doc, *commandLine);
    else if (commandLine->m_bDebug)
      FinishDebug(*doc);
  }
  if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_CLOSE);
}
