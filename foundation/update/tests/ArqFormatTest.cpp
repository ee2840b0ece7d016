#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/codec/Crusher.h"
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

struct Member {
  std::string name;
  std::string data;
};

std::string BuildArchive(const std::vector<Member>& members, bool end = true) {
  StringSink sink;
  for (const Member& m : members) {
    ArqMemberHeader h;
    h.name = m.name;
    h.time = 1000000000;
    h.flags = ArqTextFlag(m.data.data(), m.data.size());
    EXPECT_EQ(ArqWriteMember(sink, h, m.data.data(), m.data.size()), ARQ_OK) << m.name;
  }
  if (end) ArqWriteEnd(sink);
  return sink.bytes;
}

std::string Lines(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "line " + std::to_string(i * 7 % 13) + " of the file\r\n";
  return s;
}

int TestBytes(const std::string& bytes) {
  ArqMemorySource source(bytes.data(), bytes.size());
  return ArqTestArchive(source);
}

class ArqFormatTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CrusherInit(); }
  static void TearDownTestSuite() { CrusherShutdown(); }
};

// What goes in comes out: names, sizes, bytes, and the writer's version marks.
TEST_F(ArqFormatTest, MembersRoundTrip) {
  std::vector<Member> members = {{"readme.txt", Lines(300)},
                                 {"bin\\tool.dll", std::string(5000, '\0') + "MZ"},
                                 {"empty.ini", ""},
                                 {"big.dat", Lines(4000)}};
  std::string bytes = BuildArchive(members);
  ArqMemorySource source(bytes.data(), bytes.size());
  for (const Member& m : members) {
    ArqMemberHeader h;
    ASSERT_EQ(ArqReadHeader(source, h), ARQ_OK);
    EXPECT_EQ(h.name, m.name);
    EXPECT_EQ(h.neededVersion, 0x12);
    EXPECT_EQ(h.writerVersion, 0x31);
    EXPECT_EQ(h.system, 16);
    EXPECT_EQ(h.method, 2);
    EXPECT_EQ(h.uncompressedSize, m.data.size());
    StringSink out;
    ASSERT_EQ(ArqDecodeMember(source, h, &out), ARQ_OK) << m.name;
    EXPECT_EQ(out.bytes, m.data);
  }
  ArqMemberHeader end;
  EXPECT_EQ(ArqReadHeader(source, end), ARQ_END);
  EXPECT_EQ(TestBytes(bytes), ARQ_OK);
}

TEST_F(ArqFormatTest, HeaderLayoutIsFixed) {
  ArqMemberHeader h;
  h.name = "ab";
  h.time = 0x01020304;
  h.storedSize = 0x0A0B0C0D;
  h.extraLength = 7;  // never written
  std::string b = ArqFormatHeader(h);
  ASSERT_EQ(b.size(), 8u + 2 + 33);
  EXPECT_EQ(b.substr(0, 8), std::string("\x67\x57\x04\x01\x31\x12\x02\x00", 8));
  EXPECT_EQ(b.substr(8, 2), "ab");
  EXPECT_EQ(b.substr(10, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(b.substr(20, 4), std::string("\x0D\x0C\x0B\x0A", 4));
  EXPECT_EQ(b.substr(41, 2), std::string("\0\0", 2));
}

// Each field a reader depends on, damaged: the archive must be refused with the right status.
TEST_F(ArqFormatTest, DamagedHeaderFieldsAreRefused) {
  const std::string sound = BuildArchive({{"a.txt", Lines(200)}});
  const size_t n = 5;  // "a.txt"
  struct Case {
    const char* what;
    size_t offset;
    char value;
    int status;
  } cases[] = {
      {"magic", 1, 0x58, ARQ_BAD_HEADER},
      {"needed version 3.2", 5, 0x32, ARQ_NEWER_FORMAT},
      {"needed version 4.0", 5, 0x40, ARQ_NEWER_FORMAT},
      {"name length 255", 6, static_cast<char>(255), ARQ_BAD_HEADER},
      {"stored size past the end", 8 + n + 12, 0x01, ARQ_DATA_SHORT},
      {"stored size larger", 8 + n + 10, 0x7F, ARQ_BAD_CRC},
      {"stored size smaller", 8 + n + 10, 0x01, ARQ_BAD_CRC},
      {"uncompressed size", 8 + n + 14, 0x01, ARQ_BAD_CRC},
      {"uncompressed size huge", 8 + n + 17, 0x7F, ARQ_BAD_CRC},
      {"crc", 8 + n + 18, 0x00, ARQ_BAD_CRC},
      {"method unknown", 8 + n + 22, 9, ARQ_NEWER_FORMAT},
      {"method stored", 8 + n + 22, 1, ARQ_BAD_CRC},
      {"encrypted flag", 8 + n + 24, 4, ARQ_WRONG_PASSWORD},
      {"extra length past the end", 8 + n + 32, 0x7F, ARQ_BAD_HEADER},
      {"name made unsafe", 8, '\\', ARQ_UNSAFE_NAME},
  };
  for (const Case& c : cases) {
    std::string bytes = sound;
    if (bytes[c.offset] == c.value) bytes[c.offset] ^= 0x55;
    bytes[c.offset] = c.value;
    EXPECT_EQ(TestBytes(bytes), c.status) << c.what;
  }
  std::string flipped = sound;
  flipped[8 + n + 33 + 10] ^= 0x20;  // a byte of the member data
  EXPECT_EQ(TestBytes(flipped), ARQ_BAD_CRC);
  EXPECT_EQ(TestBytes(""), ARQ_NOT_OPEN);
}

// An archive cut anywhere, even right before its end marker, is never taken as sound.
TEST_F(ArqFormatTest, ArchiveCutAtEveryPointIsRefused) {
  const std::string sound = BuildArchive({{"a.txt", Lines(40)}, {"b.bin", "\x01\x02\x03"}});
  ASSERT_EQ(TestBytes(sound), ARQ_OK);
  for (size_t cut = 0; cut < sound.size(); ++cut) {
    int status = TestBytes(sound.substr(0, cut));
    EXPECT_TRUE(status == ARQ_BAD_HEADER || status == ARQ_DATA_SHORT || status == ARQ_NOT_OPEN ||
                status == ARQ_BAD_CRC)
        << "cut at " << cut << " gave " << status;
  }
}

// The decoder hands on no more than the header's size, whatever the stream holds.
TEST_F(ArqFormatTest, DecoderNeverWritesBeyondTheHeaderSize) {
  std::string data = Lines(500);
  std::string bytes = BuildArchive({{"a.txt", data}});
  ArqMemorySource source(bytes.data(), bytes.size());
  ArqMemberHeader h;
  ASSERT_EQ(ArqReadHeader(source, h), ARQ_OK);
  h.uncompressedSize = 100;  // the header lies about the size
  StringSink out;
  EXPECT_EQ(ArqDecodeMember(source, h, &out), ARQ_BAD_CRC);
  EXPECT_LE(out.bytes.size(), 100u);
}

TEST(ArqNames, HostileNamesAreRefused) {
  // Grouped by the way each could reach outside the target folder or misbehave there.
  struct Group {
    const char* why;
    std::vector<std::string> names;
  } groups[] = {
      {"absolute", {"\\abs.exe", "/abs.exe", "C:\\x.exe", "c:x.exe", "\\\\server\\share\\x"}},
      {"climbing", {"..\\x.exe", "a\\..\\..\\x", "a/../x", ".", "..", "dir.\\x"}},
      {"device", {"CON", "nul.txt", "Com1", "lpt9.dll", "a\\aux", "conout$"}},
      {"odd character", {"x:stream", "a*.exe", "a?.exe", "a\"b", "a|b", "a<b", "tab\tname"}},
      {"empty or cut part", {"", "a\\\\b", "a\\", "trailing ", "trailing."}},
      {"too long or hidden", {std::string(255, 'a'), std::string("a\0b", 3)}},
  };
  for (const Group& g : groups)
    for (const std::string& name : g.names)
      EXPECT_FALSE(ArqIsSafeName(name)) << g.why << ": \"" << name << '"';

  const char* accepted[] = {"ZBPro.exe", "zbresenu.dll", "data\\engines.dat",
                            "a/b.txt",   "console.dll",  "com10.txt",
                            "x.y.z",     "..a"};
  for (const char* name : accepted) EXPECT_TRUE(ArqIsSafeName(name)) << name;
  EXPECT_FALSE(ArqIsSafeName("data\\engines.dat", false));
}

TEST(ArqNames, PatternsMatchWithWildcards) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {{"*.*", "a.txt", true},       {"*.*", "noext", false},      {"*", "noext", true},
               {"*.TXT", "a.txt", true},     {"a?c", "abc", true},         {"a?c", "ac", false},
               {"*b*b*b", "abababab", true}, {"*.dll", "x.dll.bak", false}};
  for (const Case& c : cases)
    EXPECT_EQ(ArqMatchPattern(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
  EXPECT_FALSE(ArqMatchPattern("*.TXT", "a.txt", true));
  EXPECT_TRUE(ArqMatchPattern(std::string(200, '*').c_str(), std::string(5000, 'a').c_str()));
}

TEST_F(ArqFormatTest, AppendedArchiveIsFoundByItsMagic) {
  std::string archive = BuildArchive({{"a.txt", "hello\n"}});
  struct Case {
    size_t lead;
    int64_t start;
  } cases[] = {{0, 0}, {1234, 1234}, {199990, 199990}, {200000, ARQ_BAD_HEADER}};
  for (const Case& c : cases) {
    std::string bytes = std::string(c.lead, 'M') + archive;
    ArqMemorySource source(bytes.data(), bytes.size());
    EXPECT_EQ(ArqFindStart(source), c.start) << c.lead;
  }
}

TEST(ArqText, ContentDecidesTheTextFlag) {
  struct Case {
    std::string data;
    uint8_t flag;
  } cases[] = {{"one\ntwo\nthree\n", 1},
               {std::string(600, 'a'), 2},  // no line feed often enough
               {"a\nb\n" + std::string(10, '\0'), 2},
               {"line\n\x80\x81\x82\x83\n", 2},
               {"", 2}};
  for (const Case& c : cases) EXPECT_EQ(ArqTextFlag(c.data.data(), c.data.size()), c.flag);
}

}  // namespace
