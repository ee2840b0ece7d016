// The main window's options command: it opens the sheet on the page shown last, and the column
// page lists the columns of the window's own engine list.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/tests/AppTestSupport.h"
#include "engines/db/EngineServices.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/docview/DocTemplate.h"
#include "resources/resource.h"
#include "ui/MainFrame.h"
#include "ui/PlaceholderView.h"
#include "ui/sheets/options/OptionsPages.h"

namespace {

int QuietEngineBox(HWND, const char*, const char*, unsigned) { return IDOK; }

// What the timer saw of the sheet the command opened.
struct Seen {
  bool sheet = false;
  int page = -1;
  int columns = -1;
};
Seen g_seen;

void CALLBACK LookAtSheet(HWND, UINT, UINT_PTR, DWORD) {
  HWND sheet = ::FindWindowA(nullptr, "Options");
  if (!sheet || !::IsWindowVisible(sheet)) return;
  g_seen.sheet = true;
  HWND tab = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
  g_seen.page = static_cast<int>(::SendMessageA(tab, TCM_GETCURSEL, 0, 0));
  HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  g_seen.columns =
      static_cast<int>(::SendDlgItemMessageA(page, IDC_OPT_COLUMN_LIST, LB_GETCOUNT, 0, 0));
  ::PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

}  // namespace

TEST(OptionsCommandTest, TheOptionsCommandOpensTheSheetOnThePageShownLast) {
  apptest::LanguageModuleScope language;
  ASSERT_TRUE(language.Loaded()) << "ZBResENU.dll is not beside the test";
  apptest::TempFolder folder;
  AfxSetMessageBoxHandler([](LPCSTR, UINT) { return IDOK; });
  SetEngineMessageBox(QuietEngineBox);
  apptest::WriteBytes(folder.File("engines.dat"), "[Alpha]\nenabled=1\n\n[Beta]\nenabled=1\n");
  SetEngineDataFolder(folder.Path().c_str());
  GetSearchProperties().m_nBannersOn = 0;
  auto app = std::make_unique<CWinApp>("ZBProOptionsTest");
  app->AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CZubrinDoc),
                                             RUNTIME_CLASS(CMainFrame),
                                             RUNTIME_CLASS(CPlaceholderView)));
  app->OnFileNew();
  auto* frame = dynamic_cast<CMainFrame*>(app->m_pMainWnd);
  ASSERT_NE(frame, nullptr);
  HWND hFrame = frame->m_hWnd;
  HWND header = reinterpret_cast<HWND>(
      ::SendMessageA(frame->GetEngineViewPane()->m_hWnd, LVM_GETHEADER, 0, 0));
  int headerColumns = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));

  LastOptionsPage = 4;
  g_seen = Seen();
  UINT_PTR timer = ::SetTimer(nullptr, 0, 50, LookAtSheet);
  ::SendMessageA(hFrame, WM_COMMAND, ID_OPTIONS, 0);
  ::KillTimer(nullptr, timer);
  EXPECT_TRUE(g_seen.sheet);
  EXPECT_EQ(g_seen.page, 4);
  EXPECT_GT(headerColumns, 1);
  EXPECT_EQ(g_seen.columns, headerColumns - 1);

  if (auto* doc = dynamic_cast<CZubrinDoc*>(frame->GetActiveDocument())) doc->SetModifiedFlag(FALSE);
  ::DestroyWindow(hFrame);
  app.reset();
  SetEngineDataFolder("");
  SetEngineMessageBox(nullptr);
  AfxSetMessageBoxHandler(nullptr);
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
}
