#include "toolkit/bars/TkFlatPainters.h"

#include <algorithm>
#include <commctrl.h>

#include "framework/wnd/Wnd.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkTheme.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/popups/TkShadowWnd.h"

namespace {

// The width of a drop-down button's arrow part.
constexpr int kArrowPart = 14;

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
}

void Ring(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FrameRect(dc, &r, brush);
  ::DeleteObject(brush);
}

// Top, right and left, open at the bottom towards the menu below.
void ThreeSides(HDC dc, const RECT& r, COLORREF colour) {
  RECT top = {r.left, r.top, r.right, r.top + 1};
  RECT left = {r.left, r.top, r.left + 1, r.bottom};
  RECT right = {r.right - 1, r.top, r.right, r.bottom};
  for (const RECT& side : {top, left, right}) Fill(dc, side, colour);
}

bool IsInReBar(CWnd* bar) {
  char cls[32] = {};
  HWND parent = bar && bar->m_hWnd ? ::GetParent(bar->m_hWnd) : nullptr;
  return parent && ::GetClassNameA(parent, cls, sizeof cls) && lstrcmpiA(cls, REBARCLASSNAMEA) == 0;
}

bool ButtonOf(CWnd* bar, int index, TBBUTTON& button, RECT& rect) {
  if (!bar || !bar->m_hWnd) return false;
  button = {};
  if (!bar->SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button))) return false;
  return bar->SendMessage(TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)) != 0;
}

struct TextCall {
  const char* text;
  UINT format;
};

BOOL CALLBACK DrawTextCallback(HDC dc, LPARAM data, WPARAM, int cx, int cy) {
  auto* call = reinterpret_cast<const TextCall*>(data);
  RECT r = {0, 0, cx, cy};
  ::DrawTextA(dc, call->text, -1, &r, call->format);
  return TRUE;
}

}  // namespace

void DrawDropArrow(HDC hdc, const RECT& rect) {
  // The arrow's pixels are 0 bits, so that they take the DC's text colour; the rows are 16-bit
  // words as monochrome bitmaps want them.
  static const WORD kRows[3] = {0x07FF, 0x8FFF, 0xDFFF};
  BYTE bits[6];
  for (int i = 0; i < 3; ++i) {
    bits[i * 2] = static_cast<BYTE>(kRows[i] >> 8);
    bits[i * 2 + 1] = static_cast<BYTE>(kRows[i] & 0xFF);
  }
  HBITMAP arrow = ::CreateBitmap(8, 3, 1, 1, bits);
  if (!arrow) return;
  HDC mem = ::CreateCompatibleDC(hdc);
  HGDIOBJ old = ::SelectObject(mem, arrow);
  ::BitBlt(hdc, (rect.left + rect.right - 3) / 2, (rect.top + rect.bottom - 1) / 2, 5, 3, mem, 0, 0,
           SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteDC(mem);
  ::DeleteObject(arrow);
}

void CTkFlatComboPainter::Paint(CWnd* pCombo, HDC hdc, BOOL bHot) {
  if (!pCombo || !pCombo->m_hWnd) return;
  const CTkToolkitData& data = ToolkitData();
  if (FlatTheme().GetNoHotTracking()) bHot = FALSE;
  bool dropped = pCombo->SendMessage(CB_GETDROPPEDSTATE) != 0;
  COLORREF background = data.m_clrFace, frame = data.m_clrCaptionText, arrow = data.m_clrBtnText;
  if (dropped) {
    background = data.m_clrSelectionMix;
    frame = data.m_clrSelection;
    arrow = data.m_clrCaptionText;
  } else if (bHot) {
    background = data.m_clrSelectionLight;
    frame = data.m_clrSelection;
  }
  RECT client;
  pCombo->GetClientRect(&client);
  Ring(hdc, client, data.m_clrFace);
  RECT field = client;
  ::InflateRect(&field, -1, -1);
  Ring(hdc, field, frame);
  RECT button = field;
  button.left = button.right - (data.m_cxHThumb + 2);
  Ring(hdc, button, frame);
  RECT inside = button;
  ::InflateRect(&inside, -1, -1);
  Fill(hdc, inside, background);
  COLORREF oldText = ::SetTextColor(hdc, arrow);
  COLORREF oldBk = ::SetBkColor(hdc, background);
  DrawDropArrow(hdc, inside);
  ::SetTextColor(hdc, oldText);
  ::SetBkColor(hdc, oldBk);
}

RECT TkWrapGap(HWND hToolBar, int nIndex) {
  RECT client = {}, item = {};
  ::GetClientRect(hToolBar, &client);
  ::SendMessageA(hToolBar, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&item));
  int below = item.bottom;
  int count = static_cast<int>(::SendMessageA(hToolBar, TB_BUTTONCOUNT, 0, 0));
  for (int j = nIndex + 1; j < count; ++j) {
    RECT next = {};
    if (::SendMessageA(hToolBar, TB_GETITEMRECT, j, reinterpret_cast<LPARAM>(&next)) &&
        next.bottom > next.top) {
      below = std::max<int>(below, next.top);
      break;
    }
  }
  return RECT{client.left, item.bottom, client.right, below};
}

COLORREF CTkFlatToolBarPainter::BackgroundOf(CWnd* pToolBar) {
  const CTkToolkitData& data = ToolkitData();
  if (IsInReBar(pToolBar)) return data.m_clrFace;
  if (pToolBar && pToolBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)))
    return static_cast<CTkControlBar*>(pToolBar)->GetBackgroundColor();
  return data.m_bFlatLook ? data.m_clrFaceTint : data.m_clrFace;
}

void CTkFlatToolBarPainter::PaintBackground(HDC hdc, CWnd* pToolBar, int nIndex) {
  TBBUTTON button;
  RECT rect;
  if (ButtonOf(pToolBar, nIndex, button, rect)) Fill(hdc, rect, BackgroundOf(pToolBar));
}

void CTkFlatToolBarPainter::PaintSeparator(HDC hdc, CWnd* pToolBar, int nIndex) {
  TBBUTTON button;
  RECT rect;
  if (!ButtonOf(pToolBar, nIndex, button, rect)) return;
  Fill(hdc, rect, BackgroundOf(pToolBar));
  const COLORREF line = ToolkitData().m_clrDarkFace;
  if (button.fsState & TBSTATE_WRAP) {
    // A separator that ends a row is a line across the whole toolbar, between the rows.
    RECT gap = TkWrapGap(pToolBar->m_hWnd, nIndex);
    Fill(hdc, gap, BackgroundOf(pToolBar));
    int middle = (gap.top + gap.bottom) / 2;
    Fill(hdc, RECT{gap.left, middle, gap.right, middle + 1}, line);
  } else {
    Fill(hdc, RECT{rect.left + 3, rect.top + 2, rect.left + 4, rect.bottom - 2}, line);
  }
}

void CTkFlatToolBarPainter::PaintButton(HDC hdc, CWnd* pToolBar, int nIndex) {
  TBBUTTON button;
  RECT rect;
  if (!ButtonOf(pToolBar, nIndex, button, rect)) return;
  const CTkToolkitData& data = ToolkitData();
  const BOOL noHot = FlatTheme().GetNoHotTracking();
  const BYTE state = button.fsState;
  bool hot = !noHot && static_cast<int>(pToolBar->SendMessage(TB_GETHOTITEM)) == nIndex;
  bool pressed = (state & TBSTATE_PRESSED) || (hot && (::GetKeyState(VK_LBUTTON) & 0x8000));
  bool dropped = pToolBar->m_hWnd == m_hDroppedBar && nIndex == m_nDropped;
  bool enabled = (state & TBSTATE_ENABLED) != 0;
  bool checked = (state & TBSTATE_CHECKED) != 0;
  bool indeterminate = (state & TBSTATE_INDETERMINATE) != 0;

  COLORREF background = BackgroundOf(pToolBar), text = data.m_clrMenuText;
  COLORREF frame = data.m_clrSelection;
  bool framed = false, threeSides = false, shadowed = false;
  int shift = 0;  // +1: image right and down; -1: up and left
  if (enabled && indeterminate) {
    if (pressed) {
      background = data.m_clrSelectionHalf;
      text = data.m_clrSelectionHalfText;
    } else if (hot) {
      background = data.m_clrSelectionLight;
    }
  } else if (enabled && checked) {
    framed = true;
    shift = -1;
    if (pressed || hot) {
      background = data.m_clrSelectionHalf;
      text = data.m_clrSelectionHalfText;
    } else {
      background = data.m_clrSelectionMix;
    }
  } else if (enabled) {
    if (pressed) {
      background = data.m_clrSelectionHalf;
      text = data.m_clrSelectionHalfText;
      framed = true;
      shift = 1;
    } else if (hot) {
      background = data.m_clrSelectionLight;
      framed = true;
      shift = -1;
      shadowed = true;
    } else if (dropped) {
      threeSides = true;
    }
  } else if (checked) {
    background = data.m_clrFace;
    frame = data.m_clrDarkShadowTint;
    framed = true;
  } else if (indeterminate) {
    background = data.m_clrLightFace;
  }

  Fill(hdc, rect, background);
  bool arrowPart = (pToolBar->SendMessage(TB_GETEXTENDEDSTYLE) & TBSTYLE_EX_DRAWDDARROWS) &&
                   (button.fsStyle & BTNS_DROPDOWN);
  RECT face = rect;
  RECT arrowRect = rect;
  if (arrowPart) {
    face.right -= kArrowPart;
    arrowRect.left = face.right;
  }
  if (framed) {
    Ring(hdc, rect, frame);
    if (arrowPart) Ring(hdc, arrowRect, frame);
  }
  if (threeSides) ThreeSides(hdc, rect, data.m_clrDarkShadowTint);
  if (arrowPart) {
    COLORREF oldText = ::SetTextColor(hdc, enabled ? data.m_clrBtnText : data.m_clrShadow);
    COLORREF oldBk = ::SetBkColor(hdc, background);
    DrawDropArrow(hdc, arrowRect);
    ::SetTextColor(hdc, oldText);
    ::SetBkColor(hdc, oldBk);
  }

  // The image: the disabled list for a disabled button (else the normal image in one colour),
  // the hot list for the hot one.
  auto list = [&](UINT message) {
    return reinterpret_cast<HIMAGELIST>(pToolBar->SendMessage(message));
  };
  HIMAGELIST normal = list(TB_GETIMAGELIST), images = normal;
  if (!enabled && list(TB_GETDISABLEDIMAGELIST))
    images = list(TB_GETDISABLEDIMAGELIST);
  else if (hot && list(TB_GETHOTIMAGELIST))
    images = list(TB_GETHOTIMAGELIST);
  int cx = 0, cy = 0;
  bool listStyle = (pToolBar->GetStyle() & TBSTYLE_LIST) != 0;
  int x = face.left + 3, y = face.top + 3;
  if (images && button.iBitmap >= 0 && ::ImageList_GetIconSize(images, &cx, &cy)) {
    if (!listStyle) x = (face.left + face.right - cx) / 2;
    // The hot image stands over a one-colour copy of itself; a disabled one without its own
    // list is that copy alone.
    bool mono = !enabled && images == normal;
    HICON icon = (shadowed || mono) ? ::ImageList_GetIcon(images, button.iBitmap, ILD_NORMAL) : nullptr;
    HBRUSH shadow = icon ? ::CreateSolidBrush(data.m_clrShadow) : nullptr;
    if (icon && shadowed)
      ::DrawStateA(hdc, shadow, nullptr, reinterpret_cast<LPARAM>(icon), 0, x + 1, y + 1, cx, cy,
                   DST_ICON | DSS_MONO);
    if (icon && mono)
      ::DrawStateA(hdc, shadow, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, cx, cy,
                   DST_ICON | DSS_MONO);
    else
      ::ImageList_Draw(images, button.iBitmap, hdc, x + shift, y + shift, ILD_TRANSPARENT);
    if (shadow) ::DeleteObject(shadow);
    if (icon) ::DestroyIcon(icon);
  }

  char label[128] = {};
  if (pToolBar->SendMessage(TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(label)) > 0) {
    RECT textRect = face;
    if (listStyle)
      textRect.left = x + cx + 2;
    else
      textRect.top = y + cy + 1;
    HGDIOBJ oldFont = ::SelectObject(hdc, reinterpret_cast<HFONT>(pToolBar->SendMessage(WM_GETFONT)));
    int oldMode = ::SetBkMode(hdc, TRANSPARENT);
    COLORREF oldText = ::SetTextColor(hdc, text);
    TextCall call = {label, static_cast<UINT>(DT_SINGLELINE | DT_VCENTER |
                                              (listStyle ? DT_LEFT : DT_CENTER))};
    HBRUSH shadow = enabled ? nullptr : ::CreateSolidBrush(data.m_clrShadow);
    ::DrawStateA(hdc, shadow, DrawTextCallback, reinterpret_cast<LPARAM>(&call), 0, textRect.left,
                 textRect.top, textRect.right - textRect.left, textRect.bottom - textRect.top,
                 DST_COMPLEX | (enabled ? 0 : DSS_MONO));
    if (shadow) ::DeleteObject(shadow);
    ::SetTextColor(hdc, oldText);
    ::SetBkMode(hdc, oldMode);
    ::SelectObject(hdc, oldFont);
  }
}

void CTkFlatToolBarPainter::PaintDropShadow(HDC hdc, CWnd* pToolBar, int nIndex) {
  if (!ToolkitData().m_bMenuShadows || !pToolBar || !hdc) return;
  RECT rect;
  if (!pToolBar->SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rect))) return;
  // The shadow the button's open menu casts, beside and below the button.
  DarkenShadowEdges(hdc, rect.left, rect.top, rect.right + kTkShadowDepth,
                    rect.bottom + kTkShadowDepth, 100);
}

void CTkFlatToolBarPainter::InvalidateButton(CWnd* pToolBar, int nIndex) {
  RECT rect;
  if (!pToolBar || !pToolBar->m_hWnd ||
      !pToolBar->SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&rect)))
    return;
  rect.right += 4;
  rect.bottom += 4;
  pToolBar->InvalidateRect(&rect);
}
