// The toolkit's toolbar as the user meets it outside a rebar: docked at each edge of a frame,
// and floating in the toolkit's small frame, once as wide as its buttons and once narrow.
#include "toolkit/tools/TkShowToolBars.h"

#include <windows.h>

#include <commctrl.h>

#include "framework/app/AfxResource.h"
#include "framework/docking/DockBar.h"
#include "resources/resource.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/docking/TkDockBar.h"
#include "toolkit/frame/TkFrameWnd.h"

namespace {

constexpr DWORD kBarStyle =
    WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;

// A frame with an edit as its client pane and the toolkit's dock bars on every edge (its
// floating bars in the toolkit's small frame). Kept to the end of the process, as its bars are.
CTkFrameWnd* MakeToolBarFrame(LPCSTR title, const CRect& place, DWORD dwDockBarStyle) {
  // The bars paint in the toolkit's colours and fonts.
  ToolkitData().Initialize(AfxGetResourceHandle());
  auto* frame = new CTkFrameWnd;
  if (!frame->Create(nullptr, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, place))
    return nullptr;
  ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "The frame's client area",
                    WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 0, 0, frame->m_hWnd,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)), nullptr,
                    nullptr);
  frame->EnableDocking(CBRS_ALIGN_ANY, dwDockBarStyle);
  return frame;
}

// The program's main toolbar: its buttons from the toolbar resource, its images from their own
// strip masked as the program masks them (one list shared by every bar of the picture).
CTkToolBar* MakeMainToolBar(CTkFrameWnd* frame, UINT nID, LPCSTR title) {
  static const HIMAGELIST images = ::ImageList_LoadImageA(
      AfxGetResourceHandle(), MAKEINTRESOURCEA(IDB_MAINBAR), 21, 0, RGB(255, 0, 255),
      IMAGE_BITMAP, LR_CREATEDIBSECTION);
  auto* bar = new CTkToolBar;
  if (!bar->CreateEx(frame, TBSTYLE_FLAT, kBarStyle, nID) || !bar->LoadToolBar(IDR_MAINFRAME)) {
    delete bar;
    return nullptr;
  }
  if (images) bar->SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  bar->SetWindowText(title);
  bar->EnableDocking(CBRS_ALIGN_ANY);
  return bar;
}

// Floating frames made windows of their own (see FloatAt) are still this thread's.
BOOL CALLBACK SendIdleUpdate(HWND hWnd, LPARAM) {
  ::SendMessageA(hWnd, WM_IDLEUPDATECMDUI, FALSE, 0);
  return TRUE;
}

// Lays the frame out until its dock bars settle, gives every window the program's idle update
// (buttons without a handler here stay enabled, as the program's have handlers), shows the frame
// and runs it until it is closed.
void RunFrame(CTkFrameWnd* frame) {
  for (int i = 0; i < 3; ++i) frame->RecalcLayout();
  frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, FALSE, 0, TRUE, TRUE);
  ::EnumThreadWindows(::GetCurrentThreadId(), SendIdleUpdate, 0);
  frame->RecalcLayout();
  frame->ShowWindow(SW_SHOW);
  frame->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
  MSG msg;
  while (::IsWindow(frame->m_hWnd) && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}

void ShowDockedToolBars(LPCSTR title, BOOL bFlat) {
  CTkFrameWnd* frame = MakeToolBarFrame(title, CRect(40, 40, 760, 560), bFlat ? TKDS_FLAT : 0);
  if (!frame) return;
  ToolkitData().m_bFlatLook = bFlat;
  const struct {
    UINT nID;
    LPCSTR title;
    UINT dock;
  } places[] = {{0xE870, "Top", AFX_IDW_DOCKBAR_TOP},
                {0xE871, "Left", AFX_IDW_DOCKBAR_LEFT},
                {0xE872, "Right", AFX_IDW_DOCKBAR_RIGHT},
                {0xE873, "Bottom", AFX_IDW_DOCKBAR_BOTTOM}};
  for (const auto& place : places)
    if (CTkToolBar* bar = MakeMainToolBar(frame, place.nID, place.title))
      frame->DockControlBar(bar, place.dock);
  RunFrame(frame);
}

// Floats the bar with its top left corner at the point (screen); a width other than 0 is the
// one the bar keeps afloat, as a user leaves it after dragging the small frame's edge in.
// Without a window manager Wine leaves windows owned by another unpainted, so the small frame is
// made a window of its own.
void FloatAt(CTkFrameWnd* frame, CTkToolBar* bar, CPoint point, int width = 0) {
  frame->FloatControlBar(bar, point, CBRS_ALIGN_TOP);
  auto* floating = dynamic_cast<CFrameWnd*>(bar->GetParentFrame());
  if (!floating || floating == frame) return;
  if (width > 0) {
    bar->CalcDynamicLayout(width, LM_HORZ | LM_COMMIT);
    floating->RecalcLayout();
  }
  ::ShowWindow(floating->m_hWnd, SW_HIDE);
  ::SetWindowLongPtrA(floating->m_hWnd, GWLP_HWNDPARENT, 0);
  ::ShowWindow(floating->m_hWnd, SW_SHOWNA);
}

}  // namespace

void ShowToolBarsDocked() { ShowDockedToolBars("Toolbars docked", FALSE); }

void ShowToolBarsFlat() { ShowDockedToolBars("Toolbars docked, flat", TRUE); }

// The frame takes the left half of a 1024 x 768 screen, the floating bars lie to its right.
void ShowToolBarsFloating() {
  CTkFrameWnd* frame = MakeToolBarFrame("Toolbars floating", CRect(40, 40, 560, 440), 0);
  if (!frame) return;
  CTkToolBar* wide = MakeMainToolBar(frame, 0xE870, "Main");
  CTkToolBar* narrow = MakeMainToolBar(frame, 0xE871, "Narrow");
  if (!wide || !narrow) return;
  FloatAt(frame, wide, CPoint(600, 60));
  // About three buttons to a row.
  FloatAt(frame, narrow, CPoint(600, 200), 100);
  RunFrame(frame);
}
