// The user tools dialog driven as the user would: it edits copies, hands them over on OK only,
// moves and removes rows, limits the list and insists on a menu text; its program and folder
// fields browse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/services/AppServices.h"
#include "resources/ids/ToolkitControlsIds.h"
#include "resources/resource.h"
#include "toolkit/usertools/WgUserTool.h"
#include "toolkit/usertools/WgUserToolsDlg.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

using dlgtest::ItemText;
using dlgtest::Press;
using dlgtest::RunModal;
using dlgtest::SetItemText;
using Strings = std::vector<std::string>;

struct Tools {
  CObArray list;
  ~Tools() { CWgUserTool::FreeTools(list); }
  void Add(const char* text, const char* command) {
    auto* tool = new CWgUserTool;
    tool->m_strMenuText = text;
    tool->m_strCommand = command;
    list.Add(tool);
  }
  CWgUserTool* At(INT_PTR i) const { return static_cast<CWgUserTool*>(list.GetAt(i)); }
  Strings Texts() const {
    Strings out;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) out.emplace_back(At(i)->m_strMenuText);
    return out;
  }
};

Strings Rows(HWND dialog) {
  HWND list = ::GetDlgItem(dialog, IDC_WG_TOOL_LIST);
  Strings rows;
  int n = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[128] = "";
    ::SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    rows.emplace_back(text);
  }
  return rows;
}

void SelectRow(HWND dialog, int row) {
  HWND list = ::GetDlgItem(dialog, IDC_WG_TOOL_LIST);
  ::SendMessageA(list, LB_SETCURSEL, row, 0);
  ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_WG_TOOL_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

class UserToolsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { dlgtest::UseLanguageModule(); }
};

TEST_F(UserToolsDialogTest, EditsMovesAndRemovesOnCopiesThatOkHandsOver) {
  Tools tools;
  tools.Add("Alpha", "a.exe");
  tools.Add("Beta", "b.exe");
  tools.Add("Gamma", "c.exe");
  CWgUserTool* ownedBefore = tools.At(0);
  dlgtest::MessageBoxes boxes(IDOK);
  CWgUserToolsDlg dlg;
  dlg.m_pTools = &tools.list;
  Strings shown;
  bool firstUpDisabled = false, lastDownDisabled = false;
  INT_PTR result = RunModal(dlg, {
      [&](HWND d) {
        shown = Rows(d);
        firstUpDisabled = !Enabled(d, IDC_WG_TOOL_UP) && Enabled(d, IDC_WG_TOOL_DOWN);
        EXPECT_EQ(ItemText(d, IDC_WG_TOOL_COMMAND), "a.exe");
        SelectRow(d, 2);
        lastDownDisabled = !Enabled(d, IDC_WG_TOOL_DOWN) && Enabled(d, IDC_WG_TOOL_UP);
        SetItemText(d, IDC_WG_TOOL_MENUTEXT, "Gamma 2");
        SetItemText(d, IDC_WG_TOOL_ARGUMENTS, "%f");
        Press(d, IDC_WG_TOOL_UP);
      },
      [&](HWND d) {
        EXPECT_EQ(Rows(d), (Strings{"Alpha", "Gamma 2", "Beta"}));
        SelectRow(d, 0);
        Press(d, IDC_WG_TOOL_REMOVE);
      },
      [&](HWND d) {
        EXPECT_EQ(Rows(d), (Strings{"Gamma 2", "Beta"}));
        // The row at the same place is selected and shown.
        EXPECT_EQ(ItemText(d, IDC_WG_TOOL_COMMAND), "c.exe");
        Press(d, IDOK);
      },
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(shown, (Strings{"Alpha", "Beta", "Gamma"}));
  EXPECT_TRUE(firstUpDisabled);
  EXPECT_TRUE(lastDownDisabled);
  ASSERT_EQ(tools.Texts(), (Strings{"Gamma 2", "Beta"}));
  EXPECT_EQ(std::string(tools.At(0)->m_strArguments), "%f");
  EXPECT_NE(tools.At(0), ownedBefore);
}

TEST_F(UserToolsDialogTest, CancelLeavesTheOwnersListAsItWas) {
  Tools tools;
  tools.Add("Alpha", "a.exe");
  dlgtest::MessageBoxes boxes(IDOK);
  CWgUserToolsDlg dlg;
  dlg.m_pTools = &tools.list;
  EXPECT_EQ(RunModal(dlg, {[](HWND d) {
                             SetItemText(d, IDC_WG_TOOL_MENUTEXT, "Changed");
                             Press(d, IDC_WG_TOOL_REMOVE);
                           },
                           [](HWND d) { Press(d, IDCANCEL); }}),
            IDCANCEL);
  EXPECT_EQ(tools.Texts(), (Strings{"Alpha"}));
}

TEST_F(UserToolsDialogTest, NewStopsAtTheMostTheMenuTakes) {
  Tools tools;
  dlgtest::MessageBoxes boxes(IDOK);
  CWgUserToolsDlg dlg;
  dlg.m_pTools = &tools.list;
  bool emptyDisablesEdits = false;
  std::vector<dlgtest::Step> steps;
  steps.push_back([&](HWND d) {
    emptyDisablesEdits = !Enabled(d, IDC_WG_TOOL_REMOVE) && !Enabled(d, IDC_WG_TOOL_COMMAND) &&
                         Enabled(d, IDC_WG_TOOL_NEW);
  });
  for (int i = 0; i < CWgUserTool::kMaxTools; ++i)
    steps.push_back([](HWND d) { Press(d, IDC_WG_TOOL_NEW); });
  steps.push_back([](HWND d) {
    EXPECT_FALSE(Enabled(d, IDC_WG_TOOL_NEW));
    Press(d, IDOK);
  });
  EXPECT_EQ(RunModal(dlg, steps), IDOK);
  EXPECT_TRUE(emptyDisablesEdits);
  ASSERT_EQ(tools.list.GetSize(), CWgUserTool::kMaxTools);
  EXPECT_EQ(std::string(tools.At(0)->m_strMenuText), "New Tool");
  EXPECT_EQ(tools.At(0)->m_bWait, 1u);
  EXPECT_EQ(tools.At(0)->m_nShowCmd, static_cast<DWORD>(SW_SHOWNORMAL));
}

TEST_F(UserToolsDialogTest, AnEmptyMenuTextIsRefusedWhenTheFocusLeaves) {
  Tools tools;
  tools.Add("Alpha", "a.exe");
  dlgtest::MessageBoxes boxes(IDOK);
  CWgUserToolsDlg dlg;
  dlg.m_pTools = &tools.list;
  HWND focusAfter = nullptr, menuEdit = nullptr;
  RunModal(dlg, {[&](HWND d) {
                   menuEdit = ::GetDlgItem(d, IDC_WG_TOOL_MENUTEXT);
                   ::SetFocus(menuEdit);
                   SetItemText(d, IDC_WG_TOOL_MENUTEXT, "");
                   ::SetFocus(::GetDlgItem(d, IDC_WG_TOOL_ARGUMENTS));
                 },
                 [&](HWND d) {
                   focusAfter = ::GetFocus();
                   SetItemText(d, IDC_WG_TOOL_MENUTEXT, "Back");
                   Press(d, IDOK);
                 }});
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_NE(boxes.texts[0].find("menu text"), std::string::npos);
  EXPECT_EQ(focusAfter, menuEdit);
  EXPECT_EQ(tools.Texts(), (Strings{"Back"}));
}

// A window of this thread that the dialog owns (the file or folder box it opened), or null.
HWND OwnedBy(HWND dialog) {
  for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT))
    if (w != dialog && ::GetWindow(w, GW_OWNER) == dialog &&
        ::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId())
      return w;
  return nullptr;
}

// The program and the folder fields carry "..." buttons at their right ends, enabled like the
// fields: the program's opens a file box with the program types, the folder's a folder browser.
TEST_F(UserToolsDialogTest, TheProgramAndFolderFieldsHaveButtonsThatBrowse) {
  Tools tools;
  tools.Add("Alpha", "a.exe");
  CWgUserToolsDlg dlg;
  dlg.m_pTools = &tools.list;
  struct Field {
    int id;
    std::string buttonText, boxTitle;
    bool beside = false, enabledWithRow = false, disabledWithout = false, boxOpened = false;
  } fields[] = {{IDC_WG_TOOL_COMMAND, "", ""}, {IDC_WG_TOOL_FOLDER, "", ""}};
  auto button = [](HWND d, int id) { return ::GetWindow(::GetDlgItem(d, id), GW_HWNDNEXT); };
  std::vector<dlgtest::Step> steps;
  for (Field& f : fields) {
    steps.push_back([&f, button](HWND d) {
      HWND b = button(d, f.id);
      char text[16] = {};
      ::GetWindowTextA(b, text, sizeof text);
      f.buttonText = text;
      RECT field = dlgtest::ClientRectIn(d, f.id), own = dlgtest::ClientRectIn(d, ::GetDlgCtrlID(b));
      f.beside = own.top == field.top && own.left >= field.right;
      f.enabledWithRow = ::IsWindowEnabled(b) != FALSE;
      ::PostMessageA(d, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(b), BN_CLICKED),
                     reinterpret_cast<LPARAM>(b));
    });
    steps.push_back([&f](HWND d) {
      HWND box = OwnedBy(d);
      f.boxOpened = box != nullptr;
      if (!box) return;
      char title[128] = {};
      ::GetWindowTextA(box, title, sizeof title);
      f.boxTitle = title;
      ::PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    });
  }
  steps.push_back([](HWND d) { Press(d, IDC_WG_TOOL_REMOVE); });
  steps.push_back([&fields, button](HWND d) {
    for (Field& f : fields) f.disabledWithout = !::IsWindowEnabled(button(d, f.id));
    Press(d, IDCANCEL);
  });
  RunModal(dlg, steps);
  for (const Field& f : fields) {
    SCOPED_TRACE(f.id);
    EXPECT_EQ(f.buttonText, "...");
    EXPECT_TRUE(f.beside);
    EXPECT_TRUE(f.enabledWithRow);
    EXPECT_TRUE(f.disabledWithout);
    EXPECT_TRUE(f.boxOpened);
  }
  EXPECT_EQ(fields[0].boxTitle, std::string(LoadResString(IDS_WG_TOOL_BROWSE_TITLE)));
}

}  // namespace
