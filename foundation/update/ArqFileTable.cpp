#include "foundation/update/ArqFileTable.h"

#include <cstring>
#include <new>
#include <string>

namespace {

// 64-bit positions on every runtime.
#ifdef _WIN32
int SeekTo(FILE* f, int64_t offset, int whence) {
  return _fseeki64(f, offset, whence);
}
int64_t TellOf(FILE* f) {
  return _ftelli64(f);
}
#else
int SeekTo(FILE* f, int64_t offset, int whence) {
  return fseeko(f, static_cast<off_t>(offset), whence);
}
int64_t TellOf(FILE* f) {
  return static_cast<int64_t>(ftello(f));
}
#endif

struct Slot {
  FILE* stream = nullptr;
  char* name = nullptr;
  int state = 0;
  int bits = 0;
};

Slot g_slots[arq::kFileSlots];

const char* ModeOf(int bits) {
  bool read = bits & arq::kOpenRead;
  if (bits & arq::kOpenCreate) return read ? "w+b" : "wb";
  if (bits & arq::kOpenAppend) return read ? "a+b" : "ab";
  if (bits & arq::kOpenWrite) return read ? "r+b" : "wb";
  return "rb";
}

Slot* Open(int handle) {
  if (handle < 0 || handle >= arq::kFileSlots) return nullptr;
  Slot& s = g_slots[handle];
  return (s.state & arq::kStateOpen) ? &s : nullptr;
}

}  // namespace

int ArqFileOpen(const char* name, int bits) {
  int all = arq::kOpenRead | arq::kOpenWrite | arq::kOpenAppend | arq::kOpenCreate;
  if (!name || !*name || !(bits & all)) return ARQ_BAD_ARGUMENT;
  int handle = 0;
  while (handle < arq::kFileSlots && g_slots[handle].state) ++handle;
  if (handle == arq::kFileSlots) return ARQ_NO_HANDLE;
  char* copy = new (std::nothrow) char[std::strlen(name) + 1];
  if (!copy) return ARQ_NO_MEMORY;
  std::strcpy(copy, name);
  FILE* stream = std::fopen(name, ModeOf(bits));
  if (!stream) {
    delete[] copy;
    return ARQ_CANNOT_WRITE;
  }
  g_slots[handle] = {stream, copy, arq::kStateOpen, bits};
  return handle;
}

int ArqFileClose(int handle) {
  Slot* s = Open(handle);
  if (!s) return ARQ_BAD_FILE;
  if (s->stream) std::fclose(s->stream);
  delete[] s->name;
  *s = Slot();
  return 0;
}

int ArqFileStatus(int handle) {
  Slot* s = Open(handle);
  return s ? s->state : ARQ_BAD_FILE;
}

FILE* ArqFileStream(int handle) {
  Slot* s = Open(handle);
  return s && !(s->state & arq::kStateSuspended) ? s->stream : nullptr;
}

const char* ArqFileName(int handle) {
  Slot* s = Open(handle);
  return s ? s->name : nullptr;
}

int64_t ArqFileSeek(int handle, int64_t offset, int whence) {
  FILE* f = ArqFileStream(handle);
  if (!f || SeekTo(f, offset, whence) != 0) return -1;
  return TellOf(f);
}

int64_t ArqFileTell(int handle) {
  FILE* f = ArqFileStream(handle);
  return f ? TellOf(f) : -1;
}

int ArqFileSuspend(int handle) {
  Slot* s = Open(handle);
  if (!s || (s->state & arq::kStateSuspended)) return ARQ_BAD_FILE;
  std::fclose(s->stream);
  s->stream = nullptr;
  s->state |= arq::kStateSuspended;
  return 0;
}

int ArqFileResume(int handle, bool write) {
  Slot* s = Open(handle);
  if (!s || !(s->state & arq::kStateSuspended)) return ARQ_BAD_FILE;
  // A new volume: its file is made when writing, read from the start when reading.
  s->stream = std::fopen(s->name, write ? "w+b" : "rb");
  if (!s->stream) return ARQ_CANNOT_WRITE;
  s->state &= ~arq::kStateSuspended;
  return 0;
}

void ArqFileCloseAll() {
  for (int handle = 0; handle < arq::kFileSlots; ++handle) {
    Slot& s = g_slots[handle];
    if (s.state && s.stream) std::fclose(s.stream);
    if (s.state) delete[] s.name;
    s = Slot();
  }
}

int ArqHandleSource::Read(void* buffer, int size) {
  FILE* f = ArqFileStream(handle_);
  if (!f) return ARQ_BAD_FILE;
  if (size <= 0) return 0;
  return static_cast<int>(std::fread(buffer, 1, static_cast<size_t>(size), f));
}

bool ArqHandleSource::Skip(int64_t count) {
  FILE* f = ArqFileStream(handle_);
  if (!f || count < 0) return false;
  int64_t at = TellOf(f);
  if (SeekTo(f, 0, SEEK_END) != 0) return false;
  int64_t end = TellOf(f);
  if (count > end - at) return false;  // left at the end
  return SeekTo(f, at + count, SEEK_SET) == 0;
}

int ArqHandleSink::Write(const void* data, int size) {
  FILE* f = ArqFileStream(handle_);
  if (!f) return ARQ_BAD_FILE;
  if (size <= 0) return 0;
  return std::fwrite(data, 1, static_cast<size_t>(size), f) == static_cast<size_t>(size)
             ? 0
             : ARQ_CANNOT_WRITE;
}
