// CEngineReports: the work behind each report command. A writer picks the report folder and the
// file name, walks the document's engine sets and the engines in the engine list's order, feeds
// a report of the right kind, wraps its body in a page and writes the page. It returns the
// path of the file it wrote, or an empty path when the file could not be written: a report
// that failed must never be opened or mailed in place of an older file of the same name.
//
// The report commands of the main frame call these (the window side connects the commands).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "foundation/core/LibString.h"
#include "foundation/core/NVList.h"
#include "framework/core/String.h"

class CHtmlElement;
class CReport;
class CSearchEngine;
class CEngineSet;
class CZubrinDoc;

class CEngineReports {
 public:
  // The document whose results are reported (the open document by default).
  explicit CEngineReports(CZubrinDoc* document = nullptr);
  virtual ~CEngineReports();

  CString WriteDetailReport(CSearchEngine* engine, CString& path);
  CString WriteResultsReport(CSearchEngine* engine, CString& path);
  CString WriteSummaryReport(CString& path);
  CString WriteKeywordReport(CString& path);
  CString WriteKeywordStatReport(CString& path);
  CString WriteUrlSummaryReport(CString& path);
  CString WriteCompetitorReport(CString& path);
  CString WriteSubmittalReport(CString& path);

  // The document's output folder, else the setting ReportsDir, else the program's reports
  // folder; each with a trailing backslash.
  CString GetReportFolder() const;
  // part1 and part2 without blanks, today's date as %Y%m%d when AppendDate is on, ".htm".
  static CString MakeReportFileName(const CLibString& part1, const CLibString& part2);
  // The file name with every character a file name cannot hold removed (and the few the
  // reports always left out of their names); the folder is never touched.
  static CString CleanFileName(const CString& fileName);
  // Writes the page (or string 168 without one) to folder + cleaned file name, through a
  // temporary file beside it. The path, or empty when it could not be written.
  CString WriteReportFile(const CString& fileName, const CHtmlElement* page);
  CString WriteReportText(const CString& fileName, const std::string& text);

  // Over all engine sets, for the engine cache: the latest last-submission day among the copies
  // of the engine whose submission mark is set, and the sum of their positive submission counts.
  int GetLatestSubmissionDate(CSearchEngine* engine) const;
  int GetTotalSubmissions(CSearchEngine* engine) const;

 private:
  void PrepareReport(CReport& report) const;
  void SetHeaderAndFooter(CReport& report) const;
  // The page of the body (which must live until the page is written), written to the file.
  CString FinishPage(CHtmlElement& body, const CLibString& title,
                     const CString& fileName, CString& path);
  CString Done(const CString& written, CString& path) const;
  // Makes the temporary file, lets write fill it (the file handle; false on a failed write) and
  // puts it in place. The path, or empty when it could not be written.
  CString WriteReportWith(const CString& fileName, const std::function<bool(void*)>& write);
  // The engines of the set in the engine list's order that are enabled (and, with
  // HideZeroRankings, list the site).
  void ListedEngines(CEngineSet& set, bool hideZero, std::vector<CSearchEngine*>& out) const;
  const CEngineSet* FindSetOf(const CSearchEngine* engine) const;
  CLibString SiteUrl() const;

  CZubrinDoc* m_document;
  CNVList m_programInfo;
  CString m_unused;
};

// Whether every report since the last reset was written; an automated run ends with a non-zero
// exit code when not. The writers log each failure through the report log.
bool AllReportsWritten();
void ResetReportFailures();
// One line about a report, CSV or mail outcome of a run without windows (stderr by default).
using ReportLogFn = void (*)(const char* line);
void SetReportLog(ReportLogFn log);
void ReportLog(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
