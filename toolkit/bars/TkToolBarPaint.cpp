// CTkToolBar's painting: everything goes through an off-screen picture; with the flat style the
// bar draws its separators, the gaps between wrapped rows and its colour bars itself, and hands
// buttons to the look's painter when there is one.
#include <algorithm>

#include "framework/gdi/Gdi.h"
#include "framework/wnd/WindowDc.h"
#include "toolkit/bars/TkFlatPainters.h"
#include "toolkit/bars/TkTheme.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/gdi/TkMemDC.h"

namespace {

CTkFlatToolBarPainter* Painter() { return GetCurrentTheme().GetToolBarPainter(); }

void Fill(HDC hdc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(hdc, &rect, brush);
  ::DeleteObject(brush);
}

void Pixel(HDC hdc, int x, int y, COLORREF colour) { Fill(hdc, RECT{x, y, x + 1, y + 1}, colour); }

}  // namespace

void CTkToolBar::OnPaint() {
  if (m_bDelayedButtonLayout) Layout();
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  CTkMemDC mem(&dc, client, ToolkitData().m_clrFace);
  HDC target = mem.IsValid() ? mem.GetSafeHdc() : dc.GetSafeHdc();
  if (ToolkitData().m_bFlatLook && !m_bInReBar) Fill(target, client, GetBackgroundColor());
  // The control paints into the picture it is given.
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(target), 0);
}

LRESULT CTkToolBar::OnSetDrawTextFlags(WPARAM wParam, LPARAM lParam) {
  m_dwDrawTextMask = static_cast<DWORD>(wParam);
  m_dwDrawTextFlags = static_cast<DWORD>(lParam);
  return Default();
}

void CTkToolBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* cd = reinterpret_cast<NMTBCUSTOMDRAW*>(pNMHDR);
  *pResult = CDRF_DODEFAULT;
  if (!(GetStyle() & TBSTYLE_FLAT) || m_bInCustomDraw) return;
  HDC hdc = cd->nmcd.hdc;
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *pResult = CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
      break;
    case CDDS_POSTPAINT:
      FillWrapGaps(hdc);
      DrawSeparatorsAndControls(hdc);
      if (m_nDropDownPressed >= 0) {
        if (CTkFlatToolBarPainter* painter = Painter()) {
          painter->PaintButton(hdc, this, m_nDropDownPressed);
          painter->PaintDropShadow(hdc, this, m_nDropDownPressed);
        }
      }
      break;
    case CDDS_ITEMPREPAINT: {
      int index = CommandToIndex(static_cast<UINT>(cd->nmcd.dwItemSpec));
      if (index >= 0 && DrawButton(hdc, index, cd->nmcd.rc)) *pResult = CDRF_SKIPDEFAULT;
      break;
    }
    default:
      break;
  }
}

// The room a wrapping separator leaves after the button before it, in the bar's colour.
void CTkToolBar::FillWrapGaps(HDC hdc) {
  int count = GetCount();
  for (int i = 1; i < count; ++i) {
    TBBUTTON button = {};
    if (!_GetButton(i, &button) || !(button.fsStyle & TBSTYLE_SEP) ||
        !(button.fsState & TBSTATE_WRAP))
      continue;
    RECT previous = {}, separator = {};
    if (!::SendMessageA(m_hWnd, TB_GETITEMRECT, i - 1, reinterpret_cast<LPARAM>(&previous)) ||
        !::SendMessageA(m_hWnd, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&separator)))
      continue;
    int width = previous.right - previous.left;
    RECT gap = {previous.left + width, previous.top,
                previous.left + width + (separator.right - separator.left), previous.bottom};
    Fill(hdc, gap, GetBackgroundColor());
  }
}

void CTkToolBar::DrawSeparatorsAndControls(HDC hdc) {
  const CTkToolkitData& data = ToolkitData();
  CTkFlatToolBarPainter* painter = Painter();
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    RECT item = {};
    if (!_GetButton(i, &button) || !(button.fsStyle & TBSTYLE_SEP) ||
        (button.fsState & TBSTATE_HIDDEN) ||
        !::SendMessageA(m_hWnd, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
      continue;
    if (TkIsPlaceholder(button)) {
      HWND control = ::GetDlgItem(m_hWnd, button.idCommand);
      if (!control) continue;
      if (!m_bInReBar) {
        if (painter)
          painter->PaintBackground(hdc, this, i);
        else
          Fill(hdc, item, GetBackgroundColor());
      }
      // The control becomes part of the picture, so that nothing flickers where it sits.
      RECT place = {};
      ::GetWindowRect(control, &place);
      ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&place), 2);
      int saved = ::SaveDC(hdc);
      ::OffsetViewportOrgEx(hdc, place.left, place.top, nullptr);
      ::SendMessageA(control, WM_PRINT, reinterpret_cast<WPARAM>(hdc),
                     PRF_CHECKVISIBLE | PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN | PRF_OWNED);
      ::RestoreDC(hdc, saved);
      continue;
    }
    if (painter) {
      painter->PaintSeparator(hdc, this, i);
      continue;
    }
    if (!(button.fsState & TBSTATE_WRAP)) {
      Fill(hdc, item, GetBackgroundColor());
      RECT line = {item.left + 2, item.top, item.right - 2, item.bottom};
      ::DrawEdge(hdc, &line, EDGE_ETCHED, BF_LEFT);
      Pixel(hdc, line.left, line.bottom - 1, data.m_clrShadow);
      continue;
    }
    // A separator that ends a row is the gap below it: an etched line across the bar in the
    // middle of the room between this row and the next.
    RECT gap = TkWrapGap(m_hWnd, i);
    int middle = (gap.top + gap.bottom) / 2 - 1;
    RECT line = {gap.left + 2, middle, gap.right - 2, middle + 2};
    Fill(hdc, gap, GetBackgroundColor());
    ::DrawEdge(hdc, &line, EDGE_ETCHED, BF_TOP);
    Pixel(hdc, line.right - 1, middle, data.m_clrShadow);
  }
}

// TRUE when the button was drawn here; FALSE leaves it to the control.
BOOL CTkToolBar::DrawButton(HDC hdc, int nIndex, const RECT& rcItem) {
  if (m_bInCustomDraw) return TRUE;
  if (CTkFlatToolBarPainter* painter = Painter()) {
    painter->PaintButton(hdc, this, nIndex);
    return TRUE;
  }
  TBBUTTON button = {};
  if (!_GetButton(nIndex, &button) || button.iBitmap < 0) return FALSE;
  ::SetBkMode(hdc, TRANSPARENT);
  if (!m_bInReBar) Fill(hdc, rcItem, GetBackgroundColor());
  const TkDropDown* drop = FindDropDown(static_cast<UINT>(button.idCommand));
  if (drop && drop->bColorPopup && drop->bShowColorBar) {
    const DWORD buttonSize = static_cast<DWORD>(::SendMessageA(m_hWnd, TB_GETBUTTONSIZE, 0, 0));
    RECT bar = {rcItem.left + 4, rcItem.bottom - 7, rcItem.left - 4 + LOWORD(buttonSize),
                rcItem.bottom - 4};
    if (button.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) ::OffsetRect(&bar, 1, 1);
    // The records hold the enabled bit inverted: set means disabled.
    bool disabled = (button.fsState & TBSTATE_ENABLED) != 0;
    Fill(hdc, bar, disabled ? ToolkitData().m_clrShadow : drop->clrCurrent);
    ::ExcludeClipRect(hdc, bar.left, bar.top, bar.right, bar.bottom);
  }
  return FALSE;
}
