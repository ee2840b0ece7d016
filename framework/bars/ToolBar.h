// CToolBar: a row of command buttons over the common toolbar control, as a control bar of its
// frame. Buttons come from a TOOLBAR resource (ids in order, 0 for a separator); images are
// given as image lists. The owner (the frame) gets the buttons' commands and the notifications
// of controls placed on the bar.
#pragma once
#include "framework/core/String.h"
#include "framework/bars/ControlBar.h"
#include "framework/wnd/CmdUI.h"

// Button styles of the framework's toolbar, the control's own bits.
#define TBBS_BUTTON TBSTYLE_BUTTON
#define TBBS_SEPARATOR TBSTYLE_SEP
#define TBBS_CHECKBOX TBSTYLE_CHECK
#define TBBS_DROPDOWN TBSTYLE_DROPDOWN
#define TBBS_AUTOSIZE TBSTYLE_AUTOSIZE

// A TOOLBAR resource (type 241): the image size and the buttons' command ids, 0 for a separator.
struct ToolBarResource {
  UINT width = 0, height = 0;
  UINT ids[256] = {};
  int count = 0;
  // FALSE when it is missing or damaged.
  BOOL Load(HINSTANCE inst, LPCSTR name);
  BOOL Parse(const BYTE* data, DWORD size);
};

class CToolBar : public CControlBar {
  DECLARE_DYNAMIC(CToolBar)
 public:
  CToolBar();
  ~CToolBar() override;

  // dwCtrlStyle: TBSTYLE_* of the control; dwStyle: window and CBRS_ styles.
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, UINT nID = AFX_IDW_TOOLBAR);
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
              UINT nID = AFX_IDW_TOOLBAR) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
  }
  // The buttons of a TOOLBAR resource; FALSE when it is missing or damaged.
  BOOL LoadToolBar(UINT nIDResource);
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
  void SetSizes(SIZE sizeButton, SIZE sizeImage);

  int CommandToIndex(UINT nIDFind) const;  // -1 when no button has the id
  UINT GetItemID(int nIndex) const;
  int GetCount() const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  UINT GetButtonStyle(int nIndex) const;
  void SetButtonStyle(int nIndex, UINT nStyle);
  void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
  // A separator's iImage is its width: the room a control placed on the bar takes.
  void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
  BOOL SetButtonText(int nIndex, LPCSTR lpszText);
  CString GetButtonText(int nIndex) const;
  BOOL DeleteButton(int nIndex);
  // Puts a child window on the button at nIndex: the button becomes a separator as wide as the
  // window, which is moved onto it and kept there when the bar changes.
  BOOL PlaceControl(int nIndex, CWnd* pControl, int cxWidth);

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

  HWND GetToolBarCtrl() const { return m_hWnd; }

 protected:
  void PositionControls();
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void OnPaint() { Default(); }
  void OnNcPaint() { Default(); }
  void OnLButtonDown(UINT, CPoint) { Default(); }
  void OnLButtonDblClk(UINT, CPoint) { Default(); }
  void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

  struct Placed {
    UINT nID;
    HWND hWnd;
  };
  Placed m_placed[8] = {};
  int m_nPlaced = 0;
};

// One button in the idle update: enabling, checking and (for a button with text) its text.
class CToolCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override;
  void SetCheck(int nCheck = 1) override;
  void SetText(LPCSTR lpszText) override;
};
