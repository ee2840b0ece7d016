#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engines/db/EngineDataKey.h"
#include "tools/enginedata/DataFileCoder.h"
#include "tools/enginedata/EngineDataTool.h"

namespace {

struct ToolRun {
  int code;
  std::string out, err;
};

ToolRun RunTool(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  int code = RunEngineDataTool(args, in, out, err);
  return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

bool IsBase64Text(const std::string& line) {
  for (unsigned char c : line)
    if (!isalnum(c) && c != '+' && c != '/') return false;
  return !line.empty();
}

class TempDir {
 public:
  TempDir() {
    path_ =
        std::filesystem::temp_directory_path() /
        ("enginedata_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(path_);
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  std::string Write(const std::string& name, const std::string& text) const {
    std::string file = (path_ / name).string();
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

const char kSample[] =
    "# Test engines\n"
    "[Icons]\n"
    "common=0\n"
    "\n"
    "[Alpha Search]\n"
    "enabled=1\n"
    "# markers\n"
    "startmarker1=<li class=\"r\">\n"
    "submitmailtobody=URL: #URL_WITH_PREFIX#\\nTitle: #TITLE#\n"
    "\n"
    "[Beta]\n"
    "enabled=0\n";

TEST(EngineDataKey, IsFourteenPrintableCharactersEveryTime) {
  CLibString key = BuildEngineDataKey();
  ASSERT_EQ(key.GetLength(), 14);
  for (int i = 0; i < key.GetLength(); ++i)
    EXPECT_TRUE(isprint(static_cast<unsigned char>(key.c_str()[i]))) << "character " << i;
  EXPECT_EQ(BuildEngineDataKey(), key);
}

TEST(DataFileCoder, LinesRoundTripAsBase64OfTheScrambledText) {
  CDataFileCoder coder(BuildEngineDataKey().c_str());
  std::string longLine = "legal=" + std::string(5000, 'x') + "end";
  const std::string lines[] = {
      "enabled=1",
      "[Alpha Search]",
      "startmarker1=<td class=\"hit\">\t<a href='x'>",
      "group\\tentry with \\n escapes",
      std::string("M\xe1laga latin-1 \x01\x02\xff bytes"),
      longLine,
      " leading and trailing blanks ",
  };
  for (const std::string& line : lines) {
    std::string encoded = coder.EncodeLine(line);
    EXPECT_TRUE(IsBase64Text(encoded)) << encoded;
    EXPECT_NE(encoded, line);
    std::string decoded;
    EXPECT_TRUE(coder.DecodeLine(encoded, decoded)) << line.substr(0, 40);
    EXPECT_EQ(decoded, line);

    // Another key fails the check, and the line is then taken as it stands.
    CDataFileCoder other("another key");
    EXPECT_FALSE(other.DecodeLine(encoded, decoded));
    EXPECT_EQ(decoded, encoded);
  }
}

TEST(DataFileCoder, PlainAndEmptyLinesPassThrough) {
  CDataFileCoder coder(BuildEngineDataKey().c_str());
  EXPECT_EQ(coder.EncodeLine(""), "");
  // "abcd" and "enabled" are valid Base64 but do not unscramble; the others are not Base64.
  for (const char* line : {"", "abcd", "enabled", "enabled=1", "[Icons]", "# comment"}) {
    std::string decoded;
    EXPECT_FALSE(coder.DecodeLine(line, decoded)) << line;
    EXPECT_EQ(decoded, line);
  }
}

TEST(EngineDataTool, EncodeThenDecodeGivesTheFileBack) {
  ToolRun encoded = RunTool({"encode"}, kSample);
  ASSERT_EQ(encoded.code, 0) << encoded.err;
  std::vector<std::string> source = Lines(kSample), lines = Lines(encoded.out);
  ASSERT_EQ(lines.size(), source.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (source[i].empty())
      EXPECT_EQ(lines[i], "") << "line " << i + 1;
    else
      EXPECT_TRUE(IsBase64Text(lines[i])) << "line " << i + 1 << ": " << lines[i];
  }
  ToolRun decoded = RunTool({"decode"}, encoded.out);
  EXPECT_EQ(decoded.code, 0);
  EXPECT_EQ(decoded.out, kSample);

  // The default key is the program's key.
  ToolRun keyed = RunTool({"encode", "--key", BuildEngineDataKey().c_str()}, kSample);
  EXPECT_EQ(keyed.out, encoded.out);
  // Decoding with another key leaves every scrambled line as it is.
  EXPECT_EQ(RunTool({"decode", "--key", "abcdef"}, encoded.out).out, encoded.out);
  EXPECT_EQ(
      RunTool({"decode", "--key", "abcdef"}, RunTool({"encode", "--key", "abcdef"}, kSample).out)
          .out,
      kSample);
}

TEST(EngineDataTool, WindowsLineEndsAndAMissingLastNewline) {
  std::string crlf = "[A]\r\nenabled=1\r\n\r\n[B]\r\nkey=v";
  ToolRun encoded = RunTool({"encode"}, crlf);
  ASSERT_EQ(encoded.code, 0);
  EXPECT_EQ(RunTool({"decode"}, encoded.out).out, "[A]\nenabled=1\n\n[B]\nkey=v");
  // Scrambled files written with CRLF decode the same.
  std::string scrambledCrlf;
  for (const std::string& line : Lines(encoded.out)) scrambledCrlf += line + "\r\n";
  EXPECT_EQ(RunTool({"decode"}, scrambledCrlf).out, "[A]\nenabled=1\n\n[B]\nkey=v\n");
}

TEST(EngineDataTool, ChosenLinesStayPlainAndTheRestIsScrambled) {
  struct {
    std::vector<std::string> options;
    std::vector<int> plainLines;  // 1-based lines of kSample that must stay as they are
  } cases[] = {
      {{"--plain-comments"}, {1, 7}},
      {{"--plain-headers"}, {2, 5, 11}},
      {{"--plain-section", "Icons"}, {2, 3}},
      {{"--plain-section", "Alpha Search", "--plain-section", "Beta"}, {5, 6, 7, 8, 9, 11, 12}},
      {{"--plain-lines", "3"}, {3}},
      {{"--plain-lines", "8-9", "--plain-comments"}, {1, 7, 8, 9}},
  };
  std::vector<std::string> source = Lines(kSample);
  for (const auto& c : cases) {
    std::vector<std::string> args = {"encode"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ToolRun encoded = RunTool(args, kSample);
    ASSERT_EQ(encoded.code, 0) << encoded.err;
    std::vector<std::string> lines = Lines(encoded.out);
    ASSERT_EQ(lines.size(), source.size());
    for (size_t i = 0; i < lines.size(); ++i) {
      bool plain = source[i].empty();
      for (int n : c.plainLines) plain = plain || n == static_cast<int>(i) + 1;
      if (plain)
        EXPECT_EQ(lines[i], source[i]) << c.options[0] << ", line " << i + 1;
      else
        EXPECT_TRUE(IsBase64Text(lines[i])) << c.options[0] << ", line " << i + 1;
    }
    EXPECT_EQ(RunTool({"decode"}, encoded.out).out, kSample) << c.options[0];
  }
}

TEST(EngineDataTool, RefusesAPlainLineThatWouldReadAsScrambled) {
  // A line that is itself the scrambled form of another would be misread by the program.
  std::string trap = CDataFileCoder(BuildEngineDataKey().c_str()).EncodeLine("enabled=1");
  ToolRun run = RunTool({"encode", "--plain-lines", "2"}, "[A]\n" + trap + "\n");
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
}

TEST(EngineDataTool, CheckComparesTheDecodedFileWithTheReadableOne) {
  TempDir dir;
  std::string readable = dir.Write("engines.src.dat", kSample);
  ASSERT_EQ(RunTool({"encode", "--plain-comments", readable, dir.Path("engines.dat")}).code, 0);
  std::string scrambled = dir.Path("engines.dat");
  EXPECT_EQ(Lines(dir.Read("engines.dat"))[0], "# Test engines");

  ToolRun ok = RunTool({"check", scrambled, readable});
  EXPECT_EQ(ok.code, 0) << ok.err;
  EXPECT_NE(ok.out.find("(8 of 12 lines scrambled)"), std::string::npos) << ok.out;

  std::string changed = kSample;
  changed.replace(changed.find("enabled=0"), 9, "enabled=1");
  ToolRun differs = RunTool({"check", scrambled, dir.Write("changed.src.dat", changed)});
  EXPECT_EQ(differs.code, 1);
  EXPECT_NE(differs.err.find(":12:"), std::string::npos) << differs.err;

  ToolRun shorter = RunTool({"check", scrambled, dir.Write("short.src.dat", "# Test engines\n")});
  EXPECT_EQ(shorter.code, 1);
  EXPECT_EQ(RunTool({"check", "--key", "wrong", scrambled, readable}).code, 1);
  EXPECT_EQ(RunTool({"check", dir.Path("missing.dat"), readable}).code, 2);
}

TEST(EngineDataTool, BadUsage) {
  const std::vector<std::string> cases[] = {
      {},
      {"scramble"},
      {"decode", "--plain-comments"},
      {"encode", "--plain-lines", "5-2"},
      {"encode", "--plain-lines", "x"},
      {"encode", "--frobnicate"},
      {"encode", "a", "b", "c"},
      {"check", "only-one"},
  };
  for (const auto& args : cases) {
    ToolRun run = RunTool(args);
    EXPECT_EQ(run.code, 2) << (args.empty() ? "(none)" : args[0]);
    EXPECT_FALSE(run.err.empty());
  }
}

}  // namespace
