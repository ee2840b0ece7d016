#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "foundation/core/Crc32.h"
#include "foundation/codec/Crusher.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Packed {
  int status;
  Bytes data;  // the compressed bytes, or the stored copy for CRUSHER_NO_GAIN
};

Packed Compress(const Bytes& in) {
  Bytes out(in.size());  // exactly the room the caller must give
  int r = CrusherCompress(in.data(), out.data(), static_cast<int>(in.size()));
  if (r > 0) out.resize(static_cast<size_t>(r));
  return {r > 0 ? 0 : r, out};
}

struct Expanded {
  int status;
  Bytes data;
};

Expanded Expand(const Bytes& packed, size_t length) {
  Bytes out(length);  // exactly the size: the sanitizers see any write past it
  int r = CrusherDecompress(packed.data(), out.data(), static_cast<int>(length),
                            static_cast<int>(packed.size()), static_cast<int>(length));
  return {r, out};
}

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

Bytes Random(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& c : b) c = static_cast<uint8_t>(rng());
  return b;
}

// Markup of the kind the product writes: repetitive tags, varying words and numbers.
Bytes Html(size_t n, uint32_t seed) {
  static const char* words[] = {"engine",    "rank",   "position",  "page",   "keyword", "site",
                                "submitted", "listed", "directory", "search", "report"};
  std::mt19937 rng(seed);
  std::string s = "<html><head><title>Report</title></head><body>\n<table border=\"1\">\n";
  while (s.size() < n) {
    s += "  <tr><td bgcolor=\"#" + std::to_string(rng() % 0xFFFFFF) + "\">";
    s += words[rng() % 11];
    s += "</td><td align=\"right\">" + std::to_string(rng() % 1000) + "</td><td>";
    for (int k = 0; k < static_cast<int>(rng() % 4); ++k) s += std::string(words[rng() % 11]) + " ";
    s += "</td></tr>\n";
  }
  s.resize(n);
  return Text(s);
}

// Many equal short strings with different continuations: long hash chains, which make the
// encoder change its way of searching (and back again on long inputs).
Bytes ShortRepeats(size_t n, uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes b;
  while (b.size() < n) {
    b.insert(b.end(), {'a', 'b', 'c', 'd'});
    b.push_back(static_cast<uint8_t>(rng()));
    if (rng() % 64 == 0) b.insert(b.end(), rng() % 40, static_cast<uint8_t>(rng()));
  }
  b.resize(n);
  return b;
}

class Crusher : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CrusherInit(), CRUSHER_OK); }
  void TearDown() override {
    CrusherSetEventHandler(nullptr);
    CrusherSetPlatformHooks(nullptr, nullptr);
    EXPECT_EQ(CrusherShutdown(), CRUSHER_OK);
  }

  // Compresses, checks the result's contract, expands and compares.
  static void RoundTrip(const Bytes& in, const std::string& what) {
    SCOPED_TRACE(what + ", " + std::to_string(in.size()) + " bytes");
    Packed p = Compress(in);
    if (p.status == CRUSHER_NO_GAIN) {
      EXPECT_EQ(p.data, in) << "no gain stores the input unchanged";
      return;
    }
    ASSERT_EQ(p.status, CRUSHER_OK);
    EXPECT_LT(p.data.size(), in.size());
    EXPECT_EQ(CrusherGetCrc(), CCrc32::Of(p.data.data(), static_cast<long>(p.data.size())));
    Expanded e = Expand(p.data, in.size());
    ASSERT_EQ(e.status, CRUSHER_OK);
    EXPECT_TRUE(e.data == in) << "expanded bytes differ";
  }
};

// --- Known streams, written bit by bit from the format's description ------------------------

class BitWriter {
 public:
  void Put(int n, uint32_t v) {
    for (int i = n - 1; i >= 0; --i) {
      acc_ = static_cast<uint8_t>((acc_ << 1) | ((v >> i) & 1));
      if (++count_ == 8) {
        bytes_.push_back(acc_);
        count_ = 0;
      }
    }
  }
  // Seven zero bits complete the last byte; a partial byte left after them is not written.
  Bytes Finish() {
    Put(7, 0);
    return bytes_;
  }

 private:
  Bytes bytes_;
  uint8_t acc_ = 0;
  int count_ = 0;
};

// Canonical codes: by rising length, then by symbol number.
std::vector<uint32_t> Canonical(const std::vector<int>& len) {
  std::vector<uint32_t> code(len.size());
  uint32_t next = 0;
  for (int l = 1; l <= 16; ++l) {
    for (size_t s = 0; s < len.size(); ++s)
      if (len[s] == l) code[s] = next++;
    next <<= 1;
  }
  return code;
}

// Lengths of a small code: 3 bits below 7, else 111, (length - 7) one-bits and a zero-bit;
// with zerosAfterThird >= 0, 2 bits after the third length count the zero lengths that follow.
void PutSmallLengths(BitWriter& w, const std::vector<int>& len, int nbit, int zerosAfterThird) {
  w.Put(nbit, static_cast<uint32_t>(len.size()));
  for (size_t i = 0; i < len.size(); ++i) {
    int l = len[i];
    if (l < 7) {
      w.Put(3, static_cast<uint32_t>(l));
    } else {
      w.Put(3, 7);
      for (int k = 7; k < l; ++k) w.Put(1, 1);
      w.Put(1, 0);
    }
    if (i == 2 && zerosAfterThird >= 0) {
      w.Put(2, static_cast<uint32_t>(zerosAfterThird));
      i += static_cast<size_t>(zerosAfterThird);
    }
  }
}

TEST_F(Crusher, EncoderWritesTheDocumentedStream) {
  // 257 equal bytes: one literal, then a match of 256 at distance 1. Two symbols of each code
  // make every code length 1, so the whole stream follows from the format alone.
  BitWriter w;
  w.Put(16, 2);                            // symbols in the block
  PutSmallLengths(w, {0, 0, 1, 1}, 5, 0);  // code-length code: runs of zeros (2), length 1 (3)
  w.Put(9, 510);                           // literal/length lengths:
  w.Put(1, 0), w.Put(9, 97 - 20);          //   97 zeros
  w.Put(1, 1);                             //   'a' has length 1
  w.Put(1, 0), w.Put(9, 411 - 20);         //   411 zeros
  w.Put(1, 1);                             //   symbol 509 (length 256) has length 1
  w.Put(4, 0), w.Put(4, 0);                // one position class: 0
  w.Put(1, 0);                             // 'a'
  w.Put(1, 1);                             // match of 256; distance 1 takes no bits
  Bytes expected = w.Finish();

  Bytes in(257, 'a');
  Packed p = Compress(in);
  ASSERT_EQ(p.status, CRUSHER_OK);
  EXPECT_EQ(p.data, expected);
  EXPECT_EQ(Expand(p.data, in.size()).data, in);
}

// Two blocks: the first with every way of sending code lengths (3-bit, 111-ones, the zero count
// after the third length, single zeros, short, 19-long and long zero runs) and matches that
// overlap and reach far back; the second in the one-symbol form that takes no bits per symbol.
Bytes KnownStream() {
  BitWriter w;
  // Literal/length lengths (complete): a:2, b c e @509:3, x 0x8C 256 257:4.
  std::vector<int> cLen(510, 0);
  cLen['a'] = 2;
  cLen['b'] = cLen['c'] = cLen['e'] = cLen[509] = 3;
  cLen['x'] = cLen[0x8C] = cLen[256] = cLen[257] = 4;
  // Code-length code: 0 one zero, 1 a short run, 2 a long run, 4..6 lengths 2..4.
  std::vector<int> tLen = {3, 3, 2, 0, 3, 2, 3};
  std::vector<uint32_t> tCode = Canonical(tLen);
  // Position classes 0..9 with lengths up to 8 (the 111-ones form), class 8 unused.
  std::vector<int> pLen = {1, 2, 3, 4, 5, 6, 7, 8, 0, 8};
  std::vector<uint32_t> pCode = Canonical(pLen);
  std::vector<uint32_t> cCode = Canonical(cLen);

  w.Put(16, 10);
  PutSmallLengths(w, tLen, 5, 1);
  auto t = [&](int s) { w.Put(tLen[s], tCode[s]); };
  w.Put(9, 510);
  t(2), w.Put(9, 97 - 20);   // 0..96
  t(4);                      // 'a' = 2
  t(5), t(5);                // 'b', 'c' = 3
  t(0);                      // 'd'
  t(5);                      // 'e' = 3
  t(1), w.Put(4, 18 - 3);    // 'f'..'w': 18 zeros
  t(6);                      // 'x' = 4
  t(0), t(1), w.Put(4, 15);  // 121..139: 19 zeros
  t(6);                      // 0x8C = 4
  t(2), w.Put(9, 115 - 20);  // 141..255
  t(6), t(6);                // 256, 257 = 4
  t(2), w.Put(9, 251 - 20);  // 258..508
  t(5);                      // 509 = 3
  PutSmallLengths(w, pLen, 4, -1);

  auto c = [&](int s) { w.Put(cLen[s], cCode[s]); };
  auto p = [&](int cls) { w.Put(pLen[cls], pCode[cls]); };
  for (int ch : {int('a'), int('b'), int('c'), int('e'), int('x'), 0x8C}) c(ch);
  c(257), p(3), w.Put(2, 1);  // length 4, distance 6: d = 5 = 0b101
  c(509), p(0);               // length 256, distance 1: a run over itself
  c(256), p(9), w.Put(8, 9);  // length 3, distance 266: d = 265 = 0b1'0000'1001
  c('a');

  w.Put(16, 3);  // second block: only 'z'
  w.Put(5, 0), w.Put(5, 0);
  w.Put(9, 0), w.Put(9, 'z');
  w.Put(4, 0), w.Put(4, 0);
  return w.Finish();
}

std::string KnownText() {
  return std::string("abcex\x8C") + "abce" + std::string(256, 'e') + "abc" + "a" + "zzz";
}

TEST_F(Crusher, DecoderReadsTheDocumentedStream) {
  Bytes stream = KnownStream();
  std::string text = KnownText();
  Expanded e = Expand(stream, text.size());
  ASSERT_EQ(e.status, CRUSHER_OK);
  EXPECT_EQ(std::string(e.data.begin(), e.data.end()), text);
}

TEST_F(Crusher, DamagedStreamsFailCleanly) {
  std::string text = KnownText();
  Bytes good = KnownStream();
  struct Case {
    const char* what;
    Bytes stream;
    size_t length;
  };
  std::vector<Case> cases;
  auto make = [&](const char* what, auto build, size_t length = 8) {
    BitWriter w;
    build(w);
    for (int k = 0; k < 8; ++k) w.Put(16, 0);  // zeros after, so nothing reads past the end
    cases.push_back({what, w.Finish(), length});
  };
  make("empty block", [](BitWriter& w) { w.Put(16, 0); });
  make("code-length count above 19", [](BitWriter& w) { w.Put(16, 1), w.Put(5, 20); });
  make("single code-length symbol above 18",
       [](BitWriter& w) { w.Put(16, 1), w.Put(5, 0), w.Put(5, 19); });
  make("code length above 16", [](BitWriter& w) {
    w.Put(16, 1), w.Put(5, 3), w.Put(3, 7);
    for (int k = 0; k < 10; ++k) w.Put(1, 1);
    w.Put(1, 0);
  });
  make("oversubscribed code", [](BitWriter& w) {
    w.Put(16, 1), w.Put(5, 3), w.Put(3, 1), w.Put(3, 1), w.Put(3, 1), w.Put(2, 0);
  });
  make("incomplete code", [](BitWriter& w) {
    w.Put(16, 1), w.Put(5, 3), w.Put(3, 1), w.Put(3, 2), w.Put(3, 3), w.Put(2, 0);
  });
  make("literal count above 510",
       [](BitWriter& w) { w.Put(16, 1), w.Put(5, 0), w.Put(5, 2), w.Put(9, 511); });
  make("single literal symbol above 509",
       [](BitWriter& w) { w.Put(16, 1), w.Put(5, 0), w.Put(5, 0), w.Put(9, 0), w.Put(9, 510); });
  make("zero run past the table", [](BitWriter& w) {
    w.Put(16, 1), w.Put(5, 0), w.Put(5, 2), w.Put(9, 510), w.Put(9, 511);  // 531 zeros
  });
  make("position count above 13", [](BitWriter& w) {
    w.Put(16, 1), w.Put(5, 0), w.Put(5, 0), w.Put(9, 0), w.Put(9, 'a'), w.Put(4, 14);
  });
  make("single position class above 12", [](BitWriter& w) {
    w.Put(16, 1), w.Put(5, 0), w.Put(5, 0), w.Put(9, 0), w.Put(9, 'a'), w.Put(4, 0), w.Put(4, 13);
  });
  make("match before the start", [](BitWriter& w) {
    w.Put(16, 1), w.Put(5, 0), w.Put(5, 0), w.Put(9, 0), w.Put(9, 300);  // length 47
    w.Put(4, 0), w.Put(4, 0);                                            // distance 1
  });
  // The known stream asked for a size it does not hold exactly.
  cases.push_back({"a match running past the asked size", good, 12});
  cases.push_back({"symbols left over after the asked size", good, 6});
  cases.push_back({"more bytes asked than the stream holds", good, text.size() + 1});
  cases.push_back({"stream cut by one byte", Bytes(good.begin(), good.end() - 1), text.size()});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Expanded e = Expand(c.stream, c.length);
    EXPECT_EQ(e.status, CRUSHER_BAD_DATA);
  }
}

TEST_F(Crusher, ExpansionNeverWritesPastTheGivenLength) {
  Bytes in = Html(20000, 7);
  Packed p = Compress(in);
  ASSERT_EQ(p.status, CRUSHER_OK);
  for (size_t length :
       {size_t(0), size_t(1), size_t(4095), size_t(4096), size_t(4097), size_t(12345), in.size()}) {
    SCOPED_TRACE(length);
    Bytes out(in.size() + 64, 0xEE);
    int r = CrusherDecompress(p.data.data(), out.data(), static_cast<int>(length),
                              static_cast<int>(p.data.size()), static_cast<int>(out.size()));
    // Only the stream's own size is right; any other is damage, found without overrunning.
    EXPECT_EQ(r, length == in.size() || length == 0 ? CRUSHER_OK : CRUSHER_BAD_DATA);
    EXPECT_TRUE(std::equal(in.begin(), in.begin() + static_cast<long>(length), out.begin()));
    EXPECT_TRUE(std::all_of(out.begin() + static_cast<long>(length), out.end(), [](uint8_t b) {
      return b == 0xEE;
    })) << "bytes after the requested length were touched";
  }
  // A length the destination cannot hold is refused before anything is written.
  Bytes small(100, 0xEE);
  EXPECT_EQ(
      CrusherDecompress(p.data.data(), small.data(), 101, static_cast<int>(p.data.size()), 100),
      CRUSHER_BAD_ARGUMENT);
  EXPECT_TRUE(std::all_of(small.begin(), small.end(), [](uint8_t b) { return b == 0xEE; }));
}

// --- Round trips ----------------------------------------------------------------------------

TEST_F(Crusher, RoundTripsManySizesAndContents) {
  const size_t sizes[] = {1,    2,    3,     4,     7,     8,     255,   256,   257,    258,
                          511,  4095, 4096,  4097,  4351,  4352,  4353,  8191,  8192,   8193,
                          8448, 8449, 12288, 16383, 16384, 16385, 65535, 65536, 100000, 300001};
  for (size_t n : sizes) {
    RoundTrip(Bytes(n, 0), "zeros");
    RoundTrip(Bytes(n, 0xFF), "ones");
    RoundTrip(Random(n, static_cast<uint32_t>(n)), "random");
    RoundTrip(Html(n, static_cast<uint32_t>(n)), "markup");
    Bytes counter(n);
    for (size_t i = 0; i < n; ++i) counter[i] = static_cast<uint8_t>((i / 4) >> ((i % 4) * 8));
    RoundTrip(counter, "32-bit counter");
    Bytes mixed = Html(n, 3);
    Bytes noise = Random(n / 3, 9);
    std::copy(noise.begin(), noise.end(), mixed.begin() + static_cast<long>(n / 3));
    RoundTrip(mixed, "markup with noise inside");
    RoundTrip(ShortRepeats(n, static_cast<uint32_t>(n)), "short repeats");
  }
  // Periodic data of every short period: overlapping copies at every small distance.
  for (size_t period = 1; period <= 40; ++period) {
    Bytes b(5000 + period);
    for (size_t i = 0; i < b.size(); ++i)
      b[i] = static_cast<uint8_t>("0123456789abcdefghijklmnopqrstuvwxyz!?.,"[i % period]);
    RoundTrip(b, "period " + std::to_string(period));
  }
  // Repeats at the edge of the dictionary: distances 4095, 4096 and 4097.
  for (size_t gap : {size_t(4095), size_t(4096), size_t(4097)}) {
    Bytes b = Random(gap, 11);
    Bytes copy(b.begin(), b.begin() + 600);
    b.insert(b.end(), copy.begin(), copy.end());
    RoundTrip(b, "repeat at distance " + std::to_string(gap));
  }
  // Many random mixtures of runs, copies and noise.
  std::mt19937 rng(1234);
  for (int round = 0; round < 150; ++round) {
    Bytes b;
    size_t target = rng() % 70000 + 1;
    while (b.size() < target) {
      switch (rng() % 4) {
        case 0:
          b.insert(b.end(), rng() % 300 + 1, static_cast<uint8_t>(rng()));
          break;
        case 1: {
          Bytes r = Random(rng() % 200 + 1, rng());
          b.insert(b.end(), r.begin(), r.end());
          break;
        }
        default:
          if (!b.empty()) {
            size_t dist = rng() % std::min<size_t>(b.size(), 5000) + 1;
            size_t len = rng() % 400 + 1;
            for (size_t k = 0; k < len; ++k) b.push_back(b[b.size() - dist]);
          }
      }
    }
    RoundTrip(b, "mixture " + std::to_string(round));
  }
}

TEST_F(Crusher, EdgeCasesOfTheFormat) {
  Packed one = Compress({0x42});
  EXPECT_EQ(one.status, CRUSHER_NO_GAIN);
  EXPECT_EQ(one.data, Bytes{0x42});

  Bytes run(10000, 'x');
  Packed p = Compress(run);
  ASSERT_EQ(p.status, CRUSHER_OK);
  EXPECT_LT(p.data.size(), 60u) << "10,000 equal bytes take a few dozen bytes";
  EXPECT_EQ(Expand(p.data, run.size()).data, run);

  Bytes noise = Random(50000, 5);
  Packed r = Compress(noise);
  EXPECT_EQ(r.status, CRUSHER_NO_GAIN);
  EXPECT_EQ(r.data, noise);

  // Enough symbols for many blocks: every block boundary is crossed by the decoder.
  Bytes big = Html(1 << 20, 99);
  RoundTrip(big, "a megabyte of markup");
}

TEST_F(Crusher, OutputMayNotOvertakeTheInputReadSoFar) {
  // Noise first: its blocks cost a little more than their input, and once the compressed
  // bytes catch up with the bytes read the codec gives up and stores the input, even though
  // the zeros that follow would have made the whole smaller.
  Bytes in = Random(2 << 20, 17);
  in.resize(in.size() + (4 << 20), 0);
  Packed p = Compress(in);
  EXPECT_EQ(p.status, CRUSHER_NO_GAIN);
  EXPECT_TRUE(p.data == in);
}

TEST(CrusherLifecycle, InitShutdownAndArguments) {
  Bytes in(100, 'a'), out(100);
  EXPECT_EQ(CrusherCompress(in.data(), out.data(), 100), CRUSHER_NOT_INITIALISED);
  EXPECT_EQ(CrusherShutdown(), CRUSHER_NOT_INITIALISED);
  int64_t stored = 0;
  auto noRead = [](void*, void*, int) { return 0; };
  auto noWrite = [](void*, const void*, int) { return 0; };
  EXPECT_EQ(CrusherEncodeMember(noRead, noWrite, nullptr, &stored), CRUSHER_NOT_INITIALISED);

  ASSERT_EQ(CrusherInit(), CRUSHER_OK);
  EXPECT_EQ(CrusherInit(), CRUSHER_ALREADY_INITIALISED);
  EXPECT_EQ(CrusherCompress(nullptr, out.data(), 100), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(CrusherCompress(in.data(), nullptr, 100), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(CrusherCompress(in.data(), out.data(), 0), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(CrusherCompress(in.data(), out.data(), -5), CRUSHER_BAD_ARGUMENT);
  int size = CrusherCompress(in.data(), out.data(), 100);
  ASSERT_GT(size, 0);
  EXPECT_EQ(CrusherShutdown(), CRUSHER_OK);

  // Expansion needs no initialisation.
  Bytes back(100);
  EXPECT_EQ(CrusherDecompress(out.data(), back.data(), 100, size, 100), CRUSHER_OK);
  EXPECT_EQ(back, in);
  EXPECT_EQ(CrusherDecompress(out.data(), back.data(), -1, size, 100), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(CrusherDecompress(out.data(), back.data(), 100, -1, 100), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(CrusherDecompress(nullptr, back.data(), 100, size, 100), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(CrusherDecompress(out.data(), nullptr, 100, size, 100), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(CrusherDecompress(nullptr, nullptr, 0, 0, 0), CRUSHER_OK);
  EXPECT_EQ(CrusherDecompress(nullptr, back.data(), 1, 0, 100), CRUSHER_BAD_DATA)
      << "no compressed bytes cannot give a byte";

  // A second run after a shutdown starts fresh.
  ASSERT_EQ(CrusherInit(), CRUSHER_OK);
  EXPECT_EQ(CrusherCompress(in.data(), out.data(), 100), size);
  EXPECT_EQ(CrusherShutdown(), CRUSHER_OK);
}

// --- Damage ----------------------------------------------------------------------------------

TEST_F(Crusher, RandomDamageNeverBreaksOut) {
  std::vector<Bytes> inputs = {Html(30000, 1), Html(3000, 2), Bytes(9000, 'q'), KnownStream()};
  std::vector<Bytes> streams;
  std::vector<size_t> lengths;
  for (size_t k = 0; k + 1 < inputs.size(); ++k) {
    Packed p = Compress(inputs[k]);
    ASSERT_EQ(p.status, CRUSHER_OK);
    streams.push_back(p.data);
    lengths.push_back(inputs[k].size());
  }
  streams.push_back(KnownStream());
  lengths.push_back(KnownText().size());

  // Any cut loses bits the decoder needs: always reported.
  for (size_t s = 0; s < streams.size(); ++s) {
    for (size_t cut = 0; cut < streams[s].size(); cut += 1 + cut / 8) {
      Bytes part(streams[s].begin(), streams[s].begin() + static_cast<long>(cut));
      EXPECT_EQ(Expand(part, lengths[s]).status, CRUSHER_BAD_DATA)
          << "stream " << s << " cut at " << cut;
    }
  }
  // Flipped bits and overwritten bytes: either a failure or some output of the asked size, and
  // never a write outside the buffer (the sanitizers watch).
  std::mt19937 rng(77);
  int failures = 0;
  const int rounds = 3000;
  for (int round = 0; round < rounds; ++round) {
    size_t s = rng() % streams.size();
    Bytes bad = streams[s];
    int hits = static_cast<int>(rng() % 4) + 1;
    for (int h = 0; h < hits; ++h) {
      size_t at = rng() % bad.size();
      if (rng() % 2)
        bad[at] ^= static_cast<uint8_t>(1u << (rng() % 8));
      else
        bad[at] = static_cast<uint8_t>(rng());
    }
    Expanded e = Expand(bad, lengths[s]);
    ASSERT_TRUE(e.status == CRUSHER_OK || e.status == CRUSHER_BAD_DATA) << e.status;
    failures += e.status == CRUSHER_BAD_DATA;
  }
  EXPECT_GT(failures, rounds / 4) << "most damage is noticed";
  // Plain garbage as a stream.
  for (int round = 0; round < 500; ++round) {
    Bytes junk = Random(rng() % 600, rng());
    Expanded e = Expand(junk, rng() % 20000);
    ASSERT_TRUE(e.status == CRUSHER_OK || e.status == CRUSHER_BAD_DATA);
  }
}

// --- Events and the one-user rule ------------------------------------------------------------

struct EventLog {
  std::vector<std::pair<int, int64_t>> events;
};
EventLog g_log;

int LogEvent(CrusherState*, int event, int64_t value) {
  g_log.events.push_back({event, value});
  return 0;
}

TEST_F(Crusher, EventsReachTheHandler) {
  g_log = {};
  ASSERT_EQ(CrusherSetEventHandler(LogEvent), CRUSHER_OK);
  Bytes in = Html(10000, 4);
  Packed p = Compress(in);
  ASSERT_EQ(p.status, CRUSHER_OK);
  std::vector<int64_t> progress;
  for (auto& e : g_log.events)
    if (e.first == CRUSHER_EVENT_PROGRESS) progress.push_back(e.second);
  EXPECT_GE(progress.size(), 8u) << "about one per 1024 positions";
  EXPECT_LE(progress.size(), 10u);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_LE(progress.back(), static_cast<int64_t>(in.size()));

  g_log = {};
  Expand(p.data, in.size());
  std::vector<std::pair<int, int64_t>> expected = {{CRUSHER_EVENT_CHUNK, 0},
                                                   {CRUSHER_EVENT_CHUNK, 4096},
                                                   {CRUSHER_EVENT_CHUNK, 8192},
                                                   {CRUSHER_EVENT_DONE, 10000}};
  EXPECT_EQ(g_log.events, expected);

  g_log = {};
  Compress({1, 2, 3});
  EXPECT_EQ(g_log.events.back().first, CRUSHER_NO_GAIN) << "failures are reported as events";
  int dummy = 0;
  EXPECT_EQ(CrusherCompress(&dummy, &dummy, 0), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(g_log.events.back().first, CRUSHER_BAD_ARGUMENT);
}

int g_pumps = 0;
std::string g_asked;
bool g_answer = true;

TEST_F(Crusher, DefaultHandlerUsesThePlatformHooks) {
  g_pumps = 0;
  CrusherSetPlatformHooks([] { ++g_pumps; },
                          [](const char* text, const char* caption) {
                            g_asked = std::string(caption) + ": " + text;
                            return g_answer;
                          });
  Bytes in = Html(9000, 6);
  Packed p = Compress(in);
  EXPECT_EQ(g_pumps, 0) << "compression progress goes to a set handler only";
  Expand(p.data, in.size());
  EXPECT_EQ(g_pumps, 3) << "messages are pumped before each chunk";

  CrusherState state = {0};
  for (int event : {CRUSHER_EVENT_ARCHIVE_STEP, CRUSHER_EVENT_ARCHIVE_PROGRESS})
    EXPECT_EQ(CrusherDefaultEvent(&state, event, 0), 0);
  EXPECT_EQ(g_pumps, 5);
  EXPECT_EQ(CrusherDefaultEvent(&state, 51, 0), 0);
  EXPECT_EQ(CrusherDefaultEvent(&state, -7, 0), 0);
  EXPECT_EQ(g_pumps, 5);

  g_answer = true;
  EXPECT_EQ(CrusherDefaultEvent(&state, CRUSHER_EVENT_NEW_DISK, 0), 0);
  EXPECT_EQ(g_asked, "Diskette: Please insert a new, formatted diskette.");
  EXPECT_EQ(state.status, 0);
  g_answer = false;
  EXPECT_EQ(CrusherDefaultEvent(&state, CRUSHER_EVENT_DISK_NUMBER, 3), CRUSHER_USER_CANCELLED);
  EXPECT_EQ(g_asked, "Diskette: Please insert diskette number 3");
  EXPECT_EQ(state.status, CRUSHER_USER_CANCELLED);

  CrusherSetPlatformHooks(nullptr, nullptr);
  state.status = 0;
  EXPECT_EQ(CrusherDefaultEvent(&state, CRUSHER_EVENT_NEW_DISK, 0), CRUSHER_USER_CANCELLED)
      << "with nobody to ask, the prompt counts as cancelled";
  EXPECT_EQ(CrusherDefaultEvent(&state, CRUSHER_EVENT_CHUNK, 0), 0);
}

std::vector<int> g_reentry;

int ReenterFromHandler(CrusherState*, int event, int64_t) {
  if (event != CRUSHER_EVENT_PROGRESS && event != CRUSHER_EVENT_CHUNK) return 0;
  static Bytes other = Html(5000, 8);
  static Bytes scratch(5000);
  g_reentry.push_back(CrusherCompress(other.data(), scratch.data(), 5000));
  g_reentry.push_back(CrusherDecompress(other.data(), scratch.data(), 10, 10, 5000));
  g_reentry.push_back(CrusherShutdown());
  g_reentry.push_back(CrusherInit());
  g_reentry.push_back(CrusherSetEventHandler(nullptr));
  g_reentry.push_back(CrusherArchiveInit());
  return 0;
}

TEST_F(Crusher, ReentryFromAnEventHandlerIsTurnedAway) {
  g_reentry.clear();
  ASSERT_EQ(CrusherSetEventHandler(ReenterFromHandler), CRUSHER_OK);
  Bytes in = Html(50000, 12);
  Packed p = Compress(in);
  ASSERT_EQ(p.status, CRUSHER_OK);
  Expanded e = Expand(p.data, in.size());
  ASSERT_FALSE(g_reentry.empty());
  EXPECT_TRUE(
      std::all_of(g_reentry.begin(), g_reentry.end(), [](int r) { return r == CRUSHER_BUSY; }));
  EXPECT_EQ(e.status, CRUSHER_OK);
  EXPECT_TRUE(e.data == in) << "the running work is unharmed";
}

std::atomic<int> g_stage{0};

int HoldInHandler(CrusherState*, int event, int64_t) {
  if (event == CRUSHER_EVENT_PROGRESS && g_stage.load() == 0) {
    g_stage.store(1);
    while (g_stage.load() != 2) std::this_thread::yield();
  }
  return 0;
}

TEST_F(Crusher, ASecondThreadIsTurnedAway) {
  g_stage = 0;
  ASSERT_EQ(CrusherSetEventHandler(HoldInHandler), CRUSHER_OK);
  Bytes in = Html(40000, 21);
  Packed p{};
  std::thread worker([&] { p = Compress(in); });
  while (g_stage.load() != 1) std::this_thread::yield();
  // The worker is inside a compression now.
  Bytes other = Html(3000, 22), out(3000);
  EXPECT_EQ(CrusherCompress(other.data(), out.data(), 3000), CRUSHER_BUSY);
  EXPECT_EQ(CrusherDecompress(other.data(), out.data(), 10, 10, 3000), CRUSHER_BUSY);
  EXPECT_EQ(CrusherShutdown(), CRUSHER_BUSY);
  g_stage.store(2);
  worker.join();
  ASSERT_EQ(p.status, CRUSHER_OK);
  EXPECT_TRUE(Expand(p.data, in.size()).data == in);
  EXPECT_GT(CrusherCompress(other.data(), out.data(), 3000), 0) << "free again afterwards";
}

// --- Members ---------------------------------------------------------------------------------

struct Pipe {
  const Bytes* in = nullptr;
  size_t at = 0;
  std::mt19937 rng{5};
  Bytes out;
  std::vector<int> writes;
  int failReadAt = -1;  // fail the read after this many bytes
  int failWrite = 0;
};

int PipeRead(void* user, void* buffer, int size) {
  Pipe& p = *static_cast<Pipe*>(user);
  if (p.failReadAt >= 0 && p.at >= static_cast<size_t>(p.failReadAt)) return -12;
  size_t n = std::min<size_t>(
      {static_cast<size_t>(size), p.in->size() - p.at, p.rng() % 7000 + 1});  // uneven pieces
  if (n) std::memcpy(buffer, p.in->data() + p.at, n);
  p.at += n;
  return static_cast<int>(n);
}

int PipeWrite(void* user, const void* data, int size) {
  Pipe& p = *static_cast<Pipe*>(user);
  if (p.failWrite) return p.failWrite;
  p.writes.push_back(size);
  const uint8_t* d = static_cast<const uint8_t*>(data);
  p.out.insert(p.out.end(), d, d + size);
  return 0;
}

TEST_F(Crusher, MembersRoundTripThroughStreams) {
  for (size_t n :
       {size_t(0), size_t(1), size_t(5000), size_t(81920), size_t(300000), size_t(1500000)}) {
    SCOPED_TRACE(n);
    for (const Bytes& in : {Html(n, static_cast<uint32_t>(n) + 1), ShortRepeats(n, 3)}) {
      Pipe enc;
      enc.in = &in;
      int64_t stored = -1;
      ASSERT_EQ(CrusherEncodeMember(PipeRead, PipeWrite, &enc, &stored), CRUSHER_OK);
      EXPECT_EQ(stored, static_cast<int64_t>(enc.out.size()));
      EXPECT_EQ(CrusherGetCrc(), CCrc32::Of(enc.out.data(), static_cast<long>(enc.out.size())));
      if (n > 1) {
        // The same stream as a buffer compression of the same bytes.
        Packed p = Compress(in);
        ASSERT_EQ(p.status, CRUSHER_OK);
        EXPECT_TRUE(p.data == enc.out);
      }

      Pipe dec;
      dec.in = &enc.out;
      ASSERT_EQ(CrusherDecodeMember(PipeRead, PipeWrite, &dec, static_cast<int64_t>(n), stored),
                CRUSHER_OK);
      EXPECT_TRUE(dec.out == in);
      EXPECT_TRUE(std::all_of(dec.writes.begin(), dec.writes.end(),
                              [](int w) { return w > 0 && w <= 4096; }));
      EXPECT_EQ(dec.at, enc.out.size()) << "every stored byte is read";
      EXPECT_EQ(CrusherGetCrc(), CCrc32::Of(enc.out.data(), static_cast<long>(enc.out.size())));
    }
  }
}

TEST_F(Crusher, MemberFailuresComeBack) {
  Bytes in = Html(200000, 31);
  Pipe enc;
  enc.in = &in;
  int64_t stored = 0;
  ASSERT_EQ(CrusherEncodeMember(PipeRead, PipeWrite, &enc, &stored), CRUSHER_OK);

  Pipe readFails;
  readFails.in = &in;
  readFails.failReadAt = 100000;
  EXPECT_EQ(CrusherEncodeMember(PipeRead, PipeWrite, &readFails, &stored), -12);
  Pipe writeFails;
  writeFails.in = &in;
  writeFails.failWrite = -1;
  EXPECT_EQ(CrusherEncodeMember(PipeRead, PipeWrite, &writeFails, &stored), -1);

  Pipe decReadFails;
  decReadFails.in = &enc.out;
  decReadFails.failReadAt = 1000;
  EXPECT_EQ(CrusherDecodeMember(PipeRead, PipeWrite, &decReadFails, 200000,
                                static_cast<int64_t>(enc.out.size())),
            -12);
  Pipe decWriteFails;
  decWriteFails.in = &enc.out;
  decWriteFails.failWrite = -1;
  EXPECT_EQ(CrusherDecodeMember(PipeRead, PipeWrite, &decWriteFails, 200000,
                                static_cast<int64_t>(enc.out.size())),
            -1);
  Bytes shortStream(enc.out.begin(), enc.out.end() - 10);
  Pipe cut;
  cut.in = &shortStream;
  EXPECT_EQ(
      CrusherDecodeMember(PipeRead, PipeWrite, &cut, 200000, static_cast<int64_t>(enc.out.size())),
      CRUSHER_BAD_DATA)
      << "stored bytes that end early";
  EXPECT_EQ(CrusherDecodeMember(nullptr, PipeWrite, &cut, 1, 1), CRUSHER_BAD_ARGUMENT);
  EXPECT_EQ(CrusherDecodeMember(PipeRead, PipeWrite, &cut, -1, 1), CRUSHER_BAD_ARGUMENT);
}

TEST(CrusherArchive, InitAndShutdownResetTheArchiveState) {
  CrusherArchiveState* a = CrusherGetArchiveState();
  a->prompts = 4;
  a->volume = 2;
  a->password = static_cast<char*>(std::malloc(8));
  std::strcpy(a->password, "secret");
  EXPECT_EQ(CrusherArchiveInit(), CRUSHER_OK);
  EXPECT_EQ(a->prompts, 0);
  EXPECT_EQ(a->volume, 0);
  EXPECT_EQ(a->password, nullptr);
  a->password = static_cast<char*>(std::malloc(8));
  EXPECT_EQ(CrusherArchiveShutdown(), CRUSHER_OK);
  EXPECT_EQ(a->password, nullptr);
}

}  // namespace
