// CMainFrame: the one top-level window of ZBPro: the search form above, the search-term list at
// the lower left and the engine list at the lower right, its menu, two toolbars and a dialog bar
// in a rebar, the status bar with the run's progress, and the commands of reports, CSV export,
// panes, focus and user tools. It refuses to close while a run is active.
//
// One class across files by duty: MainFrame.cpp (creation and bars), MainFramePanes.cpp (panes,
// forwarding to them, focus), MainFrameProgress.cpp (progress and status panes),
// MainFrameCommands.cpp (reports, CSV, mail, tools, help, closing).
#pragma once
#include "framework/core/String.h"
#include "framework/bars/DialogBar.h"
#include "framework/controls/ProgressCtrl.h"
#include "toolkit/TkFlatComboBox.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/TkMenuBar.h"
#include "toolkit/bars/TkReBar.h"
#include "toolkit/widgets/TkSplitterWnd.h"
#include "toolkit/bars/TkStatusBar.h"
#include "toolkit/bars/TkToolBar.h"
#include "framework/collections/ObArray.h"
#include "toolkit/frame/WindowPlacement.h"
#include "resources/resource.h"  // ZBPRO_MAINFRAME_CLASS

class CZubrinDoc;

// What the CSV export asks the user: file name and folder (given as defaults), the header and
// append choices.
struct CsvExportChoice {
  CString fileName;
  CString folder;
  BOOL writeHeader = FALSE;
  BOOL append = FALSE;
};
// The CSV export dialog: FALSE when the user cancels. A seam the program points at its dialog.
using CsvExportAskFn = BOOL (*)(CWnd* owner, CsvExportChoice& choice);
BOOL AskCsvExport(CWnd* owner, CsvExportChoice& choice);
void SetCsvExportAsker(CsvExportAskFn ask);

// The main toolbar: the toolkit's, its drop-down menus opened through a seam (tests keep the
// menu instead of tracking it).
using DropDownMenuFn = void (*)(HMENU popup, const RECT& rcButton, HWND owner);
void SetDropDownMenuTracker(DropDownMenuFn track);
class CMainToolBar : public CTkToolBar {
 protected:
  void TrackDropDownMenu(HMENU hPopup, const RECT& rcButton) override;
};

// The template toolbar: its combo sits where a separator is, which the bar's own update
// passes by, so the bar asks the combo's update handler itself.
class CTemplateToolBar : public CTkToolBar {
 public:
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
};

class CMainFrame : public CTkFrameWnd {
  DECLARE_DYNCREATE(CMainFrame)
 public:
  CMainFrame() = default;
  ~CMainFrame() override = default;

  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

  CStatusBar* GetStatusBar() { return &m_wndStatusBar; }
  CMainToolBar* GetMainToolBar() { return &m_wndToolBar; }
  CTkToolBar* GetTemplateBar() { return &m_wndTemplateBar; }
  CTkReBar* GetReBar() { return &m_wndReBar; }
  CTkFlatComboBox* GetTemplateCombo() { return &m_wndTemplateCombo; }
  CTkAccelManager* GetAccelManager() { return &m_accelManager; }
  CTkSplitterWnd* GetOuterSplitter() { return &m_wndSplitter; }
  CTkSplitterWnd* GetInnerSplitter() { return &m_wndSplitter2; }
  CProgressCtrl* GetProgressCtrl() { return m_pProgress; }
  BOOL IsSearchTermPaneShown() const { return m_bTermPaneShown; }
  // The panes, also while the search-term pane is hidden.
  CWnd* GetSearchFormPane() const;
  CWnd* GetSearchTermPane() const;
  CWnd* GetEngineViewPane() const;

  // Sets a status pane's text and fits the pane's width to it.
  void SetPaneTextSized(UINT nID, LPCSTR lpszText);
  // Shows the window as the command line asks: as given with debug, minimised without
  // activation with hide, else where it was last closed.
  void RestorePlacement(int nCmdShow);

  // The status bar's progress, for any code on the user-interface thread; they find the frame
  // through the application's main window and do nothing without one.
  static void BeginProgress(int upper, int lower, LPCSTR caption);
  static void StepProgress();
  static void EndProgress();
  // Fits a status pane's width to the text it shows now.
  static void SetPaneText(UINT nID);
  // Points the document's and the CSV export's progress at these functions.
  static void ConnectProgressHooks();
  // Seam for tests: whether simple mail is available (null: ask the system).
  static void SetMailAvailableSource(bool (*source)());
  static bool MailAvailable();

 protected:
  BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  int OnCreate(LPCREATESTRUCT lpcs);
  BOOL CreateMenuBar();
  BOOL CreateToolBars();
  BOOL SetUpMainToolBar();
  BOOL SetUpTemplateBar();
  BOOL CreateReBar();
  BOOL CreateStatusBar();
  void FillTemplateCombo();
  void ShowStartCounters();
  void DoBeginProgress(int upper, int lower, LPCSTR caption);
  // Puts the progress bar after the caption in the message pane as the pane is now: the pane
  // narrows when a counter pane widens, and moves with the window's size.
  void PlaceProgress();
  void OnSize(UINT nType, int cx, int cy);

  void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  void OnDestroy();
  void OnClose();
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  LRESULT OnHelpMessage(WPARAM wParam, LPARAM lParam);
  // Exit closes the main window the way its close box does, the save prompt included.
  void OnAppExit();

  // Panes and focus
  void OnViewSearchTerms();
  void OnUpdateViewSearchTerms(CCmdUI* pCmdUI);
  void OnFocusSearchTerm();
  void OnFocusSite();
  void OnUpdateTermCommand(CCmdUI* pCmdUI);
  // Term and engine commands go to their pane; TRUE when nID is one of them.
  BOOL RouteToPane(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo,
                   BOOL* pHandled);

  // Reports, CSV, mail
  BOOL OnViewReport(UINT nID);
  BOOL OnEngineReport(UINT nID);
  void OnUpdateEngineReport(CCmdUI* pCmdUI);
  void OnUpdateViewReport(CCmdUI* pCmdUI);
  bool ReportsAllowed();
  BOOL OnMailReport(UINT nID);
  void OnUpdateMailReport(CCmdUI* pCmdUI);
  void OnExportCsv();
  void OnUpdateExportCsv(CCmdUI* pCmdUI);
  void OnUpdateNewOpen(CCmdUI* pCmdUI);
  void RemoveMailItems(CMenu* pPopupMenu);
  void AppendUserTools(CMenu* pPopupMenu);

  // Template combo, tools, help
  void OnTemplateSelChange();
  // Command 32860 from the combo (lParam): the engine view checks the chosen template's engines.
  void OnApplyTemplate();
  // Command 32907: the engine view checks the engines of the template the combo shows.
  void OnApplyChosenTemplate();
  void ApplyComboTemplate(HWND combo);
  void OnSupportMail();  // ui/MainFrameSupportMail.cpp
  void OnEditTools();
  void OnOptions();  // the options sheet, in ui/sheets/options
  BOOL OnRunTool(UINT nID);
  void OnUpdateRunTool(CCmdUI* pCmdUI);
  void OnDefaultHelp();
  // The project's properties sheet on the command's page (ui/sheets/project/ProjectCommands.cpp).
  BOOL OnProjectSheet(UINT nID);
  void OnUpdateProjectSheet(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  CZubrinDoc* GetZubrinDoc();
  bool IsRunActive();

  // The frame's shortcut manager, left uninitialised: the frame asks it for no menu texts and
  // it stores nothing.
  CTkAccelManager m_accelManager;
  CTkStatusBar m_wndStatusBar;
  CTkFlatComboBox m_wndTemplateCombo;
  WindowPlacement m_placement;
  CDialogBar m_wndDlgBar;
  CMainToolBar m_wndToolBar;
  CTemplateToolBar m_wndTemplateBar;
  CTkReBar m_wndReBar;
  CProgressCtrl* m_pProgress = nullptr;
  int m_progressCaptionWidth = 0;  // room the caption takes before the bar
  HIMAGELIST m_hToolImages = nullptr, m_hToolHotImages = nullptr, m_hTemplateImages = nullptr;
  CString m_strHideTerms;  // menu text of 32869 while the search-term pane is shown
  CString m_strShowTerms;  // and while it is hidden
  CTkSplitterWnd m_wndSplitter;   // 2 rows: the form, then the inner splitter
  CTkSplitterWnd m_wndSplitter2;  // 1 row, 2 columns: the search terms, the engines
  BOOL m_bTermPaneShown = FALSE;
  CObArray m_tools;      // the user tools (CWgUserTool), owned; at most one per tool command
  int m_nToolCount = 0;  // their count
  // toolmenu.dat in the program folder.
  static CString ToolsFilePath();
  void LoadUserTools();
};
