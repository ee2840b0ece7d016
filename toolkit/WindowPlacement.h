// WindowPlacement: keeps a window's place (position, size, maximised or not) in the program's
// profile under an entry of its own, and puts it back at the next start.
#pragma once
#include <windows.h>

class CWnd;

class WindowPlacement {
 public:
  // Writes the window's placement under the section named by lpszEntry.
  static BOOL SaveWindowPos(CWnd* pWnd, LPCSTR lpszEntry);
  // Applies the saved placement and shows the window with its saved show command; FALSE (the
  // window untouched) when none was saved or what was saved is damaged or off the screen.
  static BOOL LoadWindowPos(CWnd* pWnd, LPCSTR lpszEntry);
  // The saved placement, read and checked; FALSE when there is none usable.
  static BOOL ReadPlacement(LPCSTR lpszEntry, WINDOWPLACEMENT& wp);
};
