#include "framework/files/StdioFile.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile(LPCSTR lpszFileName, UINT nOpenFlags) {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error)) throw error;
}

CStdioFile::~CStdioFile() {
  if (m_pStream) Abort();
}

BOOL CStdioFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_pStream) Abort();
  // The handle is opened the same way as a binary file's, then given to a stream.
  if (!CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pError)) return FALSE;

  bool binary = (nOpenFlags & typeBinary) != 0;
  int flags = binary ? _O_BINARY : _O_TEXT;
  char mode[4] = {};
  switch (nOpenFlags & 3) {
    case modeRead:
      flags |= _O_RDONLY;
      std::strcpy(mode, "r");
      break;
    case modeWrite:
      flags |= _O_WRONLY;
      std::strcpy(mode, "w");
      break;
    default:
      flags |= _O_RDWR;
      std::strcpy(mode, "r+");
      break;
  }
  std::strcat(mode, binary ? "b" : "t");

  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(m_hFile), flags);
  FILE* stream = fd >= 0 ? _fdopen(fd, mode) : nullptr;
  if (!stream) {
    if (fd >= 0) {
      _close(fd);  // closes the handle too
      m_hFile = INVALID_HANDLE_VALUE;
      m_bCloseOnDelete = FALSE;
    } else {
      CFile::Abort();
    }
    if (pError) {
      pError->m_cause = CFileException::tooManyOpenFiles;
      pError->m_lOsError = ERROR_TOO_MANY_OPEN_FILES;
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  }
  m_pStream = stream;
  return TRUE;
}

void CStdioFile::ThrowStreamError() const {
  LONG error = _doserrno ? static_cast<LONG>(_doserrno) : -1;
  throw CFileException(
      error > 0 ? CFileException::OsErrorToException(error) : CFileException::genericException,
      error, m_strFileName);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  size_t n = fread(lpBuf, 1, nCount, m_pStream);
  if (n == 0 && ferror(m_pStream)) {
    clearerr(m_pStream);
    ThrowStreamError();
  }
  return static_cast<UINT>(n);
}

void CStdioFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount && fwrite(lpBuf, 1, nCount, m_pStream) != nCount) ThrowStreamError();
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom) {
  int origin = nFrom == begin ? SEEK_SET : nFrom == current ? SEEK_CUR : SEEK_END;
  if (_fseeki64(m_pStream, lOff, origin) != 0) {
    throw CFileException(CFileException::badSeek, -1, m_strFileName);
  }
  return GetPosition();
}

ULONGLONG CStdioFile::GetPosition() const {
  __int64 position = _ftelli64(m_pStream);
  if (position < 0) throw CFileException(CFileException::badSeek, -1, m_strFileName);
  return static_cast<ULONGLONG>(position);
}

ULONGLONG CStdioFile::GetLength() const {
  fflush(m_pStream);
  return CFile::GetLength();
}

void CStdioFile::Flush() {
  if (m_pStream && fflush(m_pStream) != 0) ThrowStreamError();
}

void CStdioFile::Close() {
  int result = 0;
  if (m_pStream) result = fclose(m_pStream);  // closes the handle as well
  m_pStream = nullptr;
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
  if (result != 0) ThrowStreamError();
}

void CStdioFile::Abort() {
  if (m_pStream) {
    fclose(m_pStream);
    m_pStream = nullptr;
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
  } else {
    CFile::Abort();
  }
}

BOOL CStdioFile::ReadString(CString& rString) {
  rString.Empty();
  char buffer[512];
  bool any = false;
  while (fgets(buffer, sizeof buffer, m_pStream)) {
    any = true;
    size_t n = std::strlen(buffer);
    if (n > 0 && buffer[n - 1] == '\n') {
      buffer[n - 1] = '\0';
      rString += buffer;
      return TRUE;
    }
    rString += buffer;
  }
  if (ferror(m_pStream)) {
    clearerr(m_pStream);
    ThrowStreamError();
  }
  return any;
}

LPSTR CStdioFile::ReadString(LPSTR lpsz, UINT nMax) {
  if (!lpsz || nMax == 0) return nullptr;
  LPSTR result = fgets(lpsz, static_cast<int>(nMax), m_pStream);
  if (!result && ferror(m_pStream)) {
    clearerr(m_pStream);
    ThrowStreamError();
  }
  return result;
}

void CStdioFile::WriteString(LPCSTR lpsz) {
  if (lpsz && fputs(lpsz, m_pStream) == EOF) ThrowStreamError();
}
