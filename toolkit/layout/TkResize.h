// CTkResize: moves and sizes the children of a window when the window changes size. Each
// registered child follows the change of the parent's width and height by four factors, one per
// edge: (0, 0, 0, 0) stays put, (1, 1, 1, 1) follows the bottom-right corner, (0, 0, 1, 1)
// stretches. The engine also offers a size grip, minimum and maximum tracking sizes, fixed width
// or height, and keeping the parent's placement in the profile. Resizable sheets, pages and
// dialogs take it as a second base class and call Init, Size and GetMinMaxInfo from their
// handlers.
#pragma once
#include <windows.h>

#include <cstddef>

#include "framework/collections/PtrArray.h"
#include "framework/wnd/Wnd.h"
#include "toolkit/layout/TkResizeGrip.h"
#include "toolkit/layout/TkResizeRect.h"

// Resize flags.
#define TKRS_NOGRIP 0x01         // no size grip
#define TKRS_FIXEDWIDTH 0x02     // the width stays as at Init
#define TKRS_FIXEDHEIGHT 0x04    // the height stays as at Init
#define TKRS_NOMINSIZE 0x08      // the size at Init is not the least size
#define TKRS_NOCLIPCHILDREN 0x10 // the parent keeps its own clipping style
#define TKRS_NOTRANSPARENT 0x20  // group boxes and plain check boxes keep their painting

class CTkResizeItem {
 public:
  CTkResizeItem(CWnd* pWnd, const CTkResizeRect& factors, const CTkResizeRect& rect, BOOL bOwned)
      : m_pWnd(pWnd), m_factors(factors), m_rect(rect), m_bOwned(bOwned) {}
  // An object the engine made for a child without one lets go of the handle before it goes.
  virtual ~CTkResizeItem();
  CTkResizeItem(const CTkResizeItem&) = delete;
  CTkResizeItem& operator=(const CTkResizeItem&) = delete;

  CWnd* m_pWnd;
  CTkResizeRect m_factors;
  CTkResizeRect m_rect;  // parent client coordinates, with fractions
  BOOL m_bOwned;
};

// The deferred-positioning calls Size makes; tests put failing ones in their place.
struct TkDeferPosCalls {
  HDWP(WINAPI* begin)(int);
  HDWP(WINAPI* defer)(HDWP, HWND, HWND, int, int, int, int, UINT);
  BOOL(WINAPI* end)(HDWP);
  BOOL(WINAPI* setPos)(HWND, HWND, int, int, int, int, UINT);
};
TkDeferPosCalls& TkGetDeferPosCalls();

class CTkResize {
 public:
  CTkResize(CWnd* pParent, DWORD dwFlags);
  virtual ~CTkResize();
  CTkResize(const CTkResize&) = delete;
  CTkResize& operator=(const CTkResize&) = delete;

  void SetFlag(DWORD dwFlags) { m_dwFlags |= dwFlags; }
  DWORD GetFlags() const { return m_dwFlags; }

  // Registers the parent's child of that id. A second registration of the same id adds its
  // factors to the first one's.
  void SetResize(UINT nID, const CTkResizeRect& factors);
  void SetResize(UINT nID, float left, float top, float right, float bottom) {
    SetResize(nID, CTkResizeRect(left, top, right, bottom));
  }
  void SetResize(UINT nID, const CTkResizePoint& topLeft, const CTkResizePoint& bottomRight) {
    SetResize(nID, CTkResizeRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y));
  }
  // A table of registrations: every entry of it, however many it holds.
  void SetResize(const CTkResizeEntry* pEntries, int nCount);
  template <size_t N>
  void SetResize(const CTkResizeEntry (&entries)[N]) {
    SetResize(entries, static_cast<int>(N));
  }
  // A window at a given rectangle (parent client coordinates), registered as it is.
  void AddItem(CWnd* pWnd, const CTkResizeRect& factors, int left, int top, int right, int bottom);
  BOOL RemoveResize(UINT nID);
  void RemoveAllControls();

  void Init();
  void Size();
  void GetMinMaxInfo(MINMAXINFO* pMMI) const;

  void SetMinSize(int cx, int cy) { m_minSize = CSize(cx, cy); }
  void SetMaxSize(int cx, int cy) { m_maxSize = CSize(cx, cy); }
  CSize GetMinSize() const { return m_minSize; }

  void LoadPlacement(LPCSTR lpszSection);
  void SavePlacement(LPCSTR lpszSection);

  int GetItemCount() const { return static_cast<int>(m_items.GetSize()); }
  CTkResizeItem* GetItem(int i) const { return static_cast<CTkResizeItem*>(m_items[i]); }
  CTkResizeGrip& GetGrip() { return m_grip; }

  // One edge step: the rectangle a child takes when its parent grew by dx and dy.
  static CTkResizeRect Advance(const CTkResizeRect& rect, const CTkResizeRect& factors, int dx,
                               int dy);

 protected:
  CTkResizeItem* FindItem(UINT nID) const;
  void MakeTransparent(CWnd* pChild) const;

  CPtrArray m_items;
  CWnd* m_pParent;
  DWORD m_dwFlags;
  CRect m_rcWindow;  // the parent's window rectangle at the last layout
  CSize m_minSize;
  CSize m_maxSize;
  CTkResizeGrip m_grip;
};
