#include "foundation/core/LibString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Str(const CLibString& s) {
  return s.c_str();
}

TEST(LibString, ConstructionFromNumbersCharsAndRanges) {
  EXPECT_EQ(Str(CLibString(-42)), "-42");
  EXPECT_EQ(Str(CLibString(123456789L)), "123456789");
  EXPECT_EQ(Str(CLibString(4294967295UL)), "4294967295");
  EXPECT_EQ(Str(CLibString('x')), "x");
  EXPECT_EQ(CLibString(static_cast<const char*>(nullptr)).GetLength(), 0);
  EXPECT_EQ(CLibString("").GetCapacity(), 0u) << "an empty source gives no buffer";

  const char* text = "hello";
  EXPECT_EQ(Str(CLibString(text + 1, text + 3)), "ell");
  EXPECT_EQ(CLibString(text + 3, text + 1).GetLength(), 0);
  EXPECT_EQ(CLibString(nullptr, text).GetLength(), 0);

  CLibString n;
  n = 77;
  EXPECT_EQ(Str(n), "77");
  n = -5L;
  EXPECT_EQ(Str(n), "-5");
}

TEST(LibString, CopyKeepsStatusAndSelfAssignmentIsHarmless) {
  CLibString a("abc");
  a.m_status = 4;
  CLibString b;
  b = a;
  EXPECT_EQ(Str(b), "abc");
  EXPECT_EQ(b.m_status, 4);
  b = b;
  EXPECT_EQ(Str(b), "abc");
  CLibString empty;
  b = empty;
  EXPECT_EQ(b.GetLength(), 0);
  EXPECT_EQ(b.GetCapacity(), 0u);
}

// Assigning or appending a string from its own buffer must not read freed memory (the sanitizer
// build catches it when it does).
TEST(LibString, AssignAndAppendFromOwnBuffer) {
  CLibString s("abcdef");
  s = s.c_str() + 2;
  EXPECT_EQ(Str(s), "cdef");

  CLibString t("0123456789");
  for (int i = 0; i < 6; ++i) t.Append(t.c_str());  // grows every time
  EXPECT_EQ(t.GetLength(), 640);
  EXPECT_EQ(Str(t.Left(12)), "012345678901");

  CLibString u("xyz");
  u.Append(u.c_str() + 1);
  EXPECT_EQ(Str(u), "xyzyz");
  u += u;
  EXPECT_EQ(Str(u), "xyzyzxyzyz");

  CLibString r("aXa");
  r.Replace("a", r);  // the replacement is the object itself
  EXPECT_EQ(Str(r), "aXaXaXa");
}

// Appending a counted text: it stops at the count or at the first NUL, whichever comes first,
// wherever the NUL falls within the eight-byte words it is measured by.
TEST(LibString, AppendWithACountStopsAtTheCountOrTheFirstNul) {
  const std::string bytes = "0123456789abcdefghij";
  struct Case {
    const char* why;
    size_t count;
    size_t nulAt;  // npos: none
    std::string expected;
  } cases[] = {
      {"the whole text", 20, std::string::npos, bytes},
      {"a count short of a word", 5, std::string::npos, "01234"},
      {"a count of whole words", 16, std::string::npos, "0123456789abcdef"},
      {"a NUL first", 20, 0, ""},
      {"a NUL in the first word", 20, 3, "012"},
      {"a NUL ending a word", 20, 7, "0123456"},
      {"a NUL in the tail after the words", 20, 17, "0123456789abcdefg"},
      {"a NUL beyond the count", 10, 15, "0123456789"},
      {"nothing counted", 0, std::string::npos, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    std::string text = bytes;
    if (c.nulAt != std::string::npos) text[c.nulAt] = '\0';
    CLibString s("<");
    s.Append(text.data(), c.count);
    EXPECT_EQ(Str(s), "<" + c.expected);
    EXPECT_EQ(s.GetLength(), static_cast<int>(c.expected.size()) + 1);
  }
  CLibString own("abcdef");
  own.Append(own.c_str() + 2, 3);  // from its own buffer, which the growth may move
  EXPECT_EQ(Str(own), "abcdefcde");
  own.Append(nullptr, 4);
  EXPECT_EQ(Str(own), "abcdefcde");
}

TEST(LibString, FindFamilyAndTheirBases) {
  CLibString s("Hello, hello world");
  struct {
    const char* sub;
    int find, findNoCase, reverse;
  } cases[] = {
      {"hello", 8, 1, 7}, {"HELLO", 0, 1, -1}, {"o", 5, 5, 14}, {"xyz", 0, 0, -1}, {"", 0, 0, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sub);
    EXPECT_EQ(s.Find(c.sub), c.find);
    EXPECT_EQ(s.FindNoCase(c.sub), c.findNoCase);
    EXPECT_EQ(s.ReverseFind(c.sub), c.reverse);
  }
  CLibString empty;
  EXPECT_EQ(empty.Find("a"), 0);
  EXPECT_EQ(empty.ReverseFind("a"), -1);
  EXPECT_EQ(s.FindChar('w'), 14);
  EXPECT_EQ(s.FindChar('\0'), 0);
  EXPECT_EQ(s.FindChar('Z'), 0);
  EXPECT_EQ(s.FindOneOf(",w"), 5);
  EXPECT_EQ(s.FindOneOf(""), -1);
  EXPECT_EQ(s.FindOneOf("XYZ"), -1);
  EXPECT_EQ(*s.At(0), 'H');
  EXPECT_EQ(*s.At(-1), '\0');
  EXPECT_EQ(*s.At(100), '\0');
}

TEST(LibString, MidLeftRight) {
  CLibString abc("abc");
  EXPECT_EQ(Str(abc.Mid(5, 3)), "");
  EXPECT_EQ(Str(abc.Mid(1, 10)), "bc");
  EXPECT_EQ(Str(abc.Mid(-1, 2)), "");
  EXPECT_EQ(Str(abc.Mid(1, 0)), "");
  EXPECT_EQ(Str(abc.Right(10)), "") << "the start is negative";
  EXPECT_EQ(Str(abc.Right(2)), "bc");
  EXPECT_EQ(Str(abc.Left(10)), "abc");
  EXPECT_EQ(Str(abc.Left(1)), "a");
}

TEST(LibString, NumbersAndCase) {
  struct {
    const char* text;
    bool number;
  } cases[] = {{"1.5e+3", true}, {"12a", false}, {" -7)", true}, {"E5", false}};
  for (const auto& c : cases) EXPECT_EQ(CLibString(c.text).IsNumber(), c.number) << c.text;
  EXPECT_TRUE(CLibString("12").Truncate(0).IsNumber()) << "an empty text in a buffer";
  EXPECT_FALSE(CLibString().IsNumber()) << "no buffer is not a number";
  EXPECT_EQ(CLibString("42abc").ToInt(), 42);
  EXPECT_EQ(CLibString().ToLong(), 0);
  EXPECT_EQ(Str(CLibString("MiXeD").Lower()), "mixed");
  EXPECT_EQ(Str(CLibString("MiXeD").Upper()), "MIXED");
}

TEST(LibString, ComparisonsAreByteWiseAndUnsigned) {
  EXPECT_TRUE(CLibString("abc") == "abc");
  EXPECT_TRUE(CLibString() == static_cast<const char*>(nullptr));
  EXPECT_TRUE(CLibString() == "");
  EXPECT_TRUE(CLibString("abc") != CLibString("abd"));
  EXPECT_TRUE(CLibString("Name") != CLibString("name"));
  EXPECT_TRUE(CLibString("ab") < CLibString("abc"));
  EXPECT_TRUE(CLibString("abc") < CLibString("abd"));
  EXPECT_TRUE(CLibString("z") < CLibString("\xe9")) << "high bytes sort after ASCII";
  EXPECT_TRUE(CLibString() < CLibString("a"));
  EXPECT_TRUE(CLibString("b") > CLibString("a"));
  std::ostringstream os;
  os << CLibString("out") << CLibString();
  EXPECT_EQ(os.str(), "out");
}

TEST(LibString, EditsInPlace) {
  CLibString s("banana");
  EXPECT_EQ(Str(s.Replace("a", "xyz")), "bxyznxyznxyz");
  EXPECT_EQ(Str(CLibString("banana").Replace("", "x")), "banana");
  EXPECT_EQ(Str(CLibString("banana").Replace("q", "x")), "banana");
  EXPECT_EQ(Str(CLibString("aaa").Replace("a", "aa")), "aaaaaa") << "no rescan of new text";
  EXPECT_EQ(Str(CLibString("a--b--c").Replace("--", "")), "abc");

  EXPECT_EQ(Str(CLibString("one two one").Remove("one")), " two one");
  EXPECT_EQ(Str(CLibString("abc").Remove("")), "abc");
  EXPECT_EQ(Str(CLibString("abcabc") - CLibString("bc")), "aabc");

  EXPECT_EQ(Str(CLibString("abcdef").Truncate(3)), "abc");
  EXPECT_EQ(Str(CLibString("abc").Truncate(5)), "abc");
  EXPECT_EQ(Str(CLibString("xxabcxx").TrimLeft('x').TrimRight('x')), "abc");
  EXPECT_EQ(Str(CLibString("abc").TrimLeft('\0')), "abc");
  EXPECT_EQ(Str(CLibString("////").TrimRight('/')), "");

  CLibString c;
  c.AppendChar('a').AppendChar('\0').AppendChar('b');
  EXPECT_EQ(Str(c), "ab");

  EXPECT_EQ(Str(CLibString("ab") + CLibString("cd")), "abcd");
  EXPECT_EQ(Str(CLibString("ab") + "cd"), "abcd");
  EXPECT_EQ(Str(CLibString() + static_cast<const char*>(nullptr)), "");
}

TEST(LibString, GrowingByCharactersIsGeometric) {
  CLibString s;
  size_t reallocations = 0, lastCapacity = 0;
  for (int i = 0; i < 100000; ++i) {
    s.AppendChar(static_cast<char>('a' + i % 26));
    if (s.GetCapacity() != lastCapacity) ++reallocations, lastCapacity = s.GetCapacity();
  }
  EXPECT_EQ(s.GetLength(), 100000);
  EXPECT_LT(reallocations, 40u) << "capacity must grow geometrically";
}

TEST(LibString, FormatGivesTheWholeText) {
  CLibString s;
  EXPECT_EQ(Str(s.Format("%s-%05d", "id", 42)), "id-00042");
  std::string longText(1000, 'q');
  s.Format("<%s>", longText.c_str());
  EXPECT_EQ(s.GetLength(), 1002);
  EXPECT_EQ(Str(s.Right(2)), "q>");
}

TEST(LibString, NextTokenAndNextWord) {
  struct {
    const char* text;
    const char* delimiter;
    const char* token;
    const char* rest;
  } cases[] = {
      {"  one two", " ", "one", "two"},
      {"single", " ", "single", ""},
      {"\"a,b\",c", ",", "\"a,b\"", "c"},
      {"\"a b\" c", " ", "\"a b\"", "c"},
      {"\"a b\"c d", " ", "\"a b\"", "c d"},
      {"\"open b c", " ", "\"open b c", ""},
      {",,x,,y", ",", "x", ",y"},
      {"a::b::c", "::", "a", "b::c"},
      {"", " ", "", ""},
      {"abc", "", "abc", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " | " + c.delimiter);
    CLibString s(c.text);
    EXPECT_EQ(Str(s.NextToken(c.delimiter)), c.token);
    EXPECT_EQ(Str(s), c.rest);
  }
  CLibString words("  one two");
  EXPECT_EQ(Str(words.NextWord()), "one");
  EXPECT_EQ(Str(words.NextWord()), "two");
  EXPECT_EQ(Str(words.NextWord()), "");
}

class LibStringFile : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("libstring-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Path(const std::string& name) { return (dir_ / name).string(); }
  std::filesystem::path dir_;
};

TEST_F(LibStringFile, WriteKeepsThePathAsGiven) {
  // Characters such as "_", "~" and "(" are legal in file names and must not be dropped.
  std::string path = Path("report_(1)~x.txt");
  CLibString text("line one\nline two");
  EXPECT_EQ(text.WriteToFile(path.c_str(), "wb"), 0);
  EXPECT_TRUE(std::filesystem::exists(path));

  CLibString more("\nthree");
  EXPECT_EQ(more.WriteToFile(path.c_str(), "ab"), 0);
  CLibString back;
  EXPECT_EQ(back.ReadFromFile(path.c_str()), 0);
  EXPECT_EQ(Str(back), "line one\nline two\nthree");
}

TEST_F(LibStringFile, WriteAndReadStatuses) {
  CLibString empty;
  std::string path = Path("empty.txt");
  EXPECT_EQ(empty.WriteToFile(path.c_str(), "wb"), 1);
  EXPECT_FALSE(std::filesystem::exists(path)) << "nothing to write creates no file";

  CLibString text("x");
  EXPECT_EQ(text.WriteToFile(Path("no/such/folder/f.txt").c_str(), "wb"), 2);
  EXPECT_EQ(text.m_status, 2);

  CLibString read("old text");
  EXPECT_EQ(read.ReadFromFile(Path("missing.txt").c_str()), 5);
  EXPECT_EQ(Str(read), "");
  EXPECT_NE(read.ReadFromFile(dir_.string().c_str()), 0) << "a folder is not a file";
}

TEST_F(LibStringFile, ReadReusesABigEnoughBuffer) {
  std::string path = Path("small.txt");
  std::ofstream(path, std::ios::binary) << "abc";
  CLibString s;
  s.Grow(100);
  size_t capacity = s.GetCapacity();
  EXPECT_EQ(s.ReadFromFile(path.c_str()), 0);
  EXPECT_EQ(Str(s), "abc");
  EXPECT_EQ(s.GetCapacity(), capacity);
}

}  // namespace
