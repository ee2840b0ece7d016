// CMainFrame: creation, bars and the status bar.
#include "ui/MainFrame.h"

#include <string>

#include "app/services/AppServices.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/settings/SelectionTemplates.h"
#include "app/document/ZubrinDoc.h"
#include "framework/app/AfxResource.h"
#include "framework/docview/Document.h"
#include "framework/app/AppIds.h"
#include "framework/docview/DocTemplate.h"
#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"
#include "resources/resource.h"
#include "toolkit/usertools/WgUserTool.h"
#include "toolkit/core/ToolkitData.h"
#include "ui/sheets/project/ZubSheet.h"

IMPLEMENT_DYNCREATE(CMainFrame, CTkFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CTkFrameWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
  ON_WM_CLOSE()
  ON_WM_SETCURSOR()
  ON_WM_INITMENUPOPUP()
  ON_MESSAGE(WM_HELP, OnHelpMessage)
  ON_COMMAND(ID_APP_EXIT, OnAppExit)
  ON_COMMAND(ID_VIEW_SEARCHTERMS, OnViewSearchTerms)
  ON_UPDATE_COMMAND_UI(ID_VIEW_SEARCHTERMS, OnUpdateViewSearchTerms)
  ON_COMMAND(ID_FOCUS_SEARCHTERM, OnFocusSearchTerm)
  ON_COMMAND(ID_FOCUS_SITE, OnFocusSite)
  ON_COMMAND_EX(ID_VIEW_SUMMARY, OnViewReport)
  ON_COMMAND_EX(ID_VIEW_KEYWORD, OnViewReport)
  ON_COMMAND_EX(ID_VIEW_SUBMITTAL, OnViewReport)
  ON_COMMAND_EX(ID_VIEW_COMPETITOR, OnViewReport)
  ON_COMMAND_EX(ID_VIEW_KEYWORDSTAT, OnViewReport)
  ON_COMMAND_EX(ID_VIEW_URLSUMMARY, OnViewReport)
  ON_COMMAND_EX(ID_VIEW_DETAIL, OnEngineReport)
  ON_COMMAND_EX(ID_VIEW_RESULTS, OnEngineReport)
  ON_UPDATE_COMMAND_UI(ID_VIEW_RESULTS, OnUpdateEngineReport)
  // The reports walk the engine sets, whose engines a run re-creates: not while one goes.
  ON_UPDATE_COMMAND_UI(ID_VIEW_SUMMARY, OnUpdateViewReport)
  ON_UPDATE_COMMAND_UI(ID_VIEW_KEYWORD, OnUpdateViewReport)
  ON_UPDATE_COMMAND_UI(ID_VIEW_SUBMITTAL, OnUpdateViewReport)
  ON_UPDATE_COMMAND_UI(ID_VIEW_COMPETITOR, OnUpdateViewReport)
  ON_UPDATE_COMMAND_UI(ID_VIEW_KEYWORDSTAT, OnUpdateViewReport)
  ON_UPDATE_COMMAND_UI(ID_VIEW_URLSUMMARY, OnUpdateViewReport)
  ON_UPDATE_COMMAND_UI(ID_VIEW_DETAIL, OnUpdateViewReport)
  ON_COMMAND_EX(ID_MAIL_SUMMARY, OnMailReport)
  ON_COMMAND_EX(ID_MAIL_KEYWORD, OnMailReport)
  ON_COMMAND_EX(ID_MAIL_COMPETITOR, OnMailReport)
  ON_COMMAND_EX(ID_MAIL_KEYWORDSTAT, OnMailReport)
  ON_COMMAND_EX(ID_MAIL_URLSUMMARY, OnMailReport)
  ON_COMMAND_EX(ID_MAIL_SUBMITTAL, OnMailReport)
  ON_UPDATE_COMMAND_UI(ID_MAIL_SUMMARY, OnUpdateMailReport)
  ON_UPDATE_COMMAND_UI(ID_MAIL_KEYWORD, OnUpdateMailReport)
  ON_UPDATE_COMMAND_UI(ID_MAIL_COMPETITOR, OnUpdateMailReport)
  ON_UPDATE_COMMAND_UI(ID_MAIL_KEYWORDSTAT, OnUpdateMailReport)
  ON_UPDATE_COMMAND_UI(ID_MAIL_URLSUMMARY, OnUpdateMailReport)
  ON_UPDATE_COMMAND_UI(ID_MAIL_SUBMITTAL, OnUpdateMailReport)
  ON_COMMAND(ID_EXPORT_CSV, OnExportCsv)
  ON_UPDATE_COMMAND_UI(ID_EXPORT_CSV, OnUpdateExportCsv)
  ON_UPDATE_COMMAND_UI(ID_FILE_NEW, OnUpdateNewOpen)
  ON_UPDATE_COMMAND_UI(ID_FILE_OPEN, OnUpdateNewOpen)
  ON_CBN_SELCHANGE(ID_TEMPLATE_COMBO, OnTemplateSelChange)
  ON_COMMAND(ID_TEMPLATE_COMBO, OnApplyTemplate)
  ON_COMMAND(ID_TEMPLATE_APPLY, OnApplyChosenTemplate)
  ON_COMMAND(ID_SUPPORT_MAIL, OnSupportMail)
  ON_COMMAND(ID_TOOLS_EDIT, OnEditTools)
  ON_COMMAND(ID_OPTIONS, OnOptions)
  ON_COMMAND_EX_RANGE(ID_TOOLS_FIRST, ID_TOOLS_LAST, OnRunTool)
  ON_UPDATE_COMMAND_UI_RANGE(ID_TOOLS_FIRST, ID_TOOLS_LAST, OnUpdateRunTool)
  ON_COMMAND(ID_DEFAULT_HELP, OnDefaultHelp)
  ON_COMMAND_EX(ID_PROJECT_PAGE0, OnProjectSheet)
  ON_COMMAND_EX(ID_PROJECT_PAGE1, OnProjectSheet)
  ON_COMMAND_EX(ID_PROJECT_PAGE2, OnProjectSheet)
  ON_COMMAND_EX(ID_PROJECT_PAGE3, OnProjectSheet)
  ON_COMMAND_EX(ID_PROJECT_PROPERTIES, OnProjectSheet)
  ON_UPDATE_COMMAND_UI(ID_PROJECT_PAGE0, OnUpdateProjectSheet)
  ON_UPDATE_COMMAND_UI(ID_PROJECT_PAGE1, OnUpdateProjectSheet)
  ON_UPDATE_COMMAND_UI(ID_PROJECT_PAGE2, OnUpdateProjectSheet)
  ON_UPDATE_COMMAND_UI(ID_PROJECT_PAGE3, OnUpdateProjectSheet)
  ON_UPDATE_COMMAND_UI(ID_PROJECT_PROPERTIES, OnUpdateProjectSheet)
END_MESSAGE_MAP()

namespace {

// The message pane first, then the document's counters and the run's rate and time.
const UINT kIndicators[] = {
    ID_SEPARATOR,          ID_INDICATOR_ENGINES, ID_INDICATOR_ACTIVE,
    ID_INDICATOR_SELECTED, ID_INDICATOR_RATE,    ID_INDICATOR_ELAPSED,
};

// Texts of the main toolbar's buttons.
struct ButtonText {
  UINT command;
  UINT text;
};
const ButtonText kMainButtonTexts[] = {
    {ID_FILE_NEW, IDS_TB_NEW},         {ID_FILE_OPEN, IDS_TB_OPEN},
    {ID_FILE_SAVE, IDS_TB_SAVE},       {ID_MAIL_SUMMARY, IDS_TB_MAIL},
    {32883, IDS_TB_CHECK},             {32885, IDS_TB_STOP},
    {ID_PROJECT_PROPERTIES, IDS_TB_PROPERTIES},
};

const COLORREF kMaskColour = RGB(255, 0, 255);
const int kComboWidth = 200;
const int kComboDropHeight = 400;

// Fewer than 256 colours get the plain buttons: the images would dither badly.
bool ManyColours() { return GetDisplayDepthSquare() >= 64; }

HIMAGELIST LoadImages(UINT id, int cx) {
  return ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), cx, 0, kMaskColour,
                              IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

// Buttons that carry a text are as wide as it; the others keep the common width, unless
// allButtons: on a bar with texts beside the images the common width is that of the longest
// text, which would leave the image-only buttons wide and empty.
void AutoSizeTextButtons(CTkToolBar& bar, bool allButtons = false) {
  for (int i = 0; i < bar.GetCount(); ++i) {
    UINT style = bar.GetButtonStyle(i);
    if ((LOWORD(style) & TBSTYLE_SEP) || (!allButtons && bar.GetButtonText(i).IsEmpty())) continue;
    bar.SetButtonStyle(i, style | TBSTYLE_AUTOSIZE);
  }
}

}  // namespace

namespace {
DropDownMenuFn g_dropDownTracker = nullptr;
}  // namespace

void SetDropDownMenuTracker(DropDownMenuFn track) { g_dropDownTracker = track; }

void CMainToolBar::TrackDropDownMenu(HMENU hPopup, const RECT& rcButton) {
  if (!g_dropDownTracker) {
    CTkToolBar::TrackDropDownMenu(hPopup, rcButton);
    return;
  }
  CWnd* owner = GetOwner();
  g_dropDownTracker(hPopup, rcButton, owner ? owner->m_hWnd : nullptr);
}

void CTemplateToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  // The combo first: a template it lets go of must not leave Delete enabled in the same pass.
  if (HWND combo = ::GetDlgItem(m_hWnd, ID_TEMPLATE_COMBO)) {
    CCmdUI state;
    state.m_pOther = CWnd::FromHandle(combo);
    state.m_nID = ID_TEMPLATE_COMBO;
    state.DoUpdate(pTarget, FALSE);
  }
  CTkToolBar::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!CTkFrameWnd::PreCreateWindow(cs)) return FALSE;
  // A class of our own name, so that the window can be found by it; it carries the program's icon.
  WNDCLASSA wc = {};
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  if (!::GetClassInfoA(instance, ZBPRO_MAINFRAME_CLASS, &wc)) {
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = instance;
    wc.hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = ZBPRO_MAINFRAME_CLASS;
    if (!::RegisterClassA(&wc)) return FALSE;
  }
  cs.lpszClass = ZBPRO_MAINFRAME_CLASS;
  return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs) {
  if (CTkFrameWnd::OnCreate(lpcs) == -1) return -1;
  // The normal three-dimensional look throughout.
  ToolkitData().m_bFlatLook = FALSE;
  if (!CreateMenuBar() || !CreateToolBars() || !SetUpMainToolBar() || !SetUpTemplateBar() || !CreateReBar() ||
      !CreateStatusBar())
    return -1;
  const UINT coolMenuBars[] = {IDR_MAINFRAME, IDR_TEMPLATEBAR};
  InstallCoolMenus(coolMenuBars, 2);
  // The keys stay the resource's table, which the frame loaded: the manager is never set up, so
  // the menus keep the shortcut texts of their resource, also those of keys the views handle
  // themselves (Ins, F2, Del, Esc) and of the edit commands.
  m_pShortcuts = &m_accelManager;
  LoadUserTools();
  m_strHideTerms = LoadResString(IDS_HIDE_SEARCH_TERMS);
  m_strShowTerms = LoadResString(IDS_SHOW_SEARCH_TERMS);
  ConnectProgressHooks();
  InstallProjectMailSheet();
  SetMessageText(AFX_IDS_IDLEMESSAGE);
  RecalcLayout();
  return 0;
}

// The program's menu as the toolkit's bar; the window's own menu goes when the bar takes it.
BOOL CMainFrame::CreateMenuBar() {
  CTkMenuBar* bar = GetMenuBar();
  if (!bar->CreateEx(this, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, ID_MAINFRAME_MENUBAR) ||
      !bar->LoadMenuBar(IDR_MAINFRAME))
    return FALSE;
  bar->ModifyStyle(0, TBSTYLE_TRANSPARENT);
  return TRUE;
}

BOOL CMainFrame::CreateToolBars() {
  const DWORD barStyle =
      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY;
  const DWORD ctrlStyle = TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
  if (!m_wndToolBar.CreateEx(this, ctrlStyle, barStyle, ID_MAINFRAME_TOOLBAR) ||
      !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
    return FALSE;
  if (!m_wndTemplateBar.CreateEx(this, ctrlStyle | TBSTYLE_LIST, barStyle,
                                 ID_MAINFRAME_TEMPLATEBAR) ||
      !m_wndTemplateBar.LoadToolBar(IDR_TEMPLATEBAR))
    return FALSE;
  // Its title in the bars' context menu and on its floating frame.
  m_wndTemplateBar.SetWindowText(LoadResString(IDS_TEMPLATEBAR_BAND));
  return m_wndDlgBar.Create(this, IDD_MAINFRAME_DIALOGBAR, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM,
                            ID_MAINFRAME_DIALOGBAR);
}

BOOL CMainFrame::SetUpMainToolBar() {
  if (ManyColours()) {
    m_hToolImages = LoadImages(IDB_MAINBAR, 21);
    m_hToolHotImages = LoadImages(IDB_MAINBAR_HOT, 21);
    m_wndToolBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hToolImages));
    m_wndToolBar.SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hToolHotImages));
  }
  for (const ButtonText& b : kMainButtonTexts) {
    int index = m_wndToolBar.CommandToIndex(b.command);
    if (index >= 0) m_wndToolBar.SetButtonText(index, LoadResString(b.text));
  }
  m_wndToolBar.AddDropDownButton(ID_FILE_OPEN, IDR_OPEN_DROPDOWN, TRUE);
  // Without simple mail the mail button goes, and with it the separator after it.
  int mail = m_wndToolBar.CommandToIndex(ID_MAIL_SUMMARY);
  if (!MailAvailable() && mail >= 0) {
    m_wndToolBar.DeleteButton(mail);
    if (mail < m_wndToolBar.GetCount()) m_wndToolBar.DeleteButton(mail);
  }
  AutoSizeTextButtons(m_wndToolBar);
  return TRUE;
}

BOOL CMainFrame::SetUpTemplateBar() {
  if (ManyColours()) {
    m_hTemplateImages = LoadImages(IDB_TEMPLATEBAR, 16);
    m_wndTemplateBar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_hTemplateImages));
  }
  m_wndTemplateBar.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()));
  CRect rect(0, 0, kComboWidth, kComboDropHeight);
  if (!m_wndTemplateCombo.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL |
                                     CBS_DROPDOWNLIST,
                                 rect, &m_wndTemplateBar, ID_TEMPLATE_COMBO))
    return FALSE;
  m_wndTemplateCombo.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()));
  m_wndTemplateCombo.m_bFlatLook = ToolkitData().m_bFlatLook;
  m_wndTemplateBar.PlaceControl(m_wndTemplateBar.CommandToIndex(ID_TEMPLATE_COMBO),
                                &m_wndTemplateCombo, kComboWidth);
  int apply = m_wndTemplateBar.CommandToIndex(ID_TEMPLATE_APPLY);
  if (apply >= 0) m_wndTemplateBar.SetButtonText(apply, LoadResString(IDS_TB_APPLY_TEMPLATE));
  FillTemplateCombo();
  AutoSizeTextButtons(m_wndTemplateBar, true);
  return TRUE;
}

// The templates' names in their own order.
void CMainFrame::FillTemplateCombo() {
  m_wndTemplateCombo.ResetContent();
  NQSelectionTemplates* templates = GetSelectionTemplates();
  if (!templates) return;
  for (const auto& entry : templates->Templates())
    m_wndTemplateCombo.AddString(entry.first.c_str());
}

BOOL CMainFrame::CreateReBar() {
  if (!m_wndReBar.Create(this, RBS_BANDBORDERS,
                         WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP |
                             CBRS_BORDER_BOTTOM,
                         ID_MAINFRAME_REBAR))
    return FALSE;
  // The menu on a row of its own beside the dialog bar; each toolbar on a row below.
  CString templates = LoadResString(IDS_TEMPLATEBAR_BAND);
  if (!m_wndReBar.AddBar(GetMenuBar(), nullptr, nullptr, RBBS_GRIPPERALWAYS, 0) ||
      !m_wndReBar.AddBar(&m_wndDlgBar, nullptr, nullptr, RBBS_FIXEDSIZE | RBBS_FIXEDBMP, 1) ||
      !m_wndReBar.AddBar(&m_wndToolBar, nullptr, nullptr, RBBS_BREAK | RBBS_FIXEDBMP, 2) ||
      !m_wndReBar.AddBar(&m_wndTemplateBar, templates, nullptr, RBBS_BREAK | RBBS_FIXEDBMP, 3))
    return FALSE;
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
  info.cxMinChild = 38;
  info.cyMinChild = 22;
  info.cx = 38;
  info.cxIdeal = 38;
  int dialogBand = static_cast<int>(m_wndReBar.SendMessage(RB_IDTOINDEX, 1));
  m_wndReBar.SendMessage(RB_SETBANDINFOA, dialogBand, reinterpret_cast<LPARAM>(&info));
  return TRUE;
}

BOOL CMainFrame::CreateStatusBar() {
  if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_BORDER_TOP,
                             ID_MAINFRAME_STATUSBAR))
    return FALSE;
  if (!m_wndStatusBar.SetIndicators(kIndicators, sizeof kIndicators / sizeof kIndicators[0]))
    return FALSE;
  ShowStartCounters();
  return TRUE;
}

// The counter panes' strings are formats; until the document fills them they show their first
// values instead of the bare format.
void CMainFrame::ShowStartCounters() {
  struct Start {
    UINT id;
    int value;
  };
  const Start starts[] = {
      {ID_INDICATOR_ENGINES, 0}, {ID_INDICATOR_ACTIVE, 0}, {ID_INDICATOR_SELECTED, 1}};
  for (const Start& start : starts) {
    CString format, text;
    format.LoadString(start.id);
    text.Format(format, start.value);
    SetPaneTextSized(start.id, text);
  }
  CString format, text;
  format.LoadString(ID_INDICATOR_ELAPSED);
  text.Format(format, 0, 0, 0);
  SetPaneTextSized(ID_INDICATOR_ELAPSED, text);
}

void CMainFrame::OnDestroy() {
  if (m_pProgress) {
    m_pProgress->DestroyWindow();
    delete m_pProgress;
    m_pProgress = nullptr;
  }
  CTkFrameWnd::OnDestroy();
  CWgUserTool::FreeTools(m_tools);
  m_nToolCount = 0;
  // The toolbars are gone with the window; their image lists are ours.
  for (HIMAGELIST* list : {&m_hToolImages, &m_hToolHotImages, &m_hTemplateImages}) {
    if (*list) ImageList_Destroy(*list);
    *list = nullptr;
  }
}

void CMainFrame::OnUpdateFrameTitle(BOOL bAddToTitle) {
  // A document that lost its file (one that could not be read leaves a fresh one) has no title
  // of its own; the window names it as any new document instead of showing the bare program.
  CDocument* doc = GetActiveDocument();
  if (doc && doc->GetTitle().IsEmpty() && doc->GetDocTemplate())
    doc->GetDocTemplate()->SetDefaultTitle(doc);
  CTkFrameWnd::OnUpdateFrameTitle(bAddToTitle);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
  Default();
  lpMMI->ptMinTrackSize.x = 340;
  lpMMI->ptMinTrackSize.y = 280;
}

void CMainFrame::OnAppExit() { PostMessage(WM_CLOSE); }

void CMainFrame::RestorePlacement(int nCmdShow) {
  NQCommandLineInfo* cmd = GetCommandLineInfo();
  if (cmd && cmd->m_bDebug) {
    ShowWindow(nCmdShow);
  } else if (cmd && cmd->m_bHide) {
    ShowWindow(SW_SHOWMINNOACTIVE);
  } else if (!WindowPlacement::LoadWindowPos(this, "MainFrame")) {
    ShowWindow(nCmdShow);
  }
  UpdateWindow();
}

CZubrinDoc* CMainFrame::GetZubrinDoc() {
  CDocument* doc = GetActiveDocument();
  return doc && doc->IsKindOf(RUNTIME_CLASS(CZubrinDoc)) ? static_cast<CZubrinDoc*>(doc)
                                                         : nullptr;
}

bool CMainFrame::IsRunActive() {
  CZubrinDoc* doc = GetZubrinDoc();
  return doc && ::InterlockedCompareExchange(&doc->m_running, 0, 0) != 0;
}
