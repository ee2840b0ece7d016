// CTkFrameWnd: the toolkit's main-window class: the framework's frame plus the toolkit's
// implementation base (menus, menu bar, shortcuts), colours that follow the system's, shortcut
// texts in popup menus, the bar context menu's customise command, bar layouts checked before
// they are applied, and docking with the toolkit's classes.
#pragma once
#include "framework/frame/FrameWnd.h"
#include "toolkit/frame/TkFrameImpl.h"

class CControlBar;
class CDocument;
class CDockState;
class CMenu;
class CTkToolBar;
struct CCreateContext;
struct CRuntimeClass;

// The bar context menu's customise command.
#define ID_TK_CUSTOMIZE_TOOLBAR 52782

class CTkFrameWnd : public CFrameWnd, public CTkFrameImpl {
  DECLARE_DYNCREATE(CTkFrameWnd)
 public:
  CTkFrameWnd() = default;
  ~CTkFrameWnd() override = default;

  // Puts a new view of the class into the first pane in place of the active one (its document
  // and creation context taken from the old view when none are given).
  virtual CView* ReplaceView(CRuntimeClass* pViewClass, CDocument* pDoc = nullptr,
                             CCreateContext* pContext = nullptr);
  // Applies the layout saved under the name only when every bar it names exists here.
  virtual BOOL LoadBarState(LPCSTR lpszProfileName);
  virtual void SaveBarState(LPCSTR lpszProfileName);
  // Docks the bar just right of the neighbour, on the neighbour's side of the frame.
  virtual void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf);
  // The window's own menu, else the menu bar's.
  virtual CMenu* GetMenu() const;
  virtual BOOL AddHideableCommand(UINT nID);
  // Marks rarely used commands that the menus may hide.
  virtual BOOL AddHideableCommands(const UINT* pIDs, int nCount);
  virtual BOOL SetDockState(const CDockState& state);
  virtual void GetDockState(CDockState& state);
  using CFrameWnd::PreCreateWindow;
  // The framework's preparation, then a class of the frame's own with the icon of the id.
  virtual BOOL PreCreateWindow(CREATESTRUCTA& cs, UINT nIconID);

  // Menus drawn with the images of these toolbars.
  void InstallCoolMenus(const UINT* pToolBarIDs, int nCount);
  void InstallCoolMenus(UINT nToolBarID) { InstallCoolMenus(&nToolBarID, 1); }
  CTkMenuBar* GetMenuBar() { return &m_menuBar; }
  CTkCoolMenu* GetCoolMenu() { return &m_coolMenu; }
  void EnableDocking(DWORD dwDockStyle);
  void EnableDocking(DWORD dwDockStyle, DWORD dwFlags);
  using CFrameWnd::DockControlBar;
  void DrawMenuBar();

  BOOL PreTranslateMessage(MSG* pMsg) override;

  // The registered message by which a bar names itself before its context menu opens.
  static UINT GetBarContextMenuMessage();
  // The toolbar the customise command is for, null when none.
  static CTkToolBar* GetRememberedToolBar();

 protected:
  void OnSysColorChange();
  void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
  LRESULT OnBarContextMenu(WPARAM wParam, LPARAM lParam);
  void OnCustomizeToolBar();
  DECLARE_MESSAGE_MAP()
};
