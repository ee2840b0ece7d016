#include "foundation/codec/CrusherDecoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "foundation/codec/CrusherCrc.h"

using namespace crusher;

namespace {

constexpr uint32_t kSubLink = 0x80000000u;  // an entry that names a second-level table

// Fills a lookup table of tableBits bits (and second-level tables of 16 - tableBits bits) for
// the canonical code with these lengths. False when the lengths do not form a complete prefix
// code: such a table cannot be built. The codes are made in rising order, so a complete code
// fills every entry exactly once and the tables need no clearing.
bool BuildTable(int n, const uint8_t* len, int tableBits, uint32_t* table, uint32_t* sub) {
  uint32_t count[kMaxCodeLength + 1] = {};
  for (int i = 0; i < n; ++i) count[len[i]]++;
  uint32_t total = 0;
  for (int l = 1; l <= kMaxCodeLength; ++l) total += count[l] << (kMaxCodeLength - l);
  if (total != (1u << kMaxCodeLength)) return false;

  // Symbols in code order: by length, then by symbol number.
  uint16_t order[kNC];
  uint32_t at[kMaxCodeLength + 2];
  at[1] = 0;
  for (int l = 1; l <= kMaxCodeLength; ++l) at[l + 1] = at[l] + count[l];
  for (int sym = 0; sym < n; ++sym)
    if (len[sym]) order[at[len[sym]]++] = static_cast<uint16_t>(sym);
  const uint32_t used = at[kMaxCodeLength + 1];

  const int subBits = kMaxCodeLength - tableBits;
  uint32_t code = 0;
  int l = 1;
  uint32_t subs = 0;
  uint32_t prefix = ~0u;
  uint32_t* current = nullptr;
  for (uint32_t k = 0; k < used; ++k) {
    int sym = order[k];
    while (len[sym] > l) {
      code <<= 1;
      ++l;
    }
    uint32_t entry = static_cast<uint32_t>(sym) | (static_cast<uint32_t>(l) << 16);
    if (l <= tableBits) {
      uint32_t* p = table + (code << (tableBits - l));
      std::fill(p, p + (1u << (tableBits - l)), entry);
    } else {
      uint32_t top = code >> (l - tableBits);
      if (top != prefix) {
        prefix = top;
        table[top] = kSubLink | (subs << subBits);
        current = sub + (subs++ << subBits);
      }
      uint32_t low = code & ((1u << (l - tableBits)) - 1);
      uint32_t* p = current + (low << (kMaxCodeLength - l));
      std::fill(p, p + (1u << (kMaxCodeLength - l)), entry);
    }
    ++code;
  }
  return true;
}

// One symbol: the entry under the next bits, through a second-level table for long codes.
inline uint32_t Lookup(uint64_t bits, const uint32_t* table, const uint32_t* sub, int tableBits) {
  uint32_t e = table[bits >> (64 - tableBits)];
  if (e & kSubLink)
    e = sub[(e & 0xFFFF) +
            ((bits >> (64 - kMaxCodeLength)) & ((1u << (kMaxCodeLength - tableBits)) - 1))];
  return e;
}

inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

// Copies n bytes from distance back, front to back, so that a copy overlapping what it writes
// repeats the pattern. Wide steps may write up to 7 bytes past n, only while that stays below
// limit; those bytes are overwritten by the output that follows.
inline void CopyMatch(uint8_t* out, size_t pos, size_t distance, size_t n, size_t limit) {
  uint8_t* d = out + pos;
  const uint8_t* s = d - distance;
  if (distance == 1) {
    std::memset(d, *s, n);
  } else if (pos + n + 8 > limit) {
    for (size_t k = 0; k < n; ++k) d[k] = s[k];
  } else if (distance >= 8) {
    for (size_t k = 0; k < n; k += 8) std::memcpy(d + k, s + k, 8);
  } else {
    // A short pattern: its first 8 bytes one by one, then 8 at a time from a whole number of
    // periods back, far enough for the copies not to overlap.
    for (size_t k = 0; k < 8; ++k) d[k] = s[k];
    size_t back = distance * ((8 + distance - 1) / distance);
    for (size_t k = 8; k < n; k += 8) std::memcpy(d + k, d + k - back, 8);
  }
}

}  // namespace

void CCrusherDecoder::BeginMemory(const uint8_t* source, size_t length) {
  bits_ = 0;
  count_ = 0;
  in_ = source;
  inEnd_ = source + length;
  padBytes_ = 0;
  read_ = nullptr;
  user_ = nullptr;
  remaining_ = 0;
  buffer_ = nullptr;
  bufferSize_ = 0;
  crc_ = 0xFFFFFFFFu;
  status_ = 0;
  blockLeft_ = 0;
  pendingLength_ = 0;
  pendingDistance_ = 0;
}

void CCrusherDecoder::BeginStream(CrusherReadProc read, void* user, int64_t storedSize,
                                  uint8_t* buffer, size_t bufferSize) {
  BeginMemory(buffer, 0);
  read_ = read;
  user_ = user;
  remaining_ = storedSize;
  buffer_ = buffer;
  bufferSize_ = bufferSize;
}

// Takes in the next piece of a stream. False at its end or on a reader failure.
bool CCrusherDecoder::Fetch() {
  if (!read_ || remaining_ <= 0 || status_) return false;
  int want = static_cast<int>(std::min<int64_t>(remaining_, static_cast<int64_t>(bufferSize_)));
  int got = read_(user_, buffer_, want);
  if (got < 0) {
    status_ = got;
    return false;
  }
  if (got == 0) {  // the stored bytes ended early: what follows reads as zero bits
    remaining_ = 0;
    return false;
  }
  got = std::min(got, want);
  crc_ = CrusherCrcUpdate(crc_, buffer_, static_cast<size_t>(got));
  remaining_ -= got;
  in_ = buffer_;
  inEnd_ = buffer_ + got;
  return true;
}

// Byte by byte near the end of the input; zero bytes past it.
void CCrusherDecoder::RefillSlow() {
  while (count_ <= 56) {
    if (in_ < inEnd_) {
      bits_ |= static_cast<uint64_t>(*in_++) << (56 - count_);
      count_ += 8;
    } else if (!Fetch()) {
      padBytes_++;
      count_ += 8;
    }
  }
}

// At least 56 valid bits afterwards: whole 8-byte loads while the input lasts. Works on the
// caller's copies of the reader state, which the hot loop keeps in registers.
inline void CCrusherDecoder::Refill(uint64_t& bits, int& count, const uint8_t*& in,
                                    const uint8_t*& end) {
  if (count > 56) return;
  if (end - in >= 8) {
    // Bits below count that this load repeats are the same bits, so or-ing them is harmless.
    bits |= LoadBigEndian64(in) >> count;
    in += (63 - count) >> 3;
    count |= 56;
    return;
  }
  bits_ = bits, count_ = count, in_ = in;
  RefillSlow();
  bits = bits_, count = count_, in = in_, end = inEnd_;
}

inline uint32_t CCrusherDecoder::GetBits(int n) {
  Refill(bits_, count_, in_, inEnd_);
  uint32_t v = static_cast<uint32_t>(bits_ >> (64 - n));
  bits_ <<= n;
  count_ -= n;
  return v;
}

// A small code (code lengths, or positions): its count, then the lengths as the encoder wrote
// them; a count of 0 is followed by the one symbol that every lookup gives without using bits.
bool CCrusherDecoder::ReadPtLen(int nn, int nbit, int special, uint8_t* len, uint32_t* table,
                                uint32_t* sub) {
  int n = static_cast<int>(GetBits(nbit));
  if (n == 0) {
    uint32_t only = GetBits(nbit);
    if (only >= static_cast<uint32_t>(nn)) return false;
    std::memset(len, 0, static_cast<size_t>(nn));
    std::fill(table, table + 256, only);
    return true;
  }
  if (n > nn) return false;
  int i = 0;
  while (i < n) {
    Refill(bits_, count_, in_, inEnd_);
    int c = static_cast<int>(bits_ >> 61);
    if (c == 7) {
      int ones = std::countl_one(bits_ << 3);
      if (ones > kMaxCodeLength - 7) return false;
      c += ones;
      bits_ <<= 4 + ones;
      count_ -= 4 + ones;
    } else {
      bits_ <<= 3;
      count_ -= 3;
    }
    len[i++] = static_cast<uint8_t>(c);
    if (i == special) {
      int zeros = static_cast<int>(GetBits(2));
      while (zeros-- > 0 && i < nn) len[i++] = 0;
    }
  }
  while (i < nn) len[i++] = 0;
  return BuildTable(nn, len, 8, table, sub);
}

// The literal/length code, its lengths sent with the code-length code.
bool CCrusherDecoder::ReadCLen() {
  int n = static_cast<int>(GetBits(kCBits));
  if (n == 0) {
    uint32_t only = GetBits(kCBits);
    if (only >= static_cast<uint32_t>(kNC)) return false;
    std::memset(cLen_, 0, sizeof cLen_);
    std::fill(cTable_, cTable_ + (1 << 12), only);
    return true;
  }
  if (n > kNC) return false;
  int i = 0;
  while (i < n) {
    Refill(bits_, count_, in_, inEnd_);
    uint32_t e = Lookup(bits_, tTable_, tSub_, 8);
    int shift = static_cast<int>((e >> 16) & 0xFF);
    bits_ <<= shift;
    count_ -= shift;
    int c = static_cast<int>(e & 0xFFFF);
    if (c <= 2) {
      int run = c == 0   ? 1
                : c == 1 ? static_cast<int>(GetBits(4)) + 3
                         : static_cast<int>(GetBits(kCBits)) + 20;
      if (run > kNC - i) return false;
      std::memset(cLen_ + i, 0, static_cast<size_t>(run));
      i += run;
    } else {
      cLen_[i++] = static_cast<uint8_t>(c - 2);
    }
  }
  std::memset(cLen_ + i, 0, static_cast<size_t>(kNC - i));
  return BuildTable(kNC, cLen_, 12, cTable_, cSub_);
}

int CCrusherDecoder::ReadBlockHeader() {
  blockLeft_ = GetBits(16);
  if (blockLeft_ == 0) return CRUSHER_BAD_DATA;
  if (!ReadPtLen(kNT, kTBits, kTSpecial, tLen_, tTable_, tSub_)) return CRUSHER_BAD_DATA;
  if (!ReadCLen()) return CRUSHER_BAD_DATA;
  if (!ReadPtLen(kNP, kPBits, -1, pLen_, pTable_, pSub_)) return CRUSHER_BAD_DATA;
  return 0;
}

int CCrusherDecoder::Decode(uint8_t* out, size_t pos, size_t end, size_t history, size_t limit) {
  if (status_) return status_;
  if (pendingLength_ && pos < end) {
    if (pendingDistance_ > pos - history) return status_ = CRUSHER_BAD_DATA;
    size_t n = std::min(pendingLength_, end - pos);
    CopyMatch(out, pos, pendingDistance_, n, limit);
    pos += n;
    pendingLength_ -= n;
  }
  // The hot loop keeps the bit reader in locals: stores to out may alias any member.
  uint64_t bits = bits_;
  int count = count_;
  const uint8_t* in = in_;
  const uint8_t* inEnd = inEnd_;
  uint32_t left = blockLeft_;
  while (pos < end) {
    if (left == 0) {
      bits_ = bits, count_ = count, in_ = in;
      int s = ReadBlockHeader();
      if (s) return status_ = s;
      bits = bits_, count = count_, in = in_, inEnd = inEnd_;
      left = blockLeft_;
    }
    --left;
    Refill(bits, count, in, inEnd);
    uint32_t e = Lookup(bits, cTable_, cSub_, 12);
    int shift = static_cast<int>((e >> 16) & 0xFF);
    bits <<= shift;
    count -= shift;
    uint32_t c = e & 0xFFFF;
    // Literals in a row while the bits last (a code takes at most 16).
    while (c < 256) {
      out[pos++] = static_cast<uint8_t>(c);
      if (pos == end || left == 0 || count < kMaxCodeLength) break;
      --left;
      e = Lookup(bits, cTable_, cSub_, 12);
      shift = static_cast<int>((e >> 16) & 0xFF);
      bits <<= shift;
      count -= shift;
      c = e & 0xFFFF;
    }
    if (c < 256) continue;
    size_t length = c - (256 - kThreshold);
    Refill(bits, count, in, inEnd);
    e = Lookup(bits, pTable_, pSub_, 8);
    shift = static_cast<int>((e >> 16) & 0xFF);
    bits <<= shift;
    count -= shift;
    uint32_t j = e & 0xFFFF;
    size_t distance = 1;
    if (j >= 1) {
      uint32_t extra = 0;
      if (j >= 2) {
        extra = static_cast<uint32_t>(bits >> (64 - (j - 1)));
        bits <<= j - 1;
        count -= static_cast<int>(j - 1);
      }
      distance += (1u << (j - 1)) + extra;
    }
    if (distance > pos - history) {
      bits_ = bits, count_ = count, in_ = in, blockLeft_ = left;
      return status_ = CRUSHER_BAD_DATA;
    }
    size_t n = std::min(length, end - pos);
    CopyMatch(out, pos, distance, n, limit);
    pos += n;
    if (n < length) {
      pendingLength_ = length - n;
      pendingDistance_ = distance;
    }
  }
  bits_ = bits, count_ = count, in_ = in, inEnd_ = inEnd;
  blockLeft_ = left;
  return status_;
}

int CCrusherDecoder::Finish() {
  if (status_) return status_;
  // The stream must hold exactly the size asked for: no match running past it, no symbols of
  // the last block left over.
  if (pendingLength_ || blockLeft_) return status_ = CRUSHER_BAD_DATA;
  // Bits taken from the zero bytes supplied past the end: the stream was cut short.
  if (padBytes_ * 8 > static_cast<uint64_t>(count_)) return status_ = CRUSHER_BAD_DATA;
  while (Fetch()) {
  }
  return status_;
}
