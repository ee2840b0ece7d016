// CTkDockBar: the toolkit's dock site along one edge of a frame. It lays its bars out in rows
// (columns on the left and right edges), mixing fixed bars (toolbars, the menu bar) with sizing
// bars (CTkDockSizing) whose lengths are shared out to fill their row, puts splitters between
// rows and between neighbouring sizing bars, lets the user drag them, paints itself off-screen
// and offers a menu of the frame's bars on a right click.
#pragma once
#include <vector>

#include "framework/docking/DockBar.h"
#include "toolkit/docking/TkDockSizing.h"

class CTkDockSplitter;
class CFrameWnd;

// Toolkit style bits of a dock site.
#define TKDS_FLAT 0x0080           // fixed bars keep their borders; splitters flat, solid tracker
#define TKDS_NO_OUTER_EDGE 0x0100  // splitters without the window-frame coloured outer line

// Splitter kinds by the line they draw: a vertical strip moves sideways, a horizontal one up
// and down.
enum { TKSPLIT_VERT = 1, TKSPLIT_HORZ = 2 };

class CTkDockBar : public CDockBar {
  DECLARE_DYNAMIC(CTkDockBar)
 public:
  CTkDockBar();
  ~CTkDockBar() override;

  // A sizing bar is marked newly docked first, so that its row makes room for it.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = nullptr) override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  void DoPaint(CDC* pDC) override;
  // Picks the splitter under the screen point and its cursor (none while another window has
  // the mouse captured).
  virtual void HitTestSplitters(CPoint ptScreen);

  BOOL IsHorz() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  // Left and top: row 1 at the frame's edge, later rows towards the client area.
  BOOL IsOuterFirst() const { return (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP)) != 0; }
  DWORD GetDockBarStyle() const { return m_dwDockBarStyle; }
  void SetDockBarStyle(DWORD dwStyle) { m_dwDockBarStyle = dwStyle; }

  // --- rows (nPos an index in m_arrBars; a row runs to the next null entry) ---
  CTkDockSizing* GetDockWindow(CControlBar* pBar) const;
  BOOL IsLastInRow(int nPos) const;
  int GetRowStart(CControlBar* pBar) const;
  int GetRowEnd(int nPos) const;  // the index of the null ending nPos's row
  // The next visible bar of nPos's row after nPos, -1 when none.
  int GetNextVisible(int nPos) const;
  int GetDockWindowCount(int nPos, CControlBar* pExclude = nullptr) const;
  int GetRowThickness(int nPos, CControlBar* pExclude = nullptr) const;
  int GetFixedBarThickness(int nPos, CControlBar* pExclude = nullptr) const;
  int GetDockWindowsLength(int nPos, CControlBar* pExclude = nullptr) const;
  int GetDockWindowsMinLength(int nPos, CControlBar* pExclude = nullptr) const;
  int GetFixedLength(int nPos, CControlBar* pExclude = nullptr) const;
  CControlBar* GetNewDockWindow(int nPos) const;
  CControlBar* GetFirstDockWindow(int nPos) const;
  CControlBar* GetExpandedWindow(int nPos) const;
  // The room across the dock bar that the frame's client area could still give to a row.
  int GetAvailableThickness() const;

  // --- resizing ---
  int SetRowThickness(int nPos, int nThickness);
  // Give nDelta of length to the sizing bars before nPos (backwards) or from nPos on; each
  // keeps at least its minimum. Returns what could not be placed.
  int ResizeBefore(int nPos, int nDelta);
  int ResizeAfter(int nPos, int nDelta);
  void ExpandWindow(CControlBar* pBar, BOOL bRecalc);
  void RestoreRow(CControlBar* pBar, BOOL bRecalc);
  void DistributeRow(int nPos);
  void RemoveRowBorders(int nPos, DWORD dwBorder, BOOL bDockWindowsOnly);

  // --- splitters ---
  void AddSplitter(const CRect& rect, int nType, BOOL bRowSplitter, int nIndex);
  void RemoveAllSplitters();
  void SetSplitterLength(int nFirst, int nType, int nLength);
  int GetSplitterCount() const { return static_cast<int>(m_splitters.size()); }
  CTkDockSplitter* GetSplitter(int i) const { return m_splitters[static_cast<size_t>(i)]; }
  int GetHoveredSplitter() const { return m_nHovered; }
  BOOL IsTracking() const { return m_bTracking; }

  // The frame the bars dock in (the dock site), or null.
  CFrameWnd* GetDockSite() const;
  // Builds the popup of the frame's bars (docking windows, toolbars, other bars, status bars);
  // null when there is none to list.
  static HMENU BuildBarMenu(CFrameWnd* pFrame);

 protected:
  // The length of the bar along this dock bar's rows and its breadth across them.
  int LengthOf(const CSize& size) const { return IsHorz() ? size.cx : size.cy; }
  int BreadthOf(const CSize& size) const { return IsHorz() ? size.cy : size.cx; }
  CSize MakeSize(int nLength, int nBreadth) const {
    return IsHorz() ? CSize(nLength, nBreadth) : CSize(nBreadth, nLength);
  }
  // The size the bar asks for when docked here.
  CSize DockedSizeOf(CControlBar* pBar) const;
  // Gives a sizing bar its docked size and moves its window to it.
  void ApplyDockedSize(CControlBar* pBar, const CSize& size);
  BOOL IsVisibleBar(CControlBar* pBar) const;
  int LayoutLength() const;  // the length rows are shared out over
  // The frame's menu bar, which keeps a row of its own.
  virtual BOOL IsMenuBar(CControlBar* pBar) const;
  // Seam: tracks the bar menu (tests replace it, for the modal menu loop would wait for them).
  virtual void TrackBarMenu(HMENU hMenu, CPoint ptScreen, CWnd* pOwner);

  LRESULT OnTkSizeParent(WPARAM wParam, LPARAM lParam);
  LRESULT OnNcHitTest(CPoint point);
  BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  void OnNcLButtonDown(UINT nHitTest, CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnPaint();
  void OnCancel();
  void OnRButtonDown(UINT nFlags, CPoint point);
  void EndTracking();
  DECLARE_MESSAGE_MAP()

  int m_nHovered = -1;
  BOOL m_bTracking = FALSE;
  HWND m_hWndPrevFocus = nullptr;
  DWORD m_dwDockBarStyle = 0;
  std::vector<CTkDockSplitter*> m_splitters;  // owned; rebuilt by every layout pass
};
