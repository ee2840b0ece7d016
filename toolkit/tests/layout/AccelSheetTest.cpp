// The shortcut sheet on a real accelerator manager: the key-capture edit's texts, then the pages
// driven step by step (listing commands by category, assigning, asking before a shortcut changes
// owner, removing, resetting), and a cancelled customisation that puts the old table back.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/app/MessageBox.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "toolkit/dialogs/TkAccelPropertySheet.h"
#include "toolkit/services/TkAccelManager.h"
#include "toolkit/tests/layout/LayoutTestIds.h"

namespace {

TEST(KeyCapture, TextsNameModifiersCtrlAltShiftThenTheKey) {
  struct Case {
    BOOL ctrl, alt, shift;
    WORD key;
    const char* text;
  } cases[] = {
      {TRUE, TRUE, FALSE, VK_F5, "Ctrl+Alt+F5"},
      {TRUE, FALSE, FALSE, 0, "Ctrl+"},  // Ctrl held alone
      {TRUE, TRUE, TRUE, 'A', "Ctrl+Alt+Shift+A"},
      {FALSE, FALSE, TRUE, VK_DELETE, "Shift+DELETE"},
      {FALSE, FALSE, FALSE, 0xBA, ""},  // a key without a name
  };
  for (const Case& c : cases) {
    EXPECT_STREQ(CTkEditAccelerator::FormatCapture(c.ctrl, c.alt, c.shift, c.key).GetString(), c.text);
  }
}

LPARAM KeyData(bool alt) {
  return 1 | (alt ? (1 << 29) : 0);
}

TEST(KeyCapture, AKeyCompletesTheCaptureAndANewPressStartsAgain) {
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "capture", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                              100, nullptr, nullptr));
  CTkEditAccelerator edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 150, 20), &parent, 1));
  auto send = [&](UINT message, WPARAM vk, bool alt) {
    MSG msg = {edit.m_hWnd, message, vk, KeyData(alt), 0, {0, 0}};
    return edit.PreTranslateMessage(&msg);
  };
  auto text = [&] {
    CString s;
    edit.GetWindowText(s);
    return std::string(s.GetString());
  };
  WORD key = 0;
  BOOL ctrl = FALSE, alt = FALSE, shift = FALSE;
  EXPECT_TRUE(send(WM_KEYDOWN, VK_CONTROL, false));
  EXPECT_EQ(text(), "Ctrl+");
  EXPECT_FALSE(edit.GetAccel(key, ctrl, alt, shift));
  send(WM_SYSKEYDOWN, VK_MENU, true);
  send(WM_SYSKEYDOWN, VK_F5, true);
  EXPECT_EQ(text(), "Ctrl+Alt+F5");
  ASSERT_TRUE(edit.GetAccel(key, ctrl, alt, shift));
  EXPECT_EQ(key, VK_F5);
  EXPECT_TRUE(ctrl && alt && !shift);
  send(WM_SYSKEYUP, VK_MENU, true);  // releasing keys changes nothing once complete
  EXPECT_EQ(text(), "Ctrl+Alt+F5");
  send(WM_KEYDOWN, 'B', false);  // without Alt: a new capture
  EXPECT_EQ(text(), "B");
  ASSERT_TRUE(edit.GetAccel(key, ctrl, alt, shift));
  EXPECT_FALSE(ctrl || alt || shift);
  MSG chr = {edit.m_hWnd, WM_CHAR, 'b', 1, 0, {0, 0}};
  EXPECT_FALSE(edit.PreTranslateMessage(&chr)) << "other messages go their normal way";
  parent.DestroyWindow();
}

// The answer the test gives when the sheet asks; the questions asked are kept.
int g_answer = IDNO;
std::vector<std::string> g_questions;
int Answer(LPCSTR text, UINT) {
  g_questions.push_back(text);
  return g_answer;
}

class CScriptedAccelSheet : public CTkAccelPropertySheet {
 public:
  explicit CScriptedAccelSheet(CTkAccelManager* pManager) : CTkAccelPropertySheet(pManager, nullptr, FALSE) {}
  std::vector<std::function<void()>> steps;

 protected:
  LRESULT OnKickIdle(WPARAM, LPARAM) {
    if (m_next < steps.size()) steps[m_next++]();
    return m_next < steps.size();
  }
  DECLARE_MESSAGE_MAP()
  size_t m_next = 0;
};

BEGIN_MESSAGE_MAP(CScriptedAccelSheet, CTkAccelPropertySheet)
  ON_MESSAGE(WM_KICKIDLE, OnKickIdle)
END_MESSAGE_MAP()

class AccelSheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_questions.clear();
    g_answer = IDNO;
    AfxSetMessageBoxHandler(Answer);
    m_manager.SetSaveOnDestroy(FALSE);
    ASSERT_TRUE(m_manager.Init(&m_frame, IDR_TEST_SHORTCUTS, IDR_TEST_SHORTCUTS, "Test frame", "LayoutTest"));
  }
  void TearDown() override { AfxSetMessageBoxHandler(nullptr); }
  UINT Owner(BYTE fVirt, WORD key) {
    UINT id = 0;
    return m_manager.FindCommand(fVirt, key, id) ? id : 0;
  }

  CFrameWnd m_frame;
  CTkAccelManager m_manager;
};

std::vector<std::string> ListColumn(CTkListCtrl& list, int col) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.GetItemCount(); ++i) texts.push_back(list.GetItemText(i, col).GetString());
  return texts;
}

std::vector<std::string> ListBoxTexts(CListBox& box) {
  std::vector<std::string> texts;
  for (int i = 0; i < box.GetCount(); ++i) {
    char text[128] = "";
    box.SendMessage(LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    texts.push_back(text);
  }
  return texts;
}

using Texts = std::vector<std::string>;
const BYTE kCtrl = FVIRTKEY | FNOINVERT | FCONTROL;

TEST_F(AccelSheetTest, PagesListAssignAskRemoveAndReset) {
  CScriptedAccelSheet sheet(&m_manager);
  CTkAccelPropertyPage1& p1 = sheet.m_page1;
  CTkAccelPropertyPage2& p2 = sheet.m_page2;
  Texts page1File, page1Keys, page1All, commandsFile, keysAfterAssign, keysAfterRemove;
  std::string description;
  auto capture = [&](WORD vk) {
    p2.m_editKey.ResetKey();
    MSG ctrl = {p2.m_editKey.m_hWnd, WM_KEYDOWN, VK_CONTROL, 1, 0, {0, 0}};
    MSG key = {p2.m_editKey.m_hWnd, WM_KEYDOWN, vk, 1, 0, {0, 0}};
    p2.m_editKey.PreTranslateMessage(&ctrl);
    p2.m_editKey.PreTranslateMessage(&key);
  };
  auto selectCommand = [&](const char* name) {
    int i = static_cast<int>(p2.m_listCommands.SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name)));
    p2.m_listCommands.SetCurSel(i);
    p2.FillKeys();
  };
  sheet.steps = {
      [&] {
        page1File = ListColumn(p1.m_list, 0);
        page1Keys = ListColumn(p1.m_list, 1);
        p1.m_comboCategory.SetCurSel(p1.m_comboCategory.GetCount() - 1);
        p1.FillList();
        page1All = ListColumn(p1.m_list, 0);
        p1.m_comboCategory.SetCurSel(0);
        p1.FillList();
        sheet.SetActivePage(1);
      },
      [&] {
        commandsFile = ListBoxTexts(p2.m_listCommands);
        selectCommand("Open");
        description = p2.m_strDescription.GetString();
        selectCommand("Save");
        capture('S');
        p2.OnAssign();  // a free shortcut: no question
        keysAfterAssign = ListBoxTexts(p2.m_listKeys);
        capture('O');
        g_answer = IDNO;
        p2.OnAssign();  // Open owns Ctrl+O: declined
      },
      [&] {
        EXPECT_EQ(Owner(kCtrl, 'O'), static_cast<UINT>(ID_TEST_FILE_OPEN));
        g_answer = IDYES;
        p2.OnAssign();  // accepted: the shortcut moves to Save
        EXPECT_EQ(Owner(kCtrl, 'O'), static_cast<UINT>(ID_TEST_FILE_SAVE));
        capture('O');
        p2.OnAssign();  // its own shortcut again: asked, and one record stays
        p2.m_listKeys.SetCurSel(0);
        p2.OnRemove();
        keysAfterRemove = ListBoxTexts(p2.m_listKeys);
      },
      [&] {
        p2.OnResetAll();
        sheet.PressButton(PSBTN_CANCEL);
      }};
  sheet.DoModal();
  EXPECT_EQ(page1File, (Texts{"Open", "Save", "Recent\\One"})) << "names under a category lose its prefix";
  EXPECT_EQ(page1Keys, (Texts{"Ctrl+O", "", ""}));
  EXPECT_EQ(page1All, (Texts{"FileOpen", "FileSave", "FileRecentOne", "EditCopy"})) << "every separator goes";
  EXPECT_EQ(commandsFile, (Texts{"Open", "Save", "Recent\\One"}));
  EXPECT_EQ(description, "Opens a file");
  EXPECT_EQ(keysAfterAssign, (Texts{"Ctrl+S"}));
  ASSERT_EQ(g_questions.size(), 3u);
  EXPECT_NE(g_questions[0].find("File\\Open"), std::string::npos) << g_questions[0];
  EXPECT_NE(g_questions[2].find("File\\Save"), std::string::npos) << "asked about its own shortcut too";
  EXPECT_EQ(keysAfterRemove.size(), 1u);
  // Reset all took the resource's table back.
  EXPECT_TRUE(m_manager.IsDefault());
  EXPECT_EQ(Owner(kCtrl, 'O'), static_cast<UINT>(ID_TEST_FILE_OPEN));
  EXPECT_EQ(Owner(kCtrl, 'S'), 0u);
}

CTkAccelManager* g_manager = nullptr;
void CALLBACK AddAndCancel(HWND, UINT, UINT_PTR id, DWORD) {
  HWND hSheet = ::FindWindowA(nullptr, "Keyboard Shortcuts");
  if (!hSheet) return;
  ::KillTimer(nullptr, id);
  g_manager->AddAccel(ID_TEST_FILE_SAVE, kCtrl, 'S');
  ::PostMessageA(hSheet, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(AccelSheetTest, ACancelledCustomisationPutsTheOldTableBack) {
  g_manager = &m_manager;
  std::vector<ACCEL> before(m_manager.GetTable(), m_manager.GetTable() + m_manager.GetCount());
  UINT_PTR timer = ::SetTimer(nullptr, 0, 100, AddAndCancel);
  EXPECT_FALSE(TkCustomizeAccelerators(&m_manager, nullptr));
  ::KillTimer(nullptr, timer);
  ASSERT_EQ(m_manager.GetCount(), static_cast<int>(before.size()));
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(m_manager.GetTable()[i].cmd, before[i].cmd) << i;
    EXPECT_EQ(m_manager.GetTable()[i].key, before[i].key) << i;
  }
}

}  // namespace
