#include "reports/ResultsCsv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program/NQCommandLineInfo.h"
#include "reports/EngineReports.h"
#include "reports/tests/ReportFixture.h"

using namespace reporttest;

namespace {

using Record = std::vector<std::string>;

// A strict RFC 4180 reader: records end in CR LF, fields are bare (no quote, CR or LF inside)
// or quoted with inner quotes doubled. Any other form is an error.
bool ParseCsv(const std::string& text, std::vector<Record>& records, std::string& error) {
  size_t p = 0;
  while (p < text.size()) {
    Record record;
    for (;;) {
      std::string field;
      if (p < text.size() && text[p] == '"') {
        ++p;
        for (;;) {
          if (p >= text.size()) return error = "unterminated quote", false;
          if (text[p] == '"') {
            if (p + 1 < text.size() && text[p + 1] == '"') {
              field += '"';
              p += 2;
              continue;
            }
            ++p;
            break;
          }
          field += text[p++];
        }
      } else {
        while (p < text.size() && text[p] != ',' && text[p] != '\r' && text[p] != '\n') {
          if (text[p] == '"') return error = "quote in a bare field", false;
          field += text[p++];
        }
      }
      record.push_back(field);
      if (p < text.size() && text[p] == ',') {
        ++p;
        continue;
      }
      if (text.compare(p, 2, "\r\n") != 0) return error = "record not ended by CR LF", false;
      p += 2;
      break;
    }
    records.push_back(record);
  }
  return true;
}

class ResultsCsvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetCommandLineInfo(new NQCommandLineInfo(""));
    SetReportLog([](const char*) {});
  }
  void TearDown() override {
    SetCommandLineInfo(nullptr);
    SetReportLog(nullptr);
  }
  std::vector<Record> Export(FixtureDocument& fixture, bool header, bool append) {
    std::string path = fixture.Folder().File("out.csv");
    EXPECT_TRUE(ExportResultsCsv(path.c_str(), header, append, false, &fixture.Doc()));
    std::vector<Record> records;
    std::string error;
    EXPECT_TRUE(ParseCsv(ReadFile(path), records, error)) << error;
    return records;
  }
  ScratchRegistry registry_;
};

TEST(QuoteCsvText, DoublesEveryQuote) {
  EXPECT_STREQ(QuoteCsvText("").c_str(), "");
  EXPECT_STREQ(QuoteCsvText("a\"b").c_str(), "a\"\"b");
  EXPECT_STREQ(QuoteCsvText("\"\"").c_str(), "\"\"\"\"");
  EXPECT_STREQ(QuoteCsvText("plain, text").c_str(), "plain, text");
}

// Hostile names, terms and addresses come back field for field.
TEST_F(ResultsCsvTest, FieldsReadBackExactly) {
  FixtureDocument fixture;
  fixture.Doc().m_siteUrl = "mysite.com \"quoted, site\"";
  std::vector<Record> records = Export(fixture, true, false);
  // Header, set 1: Alpha, Beta, Gamma; set 2: Alpha, Gamma (Beta is disabled there).
  ASSERT_EQ(records.size(), 6u);
  EXPECT_EQ(records[0].size(), 12u);
  EXPECT_EQ(records[0][0], "Engine");
  for (size_t i = 1; i < records.size(); ++i) ASSERT_EQ(records[i].size(), 12u) << i;

  const Record& alpha = records[1];
  EXPECT_EQ(alpha[0], "Alpha");
  EXPECT_EQ(alpha[1], "USA");
  EXPECT_EQ((Record{alpha[2], alpha[3], alpha[4]}), (Record{"2", "1", "2"}));
  EXPECT_EQ(alpha[5], "11/20/2026");
  EXPECT_EQ(alpha[6], "11/20/2026");
  EXPECT_EQ(alpha[7], "1");
  EXPECT_EQ(alpha[8], "12/09/2026");
  EXPECT_EQ(alpha[9], "mysite.com \"quoted, site\"");
  EXPECT_EQ(alpha[10], "blue widgets");
  EXPECT_EQ(alpha[11], "http://www.mysite.com/?a=1&b=2");

  const Record& beta = records[2];
  EXPECT_EQ(beta[0], FixtureDocument::kBeta);  // quotes in the name survive
  EXPECT_EQ(beta[1], "<b>DE</b>");
  EXPECT_EQ((Record{beta[2], beta[3], beta[4], beta[11]}), (Record{"0", "0", "0", ""}));

  const Record& gamma = records[3];
  EXPECT_EQ(gamma[2], "1");
  // An engine never submitted to has no dates, not today's.
  EXPECT_EQ((Record{gamma[5], gamma[6], gamma[7]}), (Record{"", "", "0"}));
  EXPECT_EQ(records[4][10], "red <gadgets> & \"more\"");
}

// Lines end in exactly CR LF, never CR CR LF.
TEST_F(ResultsCsvTest, LinesEndInCrLf) {
  FixtureDocument fixture;
  Export(fixture, true, false);
  std::string text = ReadFile(fixture.Folder().File("out.csv"));
  EXPECT_EQ(text.find("\r\r"), std::string::npos);
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
    EXPECT_EQ(text[at - 1], '\r');
}

TEST_F(ResultsCsvTest, AppendAndReplace) {
  FixtureDocument fixture;
  EXPECT_EQ(Export(fixture, true, false).size(), 6u);
  // Appending without a header adds lines only.
  EXPECT_EQ(Export(fixture, false, true).size(), 11u);
  // Without append the file is replaced.
  EXPECT_EQ(Export(fixture, false, false).size(), 5u);
}

TEST_F(ResultsCsvTest, PreviousRankColumn) {
  GetCommandLineInfo()->m_bCsvPrevious = 1;
  FixtureDocument fixture;
  std::vector<Record> records = Export(fixture, true, false);
  for (const Record& record : records) EXPECT_EQ(record.size(), 13u);
  EXPECT_EQ(records[0][12], "Previous Rank");
  EXPECT_EQ(records[1][12], "5");
  EXPECT_EQ(records[2][12], "-1");
}

// The export dialog's progress: the range, one step per line, the end.
TEST_F(ResultsCsvTest, ProgressWhenAsked) {
  static std::vector<std::string> calls;
  calls.clear();
  ReportProgressHooks hooks;
  hooks.begin = [](unsigned upper, unsigned lower) {
    calls.push_back("begin " + std::to_string(upper) + " " + std::to_string(lower));
  };
  hooks.step = [] { calls.push_back("step"); };
  hooks.end = [] { calls.push_back("end"); };
  SetReportProgressHooks(hooks);
  FixtureDocument fixture;
  Export(fixture, false, false);
  EXPECT_TRUE(calls.empty());
  std::string path = fixture.Folder().File("p.csv");
  EXPECT_TRUE(ExportResultsCsv(path.c_str(), true, false, true, &fixture.Doc()));
  // Three enabled engines in the current set, two sets; five lines written.
  std::vector<std::string> expected = {"begin 6 0", "step", "step", "step", "step", "step", "end"};
  EXPECT_EQ(calls, expected);
  SetReportProgressHooks(ReportProgressHooks());
}

TEST_F(ResultsCsvTest, UnopenableFileFails) {
  FixtureDocument fixture;
  std::string path = fixture.Folder().File("locked.csv");
  WriteFile(path, "kept\r\n");
  HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(ExportResultsCsv(path.c_str(), true, true, false, &fixture.Doc()));
  EXPECT_FALSE(ExportResultsCsv(path.c_str(), true, false, false, &fixture.Doc()));
  CloseHandle(lock);
  EXPECT_EQ(ReadFile(path), "kept\r\n");
  EXPECT_FALSE(ExportResultsCsv(fixture.Folder().File("no\\such\\x.csv").c_str(), true, false,
                                false, &fixture.Doc()));
}

}  // namespace
