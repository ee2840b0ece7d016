// CTkButton: the toolkit's owner-drawn push button. It draws itself plain 3D, flat (a frame only
// while the mouse is over it or it is pressed), thin 3D or with a coloured hot fill, and shows an
// icon (with an optional pushed icon) or a bitmap (with a disabled one) beside or above its text.
// The browse button, the chevron and the caption buttons of the docking windows derive from it.
#pragma once
#include "framework/core/String.h"
#include "framework/controls/Button.h"
#include "framework/gdi/Rect.h"

// Extended styles; any of flat, thin 3D and hot fill turns on hover tracking.
constexpr DWORD TKBS_FLAT = 0x01;
constexpr DWORD TKBS_THIN3D = 0x02;
constexpr DWORD TKBS_IMAGEABOVE = 0x04;
constexpr DWORD TKBS_FOCUSRECT = 0x10;
constexpr DWORD TKBS_PATTERN = 0x20;
constexpr DWORD TKBS_HOTFILL = 0x40;
constexpr DWORD TKBS_TRACKMASK = TKBS_FLAT | TKBS_THIN3D | TKBS_HOTFILL;

// Posted to a toolkit window by itself to finish its set-up once created (lParam the counter).
constexpr UINT WM_TK_FINISH_SETUP = 0x0802;

class CTkButton : public CButton {
 public:
  CTkButton();
  ~CTkButton() override;

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

  virtual CTkButton& SetColors(COLORREF clrFace, COLORREF clrHilite, COLORREF clrShadow,
                               COLORREF clrText);
  virtual CTkButton& SetBtnFaceColor(COLORREF clr);
  virtual COLORREF GetBtnFaceColor() const { return m_clrFace; }
  virtual CTkButton& SetBtnHiliteColor(COLORREF clr);
  virtual CTkButton& SetBtnShadowColor(COLORREF clr);
  virtual CTkButton& SetBtnTextColor(COLORREF clr);
  virtual CTkButton& SetHotColors(COLORREF clrBorder, COLORREF clrHot, COLORREF clrPressed);
  virtual BOOL SetIcon(CSize size, UINT nIconId, UINT nPushedIconId = 0, BOOL bRedraw = TRUE);
  virtual BOOL SetIcon(CSize size, WORD wIconId, WORD wPushedIconId);
  virtual BOOL SetIcon(CSize size, HICON hIcon, HICON hPushedIcon = nullptr, BOOL bRedraw = TRUE);
  virtual BOOL SetBitmap(CSize size, UINT nBitmapId, BOOL bRedraw = TRUE);
  virtual BOOL SetTextAndImagePos(CPoint ptImage, CPoint ptText, BOOL bRedraw = TRUE);
  virtual DWORD GetXButtonStyle() const { return m_dwXStyle; }
  virtual void ResetImage();
  virtual void CleanUpImages();
  virtual void DrawIcon(HDC hdc, UINT nState, const CRect& rc);
  virtual void DrawButtonText(HDC hdc, UINT nState, const CRect& rc);
  virtual void DrawBitmap(HDC hdc, UINT nState, const CRect& rc);
  virtual CString GetButtonText(BOOL bStripAmpersands) const;
  // Where the image goes in the rectangle; bAllowShift moves it by (1, 1) when pressed.
  virtual CPoint GetImagePos(HDC hdc, UINT nState, const CRect& rc, BOOL bAllowShift);
  // Returns the old style.
  DWORD SetXButtonStyle(DWORD dwStyle, BOOL bRedraw = TRUE);

  BOOL IsHot() const { return m_bHot; }
  BOOL IsPressed() const { return m_bPressed; }
  BOOL IsTracking() const { return m_bTracking; }
  CSize GetImageSize() const { return m_sizeImage; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PreSubclassWindow() override;
  void RequestDeferredInit();
  // One step of hover tracking (timer 1).
  void TrackHover();
  // Seam: whether the cursor is over the button now (tests put the mouse where they want it).
  virtual BOOL IsCursorOver() const;
  void LoadSystemColors();
  void OnPaint();

  HICON m_hIcon = nullptr, m_hPushedIcon = nullptr;
  HBITMAP m_hBitmap = nullptr, m_hDisabledBitmap = nullptr;
  CSize m_sizeImage{0, 0};
  CPoint m_ptImage{0, 0}, m_ptText{0, 0};
  BOOL m_bExplicitPos = FALSE;
  int m_nMargin = 4;
  int m_nGap = 8;  // between image and text
  DWORD m_dwXStyle = TKBS_FLAT;
  BOOL m_bHot = FALSE, m_bPressed = FALSE, m_bTracking = FALSE;
  BOOL m_bCustomColors = FALSE;
  COLORREF m_clrText, m_clrFace, m_clrHilite, m_clrShadow;
  COLORREF m_clrHotBorder = 0, m_clrHotFill = 0, m_clrPressedFill = 0;
  BOOL m_bHotColors = FALSE;
  int m_nInitCounter = 1;
};
