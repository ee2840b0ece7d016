// The recent-file list: its order, its profile storage, its menu items, and the application's
// commands that open an entry. Profile values go to a scratch company key of the test's own Wine
// prefix, removed afterwards.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/docview/Document.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/app/AppIds.h"
#include "framework/app/RecentFileList.h"
#include "framework/gdi/Menu.h"
#include "framework/wnd/CmdUI.h"

namespace {

// An application that records the files it is asked to open instead of opening them.
class RecordingApp : public CWinApp {
 public:
  RecordingApp() : CWinApp("FwRecentTest") {}
  CDocument* OpenDocumentFile(LPCSTR lpszFileName) override {
    opened.push_back(lpszFileName);
    return nullptr;
  }
  std::vector<std::string> opened;
};

int g_answer = IDNO;
std::vector<std::string> g_prompts;
int AnswerBox(LPCSTR text, UINT) {
  g_prompts.push_back(text);
  return g_answer;
}

class RecentFileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_company.Format("ZBFrameworkRecent-%lu", GetCurrentProcessId());
    m_app = std::make_unique<RecordingApp>();
    m_app->SetRegistryKey(m_company);
    g_prompts.clear();
    AfxSetMessageBoxHandler(AnswerBox);
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    m_dir = dir;
  }
  void TearDown() override {
    AfxSetMessageBoxHandler(nullptr);
    m_app.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + m_company);
    RegDeleteKeyA(HKEY_CURRENT_USER, CString("Software\\") + m_company);
  }
  static std::vector<std::string> Names(CRecentFileList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.GetSize(); ++i) out.push_back(static_cast<LPCSTR>(list[i]));
    return out;
  }
  BOOL Command(UINT nID) { return m_app->OnCmdMsg(nID, CN_COMMAND, nullptr, nullptr); }

  CString m_company;
  std::string m_dir;
  std::unique_ptr<RecordingApp> m_app;
};

TEST_F(RecentFileListTest, AddKeepsTheNewestFirstWithoutDuplicates) {
  struct Case {
    const char* why;
    std::vector<const char*> added;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"newest first, unused entries empty", {"C:\\a.zbp", "C:\\b.zbp"},
       {"C:\\b.zbp", "C:\\a.zbp", "", ""}},
      {"a full list drops the oldest", {"C:\\1", "C:\\2", "C:\\3", "C:\\4", "C:\\5"},
       {"C:\\5", "C:\\4", "C:\\3", "C:\\2"}},
      {"the same file in another case or form moves up, not in twice",
       {"C:\\d\\x.zbp", "C:\\y.zbp", "c:\\D\\.\\X.ZBP"},
       {"C:\\d\\x.zbp", "C:\\y.zbp", "", ""}},
      {"re-adding the oldest of a full list keeps the other three",
       {"C:\\1", "C:\\2", "C:\\3", "C:\\4", "C:\\1"},
       {"C:\\1", "C:\\4", "C:\\3", "C:\\2"}},
      {"empty names are ignored", {"C:\\1", ""}, {"C:\\1", "", "", ""}},
  };
  for (const Case& c : cases) {
    CRecentFileList list(ID_FILE_MRU_FIRST, "Recent File List", "File%d", 4);
    for (const char* name : c.added) list.Add(name);
    std::vector<std::string> got = Names(list);
    // The moved-up entry takes the form the newest Add gave: compare case-blind.
    ASSERT_EQ(got.size(), c.expected.size()) << c.why;
    for (size_t i = 0; i < got.size(); ++i)
      EXPECT_EQ(lstrcmpiA(got[i].c_str(), c.expected[i].c_str()), 0) << c.why << ": " << got[i];
  }
}

TEST_F(RecentFileListTest, RemoveClosesTheGap) {
  CRecentFileList list(ID_FILE_MRU_FIRST, "Recent File List", "File%d", 4);
  for (const char* n : {"C:\\1", "C:\\2", "C:\\3"}) list.Add(n);
  list.Remove(1);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"C:\\3", "C:\\1", "", ""}));
  list.Remove(7);  // out of range: nothing happens
  list.Remove(-1);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"C:\\3", "C:\\1", "", ""}));
}

TEST_F(RecentFileListTest, TheListSurvivesTheProfileAndAShorterListLeavesNothingBehind) {
  m_app->LoadStdProfileSettings(4);
  ASSERT_NE(m_app->m_pRecentFileList, nullptr);
  for (const char* n : {"C:\\1", "C:\\2", "C:\\3"}) m_app->AddToRecentFileList(n);
  m_app->ExitInstance();

  m_app->LoadStdProfileSettings(4);
  EXPECT_EQ(Names(*m_app->m_pRecentFileList),
            (std::vector<std::string>{"C:\\3", "C:\\2", "C:\\1", ""}));

  m_app->m_pRecentFileList->Remove(0);
  m_app->m_pRecentFileList->Remove(0);
  m_app->ExitInstance();
  EXPECT_EQ(m_app->GetProfileString("Recent File List", "File2", "none"), "none");
  EXPECT_EQ(m_app->GetProfileString("Recent File List", "File1"), "C:\\1");

  // An entry edited away by hand leaves a gap that the list closes.
  m_app->WriteProfileString("Recent File List", "File3", "C:\\9");
  m_app->LoadStdProfileSettings(4);
  EXPECT_EQ(Names(*m_app->m_pRecentFileList),
            (std::vector<std::string>{"C:\\1", "C:\\9", "", ""}));

  m_app->LoadStdProfileSettings(0);
  EXPECT_EQ(m_app->m_pRecentFileList, nullptr);
}

TEST_F(RecentFileListTest, DisplayNamesAreShortWhereTheyCanBe) {
  struct Case {
    const char* why;
    const char* path;
    const char* curDir;
    int maxLen;
    const char* expected;
  };
  const Case cases[] = {
      {"a file in the current folder shows bare", "C:\\work\\site.zbp", "C:\\work", 30,
       "site.zbp"},
      {"the current folder compares without case", "C:\\Work\\site.zbp", "c:\\work", 30,
       "site.zbp"},
      {"a sub-folder of the current folder keeps its path", "C:\\work\\sub\\site.zbp",
       "C:\\work", 30, "C:\\work\\sub\\site.zbp"},
      {"a short path elsewhere is kept whole", "D:\\x\\site.zbp", "C:\\work", 30,
       "D:\\x\\site.zbp"},
      {"a long path keeps its drive and its name", "C:\\very long folder\\deeper still\\site.zbp",
       "", 20, "C:\\...\\site.zbp"},
      {"a name too long even so shows alone", "C:\\f\\an-exceedingly-long-name.zbp", "", 12,
       "an-exceedingly-long-name.zbp"},
  };
  for (const Case& c : cases) {
    CRecentFileList list(ID_FILE_MRU_FIRST, "Recent File List", "File%d", 4, c.maxLen);
    list[0] = c.path;
    CString name;
    ASSERT_TRUE(list.GetDisplayName(name, 0, c.curDir, lstrlenA(c.curDir))) << c.why;
    EXPECT_EQ(name, c.expected) << c.why;
  }
  CRecentFileList list(ID_FILE_MRU_FIRST, "Recent File List", "File%d", 4);
  CString name;
  EXPECT_FALSE(list.GetDisplayName(name, 0, "", 0)) << "an unused entry has no name";
}

// Runs the recent-file item's update as the menu loop does when the File menu opens.
struct FileMenu {
  FileMenu() {
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_FILE_OPEN, "&Open...");
    menu.AppendMenu(MF_STRING, ID_FILE_MRU_FILE1, "Recent File");
    menu.AppendMenu(MF_STRING, ID_APP_EXIT, "E&xit");
  }
  void Update(CCmdTarget* target) {
    CCmdUI ui;
    ui.m_pMenu = &menu;
    ui.m_nIndexMax = static_cast<UINT>(menu.GetMenuItemCount());
    for (ui.m_nIndex = 0; ui.m_nIndex < ui.m_nIndexMax; ++ui.m_nIndex) {
      ui.m_nID = menu.GetMenuItemID(static_cast<int>(ui.m_nIndex));
      if (ui.m_nID == ID_FILE_MRU_FILE1) ui.DoUpdate(target, FALSE);
    }
  }
  std::vector<std::string> Items() const {
    std::vector<std::string> out;
    for (int i = 0; i < menu.GetMenuItemCount(); ++i) {
      char text[128] = {};
      menu.GetMenuString(static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      out.push_back(text);
    }
    return out;
  }
  CMenu menu;
};

TEST_F(RecentFileListTest, TheFileMenuShowsOneNumberedItemPerEntry) {
  m_app->LoadStdProfileSettings(4);
  FileMenu file;
  file.Update(m_app.get());
  EXPECT_EQ(file.Items(), (std::vector<std::string>{"&Open...", "Recent File", "E&xit"}));
  EXPECT_TRUE(file.menu.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED)
      << "an empty list leaves its placeholder disabled";

  m_app->AddToRecentFileList("C:\\sites\\R&D.zbp");
  m_app->AddToRecentFileList("C:\\sites\\shop.zbp");
  file.Update(m_app.get());
  EXPECT_EQ(file.Items(), (std::vector<std::string>{"&Open...", "&1 C:\\sites\\shop.zbp",
                                                    "&2 C:\\sites\\R&&D.zbp", "E&xit"}));
  EXPECT_EQ(file.menu.GetMenuItemID(2), static_cast<UINT>(ID_FILE_MRU_FILE1 + 1));

  // Opening the menu again rebuilds the items rather than adding them twice.
  m_app->m_pRecentFileList->Remove(0);
  file.Update(m_app.get());
  EXPECT_EQ(file.Items(),
            (std::vector<std::string>{"&Open...", "&1 C:\\sites\\R&&D.zbp", "E&xit"}));
}

TEST_F(RecentFileListTest, AnEntryWhoseFileIsGoneIsOfferedForRemoval) {
  std::string present = m_dir + "zb-recent-present.zbp";
  std::string gone = m_dir + "zb-recent-gone.zbp";
  HANDLE h = CreateFileA(present.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  DeleteFileA(gone.c_str());
  m_app->LoadStdProfileSettings(4);
  m_app->AddToRecentFileList(gone.c_str());
  m_app->AddToRecentFileList(present.c_str());

  // Entry 1 exists: it is opened, not questioned, and stays.
  EXPECT_TRUE(Command(ID_FILE_MRU_FILE1));
  ASSERT_EQ(m_app->opened.size(), 1u);
  EXPECT_EQ(lstrcmpiA(m_app->opened[0].c_str(), present.c_str()), 0);
  EXPECT_TRUE(g_prompts.empty());

  // Entry 2 is gone: the user is asked; "No" keeps it, "Yes" removes it; nothing is opened.
  g_answer = IDNO;
  EXPECT_TRUE(Command(ID_FILE_MRU_FILE1 + 1));
  ASSERT_EQ(g_prompts.size(), 1u);
  EXPECT_NE(g_prompts[0].find("no longer exists"), std::string::npos);
  EXPECT_FALSE((*m_app->m_pRecentFileList)[1].IsEmpty());
  g_answer = IDYES;
  EXPECT_TRUE(Command(ID_FILE_MRU_FILE1 + 1));
  EXPECT_TRUE((*m_app->m_pRecentFileList)[1].IsEmpty());
  EXPECT_EQ(m_app->opened.size(), 1u);

  // An unused entry's command is not handled.
  EXPECT_FALSE(Command(ID_FILE_MRU_FILE1 + 3));
  DeleteFileA(present.c_str());
}

TEST_F(RecentFileListTest, WithoutAListTheCommandsAreNotHandledAndTheItemIsDisabled) {
  m_app->LoadStdProfileSettings(0);
  EXPECT_FALSE(Command(ID_FILE_MRU_FILE1));
  FileMenu file;
  file.Update(m_app.get());
  EXPECT_TRUE(file.menu.GetMenuState(ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_EQ(m_app->ExitInstance(), 0) << "exit without a list still gives a defined code";
}

}  // namespace
