// Lists, arrays and maps: order, positions, removal while walking, and hashing.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "framework/collections/MapStringToOb.h"
#include "framework/collections/MapStringToPtr.h"
#include "framework/collections/MapStringToString.h"
#include "framework/collections/ObArray.h"
#include "framework/collections/ObList.h"
#include "framework/collections/PtrArray.h"
#include "framework/collections/PtrList.h"
#include "framework/collections/StringArray.h"
#include "framework/collections/StringList.h"

namespace {
std::string Join(const CStringList& list) {
  std::string all;
  for (POSITION pos = list.GetHeadPosition(); pos;) all += std::string(list.GetNext(pos)) + ",";
  return all;
}
}  // namespace

TEST(Lists, AddFindInsertAndRemove) {
  CStringList list;
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  list.AddTail("b");
  list.AddTail("c");
  list.AddHead("a");
  EXPECT_EQ(Join(list), "a,b,c,");
  EXPECT_EQ(list.GetHead(), "a");
  EXPECT_EQ(list.GetTail(), "c");

  POSITION b = list.Find("b");
  ASSERT_NE(b, nullptr);
  list.InsertBefore(b, "a2");
  list.InsertAfter(b, "b2");
  EXPECT_EQ(Join(list), "a,a2,b,b2,c,");
  EXPECT_EQ(list.Find("zz"), nullptr);
  EXPECT_EQ(list.Find("b", b), nullptr);
  EXPECT_EQ(list.GetAt(list.FindIndex(3)), "b2");
  EXPECT_EQ(list.FindIndex(5), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);

  list.SetAt(b, "B");
  list.RemoveAt(list.Find("a2"));
  EXPECT_EQ(list.RemoveHead(), "a");
  EXPECT_EQ(list.RemoveTail(), "c");
  EXPECT_EQ(Join(list), "B,b2,");
  EXPECT_EQ(list.GetCount(), 2);

  // Walking backwards, removing each element right after it was passed.
  std::string backwards;
  for (POSITION pos = list.GetTailPosition(); pos;) {
    POSITION here = pos;
    backwards += list.GetPrev(pos);
    list.RemoveAt(here);
  }
  EXPECT_EQ(backwards, "b2B");
  EXPECT_TRUE(list.IsEmpty());
}

TEST(Lists, PointerAndObjectListsHoldButDoNotOwn) {
  int x = 1, y = 2;
  CPtrList pointers;
  pointers.AddTail(&x);
  pointers.AddTail(&y);
  EXPECT_EQ(pointers.GetHead(), &x);
  EXPECT_NE(pointers.Find(&y), nullptr);
  pointers.RemoveAll();
  EXPECT_EQ(pointers.GetCount(), 0);

  CObList objects;
  CObList inner;  // any CObject will do
  objects.AddTail(&inner);
  EXPECT_EQ(objects.GetHead(), &inner);
}

TEST(Arrays, GrowInsertAndRemove) {
  CStringArray a;
  EXPECT_EQ(a.Add("one"), 0);
  EXPECT_EQ(a.Add("three"), 1);
  a.InsertAt(1, "two");
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a.GetUpperBound(), 2);
  EXPECT_EQ(a[1], "two");
  a.SetAtGrow(5, "six");
  EXPECT_EQ(a.GetSize(), 6);
  EXPECT_TRUE(a[4].IsEmpty());
  a.RemoveAt(3, 10);
  EXPECT_EQ(a.GetSize(), 3);
  a.RemoveAt(7);  // beyond the end: nothing
  a.SetAt(0, "ONE");
  EXPECT_EQ(a.GetAt(0), "ONE");

  CStringArray b;
  b.Add("x");
  EXPECT_EQ(b.Append(a), 1);
  EXPECT_EQ(b.GetSize(), 4);
  b.Copy(a);
  EXPECT_EQ(b.GetSize(), 3);
  b.SetSize(1);
  EXPECT_EQ(b[0], "ONE");
  b.RemoveAll();
  EXPECT_TRUE(b.IsEmpty());

  CPtrArray p;
  p.SetSize(2);
  EXPECT_EQ(p[1], nullptr);
  CObArray o;
  o.InsertAt(2, &o);
  EXPECT_EQ(o.GetSize(), 3);
  EXPECT_EQ(o[2], &o);
}

TEST(Maps, StoreLookUpReplaceAndRemove) {
  CMapStringToString map;
  map.InitHashTable(17);
  map.SetAt("key", "value");
  map["other"] = "x";
  map.SetAt("key", "changed");
  EXPECT_EQ(map.GetCount(), 2);
  CString value;
  ASSERT_TRUE(map.Lookup("key", value));
  EXPECT_EQ(value, "changed");
  EXPECT_FALSE(map.Lookup("KEY", value));  // exact bytes
  EXPECT_TRUE(map["missing"].IsEmpty());   // added on access
  EXPECT_EQ(map.GetCount(), 3);
  EXPECT_TRUE(map.RemoveKey("missing"));
  EXPECT_FALSE(map.RemoveKey("missing"));
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_EQ(map.GetStartPosition(), nullptr);
  EXPECT_FALSE(map.Lookup("key", value));
}

TEST(Maps, WalkVisitsEveryEntryOnceAndAllowsRemoval) {
  CMapStringToPtr map(10);
  map.InitHashTable(10);
  std::map<std::string, int> expected;
  static int values[200];
  for (int i = 0; i < 200; ++i) {
    CString key;
    key.Format("entry%d", i);
    map.SetAt(key, &values[i]);
    expected[std::string(key)] = i;
  }
  EXPECT_EQ(map.GetCount(), 200);
  std::map<std::string, int> seen;
  for (POSITION pos = map.GetStartPosition(); pos;) {
    CString key;
    void* p;
    map.GetNextAssoc(pos, key, p);
    seen[std::string(key)] = static_cast<int>(static_cast<int*>(p) - values);
    if (seen.size() % 2) map.RemoveKey(key);  // the entry just returned
  }
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(map.GetCount(), 100);
}

TEST(Maps, ObjectMapHoldsPointers) {
  CMapStringToOb map;
  CObList object;
  map.SetAt("a", &object);
  CObject* found = nullptr;
  ASSERT_TRUE(map.Lookup("a", found));
  EXPECT_EQ(found, &object);

  CMap<int, int, CString, LPCSTR> numbers;
  numbers.SetAt(5, "five");
  numbers[-3] = "minus three";
  CString text;
  EXPECT_TRUE(numbers.Lookup(-3, text));
  EXPECT_EQ(text, "minus three");
  EXPECT_FALSE(numbers.Lookup(4, text));
}
