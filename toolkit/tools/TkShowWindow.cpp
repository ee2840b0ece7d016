// ZBTkShowWindow: shows one of the toolkit's windows that the program does not make by itself,
// filled with sample values, for pictures and for a look without a host program. "--list" prints
// the names, one a line. The language module ZBResENU.dll is loaded from the tool's own folder.
// Not part of the product.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <algorithm>
#include <vector>

#include "framework/app/AfxResource.h"
#include "toolkit/tools/PictureProgram.h"
#include "toolkit/tools/TkShowToolBars.h"
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
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/menubar/TkMenuBar.h"
#include "framework/docking/DockBar.h"
#include "resources/resource.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/docking/TkDockBar.h"
#include "toolkit/docking/TkDocking.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/tests/docking/DockTestBars.h"
#include "framework/docking/DockBar.h"
#include "framework/docking/DockContext.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/docking/float/TkMiniDockFrameWnd.h"
#include "toolkit/docking/window/TkDockWindow.h"
#include "toolkit/docking/window/TkTabCtrlBar.h"
#include "toolkit/frame/TkFrameWnd.h"
#include "toolkit/core/ToolkitData.h"
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

// One colour picker popup opened under the anchor and printed into a bitmap (an open popup
// owned by a window stays unpainted in pictures on this display), then closed. The flat look
// joins its border to the anchor, which stands in for the toolbar's drop-down button.
// A picture as large as the window (its screen rectangle comes back in window), drawn by
// draw(dc) with the window's top-left corner at the picture's.
template <class Draw>
HBITMAP PictureOfWindow(HWND hWnd, CRect& window, Draw draw) {
  ::GetWindowRect(hWnd, &window);
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, window.Width(), window.Height());
  HDC dc = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  draw(dc);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return bitmap;
}

HBITMAP PrintColorPicker(CWnd& host, const CRect& anchor, BOOL bFlat) {
  CTkToolkitData& data = ToolkitData();
  data.m_bFlatLook = bFlat;
  data.m_rcDropDownButton = anchor;
  auto* popup = new CTkColorPickerPopup(TRUE, 1);
  popup->SetShadow(FALSE);
  HBITMAP bitmap = nullptr;
  // A failed creation has deleted the popup already, as its window's end does.
  if (popup->Create(anchor, &host, TKCP_40COLORS | TKCP_MORECOLORS, RGB(51, 153, 102),
                    RGB(0, 0, 0))) {
    CRect window;
    bitmap = PictureOfWindow(popup->m_hWnd, window, [popup](HDC dc) {
      popup->SendMessage(WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT);
    });
    popup->DestroyWindow();  // deletes the popup
  }
  data.m_bFlatLook = FALSE;
  data.m_rcDropDownButton = CRect();
  return bitmap;
}

// The colour picker popup with the 40-colour palette, a row of recent colours and the
// more-colours button: the normal look, and the flat look joined to its button.
void ShowColorPicker() {
  ToolkitData().Initialize(AfxGetResourceHandle());
  CWnd host;
  if (!MakeHost(host, "Colour picker", 380, 260)) return;
  host.UpdateWindow();
  CTkColorPickerPopup::AddRecentColor(RGB(70, 130, 180));
  CTkColorPickerPopup::AddRecentColor(RGB(210, 105, 30));
  CRect anchor(0, 0, 40, 20);
  HBITMAP plain = PrintColorPicker(host, anchor, FALSE);
  HBITMAP flat = PrintColorPicker(host, anchor, TRUE);
  CWnd left, right;
  left.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 16, 16, 10, 10, host.m_hWnd, nullptr);
  right.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 196, 16, 10, 10, host.m_hWnd, nullptr);
  left.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(plain));
  right.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(flat));
  host.UpdateWindow();
  RunUntilClosed(host);
  ::DeleteObject(plain);
  ::DeleteObject(flat);
}

// The colour dialog with the hexadecimal value and the framed swatch (no owner: see the note on
// owned dialogs in scripts/screens).
void ShowColorDialog() {
  CTkColorDialog dialog(RGB(51, 102, 255), RGB(200, 30, 30), TKCD_SHOWHEX | TKCD_FRAMED, nullptr);
  dialog.DoModal();
}

// The popup's items measured and drawn by the cool menu into a bitmap, framed as the system
// frames a popup (an open popup owned by a window stays unpainted in pictures on this display).
// The second item is drawn selected.
HBITMAP DrawPopup(CTkCoolMenu& menus, HMENU popup, BOOL bFlat) {
  ToolkitData().m_bFlatLook = bFlat;
  menus.UpdateBoxSize();
  menus.ConvertMenu(popup, TRUE);
  if (bFlat) menus.HideRarelyUsed(popup);
  const int count = ::GetMenuItemCount(popup);
  const int frame = bFlat ? 0 : 3;
  int width = 0, height = 0;
  std::vector<MEASUREITEMSTRUCT> sizes(count);
  std::vector<ULONG_PTR> data(count);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoA(popup, i, TRUE, &info);
    data[i] = info.dwItemData;
    sizes[i].CtlType = ODT_MENU;
    sizes[i].itemData = data[i];
    menus.MeasureItem(&sizes[i]);
    width = std::max(width, static_cast<int>(sizes[i].itemWidth) + 20);
    height += static_cast<int>(sizes[i].itemHeight);
  }
  const int dlg = ::GetSystemMetrics(SM_CYDLGFRAME);
  if (bFlat) height += 2 * dlg;  // the last item's measure left the frame out
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width + 2 * frame, height + 2 * frame);
  HDC dc = ::CreateCompatibleDC(screen);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all = {0, 0, width + 2 * frame, height + 2 * frame};
  HBRUSH menuBrush = ::CreateSolidBrush(ToolkitData().m_clrMenu);
  ::FillRect(dc, &all, menuBrush);
  ::DeleteObject(menuBrush);
  if (!bFlat) ::DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
  // The flat look's items reach over the frame the flat popup no longer has.
  int y = frame;
  for (int i = 0; i < count; ++i) {
    UINT state = ::GetMenuState(popup, i, MF_BYPOSITION);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState = ((state & MF_GRAYED) ? ODS_GRAYED : 0) | ((state & MF_CHECKED) ? ODS_CHECKED : 0) |
                    (i == 1 ? ODS_SELECTED : 0);
    dis.hDC = dc;
    int left = bFlat ? ::GetSystemMetrics(SM_CXDLGFRAME) : frame;
    dis.rcItem = RECT{left, y, width + 2 * frame - left, y + static_cast<int>(sizes[i].itemHeight)};
    dis.itemData = data[i];
    menus.DrawItem(&dis);
    y += static_cast<int>(sizes[i].itemHeight);
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  menus.OnMenuSelect(0, 0xFFFF, nullptr);
  return bitmap;
}

// The program's File menu as owner-drawn popups with the main toolbar's images, a checked and a
// greyed item among them: the plain look, and the flat look with the rarely used commands
// hidden behind the chevron, as in a popup the toolkit tracks.
void ShowCoolMenu() {
  ToolkitData().Initialize(AfxGetResourceHandle());
  CWnd host;
  if (!MakeHost(host, "Owner-drawn menus", 560, 420)) return;
  CTkCoolMenu menus;
  menus.Install(&host);
  // The main toolbar as the program makes it: buttons from the toolbar resource (107), images
  // from their own strip (377, 21 by 20, magenta transparent).
  CTkToolBar bar;
  bar.CreateEx(&host, TBSTYLE_FLAT, WS_CHILD, 0xE801);
  bar.LoadToolBar(107);
  HIMAGELIST images = ::ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(377), 21,
                                             0, RGB(255, 0, 255), IMAGE_BITMAP,
                                             LR_CREATEDIBSECTION);
  bar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  menus.AddImagesFromToolbar(bar.m_hWnd);
  CMenu frameMenu;
  frameMenu.LoadMenu(107);
  HMENU file = ::GetSubMenu(frameMenu.m_hMenu, 0);
  ::CheckMenuItem(file, 0xE104, MF_CHECKED);
  ::EnableMenuItem(file, 0xE103, MF_GRAYED);
  HBITMAP plain = DrawPopup(menus, file, FALSE);
  const UINT rarely[] = {0xE104, 32805, 57606, 57612};  // Save As, export, print setup, send
  menus.AddHideableCommands(rarely, 4);
  menus.ResetUsage();
  TkMenuState().bToolkitTracking = TRUE;
  HBITMAP flat = DrawPopup(menus, file, TRUE);
  TkMenuState().bToolkitTracking = FALSE;
  CWnd left, right;
  left.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 16, 16, 10, 10, host.m_hWnd, nullptr);
  right.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP, 290, 16, 10, 10, host.m_hWnd, nullptr);
  left.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(plain));
  right.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(flat));
  host.UpdateWindow();
  RunUntilClosed(host);
  ::DeleteObject(plain);
  ::DeleteObject(flat);
  ::ImageList_Destroy(images);
}

// A frame with the menu bar docked at its top (the program's own menu) and the popup of its
// second button open, as a click on it leaves it.
void ShowMenuBar() {
  // The frame deletes itself when its window goes.
  CFrameWnd& frame = *new CFrameWnd;
  if (!frame.Create(nullptr, "Menu bar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 520, 300)))
    return;
  static CTkMenuBar bar;
  if (!bar.Create(&frame, WS_CHILD | WS_VISIBLE | CBRS_TOP) || !bar.LoadMenuBar(107))
    return;
  bar.EnableDocking(CBRS_ALIGN_ANY);
  frame.EnableDocking(CBRS_ALIGN_ANY);
  frame.DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
  frame.RecalcLayout();
  frame.UpdateWindow();
  ::SetTimer(frame.m_hWnd, 1, 300, [](HWND hWnd, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(hWnd, id);
    bar.TrackPopup(1);
  });
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

LRESULT CALLBACK ShowMDIChildProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefMDIChildProcA(hWnd, message, wParam, lParam);
}

// An MDI frame whose maximised child puts its icon and caption buttons on the menu bar.
void ShowMenuBarMDI() {
  CFrameWnd& frame = *new CFrameWnd;
  if (!frame.Create(nullptr, "Menu bar in an MDI frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                    CRect(40, 40, 560, 300)))
    return;
  CLIENTCREATESTRUCT ccs = {nullptr, kTkFirstMDIChildId};
  HWND client = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                  WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 100, 100,
                                  frame.m_hWnd, reinterpret_cast<HMENU>(AFX_IDW_PANE_FIRST),
                                  ::GetModuleHandleA(nullptr), &ccs);
  static CTkMenuBar bar;
  if (!client || !bar.Create(&frame) || !bar.LoadMenuBar(107)) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ShowMDIChildProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.hIcon = ::LoadIconA(nullptr, IDI_APPLICATION);
  wc.lpszClassName = "TkShowMDIChild";
  ::RegisterClassA(&wc);
  MDICREATESTRUCTA mcs = {"TkShowMDIChild", "Report", ::GetModuleHandleA(nullptr), 0, 0, 200, 120,
                          WS_OVERLAPPEDWINDOW, 0};
  auto child = reinterpret_cast<HWND>(::SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ::SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  bar.RefreshMDIButtons();
  frame.RecalcLayout();
  // The client takes what the bar leaves.
  CRect rect;
  frame.GetClientRect(&rect);
  CRect barRect;
  bar.GetWindowRect(&barRect);
  ::MoveWindow(client, 0, barRect.Height(), rect.Width(), rect.Height() - barRect.Height(), TRUE);
  frame.UpdateWindow();
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}
// A frame with bars docked in rows on its four edges: a toolbar and two panes on top, a pane
// on each side, a fixed bar and a pane at the bottom; the splitters lie between them.
void ShowDockedBars(DWORD dwDockBarStyle) {
  // The bars paint in the toolkit's colours and fonts.
  ToolkitData().Initialize(AfxGetResourceHandle());
  auto* frame = new CTkFrameWnd;
  if (!frame->Create(nullptr, "Docked bars", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                     CRect(40, 40, 760, 560)))
    return;
  ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "The frame's client area", WS_CHILD | WS_VISIBLE |
                    ES_MULTILINE, 0, 0, 0, 0, frame->m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr,
                    nullptr);
  TkEnableDocking(frame, CBRS_ALIGN_ANY, dwDockBarStyle);
  // Kept to the end of the process with the frame they live in.
  auto* toolBar = new CTkToolBar;
  toolBar->CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER |
                                             CBRS_SIZE_DYNAMIC, 0xE860);
  toolBar->LoadToolBar(IDR_MAINFRAME);
  // The program's button images, masked as the program masks them.
  if (HIMAGELIST images = ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_MAINBAR),
                                               21, 0, RGB(255, 0, 255), IMAGE_BITMAP,
                                               LR_CREATEDIBSECTION))
    toolBar->SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  using docktest::FixedBar;
  using docktest::SizingPane;
  auto pane = [frame](UINT id, LPCSTR title, CSize size) {
    auto* made = new SizingPane(size, CSize(40, 30));
    made->Create(frame, id, CBRS_TOP, title);
    return made;
  };
  SizingPane* output = pane(0xE861, "Output", CSize(300, 90));
  SizingPane* find = pane(0xE862, "Find Results", CSize(300, 90));
  SizingPane* projects = pane(0xE863, "Projects", CSize(150, 200));
  SizingPane* classes = pane(0xE864, "Classes", CSize(150, 200));
  SizingPane* properties = pane(0xE865, "Properties", CSize(170, 200));
  SizingPane* log = pane(0xE866, "Log", CSize(300, 70));
  auto* fixed = new FixedBar(140, 24);
  fixed->Create(frame, 0xE867, CBRS_BOTTOM | CBRS_GRIPPER, "Fixed");
  struct Place {
    CControlBar* bar;
    UINT dock;
  };
  const Place places[] = {{toolBar, AFX_IDW_DOCKBAR_TOP},     {output, AFX_IDW_DOCKBAR_TOP},
                          {find, AFX_IDW_DOCKBAR_TOP},        {projects, AFX_IDW_DOCKBAR_LEFT},
                          {classes, AFX_IDW_DOCKBAR_LEFT},    {properties, AFX_IDW_DOCKBAR_RIGHT},
                          {fixed, AFX_IDW_DOCKBAR_BOTTOM},    {log, AFX_IDW_DOCKBAR_BOTTOM}};
  for (const Place& place : places) {
    place.bar->EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(place.bar, place.dock);
  }
  // Neighbours in one row: output and find results, projects above classes, fixed beside log.
  using Rows = std::initializer_list<std::initializer_list<CControlBar*>>;
  auto joinRows = [frame](UINT dockId, Rows rows) {
    auto* dock = static_cast<CDockBar*>(frame->GetControlBar(dockId));
    dock->m_arrBars.RemoveAll();
    dock->m_arrBars.Add(nullptr);
    for (const auto& row : rows) {
      for (CControlBar* bar : row) dock->m_arrBars.Add(bar);
      dock->m_arrBars.Add(nullptr);
    }
  };
  joinRows(AFX_IDW_DOCKBAR_TOP, {{toolBar}, {output, find}});
  joinRows(AFX_IDW_DOCKBAR_LEFT, {{projects, classes}});
  joinRows(AFX_IDW_DOCKBAR_BOTTOM, {{fixed, log}});
  for (int i = 0; i < 3; ++i) frame->RecalcLayout();
  frame->ShowWindow(SW_SHOW);
  frame->UpdateWindow();
  RunUntilClosed(*frame);
}

void ShowDockBars() { ShowDockedBars(0); }

void ShowDockBarsFlat() { ShowDockedBars(TKDS_FLAT); }
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

// The toolkit's colours and metrics, as the program's start-up sets them.
void LoadToolkitLook() {
  ToolkitData().ReloadColors();
  ToolkitData().ComputeDerivedColors();
  ToolkitData().LoadMetrics();
}

// The popup printed window by window into a picture of its size, framed as its frame is: an
// open popup owned by a window stays unpainted in pictures on this display.
HBITMAP PrintChevronPopup(HWND popup, CRect& place) {
  return PictureOfWindow(popup, place, [popup, &place](HDC dc) {
    RECT all = {0, 0, place.Width(), place.Height()};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
    for (HWND child = ::GetWindow(popup, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
      if (!::IsWindowVisible(child)) continue;
      CRect at;
      ::GetWindowRect(child, &at);
      int saved = ::SaveDC(dc);
      ::SetViewportOrgEx(dc, at.left - place.left, at.top - place.top, nullptr);
      ::SendMessageA(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
      ::RestoreDC(dc, saved);
    }
    ::DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
  });
}

// The toolbar with its last buttons behind the chevron, and the chevron's popup open below it.
void ShowChevronPopup() {
  LoadToolkitLook();
  CFrameWnd frame;
  if (!frame.Create(nullptr, "Chevron popup", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 420, 300)))
    return;
  CTkToolBar bar;
  bar.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP);
  bar.LoadToolBar(107);  // the main window's toolbar, with the program's images
  if (HIMAGELIST images = ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_MAINBAR),
                                               21, 0, RGB(255, 0, 255), IMAGE_BITMAP,
                                               LR_CREATEDIBSECTION))
    bar.SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  bar.SetAllowCustomize(TRUE);
  frame.RecalcLayout();
  bar.HideButtonsToFit(100);
  frame.RecalcLayout();
  frame.UpdateWindow();
  auto pump = [] {
    for (int i = 0; i < 20; ++i) {
      MSG msg;
      while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
      ::Sleep(10);
    }
  };
  pump();
  CRect chevron;
  if (CTkExpButton* button = bar.GetChevron()) button->GetWindowRect(&chevron);
  HWND popup = CTkExpMenuWnd::Open(nullptr, 0, chevron, &bar);
  // The program's handlers enable the buttons; this frame has none.
  if (CTkExpMenuWnd* open = CTkExpMenuWnd::FromOpenWindow(popup)) {
    CTkToolBar& hidden = open->GetHiddenToolBar();
    for (int i = 0; i < hidden.GetCount(); ++i)
      hidden.SendMessage(TB_ENABLEBUTTON, hidden.GetItemID(i), TRUE);
  }
  pump();
  CWnd picture;
  HBITMAP printed = nullptr;
  if (popup) {
    CRect place;
    printed = PrintChevronPopup(popup, place);
    CTkExpMenuWnd::Close(popup);
    frame.ScreenToClient(&place);
    // Where it opened, below the chevron.
    picture.CreateEx(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP,
                     std::max<LONG>(0, place.left), place.top, 10, 10, frame.m_hWnd, nullptr);
    picture.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(printed));
  }
  RunUntilClosed(frame);
  if (printed) ::DeleteObject(printed);
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

const NamedWindow kWindows[] = {
    {"TkListCtrl", ShowList},
    {"TkTabCtrl", ShowTabs},
    {"TkAccelPropertySheet", ShowShortcuts},
    {"TkCheckListBox", ShowCheckList},
    {"WgUserToolsDlg", ShowUserTools},
    {"WgColorWells", ShowColorWells},
    {"TkColorPickerPopup", ShowColorPicker},
    {"TkColorDialog", ShowColorDialog},
    {"TkCoolMenu", ShowCoolMenu},
    {"TkMenuBar", ShowMenuBar},
    {"TkMenuBarMDI", ShowMenuBarMDI},
    {"TkDockBars", ShowDockBars},
    {"TkDockBarsFlat", ShowDockBarsFlat},
    {"TkToolBar-docked", ShowToolBarsDocked},
    {"TkToolBar-flat", ShowToolBarsFlat},
    {"TkToolBar-floating", ShowToolBarsFloating},
    {"TkDockWindow-docked", ShowDockedPlain},
    {"TkDockWindow-flat", ShowDockedFlat},
    {"TkDockWindow-floating", ShowFloatingWindows},
    {"TkTabCtrlBar", ShowTabBar},
    {"TkExpMenuWnd", ShowChevronPopup},
    {"TkFlatControls", ShowFlatControls},
    {"WgBrowseEdits", ShowBrowseEdits},
};

}  // namespace

int main(int argc, char** argv) { return RunPictureProgram(argc, argv, kWindows, "ZBTkShowWindow"); }
