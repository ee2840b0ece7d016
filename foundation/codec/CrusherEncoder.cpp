#include "foundation/codec/CrusherEncoder.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "foundation/codec/CrusherCrc.h"

using namespace crusher;

namespace {

constexpr size_t kSymbolBufferSize = 16384;

// Builds a canonical Huffman code of at most 16 bits per symbol from the frequencies. Returns the
// number of symbols used; below 2 every length is 0 and *only is the used symbol (0 for none),
// which the stream then sends in its one-symbol form.
int MakeCode(int n, const uint32_t* freq, uint8_t* len, uint16_t* code, int* only) {
  int used[kNC];
  int m = 0;
  for (int i = 0; i < n; ++i) {
    len[i] = 0;
    code[i] = 0;
    if (freq[i]) used[m++] = i;
  }
  if (m < 2) {
    *only = m ? used[0] : 0;
    return m;
  }
  // Leaves by rising frequency: the rarest get the longest codes.
  std::sort(used, used + m,
            [freq](int a, int b) { return freq[a] != freq[b] ? freq[a] < freq[b] : a < b; });

  // Two queues: the sorted leaves and the inner nodes, which are made in rising weight order.
  uint32_t weight[2 * kNC];
  int parent[2 * kNC];
  for (int j = 0; j < m; ++j) weight[j] = freq[used[j]];
  int leaf = 0, node = m, end = m;
  auto take = [&]() {
    if (leaf < m && (node >= end || weight[leaf] <= weight[node])) return leaf++;
    return node++;
  };
  for (int k = 0; k < m - 1; ++k) {
    int a = take();
    int b = take();
    weight[end] = weight[a] + weight[b];
    parent[a] = parent[b] = end;
    ++end;
  }
  int depth[2 * kNC];
  depth[end - 1] = 0;
  for (int j = end - 2; j >= 0; --j) depth[j] = depth[parent[j]] + 1;

  // Cut to 16 bits: clamp the deep leaves, then lengthen shorter codes until the code is
  // complete again.
  uint32_t count[kMaxCodeLength + 2] = {};
  for (int j = 0; j < m; ++j) count[std::min(depth[j], kMaxCodeLength)]++;
  uint32_t cum = 0;
  for (int i = kMaxCodeLength; i > 0; --i) cum += count[i] << (kMaxCodeLength - i);
  while (cum != (1u << kMaxCodeLength)) {
    count[kMaxCodeLength]--;
    for (int i = kMaxCodeLength - 1; i > 0; --i) {
      if (count[i]) {
        count[i]--;
        count[i + 1] += 2;
        break;
      }
    }
    cum--;
  }
  int j = 0;
  for (int i = kMaxCodeLength; i > 0; --i)
    for (uint32_t k = count[i]; k > 0; --k) len[used[j++]] = static_cast<uint8_t>(i);

  // Canonical codes: by rising length, then by symbol number.
  uint16_t start[kMaxCodeLength + 2];
  start[1] = 0;
  for (int i = 1; i <= kMaxCodeLength; ++i)
    start[i + 1] = static_cast<uint16_t>((start[i] + count[i]) << 1);
  for (int i = 0; i < n; ++i)
    if (len[i]) code[i] = start[len[i]]++;
  return m;
}

}  // namespace

bool CCrusherEncoder::Allocate() {
  Free();
  window_ = static_cast<uint8_t*>(std::malloc(kWindowSize));
  streamOut_ = static_cast<uint8_t*>(std::malloc(kStreamOutSize));
  // The symbol buffer only decides where blocks end; settle for less when memory is short.
  for (size_t size = kSymbolBufferSize; size > 64 && !symbols_; size = size * 9 / 10) {
    symbols_ = static_cast<uint8_t*>(std::malloc(size));
    symbolsSize_ = size;
  }
  if (!window_ || !streamOut_ || !symbols_ || !finder_.Allocate()) {
    Free();
    return false;
  }
  return true;
}

void CCrusherEncoder::Free() {
  finder_.Free();
  std::free(window_);
  std::free(streamOut_);
  std::free(symbols_);
  window_ = nullptr;
  streamOut_ = symbols_ = nullptr;
  symbolsSize_ = 0;
}

void CCrusherEncoder::Reset() {
  finder_.Begin();
  std::memset(cFreq_, 0, sizeof cFreq_);
  std::memset(pFreq_, 0, sizeof pFreq_);
  symbolPos_ = flagPos_ = 0;
  mask_ = 0;
  bits_ = 0;
  bitCount_ = 0;
  full_ = false;
  status_ = 0;
  written_ = 0;
  consumedBase_ = 0;
  nextProgress_ = 1024;
}

int CCrusherEncoder::CompressBuffer(const uint8_t* source, int length, uint8_t* destination,
                                    uint32_t* crc) {
  Reset();
  bufferMode_ = true;
  data_ = source;
  filled_ = static_cast<size_t>(length);
  length_ = length;
  eof_ = true;
  outStart_ = out_ = destination;
  SetBound(0);
  Run();
  finder_.End(filled_);
  if (!full_) {
    outLimit_ = outStart_ + length;
    SendBlock();
    FlushBits();
  }
  int size = static_cast<int>(out_ - outStart_);
  *crc = ~CrusherCrcUpdate(0xFFFFFFFFu, outStart_, static_cast<size_t>(size));
  return full_ || size >= length ? 0 : size;
}

int CCrusherEncoder::EncodeStream(CrusherReadProc read, CrusherWriteProc write, void* user,
                                  int64_t* storedSize, uint32_t* crc) {
  Reset();
  bufferMode_ = false;
  read_ = read;
  write_ = write;
  user_ = user;
  data_ = window_;
  filled_ = 0;
  length_ = 0;
  eof_ = false;
  outStart_ = out_ = streamOut_;
  outLimit_ = streamOut_ + kStreamOutSize;
  crc_ = 0xFFFFFFFFu;
  size_t start = 0;
  Slide(start);
  if (!status_ && filled_ > 0) Run();
  finder_.End(filled_);
  if (!status_ && filled_ > 0) {
    SendBlock();
    FlushBits();
    FlushStream();
  }
  *storedSize = written_;
  *crc = ~crc_;
  return status_;
}

// Moves the window down, keeping a dictionary's worth of history, and reads on until the
// window is full or the input ends.
void CCrusherEncoder::Slide(size_t& i) {
  if (i > static_cast<size_t>(kDictSize)) {
    size_t delta = i - kDictSize;
    std::memmove(window_, window_ + delta, filled_ - delta);
    filled_ -= delta;
    i -= delta;
    consumedBase_ += static_cast<int64_t>(delta);
    finder_.Slide(delta);
  }
  while (!eof_ && filled_ < kWindowSize) {
    int n = read_(user_, window_ + filled_, static_cast<int>(kWindowSize - filled_));
    if (n < 0) {
      status_ = n;
      return;
    }
    if (n == 0)
      eof_ = true;
    else
      filled_ += static_cast<size_t>(std::min<int64_t>(n, kWindowSize - filled_));
  }
}

// One step of lazy evaluation: the match found at a position is sent only when the match at the
// next position is not longer; otherwise that position's byte goes out as a literal.
void CCrusherEncoder::Run() {
  size_t i = 0;
  uint32_t distance = 0;
  uint32_t matchLen = finder_.Find(data_, i, filled_ - i, &distance);
  while (i < filled_) {
    if (!eof_ && filled_ - i < kLookahead) {
      Slide(i);
      if (status_) return;
    }
    uint32_t lastLen = matchLen;
    uint32_t lastDistance = distance;
    ++i;
    matchLen = finder_.Find(data_, i, filled_ - i, &distance);
    int64_t offset = consumedBase_ + static_cast<int64_t>(i);
    if (matchLen > lastLen || lastLen < static_cast<uint32_t>(kThreshold)) {
      Output(data_[i - 1], 0, offset);
    } else {
      Output(lastLen + (256 - kThreshold), lastDistance - 1, offset);
      // The rest of the match is passed over; the position after it is searched.
      for (uint32_t k = lastLen - 1; k > 1; --k) {
        ++i;
        finder_.Skip(data_, i, filled_ - i);
      }
      ++i;
      matchLen = finder_.Find(data_, i, filled_ - i, &distance);
    }
    if (full_ || status_) return;
    if (progress_ && offset >= nextProgress_) Report(offset);
  }
}

void CCrusherEncoder::Report(int64_t offset) {
  while (nextProgress_ <= offset) nextProgress_ += 1024;
  int64_t read = bufferMode_ ? std::min<int64_t>(length_, 4352 + offset / 4096 * 4096)
                             : consumedBase_ + static_cast<int64_t>(filled_);
  progress_(progressContext_, read);
}

// A compressed byte may only be written while fewer bytes have been written than read: the
// input is taken in as the first 4352 bytes and then 4096 at a time, so at input offset x the
// bytes read are 4352 + 4096 * (x / 4096), up to the whole length.
void CCrusherEncoder::SetBound(int64_t offset) {
  if (!bufferMode_) return;
  int64_t read = std::min<int64_t>(length_, 4352 + offset / 4096 * 4096);
  outLimit_ = outStart_ + read;
}

inline void CCrusherEncoder::Output(unsigned c, unsigned p, int64_t offset) {
  if ((mask_ >>= 1) == 0) {
    mask_ = 0x80;
    if (symbolPos_ >= symbolsSize_ - 24) {
      SetBound(offset);
      SendBlock();
      if (full_ || status_) return;
      symbolPos_ = 0;
    }
    flagPos_ = symbolPos_++;
    symbols_[flagPos_] = 0;
  }
  symbols_[symbolPos_++] = static_cast<uint8_t>(c);
  cFreq_[c]++;
  if (c >= 256) {
    symbols_[flagPos_] |= static_cast<uint8_t>(mask_);
    symbols_[symbolPos_++] = static_cast<uint8_t>(p >> 8);
    symbols_[symbolPos_++] = static_cast<uint8_t>(p);
    pFreq_[std::bit_width(p)]++;
  }
}

void CCrusherEncoder::CountTFreq(uint32_t* tFreq) const {
  std::fill(tFreq, tFreq + kNT, 0u);
  int n = kNC;
  while (n > 0 && cLen_[n - 1] == 0) n--;
  int i = 0;
  while (i < n) {
    int k = cLen_[i++];
    if (k == 0) {
      int count = 1;
      while (i < n && cLen_[i] == 0) {
        i++;
        count++;
      }
      if (count <= 2)
        tFreq[0] += count;
      else if (count <= 18)
        tFreq[1]++;
      else if (count == 19) {
        tFreq[0]++;
        tFreq[1]++;
      } else
        tFreq[2]++;
    } else {
      tFreq[k + 2]++;
    }
  }
}

// Lengths of a small code: 3 bits each below 7, else 111 and one more 1-bit per step above 7,
// closed by a 0-bit; after index special - 1, 2 bits count the zero lengths that follow.
void CCrusherEncoder::WritePtLen(const uint8_t* len, int n, int nbit, int special) {
  while (n > 0 && len[n - 1] == 0) n--;
  PutBits(nbit, static_cast<uint32_t>(n));
  int i = 0;
  while (i < n) {
    int k = len[i++];
    if (k <= 6)
      PutBits(3, static_cast<uint32_t>(k));
    else
      PutBits(k - 3, (1u << (k - 3)) - 2);
    if (i == special) {
      while (i < 6 && len[i] == 0) i++;
      PutBits(2, static_cast<uint32_t>(i - 3) & 3);
    }
  }
}

void CCrusherEncoder::WriteCLen() {
  int n = kNC;
  while (n > 0 && cLen_[n - 1] == 0) n--;
  PutBits(kCBits, static_cast<uint32_t>(n));
  int i = 0;
  while (i < n) {
    int k = cLen_[i++];
    if (k == 0) {
      int count = 1;
      while (i < n && cLen_[i] == 0) {
        i++;
        count++;
      }
      if (count <= 2) {
        for (int j = 0; j < count; ++j) PutBits(tLen_[0], tCode_[0]);
      } else if (count <= 18) {
        PutBits(tLen_[1], tCode_[1]);
        PutBits(4, static_cast<uint32_t>(count - 3));
      } else if (count == 19) {
        PutBits(tLen_[0], tCode_[0]);
        PutBits(tLen_[1], tCode_[1]);
        PutBits(4, 15);
      } else {
        PutBits(tLen_[2], tCode_[2]);
        PutBits(kCBits, static_cast<uint32_t>(count - 20));
      }
    } else {
      PutBits(tLen_[k + 2], tCode_[k + 2]);
    }
  }
}

void CCrusherEncoder::SendBlock() {
  uint32_t size = 0;
  for (int i = 0; i < kNC; ++i) size += cFreq_[i];
  int only = 0;
  int used = MakeCode(kNC, cFreq_, cLen_, cCode_, &only);
  PutBits(16, size);
  if (used >= 2) {
    uint32_t tFreq[kNT];
    CountTFreq(tFreq);
    int tOnly = 0;
    if (MakeCode(kNT, tFreq, tLen_, tCode_, &tOnly) >= 2) {
      WritePtLen(tLen_, kNT, kTBits, kTSpecial);
    } else {
      PutBits(kTBits, 0);
      PutBits(kTBits, static_cast<uint32_t>(tOnly));
    }
    WriteCLen();
  } else {
    PutBits(kTBits, 0);
    PutBits(kTBits, 0);
    PutBits(kCBits, 0);
    PutBits(kCBits, static_cast<uint32_t>(only));
  }
  int pOnly = 0;
  if (MakeCode(kNP, pFreq_, pLen_, pCode_, &pOnly) >= 2) {
    WritePtLen(pLen_, kNP, kPBits, -1);
  } else {
    PutBits(kPBits, 0);
    PutBits(kPBits, static_cast<uint32_t>(pOnly));
  }

  size_t pos = 0;
  unsigned flags = 0;
  for (uint32_t i = 0; i < size; ++i) {
    if ((i & 7) == 0) {
      if (full_ || status_) return;
      flags = symbols_[pos++];
    } else {
      flags <<= 1;
    }
    unsigned c = symbols_[pos++];
    if (flags & 0x80) {
      c += 256;
      unsigned d = (unsigned(symbols_[pos]) << 8) | symbols_[pos + 1];
      pos += 2;
      PutBits(cLen_[c], cCode_[c]);
      int k = std::bit_width(d);
      PutBits(pLen_[k], pCode_[k]);
      if (k > 1) PutBits(k - 1, d & ((1u << (k - 1)) - 1));
    } else {
      PutBits(cLen_[c], cCode_[c]);
    }
  }
  std::memset(cFreq_, 0, sizeof cFreq_);
  std::memset(pFreq_, 0, sizeof pFreq_);
}

// Bits go out most significant first; whole 32-bit words while there is room.
inline void CCrusherEncoder::PutBits(int n, uint32_t value) {
  bits_ = (bits_ << n) | value;
  bitCount_ += n;
  if (bitCount_ >= 32) {
    bitCount_ -= 32;
    PutWord(static_cast<uint32_t>(bits_ >> bitCount_));
  }
}

inline void CCrusherEncoder::PutWord(uint32_t word) {
  if (outLimit_ - out_ >= 4) {
    out_[0] = static_cast<uint8_t>(word >> 24);
    out_[1] = static_cast<uint8_t>(word >> 16);
    out_[2] = static_cast<uint8_t>(word >> 8);
    out_[3] = static_cast<uint8_t>(word);
    out_ += 4;
    return;
  }
  for (int shift = 24; shift >= 0; shift -= 8) PutByte(static_cast<uint8_t>(word >> shift));
}

void CCrusherEncoder::PutByte(uint8_t byte) {
  if (out_ == outLimit_) {
    if (bufferMode_) {
      full_ = true;  // the output caught up with the input: no gain
      return;
    }
    FlushStream();
    if (status_) return;
  }
  *out_++ = byte;
}

// The end of the stream: seven zero bits complete the last byte; what is left over is dropped.
void CCrusherEncoder::FlushBits() {
  PutBits(7, 0);
  while (bitCount_ >= 8) {
    bitCount_ -= 8;
    PutByte(static_cast<uint8_t>(bits_ >> bitCount_));
  }
}

void CCrusherEncoder::FlushStream() {
  if (bufferMode_ || status_) return;
  int n = static_cast<int>(out_ - outStart_);
  if (n > 0) {
    crc_ = CrusherCrcUpdate(crc_, outStart_, static_cast<size_t>(n));
    int result = write_(user_, outStart_, n);
    if (result < 0) {
      status_ = result;
      full_ = true;
      return;
    }
    written_ += n;
  }
  out_ = outStart_;
}
