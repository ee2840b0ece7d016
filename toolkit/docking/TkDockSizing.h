// CTkDockSizing: what a dock bar needs of a bar whose length along its row and breadth across it
// the user sets (a sizing docking window). A bar takes part by deriving from it beside its
// control-bar base; the dock bar finds it with TkDockSizingOf, so it works with any CControlBar
// and treats every other bar as a fixed one.
//
// Sizes are (width, height) as the window has them; on the top and bottom dock bars the length
// is the width, on the left and right ones the height.
#pragma once
#include <windows.h>

#include "framework/gdi/Gdi.h"
#include "framework/bars/ControlBar.h"

// The toolkit style bit a sizing bar carries from the moment it is docked until its row has
// been shared out with it: the newcomer keeps its own length and the others make room.
#define TKBS_NEWLY_DOCKED 0x1000

class CTkDockSizing {
 public:
  virtual ~CTkDockSizing() = default;

  // The size the window has now (an expanded or minimised window differs from its docked size).
  virtual CSize GetCurrentSize() const = 0;
  // The size it keeps while docked; the window itself is moved by the caller.
  virtual void SetDockedSize(const CSize& size) = 0;
  // The smallest size the user may drag it to.
  virtual CSize GetMinSize() const = 0;

  // Expanded: it took the length its row neighbours gave up (see Minimize).
  virtual BOOL IsExpanded() const = 0;
  virtual void Expand(int nLength) = 0;
  // Collapses to the least length; returns the length given up.
  virtual int Minimize() = 0;
  // Back to the docked size from expanded or minimised.
  virtual void Restore() = 0;

  // The only sizing bar of its row: it has nothing to expand against.
  virtual BOOL IsAlone() const = 0;
  virtual void SetAlone(BOOL bAlone) = 0;

  // Whether the newly-docked mark is set (see TKBS_NEWLY_DOCKED); the mark lives in the bar's
  // toolkit style, which only a toolkit bar has.
  virtual BOOL IsNewlyDocked() const = 0;
  virtual void SetNewlyDocked(BOOL bNew) = 0;

  // Its own values (sizes and the like) in the bar-layout section the layout gave it
  // ("<profile>-Bar<n>", found by its "BarID"), written after the layout and read after it is
  // applied. Nothing by default.
  virtual void SaveDockState(LPCSTR /*lpszProfileName*/, int /*nSection*/) {}
  virtual void LoadDockState(LPCSTR /*lpszProfileName*/, int /*nSection*/) {}
};

// The bar's sizing side, or null for a fixed bar.
inline CTkDockSizing* TkDockSizingOf(CControlBar* pBar) {
  return pBar ? dynamic_cast<CTkDockSizing*>(pBar) : nullptr;
}
