// The archive layer's table of open files: 20 slots (handles 0..19), each with the runtime's
// file stream, a copy of the file name and a state word. Handles, not streams, travel through
// the layer, so a volume change can close a file and open it again under the same handle.
// Knows no operating system beyond the C runtime.
#pragma once

#include <cstdint>
#include <cstdio>

#include "foundation/update/ArqFormat.h"

namespace arq {
constexpr int kFileSlots = 20;
// Open bits, combined.
constexpr int kOpenRead = 1;
constexpr int kOpenWrite = 2;
constexpr int kOpenAppend = 4;
constexpr int kOpenCreate = 8;
// State word bits.
constexpr int kStateOpen = 1;
constexpr int kStateSuspended = 4;  // closed for a volume change, opened again on resume
}  // namespace arq

// A handle 0..19, or ARQ_BAD_ARGUMENT (no open bit, no name), ARQ_CANNOT_WRITE (the runtime
// cannot open it), ARQ_NO_MEMORY (no room for the name's copy), ARQ_NO_HANDLE (all in use).
// The runtime's mode follows the bits: create "w+"/"w", append "a+"/"a", write "w", read and
// write "r+", read "r"; always binary.
int ArqFileOpen(const char* name, int bits);
// 0, or ARQ_BAD_FILE for a handle outside 0..19 or not open.
int ArqFileClose(int handle);
// The state word, or ARQ_BAD_FILE.
int ArqFileStatus(int handle);
// The new position or -1 (bad handle, or the runtime refused); whence as for fseek.
int64_t ArqFileSeek(int handle, int64_t offset, int whence);
int64_t ArqFileTell(int handle);
// The stream and the name of an open, not suspended handle; null otherwise.
FILE* ArqFileStream(int handle);
const char* ArqFileName(int handle);
// Closes the stream but keeps the slot (the diskette is changed under it), and opens the same
// name again with read (and write, when asked). 0 or a status.
int ArqFileSuspend(int handle);
int ArqFileResume(int handle, bool write);
// Closes every open handle (the layer's shutdown).
void ArqFileCloseAll();

// Byte sources and sinks over a handle.
class ArqHandleSource : public ArqSource {
 public:
  explicit ArqHandleSource(int handle) : handle_(handle) {}
  int Read(void* buffer, int size) override;
  bool Skip(int64_t count) override;
  int64_t Position() const override { return ArqFileTell(handle_); }

 private:
  int handle_;
};

class ArqHandleSink : public ArqSink {
 public:
  explicit ArqHandleSink(int handle) : handle_(handle) {}
  int Write(const void* data, int size) override;

 private:
  int handle_;
};
