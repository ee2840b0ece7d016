// Shared by the owner-drawn menu tests: the language module and the toolkit's fonts, a profile of
// the test's own, menus built from tables, and a DIB section to draw items into.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/String.h"
#include "framework/app/WinApp.h"
#include "toolkit/menus/TkMenuItemData.h"

namespace menutest {

// Loads the language module once and initialises the toolkit's global data from it (fonts,
// colours, metrics); TRUE when the module is there.
BOOL PrepareToolkit();

// An application whose profile lies in a company key of its own, removed afterwards.
class ScratchProfile {
 public:
  ScratchProfile();
  ~ScratchProfile();
  ScratchProfile(const ScratchProfile&) = delete;
  ScratchProfile& operator=(const ScratchProfile&) = delete;

 private:
  CString m_company;
  std::unique_ptr<CWinApp> m_app;
};

// One item of a test menu: a command with its text, a separator (text null), or a popup of its
// own (bPopup).
struct Item {
  UINT nID;
  const char* text;
  UINT fState = 0;
  bool bPopup = false;
};
// A popup menu made of the items; the caller destroys it.
HMENU MakeMenu(const std::vector<Item>& items);

// What a test reads back of an item.
struct ItemView {
  UINT nID = 0;
  UINT fType = 0;
  UINT fState = 0;
  std::string text;
  ULONG_PTR data = 0;
  HMENU hSubMenu = nullptr;
};
ItemView ReadItem(HMENU hMenu, int nPos);
// The commands of the popup in order (0 for separators).
std::vector<UINT> Commands(HMENU hMenu);
MenuItemData* RecordAt(HMENU hMenu, int nPos);

// A 32-bit DIB section to draw into and read pixels back from (COLORREF order).
class Dib {
 public:
  Dib(int cx, int cy, COLORREF fill = RGB(1, 2, 3));
  ~Dib();
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;
  HDC Hdc() const { return m_dc; }
  COLORREF At(int x, int y) const;
  // Whether some pixel of the rectangle has the colour.
  bool Holds(const RECT& rc, COLORREF colour) const;
  // Writes the picture as a BMP file (for a look at a failing case).
  void Save(const char* path) const;

 private:
  int m_cx, m_cy;
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  DWORD* m_bits = nullptr;
};

// Dispatches everything queued for the thread.
void Pump();

// The toolkit's flat-look flag set for the life of the object.
class Look {
 public:
  explicit Look(BOOL bFlat);
  ~Look();
  Look(const Look&) = delete;
  Look& operator=(const Look&) = delete;

 private:
  BOOL m_old;
};

}  // namespace menutest
