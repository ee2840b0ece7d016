// CTkFlatComboBox: a combo box for bars. It hides the system's sunken border and shows a thin
// raised edge only while the mouse is over it or it has the focus, a sunken one while it is
// pressed; it can complete typed text from its list.
#pragma once
#include "framework/controls/ComboBox.h"

// Edge states of DrawCombo.
constexpr int kTkComboFlat = 1;
constexpr int kTkComboRaised = 2;
constexpr int kTkComboPressed = 3;

class CTkFlatComboBox : public CComboBox {
 public:
  CTkFlatComboBox() = default;
  ~CTkFlatComboBox() override = default;

  // The edge in nState with the outer ring in the two colours (the current look's combo painter
  // draws the whole control when it has one).
  virtual void DrawCombo(HDC hdc, int nState, COLORREF clrTopLeft, COLORREF clrBottomRight);
  void SetAutoComplete(BOOL bOn) { m_bAutoComplete = bOn; }
  BOOL GetAutoComplete() const { return m_bAutoComplete; }
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

  BOOL IsPressed() const { return m_bPressed; }
  BOOL IsRaised() const { return m_bRaised; }
  BOOL IsFocused() const { return m_bFocused; }
  BOOL IsDeleting() const { return m_bDeleting; }

  // Flat drawing; the owner turns it off for the normal three-dimensional look.
  BOOL m_bFlatLook = TRUE;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // One step of the 10 ms timer that watches the mouse leave.
  void TimerStep();
  // Seam: whether the mouse is over the control now.
  virtual BOOL IsMouseOver() const;
  void PaintFlat(HDC hdc);
  void OnPaint();
  void AutoComplete();

  BOOL m_bPressed = FALSE;
  BOOL m_bRaised = FALSE;
  BOOL m_bFocused = FALSE;
  BOOL m_bAutoComplete = FALSE;
  BOOL m_bDeleting = FALSE;
  BOOL m_bCompleting = FALSE;
};
