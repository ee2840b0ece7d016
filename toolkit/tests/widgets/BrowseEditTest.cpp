// The browse edit, its button and the in-place editor on real windows: where the button goes and
// how it follows the edit, what each kind sets up up to the point where the system's dialog or
// menu would take over (a seam answers in its place), and how the in-place editor ends.
#include <gtest/gtest.h>

#include <commdlg.h>

#include <string>
#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/dialogs/FileDialog.h"
#include "framework/tests/wnd/WndTestSupport.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/dialogs/TkBrowseFolderDlg.h"
#include "toolkit/tests/widgets/WidgetsTestIds.h"
#include "toolkit/widgets/TkBrowseBtn.h"
#include "toolkit/widgets/TkBrowseEdit.h"
#include "toolkit/widgets/TkItemEdit.h"

namespace {

struct Command {
  UINT id, code;
  HWND from;
  std::string text;  // the caller's string when the command came
};

// The edit's parent: records the in-place editor's notifications and passes every command on
// (the button's click is reflected to it from here).
class Host : public CWnd {
 public:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    UINT code = HIWORD(wParam);
    if (code == TKN_ITEMEDIT_COMMITTED || code == TKN_ITEMEDIT_CANCELLED)
      commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam),
                        watched ? watched->GetString() : ""});
    return CWnd::OnCommand(wParam, lParam);
  }
  std::vector<Command> commands;
  CString* watched = nullptr;
};

// Answers in place of the folder dialog, the file dialog and the popup menu, noting what each
// was given.
class SeamEdit : public CTkBrowseEdit {
 public:
  INT_PTR answer = IDCANCEL;
  std::string choice;
  int runs = 0;
  // folder dialog
  std::string folderStart, folderTitle;
  HWND folderOwner = nullptr;
  // file dialog
  CFileDialog* fileDialog = nullptr;
  DWORD fileFlags = 0, fileStructSize = 0;
  std::string fileDefExt, fileFilterFirst;
  CWnd* fileParent = nullptr;
  // popup menu
  UINT menuFirstId = 0, menuFlags = 0;
  CPoint menuPoint;
  HWND menuOwner = nullptr;
  CRect menuExclude;
  BOOL buttonPushedDuringMenu = FALSE;

 protected:
  INT_PTR RunFolderDialog(CTkBrowseFolderDlg& dialog) override {
    ++runs;
    folderStart = dialog.m_szPath;
    folderTitle = dialog.m_bi.lpszTitle ? dialog.m_bi.lpszTitle : "";
    folderOwner = dialog.m_bi.hwndOwner;
    if (answer == IDOK) lstrcpynA(dialog.m_szPath, choice.c_str(), MAX_PATH);
    return answer;
  }
  INT_PTR RunFileDialog(CFileDialog& dialog) override {
    ++runs;
    fileDialog = &dialog;
    fileFlags = dialog.m_ofn.Flags;
    fileStructSize = dialog.m_ofn.lStructSize;
    fileDefExt = dialog.m_ofn.lpstrDefExt ? dialog.m_ofn.lpstrDefExt : "";
    fileFilterFirst = dialog.m_ofn.lpstrFilter ? dialog.m_ofn.lpstrFilter : "";
    fileParent = dialog.m_pParentWnd;
    if (answer == IDOK) lstrcpynA(dialog.m_ofn.lpstrFile, choice.c_str(), dialog.m_ofn.nMaxFile);
    return answer;
  }
  void RunPopupMenu(HMENU hPopup, UINT nFlags, CPoint pt, HWND hOwner,
                    const CRect& rectExclude) override {
    ++runs;
    menuFirstId = ::GetMenuItemID(hPopup, 0);
    menuFlags = nFlags;
    menuPoint = pt;
    menuOwner = hOwner;
    menuExclude = rectExclude;
    buttonPushedDuringMenu = (GetBrowseButton()->GetState() & BST_PUSHED) != 0;
  }
};

class BrowseEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
    s_language = language;
  }
  void SetUp() override {
    ASSERT_NE(s_language, nullptr) << "ZBResENU.dll beside the test";
    AfxSetResourceHandle(s_language);
    ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, 0, 0,
                                500, 300, nullptr, nullptr));
  }
  void TearDown() override {
    if (m_host.m_hWnd) m_host.DestroyWindow();
    PumpPending();
  }
  // A browse edit of 200 x 22 at (10, 10), its style set right after creation as the search
  // form does, and the posted creation of the button handled.
  void MakeEdit(SeamEdit& edit, UINT style, UINT menuId = 0, int popup = 0) {
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP,
                            CRect(10, 10, 210, 32), &m_host, 7004));
    edit.SetBrowseStyle(style, menuId, popup);
    PumpPending();
  }
  CRect InHost(HWND wnd) {
    CRect rect;
    ::GetWindowRect(wnd, &rect);
    m_host.ScreenToClient(&rect);
    return rect;
  }
  void Click(SeamEdit& edit) {
    HWND button = edit.GetBrowseButton()->m_hWnd;
    m_host.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TK_BROWSE_BUTTON, BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
  }
  static std::string Text(CWnd& wnd) {
    CString text;
    wnd.GetWindowText(text);
    return text.GetString();
  }
  static HINSTANCE s_language;
  Host m_host;
};
HINSTANCE BrowseEditTest::s_language = nullptr;

TEST_F(BrowseEditTest, TheButtonTakesItsRoomFromTheEditByTheKind) {
  const int gap = ::GetSystemMetrics(SM_CXEDGE);
  struct Case {
    UINT style;
    bool button;
    const char* text;
  } const cases[] = {
      {0, false, nullptr},           // no kind: no button, the edit keeps its width
      {3, false, nullptr},           // not a kind either
      {TKBROWSE_FOLDER, true, "..."},
      {TKBROWSE_FILE, true, "..."},
      {TKBROWSE_POPUPMENU, true, ""},  // an arrow, no text
      {TKBROWSE_POPUPMENU | 0x100, true, ""},  // the kind is the low three bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    SeamEdit edit;
    MakeEdit(edit, c.style);
    CRect rect = InHost(edit.m_hWnd);
    HWND button = ::GetDlgItem(m_host.m_hWnd, IDC_TK_BROWSE_BUTTON);
    if (!c.button) {
      EXPECT_EQ(edit.GetBrowseButton(), nullptr);
      EXPECT_EQ(button, nullptr);
      EXPECT_EQ(rect, CRect(10, 10, 210, 32));
      continue;
    }
    ASSERT_NE(edit.GetBrowseButton(), nullptr);
    ASSERT_EQ(button, edit.GetBrowseButton()->m_hWnd);
    EXPECT_EQ(edit.GetBrowseButton()->GetBrowseStyle(), c.style);
    EXPECT_EQ(rect, CRect(10, 10, 210 - 18 - gap, 32));
    EXPECT_EQ(InHost(button), CRect(210 - 18, 10, 210, 32));
    EXPECT_NE(::GetWindowLongPtrA(button, GWL_STYLE) & BS_OWNERDRAW, 0);
    EXPECT_EQ(::GetWindow(edit.m_hWnd, GW_HWNDNEXT), button) << "next after the edit";
    char text[16] = "?";
    ::GetWindowTextA(button, text, sizeof text);
    EXPECT_STREQ(text, c.text);
    if (c.style & TKBROWSE_POPUPMENU) {
      EXPECT_NE(edit.GetBrowseButton()->GetArrowIcon(), nullptr);
    }
    edit.DestroyWindow();
    EXPECT_FALSE(::IsWindow(button)) << "the edit's button goes with it";
  }
}

TEST_F(BrowseEditTest, TheButtonFollowsTheEditsPlaceSizeStateAndVisibility) {
  const int gap = ::GetSystemMetrics(SM_CXEDGE);
  SeamEdit edit;
  MakeEdit(edit, TKBROWSE_FOLDER);
  HWND button = edit.GetBrowseButton()->m_hWnd;
  struct Case {
    CRect given;
  } const cases[] = {{CRect(20, 40, 170, 64)}, {CRect(0, 0, 300, 20)}, {CRect(50, 100, 90, 130)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given.left);
    edit.MoveWindow(&c.given);
    CRect rect = InHost(edit.m_hWnd), btn = InHost(button);
    EXPECT_EQ(rect.Width() + gap + btn.Width(), c.given.Width()) << "together as wide as given";
    EXPECT_EQ(btn.right, c.given.right);
    EXPECT_EQ(btn.top, c.given.top);
    EXPECT_EQ(btn.Height(), c.given.Height());
  }
  // A move alone keeps the widths.
  edit.SetWindowPos(nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(InHost(edit.m_hWnd).Width(), 40 - 18 - gap);
  EXPECT_EQ(InHost(button).left, InHost(edit.m_hWnd).right + gap);

  edit.EnableWindow(FALSE);
  EXPECT_FALSE(::IsWindowEnabled(button));
  edit.EnableWindow(TRUE);
  EXPECT_TRUE(::IsWindowEnabled(button));
  edit.ShowWindow(SW_HIDE);
  EXPECT_FALSE(::IsWindowVisible(button));
  edit.ShowWindow(SW_SHOW);
  EXPECT_TRUE(::IsWindowVisible(button));
}

TEST_F(BrowseEditTest, TheFolderKindStartsAtTheTypedFolderAndTakesOnlyAChosenOne) {
  struct Case {
    const char* name;
    INT_PTR answer;
    const char* choice;
    const char* after;
  } const cases[] = {
      {"cancelled", IDCANCEL, "", "C:\\windows"},
      {"chosen", IDOK, "C:\\temp", "C:\\temp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SeamEdit edit;
    MakeEdit(edit, TKBROWSE_FOLDER);
    edit.SetWindowText("C:\\windows");
    edit.answer = c.answer;
    edit.choice = c.choice;
    Click(edit);
    EXPECT_EQ(edit.runs, 1);
    EXPECT_EQ(edit.folderStart, "C:\\windows");
    EXPECT_EQ(edit.folderTitle, "Choose a Folder");
    EXPECT_EQ(edit.folderOwner, m_host.m_hWnd) << "the edit's parent owns the dialog";
    EXPECT_EQ(Text(edit), c.after);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, static_cast<int>(strlen(c.after))) << "the whole text selected";
    edit.DestroyWindow();
  }
}

TEST_F(BrowseEditTest, TheFileKindSetsUpItsDialogOrRunsTheOwnersOwn) {
  SeamEdit edit;
  MakeEdit(edit, TKBROWSE_FILE);
  edit.SetWindowText("old.txt");
  edit.answer = IDCANCEL;
  Click(edit);
  ASSERT_EQ(edit.runs, 1);
  const DWORD wanted = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  EXPECT_EQ(edit.fileFlags & wanted, wanted);
  EXPECT_EQ(edit.fileDefExt, "txt");
  EXPECT_EQ(edit.fileFilterFirst, "Text Files (*.txt)") << "the filter's first entry";
  EXPECT_EQ(edit.fileParent, &edit) << "the edit is the dialog's parent once its button exists";
  EXPECT_EQ(edit.fileStructSize, sizeof(OPENFILENAMEA)) << "the newer record on this system";
  EXPECT_EQ(Text(edit), "old.txt");

  edit.answer = IDOK;
  edit.choice = "C:\\data\\new.csv";
  edit.SetDefaultExt("csv");
  edit.SetFileDialogFlags(OFN_EXPLORER);
  Click(edit);
  EXPECT_EQ(edit.fileDefExt, "csv");
  EXPECT_EQ(edit.fileFlags & OFN_FILEMUSTEXIST, 0u);
  EXPECT_EQ(Text(edit), "C:\\data\\new.csv");

  // The owner's own dialog is run as it is.
  CFileDialog own(FALSE, nullptr, nullptr, OFN_HIDEREADONLY, nullptr, &m_host);
  edit.SetCustomFileDialog(&own);
  edit.choice = "D:\\own.dat";
  Click(edit);
  EXPECT_EQ(edit.fileDialog, &own);
  EXPECT_EQ(Text(edit), "D:\\own.dat");
}

TEST_F(BrowseEditTest, ThePopupKindDropsTheMenusPopupBesideTheButton) {
  // The menu comes from the resource module; this one is the test's own.
  AfxSetResourceHandle(::GetModuleHandleA(nullptr));
  SeamEdit edit;
  MakeEdit(edit, TKBROWSE_POPUPMENU, IDR_TEST_BROWSE_MENU, 1);
  Click(edit);
  ASSERT_EQ(edit.runs, 1);
  EXPECT_EQ(edit.menuFirstId, static_cast<UINT>(ID_TEST_SECOND_FIRST)) << "the second popup";
  EXPECT_EQ(edit.menuFlags, static_cast<UINT>(TPM_VERTICAL));
  CRect button;
  edit.GetBrowseButton()->GetWindowRect(&button);
  EXPECT_EQ(edit.menuPoint, CPoint(button.right, button.top));
  EXPECT_EQ(edit.menuExclude, button);
  EXPECT_EQ(edit.menuOwner, m_host.m_hWnd) << "the first ancestor that is not a child";
  EXPECT_TRUE(edit.buttonPushedDuringMenu);
  EXPECT_EQ(edit.GetBrowseButton()->GetState() & BST_PUSHED, 0u) << "released afterwards";

  // A popup index the menu lacks drops nothing.
  SeamEdit none;
  MakeEdit(none, TKBROWSE_POPUPMENU, IDR_TEST_BROWSE_MENU, 5);
  Click(none);
  EXPECT_EQ(none.runs, 0);
}

// --- the in-place editor ---

class CountedItemEdit : public CTkItemEdit {
 public:
  CountedItemEdit(CWnd* parent, const CRect& rect, CString* text, UINT style, int* deleted)
      : CTkItemEdit(parent, rect, text, style, TRUE), m_deleted(deleted) {}
  ~CountedItemEdit() override { ++*m_deleted; }

 private:
  int* m_deleted;
};

TEST_F(BrowseEditTest, ReturnCommitsAndEscapeCancelsHoweverTheKeyArrives) {
  struct Case {
    const char* name;
    UINT message, key;
    bool posted;  // through the message loop rather than straight to the window
    bool committed;
  } const cases[] = {
      {"Return as a character", WM_CHAR, VK_RETURN, false, true},
      {"Return pressed", WM_KEYDOWN, VK_RETURN, false, true},
      {"Return released", WM_KEYUP, VK_RETURN, false, true},
      {"Return pressed, from the queue", WM_KEYDOWN, VK_RETURN, true, true},
      {"Escape as a character", WM_CHAR, VK_ESCAPE, false, false},
      {"Escape pressed", WM_KEYDOWN, VK_ESCAPE, false, false},
      {"Escape pressed, from the queue", WM_KEYDOWN, VK_ESCAPE, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CString text = "before";
    m_host.watched = &text;
    m_host.commands.clear();
    CTkItemEdit editor(&m_host, CRect(5, 5, 105, 25), &text, 0, FALSE);
    ASSERT_NE(editor.m_hWnd, nullptr);
    EXPECT_EQ(editor.GetDlgCtrlID(), IDC_TK_ITEM_EDIT);
    EXPECT_EQ(Text(editor), "before");
    EXPECT_EQ(::GetFocus(), editor.m_hWnd);
    int start = -1, end = -1;
    editor.GetSel(start, end);
    EXPECT_EQ(end - start, 6) << "all selected";
    editor.SetWindowText("after");
    HWND hEditor = editor.m_hWnd;
    if (c.posted)
      editor.PostMessage(c.message, c.key, 1);
    else
      editor.SendMessage(c.message, c.key, 1);
    PumpPending();
    ASSERT_EQ(m_host.commands.size(), 1u);
    const Command& cmd = m_host.commands[0];
    EXPECT_EQ(cmd.id, static_cast<UINT>(IDC_TK_ITEM_EDIT));
    EXPECT_EQ(cmd.from, hEditor);
    EXPECT_EQ(cmd.code, c.committed ? TKN_ITEMEDIT_COMMITTED : TKN_ITEMEDIT_CANCELLED);
    EXPECT_EQ(cmd.text, c.committed ? "after" : "before") << "the text as the owner heard";
    EXPECT_EQ(text.GetString(), std::string(c.committed ? "after" : "before"));
    EXPECT_EQ(editor.IsCommitted() != FALSE, c.committed);
    EXPECT_EQ(editor.IsCancelled() != FALSE, !c.committed);
    EXPECT_FALSE(::IsWindow(hEditor)) << "closed itself";
  }
  m_host.watched = nullptr;
}

TEST_F(BrowseEditTest, LosingTheFocusCommitsUnlessItGoesToTheEditorsOwnButton) {
  CString text = "name";
  CWnd other;
  ASSERT_TRUE(other.Create("BUTTON", "other", WS_CHILD | WS_VISIBLE, CRect(300, 5, 380, 25),
                           &m_host, 77));
  CTkItemEdit editor(&m_host, CRect(5, 5, 155, 25), &text, TKBROWSE_FOLDER, FALSE);
  PumpPending();
  ASSERT_NE(editor.GetBrowseButton(), nullptr);
  EXPECT_EQ(editor.GetGap(), 0);
  EXPECT_EQ(InHost(editor.GetBrowseButton()->m_hWnd).left, InHost(editor.m_hWnd).right);
  editor.SetWindowText("renamed");

  editor.GetBrowseButton()->SetFocus();
  EXPECT_FALSE(editor.IsEnded()) << "the editor's own button is part of it";
  EXPECT_TRUE(m_host.commands.empty());

  other.SetFocus();
  EXPECT_TRUE(editor.IsEnded()) << "the focus left the editor and its button";
  ASSERT_EQ(m_host.commands.size(), 1u);
  EXPECT_EQ(m_host.commands[0].code, TKN_ITEMEDIT_COMMITTED);
  EXPECT_EQ(text.GetString(), std::string("renamed"));
  HWND button = editor.GetBrowseButton()->m_hWnd;
  PumpPending();
  EXPECT_FALSE(::IsWindow(editor.m_hWnd));
  EXPECT_FALSE(::IsWindow(button));

  // Ending twice tells the owner once.
  editor.EndEdit();
  EXPECT_EQ(m_host.commands.size(), 1u);
}

TEST_F(BrowseEditTest, AnEditorThatDeletesItselfGoesOnceItsWindowIsGone) {
  CString text = "x";
  int deleted = 0;
  auto* editor = new CountedItemEdit(&m_host, CRect(5, 5, 105, 25), &text, 0, &deleted);
  editor->SendMessage(WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(deleted, 0) << "alive until its close is handled";
  PumpPending();
  EXPECT_EQ(deleted, 1);
  ASSERT_EQ(m_host.commands.size(), 1u);
  EXPECT_EQ(m_host.commands[0].code, TKN_ITEMEDIT_CANCELLED);
}

}  // namespace
