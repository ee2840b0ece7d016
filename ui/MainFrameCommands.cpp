// CMainFrame: reports, CSV export, mail items, the template combo, user tools, help, the cursor
// and closing.
#include "ui/MainFrame.h"

#include <atomic>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunControl.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "framework/app/MessageBox.h"
#include "framework/app/WinApp.h"
#include "framework/app/AppIds.h"
#include "framework/gdi/Menu.h"
#include "framework/gdi/WaitCursor.h"
#include "framework/wnd/MessageMap.h"
#include "reports/EngineReports.h"
#include "reports/ReportCommands.h"
#include "reports/ResultsCsv.h"
#include "resources/resource.h"
#include "resources/ids/ToolkitControlsIds.h"
#include "toolkit/usertools/WgUserTool.h"
#include "toolkit/usertools/WgUserToolsDlg.h"
#include "ui/Panes.h"
#include "ui/views/SearchEngineView.h"

namespace {

std::atomic<bool (*)()> g_mailSource{nullptr};
std::atomic<CsvExportAskFn> g_csvAsker{nullptr};

struct ReportCommand {
  UINT id;
  ReportKind kind;
};
const ReportCommand kReportCommands[] = {
    {ID_VIEW_SUMMARY, ReportKind::Summary},         {ID_VIEW_KEYWORD, ReportKind::Keyword},
    {ID_VIEW_SUBMITTAL, ReportKind::Submittal},     {ID_VIEW_COMPETITOR, ReportKind::Competitor},
    {ID_VIEW_KEYWORDSTAT, ReportKind::KeywordStat}, {ID_VIEW_URLSUMMARY, ReportKind::UrlSummary},
    {ID_VIEW_DETAIL, ReportKind::Detail},           {ID_VIEW_RESULTS, ReportKind::Results},
    {ID_MAIL_SUMMARY, ReportKind::Summary},         {ID_MAIL_KEYWORD, ReportKind::Keyword},
    {ID_MAIL_COMPETITOR, ReportKind::Competitor},   {ID_MAIL_KEYWORDSTAT, ReportKind::KeywordStat},
    {ID_MAIL_URLSUMMARY, ReportKind::UrlSummary},   {ID_MAIL_SUBMITTAL, ReportKind::Submittal},
};
const UINT kMailCommands[] = {ID_MAIL_SUMMARY,     ID_MAIL_KEYWORD,    ID_MAIL_COMPETITOR,
                              ID_MAIL_KEYWORDSTAT, ID_MAIL_URLSUMMARY, ID_MAIL_SUBMITTAL};

ReportKind KindOf(UINT id) {
  for (const ReportCommand& c : kReportCommands)
    if (c.id == id) return c.kind;
  return ReportKind::Summary;
}

// The report mails and the framework's mail of the document file.
bool IsMailCommand(UINT id) {
  if (id == ID_FILE_SEND_MAIL) return true;
  for (UINT mail : kMailCommands)
    if (mail == id) return true;
  return false;
}

const NQCommandLineInfo* CommandLine() { return GetCommandLineInfo(); }
bool Auto() { return CommandLine() && CommandLine()->m_bAuto; }
bool Debug() { return CommandLine() && CommandLine()->m_bDebug; }

// The engine list's selected row names its engine in the first column.
CString SelectedEngineName() {
  HWND list = g_hEngineViewWnd;
  if (!list || !::IsWindow(list)) return CString();
  int row = static_cast<int>(::SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                            LVNI_SELECTED));
  if (row < 0) return CString();
  char name[256] = {};
  LVITEMA item = {};
  item.iSubItem = 0;
  item.pszText = name;
  item.cchTextMax = sizeof name;
  ::SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return CString(name);
}

// The engine a Detail or Results report is about: the debug option's, else the selected row's.
CSearchEngine* ReportEngine(CZubrinDoc* doc) {
  if (!doc || !doc->m_currentSet) return nullptr;
  CString name = Debug() ? GetEngineField() : SelectedEngineName();
  if (name.IsEmpty()) return nullptr;
  return doc->m_currentSet->FindEngine(CLibString(name.GetString()));
}

}  // namespace

BOOL AskCsvExport(CWnd* owner, CsvExportChoice& choice) {
  CsvExportAskFn ask = g_csvAsker.load();
  // The export dialog joins here; without it the export asks nothing and is not done.
  return ask ? ask(owner, choice) : FALSE;
}

void SetCsvExportAsker(CsvExportAskFn ask) { g_csvAsker = ask; }

void CMainFrame::SetMailAvailableSource(bool (*source)()) { g_mailSource = source; }

bool CMainFrame::MailAvailable() {
  bool (*source)() = g_mailSource.load();
  return source ? source() : IsMapiAvailable();
}

// The reports read every engine set, and a run re-creates the sets' engines as it goes.
bool CMainFrame::ReportsAllowed() {
  return !IsRunActive() && CZubrinDoc::s_busy == 0;
}

void CMainFrame::OnUpdateViewReport(CCmdUI* pCmdUI) {
  pCmdUI->Enable(ReportsAllowed());
}

BOOL CMainFrame::OnViewReport(UINT nID) {
  if (!ReportsAllowed()) return TRUE;
  ReportAction action = Auto() || Debug() ? ReportAction::Write : ReportAction::View;
  RunReportCommand(KindOf(nID), action, nullptr, GetZubrinDoc());
  return TRUE;
}

BOOL CMainFrame::OnEngineReport(UINT nID) {
  if (!ReportsAllowed()) return TRUE;
  CZubrinDoc* doc = GetZubrinDoc();
  CSearchEngine* engine = ReportEngine(doc);
  // No engine chosen: nothing to report.
  if (!engine) return TRUE;
  ReportAction action = Auto() || Debug() ? ReportAction::Write : ReportAction::View;
  RunReportCommand(KindOf(nID), action, engine, doc);
  return TRUE;
}

void CMainFrame::OnUpdateEngineReport(CCmdUI* pCmdUI) {
  CSearchEngine* engine = ReportsAllowed() ? ReportEngine(GetZubrinDoc()) : nullptr;
  pCmdUI->Enable(engine && engine->CanSubmit());
}

BOOL CMainFrame::OnMailReport(UINT nID) {
  RunReportCommand(KindOf(nID), ReportAction::Mail, nullptr, GetZubrinDoc());
  return TRUE;
}

void CMainFrame::OnUpdateMailReport(CCmdUI* pCmdUI) {
  CZubrinDoc* doc = GetZubrinDoc();
  bool fresh = doc && ::InterlockedCompareExchange(&doc->m_fresh, 0, 0) != 0;
  pCmdUI->Enable(MailAvailable() && !IsRunActive() && !fresh && CZubrinDoc::s_busy == 0);
}

// Without simple mail the e-mail items leave the popup; a separator left beside another goes
// too (the one before when there is one), so no empty group remains.
void CMainFrame::RemoveMailItems(CMenu* pPopupMenu) {
  HMENU menu = pPopupMenu->GetSafeHmenu();
  for (int i = ::GetMenuItemCount(menu) - 1; i >= 0; --i) {
    if (!IsMailCommand(::GetMenuItemID(menu, i))) continue;
    ::DeleteMenu(menu, i, MF_BYPOSITION);
    int count = ::GetMenuItemCount(menu);
    auto separator = [menu](int pos) {
      MENUITEMINFOA info = {};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      return ::GetMenuItemInfoA(menu, pos, TRUE, &info) && (info.fType & MFT_SEPARATOR);
    };
    if (i > 0 && i < count && separator(i - 1) && separator(i))
      ::DeleteMenu(menu, i - 1, MF_BYPOSITION);
  }
}

void CMainFrame::OnExportCsv() {
  CZubrinDoc* doc = GetZubrinDoc();
  if (!doc) return;
  CsvExportChoice choice;
  CString title = doc->GetTitle();
  int dot = title.ReverseFind('.');
  choice.fileName = (dot > 0 ? title.Left(dot) : title) + ".csv";
  choice.folder = CEngineReports(doc).GetReportFolder();
  if (!AskCsvExport(this, choice)) return;
  CString path = choice.folder;
  if (!path.IsEmpty() && path[path.GetLength() - 1] != '\\') path += '\\';
  path += choice.fileName;
  bool ok = ExportResultsCsv(path, choice.writeHeader != FALSE, choice.append != FALSE, true, doc);
  AfxMessageBox(ok ? IDP_CSV_EXPORTED : IDP_CSV_FAILED, MB_ICONINFORMATION);
}

void CMainFrame::OnUpdateExportCsv(CCmdUI* pCmdUI) {
  pCmdUI->Enable(!IsRunActive() && CZubrinDoc::s_busy == 0);
}

void CMainFrame::OnUpdateNewOpen(CCmdUI* pCmdUI) { pCmdUI->Enable(CZubrinDoc::s_busy == 0); }

// The document applies the template; it learns the combo from the message.
void CMainFrame::OnTemplateSelChange() {
  PostMessage(WM_COMMAND, ID_TEMPLATE_COMBO, reinterpret_cast<LPARAM>(m_wndTemplateCombo.m_hWnd));
}

// The combo's choice becomes the document's template, and its engines the checked ones. Not
// while a run works on the engines or a new document is being set up.
void CMainFrame::OnApplyTemplate() {
  const MSG* msg = GetCurrentMessage();
  HWND combo = msg && msg->message == WM_COMMAND ? reinterpret_cast<HWND>(msg->lParam) : nullptr;
  ApplyComboTemplate(combo ? combo : m_wndTemplateCombo.m_hWnd);
}

// The toolbar's Apply button names the toolbar in the message, never the combo.
void CMainFrame::OnApplyChosenTemplate() { ApplyComboTemplate(m_wndTemplateCombo.m_hWnd); }

void CMainFrame::ApplyComboTemplate(HWND combo) {
  CZubrinDoc* doc = GetZubrinDoc();
  if (!doc || IsRunActive() || CZubrinDoc::s_busy || !combo) return;
  int index = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
  if (index == CB_ERR) return;
  int length = static_cast<int>(::SendMessageA(combo, CB_GETLBTEXTLEN, index, 0));
  CString name;
  if (length > 0) {
    ::SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.GetBuffer(length)));
    name.ReleaseBuffer();
  }
  doc->m_templateIndex = index;
  doc->m_templateName = name;
  if (g_pSearchEngineView) g_pSearchEngineView->ApplyTemplate(name);
}

// User tools. The menu has one command per tool the list can hold.
static_assert(ID_TOOLS_LAST - ID_TOOLS_FIRST + 1 == CWgUserTool::kMaxTools,
              "every user tool needs a command");

CString CMainFrame::ToolsFilePath() { return GetAppFolder() + "toolmenu.dat"; }

void CMainFrame::LoadUserTools() {
  CWgUserTool::FreeTools(m_tools);
  BOOL damaged = FALSE;
  CWgUserTool::LoadTools(ToolsFilePath(), m_tools, &damaged);
  m_nToolCount = static_cast<int>(m_tools.GetSize());
  if (damaged) AfxMessageBox(IDS_WG_TOOLS_DAMAGED, MB_ICONEXCLAMATION);
}

void CMainFrame::OnEditTools() {
  CWgUserToolsDlg dlg(this);
  dlg.m_pTools = &m_tools;
  if (dlg.DoModal() != IDOK) return;
  m_nToolCount = static_cast<int>(m_tools.GetSize());
  CString path = ToolsFilePath();
  if (m_nToolCount > 0) {
    if (!CWgUserTool::SaveTools(path, m_tools)) AfxMessageBox(IDS_WG_TOOLS_NOT_SAVED, MB_ICONEXCLAMATION);
  } else if (::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) {
    ::DeleteFileA(path);
  }
}

BOOL CMainFrame::OnRunTool(UINT nID) {
  int index = static_cast<int>(nID) - ID_TOOLS_FIRST;
  if (index < 0 || index >= m_nToolCount || index >= m_tools.GetSize()) return TRUE;
  // A waiting tool keeps the messages going, so the user may edit the list meanwhile: the run
  // works on its own copy, never on a tool the list may delete.
  CWgUserTool tool(*static_cast<CWgUserTool*>(m_tools.GetAt(index)));
  CWaitCursor wait;
  if (!tool.Execute()) AfxMessageBox(IDP_TOOL_FAILED, MB_ICONEXCLAMATION);
  return TRUE;
}

void CMainFrame::OnUpdateRunTool(CCmdUI* pCmdUI) {
  pCmdUI->Enable(static_cast<int>(pCmdUI->m_nID) - ID_TOOLS_FIRST < m_nToolCount);
}

void CMainFrame::OnDefaultHelp() {
  if (CWinApp* app = AfxGetApp()) app->WinHelp(0, HELP_FINDER);
}

LRESULT CMainFrame::OnHelpMessage(WPARAM, LPARAM lParam) {
  auto* info = reinterpret_cast<HELPINFO*>(lParam);
  CWinApp* app = AfxGetApp();
  if (info && info->iContextType == HELPINFO_WINDOW && app) {
    if (info->iCtrlId == ID_MAINFRAME_SPLITTER)
      app->WinHelp(0, HELP_FINDER);
    else
      app->WinHelp(static_cast<DWORD_PTR>(info->iCtrlId), HELP_CONTEXT);
  }
  return TRUE;
}

BOOL CMainFrame::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  // While a new document is being set up, the whole window says "wait".
  if (CZubrinDoc::s_busy) {
    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    return TRUE;
  }
  (void)pWnd;
  (void)nHitTest;
  (void)message;
  return static_cast<BOOL>(Default());
}

void CMainFrame::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  if (!bSysMenu && pPopupMenu && !MailAvailable()) RemoveMailItems(pPopupMenu);
  CTkFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (!bSysMenu && pPopupMenu && ::GetMenuItemID(pPopupMenu->GetSafeHmenu(), 3) == ID_TOOLS_EDIT)
    AppendUserTools(pPopupMenu);
}

void CMainFrame::AppendUserTools(CMenu* pPopupMenu) {
  CWgUserTool::AppendToMenu(pPopupMenu, ID_TOOLS_FIRST, m_tools);
}

void CMainFrame::OnClose() {
  CZubrinDoc* doc = GetZubrinDoc();
  // During a run the window stays; the run's end closes it.
  if (doc && doc->GetRunControl().DeferWindowClose()) return;
  WindowPlacement::SaveWindowPos(this, "MainFrame");
  CTkFrameWnd::OnClose();
}
