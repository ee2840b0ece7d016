#include "updater/archive/ArchiveFiles.h"

#include <algorithm>
#include <vector>

int CArchiveFileSource::Read(void* buffer, int size) {
  DWORD got = 0;
  if (size <= 0) return 0;
  if (!ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr)) return ARQ_DATA_SHORT;
  return static_cast<int>(got);
}

bool CArchiveFileSource::Skip(int64_t count) {
  int64_t at = Position();
  LARGE_INTEGER size;
  if (count < 0 || at < 0 || !GetFileSizeEx(file_, &size)) return false;
  if (count > size.QuadPart - at) {
    Seek(size.QuadPart);
    return false;
  }
  return Seek(at + count);
}

int64_t CArchiveFileSource::Position() const {
  LARGE_INTEGER zero{}, at{};
  return SetFilePointerEx(file_, zero, &at, FILE_CURRENT) ? at.QuadPart : -1;
}

bool CArchiveFileSource::Seek(int64_t position) {
  LARGE_INTEGER to;
  to.QuadPart = position;
  return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) != 0;
}

int CArchiveFileSink::Write(const void* data, int size) {
  DWORD put = 0;
  if (size <= 0) return 0;
  if (!WriteFile(file_, data, static_cast<DWORD>(size), &put, nullptr) ||
      put != static_cast<DWORD>(size))
    return ARQ_CANNOT_WRITE;
  return 0;
}

int CopyArchiveBytes(ArqSource& source, ArqSink& sink, int64_t count) {
  std::vector<char> buffer(65536);
  while (count > 0) {
    int want = static_cast<int>(std::min<int64_t>(count, static_cast<int64_t>(buffer.size())));
    int got = source.Read(buffer.data(), want);
    if (got <= 0) return ARQ_DATA_SHORT;
    int status = sink.Write(buffer.data(), got);
    if (status < 0) return status;
    count -= got;
  }
  return 0;
}

int64_t ArchiveFileSize(HANDLE file) {
  LARGE_INTEGER size;
  return GetFileSizeEx(file, &size) ? size.QuadPart : -1;
}

int64_t FreeBytesAt(const std::string& folder) {
  ULARGE_INTEGER free{};
  if (!GetDiskFreeSpaceExA(folder.c_str(), &free, nullptr, nullptr)) return -1;
  return free.QuadPart > static_cast<ULONGLONG>(INT64_MAX) ? INT64_MAX
                                                           : static_cast<int64_t>(free.QuadPart);
}

bool MakeFolders(const std::string& folder) {
  for (size_t i = 0; i < folder.size(); ++i) {
    if (folder[i] != '\\' || i == 0 || folder[i - 1] == ':') continue;
    std::string level = folder.substr(0, i);
    if (GetFileAttributesA(level.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !CreateDirectoryA(level.c_str(), nullptr))
      return false;
  }
  return true;
}

namespace {
constexpr uint64_t kEpochDifference = 11644473600ULL;  // 1601 to 1970, in seconds
}

uint32_t UnixTimeOf(const FILETIME& time) {
  uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  uint64_t seconds = ticks / 10000000ULL;
  if (seconds < kEpochDifference) return 0;
  return static_cast<uint32_t>(std::min<uint64_t>(seconds - kEpochDifference, 0xFFFFFFFFu));
}

FILETIME FileTimeOf(uint32_t unixTime) {
  uint64_t ticks = (unixTime + kEpochDifference) * 10000000ULL;
  FILETIME t;
  t.dwLowDateTime = static_cast<DWORD>(ticks);
  t.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return t;
}
