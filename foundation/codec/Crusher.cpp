#include "foundation/codec/Crusher.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "foundation/codec/CrusherCrc.h"
#include "foundation/codec/CrusherDecoder.h"
#include "foundation/codec/CrusherEncoder.h"

namespace {

constexpr int kChunk = crusher::kDictSize;  // expansion goes in chunks of the dictionary size

// The one codec of the process: work buffers, tables and counters that a compression or an
// expansion uses from start to end.
struct Codec {
  CrusherState state = {};
  bool initialised = false;
  bool memoryMode = false;
  CCrusherEncoder encoder;
  CCrusherDecoder decoder;
  CrusherEventProc handler = nullptr;
  CrusherArchiveState archive = {};
  // The member decoder's output ring (history, then the chunk being made, then room for the
  // decoder's wide copies) and its input buffer.
  uint8_t ring[2 * kChunk + 16] = {};
  uint8_t input[16384] = {};
};

Codec g_codec;

// One user at a time. The state above is shared by every entry point, so each of them first
// claims this flag with an atomic exchange and gives it back on return. A second caller, be it
// another thread or this one coming back in through an event handler (the default handler
// pumps window messages, and a message handler may try to save a document in the middle of a
// compression), finds the flag set and gets CRUSHER_BUSY without touching anything.
std::atomic<bool> g_inUse{false};

class CUseGuard {
 public:
  CUseGuard() : owned_(!g_inUse.exchange(true, std::memory_order_acquire)) {}
  ~CUseGuard() {
    if (owned_) g_inUse.store(false, std::memory_order_release);
  }
  CUseGuard(const CUseGuard&) = delete;
  CUseGuard& operator=(const CUseGuard&) = delete;
  explicit operator bool() const { return owned_; }

 private:
  bool owned_;
};

// Readable without the flag: the last run's CRC and the platform hooks.
std::atomic<uint32_t> g_crc{0};
std::atomic<CrusherPumpProc> g_pump{nullptr};
std::atomic<CrusherAskProc> g_ask{nullptr};

int Raise(int event, int64_t value) {
  Codec& c = g_codec;
  return c.handler ? c.handler(&c.state, event, value)
                   : CrusherDefaultEvent(&c.state, event, value);
}

// Failures of the encoder are reported as events of their own number, too.
int EncoderFailure(int status) {
  Raise(status, 0);
  return status;
}

void ReportProgress(void*, int64_t bytesRead) {
  Raise(CRUSHER_EVENT_PROGRESS, bytesRead);
}

}  // namespace

void CrusherSetPlatformHooks(CrusherPumpProc pump, CrusherAskProc ask) {
  g_pump.store(pump);
  g_ask.store(ask);
}

int CrusherInit() {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  Codec& c = g_codec;
  if (c.initialised) return CRUSHER_ALREADY_INITIALISED;
  c.state.status = 0;
  g_crc.store(0);
  if (!c.encoder.Allocate()) return CRUSHER_NO_MEMORY;
  c.initialised = c.memoryMode = true;
  return CRUSHER_OK;
}

int CrusherShutdown() {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  Codec& c = g_codec;
  if (!c.initialised) return CRUSHER_NOT_INITIALISED;
  c.encoder.Free();
  c.initialised = c.memoryMode = false;
  return CRUSHER_OK;
}

int CrusherCompress(const void* source, void* destination, int length) {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  Codec& c = g_codec;
  if (!c.initialised) return EncoderFailure(CRUSHER_NOT_INITIALISED);
  if (!source || !destination || length < 1) return EncoderFailure(CRUSHER_BAD_ARGUMENT);
  c.encoder.SetProgress(c.handler ? ReportProgress : nullptr, nullptr);
  uint32_t crc = 0;
  int size = c.encoder.CompressBuffer(static_cast<const uint8_t*>(source), length,
                                      static_cast<uint8_t*>(destination), &crc);
  g_crc.store(crc);
  if (size > 0) return size;
  std::memcpy(destination, source, static_cast<size_t>(length));
  return EncoderFailure(CRUSHER_NO_GAIN);
}

int CrusherDecompress(const void* source, void* destination, int uncompressedLength,
                      int compressedLength, int destinationSize) {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  if (uncompressedLength < 0 || compressedLength < 0 || destinationSize < 0)
    return CRUSHER_BAD_ARGUMENT;
  if (uncompressedLength > destinationSize) return CRUSHER_BAD_ARGUMENT;
  if ((!source && compressedLength > 0) || (!destination && uncompressedLength > 0))
    return CRUSHER_BAD_ARGUMENT;
  Codec& c = g_codec;
  const uint8_t* in = static_cast<const uint8_t*>(source);
  uint8_t* out = static_cast<uint8_t*>(destination);
  size_t total = static_cast<size_t>(uncompressedLength);
  c.decoder.BeginMemory(in, static_cast<size_t>(compressedLength));
  size_t produced = 0;
  int status = 0;
  while (produced < total && !status) {
    Raise(CRUSHER_EVENT_CHUNK, static_cast<int64_t>(produced));
    size_t end = std::min(total, produced + kChunk);
    status = c.decoder.Decode(out, produced, end, 0, total);
    if (!status) produced = end;
  }
  if (!status) status = c.decoder.Finish();
  g_crc.store(~CrusherCrcUpdate(0xFFFFFFFFu, in, static_cast<size_t>(compressedLength)));
  Raise(CRUSHER_EVENT_DONE, static_cast<int64_t>(produced));
  return status;
}

int CrusherEncodeMember(CrusherReadProc read, CrusherWriteProc write, void* user,
                        int64_t* storedSize) {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  Codec& c = g_codec;
  if (storedSize) *storedSize = 0;
  if (!c.initialised) return EncoderFailure(CRUSHER_NOT_INITIALISED);
  if (!read || !write) return EncoderFailure(CRUSHER_BAD_ARGUMENT);
  c.encoder.SetProgress(c.handler ? ReportProgress : nullptr, nullptr);
  int64_t stored = 0;
  uint32_t crc = 0;
  int status = c.encoder.EncodeStream(read, write, user, &stored, &crc);
  g_crc.store(crc);
  if (storedSize) *storedSize = stored;
  return status < 0 ? EncoderFailure(status) : status;
}

int CrusherDecodeMember(CrusherReadProc read, CrusherWriteProc write, void* user,
                        int64_t uncompressedSize, int64_t storedSize) {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  if (!read || !write || uncompressedSize < 0 || storedSize < 0) return CRUSHER_BAD_ARGUMENT;
  Codec& c = g_codec;
  c.decoder.BeginStream(read, user, storedSize, c.input, sizeof c.input);
  // The chunk is made at ring[kChunk..] with up to a dictionary of earlier output before it.
  int64_t produced = 0;
  int status = 0;
  while (produced < uncompressedSize && !status) {
    Raise(CRUSHER_EVENT_CHUNK, produced);
    size_t n = static_cast<size_t>(std::min<int64_t>(kChunk, uncompressedSize - produced));
    size_t history = kChunk - static_cast<size_t>(std::min<int64_t>(kChunk, produced));
    status = c.decoder.Decode(c.ring, kChunk, kChunk + n, history, sizeof c.ring);
    if (status) break;
    status = write(user, c.ring + kChunk, static_cast<int>(n));
    if (status > 0) status = 0;
    std::memmove(c.ring, c.ring + n, kChunk);
    produced += static_cast<int64_t>(n);
  }
  if (!status) status = c.decoder.Finish();
  g_crc.store(c.decoder.StreamCrc());
  Raise(CRUSHER_EVENT_DONE, produced);
  return status;
}

uint32_t CrusherGetCrc() {
  return g_crc.load();
}

int CrusherSetEventHandler(CrusherEventProc handler) {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  g_codec.handler = handler;
  return CRUSHER_OK;
}

int CrusherDefaultEvent(CrusherState* state, int event, int64_t value) {
  switch (event) {
    case CRUSHER_EVENT_PROGRESS:
    case CRUSHER_EVENT_CHUNK:
    case CRUSHER_EVENT_ARCHIVE_STEP:
    case CRUSHER_EVENT_ARCHIVE_PROGRESS:
      if (CrusherPumpProc pump = g_pump.load()) pump();
      return 0;
    case CRUSHER_EVENT_NEW_DISK:
    case CRUSHER_EVENT_DISK_NUMBER: {
      char text[64];
      if (event == CRUSHER_EVENT_NEW_DISK)
        std::snprintf(text, sizeof text, "Please insert a new, formatted diskette.");
      else
        std::snprintf(text, sizeof text, "Please insert diskette number %d",
                      static_cast<int>(value));
      // Without a window system nobody can change the diskette: that is a cancel.
      CrusherAskProc ask = g_ask.load();
      if (ask && ask(text, "Diskette")) return 0;
      if (state) state->status = CRUSHER_USER_CANCELLED;
      return CRUSHER_USER_CANCELLED;
    }
    default:
      return 0;
  }
}

int CrusherArchiveInit() {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  CrusherArchiveState& a = g_codec.archive;
  std::free(a.password);
  a = {};
  return CRUSHER_OK;
}

int CrusherArchiveShutdown() {
  CUseGuard guard;
  if (!guard) return CRUSHER_BUSY;
  CrusherArchiveState& a = g_codec.archive;
  std::free(a.password);
  a.password = nullptr;
  return CRUSHER_OK;
}

CrusherArchiveState* CrusherGetArchiveState() {
  return &g_codec.archive;
}
