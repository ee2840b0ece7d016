// Engine sets and the engine manager: one clone per engine with its results and history, the
// enabled flags, re-cloning with and without keeping the rank and history, the set list of the
// document, and the set record in the framework's archive (round trip, byte layout, the older
// record version, records of engines the set lacks, the progress steps).
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engines/db/EngineKeys.h"
#include "engines/db/EngineList.h"
#include "engines/sets/EngineManager.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/sets/RankMatcher.h"
#include "engines/db/SearchEngine.h"
#include "engines/tests/EngineTestSupport.h"
#include "framework/files/Archive.h"
#include "framework/files/File.h"

using enginetest::TempFolder;
using enginetest::WriteFile;

namespace {

void AddRecord(CSearchEngine& engine, int index, int page, int position, const std::string& text,
               uint32_t matched = 0) {
  CSearchResult* record = new CSearchResult;
  record->m_index = index;
  record->m_page = page;
  record->m_position = position;
  record->m_text = text.c_str();
  record->m_matched = matched;
  record->m_title = "a title";
  record->m_matchedText = matched ? "site.com" : "";
  engine.m_results.Append(new CListNode(record));
}

std::vector<const CSearchResult*> Results(const CSearchEngine& engine) {
  std::vector<const CSearchResult*> records;
  for (CListNode* node = engine.m_results.Head(); node; node = node->Next())
    records.push_back(static_cast<const CSearchResult*>(node->Payload()));
  return records;
}

std::vector<std::string> Names(const CEngineSet& set) {
  std::vector<std::string> names;
  for (const auto& entry : set.GetEngines()) names.push_back(entry.second->m_name.c_str());
  return names;
}

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return bytes;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  fclose(f);
  return bytes;
}

std::string Le32(int32_t value) {
  std::string s(4, '\0');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)));
  return s;
}

std::string Text(const std::string& text) {
  return std::string(1, char(text.size())) + text;
}

struct Step {
  int step;
  std::string engine;
  int number;
  intptr_t user;
  bool operator==(const Step& o) const {
    return step == o.step && engine == o.engine && number == o.number && user == o.user;
  }
};
std::vector<Step>& Steps() {
  static std::vector<Step> steps;
  return steps;
}
void RecordStep(int step, CSearchEngine* engine, int number, intptr_t user) {
  Steps().push_back({step, engine ? engine->m_name.c_str() : "-", number, user});
}

int g_boxes = 0;
std::string g_boxText;
int CountBox(HWND, const char* text, const char*, unsigned type) {
  ++g_boxes;
  g_boxText = text ? text : "";
  EXPECT_EQ(type, static_cast<unsigned>(MB_OK | MB_ICONSTOP));
  return IDOK;
}

CLibString DocumentSite() {
  return "http://www.site.com/";
}

class EngineSetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineKeyList.RemoveAll();
    ResetEnginePrototypes();
    SetDumpResults(false);
    SetMatchRestrict(kMatchWholeResult);
    path_ = folder_.File("engines.dat");
    // Names in the file's order differ from the set's order, which ignores case.
    WriteFile(path_,
              "[beta]\nenabled=1\n\n[Alpha]\nenabled=1\n\n[Off]\nenabled=0\n\n"
              "[Gamma]\nenabled=1\n");
    ASSERT_EQ(database_.LoadEnginesFile(path_.c_str(), nullptr, HWND(nullptr)), 3);
  }
  void TearDown() override {
    database_.Free();
    EngineKeyList.RemoveAll();
    SetDumpResults(true);
    SetDocumentSiteSource(nullptr);
  }

  // Stores the set and reads it back into a fresh set of the document's kind.
  void RoundTrip(CEngineSet& set, CEngineSet& loaded) {
    std::string file = folder_.File("set.bin");
    {
      CFile out(file.c_str(), CFile::modeCreate | CFile::modeWrite);
      CArchive ar(&out, CArchive::store);
      set.Serialize(ar);
      ar.Close();
    }
    CFile in(file.c_str(), CFile::modeRead);
    CArchive ar(&in, CArchive::load);
    loaded.Serialize(ar);
  }

  TempFolder folder_;
  std::string path_;
  CEngineList database_;
};

TEST_F(EngineSetTest, ASetClonesEveryEngineInNameOrder) {
  SetEngineEnabled(database_, "Gamma", 0);
  CEngineSet set(&database_, 1, "blue widgets");
  EXPECT_EQ(Names(set), (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
  EXPECT_EQ(set.m_active, 1);
  EXPECT_STREQ(set.GetName(), "blue widgets");

  CSearchEngine* alpha = set.FindEngine("ALPHA");
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(alpha, set.FindEngine("alpha"));
  EXPECT_EQ(set.FindEngine("Off"), nullptr);
  EXPECT_EQ(set.FindEngine("Delta"), nullptr);
  // Clones, not the prototypes, with no rank recorded yet.
  EXPECT_NE(alpha, CEngineList::EngineOf(database_.GetEngines().Head()->Next()));
  EXPECT_EQ(alpha->m_previousRank, -1);
  EXPECT_EQ(alpha->m_maxResults, 0);
  EXPECT_EQ(set.FindEngine("Gamma")->m_enabled, 0);
  EXPECT_EQ(set.CountEnabled(), 2);

  SetEngineEnabled(database_, "Gamma", 1);
  SetEngineEnabled(database_, "beta", 0);
  set.RefreshEnabledFlags();
  EXPECT_EQ(set.FindEngine("Gamma")->m_enabled, 1);
  EXPECT_EQ(set.FindEngine("beta")->m_enabled, 0);

  std::vector<std::string> visited;
  set.ForEachEngine(
      [](CSearchEngine* engine, intptr_t user) {
        reinterpret_cast<std::vector<std::string>*>(user)->push_back(engine->m_name.c_str());
      },
      reinterpret_cast<intptr_t>(&visited));
  EXPECT_EQ(visited, Names(set));
}

TEST_F(EngineSetTest, ASetWithoutEnginesIsToldOncePerProcess) {
  CEngineList empty;
  SetEngineMessageBox(CountBox);
  ResetNoEnginesNotice();
  g_boxes = 0;
  CEngineSet first(&empty, 1, "term");
  CEngineSet second(&empty, 1, "term");
  SetEngineMessageBox(nullptr);
  EXPECT_EQ(g_boxes, 1);
  EXPECT_EQ(first.GetEngineCount(), 0);
  // The archive's own construction clones nothing and tells nothing.
  CEngineSet bare;
  EXPECT_EQ(bare.GetEngineCount(), 0);
  EXPECT_EQ(bare.m_active, 0);
  EXPECT_EQ(g_boxes, 1);
}

TEST_F(EngineSetTest, RecloningKeepsRankAndHistoryOnlyWhenAsked) {
  CEngineSet set(&database_, 1, "widgets");
  CSearchEngine* alpha = set.FindEngine("Alpha");
  AddRecord(*alpha, 0, 0, 0, "http://other.com/");
  AddRecord(*alpha, 1, 0, 1, "http://www.site.com/");
  alpha->m_submitCount = 4;
  alpha->m_firstSubmitDate = 730000;
  alpha->m_lastSubmitDate = 730100;
  alpha->m_lastVisitDate = 730200;
  alpha->m_submitted = 1;
  alpha->m_responseText = "Thank you";
  AddRecord(*set.FindEngine("beta"), 0, 0, 0, "http://other.com/");
  SetEngineEnabled(database_, "Gamma", 0);
  set.RefreshEnabledFlags();
  CSearchEngine* gamma = set.FindEngine("Gamma");
  AddRecord(*gamma, 0, 0, 0, "http://www.site.com/");

  set.RecloneEnabledEngines("site.com", 1);
  CSearchEngine* fresh = set.FindEngine("Alpha");
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->GetResultCount(), 0);
  EXPECT_EQ(fresh->m_previousRank, 2);
  EXPECT_EQ(fresh->m_submitCount, 4);
  EXPECT_EQ(fresh->m_firstSubmitDate, 730000);
  EXPECT_EQ(fresh->m_lastSubmitDate, 730100);
  EXPECT_EQ(fresh->m_lastVisitDate, 730200);
  EXPECT_EQ(fresh->m_submitted, 1);
  EXPECT_STREQ(fresh->m_responseText.c_str(), "Thank you");
  // Results but no match: 0; no results at all: none recorded.
  EXPECT_EQ(set.FindEngine("beta")->m_previousRank, 0);
  // A disabled engine keeps its clone and results.
  EXPECT_EQ(set.FindEngine("Gamma"), gamma);
  EXPECT_EQ(gamma->GetResultCount(), 1);

  set.RecloneEnabledEngines("site.com", 1);
  EXPECT_EQ(set.FindEngine("Alpha")->m_previousRank, -1);
  EXPECT_EQ(set.FindEngine("Alpha")->m_submitCount, 4);

  // Without keeping, nothing is carried over.
  set.RecloneEngine("ALPHA", "site.com", 0);
  EXPECT_EQ(set.FindEngine("Alpha")->m_previousRank, -1);
  EXPECT_EQ(set.FindEngine("Alpha")->m_submitCount, 0);
  EXPECT_STREQ(set.FindEngine("Alpha")->m_responseText.c_str(), "");
  // The named engine is re-cloned whether enabled or not; an unknown name does nothing.
  set.RecloneEngine("Gamma", "site.com", 1);
  EXPECT_EQ(set.FindEngine("Gamma")->m_previousRank, 1);
  set.RecloneEngine("Nowhere", "site.com", 1);
  EXPECT_EQ(set.GetEngineCount(), 3);
}

TEST_F(EngineSetTest, ASetStoresAndLoadsEveryField) {
  SetDocumentSiteSource(DocumentSite);
  CEngineSet set(&database_, 1, "red gadgets");
  CSearchEngine* alpha = set.FindEngine("Alpha");
  alpha->m_enabled = 0;
  alpha->m_previousRank = 7;
  alpha->m_maxResults = 50;
  alpha->m_firstSubmitDate = 730001;
  alpha->m_lastSubmitDate = 730002;
  alpha->m_submitCount = 3;
  alpha->m_lastVisitDate = 730003;
  alpha->m_submitted = 1;
  alpha->m_responseText = "Your site was added";
  AddRecord(*alpha, 0, 0, 0, "<a href=\"http://other.com/\">x</a>");
  AddRecord(*alpha, 1, 1, 0, "<a href=\"http://www.site.com/\">y</a>", 1);
  set.FindEngine("beta")->m_previousRank = 0;

  CEngineSet loaded(&database_, 0, CString());
  RoundTrip(set, loaded);

  EXPECT_EQ(loaded.m_active, 1);
  EXPECT_STREQ(loaded.GetName(), "red gadgets");
  CSearchEngine* back = loaded.FindEngine("Alpha");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->m_enabled, 0);
  EXPECT_EQ(IsEngineEnabled(database_, "Alpha"), 0);  // the selection reaches the prototype
  EXPECT_EQ(back->m_previousRank, 7);
  EXPECT_EQ(back->m_maxResults, 50);
  EXPECT_EQ(back->m_firstSubmitDate, 730001);
  EXPECT_EQ(back->m_lastSubmitDate, 730002);
  EXPECT_EQ(back->m_submitCount, 3);
  EXPECT_EQ(back->m_lastVisitDate, 730003);
  EXPECT_EQ(back->m_submitted, 1);
  EXPECT_STREQ(back->m_responseText.c_str(), "Your site was added");
  EXPECT_STREQ(back->m_keywords.c_str(), "red gadgets");
  EXPECT_STREQ(back->m_urlToFind.c_str(), "http://www.site.com/");

  auto results = Results(*back);
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[1]->m_index, 1);
  EXPECT_EQ(results[1]->m_page, 1);
  EXPECT_EQ(results[1]->m_position, 0);
  EXPECT_STREQ(results[1]->m_text.c_str(), "<a href=\"http://www.site.com/\">y</a>");
  EXPECT_EQ(results[1]->m_matched, 1u);
  EXPECT_STREQ(results[1]->m_title.c_str(), "");
  EXPECT_STREQ(results[1]->m_matchedText.c_str(), "");
  EXPECT_STREQ(results[0]->m_text.c_str(), "<a href=\"http://other.com/\">x</a>");

  EXPECT_EQ(loaded.FindEngine("beta")->m_previousRank, 0);
  EXPECT_EQ(loaded.FindEngine("Gamma")->m_previousRank, -1);
  EXPECT_EQ(loaded.FindEngine("Gamma")->GetResultCount(), 0);
}

TEST_F(EngineSetTest, TheRecordHasItsFixedLayout) {
  SetDumpResults(true);
  CEngineList one;
  std::string path = folder_.File("one.dat");
  WriteFile(path, "[Solo]\nenabled=1\n");
  ASSERT_EQ(one.LoadEnginesFile(path.c_str(), nullptr, HWND(nullptr)), 1);
  CEngineSet set(&one, 1, "term");
  CSearchEngine* solo = set.FindEngine("Solo");
  solo->m_previousRank = -1;
  solo->m_maxResults = 20;
  solo->m_firstSubmitDate = 1;
  solo->m_lastSubmitDate = 2;
  solo->m_submitCount = 3;
  solo->m_lastVisitDate = 4;
  solo->m_submitted = 1;
  solo->m_responseText = "ok";
  AddRecord(*solo, 0, 0, 0, "kept only when matched");
  AddRecord(*solo, 1, 0, 1, "site.com", 1);

  std::string file = folder_.File("layout.bin");
  {
    CFile out(file.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&out, CArchive::store);
    set.Serialize(ar);
    ar.Close();
  }
  std::string expected = Le32(2) + Le32(1) + Text("term") + Le32(1) + Text("Solo") + Le32(1) +
                         Le32(-1) + Le32(20) + Le32(1) + Le32(2) + Le32(3) + Le32(4) +
                         std::string(1, '\x01') + Text("ok") + Le32(2) +
                         // with dumping on, an unmatched result goes without its address
                         Text("a title") + Le32(0) + Le32(0) + Le32(0) + Text("") + Le32(0) +
                         Text("a title") + Le32(1) + Le32(0) + Le32(1) + Text("site.com") + Le32(1);
  EXPECT_EQ(ReadBytes(file), expected);
  // The results in memory are not touched by storing.
  EXPECT_STREQ(Results(*solo)[0]->m_text.c_str(), "kept only when matched");
  one.Free();
}

// A version-1 record, written the way older programs wrote it, with a record for an engine the
// set lacks between two known ones and a word after the set that must still line up.
TEST_F(EngineSetTest, ReadsTheOlderRecordAndSkipsUnknownEngines) {
  SetDocumentSiteSource(DocumentSite);
  std::string file = folder_.File("v1.bin");
  {
    CFile out(file.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&out, CArchive::store);
    ar << 1 << 0 << CString("old term") << 3;
    auto record = [&](const char* name, int enabled, int results) {
      ar << CString(name) << enabled << CString("http://old.site/") << 100 << 200 << 5 << 300
         << BYTE(7) << CString("reply");
      ar << results;
      for (int i = 0; i < results; ++i)
        ar << CString("title") << i << 0 << i << CString("http://old.site/") << 1;
    };
    record("alpha", 0, 1);
    record("Retired", 1, 2);
    record("Gamma", 1, 0);
    ar << 0x5EA1;
    ar.Close();
  }
  CEngineSet set(&database_, 1, "new");
  CFile in(file.c_str(), CFile::modeRead);
  CArchive ar(&in, CArchive::load);
  set.Serialize(ar);
  int after = 0;
  ar >> after;
  EXPECT_EQ(after, 0x5EA1);

  EXPECT_EQ(set.m_active, 0);
  EXPECT_STREQ(set.GetName(), "old term");
  CSearchEngine* alpha = set.FindEngine("Alpha");
  EXPECT_EQ(alpha->m_enabled, 0);
  EXPECT_EQ(IsEngineEnabled(database_, "Alpha"), 0);
  EXPECT_STREQ(alpha->m_urlToFind.c_str(), "http://old.site/");
  EXPECT_STREQ(alpha->m_keywords.c_str(), "old term");
  EXPECT_EQ(alpha->m_previousRank, -1);
  EXPECT_EQ(alpha->m_maxResults, 0);
  EXPECT_EQ(alpha->m_firstSubmitDate, 100);
  EXPECT_EQ(alpha->m_lastSubmitDate, 200);
  EXPECT_EQ(alpha->m_submitCount, 5);
  EXPECT_EQ(alpha->m_lastVisitDate, 300);
  EXPECT_EQ(alpha->m_submitted, 1);  // any byte but 0
  EXPECT_STREQ(alpha->m_responseText.c_str(), "reply");
  ASSERT_EQ(alpha->GetResultCount(), 1);
  EXPECT_EQ(Results(*alpha)[0]->m_matched, 1u);
  EXPECT_EQ(set.FindEngine("Gamma")->m_submitCount, 5);
  EXPECT_EQ(set.FindEngine("Gamma")->GetResultCount(), 0);
  EXPECT_EQ(set.FindEngine("beta")->m_submitCount, 0);
  EXPECT_EQ(set.FindEngine("Retired"), nullptr);
}

TEST_F(EngineSetTest, ProgressStepsAndUnknownVersions) {
  CEngineSet set(&database_, 1, "term");
  set.SetProgressCallback(RecordStep, 42);
  Steps().clear();
  CEngineSet loaded(&database_, 0, CString());
  loaded.SetProgressCallback(RecordStep, 43);
  RoundTrip(set, loaded);
  const std::vector<Step> expected = {
      {1, "-", 3, 42},    {3, "Alpha", 0, 42}, {4, "Alpha", 0, 42}, {3, "beta", 1, 42},
      {4, "beta", 1, 42}, {3, "Gamma", 2, 42}, {4, "Gamma", 2, 42}, {2, "-", 3, 42},
      {5, "-", 0, 43},    {7, "-", 0, 43},     {8, "Alpha", 0, 43}, {7, "-", 1, 43},
      {8, "beta", 1, 43}, {7, "-", 2, 43},     {8, "Gamma", 2, 43}, {6, "-", 3, 43},
  };
  EXPECT_EQ(Steps(), expected);

  // A record of another version is not read past its version word.
  std::string file = folder_.File("v3.bin");
  {
    CFile out(file.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&out, CArchive::store);
    ar << 3 << 0x1234;
    ar.Close();
  }
  Steps().clear();
  CFile in(file.c_str(), CFile::modeRead);
  CArchive ar(&in, CArchive::load);
  loaded.Serialize(ar);
  int next = 0;
  ar >> next;
  EXPECT_EQ(next, 0x1234);
  EXPECT_TRUE(Steps().empty());
}

TEST_F(EngineSetTest, ATruncatedRecordThrowsTheArchiveError) {
  CEngineSet set(&database_, 1, "term");
  AddRecord(*set.FindEngine("Gamma"), 0, 0, 0, "some result text");
  std::string file = folder_.File("full.bin");
  {
    CFile out(file.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&out, CArchive::store);
    set.Serialize(ar);
    ar.Close();
  }
  std::string bytes = ReadBytes(file);
  std::string cut = folder_.File("cut.bin");
  WriteFile(cut, bytes.substr(0, bytes.size() - 6));
  CEngineSet loaded(&database_, 0, CString());
  CFile in(cut.c_str(), CFile::modeRead);
  CArchive ar(&in, CArchive::load);
  EXPECT_THROW(loaded.Serialize(ar), CArchiveException);
  // What was read before the end stays.
  EXPECT_STREQ(loaded.GetName(), "term");
}

// Everything a set's reading gives an engine, as one line to compare.
std::string Describe(const CSearchEngine& engine) {
  std::string text = std::string(engine.m_name.c_str()) + " enabled=" +
                     std::to_string(engine.m_enabled) + " rank=" +
                     std::to_string(engine.m_previousRank) + " max=" +
                     std::to_string(engine.m_maxResults) + " url=" + engine.m_urlToFind.c_str() +
                     " keywords=" + engine.m_keywords.c_str() + " dates=" +
                     std::to_string(engine.m_firstSubmitDate) + "," +
                     std::to_string(engine.m_lastSubmitDate) + "," +
                     std::to_string(engine.m_lastVisitDate) + " count=" +
                     std::to_string(engine.m_submitCount) + " submitted=" +
                     std::to_string(engine.m_submitted) + " reply=" +
                     engine.m_responseText.c_str();
  for (const CSearchResult* result : Results(engine))
    text += " [" + std::to_string(result->m_index) + "/" + std::to_string(result->m_page) + "/" +
            std::to_string(result->m_position) + " " + result->m_text.c_str() + " " +
            std::to_string(result->m_matched) + "]";
  return text;
}

CLibString OtherSite() {
  return "http://elsewhere.example/";
}

// A set whose clones wait (every set of a document but the one shown first) must, once used,
// hold exactly what reading it at once would have given, whatever changed in between: the
// document's site, the term's name, the prototypes' flags. The database's flags take the
// records at the read, not at the first use.
TEST_F(EngineSetTest, ASetWhoseClonesWaitEndsUpAsIfReadAtOnce) {
  SetDocumentSiteSource(DocumentSite);
  std::string v2 = folder_.File("v2.bin");
  {
    CEngineSet set(&database_, 1, "red gadgets");
    CSearchEngine* alpha = set.FindEngine("Alpha");
    alpha->m_enabled = 0;
    alpha->m_previousRank = 7;
    alpha->m_maxResults = 50;
    alpha->m_submitCount = 3;
    alpha->m_responseText = "Your site was added";
    AddRecord(*alpha, 0, 0, 0, "<a href=\"http://other.com/\">x</a>");
    AddRecord(*alpha, 1, 1, 0, "<a href=\"http://www.site.com/\">y</a>", 1);
    set.FindEngine("Gamma")->m_lastVisitDate = 730003;
    // A set of an older database: beta has no record and keeps its prototype's flag.
    delete set.m_engines["beta"];
    set.m_engines.erase("beta");
    CFile out(v2.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&out, CArchive::store);
    set.Serialize(ar);
    ar.Close();
  }
  // The older record, with a name in another case and an engine the database no longer has.
  std::string v1 = folder_.File("v1.bin");
  {
    CFile out(v1.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&out, CArchive::store);
    ar << 1 << 0 << CString("old term") << 2;
    ar << CString("alpha") << 0 << CString("http://old.site/") << 100 << 200 << 5 << 300
       << BYTE(7) << CString("reply") << 1 << CString("title") << 0 << 0 << 0
       << CString("http://old.site/") << 1;
    ar << CString("Retired") << 1 << CString("") << 0 << 0 << 0 << 0 << BYTE(0) << CString("")
       << 0;
    ar.Close();
  }
  for (const std::string& file : {v2, v1}) {
    SCOPED_TRACE(file);
    SetAllEnginesEnabled(database_, 1);
    SetEngineEnabled(database_, "beta", 0);
    auto read = [&](CEngineSet& set) {
      CFile in(file.c_str(), CFile::modeRead);
      CArchive ar(&in, CArchive::load);
      set.Serialize(ar);
    };
    CEngineSet now(&database_, 0, CString());
    read(now);
    CEngineSet waiting(&database_, CEngineSet::kClonesWait);
    read(waiting);
    EXPECT_TRUE(waiting.ClonesWaiting());
    EXPECT_EQ(IsEngineEnabled(database_, "Alpha"), 0);

    SetDocumentSiteSource(OtherSite);
    waiting.m_name = "renamed";
    SetEngineEnabled(database_, "beta", 1);
    SetEngineEnabled(database_, "Gamma", 0);

    EXPECT_EQ(Names(waiting), Names(now));
    EXPECT_FALSE(waiting.ClonesWaiting());
    for (const auto& [name, engine] : now.GetEngines())
      EXPECT_EQ(Describe(*waiting.FindEngine(name.c_str())), Describe(*engine));
    SetDocumentSiteSource(DocumentSite);
  }
}

// Every way into a waiting set's engines makes them first.
TEST_F(EngineSetTest, EveryUseOfAWaitingSetMakesItsClones) {
  std::string file = folder_.File("set.bin");
  {
    CEngineSet set(&database_, 1, "term");
    CFile out(file.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&out, CArchive::store);
    set.Serialize(ar);
    ar.Close();
  }
  const std::vector<std::pair<const char*, void (*)(CEngineSet&)>> uses = {
      {"FindEngine", [](CEngineSet& s) { EXPECT_NE(s.FindEngine("Gamma"), nullptr); }},
      {"GetEngineCount", [](CEngineSet& s) { EXPECT_EQ(s.GetEngineCount(), 3); }},
      {"GetEngines", [](CEngineSet& s) { EXPECT_EQ(s.GetEngines().size(), 3u); }},
      {"CountEnabled", [](CEngineSet& s) { EXPECT_EQ(s.CountEnabled(), 3); }},
      {"ForEachEngine",
       [](CEngineSet& s) {
         int count = 0;
         s.ForEachEngine([](CSearchEngine*, intptr_t n) { ++*reinterpret_cast<int*>(n); },
                         reinterpret_cast<intptr_t>(&count));
         EXPECT_EQ(count, 3);
       }},
      {"RefreshEnabledFlags", [](CEngineSet& s) { s.RefreshEnabledFlags(); }},
      {"RecloneEngine", [](CEngineSet& s) { s.RecloneEngine("Gamma", "", 1); }},
      {"RecloneEnabledEngines", [](CEngineSet& s) { s.RecloneEnabledEngines("", 1); }},
  };
  for (const auto& [name, use] : uses) {
    SCOPED_TRACE(name);
    CEngineSet waiting(&database_, CEngineSet::kClonesWait);
    CFile in(file.c_str(), CFile::modeRead);
    CArchive ar(&in, CArchive::load);
    waiting.Serialize(ar);
    ASSERT_TRUE(waiting.ClonesWaiting());
    use(waiting);
    EXPECT_FALSE(waiting.ClonesWaiting());
    EXPECT_EQ(waiting.GetEngineCount(), 3);
  }
  // Storing a waiting set writes what storing it read at once would.
  CEngineSet waiting(&database_, CEngineSet::kClonesWait);
  {
    CFile in(file.c_str(), CFile::modeRead);
    CArchive ar(&in, CArchive::load);
    waiting.Serialize(ar);
  }
  std::string again = folder_.File("again.bin");
  {
    CFile out(again.c_str(), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&out, CArchive::store);
    waiting.Serialize(ar);
    ar.Close();
  }
  EXPECT_EQ(ReadBytes(again), ReadBytes(file));
}

TEST_F(EngineSetTest, TheManagerKeepsSetsInOrder) {
  CEngineManager manager;
  CEngineSet* first = manager.CreateFirstSet(&database_);
  EXPECT_EQ(manager.GetCount(), 1);
  EXPECT_EQ(first->m_active, 1);
  EXPECT_STREQ(first->GetName(), "");
  EXPECT_EQ(first->GetEngineCount(), 3);

  CEngineSet* b = new CEngineSet(&database_, 0, "b");
  CEngineSet* c = new CEngineSet(&database_, 1, "c");
  manager.AddSet(b);
  manager.AddSet(c);
  EXPECT_EQ(manager.CountActive(), 2);
  EXPECT_EQ(manager.GetNextSet(first), b);
  EXPECT_EQ(manager.GetNextSet(c), first);
  EXPECT_EQ(manager.GetPrevSet(first), c);
  EXPECT_EQ(manager.GetPrevSet(b), first);
  CEngineSet stranger;
  EXPECT_EQ(manager.GetNextSet(&stranger), &stranger);
  EXPECT_EQ(manager.GetPrevSet(&stranger), &stranger);

  POSITION moved = manager.MoveSet(first, c);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(manager.GetNext(moved), c);
  EXPECT_EQ(manager.GetNext(moved), first);
  std::vector<std::string> order;
  for (POSITION p = manager.GetHeadPosition(); p;)
    order.push_back(manager.GetNext(p)->GetName().GetString());
  EXPECT_EQ(order, (std::vector<std::string>{"c", "", "b"}));
  EXPECT_EQ(manager.MoveSet(&stranger, b), nullptr);
  EXPECT_EQ(manager.MoveSet(b, b), manager.Find(b));
  EXPECT_EQ(manager.GetCount(), 3);

  EXPECT_TRUE(manager.RemoveSet(c));
  EXPECT_FALSE(manager.RemoveSet(&stranger));
  EXPECT_EQ(manager.GetFirstSet(), first);
  EXPECT_EQ(manager.GetNextSet(b), first);

  CEngineSet* again = manager.CreateFirstSet(&database_);
  EXPECT_EQ(manager.GetCount(), 1);
  EXPECT_EQ(manager.GetFirstSet(), again);
}

}  // namespace
