#include "foundation/core/UrlCoder.h"

namespace {

const char kHex[] = "0123456789abcdef";

bool IsPlain(unsigned char b) {
  return b == '.' || b == '-' || (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') ||
         (b >= 'a' && b <= 'z');
}

// Letters of either case count 10 upwards from A; anything else counts from '0' unchecked,
// as browsers and old servers have always been lenient here.
int NibbleValue(unsigned char c) {
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return c - '0';
}

char* Fail(int& length) {
  length = 0;
  return nullptr;
}

}  // namespace

char* CUrlCoder::Encode(const char* data, int& length) {
  if (length < 0 || (!data && length > 0)) return Fail(length);
  bool utf8 = m_charset == "UTF-8";
  const unsigned char* in = reinterpret_cast<const unsigned char*>(data);

  size_t size = 0;
  for (int i = 0; i < length; ++i)
    size += IsPlain(in[i]) || in[i] == ' ' ? 1 : (utf8 && in[i] >= 128) ? 6 : 3;
  char* out = static_cast<char*>(AllocCoderBuffer(size + 1));
  if (!out) return Fail(length);

  char* o = out;
  for (int i = 0; i < length; ++i) {
    unsigned char b = in[i];
    if (IsPlain(b)) {
      *o++ = static_cast<char>(b);
    } else if (b == ' ') {
      *o++ = '+';
    } else if (utf8 && b >= 128) {
      // A Latin-1 byte as the two escapes of its UTF-8 form.
      unsigned char low = (b & 63) | 128;
      *o++ = '%';
      *o++ = 'c';
      *o++ = kHex[b >> 6];
      *o++ = '%';
      *o++ = kHex[low >> 4];
      *o++ = kHex[low & 15];
    } else {
      *o++ = '%';
      *o++ = kHex[b >> 4];
      *o++ = kHex[b & 15];
    }
  }
  *o = '\0';
  length = static_cast<int>(o - out);
  return out;
}

char* CUrlCoder::Decode(const char* data, int& length) {
  if (length < 0 || (!data && length > 0)) return Fail(length);
  char* out = static_cast<char*>(AllocCoderBuffer(static_cast<size_t>(length) + 1));
  if (!out) return Fail(length);
  const unsigned char* in = reinterpret_cast<const unsigned char*>(data);
  char* o = out;
  for (int i = 0; i < length; ++i) {
    unsigned char b = in[i];
    if (b == '\r' || b == '+') {
      *o++ = ' ';
    } else if (b == '%' && i + 2 < length) {
      *o++ = static_cast<char>((NibbleValue(in[i + 1]) << 4) + NibbleValue(in[i + 2]));
      i += 2;
    } else {
      *o++ = static_cast<char>(b);  // also a "%" too near the end to be an escape
    }
  }
  *o = '\0';
  length = static_cast<int>(o - out);
  return out;
}

namespace {

CLibString CodeInPlace(CLibString& text, const CLibString& charset, bool encode) {
  CUrlCoder coder;
  coder.SetCharset(charset);
  int length = text.GetLength();
  char* result = encode ? coder.Encode(text.c_str(), length) : coder.Decode(text.c_str(), length);
  if (result) {
    text = result;
    FreeCoderBuffer(result);
  }
  return text;
}

}  // namespace

CLibString UrlEncode(CLibString& text, const CLibString& charset) {
  return CodeInPlace(text, charset, true);
}

CLibString UrlDecode(CLibString& text, const CLibString& charset) {
  return CodeInPlace(text, charset, false);
}
