#include "foundation/update/ArqSpan.h"

#include <algorithm>
#include <vector>

int ArqDisketteClass(int64_t freeBytes) {
  if (freeBytes >= 1450000) return 3;
  if (freeBytes >= 1210000) return 1;
  if (freeBytes >= 730000) return 2;
  if (freeBytes >= 362000) return 0;
  return ARQ_DISKETTE_TOO_SMALL;
}

namespace {

const int64_t kEndMarker = arq::kLead + arq::kFixedBlock;

int CopyBytes(ArqSource& from, ArqVolumeTarget& to, int64_t count) {
  std::vector<char> buffer(65536);
  while (count > 0) {
    int want = static_cast<int>(std::min<int64_t>(count, static_cast<int64_t>(buffer.size())));
    int got = from.Read(buffer.data(), want);
    if (got < 0) return got;
    if (got != want) return ARQ_DATA_SHORT;
    int status = to.Write(buffer.data(), got);
    if (status < 0) return status;
    count -= got;
  }
  return 0;
}

int WriteHeader(ArqVolumeTarget& to, const ArqMemberHeader& h) {
  std::string head = ArqFormatHeader(h);
  return to.Write(head.data(), static_cast<int>(head.size()));
}

// One member, cut into parts wherever a volume ends.
int SpanMember(ArqSource& from, ArqMemberHeader h, ArqVolumeTarget& to, uint32_t& volume) {
  int64_t left = h.storedSize;
  for (;;) {
    ArqMemberHeader part = h;
    part.storedSize = static_cast<uint32_t>(left);
    part.volume = volume;
    part.flags &= static_cast<uint8_t>(~arq::kFlagContinued);
    part.extraLength = 0;
    int64_t head = static_cast<int64_t>(part.HeaderSize());
    int64_t room = to.Room() - kEndMarker;  // the end marker always fits behind
    if (room >= head + left) {
      int status = WriteHeader(to, part);
      return status < 0 ? status : CopyBytes(from, to, left);
    }
    if (room > head) {
      part.flags |= arq::kFlagContinued;
      int status = WriteHeader(to, part);
      if (status == 0) status = CopyBytes(from, to, room - head);
      if (status < 0) return status;
      left -= room - head;
    }
    int status = to.NextVolume(++volume);
    if (status < 0) return status;
  }
}

}  // namespace

int ArqWriteSpanned(ArqSource& archive, ArqVolumeTarget& target) {
  uint32_t volume = 0;
  for (;;) {
    ArqMemberHeader h;
    int status = ArqReadHeader(archive, h);
    if (status == ARQ_END) break;
    if (status < 0) return status;
    status = SpanMember(archive, h, target, volume);
    if (status < 0) return status;
  }
  if (target.Room() < kEndMarker) {
    int status = target.NextVolume(++volume);
    if (status < 0) return status;
  }
  ArqMemberHeader end;
  end.volume = volume;
  return WriteHeader(target, end);
}

ArqSpanningSource::ArqSpanningSource(ArqSource& volume, const ArqMemberHeader& first,
                                     NextVolume next)
    : volume_(volume), part_(first), next_(std::move(next)) {}

int ArqSpanningSource::Continue() {
  uint32_t expected = part_.volume + 1;
  int status = next_(expected);
  if (status != 0) return status > 0 ? ARQ_GAVE_UP : status;
  ArqMemberHeader h;
  status = ArqReadHeader(volume_, h);
  if (status < 0) return status == ARQ_END ? ARQ_BAD_HEADER : status;
  // Another diskette than the one asked for, or another member: the member cannot go on.
  if (h.name != part_.name || h.volume != expected) return ARQ_BAD_HEADER;
  part_ = h;
  return 0;
}

int ArqSpanningSource::Read(void* buffer, int size) {
  int total = 0;
  char* out = static_cast<char*>(buffer);
  while (total < size) {
    int got = volume_.Read(out + total, size - total);
    if (got < 0) return got;
    total += got;
    if (got > 0) continue;
    if (!(part_.flags & arq::kFlagContinued)) break;  // the member's true end
    int status = Continue();
    if (status < 0) return status;
  }
  return total;
}

bool ArqSpanningSource::Skip(int64_t count) {
  char buffer[4096];
  while (count > 0) {
    int want = static_cast<int>(std::min<int64_t>(count, sizeof buffer));
    if (Read(buffer, want) != want) return false;
    count -= want;
  }
  return true;
}
