// CTkBarButton: a caption button of a docking window (hide, expand/contract). An owner-drawn
// push button showing a 10 x 10 glyph in one of the button looks: raised 3-D, thin 3-D, or flat
// (a frame only while the mouse is over it or it is pressed). In the flat look it takes the
// caption's colours while its docking window is active. Its glyphs belong to the docking window:
// the button shows them and never destroys them.
#pragma once
#include <windows.h>

#include "framework/controls/Button.h"

class CTkDockWindow;

// Looks of the button (its extended style word).
#define TKBB_FLAT 0x01
#define TKBB_THIN3D 0x02

class CTkBarButton : public CButton {
  DECLARE_DYNAMIC(CTkBarButton)
 public:
  explicit CTkBarButton(CTkDockWindow* pDockWnd);
  ~CTkBarButton() override;

  // Shows the icon (and the pushed icon when given); the button does not take them over.
  virtual BOOL SetIcon(CSize size, HICON hIcon, HICON hIconPushed = nullptr, BOOL bRedraw = TRUE);
  HICON GetIcon() const { return m_hIcon; }
  // Takes bitmaps over (the one image kind the button owns).
  virtual void SetBitmaps(HBITMAP hBitmap, HBITMAP hDisabled, CSize size, BOOL bRedraw = TRUE);
  DWORD SetXButtonStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
  DWORD GetXButtonStyle() const { return m_dwXStyle; }
  BOOL IsHot() const { return m_bHot; }

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  // Frees the button's own images: its bitmaps. The icons are its docking window's.
  virtual void CleanUpImages();
  virtual void DrawIcon(CDC* pDC, UINT nState, const CRect& rect);

 protected:
  // The face before the caption's colours: the toolkit's button face.
  COLORREF FaceColor() const;
  void OnMouseMove(UINT nFlags, CPoint point);
  void OnTimer(UINT_PTR nIDEvent);
  BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  DECLARE_MESSAGE_MAP()

  CTkDockWindow* m_pDockWnd;
  HICON m_hIcon = nullptr, m_hIconPushed = nullptr;
  HBITMAP m_hBitmap = nullptr, m_hBitmapDisabled = nullptr;
  CSize m_sizeImage{0, 0};
  DWORD m_dwXStyle = TKBB_FLAT;
  BOOL m_bHot = FALSE;
};
