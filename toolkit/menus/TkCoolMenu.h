// CTkCoolMenu: makes every popup menu of a frame owner-drawn, so that a command shows the image
// its toolbar button has, in the plain look (3D edges on the menu colour) or the flat look (an
// image column and a selection box). It hooks the frame to measure, draw and convert the popups,
// and hides rarely used commands behind a chevron item while the toolkit tracks a popup.
// Its duties are spread by area: TkCoolMenuImages.cpp (the command-to-image map),
// TkCoolMenuConvert.cpp (item records, conversion, mnemonics), TkCoolMenuMeasure.cpp,
// TkCoolMenuDraw.cpp, TkCoolMenuHook.cpp (the frame hook) and TkCoolMenuHidden.cpp (hidden
// items, the chevron and the recently used commands). The menu windows themselves are hooked by
// CTkMenuPopupHook (TkMenuPopupHook.h).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <vector>

#include "framework/core/String.h"
#include "framework/gdi/Rect.h"
#include "toolkit/menus/TkMenuItemData.h"
#include "toolkit/services/TkWndHook.h"

class CDC;
class CTkMenuPopupHook;
class CWnd;

// Whether the system lays an open popup out again when items are put back into it (not on
// Wine).
BOOL TkMenusGrowInPlace();

// The expand timer of the chevron: the id the menu bar's own expand timer shares on the frame.
constexpr UINT_PTR kTkMenuExpandTimerId = 1000;
constexpr UINT kTkMenuExpandElapse = 750;
// How many recently used commands are kept unless the program says otherwise.
constexpr int kTkDefaultRecentCount = 5;

class CTkCoolMenu : public CTkWndHook {
  DECLARE_DYNAMIC(CTkCoolMenu)

 public:
  CTkCoolMenu();
  // Gives every popup it still holds its former items back and frees every record.
  ~CTkCoolMenu() override;

  // --- the frame hook (TkCoolMenuHook.cpp) ---
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual BOOL Install(CWnd* pFrame);
  BOOL Install(HWND hFrame);

  // --- images (TkCoolMenuImages.cpp) ---
  // Every button image of a toolbar control, by the button's command.
  virtual BOOL AddImagesFromToolbar(HWND hToolBar);
  // The images of one toolbar resource, through a hidden toolbar on the hooked frame.
  virtual BOOL LoadToolbar(UINT nIDToolBar);
  // Each resource in order; FALSE at the first that fails.
  virtual BOOL LoadToolbars(const UINT* pIDs, int nCount);
  virtual BOOL AddHideableCommand(UINT nID);
  virtual BOOL AddHideableCommands(const UINT* pIDs, int nCount);
  // Image i of the bitmap strip for pIDs[i] (0: no command).
  virtual BOOL AddImagesFromBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount);
  virtual BOOL AddImagesFromBitmapResource(UINT nIDBitmap, const UINT* pIDs, int nCount);
  // The position of the item with the command, -1 when none.
  virtual int FindItemPos(HMENU hMenu, UINT nCommand);
  virtual void SetRecentCount(int nCount);
  // Forgets the recently used commands stored in the profile.
  virtual void ResetUsage();

  // --- drawing (TkCoolMenuDraw.cpp) ---
  virtual void DrawMenuText(CDC* pDC, CRect rect, const CString& text, COLORREF clrText);
  virtual void DrawCheckMark(CDC* pDC, CRect rect, BOOL bSelected, BOOL bDisabled, BOOL bBullet);
  virtual void DrawChevron(CDC* pDC, CRect rect, BOOL bSelected);

  // --- conversion (TkCoolMenuConvert.cpp) ---
  virtual void ConvertMenu(HMENU hMenu, BOOL bToOwnerDraw);

  // --- hidden items (TkCoolMenuHidden.cpp) ---
  // In the hideable list and not used recently.
  virtual BOOL IsHideable(UINT nCommand);
  virtual BOOL IsPreviousHideable(HMENU hMenu, int nPos);
  virtual BOOL IsNextHideable(HMENU hMenu, int nPos);

  virtual BOOL IsFirstItem(HMENU hMenu, int nPos);
  virtual BOOL IsLastItem(HMENU hMenu, int nPos, UINT nCommand);

  // Adds or removes the chevron item; TRUE when the popup changed.
  virtual BOOL UpdateChevron(HMENU hMenu, BOOL bForce);
  virtual BOOL IsSystemMenu(HMENU hMenu);
  // Puts hidden items back; TRUE when the popup changed.
  virtual BOOL RestoreHidden(HMENU hMenu);
  virtual BOOL HideRarelyUsed(HMENU hMenu);
  virtual BOOL HasHiddenItems(HMENU hMenu);
  // A hideable or recently used command goes to the head of the stored list.
  virtual BOOL RecordCommand(UINT nCommand);
  virtual BOOL IsRecentlyUsed(UINT nCommand);

  // Keeps the command's first image; destroys the icon in every case.
  virtual void AddImage(UINT nCommand, HICON hIcon, int cx, int cy);
  // A popup of the toolkit is being tracked (rarely used items may hide).
  virtual BOOL IsToolkitTracking();
  // Forgets the images, the map and the disabled images.
  virtual void Reset();
  virtual void DestroyDisabledImages();

  // --- menu messages (TkCoolMenuHook.cpp) ---
  virtual void OnTimer(UINT_PTR nIDEvent);
  virtual void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu);
  // TRUE when the item was the toolkit's and was measured or drawn.
  virtual BOOL MeasureItem(LPMEASUREITEMSTRUCT lpMeasure);
  virtual BOOL DrawItem(LPDRAWITEMSTRUCT lpDraw);
  virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, HMENU hMenu);
  virtual void OnMenuSelect(UINT nItem, UINT nFlags, HMENU hMenu);

  int LookupImage(UINT nCommand) const;
  void SetExpandTimer(UINT nElapse, UINT_PTR nIDEvent);
  HIMAGELIST GetDisabledImageList();

  // The image box margin and box size for the current look (set when a popup opens).
  void UpdateBoxSize();

  HIMAGELIST GetImageList() const { return m_hImages; }
  CSize GetImageSize() const { return m_sizeImage; }
  CSize GetBoxSize() const { return m_sizeBox; }
  BOOL IsIntelligent() const { return m_bIntelligent; }
  BOOL IsMenuLoop() const { return m_bMenuLoop; }
  UINT_PTR GetExpandTimerId() const { return m_nTimerId; }
  UINT GetExpandElapse() const { return m_nTimerElapse; }
  BOOL IsExpandTimerRunning() const { return m_bTimerRunning; }
  int GetRecentCount() const { return m_nRecentCount; }
  // The records of the converted items, oldest first, and the converted popups, newest first.
  const std::vector<MenuItemData*>& GetRecords() const { return m_records; }
  const std::vector<HMENU>& GetConvertedMenus() const { return m_menus; }

  // Process-wide: the image box margin (1 by 1 plain, 4 by 3 flat) and the dialog frame size.
  static CSize s_sizeBoxMargin;
  static CSize s_sizeDlgFrame;

 protected:
  // Each popup converted and given its former items back, then every record freed.
  void ReleaseAll();
  // Frees the records of a popup that are no longer on one of its items (the popup was
  // destroyed while open, or hidden items never came back), and forgets the popup.
  void ReleaseRecordsOf(HMENU hMenu);
  MenuItemData* NewRecord(HMENU hMenu, int nPos, const MENUITEMINFOA& info, const CString& text);
  void ForgetRecord(MenuItemData* pData);
  // Reads an item with everything conversion needs; FALSE when there is no such item.
  static BOOL ReadItem(HMENU hMenu, int nPos, MENUITEMINFOA& info, CString& text);
  static MenuItemData* ItemRecord(HMENU hMenu, int nPos);
  // The chevron command while expanded: redisplays the newest popup with its items back.
  void ExpandOpenPopup();
  // Chooses the open popup's selected chevron item; FALSE when it is not selected.
  BOOL ChooseSelectedChevron(CTkMenuPopupHook* hook);
  void StartExpandTimer(BOOL bStart);
  // A menu bar has one of its popups open.
  static BOOL MenuBarTracks();
  // The section and the entry names of the recently used list.
  CString UsageSection() const;
  CString UsageEntry(int nIndex) const;
  std::vector<UINT> ReadUsage();

  // Measuring and drawing helpers (TkCoolMenuDraw.cpp).
  void DrawSeparator(CDC* pDC, const CRect& rect, MenuItemData* pData, BOOL bFlat);
  void DrawItemImage(CDC* pDC, CRect box, MenuItemData* pData, UINT nState, COLORREF clrBack,
                     BOOL bShownHidden);
  void DrawFlatFrame(CDC* pDC, CRect& rect, MenuItemData* pData, BOOL bFirst, BOOL bLast);

  HIMAGELIST m_hImages = nullptr;
  HIMAGELIST m_hDisabled = nullptr;
  std::map<WORD, int> m_imageByCommand;
  std::vector<UINT> m_hideable;
  CSize m_sizeImage{16, 15};
  CSize m_sizeBox{18, 17};
  int m_nRecentCount = kTkDefaultRecentCount;
  UINT_PTR m_nTimerId = kTkMenuExpandTimerId;
  UINT m_nTimerElapse = kTkMenuExpandElapse;
  BOOL m_bIntelligent = FALSE;
  BYTE m_bTimerRunning = 0;
  BOOL m_bKeyboardCues = FALSE;
  BOOL m_bNoImageList = TRUE;
  BOOL m_bMenuLoop = FALSE;
  std::vector<MenuItemData*> m_records;
  std::vector<HMENU> m_menus;
};
