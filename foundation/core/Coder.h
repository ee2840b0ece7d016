// CCoder: the common interface of the byte coders. Encode and Decode return a new buffer that
// belongs to the caller, who frees it with FreeCoderBuffer, and set length to the result's length;
// on failure they return null and set length to 0.
#pragma once

#include "foundation/core/LibString.h"

void* AllocCoderBuffer(size_t size);
void FreeCoderBuffer(void* buffer);

class CCoder {
 public:
  enum Id { kNullCoder = 0, kScrambleCoder = 2, kUrlCoder = 3 };

  virtual ~CCoder() = default;
  virtual int GetId() const = 0;
  virtual CLibString GetName() const = 0;
  virtual char* Encode(const char* data, int& length) = 0;
  virtual char* Decode(const char* data, int& length) = 0;
};

// Pass-through: both directions return a copy of the bytes.
class CNullCoder : public CCoder {
 public:
  constexpr CNullCoder() = default;
  int GetId() const override { return kNullCoder; }
  CLibString GetName() const override { return "Null Coder"; }
  char* Encode(const char* data, int& length) override { return Copy(data, length); }
  char* Decode(const char* data, int& length) override { return Copy(data, length); }

 private:
  static char* Copy(const char* data, int& length);
};

// The shared default coder where none is set.
extern CNullCoder g_NullCoder;
