// Sources and sinks of the archive format over Win32 file handles, and small file helpers of
// the archive layer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "foundation/update/ArqFormat.h"

class CArchiveFileSource : public ArqSource {
 public:
  explicit CArchiveFileSource(HANDLE file) : file_(file) {}
  int Read(void* buffer, int size) override;
  bool Skip(int64_t count) override;
  int64_t Position() const override;
  bool Seek(int64_t position);
  // Reads another file (the next diskette's) from its start.
  void Reset(HANDLE file) { file_ = file; }

 private:
  HANDLE file_;
};

class CArchiveFileSink : public ArqSink {
 public:
  explicit CArchiveFileSink(HANDLE file) : file_(file) {}
  int Write(const void* data, int size) override;

 private:
  HANDLE file_;
};

// Copies count bytes from the source to the sink; ARQ_DATA_SHORT when the source ends first.
int CopyArchiveBytes(ArqSource& source, ArqSink& sink, int64_t count);
int64_t ArchiveFileSize(HANDLE file);
// Free bytes for the caller on the drive of the folder, in 64 bits; -1 when unknown.
int64_t FreeBytesAt(const std::string& folder);
// Creates every missing level of a folder path (ending in "\").
bool MakeFolders(const std::string& folder);
// Seconds since 1970 of a file time, and back.
uint32_t UnixTimeOf(const FILETIME& time);
FILETIME FileTimeOf(uint32_t unixTime);
