// The options sheet driven as the user would: each page's edits reach the settings and the
// profile on OK and Apply and nothing does on Cancel, edits light Apply, the range checks keep
// the user on the page, the proxy and report-folder refusals store nothing, the column page
// shows and hides the engine list's columns, the language page writes the module's name, the
// colour samples keep their brushes, and the rate reads alike whatever the locale.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <clocale>
#include <functional>
#include <string>
#include <vector>

#include "app/services/AppServices.h"
#include "app/settings/SearchProperties.h"
#include "app/run/UpdateBroadcast.h"
#include "app/tests/AppRegistryFixture.h"
#include "foundation/os/WgFileSystem.h"
#include "resources/resource.h"
#include "ui/sheets/options/SearchPropertySheet.h"
#include "ui/tests/dialogs/DialogDriver.h"

namespace {

using Sheet = CSearchPropertySheet;
using SheetStep = std::function<void(Sheet&)>;
constexpr UINT kApplyButton = 12321;

// Plays the user of the sheet: the steps run one after another on a timer once the sheet shows.
// A sheet still open 3 s after the last step is cancelled.
Sheet* g_sheet = nullptr;
const std::vector<SheetStep>* g_steps = nullptr;
size_t g_next = 0;
int g_idle = 0;

void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND window = g_sheet ? g_sheet->GetSafeHwnd() : nullptr;
  if (!window || !::IsWindowVisible(window)) return;
  if (g_next < g_steps->size()) {
    (*g_steps)[g_next++](*g_sheet);
  } else if (++g_idle == 150) {
    ::PostMessageA(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  }
}

INT_PTR RunSheet(Sheet& sheet, const std::vector<SheetStep>& steps) {
  g_sheet = &sheet;
  g_steps = &steps;
  g_next = 0;
  g_idle = 0;
  UINT_PTR timer = ::SetTimer(nullptr, 0, 20, OnTick);
  INT_PTR result = sheet.DoModal();
  ::KillTimer(nullptr, timer);
  g_sheet = nullptr;
  g_steps = nullptr;
  return result;
}

HWND PageWnd(Sheet& sheet, int page) { return sheet.GetPage(page)->m_hWnd; }

SheetStep Show(int page) {
  return [page](Sheet& sheet) { sheet.SetActivePage(page); };
}
SheetStep Press(int button) {
  return [button](Sheet& sheet) { ::PostMessageA(sheet.m_hWnd, PSM_PRESSBUTTON, button, 0); };
}
// A click on a check box of the active page: it flips and tells the page, as a real click does.
void Click(HWND page, int id) {
  HWND box = ::GetDlgItem(page, id);
  ::SendMessageA(box, BM_SETCHECK, ::SendMessageA(box, BM_GETCHECK, 0, 0) ? BST_UNCHECKED : BST_CHECKED,
                 0);
  ::SendMessageA(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(box));
}
bool Enabled(HWND page, int id) { return ::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE; }
bool SheetOpen(Sheet& sheet) {
  return sheet.m_hWnd && ::SendMessageA(sheet.m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

// The hints the sheet broadcast, through the broadcast's own seam.
std::vector<UINT>* g_hints = nullptr;
BOOL RecordPost(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (g_hints && message == WM_ZB_UPDATE) g_hints->push_back(static_cast<UINT>(wParam));
  return TRUE;
}

std::string TempFolder(const char* leaf) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + leaf;
}

class OptionsSheetTest : public AppRegistryFixture {
 protected:
  void SetUp() override {
    AppRegistryFixture::SetUp();
    dlgtest::UseLanguageModule();
    static bool controls = [] {
      INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
      return ::InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)controls;
    GetSearchProperties().Load();
    LastOptionsPage = 0;
    g_hints = &m_hints;
    SetUpdatePostFunction(RecordPost);
    RegisterUpdateWindow(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4242)));
  }
  void TearDown() override {
    ClearUpdateWindows();
    SetUpdatePostFunction(nullptr);
    g_hints = nullptr;
    GetSearchProperties().Load();
    AppRegistryFixture::TearDown();
  }
  // The settings as the profile now holds them.
  static CSearchProperties Stored() {
    CSearchProperties stored;
    stored.Load();
    return stored;
  }
  static bool HasStoredValue(const char* name) {
    CString value;
    DWORD number = 0;
    return GetText(kPropertiesKey, name, value) || GetNumber(kPropertiesKey, name, number);
  }
  std::vector<UINT> m_hints;
};

}  // namespace

// Every field of every page: edited, then OK; the settings object and the profile both hold
// the new value, and the views hear of it with the page's hint.
TEST_F(OptionsSheetTest, EachPagesEditReachesTheSettingsAndTheProfileOnOk) {
  using P = CSearchProperties;
  std::string folder = TempFolder("zbopt_reports\\");
  CWgFileSystem().MakePath(folder.substr(0, folder.size() - 1).c_str());
  struct Case {
    const char* what;
    int page;
    std::function<void(HWND)> edit;
    std::function<bool(const P&)> holds;
    UINT hint;
  } cases[] = {
      {"keyword alert off", 0, [](HWND p) { Click(p, IDC_OPT_KEYWORD_ALERT); },
       [](const P& s) { return s.m_nKeywordAlert == 0; }, 100},
      {"keyword characters", 0, [](HWND p) { ::SetDlgItemTextA(p, IDC_OPT_KEYWORD_IGNORE, "#!"); },
       [](const P& s) { return s.m_strKeywordIgnore == "#!"; }, 100},
      {"include new off", 0, [](HWND p) { Click(p, IDC_OPT_INCLUDE_NEW); },
       [](const P& s) { return s.m_nIncludeNew == 0; }, 100},
      {"banners off", 0, [](HWND p) { Click(p, IDC_OPT_BANNERS_ON); },
       [](const P& s) { return s.m_nBannersOn == 0; }, 100},
      {"reminders off", 0, [](HWND p) { Click(p, IDC_OPT_REMINDERS_ON); },
       [](const P& s) { return s.m_nRemindersOn == 0; }, 100},
      {"max results", 1, [](HWND p) { ::SetDlgItemTextA(p, IDC_OPT_MAX_RESULTS, "120"); },
       [](const P& s) { return s.m_nMaxResults == 120; }, 100},
      {"stop search off", 1, [](HWND p) { Click(p, IDC_OPT_STOP_SEARCH); },
       [](const P& s) { return s.m_nStopSearch == 0; }, 100},
      {"restrict on", 1, [](HWND p) { Click(p, IDC_OPT_RESTRICT); },
       [](const P& s) { return s.m_nRestrict == 1; }, 100},
      {"exact match on", 1, [](HWND p) { Click(p, IDC_OPT_EXACT_MATCH); },
       [](const P& s) { return s.m_nExactMatch == 1 && g_bExactMatch == 1; }, 100},
      {"dump results off", 1, [](HWND p) { Click(p, IDC_OPT_DUMP_RESULTS); },
       [](const P& s) { return s.m_nDumpResults == 0; }, 100},
      {"threads by hand", 2,
       [](HWND p) {
         Click(p, IDC_OPT_CONNECTION_MGMT);
         ::SetDlgItemTextA(p, IDC_OPT_MAX_THREADS, "61");
       },
       [](const P& s) { return s.m_nConnectionManagement == 0 && s.m_nMaxThreads == 61; }, 100},
      {"time-out", 2, [](HWND p) { ::SetDlgItemTextA(p, IDC_OPT_TIMEOUT, "30"); },
       [](const P& s) { return s.m_nTimeOut == 30; }, 100},
      {"rate with a comma", 2, [](HWND p) { ::SetDlgItemTextA(p, IDC_OPT_THREAD_KB, "2,5"); },
       [](const P& s) { return s.m_dThreadKB == 2.5; }, 100},
      {"proxy by hand", 3,
       [](HWND p) {
         Click(p, IDC_OPT_USE_PROXY);
         ::SetDlgItemTextA(p, IDC_OPT_PROXY_SERVER, "proxy.example  ");
         ::SetDlgItemTextA(p, IDC_OPT_PROXY_PORT, "8080");
         ::SetDlgItemTextA(p, IDC_OPT_PROXY_USER, "ann");
         ::SetDlgItemTextA(p, IDC_OPT_PROXY_PASSWORD, "s3cret");
       },
       [](const P& s) {
         return s.m_nUseProxy == 1 && s.m_strProxyServer == "proxy.example" &&
                s.m_nProxyPort == 8080 && s.m_strProxyUser == "ann" &&
                s.m_strProxyPassword == "s3cret";
       },
       100},
      {"proxy detected", 3, [](HWND p) { Click(p, IDC_OPT_AUTO_DETECT); },
       [](const P& s) { return s.m_nAutoProxy == 1; }, 100},
      {"column widths not saved", 4, [](HWND p) { Click(p, IDC_OPT_COL_AUTOSAVE); },
       [](const P& s) { return s.m_nColAutoSave == 0; }, 0},
      {"a colour", 5,
       [](HWND p) {
         auto* page = static_cast<CPropColors*>(CWnd::FromHandlePermanent(p));
         page->m_wells[3].SetColor(RGB(1, 2, 3));  // the disabled rows' background
         ::SendMessageA(p, WM_WG_COLORCHOSEN, IDC_OPT_DISABLED_BK, RGB(1, 2, 3));
       },
       [](const P& s) { return s.m_colors[P::DisabledBk] == RGB(1, 2, 3); }, 102},
      {"report folder as typed", 6,
       [folder](HWND p) { ::SetDlgItemTextA(p, IDC_OPT_REPORTS_DIR, folder.c_str()); },
       [folder](const P& s) { return s.m_strReportsDir == folder.c_str(); }, 100},
      {"output switches", 6,
       [folder](HWND p) {
         ::SetDlgItemTextA(p, IDC_OPT_REPORTS_DIR, folder.c_str());
         for (int id : {IDC_OPT_APPEND_DATE, IDC_OPT_HIDE_ZERO, IDC_OPT_USE_HEADER,
                        IDC_OPT_USE_FOOTER, IDC_OPT_REMOVE_LOGOS, IDC_OPT_SHOW_TITLE})
           Click(p, id);
       },
       [](const P& s) {
         return s.m_nAppendDate == 1 && s.m_nHideZeroRankings == 1 && s.m_nUseHeader == 1 &&
                s.m_nUseFooter == 1 && s.m_nRemoveLogos == 0 && s.m_nShowTitle == 0;
       },
       100},
      {"site name", 6,
       [folder](HWND p) {
         ::SetDlgItemTextA(p, IDC_OPT_REPORTS_DIR, folder.c_str());
         ::SetDlgItemTextA(p, IDC_OPT_ZUBRIN_PROMPT, "Acme");
       },
       [](const P& s) { return s.m_strZubrinPrompt == "Acme"; }, 100},
  };
  for (const Case& c : cases) {
    Clean();  // each case from the defaults
    GetSearchProperties().Load();
    g_bExactMatch = 0;
    m_hints.clear();
    Sheet sheet(c.page, nullptr);
    INT_PTR result = RunSheet(sheet, {[&](Sheet& s) { c.edit(PageWnd(s, c.page)); },
                                      Press(PSBTN_OK)});
    EXPECT_EQ(result, IDOK) << c.what;
    EXPECT_TRUE(c.holds(GetSearchProperties())) << c.what << ": the settings";
    EXPECT_TRUE(c.holds(Stored())) << c.what << ": the profile";
    if (c.hint) {
      EXPECT_EQ(m_hints, std::vector<UINT>{c.hint}) << c.what;
    } else {
      EXPECT_TRUE(m_hints.empty()) << c.what;
    }
  }
}

// Every page shown and edited, then Cancel: nothing reaches the settings or the profile.
TEST_F(OptionsSheetTest, CancelKeepsEverythingAsItWas) {
  Sheet sheet(0u, nullptr);
  std::vector<SheetStep> steps;
  steps.push_back([](Sheet& s) { Click(PageWnd(s, 0), IDC_OPT_KEYWORD_ALERT); });
  steps.push_back(Show(1));
  steps.push_back([](Sheet& s) { ::SetDlgItemTextA(PageWnd(s, 1), IDC_OPT_MAX_RESULTS, "7"); });
  steps.push_back(Show(3));
  steps.push_back([](Sheet& s) { ::SetDlgItemTextA(PageWnd(s, 3), IDC_OPT_PROXY_SERVER, "p"); });
  steps.push_back(Press(PSBTN_CANCEL));
  EXPECT_EQ(RunSheet(sheet, steps), IDCANCEL);
  EXPECT_EQ(GetSearchProperties().m_nKeywordAlert, 1);
  EXPECT_EQ(GetSearchProperties().m_nMaxResults, 50);
  EXPECT_EQ(GetSearchProperties().m_strProxyServer, "");
  EXPECT_FALSE(HasStoredValue("MaxResults"));
  EXPECT_TRUE(m_hints.empty());
}

// An edit lights Apply; Apply stores at once, puts the light out and leaves the sheet open.
TEST_F(OptionsSheetTest, AnEditLightsApplyAndApplyStoresWhileTheSheetStaysOpen) {
  struct Case {
    const char* what;
    int page;
    std::function<void(HWND)> edit;
  } cases[] = {
      {"check box", 0, [](HWND p) { Click(p, IDC_OPT_INCLUDE_NEW); }},
      {"typed number", 1, [](HWND p) { ::SetDlgItemTextA(p, IDC_OPT_MAX_RESULTS, "60"); }},
      {"connection management", 2, [](HWND p) { Click(p, IDC_OPT_CONNECTION_MGMT); }},
      {"proxy detection", 3, [](HWND p) { Click(p, IDC_OPT_AUTO_DETECT); }},
      {"colour", 5,
       [](HWND p) { ::SendMessageA(p, WM_WG_COLORCHOSEN, IDC_OPT_VIEW_TEXT, 0); }},
      {"language", 7,
       [](HWND p) {
         ::SendMessageA(::GetDlgItem(p, IDC_OPT_LANGUAGE), CB_SETCURSEL, 0, 0);
         ::SendMessageA(p, WM_COMMAND, MAKEWPARAM(IDC_OPT_LANGUAGE, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(::GetDlgItem(p, IDC_OPT_LANGUAGE)));
       }},
  };
  for (const Case& c : cases) {
    bool litBefore = true, litAfterEdit = false, litAfterApply = true, openAfterApply = false;
    Sheet sheet(c.page, nullptr);
    RunSheet(sheet, {[&](Sheet& s) {
                       litBefore = Enabled(s.m_hWnd, kApplyButton);
                       c.edit(PageWnd(s, c.page));
                       litAfterEdit = Enabled(s.m_hWnd, kApplyButton);
                     },
                     Press(PSBTN_APPLYNOW),
                     [&](Sheet& s) {
                       litAfterApply = Enabled(s.m_hWnd, kApplyButton);
                       openAfterApply = SheetOpen(s);
                     },
                     Press(PSBTN_CANCEL)});
    EXPECT_FALSE(litBefore) << c.what;
    EXPECT_TRUE(litAfterEdit) << c.what;
    EXPECT_FALSE(litAfterApply) << c.what;
    EXPECT_TRUE(openAfterApply) << c.what;
  }
  // What Apply stored stays stored when the sheet is then cancelled.
  EXPECT_EQ(Stored().m_nIncludeNew, 0);
  EXPECT_EQ(Stored().m_nMaxResults, 60);
}

// Numbers out of their ranges keep the sheet open with the framework's prompt; those inside
// close it.
TEST_F(OptionsSheetTest, NumbersOutsideTheirRangesKeepTheSheetOpen) {
  struct Case {
    int page;
    int field;
    const char* text;
    bool accepted;
  } cases[] = {
      {1, IDC_OPT_MAX_RESULTS, "999", true},   {1, IDC_OPT_MAX_RESULTS, "1000", false},
      {1, IDC_OPT_MAX_RESULTS, "0", false},    {2, IDC_OPT_MAX_THREADS, "61", true},
      {2, IDC_OPT_MAX_THREADS, "62", false},   {2, IDC_OPT_MAX_THREADS, "1", true},
      {2, IDC_OPT_MAX_THREADS, "0", false},    {2, IDC_OPT_TIMEOUT, "999", true},
      {2, IDC_OPT_TIMEOUT, "1000", false},     {2, IDC_OPT_THREAD_KB, "1.0", true},
      {2, IDC_OPT_THREAD_KB, "144.0", true},   {2, IDC_OPT_THREAD_KB, "144,0", true},
      {2, IDC_OPT_THREAD_KB, " 3.25 ", true},  {2, IDC_OPT_THREAD_KB, "144.1", false},
      {2, IDC_OPT_THREAD_KB, "0.9", false},    {2, IDC_OPT_THREAD_KB, "abc", false},
      {2, IDC_OPT_THREAD_KB, "1.2.3", false},  {2, IDC_OPT_THREAD_KB, "", false},
  };
  for (const Case& c : cases) {
    dlgtest::MessageBoxes boxes(IDOK);
    // The thread count is typed only without the management, the rate only with it.
    GetSearchProperties().m_nConnectionManagement = c.field == IDC_OPT_MAX_THREADS ? 0 : 1;
    Sheet sheet(c.page, nullptr);
    INT_PTR result = RunSheet(sheet, {[&](Sheet& s) {
                                        ::SetDlgItemTextA(PageWnd(s, c.page), c.field, c.text);
                                      },
                                      Press(PSBTN_OK), Press(PSBTN_CANCEL)});
    EXPECT_EQ(result, c.accepted ? IDOK : IDCANCEL) << c.field << " \"" << c.text << "\"";
    EXPECT_EQ(boxes.texts.size(), c.accepted ? 0u : 1u) << c.field << " \"" << c.text << "\"";
  }
}

// A number out of range in a field that the connection management switched off is not the
// user's to correct, and does not hold the page.
TEST_F(OptionsSheetTest, AStoredThreadCountOutsideThePagesRangeDoesNotHoldThePage) {
  GetSearchProperties().SetMaxThreads(64);
  dlgtest::MessageBoxes boxes(IDOK);
  Sheet sheet(2, nullptr);
  EXPECT_EQ(RunSheet(sheet, {Show(0), Press(PSBTN_OK)}), IDOK);
  EXPECT_TRUE(boxes.texts.empty());
  EXPECT_EQ(GetSearchProperties().GetMaxThreads(), 64);
}

// A proxy without a server is refused with the message, nothing of the page is stored and the
// sheet stays open.
TEST_F(OptionsSheetTest, AProxyWithoutServerIsRefusedAndNothingIsStored) {
  dlgtest::MessageBoxes boxes(IDOK);
  Sheet sheet(3, nullptr);
  bool open = false;
  INT_PTR result = RunSheet(sheet, {[](Sheet& s) {
                                      HWND p = PageWnd(s, 3);
                                      Click(p, IDC_OPT_USE_PROXY);
                                      ::SetDlgItemTextA(p, IDC_OPT_PROXY_SERVER, "   ");
                                      ::SetDlgItemTextA(p, IDC_OPT_PROXY_USER, "ann");
                                    },
                                    Press(PSBTN_OK),
                                    [&](Sheet& s) { open = SheetOpen(s); },
                                    Press(PSBTN_CANCEL)});
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(open);
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(CString(boxes.texts[0].c_str()), LoadResString(IDP_PROXY_SERVER_MISSING));
  EXPECT_EQ(GetSearchProperties().m_nUseProxy, 0);
  EXPECT_EQ(GetSearchProperties().m_strProxyUser, "");
  EXPECT_FALSE(HasStoredValue("UseProxy"));
}

// The report folder: a bare drive passes, one trailing backslash is dropped for the test, a
// missing folder is made only when the user agrees.
TEST_F(OptionsSheetTest, TheReportFolderCheckAsksOnlyForAMissingFolder) {
  std::string existing = TempFolder("zbopt_exists");
  std::string missing = TempFolder("zbopt_missing");
  CWgFileSystem fs;
  fs.MakePath(existing.c_str());
  ::RemoveDirectoryA((missing + "\\inner").c_str());
  ::RemoveDirectoryA(missing.c_str());
  struct Case {
    std::string folder;
    int answer;
    bool asked;
    bool accepted;
  } cases[] = {
      {"C:\\", IDNO, false, true},
      {"C:", IDNO, false, true},
      {existing, IDNO, false, true},
      {existing + "\\", IDNO, false, true},
      {missing + "\\inner\\", IDNO, true, false},
      {missing + "\\inner\\", IDYES, true, true},
  };
  for (const Case& c : cases) {
    dlgtest::MessageBoxes boxes(c.answer);
    EXPECT_EQ(CPropOutput::CheckReportsDir(c.folder.c_str()), c.accepted) << c.folder;
    EXPECT_EQ(boxes.texts.size(), c.asked ? 1u : 0u) << c.folder;
  }
  EXPECT_TRUE(fs.DirectoryExists((missing + "\\inner").c_str()));
  ::RemoveDirectoryA((missing + "\\inner").c_str());
  ::RemoveDirectoryA(missing.c_str());
}

// On the sheet: a missing folder refused keeps the user on the Output page, stores nothing of
// it, and the sheet stays open.
TEST_F(OptionsSheetTest, ARefusedReportFolderKeepsTheOutputPage) {
  std::string missing = TempFolder("zbopt_refused\\");
  dlgtest::MessageBoxes boxes(IDNO);
  Sheet sheet(6, nullptr);
  int pageAfter = -1;
  INT_PTR result = RunSheet(sheet, {[&](Sheet& s) {
                                      HWND p = PageWnd(s, 6);
                                      ::SetDlgItemTextA(p, IDC_OPT_REPORTS_DIR, missing.c_str());
                                      Click(p, IDC_OPT_APPEND_DATE);
                                    },
                                    Show(0), [&](Sheet& s) { pageAfter = s.GetActiveIndex(); },
                                    Press(PSBTN_OK), Press(PSBTN_CANCEL)});
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(pageAfter, 6);
  EXPECT_EQ(boxes.texts.size(), 2u);  // on leaving the page and on OK
  EXPECT_EQ(GetSearchProperties().m_nAppendDate, 0);
  EXPECT_FALSE(HasStoredValue("AppendDate"));
}

// The column page lists every column but the first, checked when shown; a column checked again
// comes back at 50 whatever its former width, one unchecked goes to width 0, others stay.
TEST_F(OptionsSheetTest, TheColumnPageShowsAndHidesTheEngineListsColumns) {
  HWND list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_OVERLAPPEDWINDOW | LVS_REPORT, 0, 0, 400,
                                200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  struct Column {
    const char* title;
    int width;
  } columns[] = {{"Engine", 150}, {"Country", 0}, {"Rank", 80}, {"Page", 60}};
  for (int i = 0; i < 4; ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(columns[i].title);
    column.cx = columns[i].width;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
  ::SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, 0);
  Sheet sheet(4, nullptr);
  sheet.m_columns.m_hHeader = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  std::vector<std::string> titles;
  std::vector<int> checks;
  INT_PTR result = RunSheet(sheet, {[&](Sheet& s) {
                                      CTkCheckListBox& box = s.m_columns.m_list;
                                      for (int i = 0; i < box.GetCount(); ++i) {
                                        char text[64] = {};
                                        box.SendMessage(LB_GETTEXT, i,
                                                        reinterpret_cast<LPARAM>(text));
                                        titles.push_back(text);
                                        checks.push_back(box.GetCheck(i));
                                      }
                                      box.SetCheck(0, 1);
                                      box.SetCheck(2, 0);
                                    },
                                    Press(PSBTN_OK)});
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(titles, (std::vector<std::string>{"Country", "Rank", "Page"}));
  EXPECT_EQ(checks, (std::vector<int>{0, 1, 1}));
  int widths[4];
  for (int i = 0; i < 4; ++i)
    widths[i] = static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
  EXPECT_EQ(widths[0], 150);
  EXPECT_EQ(widths[1], 50);
  EXPECT_EQ(widths[2], 80);
  EXPECT_EQ(widths[3], 0);
  ::DestroyWindow(list);
}

// The language page lists the modules beside the program after the Windows entry, shows the
// module in use, and writes the chosen module's name at the root of the program's key (empty
// for the Windows entry).
TEST_F(OptionsSheetTest, TheLanguagePageWritesTheChosenModule) {
  struct Case {
    const char* choose;
    const char* written;
  } cases[] = {{"English (American)", "zbresenu.dll"}, {"Same as Windows", ""}};
  for (const Case& c : cases) {
    Sheet sheet(7, nullptr);
    std::vector<std::string> entries;
    std::string shown;
    RunSheet(sheet, {[&](Sheet& s) {
                       HWND p = PageWnd(s, 7);
                       entries = dlgtest::ComboItems(p, IDC_OPT_LANGUAGE);
                       shown = dlgtest::ItemText(p, IDC_OPT_LANGUAGE);
                       dlgtest::SelectComboItem(p, IDC_OPT_LANGUAGE, c.choose);
                     },
                     Press(PSBTN_OK)});
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0], "Same as Windows");
    EXPECT_EQ(shown, "English (American)");
    CString written;
    ASSERT_TRUE(GetText(kProgramKey, "LanguageDLL", written)) << c.choose;
    EXPECT_EQ(written, c.written);
  }
  EXPECT_EQ(CPropLanguage::ModuleNameId("ZBResENUD.DLL"), static_cast<UINT>(IDS_LANGMOD_ENU));
  EXPECT_EQ(CPropLanguage::ModuleNameId("zbresxyz.dll"), 0u);
}

// A sample asks for its colours on every paint: it gets the same brush each time, a new one only
// after its background changed, and the old one is freed then.
TEST_F(OptionsSheetTest, ASampleKeepsOneBrush) {
  Sheet sheet(5, nullptr);
  HBRUSH first = nullptr, again = nullptr, changed = nullptr;
  bool oldFreed = false;
  RunSheet(sheet, {[&](Sheet& s) {
                     HWND p = PageWnd(s, 5);
                     HWND sample = ::GetDlgItem(p, IDC_OPT_NORMAL_SAMPLE);
                     HDC dc = ::GetDC(sample);
                     auto ask = [&] {
                       return reinterpret_cast<HBRUSH>(::SendMessageA(
                           p, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(sample)));
                     };
                     first = ask();
                     for (int i = 0; i < 50; ++i) again = ask();
                     s.m_colors.m_wells[1].SetColor(RGB(9, 9, 9));
                     ::SendMessageA(p, WM_WG_COLORCHOSEN, IDC_OPT_NORMAL_BK, RGB(9, 9, 9));
                     changed = ask();
                     oldFreed = ::GetObjectType(first) == 0;
                     ::ReleaseDC(sample, dc);
                   },
                   Press(PSBTN_CANCEL)});
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(again, first);
  EXPECT_NE(changed, first);
  EXPECT_TRUE(oldFreed);
}

// The sheet opens on the page shown last in this run when no page is given.
TEST_F(OptionsSheetTest, TheSheetOpensOnThePageShownLast) {
  int opened[3] = {-1, -1, -1};
  {
    Sheet sheet(4, nullptr);
    RunSheet(sheet, {[&](Sheet& s) { opened[0] = s.GetActiveIndex(); }, Press(PSBTN_CANCEL)});
  }
  {
    Sheet sheet(nullptr);
    RunSheet(sheet, {[&](Sheet& s) { opened[1] = s.GetActiveIndex(); }, Show(1),
                     Press(PSBTN_CANCEL)});
  }
  {
    Sheet sheet(nullptr);
    RunSheet(sheet, {[&](Sheet& s) { opened[2] = s.GetActiveIndex(); }, Press(PSBTN_CANCEL)});
  }
  EXPECT_EQ(opened[0], 4);
  EXPECT_EQ(opened[1], 4);
  EXPECT_EQ(opened[2], 1);
}

// The switches that turn fields on and off, as the page opens and as they are clicked.
TEST_F(OptionsSheetTest, SwitchesEnableTheirFields) {
  struct Case {
    const char* what;
    int page;
    std::function<void(HWND)> act;
    int field;
    bool enabled;
  } cases[] = {
      {"keyword characters follow the alert", 0, [](HWND p) { Click(p, IDC_OPT_KEYWORD_ALERT); },
       IDC_OPT_KEYWORD_IGNORE, false},
      {"managed: no thread count", 2, [](HWND) {}, IDC_OPT_MAX_THREADS, false},
      {"managed: the rate", 2, [](HWND) {}, IDC_OPT_THREAD_KB, true},
      {"by hand: the thread count", 2, [](HWND p) { Click(p, IDC_OPT_CONNECTION_MGMT); },
       IDC_OPT_MAX_THREADS, true},
      {"by hand: no rate", 2, [](HWND p) { Click(p, IDC_OPT_CONNECTION_MGMT); },
       IDC_OPT_THREAD_KB, false},
      {"no proxy: no server", 3, [](HWND) {}, IDC_OPT_PROXY_SERVER, false},
      {"proxy: the server", 3, [](HWND p) { Click(p, IDC_OPT_USE_PROXY); }, IDC_OPT_PROXY_PORT,
       true},
      {"detection: no proxy box", 3, [](HWND p) { Click(p, IDC_OPT_AUTO_DETECT); },
       IDC_OPT_USE_PROXY, false},
      {"detection: no server either", 3,
       [](HWND p) {
         Click(p, IDC_OPT_USE_PROXY);
         Click(p, IDC_OPT_AUTO_DETECT);
       },
       IDC_OPT_PROXY_USER, false},
      {"detection off again: the proxy's fields back", 3,
       [](HWND p) {
         Click(p, IDC_OPT_USE_PROXY);
         Click(p, IDC_OPT_AUTO_DETECT);
         Click(p, IDC_OPT_AUTO_DETECT);
       },
       IDC_OPT_PROXY_PASSWORD, true},
      {"no header: no header button", 6, [](HWND) {}, IDC_OPT_EDIT_HEADER, false},
      {"header: its button", 6, [](HWND p) { Click(p, IDC_OPT_USE_HEADER); }, IDC_OPT_EDIT_HEADER,
       true},
      {"footer: its button", 6, [](HWND p) { Click(p, IDC_OPT_USE_FOOTER); }, IDC_OPT_EDIT_FOOTER,
       true},
  };
  for (const Case& c : cases) {
    bool enabled = !c.enabled;
    Sheet sheet(c.page, nullptr);
    RunSheet(sheet, {[&](Sheet& s) {
                       HWND p = PageWnd(s, c.page);
                       c.act(p);
                       enabled = Enabled(p, c.field);
                     },
                     Press(PSBTN_CANCEL)});
    EXPECT_EQ(enabled, c.enabled) << c.what;
  }
}

// The rate in the profile reads alike with a dot or a comma and is always written with a dot,
// also while the program runs in a locale whose decimal sign is the comma.
TEST_F(OptionsSheetTest, TheRateReadsAndWritesIndependentOfTheLocale) {
  struct Case {
    const char* stored;
    double read;
  } cases[] = {{"1.2", 1.2},  {"1,2", 1.2}, {" 2.5", 2.5}, {"3", 3.0},  {"0,75", 0.75},
               {"144.00", 144.0}, {".5", 0.5}, {"abc", 1.2}, {"0", 1.2}, {"", 1.2}};
  std::string before = std::setlocale(LC_ALL, nullptr);
  bool commaLocale = std::setlocale(LC_ALL, "German") || std::setlocale(LC_ALL, "de-DE");
  for (int pass = 0; pass < 2; ++pass) {
    for (const Case& c : cases) {
      SetText(kPropertiesKey, "ThreadKB", c.stored);
      EXPECT_DOUBLE_EQ(Stored().m_dThreadKB, c.read) << c.stored << (pass ? " (C locale)" : "");
    }
    struct Written {
      double rate;
      const char* text;
    } writes[] = {{1.2, "1.20"}, {2.5, "2.50"}, {144.0, "144.00"}, {0.75, "0.75"}};
    for (const Written& w : writes) {
      CSearchProperties p;
      p.SetThreadKB(w.rate);
      p.Save();
      CString text;
      ASSERT_TRUE(GetText(kPropertiesKey, "ThreadKB", text));
      EXPECT_EQ(text, w.text);
    }
    std::setlocale(LC_ALL, "C");
  }
  std::setlocale(LC_ALL, before.c_str());
  if (!commaLocale) GTEST_LOG_(INFO) << "no comma locale here; the C locale was checked twice";
}

// The wells are owner-drawn so that they show their colours, and the samples keep their bold
// font when the sheet puts its pages into its own font.
TEST_F(OptionsSheetTest, TheColourWellsDrawAndTheSamplesStayBold) {
  Sheet sheet(5, nullptr);
  int ownerDrawn = 0, bold = 0;
  RunSheet(sheet, {[](Sheet&) {},
                   [&](Sheet& s) {
                     HWND p = PageWnd(s, 5);
                     for (const CPropColors::Pair& pair : CPropColors::kPairList) {
                       for (int id : {pair.textId, pair.bkId}) {
                         LONG_PTR style = ::GetWindowLongPtrA(::GetDlgItem(p, id), GWL_STYLE);
                         if ((style & BS_TYPEMASK) == BS_OWNERDRAW) ++ownerDrawn;
                       }
                       LOGFONTA font = {};
                       HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(
                           ::SendDlgItemMessageA(p, pair.sampleId, WM_GETFONT, 0, 0));
                       if (handle && ::GetObjectA(handle, sizeof font, &font) &&
                           font.lfWeight == FW_BOLD)
                         ++bold;
                     }
                   },
                   Press(PSBTN_CANCEL)});
  EXPECT_EQ(ownerDrawn, 2 * CPropColors::kPairs);
  EXPECT_EQ(bold, CPropColors::kPairs);
}

namespace {
// The report text editor open on the test's thread, or null.
HWND FindTextEditor() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM lParam) -> BOOL {
        if (!::IsWindowVisible(window) || !::GetDlgItem(window, IDC_REPORT_HEADER_TEXT)) return TRUE;
        *reinterpret_cast<HWND*>(lParam) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}
}  // namespace

// The header and footer buttons edit a copy of the text, taken back only when the editor ends
// with OK; OK on the sheet then stores it.
TEST_F(OptionsSheetTest, TheHeaderAndFooterEditorsChangeTheTextOnlyOnOk) {
  std::string folder = TempFolder("zbopt_reports");
  CWgFileSystem().MakePath(folder.c_str());
  struct Case {
    int useBox, button, answer;
    const char* header;
    const char* footer;
  } cases[] = {
      {IDC_OPT_USE_HEADER, IDC_OPT_EDIT_HEADER, IDOK, "<b>typed</b>", "old footer"},
      {IDC_OPT_USE_HEADER, IDC_OPT_EDIT_HEADER, IDCANCEL, "old header", "old footer"},
      {IDC_OPT_USE_FOOTER, IDC_OPT_EDIT_FOOTER, IDOK, "old header", "<b>typed</b>"},
  };
  for (const Case& c : cases) {
    GetSearchProperties().m_strReportsDir = folder.c_str();
    GetSearchProperties().m_strHeaderText = "old header";
    GetSearchProperties().m_strFooterText = "old footer";
    Sheet sheet(6, nullptr);
    bool editorShown = false;
    std::string shownText;
    INT_PTR result =
        RunSheet(sheet, {[&](Sheet& s) { Click(PageWnd(s, 6), c.useBox); },
                         [&](Sheet& s) { dlgtest::Press(PageWnd(s, 6), c.button); },
                         [&](Sheet&) {
                           HWND editor = FindTextEditor();
                           editorShown = editor != nullptr;
                           if (!editor) return;
                           shownText = dlgtest::ItemText(editor, IDC_REPORT_HEADER_TEXT);
                           ::SetDlgItemTextA(editor, IDC_REPORT_HEADER_TEXT, "<b>typed</b>");
                           ::PostMessageA(editor, WM_COMMAND, c.answer, 0);
                         },
                         Press(PSBTN_OK)});
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(editorShown);
    EXPECT_EQ(shownText, c.button == IDC_OPT_EDIT_HEADER ? "old header" : "old footer");
    EXPECT_EQ(Stored().m_strHeaderText, c.header);
    EXPECT_EQ(Stored().m_strFooterText, c.footer);
  }
}

// One OK applies every page that was shown: each saves and tells the views on its own.
TEST_F(OptionsSheetTest, OkAppliesEveryPageThatWasShown) {
  Sheet sheet(0u, nullptr);
  RunSheet(sheet, {[](Sheet& s) { Click(PageWnd(s, 0), IDC_OPT_BANNERS_ON); }, Show(1),
                   [](Sheet& s) { Click(PageWnd(s, 1), IDC_OPT_RESTRICT); }, Show(5),
                   [](Sheet& s) {
                     s.m_colors.m_wells[0].SetColor(RGB(200, 0, 0));
                     ::SendMessageA(PageWnd(s, 5), WM_WG_COLORCHOSEN, IDC_OPT_NORMAL_TEXT, 0);
                   },
                   Press(PSBTN_OK)});
  std::sort(m_hints.begin(), m_hints.end());
  EXPECT_EQ(m_hints, (std::vector<UINT>{100, 100, 102}));
  CSearchProperties stored = Stored();
  EXPECT_EQ(stored.m_nBannersOn, 0);
  EXPECT_EQ(stored.m_nRestrict, 1);
  EXPECT_EQ(stored.m_colors[CSearchProperties::NormalText], RGB(200, 0, 0));
}

// The report folder carries a "..." button at its right end, next in the tab order, that opens
// the shell's folder browser.
TEST_F(OptionsSheetTest, TheReportFolderHasAButtonThatAsksForAFolder) {
  Sheet sheet(6, nullptr);
  std::string buttonText;
  RECT edit = {}, button = {};
  bool browserOpened = false;
  RunSheet(sheet, {[&](Sheet& s) {
                     HWND p = PageWnd(s, 6);
                     HWND field = ::GetDlgItem(p, IDC_OPT_REPORTS_DIR);
                     HWND next = ::GetWindow(field, GW_HWNDNEXT);
                     char text[16] = {};
                     ::GetWindowTextA(next, text, sizeof text);
                     buttonText = text;
                     ::GetWindowRect(field, &edit);
                     ::GetWindowRect(next, &button);
                     ::PostMessageA(p, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(next), BN_CLICKED),
                                    reinterpret_cast<LPARAM>(next));
                   },
                   [&](Sheet& s) {
                     // The browser is a window of this thread that the sheet owns, beside it.
                     HWND browser = nullptr;
                     for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT))
                       if (w != s.m_hWnd && ::GetWindow(w, GW_OWNER) == s.m_hWnd &&
                           ::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId())
                         browser = w;
                     browserOpened = browser != nullptr;
                     if (browser) ::PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
                   },
                   Press(PSBTN_CANCEL)});
  EXPECT_EQ(buttonText, "...");
  EXPECT_EQ(button.top, edit.top);
  EXPECT_GE(button.left, edit.right) << "right of the field";
  EXPECT_TRUE(browserOpened);
}
