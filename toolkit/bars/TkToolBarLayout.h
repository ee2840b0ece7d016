// The toolbar's arithmetic, kept apart from the window so that it can be checked without one:
// the button style word, wrapping buttons into rows, the size of the wrapped rows, the bisection
// that finds the narrowest wrap for a length, and which buttons go behind the chevron when the
// bar is too short.
//
// The buttons are the control's records (TBBUTTON; 32 bytes in a 64-bit build, not the 20 of a
// 32-bit one) held with their enabled bit inverted, so that 0x04 means disabled; the sizes are
// each button's item rectangle as the control reports it while the button is not wrapped.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>

// Along-the-bar room kept for the chevron when buttons are hidden, and its width across.
constexpr int kTkChevronAllowance = 13;
constexpr int kTkChevronWidth = 12;
constexpr UINT kTkChevronId = 52782;

// Longest bar length: wrapping at it keeps one row.
constexpr int kTkNoWrap = 32767;

// The framework's style word of a button: style byte low, state byte high with the enabled bit
// meaning "disabled". The record given is in the inverted form already.
inline DWORD TkButtonStyleWord(const TBBUTTON& button) {
  return MAKELONG(button.fsStyle, button.fsState);
}
inline void TkSetButtonStyleWord(TBBUTTON& button, DWORD style) {
  button.fsStyle = LOBYTE(LOWORD(style));
  button.fsState = LOBYTE(HIWORD(style));
}
// Turns a record between the control's form and the toolkit's (the same both ways).
inline void TkInvertEnabled(TBBUTTON& button) { button.fsState ^= TBSTATE_ENABLED; }

// A separator without a command id; one with an id holds a child control.
inline bool TkIsPlainSeparator(const TBBUTTON& b) {
  return (b.fsStyle & TBSTYLE_SEP) && b.idCommand == 0;
}
inline bool TkIsPlaceholder(const TBBUTTON& b) {
  return (b.fsStyle & TBSTYLE_SEP) && b.idCommand != 0;
}

// A button's size in the layout: a wrapping separator takes no width, and its width becomes the
// gap below its row.
SIZE TkGetButtonSize(const TBBUTTON* buttons, const SIZE* sizes, int index);

// Sets the wrap bits for rows at most `width` wide; returns the number of rows.
int TkWrapToolBar(TBBUTTON* buttons, const SIZE* sizes, int count, int width);

// The size the wrapped buttons take (without the chevron's room).
SIZE TkCalcSize(const TBBUTTON* buttons, const SIZE* sizes, int count);

// Wraps for a bar `length` long: horizontally the narrowest width that still gives the rows the
// length gives; vertically the rows whose height comes closest to the length.
void TkSizeToolBar(TBBUTTON* buttons, const SIZE* sizes, int count, int length, bool vertical);

// Measures the bar along its length for the buttons as they stand (hidden ones left out).
using TkMeasureFn = int (*)(const TBBUTTON* buttons, const SIZE* sizes, int count, void* context);

// Hides buttons from the end, keeping at least one visible, until the bar fits `newLength` less
// the chevron's room; each one hidden is recorded in `hidden` with the width it took. Returns
// whether anything was hidden.
bool TkHideButtonsToFit(TBBUTTON* buttons, const SIZE* sizes, int count, int oldLength,
                        int newLength, std::map<int, int>& hidden, TkMeasureFn measure,
                        void* context);

// Shows hidden buttons again in order while they fit `newLength`; returns the bar's length
// afterwards: `newLength` while buttons stay hidden, else what the buttons need (the old length
// when nothing was hidden).
int TkShowButtonsThatFit(TBBUTTON* buttons, const SIZE* sizes, int count, int oldLength,
                         int newLength, std::map<int, int>& hidden, TkMeasureFn measure,
                         void* context);
