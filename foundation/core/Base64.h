// Base64 with the standard alphabet. Encoding writes no "=" padding; decoding stops and fails at
// any character outside the alphabet.
#pragma once

#include "foundation/core/LibString.h"

class Base64 {
 public:
  Base64() = default;
  virtual ~Base64() = default;

  void Encode(CLibString& text, const void* data, long length) const;
  // A new zero-terminated buffer (free it with FreeCoderBuffer) and its length; null on a foreign
  // character or when memory runs out.
  char* Decode(const CLibString& text, long& length) const;

 private:
  static const char kAlphabet[];
};
