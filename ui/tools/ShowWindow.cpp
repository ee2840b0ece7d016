// ZBShowWindow: shows one window of ZBPro by name, filled with sample values, for pictures of the
// windows and for a look at a dialog without going through the program. "--list" prints the
// names, one a line. The language module ZBResENU.dll is loaded from the tool's own folder.
// Not part of the product.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "framework/app/AfxResource.h"
#include "toolkit/tools/PictureProgram.h"
#include "ui/LanguageNames.h"
#include "ui/controls/ScrollingTextCtrl.h"
#include "ui/dialogs/AboutBox2.h"
#include "ui/dialogs/EditReportHeader.h"
#include "ui/dialogs/ExportCSV.h"
#include "toolkit/dialogs/TkTipOfTheDay.h"
#include "ui/dialogs/ImportProperties.h"
#include "ui/dialogs/CheckingForUpdate.h"
#include "ui/dialogs/InstantUpdateMessage.h"
#include "ui/dialogs/SaveTemplate.h"
#include "ui/dialogs/SelectBy.h"
#include "ui/dialogs/SplashScreen.h"
#include "ui/tools/ShowSearchFormBanner.h"
#include "app/settings/SearchProperties.h"
#include "ui/sheets/options/SearchPropertySheet.h"
#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineList.h"
#include "engines/sets/EngineSet.h"
#include "ui/dialogs/fields/MissingInfo.h"
#include "ui/dialogs/fields/ModifyCategory.h"
#include "ui/dialogs/fields/ModifyNV.h"
#include "ui/sheets/project/ZubSheet.h"

namespace {

void ShowAbout() {
  CAboutBox2 dlg;
  dlg.DoModal();
}

void ShowUpdateNotice() {
  CInstantUpdateMessage dlg;
  dlg.DoModal();
}

// Modeless while the check runs; here it stays until its window is closed.
void ShowCheckingNotice() {
  auto block = std::make_shared<UpdateCheckBlock>();
  CCheckingForUpdate* notice = CCheckingForUpdate::Show(block, nullptr);
  if (!notice) return;
  HWND window = notice->m_hWnd;
  MSG msg;
  while (::IsWindow(window) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// The tips file beside the program, as the main program shows it.
void ShowTipOfTheDay() {
  char path[MAX_PATH] = {};
  ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string tips(path);
  tips = tips.substr(0, tips.find_last_of('\\') + 1) + "ZBProenu.tip";
  CTkTipOfTheDay dlg(tips.c_str());
  dlg.DoModal();
}

void ShowReportHeader(BOOL footer) {
  CEditReportHeader dlg;
  dlg.m_bFooter = footer;
  dlg.m_strText = footer ? "<p>Prepared by Example Web Promotion, (555) 010-2040</p>"
                         : "<h2>Monthly ranking report</h2>\r\n<p>For www.example.com</p>";
  dlg.DoModal();
}

void ShowCsvExport() {
  CExportCSV dlg;
  dlg.m_strFileName = "example-ranks.csv";
  dlg.m_strFolder = "C:\\users\\Public\\Documents";
  dlg.m_bHeader = TRUE;
  dlg.DoModal();
}

void ShowSaveTemplate() {
  CSaveTemplate dlg;
  dlg.m_strName = "European engines";
  dlg.DoModal();
}

void ShowSelectBy() {
  CSelectBy::Texts categories = {"Search engine", "Directory", "Meta search"};
  CSelectBy::Texts countries = {"United States", "Germany", "France", "United Kingdom"};
  CSelectBy::Texts languages;
  for (const char* code : {"enu", "deu", "fra", "eng"}) languages.push_back(LanguageName(code, false));
  CSelectBy::Texts marks = {"Submitted", "Not submitted"};
  CSelectBy dlg(categories, countries, languages, marks);
  dlg.DoModal();
}

void ShowImportProperties() {
  CImportProperties dlg;
  dlg.m_strURL = "http://www.example.com/";
  dlg.DoModal();
}

// The splash is modeless: it stays until a click or a key closes it (or the process is ended).
void ShowSplash() {
  CSplashScreen splash;
  if (!splash.Create()) return;
  ::SendMessageA(GetSplashProgressWnd(), PBM_SETPOS, 60, 0);
  MSG msg;
  while (::IsWindow(splash.m_hWnd) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_KEYDOWN || msg.message == WM_LBUTTONDOWN) {
      splash.DestroyWindow();
      break;
    }
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// The scrolling text-lines control on its own, rolling sample credits until its window is closed.
void ShowScroller() {
  ScrollingTextCtrl scroller;
  RECT rect = {100, 100, 100 + 360, 100 + 240};
  if (!scroller.Create(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, rect, nullptr, 0,
                       "Scrolling text"))
    return;
  scroller.SetGradient(3);
  scroller.SetColours(RGB(40, 60, 140), RGB(255, 255, 255), RGB(255, 220, 90), RGB(150, 230, 255),
                      RGB(255, 170, 120));
  for (const char* line : {"ZBPro^", "", "Rank checking~", "Example Web Promotion", "",
                           "Engines_", "Alpha Search", "Beta Directory", "Gamma Finder", "",
                           "Thanks to every tester~", ""})
    scroller.AddLine(line);
  scroller.Start();
  // The picture is taken a moment after the window shows: the first lines have scrolled in
  // before it does.
  for (int tick = 0; tick < 180; ++tick) scroller.SendMessage(WM_TIMER, 150, 0);
  scroller.ShowWindow(SW_SHOW);
  HWND window = scroller.m_hWnd;
  MSG msg;
  while (::IsWindow(window) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

// The options sheet on one of its pages. The column page gets an engine list's header of its
// own, hidden, since there is no main window to take it from.
void ShowOptions(UINT page) {
  HWND list = nullptr;
  GetSearchProperties().m_strReportsDir = "C:\\users\\Public\\Documents\\ZBPro Reports\\";
  CSearchPropertySheet sheet(page, nullptr);
  if (page == CSearchPropertySheet::ConfigureColumns) {
    list = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 400, 200, nullptr,
                             nullptr, nullptr, nullptr);
    const char* titles[] = {"Engine", "Country", "Language", "Rank", "Page", "Position",
                            "Last Run", "Submitted", "Mark"};
    for (int i = 0; i < 9; ++i) {
      LVCOLUMNA column = {};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<char*>(titles[i]);
      column.cx = i == 2 || i == 8 ? 0 : 60;
      ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    sheet.m_columns.m_hHeader = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
  }
  sheet.DoModal();
  if (list) ::DestroyWindow(list);
}

// A project over the test engines beside the tool (bin\\fixtures), with a few site values, for
// the project sheet and the field editors.
CZubrinDoc* SampleProject() {
  static CZubrinDoc* doc = [] {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of('\\') + 1) + "fixtures\\";
    SetEngineDataFolder(folder.c_str());
    auto* d = new CZubrinDoc;
    d->OnNewDocument();
    d->SetTitle("springfield-bikes.zbp");
    d->m_siteUrl = "http://www.springfield-bikes.example/";
    d->m_profile.SetAt("URL_WITH_PREFIX", "http://www.springfield-bikes.example/");
    d->m_profile.SetAt("EMAIL", "owner@springfield-bikes.example");
    d->m_profile.SetAt("TITLE", "Springfield Bikes & Boards");
    d->m_reportTo = "boss@springfield-bikes.example";
    d->m_emailSubject = "Your web site Summary Report";
    d->m_reportsDir = "C:\\users\\Public\\Documents";
    if (d->m_currentSet)
      for (const auto& entry : d->m_currentSet->GetEngines())
        entry.second->m_enabled = entry.first == "Biwe" || entry.first == "Tasmania Online" ||
                                  entry.first == "Alpha Search";
    return d;
  }();
  return doc;
}

void ShowProjectSheet(int page) {
  CZubSheet sheet(static_cast<UINT>(page), nullptr, SampleProject());
  sheet.DoModal();
}

void ShowModifyNV(const char* key, const char* kind, const char* value, unsigned labelId,
                  unsigned descriptionId) {
  CModifyNV dlg;
  dlg.m_pDoc = SampleProject();
  dlg.m_strKey = key;
  dlg.m_strKind = kind;
  dlg.m_strValue = value;
  dlg.m_strLabel.LoadString(labelId);
  dlg.m_strDescription.LoadString(descriptionId);
  dlg.DoModal();
}

void ShowModifyCategory() {
  CZubrinDoc* doc = SampleProject();
  CModifyCategory dlg(doc, doc->m_profile);
  dlg.m_strGroup = "Yahoo";
  dlg.m_strKey = "YAHOO_CATEGORY";
  dlg.m_strLabel = "Yahoo category";
  dlg.m_strDescription = "Choose the directory's category for your site from its category tree.";
  dlg.DoModal();
}

void ShowMissingInfo() {
  CNVList missing;
  for (const char* key : {"BIWE_PASSWORD", "ONELINEDESC", "PHONE"}) missing.SetAt(key, key);
  CMissingInfo dlg(SampleProject(), missing);
  dlg.DoModal();
}

const NamedWindow kWindows[] = {
    {"about", ShowAbout},
    {"update-notice", ShowUpdateNotice},
    {"update-checking", ShowCheckingNotice},
    {"tip", ShowTipOfTheDay},
    {"report-header", [] { ShowReportHeader(FALSE); }},
    {"report-footer", [] { ShowReportHeader(TRUE); }},
    {"csv-export", ShowCsvExport},
    {"save-template", ShowSaveTemplate},
    {"select-by", ShowSelectBy},
    {"splash", ShowSplash},
    {"scroller", ShowScroller},
    {"import-properties", ShowImportProperties},
    {"search-form-banner", ShowSearchFormBanner},
    {"options-general", [] { ShowOptions(CSearchPropertySheet::General); }},
    {"options-searching", [] { ShowOptions(CSearchPropertySheet::Searching); }},
    {"options-performance", [] { ShowOptions(CSearchPropertySheet::Performance); }},
    {"options-proxy", [] { ShowOptions(CSearchPropertySheet::Proxy); }},
    {"options-columns", [] { ShowOptions(CSearchPropertySheet::ConfigureColumns); }},
    {"options-colors", [] { ShowOptions(CSearchPropertySheet::Colors); }},
    {"options-output", [] { ShowOptions(CSearchPropertySheet::Output); }},
    {"options-language", [] { ShowOptions(CSearchPropertySheet::Language); }},
    {"project-fields", [] { ShowProjectSheet(0); }},
    {"project-rules", [] { ShowProjectSheet(1); }},
    {"project-mail", [] { ShowProjectSheet(2); }},
    {"project-output", [] { ShowProjectSheet(3); }},
    {"field-line", [] { ShowModifyNV("EMAIL", "EDIT", "owner@springfield-bikes.example", 3209, 3210); }},
    {"field-translate", [] { ShowModifyNV("SHORTDESC_FR", "MULTIEDIT", "Bikes and boards for rent.", 3241, 3236); }},
    {"field-yesno", [] { ShowModifyNV("ISTASMANIA", "YESNO", "1", 3369, 3370); }},
    {"field-pick", [] { ShowModifyNV("SITE_TYPE", "PICK", "", 3408, 3501); }},
    {"field-category", ShowModifyCategory},
    {"missing-info", ShowMissingInfo},
};

}  // namespace

int main(int argc, char** argv) { return RunPictureProgram(argc, argv, kWindows, "ZBShowWindow"); }
