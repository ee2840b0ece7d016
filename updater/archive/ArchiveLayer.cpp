#include "updater/archive/ArchiveLayer.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/codec/Crusher.h"
#include "foundation/update/ArqFileTable.h"
#include "updater/archive/ArchiveFiles.h"
#include "updater/archive/ArchiveState.h"

namespace archive_layer {

ArchiveState g_state;
ArchiveEventProc g_event = nullptr;
ArchiveOverwriteProc g_overwrite = nullptr;

ArchiveState& State() {
  return g_state;
}

ArchiveOverwriteProc OverwriteQuestion() {
  return g_overwrite;
}

int Notify(int code, int64_t number, const char* text) {
  return NotifyArchive(text, code, number);
}

ArchiveEventProc EventCallback() {
  return g_event;
}

std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string(".\\") : path.substr(0, cut + 1);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace archive_layer

using namespace archive_layer;

namespace {

unsigned g_tempCounter = 0;

bool EndsWithNoCase(const std::string& s, const char* tail) {
  size_t n = std::strlen(tail);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != tail[i]) return false;
  return true;
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
  // An archive on a diskette is rewritten on a fixed drive when a folder is set for that.
  bool elsewhere = !TempFolder().empty() && CurrentArchiveDrive().IsRemovable(s.name);
  s.tempName = MakeTempName(elsewhere ? TempFolder() : FolderOf(s.name), "CX");
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

// The archive lies on a removable drive and its rewritten copy on another one: it is written
// across diskettes. An archive behind a program is never spanned.
bool WritesOntoDiskettes() {
  ArchiveState& s = g_state;
  return s.start == 0 && !TempFolder().empty() && CurrentArchiveDrive().IsRemovable(s.name) &&
         s.tempName.compare(0, TempFolder().size(), TempFolder()) == 0;
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
  s.archive =
      CreateFileA(s.name.c_str(), GENERIC_READ | (readOnly ? 0 : GENERIC_WRITE), FILE_SHARE_READ,
                  nullptr, readOnly ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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
    bool keepTemp = false;
    if (s.changed && !s.failed && WritesOntoDiskettes()) {
      // The archive goes onto as many diskettes as it needs. Should that fail, the complete
      // copy stays on the fixed drive: the diskette's archive is not whole any more.
      status = WriteSpannedArchive(s.tempName, s.name);
      keepTemp = status < 0;
      empty = false;
    } else if (s.changed && !s.failed) {
      // One step: the complete copy replaces the archive, or the archive stays as it was.
      // From the temporary folder on another drive the copy is copied across.
      if (MoveFileExA(s.tempName.c_str(), s.name.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH | MOVEFILE_COPY_ALLOWED))
        empty = false;
      else
        status = ARQ_CANNOT_WRITE;
    }
    if (!keepTemp) DeleteFileA(s.tempName.c_str());  // gone already when it was moved
  }
  if (empty) DeleteFileA(s.name.c_str());
  ResetState();
  Notify(ARCHIVE_EVENT_CLOSED, status);
  return status;
}

// Two passes: every member's stored bytes against its checksum through the file table, then
// every member decoded to its size (the first pass alone for an archive across diskettes). An
// encrypted member without the password cannot be installed, so it fails the test.
int TestArchive(const char* path) {
  if (!path || !*path) return ARQ_BAD_ARGUMENT;
  int handle = ArqFileOpen(path, arq::kOpenRead);
  if (handle < 0) return ARQ_BAD_FILE;
  ArchiveMemberContext member;
  member.handle = handle;
  int status = ReadFirstMember(member);
  bool spanned = false;
  while (status == 0) {
    spanned = spanned || (member.header.flags & arq::kFlagContinued);
    status = TestMember(member);
    if (status == 0) status = ReadNextMember(member);
  }
  // An archive across diskettes is checked by its checksums alone: decoding it again would ask
  // for every diskette a second time.
  if (status == ARQ_END && spanned) status = 0;
  int64_t start = status == ARQ_END ? FindArchiveStart(handle) : -1;
  if (start >= 0 && ArqFileSeek(handle, start, SEEK_SET) == start) {
    ArqHandleSource source(handle);
    status = ArqTestArchive(source, nullptr, nullptr, Password());
  }
  ArqFileClose(handle);
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
  int status = ArqTestArchive(source, CollectName, &names, Password());
  CloseHandle(f);
  return status;
}
