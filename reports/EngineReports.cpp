#include "reports/EngineReports.h"

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <ostream>
#include <streambuf>
#include <vector>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "foundation/html/HtmlDocument.h"
#include "foundation/html/HtmlTags.h"
#include "foundation/core/Date.h"
#include "reports/DetailReport.h"
#include "reports/EngineRows.h"
#include "reports/KeywordReport.h"
#include "reports/ReportHtml.h"
#include "reports/ReportMatching.h"
#include "reports/StatReports.h"
#include "reports/SubmittalReport.h"
#include "reports/SummaryReport.h"
#include "resources/resource.h"

namespace {

std::atomic<int> g_failures{0};
std::atomic<ReportLogFn> g_log{nullptr};

CString WithBackslash(const CString& folder) {
  if (folder.IsEmpty() || folder[folder.GetLength() - 1] == '\\') return folder;
  return folder + "\\";
}

bool IsFolder(const CString& path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Characters no file name may hold, and those the report names always left out.
bool DroppedFromName(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  static const char kReserved[] = "\\/:*?\"<>|'!";
  if (strchr(kReserved, static_cast<char>(c))) return true;
  static const unsigned char kAccents[] = {0xEA, 0xE9, 0xD6, 0xF1, 0xFA, 0xE7};
  for (unsigned char accent : kAccents)
    if (c == accent) return true;
  return false;
}

CLibString NoBlanks(const CLibString& text) {
  CLibString out;
  for (const char* p = text.c_str(); *p; ++p)
    if (*p != ' ') out.AppendChar(*p);
  return out;
}

CLibString ProgramVersionText() {
  ExeFileVersion v = GetExeFileVersion();
  char text[64];
  snprintf(text, sizeof text, "ZBPro %u.%u.%u.%u", v.major, v.minor, v.build, v.revision);
  return text;
}

// Every engine set of the document, in order.
template <class F>
void ForEachSet(const CZubrinDoc& document, F&& visit) {
  for (POSITION pos = document.m_manager.GetHeadPosition(); pos;) {
    CEngineSet* set = document.m_manager.GetNext(pos);
    if (set) visit(*set);
  }
}

}  // namespace

// ---- the failure record and the log ----

bool AllReportsWritten() {
  return g_failures.load() == 0;
}

void ResetReportFailures() {
  g_failures = 0;
}

void SetReportLog(ReportLogFn log) {
  g_log = log;
}

void ReportLog(const char* format, ...) {
  char line[1024];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (ReportLogFn log = g_log.load()) {
    log(line);
    return;
  }
  fprintf(stderr, "%s\n", line);
  OutputDebugStringA(line);
}

// ---- CEngineReports ----

CEngineReports::CEngineReports(CZubrinDoc* document)
    : m_document(document ? document : CZubrinDoc::GetDocument()) {
  m_programInfo.SetAt("Ver", ProgramVersionText());
}

CEngineReports::~CEngineReports() = default;

CString CEngineReports::GetReportFolder() const {
  if (m_document) {
    CString folder = WithBackslash(m_document->m_reportsDir);
    if (!folder.IsEmpty() && IsFolder(folder)) return folder;
  }
  CString setting = WithBackslash(GetSearchProperties().m_strReportsDir);
  if (!setting.IsEmpty() && IsFolder(setting)) return setting;
  return GetReportsFolder();
}

CString CEngineReports::MakeReportFileName(const CLibString& part1, const CLibString& part2) {
  CString name = CString(NoBlanks(part1).c_str()) + NoBlanks(part2).c_str();
  if (GetSearchProperties().m_nAppendDate) {
    time_t now = time(nullptr);
    char date[16] = {};
    strftime(date, sizeof date, "%Y%m%d", localtime(&now));
    name += date;
  }
  return name + ".htm";
}

CString CEngineReports::CleanFileName(const CString& fileName) {
  CString out;
  for (int i = 0; i < fileName.GetLength(); ++i)
    if (!DroppedFromName(static_cast<unsigned char>(fileName[i]))) out += fileName[i];
  return out;
}

namespace {

bool WriteAll(HANDLE file, const char* data, size_t size) {
  DWORD done = 0;
  return WriteFile(file, data, static_cast<DWORD>(size), &done, nullptr) && done == size;
}

// Prints into the file in large pieces: a page of many megabytes is never held whole in memory
// (nor copied once more to be written), which under a slow heap cost as much as making it.
class CReportFileBuffer : public std::streambuf {
 public:
  explicit CReportFileBuffer(HANDLE file) : m_file(file), m_buffer(kSize) {
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  }
  // Writes what is left; false when any write failed.
  bool Finish() { return Flush(); }

 protected:
  int_type overflow(int_type ch) override {
    if (!Flush()) return traits_type::eof();
    if (ch != traits_type::eof()) {
      *pptr() = static_cast<char>(ch);
      pbump(1);
    }
    return traits_type::not_eof(ch);
  }
  int sync() override { return Flush() ? 0 : -1; }

 private:
  static constexpr size_t kSize = 256 * 1024;

  bool Flush() {
    size_t size = static_cast<size_t>(pptr() - pbase());
    if (size && m_ok) m_ok = WriteAll(m_file, pbase(), size);
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    return m_ok;
  }

  HANDLE m_file;
  std::vector<char> m_buffer;
  bool m_ok = true;
};

}  // namespace

CString CEngineReports::WriteReportText(const CString& fileName, const std::string& text) {
  return WriteReportWith(fileName, [&text](void* file) {
    return WriteAll(static_cast<HANDLE>(file), text.data(), text.size());
  });
}

CString CEngineReports::WriteReportWith(const CString& fileName,
                                        const std::function<bool(void*)>& write) {
  CString path = GetReportFolder() + CleanFileName(fileName);
  CString temporary = path + ".tmp";
  HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  bool written = false;
  if (file != INVALID_HANDLE_VALUE) {
    written = write(file);
    written = CloseHandle(file) && written;
    written = written && MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING);
    if (!written) DeleteFileA(temporary);
  }
  if (written) return path;
  ++g_failures;
  ReportLog("The report %s could not be written (error %lu).", path.GetString(), GetLastError());
  return CString();
}

CString CEngineReports::WriteReportFile(const CString& fileName, const CHtmlElement* page) {
  if (!page) {
    // Text mode would have written the line end as CR LF.
    std::string text = LoadResourceString(IDS_REPORT_NONE).c_str();
    return WriteReportText(fileName, text + "\r\n");
  }
  return WriteReportWith(fileName, [page](void* file) {
    CReportFileBuffer buffer(static_cast<HANDLE>(file));
    std::ostream out(&buffer);
    page->Write(out);
    out.flush();
    return buffer.Finish() && !out.bad();
  });
}

CLibString CEngineReports::SiteUrl() const {
  return m_document ? CLibString(m_document->m_siteUrl.GetString()) : CLibString();
}

void CEngineReports::PrepareReport(CReport& report) const {
  if (!m_document) return;
  const COleDateTime& lastRun = m_document->m_lastRun;
  if (lastRun.GetStatus() == COleDateTime::valid && static_cast<DATE>(lastRun) != 0) {
    int day = CDate::DayNumber(lastRun.GetMonth(), lastRun.GetDay(), lastRun.GetYear());
    report.SetLastRunText(FormatDateLocale(day).GetString());
  }
  CString name = m_document->GetPathName();
  int dot = name.ReverseFind('.');
  if (dot >= 0) name = name.Left(dot);
  report.SetDocumentName(name.GetString());
  report.SetSiteText(SiteUrl());
}

void CEngineReports::SetHeaderAndFooter(CReport& report) const {
  const CSearchProperties& settings = GetSearchProperties();
  if (settings.m_nUseHeader) report.SetUserHeader(settings.m_strHeaderText.GetString());
  if (settings.m_nUseFooter) report.SetUserFooter(settings.m_strFooterText.GetString());
}

CString CEngineReports::Done(const CString& written, CString& path) const {
  path = written;
  return written;
}

CString CEngineReports::FinishPage(CHtmlElement& body, const CLibString& title,
                                   const CString& fileName, CString& path) {
  CHtmlDocument page;
  page.SetTitle(title);
  page.SetBodyColour(0xFFFFFF);
  page.GetBody().AddOwned(new CHtmlElementRef(body));
  return Done(WriteReportFile(fileName, &page), path);
}

void CEngineReports::ListedEngines(CEngineSet& set, bool hideZero,
                                   std::vector<CSearchEngine*>& out) const {
  out.clear();
  if (!m_document) return;
  const CLibString site = SiteUrl();
  for (const CLibString& name : GetEngineRowNames(*m_document)) {
    CSearchEngine* engine = set.FindEngine(name);
    if (!engine || !engine->m_enabled) continue;
    if (hideZero && FindSiteRank(*engine, site).rank == 0) continue;
    out.push_back(engine);
  }
}

const CEngineSet* CEngineReports::FindSetOf(const CSearchEngine* engine) const {
  const CEngineSet* found = nullptr;
  if (!m_document || !engine) return found;
  ForEachSet(*m_document, [&](CEngineSet& set) {
    for (const auto& entry : set.GetEngines())
      if (entry.second == engine) found = &set;
  });
  return found;
}

CString CEngineReports::WriteDetailReport(CSearchEngine* engine, CString& path) {
  path.Empty();
  if (!engine) return CString();
  CDetailReport report(m_programInfo);
  report.m_removeLogos = GetSearchProperties().m_nRemoveLogos;
  PrepareReport(report);
  SetHeaderAndFooter(report);
  if (const CEngineSet* set = FindSetOf(engine))
    report.SetSearchTerm(set->GetName().GetString());
  report.AddEngine(engine);
  char title[512];
  snprintf(title, sizeof title, LoadResourceString(IDS_REPORT_DETAIL_PAGE).c_str(),
           engine->GetName().c_str());
  return FinishPage(report.Finish(), title,
                    MakeReportFileName(engine->GetName(), "_Detail"), path);
}

CString CEngineReports::WriteResultsReport(CSearchEngine* engine, CString& path) {
  path.Empty();
  if (!engine) return CString();
  const CSearchEngine* latest = engine;
  int latestDay = -1;
  if (m_document) {
    ForEachSet(*m_document, [&](CEngineSet& set) {
      CSearchEngine* copy = set.FindEngine(engine->GetName());
      if (copy && copy->m_lastVisitDate != 0 && copy->m_lastSubmitDate > latestDay) {
        latestDay = copy->m_lastSubmitDate;
        latest = copy;
      }
    });
  }
  // The stored answer is a page of the engine's server: its markup stays, its script goes.
  std::string text = latest->m_responseText.GetLength() > 0
                         ? reporthtml::SanitizeHtml(latest->m_responseText.c_str())
                         : std::string(LoadResourceString(IDS_REPORT_NO_SUBMIT_RESULT).c_str());
  return Done(WriteReportText(MakeReportFileName(engine->GetName(), "_Results"), text), path);
}
