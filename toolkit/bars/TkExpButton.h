// CTkExpButton: the small button at the end of a toolbar that shows a double chevron while the
// bar has buttons that do not fit, and a small arrow when the bar may be customised. Pressing it
// opens the hidden-buttons popup.
#pragma once
#include "framework/controls/Button.h"

class CTkExpMenuWnd;
class CTkToolBar;

class CTkExpButton : public CButton {
 public:
  CTkExpButton();
  ~CTkExpButton() override;
  // A hidden child of the toolbar with no caption and an empty rectangle.
  BOOL Create(CTkToolBar* pToolBar, UINT nID);

  // What the button shows: the chevron with hidden buttons, the arrow with customising;
  // horizontal on a bar lying down. Drawn into rect of hdc.
  static void DrawArrows(HDC hdc, const RECT& rect, BOOL bHorz, BOOL bChevron, BOOL bArrow,
                         BOOL bDisabled, BOOL bPressed);
  // Enabled while there is something to show.
  BOOL ShouldBeEnabled() const;
  void UpdateEnabled() { EnableWindow(ShouldBeEnabled()); }
  BOOL IsPopupOpen() const { return m_bPopupOpen; }

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Opens the hidden-buttons popup over the area; FALSE when none stays open (the plain menu
  // of them has run and ended instead).
  virtual BOOL OpenPopup(const RECT& rcScreen);

  // Customising from the popup's entry: the toolbar's own dialog, then the frame's layout.
  void OnCustomize();

  CTkToolBar* m_pToolBar = nullptr;
  BOOL m_bPopupOpen = FALSE;
  // The open popup's window. The popup owns itself and is deleted with its window, so the
  // button keeps only the handle and asks whether a popup still stands behind it.
  HWND m_hWndPopup = nullptr;
};

// Sent to the button by its popup when the popup closes.
constexpr UINT WM_TK_EXPPOPUP_CLOSED = 0x0803;
