// The archive layer's one pass over an archive: additions, then every member deleted,
// extracted or copied on into the rewritten archive.
#include <windows.h>

#include <algorithm>
#include <set>

#include "foundation/codec/Crusher.h"
#include "foundation/update/ArqCipher.h"
#include "foundation/update/ArqSpan.h"
#include "updater/archive/ArchiveFiles.h"
#include "updater/archive/ArchiveLayer.h"
#include "updater/archive/ArchiveState.h"

using namespace archive_layer;

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
  CArchiveFileSink sink(State().temp);
  int status = ArqWriteMember(sink, h, data.data(), data.size(), Password());
  if (status < 0) return status;
  p.added.insert(Lower(name));
  State().changed = true;
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
    if (SameFile(path, State().name) || SameFile(path, State().tempName)) continue;
    if (!ArqIsSafeName(found.cFileName)) continue;
    status = AddFile(path, found.cFileName, p);
  } while (status == 0 && FindNextFileA(h, &found));
  FindClose(h);
  if (status == 0) Notify(ARCHIVE_EVENT_ADDED, 0, sel.pattern.c_str());
  return status;
}

Selection* FirstMatch(const std::string& member) {
  bool caseSensitive = State().mode & ARCHIVE_KEEP_PATHS;
  for (Selection& sel : State().selections) {
    if (sel.kind != kDelete && sel.kind != kExtract) continue;
    if (ArqMatchPattern(sel.pattern.c_str(), member.c_str(), caseSensitive)) return &sel;
  }
  return nullptr;
}

std::string TargetOf(const Selection& sel, const std::string& member) {
  std::string relative = (State().mode & ARCHIVE_KEEP_PATHS) ? member : ArqBaseName(member);
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
  return !OverwriteQuestion() || OverwriteQuestion()(target.c_str()) != 0;
}

// Decodes the member into a temporary file beside the target, then moves it over the target in
// one step.
int ExtractMember(ArqSource& source, const ArqMemberHeader& h, const Selection& sel) {
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
  // Without its password an encrypted member is passed over, not failed.
  if ((h.flags & arq::kFlagEncrypted) && !Password()) {
    Notify(ARCHIVE_EVENT_ENCRYPTED, ARQ_WRONG_PASSWORD, h.name.c_str());
    return 0;
  }
  if (!MakeFolders(folder)) return ARQ_CANNOT_WRITE;
  int64_t free = CurrentArchiveDrive().FreeBytes(folder);
  // A continued member's stored bytes are gathered beside it too.
  int64_t need = static_cast<int64_t>(h.uncompressedSize) +
                 ((h.flags & arq::kFlagContinued) ? static_cast<int64_t>(h.storedSize) : 0);
  if (free >= 0 && free < need) {
    Notify(ARCHIVE_EVENT_NO_SPACE, ARQ_NO_SPACE, target.c_str());
    return ARQ_NO_SPACE;
  }
  std::string temp = MakeTempName(folder, "CX");
  HANDLE out = temp.empty() ? INVALID_HANDLE_VALUE
                            : CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return ARQ_CANNOT_WRITE;
  CArchiveFileSink file(out);
  ArqTextSink text(file);
  bool convert = (State().mode & ARCHIVE_TEXT) && (h.flags & arq::kFlagText);
  ArqSink& sink = convert ? static_cast<ArqSink&>(text) : file;
  int status = ArqDecodeMember(source, h, &sink, Password());
  FILETIME time = FileTimeOf(h.time);
  if (status == 0 && h.time) SetFileTime(out, nullptr, nullptr, &time);
  CloseHandle(out);
  if (status == ARQ_WRONG_PASSWORD) {
    DeleteFileA(temp.c_str());
    Notify(ARCHIVE_EVENT_ENCRYPTED, status, h.name.c_str());
    return 0;
  }
  if (status < 0) {
    DeleteFileA(temp.c_str());
    Notify(ARCHIVE_EVENT_DONE, status, h.name.c_str());
    return status;
  }
  if (!MoveFileExA(temp.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
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
  bool rewriting = State().temp != INVALID_HANDLE_VALUE;
  int64_t dataStart = source.Position();
  Selection* sel = FirstMatch(h.name);
  bool keep = true;
  if (p.added.count(Lower(h.name))) {
    keep = false;
    State().changed = true;
  } else if (sel && sel->kind == kDelete) {
    keep = false;
    State().changed = true;
  } else if (sel && sel->kind == kExtract) {
    int status = ExtractMember(source, h, *sel);
    if (status < 0) p.Fail(status);
  }
  if (!rewriting || !keep)
    return source.Seek(dataStart) && source.Skip(h.storedSize) ? 0 : ARQ_DATA_SHORT;
  if (!source.Seek(dataStart)) return ARQ_DATA_SHORT;
  CArchiveFileSink sink(State().temp);
  std::string head = ArqFormatHeader(h);
  int status = sink.Write(head.data(), static_cast<int>(head.size()));
  return status < 0 ? status : CopyArchiveBytes(source, sink, h.storedSize);
}

// Counts what a member's reading took, so that the rest can be passed over.
class CountingSource : public ArqSource {
 public:
  explicit CountingSource(ArqSource& inner) : inner_(inner) {}
  int Read(void* buffer, int size) override {
    int got = inner_.Read(buffer, size);
    if (got > 0) count += got;
    return got;
  }
  bool Skip(int64_t n) override {
    bool ok = inner_.Skip(n);
    if (ok) count += n;
    return ok;
  }
  int64_t Position() const override { return inner_.Position(); }
  int64_t count = 0;

 private:
  ArqSource& inner_;
};

// A member continued on the next diskette: read across the volumes, asking for each (event
// 40); the archive file is closed while the diskettes are changed. A spanned archive is only
// read: rewriting it would need every diskette twice.
int HandleSpannedMember(CArchiveFileSource& source, const ArqMemberHeader& h, Processing& p) {
  ArchiveState& s = State();
  bool rewriting = std::any_of(s.selections.begin(), s.selections.end(),
                               [](const Selection& sel) { return sel.kind != kExtract; });
  if (rewriting || !p.added.empty()) return ARQ_BAD_ARGUMENT;
  bool gaveUp = false;
  ArqSpanningSource spanning(source, h, [&s, &source, &h, &gaveUp](uint32_t volume) {
    CloseHandle(s.archive);
    s.archive = INVALID_HANDLE_VALUE;
    int answer = Notify(ARCHIVE_EVENT_DISKETTE, volume + 1, h.name.c_str());
    gaveUp = answer == kArchiveGiveUp;
    if (gaveUp) return answer;
    s.archive = CreateFileA(s.name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (s.archive == INVALID_HANDLE_VALUE) return static_cast<int>(ARQ_BAD_FILE);
    source.Reset(s.archive);
    return 0;
  });
  CountingSource counted(spanning);
  Selection* sel = FirstMatch(h.name);
  if (sel && sel->kind == kExtract) {
    int status = ExtractMember(counted, h, *sel);
    if (gaveUp) return ARQ_GAVE_UP;
    if (status < 0) p.Fail(status);
  }
  bool read = counted.Skip(h.storedSize - counted.count);
  if (gaveUp) return ARQ_GAVE_UP;
  return read ? 0 : ARQ_DATA_SHORT;
}

int WalkMembers(Processing& p) {
  ArchiveState& s = State();
  if (ArchiveFileSize(s.archive) <= s.start) return 0;  // a new, empty archive
  CArchiveFileSource source(s.archive);
  if (!source.Seek(s.start)) return ARQ_BAD_FILE;
  for (;;) {
    ArqMemberHeader h;
    int status = ArqReadHeader(source, h);
    if (status == ARQ_END) return 0;
    if (status < 0) return status;
    status = (h.flags & arq::kFlagContinued) ? HandleSpannedMember(source, h, p)
                                             : HandleMember(source, h, p);
    if (status < 0) return status;
  }
}

}  // namespace

int ProcessArchive() {
  ArchiveState& s = State();
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
