#include "app/document/CrusherFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "app/tests/AppTestSupport.h"
#include "framework/files/Archive.h"
#include "resources/resource.h"

using apptest::ReadBytes;
using apptest::WriteBytes;

namespace {

std::string Repetitive(size_t size) {
  std::string text;
  while (text.size() < size) text += "the quick brown fox jumps over the lazy dog. ";
  text.resize(size);
  return text;
}

std::string Noise(size_t size) {
  std::string text(size, '\0');
  uint32_t state = 12345;
  for (char& c : text) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  return text;
}

void Store(const std::string& path, const std::string& payload) {
  CCrusherFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite));
  CArchive ar(&file, CArchive::store);
  ar.Write(payload.data(), static_cast<UINT>(payload.size()));
  ar.Close();
  file.Close();
}

std::string Load(const std::string& path, size_t size) {
  CCrusherFile file;
  EXPECT_TRUE(file.Open(path.c_str(), CFile::modeRead));
  CArchive ar(&file, CArchive::load);
  std::string back(size, '\0');
  UINT got = ar.Read(back.data(), static_cast<UINT>(size));
  back.resize(got);
  return back;
}

std::string U32(uint32_t value) {
  return std::string(reinterpret_cast<const char*>(&value), 4);
}

}  // namespace

TEST(CrusherFileTest, CompressedAndRawBlocksReadBack) {
  apptest::TempFolder folder;
  std::string path = folder.File("blocks.bin");
  // Text shrinks and is stored in "ARQ32" blocks; noise does not and goes raw.
  std::string text = Repetitive(10000);
  Store(path, text);
  std::string stored = ReadBytes(path);
  EXPECT_EQ(stored.compare(0, 5, "ARQ32"), 0);
  EXPECT_LT(stored.size(), text.size());
  EXPECT_EQ(Load(path, text.size() + 10), text);

  std::string noise = Noise(9000);
  Store(path, noise);
  EXPECT_EQ(ReadBytes(path), noise);
  EXPECT_EQ(Load(path, noise.size()), noise);

  // A file never compressed at all reads as raw blocks.
  WriteBytes(path, "plain bytes");
  EXPECT_EQ(Load(path, 100), "plain bytes");
}

TEST(CrusherFileTest, ZeroLengthReadAndWriteMoveNothing) {
  apptest::TempFolder folder;
  std::string path = folder.File("zero.bin");
  CCrusherFile file;
  ASSERT_TRUE(file.Open(path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
  file.Write("x", 0);
  EXPECT_EQ(file.GetLength(), 0u);
  char buffer[4];
  EXPECT_EQ(file.Read(buffer, 0), 0u);
}

TEST(CrusherFileTest, DamagedBlocksAreFileErrorsThatSaySo) {
  apptest::TempFolder folder;
  std::string path = folder.File("bad.bin");
  Store(path, Repetitive(4096));
  std::string good = ReadBytes(path);
  ASSERT_EQ(good.compare(0, 5, "ARQ32"), 0);
  std::string body = good.substr(13);
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"uncompressed longer than the request", "ARQ32" + U32(5000) + U32(100) + body},
      {"compressed longer than the request", "ARQ32" + U32(4096) + U32(0x7FFFFFFF) + body},
      {"huge compressed length", "ARQ32" + U32(4096) + U32(0xFFFFFFFF) + body},
      {"zero compressed length", "ARQ32" + U32(4096) + U32(0) + body},
      {"lengths cut short", "ARQ32" + U32(4096)},
      {"compressed bytes cut short", good.substr(0, good.size() - 7)},
      {"compressed bytes are noise", "ARQ32" + U32(4096) + U32(200) + Noise(200)},
      {"uncompressed length smaller than the stream", "ARQ32" + U32(10) + good.substr(9)},
  };
  apptest::LanguageModuleScope language;
  ASSERT_TRUE(language.Loaded());
  CString damagedText;
  ASSERT_TRUE(damagedText.LoadString(IDP_DOC_DAMAGED));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(path, c.bytes);
    CCrusherFile file;
    ASSERT_TRUE(file.Open(path.c_str(), CFile::modeRead));
    std::string buffer(4096, '\0');
    bool failed = false;
    try {
      file.Read(buffer.data(), 4096);
    } catch (const CFileException& e) {
      failed = true;
      // The user learns that the file is damaged, and which file.
      CString expected = damagedText;
      expected.Replace("%1", file.GetFilePath());
      EXPECT_EQ(e.GetErrorText(), expected);
    }
    EXPECT_TRUE(failed);
  }
}
