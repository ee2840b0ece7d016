// CCrusherDecoder: the block compressor's decoder. It reads each block's three codes, builds
// lookup tables for them (12 bits for literals and lengths, 8 for the two small codes, with
// second-level tables for longer codes) and expands the symbols.
//
// Every input is treated as hostile: code lengths that do not form a complete prefix code, counts
// beyond their tables, a match reaching before the start of the output or past its end, and a
// stream that is read beyond its last byte all end the run with CRUSHER_BAD_DATA. Output is only
// ever written below the limit the caller gives.
//
// Internal to the codec (Crusher.cpp owns the one instance and serialises its use).
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/codec/Crusher.h"
#include "foundation/codec/CrusherFormat.h"

class CCrusherDecoder {
 public:
  // The compressed bytes in memory; reading past them supplies zero bits.
  void BeginMemory(const uint8_t* source, size_t length);
  // Exactly storedSize compressed bytes through read, taken in pieces into buffer.
  void BeginStream(CrusherReadProc read, void* user, int64_t storedSize, uint8_t* buffer,
                   size_t bufferSize);

  // Expands into out[pos, end). out[history, pos) holds the output so far (matches may reach
  // back into it); nothing is written at or beyond limit (end <= limit). A match that goes on
  // past end is finished by the next call. 0 or a status.
  int Decode(uint8_t* out, size_t pos, size_t end, size_t history, size_t limit);

  // After the last Decode: CRUSHER_BAD_DATA unless the stream held exactly the output asked
  // for (no match left unfinished, no symbol of the last block left over, no bits needed beyond
  // the stream's end). For a stream, reads the rest of the stored bytes.
  int Finish();

  // CRC-32 of the compressed bytes taken in from a stream.
  uint32_t StreamCrc() const { return ~crc_; }

 private:
  void Refill(uint64_t& bits, int& count, const uint8_t*& in, const uint8_t*& end);
  void RefillSlow();
  bool Fetch();
  uint32_t GetBits(int n);
  int ReadBlockHeader();
  bool ReadPtLen(int nn, int nbit, int special, uint8_t* len, uint32_t* table, uint32_t* sub);
  bool ReadCLen();

  // Bit input: the next bit is the top bit of bits_; count_ of them are valid.
  uint64_t bits_ = 0;
  int count_ = 0;
  const uint8_t* in_ = nullptr;
  const uint8_t* inEnd_ = nullptr;
  uint64_t padBytes_ = 0;  // zero bytes supplied past the end

  CrusherReadProc read_ = nullptr;
  void* user_ = nullptr;
  int64_t remaining_ = 0;  // stored bytes not yet taken in
  uint8_t* buffer_ = nullptr;
  size_t bufferSize_ = 0;
  uint32_t crc_ = 0xFFFFFFFFu;
  int status_ = 0;

  uint32_t blockLeft_ = 0;
  size_t pendingLength_ = 0;
  size_t pendingDistance_ = 0;

  uint8_t cLen_[crusher::kNC] = {};
  uint8_t tLen_[crusher::kNT] = {};
  uint8_t pLen_[crusher::kNP] = {};
  uint32_t cTable_[1 << 12] = {};
  uint32_t cSub_[crusher::kNC << 4] = {};
  uint32_t tTable_[1 << 8] = {};
  uint32_t tSub_[crusher::kNT << 8] = {};
  uint32_t pTable_[1 << 8] = {};
  uint32_t pSub_[crusher::kNP << 8] = {};
};
