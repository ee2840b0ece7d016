#include "toolkit/menubar/TkMenuBar.h"

#include "framework/app/AfxResource.h"
#include "framework/docking/MiniDockFrameWnd.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitMenuBarIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/menus/TkMenuShared.h"

IMPLEMENT_DYNAMIC(CTkMenuBar, CTkToolBar)

namespace {

// Every toolkit file registers both; registering a name twice gives the same number.
[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");

// The module that holds the menu: the language module first, then the toolkit's, then the
// program's own file.
HINSTANCE FindMenuModule(UINT nIDMenu) {
  const HINSTANCE candidates[] = {AfxGetResourceHandle(), TkResourceModule(),
                                  ::GetModuleHandleA(nullptr)};
  for (HINSTANCE module : candidates) {
    if (module && ::FindResourceA(module, MAKEINTRESOURCEA(nIDMenu), MAKEINTRESOURCEA(4)))
      return module;  // RT_MENU
  }
  return nullptr;
}

BOOL ReadKeyboardCues() {
  BOOL cues = FALSE;
  ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0);
  return cues;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTkMenuBar, CTkToolBar)
  ON_WM_NCCALCSIZE()
  ON_WM_NCPAINT()
  ON_WM_PAINT()
  ON_WM_SIZE()
  ON_WM_SETCURSOR()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEMOVE()
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
  ON_MESSAGE(0x0806, OnFullWindowDragAsk)
  ON_MESSAGE(0x0807, OnFloatDragSizeAsk)
END_MESSAGE_MAP()

CTkMenuBar::CTkMenuBar() { m_bKeyboardCues = ReadKeyboardCues(); }

CTkMenuBar::~CTkMenuBar() {
  if (TkMenuState().pTrackingBar == this) TkMenuState().pTrackingBar = nullptr;
  m_mdiHook.HookWindow(static_cast<HWND>(nullptr));
  m_frameHook.HookWindow(static_cast<HWND>(nullptr));
  if (m_hMenu && m_hMenu != m_hMenuDefault && ::IsMenu(m_hMenu)) ::DestroyMenu(m_hMenu);
  if (m_hMenuDefault && ::IsMenu(m_hMenuDefault)) ::DestroyMenu(m_hMenuDefault);
}

BOOL CTkMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, TBSTYLE_FLAT | TBSTYLE_LIST, dwStyle, nID);
}

BOOL CTkMenuBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  // The frame's commands, not the buttons' positions, reach the frame; no tips over menu titles.
  dwStyle &= ~(CBRS_TOOLTIPS | CBRS_FLYBY);
  if (!CTkToolBar::CreateEx(pParentWnd, dwCtrlStyle | TBSTYLE_LIST, dwStyle, nID)) return FALSE;
  // Text only: no room for images beside the texts.
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  SendMessage(TB_SETIMAGELIST, 0, 0);
  ResetFont();
  // The frame: the parent, or the frame around a parent that is not one (a rebar).
  CWnd* frameWnd = pParentWnd;
  if (frameWnd && !frameWnd->IsFrameWnd() && frameWnd->GetParentFrame())
    frameWnd = frameWnd->GetParentFrame();
  if (frameWnd != pParentWnd) SetOwner(frameWnd);
  HWND frame = frameWnd ? frameWnd->m_hWnd : nullptr;
  if (frame) {
    m_frameHook.Install(this, frame);
    HMENU native = ::GetMenu(frame);
    ::SetMenu(frame, nullptr);
    if (native && native != m_hMenu && native != m_hMenuDefault) ::DestroyMenu(native);
    // An MDI frame: its client window is the one child of that class.
    HWND client = ::FindWindowExA(frame, nullptr, "MDICLIENT", nullptr);
    if (client) {
      m_hWndMDIClient = client;
      m_mdiHook.Install(this, client);
    }
  }
  SetWindowText(TkLoadString(IDS_TK_MENUBAR_TITLE));
  // A menu loaded before the window existed gets its buttons now.
  if (m_hMenu) BuildButtons();
  return TRUE;
}

BOOL CTkMenuBar::LoadMenuBar(UINT nIDMenu) {
  m_nIDMenu = nIDMenu;
  HINSTANCE module = FindMenuModule(nIDMenu);
  if (!module) return FALSE;
  HMENU menu = ::LoadMenuA(module, MAKEINTRESOURCEA(nIDMenu));
  if (!menu) return FALSE;
  if (m_hMenuDefault && m_hMenuDefault != m_hMenu && ::IsMenu(m_hMenuDefault))
    ::DestroyMenu(m_hMenuDefault);
  m_hMenuDefault = menu;
  return SetMenu(m_hMenuDefault, nullptr) == nullptr;
}

HMENU CTkMenuBar::SetMenu(HMENU hMenu, HMENU hWindowMenu) {
  if (!hMenu && !hWindowMenu) hMenu = m_hMenuDefault;
  HMENU previous = m_hMenu;
  m_hMenu = hMenu;
  BuildButtons();
  RecalcOwnerLayout();
  m_hWindowMenu = hWindowMenu;
  return previous;
}

void CTkMenuBar::BuildButtons() {
  if (!m_hWnd) return;
  SendMessage(TB_SETIMAGELIST, 0, 0);
  while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
  const BOOL vertical = (m_dwStyle & CBRS_ORIENT_VERT) && !(m_dwStyle & CBRS_FLOATING);
  int count = m_hMenu ? ::GetMenuItemCount(m_hMenu) : 0;
  for (int pos = 0; pos < count; ++pos) {
    char text[64] = {};
    if (::GetMenuStringA(m_hMenu, pos, text, 63, MF_BYPOSITION) <= 0 || text[0] == '\0')
      continue;
    TBBUTTON button = {};
    button.iBitmap = I_IMAGENONE;
    button.idCommand = pos;
    button.fsState = static_cast<BYTE>(TBSTATE_ENABLED | (vertical ? TBSTATE_WRAP : 0));
    button.fsStyle = TBSTYLE_BUTTON | TBSTYLE_AUTOSIZE;
    button.iString = -1;
    SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    CTkToolBar::SetButtonText(ButtonCount() - 1, text);
  }
  MergeInPlaceMenus();
  // A little lower than the control makes them: the bar is as high as a native menu bar.
  DWORD size = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
  if (m_cyButtonBase == 0) m_cyButtonBase = HIWORD(size);
  int height = m_cyButtonBase - ::GetSystemMetrics(SM_CYEDGE);
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(LOWORD(size), height));
  SendMessage(TB_AUTOSIZE);
  Invalidate();
}

void CTkMenuBar::RecalcOwnerLayout() {
  if (!m_hWnd) return;
  CWnd* parentFrame = GetParentFrame();
  if (parentFrame && parentFrame->IsFrameWnd()) {
    static_cast<CFrameWnd*>(parentFrame)->RecalcLayout();
    // A floating bar's small frame follows its size; the main frame lays out its docks too.
    if (parentFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
      if (CFrameWnd* dockSite = GetDockingFrame()) dockSite->RecalcLayout();
    }
  }
}

// In-place active servers need the framework's OLE document classes, which this framework does
// not have: no button is ever a server's, and nothing is passed on.
void CTkMenuBar::MergeInPlaceMenus() { m_inPlaceButtons.clear(); }

HWND CTkMenuBar::GetInPlaceTarget(UINT, WPARAM, LPARAM, BOOL& bSend) {
  bSend = FALSE;
  return nullptr;
}

CString CTkMenuBar::GetButtonText(int nIndex) const {
  TBBUTTON button = {};
  if (!m_hWnd || !SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button)))
    return CString();
  char text[128] = {};
  LRESULT length = SendMessage(TB_GETBUTTONTEXTA, button.idCommand, 0);
  if (length <= 0 || length >= static_cast<LRESULT>(sizeof text)) return CString();
  SendMessage(TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text));
  return CString(text);
}

int CTkMenuBar::ButtonCount() const {
  return m_hWnd ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
}

void CTkMenuBar::ShowMnemonics(BOOL bShow) {
  BOOL& shown = TkMenuState().bShowMnemonics;
  BOOL changed = (shown != FALSE) != (bShow != FALSE);
  shown = bShow;
  if (changed && m_hWnd) Invalidate();
}

BOOL CTkMenuBar::IsShowingMnemonics() { return TkMenuState().bShowMnemonics; }

void CTkMenuBar::SetExpandTimer(UINT nElapse, UINT_PTR nIDEvent) {
  m_nExpandElapse = nElapse;
  m_nExpandTimerId = nIDEvent;
}

BOOL CTkMenuBar::AddHideableCommand(UINT nID) {
  m_hideable.push_back(nID);
  return TRUE;
}

BOOL CTkMenuBar::AddHideableCommands(const UINT* pIDs, int nCount) {
  if (!pIDs) return FALSE;
  for (int i = 0; i < nCount; ++i)
    if (!AddHideableCommand(pIDs[i])) return FALSE;
  return TRUE;
}

int CTkMenuBar::GetTrackingState(int& nIndex) const {
  nIndex = m_nOpenIndex;
  return m_nTrackingState;
}

void CTkMenuBar::SetWrapAll(BOOL bWrap) {
  if (!m_hWnd) return;
  int count = ButtonCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STATE;
    SendMessage(TB_GETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
    BYTE state = bWrap ? static_cast<BYTE>(info.fsState | TBSTATE_WRAP)
                       : static_cast<BYTE>(info.fsState & ~TBSTATE_WRAP);
    if (state == info.fsState) continue;
    info.fsState = state;
    SendMessage(TB_SETBUTTONINFOA, i, reinterpret_cast<LPARAM>(&info));
  }
  SendMessage(TB_AUTOSIZE);
}

HWND CTkMenuBar::GetOwnerFrame() const {
  CWnd* owner = m_hWnd ? GetOwner() : nullptr;
  return owner ? owner->m_hWnd : nullptr;
}

void CTkMenuBar::ResetFont() {
  if (!m_hWnd) return;
  HFONT font = ToolkitData().m_hFontNormal ? ToolkitData().m_hFontNormal : ToolkitData().GetBarFont();
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

COLORREF CTkMenuBar::GetBackgroundColor() const { return ToolkitData().m_clrFace; }

void CTkMenuBar::SetMDIMenu(HMENU hFrameMenu, HMENU hWindowMenu) {
  if (!hFrameMenu && !hWindowMenu) return;  // the current menu stays
  SetMenu(hFrameMenu, hWindowMenu);
}

void CTkMenuBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {
  // The buttons stand for menus, not commands: none of them ever greys out.
}

INT_PTR CTkMenuBar::OnToolHitTest(CPoint, TOOLINFOA*) const { return -1; }

void CTkMenuBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  CTkToolBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
  RecalcFrame();
}

void CTkMenuBar::RecalcFrame() {
  if (m_hWnd)
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT CTkMenuBar::OnFullWindowDragAsk(WPARAM, LPARAM) { return TRUE; }
LRESULT CTkMenuBar::OnFloatDragSizeAsk(WPARAM, LPARAM) { return 0; }
