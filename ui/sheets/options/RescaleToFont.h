// Puts a window and its children into another font, scaling their sizes and places by the
// ratio of the two fonts' average character widths and line heights.
#pragma once
#include <windows.h>

enum class RescalePlacement { Centred, TopLeft, None };

// With Centred or TopLeft the window's client area grows or shrinks by the ratios too (its
// borders stay as they are), about its centre or from its top-left corner; None leaves the
// window's own size alone. Every child in the window's former font gets the new one (a child
// with a font of its own keeps it), and every child is scaled within the window.
void RescaleToFont(HWND window, HFONT font, RescalePlacement placement);

// A font's average character width and line height (height plus external leading).
SIZE MeasureFont(HFONT font);
