// CTkCheckListBox: an owner-drawn list box whose items carry a check box of two or three states,
// drawn with the toolkit's own check images and painted off-screen so that it never flickers.
// Each item keeps its check and an enabled flag beside the caller's item data, which
// GetItemData and SetItemData still reach as usual.
#pragma once
#include "framework/controls/ListBox.h"

// Sent to the parent as a command notification (list box's id in the low word) when a click
// or a key changed an item's check.
#define CLBN_CHKCHANGE 40

class CTkCheckListBox : public CListBox {
  DECLARE_DYNAMIC(CTkCheckListBox)
 public:
  CTkCheckListBox() = default;
  ~CTkCheckListBox() override = default;

  // Adds the owner-draw and string styles a check list needs.
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

  // BS_CHECKBOX, BS_AUTOCHECKBOX, BS_3STATE or BS_AUTO3STATE; other values are refused.
  void SetCheckStyle(UINT nStyle);
  UINT GetCheckStyle() const { return m_nStyle; }
  // 0 unchecked, 1 checked, 2 indeterminate.
  void SetCheck(int nIndex, int nCheck);
  int GetCheck(int nIndex) const;
  void Enable(int nIndex, BOOL bEnabled = TRUE);
  BOOL IsEnabled(int nIndex) const;

  // Size of one check image of the shared strip (all list boxes draw from the same one).
  static CSize GetCheckImageSize();

  // The item rectangle's part that holds the check image.
  CRect CheckRect(const CRect& rectItem) const;

  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
  void MeasureItem(LPMEASUREITEMSTRUCT lpMIS) override;

 protected:
  struct ItemState {
    int check = 0;
    BOOL enabled = TRUE;
    DWORD_PTR data = 0;  // the caller's item data
  };

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void PreSubclassWindow() override;

  void PreDrawItem(LPDRAWITEMSTRUCT lpDIS);
  void PreMeasureItem(LPMEASUREITEMSTRUCT lpMIS);
  void PreDeleteItem(LPDELETEITEMSTRUCT lpDIS);
  int PreCompareItem(LPCOMPAREITEMSTRUCT lpCIS);

  // Cycles the item's check by the style and tells the parent.
  void SetSelectionCheck(int nIndex);
  void InvalidateCheck(int nIndex);
  // The item under a client point, searching the visible items only; -1 when none.
  int CheckFromPoint(CPoint point, BOOL& bInCheck) const;
  int CalcMinimumItemHeight() const;
  // Returns TRUE when the click is swallowed.
  BOOL OnLButton(CPoint point, BOOL bDouble);
  BOOL OnKeyDown(UINT nChar);
  void OnPaint();
  LRESULT OnScroll(UINT message, WPARAM wParam, LPARAM lParam);

  ItemState* StateOf(int nIndex) const;
  // Frees the item's state, leaving the caller's data in its place for the delete notification.
  void ReleaseState(int nIndex);

  UINT m_nStyle = BS_AUTOCHECKBOX;
  int m_cyText = 0;
  CSize m_sizeCheck;  // the shared strip's image size when the list box was made
};
