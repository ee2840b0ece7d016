// The URL opener. The shell cannot open the test addresses (they name files that do not exist),
// so the ".htm" association takes over; the test points it at a recorder program that writes
// down the arguments it receives, and restores the association afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/os/UrlLink.h"
#include "foundation/os/WgRegistry.h"

namespace {

std::vector<std::string> g_messages;
void Capture(LPCSTR text) {
  g_messages.push_back(text);
}

class UrlLinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_messages.clear();
    m_previousMessage = CUrlLink::SetMessageFunction(Capture);
    CWgRegistry registry;
    m_hadHtm = registry.Open(".htm") && registry.GetStringValue("", m_savedHtm);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    m_record.Format("%szburl%lu.txt", temp, GetCurrentProcessId());
    DeleteFileA(m_record);
    SetEnvironmentVariableA("ZB_URL_RECORDER_OUT", m_record);
  }
  void TearDown() override {
    CUrlLink::SetMessageFunction(m_previousMessage);
    CWgRegistry registry;
    if (m_hadHtm) {
      registry.CreateKey(".htm");
      registry.SetStringValue("", m_savedHtm);
    } else if (registry.Open(".htm", KEY_ALL_ACCESS)) {
      registry.DeleteValue("");
    }
    registry.DeleteKey("ZBTestLinkFile", TRUE);
    DeleteFileA(m_record);
  }

  // Makes ".htm" files open with the given command.
  void Associate(const CString& command) {
    CWgRegistry registry;
    ASSERT_TRUE(registry.CreateKey(".htm"));
    ASSERT_TRUE(registry.SetStringValue("", "ZBTestLinkFile"));
    ASSERT_TRUE(registry.CreateKey("ZBTestLinkFile\\shell\\open\\command"));
    ASSERT_TRUE(registry.SetStringValue("", command));
  }
  static CString Recorder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString folder(path, static_cast<int>(n));
    return folder.Left(folder.ReverseFind('\\') + 1) + "zbtest_url_recorder.exe";
  }
  // The arguments the recorder received, waiting up to 20 seconds for it to write them.
  std::vector<std::string> Recorded() const {
    for (int i = 0; i < 200; ++i) {
      FILE* file = fopen(m_record, "rb");
      if (file) {
        std::vector<std::string> lines;
        char line[4096];
        while (fgets(line, sizeof line, file)) {
          std::string text(line);
          if (!text.empty() && text.back() == '\n') text.pop_back();
          lines.push_back(text);
        }
        fclose(file);
        if (!lines.empty()) lines.erase(lines.begin());  // the count
        return lines;
      }
      Sleep(100);
    }
    return {"<nothing recorded>"};
  }

  CUrlLink::MessageFunction m_previousMessage = nullptr;
  bool m_hadHtm = false;
  CString m_savedHtm;
  CString m_record;
};

}  // namespace

TEST(UrlLinkCommand, TheAddressIsOneQuotedArgument) {
  struct Case {
    const char* command;
    const char* url;
    const char* line;
  } cases[] = {
      {"\"C:\\b.exe\" \"%1\"", "http://x/a b", "\"C:\\b.exe\"  \"http://x/a b\""},
      {"C:\\b.exe %1 -new", "u", "C:\\b.exe  \"u\""},
      {"C:\\b.exe", "u", "C:\\b.exe \"u\""},
      {"b.exe \"%1\"", "a\" --evil \"b", "b.exe  \"a\\\" --evil \\\"b\""},
      {"b.exe \"%1\"", "C:\\dir\\", "b.exe  \"C:\\dir\\\\\""},
      {"b.exe \"%1\"", "a\\\"b", "b.exe  \"a\\\\\\\"b\""},
      {"b.exe \"%1\"", "a\\b", "b.exe  \"a\\b\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    EXPECT_EQ(CUrlLink::MakeCommandLine(c.command, c.url), c.line);
  }
}

TEST(UrlLinkCommand, ErrorTexts) {
  EXPECT_EQ(CUrlLink::GetErrorText(2), "The specified file was not found.");
  EXPECT_EQ(CUrlLink::GetErrorText(31),
            "There is no application associated\nwith the given filename extension.");
  EXPECT_EQ(CUrlLink::GetErrorText(26), "A sharing violation occurred. ");
  EXPECT_EQ(CUrlLink::GetErrorText(99), "Unknown Error (99) occurred.");
}

TEST_F(UrlLinkTest, FallbackPassesAnAddressWithBlanksAndQuotesAsOneArgument) {
  Associate("\"" + Recorder() + "\" \"%1\"");
  const char* url = "C:\\zb-no-such-folder\\page \"one\" --two.zbnone";
  EXPECT_TRUE(CUrlLink::Open(url));
  EXPECT_EQ(Recorded(), std::vector<std::string>{url});
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(UrlLinkTest, FallbackWithABarePlaceholder) {
  Associate(Recorder() + " %1 --ignored");
  CUrlLink link("C:\\zb-no-such-folder\\trailing\\");
  EXPECT_TRUE(link.Open());
  EXPECT_EQ(Recorded(), std::vector<std::string>{"C:\\zb-no-such-folder\\trailing\\"});
}

TEST_F(UrlLinkTest, FailuresAreShownInPlainWords) {
  Associate("C:\\zb-no-such-folder\\browser.exe \"%1\"");
  EXPECT_FALSE(CUrlLink::Open("C:\\zb-no-such-folder\\page.zbnone"));
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0].rfind("Unable to open hyperlink:\n\nThe specified ", 0), 0u)
      << g_messages[0];

  g_messages.clear();
  EXPECT_FALSE(CUrlLink::Open(""));
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0], "Unable to open hyperlink:\n\nThe specified file was not found.");
}

TEST_F(UrlLinkTest, WithoutAnOpenCommandTheShellsResultIsShown) {
  CWgRegistry registry;
  ASSERT_TRUE(registry.CreateKey(".htm"));
  ASSERT_TRUE(registry.SetStringValue("", "ZBTestLinkFileWithoutCommand"));
  EXPECT_FALSE(CUrlLink::Open("C:\\zb-no-such-folder\\page.zbnone"));
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0].rfind("Unable to open hyperlink:\n\n", 0), 0u);
}
