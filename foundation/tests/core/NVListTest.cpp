#include "foundation/core/NVList.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace {

std::string Str(const CLibString& s) {
  return s.c_str();
}

// Walks the tree and checks that every balance word and the order of keys are right.
class CheckedList : public CNVList {
 public:
  int Check(const AVLNode* node, const CLibString* low, const CLibString* high) const {
    if (!node) return 0;
    const CLibString& key = node->m_item->GetKey();
    if (low) {
      EXPECT_TRUE(*low < key);
    }
    if (high) {
      EXPECT_TRUE(key < *high);
    }
    int l = Check(node->m_left, low, &key), r = Check(node->m_right, &key, high);
    unsigned expected = l > r ? kLeftHigh : l == r ? kBalanced : kRightHigh;
    EXPECT_LE(std::abs(l - r), 1);
    EXPECT_EQ(node->m_balance, expected);
    return 1 + std::max(l, r);
  }
  void Check() const { Check(m_root, nullptr, nullptr); }
};

std::vector<std::string> Names(CNVList& list) {
  std::vector<std::string> names;
  CLibString name, value;
  for (bool more = list.GetNext(name, value, true); more; more = list.GetNext(name, value, false))
    names.push_back(Str(name));
  return names;
}

TEST(NVList, AscendingInsertionStaysBalancedAndIteratesInOrder) {
  CheckedList list;
  char name[8];
  for (int i = 0; i < 1000; ++i) {
    snprintf(name, sizeof name, "k%04d", i);
    list.SetAt(name, CLibString(i));
  }
  list.Check();
  EXPECT_EQ(list.GetCount(), 1000u);
  EXPECT_LE(list.Height(), 11) << "an AVL tree of 1000 items is at most 11 high";
  auto names = Names(list);
  ASSERT_EQ(names.size(), 1000u);
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(list.GetInt("k0500"), 500);
}

// Random insertions and removals against a std::set, with the balance checked all the way.
TEST(NVList, RandomInsertAndRemoveKeepBalanceAndOrder) {
  CheckedList list;
  std::set<std::string> model;
  std::mt19937 rng(7);
  for (int step = 0; step < 4000; ++step) {
    std::string key = "n" + std::to_string(rng() % 500);
    if (rng() % 3 == 0) {
      AVLItem* item = list.Remove(key.c_str());
      EXPECT_EQ(item != nullptr, model.erase(key) == 1);
      delete item;
    } else {
      list.SetAt(key.c_str(), key.c_str());
      model.insert(key);
    }
    if (step % 250 == 0) list.Check();
  }
  list.Check();
  EXPECT_EQ(list.GetCount(), model.size());
  EXPECT_EQ(Names(list), std::vector<std::string>(model.begin(), model.end()));
}

TEST(NVList, RemovingANodeWithTwoChildrenKeepsOrder) {
  CheckedList list;
  for (const char* n : {"d", "b", "f", "a", "c", "e", "g"}) list.SetAt(n, n);
  delete list.Remove("d");  // the root, with two children
  delete list.Remove("b");
  list.Check();
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c", "e", "f", "g"}));
  EXPECT_EQ(list.Remove("zz"), nullptr);
  EXPECT_EQ(list.GetCount(), 5u);
}

TEST(NVList, AccessAndIterationEdges) {
  CNVList list;
  CLibString name("x"), value("y");
  EXPECT_FALSE(list.GetNext(name, value, true));
  EXPECT_EQ(Str(name), "");
  EXPECT_EQ(Str(value), "");

  EXPECT_EQ(Str(list["absent"]), "");
  EXPECT_EQ(list.GetCount(), 1u) << "operator[] adds the name";
  list["absent"] = "now here";
  EXPECT_EQ(Str(list.GetValue("absent")), "now here");
  EXPECT_EQ(Str(list.GetValue("missing")), "");
  EXPECT_EQ(list.GetInt("missing"), 0);
  EXPECT_FALSE(list.Contains("missing"));
  EXPECT_TRUE(list.Contains("absent"));

  list.SetAt("Name", "upper");
  list.SetAt("name", "lower");
  EXPECT_EQ(Str(list.GetValue("Name")), "upper") << "names are case-sensitive";
  list.SetAt("name", "replaced");
  EXPECT_EQ(Str(list.GetValue("name")), "replaced");

  // An item whose key is present is not inserted; the caller keeps it.
  CNVItem duplicate("name", "other");
  EXPECT_FALSE(list.Insert(&duplicate));
  EXPECT_EQ(Str(list.GetValue("name")), "replaced");

  CLibString n;
  std::vector<std::string> names;
  for (bool more = list.GetNextName(n, ""); more; more = list.GetNextName(n, n))
    names.push_back(Str(n));
  EXPECT_EQ(names, (std::vector<std::string>{"Name", "absent", "name"}));
}

TEST(NVList, CopyMergeSubtract) {
  CNVList a, b;
  a.SetAt("one", "1");
  a.SetAt("two", "2");
  b.SetAt("two", "zwei");
  b.SetAt("three", "drei");

  CNVList merged(a);
  merged.Merge(b);
  EXPECT_EQ(Names(merged), (std::vector<std::string>{"one", "three", "two"}));
  EXPECT_EQ(Str(merged.GetValue("two")), "zwei");

  CNVList diff = a - b;
  EXPECT_EQ(Names(diff), (std::vector<std::string>{"one"}));
  EXPECT_EQ(a.GetCount(), 2u) << "operator- leaves its operands alone";

  merged.Subtract(a);
  EXPECT_EQ(Names(merged), (std::vector<std::string>{"three"}));

  CNVList copy;
  copy.SetAt("stale", "x");
  copy.Copy(b);
  EXPECT_EQ(Names(copy), (std::vector<std::string>{"three", "two"}));
  copy.RemoveAll();
  EXPECT_EQ(copy.GetCount(), 0u);
  EXPECT_TRUE(Names(copy).empty());

  std::ostringstream os;
  CNVItem("k", "v").Dump(os);
  EXPECT_EQ(os.str(), "[k] = v\n");
}

class NVListFile : public testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("nvlist-" + std::to_string(reinterpret_cast<uintptr_t>(this)) + ".dat"))
                .string();
  }
  void TearDown() override { std::remove(path_.c_str()); }
  void WriteRaw(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string ReadRaw() {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string path_;
};

TEST_F(NVListFile, SaveWritesLengthPrefixedRecordsInNameOrder) {
  CNVList list;
  list.SetAt("url", "http://x.test");
  list.SetAt("abc", "");
  ASSERT_TRUE(list.Save(path_.c_str()));
  EXPECT_EQ(ReadRaw(),
            "00000003 00000000abc"
            "00000003 00000013urlhttp://x.test");
}

TEST_F(NVListFile, RoundTripKeepsEmptyValuesAndLineBreaks) {
  CNVList list;
  list.SetAt("empty", "");
  list.SetAt("lines", "one\r\ntwo\nthree");
  list.SetAt("with blank", "  spaced  ");
  ASSERT_TRUE(list.Save(path_.c_str()));

  CNVList back;
  back.SetAt("old", "goes away");
  ASSERT_TRUE(back.Load(path_.c_str()));
  EXPECT_EQ(Names(back), (std::vector<std::string>{"empty", "lines", "with blank"}));
  EXPECT_EQ(Str(back.GetValue("lines")), "one\r\ntwo\nthree");
  EXPECT_EQ(Str(back.GetValue("with blank")), "  spaced  ");
  EXPECT_TRUE(back.Contains("empty"));
}

TEST_F(NVListFile, EmptyPathAndMissingFile) {
  CNVList list;
  list.SetAt("keep", "1");
  EXPECT_FALSE(list.Save(""));
  EXPECT_FALSE(list.Load(""));
  EXPECT_TRUE(list.Contains("keep")) << "an empty path does nothing";
  EXPECT_FALSE(list.Load((path_ + ".missing").c_str()));
  EXPECT_EQ(list.GetCount(), 0u);
}

// Lengths in the file are untrusted: damage stops the load cleanly, keeping what came before.
TEST_F(NVListFile, DamagedFilesFailWithoutReadingPastTheData) {
  const std::string good = "00000001 00000001ab";
  struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"value longer than the file", good + "00000001 00000999cd"},
      {"huge length", good + "99999999 99999999cd"},
      {"negative length", good + "-0000001 00000001cd"},
      {"letters in the header", good + "0000000x 00000001cd"},
      {"truncated header", good + "0000000"},
      {"truncated data", good + "00000004 00000004abcdefg"},
      {"no separator", good + "0000000100000001cd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteRaw(c.bytes);
    CNVList list;
    EXPECT_FALSE(list.Load(path_.c_str()));
    EXPECT_EQ(Str(list.GetValue("a")), "b") << "records before the damage are kept";
    EXPECT_EQ(list.GetCount(), 1u);
  }
}

}  // namespace
