// The framework's own reading of the program's arguments: switches, the document and the
// unregister request.
#include <gtest/gtest.h>

#include <vector>

#include "framework/app/CommandLineInfo.h"

namespace {

struct Seen {
  CString param;
  BOOL flag;
  BOOL last;
};

class RecordingInfo : public CCommandLineInfo {
 public:
  void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast) override {
    seen.push_back({pszParam, bFlag, bLast});
    CCommandLineInfo::ParseParam(pszParam, bFlag, bLast);
  }
  std::vector<Seen> seen;
};

}  // namespace

TEST(CommandLineInfoTest, ArgumentsReachParseParamInOrderWithTheirKind) {
  const char* argv[] = {"ZBPro.exe", "/Auto", "C:\\a b.zbp", "-unregister"};
  RecordingInfo info;
  ParseCommandLine(4, argv, info);
  ASSERT_EQ(info.seen.size(), 3u);
  EXPECT_EQ(info.seen[0].param, "Auto");
  EXPECT_TRUE(info.seen[0].flag);
  EXPECT_FALSE(info.seen[0].last);
  EXPECT_EQ(info.seen[1].param, "C:\\a b.zbp");
  EXPECT_FALSE(info.seen[1].flag);
  EXPECT_EQ(info.seen[2].param, "unregister");
  EXPECT_TRUE(info.seen[2].last);
  EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::AppUnregister);
  EXPECT_EQ(info.m_strFileName, "C:\\a b.zbp");
}

TEST(CommandLineInfoTest, DefaultsToANewDocumentAndTakesTheFirstFileOnly) {
  CCommandLineInfo none;
  const char* only[] = {"ZBPro.exe"};
  ParseCommandLine(1, only, none);
  EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);
  EXPECT_TRUE(none.m_strFileName.IsEmpty());

  CCommandLineInfo two;
  const char* argv[] = {"ZBPro.exe", "first.zbp", "second.zbp", "/other"};
  ParseCommandLine(4, argv, two);
  EXPECT_EQ(two.m_nShellCommand, CCommandLineInfo::FileOpen);
  EXPECT_EQ(two.m_strFileName, "first.zbp");
}

TEST(CommandLineInfoTest, TheProgramsOwnArgumentsCanBeParsed) {
  // The test program is started without a document, so nothing is asked of it.
  CCommandLineInfo info;
  ParseCommandLine(info);
  EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
}
