// CTkToolBar: the toolkit's toolbar over the framework's: drop-down buttons that open a menu below
// themselves or tell the owner, no hot-tracking while the mouse button is held, and the buttons
// that have to go behind the chevron when the bar is too short (see TkToolBarLayout.h).
#pragma once
#include <map>
#include <string>
#include <vector>

#include "framework/core/String.h"
#include "framework/bars/ToolBar.h"
#include "toolkit/bars/TkExpButton.h"

// Sent to the owner by a drop-down button that has no menu: wParam the control's NMTOOLBARA,
// lParam the button's rectangle on the screen.
constexpr UINT WM_TK_TOOLBAR_DROPDOWN = 0x07F7;

// Posted to a bar whose buttons open menus, with a heap TkHiddenMenuRequest that the bar frees:
// open the menu of a button chosen in the chevron's popup, now that the popup is gone.
struct TkHiddenMenuRequest {
  UINT nID;
  RECT rc;  // the copy's rectangle on the screen
};
UINT TkOpenHiddenMenuMessage();

// One drop-down button: the menu whose first popup it opens (0: the owner is told instead).
struct TkDropDown {
  UINT nID = 0;
  UINT nMenuID = 0;
};

class CTkToolBar : public CToolBar {
  DECLARE_DYNAMIC(CTkToolBar)
 public:
  CTkToolBar() = default;
  ~CTkToolBar() override;

  // Beside the framework's: composes the registry names under which a customised bar keeps its
  // buttons (empty without an application registry key).
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
  // Beside the framework's: remembers the buttons as loaded, for the customise dialog's list
  // and its Reset. The images stay the caller's to give (LoadBitmap, SetBitmap or an image
  // list): the menus and the main frame bring lists of their own.
  BOOL LoadToolBar(UINT nIDResource);
  // Beside the framework's: remembers the text by command, for the customise dialog.
  BOOL SetButtonText(int nIndex, LPCSTR lpszText);
  // A button the program takes away stays away: Reset does not bring it back.
  BOOL DeleteButton(int nIndex);

  // Images (TkToolBarImages.cpp). A bitmap resource drawn in the standard greys, given the
  // user's colours, and given them again when the colours change; the bar owns the bitmap.
  BOOL LoadBitmap(LPCSTR lpszResourceName);
  BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCEA(nIDResource)); }
  // A bitmap the caller made: the bar owns it from now on, and has nothing to reload it from.
  BOOL SetBitmap(HBITMAP hbmImageWell);
  HBITMAP GetBitmap() const { return m_hbmImageWell; }
  // The stored sizes follow the control's: what the set-size messages were last accepted with.
  void SetSizes(SIZE sizeButton, SIZE sizeImage);
  SIZE GetButtonSize() const { return m_sizeButton; }
  SIZE GetImageSize() const { return m_sizeImage; }
  // Makes the bar cyHeight tall by sharing what the buttons leave between the top and bottom
  // margins.
  void SetHeight(int cyHeight);

  // The style word with the enabled bit inverted (0x40000 meaning disabled), like the records.
  UINT GetButtonStyle(int nIndex) const;
  void SetButtonStyle(int nIndex, UINT nStyle);
  // The idle update: checks may be indeterminate (2), and a disabled button is never pressed.
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  // Customisation: the control's arrangement kept under the registry names, and read back.
  BOOL SaveState();
  BOOL RestoreState();
  const CString& GetRegistryKeyName() const { return m_strRegKey; }
  const CString& GetRegistryValueName() const { return m_strRegValue; }
  BOOL IsCustomizing() const { return m_bCustomizing; }
  int GetInitialButtonCount() const { return static_cast<int>(m_initial.size()); }

  // Gives the button of nID the drop-down style and the menu nMenuID (0: tell the owner); with
  // bArrow the control draws the arrow beside the button, which keeps its own command. FALSE
  // without the button.
  BOOL AddDropDownButton(UINT nID, UINT nMenuID, BOOL bArrow);
  UINT GetDropDownMenu(UINT nID) const;
  const TkDropDown* FindDropDown(UINT nID) const;

  // The chevron: hides buttons from the end until the bar fits nLength (horizontal bars), or
  // shows them back while they fit; returns whether anything changed. The hidden buttons map
  // their index to the width they took.
  BOOL HideButtonsToFit(int nLength);
  BOOL ShowButtonsThatFit(int nLength);
  void ShowHiddenButtons();
  const std::map<int, int>& GetHiddenButtons() const { return m_hidden; }
  // Whether the bar offers its customise dialog through the chevron; off unless a program
  // turns it on.
  BOOL AllowsCustomize() const { return m_bAllowCustomize; }
  void SetAllowCustomize(BOOL bAllow) { m_bAllowCustomize = bAllow; }
  // The chevron lies down in a rebar band or on a bar lying down.
  BOOL IsHorizontalForChevron() const;

  // The bar's length on one row with the chevron's room while buttons are hidden.
  int GetRowLength() const;

  // A button record with the enabled bit inverted (0x04 meaning disabled); the setter writes
  // every field, and nothing when the record is as the control has it.
  BOOL _GetButton(int nIndex, TBBUTTON* pButton) const;
  BOOL _SetButton(int nIndex, const TBBUTTON* pButton);

  // In a rebar band (TkToolBarBand.cpp). The band asks for its sizes: all buttons ideally, at
  // least the first one and the chevron; a band resized hides the buttons that no longer fit
  // behind the chevron, or shows those that fit again.
  BOOL GetBandSize(REBARBANDINFOA* pInfo, BOOL bHorz);
  void OnBandChildSize(BOOL bHorz, const RECT& rcChild);
  // Up to the end of the first visible button, and the chevron's room.
  int GetMinimumBandSize(BOOL bHorz) const;
  BOOL IsInReBarBand() const { return m_bInReBarBand; }
  // The chevron button, once the bar is in a band; null before.
  CTkExpButton* GetChevron() { return m_wndChevron.m_hWnd ? &m_wndChevron : nullptr; }

 protected:
  LRESULT OnGetBandSizeMsg(WPARAM wParam, LPARAM lParam);
  LRESULT OnBandChildSizeMsg(WPARAM wParam, LPARAM lParam);
  // Puts the chevron at the end of a bar nLength long, shown while buttons are hidden.
  void PositionChevron(int nLength, BOOL bHorz);
  CTkExpButton m_wndChevron;
  BOOL m_bInReBarBand = FALSE;

  // The chevron popup's copies of hidden buttons: a toolbar's are commands of its frame, which
  // enables them by its handlers and carries the chosen one out. A bar whose buttons open menus
  // keeps them enabled and opens the chosen one's menu below its copy (screen rectangle).
 public:
  virtual BOOL OpensMenusFromPopup() const { return FALSE; }
  virtual void OpenHiddenButtonMenu(UINT /*nID*/, const RECT& /*rcScreen*/) {}

 protected:
  // Seams: opening the drop-down menu (returns at once in tests), and the mouse button.
  virtual void TrackDropDownMenu(HMENU hPopup, const RECT& rcButton);
  virtual BOOL IsLeftButtonDown() const;
  // Seam: a message box of the toolkit's text nIDText; returns the button pressed.
  virtual int TkMessageBox(UINT nIDText, UINT nType);

  // The customise dialog's notifications.
  void OnBeginAdjust(NMHDR* pNMHDR, LRESULT* pResult);
  void OnEndAdjust(NMHDR* pNMHDR, LRESULT* pResult);
  void OnDragRefused(NMHDR* pNMHDR, LRESULT* pResult);
  void OnCustomizeHelp(NMHDR* pNMHDR, LRESULT* pResult);
  void OnGetButtonInfo(NMHDR* pNMHDR, LRESULT* pResult);
  void OnQueryDelete(NMHDR* pNMHDR, LRESULT* pResult);
  void OnQueryInsert(NMHDR* pNMHDR, LRESULT* pResult);
  void OnReset(NMHDR* pNMHDR, LRESULT* pResult);
  void OnToolBarChange(NMHDR* pNMHDR, LRESULT* pResult);
  void AfterButtonsChanged();

  LRESULT OnOpenHiddenMenu(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);
  void OnSysColorChange();
  void OnDropDown(NMHDR* pNMHDR, LRESULT* pResult);
  void OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);
  void OnLButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  // One per button as loaded, in order; those the control reported hidden stay out of a Reset.
  struct TkInitialButton {
    TBBUTTON button;
    BOOL bHiddenAtLoad;
  };
  std::vector<TkInitialButton> m_initial;
  std::map<UINT, CString> m_textByCommand;
  CString m_strRegKey;
  CString m_strRegValue;
  BOOL m_bCustomizing = FALSE;
  BOOL m_bAllowCustomize = FALSE;

  std::vector<TkDropDown> m_dropDowns;
  std::map<int, int> m_hidden;
  int m_nDropDownPressed = -1;
  BOOL m_bTrackingCapture = FALSE;

  // Where the bitmap came from (both null when it came as a handle) and the bitmap.
  HINSTANCE m_hInstImageWell = nullptr;
  HRSRC m_hRsrcImageWell = nullptr;
  HBITMAP m_hbmImageWell = nullptr;
  SIZE m_sizeImage = {16, 15};
  SIZE m_sizeButton = {23, 22};
  // Text -> its index in the control's string pool: each text goes into the pool once.
  std::map<std::string, INT_PTR> m_stringPool;
  INT_PTR PoolString(LPCSTR lpszText);

 private:
  BOOL AddImageWell(HBITMAP hbm);
  BOOL ReplaceButton(int nIndex, const TBBUTTON& control);
  void ShowPlacedControl(const TBBUTTON& before, const TBBUTTON& after, int nIndex);
  void InvalidateChange(const TBBUTTON& before, const TBBUTTON& after, int nIndex);
  void ReadButtons(std::vector<TBBUTTON>& buttons, std::vector<SIZE>& sizes) const;
  void WriteHiddenStates(const std::vector<TBBUTTON>& buttons);
};
