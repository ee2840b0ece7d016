// Documents that are well formed but large or odd, as they come from elsewhere: each is made
// here through the document's own compressed file (a few KB on disk that expand to MB), opened
// by the document, and must be taken within bounded memory and time or refused with a message
// that names the limit, leaving the file as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <ostream>
#include <functional>
#include <string>

#include "app/document/CrusherFile.h"
#include "app/document/ZubrinDoc.h"
#include "app/tests/AppTestSupport.h"
#include "app/tests/LargeDocuments.h"
#include "engines/db/EngineList.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "framework/app/MessageBox.h"

using apptest::ReadBytes;
using apptest::TempFolder;
using apptest::WriteBytes;

namespace {

std::vector<std::string> g_boxes;
int RecordBox(LPCSTR text, UINT) {
  g_boxes.push_back(text);
  return IDOK;
}
int QuietEngineBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

class LargeDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEngineMessageBox(QuietEngineBox);
    AfxSetMessageBoxHandler(RecordBox);
    g_boxes.clear();
    WriteBytes(folder_.File("engines.dat"),
               "[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n\n[Gamma]\nenabled=1\n");
    SetEngineDataFolder(folder_.Path().c_str());
  }
  void TearDown() override {
    SetEngineDataFolder("");
    AfxSetMessageBoxHandler(nullptr);
  }
  TempFolder folder_;
  apptest::LanguageModuleScope language_;
};

// What a document holds, counted: a document saved and read again must count the same.
struct Summary {
  int sets = 0;
  int active = 0;
  int cache = 0;
  size_t profile = 0;
  size_t kept = 0;
  size_t results = 0;
  int siteLength = 0;
  int longestTerm = 0;
  bool operator==(const Summary&) const = default;
};

Summary Summarize(const CZubrinDoc& doc) {
  Summary s;
  s.sets = doc.m_manager.GetCount();
  s.active = doc.m_manager.CountActive();
  s.cache = static_cast<int>(doc.m_engineCache.GetCount());
  s.profile = doc.m_profile.GetCount();
  s.siteLength = doc.m_siteUrl.GetLength();
  for (POSITION position = doc.m_manager.GetHeadPosition(); position;) {
    const CEngineSet* set = doc.m_manager.GetNext(position);
    if (set->m_name.GetLength() > s.longestTerm) s.longestTerm = set->m_name.GetLength();
    for (const auto& entry : set->GetEngines()) s.results += entry.second->GetResultCount();
    s.kept += set->GetKeptRecords().size();
    for (const auto& entry : set->GetKeptRecords()) s.results += entry.second.results.size();
  }
  return s;
}

void PrintTo(const Summary& s, std::ostream* os) {
  *os << s.sets << " sets (" << s.active << " active), " << s.cache << " cache entries, "
      << s.profile << " profile entries, " << s.kept
      << " kept records, " << s.results << " results, site " << s.siteLength
      << ", longest term " << s.longestTerm;
}

// Generous bounds, far below what the faults reached (GB of memory, minutes and more): no
// measure of speed.
const size_t kMemoryBound = 500u << 20;
const double kSecondsBound = 30;

// Every document of the table is opened within the bounds; one past a limit is refused with a
// message that names the limit and the file, which stays as it was; one within the limits is
// saved and read again to the same counts (nothing cut short, nothing dropped).
TEST_F(LargeDocumentTest, EachIsTakenWithinBoundsOrRefusedNamingItsLimit) {
  for (const largedoc::Case& c : largedoc::Cases()) {
    SCOPED_TRACE(c.name);
    const std::string path = folder_.File("large.zbp");
    ASSERT_TRUE(largedoc::Write(path, c));
    const std::string bytes = ReadBytes(path);
    g_boxes.clear();
    const size_t before = largedoc::PrivateBytes();
    const auto start = std::chrono::steady_clock::now();
    CZubrinDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    const BOOL opened = doc.OnOpenDocument(path.c_str());
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const size_t after = largedoc::PrivateBytes();
    EXPECT_LT(after > before ? after - before : 0, kMemoryBound);
    EXPECT_LT(seconds, kSecondsBound);
    if (c.limit) {
      EXPECT_FALSE(opened);
      ASSERT_EQ(g_boxes.size(), 1u);
      EXPECT_NE(g_boxes[0].find(c.limit), std::string::npos) << g_boxes[0];
      EXPECT_NE(g_boxes[0].find("large.zbp"), std::string::npos) << g_boxes[0];
      EXPECT_EQ(doc.m_manager.GetCount(), 1) << "a fresh document instead";
      EXPECT_TRUE(ReadBytes(path) == bytes) << "the refused file is left as it was";
      continue;
    }
    ASSERT_TRUE(opened) << (g_boxes.empty() ? "" : g_boxes[0]);
    EXPECT_TRUE(g_boxes.empty());
    const Summary read = Summarize(doc);
    EXPECT_EQ(read.sets, static_cast<int>(c.sets));
    EXPECT_EQ(read.active, static_cast<int>(c.activeSets));
    EXPECT_EQ(read.siteLength, static_cast<int>(c.site.size()));
    EXPECT_GE(read.cache, static_cast<int>(c.cacheEntries));
    EXPECT_GE(read.profile, c.profileEntries);
    const std::string copy = folder_.File("copy.zbp");
    ASSERT_TRUE(doc.OnSaveDocument(copy.c_str()));
    CZubrinDoc again;
    ASSERT_TRUE(again.OnOpenDocument(copy.c_str()));
    EXPECT_EQ(Summarize(again), read);
  }
}

// The engine cache names engines by exact bytes: a file with far more names than any database
// is looked up by hash, and a count that promises more entries than the file holds allocates
// nothing for them.
TEST_F(LargeDocumentTest, ACacheCountBeyondItsEntriesIsDamageNotAnAllocation) {
  const std::string path = folder_.File("lying.zbp");
  {
    CCrusherFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
    CArchive ar(&file, CArchive::store);
    ar << 9u << 0u << 0xFFFFFFF0u << CString("Alpha") << 1u << 2u << 3u;
    ar.Close();
    file.Close();
  }
  const size_t before = largedoc::PrivateBytes();
  CZubrinDoc doc;
  ASSERT_TRUE(doc.OnNewDocument());
  EXPECT_FALSE(doc.OnOpenDocument(path.c_str()));
  const size_t after = largedoc::PrivateBytes();
  EXPECT_LT(after > before ? after - before : 0, 64u << 20);
  EXPECT_EQ(doc.m_engineCache.GetCount(), 3) << "a fresh document's cache";
}

}  // namespace
