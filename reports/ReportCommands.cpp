#include "reports/ReportCommands.h"

#include <windows.h>

#include <atomic>

#include "app/program/NQCommandLineInfo.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "foundation/os/UrlLink.h"
#include "framework/app/MessageBox.h"
#include "reports/EngineReports.h"
#include "reports/MapiMail.h"
#include "reports/ResultsCsv.h"
#include "resources/resource.h"

namespace {

std::atomic<ReportOpenFn> g_opener{nullptr};

// The shell's way first; failing that, the program that opens web pages.
bool ShellOpen(const char* path) { return CUrlLink::Launch(path, SW_SHOWNORMAL) > 32; }

CString Write(CEngineReports& reports, ReportKind kind, CSearchEngine* engine) {
  CString path;
  switch (kind) {
    case ReportKind::Detail: return reports.WriteDetailReport(engine, path);
    case ReportKind::Results: return reports.WriteResultsReport(engine, path);
    case ReportKind::Summary: return reports.WriteSummaryReport(path);
    case ReportKind::Keyword: return reports.WriteKeywordReport(path);
    case ReportKind::KeywordStat: return reports.WriteKeywordStatReport(path);
    case ReportKind::UrlSummary: return reports.WriteUrlSummaryReport(path);
    case ReportKind::Competitor: return reports.WriteCompetitorReport(path);
    case ReportKind::Submittal: return reports.WriteSubmittalReport(path);
  }
  return CString();
}

bool IsAutomated() {
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  return commandLine && commandLine->m_bAutomated;
}

bool IsAuto() {
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  return commandLine && commandLine->m_bAuto;
}

// The engine of the debug option "engine" in the current set, or null.
std::atomic<SelectedEngineFn> g_selectedEngine{nullptr};

// The Detail report's engine, as the main window's command takes it.
CSearchEngine* DetailEngine(CZubrinDoc& document);

CSearchEngine* DebugEngine(CZubrinDoc& document) {
  CString name = GetEngineField();
  const CEngineSet* set =
      document.m_currentSet ? document.m_currentSet : document.m_manager.GetFirstSet();
  if (name.IsEmpty() || !set) return nullptr;
  return set->FindEngine(name.GetString());
}

CSearchEngine* DetailEngine(CZubrinDoc& document) {
  if (CSearchEngine* engine = DebugEngine(document)) return engine;
  SelectedEngineFn selected = g_selectedEngine.load();
  return selected ? selected(document) : nullptr;
}

}  // namespace

void SetSelectedEngineSource(SelectedEngineFn source) {
  g_selectedEngine = source;
}

void SetReportOpener(ReportOpenFn open) {
  g_opener = open;
}

bool RunReportCommand(ReportKind kind, ReportAction action, CSearchEngine* engine,
                      CZubrinDoc* document) {
  if ((kind == ReportKind::Detail || kind == ReportKind::Results) && !engine) return false;
  CEngineReports reports(document);
  CString path = Write(reports, kind, engine);
  if (path.IsEmpty()) {
    CString folder = reports.GetReportFolder();
    if (!IsAutomated()) {
      char text[1024];
      snprintf(text, sizeof text, LoadResourceString(IDS_REPORT_WRITE_FAILED).c_str(),
               folder.GetString());
      AfxMessageBox(text, MB_ICONEXCLAMATION);
    }
    return false;
  }
  if (action == ReportAction::Mail) return MailReportFile(path, document);
  if (action == ReportAction::View && !IsAuto()) {
    ReportOpenFn open = g_opener.load();
    const bool opened = open ? open(path) : ShellOpen(path);
    // Without a browser the command would seem to do nothing: the user learns where the
    // report is.
    if (!opened && !IsAutomated()) {
      char text[1024];
      snprintf(text, sizeof text, LoadResourceString(IDS_REPORT_OPEN_FAILED).c_str(),
               path.GetString());
      AfxMessageBox(text, MB_ICONEXCLAMATION);
    }
    return opened;
  }
  return true;
}

bool RunAutomatedReports(CZubrinDoc* document) {
  if (!document) document = CZubrinDoc::GetDocument();
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  if (!document || !commandLine) return false;
  bool ok = true;
  if (commandLine->m_bCsv) {
    CString path = commandLine->m_strCsvPath;
    if (path.IsEmpty()) path = document->GetPathName() + ".csv";
    const bool append = commandLine->m_bCsvAppend != 0;
    ok = ExportResultsCsv(path, !append, append, false, document) && ok;
  }
  static const ReportKind kKinds[] = {ReportKind::Detail,     ReportKind::Summary,
                                      ReportKind::Keyword,    ReportKind::Submittal,
                                      ReportKind::Competitor, ReportKind::KeywordStat,
                                      ReportKind::UrlSummary};
  for (int bit = 0; bit < 7; ++bit) {
    if (!(commandLine->m_nReports & (1u << bit))) continue;
    CSearchEngine* engine = bit == 0 ? DetailEngine(*document) : nullptr;
    if (bit == 0 && !engine) {
      ReportLog("The detail report was not written: no engine is named.");
      ok = false;
      continue;
    }
    ok = RunReportCommand(kKinds[bit], ReportAction::Write, engine, document) && ok;
  }
  // The detail report has no mailed form: mail starts at r2_email.
  for (int bit = 1; bit < 7; ++bit) {
    if (!(commandLine->m_nReports & (1u << (bit + NQCommandLineInfo::kEmailShift)))) continue;
    ok = RunReportCommand(kKinds[bit], ReportAction::Mail, nullptr, document) && ok;
  }
  return ok;
}
