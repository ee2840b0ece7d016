#include "framework/exceptions/FileException.h"

IMPLEMENT_DYNAMIC(CFileException, CException)

int CFileException::OsErrorToException(LONG lOsError) {
  switch (lOsError) {
    case NO_ERROR:
      return none;
    case ERROR_FILE_NOT_FOUND:
      return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_FILENAME_EXCED_RANGE:
      return badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
      return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return accessDenied;
    case ERROR_INVALID_HANDLE:
      return invalidFile;
    case ERROR_CURRENT_DIRECTORY:
      return removeCurrentDir;
    case ERROR_CANNOT_MAKE:
      return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
      return badSeek;
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
      return hardIO;
    case ERROR_SHARING_VIOLATION:
      return sharingViolation;
    case ERROR_LOCK_VIOLATION:
    case ERROR_LOCK_FAILED:
      return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return diskFull;
    case ERROR_HANDLE_EOF:
      return endOfFile;
    default:
      return genericException;
  }
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName) {
  throw CFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

CString CFileException::Describe() const {
  CString name = m_strFileName.IsEmpty() ? CString("an unnamed file") : m_strFileName;
  const char* pattern = nullptr;
  switch (m_cause) {
    case none:
      return CString();
    case fileNotFound:
      pattern = "%s was not found.";
      break;
    case badPath:
      pattern = "%s contains an incorrect path.";
      break;
    case tooManyOpenFiles:
      pattern = "%s could not be opened because there are too many open files.";
      break;
    case accessDenied:
      pattern = "Access to %s was denied.";
      break;
    case invalidFile:
      pattern = "An incorrect file handle was associated with %s.";
      break;
    case removeCurrentDir:
      pattern = "%s could not be removed because it is the current folder.";
      break;
    case directoryFull:
      pattern = "%s could not be created because the folder is full.";
      break;
    case badSeek:
      pattern = "Seek failed on %s.";
      break;
    case hardIO:
      pattern = "A hardware input/output error was reported while accessing %s.";
      break;
    case sharingViolation:
      pattern = "A sharing violation occurred while accessing %s.";
      break;
    case lockViolation:
      pattern = "A locking violation occurred while accessing %s.";
      break;
    case diskFull:
      pattern = "The disk is full while accessing %s.";
      break;
    case endOfFile:
      pattern = "An attempt was made to access %s past its end.";
      break;
    default:
      pattern = "An unexpected error occurred while accessing %s.";
      break;
  }
  CString text;
  text.Format(pattern, name.GetString());
  return text;
}
