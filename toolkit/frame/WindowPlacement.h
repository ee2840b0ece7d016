// WindowPlacement: keeps a window's place (position, size, maximised or not) as one binary value
// in the toolkit's profile store and puts it back at the next start. The value is this record: a word
// (0) and the system's WINDOWPLACEMENT, 48 bytes, under the toolkit's placement section and an
// entry of the caller's (a default entry when it gives none).
#pragma once
#include <windows.h>

class CWnd;

class WindowPlacement {
 public:
  WindowPlacement();

  // Writes the window's placement. Without an entry name a minimised or hidden window is stored
  // as shown normally; with one the show command is stored as the system gives it.
  static BOOL SaveWindowPos(CWnd* pWnd, LPCSTR lpszEntry);
  // Applies the saved placement; FALSE (the window untouched, for the caller to show at its
  // default place) when none was saved or what was saved is damaged or off the screen.
  static BOOL LoadWindowPos(CWnd* pWnd, LPCSTR lpszEntry);
  // The saved placement, read and checked; FALSE when there is none usable. A show command that
  // would leave the window minimised or hidden comes back as shown normally.
  static BOOL ReadPlacement(LPCSTR lpszEntry, WINDOWPLACEMENT& wp);

  // The profile names: the section, and the entry used for a null name.
  static void GetProfileNames(LPCSTR lpszEntry, char* section, int cchSection, char* entry,
                              int cchEntry);

  DWORD m_dwReserved;  // always 0
  WINDOWPLACEMENT m_wp;
};
static_assert(sizeof(DWORD) + sizeof(WINDOWPLACEMENT) == 48, "the stored record is 48 bytes");
