// The engine database: loading the definitions file (plain and scrambled lines, sections,
// comments, escapes), the progress, prototypes and their clones, the prototype index, and the
// categories file with its cache.
#include <sys/utime.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engines/query/DebugOptions.h"
#include "engines/db/EngineKeys.h"
#include "engines/db/EngineList.h"
#include "engines/db/EnginePrototypes.h"
#include "engines/db/EngineServices.h"
#include "engines/tests/EngineTestSupport.h"

using enginetest::Scrambled;
using enginetest::TempFolder;
using enginetest::WriteFile;

namespace {

const char kKey[] = "testkey0123456";

class EngineListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EngineKeyList.RemoveAll();
    ResetEnginePrototypes();
    ResetEngineIconCount();
  }
  void TearDown() override {
    list_.Free();
    EngineKeyList.RemoveAll();
    ResetDebugOptions();
  }

  // A definitions file with every kind of line the loader meets. Alpha is written plain, Beta
  // scrambled with the key (its header too), the rest mixed.
  std::string DefinitionsFile() {
    std::string s;
    s += "# a comment before any section\n";
    s += "stray=line outside a section\n";
    s += "[Icons]\ncommon=3\ngreencheck=4\nredx=5\n\n";
    s += "[ Alpha ]\r\n";
    s += "enabled=1\r\n";
    s += "icon=7\r\n";
    s += "# a comment inside a section\r\n";
    s += "note=line one\\nline two\\tTabbed\\r\r\n";
    s += "==leading=x\r\n";
    s += "flagonly\r\n";
    s += "search=first\r\n";
    s += "search=second\r\n";
    s += "plainlong=" + std::string(5000, 'p') + "\r\n";
    s += "\r\n";
    s += Scrambled("[Beta]", kKey) + "\n";
    s += Scrambled("enabled=2", kKey) + "\n";
    s += Scrambled("icon=9", kKey) + "\n";
    s += Scrambled("long=" + std::string(5000, 's'), kKey) + "\n";
    s += Scrambled("  padded = kept  ", kKey) + "\n";
    s += "\n";
    s += "[Gamma]\nenabled=0\nsearch=gamma keys stay\n\n";
    s += "[Delta]\nsearch=no enabled key\n[NotASection]\nurl=inside delta\n\n";
    s += "[Zeta]\n" + Scrambled("enabled=1", kKey) + "\n" + Scrambled("icon=2", kKey);
    return s;
  }

  static std::vector<std::string> Names(const CEngineList& list) {
    std::vector<std::string> names;
    for (CListNode* node = list.GetEngines().Head(); node; node = node->Next())
      names.push_back(CEngineList::EngineOf(node)->GetName().c_str());
    return names;
  }

  TempFolder folder_;
  CEngineList list_;
};

TEST_F(EngineListTest, LoadsEnabledSectionsAsPrototypesAndEveryKey) {
  std::string path = folder_.File("engines.dat");
  WriteFile(path, DefinitionsFile());
  EXPECT_EQ(list_.LoadEnginesFile(path.c_str(), kKey, nullptr), 3);
  EXPECT_EQ(Names(list_), (std::vector<std::string>{"Alpha", "Beta", "Zeta"}));

  EXPECT_EQ(EngineKeyList.GetValue("Icons.common"), "3");
  EXPECT_EQ(EngineKeyList.GetValue("Icons.redx"), "5");
  EXPECT_EQ(EngineKeyList.GetValue("Alpha.icon"), "7");
  EXPECT_EQ(EngineKeyList.GetValue("Alpha.note"), "line one\nline two\tTabbed\r");
  EXPECT_EQ(EngineKeyList.GetValue("Alpha.leading"), "x");
  EXPECT_TRUE(EngineKeyList.Contains("Alpha.flagonly"));
  EXPECT_EQ(EngineKeyList.GetValue("Alpha.flagonly"), "");
  EXPECT_EQ(EngineKeyList.GetValue("Alpha.search"), "second");
  // Lines longer than any read buffer come whole, plain or scrambled.
  EXPECT_EQ(EngineKeyList.GetValue("Alpha.plainlong").GetLength(), 5000);
  EXPECT_EQ(EngineKeyList.GetValue("Beta.long"), std::string(5000, 's').c_str());
  EXPECT_EQ(EngineKeyList.GetValue("Beta.icon"), "9");
  // Decoded lines lose their outer blanks; the blanks around "=" belong to name and value.
  EXPECT_EQ(EngineKeyList.GetValue("Beta.padded "), " kept");
  EXPECT_EQ(EngineKeyList.GetValue("Zeta.icon"), "2");

  // Comments and lines outside sections leave nothing; sections without engines keep their keys.
  bool comment = false;
  EngineKeyList.ForEach([&](const CNVItem& item) {
    if (item.m_name.Find("#") || item.m_name.Find("stray")) comment = true;
  });
  EXPECT_FALSE(comment);
  EXPECT_EQ(EngineKeyList.GetValue("Gamma.search"), "gamma keys stay");
  EXPECT_EQ(EngineKeyList.GetValue("Delta.search"), "no enabled key");
  // An empty line ends a section: a header right after a key line is just another key.
  EXPECT_TRUE(EngineKeyList.Contains("Delta.[NotASection]"));
  EXPECT_EQ(EngineKeyList.GetValue("Delta.url"), "inside delta");
  EXPECT_FALSE(EngineKeyList.Contains("NotASection.url"));

  EXPECT_EQ(CountEngineIcons(), 3);
}

TEST_F(EngineListTest, WrongKeyReadsScrambledLinesAsPlainText) {
  std::string path = folder_.File("engines.dat");
  WriteFile(path, DefinitionsFile());
  EXPECT_EQ(list_.LoadEnginesFile(path.c_str(), "another key", nullptr), 1);
  EXPECT_EQ(Names(list_), (std::vector<std::string>{"Alpha"}));
}

TEST_F(EngineListTest, MissingFileLeavesTheListAsItIs) {
  std::string path = folder_.File("engines.dat");
  WriteFile(path, "[One]\nenabled=1\n");
  ASSERT_EQ(list_.LoadEnginesFile(path.c_str(), kKey, nullptr), 1);
  std::vector<int> positions;
  EXPECT_EQ(list_.LoadEnginesFile(folder_.File("none.dat").c_str(), kKey,
                                  [&](int p) { positions.push_back(p); }),
            1);
  EXPECT_EQ(positions, std::vector<int>{0});
}

TEST_F(EngineListTest, ProgressRunsFromZeroToHundred) {
  std::string path = folder_.File("engines.dat");
  WriteFile(path, DefinitionsFile());
  std::vector<int> positions;
  list_.LoadEnginesFile(path.c_str(), kKey, [&](int p) { positions.push_back(p); });
  ASSERT_GE(positions.size(), 4u);
  EXPECT_EQ(positions.front(), 0);
  EXPECT_EQ(positions.back(), 100);
  for (size_t i = 1; i < positions.size(); ++i) EXPECT_GE(positions[i], positions[i - 1]);
  // One step per top-level line or section: the leading comment is a small part of the file.
  EXPECT_LT(positions[1], 10);
}

// A definitions file cut short or changed says so, so that an unattended run does not go on
// with engines missing; plain files, whatever their lines, are taken as they are.
TEST_F(EngineListTest, AFileCutShortOrChangedIsDamaged) {
  std::string encoded;
  for (const char* name : {"Alpha", "Beta", "Gamma", "Delta"}) {
    encoded += std::string("[") + name + "]\n";
    for (const char* key : {"enabled=1", "search=http://127.0.0.1/search?q=#KEYWORDS#",
                            "resultpattern=<a href=\"#URL#\">#TITLE#</a>"})
      encoded += Scrambled(key, kKey) + "\n";
    encoded += "\n";
  }
  // Cut in the middle of the line that holds Gamma's search key.
  const size_t gamma = encoded.find("[Gamma]");
  const size_t searchLine = encoded.find('\n', gamma + 8) + 1;
  const size_t cut = searchLine + (encoded.find('\n', searchLine) - searchLine) / 2;
  std::string flipped = encoded;
  flipped[searchLine + 3] = flipped[searchLine + 3] == 'A' ? 'B' : 'A';
  struct Case {
    const char* what;
    std::string content;
    bool damaged;
    int engines;
  } cases[] = {
      {"whole", encoded, false, 4},
      {"cut inside an encoded line", encoded.substr(0, cut), true, 3},
      {"a letter changed in an encoded line", flipped, true, 4},
      {"cut after a line end", encoded.substr(0, searchLine), false, 3},
      {"plain, with a key without value", "[One]\nenabled=1\nflagonly\n", false, 1},
      {"plain, without the last line end", "[One]\nenabled=1", false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CEngineList list;
    const std::string path = folder_.File("engines.dat");
    WriteFile(path, c.content);
    EXPECT_EQ(list.LoadEnginesFile(path.c_str(), kKey, nullptr), c.engines);
    EXPECT_EQ(list.IsDamaged(), c.damaged);
    list.Free();
    EngineKeyList.RemoveAll();
  }
}

// A file of a million lines loads in bounded time and memory: the keys are kept as many as
// they are, the engines no more than kMaxEngines (the rest would cost an engine object per
// search term of every document), and a file past that counts as damaged.
TEST_F(EngineListTest, HugeFilesLoadWithinBounds) {
  std::string manyKeys = "[Alpha]\nenabled=1\n";
  for (int i = 0; i < 1000000; ++i) manyKeys += "k" + std::to_string(i) + "=v\n";
  std::string manyEngines;
  for (int i = 0; i < CEngineList::kMaxEngines + 1000; ++i)
    manyEngines += "[E" + std::to_string(i) + "]\nenabled=1\n\n";
  struct Case {
    const char* what;
    std::string content;
    int engines;
    bool damaged;
  } cases[] = {
      {"a million keys", manyKeys, 1, false},
      {"more engines than the most", manyEngines, CEngineList::kMaxEngines, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CEngineList list;
    const std::string path = folder_.File("engines.dat");
    WriteFile(path, c.content);
    EXPECT_EQ(list.LoadEnginesFile(path.c_str(), kKey, nullptr), c.engines);
    EXPECT_EQ(list.IsDamaged(), c.damaged);
    list.Free();
    EngineKeyList.RemoveAll();
  }
}

TEST_F(EngineListTest, LoadReadsTheAlternateFileAndKeepsTheKey) {
  std::string path = folder_.File("alternate.dat");
  WriteFile(path, "[Solo]\n" + Scrambled("enabled=1", kKey) + "\n");
  SetDebugOptions(folder_.File("").c_str(), path.c_str());
  EXPECT_EQ(list_.Load(nullptr, kKey), 1);
  EXPECT_EQ(CEngineList::GetDataKey(), kKey);
  // The language module comes from beside the program (the build's bin folder).
  EXPECT_NE(GetLanguageModule(), nullptr);
  list_.Free();
  EXPECT_EQ(GetLanguageModule(), nullptr);
  EXPECT_EQ(list_.GetCount(), 0);
}

struct BoxRecord {
  static std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
  }
  static int Box(HWND owner, const char* text, const char* caption, unsigned type) {
    Calls().push_back(std::string(owner ? "owner" : "no owner") + "|" + text + "|" + caption + "|" +
                      std::to_string(type));
    return IDOK;
  }
};

TEST_F(EngineListTest, MissingLanguageModuleIsToldAndTheLoadGoesOn) {
  std::string path = folder_.File("alternate.dat");
  WriteFile(path, "[Solo]\nenabled=1\n");
  SetDebugOptions(folder_.File("").c_str(), path.c_str());
  SetFallbackLanguageModule("ZBResNONE.dll");
  SetEngineMessageBox(BoxRecord::Box);
  BoxRecord::Calls().clear();
  EXPECT_EQ(list_.Load(nullptr, kKey), 1);
  SetEngineMessageBox(nullptr);
  SetFallbackLanguageModule(nullptr);
  EXPECT_EQ(BoxRecord::Calls(),
            std::vector<std::string>{"no owner|Failed loading resource DLL|Error|0"});
}

TEST_F(EngineListTest, ClonesCarryNameFormsAndEnabledFlagOnly) {
  std::string path = folder_.File("engines.dat");
  WriteFile(path, "[Alpha]\nenabled=1\n\n[Alpha]\nenabled=1\n");
  ASSERT_EQ(list_.LoadEnginesFile(path.c_str(), kKey, nullptr), 2);
  CSearchEngine* first = CEngineList::EngineOf(list_.GetEngines().Head());
  first->m_enabled = 0;
  first->m_forms->m_forms[2].m_hidden.SetAt("h", "1");
  first->m_forms->Main().m_method = "post";
  first->m_forms->Main().m_number = 4;
  first->m_keywords = "query state";
  first->m_submitCount = 3;
  CSearchResult* result = new CSearchResult;
  first->m_results.Append(new CListNode(result));

  CSearchEngine* clone = list_.CloneEngine("Alpha");
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->GetName(), "Alpha");
  EXPECT_EQ(clone->m_enabled, 0);  // the first prototype's flag
  EXPECT_EQ(clone->m_forms->m_forms[2].m_hidden.GetValue("h"), "1");
  EXPECT_EQ(clone->m_forms->Main().m_method, "post");
  EXPECT_EQ(clone->m_forms->Main().m_number, 4);
  EXPECT_NE(clone->m_forms, first->m_forms);
  EXPECT_EQ(clone->GetResultCount(), 0);
  EXPECT_EQ(clone->m_keywords, "");
  EXPECT_EQ(clone->m_submitCount, 0);
  delete clone;

  EXPECT_EQ(list_.CloneEngine("alpha"), nullptr);  // names compare exactly
  EXPECT_EQ(list_.CloneEngine("Nobody"), nullptr);
}

TEST_F(EngineListTest, PrototypeIndexServices) {
  std::string path = folder_.File("engines.dat");
  WriteFile(path,
            "[Icons]\ncommon=11\n\n[One]\nenabled=1\nicon=4\n\n[Two]\nenabled=1\n\n"
            "[Three]\nenabled=1\nicon=6\n");
  ASSERT_EQ(list_.LoadEnginesFile(path.c_str(), kKey, nullptr), 3);

  EXPECT_EQ(GetEngineIcon(list_, "One"), 4);
  EXPECT_EQ(GetEngineIcon(list_, "Unknown"), 11);
  EXPECT_EQ(GetEnabledEngineCount(), 3);

  EXPECT_EQ(SetEngineEnabled(list_, "Two", 0), 1);
  EXPECT_EQ(GetEnabledEngineCount(), 2);
  EXPECT_EQ(SetEngineEnabled(list_, "Two", 0), 0);  // the same flag again changes no count
  EXPECT_EQ(GetEnabledEngineCount(), 2);
  EXPECT_EQ(IsEngineEnabled(list_, "Two"), 0);
  EXPECT_EQ(IsEngineEnabled(list_, "One"), 1);
  EXPECT_EQ(SetEngineEnabled(list_, "Unknown", 1), 0);
  EXPECT_EQ(IsEngineEnabled(list_, "Unknown"), 0);
  EXPECT_EQ(GetEnabledEngineCount(), 2);

  CSearchEngine* clone = ClonePrototype(list_, "Two");
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(clone->m_enabled, 0);
  EXPECT_EQ(clone->GetName(), "Two");
  delete clone;
  EXPECT_EQ(ClonePrototype(list_, "Unknown"), nullptr);

  SetAllEnginesEnabled(list_, 0);
  EXPECT_EQ(GetEnabledEngineCount(), 0);
  EXPECT_EQ(IsEngineEnabled(list_, "Three"), 0);
  SetAllEnginesEnabled(list_, 1);
  EXPECT_EQ(GetEnabledEngineCount(), 3);
}

TEST_F(EngineListTest, SecondLoadInTheSameProcessWorks) {
  std::string first = folder_.File("first.dat");
  std::string second = folder_.File("second.dat");
  WriteFile(first, "[Icons]\ncommon=1\n\n[Old]\nenabled=1\nicon=2\n\n[Kept]\nenabled=1\n");
  WriteFile(second, "[Old]\nsearch=no longer an engine\n\n[Kept]\nenabled=1\n\n[New]\nenabled=1\n");
  // The same database object loads twice, as a document that is made again at the same place.
  ASSERT_EQ(list_.LoadEnginesFile(first.c_str(), kKey, nullptr), 2);
  EXPECT_EQ(IsEngineEnabled(list_, "Old"), 1);
  EXPECT_EQ(CountEngineIcons(), 1);
  list_.Free();
  // The index and the count of the first load are gone with it; the old "enabled" key left in
  // the key list does not make an engine of a section that lost it.
  EXPECT_EQ(GetEnabledEngineCount(), 0);
  EXPECT_EQ(IsEngineEnabled(list_, "Old"), 0);
  ASSERT_EQ(list_.LoadEnginesFile(second.c_str(), kKey, nullptr), 2);
  EXPECT_EQ(Names(list_), (std::vector<std::string>{"Kept", "New"}));
  EXPECT_EQ(IsEngineEnabled(list_, "Old"), 0);
  EXPECT_EQ(IsEngineEnabled(list_, "New"), 1);
  EXPECT_EQ(GetEnabledEngineCount(), 2);
  CSearchEngine* clone = ClonePrototype(list_, "Kept");
  ASSERT_NE(clone, nullptr);
  delete clone;

  // A database destroyed without Free takes its prototypes out of the index too.
  {
    CEngineList unfreed;
    unfreed.LoadEnginesFile(second.c_str(), kKey, nullptr);
    EXPECT_EQ(IsEngineEnabled(unfreed, "New"), 1);
  }
  EXPECT_EQ(IsEngineEnabled(list_, "New"), 1);
}

TEST_F(EngineListTest, AddKeysMergesIntoTheDatabaseKeys) {
  CNVList a, b;
  a.SetAt("x", "1");
  b.SetAt("x", "2");
  b.SetAt("y", "3");
  list_.AddKeys(a);
  list_.AddKeys(b);
  EXPECT_EQ(list_.GetKeys().GetCount(), 2u);
  EXPECT_EQ(list_.GetKeys().GetValue("y"), "3");
}

// ---- categories ----

class CategoriesTest : public ::testing::Test {
 protected:
  void SetUp() override { CEngineList::ClearCategoriesCache(); }
  void TearDown() override { CEngineList::ClearCategoriesCache(); }
  TempFolder folder_;
};

TEST_F(CategoriesTest, ReadsOneSectionOfGroupsAndEntries) {
  std::string path = folder_.File("categories.dat");
  std::string s;
  s += "[OTHER_CATEGORY]\nOther\tNot wanted\n\n";
  s += "#[SITE_CATEGORY] a commented header is no header\nCommented\tNo\n\n";
  s += Scrambled("[SITE_CATEGORY]", kKey) + "\n";
  s += "Arts\tArts > Painting\n";
  s += Scrambled("Business\tBusiness > Shops", kKey) + "\n";
  s += "# a comment\n";
  s += "Lonely entry\n";
  s += "Science\\tScience > Physics\n";
  s += "Old\tFirst\n";
  s += "New\tArts > Painting\n";
  s += "Old\tSecond\n";
  s += "\n";
  s += "After\tthe empty line\n";
  WriteFile(path, s);

  CNVList out;
  out.SetAt("stale", "entry");
  EXPECT_EQ(CEngineList::LoadCategoriesFile(path.c_str(), kKey, out, "SITE_CATEGORY"), 6);
  EXPECT_FALSE(out.Contains("stale"));
  EXPECT_EQ(out.GetValue("Arts > Painting"), "New");  // a later line of the same entry wins
  EXPECT_EQ(out.GetValue("Business > Shops"), "Business");
  EXPECT_TRUE(out.Contains("Lonely entry"));
  EXPECT_EQ(out.GetValue("Lonely entry"), "");
  EXPECT_EQ(out.GetValue("Science > Physics"), "Science");
  EXPECT_FALSE(out.Contains("Old"));
  EXPECT_EQ(out.GetValue("First"), "Old");
  EXPECT_EQ(out.GetValue("Second"), "Old");
  EXPECT_FALSE(out.Contains("the empty line"));

  EXPECT_EQ(CEngineList::LoadCategoriesFile(path.c_str(), kKey, out, "MISSING"), 0);
  EXPECT_EQ(out.GetCount(), 0u);
  EXPECT_EQ(
      CEngineList::LoadCategoriesFile(folder_.File("none.dat").c_str(), kKey, out, "SITE_CATEGORY"),
      0);
}

TEST_F(CategoriesTest, AFileIsDecodedOnceAndReadAgainWhenItChanges) {
  std::string path = folder_.File("categories.dat");
  WriteFile(path, "[C]\nG\tone\n");
  CNVList out;
  ASSERT_EQ(CEngineList::LoadCategoriesFile(path.c_str(), kKey, out, "C"), 1);
  struct _stat64 before;
  ASSERT_EQ(_stat64(path.c_str(), &before), 0);

  // Same size and time on disk: the cached lines answer.
  WriteFile(path, "[C]\nG\ttwo\n");
  _utimbuf times = {before.st_atime, before.st_mtime};
  ASSERT_EQ(_utime(path.c_str(), &times), 0);
  CEngineList::LoadCategoriesFile(path.c_str(), kKey, out, "C");
  EXPECT_TRUE(out.Contains("one"));

  // Another size: the file is read again.
  WriteFile(path, "[C]\nG\tthree\nH\tfour\n");
  EXPECT_EQ(CEngineList::LoadCategoriesFile(path.c_str(), kKey, out, "C"), 2);
  EXPECT_TRUE(out.Contains("three"));
}

}  // namespace
