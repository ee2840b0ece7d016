// CTkTrackedMenu: the popup menu through which the toolkit tracks every popup (the menu bar's,
// toolbar drop-downs, bar context menus). While one exists the owner-drawn menus know that a
// toolkit popup is open and may hide rarely used items; when the user picks the chevron item
// that shows them, the popup opens again with every item shown.
#pragma once
#include <windows.h>

#include "framework/gdi/Menu.h"

// The command of the chevron item at the end of a popup with hidden items.
constexpr UINT kTkMenuChevronCommand = 52783;

class CTkTrackedMenu : public CMenu {
  DECLARE_DYNAMIC(CTkTrackedMenu)

 public:
  CTkTrackedMenu();
  // Tracks a menu that someone else owns: the object never destroys it.
  explicit CTkTrackedMenu(HMENU hMenu);
  ~CTkTrackedMenu() override;

  // Shows the popup at the screen point for the owner and returns the command chosen (0 when
  // none); with bPost the command is also posted to the owner.
  UINT TrackPopupMenu(UINT nFlags, int x, int y, HWND hOwner, LPTPMPARAMS lpParams, BOOL bPost);
  UINT TrackPopupMenu(UINT nFlags, int x, int y, HWND hOwner, BOOL bPost) {
    return TrackPopupMenu(nFlags, x, y, hOwner, nullptr, bPost);
  }

  // The popup at nPos as a CMenu (temporary), null when that item has none.
  CMenu* GetPopup(int nPos) const { return GetSubMenu(nPos); }

 protected:
  // Seam: one modal tracking with TPM_RETURNCMD.
  virtual UINT TrackOnce(UINT nFlags, int x, int y, HWND hOwner, LPTPMPARAMS lpParams);

 private:
  BOOL m_bView = FALSE;  // m_hMenu is borrowed
};
