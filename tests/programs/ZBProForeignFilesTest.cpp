// ZBPro run unattended ("/auto") on files from elsewhere: documents that are large or odd, and
// program data files (engines.dat, categories.dat, templates.dat, toolmenu.dat) that are huge,
// cut short or empty. Each run ends within generous bounds of memory and time, far below what
// the faults reached (GB and hours), with its exit code and, for a failure, a log line; a
// document that is refused, or not run, is left as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/document/ZubrinDoc.h"
#include "app/tests/LargeDocuments.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "foundation/net/Socklet.h"
#include "framework/app/MessageBox.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"
#include "tests/programs/ProgramFiles.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TempFolder.h"

namespace {

using zbtest::ProcessDriver;

const size_t kMemoryBound = 500u << 20;
const DWORD kTimeBound = 60000;  // a start, one search term on one engine, the reports
const char kProperties[] = "Software\\Orvandel Labs, Inc.\\ZBPro\\Properties";

using zbtest::Exists;
using zbtest::QuietBox;
using zbtest::QuietEngineBox;
using zbtest::Read;
using zbtest::Write;

struct Outcome {
  bool ended = false;
  DWORD exitCode = STILL_ACTIVE;
  size_t peakBytes = 0;
  bool sawBox = false;
};

void PrintTo(const Outcome& o, std::ostream* os) {
  *os << (o.ended ? "ended" : "killed") << ", exit " << o.exitCode << ", "
      << (o.peakBytes >> 20) << " MB" << (o.sawBox ? ", showed a box" : "");
}

class ZBProForeignFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SockletStartup());
    ASSERT_TRUE(fake_.Start());
    DWORD off = 0;
    RegSetKeyValueA(HKEY_CURRENT_USER, kProperties, "BannersOn", REG_DWORD, &off, sizeof off);
    // Only the engines a document switches on take part: one engine, one term keeps runs short.
    RegSetKeyValueA(HKEY_CURRENT_USER, kProperties, "IncludeNew", REG_DWORD, &off, sizeof off);
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
    zbtest::FakeScenario found;
    found.rank = 2;
    fake_.SetScenario("alpha", found);
  }
  void TearDown() override {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kProperties, "IncludeNew");
    SetEngineDataFolder("");
    SetEngineMessageBox(nullptr);
    AfxSetMessageBoxHandler(nullptr);
    SockletCleanup();
  }
  std::string File(const std::string& name) const { return folder_ + "\\" + name; }
  std::string Log(const std::string& document) const {
    return Read(document.substr(0, document.rfind('.')) + ".log");
  }

  // "/auto /r2 /csv" on the document, watched: a run past the bounds of memory or time is ended
  // here, so that a fault costs the machine no more than the bound.
  Outcome Run(const std::string& document) {
    Outcome outcome;
    ProcessDriver program;
    if (!program.Start(File("ZBPro.exe"), "/auto /r2 /csv \"" + document + "\"")) return outcome;
    for (DWORD waited = 0; waited < kTimeBound; waited += 100) {
      if (program.WaitForExit(100)) {
        outcome.ended = true;
        outcome.exitCode = program.ExitCode();
        break;
      }
      size_t bytes = largedoc::PrivateBytes(program.Handle());
      if (bytes > outcome.peakBytes) outcome.peakBytes = bytes;
      if (bytes > kMemoryBound) break;
      if (!program.TopWindows("#32770").empty()) {
        outcome.sawBox = true;
        break;
      }
    }
    return outcome;
  }

  // A document with the one engine of the runs switched on in every set, before the case's own
  // records.
  static largedoc::Case WithAlpha(largedoc::Case c) {
    auto records = c.record;
    c.record = [records](CArchive& ar, int i) {
      if (i == 0)
        largedoc::EngineRecord(ar, "Alpha Search", 0);
      else
        records(ar, i - 1);
    };
    c.records += 1;
    return c;
  }

  zbtest::FakeSearchEngine fake_;
  zbtest::TempFolder folderHolder_;
  std::string folder_;
};

// The documents of the reader's table, run: past a limit the run ends at once with the limit in
// the log and the file untouched; within the limits it checks, saves and ends with 0, and the
// saved document still holds what it held (terms, cache, records of engines unknown here).
TEST_F(ZBProForeignFilesTest, LargeDocumentsRunWithinBoundsOrAreRefusedNamingTheLimit) {
  for (const largedoc::Case& table : largedoc::Cases()) {
    SCOPED_TRACE(table.name);
    largedoc::Case c = WithAlpha(table);
    // A term is checked with the product's own pauses (a second or more per page), so 900
    // active terms would take half an hour by design: two take part, the rest are read and saved.
    if (c.activeSets > 2) c.activeSets = 2;
    const std::string document = File("large.zbp");
    DeleteFileA(File("large.log").c_str());
    DeleteFileA(File("large.csv").c_str());
    ASSERT_TRUE(largedoc::Write(document, c));
    const std::string before = Read(document);
    Outcome outcome = Run(document);
    EXPECT_TRUE(outcome.ended) << ::testing::PrintToString(outcome);
    EXPECT_FALSE(outcome.sawBox);
    EXPECT_LT(outcome.peakBytes, kMemoryBound);
    const std::string log = Log(document);
    if (c.limit) {
      EXPECT_EQ(outcome.exitCode, 1u);
      EXPECT_NE(log.find(c.limit), std::string::npos) << log;
      EXPECT_NE(log.find("could not be opened"), std::string::npos) << log;
      EXPECT_TRUE(Read(document) == before) << "the refused document is left as it was";
      EXPECT_FALSE(Exists(File("large.csv")));
      continue;
    }
    EXPECT_EQ(outcome.exitCode, 0u) << log;
    // A refused document ends the program at once; one that runs is watched for seconds.
    EXPECT_GT(outcome.peakBytes, 0u) << "the run's memory was not watched";
    EXPECT_TRUE(Exists(File("large.csv")));
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(document.c_str()));
    EXPECT_EQ(doc.m_manager.GetCount(), static_cast<int>(c.sets));
    EXPECT_GE(static_cast<UINT>(doc.m_engineCache.GetCount()), c.cacheEntries);
    // Every engine of the table's records is unknown to the fixture's database.
    size_t kept = 0;
    for (POSITION position = doc.m_manager.GetHeadPosition(); position;)
      kept += doc.m_manager.GetNext(position)->GetKeptRecords().size();
    EXPECT_EQ(kept, static_cast<size_t>(table.records) * c.sets);
  }
}

// Data files of the program that are huge: the start and the run stay within the bounds.
TEST_F(ZBProForeignFilesTest, HugeDataFilesStayWithinBounds) {
  const std::string engines = Read(File("engines.dat"));
  const std::string categories = Read(File("categories.dat"));
  std::string manyKeys = "\n[Spare Keys]\n";
  for (int i = 0; i < 1000000; ++i) manyKeys += "key" + std::to_string(i) + "=value\n";
  std::string manyCategories = "\n[Huge]\n";
  for (int i = 0; i < 1000000; ++i) manyCategories += "Group " + std::to_string(i) + "\tEntry\n";
  std::string manyTemplates;
  for (int i = 0; i < 20000; ++i) {
    manyTemplates += "[Template " + std::to_string(i) + "]\n";
    for (int j = 0; j < 20; ++j) manyTemplates += "Engine " + std::to_string(j) + "\n";
    manyTemplates += "\n";
  }
  // Nine tools whose arguments take a MB each, as the tools file stores them.
  auto le32 = [](DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
  std::string bigTools = std::string("\x09\x00", 2);
  for (int i = 0; i < 9; ++i) {
    bigTools += i == 0 ? std::string("\xFF\xFF\x01\x00\x0B\x00", 6) + "CWgUserTool"
                       : std::string("\x01\x80", 2);
    bigTools += le32(0) + "\x04Tool\x0Bnotepad.exe" + "\xFF\xFF\xFF" + le32(1u << 20) +
                std::string(1u << 20, 'a') + std::string(1, '\0') + le32(1);
  }
  // One tool, then 8 MB of references back to it: damaged, so said in the log.
  const DWORD kRefs = 4u << 20;
  std::string refTools = std::string("\xFF\xFF", 2) + le32(kRefs + 1) +
                         std::string("\xFF\xFF\x01\x00\x0B\x00", 6) + "CWgUserTool" + le32(0) +
                         "\x04Tool\x0Bnotepad.exe" + std::string(2, '\0') + le32(1);
  for (DWORD i = 0; i < kRefs; ++i) refTools += std::string("\x02\x00", 2);
  struct Case {
    const char* what;
    const char* file;
    std::string content;
    const char* logged;  // null: the run ends with 0
  } cases[] = {
      {"engines.dat with a million more lines", "engines.dat", engines + manyKeys, nullptr},
      {"categories.dat with a million more lines", "categories.dat", categories + manyCategories,
       nullptr},
      {"templates.dat of 20,000 templates", "templates.dat", manyTemplates, nullptr},
      {"toolmenu.dat of nine tools of a MB", "toolmenu.dat", bigTools, nullptr},
      {"toolmenu.dat of 8 MB of references to one tool", "toolmenu.dat", refTools,
       "toolmenu.dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string original = Read(File(c.file));
    Write(File(c.file), c.content);
    largedoc::Case one = WithAlpha(largedoc::Case{"one term"});
    const std::string document = File("data.zbp");
    DeleteFileA(File("data.log").c_str());
    ASSERT_TRUE(largedoc::Write(document, one));
    Outcome outcome = Run(document);
    EXPECT_TRUE(outcome.ended) << ::testing::PrintToString(outcome);
    EXPECT_FALSE(outcome.sawBox);
    EXPECT_LT(outcome.peakBytes, kMemoryBound);
    EXPECT_GT(outcome.peakBytes, 0u) << "the run's memory was not watched";
    const std::string log = Log(document);
    if (c.logged) {
      EXPECT_EQ(outcome.exitCode, 1u);
      EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    } else {
      EXPECT_EQ(outcome.exitCode, 0u) << log;
    }
    if (original.empty())
      DeleteFileA(File(c.file).c_str());
    else
      Write(File(c.file), original);
  }
}

// A damaged or empty engines.dat would run too few engines and save the document as if that
// were all: the run ends at once with exit code 1 and a log line, and saves nothing.
TEST_F(ZBProForeignFilesTest, ADamagedOrEmptyEngineDatabaseRunsAndSavesNothing) {
  const std::string engines = Read(File("engines.dat"));
  ASSERT_GT(engines.size(), 2000u);
  struct Case {
    const char* what;
    std::string content;
    const char* logged;
  } cases[] = {
      {"cut at 1000 bytes", engines.substr(0, 1000), "damaged"},
      {"empty", "", "no engines"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Write(File("engines.dat"), engines);
    largedoc::Case one = WithAlpha(largedoc::Case{"history"});
    one.records = 4;
    const std::string document = File("history.zbp");
    DeleteFileA(File("history.log").c_str());
    ASSERT_TRUE(largedoc::Write(document, one));
    const std::string before = Read(document);
    Write(File("engines.dat"), c.content);
    Outcome outcome = Run(document);
    EXPECT_TRUE(outcome.ended) << ::testing::PrintToString(outcome);
    EXPECT_FALSE(outcome.sawBox);
    EXPECT_EQ(outcome.exitCode, 1u);
    const std::string log = Log(document);
    EXPECT_NE(log.find("engines.dat"), std::string::npos) << log;
    EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    EXPECT_TRUE(Read(document) == before) << "nothing saved";
    EXPECT_FALSE(Exists(File("history.csv")));
  }
  Write(File("engines.dat"), engines);
}

}  // namespace
