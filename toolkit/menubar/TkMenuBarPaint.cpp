// The menu bar's painting: its text buttons (raised under the mouse, sunken while their popup is
// open, joined to the popup with the flat look), the non-client MDI buttons, and the shadow an
// open popup casts on its button with the flat look.
#include "framework/gdi/Gdi.h"
#include "framework/wnd/WindowDc.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/gdi/TkMemDC.h"
#include "toolkit/menubar/TkMenuBar.h"
#include "toolkit/popups/TkShadowWnd.h"

void CTkMenuBar::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
  auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(pNMHDR);
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      *pResult = CDRF_NOTIFYITEMDRAW;
      return;
    case CDDS_ITEMPREPAINT:
      *pResult = DrawTextButton(draw);
      return;
    default:
      *pResult = CDRF_DODEFAULT;
      return;
  }
}

LRESULT CTkMenuBar::DrawTextButton(NMTBCUSTOMDRAW* pDraw) {
  int index = static_cast<int>(SendMessage(TB_COMMANDTOINDEX, pDraw->nmcd.dwItemSpec));
  TBBUTTON button = {};
  if (index < 0 || !SendMessage(TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button)))
    return CDRF_DODEFAULT;
  if (button.iBitmap >= 0) return CDRF_DODEFAULT;  // an image: the control draws it
  HDC dc = pDraw->nmcd.hdc;
  const CTkToolkitData& data = ToolkitData();
  m_bKeyboardCues = FALSE;
  ::SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &m_bKeyboardCues, 0);
  CString text = GetButtonText(index);
  if (!m_bKeyboardCues && !IsShowingMnemonics()) text = StripMnemonics(text);

  BOOL pressed = index == m_nTrackedIndex ||
                 (m_nTrackedIndex < 0 && (pDraw->nmcd.uItemState & CDIS_HOT));
  BOOL popupOpen = m_nTrackingState == kTrackPopup && m_hPopup != nullptr;
  CRect rect(pDraw->nmcd.rc);
  RECT clip = {};
  if (::GetClipBox(dc, &clip) != ERROR) rect.IntersectRect(&rect, &clip);
  CRect textRect(pDraw->nmcd.rc);
  CDC* pDC = CDC::FromHandle(dc);
  if (pressed && m_bFrameActive) {
    if (!data.m_bFlatLook) {
      if (!popupOpen) {
        pDC->Draw3dRect(&rect, data.m_clrHighlight, data.m_clrShadow);
      } else {
        pDC->Draw3dRect(&rect, data.m_clrShadow, data.m_clrHighlight);
        textRect.OffsetRect(1, 1);
      }
    } else if (!popupOpen) {
      pDC->FillSolidRect(&rect, data.m_clrSelectionLight);
      pDC->Draw3dRect(&rect, data.m_clrSelection, data.m_clrSelection);
    } else {
      // The side next to the popup stays open, so that button and popup look joined.
      pDC->Draw3dRect(&rect, data.m_clrDarkShadowTint, data.m_clrDarkShadowTint);
      CRect inside(rect);
      DWORD side = IsFloating() ? CBRS_ALIGN_TOP : (m_dwStyle & CBRS_ALIGN_ANY);
      int w = rect.Width(), h = rect.Height();
      if (side & CBRS_ALIGN_BOTTOM)
        inside = CRect(CPoint(rect.left + 1, rect.top), CSize(w - 2, h - 1));
      else if (side & CBRS_ALIGN_LEFT)
        inside = CRect(CPoint(rect.left + 1, rect.top + 1), CSize(w - 1, h - 2));
      else if (side & CBRS_ALIGN_RIGHT)
        inside = CRect(CPoint(rect.left, rect.top + 1), CSize(w - 1, h - 2));
      else
        inside = CRect(CPoint(rect.left + 1, rect.top + 1), CSize(w - 2, h - 1));
      pDC->FillSolidRect(&inside, data.m_clrFaceTint);
    }
  }
  textRect.DeflateRect(2, 3);
  HFONT font = data.m_hFontNormal ? data.m_hFontNormal : data.GetBarFont();
  HGDIOBJ oldFont = ::SelectObject(dc, font);
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = ::SetTextColor(dc, m_bFrameActive ? data.m_clrMenuText : data.m_clrGrayText);
  ::DrawTextA(dc, text, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SetTextColor(dc, oldColour);
  ::SetBkMode(dc, oldMode);
  ::SelectObject(dc, oldFont);
  return CDRF_SKIPDEFAULT;
}

void CTkMenuBar::OnPaint() {
  const CTkToolkitData& data = ToolkitData();
  BOOL shadow = data.m_bFlatLook && data.m_bMenuShadows && m_nTrackingState == kTrackPopup &&
                m_nTrackedIndex >= 0 && m_hPopup;
  CRect grown;
  if (shadow) {
    GetItemRect(m_nTrackedIndex, &grown);
    grown.right += 4;
    grown.bottom += 4;
    InvalidateRect(&grown, TRUE);
  }
  Default();
  if (shadow) DrawOpenButtonShadow();
}

void CTkMenuBar::DrawOpenButtonShadow() {
  CRect rect;
  GetItemRect(m_nTrackedIndex, &rect);
  CClientDC dc(this);
  // The shadow popups cast, 4 pixels right of and below the button.
  DarkenShadowEdges(dc.GetSafeHdc(), rect.left, rect.top, rect.right + kTkShadowDepth,
                    rect.bottom + kTkShadowDepth, 100);
}

void CTkMenuBar::OnNcPaint() {
  CWindowDC dc(this);
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ClientToScreen(&client);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  ::ExcludeClipRect(dc.GetSafeHdc(), client.left, client.top, client.right, client.bottom);
  CTkMemDC mem(&dc, window, GetBackgroundColor());
  if (!ToolkitData().m_bFlatLook) {
    CRect borders(window);
    DrawBorders(&mem, borders);
  }
  if ((m_dwStyle & CBRS_GRIPPER) && !IsFloating()) {
    // One raised grip line at the bar's start.
    BOOL horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    RECT grip = horz ? RECT{2, 3, 5, window.bottom - 3} : RECT{3, 2, window.right - 3, 5};
    mem.Draw3dRect(&grip, ToolkitData().m_clrHighlight, ToolkitData().m_clrShadow);
  }
  if (m_bMDIMaximized && m_hWndMDIClient) {
    for (int i = 0; i < 4; ++i) DrawMDIButton(&mem, i, FALSE);
  }
}

void CTkMenuBar::DrawMDIButton(CDC* pDC, int nIndex, BOOL bPushed) {
  if (nIndex < 0 || nIndex > 3 || !pDC) return;
  HWND child = GetActiveMDIChild();
  if (!child) return;
  HDC dc = pDC->GetSafeHdc();
  CRect rect = m_rcMDI[nIndex];
  if (nIndex == kMDIIcon) {
    auto icon = reinterpret_cast<HICON>(::GetClassLongPtrA(child, GCLP_HICONSM));
    if (!icon) icon = reinterpret_cast<HICON>(::GetClassLongPtrA(child, GCLP_HICON));
    if (icon) ::DrawIconEx(dc, rect.left, rect.top, icon, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
    return;
  }
  static const UINT kinds[4] = {0, DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  UINT state = kinds[nIndex];
  if (ToolkitData().m_bFlatLook) state |= DFCS_FLAT;
  LONG style = ::GetWindowLongA(child, GWL_STYLE);
  if ((nIndex == kMDIMinimize && !(style & WS_MINIMIZEBOX)) ||
      (nIndex == kMDIRestore && !(style & WS_MAXIMIZEBOX))) {
    state |= DFCS_INACTIVE;
  } else if (bPushed) {
    state |= DFCS_PUSHED;
  }
  ::DrawFrameControl(dc, &rect, DFC_CAPTION, state);
}
