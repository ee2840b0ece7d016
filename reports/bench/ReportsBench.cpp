// Benchmark of the report writers (scripts/bench-reports): a document of 300 engines and 50
// search terms, every engine with results, is saved and read back once to give the reference
// (the time to read the same document); then every report kind is written and its time and
// its HTML rate are printed beside it. Nothing here passes or fails on time.
//
//   ReportsBench.exe [folder] [engines] [terms] [results per engine]
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "engines/query/DebugOptions.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "framework/app/MessageBox.h"
#include "reports/EngineReports.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}
int QuietBox(LPCSTR, UINT) {
  return IDOK;
}

std::string EnginesFile(int engines) {
  std::string text;
  for (int e = 0; e < engines; ++e) {
    char section[256];
    snprintf(section, sizeof section,
             "[Engine %03d]\nenabled=1\ncountry=USA\nhomepage=www.engine%03d.example\n"
             "submit=http://www.engine%03d.example/add?u=#URL#\n\n",
             e, e, e);
    text += section;
  }
  return text;
}

// Results on pages of ten; every seventh result (and so about one per engine) is the site's.
void FillResults(CSearchEngine& engine, int count, int seed) {
  for (int r = 0; r < count; ++r) {
    CSearchResult record;
    record.m_index = r;
    record.m_page = r / 10;
    record.m_position = r % 10;
    const bool site = (r + seed) % 7 == 0;
    char text[400];
    snprintf(text, sizeof text,
             "<a href=\"http://%s.example/page%d.html?q=term&amp;n=%d\">Result %d about the "
             "search term, with <b>a title</b></a> A snippet of the result page that tells "
             "what the page holds, long enough to be like a real one. %s",
             site ? "www.mysite" : "other", r, seed, r, site ? "mysite.com" : "");
    record.m_text = text;
    record.m_matched = site ? 1 : 0;
    engine.AddResult(record);
  }
  engine.m_previousRank = seed % 12 - 1;
  engine.m_submitCount = seed % 3;
  if (seed % 3) engine.m_lastVisitDate = engine.m_lastSubmitDate = 740000 + seed % 30;
}

long FileSize(const CString& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return 0;
  return static_cast<long>(data.nFileSizeLow);
}

}  // namespace

int main(int argc, char** argv) {
  std::string folder = argc > 1 ? argv[1] : ".";
  if (folder.back() != '\\') folder += '\\';
  const int engines = argc > 2 ? atoi(argv[2]) : 300;
  const int terms = argc > 3 ? atoi(argv[3]) : 50;
  const int results = argc > 4 ? atoi(argv[4]) : 20;
  SetEngineMessageBox(QuietEngineBox);
  AfxSetMessageBoxHandler(QuietBox);
  SetReportResourceModule(LoadLibraryExA("ZBResENU.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE));

  FILE* f = fopen((folder + "engines.dat").c_str(), "wb");
  if (!f) return 1;
  std::string definitions = EnginesFile(engines);
  fwrite(definitions.data(), 1, definitions.size(), f);
  fclose(f);
  SetEngineDataFolder(folder.c_str());
  CreateDirectoryA((folder + "reports").c_str(), nullptr);
  const std::string document = folder + "bench.zbp";
  {
    CZubrinDoc doc;
    doc.OnNewDocument();
    doc.m_siteUrl = "mysite.com";
    doc.m_manager.GetFirstSet()->m_name = "term 0";
    for (int t = 1; t < terms; ++t)
      doc.m_manager.AddSet(new CEngineSet(&doc.m_database, 1, ("term " + std::to_string(t)).c_str()));
    int seed = 0;
    for (POSITION pos = doc.m_manager.GetHeadPosition(); pos;) {
      CEngineSet* set = doc.m_manager.GetNext(pos);
      for (const auto& entry : set->GetEngines()) FillResults(*entry.second, results, ++seed);
    }
    if (!doc.OnSaveDocument(document.c_str())) return 1;
  }

  CZubrinDoc doc;
  auto start = Clock::now();
  if (!doc.OnOpenDocument(document.c_str())) return 1;
  const double readTime = Seconds(start);
  doc.m_reportsDir = (folder + "reports").c_str();
  printf("document: %d engines x %d terms, %d results each, %ld bytes on disk\n", engines,
         terms, results, FileSize(document.c_str()));
  printf("reference: reading the document %8.3f s\n", readTime);

  CEngineReports reports(&doc);
  CSearchEngine* first = doc.m_manager.GetFirstSet()->GetEngines().begin()->second;
  struct Kind {
    const char* name;
    std::function<CString(CString&)> write;
  };
  const Kind kinds[] = {
      {"Detail (one engine)", [&](CString& p) { return reports.WriteDetailReport(first, p); }},
      {"Summary", [&](CString& p) { return reports.WriteSummaryReport(p); }},
      {"Keyword", [&](CString& p) { return reports.WriteKeywordReport(p); }},
      {"KeywordStat", [&](CString& p) { return reports.WriteKeywordStatReport(p); }},
      {"URL Summary", [&](CString& p) { return reports.WriteUrlSummaryReport(p); }},
      {"Competitor", [&](CString& p) { return reports.WriteCompetitorReport(p); }},
      {"Submittal", [&](CString& p) { return reports.WriteSubmittalReport(p); }},
  };
  printf("%-20s %10s %12s %10s %12s\n", "report", "seconds", "HTML bytes", "MB/s", "x read");
  for (const Kind& kind : kinds) {
    CString path;
    start = Clock::now();
    CString written = kind.write(path);
    const double time = Seconds(start);
    const long bytes = written.IsEmpty() ? 0 : FileSize(written);
    printf("%-20s %10.3f %12ld %10.1f %12.2f\n", kind.name, time, bytes,
           time > 0 ? bytes / time / 1e6 : 0.0, readTime > 0 ? time / readTime : 0.0);
  }
  SetEngineDataFolder("");
  return 0;
}
