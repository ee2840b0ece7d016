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
#include "toolkit/bars/TkExpMenuWnd.h"
#include "toolkit/controls/TkFlatComboBox.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/widgets/TkButton.h"
#include "toolkit/widgets/WgBrowseEdit.h"

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

// The toolkit's colours and metrics, as the program's start-up sets them.
void LoadToolkitLook() {
  ToolkitData().ReloadColors();
  ToolkitData().ComputeDerivedColors();
  ToolkitData().LoadMetrics();
}

// The chevron popup of a toolbar too short for its buttons, with the customise command.
void ShowChevronPopup() {
  LoadToolkitLook();
  CFrameWnd frame;
  if (!frame.Create(nullptr, "Chevron popup", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 420, 300)))
    return;
  CTkToolBar bar;
  bar.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP);
  bar.LoadToolBar(107);  // the main window's toolbar
  bar.SetAllowCustomize(TRUE);
  frame.RecalcLayout();
  bar.HideButtonsToFit(120);
  frame.RecalcLayout();
  frame.UpdateWindow();
  for (int i = 0; i < 20; ++i) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    ::Sleep(10);
  }
  CRect rc;
  bar.GetWindowRect(&rc);
  auto* popup = new CTkExpMenuWnd(nullptr, 0);
  popup->Create(rc.left + 120, rc.top, rc.left + 132, rc.bottom, &bar);
  RunUntilClosed(frame);
}

// The flat combo box raised as it is while it has the focus, beside the flat button's looks.
void ShowFlatControls() {
  LoadToolkitLook();
  CWnd host;
  if (!MakeHost(host, "Flat combo and buttons", 360, 200)) return;
  HFONT font = ToolkitData().GetBarFont();
  CTkFlatComboBox combo;
  combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(12, 12, 200, 200),
               &host, 100);
  combo.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font));
  for (LPCSTR item : {"All engines", "Directories", "Top ten"}) combo.AddString(item);
  combo.SetCurSel(0);
  struct Look { LPCSTR text; DWORD style; } looks[] = {
      {"Plain", 0}, {"Flat", TKBS_FLAT}, {"Thin", TKBS_THIN3D}, {"Hot fill", TKBS_HOTFILL}};
  CTkButton buttons[4];
  for (int i = 0; i < 4; ++i) {
    buttons[i].Create(looks[i].text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                      CRect(12 + i * 82, 60, 88 + i * 82, 86), &host, 101 + i);
    buttons[i].SetXButtonStyle(looks[i].style, FALSE);
  }
  host.UpdateWindow();
  combo.SetFocus();
  combo.SendMessage(WM_COMMAND, MAKEWPARAM(100, CBN_SETFOCUS), reinterpret_cast<LPARAM>(combo.m_hWnd));
  host.SendMessage(WM_COMMAND, MAKEWPARAM(100, CBN_SETFOCUS), reinterpret_cast<LPARAM>(combo.m_hWnd));
  RunUntilClosed(host);
}

// A folder edit and a file edit with their browse buttons.
void ShowBrowseEdits() {
  LoadToolkitLook();
  CWnd host;
  if (!MakeHost(host, "Browse edits", 360, 150)) return;
  HFONT font = ToolkitData().GetBarFont();
  auto label = [&](LPCSTR text, int y) {
    HWND h = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, 12, y + 3, 80, 16,
                               host.m_hWnd, nullptr, nullptr, nullptr);
    ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  };
  auto edit = [&](LPCSTR text, int y, int id) {
    HWND h = ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                               ES_AUTOHSCROLL, 96, y, 236, 22, host.m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    ::SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
  };
  label("Reports:", 16);
  edit("C:\\Reports", 16, 100);
  label("Program:", 50);
  edit("C:\\Tools\\wc.exe", 50, 101);
  CWgBrowseDirEdit folder;
  folder.Initialize(100, &host);
  CWgBrowseFileEdit file;
  file.Initialize(101, &host);
  RunUntilClosed(host);
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
    {"TkExpMenuWnd", ShowChevronPopup},
    {"TkFlatControls", ShowFlatControls},
    {"WgBrowseEdits", ShowBrowseEdits},
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
