#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "foundation/core/Base64.h"
#include "foundation/core/Crc32.h"
#include "foundation/core/ScrambleCoder.h"
#include "foundation/core/UrlCoder.h"

namespace {

struct BufferFree {
  void operator()(char* p) const { FreeCoderBuffer(p); }
};
using Buffer = std::unique_ptr<char, BufferFree>;

std::string Code(CCoder& coder, bool encode, const std::string& in) {
  int length = static_cast<int>(in.size());
  Buffer out(encode ? coder.Encode(in.data(), length) : coder.Decode(in.data(), length));
  EXPECT_NE(out, nullptr);
  return out ? std::string(out.get(), length) : std::string();
}

TEST(Crc32, KnownVectors) {
  CCrc32 crc;
  EXPECT_EQ(CCrc32::Of("123456789", 9), 0xCBF43926u);
  EXPECT_EQ(CCrc32::Of("", 0), 0u);
  EXPECT_EQ(CCrc32::Of("The quick brown fox jumps over the lazy dog", 43), 0x414FA339u);
  EXPECT_EQ(crc.Update(0x1234u, "x", 0), 0x1234u) << "a length below 1 changes nothing";
  uint32_t running = CCrc32::Update(0xFFFFFFFFu, "1234", 4);
  EXPECT_EQ(~CCrc32::Update(running, "56789", 5), 0xCBF43926u) << "feeding in pieces";
}

TEST(UrlCoder, Encoding) {
  struct {
    std::string in, charset, out;
  } cases[] = {
      {" ", "", "+"},
      {"/", "", "%2f"},
      {"a.b-c_9~Z", "", "a.b-c%5f9%7eZ"},
      {"\xe9", "", "%e9"},
      {"\xe9", "utf-8", "%c3%a9"},
      {"\x80\xbf\xc0", "UTF-8", "%c2%80%c2%bf%c3%80"},
      {std::string("a\0b", 3), "", "a%00b"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    CUrlCoder coder;
    coder.SetCharset(c.charset.c_str());
    EXPECT_EQ(Code(coder, true, c.in), c.out);
  }
}

TEST(UrlCoder, DecodingIsLenientButStaysInBounds) {
  struct {
    std::string in, out;
  } cases[] = {
      {"%2F", "/"}, {"%2f", "/"}, {"a+b", "a b"}, {"a\rb", "a b"},    {"%41%42", "AB"},
      {"%", "%"},   {"%4", "%4"}, {"ab%", "ab%"}, {"100%25", "100%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    CUrlCoder coder;
    EXPECT_EQ(Code(coder, false, c.in), c.out);
  }
  CLibString text("caf\xe9 & more");
  EXPECT_STREQ(UrlEncode(text, "UTF-8").c_str(), "caf%c3%a9+%26+more");
  EXPECT_STREQ(text.c_str(), "caf%c3%a9+%26+more") << "codes in place";
  EXPECT_STREQ(UrlDecode(text).c_str(), "caf\xc3\xa9 & more");
}

TEST(ScrambleCoder, KeyDerivation) {
  EXPECT_EQ(CScrambleCoder("").GetKey(), 0);
  // ((0 + 'a') ^ 0x3D0A) = 0x3D6B; ((0x3D6B + 'b') ^ 0x3D0A) = 0x00C7
  EXPECT_EQ(CScrambleCoder("a").GetKey(), 0x3D6B);
  EXPECT_EQ(CScrambleCoder("ab").GetKey(), 0x00C7);
  // Characters count as signed bytes: 0xFF is -1.
  EXPECT_EQ(CScrambleCoder("\xff").GetKey(), static_cast<uint16_t>(0xFFFF ^ 0x3D0A));
}

TEST(ScrambleCoder, KnownOutput) {
  // Worked by hand: key "a" = 0x3D6B; high byte 0x3D at even positions, low 0x6B at odd ones.
  // Plain "A" (0x41) + CRC-32 check bytes of "A" (0xD3D99E8B: 0x9E, 0x8B).
  // 0x41 -> 0x14 ^ 0x3D = 0x29; r = 0x29
  // 0x9E -> 0xE9 ^ 0x6B = 0x82; r = 0x29 ^ 0x82 = 0xAB
  // 0x8B -> 0xB8 ^ 0x3D = 0x85; r = 0xAB ^ 0x85 = 0x2E
  CScrambleCoder coder("a");
  EXPECT_EQ(CCrc32::Of("A", 1), 0xD3D99E8Bu);
  int length = 1;
  Buffer out(coder.Encode("A", length));
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(std::string(out.get(), length), "\x29\xab\x2e");
  EXPECT_EQ(out.get()[length], '\0');
}

TEST(ScrambleCoder, RoundTripsAndNeverWritesZeroInside) {
  std::mt19937 rng(3);
  for (int n : {0, 1, 2, 17, 256, 4000}) {
    std::string plain(n, '\0');
    for (auto& ch : plain) ch = static_cast<char>(rng() % 4);  // many zeros and ones
    CScrambleCoder coder("secret");
    std::string scrambled = Code(coder, true, plain);
    EXPECT_EQ(scrambled.find('\0'), std::string::npos) << n;
    EXPECT_EQ(Code(coder, false, scrambled), plain) << n;
  }
}

TEST(ScrambleCoder, WrongKeyOrDamageFailsTheCheck) {
  std::string plain = "engine.key=value of some length";
  CScrambleCoder coder("secret"), other("another");
  std::string scrambled = Code(coder, true, plain);
  int length = static_cast<int>(scrambled.size());
  Buffer wrong(other.Decode(scrambled.data(), length));
  ASSERT_NE(wrong, nullptr);
  EXPECT_EQ(length, 0);
  EXPECT_EQ(wrong.get()[0], '\0');

  for (size_t i = 0; i < scrambled.size(); ++i) {
    std::string damaged = scrambled;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x40);
    EXPECT_NE(Code(coder, false, damaged), plain) << "flipped byte " << i;
  }
  EXPECT_EQ(Code(coder, false, ""), "");
  EXPECT_EQ(Code(coder, false, "\x01"), "") << "too short for a check";
  int nullLength = 5;
  EXPECT_EQ(coder.Decode(nullptr, nullLength), nullptr);
  EXPECT_EQ(nullLength, 0);
}

TEST(Base64, EncodeWithoutPadding) {
  struct {
    std::string in, out;
  } cases[] = {
      {"abc", "YWJj"},
      {"ab", "YWI"},
      {"a", "YQ"},
      {"", ""},
      {"\xff\xfe\xfd", "//79"},
      {"Hello, World!", "SGVsbG8sIFdvcmxkIQ"},
  };
  Base64 b64;
  for (const auto& c : cases) {
    CLibString text("stale");
    b64.Encode(text, c.in.data(), static_cast<long>(c.in.size()));
    EXPECT_STREQ(text.c_str(), c.out.c_str());
  }
}

TEST(Base64, Decode) {
  Base64 b64;
  struct {
    const char* in;
    bool ok;
    std::string out;
  } cases[] = {
      {"YWJj", true, "abc"},
      {"YWI", true, "ab"},
      {"YQ", true, "a"},
      {"YWI=", false, ""},
      {"YW Jj", false, ""},
      {"YWJj\n", false, ""},
      {"YWJjZ", true, std::string("abc") + static_cast<char>(25 << 2)},  // lone character
      {"", true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    long length = -1;
    Buffer out(b64.Decode(c.in, length));
    ASSERT_EQ(out != nullptr, c.ok);
    if (!c.ok) continue;
    EXPECT_EQ(std::string(out.get(), length), c.out);
    EXPECT_EQ(out.get()[length], '\0');
  }
}

TEST(Base64, RoundTripsBinary) {
  Base64 b64;
  std::mt19937 rng(11);
  for (int n = 0; n < 70; ++n) {
    std::string data(n, '\0');
    for (auto& ch : data) ch = static_cast<char>(rng());
    CLibString text;
    b64.Encode(text, data.data(), n);
    long length = 0;
    Buffer back(b64.Decode(text, length));
    ASSERT_NE(back, nullptr);
    // A lone trailing character adds a partial byte; the whole bytes are always the input.
    ASSERT_GE(length, n);
    EXPECT_EQ(std::string(back.get(), n), data) << n;
  }
}

TEST(NullCoder, CopiesBytes) {
  EXPECT_EQ(g_NullCoder.GetId(), CCoder::kNullCoder);
  EXPECT_STREQ(g_NullCoder.GetName().c_str(), "Null Coder");
  std::string bytes("a\0b", 3);
  EXPECT_EQ(Code(g_NullCoder, true, bytes), bytes);
  EXPECT_EQ(Code(g_NullCoder, false, bytes), bytes);
  CScrambleCoder s("");
  CUrlCoder u;
  EXPECT_STREQ(s.GetName().c_str(), "Scramble Coder");
  EXPECT_STREQ(u.GetName().c_str(), "Url Coder");
  EXPECT_EQ(s.GetId(), CCoder::kScrambleCoder);
  EXPECT_EQ(u.GetId(), CCoder::kUrlCoder);
}

}  // namespace
