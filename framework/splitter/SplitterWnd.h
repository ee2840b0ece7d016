// CSplitterWnd: a static grid of panes (views) separated by bars the user drags to share the room
// out. Each pane is a child with the id AFX_IDW_PANE_FIRST + 16 * row + column. Derived splitters
// change the look by OnDrawSplitter/OnInvertTracker and the sizes by the metric fields.
#pragma once
#include "framework/bars/BarStyles.h"
#include "framework/wnd/Wnd.h"

struct CCreateContext;
class CRuntimeClass;

class CSplitterWnd : public CWnd {
  DECLARE_DYNAMIC(CSplitterWnd)
 public:
  CSplitterWnd();
  ~CSplitterWnd() override;

  // At most 16 rows and 16 columns (the pane ids leave room for no more).
  BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols,
                    DWORD dwStyle = WS_CHILD | WS_VISIBLE, UINT nID = AFX_IDW_PANE_FIRST);
  // Makes the pane at (row, col) a new object of the view class; sizeInit is its ideal size.
  virtual BOOL CreateView(int row, int col, CRuntimeClass* pViewClass, SIZE sizeInit,
                          CCreateContext* pContext);

  int GetRowCount() const { return m_nRows; }
  int GetColumnCount() const { return m_nCols; }
  void GetRowInfo(int row, int& cyCur, int& cyMin) const;
  void SetRowInfo(int row, int cyIdeal, int cyMin);
  void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
  void SetColumnInfo(int col, int cxIdeal, int cxMin);
  virtual void RecalcLayout();

  CWnd* GetPane(int row, int col) const;
  int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
  BOOL IsChildPane(CWnd* pWnd, int* pRow, int* pCol) const;
  virtual CWnd* GetActivePane(int* pRow = nullptr, int* pCol = nullptr);
  virtual void SetActivePane(int row, int col, CWnd* pWnd = nullptr);

  enum ESplitType { splitBox, splitBar, splitIntersection, splitBorder };
  // Hit codes: row bars (dragged up and down) 101 + row, column bars 201 + column, where a row
  // bar crosses a column bar 301 + 15 * row + column.
  enum HitTestValue {
    noHit = 0,
    vSplitterBox = 1,
    hSplitterBox = 2,
    bothSplitterBox = 3,
    vSplitterBar1 = 101,
    vSplitterBar15 = 115,
    hSplitterBar1 = 201,
    hSplitterBar15 = 215,
    splitterIntersection1 = 301,
    splitterIntersection225 = 525
  };
  int HitTest(CPoint pt) const;

  // Paints one part; with a null DC the part's rectangle is invalidated instead.
  virtual void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect);
  // Inverts the outline that follows the mouse while a bar is dragged.
  virtual void OnInvertTracker(const CRect& rect);
  virtual void StartTracking(int ht);
  virtual void StopTracking(BOOL bAccept);
  virtual void TrackRowSize(int y, int row);
  virtual void TrackColumnSize(int x, int col);
  // The client rectangle less the outer border.
  virtual void GetInsideRect(CRect& rect) const;
  // The rectangle of a bar's hit code, in client coordinates (empty for other codes).
  void GetHitRect(int ht, CRect& rect) const;

  struct CRowColInfo {
    int nMinSize;    // below this the pane gets no room
    int nIdealSize;  // what the user or the program asked for
    int nCurSize;    // what the last layout gave
  };

  // Metrics: the drawn bar, the space between panes, the outer border and its share of a bar.
  int m_cxSplitter = 7, m_cySplitter = 7;
  int m_cxBorderShare = 1, m_cyBorderShare = 1;
  int m_cxSplitterGap = 7, m_cySplitterGap = 7;
  int m_cxBorder = 2, m_cyBorder = 2;

  int m_nMaxRows = 0, m_nMaxCols = 0;
  int m_nRows = 0, m_nCols = 0;
  BOOL m_bHasHScroll = FALSE, m_bHasVScroll = FALSE;
  CRowColInfo* m_pColInfo = nullptr;
  CRowColInfo* m_pRowInfo = nullptr;

  BOOL m_bTracking = FALSE, m_bTracking2 = FALSE;
  CPoint m_ptTrackOffset;
  CRect m_rectLimit;
  CRect m_rectTracker, m_rectTracker2;
  int m_htTrack = noHit;

 protected:
  // Shares the room out along one axis; the last row or column takes the rest.
  static void LayoutRowCol(CRowColInfo* pInfo, int nMax, int nSize, int nGap);
  void DrawAllSplitBars(CDC* pDC, int cxInside, int cyInside);
  int PanePos(const CRowColInfo* pInfo, int index, int start, int gap) const;

  int OnCreate(LPCREATESTRUCT lpcs);
  void OnSize(UINT nType, int cx, int cy);
  void OnPaint();
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnMouseMove(UINT nFlags, CPoint pt);
  void OnLButtonDown(UINT nFlags, CPoint pt);
  void OnLButtonUp(UINT nFlags, CPoint pt);
  void OnCancelMode();
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
};
