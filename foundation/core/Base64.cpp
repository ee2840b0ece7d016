#include "foundation/core/Base64.h"

#include <cstdint>
#include <cstring>

#include "foundation/core/Coder.h"

const char Base64::kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

void Base64::Encode(CLibString& text, const void* data, long length) const {
  text = "";
  if (!data || length < 1) return;
  const unsigned char* in = static_cast<const unsigned char*>(data);
  size_t outLen = (static_cast<size_t>(length) * 8 + 5) / 6;
  if (!text.Grow(outLen)) return;
  uint32_t bits = 0;
  int held = 0;
  for (long i = 0; i < length; ++i) {
    bits = (bits << 8) | in[i];
    held += 8;
    while (held >= 6) {
      held -= 6;
      text.AppendChar(kAlphabet[(bits >> held) & 63]);
    }
  }
  if (held > 0) text.AppendChar(kAlphabet[(bits << (6 - held)) & 63]);
}

char* Base64::Decode(const CLibString& text, long& length) const {
  length = 0;
  const char* in = text.c_str();
  size_t n = static_cast<size_t>(text.GetLength());
  char* out = static_cast<char*>(AllocCoderBuffer(n * 6 / 8 + 2));
  if (!out) return nullptr;

  size_t count = 0;
  uint32_t bits = 0;
  int held = 0;
  for (size_t i = 0; i < n; ++i) {
    const char* hit = in[i] ? strchr(kAlphabet, in[i]) : nullptr;
    if (!hit) {
      FreeCoderBuffer(out);
      return nullptr;
    }
    bits = (bits << 6) | static_cast<uint32_t>(hit - kAlphabet);
    held += 6;
    if (held >= 8) {
      held -= 8;
      out[count++] = static_cast<char>(bits >> held);
    }
  }
  // A lone character after whole groups of four still gives a byte: its six bits, high.
  if (n % 4 == 1) out[count++] = static_cast<char>((bits & 63) << 2);
  out[count] = '\0';
  length = static_cast<long>(count);
  return out;
}
