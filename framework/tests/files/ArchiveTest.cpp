// The archive: numbers, strings, dates and counts in their stored forms, object graphs with
// class records and back references, the errors of damaged archives, and the way the archive
// hands whole buffers to its file.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/files/Archive.h"
#include "framework/collections/ObArray.h"
#include "framework/collections/ObList.h"
#include "framework/core/OleDateTime.h"
#include "framework/tests/files/MemoryFile.h"

namespace {

using Bytes = std::vector<BYTE>;

class CTestNode : public CObject {
  DECLARE_SERIAL(CTestNode)
 public:
  int value = 0;
  CString name;
  CObject* left = nullptr;  // references only; the tests own every node
  CObject* right = nullptr;

  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << value << name << left << right;
    } else {
      ar >> value >> name >> left >> right;
    }
  }
};
IMPLEMENT_SERIAL(CTestNode, CObject, 1)

class CTestLeaf : public CObject {
  DECLARE_SERIAL(CTestLeaf)
 public:
  DWORD id = 0;
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << id;
    } else {
      ar >> id;
    }
  }
};
IMPLEMENT_SERIAL(CTestLeaf, CObject, 2)

// A record like the user tools' file form: a word, four strings, a word.
class CTestTool : public CObject {
  DECLARE_SERIAL(CTestTool)
 public:
  int wait = 1;
  CString text, command, arguments, folder;
  int show = 1;
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring()) {
      ar << wait << text << command << arguments << folder << show;
    } else {
      ar >> wait >> text >> command >> arguments >> folder >> show;
    }
  }
};
IMPLEMENT_SERIAL(CTestTool, CObject, 1)

class CTestNotSerial : public CObject {
  DECLARE_DYNCREATE(CTestNotSerial)
};
IMPLEMENT_DYNCREATE(CTestNotSerial, CObject)

Bytes Text(const char* s) {
  return Bytes(s, s + strlen(s));
}

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Writes through a storing archive and returns the bytes.
template <class F>
Bytes Store(F write, int bufSize = 4096) {
  CTestMemoryFile file;
  CArchive ar(&file, CArchive::store, bufSize);
  write(ar);
  ar.Close();
  return file.bytes;
}

int CauseOf(const Bytes& bytes, void (*read)(CArchive&)) {
  CTestMemoryFile file(bytes);
  CArchive ar(&file, CArchive::load);
  try {
    read(ar);
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return CArchiveException::none;
}

}  // namespace

TEST(Archive, NumbersAreLittleEndianAndReadBack) {
  Bytes bytes = Store([](CArchive& ar) {
    ar << static_cast<BYTE>(0x12) << static_cast<char>(-2) << static_cast<WORD>(0x3456)
       << static_cast<short>(-3) << -5 << 0x89ABCDEFu << static_cast<LONG>(-7)
       << static_cast<DWORD>(0x01020304) << 1.5f << 2.25;
  });
  Bytes expected = {0x12, 0xFE, 0x56, 0x34, 0xFD, 0xFF, 0xFB, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD,
                    0xAB, 0x89, 0xF9, 0xFF, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0x00, 0x00,
                    0xC0, 0x3F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x02, 0x40};
  EXPECT_EQ(bytes, expected);

  CTestMemoryFile file(bytes);
  CArchive ar(&file, CArchive::load);
  BYTE by;
  char ch;
  WORD w;
  short sh;
  int i;
  UINT u;
  LONG l;
  DWORD dw;
  float f;
  double d;
  ar >> by >> ch >> w >> sh >> i >> u >> l >> dw >> f >> d;
  EXPECT_EQ(by, 0x12);
  EXPECT_EQ(ch, -2);
  EXPECT_EQ(w, 0x3456);
  EXPECT_EQ(sh, -3);
  EXPECT_EQ(i, -5);
  EXPECT_EQ(u, 0x89ABCDEFu);
  EXPECT_EQ(l, -7);
  EXPECT_EQ(dw, 0x01020304u);
  EXPECT_EQ(f, 1.5f);
  EXPECT_EQ(d, 2.25);
}

TEST(Archive, DateTimeIsItsStatusThenItsDayCount) {
  COleDateTime when(2026, 12, 9, 15, 4, 5);
  COleDateTime nothing;
  nothing.SetStatus(COleDateTime::null);
  Bytes bytes = Store([&](CArchive& ar) { ar << when << nothing; });
  ASSERT_EQ(bytes.size(), 24u);
  EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 4), (Bytes{0, 0, 0, 0}));
  double day;
  memcpy(&day, &bytes[4], 8);
  EXPECT_EQ(day, when.m_dt);
  EXPECT_EQ(Bytes(bytes.begin() + 12, bytes.begin() + 16), (Bytes{2, 0, 0, 0}));

  CTestMemoryFile file(bytes);
  CArchive ar(&file, CArchive::load);
  COleDateTime a, b;
  ar >> a >> b;
  EXPECT_EQ(a, when);
  EXPECT_EQ(a.GetMinute(), 4);
  EXPECT_EQ(b.GetStatus(), COleDateTime::null);
}

TEST(Archive, StringLengthPrefixesAtTheirBoundaries) {
  struct Case {
    DWORD length;
    Bytes prefix;
  } cases[] = {
      {0, {0x00}},
      {1, {0x01}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {0xFFFD, {0xFF, 0xFD, 0xFF}},
      {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {0x10000, {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    std::string text(c.length, 'x');
    for (DWORD i = 0; i < c.length; ++i) text[i] = static_cast<char>('a' + i % 26);
    CString s(text.c_str(), static_cast<int>(text.size()));
    Bytes bytes = Store([&](CArchive& ar) { ar << s; });
    ASSERT_EQ(bytes.size(), c.prefix.size() + c.length);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + c.prefix.size()), c.prefix);

    CTestMemoryFile file(bytes);
    CArchive ar(&file, CArchive::load);
    CString back("old");
    ar >> back;
    EXPECT_TRUE(back == s);
  }
}

TEST(Archive, CountsTakeTwoBytesOrSix) {
  struct Case {
    DWORD_PTR count;
    Bytes bytes;
  } cases[] = {
      {0, {0x00, 0x00}},
      {0xFFFE, {0xFE, 0xFF}},
      {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
      {0x12345, {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.count);
    Bytes bytes = Store([&](CArchive& ar) { ar.WriteCount(c.count); });
    EXPECT_EQ(bytes, c.bytes);
    CTestMemoryFile file(bytes);
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(ar.ReadCount(), c.count);
  }
}

TEST(Archive, ObjectArrayHasTheClassRecordThenClassTags) {
  CTestTool first, second;
  first.text = "Notes";
  first.command = "notepad.exe";
  second.wait = 0;
  second.text = "Calc";
  second.show = 3;
  CObArray tools;
  tools.Add(&first);
  tools.Add(&second);
  Bytes bytes = Store([&](CArchive& ar) { tools.Serialize(ar); });

  Bytes expected = Cat({
      {0x02, 0x00},                          // count
      {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00},  // new class, schema 1, name length
      Text("CTestTool"),
      {0x01, 0x00, 0x00, 0x00, 0x05},
      Text("Notes"),  // wait, text
      {0x0B},
      Text("notepad.exe"),
      {0x00, 0x00},              // command, arguments, folder
      {0x01, 0x00, 0x00, 0x00},  // show
      {0x01, 0x80},              // the same class again
      {0x00, 0x00, 0x00, 0x00, 0x04},
      Text("Calc"),
      {0x00, 0x00, 0x00},
      {0x03, 0x00, 0x00, 0x00},
  });
  EXPECT_EQ(bytes, expected);

  CTestMemoryFile file(bytes);
  CArchive ar(&file, CArchive::load);
  CObArray loaded;
  loaded.Serialize(ar);
  ASSERT_EQ(loaded.GetSize(), 2);
  ASSERT_TRUE(loaded[0]->IsKindOf(RUNTIME_CLASS(CTestTool)));
  ASSERT_TRUE(loaded[1]->IsKindOf(RUNTIME_CLASS(CTestTool)));
  auto* a = static_cast<CTestTool*>(loaded[0]);
  auto* b = static_cast<CTestTool*>(loaded[1]);
  EXPECT_EQ(a->text, "Notes");
  EXPECT_EQ(a->command, "notepad.exe");
  EXPECT_EQ(b->wait, 0);
  EXPECT_EQ(b->show, 3);
  delete a;
  delete b;
}

TEST(Archive, ObjectGraphKeepsSharingCyclesAndNulls) {
  CTestNode root, child;
  root.value = 1;
  root.name = "r";
  root.left = root.right = &child;  // shared
  child.value = 2;
  child.left = &root;  // cycle
  Bytes bytes = Store([&](CArchive& ar) { ar << &root; });

  Bytes expected = Cat({
      {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00},
      Text("CTestNode"),                    // class: index 1
      {0x01, 0x00, 0x00, 0x00, 0x01, 'r'},  // root: index 2
      {0x01, 0x80},                         // left: the child, index 3
      {0x02, 0x00, 0x00, 0x00, 0x00},       // child's value and name
      {0x02, 0x00},                         // child's left: back to root
      {0x00, 0x00},                         // child's right: null
      {0x03, 0x00},                         // root's right: the child
  });
  EXPECT_EQ(bytes, expected);

  CTestMemoryFile file(bytes);
  CArchive ar(&file, CArchive::load);
  CTestNode* loaded = nullptr;
  ar >> loaded;
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->value, 1);
  EXPECT_EQ(loaded->name, "r");
  ASSERT_NE(loaded->left, nullptr);
  EXPECT_EQ(loaded->left, loaded->right);
  auto* loadedChild = static_cast<CTestNode*>(loaded->left);
  EXPECT_EQ(loadedChild->value, 2);
  EXPECT_EQ(loadedChild->left, loaded);
  EXPECT_EQ(loadedChild->right, nullptr);
  delete loadedChild;
  delete loaded;
}

TEST(Archive, ObjectListRoundTrip) {
  CTestLeaf a, b;
  a.id = 10;
  b.id = 20;
  CObList list;
  list.AddTail(&a);
  list.AddTail(nullptr);
  list.AddTail(&b);
  list.AddTail(&a);
  Bytes bytes = Store([&](CArchive& ar) { list.Serialize(ar); });

  CTestMemoryFile file(bytes);
  CArchive ar(&file, CArchive::load);
  CObList loaded;
  loaded.Serialize(ar);
  ASSERT_EQ(loaded.GetCount(), 4);
  POSITION pos = loaded.GetHeadPosition();
  CObject* first = loaded.GetNext(pos);
  CObject* null = loaded.GetNext(pos);
  CObject* second = loaded.GetNext(pos);
  CObject* again = loaded.GetNext(pos);
  EXPECT_EQ(null, nullptr);
  EXPECT_EQ(again, first);
  EXPECT_EQ(static_cast<CTestLeaf*>(first)->id, 10u);
  EXPECT_EQ(static_cast<CTestLeaf*>(second)->id, 20u);
  delete first;
  delete second;
}

TEST(Archive, IndexesBeyond16BitsUseBigTags) {
  // 0x8000 leaves push the next class and the later objects past the 16-bit tags.
  const int kLeaves = 0x8000;
  std::vector<CTestLeaf> leaves(kLeaves);
  CTestNode nodeA, nodeB;
  CObArray all;
  for (int i = 0; i < kLeaves; ++i) {
    leaves[i].id = i;
    all.Add(&leaves[i]);
  }
  all.Add(&nodeA);                // new class at index 0x8002, object 0x8003
  all.Add(&nodeB);                // big class tag, object 0x8004
  all.Add(&leaves[kLeaves - 1]);  // big back reference (index 0x8001)
  all.Add(&leaves[0]);            // small back reference (index 2)
  Bytes bytes = Store([&](CArchive& ar) { all.Serialize(ar); });

  Bytes nodeBTag = {0xFF, 0x7F, 0x02, 0x80, 0x00, 0x80};
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), nodeBTag.begin(), nodeBTag.end()), bytes.end());
  Bytes tail = {0xFF, 0x7F, 0x01, 0x80, 0x00, 0x00, 0x02, 0x00};
  EXPECT_EQ(Bytes(bytes.end() - tail.size(), bytes.end()), tail);

  CTestMemoryFile file(bytes);
  CArchive ar(&file, CArchive::load);
  CObArray loaded;
  loaded.Serialize(ar);
  ASSERT_EQ(loaded.GetSize(), kLeaves + 4);
  EXPECT_TRUE(loaded[kLeaves]->IsKindOf(RUNTIME_CLASS(CTestNode)));
  EXPECT_TRUE(loaded[kLeaves + 1]->IsKindOf(RUNTIME_CLASS(CTestNode)));
  EXPECT_NE(loaded[kLeaves], loaded[kLeaves + 1]);
  EXPECT_EQ(loaded[kLeaves + 2], loaded[kLeaves - 1]);
  EXPECT_EQ(loaded[kLeaves + 3], loaded[0]);
  EXPECT_EQ(static_cast<CTestLeaf*>(loaded[kLeaves - 1])->id, static_cast<DWORD>(kLeaves - 1));
  for (INT_PTR i = 0; i < kLeaves + 2; ++i) delete loaded[i];
}

TEST(Archive, EveryTruncationOfAnArchiveIsEndOfFile) {
  CTestNode node;
  node.value = 9;
  node.name = CString('n', 300);
  Bytes bytes = Store([&](CArchive& ar) {
    ar << 42 << CString("text") << COleDateTime(2020, 1, 2, 3, 4, 5) << &node;
    ar.WriteCount(0x10000);
  });
  for (size_t cut = 0; cut < bytes.size(); ++cut) {
    SCOPED_TRACE(cut);
    Bytes shorter(bytes.begin(), bytes.begin() + cut);
    EXPECT_EQ(CauseOf(shorter,
                      [](CArchive& ar) {
                        int i;
                        CString s;
                        COleDateTime dt;
                        CObject* p = nullptr;
                        ar >> i >> s >> dt >> p;
                        delete p;
                        ar.ReadCount();
                      }),
              CArchiveException::endOfFile);
  }
}

TEST(Archive, DamagedObjectRecordsAreRefused) {
  auto readNode = [](CArchive& ar) {
    CObject* p = nullptr;
    ar >> p;
    delete p;
  };
  auto readLeaf = [](CArchive& ar) {
    CTestLeaf* p = nullptr;
    ar >> p;
    delete p;
  };
  Bytes nodeClass = Cat({{0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00}, Text("CTestNode")});
  struct Case {
    const char* what;
    Bytes bytes;
    void (*read)(CArchive&);
    int cause;
  } cases[] = {
      {"unknown class", Cat({{0xFF, 0xFF, 0x01, 0x00, 0x07, 0x00}, Text("CNoSuch")}), readNode,
       CArchiveException::badClass},
      {"other schema", Cat({{0xFF, 0xFF, 0x02, 0x00, 0x09, 0x00}, Text("CTestNode")}), readNode,
       CArchiveException::badSchema},
      {"class that is not serial",
       Cat({{0xFF, 0xFF, 0xFF, 0xFF, 0x0E, 0x00}, Text("CTestNotSerial")}), readNode,
       CArchiveException::badClass},
      {"empty class name",
       {0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00},
       readNode,
       CArchiveException::badClass},
      {"overlong class name", Cat({{0xFF, 0xFF, 0x01, 0x00, 0x41, 0x00}, Bytes(65, 'C')}), readNode,
       CArchiveException::badClass},
      {"unknown class tag", {0x05, 0x80}, readNode, CArchiveException::badIndex},
      {"unknown object tag", {0x09, 0x00}, readNode, CArchiveException::badIndex},
      {"object tag naming a class", Cat({nodeClass, {0x01, 0, 0, 0, 0x00}, {0x01, 0x00}}), readNode,
       CArchiveException::badIndex},
      {"big tag beyond the map",
       {0xFF, 0x7F, 0x00, 0x01, 0x00, 0x00},
       readNode,
       CArchiveException::badIndex},
      {"object of another class than asked",
       Cat({nodeClass, {0x01, 0, 0, 0, 0x00, 0x00, 0x00, 0x00, 0x00}}), readLeaf,
       CArchiveException::badClass},
      {"wide string marker",
       {0xFF, 0xFE, 0xFF, 0x01, 0x41, 0x00},
       [](CArchive& ar) {
         CString s;
         ar >> s;
       },
       CArchiveException::genericException},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CauseOf(c.bytes, c.read), c.cause);
  }
}

TEST(Archive, StoringARecordOfAClassThatIsNotSerialThrows) {
  CTestNotSerial object;
  CTestMemoryFile file;
  CArchive ar(&file, CArchive::store);
  try {
    ar << &object;
    FAIL() << "no exception";
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    EXPECT_FALSE(e.GetErrorText().IsEmpty());
  }
  ar.Abort();
}

TEST(Archive, ReadingAStoringArchiveAndWritingALoadingOneThrow) {
  CTestMemoryFile storeFile;
  CArchive storing(&storeFile, CArchive::store);
  int i = 0;
  try {
    storing >> i;
    FAIL();
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::writeOnly);
  }
  CTestMemoryFile loadFile(Bytes{1, 2, 3, 4});
  CArchive loading(&loadFile, CArchive::load);
  try {
    loading << 5;
    FAIL();
  } catch (const CArchiveException& e) {
    EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
    EXPECT_EQ(e.m_strFileName, "memory.bin");
  }
}

namespace {
// A file that stores each write as one block (length, then the bytes inverted) and gives each
// block back whole on reading, like a compressing file; a read smaller than the block fails.
class CTestBlockFile : public CTestMemoryFile {
 public:
  void Write(const void* lpBuf, UINT nCount) override {
    writes.push_back(nCount);
    const BYTE* p = static_cast<const BYTE*>(lpBuf);
    bytes.push_back(static_cast<BYTE>(nCount));
    bytes.push_back(static_cast<BYTE>(nCount >> 8));
    for (UINT i = 0; i < nCount; ++i) bytes.push_back(static_cast<BYTE>(~p[i]));
  }
  UINT Read(void* lpBuf, UINT nCount) override {
    readRequests.push_back(nCount);
    if (position + 2 > bytes.size()) return 0;
    UINT n = bytes[position] | (bytes[position + 1] << 8);
    if (n > nCount) throw CFileException(CFileException::genericException);
    position += 2;
    BYTE* out = static_cast<BYTE*>(lpBuf);
    for (UINT i = 0; i < n; ++i) out[i] = static_cast<BYTE>(~bytes[position++]);
    return n;
  }
};
}  // namespace

TEST(Archive, TheFileSeesWholeBuffersBothWays) {
  const int kBuf = 128;
  CTestBlockFile file;
  {
    CArchive ar(&file, CArchive::store, kBuf);
    for (int i = 0; i < 100; ++i) ar << static_cast<double>(i) / 3 << CString('a' + i % 26, i * 3);
    ar.Close();
  }
  ASSERT_GT(file.writes.size(), 10u);
  for (size_t i = 0; i + 1 < file.writes.size(); ++i) EXPECT_EQ(file.writes[i], UINT(kBuf));
  EXPECT_LE(file.writes.back(), UINT(kBuf));

  file.position = 0;
  CArchive ar(&file, CArchive::load, kBuf);
  for (int i = 0; i < 100; ++i) {
    double d;
    CString s;
    ar >> d >> s;
    ASSERT_EQ(d, static_cast<double>(i) / 3);
    ASSERT_TRUE(s == CString('a' + i % 26, i * 3));
  }
  for (UINT request : file.readRequests) EXPECT_EQ(request, UINT(kBuf));
}

TEST(Archive, RoundTripThroughAFileOnDisk) {
  char folder[MAX_PATH], path[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  GetTempFileNameA(folder, "arc", 0, path);
  {
    CFile file(path, CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&file, CArchive::store);
    CTestLeaf leaf;
    leaf.id = 77;
    ar << CString("disk") << &leaf << 3.5;
    ar.Close();
    file.Close();
  }
  {
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    CArchive ar(&file, CArchive::load);
    CString s;
    CTestLeaf* leaf = nullptr;
    double d;
    ar >> s >> leaf >> d;
    EXPECT_EQ(s, "disk");
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->id, 77u);
    EXPECT_EQ(d, 3.5);
    delete leaf;
  }
  DeleteFileA(path);
}
