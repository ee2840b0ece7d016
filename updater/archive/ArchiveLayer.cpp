#include "updater/archive/ArchiveLayer.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "foundation/Crusher.h"
#include "updater/archive/ArchiveFiles.h"

namespace {

enum SelectionKind { kSatisfied = 0, kAdd = 1, kDelete = 2, kExtract = 3 };

struct Selection {
  int kind;
  std::string pattern;
  std::string folder;  // extraction: ends in "\"
};

struct ArchiveState {
  bool open = false;
  std::string name;
  HANDLE archive = INVALID_HANDLE_VALUE;
  HANDLE temp = INVALID_HANDLE_VALUE;
  std::string tempName;
  int64_t start = 0;  // offset of the first member (bytes before it belong to another file)
  bool changed = false;
  bool failed = false;
  int mode = 0;
  std::vector<Selection> selections;
};

ArchiveState g_state;
ArchiveEventProc g_event = nullptr;
ArchiveOverwriteProc g_overwrite = nullptr;
unsigned g_tempCounter = 0;

int Notify(int code, int64_t number = 0, const char* text = nullptr) {
  return g_event ? g_event(code, number, text) : 0;
}

bool EndsWithNoCase(const std::string& s, const char* tail) {
  size_t n = std::strlen(tail);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != tail[i]) return false;
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string(".\\") : path.substr(0, cut + 1);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

void CloseHandleOf(HANDLE& h) {
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  h = INVALID_HANDLE_VALUE;
}

// The archive's first member: at 0 for an .arq file, else found by its magic.
int FindStart(const std::string& name, int64_t& start) {
  start = 0;
  if (EndsWithNoCase(name, ".arq")) return 0;
  HANDLE f = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 0;  // a new archive
  CArchiveFileSource source(f);
  int64_t found = ArqFindStart(source);
  bool empty = ArchiveFileSize(f) == 0;
  CloseHandle(f);
  if (found < 0 && !empty) return static_cast<int>(found);
  start = found < 0 ? 0 : found;
  return 0;
}

int OpenTempCopy() {
  ArchiveState& s = g_state;
  s.tempName = MakeTempName(FolderOf(s.name), "CX");
  if (!s.tempName.empty())
    s.temp = CreateFileA(s.tempName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (s.temp == INVALID_HANDLE_VALUE) return ARQ_NO_TEMP;
  // Bytes in front of the archive (a program it is appended to) travel with it.
  CArchiveFileSource source(s.archive);
  CArchiveFileSink sink(s.temp);
  if (!source.Seek(0) || CopyArchiveBytes(source, sink, s.start) < 0) return ARQ_NO_TEMP;
  return 0;
}

void ResetState() {
  CloseHandleOf(g_state.archive);
  CloseHandleOf(g_state.temp);
  g_state = ArchiveState();
}

}  // namespace

// ---- names ----

std::string MakeTempName(const std::string& folder, const std::string& prefix) {
  std::string stem = prefix.empty() ? std::string("CX") : prefix.substr(0, 3);
  std::string base = folder;
  if (!base.empty() && base.back() != '\\' && base.back() != ':') base += '\\';
  for (int tries = 0; tries < 65534; ++tries) {
    if (++g_tempCounter > 99999) g_tempCounter = 1;
    char number[16];
    std::snprintf(number, sizeof number, "%05u.$$$", g_tempCounter);
    std::string name = base + stem + number;
    if (GetFileAttributesA(name.c_str()) == INVALID_FILE_ATTRIBUTES) return name;
  }
  return std::string();
}

bool IsArchiveName(const char* name) {
  if (!name) return false;
  const char* dot = std::strrchr(name, '.');
  return dot && !std::strpbrk(dot, "\\/:");
}

int SetArchiveCallback(int which, void* function) {
  if (which == 100)
    g_event = reinterpret_cast<ArchiveEventProc>(function);
  else if (which == 101)
    g_overwrite = reinterpret_cast<ArchiveOverwriteProc>(function);
  else
    return ARQ_BAD_ARGUMENT;
  return 0;
}

// ---- open, select, close ----

int OpenArchive(const char* name, int mode) {
  if (!name || !*name) return ARQ_BAD_ARGUMENT;
  if (g_state.open) return ARQ_ALREADY_OPEN;
  ArchiveState& s = g_state;
  s.name = name;
  if (!IsArchiveName(name)) s.name += ".arq";
  if (s.name.size() >= MAX_PATH) return ARQ_PATH_TOO_LONG;
  int status = FindStart(s.name, s.start);
  if (status < 0) return status;
  s.mode = mode;
  bool readOnly = mode & ARCHIVE_READ_ONLY;
  s.archive = CreateFileA(s.name.c_str(), GENERIC_READ | (readOnly ? 0 : GENERIC_WRITE),
                          FILE_SHARE_READ, nullptr, readOnly ? OPEN_EXISTING : OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (s.archive == INVALID_HANDLE_VALUE) {
    ResetState();
    return ARQ_BAD_FILE;
  }
  if (!readOnly && (status = OpenTempCopy()) < 0) {
    std::string temp = s.tempName;
    ResetState();
    if (!temp.empty()) DeleteFileA(temp.c_str());
    return status;
  }
  s.open = true;
  Notify(ARCHIVE_EVENT_OPENED);
  return 0;
}

static int Select(int kind, const char* pattern, const char* folder) {
  if (!g_state.open) return ARQ_NOT_OPEN;
  if (!pattern || !*pattern) return ARQ_BAD_ARGUMENT;
  std::string where;
  if (kind == kExtract) {
    if (!folder || !*folder) return ARQ_BAD_ARGUMENT;
    where = folder;
    if (where.back() != '\\' && where.back() != ':') where += '\\';
  }
  g_state.selections.push_back({kind, pattern, where});
  return 0;
}

int SelectAdd(const char* pattern) {
  return Select(kAdd, pattern, nullptr);
}
int SelectDelete(const char* pattern) {
  return Select(kDelete, pattern, nullptr);
}
int SelectExtract(const char* pattern, const char* folder) {
  return Select(kExtract, pattern, folder);
}

int CloseArchive() {
  if (!g_state.open) return ARQ_NOT_OPEN;
  ArchiveState& s = g_state;
  bool empty = ArchiveFileSize(s.archive) == 0;
  CloseHandleOf(s.archive);
  CloseHandleOf(s.temp);
  int status = 0;
  if (!s.tempName.empty()) {
    if (s.changed && !s.failed) {
      // One step: the complete copy replaces the archive, or the archive stays as it was.
      if (MoveFileExA(s.tempName.c_str(), s.name.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        empty = false;
      else
        status = ARQ_CANNOT_WRITE;
    }
    DeleteFileA(s.tempName.c_str());  // gone already when it was moved
  }
  if (empty) DeleteFileA(s.name.c_str());
  ResetState();
  Notify(ARCHIVE_EVENT_CLOSED, status);
  return status;
}

// ---- processing ----

namespace {

struct Processing {
  std::set<std::string> added;  // lower-case names written by this pass
  int failure = 0;

  void Fail(int status) {
    if (!failure) failure = status;
  }
};

bool ReadWholeFile(const std::string& path, std::string& data, FILETIME& time, DWORD& attributes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  int64_t size = ArchiveFileSize(f);
  bool ok = size >= 0 && size < 0x7FFFFFFF;
  data.assign(ok ? static_cast<size_t>(size) : 0, '\0');
  DWORD got = 0;
  if (ok && size > 0)
    ok = ReadFile(f, data.data(), static_cast<DWORD>(size), &got, nullptr) && got == size;
  BY_HANDLE_FILE_INFORMATION info;
  if (ok && GetFileInformationByHandle(f, &info)) {
    time = info.ftLastWriteTime;
    attributes = info.dwFileAttributes;
  }
  CloseHandle(f);
  return ok;
}

bool SameFile(const std::string& a, const std::string& b) {
  char fa[MAX_PATH], fb[MAX_PATH];
  if (!GetFullPathNameA(a.c_str(), MAX_PATH, fa, nullptr) ||
      !GetFullPathNameA(b.c_str(), MAX_PATH, fb, nullptr))
    return false;
  return lstrcmpiA(fa, fb) == 0;
}

int AddFile(const std::string& path, const std::string& name, Processing& p) {
  std::string data;
  FILETIME time{};
  DWORD attributes = 0;
  if (!ReadWholeFile(path, data, time, attributes)) return ARQ_CANNOT_WRITE;
  ArqMemberHeader h;
  h.name = name;
  h.time = UnixTimeOf(time);
  h.mode = (attributes & FILE_ATTRIBUTE_READONLY) ? 0x8124 : 0x81A4;
  h.flags = ArqTextFlag(data.data(), data.size());
  CArchiveFileSink sink(g_state.temp);
  int status = ArqWriteMember(sink, h, data.data(), data.size());
  if (status < 0) return status;
  p.added.insert(Lower(name));
  g_state.changed = true;
  return 0;
}

int AddMatches(const Selection& sel, Processing& p) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA(sel.pattern.c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  std::string folder = FolderOf(sel.pattern);
  if (sel.pattern.find_first_of("\\/:") == std::string::npos) folder.clear();
  int status = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    std::string path = folder + found.cFileName;
    if (SameFile(path, g_state.name) || SameFile(path, g_state.tempName)) continue;
    if (!ArqIsSafeName(found.cFileName)) continue;
    status = AddFile(path, found.cFileName, p);
  } while (status == 0 && FindNextFileA(h, &found));
  FindClose(h);
  if (status == 0) Notify(ARCHIVE_EVENT_ADDED, 0, sel.pattern.c_str());
  return status;
}

Selection* FirstMatch(const std::string& member) {
  bool caseSensitive = g_state.mode & ARCHIVE_KEEP_PATHS;
  for (Selection& sel : g_state.selections) {
    if (sel.kind != kDelete && sel.kind != kExtract) continue;
    if (ArqMatchPattern(sel.pattern.c_str(), member.c_str(), caseSensitive)) return &sel;
  }
  return nullptr;
}

std::string TargetOf(const Selection& sel, const std::string& member) {
  std::string relative = (g_state.mode & ARCHIVE_KEEP_PATHS) ? member : ArqBaseName(member);
  std::replace(relative.begin(), relative.end(), '/', '\\');
  return sel.folder + relative;
}

// May the target be written? Existing files go by the overwrite question; a read-only one
// gets one chance through the event callback.
bool MayWrite(const std::string& target, int& failure) {
  DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  if (attributes & FILE_ATTRIBUTE_READONLY) {
    Notify(ARCHIVE_EVENT_READ_ONLY, 0, target.c_str());
    attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
      failure = ARQ_CANNOT_WRITE;
      return false;
    }
  }
  return !g_overwrite || g_overwrite(target.c_str()) != 0;
}

// Decodes the member into a temporary file beside the target, then moves it over the target in
// one step.
int ExtractMember(CArchiveFileSource& source, const ArqMemberHeader& h, const Selection& sel) {
  if (!ArqIsSafeName(h.name)) {
    Notify(ARCHIVE_EVENT_UNSAFE_NAME, ARQ_UNSAFE_NAME, h.name.c_str());
    return ARQ_UNSAFE_NAME;
  }
  std::string target = TargetOf(sel, h.name);
  std::string folder = FolderOf(target);
  if (target.size() >= MAX_PATH || folder.size() + 12 >= MAX_PATH) return ARQ_PATH_TOO_LONG;
  if (Notify(ARCHIVE_EVENT_EXTRACT, 0, target.c_str()) != 0) return 0;
  int failure = 0;
  if (!MayWrite(target, failure)) return failure;
  if (h.flags & arq::kFlagEncrypted) {
    Notify(ARCHIVE_EVENT_ENCRYPTED, ARQ_NEWER_FORMAT, h.name.c_str());
    return ARQ_NEWER_FORMAT;
  }
  if (!MakeFolders(folder)) return ARQ_CANNOT_WRITE;
  int64_t free = FreeBytesAt(folder);
  if (free >= 0 && free < static_cast<int64_t>(h.uncompressedSize)) {
    Notify(ARCHIVE_EVENT_NO_SPACE, ARQ_NO_SPACE, target.c_str());
    return ARQ_NO_SPACE;
  }
  std::string temp = MakeTempName(folder, "CX");
  HANDLE out = temp.empty() ? INVALID_HANDLE_VALUE
                            : CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return ARQ_CANNOT_WRITE;
  CArchiveFileSink sink(out);
  int status = ArqDecodeMember(source, h, &sink);
  FILETIME time = FileTimeOf(h.time);
  if (status == 0 && h.time) SetFileTime(out, nullptr, nullptr, &time);
  CloseHandle(out);
  if (status < 0) {
    DeleteFileA(temp.c_str());
    Notify(ARCHIVE_EVENT_DONE, status, h.name.c_str());
    return status;
  }
  if (!MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    Notify(ARCHIVE_EVENT_RENAME_FAILED, ARQ_CANNOT_WRITE, target.c_str());
    DeleteFileA(temp.c_str());
    return ARQ_CANNOT_WRITE;
  }
  if (h.mode && !(h.mode & 0x80)) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
  return 0;
}

// One existing member: deleted, extracted, and copied on into the rewritten archive unless
// deleted or replaced by an added file of the same name.
int HandleMember(CArchiveFileSource& source, const ArqMemberHeader& h, Processing& p) {
  bool rewriting = g_state.temp != INVALID_HANDLE_VALUE;
  int64_t dataStart = source.Position();
  Selection* sel = FirstMatch(h.name);
  bool keep = true;
  if (p.added.count(Lower(h.name))) {
    keep = false;
    g_state.changed = true;
  } else if (sel && sel->kind == kDelete) {
    keep = false;
    g_state.changed = true;
  } else if (sel && sel->kind == kExtract) {
    int status = ExtractMember(source, h, *sel);
    if (status < 0) p.Fail(status);
  }
  if (!rewriting || !keep) return source.Seek(dataStart) && source.Skip(h.storedSize)
                                     ? 0
                                     : ARQ_DATA_SHORT;
  if (!source.Seek(dataStart)) return ARQ_DATA_SHORT;
  CArchiveFileSink sink(g_state.temp);
  std::string head = ArqFormatHeader(h);
  int status = sink.Write(head.data(), static_cast<int>(head.size()));
  return status < 0 ? status : CopyArchiveBytes(source, sink, h.storedSize);
}

int WalkMembers(Processing& p) {
  ArchiveState& s = g_state;
  if (ArchiveFileSize(s.archive) <= s.start) return 0;  // a new, empty archive
  CArchiveFileSource source(s.archive);
  if (!source.Seek(s.start)) return ARQ_BAD_FILE;
  for (;;) {
    ArqMemberHeader h;
    int status = ArqReadHeader(source, h);
    if (status == ARQ_END) return 0;
    if (status < 0) return status;
    status = HandleMember(source, h, p);
    if (status < 0) return status;
  }
}

}  // namespace

int ProcessArchive() {
  ArchiveState& s = g_state;
  if (!s.open) return ARQ_NOT_OPEN;
  bool readOnly = s.mode & ARCHIVE_READ_ONLY;
  if (!readOnly && s.temp == INVALID_HANDLE_VALUE) return ARQ_NO_TEMP;
  Processing p;
  bool adding = std::any_of(s.selections.begin(), s.selections.end(),
                            [](const Selection& sel) { return sel.kind == kAdd; });
  if (adding && readOnly) return ARQ_BAD_ARGUMENT;
  bool ownCodec = adding && CrusherInit() == CRUSHER_OK;
  for (const Selection& sel : s.selections) {
    if (sel.kind != kAdd) continue;
    int status = AddMatches(sel, p);
    if (status < 0) {
      p.Fail(status);
      break;
    }
  }
  if (ownCodec) CrusherShutdown();
  if (!p.failure) {
    int status = WalkMembers(p);
    if (status < 0) p.Fail(status);
  }
  if (s.changed && !p.failure) {
    CArchiveFileSink sink(s.temp);
    p.Fail(ArqWriteEnd(sink));
  }
  if (p.failure) s.failed = true;
  Notify(ARCHIVE_EVENT_DONE, p.failure);
  return p.failure;
}

int TestArchive(const char* path) {
  if (!path || !*path) return ARQ_BAD_ARGUMENT;
  int64_t start = 0;
  int status = FindStart(path, start);
  if (status < 0) return status;
  HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return ARQ_BAD_FILE;
  CArchiveFileSource source(f);
  status = source.Seek(start) ? ArqTestArchive(source) : ARQ_BAD_FILE;
  CloseHandle(f);
  return status;
}

namespace {
bool CollectName(const ArqMemberHeader& h, void* user) {
  static_cast<std::vector<std::string>*>(user)->push_back(h.name);
  return true;
}
}  // namespace

int ListArchive(const char* path, std::vector<std::string>& names) {
  names.clear();
  if (!path || !*path) return ARQ_BAD_ARGUMENT;
  HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return ARQ_BAD_FILE;
  CArchiveFileSource source(f);
  int status = ArqTestArchive(source, CollectName, &names);
  CloseHandle(f);
  return status;
}
