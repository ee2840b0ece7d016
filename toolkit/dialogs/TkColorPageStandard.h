// The colour dialog's standard page: 144 fixed colours as hexagonal cells (a honeycomb of 127
// colours, two rows of greys, large white and black hexagons). CTkColorHexagon draws the cells
// pixel by pixel, hit-tests them pixel by pixel and follows the mouse and the arrow keys.
#pragma once
#include "toolkit/gdi/TkPicture.h"
#include <vector>

#include "framework/controls/Static.h"
#include "framework/dialogs/PropertyPage.h"
#include "framework/gdi/Rect.h"

class CTkColorDialog;

struct TkHexCell {
  int left = -1, up = -1, right = -1, down = -1;  // list positions, -1 none
  int kind = 1;                                   // 1 small, 0 large
  std::vector<POINT> pixels;                      // in drawing order; the first is the anchor
  COLORREF color = 0;
};

// The 144 cells in list order, with their pixels and links.
std::vector<TkHexCell> BuildTkHexCells();
// The first cell (list order) that holds the pixel, -1 when none does.
int TkHexHitTest(const std::vector<TkHexCell>& cells, POINT point);

class CTkColorHexagon : public CStatic {
  DECLARE_DYNAMIC(CTkColorHexagon)
 public:
  CTkColorHexagon();
  ~CTkColorHexagon() override;

  void SetColor(COLORREF color);
  COLORREF GetColor() const { return m_clrSelected; }
  CPoint GetAnchor() const { return m_ptAnchor; }
  int GetSelectedKind() const { return m_nKind; }
  const std::vector<TkHexCell>& GetCells() const { return m_cells; }
  // The cell the arrow keys start from: the first of the selected colour, else black.
  int CurrentCell() const;
  // Hit-tests; a hit on another colour selects it, tells the parent and redraws.
  void SelectAt(CPoint point);
  COLORREF HitTest(CPoint point);
  void MoveSelection(UINT vk);

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  void PreSubclassWindow() override;
  void BuildCells();
  void DrawMark(HDC hdc, const TkHexCell& cell);
  void DrawMarks(HDC hdc);
  void Redraw();
  void EndDialogOK();
  int OnCreate(LPCREATESTRUCT lpCreate);
  LRESULT OnAddNotify(WPARAM, LPARAM);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnLButtonDblClk(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  BYTE m_bFirst = TRUE;
  BOOL m_bTracking = FALSE;
  int m_nKind = 1;
  CPoint m_ptAnchor{0, 0};
  COLORREF m_clrSelected = static_cast<COLORREF>(-1);
  std::vector<TkHexCell> m_cells;
  CTkPicture m_picture;  // drawn once, copied on every paint
};

class CTkColorPageStandard : public CPropertyPage {
  DECLARE_DYNCREATE(CTkColorPageStandard)
 public:
  explicit CTkColorPageStandard(CTkColorDialog* pDialog = nullptr);
  CTkColorHexagon& GetHexagon() { return m_hexagon; }
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

 protected:
  void OnPaint();
  LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CTkColorDialog* m_pDialog;
  CTkColorHexagon m_hexagon;
};
