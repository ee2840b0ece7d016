// The run's windows as the run control and the update check use them: the engine list's
// selected rows in list order, the modeless checking notice and its Cancel, and the message that
// stands for the missing-information dialog.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "app/program/NQCommandLineInfo.h"
#include "app/tests/AppTestSupport.h"
#include "foundation/core/NVList.h"
#include "framework/app/MessageBox.h"
#include "resources/resource.h"
#include "ui/RunWindows.h"
#include "ui/dialogs/CheckingForUpdate.h"

namespace {

std::vector<std::string> g_boxes;
int RecordBox(LPCSTR text, UINT) {
  g_boxes.push_back(text);
  return IDOK;
}

HWND MakeList(const std::vector<const char*>& rows) {
  INITCOMMONCONTROLSEX init = {sizeof init, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&init);
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 300, 200, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  LVCOLUMNA column = {};
  column.mask = LVCF_WIDTH;
  column.cx = 100;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  for (size_t i = 0; i < rows.size(); ++i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<char*>(rows[i]);
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
  return list;
}

// This thread's dialog: other test programs on the display may show one of the same title.
HWND OwnDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM param) -> BOOL {
        char name[16] = {};
        GetClassNameA(wnd, name, sizeof name);
        if (std::string(name) != "#32770") return TRUE;
        *reinterpret_cast<HWND*>(param) = wnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void Select(HWND list, int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

TEST(RunWindowsTest, SelectedEnginesAreTheSelectedRowsInListOrder) {
  struct Case {
    const char* why;
    std::vector<int> select;
    std::vector<std::string> expected;
  } cases[] = {
      {"none selected: nothing to run", {}, {}},
      {"selected out of order: the list's order counts", {3, 1}, {"Beta", "Delta"}},
      {"every row", {0, 1, 2, 3}, {"Alpha", "Beta", "Gamma", "Delta"}},
  };
  for (const Case& c : cases) {
    HWND list = MakeList({"Alpha", "Beta", "Gamma", "Delta"});
    ASSERT_NE(list, nullptr);
    for (int row : c.select) Select(list, row);
    std::vector<std::string> names;
    for (const CString& name : CMainRunViews::SelectedRowNames(list))
      names.emplace_back(static_cast<LPCSTR>(name));
    EXPECT_EQ(names, c.expected) << c.why;
    EXPECT_EQ(CMainRunViews::RowNames(list).size(), 4u) << "every row, selected or not";
    DestroyWindow(list);
  }
  EXPECT_TRUE(CMainRunViews::SelectedRowNames(nullptr).empty()) << "no engine list yet";
}

TEST(RunWindowsTest, TheCheckingNoticeCancelsTheCheckAndGoesWhenClosed) {
  apptest::LanguageModuleScope language;
  ASSERT_TRUE(language.Loaded());
  auto block = std::make_shared<UpdateCheckBlock>();
  CMainRunViews views;
  views.ShowCheckingNotice(block);
  HWND notice = OwnDialog();
  ASSERT_NE(notice, nullptr) << "the notice is not shown";
  EXPECT_TRUE(IsWindowVisible(notice));
  EXPECT_EQ(block->cancel.load(), 0);

  // Cancel as the button sends it: the check is told to stop; the notice waits for the check.
  SendMessageA(notice, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(notice, IDCANCEL)));
  EXPECT_EQ(block->cancel.load(), 1);
  EXPECT_TRUE(IsWindow(notice));
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(notice, IDCANCEL))) << "a second Cancel means nothing";

  views.CloseCheckingNotice();
  EXPECT_FALSE(IsWindow(notice));
  views.CloseCheckingNotice();  // a second close finds nothing to close
  EXPECT_EQ(block.use_count(), 1) << "the notice let go of the check's block";
}

// A run without a user cannot fill the fields in: it names them and does not submit. (With a
// user the missing-fields dialog lets them be filled in; its own tests show that.)
TEST(RunWindowsTest, MissingFieldsAreNamedAndTheSubmissionDoesNotStart) {
  apptest::LanguageModuleScope language;
  ASSERT_TRUE(language.Loaded());
  SetCommandLineInfo(new NQCommandLineInfo("/auto"));
  g_boxes.clear();
  AfxSetMessageBoxHandler(RecordBox);
  CNVList missing;
  missing.SetAt("EMAIL", "EMAIL");
  missing.SetAt("CONTACT_NAME", "CONTACT_NAME");
  CMainRunViews views;
  EXPECT_FALSE(views.ShowMissingInfo(missing));
  AfxSetMessageBoxHandler(nullptr);
  SetCommandLineInfo(nullptr);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_NE(g_boxes[0].find("CONTACT_NAME\nEMAIL\n"), std::string::npos) << g_boxes[0];
}

}  // namespace
