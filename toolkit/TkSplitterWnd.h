// CTkSplitterWnd: the toolkit's static splitter: the framework's, with style flags and the
// hiding and showing of a column.
#pragma once
#include "framework/splitter/SplitterWnd.h"

// Splitter style flags.
#define TKSPLIT_NOFULLDRAG 0x0002  // drag an outline, never the panes themselves
#define TKSPLIT_NOSIZING 0x0008    // the user cannot move the bars

class CTkSplitterWnd : public CSplitterWnd {
  DECLARE_DYNAMIC(CTkSplitterWnd)
 public:
  CTkSplitterWnd() = default;
  ~CTkSplitterWnd() override = default;

  DWORD GetSplitterStyle() const { return m_dwSplitterStyle; }
  void SetSplitterStyle(DWORD dwStyle) { m_dwSplitterStyle = dwStyle; }

  // Takes the column's panes out of the grid (hidden, kept) and renumbers the columns right of
  // it; ShowColumn puts them back. One column may be hidden at a time.
  BOOL HideColumn(int colHide);
  BOOL ShowColumn();
  BOOL IsColumnHidden() const { return m_nHiddenCol >= 0; }
  // The hidden pane of a row, or null.
  CWnd* GetHiddenPane(int row) const;

  void StartTracking(int ht) override;

 protected:
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

  DWORD m_dwSplitterStyle = 0;
  int m_nHiddenCol = -1;
  CRowColInfo m_hiddenInfo = {};
};
