// What the report and export commands do once a report is chosen: write it, then open it in the
// browser or mail it; and the reports and CSV file at the end of an automated run. A report
// that could not be written is said so (a message box when interactive, a report-log line
// when automated) and is never opened or mailed.
#pragma once

class CSearchEngine;
class CZubrinDoc;

enum class ReportKind { Detail, Results, Summary, Keyword, KeywordStat, UrlSummary, Competitor,
                        Submittal };
enum class ReportAction { Write, View, Mail };

// Opens a written report (ShellExecute "open" unless set).
using ReportOpenFn = bool (*)(const char* path);
void SetReportOpener(ReportOpenFn open);

// Detail and Results need the engine and do nothing without one. True when written (and, for
// Mail, sent).
bool RunReportCommand(ReportKind kind, ReportAction action, CSearchEngine* engine = nullptr,
                      CZubrinDoc* document = nullptr);

// The engine the main window's Detail report is about: the engine list's selected row. Null
// (the default) leaves only the debug option's engine.
using SelectedEngineFn = CSearchEngine* (*)(CZubrinDoc& document);
void SetSelectedEngineSource(SelectedEngineFn source);

// The end of an automated run: the CSV file when a CSV switch is set, then the reports of the
// bits r1..r7 (Detail, Summary, Keyword, Submittal, Competitor, KeywordStat, URL Summary; the
// detail report of the debug option "engine", else of the selected engine), then the mailed
// reports of r2_email..r7_email.
// True when everything was written and sent; each failure is in the report log.
bool RunAutomatedReports(CZubrinDoc* document = nullptr);
