#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/core/LinkedList.h"
#include "foundation/core/PathName.h"
#include "foundation/core/PatternList.h"

namespace {

std::string Str(const CLibString& s) {
  return s.c_str();
}

std::vector<int> Payloads(const CLinkedList& list) {
  std::vector<int> out;
  for (CListNode* n = list.Head(); n; n = n->Next())
    out.push_back(static_cast<int>(reinterpret_cast<intptr_t>(n->Payload())));
  return out;
}

CListNode* NodeOf(int value) {
  return new CListNode(reinterpret_cast<void*>(intptr_t{value}));
}

TEST(LinkedList, AppendAndRemoveKeepLinksAndCount) {
  CLinkedList list;
  EXPECT_EQ(list.Append(nullptr), nullptr);
  CListNode* a = list.Append(NodeOf(1));
  CListNode* b = list.Append(NodeOf(2));
  CListNode* c = list.Append(NodeOf(3));
  EXPECT_EQ(list.GetCount(), 3u);
  EXPECT_EQ(list.m_current, c);
  EXPECT_EQ(Payloads(list), (std::vector<int>{1, 2, 3}));

  EXPECT_EQ(list.Remove(b, true), c) << "returns the next node";
  EXPECT_EQ(c->Prev(), a);
  EXPECT_EQ(list.Remove(c, true), a) << "returns the previous node when there is no next";
  EXPECT_EQ(list.Tail(), a);
  EXPECT_EQ(list.Remove(a, false), nullptr);
  EXPECT_EQ(list.Head(), nullptr);
  EXPECT_EQ(list.Tail(), nullptr);
  EXPECT_EQ(list.GetCount(), 0u);
  EXPECT_EQ(list.Remove(a, false), nullptr) << "a removed node is not removed twice";
  EXPECT_EQ(list.GetCount(), 0u);
  delete a;
  EXPECT_EQ(list.Remove(nullptr, true), nullptr);
}

TEST(LinkedList, DeletingALinkedNodeUnlinksIt) {
  CLinkedList list;
  list.Append(NodeOf(1));
  CListNode* middle = list.Append(NodeOf(2));
  list.Append(NodeOf(3));
  delete middle;
  EXPECT_EQ(Payloads(list), (std::vector<int>{1, 3}));
  EXPECT_EQ(list.GetCount(), 2u);
}

TEST(PairList, SetAtReplacesOrAppends) {
  CPairList pairs;
  int element = 5;
  pairs.SetAt(3, 30);
  pairs.SetAt(1, reinterpret_cast<uintptr_t>(&element));  // values hold pointers too
  pairs.SetAt(3, 33);
  EXPECT_EQ(pairs.GetCount(), 2u);
  EXPECT_EQ(pairs.GetValueAt(0), 33u);
  EXPECT_EQ(reinterpret_cast<int*>(pairs.GetValueAt(1)), &element);
  EXPECT_EQ(pairs.GetValueAt(2), 0u);
  ASSERT_NE(pairs.FindNode(1), nullptr);
  EXPECT_EQ(CPairList::PairOf(pairs.FindNode(1))->key, 1u);
  EXPECT_EQ(pairs.FindNode(9), nullptr);
}

struct Recorder {
  std::vector<int> ids;
  static void OnComplete(CPattern* p, void* context) {
    static_cast<Recorder*>(context)->ids.push_back(p->id);
  }
};

TEST(PatternList, FindsPatternsInAStream) {
  struct {
    const char* pattern;
    const char* text;
    int completions;
  } cases[] = {
      {"abc", "xxabc", 1}, {"abc", "aabc", 1},      {"abc", "ababc", 1},
      {"aab", "aaab", 1},  {"abab", "abababab", 2}, {"</a>", "<a href=x>t</a></a>", 2},
      {"x", "axbxcx", 3},  {"abc", "abxabyab", 0},  {"aa", "aaaa", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    CPatternList list;
    ASSERT_EQ(list.AddPattern(1, c.pattern, 0), CPatternList::kDone);
    int total = 0;
    for (const char* p = c.text; *p; ++p) total += list.Feed(static_cast<unsigned char>(*p));
    EXPECT_EQ(total, c.completions);
  }
}

TEST(PatternList, ReportsThroughTargetResultSlotCallbackAndOnMatch) {
  struct Counting : CPatternList {
    using CPatternList::CPatternList;
    int onMatch = 0;
    void OnMatch(CPattern*, void*) override { ++onMatch; }
  };
  Recorder recorder;
  uint16_t result = 0, target = 0;
  Counting list(&Recorder::OnComplete, &recorder, &result);
  list.AddPattern(7, "b", 0);
  list.AddPattern(8, "ab", 0, &target);
  EXPECT_EQ(list.Feed('a'), 0);
  EXPECT_EQ(list.Feed('b'), 2) << "two patterns that end on the same byte both complete";
  EXPECT_EQ(result, 7) << "a pattern without a target reports to the result slot";
  EXPECT_EQ(target, 8);
  EXPECT_EQ(recorder.ids, (std::vector<int>{7, 8}));
  EXPECT_EQ(list.onMatch, 2);
}

TEST(PatternList, AddAndRemoveStatuses) {
  CPatternList list;
  EXPECT_EQ(list.RemovePattern(1), CPatternList::kUnknownId);
  EXPECT_EQ(list.AddPattern(1, nullptr, 0), CPatternList::kNoBytes);
  EXPECT_EQ(list.Add(1, "a\0b", 3), CPatternList::kDone) << "explicit lengths may hold zeros";
  EXPECT_EQ(list.Add(2, "zz", 0), CPatternList::kDone);
  EXPECT_EQ(list.RemovePattern(1), CPatternList::kDone);
  EXPECT_EQ(list.RemovePattern(1), CPatternList::kUnknownId);
  EXPECT_EQ(list.Patterns().GetCount(), 1u);
  EXPECT_EQ(list.Feed('z') + list.Feed('z'), 1);
}

TEST(PathName, SplitsPaths) {
  struct {
    const char* path;
    const char *drive, *server, *directory, *file;
  } cases[] = {
      {"C:\\dir\\sub\\file.txt", "C:", "", "\\dir\\sub\\", "file.txt"},
      {"file.txt", "", "", "", "file.txt"},
      {"\\\\server\\share\\file.txt", "", "\\\\server", "\\share\\", "file.txt"},
      {"\\\\server", "", "\\\\server", "", ""},
      {"  D:readme  ", "D:", "", "", "readme"},
      {"\\top\\", "", "", "\\top\\", ""},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    CPathName p(c.path);
    EXPECT_EQ(Str(p.GetPath()), c.path);
    EXPECT_EQ(Str(p.GetDrive()), c.drive);
    EXPECT_EQ(Str(p.GetServer()), c.server);
    EXPECT_EQ(Str(p.GetDirectory()), c.directory);
    EXPECT_EQ(Str(p.GetFileName()), c.file);
  }
}

}  // namespace
