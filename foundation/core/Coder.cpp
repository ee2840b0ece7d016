#include "foundation/core/Coder.h"

#include <cstdlib>
#include <cstring>

CNullCoder g_NullCoder;

void* AllocCoderBuffer(size_t size) {
  return malloc(size ? size : 1);
}

void FreeCoderBuffer(void* buffer) {
  free(buffer);
}

char* CNullCoder::Copy(const char* data, int& length) {
  if (length < 0 || (!data && length > 0)) {
    length = 0;
    return nullptr;
  }
  char* copy = static_cast<char*>(AllocCoderBuffer(static_cast<size_t>(length)));
  if (!copy) {
    length = 0;
    return nullptr;
  }
  if (length) memcpy(copy, data, static_cast<size_t>(length));
  return copy;
}
