#include "foundation/core/LibString.h"

#include <cctype>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ostream>

#include <sys/stat.h>

namespace {

// Case-insensitive comparison of n bytes, the same on every platform.
bool EqualNoCase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// Capacity for a text that must hold at least need bytes: the growth the callers ask for, but
// never less than half again the old capacity, so that appending piece by piece stays linear.
size_t GrownCapacity(size_t need, size_t oldCapacity) {
  size_t geometric = oldCapacity + oldCapacity / 2;
  return need > geometric ? need : geometric;
}

// Size of a file in bytes, -1 when it cannot be read (no such file).
long long FileSizeOf(const char* path) {
#ifdef _WIN32
  struct _stat64 st;
  if (!path || _stat64(path, &st) != 0) return -1;
#else
  struct stat st;
  if (!path || stat(path, &st) != 0) return -1;
#endif
  return static_cast<long long>(st.st_size);
}

}  // namespace

CLibString::CLibString(int n) {
  FormatNumber("%ld", n);
}
CLibString::CLibString(long n) {
  FormatNumber("%ld", n);
}

CLibString::CLibString(unsigned long n) {
  char text[24];
  int len = snprintf(text, sizeof text, "%lu", n);
  Assign(text, static_cast<size_t>(len), 20);
}

CLibString::CLibString(char ch) {
  char text[1] = {ch};
  Assign(text, ch ? 1 : 0, 2);
}

CLibString::CLibString(const char* text) {
  if (text && *text) {
    size_t len = strlen(text);
    Assign(text, len, len + 1);
  }
}

CLibString::CLibString(const char* first, const char* last) {
  if (first && last && last >= first) {
    size_t len = static_cast<size_t>(last - first) + 1;
    Assign(first, len, len + 1);
  }
}

CLibString::CLibString(const CLibString& other) : m_status(other.m_status) {
  if (other.GetLength() > 0) Assign(other.m_buffer, other.GetLength(), other.m_capacity);
}

CLibString::CLibString(CLibString&& other) noexcept
    : m_status(other.m_status), m_buffer(other.m_buffer), m_capacity(other.m_capacity) {
  other.m_buffer = nullptr;
  other.m_capacity = 0;
}

CLibString::~CLibString() {
  Free();
}

void CLibString::Free() {
  free(m_buffer);
  m_buffer = nullptr;
  m_capacity = 0;
}

void CLibString::Assign(const char* text, size_t length, size_t capacity) {
  // The new buffer is filled before the old one goes, so text may point into the old one.
  if (capacity < length + 1) capacity = length + 1;
  char* buffer = static_cast<char*>(malloc(capacity));
  if (!buffer) {
    Free();
    return;
  }
  memcpy(buffer, text, length);
  buffer[length] = '\0';
  free(m_buffer);
  m_buffer = buffer;
  m_capacity = capacity;
}

void CLibString::FormatNumber(const char* format, long n) {
  char text[24];
  int len = snprintf(text, sizeof text, format, n);
  Assign(text, static_cast<size_t>(len), 20);
}

CLibString& CLibString::operator=(const CLibString& other) {
  if (this == &other) return *this;
  m_status = other.m_status;
  int len = other.GetLength();
  if (len == 0) {
    Free();
  } else if (m_capacity >= other.m_capacity) {
    memmove(m_buffer, other.m_buffer, static_cast<size_t>(len) + 1);
  } else {
    Assign(other.m_buffer, static_cast<size_t>(len), other.m_capacity);
  }
  return *this;
}

CLibString& CLibString::operator=(CLibString&& other) noexcept {
  if (this != &other) {
    Free();
    m_status = other.m_status;
    m_buffer = other.m_buffer;
    m_capacity = other.m_capacity;
    other.m_buffer = nullptr;
    other.m_capacity = 0;
  }
  return *this;
}

CLibString& CLibString::operator=(const char* text) {
  if (!text || !*text) {
    Free();
  } else {
    size_t len = strlen(text);
    Assign(text, len, len + 1);
  }
  return *this;
}

CLibString& CLibString::operator=(int n) {
  FormatNumber("%ld", n);
  return *this;
}

CLibString& CLibString::operator=(long n) {
  FormatNumber("%ld", n);
  return *this;
}

int CLibString::GetLength() const {
  return m_buffer ? static_cast<int>(strlen(m_buffer)) : 0;
}

const char* CLibString::At(int index) const {
  int len = GetLength();
  if (index < 0 || index >= len) return c_str() + len;
  return m_buffer + index;
}

int CLibString::Find(const CLibString& sub) const {
  if (GetLength() == 0 || sub.GetLength() == 0) return 0;
  const char* hit = strstr(m_buffer, sub.m_buffer);
  return hit ? static_cast<int>(hit - m_buffer) + 1 : 0;
}

int CLibString::FindNoCase(const CLibString& sub) const {
  int len = GetLength();
  int subLen = sub.GetLength();
  if (len == 0 || subLen == 0) return 0;
  for (int i = 0; i + subLen <= len; ++i)
    if (EqualNoCase(m_buffer + i, sub.m_buffer, static_cast<size_t>(subLen))) return i + 1;
  return 0;
}

int CLibString::FindChar(char ch) const {
  if (!ch || GetLength() == 0) return 0;
  const char* hit = strchr(m_buffer, ch);
  return hit ? static_cast<int>(hit - m_buffer) + 1 : 0;
}

int CLibString::ReverseFind(const CLibString& sub) const {
  int len = GetLength();
  int subLen = sub.GetLength();
  if (len == 0 || subLen == 0) return -1;
  for (int i = len - subLen; i >= 0; --i)
    if (memcmp(m_buffer + i, sub.m_buffer, static_cast<size_t>(subLen)) == 0) return i;
  return -1;
}

int CLibString::FindOneOf(const CLibString& set) const {
  if (GetLength() == 0 || set.GetLength() == 0) return -1;
  size_t pos = strcspn(m_buffer, set.m_buffer);
  return m_buffer[pos] ? static_cast<int>(pos) : -1;
}

bool CLibString::IsNumber() const {
  if (!m_buffer) return false;
  return strspn(m_buffer, " 0123456789.+-e)") == strlen(m_buffer);
}

int CLibString::ToInt() const {
  return m_buffer ? atoi(m_buffer) : 0;
}
long CLibString::ToLong() const {
  return m_buffer ? atol(m_buffer) : 0;
}

CLibString CLibString::Mid(int start, int count) const {
  int len = GetLength();
  if (len == 0 || count <= 0 || start < 0 || start >= len) return CLibString();
  if (count > len - start) count = len - start;
  return CLibString(m_buffer + start, m_buffer + start + count - 1);
}

CLibString CLibString::Lower() const {
  CLibString copy(*this);
  return copy.MakeLower();
}

CLibString CLibString::Upper() const {
  CLibString copy(*this);
  return copy.MakeUpper();
}

bool CLibString::operator==(const CLibString& other) const {
  return *this == other.c_str();
}

bool CLibString::operator==(const char* text) const {
  if (!text) text = "";
  return strcmp(c_str(), text) == 0;
}

bool CLibString::operator<(const CLibString& other) const {
  // strcmp compares as unsigned characters; an empty text sorts before every other.
  return strcmp(c_str(), other.c_str()) < 0;
}

bool CLibString::Grow(size_t size) {
  if (size + 1 <= m_capacity) return true;
  char* buffer = static_cast<char*>(realloc(m_buffer, size + 1));
  if (!buffer) return false;
  if (!m_buffer) buffer[0] = '\0';
  m_buffer = buffer;
  m_capacity = size + 1;
  return true;
}

CLibString& CLibString::Append(const char* text) {
  if (!text || !*text) return *this;
  size_t len = static_cast<size_t>(GetLength());
  size_t add = strlen(text);
  if (len + add + 1 > m_capacity) {
    // The text may lie in our own buffer, which growing can move.
    bool own = m_buffer && text >= m_buffer && text < m_buffer + m_capacity;
    size_t offset = own ? static_cast<size_t>(text - m_buffer) : 0;
    if (!Grow(GrownCapacity(len + add + 20, m_capacity))) return *this;
    if (own) text = m_buffer + offset;
  }
  memmove(m_buffer + len, text, add);
  m_buffer[len + add] = '\0';
  return *this;
}

namespace {

// The bytes before the first NUL among the first count, eight at a time: the runtime's strlen
// and memchr go one byte at a time (under Wine), which for a page of 100 KB costs more than
// receiving it.
size_t LengthUpTo(const char* text, size_t count) {
  const uint64_t ones = 0x0101010101010101ULL;
  const uint64_t highs = 0x8080808080808080ULL;
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    uint64_t word;
    memcpy(&word, text + i, 8);
    if ((word - ones) & ~word & highs) break;  // a zero byte in this word
  }
  while (i < count && text[i]) ++i;
  return i;
}

}  // namespace

CLibString& CLibString::Append(const char* text, size_t count) {
  if (!text || count == 0) return *this;
  size_t add = LengthUpTo(text, count);
  if (add == 0) return *this;
  size_t len = static_cast<size_t>(GetLength());
  if (len + add + 1 > m_capacity) {
    // The text may lie in our own buffer, which growing can move.
    bool own = m_buffer && text >= m_buffer && text < m_buffer + m_capacity;
    size_t offset = own ? static_cast<size_t>(text - m_buffer) : 0;
    if (!Grow(GrownCapacity(len + add + 20, m_capacity))) return *this;
    if (own) text = m_buffer + offset;
  }
  memmove(m_buffer + len, text, add);
  m_buffer[len + add] = '\0';
  return *this;
}

CLibString& CLibString::AppendChar(char ch) {
  if (!ch) return *this;
  size_t len = static_cast<size_t>(GetLength());
  if (len + 2 > m_capacity && !Grow(GrownCapacity(len + 22, m_capacity))) return *this;
  m_buffer[len] = ch;
  m_buffer[len + 1] = '\0';
  return *this;
}

CLibString& CLibString::Remove(const CLibString& sub) {
  int pos = Find(sub);
  if (pos > 0) {
    char* at = m_buffer + pos - 1;
    size_t subLen = static_cast<size_t>(sub.GetLength());
    memmove(at, at + subLen, strlen(at + subLen) + 1);
  }
  return *this;
}

CLibString& CLibString::Remove(const char* sub) {
  return Remove(CLibString(sub));
}

CLibString& CLibString::Replace(const CLibString& oldText, const CLibString& newText) {
  int oldLen = oldText.GetLength();
  if (oldLen == 0 || Find(oldText) == 0) return *this;
  // Built beside the old text: newText may be this very object.
  CLibString result;
  if (!result.Grow(m_capacity)) return *this;
  const char* scan = m_buffer;
  while (const char* hit = strstr(scan, oldText.m_buffer)) {
    if (hit > scan) result.Append(CLibString(scan, hit - 1));
    result.Append(newText.c_str());
    scan = hit + oldLen;
  }
  result.Append(scan);
  size_t newLen = static_cast<size_t>(result.GetLength());
  if (newLen + 1 > m_capacity) {
    Assign(result.c_str(), newLen, newLen + 26);
  } else {
    memcpy(m_buffer, result.c_str(), newLen + 1);
  }
  return *this;
}

CLibString& CLibString::Truncate(int pos) {
  if (pos >= 0 && pos < GetLength()) m_buffer[pos] = '\0';
  return *this;
}

CLibString& CLibString::TrimRight(char ch) {
  int len = GetLength();
  while (len > 0 && m_buffer[len - 1] == ch) m_buffer[--len] = '\0';
  return *this;
}

CLibString& CLibString::TrimLeft(char ch) {
  if (!ch || GetLength() == 0) return *this;
  size_t skip = 0;
  while (m_buffer[skip] == ch) ++skip;
  if (skip) memmove(m_buffer, m_buffer + skip, strlen(m_buffer + skip) + 1);
  return *this;
}

CLibString& CLibString::MakeLower() {
  for (char* p = m_buffer; p && *p; ++p)
    *p = static_cast<char>(tolower(static_cast<unsigned char>(*p)));
  return *this;
}

CLibString& CLibString::MakeUpper() {
  for (char* p = m_buffer; p && *p; ++p)
    *p = static_cast<char>(toupper(static_cast<unsigned char>(*p)));
  return *this;
}

CLibString CLibString::Format(const char* format, ...) {
  char small[256];
  va_list args;
  va_start(args, format);
  int len = vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (len < 0) return *this;
  if (static_cast<size_t>(len) < sizeof small) {
    *this = small;
  } else {
    // Too long for the first try: format again into a buffer of the exact size.
    char* big = static_cast<char*>(malloc(static_cast<size_t>(len) + 1));
    if (!big) return *this;
    va_start(args, format);
    vsnprintf(big, static_cast<size_t>(len) + 1, format, args);
    va_end(args);
    *this = big;
    free(big);
  }
  return *this;
}

CLibString CLibString::operator-(const CLibString& sub) const {
  CLibString copy(*this);
  return copy.Remove(sub);
}

CLibString CLibString::Concat(const CLibString& a, const char* b, size_t bCapacity) {
  CLibString result;
  if (result.Grow(a.m_capacity + bCapacity)) {
    result.Append(a.c_str());
    result.Append(b);
  }
  return result;
}

CLibString operator+(const CLibString& a, const CLibString& b) {
  return CLibString::Concat(a, b.c_str(), b.GetCapacity());
}

CLibString operator+(const CLibString& a, const char* b) {
  return CLibString::Concat(a, b, b ? strlen(b) + 1 : 0);
}

// Token cutting: leading delimiters are skipped, so there are no empty tokens; a double-quoted
// part may hold delimiters and keeps its quotes, and a token ends right after its closing quote.
CLibString CLibString::NextToken(const CLibString& delimiter) {
  int delimLen = delimiter.GetLength();
  if (delimLen == 0) {
    // No delimiter to cut at: the whole text is the token.
    CLibString token(*this);
    Free();
    return token;
  }
  const char* delim = delimiter.c_str();
  auto startsWithDelim = [&](const char* p) {
    return strncmp(p, delim, static_cast<size_t>(delimLen)) == 0;
  };

  int skip = 0;
  while (startsWithDelim(c_str() + skip)) skip += delimLen;
  if (skip) memmove(m_buffer, m_buffer + skip, strlen(m_buffer + skip) + 1);

  const char* text = c_str();
  int len = GetLength();
  const char* hit = strstr(text, delim);
  int p = hit ? static_cast<int>(hit - text) : -1;

  if (p >= 0) {
    int quotes = 0;
    for (int i = 0; i <= p && i < len; ++i) quotes += text[i] == '"';
    while (quotes % 2 == 1) {
      const char* close = p < len ? strchr(text + p, '"') : nullptr;
      if (!close) {
        p = -1;
        break;
      }
      int next = static_cast<int>(close - text) + 1;
      for (int i = p + 1; i <= next && i < len; ++i) quotes += text[i] == '"';
      p = next;
    }
  }

  if (p < 0) {
    CLibString token(*this);
    Free();
    return token;
  }
  CLibString token = Left(p);
  memmove(m_buffer, m_buffer + p, static_cast<size_t>(len - p) + 1);
  if (startsWithDelim(m_buffer))
    memmove(m_buffer, m_buffer + delimLen, strlen(m_buffer + delimLen) + 1);
  int tokenLen = token.GetLength();
  if (tokenLen >= delimLen && strcmp(token.c_str() + tokenLen - delimLen, delim) == 0)
    token.Truncate(tokenLen - delimLen);
  return token;
}

int CLibString::WriteToFile(const char* path, const char* mode) {
  // The path is used as given: dropping characters from it would write somewhere else.
  int len = GetLength();
  if (len == 0) return m_status = 1;
  FILE* f = fopen(path, mode);
  if (!f) return m_status = 2;
  bool ok = fwrite(m_buffer, 1, static_cast<size_t>(len), f) == static_cast<size_t>(len);
  ok = (fclose(f) == 0) && ok;
  return m_status = ok ? 0 : 3;
}

int CLibString::ReadFromFile(const char* path) {
  m_status = 0;
  long long size = FileSizeOf(path);
  if (size < 0) {
    *this = "";
    return m_status = 5;
  }
  size_t need = static_cast<size_t>(size) + 1;
  if (m_capacity < need) {
    Free();
    m_buffer = static_cast<char*>(malloc(need));
    if (!m_buffer) return m_status = 2;
    m_capacity = need;
  }
  m_buffer[0] = '\0';
  FILE* f = fopen(path, "rb");
  if (!f) return m_status = 2;
  size_t got = fread(m_buffer, 1, static_cast<size_t>(size), f);
  fclose(f);
  m_buffer[got] = '\0';
  if (got < static_cast<size_t>(size)) m_status = 4;
  return m_status;
}

std::ostream& operator<<(std::ostream& os, const CLibString& s) {
  return os << s.c_str();
}
