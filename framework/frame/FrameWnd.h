// CFrameWnd: the main window of a document: its menu, title, accelerators, control bars along its
// edges and the view in the space they leave. Commands go to the active view (and its document)
// first, then to the frame, then to the application. The frame shows help text for menu items and
// messages in the status bar's first pane and its bars' show/hide commands (the bar's id).
#pragma once
#include "framework/collections/PtrList.h"
#include "framework/bars/BarStyles.h"
#include "framework/wnd/Wnd.h"

class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;
class CDocument;
class CView;
struct CCreateContext;

// Frame styles.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L
#define FWS_SNAPTOBARS 0x00002000L

class CFrameWnd : public CWnd {
  DECLARE_DYNCREATE(CFrameWnd)
 public:
  CFrameWnd();
  ~CFrameWnd() override;

  static const CRect rectDefault;
  BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
              DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
              CWnd* pParentWnd = nullptr, LPCSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
              CCreateContext* pContext = nullptr);
  // Title (the string's first line), menu, icon and accelerators from the resource id.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
  BOOL IsFrameWnd() const override { return TRUE; }

  // --- layout and bars ---
  virtual void RecalcLayout(BOOL bNotify = TRUE);
  void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlag = reposDefault,
                      LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr,
                      BOOL bStretch = TRUE) {
    AfxRepositionBars(this, nIDFirst, nIDLast, nIDLeftOver, nFlag, lpRectParam, lpRectClient,
                      bStretch);
  }
  void AddControlBar(CControlBar* pBar);
  void RemoveControlBar(CControlBar* pBar);
  CControlBar* GetControlBar(UINT nID);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  // Lays the frame out at the next idle time instead of now.
  void DelayRecalcLayout(BOOL bNotify = TRUE);
  // Whether a layout waits for the next idle time (a modal loop that pumps its own messages
  // runs it itself).
  BOOL IsLayoutDelayed() const { return (m_nIdleFlags & idleLayout) != 0; }

  // --- docking (framework/docking) ---
  // Makes a dock bar along each edge named in dwDockStyle (CBRS_ALIGN_*).
  void EnableDocking(DWORD dwDockStyle);
  // Docks to the dock bar of that id (0: the first edge the bar allows), at the screen rectangle
  // or in a new row.
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  // Puts the bar in a small frame of its own at the screen point.
  void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  // Docks the bar again where it was before it floated (or at the rectangle).
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
  virtual CMiniDockFrameWnd* CreateFloatingFrame(DWORD dwStyle);
  // The alignment of the first allowed dock bar the screen rectangle touches, 0 for none.
  DWORD CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar = nullptr);
  void GetDockState(CDockState& state);
  // Applies a saved layout after checking it against this frame; FALSE (nothing changed) when
  // it names bars the frame lacks or is otherwise damaged.
  BOOL SetDockState(const CDockState& state);
  BOOL LoadBarState(LPCSTR lpszProfileName);
  void SaveBarState(LPCSTR lpszProfileName);
  CRuntimeClass* m_pFloatingFrameClass = nullptr;  // the floating frame's class; null: the default

  // --- views and documents ---
  CView* GetActiveView() const { return m_pViewActive; }
  virtual void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
  virtual CDocument* GetActiveDocument();
  // Makes the view's first update, activates it, shows the frame.
  void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle);
  void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
  CString GetTitle() const { return m_strTitle; }

  // --- status line ---
  void SetMessageText(LPCSTR lpszText);
  void SetMessageText(UINT nID);
  virtual CWnd* GetMessageBar();
  // The help text of a command: its string up to the first line break.
  virtual void GetMessageString(UINT nID, CString& rMessage) const;

  BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  BOOL m_bAutoMenuEnable = TRUE;  // menu items without a handler are disabled
  HACCEL m_hAccelTable = nullptr;
  UINT m_nIDHelp = 0;
  CPtrList m_listControlBars;

 protected:
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
  CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
  void PostNcDestroy() override;

  int OnCreate(LPCREATESTRUCT lpcs);
  void OnDestroy();
  void OnClose();
  void OnSize(UINT nType, int cx, int cy);
  void OnSetFocus(CWnd* pOldWnd);
  void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
  void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
  void OnEnterIdle(UINT nWhy, CWnd* pWho);
  LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
  LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
  LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  BOOL OnBarCheck(UINT nID);
  void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

  CString m_strTitle;
  CView* m_pViewActive = nullptr;
  UINT m_nIDTracking = 0;     // the menu item the user is on
  UINT m_nIDLastMessage = 0;  // the message now shown
  enum { idleLayout = 1, idleNotify = 2, idleTitle = 4 };
  UINT m_nIdleFlags = 0;
  BOOL m_bInRecalcLayout = FALSE;
  DWORD m_dwFrameStyle = 0;  // FWS_ styles given at creation
};
