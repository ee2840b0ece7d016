// Browse edits: the button's id, place and tab order, enabling and showing passed on, and both
// edits driving their dialogs through a seam: the folder they start at, the result written
// back, a cancel that changes nothing, and a file edit that leaves the current folder as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/dialogs/FileDialog.h"
#include "framework/tests/wnd/WndTestSupport.h"
#include "toolkit/dialogs/WgDirSelectDlg.h"
#include "toolkit/widgets/WgBrowseButton.h"
#include "toolkit/widgets/WgBrowseEdit.h"

namespace {

std::string CurrentFolder() {
  char buffer[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, buffer);
  return buffer;
}

// A scratch folder with a file and a subfolder in it.
class Scratch {
 public:
  Scratch() {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "zb_browse_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(root.c_str(), nullptr);
    sub = root + "\\sub";
    ::CreateDirectoryA(sub.c_str(), nullptr);
    file = root + "\\notes.txt";
    HANDLE h = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ::CloseHandle(h);
  }
  ~Scratch() {
    ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(sub.c_str());
    ::RemoveDirectoryA(root.c_str());
  }
  std::string root, sub, file;
};

class BrowseHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateTestWindow(dialog_, "browse host"));
    dialog_.ShowWindow(SW_SHOWNA);
    edit_ = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 200, 22,
                              dialog_.m_hWnd, reinterpret_cast<HMENU>(100), nullptr, nullptr);
    ASSERT_TRUE(edit_);
  }
  void TearDown() override { dialog_.DestroyWindow(); }
  RECT ChildRect(HWND child) {
    RECT rc;
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, dialog_.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  void Click(CWgBrowseButton* button) {
    dialog_.SendMessage(WM_COMMAND, MAKEWPARAM(button->GetId(), BN_CLICKED),
                        reinterpret_cast<LPARAM>(button->m_hWnd));
  }

  CWnd dialog_;
  HWND edit_ = nullptr;
};

TEST(BrowseButtonId, HighestFreeIdFromTheTop) {
  CWnd dialog;
  ASSERT_TRUE(CreateTestWindow(dialog, "ids"));
  struct Case { std::vector<int> used; UINT expected; } cases[] = {
      {{}, 32767}, {{32767}, 32766}, {{32767, 32766, 32764}, 32765}, {{100, 200}, 32767}};
  for (const Case& c : cases) {
    std::vector<HWND> made;
    for (int id : c.used)
      made.push_back(::CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 1, 1, dialog.m_hWnd,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                                       nullptr));
    EXPECT_EQ(WgFindFreeControlId(dialog.m_hWnd), c.expected);
    for (HWND h : made) ::DestroyWindow(h);
  }
  dialog.DestroyWindow();
}

TEST_F(BrowseHost, ButtonTakesTheEditsRightEndAndFollowsIt) {
  ::EnableWindow(edit_, FALSE);
  CWgBrowseDirEdit edit;
  ASSERT_TRUE(edit.Initialize(100, &dialog_));
  CWgBrowseButton* button = edit.GetButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->GetId(), 32767u);
  RECT e = ChildRect(edit_), b = ChildRect(button->m_hWnd);
  EXPECT_EQ(e.right - e.left, 174) << "26 pixels narrower";
  EXPECT_EQ(b.left, 185);
  EXPECT_EQ(b.right, 210);
  EXPECT_EQ(b.top, 10);
  EXPECT_EQ(b.bottom, 32);
  EXPECT_EQ(::GetWindow(edit_, GW_HWNDNEXT), button->m_hWnd) << "next in the tab order";
  CString text;
  button->GetWindowText(text);
  EXPECT_STREQ(text, "...");
  EXPECT_FALSE(button->IsWindowEnabled()) << "enabled like its edit was";

  edit.EnableWindow(TRUE);
  EXPECT_TRUE(button->IsWindowEnabled());
  edit.ShowWindow(SW_HIDE);
  EXPECT_FALSE(button->IsWindowVisible());
  edit.ShowWindow(SW_SHOW);
  EXPECT_TRUE(button->IsWindowVisible());

  HWND buttonWnd = button->m_hWnd;
  edit.DestroyWindow();
  EXPECT_FALSE(::IsWindow(buttonWnd)) << "goes with its edit";
  EXPECT_EQ(edit.GetButton(), nullptr);
}

TEST_F(BrowseHost, MissingEditFails) {
  CWgBrowseFileEdit edit;
  EXPECT_FALSE(edit.Initialize(999, &dialog_));
  EXPECT_EQ(edit.GetButton(), nullptr);
}

// A folder edit whose dialog answers from the test.
class SeamDirEdit : public CWgBrowseDirEdit {
 public:
  INT_PTR RunDirDialog(CWgDirSelectDlg& dialog) override {
    ++runs;
    start = std::string(dialog.GetInitialFolder());
    style = dialog.GetDirStyle();
    title = std::string(dialog.GetTitle());
    if (answer.empty()) return IDCANCEL;
    dialog.SetResult(answer.c_str());
    return IDOK;
  }
  int runs = 0;
  std::string start, title, answer;
  DWORD style = 0;
};

TEST_F(BrowseHost, FolderEditStartsAtItsFolderAndTakesTheChoice) {
  Scratch scratch;
  SeamDirEdit edit;
  ASSERT_TRUE(edit.Initialize(100, &dialog_));
  struct Case {
    const char* why;
    std::string text, start;
  } cases[] = {
      {"an existing folder", scratch.sub, scratch.sub},
      {"a trailing backslash is dropped", scratch.sub + "\\", scratch.sub},
      {"a bare drive starts at that drive", "C:", "C:\\"},
      {"a file is no folder", scratch.file, ""},
      {"a missing folder gives no start", scratch.root + "\\missing", ""},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    edit.SetWindowText(c.text.c_str());
    edit.answer.clear();
    Click(edit.GetButton());
    EXPECT_EQ(edit.start, c.start) << c.why;
    CString after;
    edit.GetWindowText(after);
    EXPECT_EQ(std::string(after), c.text) << c.why << ": a cancel changes nothing";
  }
  EXPECT_EQ(edit.runs, 6);
  EXPECT_EQ(edit.style, 1u) << "the shell's browser by default";
  EXPECT_EQ(edit.title, "Select a Folder");

  edit.answer = scratch.root + "\\";
  Click(edit.GetButton());
  CString chosen;
  edit.GetWindowText(chosen);
  EXPECT_EQ(std::string(chosen), scratch.root + "\\");
}

TEST(DirSelect, FolderPathsEndInOneBackslash) {
  struct Case { const char* in; const char* out; } cases[] = {
      {"C:\\Data", "C:\\Data\\"}, {"C:\\Data\\", "C:\\Data\\"}, {"C:", "C:\\"}, {"", "\\"}};
  for (const Case& c : cases) EXPECT_STREQ(WgWithTrailingBackslash(c.in), c.out) << c.in;
}

// A file edit whose dialog answers from the test and notes what it was given.
class SeamFileEdit : public CWgBrowseFileEdit {
 public:
  INT_PTR RunFileDialog(CFileDialog& dialog) override {
    file = dialog.m_ofn.lpstrFile ? dialog.m_ofn.lpstrFile : "";
    folderDuring = CurrentFolder();
    initialDir = dialog.m_ofn.lpstrInitialDir ? dialog.m_ofn.lpstrInitialDir : "";
    title = dialog.m_ofn.lpstrTitle ? dialog.m_ofn.lpstrTitle : "";
    flags = dialog.m_ofn.Flags;
    if (answer.empty()) return IDCANCEL;
    lstrcpynA(dialog.m_ofn.lpstrFile, answer.c_str(), static_cast<int>(dialog.m_ofn.nMaxFile));
    return IDOK;
  }
  std::string file, folderDuring, initialDir, title, answer;
  DWORD flags = 0;
};

TEST_F(BrowseHost, FileEditOpensAtItsFileOrFolderAndKeepsTheCurrentFolder) {
  Scratch scratch;
  SeamFileEdit edit;
  ASSERT_TRUE(edit.Initialize(100, &dialog_));
  std::string before = CurrentFolder();
  struct Case {
    const char* why;
    std::string text, file, folderDuring;
  } cases[] = {
      {"an existing file is the initial file", scratch.file, scratch.file, before},
      {"a folder: opened there, no file name", scratch.sub, "", scratch.sub},
      {"a missing file is dropped", scratch.root + "\\gone.txt", "", before},
  };
  for (const Case& c : cases) {
    edit.SetWindowText(c.text.c_str());
    Click(edit.GetButton());
    EXPECT_EQ(edit.file, c.file) << c.why;
    EXPECT_EQ(_stricmp(edit.folderDuring.c_str(), c.folderDuring.c_str()), 0)
        << c.why << ": " << edit.folderDuring;
    EXPECT_EQ(CurrentFolder(), before) << c.why << ": the current folder is kept";
  }
  EXPECT_EQ(edit.title, "Select a File");
  EXPECT_NE(edit.flags & OFN_HIDEREADONLY, 0u);
  EXPECT_NE(edit.flags & OFN_NOCHANGEDIR, 0u);

  // A configured initial file wins over the text; the choice lands in the edit.
  edit.m_strInitialFile = scratch.file.c_str();
  edit.SetWindowText(scratch.sub.c_str());
  edit.answer = scratch.root + "\\picked.txt";
  Click(edit.GetButton());
  EXPECT_EQ(edit.file, scratch.file);
  CString chosen;
  edit.GetWindowText(chosen);
  EXPECT_EQ(std::string(chosen), edit.answer);
}

}  // namespace
