#include "toolkit/frame/TkFrameWnd.h"

#include "framework/app/AfxResource.h"
#include "framework/exceptions/ResourceException.h"
#include "framework/docview/Document.h"
#include "framework/docking/DockBar.h"
#include "framework/docking/DockState.h"
#include "framework/docview/CreateContext.h"
#include "framework/docview/View.h"
#include "framework/gdi/Menu.h"
#include "framework/wnd/MessageMap.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/docking/TkDocking.h"
#include "toolkit/menus/TkMenuItemData.h"
#include "toolkit/docking/float/TkMiniDockFrameWnd.h"

IMPLEMENT_DYNCREATE(CTkFrameWnd, CFrameWnd)

namespace {

// Every toolkit file registers both; registering a name twice gives the same number.
const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");

CTkToolBar* g_rememberedToolBar = nullptr;

}  // namespace

BOOL CTkFrameImpl::s_bCoolMenusInstalled = FALSE;

BEGIN_MESSAGE_MAP(CTkFrameWnd, CFrameWnd)
  ON_WM_SYSCOLORCHANGE()
  ON_WM_SETTINGCHANGE()
  ON_WM_INITMENUPOPUP()
  ON_REGISTERED_MESSAGE(g_barContextMenu, OnBarContextMenu)
  ON_COMMAND(ID_TK_CUSTOMIZE_TOOLBAR, OnCustomizeToolBar)
END_MESSAGE_MAP()

void ApplyShortcutTexts(HMENU hPopup, const CTkAccelManager& shortcuts) {
  if (!hPopup || !shortcuts.IsInitialized()) return;
  int count = ::GetMenuItemCount(hPopup);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    if (!::GetMenuItemInfoA(hPopup, i, TRUE, &info)) continue;
    // Only text commands carry a shortcut text: plain ones, and those the owner-drawn menus draw
    // from their record's text.
    const bool drawn = (info.fType & MFT_OWNERDRAW) && TkMenuItemDataFrom(info.dwItemData);
    if (info.hSubMenu || (info.fType & (MFT_SEPARATOR | MFT_BITMAP)) ||
        ((info.fType & MFT_OWNERDRAW) && !drawn))
      continue;
    const CString before = TkGetMenuItemText(hPopup, i, MF_BYPOSITION);
    if (before.IsEmpty()) continue;
    CString text = before;
    int tab = text.Find('\t');
    if (tab >= 0) text = text.Left(tab);
    CString keys;
    shortcuts.GetShortcutText(info.wID, keys);
    int comma = keys.Find(',');
    if (comma >= 0) keys = keys.Left(comma);
    if (!keys.IsEmpty()) text += "\t" + keys;
    if (text != before) TkSetMenuItemText(hPopup, i, MF_BYPOSITION, text);
  }
}

UINT CTkFrameWnd::GetBarContextMenuMessage() { return g_barContextMenu; }

CTkToolBar* CTkFrameWnd::GetRememberedToolBar() { return g_rememberedToolBar; }

CView* CTkFrameWnd::ReplaceView(CRuntimeClass* pViewClass, CDocument* pDoc,
                                CCreateContext* pContext) {
  CView* oldView = GetActiveView();
  if (!pDoc && oldView) pDoc = oldView->GetDocument();
  CCreateContext context;
  if (!pContext) {
    context.m_pNewViewClass = pViewClass;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewDocTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
    context.m_pLastView = oldView;
    context.m_pCurrentFrame = this;
    pContext = &context;
  }
  // The old view gives up the pane's id first, so the new one takes its place in the layout.
  if (oldView) oldView->SetDlgCtrlID(0);
  CWnd* created = CreateView(pContext, AFX_IDW_PANE_FIRST);
  if (!created || !created->IsKindOf(RUNTIME_CLASS(CView))) {
    if (oldView) oldView->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    return nullptr;
  }
  auto* newView = static_cast<CView*>(created);
  newView->SendMessage(WM_INITIALUPDATE);
  SetActiveView(newView);
  RecalcLayout();
  if (oldView) oldView->DestroyWindow();
  return newView;
}

BOOL CTkFrameWnd::LoadBarState(LPCSTR lpszProfileName) {
  // A layout that is damaged or names bars this frame no longer has is ignored as a whole.
  return TkLoadBarState(this, lpszProfileName);
}

void CTkFrameWnd::SaveBarState(LPCSTR lpszProfileName) { TkSaveBarState(this, lpszProfileName); }

BOOL CTkFrameWnd::SetDockState(const CDockState& state) { return CFrameWnd::SetDockState(state); }

void CTkFrameWnd::GetDockState(CDockState& state) {
  state.Clear();
  for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
    auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
    // A bar without an id cannot be named in a layout; listing it would make the layout one
    // that no frame accepts when it is read back.
    if (!bar->m_hWnd || bar->GetDlgCtrlID() == 0) continue;
    auto* info = new CControlBarInfo;
    bar->GetBarInfo(info);
    state.m_arrBarInfo.Add(info);
  }
}

void CTkFrameWnd::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf) {
  if (!pBar || !pLeftOf) return;
  RecalcLayout();
  CRect rect;
  pLeftOf->GetWindowRect(&rect);
  rect.OffsetRect(1, 0);
  DWORD style = pLeftOf->GetBarStyle();
  UINT dockBar = 0;
  if (style & CBRS_ALIGN_TOP)
    dockBar = AFX_IDW_DOCKBAR_TOP;
  else if (style & CBRS_ALIGN_BOTTOM)
    dockBar = AFX_IDW_DOCKBAR_BOTTOM;
  else if (style & CBRS_ALIGN_LEFT)
    dockBar = AFX_IDW_DOCKBAR_LEFT;
  else if (style & CBRS_ALIGN_RIGHT)
    dockBar = AFX_IDW_DOCKBAR_RIGHT;
  DockControlBar(pBar, dockBar, &rect);
}

CMenu* CTkFrameWnd::GetMenu() const {
  // Once the menu bar has taken the frame's menu over, the window has none and the bar holds it.
  CMenu* own = CFrameWnd::GetMenu();
  if (own || !m_menuBar.m_hWnd || !m_menuBar.GetMenu()) return own;
  return CMenu::FromHandle(m_menuBar.GetMenu());
}

BOOL CTkFrameWnd::AddHideableCommand(UINT nID) { return AddHideableCommands(&nID, 1); }

BOOL CTkFrameWnd::AddHideableCommands(const UINT* pIDs, int nCount) {
  if (!pIDs || nCount <= 0) return FALSE;
  BOOL result = m_menuBar.AddHideableCommands(pIDs, nCount);
  if (s_bCoolMenusInstalled) m_coolMenu.AddHideableCommands(pIDs, nCount);
  return result;
}

BOOL CTkFrameWnd::PreCreateWindow(CREATESTRUCTA& cs, UINT nIconID) {
  if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
  HINSTANCE module = TkResourceModule();
  // No cursor and no background: the frame's children cover it and set their own cursors.
  cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr,
                                     ::LoadIconA(module, MAKEINTRESOURCEA(nIconID)));
  return cs.lpszClass != nullptr;
}

void CTkFrameWnd::InstallCoolMenus(const UINT* pToolBarIDs, int nCount) {
  if (!pToolBarIDs || nCount <= 0) return;
  s_bCoolMenusInstalled = TRUE;
  m_coolMenu.Install(this);
  m_coolMenu.LoadToolbars(pToolBarIDs, nCount);
}

void CTkFrameWnd::EnableDocking(DWORD dwDockStyle) { EnableDocking(dwDockStyle, 0); }

void CTkFrameWnd::EnableDocking(DWORD dwDockStyle, DWORD dwFlags) {
  // Floating bars sit in the toolkit's small frame; the edges get the toolkit's dock bars.
  m_pFloatingFrameClass = RUNTIME_CLASS(CTkMiniDockFrameWnd);
  if (!TkEnableDocking(this, dwDockStyle, dwFlags)) AfxThrowResourceException();
}

void CTkFrameWnd::DrawMenuBar() {
  CWnd::DrawMenuBar();
  // The bar shows the frame's menu again, rebuilt.
  if (m_menuBar.m_hWnd) m_menuBar.SetMenu(nullptr, nullptr);
}

BOOL CTkFrameWnd::PreTranslateMessage(MSG* pMsg) {
  // The menu bar sees the keyboard and the mouse first, once it has a window of its own.
  if (m_menuBar.m_hWnd && m_menuBar.TranslateFrameMessage(pMsg)) return TRUE;
  return CFrameWnd::PreTranslateMessage(pMsg);
}

void CTkFrameWnd::OnSysColorChange() {
  CFrameWnd::OnSysColorChange();
  ToolkitData().ReloadColors();
}

void CTkFrameWnd::OnSettingChange(UINT uFlags, LPCSTR lpszSection) {
  CFrameWnd::OnSettingChange(uFlags, lpszSection);
  ToolkitData().ReloadColors();
  // A setting change may also be new menu or icon sizes.
  ToolkitData().LoadMetrics();
}

void CTkFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  if (pPopupMenu && m_pShortcuts && !bSysMenu) ApplyShortcutTexts(pPopupMenu->m_hMenu, *m_pShortcuts);
  CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

LRESULT CTkFrameWnd::OnBarContextMenu(WPARAM wParam, LPARAM) {
  g_rememberedToolBar = nullptr;
  auto* bar = reinterpret_cast<CControlBar*>(wParam);
  if (!bar) return -1;
  // The menu bar, a toolbar too once it joins the toolkit, offers no customising and is
  // skipped here then.
  if (bar->IsKindOf(RUNTIME_CLASS(CTkToolBar)))
    g_rememberedToolBar = static_cast<CTkToolBar*>(bar);
  return 0;
}

void CTkFrameWnd::OnCustomizeToolBar() {
  if (!g_rememberedToolBar) return;
  CTkToolBar* bar = g_rememberedToolBar;
  g_rememberedToolBar = nullptr;
  bar->SendMessage(TB_CUSTOMIZE);
}
