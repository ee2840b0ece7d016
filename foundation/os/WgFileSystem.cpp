#include "foundation/os/WgFileSystem.h"

#include <direct.h>

#include <vector>

IMPLEMENT_DYNAMIC(CWgFileSystem, CObject)

namespace {

bool IsSeparator(char ch) {
  return ch == '\\' || ch == '/';
}

int LastSeparator(const CString& path) {
  for (int i = path.GetLength() - 1; i >= 0; --i) {
    if (IsSeparator(path[i])) return i;
  }
  return -1;
}

CString WithSeparator(const CString& folder) {
  if (folder.IsEmpty() || IsSeparator(folder[folder.GetLength() - 1])) return folder;
  return folder + "\\";
}

bool IsDots(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool Matches(const WIN32_FIND_DATAA& data, DWORD attributes) {
  if (IsDots(data.cFileName)) return false;
  if (attributes == 0) return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  return (data.dwFileAttributes & attributes) != 0;
}

// Keeps the system's critical-error boxes (no disk in drive and the like) away while a search
// runs, and puts the previous mode back afterwards.
class QuietErrors {
 public:
  QuietErrors() : m_previous(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~QuietErrors() { SetErrorMode(m_previous); }

 private:
  UINT m_previous;
};

// Every matching entry of folder+mask, as full names.
void Collect(const CString& folder, const CString& mask, DWORD attributes, CStringList& out) {
  QuietErrors quiet;
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA(folder + mask, &data);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    if (Matches(data, attributes)) {
      CString name;
      name.Format("%s%s", folder.GetString(), data.cFileName);
      out.AddTail(name);
    }
  } while (FindNextFileA(h, &data));
  FindClose(h);
}

}  // namespace

CWgFileSystem::~CWgFileSystem() {
  EndSearch();
}

BOOL CWgFileSystem::MakePath(const CString& path) {
  if (path.IsEmpty()) return FALSE;
  CString full = WithSeparator(path);
  for (int i = 0; i < full.GetLength(); ++i) {
    if (!IsSeparator(full[i])) continue;
    CString prefix = full.Left(i);
    // Empty prefixes, drives ("C:") and the first parts of network paths are not created.
    if (prefix.IsEmpty() || prefix[prefix.GetLength() - 1] == ':' || IsSeparator(prefix[i - 1])) {
      continue;
    }
    if (!DirectoryExists(prefix)) CreateDirectoryA(prefix, nullptr);
  }
  return DirectoryExists(full);
}

BOOL CWgFileSystem::MakeDirectory(const CString& path) {
  return !path.IsEmpty() && CreateDirectoryA(path, nullptr);
}

BOOL CWgFileSystem::CopyFile(const CString& source, const CString& target, int nBufferSize) {
  if (nBufferSize <= 0 || source.IsEmpty() || target.IsEmpty()) return FALSE;
  if (FileExists(target)) return FALSE;
  HANDLE in = CreateFileA(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in == INVALID_HANDLE_VALUE) return FALSE;
  // CREATE_NEW: a target that appeared since the test above is still not overwritten.
  HANDLE out =
      CreateFileA(target, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    CloseHandle(in);
    return FALSE;
  }
  std::vector<char> buffer(static_cast<size_t>(nBufferSize));
  bool ok = true;
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) {
      ok = false;
      break;
    }
    if (read == 0) break;
    DWORD written = 0;
    if (!WriteFile(out, buffer.data(), read, &written, nullptr) || written != read) {
      ok = false;
      break;
    }
  }
  CloseHandle(in);
  if (!CloseHandle(out)) ok = false;
  // A partial copy would pass for the real file later.
  if (!ok) DeleteFileA(target);
  return ok;
}

BOOL CWgFileSystem::DeleteFile(const CString& path) {
  return !path.IsEmpty() && ::DeleteFileA(path);
}

BOOL CWgFileSystem::DeleteDirectory(const CString& path) {
  if (path.IsEmpty()) return FALSE;
  CString folder = WithSeparator(path);
  DWORD attributes = GetFileAttributesA(path);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    RemoveDirectoryA(path);  // a link: never empty the folder it points at
    return !DirectoryExists(path);
  }
  {
    QuietErrors quiet;
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(folder + "*", &data);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        if (IsDots(data.cFileName)) continue;
        CString entry = folder + data.cFileName;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
          SetFileAttributesA(entry, data.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
        }
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
          ::DeleteFileA(entry);
        } else if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
          RemoveDirectoryA(entry);  // the link only, not what it points at
        } else {
          DeleteDirectory(entry);
        }
      } while (FindNextFileA(h, &data));
      FindClose(h);
    }
  }
  RemoveDirectoryA(folder);
  return !DirectoryExists(folder) && !FileExists(path);
}

BOOL CWgFileSystem::FileExists(const CString& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  return !path.IsEmpty() && GetFileAttributesExA(path, GetFileExInfoStandard, &data);
}

BOOL CWgFileSystem::DirectoryExists(const CString& path) {
  if (path.IsEmpty()) return FALSE;
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString CWgFileSystem::GetFileName(const CString& path) {
  return path.Mid(LastSeparator(path) + 1);
}

CString CWgFileSystem::GetPath(const CString& path, BOOL bKeepDrive) {
  CString folder = path.Left(LastSeparator(path) + 1);
  if (!bKeepDrive) {
    int colon = folder.Find(':');
    if (colon >= 0) folder = folder.Mid(colon + 1);
  }
  return folder;
}

CString CWgFileSystem::GetExtension(const CString& path) {
  CString name = GetFileName(path);
  int dot = name.ReverseFind('.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CWgFileSystem::GetBaseName(const CString& path) {
  CString name = GetFileName(path);
  int dot = name.ReverseFind('.');
  return dot < 0 ? name : name.Left(dot);
}

CString CWgFileSystem::GetCurrentDrive() {
  int drive = _getdrive();
  if (drive <= 0) return CString();
  CString text;
  text.Format("%c:\\", 'A' + drive - 1);
  return text;
}

CString CWgFileSystem::GetCurrentDirectory(const CString& drive) {
  int number = 0;  // the current drive
  if (!drive.IsEmpty()) {
    char letter = static_cast<char>(toupper(static_cast<unsigned char>(drive[0])));
    if (letter < 'A' || letter > 'Z') return CString();
    number = letter - 'A' + 1;
  }
  char buffer[MAX_PATH * 2];
  if (!_getdcwd(number, buffer, sizeof buffer)) return CString();
  return CString(buffer);
}

BOOL CWgFileSystem::ChangeDirectory(const CString& path) {
  return !path.IsEmpty() && SetCurrentDirectoryA(path);
}

void CWgFileSystem::EndSearch() {
  if (m_searchHandle != INVALID_HANDLE_VALUE) FindClose(m_searchHandle);
  m_searchHandle = INVALID_HANDLE_VALUE;
  m_havePending = false;
}

CString CWgFileSystem::NextMatch() {
  QuietErrors quiet;
  while (m_searchHandle != INVALID_HANDLE_VALUE) {
    if (!m_havePending && !FindNextFileA(m_searchHandle, &m_findData)) {
      EndSearch();
      break;
    }
    m_havePending = false;
    if (Matches(m_findData, m_attributes)) return CString(m_findData.cFileName);
  }
  return CString();
}

CString CWgFileSystem::GetFirstFileName(const CString& mask, DWORD dwAttributes) {
  EndSearch();
  m_attributes = dwAttributes;
  {
    QuietErrors quiet;
    m_searchHandle = FindFirstFileA(mask, &m_findData);
  }
  m_havePending = m_searchHandle != INVALID_HANDLE_VALUE;
  return NextMatch();
}

CString CWgFileSystem::GetNextFileName() {
  return NextMatch();
}

CStringList* CWgFileSystem::GetFileList(const CString& folder, const CString& mask, BOOL bRecursive,
                                        DWORD dwAttributes) {
  CStringList* list = new CStringList;
  CString base = WithSeparator(folder);
  Collect(base, mask, dwAttributes, *list);
  if (bRecursive) {
    CStringList subfolders;
    Collect(base, "*.*", FILE_ATTRIBUTE_DIRECTORY, subfolders);
    for (POSITION pos = subfolders.GetHeadPosition(); pos;) {
      const CString& subfolder = subfolders.GetNext(pos);
      // A link may lead back up the tree; only real subfolders are searched.
      if (GetFileAttributesA(subfolder) & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      CStringList* below = GetFileList(subfolder, mask, TRUE, dwAttributes);
      for (POSITION p = below->GetHeadPosition(); p;) list->AddTail(below->GetNext(p));
      delete below;
    }
  }
  return list;
}

CStringList* CWgFileSystem::GetDirectoryList(const CString& folder) {
  CStringList found;
  Collect(WithSeparator(folder), "*.*", FILE_ATTRIBUTE_DIRECTORY, found);
  CStringList* list = new CStringList;
  for (POSITION pos = found.GetHeadPosition(); pos;) list->AddTail(found.GetNext(pos) + "\\");
  return list;
}
