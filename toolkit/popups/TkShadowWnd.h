// CTkShadowWnd: the soft shadow a popup casts 4 pixels to the right and below. A borderless
// window directly behind the popup, cut by a region to an L of two 4-pixel strips and painted
// with a darkened copy of what lies under it on the screen. The darkening works on any device
// context, so the menu bar and the bar painters use it on their own pictures too.
#pragma once
#include <windows.h>

#include "framework/wnd/Wnd.h"
#include "toolkit/gdi/TkPicture.h"

// How far the shadow reaches beyond the popup's right and bottom edges.
constexpr int kTkShadowDepth = 4;

// The shadow window's rectangle for a popup's window rectangle.
RECT TkShadowRectFor(const RECT& rcPopup);
// The two strips of the shadow's region for its client rectangle: [0] the right strip, which
// starts 4 below the top, [1] the bottom strip, which starts 4 right of the left edge and stops
// where the right strip begins.
void TkShadowStrips(const RECT& rcClient, RECT strips[2]);
// How much a pixel of the strips is darkened at full darkness: 60 next to the popup down to 15
// at the outer edge; 0 for a pixel outside the strips.
int TkShadowWeight(int x, int y, int left, int top, int right, int bottom);

// Darkens the two strips of the rectangle (right and bottom, 4 pixels each) in place; darkness
// in percent scales the weights.
void DarkenShadowEdges(HDC hdc, int left, int top, int right, int bottom, int nDarkness);
// Copies the two strips of the rectangle from the picture (shifted by the offset) to the target.
void CopyShadowStrips(HDC hdcTarget, const RECT& rect, HDC hdcPicture, POINT ptOffset);

class CTkShadowWnd : public CWnd {
 public:
  CTkShadowWnd() = default;
  ~CTkShadowWnd() override = default;

  BOOL Create(HWND hWndPopup);
  // Keeps a copy of the screen under the rectangle (screen coordinates) to build the picture
  // from, instead of the live screen at paint time.
  void SaveScreen(int left, int top, int right, int bottom);
  // Cuts the window to its two strips; the next paint takes a fresh picture.
  void SetShadowRegion();
  // Directly behind the popup in the z-order, without moving or activating anything.
  void PlaceBehindPopup();

  int m_nDarkness = 100;
  BOOL IsPictureReady() const { return m_bPictureReady; }
  BOOL IsChild() const { return m_bChild; }
  BYTE GetMoveState() const { return m_nMoveState; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();
  void OnWindowPosChanging(WINDOWPOS* lpwp);
  void OnWindowPosChanged(WINDOWPOS* lpwp);
  void BuildPicture();

  CTkPicture m_saved;    // the screen as SaveScreen found it; empty unless asked for
  CTkPicture m_picture;  // the darkened picture the paints copy from
  BYTE m_nMoveState = 0; // 0 normal, 1 hidden while moving or sizing, 2 being shown again
  HWND m_hWndPopup = nullptr;
  BOOL m_bChild = FALSE;  // the popup is a child: so is the shadow, in the parent's coordinates
  BOOL m_bPictureReady = FALSE;
};
