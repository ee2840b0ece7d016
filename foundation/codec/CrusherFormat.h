// The fixed numbers of the block compressor's stream, shared by its encoder and decoder.
#pragma once

namespace crusher {

constexpr int kDictSize = 4096;  // farthest match distance
constexpr int kMaxMatch = 256;
constexpr int kThreshold = 3;  // shortest match
constexpr int kNC = 510;       // literal/length symbols: 256 bytes, then lengths 3..256
constexpr int kCBits = 9;      // bits of a literal/length count or symbol
constexpr int kNP = 13;        // position classes: the bit length of distance-1, 0..12
constexpr int kPBits = 4;
constexpr int kNT = 19;  // code-length symbols
constexpr int kTBits = 5;
constexpr int kMaxCodeLength = 16;
constexpr int kTSpecial = 3;  // index after which the code-length code sends its zero count

}  // namespace crusher
