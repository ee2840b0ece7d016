// CCrusherEncoder: the block compressor's encoder. It takes the longest earlier match at each
// position from its match finder, chooses between a literal and a match with one step of lazy
// evaluation, collects the symbols of a block and sends each block with its own Huffman codes.
//
// Internal to the codec (Crusher.cpp owns the one instance and serialises its use).
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/codec/Crusher.h"
#include "foundation/codec/CrusherFormat.h"
#include "foundation/codec/CrusherMatchFinder.h"

class CCrusherEncoder {
 public:
  typedef void (*ProgressProc)(void* context, int64_t bytesRead);

  CCrusherEncoder() = default;
  ~CCrusherEncoder() { Free(); }
  CCrusherEncoder(const CCrusherEncoder&) = delete;
  CCrusherEncoder& operator=(const CCrusherEncoder&) = delete;

  // The work buffers, allocated once; false without memory (nothing is kept then).
  bool Allocate();
  void Free();

  // Progress every 1024 input positions; none when proc is null.
  void SetProgress(ProgressProc proc, void* context) {
    progress_ = proc;
    progressContext_ = context;
  }

  // Compresses length (> 0) bytes into destination, which has room for length bytes. Returns the
  // compressed size, or 0 when the output caught up with the input read so far (no gain).
  int CompressBuffer(const uint8_t* source, int length, uint8_t* destination, uint32_t* crc);

  // Compresses what read delivers until it reports the end; 0 or a negative status.
  int EncodeStream(CrusherReadProc read, CrusherWriteProc write, void* user, int64_t* storedSize,
                   uint32_t* crc);

 private:
  static constexpr size_t kWindowSize = 81920;
  static constexpr size_t kLookahead = 2 * crusher::kMaxMatch + 8;  // one loop step's reach
  static constexpr size_t kStreamOutSize = 16384;

  void Reset();
  void Run();
  void Slide(size_t& i);
  void Report(int64_t offset);

  void Output(unsigned c, unsigned p, int64_t offset);
  void SendBlock();
  void CountTFreq(uint32_t* tFreq) const;
  void WritePtLen(const uint8_t* len, int n, int nbit, int special);
  void WriteCLen();

  void PutBits(int n, uint32_t value);
  void PutWord(uint32_t word);
  void PutByte(uint8_t byte);
  void FlushBits();
  void FlushStream();
  void SetBound(int64_t offset);

  // Work buffers.
  CCrusherMatchFinder finder_;
  uint8_t* window_ = nullptr;  // stream input with history
  uint8_t* symbols_ = nullptr;
  size_t symbolsSize_ = 0;
  uint8_t* streamOut_ = nullptr;

  // Input.
  const uint8_t* data_ = nullptr;
  size_t filled_ = 0;
  bool eof_ = true;
  int64_t consumedBase_ = 0;  // input offset of data_[0]
  int64_t length_ = 0;        // whole input in buffer mode
  bool bufferMode_ = true;
  CrusherReadProc read_ = nullptr;
  CrusherWriteProc write_ = nullptr;
  void* user_ = nullptr;
  int status_ = 0;

  // Symbols of the block being built.
  size_t symbolPos_ = 0;
  size_t flagPos_ = 0;
  unsigned mask_ = 0;
  uint32_t cFreq_[crusher::kNC] = {};
  uint32_t pFreq_[crusher::kNP] = {};
  uint8_t cLen_[crusher::kNC] = {};
  uint16_t cCode_[crusher::kNC] = {};
  uint8_t tLen_[crusher::kNT] = {};
  uint16_t tCode_[crusher::kNT] = {};
  uint8_t pLen_[crusher::kNP] = {};
  uint16_t pCode_[crusher::kNP] = {};

  // Output.
  uint64_t bits_ = 0;
  int bitCount_ = 0;
  uint8_t* outStart_ = nullptr;
  uint8_t* out_ = nullptr;
  uint8_t* outLimit_ = nullptr;
  bool full_ = false;
  int64_t written_ = 0;  // stream bytes handed to the writer
  uint32_t crc_ = 0;

  ProgressProc progress_ = nullptr;
  void* progressContext_ = nullptr;
  int64_t nextProgress_ = 0;
};
