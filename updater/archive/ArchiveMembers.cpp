// Members read through the layer's file table: finding an archive in a file, walking its
// headers and checking a member's stored bytes against its checksum without decoding them.
#include <new>

#include "foundation/codec/CrusherCrc.h"
#include "foundation/update/ArqFileTable.h"
#include "foundation/update/ArqSpan.h"
#include "updater/archive/ArchiveLayer.h"
#include "updater/archive/ArchiveState.h"

int64_t FindArchiveStart(int handle) {
  if (ArqFileStatus(handle) < 0 || ArqFileSeek(handle, 0, SEEK_SET) != 0) return ARQ_BAD_ARGUMENT;
  ArqHandleSource source(handle);
  return ArqFindStart(source);
}

int64_t FindArchiveStart(const char* name) {
  if (!name || !*name) return ARQ_BAD_ARGUMENT;
  int handle = ArqFileOpen(name, arq::kOpenRead);
  if (handle < 0) return ARQ_SEARCH_FAILED;
  int64_t start = FindArchiveStart(handle);
  ArqFileClose(handle);
  return start;
}

namespace {

int ReadHeaderAt(ArchiveMemberContext& c, int64_t at) {
  c.hasMember = false;
  if (ArqFileSeek(c.handle, at, SEEK_SET) != at) return ARQ_BAD_HEADER;
  ArqHandleSource source(c.handle);
  int status = ArqReadHeader(source, c.header);
  if (status < 0) return status;
  c.dataStart = ArqFileTell(c.handle);
  c.hasMember = true;
  return 0;
}

}  // namespace

int ReadFirstMember(ArchiveMemberContext& c) {
  if (ArqFileStatus(c.handle) < 0) return ARQ_BAD_FILE;
  int64_t start = FindArchiveStart(c.handle);
  if (start < 0) return static_cast<int>(start);
  return ReadHeaderAt(c, start);
}

int ReadNextMember(ArchiveMemberContext& c) {
  if (ArqFileStatus(c.handle) < 0) return ARQ_BAD_FILE;
  if (!c.hasMember) return ARQ_END;
  return ReadHeaderAt(c, c.dataStart + c.header.storedSize);
}

// A member continued on the next diskettes is read across them: the file is closed under its
// handle while the user changes the diskette (event 40), and opened again afterwards. Giving
// up there ends the test with 30. Afterwards the context holds the member's last part, so the
// next header is read from the last diskette.
int TestMember(ArchiveMemberContext& c) {
  if (ArqFileStatus(c.handle) < 0) return ARQ_BAD_FILE;
  if (!c.hasMember) return ARQ_END;
  // A smaller buffer when memory is short; below 512 bytes the test gives up.
  int size = 8192;
  char* buffer = nullptr;
  while (size >= 512 && !(buffer = new (std::nothrow) char[size])) size /= 2;
  if (!buffer) return ARQ_NO_MEMORY;
  if (ArqFileSeek(c.handle, c.dataStart, SEEK_SET) != c.dataStart) {
    delete[] buffer;
    return ARQ_BAD_FILE;
  }
  ArqHandleSource volume(c.handle);
  int handle = c.handle;
  const std::string& name = c.header.name;
  ArqSpanningSource source(volume, c.header, [handle, &name](uint32_t next) {
    if (ArqFileSuspend(handle) < 0) return static_cast<int>(ARQ_BAD_FILE);
    int answer = archive_layer::Notify(ARCHIVE_EVENT_DISKETTE, next + 1, name.c_str());
    int status = ArqFileResume(handle, false);
    return answer == kArchiveGiveUp ? answer : status;
  });
  uint32_t crc = 0xFFFFFFFFu;
  int64_t left = c.header.storedSize, done = 0;
  int status = 0;
  while (left > 0) {
    int want = static_cast<int>(left < size ? left : size);
    int got = source.Read(buffer, want);
    if (got != want) {
      status = got == ARQ_GAVE_UP ? kArchiveGiveUp : got < 0 ? got : ARQ_DATA_SHORT;
      break;
    }
    crc = CrusherCrcUpdate(crc, buffer, static_cast<size_t>(got));
    left -= got;
    done += got;
    archive_layer::Notify(ARCHIVE_EVENT_PROGRESS, done, c.header.name.c_str());
  }
  delete[] buffer;
  if (status == 0 && source.Part().volume != c.header.volume) {
    int64_t end = ArqFileTell(c.handle);
    c.header = source.Part();
    c.dataStart = end - c.header.storedSize;
  }
  ArqFileSeek(c.handle, c.dataStart, SEEK_SET);
  if (status != 0) return status;
  return ~crc == c.header.crc ? 0 : ARQ_BAD_CRC;
}
