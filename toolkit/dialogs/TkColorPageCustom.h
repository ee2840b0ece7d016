// The colour dialog's custom page: a hue/saturation field, a luminance bar for the chosen hue and
// saturation, and edits for red, green, blue, hue, saturation and luminance (0..255), all kept in
// step; every change becomes the dialog's new colour.
#pragma once
#include "toolkit/gdi/TkPicture.h"
#include "framework/controls/Static.h"
#include "framework/dialogs/PropertyPage.h"
#include "framework/gdi/Rect.h"

class CTkColorDialog;

// Hue, saturation and luminance of the colour, each 0..255 (hue and saturation 0 for greys).
void ColorToHSL255(COLORREF color, int& luminance, int& saturation, int& hue);

// Which of the page's colour controls has the keyboard focus: 0 none, 1 the field, 2 the bar.
int TkColorPageFocus();

class CTkColorTracker : public CStatic {
 public:
  ~CTkColorTracker() override;
  virtual void SetColor(COLORREF color, BOOL bMoveMarker);
  virtual COLORREF GetColor() const { return m_color; }
  virtual void SetPosition(int x, int y, BOOL bNotify);
  CPoint GetMarker() const { return m_ptMarker; }
  double GetHue() const { return m_dHue; }
  double GetSaturation() const { return m_dSaturation; }
  double GetLuminance() const { return m_dLuminance; }

  BOOL PreTranslateMessage(MSG* pMsg) override;

 protected:
  // The colour at a point of the control, or -1 outside it.
  virtual COLORREF ColorAt(int x, int y) const = 0;
  virtual void Draw(HDC hdc) = 0;
  virtual int FocusValue() const = 0;
  virtual void MoveByKey(UINT vk) = 0;
  void Redraw();
  void EndDialogOK();
  void PreSubclassWindow() override;
  int OnCreate(LPCREATESTRUCT lpCreate);
  LRESULT OnAddNotify(WPARAM, LPARAM);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnLButtonDown(UINT nFlags, CPoint point);
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnLButtonUp(UINT nFlags, CPoint point);
  void OnLButtonDblClk(UINT nFlags, CPoint point);
  void OnSetFocus(CWnd* pOld);
  void OnKillFocus(CWnd* pNew);
  DECLARE_MESSAGE_MAP()

  CTkPicture m_picture;  // drawn once, copied on every paint
  double m_dLuminance = 0, m_dSaturation = 0, m_dHue = 0;
  CPoint m_ptMarker{0, 0};
  COLORREF m_color = 0;
  BYTE m_bFirst = TRUE;
};

class CTkHueSatField : public CTkColorTracker {
 public:
  void SetColor(COLORREF color, BOOL bMoveMarker) override;
  void SetHue(double hue);
  void SetSaturation(double saturation);

 protected:
  COLORREF ColorAt(int x, int y) const override;
  void Draw(HDC hdc) override;
  int FocusValue() const override { return 1; }
  void MoveByKey(UINT vk) override;
};

class CTkLuminanceBar : public CTkColorTracker {
 public:
  void SetColor(COLORREF color, BOOL bMoveMarker) override;
  void SetLuminance(double luminance);
  void SetPosition(int x, int y, BOOL bNotify) override;
  int GetArrow() const { return m_nArrow; }
  int BarHeight() const;
  // The bar's colour at an arrow position (0 the top: white; the bar height: black).
  COLORREF ColorAtArrow(int arrow) const;

 protected:
  COLORREF ColorAt(int x, int y) const override;
  void Draw(HDC hdc) override;
  int FocusValue() const override { return 2; }
  void MoveByKey(UINT vk) override;
  int m_nArrow = 0;
};

class CTkColorPageCustom : public CPropertyPage {
  DECLARE_DYNCREATE(CTkColorPageCustom)
 public:
  explicit CTkColorPageCustom(CTkColorDialog* pDialog = nullptr);
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;

  CTkHueSatField& GetField() { return m_field; }
  CTkLuminanceBar& GetBar() { return m_bar; }
  // red, green, blue, hue, saturation, luminance
  int m_nValues[6] = {};

 protected:
  void WriteEdits();
  void ReadEdits();
  void ShowColor(COLORREF color, BOOL bAll);
  void OnRgbChange();
  void OnLumChange();
  void OnHueChange();
  void OnSatChange();
  void AfterFieldChange();
  LRESULT OnColorChanged(WPARAM wParam, LPARAM lParam);
  void OnPaint();
  DECLARE_MESSAGE_MAP()

  CTkColorDialog* m_pDialog;
  CTkHueSatField m_field;
  CTkLuminanceBar m_bar;
  // Set while the page writes its own edits: their change notices are its own doing, and
  // answering them would rewrite the other edits from half-written values.
  BOOL m_bWriting = FALSE;
};
