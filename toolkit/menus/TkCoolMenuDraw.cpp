// Drawing the owner-drawn menu items in the plain look (3D edges on the menu colour) and the
// flat look (an image column, a selection box and a one-line border that joins the menu bar's
// button the popup came from).
#include <algorithm>

#include "framework/gdi/Dc.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/menus/TkCoolMenu.h"
#include "toolkit/menus/TkMenuPopupHook.h"
#include "toolkit/menus/TkMenuShared.h"
#include "toolkit/services/OSVersion.h"

#include "framework/bars/BarStyles.h"

namespace {

// Width of the flat look's image column.
constexpr int kFlatColumn = 24;

void Line(HDC hdc, int x1, int y1, int x2, int y2, COLORREF clr) {
  RECT rc = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + (x1 == x2 ? 1 : 0),
             std::max(y1, y2) + (y1 == y2 ? 1 : 0)};
  ::SetBkColor(hdc, clr);
  ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

BOOL FromWindows2000On() {
  const OSVERSIONINFOA* os = GetOSVersionInfo();
  return os->dwPlatformId == VER_PLATFORM_WIN32_NT && os->dwMajorVersion >= 5;
}

BOOL NoExpandTimers() {
  const CTkToolkitData& data = ToolkitData();
  return data.m_bWin95 || data.m_bWinNT4;
}

// The item's check-mark bitmaps, as the program set them.
void ItemBitmaps(const MenuItemData* pData, HBITMAP& hChecked, HBITMAP& hUnchecked) {
  hChecked = hUnchecked = nullptr;
  int count = ::GetMenuItemCount(pData->hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_CHECKMARKS;
    if (!::GetMenuItemInfoA(pData->hMenu, static_cast<UINT>(pos), TRUE, &info)) continue;
    if (info.dwItemData != reinterpret_cast<ULONG_PTR>(pData)) continue;
    hChecked = info.hbmpChecked;
    hUnchecked = info.hbmpUnchecked;
    return;
  }
}

// The current position of the item that carries the record, -1 when it is not in its popup.
int CurrentPos(const MenuItemData* pData) {
  int count = ::GetMenuItemCount(pData->hMenu);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (::GetMenuItemInfoA(pData->hMenu, static_cast<UINT>(pos), TRUE, &info) &&
        info.dwItemData == reinterpret_cast<ULONG_PTR>(pData))
      return pos;
  }
  return -1;
}

}  // namespace

void CTkCoolMenu::DrawFlatFrame(CDC* pDC, CRect& rect, MenuItemData* pData, BOOL bFirst,
                                BOOL bLast) {
  const CTkToolkitData& data = ToolkitData();
  rect.left -= s_sizeDlgFrame.cx;
  rect.right += s_sizeDlgFrame.cx;
  if (bLast) rect.bottom += 2 * s_sizeDlgFrame.cy;
  HDC hdc = pDC->m_hDC;
  const COLORREF border = data.m_clrDarkShadowTint;
  // The popup's border, as far as this item carries it.
  Line(hdc, rect.left, rect.top, rect.left, rect.bottom - 1, border);
  Line(hdc, rect.right - 1, rect.top, rect.right - 1, rect.bottom - 1, border);
  if (bFirst) Line(hdc, rect.left, rect.top, rect.right - 1, rect.top, border);
  if (bLast) Line(hdc, rect.left, rect.bottom - 1, rect.right - 1, rect.bottom - 1, border);
  // The stretch of border the menu bar's button touches takes the button's colour, so that
  // popup and button read as one.
  const RECT& button = TkMenuState().rcTrackedButton;
  const int bw = button.right - button.left, bh = button.bottom - button.top;
  const COLORREF join = data.m_clrFaceTint;
  switch (pData->dwDockSide) {
    case CBRS_ALIGN_TOP:
      if (bFirst && bw > 2) Line(hdc, rect.left + 1, rect.top, rect.left + bw - 2, rect.top, join);
      break;
    case CBRS_ALIGN_BOTTOM:
      if (bLast && bw > 2)
        Line(hdc, rect.left + 1, rect.bottom - 1, rect.left + bw - 2, rect.bottom - 1, join);
      break;
    case CBRS_ALIGN_LEFT:
    case CBRS_ALIGN_RIGHT: {
      // The popup's client top is the button's top: only the part within this item is drawn.
      int top = std::max<int>(rect.top, 1), bottom = std::min<int>(rect.bottom, bh - 1);
      int x = pData->dwDockSide == CBRS_ALIGN_LEFT ? rect.left : rect.right - 1;
      if (bottom > top) Line(hdc, x, top, x, bottom - 1, join);
      break;
    }
    default:
      break;
  }
  rect.left += 1;
  rect.right -= 1;
  if (bFirst) rect.top += 1;
  if (bLast) rect.bottom -= 1;
}

BOOL CTkCoolMenu::DrawItem(LPDRAWITEMSTRUCT lpDraw) {
  if (!lpDraw || lpDraw->CtlType != ODT_MENU) return FALSE;
  MenuItemData* pData = TkMenuItemDataFrom(lpDraw->itemData);
  if (!pData) return FALSE;
  const CTkToolkitData& data = ToolkitData();
  const BOOL bFlat = data.m_bFlatLook;
  const BOOL bSelected = (lpDraw->itemState & ODS_SELECTED) != 0;
  const BOOL bDisabled = (lpDraw->itemState & ODS_GRAYED) != 0;
  const BOOL bChecked = (lpDraw->itemState & ODS_CHECKED) != 0;
  const BOOL bShownHidden = pData->IsHideable() && TkMenuState().bExpanded;
  const BOOL bFirst = IsFirstItem(pData->hMenu, pData->nPosition);
  const BOOL bLast = IsLastItem(pData->hMenu, pData->nPosition, pData->nCommand);

  // The popup window learns which cool menu draws it (its shadows depend on how it opened).
  for (CTkMenuPopupHook* hook : TkMenuPopupHooks()) {
    if (hook->m_hMenu == pData->hMenu && !hook->m_pOwner) hook->m_pOwner = this;
  }

  CDC* pDC = CDC::FromHandle(lpDraw->hDC);
  HDC hdc = lpDraw->hDC;
  int saved = ::SaveDC(hdc);
  CRect rect(lpDraw->rcItem);
  COLORREF clrBack = bFlat ? data.m_clrWindowTint
                           : (bShownHidden ? data.m_clrLightFace : data.m_clrMenu);
  if (bFlat) DrawFlatFrame(pDC, rect, pData, bFirst, bLast);
  pDC->FillSolidRect(&rect, clrBack);

  BOOL bHiddenSeparator = FALSE;
  if (pData->IsSeparator() && TkMenuState().bExpanded) {
    int pos = CurrentPos(pData);
    bHiddenSeparator = pos >= 0 && IsPreviousHideable(pData->hMenu, pos) &&
                       IsNextHideable(pData->hMenu, pos);
  }
  if (bFlat) {
    COLORREF column =
        (bShownHidden || bHiddenSeparator) ? data.m_clrFaceShade : data.m_clrFaceTint;
    pDC->FillSolidRect(rect.left, rect.top, kFlatColumn, rect.Height(), column);
    if (bSelected && !bDisabled) {
      CRect box = rect;
      box.DeflateRect(1, 1);
      pDC->FillSolidRect(&box, data.m_clrSelectionLight);
      pDC->Draw3dRect(&box, data.m_clrSelection, data.m_clrSelection);
    }
  }

  if (pData->IsChevron()) {
    TkMenuState().bChevronSelected = bSelected;
    DrawChevron(pDC, rect, bSelected);
    ::RestoreDC(hdc, saved);
    return TRUE;
  }
  if (pData->IsSeparator()) {
    if (!bFlat && bHiddenSeparator) {
      pDC->FillSolidRect(rect.left, rect.top + rect.Height() / 2, rect.Width(),
                         rect.bottom - (rect.top + rect.Height() / 2), data.m_clrLightFace);
    }
    DrawSeparator(pDC, rect, pData, bFlat);
    ::RestoreDC(hdc, saved);
    return TRUE;
  }

  // The image box, centred vertically at the left.
  CRect box(rect.left, rect.top + (rect.Height() - m_sizeBox.cy) / 2, rect.left + m_sizeBox.cx,
            rect.top + (rect.Height() - m_sizeBox.cy) / 2 + m_sizeBox.cy);
  BOOL bMark = FALSE;
  if (pData->nImage < 0 || !m_hImages) {
    HBITMAP hChecked, hUnchecked;
    ItemBitmaps(pData, hChecked, hUnchecked);
    if (bChecked || hUnchecked) {
      CRect mark = box;
      mark.top -= 1;
      mark.right += 1;
      mark.bottom += 1;
      BOOL bBullet = (bChecked ? hChecked : hUnchecked) != nullptr;
      DrawCheckMark(pDC, mark, bSelected, bDisabled, bBullet);
      bMark = TRUE;
    }
  } else {
    DrawItemImage(pDC, box, pData, lpDraw->itemState, clrBack, bShownHidden);
    bMark = TRUE;
  }
  if (!bFlat && bSelected) {
    int left = bMark ? box.right + 2 : rect.left;
    pDC->FillSolidRect(left, rect.top, rect.right - left, rect.Height(), data.m_clrSelection);
  }

  // The label and the shortcut.
  CRect rcText = rect;
  rcText.left += (bFlat ? 8 : 7) + m_sizeBox.cx;
  COLORREF clrText;
  if (bFlat) {
    clrText = bDisabled ? data.m_clrGrayText : data.m_clrBtnText;
  } else if (bDisabled) {
    clrText = bSelected ? data.m_clrFace : data.m_clrGrayText;
  } else {
    clrText = bSelected ? data.m_clrSelectionText : data.m_clrMenuText;
  }
  HFONT font = (pData->fState & MFS_DEFAULT) && data.m_hFontBold ? data.m_hFontBold
                                                                  : data.GetBarFont();
  ::SelectObject(hdc, font);
  CString text = pData->strText;
  if (FromWindows2000On() && !m_bKeyboardCues && !TkMenuState().bShowMnemonics) {
    text = StripMnemonics(text);
  }
  if (!bFlat && bDisabled && (!bSelected || clrText == data.m_clrSelection)) {
    CRect emboss = rcText;
    emboss.OffsetRect(1, 1);
    DrawMenuText(pDC, emboss, text, data.m_clrHighlight);
  }
  DrawMenuText(pDC, rcText, text, clrText);

  // In the plain look the group of items that hides normally is set off by a line above its
  // first item and below its last.
  if (!bFlat && bShownHidden) {
    if (pData->dwFlags & kTkItemFirstHidden)
      Line(hdc, rect.left, rect.top, rect.right - 1, rect.top, data.m_clrShadow);
    if (pData->dwFlags & kTkItemLastHidden)
      Line(hdc, rect.left, rect.bottom - 1, rect.right - 1, rect.bottom - 1, data.m_clrHighlight);
  }
  ::RestoreDC(hdc, saved);
  return TRUE;
}

void CTkCoolMenu::DrawSeparator(CDC* pDC, const CRect& rect, MenuItemData*, BOOL bFlat) {
  const CTkToolkitData& data = ToolkitData();
  int mid = rect.top + rect.Height() / 2;
  if (bFlat) {
    Line(pDC->m_hDC, rect.left + kFlatColumn + 2, mid, rect.right - 2, mid, data.m_clrDarkFace);
    return;
  }
  CRect edge(rect.left + 12, mid, rect.right - 12, rect.bottom);
  pDC->DrawEdge(&edge, EDGE_ETCHED, BF_TOP);
}

void CTkCoolMenu::DrawItemImage(CDC* pDC, CRect box, MenuItemData* pData, UINT nState,
                                COLORREF clrBack, BOOL bShownHidden) {
  const CTkToolkitData& data = ToolkitData();
  const BOOL bSelected = (nState & ODS_SELECTED) != 0;
  const BOOL bDisabled = (nState & ODS_GRAYED) != 0;
  const BOOL bChecked = (nState & ODS_CHECKED) != 0;
  HDC hdc = pDC->m_hDC;
  const int x = box.left + (box.Width() - m_sizeImage.cx) / 2;
  const int y = box.top + (box.Height() - m_sizeImage.cy) / 2;
  if (!data.m_bFlatLook) {
    CRect fill = box;
    if (!bShownHidden) fill.top += 1;
    pDC->FillSolidRect(&fill, clrBack);
    if (bChecked) {
      pDC->DrawEdge(&box, BDR_SUNKENOUTER, BF_RECT);
      if (!bSelected) {
        CRect inner = box;
        inner.DeflateRect(1, 1);
        FillDitheredRect(hdc, inner);
      }
    } else if (bSelected && !bDisabled) {
      pDC->DrawEdge(&box, BDR_RAISEDINNER, BF_RECT);
    }
    if (bDisabled) {
      HIMAGELIST disabled = GetDisabledImageList();
      if (disabled) DrawDisabledImage(hdc, disabled, pData->nImage, x, y, TRUE);
    } else {
      ::ImageList_Draw(m_hImages, pData->nImage, hdc, x, y, ILD_TRANSPARENT);
    }
    return;
  }
  if (bChecked) {
    CRect frame(box.left + 2, box.top + 2, box.right - 3, box.bottom - 2);
    COLORREF edge = bDisabled ? data.m_clrDarkShadowTint : data.m_clrSelection;
    pDC->Draw3dRect(&frame, edge, edge);
    if (!bDisabled) {
      frame.DeflateRect(1, 1);
      pDC->FillSolidRect(&frame, bSelected ? data.m_clrSelectionHalf : data.m_clrSelectionMix);
    }
  }
  HICON icon = ::ImageList_GetIcon(m_hImages, pData->nImage, ILD_NORMAL);
  if (!icon) return;
  HBRUSH shadow = ::CreateSolidBrush(data.m_clrShadow);
  if (bSelected && !bDisabled && !bChecked) {
    // Lifted: the silhouette one pixel below right, the image one pixel above left.
    ::DrawStateA(hdc, shadow, nullptr, reinterpret_cast<LPARAM>(icon), 0, x + 1, y + 1,
                 m_sizeImage.cx, m_sizeImage.cy, DST_ICON | DSS_MONO);
    ::DrawIconEx(hdc, x - 1, y - 1, icon, m_sizeImage.cx, m_sizeImage.cy, 0, nullptr, DI_NORMAL);
  } else if (bDisabled) {
    ::DrawStateA(hdc, shadow, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, m_sizeImage.cx,
                 m_sizeImage.cy, DST_ICON | DSS_MONO);
  } else {
    ::DrawIconEx(hdc, x, y, icon, m_sizeImage.cx, m_sizeImage.cy, 0, nullptr, DI_NORMAL);
  }
  ::DeleteObject(shadow);
  ::DestroyIcon(icon);
}

void CTkCoolMenu::DrawMenuText(CDC* pDC, CRect rect, const CString& text, COLORREF clrText) {
  HDC hdc = pDC->m_hDC;
  ::SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, clrText);
  int tab = text.Find('\t');
  CString label = tab >= 0 ? text.Left(tab) : text;
  ::DrawTextA(hdc, label.GetString(), label.GetLength(), &rect, DT_SINGLELINE | DT_VCENTER);
  if (tab < 0) return;
  CString shortcut = text.Mid(tab + 1);
  rect.right -= ToolkitData().m_bFlatLook ? 20 : m_sizeBox.cx;
  ::DrawTextA(hdc, shortcut.GetString(), shortcut.GetLength(), &rect,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
}

void CTkCoolMenu::DrawCheckMark(CDC* pDC, CRect rect, BOOL bSelected, BOOL bDisabled,
                                BOOL bBullet) {
  const CTkToolkitData& data = ToolkitData();
  HDC hdc = pDC->m_hDC;
  COLORREF glyph =
      data.m_bFlatLook && bDisabled ? data.m_clrDarkShadowTint : data.m_clrDarkShadow;
  if (!data.m_bFlatLook) {
    if (bSelected) {
      pDC->FillSolidRect(&rect, data.m_clrMenu);
    } else {
      FillDitheredRect(hdc, rect);
    }
    pDC->DrawEdge(&rect, BDR_SUNKENOUTER, BF_RECT);
  } else {
    CRect frame(rect.left + 2, rect.top + 2, rect.right - 3, rect.bottom - 2);
    COLORREF edge = bDisabled ? data.m_clrDarkShadowTint : data.m_clrSelection;
    pDC->Draw3dRect(&frame, edge, edge);
    if (!bDisabled) {
      frame.DeflateRect(1, 1);
      pDC->FillSolidRect(&frame, bSelected ? data.m_clrSelectionHalf : data.m_clrSelectionMix);
    }
  }
  if (bBullet) {
    // A dot five pixels across, as five short lines.
    static const int kSpan[5][2] = {{1, 4}, {0, 5}, {0, 5}, {0, 5}, {1, 4}};
    HPEN pen = ::CreatePen(PS_SOLID, 1, glyph);
    HGDIOBJ old = ::SelectObject(hdc, pen);
    for (int row = 0; row < 5; ++row) {
      ::MoveToEx(hdc, rect.left + 7 + kSpan[row][0], rect.top + 8 + row, nullptr);
      ::LineTo(hdc, rect.left + 7 + kSpan[row][1], rect.top + 8 + row);
    }
    ::SelectObject(hdc, old);
    ::DeleteObject(pen);
    return;
  }
  // The tick: seven columns two pixels high, down three steps and up four.
  static const int kDrop[7] = {2, 3, 4, 3, 2, 1, 0};
  auto tick = [&](int dy, COLORREF clr) {
    for (int col = 0; col < 7; ++col) {
      int px = rect.left + 6 + col, py = rect.top + 6 + kDrop[col] + dy;
      ::SetPixelV(hdc, px, py, clr);
      ::SetPixelV(hdc, px, py + 1, clr);
    }
  };
  if (!data.m_bFlatLook && bSelected) tick(1, data.m_clrHighlight);
  tick(0, glyph);
}

void CTkCoolMenu::DrawChevron(CDC* pDC, CRect rect, BOOL bSelected) {
  const CTkToolkitData& data = ToolkitData();
  // Resting on the selected chevron of a menu bar's popup expands it after a while.
  StartExpandTimer(bSelected && MenuBarTracks() && !NoExpandTimers());
  if (!data.m_bFlatLook) {
    if (bSelected) {
      pDC->FillSolidRect(&rect, data.m_clrLightFace);
      pDC->Draw3dRect(&rect, data.m_clrHighlight, data.m_clrShadow);
    } else {
      pDC->FillSolidRect(&rect, data.m_clrMenu);
    }
  }
  // Two chevrons pointing down, each ten pixels in a V five wide and four high.
  static const POINT kVee[10] = {{0, 0}, {4, 0}, {0, 1}, {1, 1}, {3, 1},
                                 {4, 1}, {1, 2}, {2, 2}, {3, 2}, {2, 3}};
  int x = rect.left + (rect.Width() - 5) / 2;
  int y = rect.top + (rect.Height() - 8) / 2;
  for (int vee = 0; vee < 2; ++vee) {
    for (const POINT& p : kVee) ::SetPixelV(pDC->m_hDC, x + p.x, y + p.y + 4 * vee, data.m_clrMenuText);
  }
}
