// CTkFlatTabPainter: the flat drawing of a tab control (pens, the four sides a strip of tabs can
// sit on) and the rule for the rectangle a tab's window takes.
#pragma once
#include "framework/gdi/Gdi.h"
#include "framework/controls/TabCtrl.h"

// Colours of the flat tab strip that the toolkit's global data does not offer yet.
COLORREF TkTabSeparatorColor();
COLORREF TkTabStripColor();

class CTkFlatTabPainter {
 public:
  CTkFlatTabPainter();
  virtual ~CTkFlatTabPainter() = default;
  CTkFlatTabPainter(const CTkFlatTabPainter&) = delete;
  CTkFlatTabPainter& operator=(const CTkFlatTabPainter&) = delete;

  // The rectangle the selected tab's window fills; empty with no selection.
  virtual void GetChildRect(CRect& rect) const;
  virtual void DrawTopTabs(CDC* pDC, const CRect& rcClient, const CRect& rcSel);
  virtual void DrawBottomTabs(CDC* pDC, const CRect& rcClient, const CRect& rcSel);
  virtual void DrawLeftTabs(CDC* pDC, const CRect& rcClient, const CRect& rcSel);
  virtual void DrawRightTabs(CDC* pDC, const CRect& rcClient, const CRect& rcSel);
  // Spaces around a label until its normal width reaches its bold width.
  virtual void PadLabel(CString& strLabel) const;
  virtual void ApplyTabFont();

  // The child rectangle for a client rectangle and the selected tab's size and row count.
  static CRect ChildRectFor(const CRect& rcClient, DWORD dwStyle, int nTabWidth, int nTabHeight,
                            int nRows);

  void SetTabWnd(CTabCtrl* pTab) { m_pTab = pTab; }
  void CreatePens();
  void ReadEdgeSize() { m_cxEdge = ::GetSystemMetrics(SM_CYEDGE); }

  BOOL m_bBoldSelected = TRUE;
  BOOL m_bBorder = TRUE;
  BOOL m_bPlainLook = FALSE;

 protected:
  void DrawLabels(CDC* pDC, const CRect& rcSel, BOOL bVertical);

  CPen m_penFrame, m_penLight, m_penFace, m_penSeparator;
  int m_cxEdge;
  CTabCtrl* m_pTab = nullptr;
};
