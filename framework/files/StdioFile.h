// CStdioFile: a file read and written through the runtime library's buffered streams, in text
// mode (line ends "\r\n" on disk, "\n" in memory) unless typeBinary is given, with line reading
// and writing.
#pragma once
#include <cstdio>

#include "framework/files/File.h"

class CStdioFile : public CFile {
  DECLARE_DYNAMIC(CStdioFile)
 public:
  CStdioFile() = default;
  // Opens the file or throws CFileException.
  CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags);
  ~CStdioFile() override;

  BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr) override;
  UINT Read(void* lpBuf, UINT nCount) override;
  void Write(const void* lpBuf, UINT nCount) override;
  ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
  ULONGLONG GetPosition() const override;
  ULONGLONG GetLength() const override;
  void Flush() override;
  void Close() override;
  void Abort() override;

  // The next line without its line end; FALSE at the end of the file when nothing was read.
  BOOL ReadString(CString& rString);
  // At most nMax - 1 characters of the next line, its "\n" kept; null at the end of the file.
  LPSTR ReadString(LPSTR lpsz, UINT nMax);
  void WriteString(LPCSTR lpsz);

  FILE* m_pStream = nullptr;

 private:
  [[noreturn]] void ThrowStreamError() const;
};
