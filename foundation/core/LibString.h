// CLibString: the utility library's own byte string, used wherever the library and the engine
// code handle text. No exceptions: a failed allocation leaves an empty object or the old text.
#pragma once

#include <cstddef>
#include <iosfwd>

class CLibString {
 public:
  CLibString() = default;
  CLibString(int n);
  CLibString(long n);
  CLibString(unsigned long n);
  CLibString(char ch);
  CLibString(const char* text);
  // The characters from first to last, both included; empty when either is null or last < first.
  CLibString(const char* first, const char* last);
  CLibString(const CLibString& other);
  CLibString(CLibString&& other) noexcept;
  virtual ~CLibString();

  CLibString& operator=(const CLibString& other);
  CLibString& operator=(CLibString&& other) noexcept;
  CLibString& operator=(const char* text);
  CLibString& operator=(int n);
  CLibString& operator=(long n);

  // Queries. The Find family is 1-based with 0 for "not found"; ReverseFind and FindOneOf are
  // 0-based with -1 for "not found".
  int GetLength() const;
  const char* c_str() const { return m_buffer ? m_buffer : ""; }
  const char* At(int index) const;
  int Find(const CLibString& sub) const;
  int FindNoCase(const CLibString& sub) const;
  int FindChar(char ch) const;
  int ReverseFind(const CLibString& sub) const;
  int FindOneOf(const CLibString& set) const;
  bool IsNumber() const;
  int ToInt() const;
  long ToLong() const;
  CLibString Mid(int start, int count) const;
  CLibString Left(int n) const { return Mid(0, n); }
  CLibString Right(int n) const { return Mid(GetLength() - n, n); }
  CLibString Lower() const;
  CLibString Upper() const;
  size_t GetCapacity() const { return m_capacity; }

  bool operator==(const CLibString& other) const;
  bool operator==(const char* text) const;
  bool operator!=(const CLibString& other) const { return !(*this == other); }
  bool operator!=(const char* text) const { return !(*this == text); }
  bool operator<(const CLibString& other) const;
  bool operator>(const CLibString& other) const { return other < *this; }

  // Edits in place; each returns the object.
  CLibString& Append(const char* text);
  // Appends at most count bytes of text, up to its first NUL (a long text of known size is
  // measured a word at a time rather than a byte at a time).
  CLibString& Append(const char* text, size_t count);
  CLibString& Append(const CLibString& text) { return Append(text.c_str()); }
  CLibString& operator+=(const char* text) { return Append(text); }
  CLibString& operator+=(const CLibString& text) { return Append(text.c_str()); }
  CLibString& AppendChar(char ch);
  // Makes room for at least size characters plus the terminator; false when that fails.
  bool Grow(size_t size);
  CLibString& Remove(const CLibString& sub);
  CLibString& Remove(const char* sub);
  CLibString& Replace(const CLibString& oldText, const CLibString& newText);
  CLibString& Truncate(int pos);
  CLibString& TrimRight(char ch);
  CLibString& TrimLeft(char ch);
  CLibString& MakeLower();
  CLibString& MakeUpper();
  CLibString Format(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

  CLibString operator-(const CLibString& sub) const;
  static CLibString Concat(const CLibString& a, const char* b, size_t bCapacity);

  // Cuts the first token off the front and returns it (see the .cpp for the quoting rules).
  CLibString NextToken(const CLibString& delimiter);
  CLibString NextWord() {
    return NextToken(" ");
  }

  // Files. Both set m_status: 0 done, 1 nothing to write, 2 cannot open, 3 write failed,
  // 4 short read, 5 no such file.
  int WriteToFile(const char* path, const char* mode);
  int ReadFromFile(const char* path);

  int m_status = 0;

 private:
  void Free();
  // Replaces the buffer by a fresh copy of text (length bytes) in a buffer of capacity bytes.
  void Assign(const char* text, size_t length, size_t capacity);
  void FormatNumber(const char* format, long n);

  char* m_buffer = nullptr;
  size_t m_capacity = 0;
};

CLibString operator+(const CLibString& a, const CLibString& b);
CLibString operator+(const CLibString& a, const char* b);

std::ostream& operator<<(std::ostream& os, const CLibString& s);
