// Measuring the owner-drawn menu items: room for the image box, the label and the shortcut in
// the toolkit's menu fonts.
#include <algorithm>

#include "toolkit/core/ToolkitData.h"
#include "toolkit/menus/TkCoolMenu.h"

namespace {

int MenuHeight() {
  int cy = ToolkitData().m_cyMenu;
  return cy > 0 ? cy : ::GetSystemMetrics(SM_CYMENU);
}

// The text's width in the menu font; a tab counts as "XXX", the gap between label and shortcut.
int TextWidth(const CString& text, BOOL bBold) {
  CString measured = text;
  measured.Replace("\t", "XXX");
  HDC hdc = ::CreateCompatibleDC(nullptr);
  if (!hdc) return 0;
  const CTkToolkitData& data = ToolkitData();
  HFONT font = bBold ? data.m_hFontBold : data.GetBarFont();
  HGDIOBJ old = font ? ::SelectObject(hdc, font) : nullptr;
  SIZE size = {};
  ::GetTextExtentPoint32A(hdc, measured.GetString(), measured.GetLength(), &size);
  if (old) ::SelectObject(hdc, old);
  ::DeleteDC(hdc);
  return size.cx;
}

}  // namespace

BOOL CTkCoolMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasure) {
  if (!lpMeasure || lpMeasure->CtlType != ODT_MENU) return FALSE;
  MenuItemData* pData = TkMenuItemDataFrom(lpMeasure->itemData);
  if (!pData) return FALSE;
  const BOOL bFlat = ToolkitData().m_bFlatLook;
  const int cyMenu = MenuHeight();
  UINT cx = 0, cy = 0;
  if (pData->IsSeparator()) {
    cy = static_cast<UINT>(cyMenu / 2);
  } else if (pData->strText.IsEmpty()) {
    cx = 100;
    cy = static_cast<UINT>(cyMenu);
  } else {
    int text = TextWidth(pData->strText, (pData->fState & MFS_DEFAULT) != 0);
    int width = bFlat ? m_sizeImage.cx + 28 + text : 2 * m_sizeImage.cx + 2 + text;
    cx = static_cast<UINT>(std::max(100, width));
    cy = static_cast<UINT>(m_sizeImage.cy + 4 + (bFlat ? 2 : 0));
    if (pData->IsChevron()) {
      cy = static_cast<UINT>(bFlat ? m_sizeImage.cy : cyMenu + 1);
    } else {
      cy = std::max(cy, static_cast<UINT>(cyMenu));
    }
  }
  if (bFlat) {
    // The first and the last item draw the popup's flat border as well.
    if (IsFirstItem(pData->hMenu, pData->nPosition)) cy += 2;
    if (IsLastItem(pData->hMenu, pData->nPosition, pData->nCommand)) {
      cy = static_cast<UINT>(std::max(0, static_cast<int>(cy) + 2 - 2 * static_cast<int>(s_sizeDlgFrame.cy)));
    }
  }
  lpMeasure->itemWidth = cx;
  lpMeasure->itemHeight = cy;
  return TRUE;
}
