// CStatusBar: the status line at the bottom of a frame, over the common status control. Its panes
// come from a list of string ids (the indicators): each pane is as wide as its string and shows
// it when enabled; a separator (id 0) as the first indicator is the stretch pane that takes the
// free width and carries the frame's messages. At idle each pane asks the command route through
// CStatusCmdUI whether it is enabled and what it says.
#pragma once
#include "framework/core/String.h"
#include "framework/bars/ControlBar.h"
#include "framework/wnd/CmdUI.h"

#define ID_SEPARATOR 0

// Pane styles.
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100  // SBT_NOBORDERS
#define SBPS_POPOUT 0x0200     // SBT_POPOUT
#define SBPS_OWNERDRAW 0x1000  // SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

struct AFX_STATUSPANE {
  UINT nID;
  UINT nStyle;
  int cxText;
  CString strText;
};

class CStatusBar : public CControlBar {
  DECLARE_DYNAMIC(CStatusBar)
 public:
  CStatusBar();
  ~CStatusBar() override;

  // dwStyle: window and CBRS_ styles; dwCtrlStyle: SBARS_SIZEGRIP for the size grip.
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
              UINT nID = AFX_IDW_STATUS_BAR);
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                UINT nID = AFX_IDW_STATUS_BAR);
  // One pane per id; the texts are the strings of the ids (empty for separators). FALSE when a
  // string is missing (its pane stays, empty).
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  int CommandToIndex(UINT nIDFind) const;  // -1 when no pane has the id
  UINT GetItemID(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  void GetPaneText(int nIndex, CString& s) const;
  CString GetPaneText(int nIndex) const;
  BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  UINT GetPaneStyle(int nIndex) const;
  void SetPaneStyle(int nIndex, UINT nStyle);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  // Gives the control the pane edges (bUpdateRects) and the texts (bUpdateText).
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

 protected:
  AFX_STATUSPANE* GetPanePtr(int nIndex) const;
  void OnSize(UINT nType, int cx, int cy);
  // The control paints its own panes, edges and grip.
  void OnPaint() { Default(); }
  void OnNcPaint() { Default(); }
  LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  AFX_STATUSPANE* m_pPanes = nullptr;
};

// The item of one pane in the idle update: Enable shows or blanks the pane, SetText sets it,
// SetCheck pops it out.
class CStatusCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetText(LPCSTR lpszText) override;
};
