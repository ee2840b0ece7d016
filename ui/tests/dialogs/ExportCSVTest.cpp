// The CSV export dialog driven as the user would: its defaults, the previous-ranks choice kept in
// the command-line object (and left alone by Cancel), the path it names, and OK refused for a
// missing or bad name, or a missing folder unless the user has it made; the folder's "..." button
// asks for a folder with the shell's folder browser.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

#include "app/program/NQCommandLineInfo.h"
#include "resources/resource.h"
#include "tests/support/TempFolder.h"
#include "ui/dialogs/ExportCSV.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

using dlgtest::ItemText;
using dlgtest::Press;
using dlgtest::RunModal;
using dlgtest::SetItemText;

class ExportCSVTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dlgtest::UseLanguageModule();
    SetCommandLineInfo(new NQCommandLineInfo(""));
  }
  void TearDown() override { SetCommandLineInfo(nullptr); }
  static NQCommandLineInfo& CommandLine() { return *GetCommandLineInfo(); }
};

bool Checked(HWND d, int id) { return ::IsDlgButtonChecked(d, id) == BST_CHECKED; }

TEST_F(ExportCSVTest, OpensEmptyWithThePreviousRanksChoiceOfTheCommandLine) {
  struct Case {
    bool commandLine;  // an object at all
    BYTE previous;
  };
  for (Case c : {Case{true, 0}, Case{true, 1}, Case{false, 0}}) {
    SCOPED_TRACE(testing::Message() << c.commandLine << c.previous);
    if (c.commandLine) {
      SetCommandLineInfo(new NQCommandLineInfo(""));
      CommandLine().m_bCsvPrevious = c.previous;
    } else {
      SetCommandLineInfo(nullptr);
    }
    CExportCSV dlg;
    std::string name = "?", folder = "?";
    bool header = true, append = true, previous = !c.previous;
    RunModal(dlg, {[&](HWND d) {
                     name = ItemText(d, IDC_CSV_FILE_NAME);
                     folder = ItemText(d, IDC_CSV_FOLDER);
                     header = Checked(d, IDC_CSV_HEADER);
                     append = Checked(d, IDC_CSV_APPEND);
                     previous = Checked(d, IDC_CSV_PREVIOUS);
                   },
                   [](HWND d) { Press(d, IDCANCEL); }});
    EXPECT_EQ(name, "");
    EXPECT_EQ(folder, "");
    EXPECT_FALSE(header);
    EXPECT_FALSE(append);
    EXPECT_EQ(previous, c.previous != 0);
  }
}

TEST_F(ExportCSVTest, OkGivesTheChoicesAndKeepsThePreviousRanksChoice) {
  zbtest::TempFolder folder;
  struct Case {
    const char* name;
    bool header, append, previous;
    BYTE before;
  };
  const Case cases[] = {
      {"ranks.csv", true, false, true, 0},
      {" june ", false, true, false, 1},  // blanks around the name are not kept
      {"all.results.txt", true, true, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dlgtest::MessageBoxes boxes(IDNO);
    CommandLine().m_bCsvPrevious = c.before;
    CExportCSV dlg;
    EXPECT_EQ(RunModal(dlg, {[&](HWND d) {
                               SetItemText(d, IDC_CSV_FILE_NAME, c.name);
                               SetItemText(d, IDC_CSV_FOLDER, folder.Path().c_str());
                               ::CheckDlgButton(d, IDC_CSV_HEADER, c.header);
                               ::CheckDlgButton(d, IDC_CSV_APPEND, c.append);
                               ::CheckDlgButton(d, IDC_CSV_PREVIOUS, c.previous);
                             },
                             [](HWND d) { Press(d, IDOK); }}),
              IDOK);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_STREQ(dlg.m_strFileName, std::string(c.name).find("june") != std::string::npos
                                        ? "june"
                                        : c.name);
    EXPECT_STREQ(dlg.m_strFolder, folder.Path().c_str());
    EXPECT_EQ(dlg.m_bHeader != 0, c.header);
    EXPECT_EQ(dlg.m_bAppend != 0, c.append);
    EXPECT_EQ(CommandLine().m_bCsvPrevious, c.previous ? 1 : 0);
  }
}

TEST_F(ExportCSVTest, CancelLeavesThePreviousRanksChoiceAlone) {
  for (BYTE before : {0, 1}) {
    CommandLine().m_bCsvPrevious = before;
    CExportCSV dlg;
    EXPECT_EQ(RunModal(dlg, {[&](HWND d) {
                               SetItemText(d, IDC_CSV_FILE_NAME, "x.csv");
                               SetItemText(d, IDC_CSV_FOLDER, "C:\\");
                               ::CheckDlgButton(d, IDC_CSV_PREVIOUS, !before);
                             },
                             [](HWND d) { Press(d, IDCANCEL); }}),
              IDCANCEL);
    EXPECT_EQ(CommandLine().m_bCsvPrevious, before);
  }
}

TEST_F(ExportCSVTest, PathJoinsFolderAndNameAndNamesACsvFile) {
  struct Case {
    const char *folder, *name, *path;
  };
  const Case cases[] = {
      {"C:\\Reports", "ranks.csv", "C:\\Reports\\ranks.csv"},
      {"C:\\Reports\\", "ranks.csv", "C:\\Reports\\ranks.csv"},  // no doubled separator
      {"C:/Reports/", "ranks.csv", "C:/Reports/ranks.csv"},
      {"C:\\", "ranks", "C:\\ranks.csv"},  // a name without extension becomes a CSV file
      {"C:", "ranks.csv", "C:\\ranks.csv"},  // a bare drive means its root, not its current folder
      {"D:\\Out", "ranks.txt", "D:\\Out\\ranks.txt"},
      {"", "ranks.csv", "ranks.csv"},
      {"C:\\Reports", "", "C:\\Reports\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.folder << " + " << c.name);
    EXPECT_STREQ(CExportCSV::JoinPath(c.folder, c.name), c.path);
  }
}

// Runs the dialog with the fields, presses OK, and then Cancel if it is still open.
struct Attempt {
  INT_PTR result = 0;
  bool openAfterOk = false;
  std::vector<std::string> boxes;
};
Attempt TryOk(const std::string& name, const std::string& folder, int answer) {
  dlgtest::MessageBoxes boxes(answer);
  CExportCSV dlg;
  Attempt attempt;
  attempt.result = RunModal(dlg, {[&](HWND d) {
                                    SetItemText(d, IDC_CSV_FILE_NAME, name.c_str());
                                    SetItemText(d, IDC_CSV_FOLDER, folder.c_str());
                                  },
                                  [](HWND d) { Press(d, IDOK); },
                                  [&](HWND d) {
                                    attempt.openAfterOk = true;
                                    Press(d, IDCANCEL);
                                  }});
  attempt.boxes = boxes.texts;
  return attempt;
}

TEST_F(ExportCSVTest, OkIsRefusedWithoutAUsableNameOrFolder) {
  zbtest::TempFolder folder;
  struct Case {
    const char* name;
    std::string folder;
    const char* said;  // a word of the message
  };
  const Case cases[] = {
      {"", folder.Path(), "file name"},
      {"   ", folder.Path(), "file name"},
      {"ranks.csv", "", "folder"},
      {"ranks.csv", " ", "folder"},
      {"sub\\ranks.csv", folder.Path(), "cannot contain"},  // would land in another folder
      {"a/b.csv", folder.Path(), "cannot contain"},
      {"what?.csv", folder.Path(), "cannot contain"},
      {"C:ranks.csv", folder.Path(), "cannot contain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "'" << c.name << "' in '" << c.folder << "'");
    // The dialog stays open after OK; the steps then cancel it.
    Attempt a = TryOk(c.name, c.folder, IDOK);
    EXPECT_TRUE(a.openAfterOk);
    EXPECT_EQ(a.result, IDCANCEL);
    ASSERT_EQ(a.boxes.size(), 1u);
    EXPECT_NE(a.boxes[0].find(c.said), std::string::npos) << a.boxes[0];
  }
}

TEST_F(ExportCSVTest, MissingFolderIsMadeOnlyWhenTheUserSaysYes) {
  zbtest::TempFolder temp;
  const std::string missing = temp.Path() + "reports\\june";
  auto exists = [](const std::string& path) {
    DWORD a = ::GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
  };

  Attempt no = TryOk("ranks.csv", missing, IDNO);
  EXPECT_TRUE(no.openAfterOk);
  ASSERT_EQ(no.boxes.size(), 1u);
  EXPECT_NE(no.boxes[0].find(missing), std::string::npos) << no.boxes[0];
  EXPECT_FALSE(exists(missing));

  // With a trailing separator the question names the folder without it.
  dlgtest::MessageBoxes boxes(IDYES);
  CExportCSV dlg;
  EXPECT_EQ(RunModal(dlg, {[&](HWND d) {
                             SetItemText(d, IDC_CSV_FILE_NAME, "ranks.csv");
                             SetItemText(d, IDC_CSV_FOLDER, (missing + "\\").c_str());
                           },
                           [](HWND d) { Press(d, IDOK); }}),
            IDOK);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.texts[0].find(missing + " "), std::string::npos) << boxes.texts[0];
  EXPECT_TRUE(exists(missing));
  EXPECT_STREQ(dlg.GetPathName(), (missing + "\\ranks.csv").c_str());
  ::RemoveDirectoryA(missing.c_str());
  ::RemoveDirectoryA((temp.Path() + "reports").c_str());
}

TEST_F(ExportCSVTest, FolderThatCannotBeMadeIsSaidAndOkRefused) {
  zbtest::TempFolder temp;
  const std::string file = temp.File("plain.txt");
  HANDLE h = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ::CloseHandle(h);
  Attempt a = TryOk("ranks.csv", file + "\\sub", IDYES);  // below a file: cannot be made
  EXPECT_TRUE(a.openAfterOk);
  ASSERT_EQ(a.boxes.size(), 2u);
  EXPECT_NE(a.boxes[1].find("could not be created"), std::string::npos) << a.boxes[1];
}

TEST_F(ExportCSVTest, BareDriveAndRootAreFoldersThatExist) {
  for (const char* folder : {"C:", "C:\\"}) {
    SCOPED_TRACE(folder);
    dlgtest::MessageBoxes boxes(IDNO);
    CExportCSV dlg;
    EXPECT_EQ(RunModal(dlg, {[&](HWND d) {
                               SetItemText(d, IDC_CSV_FILE_NAME, "ranks.csv");
                               SetItemText(d, IDC_CSV_FOLDER, folder);
                             },
                             [](HWND d) { Press(d, IDOK); }}),
              IDOK);
    EXPECT_TRUE(boxes.texts.empty());
    EXPECT_STREQ(dlg.GetPathName(), "C:\\ranks.csv");
  }
}

// The shell's folder browser that the dialog opened, a window of this thread that it owns.
HWND FolderBrowserOf(HWND dialog) {
  struct Search {
    HWND owner, found;
  } search = {dialog, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (window == s->owner || ::GetWindow(window, GW_OWNER) != s->owner) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The folder field carries a "..." button at its right end, next in the tab order; it asks for
// a folder, whose path the field then shows. A cancelled browser leaves the field alone.
TEST_F(ExportCSVTest, TheFolderButtonAsksForAFolder) {
  char windows[MAX_PATH] = {};
  ASSERT_GT(::GetWindowsDirectoryA(windows, MAX_PATH), 0u);
  struct Case {
    const char* why;
    bool choose;
    std::string after;
  };
  const Case cases[] = {
      {"a folder chosen", true, std::string(windows) + "\\"},
      {"the browser cancelled", false, "C:\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CExportCSV dlg;
    RECT edit = {}, button = {};
    std::string buttonText, after;
    bool browserOpened = false;
    RunModal(dlg, {[&](HWND d) {
                     SetItemText(d, IDC_CSV_FOLDER, "C:\\");
                     HWND next = ::GetWindow(::GetDlgItem(d, IDC_CSV_FOLDER), GW_HWNDNEXT);
                     char text[16] = {};
                     ::GetWindowTextA(next, text, sizeof text);
                     buttonText = text;
                     edit = dlgtest::ClientRectIn(d, IDC_CSV_FOLDER);
                     button = dlgtest::ClientRectIn(d, ::GetDlgCtrlID(next));
                     Press(d, ::GetDlgCtrlID(next));
                   },
                   [&](HWND d) {
                     HWND browser = FolderBrowserOf(d);
                     browserOpened = browser != nullptr;
                     if (!browser) return;
                     if (c.choose)
                       ::SendMessageA(browser, BFFM_SETSELECTIONA, TRUE,
                                      reinterpret_cast<LPARAM>(windows));
                     ::PostMessageA(browser, WM_COMMAND, c.choose ? IDOK : IDCANCEL, 0);
                   },
                   [&](HWND d) {
                     after = ItemText(d, IDC_CSV_FOLDER);
                     Press(d, IDCANCEL);
                   }});
    EXPECT_EQ(buttonText, "...");
    EXPECT_EQ(button.top, edit.top);
    EXPECT_GT(button.left, edit.right - 1) << "right of the field";
    EXPECT_TRUE(browserOpened);
    EXPECT_EQ(after, c.after);
  }
}

}  // namespace
