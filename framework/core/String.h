// CString: the framework's string of narrow characters (the programs use the ANSI Win32
// functions). A value type; positions are 0-based and "not found" is -1. Pass it to a
// printf-style argument list as (LPCTSTR)s or s.GetString().
#pragma once
#include <windows.h>

#include <string>

#ifndef __MINGW_PRINTF_FORMAT
#define __MINGW_PRINTF_FORMAT printf
#endif

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString(LPCSTR psz) : m_str(psz ? psz : "") {}  // NOLINT: converts like the framework's
  CString(LPCSTR pch, int nLength)
      : m_str(pch && nLength > 0 ? pch : "", pch && nLength > 0 ? nLength : 0) {}
  explicit CString(char ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}
  ~CString() = default;

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(LPCSTR psz);
  CString& operator=(char ch);

  int GetLength() const { return static_cast<int>(m_str.size()); }
  bool IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }
  LPCSTR GetString() const { return m_str.c_str(); }
  operator LPCSTR() const { return m_str.c_str(); }  // NOLINT
  char GetAt(int nIndex) const { return m_str[nIndex]; }
  char operator[](int nIndex) const { return m_str[nIndex]; }
  void SetAt(int nIndex, char ch) { m_str[nIndex] = ch; }

  CString& operator+=(const CString& s);
  CString& operator+=(LPCSTR psz);
  CString& operator+=(char ch);
  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, LPCSTR b);
  friend CString operator+(LPCSTR a, const CString& b);
  friend CString operator+(const CString& a, char b);
  friend CString operator+(char a, const CString& b);

  // Byte-wise comparison; CompareNoCase folds case in the runtime library's locale.
  int Compare(LPCSTR psz) const;
  int CompareNoCase(LPCSTR psz) const;

  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;

  int Find(char ch, int nStart = 0) const;
  int Find(LPCSTR pszSub, int nStart = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCSTR pszCharSet) const;

  CString& MakeUpper();
  CString& MakeLower();
  // Each returns the number of replacements or removals; an empty old text replaces nothing.
  int Replace(char chOld, char chNew);
  int Replace(LPCSTR pszOld, LPCSTR pszNew);
  int Remove(char ch);
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCSTR psz);
  int Delete(int nIndex, int nCount = 1);

  // Without an argument white space is trimmed; otherwise the given character or characters.
  CString& Trim();
  CString& Trim(char ch);
  CString& Trim(LPCSTR pszTargets);
  CString& TrimLeft();
  CString& TrimLeft(char ch);
  CString& TrimLeft(LPCSTR pszTargets);
  CString& TrimRight();
  CString& TrimRight(char ch);
  CString& TrimRight(LPCSTR pszTargets);

  void Format(LPCSTR pszFormat, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)));
  void FormatV(LPCSTR pszFormat, va_list args);
  // The string of that id from the current resource handle; FALSE (and empty) when it is absent.
  BOOL LoadString(UINT nID);

  // A writable buffer of at least nMinBufLength characters plus a terminator, holding the
  // current text; ReleaseBuffer ends the writing, at the first terminator or at nNewLength.
  LPSTR GetBuffer(int nMinBufLength = 0);
  LPSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);

  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
  friend bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }
  friend bool operator!=(LPCSTR a, const CString& b) { return !(b == a); }
  friend bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
  friend bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
  friend bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
  friend bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
  friend bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
  friend bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
  friend bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
  friend bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

 private:
  std::string m_str;
};
