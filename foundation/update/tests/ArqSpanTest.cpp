// Archives across diskettes, with volumes in memory: written with the room each volume has,
// read back member by member across them, and a prompt given up.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/codec/Crusher.h"
#include "foundation/update/ArqSpan.h"

namespace {

class StringSink : public ArqSink {
 public:
  int Write(const void* data, int size) override {
    bytes.append(static_cast<const char*>(data), size);
    return 0;
  }
  std::string bytes;
};

// Volumes of the given room each; asking for one more than there are gives up.
class MemoryVolumes : public ArqVolumeTarget {
 public:
  explicit MemoryVolumes(std::vector<int64_t> rooms) : rooms_(std::move(rooms)) {
    volumes.emplace_back();
  }
  int64_t Room() override { return rooms_[volumes.size() - 1] - volumes.back().size(); }
  int Write(const void* data, int size) override {
    if (size > Room()) return ARQ_CANNOT_WRITE;
    volumes.back().append(static_cast<const char*>(data), size);
    return 0;
  }
  int NextVolume(uint32_t volume) override {
    asked.push_back(volume);
    if (volume >= rooms_.size()) return ARQ_GAVE_UP;
    volumes.emplace_back();
    return 0;
  }
  std::vector<std::string> volumes;
  std::vector<uint32_t> asked;

 private:
  std::vector<int64_t> rooms_;
};

// Pseudo-random bytes, which the compressor cannot shrink.
std::string Noise(size_t n, uint32_t seed) {
  std::string s(n, '\0');
  for (char& c : s) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  return s;
}

class CodecScope {
 public:
  CodecScope() { EXPECT_EQ(CrusherInit(), CRUSHER_OK); }
  ~CodecScope() { CrusherShutdown(); }
};

struct ReadBack {
  std::vector<std::string> names, data;
  std::vector<uint32_t> asked;
  int status = 0;
};

// Reads every member across the volumes, the way the layer reads diskettes.
ReadBack ReadVolumes(const std::vector<std::string>& volumes, int giveUpAt = -1) {
  ReadBack r;
  size_t current = 0;
  auto source = std::make_unique<ArqMemorySource>(volumes[0].data(), volumes[0].size());
  ArqSource* proxy = source.get();
  struct Forward : ArqSource {
    ArqSource** to;
    int Read(void* b, int n) override { return (*to)->Read(b, n); }
    bool Skip(int64_t n) override { return (*to)->Skip(n); }
    int64_t Position() const override { return (*to)->Position(); }
  } volume;
  volume.to = &proxy;
  for (;;) {
    ArqMemberHeader h;
    r.status = ArqReadHeader(volume, h);
    if (r.status == ARQ_END) {
      r.status = 0;
      return r;
    }
    if (r.status < 0) return r;
    ArqSpanningSource spanning(volume, h, [&](uint32_t number) {
      r.asked.push_back(number);
      if (static_cast<int>(number) == giveUpAt || number >= volumes.size()) return 30;
      current = number;
      source = std::make_unique<ArqMemorySource>(volumes[current].data(), volumes[current].size());
      proxy = source.get();
      return 0;
    });
    StringSink out;
    r.status = ArqDecodeMember(spanning, h, &out);
    if (r.status < 0) return r;
    r.names.push_back(h.name);
    r.data.push_back(out.bytes);
  }
}

}  // namespace

TEST(ArqSpan, DisketteClasses) {
  struct Case {
    int64_t free;
    int cls;
  } cases[] = {{1457664, 3},
               {1450000, 3},
               {1449999, 1},
               {1213952, 1},
               {1210000, 1},
               {730112, 2},
               {730000, 2},
               {729999, 0},
               {362000, 0},
               {361999, ARQ_DISKETTE_TOO_SMALL},
               {4097, ARQ_DISKETTE_TOO_SMALL}};
  for (const Case& c : cases) EXPECT_EQ(ArqDisketteClass(c.free), c.cls) << c.free;
}

// Members larger than a volume are cut and flagged; read back across the volumes they are what
// was written, and a prompt given up ends the read.
TEST(ArqSpan, MembersContinueOnTheNextVolume) {
  CodecScope codec;
  std::vector<std::pair<std::string, std::string>> members = {{"small.txt", "a small text\r\n"},
                                                              {"big.bin", Noise(150000, 1)},
                                                              {"bigger.bin", Noise(260000, 2)},
                                                              {"last.txt", "the end\r\n"}};
  StringSink whole;
  for (const auto& m : members) {
    ArqMemberHeader h;
    h.name = m.first;
    ASSERT_EQ(ArqWriteMember(whole, h, m.second.data(), m.second.size()), ARQ_OK);
  }
  ArqWriteEnd(whole);

  MemoryVolumes disks({100000, 120000, 150000, 1000000});
  ArqMemorySource source(whole.bytes.data(), whole.bytes.size());
  ASSERT_EQ(ArqWriteSpanned(source, disks), ARQ_OK);
  ASSERT_EQ(disks.volumes.size(), 4u);
  EXPECT_EQ(disks.asked, (std::vector<uint32_t>{1, 2, 3}));
  for (size_t i = 0; i + 1 < disks.volumes.size(); ++i)
    EXPECT_LE(disks.volumes[i].size(), static_cast<size_t>(200000)) << i;
  // The first volume ends in a continued part of big.bin with volume number 0.
  ArqMemorySource first(disks.volumes[0].data(), disks.volumes[0].size());
  ArqMemberHeader h;
  ASSERT_EQ(ArqReadHeader(first, h), ARQ_OK);
  ASSERT_TRUE(first.Skip(h.storedSize));
  ASSERT_EQ(ArqReadHeader(first, h), ARQ_OK);
  EXPECT_EQ(h.name, "big.bin");
  EXPECT_TRUE(h.flags & arq::kFlagContinued);
  EXPECT_EQ(h.volume, 0u);
  // The next volume goes on with it.
  ArqMemorySource second(disks.volumes[1].data(), disks.volumes[1].size());
  ASSERT_EQ(ArqReadHeader(second, h), ARQ_OK);
  EXPECT_EQ(h.name, "big.bin");
  EXPECT_EQ(h.volume, 1u);

  ReadBack back = ReadVolumes(disks.volumes);
  ASSERT_EQ(back.status, ARQ_OK);
  ASSERT_EQ(back.names.size(), members.size());
  for (size_t i = 0; i < members.size(); ++i) {
    EXPECT_EQ(back.names[i], members[i].first);
    EXPECT_TRUE(back.data[i] == members[i].second) << members[i].first;
  }
  EXPECT_EQ(back.asked, (std::vector<uint32_t>{1, 2, 3}));

  EXPECT_EQ(ReadVolumes(disks.volumes, 2).status, ARQ_GAVE_UP);
  // A diskette out of order is not taken for the one asked for.
  std::vector<std::string> swapped = disks.volumes;
  std::swap(swapped[1], swapped[2]);
  EXPECT_EQ(ReadVolumes(swapped).status, ARQ_BAD_HEADER);
}

// Giving up at the prompt for the next volume ends the writing with that status.
TEST(ArqSpan, GivingUpEndsTheWrite) {
  CodecScope codec;
  StringSink whole;
  ArqMemberHeader h;
  h.name = "big.bin";
  std::string data = Noise(50000, 3);
  ArqWriteMember(whole, h, data.data(), data.size());
  ArqWriteEnd(whole);
  MemoryVolumes disks({20000});
  ArqMemorySource source(whole.bytes.data(), whole.bytes.size());
  EXPECT_EQ(ArqWriteSpanned(source, disks), ARQ_GAVE_UP);
}
