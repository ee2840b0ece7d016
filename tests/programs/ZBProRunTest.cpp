// ZBPro as a whole process: started with a document, run unattended with "/auto" against the
// fake search engine on 127.0.0.1 (exit code, CSV file with the ranks, report), and the ways an
// unattended run can fail: every one ends the process with a non-zero code and a line in the
// log beside the document, never with a box that nobody would answer.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/ZubrinDoc.h"
#include "engines/EngineServices.h"
#include "engines/EngineSet.h"
#include "engines/SearchEngine.h"
#include "foundation/Socklet.h"
#include "framework/MessageBox.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TempFolder.h"

namespace {

using zbtest::ProcessDriver;

const DWORD kStartTimeout = 30000;
const DWORD kRunTimeout = 120000;  // result pages are fetched with the product's own pauses
const char kSite[] = "http://www.zb-testsite.com/";

int QuietBox(LPCSTR, UINT type) {
  return AfxDefaultMessageBoxAnswer(type);
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

std::string Read(const std::string& path) {
  std::string text;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, got);
    fclose(f);
  }
  return text;
}
void Write(const std::string& path, const std::string& text) {
  if (FILE* f = fopen(path.c_str(), "wb")) {
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
  }
}
bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
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
