// CTkToolBar: the toolkit's toolbar, a toolkit control bar whose window is the common toolbar
// control. It lays its buttons out itself (one row docked at the top or bottom, a column at a
// side, wrapped rows while floating; TkToolBarLayout.h holds the arithmetic), paints through an
// off-screen picture with the look's painters, opens drop-down menus and colour popups, refuses
// hot-tracking while the mouse button is held, and hides the buttons that do not fit behind its
// chevron.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "framework/core/String.h"
#include "framework/wnd/CmdUI.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkExpButton.h"

// Button styles as the framework names them: the control's own bits.
#ifndef TBBS_BUTTON
#define TBBS_BUTTON TBSTYLE_BUTTON
#define TBBS_SEPARATOR TBSTYLE_SEP
#define TBBS_CHECKBOX TBSTYLE_CHECK
#define TBBS_DROPDOWN TBSTYLE_DROPDOWN
#define TBBS_AUTOSIZE TBSTYLE_AUTOSIZE
#endif

// From a colour popup to its toolbar, forwarded to the toolbar's owner (wParam the colour,
// lParam the button's command): the popup went, and a colour was chosen.
constexpr UINT WM_TK_COLORPOPUP_CLOSED = 0x07EB;
constexpr UINT WM_TK_COLORPOPUP_CHOSEN = 0x07EC;

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

// One drop-down button: the menu whose first popup it opens, or the colour popup it opens
// (with the colours and the popup's style); neither: the owner is told instead.
struct TkDropDown {
  UINT nID = 0;
  UINT nMenuID = 0;
  BOOL bShowColorBar = FALSE;  // a bar of the current colour under the image
  BOOL bColorPopup = FALSE;
  DWORD dwPopupStyle = 0;
  COLORREF clrDefault = 0;
  COLORREF clrCurrent = 0;
};

// Layout modes beside the framework's LM_* bits.
constexpr DWORD kTkLayoutStretch = 0x01, kTkLayoutHorz = 0x02, kTkLayoutMRUWidth = 0x04,
                kTkLayoutHorzDock = 0x08, kTkLayoutVertDock = 0x10, kTkLayoutLengthY = 0x20,
                kTkLayoutCommit = 0x40;

class CTkToolBar : public CTkControlBar {
  DECLARE_DYNAMIC(CTkToolBar)
 public:
  CTkToolBar();
  ~CTkToolBar() override;

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
              UINT nID = AFX_IDW_TOOLBAR) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
  }
  // dwCtrlStyle: TBSTYLE_* of the control; dwStyle: window and CBRS_ styles. Composes the
  // registry names under which a customised bar keeps its buttons (empty without an
  // application registry key).
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                UINT nID = AFX_IDW_TOOLBAR);
  // The control learns its new owner too: it sends its notifications there.
  void SetOwner(CWnd* pOwnerWnd);
  // The buttons of a TOOLBAR resource, remembered as loaded for the customise dialog's list and
  // its Reset, and the bitmap of the same id as their images when there is one (a program may
  // give image lists of its own instead).
  BOOL LoadToolBar(UINT nIDResource);
  BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
  // Remembers the text by command, for the customise dialog.
  BOOL SetButtonText(int nIndex, LPCSTR lpszText);
  CString GetButtonText(int nIndex) const;
  // A button the program takes away stays away: Reset does not bring it back.
  BOOL DeleteButton(int nIndex);

  int CommandToIndex(UINT nIDFind) const;  // -1 when no button has the id
  UINT GetItemID(int nIndex) const;
  // The control's count (the customise dialog changes it behind the bar's back).
  int GetCount() const;
  // Lays the buttons out first when that is pending.
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  // Command, style word (enabled bit inverted) and image together.
  void GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const;
  void SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage);
  HWND GetToolBarCtrl() const { return m_hWnd; }
  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

  // Child controls on placeholder buttons (separators with the control's id): the control
  // follows its button and is hidden with it. AddControl takes a control whose button is a
  // placeholder already; PlaceControl makes the button at nIndex one cxWidth wide first.
  BOOL AddControl(CWnd* pControl, BOOL bBoldFont = FALSE);
  BOOL PlaceControl(int nIndex, CWnd* pControl, int cxWidth);
  void PositionControl(CWnd* pControl);
  void PositionControls();
  BOOL ArrangeButtons();

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

  // Layout: the framework's docking asks for sizes; CalcLayout wraps the buttons for the mode
  // and length and, with kTkLayoutCommit, applies the wrap to the control.
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  virtual CSize CalcLayout(DWORD dwMode, int nLength = -1);
  void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  // Commits the layout now when something changed the buttons since the last one.
  void Layout();
  DWORD StandingLayoutMode() const;
  BOOL IsLayoutPending() const { return m_bDelayedButtonLayout; }
  void SetLayoutPending() { m_bDelayedButtonLayout = TRUE; }

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
  // A colour button: opens the colour popup with the style and colours, and with
  // bShowColorBar shows the current colour under its image.
  BOOL AddDropDownButton(UINT nID, COLORREF clrCurrent, COLORREF clrDefault, DWORD dwPopupStyle,
                         BOOL bShowColorBar, BOOL bArrow);
  UINT GetDropDownMenu(UINT nID) const;
  const TkDropDown* FindDropDown(UINT nID) const;
  TkDropDown* FindDropDown(UINT nID) {
    return const_cast<TkDropDown*>(static_cast<const CTkToolBar*>(this)->FindDropDown(nID));
  }
  // The colour popup open from this bar (null: none) and its button's command.
  HWND GetColorPopup() const { return m_hWndColorPopup; }
  int GetColorPopupCommand() const { return m_nColorPopupCmd; }
  // Fills the chevron popup's toolbar with the buttons hidden for lack of room, in rows at
  // most nWidth wide (wider when a hidden button is); returns how many were copied.
  int CopyHiddenButtons(CTkToolBar* pTarget, int nWidth);

  // The chevron: hides buttons from the end until the bar fits nLength, or shows them back
  // while they fit; returns whether anything changed. The hidden buttons map their index to the
  // width they took.
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

  // The bar's length along its orientation for the buttons as they stand, with the chevron's
  // room while buttons are hidden.
  int GetRowLength() const;
  // The chevron takes part while the bar is not being customised.
  BOOL IsChevronEnabled() const { return !m_bCustomizing; }

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
  BOOL IsInReBarBand() const { return m_bInReBar; }
  // The chevron button, once the bar is in a band; null before.
  CTkExpButton* GetChevron() { return m_wndChevron.m_hWnd ? &m_wndChevron : nullptr; }

 protected:
  LRESULT OnGetBandSizeMsg(WPARAM wParam, LPARAM lParam);
  LRESULT OnBandChildSizeMsg(WPARAM wParam, LPARAM lParam);
  // Puts the chevron at the end of a bar nLength long, shown while buttons are hidden.
  void PositionChevron(int nLength, BOOL bHorz);
  void PositionChevronForRoom(int nRoom);
  CTkExpButton m_wndChevron;

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

  int OnCreate(LPCREATESTRUCT lpcs);
  BOOL OnNcCreate(LPCREATESTRUCT lpcs);
  LRESULT OnNcHitTest(CPoint point);
  void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  void OnPaint();
  void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  LRESULT OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam);
  LRESULT OnUnderMeasureStyles(WPARAM wParam, LPARAM lParam);
  LRESULT OnColorPopupClosed(WPARAM wParam, LPARAM lParam);
  LRESULT OnColorPopupChosen(WPARAM wParam, LPARAM lParam);
  // Custom drawing's parts: the gaps of wrapped rows, separators and printed controls, and one
  // button (TRUE when drawn here, not by the control).
  void FillWrapGaps(HDC hdc);
  void DrawSeparatorsAndControls(HDC hdc);
  BOOL DrawButton(HDC hdc, int nIndex, const RECT& rcItem);
  void OpenColorPopup(TkDropDown& drop, const RECT& rcButton);

  // Layout's parts, over records read from the control (enabled bit inverted) and the sizes
  // of their items.
  void ReadButtons(std::vector<TBBUTTON>& buttons, std::vector<SIZE>& sizes) const;
  int WrapToolBar(std::vector<TBBUTTON>& buttons, const std::vector<SIZE>& sizes,
                  int nWidth) const;
  void SizeToolBar(std::vector<TBBUTTON>& buttons, const std::vector<SIZE>& sizes, int nLength,
                   BOOL bVert) const;
  CSize CalcSize(std::vector<TBBUTTON>& buttons, const std::vector<SIZE>& sizes) const;
  SIZE GetButtonSize(const std::vector<TBBUTTON>& buttons, const std::vector<SIZE>& sizes,
                     int nIndex) const;
  // Whether the chevron's room counts along the bar: hidden buttons on a docked or band bar.
  BOOL ChevronAllowanceApplies() const;
  void CommitButtons(const std::vector<TBBUTTON>& buttons);
  void PlaceChevronForLayout(const CSize& size, BOOL bHorz);

  LRESULT OnOpenHiddenMenu(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetButtonSize(WPARAM wParam, LPARAM lParam);
  LRESULT OnSetBitmapSize(WPARAM wParam, LPARAM lParam);
  void OnSysColorChange();
  void OnDropDown(NMHDR* pNMHDR, LRESULT* pResult);
  void OnHotItemChange(NMHDR* pNMHDR, LRESULT* pResult);
  void OnLButtonUp(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()

  // One per button as loaded, in order; those the control reported hidden stay out of a Reset.
  // A placeholder's control and its font choice go with it.
  struct TkInitialButton {
    TBBUTTON button;
    BOOL bHiddenAtLoad;
    HWND hWndControl;
    BOOL bBoldFont;
  };
  void RebuildInitialButtons();
  TkInitialButton* FindInitial(UINT nID);
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
  BOOL m_bDelayedButtonLayout = TRUE;
  BOOL m_bInCustomDraw = FALSE;
  HWND m_hWndColorPopup = nullptr;
  int m_nColorPopupCmd = -1;
  DWORD m_dwDrawTextMask = 0, m_dwDrawTextFlags = 0;

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
  void WriteHiddenStates(const std::vector<TBBUTTON>& buttons);
};
