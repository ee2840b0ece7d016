#include "reports/ResultsCsv.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/program/NQCommandLineInfo.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "foundation/core/Date.h"
#include "reports/EngineReports.h"
#include "reports/ReportMatching.h"
#include "resources/resource.h"

namespace {

ReportProgressHooks g_progress;

// A text field: always quoted, its quotes doubled, so commas and line ends stay inside it.
std::string Quoted(const CLibString& text) {
  return std::string("\"") + QuoteCsvText(text).c_str() + "\"";
}

// "%m/%d/%Y", or nothing for day 0 (never submitted, never run).
std::string DateField(int day) {
  if (day <= 0) return std::string();
  int month = 0, dayOfMonth = 0, year = 0;
  CDate::FromDayNumber(day, &month, &dayOfMonth, &year);
  char text[16];
  snprintf(text, sizeof text, "%02d/%02d/%04d", month, dayOfMonth, year);
  return text;
}

int LastRunDay(const CZubrinDoc& document) {
  const COleDateTime& lastRun = document.m_lastRun;
  if (lastRun.GetStatus() != COleDateTime::valid || static_cast<DATE>(lastRun) == 0) return 0;
  return CDate::DayNumber(lastRun.GetMonth(), lastRun.GetDay(), lastRun.GetYear());
}

std::string Line(CSearchEngine& engine, const CEngineSet& set, const CZubrinDoc& document,
                 const std::string& lastRun, bool previous) {
  const CLibString site = document.m_siteUrl.GetString();
  SiteRank at = FindSiteRank(engine, site);
  std::string line = Quoted(engine.GetName()) + "," + Quoted(engine.GetCountry()) + ",";
  line += std::to_string(at.rank) + "," + std::to_string(at.page) + "," +
          std::to_string(at.position) + ",";
  line += DateField(engine.m_firstSubmitDate) + "," + DateField(engine.m_lastSubmitDate) + ",";
  line += std::to_string(engine.m_submitCount) + "," + lastRun + ",";
  line += Quoted(site) + "," + Quoted(set.GetName().GetString()) + "," + Quoted(at.address);
  if (previous) line += "," + std::to_string(engine.m_previousRank);
  return line + "\r\n";
}

// Opens the file for the export: appending keeps the file and adds at its end; otherwise a
// temporary file beside it is written and moved over it at the end.
HANDLE OpenTarget(const std::string& path, bool append) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                            append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE && append) SetFilePointer(file, 0, nullptr, FILE_END);
  return file;
}

bool WriteAll(HANDLE file, const std::string& text) {
  DWORD done = 0;
  return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &done, nullptr) &&
         done == text.size();
}

}  // namespace

void SetReportProgressHooks(const ReportProgressHooks& hooks) {
  g_progress = hooks;
}

CLibString QuoteCsvText(const CLibString& text) {
  CLibString out;
  for (const char* p = text.c_str(); *p; ++p) {
    out.AppendChar(*p);
    if (*p == '"') out.AppendChar('"');
  }
  return out;
}

bool ExportResultsCsv(const char* path, bool writeHeader, bool append, bool showProgress,
                      CZubrinDoc* document) {
  if (!document) document = CZubrinDoc::GetDocument();
  if (!document || !path || !*path) return false;
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  const bool previous = commandLine && commandLine->m_bCsvPrevious;
  const std::string target = path;
  const std::string written = append ? target : target + ".tmp";
  HANDLE file = OpenTarget(written, append);
  if (file == INVALID_HANDLE_VALUE) {
    ReportLog("The CSV file %s could not be opened (error %lu).", path, GetLastError());
    return false;
  }
  const bool progress = showProgress && g_progress.begin;
  if (progress) {
    const CEngineSet* current = document->m_currentSet ? document->m_currentSet
                                                       : document->m_manager.GetFirstSet();
    unsigned enabled = current ? static_cast<unsigned>(current->CountEnabled()) : 0;
    g_progress.begin(enabled * static_cast<unsigned>(document->m_manager.GetCount()), 0);
  }
  std::string text;
  if (writeHeader) {
    text += LoadResourceString(IDS_CSV_HEADER).c_str();
    if (previous) text += LoadResourceString(IDS_CSV_HEADER_PREVIOUS).c_str();
    text += "\r\n";
  }
  const std::string lastRun = DateField(LastRunDay(*document));
  for (POSITION pos = document->m_manager.GetHeadPosition(); pos;) {
    CEngineSet* set = document->m_manager.GetNext(pos);
    if (!set) continue;
    for (const auto& entry : set->GetEngines()) {
      if (!entry.second || !entry.second->m_enabled) continue;
      text += Line(*entry.second, *set, *document, lastRun, previous);
      if (progress && g_progress.step) g_progress.step();
    }
  }
  bool ok = WriteAll(file, text);
  ok = CloseHandle(file) && ok;
  if (!append) {
    ok = ok && MoveFileExA(written.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) DeleteFileA(written.c_str());
  }
  if (progress && g_progress.end) g_progress.end();
  if (!ok) ReportLog("The CSV file %s could not be written (error %lu).", path, GetLastError());
  return ok;
}
