// ZBTkShowWindow: shows one of the toolkit's windows that the program does not make by itself,
// filled with sample values, for pictures and for a look without a host program. "--list" prints
// the names, one a line. The language module ZBResENU.dll is loaded from the tool's own folder.
// Not part of the product.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "framework/AfxResource.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/controls/TkCheckListBox.h"
#include "toolkit/controls/TkListCtrl.h"
#include "toolkit/controls/TkTabCtrl.h"
#include "toolkit/dialogs/TkAccelPropertySheet.h"
#include "toolkit/services/TkAccelManager.h"
#include "toolkit/usertools/WgUserTool.h"
#include "toolkit/usertools/WgUserToolsDlg.h"
#include "toolkit/dialogs/TkColorDialog.h"
#include "toolkit/widgets/TkColorPickerPopup.h"
#include "toolkit/widgets/WgColorWell.h"
#include "toolkit/widgets/WgWellButton.h"
#include "framework/docking/DockBar.h"
#include "framework/docking/DockContext.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/docking/float/TkMiniDockFrameWnd.h"
#include "toolkit/docking/window/TkDockWindow.h"
#include "toolkit/docking/window/TkTabCtrlBar.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/core/ToolkitData.h"

namespace {

// Runs the thread's loop until the window is gone.
void RunUntilClosed(CWnd& wnd) {
  MSG msg;
  while (::IsWindow(wnd.m_hWnd) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

BOOL MakeHost(CWnd& host, LPCSTR title, int cx, int cy) {
  return host.CreateEx(0, AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                              reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)),
                       title, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, cx, cy,
                       nullptr, nullptr);
}

void FillEngines(CTkListCtrl& list) {
  const LPCSTR names[] = {"Engine", "Rank", "Page", "Position"};
  const int widths[] = {140, 60, 60, 70};
  list.BuildColumns(4, widths, names);
  list.SubclassHeader();
  list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const char* rows[][4] = {{"Alpha Search", "3", "1", "3"}, {"Beta Seek", "12", "2", "2"},
                           {"Delta Web", "7", "1", "7"},     {"Epsilon", "25", "3", "5"},
                           {"Zeta Finder", "1", "1", "1"}};
  for (int i = 0; i < 5; ++i) {
    list.InsertItem(i, rows[i][0]);
    for (int c = 1; c < 4; ++c) list.SetItemText(i, c, rows[i][c]);
  }
  list.GetFlatHeader().ShowSortArrow(TRUE);
  list.SetSortArrow(1, TRUE);
}

void ShowList() {
  CWnd host;
  if (!MakeHost(host, "Sortable list", 420, 260)) return;
  CTkListCtrl list;
  list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, CRect(8, 8, 396, 212), &host, 100);
  FillEngines(list);
  RunUntilClosed(host);
}

void ShowTabs() {
  CWnd host;
  if (!MakeHost(host, "Tab control", 420, 300)) return;
  CTkTabCtrl tabs;
  tabs.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_BOTTOM, CRect(8, 8, 396, 252), &host, 100);
  auto* list = new CTkListCtrl;
  list->Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &tabs, 101);
  FillEngines(*list);
  auto* notes = new CWnd;
  notes->CreateEx(WS_EX_CLIENTEDGE, "EDIT", "Notes on this run", WS_CHILD | ES_MULTILINE, 0, 0, 10,
                  10, tabs.m_hWnd, nullptr);
  tabs.AddControl("Engines", list);
  tabs.AddControl("Notes", notes);
  tabs.SetActiveTab(0);
  RunUntilClosed(host);
  delete list;
  delete notes;
}

void ShowShortcuts() {
  CFrameWnd frame;
  CTkAccelManager manager;
  manager.SetSaveOnDestroy(FALSE);
  manager.Init(&frame, 107, 107, "ZBPro main window", "ShowWindow");
  CTkAccelPropertySheet sheet(&manager, nullptr, FALSE);
  sheet.DoModal();
}

void ShowCheckList() {
  CWnd host;
  if (!MakeHost(host, "Check list box", 300, 240)) return;
  CTkCheckListBox list;
  list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, CRect(8, 8, 276, 192),
              &host, 100);
  list.SetCheckStyle(BS_AUTO3STATE);
  list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)));
  const char* columns[] = {"Engine", "Rank", "Page", "Position", "Address", "Title", "Date",
                           "Notes", "Hits", "Search term"};
  for (int i = 0; i < 10; ++i) {
    list.AddString(columns[i]);
    list.SetCheck(i, i % 3 == 2 ? 2 : i % 3 == 0);
  }
  list.Enable(4, FALSE);
  list.SetCurSel(1);
  RunUntilClosed(host);
}

// Without an owner: Wine leaves an owned dialog black in pictures.
void ShowUserTools() {
  CObArray tools;
  const char* rows[][3] = {{"&Notepad", "notepad.exe", ""},
                           {"&Word Count", "C:\\Tools\\wc.exe", "%f"},
                           {"&Backup Reports", "C:\\Tools\\backup.exe", "/q"}};
  for (auto& row : rows) {
    auto* tool = new CWgUserTool;
    tool->m_strMenuText = row[0];
    tool->m_strCommand = row[1];
    tool->m_strArguments = row[2];
    tool->m_strInitialDir = "C:\\Reports";
    tools.Add(tool);
  }
  CWgUserToolsDlg dlg(nullptr);
  dlg.m_pTools = &tools;
  dlg.DoModal();
  CWgUserTool::FreeTools(tools);
}

// A well button with its grid dropped down (showing a colour outside the grid in the custom
// cell), beside a child well with a border and an Other button.
void ShowColorWells() {
  CWnd host;
  if (!MakeHost(host, "Colour wells", 320, 240)) return;
  CWgWellButton button;
  button.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(12, 12, 72, 34), &host, 100);
  button.SetColumns(4);
  button.SetOption(TRUE);
  button.SetColor(RGB(70, 130, 180));
  CWgColorWell well;
  well.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WGCW_BORDER, CRect(170, 12, 0, 0), &host, 101,
              4, 5, TRUE);
  well.SelectColor(RGB(255, 0, 0));
  host.UpdateWindow();
  button.OnClickAction();
  RunUntilClosed(host);
}

// The colour picker popup with the 40-colour palette, a row of recent colours and the
// more-colours button, under a host window standing in for the toolbar.
void ShowColorPicker() {
  CWnd host;
  if (!MakeHost(host, "Colour picker", 320, 80)) return;
  host.UpdateWindow();
  CTkColorPickerPopup::AddRecentColor(RGB(70, 130, 180));
  CTkColorPickerPopup::AddRecentColor(RGB(210, 105, 30));
  CRect anchor;
  host.GetWindowRect(&anchor);
  anchor.bottom = anchor.top + 60;
  anchor.left += 20;
  auto* popup = new CTkColorPickerPopup(TRUE, 1);
  popup->Create(anchor, &host, TKCP_40COLORS | TKCP_MORECOLORS, RGB(51, 153, 102), RGB(0, 0, 0));
  RunUntilClosed(host);
}

// The colour dialog with the hexadecimal value and the framed swatch (no owner: see the note on
// owned dialogs in scripts/screens).
void ShowColorDialog() {
  CTkColorDialog dialog(RGB(51, 102, 255), RGB(200, 30, 30), TKCD_SHOWHEX | TKCD_FRAMED, nullptr);
  dialog.DoModal();
}

// A frame with docking windows: each window holds an edit with a line of text.
CTkFrameWnd* MakeDockFrame(LPCSTR title) {
  // The toolkit's colours, fonts and metrics, as the program sets them up at its start.
  ToolkitData().Initialize(AfxGetResourceHandle());
  auto* frame = new CTkFrameWnd;
  if (!frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 680, 520)))
    return nullptr;
  frame->EnableDocking(CBRS_ALIGN_ANY);
  frame->m_pFloatingFrameClass = RUNTIME_CLASS(CTkMiniDockFrameWnd);
  return frame;
}

CTkDockWindow* AddDockWindow(CTkFrameWnd* frame, UINT id, LPCSTR title, int cx, int cy,
                             DWORD side, DWORD tkStyle, LPCSTR text) {
  auto* bar = new CTkDockWindow;
  bar->m_bAutoDelete = TRUE;
  if (!bar->Create(frame, id, title, cx, cy, WS_CHILD | WS_VISIBLE | side, tkStyle)) return nullptr;
  bar->EnableDocking(CBRS_ALIGN_ANY);
  auto* edit = new CWnd;
  edit->CreateEx(WS_EX_CLIENTEDGE, "EDIT", text, WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 10, 10,
                 bar->m_hWnd, nullptr);
  bar->SetChild(edit);
  return bar;
}

// Runs the frame with its bars brought up to date, as the program's idle time would.
void RunDockFrame(CTkFrameWnd* frame) {
  frame->RecalcLayout();
  for (int pass = 0; pass < 2; ++pass) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    for (HWND popup = ::GetWindow(::GetDesktopWindow(), GW_CHILD); popup;
         popup = ::GetWindow(popup, GW_HWNDNEXT))
      if (::GetWindow(popup, GW_OWNER) == frame->m_hWnd)
        ::SendMessageA(popup, WM_IDLEUPDATECMDUI, TRUE, 0);
    frame->RecalcLayout();
  }
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  RunUntilClosed(*frame);
}

void ShowDockedWindows(bool flat) {
  CTkFrameWnd* frame = MakeDockFrame(flat ? "Docking windows, flat" : "Docking windows");
  if (!frame) return;
  ToolkitData().m_bFlatLook = flat;
  constexpr DWORD kCaption = TKDW_GRIPPER | TKDW_TITLE | TKDW_BUTTONS | TKDW_CAPTION |
                             TKDW_GRADIENT | TKDW_EDGE_SUNKEN;
  CTkDockWindow* engines = AddDockWindow(frame, 0xE901, "Engines", 160, 150, CBRS_LEFT, kCaption,
                                         "Alpha Search\r\nBeta Seek\r\nDelta Web");
  CTkDockWindow* terms = AddDockWindow(frame, 0xE902, "Search terms", 160, 150, CBRS_LEFT,
                                       kCaption, "site promotion\r\nrank check");
  CTkDockWindow* log = AddDockWindow(frame, 0xE903, "Run log", 600, 110, CBRS_BOTTOM,
                                     TKDW_GRIPPER | TKDW_TITLE | TKDW_BUTTONS | TKDW_TWO_LINES,
                                     "Alpha Search: page 1 read");
  if (!engines || !terms || !log) return;
  frame->DockControlBar(engines, AFX_IDW_DOCKBAR_LEFT);
  frame->RecalcLayout();
  CRect below;
  engines->GetWindowRect(&below);
  below.OffsetRect(0, 60);
  frame->DockControlBar(terms, AFX_IDW_DOCKBAR_LEFT, &below);
  frame->DockControlBar(log, AFX_IDW_DOCKBAR_BOTTOM);
  RunDockFrame(frame);
}

void ShowDockedPlain() { ShowDockedWindows(false); }
void ShowDockedFlat() { ShowDockedWindows(true); }

void ShowFloatingWindows() {
  CTkFrameWnd* frame = MakeDockFrame("Floating windows");
  if (!frame) return;
  CTkDockWindow* engines = AddDockWindow(
      frame, 0xE901, "Engines", 160, 220, CBRS_LEFT,
      TKDW_GRIPPER | TKDW_TITLE | TKDW_BUTTONS | TKDW_CAPTION | TKDW_EDGE_SUNKEN,
      "Alpha Search\r\nBeta Seek");
  CTkDockWindow* notes = AddDockWindow(frame, 0xE902, "Notes", 220, 160, CBRS_LEFT,
                                       TKDW_GRIPPER | TKDW_TITLE | TKDW_BUTTONS,
                                       "A floating docking window");
  if (!engines || !notes) return;
  frame->DockControlBar(engines, AFX_IDW_DOCKBAR_LEFT);
  frame->DockControlBar(notes, AFX_IDW_DOCKBAR_RIGHT);
  frame->RecalcLayout();
  notes->m_pDockContext->ToggleDocking();
  CWnd* notesFrame = notes->GetParentFrame();
  if (notesFrame) notesFrame->SetWindowPos(nullptr, 330, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  auto* toolBar = new CTkToolBar;
  toolBar->CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS, 0xE850);
  const UINT ids[] = {0xE001, 0xE002, 0xE003, 0xE004, 0xE005};
  toolBar->SetButtons(ids, 5);
  toolBar->SetWindowText("Template");
  toolBar->EnableDocking(CBRS_ALIGN_ANY);
  frame->FloatControlBar(toolBar, CPoint(330, 360), CBRS_ALIGN_TOP);
  // Without a window manager Wine leaves owned windows unpainted: the picture shows the floating
  // frames as windows of their own.
  for (CWnd* bar : {static_cast<CWnd*>(notes), static_cast<CWnd*>(toolBar)}) {
    CWnd* floating = bar->GetParentFrame();
    if (!floating) continue;
    ::ShowWindow(floating->m_hWnd, SW_HIDE);
    ::SetWindowLongPtrA(floating->m_hWnd, GWLP_HWNDPARENT, 0);
    ::ShowWindow(floating->m_hWnd, SW_SHOWNA);
  }
  RunDockFrame(frame);
}

void ShowTabBar() {
  CTkFrameWnd* frame = MakeDockFrame("Tab control bar");
  if (!frame) return;
  auto* bar = new CTkTabCtrlBar;
  bar->m_bAutoDelete = TRUE;
  if (!bar->Create(frame, 0xE910, "Results", 600, 200, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                   TKDW_GRIPPER | TKDW_TITLE | TKDW_BUTTONS))
    return;
  bar->EnableDocking(CBRS_ALIGN_ANY);
  CTkTabCtrl* tabs = bar->GetTabCtrl();
  auto* list = new CTkListCtrl;
  list->Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), tabs, 101);
  FillEngines(*list);
  auto* notes = new CWnd;
  notes->CreateEx(WS_EX_CLIENTEDGE, "EDIT", "Notes on this run", WS_CHILD | ES_MULTILINE, 0, 0, 10,
                  10, tabs->m_hWnd, nullptr);
  auto* log = new CWnd;
  log->CreateEx(WS_EX_CLIENTEDGE, "EDIT", "Alpha Search: page 1 read", WS_CHILD | ES_MULTILINE, 0,
                0, 10, 10, tabs->m_hWnd, nullptr);
  bar->AddControl("Ranks", list);
  bar->AddControl("Notes", notes);
  bar->AddControl("Log", log);
  frame->DockControlBar(bar, AFX_IDW_DOCKBAR_BOTTOM);
  bar->SetActiveTab(0);
  RunDockFrame(frame);
}

struct NamedWindow {
  const char* name;
  void (*show)();
};

const NamedWindow kWindows[] = {
    {"TkListCtrl", ShowList},
    {"TkTabCtrl", ShowTabs},
    {"TkAccelPropertySheet", ShowShortcuts},
    {"TkCheckListBox", ShowCheckList},
    {"WgUserToolsDlg", ShowUserTools},
    {"WgColorWells", ShowColorWells},
    {"TkColorPickerPopup", ShowColorPicker},
    {"TkColorDialog", ShowColorDialog},
    {"TkDockWindow-docked", ShowDockedPlain},
    {"TkDockWindow-flat", ShowDockedFlat},
    {"TkDockWindow-floating", ShowFloatingWindows},
    {"TkTabCtrlBar", ShowTabBar},
};

int Usage() {
  std::fprintf(stderr, "usage: ZBTkShowWindow --list | ZBTkShowWindow NAME\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return Usage();
  if (std::strcmp(argv[1], "--list") == 0) {
    for (const NamedWindow& window : kWindows) std::printf("%s\n", window.name);
    std::fflush(stdout);
    return 0;
  }
  for (const NamedWindow& window : kWindows) {
    if (std::strcmp(argv[1], window.name) != 0) continue;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!AfxInitLanguageModule("ZBResENU.dll", "ZBTkShowWindow")) return 1;
    window.show();
    return 0;
  }
  std::fprintf(stderr, "ZBTkShowWindow: no window named \"%s\"\n", argv[1]);
  return Usage();
}
