// CTkStatusBar: the framework's status bar plus panes inserted and removed after creation, child
// controls (a progress bar, an icon, an edit) hosted in panes that follow their pane when the
// bar is resized or its panes change, and painting through an off-screen DC with flat pane
// borders under the toolkit's flat look.
#pragma once
#include <vector>

#include "framework/core/String.h"
#include "framework/bars/StatusBar.h"

// One pane's settings, as GetPaneInfo gives them, and its text.
struct CTkStatusPaneInfo {
  UINT nID = 0;
  UINT nStyle = 0;
  int cxWidth = 0;
  CString strText;
};

// A control hosted in a pane.
struct CTkPaneControl {
  CWnd* pWnd = nullptr;
  UINT nID = 0;          // the pane's command id
  BOOL bAutoDelete = FALSE;  // the bar deletes the object when the record goes
};

class CTkStatusBar : public CStatusBar {
  DECLARE_DYNAMIC(CTkStatusBar)
 public:
  CTkStatusBar() = default;
  ~CTkStatusBar() override;

  BOOL GetPaneInfoEx(int nIndex, CTkStatusPaneInfo& info) const;
  BOOL SetPaneInfoEx(int nIndex, const CTkStatusPaneInfo& info);
  void SetPaneWidth(int nIndex, int cxWidth);
  // Inserts an empty pane with the id before position nIndex (the pane count appends); FALSE
  // for a position out of range or an id that has a pane already.
  BOOL AddIndicator(UINT nID, int nIndex);
  // Takes the pane out; a control hosted in it is destroyed (and deleted when auto-deleted).
  BOOL RemoveIndicator(UINT nID);
  // Hosts the window in the pane of the id; FALSE when no pane has it.
  BOOL AddControl(CWnd* pWnd, UINT nID, BOOL bAutoDelete);
  const CTkPaneControl* GetPaneControl(UINT nID) const;
  // Moves every hosted control onto its pane: the pane's rectangle, 2 pixels in unless the pane
  // has no borders.
  void PositionControls();

 protected:
  // Rebuilds the panes from the ids, each pane's settings restored from the copy.
  void RebuildPanes(const std::vector<CTkStatusPaneInfo>& panes);
  std::vector<CTkStatusPaneInfo> CopyPanes() const;
  void FreeControl(CTkPaneControl& control);

  int OnCreate(LPCREATESTRUCT lpcs);
  void OnSize(UINT nType, int cx, int cy);
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnPaint();
  DECLARE_MESSAGE_MAP()

  std::vector<CTkPaneControl> m_controls;
};
