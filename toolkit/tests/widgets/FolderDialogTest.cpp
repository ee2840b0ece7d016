// The folder browse dialog: its record, the callback that starts the browser at a folder and
// shows the path of the selection, and whole runs of the shell's browser ended by a button.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "framework/app/AfxResource.h"
#include "framework/tests/wnd/WndTestSupport.h"
#include "toolkit/dialogs/TkBrowseFolderDlg.h"

namespace {

// Stands in for the browser's window: notes the selection and status text it is sent.
class BrowserStandIn : public CWnd {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == BFFM_SETSELECTIONA) {
      selections.push_back(reinterpret_cast<LPCSTR>(lParam));
      byPath.push_back(wParam != 0);
      return 0;
    }
    if (message == BFFM_SETSTATUSTEXTA) {
      statuses.push_back(reinterpret_cast<LPCSTR>(lParam));
      return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
  }
  std::vector<std::string> selections, statuses;
  std::vector<bool> byPath;
};

class FolderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static HINSTANCE language = AfxLoadResourceModule("ZBResENU.dll");
    ASSERT_NE(language, nullptr) << "ZBResENU.dll beside the test";
    AfxSetResourceHandle(language);
    ASSERT_TRUE(CreateTestWindow(m_browser, "browser"));
  }
  void TearDown() override {
    if (m_browser.m_hWnd) m_browser.DestroyWindow();
  }
  BrowserStandIn m_browser;
};

TEST_F(FolderDialogTest, TheRecordAsksForFileSystemFoldersUnderItsTitle) {
  CTkBrowseFolderDlg dialog(&m_browser);
  EXPECT_EQ(dialog.m_bi.hwndOwner, m_browser.m_hWnd);
  EXPECT_EQ(dialog.m_bi.pidlRoot, nullptr);
  EXPECT_EQ(dialog.m_bi.ulFlags, static_cast<UINT>(BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS));
  EXPECT_STREQ(dialog.m_bi.lpszTitle, "Choose a folder:");
  EXPECT_EQ(dialog.m_bi.pszDisplayName, dialog.m_szPath);
  EXPECT_STREQ(dialog.m_szPath, "");
  CTkBrowseFolderDlg orphan;
  EXPECT_EQ(orphan.m_bi.hwndOwner, nullptr);
}

TEST_F(FolderDialogTest, TheBrowserStartsAtTheGivenFolderOrTheCurrentOne) {
  char current[MAX_PATH] = "";
  ::GetCurrentDirectoryA(MAX_PATH, current);
  struct Case {
    const char* given;
    std::string selected;
  } const cases[] = {{"C:\\windows", "C:\\windows"}, {"", current}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    m_browser.selections.clear();
    m_browser.byPath.clear();
    char buffer[MAX_PATH];
    lstrcpynA(buffer, c.given, MAX_PATH);
    EXPECT_EQ(CTkBrowseFolderDlg::BrowseCallbackProc(m_browser.m_hWnd, BFFM_INITIALIZED, 0,
                                                     reinterpret_cast<LPARAM>(buffer)),
              0);
    ASSERT_EQ(m_browser.selections.size(), 1u);
    EXPECT_EQ(m_browser.selections[0], c.selected);
    EXPECT_TRUE(m_browser.byPath[0]) << "the selection is given as a path";
  }
}

TEST_F(FolderDialogTest, TheStatusShowsThePathOfAFileSystemSelection) {
  LPITEMIDLIST folder = nullptr;
  ASSERT_TRUE(SUCCEEDED(::SHParseDisplayName(L"C:\\windows", nullptr, &folder, 0, nullptr)));
  CTkBrowseFolderDlg::BrowseCallbackProc(m_browser.m_hWnd, BFFM_SELCHANGED,
                                         reinterpret_cast<LPARAM>(folder), 0);
  ::CoTaskMemFree(folder);
  ASSERT_EQ(m_browser.statuses.size(), 1u);
  EXPECT_STRCASEEQ(m_browser.statuses[0].c_str(), "C:\\windows");

  // A selection outside the file system (the desktop's virtual folders) shows nothing.
  LPITEMIDLIST drives = nullptr;
  ASSERT_TRUE(SUCCEEDED(::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives)));
  CTkBrowseFolderDlg::BrowseCallbackProc(m_browser.m_hWnd, BFFM_SELCHANGED,
                                         reinterpret_cast<LPARAM>(drives), 0);
  ::CoTaskMemFree(drives);
  EXPECT_EQ(m_browser.statuses.size(), 1u);
}

// Ends the shell's browser by one of its buttons once it is up.
UINT g_button = IDCANCEL;
bool g_pressed = false;
BOOL CALLBACK PressInBrowser(HWND wnd, LPARAM) {
  char cls[32] = "";
  ::GetClassNameA(wnd, cls, sizeof cls);
  if (lstrcmpA(cls, "#32770") != 0 || !::IsWindowVisible(wnd)) return TRUE;
  ::PostMessageA(wnd, WM_COMMAND, MAKEWPARAM(g_button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(wnd, g_button)));
  g_pressed = true;
  return FALSE;
}
void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_pressed) ::EnumThreadWindows(::GetCurrentThreadId(), PressInBrowser, 0);
}

TEST_F(FolderDialogTest, CancellingKeepsThePathAndOkTakesTheFolderItStartedAt) {
  ::CoInitialize(nullptr);
  struct Case {
    UINT button;
    INT_PTR result;
    const char* after;
  } const cases[] = {{IDCANCEL, IDCANCEL, "C:\\windows\\system32"},
                     {IDOK, IDOK, "C:\\windows\\system32"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.button);
    CTkBrowseFolderDlg dialog(&m_browser);
    lstrcpynA(dialog.m_szPath, "C:\\windows\\system32", MAX_PATH);
    g_button = c.button;
    g_pressed = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 100, OnTick);
    INT_PTR result = dialog.DoModal();
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(g_pressed);
    EXPECT_EQ(result, c.result);
    EXPECT_STRCASEEQ(dialog.m_szPath, c.after);
  }
  ::CoUninitialize();
}

}  // namespace
