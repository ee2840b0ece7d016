// CWgColorWell: a grid of colour cells, with an optional custom cell and Other button below it;
// a choice goes to the parent as WM_WG_COLORCHOSEN, the Other button as WM_WG_OTHERCOLOR.
// CWgPopupColorWell: the same grid as a drop-down window that closes after a choice.
// WgColorWellGeometry: the grid's arithmetic (sizes, cell rectangles, keyboard moves), kept apart
// from the window so that it can be checked without one.
#pragma once
#include "framework/controls/Button.h"
#include "framework/gdi/Rect.h"
#include "toolkit/widgets/WgOwnerDrawButton.h"

// Style bit of the well: a raised double border around the grid (and wider margins).
constexpr DWORD WGCW_BORDER = 0x0001;

struct WgColorWellGeometry {
  int columns = 4;
  int rows = 5;
  int cellWidth = 15;
  int cellHeight = 15;
  int margin = 2;
  bool other = false;       // the custom cell and the Other button row
  bool customShown = false;  // the custom cell holds a colour outside the grid

  static constexpr int kGap = 2;          // between cells
  static constexpr int kOtherExtra = 6;   // the separator above the Other row
  static constexpr int kCustomDrop = 5;   // the custom cell sits this far below the separator

  // margin: 2 pixels, 4 with the border, one more with a focus frame.
  static int MarginFor(bool border, bool focusFrame) { return (border ? 4 : 2) + (focusFrame ? 1 : 0); }
  int CellCount() const { return columns * rows; }
  int CustomIndex() const { return columns * rows; }
  CSize WindowSize() const;
  // Cell index columns*rows is the custom cell.
  CRect CellRect(int column, int row) const;
  CRect CustomRect() const;
  CRect OtherButtonRect() const;
  int SeparatorY() const;
  // The cell under the point as column and row (row == rows for the custom cell); false when none.
  bool HitTest(CPoint point, int& column, int& row) const;
  // Moves the selection for an arrow key; the custom cell is row == rows.
  void Move(UINT vk, int& column, int& row) const;
};

class CWgColorWell : public CWnd {
  DECLARE_DYNAMIC(CWgColorWell)
 public:
  CWgColorWell();
  ~CWgColorWell() override;

  // A child well: dwStyle may carry WGCW_BORDER; rect gives the top-left corner (the size comes
  // from the layout).
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID, int nColumns = 4,
              int nRows = 5, BOOL bOther = FALSE);

  void SelectColor(COLORREF color);
  COLORREF GetColor() const;
  COLORREF GetCellColor(int index) const { return m_palette[index]; }
  const WgColorWellGeometry& GetGeometry() const { return m_geo; }
  int GetSelColumn() const { return m_selColumn; }
  int GetSelRow() const { return m_selRow; }
  CButton& GetOtherButton() { return m_otherButton; }

  // The grid colours: the first cells of the system's default palette (the 20 standard colours
  // when it has none).
  static int LoadGridColors(COLORREF* colors, int count);

  virtual void DrawCell(HDC hdc, int column, int row);
  virtual void DrawSelectedCell(HDC hdc, int column, int row);
  // A choice (click, Space or Enter): tells the parent.
  virtual void OnColorChosen(COLORREF color);
  virtual void OnOtherChosen();
  virtual void SelectCell(int column, int row);
  virtual BOOL CreateAsChild(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);
  virtual BOOL HasFocusFrame() const { return m_bFocusFrame; }
  virtual void ComputeLayout(CWnd* pParent);

 protected:
  void Setup(int nColumns, int nRows, BOOL bOther);
  BOOL CreateOtherButton();
  void InvalidateCell(int column, int row);
  void ChooseSelected();
  COLORREF ColorAt(int column, int row) const;
  int OnCreate(LPCREATESTRUCT lpCreate);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  UINT OnGetDlgCode();
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnSetFocus(CWnd* pOld);
  void OnKillFocus(CWnd* pNew);
  void OnSysColorChange();
  void OnOtherClicked();
  DECLARE_MESSAGE_MAP()

  WgColorWellGeometry m_geo;
  COLORREF* m_palette = nullptr;  // columns*rows cells and the custom one
  int m_selColumn = -1;
  int m_selRow = -1;
  BOOL m_bOther = FALSE;
  BOOL m_bFocusFrame = FALSE;
  BOOL m_bTracking = FALSE;
  CButton m_otherButton;
  HBRUSH m_hBackground = nullptr;
};

class CWgPopupColorWell : public CWgColorWell {
  DECLARE_DYNAMIC(CWgPopupColorWell)
 public:
  // Opens below rcBelow (screen coordinates) with the colour selected; choices go to pOwner.
  BOOL Create(const RECT& rcBelow, CWnd* pOwner, COLORREF color, int nColumns = 4, int nRows = 5,
              BOOL bOther = FALSE);
  CWnd* GetNotifyOwner() const { return m_pNotify; }

  // Where the drop-down goes: below and left-aligned, right-aligned when it would reach the
  // screen's right edge, above when it would reach the bottom.
  static CPoint PlaceBelow(const RECT& rcBelow, CSize size, CSize screen);

  void OnColorChosen(COLORREF color) override;
  void OnOtherChosen() override;
  BOOL HasFocusFrame() const override { return FALSE; }
  void Close();

 protected:
  UINT OnGetDlgCode();
  void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnActivate(UINT nState, CWnd* pOther, BOOL bMinimized);
  DECLARE_MESSAGE_MAP()

  CWnd* m_pNotify = nullptr;
  BOOL m_bClosing = FALSE;
};
