// CString: the members the programs call, with their edge cases (bounds, empty texts, buffers).
#include <gtest/gtest.h>

#include "framework/app/AfxResource.h"
#include "framework/core/String.h"

TEST(String, ConstructionAndConcatenation) {
  CString empty;
  CString fromNull(static_cast<LPCSTR>(nullptr));
  EXPECT_TRUE(empty.IsEmpty());
  EXPECT_TRUE(fromNull.IsEmpty());
  EXPECT_EQ(CString("abcdef", 3), "abc");
  EXPECT_EQ(CString('x', 3), "xxx");

  CString s("ab");
  s += "cd";
  s += 'e';
  s += CString("f");
  EXPECT_EQ(s, "abcdef");
  EXPECT_EQ(s.GetLength(), 6);
  EXPECT_EQ("<" + s + '>', "<abcdef>");
  EXPECT_EQ(CString("a") + CString("b") + "c", "abc");
  EXPECT_STREQ(static_cast<LPCSTR>(s), "abcdef");
  EXPECT_EQ(s[2], 'c');
  s.SetAt(0, 'A');
  EXPECT_EQ(s.GetAt(0), 'A');
  s.Empty();
  EXPECT_EQ(s.GetLength(), 0);
}

TEST(String, Comparison) {
  CString b("b");
  EXPECT_TRUE(b == "b");
  EXPECT_TRUE("b" == b);
  EXPECT_TRUE(b != "B");
  EXPECT_TRUE(CString("a") < b);
  EXPECT_TRUE(b > "a");
  EXPECT_LT(b.Compare("c"), 0);
  EXPECT_EQ(b.Compare("b"), 0);
  EXPECT_EQ(CString("Hello").CompareNoCase("hELLO"), 0);
  EXPECT_NE(CString("Hello").CompareNoCase("help"), 0);
}

TEST(String, PiecesClampToTheText) {
  CString s("abcdef");
  struct Case {
    CString got;
    const char* want;
  } cases[] = {
      {s.Mid(2), "cdef"}, {s.Mid(2, 2), "cd"}, {s.Mid(-1, 2), "ab"},    {s.Mid(4, 10), "ef"},
      {s.Mid(9), ""},     {s.Mid(1, -1), ""},  {s.Left(2), "ab"},       {s.Left(10), "abcdef"},
      {s.Left(-1), ""},   {s.Right(2), "ef"},  {s.Right(10), "abcdef"}, {s.Right(-2), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(String, Searching) {
  CString s("a.b.c");
  EXPECT_EQ(s.Find('.'), 1);
  EXPECT_EQ(s.Find('.', 2), 3);
  EXPECT_EQ(s.Find('x'), -1);
  EXPECT_EQ(s.Find('.', 10), -1);
  EXPECT_EQ(s.Find("b.c"), 2);
  EXPECT_EQ(s.Find("b", 3), -1);
  EXPECT_EQ(s.Find(""), 0);
  EXPECT_EQ(s.ReverseFind('.'), 3);
  EXPECT_EQ(s.ReverseFind('x'), -1);
  EXPECT_EQ(s.FindOneOf("cb"), 2);
  EXPECT_EQ(s.FindOneOf("xyz"), -1);
}

TEST(String, EditingInPlace) {
  CString s("one two one");
  EXPECT_EQ(s.Replace("one", "three"), 2);
  EXPECT_EQ(s, "three two three");
  EXPECT_EQ(s.Replace("", "x"), 0);
  EXPECT_EQ(s.Replace("two ", ""), 1);
  EXPECT_EQ(s, "three three");
  EXPECT_EQ(s.Replace('e', 'E'), 4);
  EXPECT_EQ(s.Remove('E'), 4);
  EXPECT_EQ(s, "thr thr");
  s.Insert(0, '[');
  s.Insert(100, "]");
  EXPECT_EQ(s, "[thr thr]");
  s.Delete(1, 4);
  EXPECT_EQ(s, "[thr]");
  s.Delete(3, 100);
  EXPECT_EQ(s, "[th");
  EXPECT_EQ(CString("MiXeD").MakeUpper(), "MIXED");
  EXPECT_EQ(CString("MiXeD").MakeLower(), "mixed");
}

TEST(String, Trimming) {
  EXPECT_EQ(CString(" \t x y \r\n").Trim(), "x y");
  EXPECT_EQ(CString("  x ").TrimLeft(), "x ");
  EXPECT_EQ(CString("  x ").TrimRight(), "  x");
  EXPECT_EQ(CString("xxaxx").Trim('x'), "a");
  EXPECT_EQ(CString("\r\nline\r\n").TrimRight("\r\n"), "\r\nline");
  EXPECT_EQ(CString("abcba").TrimLeft("ab"), "cba");
  EXPECT_EQ(CString("xxxx").Trim('x'), "");
  EXPECT_EQ(CString("   ").Trim(), "");
}

TEST(String, Format) {
  CString s;
  s.Format("%d.%d.%d.%d", 1, 2, -1, -1);
  EXPECT_EQ(s, "1.2.-1.-1");
  s.Format("%s=%05.1f", "pi", 3.14159);
  EXPECT_EQ(s, "pi=003.1");
  CString longText('y', 5000);
  s.Format("[%s]", longText.GetString());
  EXPECT_EQ(s.GetLength(), 5002);
  s.Format("%lu %ld %x", 4000000000UL, -5L, 255u);
  EXPECT_EQ(s, "4000000000 -5 ff");
}

TEST(String, BuffersForSystemCalls) {
  CString s("abc");
  char* p = s.GetBuffer(10);
  EXPECT_STREQ(p, "abc");
  strcpy(p, "longer text");
  s.ReleaseBuffer();
  EXPECT_EQ(s, "longer text");

  p = s.GetBuffer(0);
  p[3] = '\0';
  s.ReleaseBuffer();
  EXPECT_EQ(s, "lon");

  p = s.GetBufferSetLength(5);
  memcpy(p, "12345", 5);
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, "12");

  CString empty;
  DWORD n = GetEnvironmentVariableA("PATH", empty.GetBuffer(4096), 4096);
  empty.ReleaseBuffer();
  EXPECT_EQ(empty.GetLength(), static_cast<int>(n));
}

TEST(String, LoadStringUsesTheResourceHandle) {
  // Without a resource handle set, strings come from the program's own module.
  HINSTANCE saved = AfxGetResourceHandle();
  AfxSetResourceHandle(nullptr);
  CString s("old");
  EXPECT_TRUE(s.LoadString(1001));
  EXPECT_EQ(s, "Text from the test program");
  EXPECT_FALSE(s.LoadString(12345));
  EXPECT_TRUE(s.IsEmpty());

  // A module without that string table: the id is absent there.
  AfxSetResourceHandle(GetModuleHandleA("kernel32.dll"));
  EXPECT_FALSE(s.LoadString(1001));
  AfxSetResourceHandle(saved);
}
