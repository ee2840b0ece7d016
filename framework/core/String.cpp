#include "framework/core/String.h"

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "framework/app/AfxResource.h"

namespace {
bool IsSpace(char ch) {
  return std::isspace(static_cast<unsigned char>(ch)) != 0;
}
}  // namespace

CString& CString::operator=(LPCSTR psz) {
  m_str = psz ? psz : "";
  return *this;
}

CString& CString::operator=(char ch) {
  m_str.assign(1, ch);
  return *this;
}

CString& CString::operator+=(const CString& s) {
  m_str += s.m_str;
  return *this;
}

CString& CString::operator+=(LPCSTR psz) {
  if (psz) m_str += psz;
  return *this;
}

CString& CString::operator+=(char ch) {
  m_str += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

CString operator+(const CString& a, LPCSTR b) {
  CString r(a);
  r += b;
  return r;
}

CString operator+(LPCSTR a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

CString operator+(const CString& a, char b) {
  CString r(a);
  r += b;
  return r;
}

CString operator+(char a, const CString& b) {
  CString r(a);
  r += b;
  return r;
}

int CString::Compare(LPCSTR psz) const {
  return std::strcmp(m_str.c_str(), psz ? psz : "");
}

int CString::CompareNoCase(LPCSTR psz) const {
  return _stricmp(m_str.c_str(), psz ? psz : "");
}

CString CString::Mid(int nFirst) const {
  return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
  int length = GetLength();
  if (nFirst < 0) nFirst = 0;
  if (nFirst > length) nFirst = length;
  if (nCount < 0) nCount = 0;
  if (nCount > length - nFirst) nCount = length - nFirst;
  CString r;
  r.m_str = m_str.substr(nFirst, nCount);
  return r;
}

CString CString::Left(int nCount) const {
  return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
  if (nCount < 0) nCount = 0;
  int length = GetLength();
  return nCount >= length ? *this : Mid(length - nCount, nCount);
}

int CString::Find(char ch, int nStart) const {
  if (nStart < 0 || nStart >= GetLength()) return -1;
  size_t pos = m_str.find(ch, nStart);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCSTR pszSub, int nStart) const {
  if (!pszSub || nStart < 0 || nStart > GetLength()) return -1;
  size_t pos = m_str.find(pszSub, nStart);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const {
  size_t pos = m_str.rfind(ch);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCSTR pszCharSet) const {
  if (!pszCharSet) return -1;
  size_t pos = m_str.find_first_of(pszCharSet);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CString& CString::MakeUpper() {
  for (char& ch : m_str) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return *this;
}

CString& CString::MakeLower() {
  for (char& ch : m_str) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return *this;
}

int CString::Replace(char chOld, char chNew) {
  int count = 0;
  for (char& ch : m_str) {
    if (ch == chOld) {
      ch = chNew;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCSTR pszOld, LPCSTR pszNew) {
  if (!pszOld || !*pszOld) return 0;
  const std::string from(pszOld);
  const std::string to(pszNew ? pszNew : "");
  std::string result;
  int count = 0;
  size_t start = 0;
  for (size_t pos; (pos = m_str.find(from, start)) != std::string::npos;
       start = pos + from.size()) {
    result.append(m_str, start, pos - start);
    result += to;
    ++count;
  }
  if (count) {
    result.append(m_str, start, std::string::npos);
    m_str.swap(result);
  }
  return count;
}

int CString::Remove(char ch) {
  size_t before = m_str.size();
  std::erase(m_str, ch);
  return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, char ch) {
  if (nIndex < 0) nIndex = 0;
  if (nIndex > GetLength()) nIndex = GetLength();
  m_str.insert(m_str.begin() + nIndex, ch);
  return GetLength();
}

int CString::Insert(int nIndex, LPCSTR psz) {
  if (nIndex < 0) nIndex = 0;
  if (nIndex > GetLength()) nIndex = GetLength();
  if (psz) m_str.insert(nIndex, psz);
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  if (nIndex < 0) nIndex = 0;
  if (nIndex < GetLength() && nCount > 0) m_str.erase(nIndex, nCount);
  return GetLength();
}

CString& CString::Trim() {
  return TrimRight().TrimLeft();
}

CString& CString::Trim(char ch) {
  return TrimRight(ch).TrimLeft(ch);
}

CString& CString::Trim(LPCSTR pszTargets) {
  return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::TrimLeft() {
  size_t n = 0;
  while (n < m_str.size() && IsSpace(m_str[n])) ++n;
  m_str.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(char ch) {
  size_t n = m_str.find_first_not_of(ch);
  m_str.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(LPCSTR pszTargets) {
  if (!pszTargets || !*pszTargets) return *this;
  size_t n = m_str.find_first_not_of(pszTargets);
  m_str.erase(0, n);
  return *this;
}

CString& CString::TrimRight() {
  size_t n = m_str.size();
  while (n > 0 && IsSpace(m_str[n - 1])) --n;
  m_str.resize(n);
  return *this;
}

CString& CString::TrimRight(char ch) {
  size_t n = m_str.find_last_not_of(ch);
  m_str.resize(n == std::string::npos ? 0 : n + 1);
  return *this;
}

CString& CString::TrimRight(LPCSTR pszTargets) {
  if (!pszTargets || !*pszTargets) return *this;
  size_t n = m_str.find_last_not_of(pszTargets);
  m_str.resize(n == std::string::npos ? 0 : n + 1);
  return *this;
}

void CString::Format(LPCSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
  if (!pszFormat) {
    m_str.clear();
    return;
  }
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
  va_end(copy);
  if (n < 0) {
    m_str.clear();
    return;
  }
  std::string result(static_cast<size_t>(n), '\0');
  std::vsnprintf(result.data(), result.size() + 1, pszFormat, args);
  m_str.swap(result);
}

BOOL CString::LoadString(UINT nID) {
  // A string table entry holds at most 4097 characters.
  char buffer[4100];
  int n = ::LoadStringA(AfxGetResourceHandle(), nID, buffer, sizeof buffer);
  m_str.assign(buffer, n > 0 ? n : 0);
  return n > 0;
}

LPSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_str.resize(nMinBufLength);
  return m_str.data();
}

LPSTR CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(nNewLength > 0 ? nNewLength : 0);
  return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0) {
    nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
  }
  if (nNewLength > GetLength()) nNewLength = GetLength();
  m_str.resize(nNewLength);
}
