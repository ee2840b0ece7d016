#include "framework/files/File.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {
void FillStatus(const WIN32_FILE_ATTRIBUTE_DATA& data, CFileStatus& rStatus) {
  rStatus.m_ctime = CTime(data.ftCreationTime);
  rStatus.m_atime = CTime(data.ftLastAccessTime);
  rStatus.m_mtime = CTime(data.ftLastWriteTime);
  if (rStatus.m_atime.GetTime() == 0) rStatus.m_atime = rStatus.m_mtime;
  if (rStatus.m_ctime.GetTime() == 0) rStatus.m_ctime = rStatus.m_mtime;
  rStatus.m_size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  rStatus.m_attribute = static_cast<BYTE>(data.dwFileAttributes);
}
}  // namespace

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) {
  CFileException error;
  if (!Open(lpszFileName, nOpenFlags, &error)) throw error;
}

CFile::~CFile() {
  if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError) {
  if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete) Abort();
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;

  auto fail = [&](LONG error) {
    if (pError) {
      pError->m_lOsError = error;
      pError->m_cause = CFileException::OsErrorToException(error);
      pError->m_strFileName = lpszFileName;
    }
    return FALSE;
  };
  if (!lpszFileName || !*lpszFileName) return fail(ERROR_INVALID_NAME);

  // The path is kept in full, so that messages and later status calls name the same file.
  char fullPath[MAX_PATH * 2];
  DWORD n = GetFullPathNameA(lpszFileName, sizeof fullPath, fullPath, nullptr);
  m_strFileName = (n > 0 && n < sizeof fullPath) ? CString(fullPath) : CString(lpszFileName);

  DWORD access = 0;
  switch (nOpenFlags & 3) {
    case modeRead:
      access = GENERIC_READ;
      break;
    case modeWrite:
      access = GENERIC_WRITE;
      break;
    case modeReadWrite:
      access = GENERIC_READ | GENERIC_WRITE;
      break;
    default:
      return fail(ERROR_INVALID_PARAMETER);
  }
  DWORD share = 0;
  switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
      share = 0;
      break;
    case shareDenyWrite:
      share = FILE_SHARE_READ;
      break;
    case shareDenyRead:
      share = FILE_SHARE_WRITE;
      break;
    case shareDenyNone:
      share = FILE_SHARE_READ | FILE_SHARE_WRITE;
      break;
    default:
      return fail(ERROR_INVALID_PARAMETER);
  }
  DWORD creation = OPEN_EXISTING;
  if (nOpenFlags & modeCreate)
    creation = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

  HANDLE h =
      CreateFileA(lpszFileName, access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return fail(static_cast<LONG>(GetLastError()));
  m_hFile = h;
  m_bCloseOnDelete = TRUE;
  return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
  if (nCount == 0) return 0;
  DWORD read = 0;
  if (!ReadFile(m_hFile, lpBuf, nCount, &read, nullptr)) {
    DWORD error = GetLastError();
    if (error == ERROR_HANDLE_EOF || error == ERROR_BROKEN_PIPE) return 0;
    CFileException::ThrowOsError(static_cast<LONG>(error), m_strFileName);
  }
  return read;
}

void CFile::Write(const void* lpBuf, UINT nCount) {
  if (nCount == 0) return;
  DWORD written = 0;
  if (!WriteFile(m_hFile, lpBuf, nCount, &written, nullptr)) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  }
  if (written != nCount) throw CFileException(CFileException::diskFull, -1, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom) {
  LARGE_INTEGER distance;
  distance.QuadPart = lOff;
  LARGE_INTEGER position;
  if (!SetFilePointerEx(m_hFile, distance, &position, nFrom)) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  }
  return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetPosition() const {
  LARGE_INTEGER zero = {};
  LARGE_INTEGER position;
  if (!SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT)) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  }
  return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG CFile::GetLength() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(m_hFile, &size)) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  }
  return static_cast<ULONGLONG>(size.QuadPart);
}

void CFile::SetLength(ULONGLONG dwNewLen) {
  Seek(static_cast<LONGLONG>(dwNewLen), begin);
  if (!SetEndOfFile(m_hFile)) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  }
}

void CFile::Flush() {
  if (m_hFile == INVALID_HANDLE_VALUE) return;
  if (!FlushFileBuffers(m_hFile)) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
  }
}

void CFile::Close() {
  BOOL ok = TRUE;
  if (m_hFile != INVALID_HANDLE_VALUE) ok = CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
  if (!ok) CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
}

void CFile::Abort() {
  if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
  m_hFile = INVALID_HANDLE_VALUE;
  m_bCloseOnDelete = FALSE;
}

CString CFile::GetFileName() const {
  int last = -1;
  for (int i = 0; i < m_strFileName.GetLength(); ++i) {
    char ch = m_strFileName[i];
    if (ch == '\\' || ch == '/' || ch == ':') last = i;
  }
  return m_strFileName.Mid(last + 1);
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const {
  rStatus = CFileStatus();
  lstrcpynA(rStatus.m_szFullName, m_strFileName, MAX_PATH);
  BY_HANDLE_FILE_INFORMATION info;
  if (m_hFile == INVALID_HANDLE_VALUE || !GetFileInformationByHandle(m_hFile, &info)) return FALSE;
  WIN32_FILE_ATTRIBUTE_DATA data;
  data.dwFileAttributes = info.dwFileAttributes;
  data.ftCreationTime = info.ftCreationTime;
  data.ftLastAccessTime = info.ftLastAccessTime;
  data.ftLastWriteTime = info.ftLastWriteTime;
  data.nFileSizeHigh = info.nFileSizeHigh;
  data.nFileSizeLow = info.nFileSizeLow;
  FillStatus(data, rStatus);
  return TRUE;
}

BOOL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus) {
  rStatus = CFileStatus();
  if (!lpszFileName || !*lpszFileName) return FALSE;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data)) return FALSE;
  FillStatus(data, rStatus);
  char fullPath[MAX_PATH * 2];
  DWORD n = GetFullPathNameA(lpszFileName, sizeof fullPath, fullPath, nullptr);
  lstrcpynA(rStatus.m_szFullName, (n > 0 && n < sizeof fullPath) ? fullPath : lpszFileName,
            MAX_PATH);
  return TRUE;
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName) {
  if (!MoveFileA(lpszOldName, lpszNewName)) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszOldName);
  }
}

void CFile::Remove(LPCSTR lpszFileName) {
  if (!DeleteFileA(lpszFileName)) {
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), lpszFileName);
  }
}
