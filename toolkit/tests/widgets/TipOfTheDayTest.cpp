// The tip of the day over small tips files: which lines are tips, the wrap at the end, the place
// and start-up choice kept in the profile, and files that are missing, edited or damaged.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/tests/wnd/WndTestSupport.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/dialogs/TkTipOfTheDay.h"

namespace {

const char kCompany[] = "ZBToolkitWidgetsTest";

// Comments, indented and empty lines around three tips, with both kinds of line end.
const char kTips[] =
    "; tips for the test\r\n"
    " an indented line\r\n"
    "\tand a tabbed one\n"
    "First tip.\r\n"
    "\r\n"
    "Second tip.\n"
    "Third tip.\n";

using Step = std::function<void(HWND)>;
const std::vector<Step>* g_steps = nullptr;
size_t g_next = 0;
CDialog* g_dialog = nullptr;
int g_idleTicks = 0;
void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND wnd = g_dialog ? g_dialog->GetSafeHwnd() : nullptr;
  if (!wnd || !::IsWindowVisible(wnd)) return;
  if (g_next < g_steps->size())
    (*g_steps)[g_next++](wnd);
  else if (++g_idleTicks == 100)  // the steps did not end it: give up
    ::PostMessageA(wnd, WM_COMMAND, IDCANCEL, 0);
}

INT_PTR RunModal(CDialog& dialog, const std::vector<Step>& steps) {
  g_steps = &steps;
  g_next = 0;
  g_dialog = &dialog;
  g_idleTicks = 0;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 30, OnTick);
  INT_PTR result = dialog.DoModal();
  ::KillTimer(nullptr, timer);
  g_dialog = nullptr;
  EXPECT_EQ(g_next, steps.size()) << "the dialog ended before every step ran";
  EXPECT_LT(g_idleTicks, 100) << "the steps did not end the dialog";
  return result;
}

void Click(HWND dialog, int id) {
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::vector<std::string> g_boxes;
int RecordBox(LPCSTR text, UINT) {
  g_boxes.push_back(text ? text : "");
  return IDOK;
}

class TipOfTheDayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
    ASSERT_NE(language, nullptr) << "ZBResENU.dll beside the test";
    AfxSetResourceHandle(language);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + kCompany);
    m_app = std::make_unique<CWinApp>("Tips");
    m_app->SetRegistryKey(kCompany);
    char temp[MAX_PATH] = "";
    ::GetTempPathA(MAX_PATH, temp);
    m_path = std::string(temp) + "zb_widgets_tips.tip";
    Write(kTips);
    g_boxes.clear();
    AfxSetMessageBoxHandler(RecordBox);
  }
  void TearDown() override {
    AfxSetMessageBoxHandler(nullptr);
    ::DeleteFileA(m_path.c_str());
    m_app.reset();
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + kCompany);
  }
  void Write(const std::string& content) {
    FILE* file = fopen(m_path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    fwrite(content.data(), 1, content.size(), file);
    fclose(file);
  }
  // Gives the file another modification time, as an edit would.
  void Touch(int secondsLater) {
    HANDLE file = ::CreateFileA(m_path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME written;
    ::GetFileTime(file, nullptr, nullptr, &written);
    ULARGE_INTEGER t = {{written.dwLowDateTime, written.dwHighDateTime}};
    t.QuadPart += 10000000ULL * secondsLater;
    written = {t.LowPart, t.HighPart};
    ::SetFileTime(file, nullptr, nullptr, &written);
    ::CloseHandle(file);
  }
  int Profile(LPCSTR entry, int fallback) { return m_app->GetProfileInt("Tip", entry, fallback); }
  // The tips shown by a dialog opened now and asked for more tips, `more` times.
  std::vector<std::string> Shown(int more) {
    CTkTipOfTheDay tips(m_path.c_str());
    std::vector<std::string> shown = {tips.GetTipText().GetString()};
    for (int i = 0; i < more; ++i) {
      CString next;
      tips.GetNextTipString(next);
      shown.push_back(next.GetString());
    }
    return shown;
  }
  std::unique_ptr<CWinApp> m_app;
  std::string m_path;
};

using Tips = std::vector<std::string>;

TEST_F(TipOfTheDayTest, TipsAreTheLinesNotCommentedOrIndentedAndTheyWrapAround) {
  CTkTipOfTheDay tips(m_path.c_str());
  EXPECT_TRUE(tips.IsFileOpen());
  EXPECT_EQ(tips.GetHeading(), CString("Did you know..."));
  EXPECT_EQ(tips.GetTipText(), CString("First tip.\n")) << "the line end is part of the tip";
  const Tips expected = {"Second tip.\n", "Third tip.\n", "First tip.\n", "Second tip.\n"};
  for (const std::string& want : expected) {
    CString next;
    EXPECT_TRUE(tips.GetNextTipString(next));
    EXPECT_EQ(next.GetString(), want);
  }
  EXPECT_TRUE(g_boxes.empty());
}

TEST_F(TipOfTheDayTest, TheNextShowingGoesOnWhereTheLastOneStopped) {
  EXPECT_EQ(Shown(1), (Tips{"First tip.\n", "Second tip.\n"}));
  EXPECT_GT(Profile("FilePos", -1), 0) << "stored when the dialog went";
  EXPECT_EQ(Shown(0), (Tips{"Third tip.\n"}));
  EXPECT_EQ(Shown(0), (Tips{"First tip.\n"}));
}

TEST_F(TipOfTheDayTest, AnEditedFileStartsAgainAtItsFirstTip) {
  EXPECT_EQ(Shown(1), (Tips{"First tip.\n", "Second tip.\n"}));
  Touch(120);
  EXPECT_EQ(Shown(0), (Tips{"First tip.\n"}));
  EXPECT_EQ(Shown(0), (Tips{"Second tip.\n"})) << "and goes on from there";
}

TEST_F(TipOfTheDayTest, AStoredPlaceThatCannotBeOneNeverShowsHalfALine) {
  const std::string file = kTips;
  const long second = static_cast<long>(file.find("Second tip."));
  struct Case {
    const char* name;
    long pos;
    const char* tip;
  } const cases[] = {
      {"at a line's start", second, "Second tip.\n"},
      {"inside a line: the next line", second + 3, "Third tip.\n"},
      {"past the end: from the top", 100000, "First tip.\n"},
      {"negative: from the top", -7, "First tip.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // The stamp of the file as it is, so that only the place counts.
    { CTkTipOfTheDay stamp(m_path.c_str()); }
    m_app->WriteProfileInt("Tip", "FilePos", static_cast<int>(c.pos));
    EXPECT_EQ(Shown(0), (Tips{c.tip}));
  }
  EXPECT_TRUE(g_boxes.empty()) << "no complaint: the file itself is sound";
}

TEST_F(TipOfTheDayTest, FilesWithoutASoundTipShowNoTipAndNeverLoop) {
  static const char kBinary[] =
      "MZ\x90\0\x03\0\0\0\x04\0\0\0\xff\xff\0\0\xb8\0\0\0\n\x01\x02garbage\x1b[0m\n";
  std::string binary(kBinary, sizeof kBinary - 1);
  std::string longLine(1500, 'a');
  struct Case {
    const char* name;
    std::string content;
    Tips shown;
  } const cases[] = {
      {"empty", "", {"", ""}},
      {"only comments and blanks", "; one\n  two\n\n\tthree\r\n", {"", ""}},
      {"binary", binary, {"", ""}},
      {"a damaged line among tips", "Good tip.\nBad\x01tip.\nLast tip.\n",
       {"Good tip.\n", "Last tip.\n", "Good tip.\n"}},
      // Longer than a read: it comes in pieces, each counted as a line.
      {"a long line", longLine + "\n", {std::string(999, 'a'), std::string(501, 'a') + "\n"}},
  };
  int edits = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Write(c.content);
    // A new time for each content, whole seconds apart as the stamp counts them.
    Touch(60 * ++edits);
    EXPECT_EQ(Shown(static_cast<int>(c.shown.size()) - 1), c.shown);
  }
}

TEST_F(TipOfTheDayTest, AMissingFileSaysSoAndKeepsNoPlace) {
  std::string missing = m_path + ".gone";
  CTkTipOfTheDay tips(missing.c_str());
  EXPECT_FALSE(tips.IsFileOpen());
  EXPECT_EQ(tips.GetTipsFilePath(), CString("tips.txt")) << "the default name instead";
  EXPECT_EQ(tips.GetTipText(), TkLoadString(IDS_TK_TIP_NOFILE));
  CString next = "x";
  EXPECT_FALSE(tips.GetNextTipString(next));
  EXPECT_TRUE(next.IsEmpty());
  bool nextEnabled = true;
  RunModal(tips, {[&](HWND dlg) {
                    nextEnabled = ::IsWindowEnabled(::GetDlgItem(dlg, IDC_TK_TIP_NEXT)) != FALSE;
                    Click(dlg, IDCANCEL);
                  }});
  EXPECT_FALSE(nextEnabled);
}

TEST_F(TipOfTheDayTest, MissingFileStoresNoPlace) {
  m_app->WriteProfileInt("Tip", "FilePos", 17);
  { CTkTipOfTheDay tips((m_path + ".gone").c_str()); }
  EXPECT_EQ(Profile("FilePos", -1), 17);
}

TEST_F(TipOfTheDayTest, TheDialogShowsTheNextTipAndKeepsTheStartUpChoiceOnOk) {
  struct Case {
    const char* name;
    int storedBefore;   // -1: none
    bool checkedAtStart;
    int setCheck;       // -1: leave it
    int button;
    int storedAfter;
  } const cases[] = {
      {"no value: shown at start", -1, true, -1, IDOK, 0},
      {"cleared, OK", -1, true, BST_UNCHECKED, IDOK, 1},
      {"switched off before, set again", 1, false, BST_CHECKED, IDOK, 0},
      {"cleared, then Cancel", 0, true, BST_UNCHECKED, IDCANCEL, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + kCompany);
    if (c.storedBefore >= 0) m_app->WriteProfileInt("Tip", "StartUp", c.storedBefore);
    CTkTipOfTheDay tips(m_path.c_str());
    bool checked = false, nextEnabled = false;
    std::string afterNext;
    int checkAfterNext = -1;
    INT_PTR result = RunModal(
        tips, {[&](HWND dlg) {
                 checked = ::IsDlgButtonChecked(dlg, IDC_TK_TIP_STARTUP) == BST_CHECKED;
                 nextEnabled = ::IsWindowEnabled(::GetDlgItem(dlg, IDC_TK_TIP_NEXT)) != FALSE;
                 if (c.setCheck >= 0) ::CheckDlgButton(dlg, IDC_TK_TIP_STARTUP, c.setCheck);
                 Click(dlg, IDC_TK_TIP_NEXT);
                 afterNext = tips.GetTipText().GetString();
                 checkAfterNext = static_cast<int>(::IsDlgButtonChecked(dlg, IDC_TK_TIP_STARTUP));
               },
               [&](HWND dlg) { Click(dlg, c.button); }});
    EXPECT_EQ(result, c.button);
    EXPECT_EQ(checked, c.checkedAtStart);
    EXPECT_TRUE(nextEnabled);
    EXPECT_EQ(afterNext, "Second tip.\n");
    if (c.setCheck >= 0) {
      EXPECT_EQ(checkAfterNext, c.setCheck) << "the next tip keeps the box";
    }
    EXPECT_EQ(Profile("StartUp", -1), c.storedBefore < 0 && c.button == IDCANCEL ? -1 : c.storedAfter);
    EXPECT_FALSE(tips.GetTipTextRect().IsRectEmpty());
    EXPECT_EQ(tips.GetTipTextRect().TopLeft(), CPoint(70, 72));
  }
}

}  // namespace
