#include "app/document/ZubrinDoc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/services/AppPaths.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/tests/AppRegistryFixture.h"
#include "app/tests/AppTestSupport.h"
#include "engines/query/DebugOptions.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "engines/db/SearchResult.h"
#include "framework/files/Archive.h"
#include "framework/app/MessageBox.h"
#include "resources/resource.h"

using apptest::ReadBytes;
using apptest::TempFolder;
using apptest::WriteBytes;

namespace {

std::vector<std::string> g_boxes;
int g_answer = IDNO;
int RecordBox(LPCSTR text, UINT) {
  g_boxes.push_back(text);
  return g_answer;
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}
std::vector<UINT> g_posted;
void RecordPost(UINT command) {
  g_posted.push_back(command);
}

// A small writer of the archive's byte forms, for files of the older versions.
class Bytes {
 public:
  Bytes& U32(uint32_t v) {
    data.append(reinterpret_cast<const char*>(&v), 4);
    return *this;
  }
  Bytes& Str(const std::string& s) {
    data += static_cast<char>(s.size());  // all short here
    data += s;
    return *this;
  }
  Bytes& Date(double day) {
    U32(0);
    data.append(reinterpret_cast<const char*>(&day), 8);
    return *this;
  }
  std::string data;
};

class ZubrinDocTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEngineMessageBox(QuietEngineBox);
    AfxSetMessageBoxHandler(RecordBox);
    g_boxes.clear();
    g_posted.clear();
    g_answer = IDNO;
    WriteBytes(folder_.File("engines.dat"),
               "[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n\n[Gamma]\nenabled=1\n");
    SetEngineDataFolder(folder_.Path().c_str());
    DocumentProgressHooks hooks;
    hooks.postCommand = RecordPost;
    SetDocumentProgressHooks(hooks);
  }
  void TearDown() override {
    SetEngineDataFolder("");
    AfxSetMessageBoxHandler(nullptr);
    SetDocumentProgressHooks(DocumentProgressHooks());
  }

  // A set record as the engine sets store it, for the fixtures of older files.
  std::string SetRecord(CZubrinDoc& doc, const char* term, int submitCount, int lastDay) {
    CEngineSet set(&doc.m_database, 1, term);
    CSearchEngine* beta = set.FindEngine("Beta");
    beta->m_submitCount = submitCount;
    beta->m_lastSubmitDate = lastDay;
    beta->m_submitted = 1;
    std::string path = folder_.File("set.bin");
    {
      CFile out(path.c_str(), CFile::modeCreate | CFile::modeWrite);
      CArchive ar(&out, CArchive::store);
      set.Serialize(ar);
      ar.Close();
    }
    return ReadBytes(path);
  }

  // Fields 6 on of an old file: site, date, [template], mail, profile, rules, sets.
  std::string OldFile(CZubrinDoc& doc, uint32_t version) {
    Bytes b;
    b.U32(version).U32(3);
    b.Str("http://old.example/").Date(40000.5);
    if (version == 8) b.Str("Favourites");
    b.Str("to@x").Str("cc@x").Str("from@x").Str("Subject").Str("Body").Str("C:\\reports\\");
    b.U32(1);
    b.U32(1).U32(2).U32(1).U32(4).U32(20);  // SubmitAuto, LimitTo, SubmitWhen, PageNo, Ranking
    if (version < 8) b.U32(0xDEADBEEF);
    b.U32(1);  // SubmitNotListed
    b.Str("URL").Str("http://old.example/");
    b.U32(2);
    return b.data + SetRecord(doc, "first", 3, 700) + SetRecord(doc, "second", 4, 800);
  }

  TempFolder folder_;
  apptest::LanguageModuleScope language_;
};

// The message of a damaged file, as the user reads it for that path.
std::string DamagedMessage(const std::string& path) {
  char full[MAX_PATH * 2] = {};
  GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
  CString text;
  text.LoadString(IDP_DOC_DAMAGED);
  text.Replace("%1", full);
  return text.GetString();
}

TEST_F(ZubrinDocTest, EveryFieldRoundTripsThroughVersion9) {
  std::string path = folder_.File("site.zbp");
  {
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.m_emailSubject, CString("Your web site Summary Report"));
    EXPECT_EQ(doc.m_limitTo, 3);
    ASSERT_EQ(doc.m_engineCache.GetCount(), 3);
    doc.m_siteUrl = "http://www.site.com/";
    doc.m_lastRun = COleDateTime(45000.25);
    doc.m_templateName = "Mine";
    doc.m_reportTo = "a@b";
    doc.m_emailCc = "c@d";
    doc.m_emailFrom = "e@f";
    doc.m_emailSubject = "subj";
    doc.m_emailBody = std::string(300, 'x').c_str();  // a long length prefix
    doc.m_reportsDir = "C:\\out\\";
    doc.m_profile.SetAt("URL", "http://www.site.com/");
    doc.m_profile.SetAt("EXTRA_KEY", "kept");
    doc.m_submitAuto = 1;
    doc.m_submitWhen = 1;
    doc.m_submitRanking = 30;
    doc.m_submitPageNo = 3;
    doc.m_limitTo = 2;
    doc.m_submitNotListed = 1;
    doc.FindEngineCache("Beta")->m_excluded = 1;
    doc.FindEngineCache("Beta")->m_total = 7;
    doc.FindEngineCache("Beta")->m_latest = 900;
    doc.m_currentSet->m_name = "first term";
    doc.m_currentSet->FindEngine("Gamma")->m_submitCount = 5;
    CEngineSet* second = new CEngineSet(&doc.m_database, 1, "second term");
    doc.m_manager.AddSet(second);
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
    EXPECT_EQ(doc.GetPathName(), CString(path.c_str()));
  }
  EXPECT_EQ(ReadBytes(path).compare(0, 5, "ARQ32"), 0);
  CZubrinDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(doc.m_siteUrl, CString("http://www.site.com/"));
  EXPECT_EQ(doc.m_lastRunUrl, doc.m_siteUrl);
  EXPECT_EQ(static_cast<double>(doc.m_lastRun), 45000.25);
  EXPECT_EQ(doc.m_templateName, CString("Mine"));
  EXPECT_EQ(doc.m_templateIndex, -4);
  EXPECT_EQ(doc.m_reportTo, CString("a@b"));
  EXPECT_EQ(doc.m_emailCc, CString("c@d"));
  EXPECT_EQ(doc.m_emailFrom, CString("e@f"));
  EXPECT_EQ(doc.m_emailSubject, CString("subj"));
  EXPECT_EQ(doc.m_emailBody.GetLength(), 300);
  EXPECT_EQ(doc.m_reportsDir, CString("C:\\out\\"));
  EXPECT_EQ(doc.m_profile.GetValue("URL"), CLibString("http://www.site.com/"));
  EXPECT_EQ(doc.m_profile.GetValue("EXTRA_KEY"), CLibString("kept"));
  EXPECT_EQ(doc.m_submitAuto, 1);
  EXPECT_EQ(doc.m_submitWhen, 1);
  EXPECT_EQ(doc.m_submitRanking, 30);
  EXPECT_EQ(doc.m_submitPageNo, 3);
  EXPECT_EQ(doc.m_limitTo, 2);
  EXPECT_EQ(doc.m_submitNotListed, 1);
  CEngineCache* beta = doc.FindEngineCache("Beta");
  ASSERT_NE(beta, nullptr);
  EXPECT_EQ(beta->m_excluded, 1u);
  EXPECT_EQ(beta->m_total, 7u);
  EXPECT_EQ(beta->m_latest, 900u);
  ASSERT_EQ(doc.m_manager.GetCount(), 2);
  EXPECT_EQ(doc.m_currentSet, doc.m_manager.GetFirstSet());
  EXPECT_EQ(doc.GetSearchTerm(), CString("first term"));
  EXPECT_EQ(doc.m_currentSet->FindEngine("Gamma")->m_submitCount, 5);
  EXPECT_EQ(doc.m_fresh, 0);
  EXPECT_FALSE(doc.IsModified());
}

// Engines the database does not know (taken out of it, or lost to a damaged engines.dat) keep
// their records: opened and saved with a smaller database, then read with the whole one again,
// the document gives back every engine's history and results.
TEST_F(ZubrinDocTest, RecordsOfEnginesTheDatabaseLacksAreSavedAgainAsRead) {
  const std::string path = folder_.File("history.zbp");
  const std::string allEngines = ReadBytes(folder_.File("engines.dat"));
  {
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.m_siteUrl = "http://www.site.com/";
    doc.m_currentSet->m_name = "widgets";
    CSearchEngine* beta = doc.m_currentSet->FindEngine("Beta");
    beta->m_submitCount = 4;
    beta->m_lastSubmitDate = 800;
    beta->m_submitted = 1;
    beta->m_responseText = "thanks";
    for (int i = 1; i <= 2; ++i) {
      CSearchResult result;
      result.m_text = ("http://r" + std::to_string(i) + ".example/").c_str();
      result.m_index = i;
      result.m_page = 1;
      result.m_position = i;
      result.m_matched = i == 2;
      beta->AddResult(result);
    }
    CSearchEngine* gamma = doc.m_currentSet->FindEngine("Gamma");
    gamma->m_enabled = 0;
    gamma->m_previousRank = 7;
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  WriteBytes(folder_.File("engines.dat"), "[Alpha]\nenabled=1\n");
  {
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    EXPECT_EQ(doc.m_currentSet->GetEngineCount(), 1);
    EXPECT_EQ(doc.m_currentSet->GetKeptRecords().size(), 2u);
    ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  }
  WriteBytes(folder_.File("engines.dat"), allEngines);
  CZubrinDoc doc;
  ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
  EXPECT_TRUE(doc.m_currentSet->GetKeptRecords().empty());
  CSearchEngine* beta = doc.m_currentSet->FindEngine("Beta");
  ASSERT_NE(beta, nullptr);
  EXPECT_EQ(beta->m_submitCount, 4);
  EXPECT_EQ(beta->m_lastSubmitDate, 800);
  EXPECT_EQ(beta->m_submitted, 1);
  EXPECT_EQ(beta->m_responseText, CLibString("thanks"));
  ASSERT_EQ(beta->GetResultCount(), 2);
  const CSearchResult& second =
      *static_cast<const CSearchResult*>(beta->m_results.Head()->Next()->Payload());
  EXPECT_EQ(second.m_text, CLibString("http://r2.example/"));
  EXPECT_EQ(second.m_position, 2);
  EXPECT_EQ(second.m_matched, 1u);
  CSearchEngine* gamma = doc.m_currentSet->FindEngine("Gamma");
  ASSERT_NE(gamma, nullptr);
  EXPECT_EQ(gamma->m_enabled, 0);
  EXPECT_EQ(gamma->m_previousRank, 7);
}

TEST_F(ZubrinDocTest, OlderVersionsReadAndGetTheirCacheComputed) {
  for (uint32_t version : {6u, 7u, 8u}) {
    SCOPED_TRACE(version);
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    std::string path = folder_.File("old.zbp");
    WriteBytes(path, OldFile(doc, version));
    ASSERT_TRUE(doc.OnOpenDocument(path.c_str()));
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ(doc.m_siteUrl, CString("http://old.example/"));
    EXPECT_EQ(doc.m_templateName, CString(version == 8 ? "Favourites" : ""));
    EXPECT_EQ(doc.m_emailBody, CString("Body"));
    EXPECT_EQ(doc.m_submitAuto, 1);
    EXPECT_EQ(doc.m_limitTo, 2);
    EXPECT_EQ(doc.m_submitPageNo, 4);
    EXPECT_EQ(doc.m_submitRanking, 20);
    EXPECT_EQ(doc.m_submitNotListed, 1);
    EXPECT_EQ(doc.m_profile.GetValue("URL"), CLibString("http://old.example/"));
    ASSERT_EQ(doc.m_manager.GetCount(), 2);
    CEngineCache* beta = doc.FindEngineCache("Beta");
    ASSERT_NE(beta, nullptr);
    EXPECT_EQ(beta->m_total, 7u);
    EXPECT_EQ(beta->m_latest, 800u);
    EXPECT_EQ(beta->m_excluded, 0u);
    EXPECT_EQ(doc.FindEngineCache("Alpha")->m_total, 0u);
  }
}

TEST_F(ZubrinDocTest, UnknownVersionsFailTheOpen) {
  struct Case {
    uint32_t version;
    int answer;
    bool posted;
  } cases[] = {{5, IDOK, false}, {0, IDOK, false}, {10, IDNO, false}, {10, IDYES, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    g_boxes.clear();
    g_posted.clear();
    g_answer = c.answer;
    std::string path = folder_.File("future.zbp");
    WriteBytes(path, Bytes().U32(c.version).U32(0).data);
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.OnOpenDocument(path.c_str()));
    ASSERT_EQ(g_boxes.size(), 1u);
    // The language module has the text: not a bare id shown to the user.
    EXPECT_NE(g_boxes[0].find(' '), std::string::npos) << g_boxes[0];
    EXPECT_EQ(g_posted.size(), c.posted ? 1u : 0u);
    EXPECT_TRUE(doc.GetPathName().IsEmpty());
    EXPECT_EQ(doc.m_manager.GetCount(), 1);
    EXPECT_NE(doc.m_currentSet, nullptr);
  }
}

TEST_F(ZubrinDocTest, DamagedFilesNeverStayOpen) {
  std::string good = folder_.File("good.zbp");
  {
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.m_siteUrl = "http://www.site.com/";
    doc.m_manager.AddSet(new CEngineSet(&doc.m_database, 1, "two"));
    ASSERT_TRUE(doc.OnSaveDocument(good.c_str()));
  }
  std::string bytes = ReadBytes(good);
  ASSERT_GT(bytes.size(), 20u);
  std::vector<std::string> damaged;
  for (size_t cut = 0; cut < bytes.size(); cut += 1 + bytes.size() / 40)
    damaged.push_back(bytes.substr(0, cut));
  for (size_t at = 5; at < bytes.size(); at += 1 + bytes.size() / 40) {
    std::string flipped = bytes;
    flipped[at] = static_cast<char>(flipped[at] ^ 0x5A);
    damaged.push_back(flipped);
  }
  // An uncompressed file whose string length runs far beyond the file.
  damaged.push_back(Bytes().U32(9).U32(0).U32(1).data + "\xFF\xFF\xFF\xFF\xFF\xFF\x7F" + "x");
  std::string path = folder_.File("damaged.zbp");
  CZubrinDoc doc;
  ASSERT_TRUE(doc.OnNewDocument());
  for (size_t i = 0; i < damaged.size(); ++i) {
    SCOPED_TRACE(i);
    WriteBytes(path, damaged[i]);
    g_boxes.clear();
    BOOL opened = doc.OnOpenDocument(path.c_str());
    if (opened) {
      // A flip inside a string's characters can still read as a whole file.
      EXPECT_EQ(doc.GetPathName(), CString(path.c_str()));
    } else {
      EXPECT_TRUE(doc.GetPathName().IsEmpty());
      ASSERT_FALSE(g_boxes.empty());
      EXPECT_EQ(g_boxes[0].find("file handle"), std::string::npos) << g_boxes[0];
      EXPECT_EQ(doc.m_manager.GetCount(), 1);
    }
    if (i < (bytes.size() + bytes.size() / 40) / (1 + bytes.size() / 40)) {
      EXPECT_FALSE(opened) << "truncated at " << damaged[i].size();
    }
  }
}

// Damage that the block layer sees, and files that are no document at all, are reported as a
// damaged file of that name: not as a handle fault, nor as a newer version to update for.
TEST_F(ZubrinDocTest, DamagedFilesSayTheyAreDamaged) {
  std::string good = folder_.File("good.zbp");
  {
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    doc.m_siteUrl = "http://www.site.com/";
    ASSERT_TRUE(doc.OnSaveDocument(good.c_str()));
  }
  std::string bytes = ReadBytes(good);
  ASSERT_EQ(bytes.compare(0, 5, "ARQ32"), 0);
  uint32_t packed = 0;
  memcpy(&packed, bytes.data() + 9, 4);
  auto withWord = [&](size_t at, uint32_t value) {
    std::string changed = bytes;
    memcpy(changed.data() + at, &value, 4);
    return changed;
  };
  uint32_t unpacked = 0;
  memcpy(&unpacked, bytes.data() + 5, 4);
  struct Case {
    const char* what;
    std::string content;
  } cases[] = {
      {"expanded length one too long", withWord(5, unpacked + 1)},
      {"expanded length far beyond a block", withWord(5, 0x7FFFFFFF)},
      {"packed length beyond the file", withWord(9, packed + 100)},
      {"packed length zero", withWord(9, 0)},
      {"cut inside the packed bytes", bytes.substr(0, 13 + packed / 2)},
      {"cut inside the block lengths", bytes.substr(0, 7)},
      {"a text file", "These are the notes of a meeting, not a document.\r\n"},
      {"a picture", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
  };
  std::string path = folder_.File("damaged.zbp");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(path, c.content);
    g_boxes.clear();
    g_posted.clear();
    g_answer = IDYES;
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_FALSE(doc.OnOpenDocument(path.c_str()));
    ASSERT_EQ(g_boxes.size(), 1u);
    EXPECT_EQ(g_boxes[0], DamagedMessage(path));
    EXPECT_TRUE(g_posted.empty()) << "no update is offered for it";
    EXPECT_TRUE(doc.GetPathName().IsEmpty());
  }
}

TEST_F(ZubrinDocTest, AFailedSaveLeavesTheOldFile) {
  std::string path = folder_.File("keep.zbp");
  CZubrinDoc doc;
  ASSERT_TRUE(doc.OnNewDocument());
  doc.m_siteUrl = "http://first.example/";
  ASSERT_TRUE(doc.OnSaveDocument(path.c_str()));
  std::string before = ReadBytes(path);
  int files = folder_.CountFiles();

  // Held open without sharing, the old file cannot be replaced.
  doc.m_siteUrl = "http://second.example/";
  HANDLE hold = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(hold, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(doc.OnSaveDocument(path.c_str()));
  CloseHandle(hold);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].find("not saved"), std::string::npos);
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(folder_.CountFiles(), files);  // no temporary file left

  // A folder that does not exist fails the same way.
  EXPECT_FALSE(doc.OnSaveDocument(folder_.File("missing\\x.zbp").c_str()));
  EXPECT_EQ(g_boxes.size(), 2u);

  CZubrinDoc reread;
  ASSERT_TRUE(reread.OnOpenDocument(path.c_str()));
  EXPECT_EQ(reread.m_siteUrl, CString("http://first.example/"));
}

}  // namespace

namespace {

// A debug run with a dump folder sets the interpreter's debug options before the database loads,
// so the alternate definitions file is the one read.
TEST_F(ZubrinDocTest, ADebugRunDumpsIntoItsFolderAndReadsItsEnginesFile) {
  std::string alternate = folder_.File("alternate.dat");
  WriteBytes(alternate, "[Zeta]\nenabled=1\n");
  std::string options = folder_.File("options.txt");
  WriteBytes(options, "directory=" + folder_.Path() + "\\dumps\nenginefile=" + alternate + "\n");
  SetCommandLineInfo(new NQCommandLineInfo(("/debug_opt \"" + options + "\"").c_str()));
  {
    CZubrinDoc doc;
    EXPECT_TRUE(IsDebugOn());
    EXPECT_EQ(std::string(GetDumpFolder().c_str()), folder_.Path() + "\\dumps\\");
    std::unique_ptr<CSearchEngine> zeta(doc.m_database.CloneEngine("Zeta"));
    EXPECT_NE(zeta, nullptr) << "the alternate definitions were loaded";
    std::unique_ptr<CSearchEngine> alpha(doc.m_database.CloneEngine("Alpha"));
    EXPECT_EQ(alpha, nullptr);
  }
  SetCommandLineInfo(nullptr);
  ResetDebugOptions();

  CZubrinDoc plain;
  EXPECT_FALSE(IsDebugOn()) << "without the debug switch nothing is dumped";
}

}  // namespace

namespace {

class NewDocumentSettingsTest : public AppRegistryFixture {
 protected:
  void SetUp() override {
    AppRegistryFixture::SetUp();
    WriteBytes(folder_.File("engines.dat"), "[Alpha]\nenabled=1\n");
    SetEngineDataFolder(folder_.Path().c_str());
  }
  void TearDown() override {
    SetEngineDataFolder("");
    AppRegistryFixture::TearDown();
  }
  TempFolder folder_;
};

// A new document's report folder is the setting as the options show it: the program's reports
// folder when none is stored, and always with its trailing separator.
TEST_F(NewDocumentSettingsTest, TheReportFolderComesFromTheSetting) {
  struct Case {
    const char* stored;  // null: no value stored
    CString expected;
  } cases[] = {
      {nullptr, GetReportsFolderPath()},
      {"D:\\reports", "D:\\reports\\"},
      {"D:\\reports\\", "D:\\reports\\"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored ? c.stored : "(none)");
    RegDeleteTreeA(HKEY_CURRENT_USER, kPropertiesKey);
    if (c.stored) SetText(kPropertiesKey, "ReportsDir", c.stored);
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.m_reportsDir, c.expected);
  }
}

}  // namespace
