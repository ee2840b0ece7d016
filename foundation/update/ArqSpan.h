// Archives across diskettes: writing an archive onto volumes of limited room, and reading a
// member that continues on the next volume. Knows no operating system: volumes are sinks and
// sources that the caller changes when asked.
//
// A member that does not fit is cut: the part on the volume carries the flag "continued" and
// runs to the volume's end; the next volume starts with a header of the same name, the next
// volume number and the rest. Every part's stored size is what is left of the member from that
// part on (the first part's is the whole), and its CRC-32 and uncompressed size are the whole
// member's, so the parts read back in order are the member as it was.
#pragma once

#include <cstdint>
#include <functional>

#include "foundation/update/ArqFormat.h"

namespace arq {
// A new diskette needs more than this many free bytes, and is asked for at most this often.
constexpr int64_t kMinDisketteFree = 4096;
constexpr int kMaxDiskettePrompts = 9;
}  // namespace arq

// The diskette's format class by its free bytes: 3 (1.44 MB), 1 (1.2 MB), 2 (720 KB),
// 0 (360 KB), or ARQ_DISKETTE_TOO_SMALL.
int ArqDisketteClass(int64_t freeBytes);

// Where a spanned archive is written.
class ArqVolumeTarget {
 public:
  virtual ~ArqVolumeTarget() = default;
  // Bytes that still fit on the current volume.
  virtual int64_t Room() = 0;
  virtual int Write(const void* data, int size) = 0;
  // Asks for the volume with this number (counted from 0) and starts writing it: 0, or a
  // status (ARQ_GAVE_UP, ARQ_DISKETTE_TOO_SMALL, ...).
  virtual int NextVolume(uint32_t volume) = 0;
};

// Copies a whole archive (read from its first header to its end marker) onto the volumes.
int ArqWriteSpanned(ArqSource& archive, ArqVolumeTarget& target);

// The stored bytes of one member across volumes: reads the current volume to its end and, when
// the part there is continued, has nextVolume make `volume` read the next volume from its start
// (0, or a status such as ARQ_GAVE_UP, which Read then returns), and goes on behind the
// continuation's header. The member's header is the first part's.
class ArqSpanningSource : public ArqSource {
 public:
  using NextVolume = std::function<int(uint32_t volume)>;
  ArqSpanningSource(ArqSource& volume, const ArqMemberHeader& first, NextVolume next);
  int Read(void* buffer, int size) override;
  bool Skip(int64_t count) override;
  int64_t Position() const override { return volume_.Position(); }
  // The header of the part being read (the last part once the member is read).
  const ArqMemberHeader& Part() const { return part_; }

 private:
  int Continue();

  ArqSource& volume_;
  ArqMemberHeader part_;
  NextVolume next_;
};
