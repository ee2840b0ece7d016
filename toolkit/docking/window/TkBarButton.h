// CTkBarButton: a caption button of a docking window (hide, expand/contract). An owner-drawn
// push button showing a 10 x 10 glyph in one of the button looks: raised 3-D, thin 3-D, or flat
// (a frame only while the mouse is over it or it is pressed). In the flat look it takes the
// caption's colours while its docking window is active. Its glyphs belong to the docking window:
// the button shows them and never destroys them.
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "toolkit/widgets/TkButton.h"

class CTkDockWindow;

// Looks of the button (its extended style word): the flat button's.
#define TKBB_FLAT TKBS_FLAT
#define TKBB_THIN3D TKBS_THIN3D

class CTkBarButton : public CTkButton {
  DECLARE_DYNAMIC(CTkBarButton)
 public:
  explicit CTkBarButton(CTkDockWindow* pDockWnd);
  ~CTkBarButton() override;

  // Shows the icon (and the pushed icon when given); the button does not take them over.
  using CTkButton::SetIcon;
  BOOL SetIcon(CSize size, HICON hIcon, HICON hIconPushed = nullptr, BOOL bRedraw = TRUE) override;
  HICON GetIcon() const { return m_hIcon; }
  // Takes bitmaps over (the one image kind the button owns).
  virtual void SetBitmaps(HBITMAP hBitmap, HBITMAP hDisabled, CSize size, BOOL bRedraw = TRUE);

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  // Frees the button's own images: its bitmaps. The icons are its docking window's.
  void CleanUpImages() override;
  void DrawIcon(HDC hdc, UINT nState, const CRect& rect) override;

 protected:
  // The face before the caption's colours: the toolkit's button face.
  COLORREF FaceColor() const;

  CTkDockWindow* m_pDockWnd;
};
