// The OS-free parts of the archive layer beside the member format: enciphered members, the
// line ends of text members, and the table of open files.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "foundation/codec/Crusher.h"
#include "foundation/update/ArqCipher.h"
#include "foundation/update/ArqFileTable.h"
#include "foundation/update/ArqFormat.h"

namespace {

class StringSink : public ArqSink {
 public:
  int Write(const void* data, int size) override {
    bytes.append(static_cast<const char*>(data), size);
    return 0;
  }
  std::string bytes;
};

class CodecScope {
 public:
  CodecScope() { EXPECT_EQ(CrusherInit(), CRUSHER_OK); }
  ~CodecScope() { CrusherShutdown(); }
};

std::string Encrypted(const std::string& data, const char* password, uint32_t time = 0x5A17) {
  StringSink sink;
  ArqMemberHeader h;
  h.name = "secret.txt";
  h.time = time;
  EXPECT_EQ(ArqWriteMember(sink, h, data.data(), data.size(), password), ARQ_OK);
  return sink.bytes;
}

// Decodes the one member of the bytes with the password: its status and what came out.
int Decode(const std::string& bytes, const char* password, std::string* out = nullptr) {
  ArqMemorySource source(bytes.data(), bytes.size());
  ArqMemberHeader h;
  int status = ArqReadHeader(source, h);
  if (status < 0) return status;
  StringSink sink;
  status = ArqDecodeMember(source, h, out ? &sink : nullptr, password);
  if (out) *out = sink.bytes;
  return status;
}

}  // namespace

// The stream cipher itself: it changes the bytes, and the same password's keys undo it.
TEST(ArqCipher, EncipheringRoundTripsOnlyWithTheSamePassword) {
  std::string plain = "The quick brown fox jumps over the lazy dog";
  std::string data = plain;
  ArqZipCipher(std::string("pass")).Encrypt(reinterpret_cast<uint8_t*>(data.data()), data.size());
  EXPECT_NE(data, plain);
  std::string back = data;
  ArqZipCipher(std::string("pass")).Decrypt(reinterpret_cast<uint8_t*>(back.data()), back.size());
  EXPECT_EQ(back, plain);
  std::string wrong = data;
  ArqZipCipher(std::string("Pass")).Decrypt(reinterpret_cast<uint8_t*>(wrong.data()), wrong.size());
  EXPECT_NE(wrong, plain);
}

// An encrypted member: flagged, decoded with its password, refused with another or none, and
// still tested sound by its stored bytes' CRC without one.
TEST(ArqCipher, EncryptedMembers) {
  CodecScope codec;
  std::string data(5000, 'q');
  data += "tail";
  std::string bytes = Encrypted(data, "Open Sesame");
  ArqMemorySource source(bytes.data(), bytes.size());
  ArqMemberHeader h;
  ASSERT_EQ(ArqReadHeader(source, h), ARQ_OK);
  EXPECT_TRUE(h.flags & arq::kFlagEncrypted);
  EXPECT_EQ(bytes.find("tail"), std::string::npos);

  std::string out;
  EXPECT_EQ(Decode(bytes, "Open Sesame", &out), ARQ_OK);
  EXPECT_EQ(out, data);
  struct Case {
    const char* password;
    bool sink;
    int status;
  } cases[] = {{"open sesame", true, ARQ_WRONG_PASSWORD},
               {"", true, ARQ_WRONG_PASSWORD},
               {nullptr, true, ARQ_WRONG_PASSWORD},
               {nullptr, false, ARQ_OK}};  // the test without the password
  for (const Case& c : cases) {
    std::string got = "untouched";
    EXPECT_EQ(Decode(bytes, c.password, c.sink ? &got : nullptr), c.status)
        << (c.password ? c.password : "(none)");
    if (c.sink) {
      EXPECT_TRUE(got.empty());
    }
  }
  // A damaged stored byte is found without the password too.
  std::string damaged = bytes;
  damaged[damaged.size() - 3] ^= 1;
  EXPECT_EQ(Decode(damaged, nullptr), ARQ_BAD_CRC);
}

// Text members get this system's line ends on extraction; a carriage return already there, also
// at the end of one write, is kept single.
TEST(ArqTextSink, LineFeedsBecomeCarriageReturnLineFeed) {
  struct Case {
    std::vector<std::string> writes;
    std::string out;
  } cases[] = {{{"a\nb\n"}, "a\r\nb\r\n"},
               {{"a\r\nb"}, "a\r\nb"},
               {{"a\r", "\nb\n"}, "a\r\nb\r\n"},
               {{"\n\n"}, "\r\n\r\n"},
               {{""}, ""}};
  for (const Case& c : cases) {
    StringSink out;
    ArqTextSink text(out);
    for (const std::string& w : c.writes)
      EXPECT_EQ(text.Write(w.data(), static_cast<int>(w.size())), 0);
    EXPECT_EQ(out.bytes, c.out);
  }
}

// The 20 slots, the runtime's modes and the statuses of bad handles and arguments.
TEST(ArqFileTable, SlotsModesAndStatuses) {
  std::string name = ::testing::TempDir() + "arq_table_test.bin";
  EXPECT_EQ(ArqFileOpen(name.c_str(), 0), ARQ_BAD_ARGUMENT);
  EXPECT_EQ(ArqFileOpen(nullptr, arq::kOpenRead), ARQ_BAD_ARGUMENT);
  EXPECT_EQ(ArqFileOpen((name + ".missing").c_str(), arq::kOpenRead), ARQ_CANNOT_WRITE);

  int h = ArqFileOpen(name.c_str(), arq::kOpenCreate | arq::kOpenRead);
  ASSERT_GE(h, 0);
  EXPECT_EQ(ArqFileStatus(h), arq::kStateOpen);
  EXPECT_STREQ(ArqFileName(h), name.c_str());
  ArqHandleSink sink(h);
  EXPECT_EQ(sink.Write("0123456789", 10), 0);
  EXPECT_EQ(ArqFileSeek(h, 4, SEEK_SET), 4);
  ArqHandleSource source(h);
  char buffer[8] = {};
  EXPECT_EQ(source.Read(buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "456");
  EXPECT_EQ(ArqFileTell(h), 7);
  EXPECT_FALSE(source.Skip(10));
  EXPECT_EQ(ArqFileClose(h), 0);

  // Append adds at the end; read alone cannot write.
  h = ArqFileOpen(name.c_str(), arq::kOpenAppend);
  ASSERT_GE(h, 0);
  EXPECT_EQ(ArqHandleSink(h).Write("ab", 2), 0);
  EXPECT_EQ(ArqFileClose(h), 0);
  h = ArqFileOpen(name.c_str(), arq::kOpenRead);
  char all[16] = {};
  EXPECT_EQ(ArqHandleSource(h).Read(all, sizeof all), 12);
  EXPECT_EQ(std::string(all, 12), "0123456789ab");
  EXPECT_EQ(ArqHandleSink(h).Write("x", 1), ARQ_CANNOT_WRITE);
  EXPECT_EQ(ArqFileClose(h), 0);

  // Every slot taken: the 21st open gets -17; bad handles get -8 and -1.
  int handles[arq::kFileSlots];
  for (int& slot : handles) {
    slot = ArqFileOpen(name.c_str(), arq::kOpenRead);
    ASSERT_GE(slot, 0);
  }
  EXPECT_EQ(ArqFileOpen(name.c_str(), arq::kOpenRead), ARQ_NO_HANDLE);
  for (int slot : handles) EXPECT_EQ(ArqFileClose(slot), 0);
  for (int bad : {-1, 20, 5}) {
    EXPECT_EQ(ArqFileClose(bad), ARQ_BAD_FILE) << bad;
    EXPECT_EQ(ArqFileStatus(bad), ARQ_BAD_FILE) << bad;
    EXPECT_EQ(ArqFileSeek(bad, 0, SEEK_SET), -1) << bad;
    EXPECT_EQ(ArqFileTell(bad), -1) << bad;
  }

  // A volume change closes the stream under the handle and opens the name again.
  h = ArqFileOpen(name.c_str(), arq::kOpenRead);
  EXPECT_EQ(ArqFileSuspend(h), 0);
  EXPECT_EQ(ArqFileStatus(h), arq::kStateOpen | arq::kStateSuspended);
  EXPECT_EQ(ArqFileStream(h), nullptr);
  EXPECT_EQ(ArqFileResume(h, false), 0);
  EXPECT_EQ(ArqHandleSource(h).Read(all, 2), 2);
  ArqFileCloseAll();
  EXPECT_EQ(ArqFileStatus(h), ARQ_BAD_FILE);
  std::remove(name.c_str());
}
