// CScrambleCoder: a keyed scrambling with an integrity check, used for the engine data files and
// for values sent in requests. The output holds no zero byte before its closing one, so it can
// travel as text.
#pragma once

#include <cstdint>

#include "foundation/core/Coder.h"

class CScrambleCoder : public CCoder {
 public:
  explicit CScrambleCoder(const char* keyText);
  int GetId() const override { return kScrambleCoder; }
  CLibString GetName() const override { return "Scramble Coder"; }
  char* Encode(const char* data, int& length) override;
  // A text whose check fails decodes to length 0 (an empty, zero-terminated buffer).
  char* Decode(const char* data, int& length) override;

  uint16_t GetKey() const { return m_key; }

 private:
  unsigned char KeyByte(size_t position) const {
    return static_cast<unsigned char>(position % 2 == 0 ? m_key >> 8 : m_key & 0xFF);
  }

  uint16_t m_key = 0;
};
