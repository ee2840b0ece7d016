// ZBPro as a whole process: started with a document, run unattended with "/auto" against the
// fake search engine on 127.0.0.1 (exit code, CSV file with the ranks, report), and the ways an
// unattended run can fail: every one ends the process with a non-zero code and a line in the
// log beside the document, never with a box that nobody would answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "foundation/net/Socklet.h"
#include "framework/app/MessageBox.h"
#include "framework/core/String.h"
#include "reports/EngineReports.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/programs/ProgramFiles.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TempFolder.h"

namespace {

using zbtest::ProcessDriver;

const DWORD kStartTimeout = 30000;
const DWORD kRunTimeout = 120000;  // result pages are fetched with the product's own pauses
const char kSite[] = "http://www.zb-testsite.com/";

using zbtest::Exists;
using zbtest::QuietBox;
using zbtest::QuietEngineBox;
using zbtest::Read;
using zbtest::Write;
std::string Quoted(const std::string& path) {
  return "\"" + path + "\"";
}

// The fields of the CSV line of one engine and search term ("" when there is none).
std::vector<std::string> CsvLine(const std::string& csv, const std::string& engine,
                                 const std::string& term) {
  std::istringstream lines(csv);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char ch : line) {
      if (ch == '"')
        quoted = !quoted;
      else if (ch == ',' && !quoted)
        fields.push_back(field), field.clear();
      else if (ch != '\r')
        field += ch;
    }
    fields.push_back(field);
    if (fields.size() > 10 && fields[0] == engine && fields[10] == term) return fields;
  }
  return {};
}

// A program folder of its own: ZBPro, its language module and the engine definitions of the
// fake engine; the documents are made beside it.
class ZBProRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    ASSERT_TRUE(fake_.Start());
    // Runs here never ask a banner server: no address but the loopback is contacted.
    DWORD bannersOff = 0;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties",
                    "BannersOn", REG_DWORD, &bannersOff, sizeof bannersOff);
    // The windows driven here are the main window's: no tip of the day on top of it.
    DWORD tipsOff = 1;
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Orvandel Labs, Inc.\\ZBPro\\Tip", "StartUp",
                    REG_DWORD, &tipsOff, sizeof tipsOff);
    AfxSetMessageBoxHandler(QuietBox);
    SetEngineMessageBox(QuietEngineBox);
    folder_ = folderHolder_.Path();
    if (folder_.back() == '\\') folder_.pop_back();
    ASSERT_TRUE(
        CopyFileA((zbtest::BinFolder() + "ZBPro.exe").c_str(), File("ZBPro.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA((zbtest::BinFolder() + "ZBResENU.dll").c_str(),
                          File("ZBResENU.dll").c_str(), FALSE));
    ASSERT_TRUE(zbtest::WriteEngineFixtures(folder_, fake_.Port(), nullptr));
    SetEngineDataFolder(folder_.c_str());
  }
  void TearDown() override {
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    AfxSetMessageBoxHandler(nullptr);
    SockletCleanup();
  }
  std::string File(const std::string& name) const { return folder_ + "\\" + name; }

  // A document of the site with these terms and only these engines taking part; its reports go
  // to the program folder.
  void MakeDocument(const std::string& path, const std::vector<std::string>& terms,
                    const std::vector<std::string>& engines, bool active = true) {
    auto doc = std::make_unique<CZubrinDoc>();
    ASSERT_TRUE(doc->OnNewDocument());
    doc->m_siteUrl = kSite;
    doc->m_reportsDir = (folder_ + "\\").c_str();
    doc->m_currentSet = nullptr;
    doc->m_manager.RemoveAll();
    for (const std::string& term : terms) {
      CEngineSet* set = new CEngineSet(&doc->m_database, active ? 1 : 0, term.c_str());
      doc->m_manager.AddSet(set);
      if (!doc->m_currentSet) doc->m_currentSet = set;
    }
    for (const auto& entry : doc->m_currentSet->GetEngines())
      doc->SetEngineEnabledInAllSets(entry.second->m_name, 0);
    for (const std::string& name : engines) doc->SetEngineEnabledInAllSets(name.c_str(), 1);
    ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
  }

  // Runs the program to its end, noting any box it shows on the way.
  void RunToEnd(ProcessDriver& program, const std::string& arguments, bool& sawBox) {
    sawBox = false;
    ASSERT_TRUE(program.Start(File("ZBPro.exe"), arguments));
    for (DWORD waited = 0; !program.WaitForExit(200); waited += 200) {
      if (!program.TopWindows("#32770").empty()) {
        sawBox = true;
        break;
      }
      ASSERT_LT(waited, kRunTimeout) << "the program did not end";
    }
  }

  zbtest::FakeSearchEngine fake_;
  zbtest::TempFolder folderHolder_;
  std::string folder_;
};

// The whole unattended road: check, CSV named after the document beside it, a report, save,
// exit code 0. The ranks in the CSV are those the fake engine placed the site at.
TEST_F(ZBProRunTest, AutoWritesCsvAndReportWithTheRanksAndEndsWithZero) {
  zbtest::FakeScenario found;
  found.rank = 3;
  found.totalResults = 20;
  zbtest::FakeScenario absent = found;
  absent.rank = 0;
  // Results no matching rule could take for the site.
  for (int i = 0; i < 8; ++i)
    absent.lookalikes.push_back("http://www.unrelated" + std::to_string(i) + ".example/");
  fake_.SetScenario("alpha", found);
  fake_.SetScenario("beta", absent);
  std::string document = File("shop.zbp");
  MakeDocument(document, {"blue widgets"}, {"Alpha Search", "Beta Seek"});

  ProcessDriver program;
  bool sawBox = false;
  RunToEnd(program, "/auto /csv /r2 " + Quoted(document), sawBox);
  EXPECT_FALSE(sawBox) << "an unattended run showed a box";
  EXPECT_EQ(program.ExitCode(), 0u) << Read(File("shop.log"));
  EXPECT_FALSE(Exists(File("shop.log"))) << Read(File("shop.log"));

  std::string csv = Read(File("shop.csv"));
  ASSERT_FALSE(csv.empty()) << "no CSV file beside the document";
  std::vector<std::string> alpha = CsvLine(csv, "Alpha Search", "blue widgets");
  std::vector<std::string> beta = CsvLine(csv, "Beta Seek", "blue widgets");
  ASSERT_FALSE(alpha.empty()) << csv;
  ASSERT_FALSE(beta.empty()) << csv;
  EXPECT_EQ(alpha[2], "3") << "rank";
  EXPECT_EQ(alpha[3], "1") << "page";
  EXPECT_EQ(alpha[4], "3") << "position";
  EXPECT_EQ(beta[2], "0") << "the site is not among Beta's results";
  EXPECT_FALSE(fake_.RequestsTo("alpha").empty());

  WIN32_FIND_DATAA report;
  HANDLE reports = FindFirstFileA(File("*.htm").c_str(), &report);
  EXPECT_NE(reports, INVALID_HANDLE_VALUE) << "no summary report in the report folder";
  if (reports != INVALID_HANDLE_VALUE) FindClose(reports);
}

// The rank, page and position cells of each engine's row in the Summary report, by search term
// (each term's section starts with its term in bold); the prompt shown for a first place reads
// as rank 1, and a rank with its change ("3 (+2)") as the rank.
using SummaryRows = std::map<std::string, std::map<std::string, std::vector<std::string>>>;
SummaryRows ReadSummary(std::string html, const std::vector<std::string>& terms) {
  SummaryRows out;
  html.erase(std::remove_if(html.begin(), html.end(), [](char ch) { return ch == '\r' || ch == '\n'; }),
             html.end());
  const std::regex row("<TR ALIGN=\"LEFT\"[^>]*>(.*?)</TR>");
  const std::regex cell("<TD[^>]*>(.*?)</TD>");
  const std::regex tag("<[^>]*>");
  for (size_t i = 0; i < terms.size(); ++i) {
    size_t begin = html.find("<B>" + terms[i] + "</B><BR>");
    if (begin == std::string::npos) continue;
    size_t end = i + 1 < terms.size() ? html.find("<B>" + terms[i + 1] + "</B><BR>") : html.size();
    std::string section = html.substr(begin, end == std::string::npos ? end : end - begin);
    for (std::sregex_iterator r(section.begin(), section.end(), row), last; r != last; ++r) {
      std::string cells = (*r)[1];
      std::vector<std::string> texts;
      for (std::sregex_iterator c(cells.begin(), cells.end(), cell); c != last; ++c)
        texts.push_back(std::regex_replace((*c)[1].str(), tag, ""));
      if (texts.size() < 5) continue;
      std::string rank = texts[2].substr(0, texts[2].find(' '));
      if (rank.empty() || rank.find_first_not_of("0123456789") != std::string::npos) rank = "1";
      out[terms[i]][texts[0]] = {rank, texts[3], texts[4]};
    }
  }
  return out;
}

std::string FindReport(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return std::string();
  FindClose(search);
  return pattern.substr(0, pattern.rfind('\\') + 1) + found.cFileName;
}

// A document of several search terms whose engines place the site differently for each term.
// The walk makes the next term current as soon as it has started a term's last engine, so
// engines end while another term is current. The Summary must show for every term and engine
// the rank, page and position of the CSV, and so must a Summary written later from the saved
// document; both carry the program's version.
TEST_F(ZBProRunTest, SummaryAgreesWithTheCsvOnEveryTermAlsoAfterReopening) {
  const std::vector<std::string> terms = {"blue widgets", "red gadgets", "green gizmos"};
  const struct {
    const char* name;
    const char* path;
    int ranks[3];  // per term; 0 absent
  } engines[] = {
      {"Alpha Search", "alpha", {3, 12, 1}},
      {"Beta Seek", "beta", {14, 0, 2}},
      {"Delta Web", "delta", {1, 5, 0}},
  };
  std::vector<std::string> names;
  for (const auto& engine : engines) {
    zbtest::FakeScenario scenario;
    scenario.rank = 0;
    scenario.totalResults = 15;
    for (int i = 0; i < 8; ++i)
      scenario.lookalikes.push_back("http://www.unrelated" + std::to_string(i) + ".example/");
    for (size_t t = 0; t < terms.size(); ++t) scenario.rankByTerm[terms[t]] = engine.ranks[t];
    fake_.SetScenario(engine.path, scenario);
    names.push_back(engine.name);
  }
  std::string document = File("terms.zbp");
  MakeDocument(document, terms, names);
  // Every result page is read: the run does not stop an engine at the site, which would mark
  // the site's result on the way.
  struct ReadAllPages {
    const char* key = "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties";
    ReadAllPages() {
      DWORD off = 0;
      RegSetKeyValueA(HKEY_CURRENT_USER, key, "StopSearch", REG_DWORD, &off, sizeof off);
    }
    ~ReadAllPages() { RegDeleteKeyValueA(HKEY_CURRENT_USER, key, "StopSearch"); }
  } readAllPages;

  ProcessDriver program;
  bool sawBox = false;
  RunToEnd(program, "/auto /csv /r2 " + Quoted(document), sawBox);
  EXPECT_FALSE(sawBox);
  ASSERT_EQ(program.ExitCode(), 0u) << Read(File("terms.log"));
  std::string csv = Read(File("terms.csv"));
  std::string summaryPath = FindReport(File("Summary*.htm"));
  ASSERT_FALSE(summaryPath.empty()) << "no summary report";
  std::string summary = Read(summaryPath);
  EXPECT_NE(summary.find("ZBPro " ZB_VERSION_TEXT), std::string::npos) << "the program's version";

  // The reports of the saved document, written by this process as the report command would.
  std::string reopened;
  {
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(document.c_str()));
    ASSERT_TRUE(DeleteFileA(summaryPath.c_str()));
    CString written;
    CEngineReports(&doc).WriteSummaryReport(written);
    reopened = Read(static_cast<LPCSTR>(written));
  }

  SummaryRows run = ReadSummary(summary, terms), later = ReadSummary(reopened, terms);
  for (size_t t = 0; t < terms.size(); ++t) {
    SCOPED_TRACE(terms[t]);
    for (const auto& engine : engines) {
      SCOPED_TRACE(engine.name);
      std::vector<std::string> line = CsvLine(csv, engine.name, terms[t]);
      ASSERT_FALSE(line.empty()) << csv;
      const int rank = engine.ranks[t];
      const std::vector<std::string> expected = {
          std::to_string(rank), std::to_string(rank ? (rank - 1) / 10 + 1 : 0),
          std::to_string(rank ? (rank - 1) % 10 + 1 : 0)};
      EXPECT_EQ(std::vector<std::string>(line.begin() + 2, line.begin() + 5), expected) << "CSV";
      EXPECT_EQ(run[terms[t]][engine.name], expected) << "Summary of the run";
      EXPECT_EQ(later[terms[t]][engine.name], expected) << "Summary of the saved document";
    }
  }
}

// A document the run cannot start from: each ends the process at once with a non-zero code and
// the reason in the log beside the document, and shows no box.
TEST_F(ZBProRunTest, AutoWithAnUnusableDocumentFailsWithoutABox) {
  struct Case {
    const char* why;
    const char* name;
    bool exists;
    std::string content;
  };
  const Case cases[] = {
      {"no such document", "missing.zbp", false, ""},
      {"not a document at all", "damaged.zbp", true, "this is not a ZBPro document, just text"},
      // Its first word names a version after ours: the question about an update goes unasked.
      {"written by a newer version", "newer.zbp", true, std::string("\x0c\0\0\0\x03\0\0\0", 8)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::string document = File(c.name);
    if (c.exists) Write(document, c.content);
    ProcessDriver program;
    bool sawBox = false;
    RunToEnd(program, "/auto /csv " + Quoted(document), sawBox);
    EXPECT_FALSE(sawBox);
    // Exactly 1: a start that fails frees what it made once, so the exit does not crash.
    EXPECT_EQ(program.ExitCode(), 1u);
    std::string log = Read(document.substr(0, document.rfind('.')) + ".log");
    EXPECT_NE(log.find(c.name), std::string::npos) << "the log does not name the document: " << log;
  }
}

// A document whose one search term is switched off: the check cannot start; no waiting.
TEST_F(ZBProRunTest, AutoWithNothingToCheckFailsWithoutWaiting) {
  std::string document = File("idle.zbp");
  MakeDocument(document, {"blue widgets"}, {"Alpha Search"}, false);
  ProcessDriver program;
  bool sawBox = false;
  RunToEnd(program, "/auto /csv " + Quoted(document), sawBox);
  EXPECT_FALSE(sawBox);
  EXPECT_EQ(program.ExitCode(), 1u);
  EXPECT_NE(Read(File("idle.log")).find("nothing was run"), std::string::npos);
  EXPECT_FALSE(Exists(File("idle.csv")));
}

// Without its language module an unattended run logs why and ends; the interactive start's box
// is the programs test's.
TEST_F(ZBProRunTest, AutoWithoutLanguageModuleFailsWithoutABox) {
  std::string document = File("shop.zbp");
  MakeDocument(document, {"blue widgets"}, {"Alpha Search"});
  ASSERT_TRUE(DeleteFileA(File("ZBResENU.dll").c_str()));
  ProcessDriver program;
  bool sawBox = false;
  RunToEnd(program, "/auto /csv " + Quoted(document), sawBox);
  EXPECT_FALSE(sawBox);
  EXPECT_EQ(program.ExitCode(), 1u);
  EXPECT_NE(Read(File("shop.log")).find("language module"), std::string::npos);
}

// Closed while the run goes on: the close waits for the run's end, then the window closes once
// and the process ends; the run did not finish, so no CSV and a non-zero code.
TEST_F(ZBProRunTest, CloseDuringAnAutoRunWaitsForTheRunsEnd) {
  zbtest::FakeScenario many;
  many.rank = 0;
  many.totalResults = 60;
  for (int i = 0; i < 8; ++i)
    many.lookalikes.push_back("http://www.unrelated" + std::to_string(i) + ".example/");
  fake_.SetScenario("alpha", many);
  std::string document = File("long.zbp");
  MakeDocument(document, {"blue widgets"}, {"Alpha Search"});

  ProcessDriver program;
  ASSERT_TRUE(program.Start(File("ZBPro.exe"), "/auto /csv " + Quoted(document)));
  HWND frame = program.WaitForWindow("ZBProMainFrame", kStartTimeout);
  ASSERT_NE(frame, nullptr);
  for (DWORD waited = 0; fake_.RequestsTo("alpha").empty(); waited += 100) {
    ASSERT_LT(waited, kStartTimeout) << "the run did not start";
    Sleep(100);
  }
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(frame, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer);
  EXPECT_TRUE(IsWindow(frame)) << "the window closed while its run was on";
  ASSERT_TRUE(program.WaitForExit(kRunTimeout));
  EXPECT_EQ(program.ExitCode(), 1u);
  EXPECT_FALSE(Exists(File("long.csv")));
  EXPECT_NE(Read(File("long.log")).find("ended before it finished"), std::string::npos);
}

// Started with a document by the shell: its window names it and closes with 0.
TEST_F(ZBProRunTest, StartsWithADocumentAndEndsWithZero) {
  std::string document = File("shop.zbp");
  MakeDocument(document, {"blue widgets"}, {"Alpha Search"});
  ProcessDriver program;
  ASSERT_TRUE(program.Start(File("ZBPro.exe"), Quoted(document)));
  HWND frame = program.WaitForWindow("ZBProMainFrame", kStartTimeout);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(zbtest::WindowText(frame), "ZBPro - shop.zbp");
  PostMessageA(frame, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitForExit(kStartTimeout));
  EXPECT_EQ(program.ExitCode(), 0u);
}

}  // namespace
