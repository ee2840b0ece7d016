// CTkSplitterWnd: the toolkit's static splitter. The framework's splitter with a flat look,
// dragging with full windows when the system drags windows that way, a lock against sizing by
// the user, one row and one column that can be hidden and shown again, and views that can be
// swapped, switched or replaced in a pane. CTkSplitterWndEx has no borders, narrower bars and a
// strip above the panes with a two-line top edge.
#pragma once
#include "framework/splitter/SplitterWnd.h"

// Splitter style flags.
#define TKSPLIT_FOCUSTRACKER 0x0001  // the tracker is a focus rectangle over the pane being sized
#define TKSPLIT_NOFULLDRAG 0x0002    // drag an outline, never the panes themselves
#define TKSPLIT_NOBORDER 0x0004      // with the flat look, no border around the panes
#define TKSPLIT_NOSIZING 0x0008      // the user cannot move the bars

class CView;

class CTkSplitterWnd : public CSplitterWnd {
  DECLARE_DYNAMIC(CTkSplitterWnd)
 public:
  CTkSplitterWnd();
  ~CTkSplitterWnd() override = default;

  // Puts back the column (row) that HideColumn (HideRow) took out; only after one.
  virtual void ShowColumn();
  // Takes the column's panes out of the grid (hidden, kept) and renumbers the columns right of
  // it. One column and one row may be hidden at a time, never the last one.
  virtual void HideColumn(int colHide);
  virtual void ShowRow();
  virtual void HideRow(int rowHide);
  // Exchanges the pane's view with another child of the splitter; FALSE when it is already
  // the pane's view.
  virtual BOOL SwapViews(int row, int col, CWnd* pView);
  // Puts pView (a child of the splitter) in the pane and hides the old view, which is returned
  // (null when pView was there already). The caller keeps both views.
  virtual CWnd* SwitchView(int row, int col, CWnd* pView);
  // Makes a new view of the class in the pane, on the old view's document; the old view is
  // hidden, not destroyed, and returned. Null when the pane holds that class or creation fails.
  virtual CWnd* ReplaceView(int row, int col, CRuntimeClass* pViewClass);
  virtual void SetSplitterStyle(DWORD dwStyle);
  virtual DWORD GetSplitterStyle() const { return m_dwSplitterStyle; }
  virtual void SetFlatLook(BOOL bFlat);
  // Draws the tracker outline (inverting with the brush); nothing while dragging full windows.
  virtual void DrawTracker(const CRect& rect, CBrush* pBrush);

  BOOL IsColumnHidden() const { return m_nHiddenCol >= 0; }
  BOOL IsRowHidden() const { return m_nHiddenRow >= 0; }
  // The hidden pane of a row (of a column), or null.
  CWnd* GetHiddenPane(int row) const;
  CWnd* GetHiddenRowPane(int col) const;
  BOOL IsFullWindowDrag() const { return m_bFullDrag; }
  BOOL IsFlatLook() const { return m_bFlatLook; }

  void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;
  void OnInvertTracker(const CRect& rect) override;
  void StartTracking(int ht) override;

 protected:
  // The system's full-window drag setting, unless the style forbids dragging panes.
  void ReadFullDragSetting();
  // Moves the trackers to the point (already less the grab offset), within the limits.
  void MoveTrackers(CPoint pt);

  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  LRESULT OnNcHitTest(CPoint point);
  void OnMouseMove(UINT nFlags, CPoint pt);
  void OnLButtonDown(UINT nFlags, CPoint pt);
  void OnLButtonUp(UINT nFlags, CPoint pt);
  void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  DECLARE_MESSAGE_MAP()

  int m_nHiddenCol = -1;
  int m_nHiddenRow = -1;
  DWORD m_dwSplitterStyle = TKSPLIT_NOFULLDRAG;
  BOOL m_bFullDrag = FALSE;
  CPoint m_ptLast{-1, -1};  // last point of a full-window drag
  BOOL m_bFlatLook = TRUE;
};

class CTkSplitterWndEx : public CTkSplitterWnd {
  DECLARE_DYNAMIC(CTkSplitterWndEx)
 public:
  CTkSplitterWndEx();
  ~CTkSplitterWndEx() override = default;

  // Whether the two-line edge is drawn along the top, and the height of the strip above the
  // panes.
  virtual void SetTopEdge(BOOL bDraw, int nInset);
  int GetTopInset() const { return m_nTopInset; }

  void GetInsideRect(CRect& rect) const override;
  // The framework's layout; then a pane with a sunken edge of its own, or a nested splitter,
  // reaches 2 pixels further each way, so that the narrow bars show as the edges' meeting line.
  void RecalcLayout() override;
  void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override;

 protected:
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnPaint();
  DECLARE_MESSAGE_MAP()

  int m_nTopInset = 6;
  BOOL m_bDrawTopEdge = TRUE;
};
