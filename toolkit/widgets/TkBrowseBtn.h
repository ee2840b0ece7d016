// CTkBrowseBtn: the small owner-drawn button at the right end of a browse edit. A text button
// ("...") for the folder and file kinds, an arrow for the popup-menu kind; a click asks its edit
// to browse.
#pragma once
#include "framework/controls/Button.h"

class CTkBrowseEdit;

class CTkBrowseBtn : public CButton {
  DECLARE_DYNAMIC(CTkBrowseBtn)
 public:
  CTkBrowseBtn();
  ~CTkBrowseBtn() override;

  // Makes the button in the edit's parent for the kind in the style's low three bits (1 folder,
  // 2 file: text; 4 popup menu: arrow); FALSE for any other kind or when the window fails.
  BOOL Create(CTkBrowseEdit* pEdit, UINT nBrowseStyle, UINT nID, UINT nMenuId, int nPopupIndex);

  CTkBrowseEdit* GetEdit() const { return m_pEdit; }
  UINT GetBrowseStyle() const { return m_nBrowseStyle; }
  UINT GetMenuId() const { return m_nMenuId; }
  int GetPopupIndex() const { return m_nPopupIndex; }
  HICON GetArrowIcon() const { return m_hArrow; }

  void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

 protected:
  void OnKillFocus(CWnd* pNewWnd);
  void OnClicked();
  DECLARE_MESSAGE_MAP()

  CTkBrowseEdit* m_pEdit = nullptr;
  UINT m_nBrowseStyle = 0;
  UINT m_nMenuId = 0;
  int m_nPopupIndex = 0;
  HICON m_hArrow = nullptr;
};
