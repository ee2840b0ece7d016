#include "toolkit/bars/TkExpButton.h"
#include "toolkit/bars/TkExpMenuWnd.h"

#include "framework/frame/FrameWnd.h"
#include "toolkit/bars/TkHiddenButtonsMenu.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"

namespace {

// Monochrome images, drawn where a bit is 0; a row is a 16-bit word whose low byte holds the
// pixels from its most significant bit.
const WORD kChevronHorz[] = {0x6F, 0xB7, 0xDB, 0xB7, 0x6F};        // 6 x 5: >>
const WORD kArrowHorz[] = {0x07, 0x8F, 0xDF};                       // 5 x 3: down
const WORD kChevronVert[] = {0x77, 0xAF, 0xDF, 0x77, 0xAF, 0xDF};  // 5 x 6: two downward marks
const WORD kArrowVert[] = {0xDF, 0x9F, 0x1F, 0x9F, 0xDF};          // 3 x 5: left

void DrawImage(HDC hdc, const WORD* bits, int cx, int cy, int x, int y, BOOL bDisabled) {
  HBITMAP bitmap = ::CreateBitmap(cx, cy, 1, 1, bits);
  if (!bitmap) return;
  ::DrawStateA(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, cx, cy,
               DST_BITMAP | (bDisabled ? DSS_DISABLED : DSS_NORMAL));
  ::DeleteObject(bitmap);
}

}  // namespace

BOOL CTkExpButton::Create(CTkToolBar* pToolBar, UINT nID) {
  m_pToolBar = pToolBar;
  CRect empty(0, 0, 0, 0);
  return CButton::Create("", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_FLAT | BS_OWNERDRAW,
                         empty, pToolBar, nID);
}

void CTkExpButton::DrawArrows(HDC hdc, const RECT& rect, BOOL bHorz, BOOL bChevron, BOOL bArrow,
                              BOOL bDisabled, BOOL bPressed) {
  int shift = bPressed ? 1 : 0;
  int cx = rect.right - rect.left, cy = rect.bottom - rect.top;
  if (bHorz) {
    if (bChevron)
      DrawImage(hdc, kChevronHorz, 6, 5, rect.left + (cx - 6) / 2 + shift, rect.top + 2 + shift,
                bDisabled);
    if (bArrow)
      DrawImage(hdc, kArrowHorz, 5, 3, rect.left + (cx - 5) / 2 + shift,
                rect.bottom - 2 - 3 + shift, bDisabled);
  } else {
    if (bChevron)
      DrawImage(hdc, kChevronVert, 5, 6, rect.right - 2 - 5 + shift,
                rect.top + (cy - 6) / 2 + shift, bDisabled);
    if (bArrow)
      DrawImage(hdc, kArrowVert, 3, 5, rect.left + 2 + shift, rect.top + (cy - 5) / 2 + shift,
                bDisabled);
  }
}

BOOL CTkExpButton::ShouldBeEnabled() const {
  return m_pToolBar && (!m_pToolBar->GetHiddenButtons().empty() || m_pToolBar->AllowsCustomize());
}

void CTkExpButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  if (!m_pToolBar) return;
  BOOL horz = m_pToolBar->IsHorizontalForChevron();
  BOOL pressed = (lpDIS->itemState & ODS_SELECTED) && !ToolkitData().m_bFlatLook;
  DrawArrows(lpDIS->hDC, lpDIS->rcItem, horz, !m_pToolBar->GetHiddenButtons().empty(),
             m_pToolBar->AllowsCustomize(), (lpDIS->itemState & ODS_DISABLED) != 0, pressed);
}

CTkExpButton::CTkExpButton() = default;

CTkExpButton::~CTkExpButton() { CTkExpMenuWnd::Close(m_hWndPopup); }

BOOL CTkExpButton::OpenPopup(const RECT& rcScreen) {
  // The popup window of the hidden buttons; it deletes itself and tells the button when it goes.
  // The plain menu of them where a test tracks it, or where the window cannot be made.
  if (!TkHiddenButtonsMenuTrackerSet()) {
    CTkExpMenuWnd::Close(m_hWndPopup);
    m_hWndPopup = CTkExpMenuWnd::Open(this, WM_TK_EXPPOPUP_CLOSED, rcScreen, m_pToolBar);
    if (m_hWndPopup) return TRUE;
  }
  TkTrackHiddenButtonsMenu(m_pToolBar, rcScreen);
  SetState(FALSE);
  return FALSE;
}

void CTkExpButton::OnCustomize() {
  if (!m_pToolBar || !m_pToolBar->m_hWnd) return;
  m_pToolBar->SendMessage(TB_CUSTOMIZE);
  if (CFrameWnd* frame = m_pToolBar->GetDockingFrame()) frame->RecalcLayout();
}

LRESULT CTkExpButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      SetState(TRUE);
      if (m_bPopupOpen) return 0;
      // The popup covers the button as far as every window around it shows it.
      CRect area;
      GetClientRect(&area);
      ClientToScreen(&area);
      for (HWND up = ::GetParent(m_hWnd); up; up = ::GetParent(up)) {
        CRect client;
        ::GetClientRect(up, &client);
        ::MapWindowPoints(up, nullptr, reinterpret_cast<LPPOINT>(&client), 2);
        area.IntersectRect(&area, &client);
      }
      area.bottom -= 1;
      m_bPopupOpen = OpenPopup(area);
      RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return 0;
    }
    case WM_LBUTTONUP:
      if (m_bPopupOpen) return 0;
      SetState(FALSE);
      Invalidate();
      return 0;
    case WM_CANCELMODE: {
      LRESULT result = CButton::WindowProc(message, wParam, lParam);
      CTkExpMenuWnd::Close(m_hWndPopup);
      return result;
    }
    case WM_DESTROY:
      // The popup is owned by the frame's window, not the bar's: it would outlive the bar.
      CTkExpMenuWnd::Close(m_hWndPopup);
      m_hWndPopup = nullptr;
      m_bPopupOpen = FALSE;
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == kTkAddRemoveButtonsCmd) {
        OnCustomize();
        return 0;
      }
      break;
    case WM_TK_EXPPOPUP_CLOSED:
      // Posted once the popup and its window are gone; it has freed itself.
      m_hWndPopup = nullptr;
      m_bPopupOpen = FALSE;
      SetState(FALSE);
      return 0;
  }
  return CButton::WindowProc(message, wParam, lParam);
}
