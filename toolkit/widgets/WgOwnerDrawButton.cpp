#include "toolkit/widgets/WgOwnerDrawButton.h"

#include "framework/wnd/MessageMap.h"
#include "toolkit/services/OSVersion.h"

IMPLEMENT_DYNAMIC(CWgOwnerDrawButton, CWnd)

BEGIN_MESSAGE_MAP(CWgOwnerDrawButton, CButton)
  ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
  ON_WM_GETDLGCODE()
  ON_WM_LBUTTONUP()
  ON_WM_KEYUP()
END_MESSAGE_MAP()

namespace {
DWORD OwnerDrawStyle(DWORD style) { return (style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW; }
}  // namespace

CWgOwnerDrawButton::CWgOwnerDrawButton() {
  const OSVERSIONINFOA* info = GetOSVersionInfo();
  m_bNewLook = !info || info->dwMajorVersion >= 4;
}

BOOL CWgOwnerDrawButton::Create(LPCSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParent,
                                UINT nID, BOOL bDefault) {
  m_bDefault = bDefault;
  return CButton::Create(lpszText, OwnerDrawStyle(dwStyle), rect, pParent, nID);
}

BOOL CWgOwnerDrawButton::SubclassDlgItem(UINT nID, CWnd* pParent, BOOL bDefault) {
  m_bDefault = bDefault;
  if (!CWnd::SubclassDlgItem(nID, pParent)) return FALSE;
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, OwnerDrawStyle(GetStyle()));
  Invalidate();
  return TRUE;
}

LRESULT CWgOwnerDrawButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
  // The dialog manager sets push-button styles when the default button moves: keep drawing.
  return DefWindowProc(BM_SETSTYLE, OwnerDrawStyle(static_cast<DWORD>(wParam)), lParam);
}

UINT CWgOwnerDrawButton::OnGetDlgCode() {
  UINT code = DLGC_BUTTON;
  if (m_bDefault && ::GetFocus() == m_hWnd) code |= DLGC_DEFPUSHBUTTON;
  else code |= DLGC_UNDEFPUSHBUTTON;
  return code;
}

void CWgOwnerDrawButton::OnLButtonUp(UINT nFlags, CPoint point) {
  BOOL pushed = (GetState() & BST_PUSHED) != 0 && ::GetCapture() == m_hWnd;
  CRect client;
  GetClientRect(&client);
  Default();
  if (pushed && client.PtInRect(point)) OnClickAction();
  (void)nFlags;
}

void CWgOwnerDrawButton::OnKeyUp(UINT nChar, UINT, UINT) {
  BOOL pushed = (GetState() & BST_PUSHED) != 0;
  Default();
  if (nChar == VK_SPACE && pushed) OnClickAction();
}

void CWgOwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  CRect rect(lpDIS->rcItem);
  BOOL focused = (lpDIS->itemState & ODS_FOCUS) != 0;
  if (!(lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
    // The focus alone changed: only its rectangle is toggled.
    if (lpDIS->itemAction & ODA_FOCUS) DrawFocusChange(lpDIS->hDC, rect);
    return;
  }
  HDC mem = ::CreateCompatibleDC(lpDIS->hDC);
  HBITMAP bitmap = ::CreateCompatibleBitmap(lpDIS->hDC, rect.Width(), rect.Height());
  if (!mem || !bitmap) {
    if (bitmap) ::DeleteObject(bitmap);
    if (mem) ::DeleteDC(mem);
    return;
  }
  HGDIOBJ oldBitmap = ::SelectObject(mem, bitmap);
  CRect local(0, 0, rect.Width(), rect.Height());
  PrepareDraw(mem);
  CRect contents = DrawFrame(mem, local, (lpDIS->itemState & ODS_SELECTED) != 0);
  DrawContents(mem, contents, lpDIS->itemState);
  if (focused) DrawFocus(mem, local);
  RestoreDraw(mem);
  ::BitBlt(lpDIS->hDC, rect.left, rect.top, rect.Width(), rect.Height(), mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
}

CRect CWgOwnerDrawButton::DrawFrame(HDC hdc, const CRect& rect, BOOL bPushed) {
  CDC* dc = CDC::FromHandle(hdc);
  COLORREF face = ::GetSysColor(COLOR_BTNFACE), shadow = ::GetSysColor(COLOR_BTNSHADOW);
  COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), frame = ::GetSysColor(COLOR_WINDOWFRAME);
  dc->FillSolidRect(&rect, face);
  CRect contents(rect);
  contents.DeflateRect(2, 2);
  if (m_bNewLook) {
    CRect edge(rect);
    if (bPushed) {
      dc->Draw3dRect(&edge, shadow, shadow);
      edge.DeflateRect(1, 1);
      dc->Draw3dRect(&edge, face, face);
      contents.OffsetRect(1, 1);
    } else {
      dc->Draw3dRect(&edge, light, frame);
      edge.DeflateRect(1, 1);
      dc->Draw3dRect(&edge, face, shadow);
    }
    return contents;
  }
  // The old look: a window-frame outline without its corners, then two bevels.
  dc->FillSolidRect(rect.left + 1, rect.top, rect.Width() - 2, 1, frame);
  dc->FillSolidRect(rect.left + 1, rect.bottom - 1, rect.Width() - 2, 1, frame);
  dc->FillSolidRect(rect.left, rect.top + 1, 1, rect.Height() - 2, frame);
  dc->FillSolidRect(rect.right - 1, rect.top + 1, 1, rect.Height() - 2, frame);
  CRect edge(rect);
  edge.DeflateRect(1, 1);
  if (bPushed) {
    dc->Draw3dRect(&edge, shadow, face);
    edge.DeflateRect(1, 1);
    dc->Draw3dRect(&edge, face, face);
    contents.OffsetRect(1, 1);
  } else {
    dc->Draw3dRect(&edge, light, shadow);
    edge.DeflateRect(1, 1);
    dc->Draw3dRect(&edge, light, shadow);
  }
  contents.DeflateRect(1, 1);
  return contents;
}

void CWgOwnerDrawButton::DrawFocus(HDC hdc, const CRect& rect) {
  CRect focus(rect);
  focus.DeflateRect(3, 3);
  ::DrawFocusRect(hdc, &focus);
}

void CWgOwnerDrawButton::DrawFocusChange(HDC hdc, const CRect& rect) {
  // DrawFocusRect inverts: drawing again takes the rectangle away.
  DrawFocus(hdc, rect);
}

void CWgOwnerDrawButton::DrawDisabledBitmap(HDC hdc, HBITMAP hBitmap, int x, int y, int cx,
                                            int cy) {
  HDC src = ::CreateCompatibleDC(hdc);
  HDC mono = ::CreateCompatibleDC(hdc);
  HBITMAP mask = ::CreateBitmap(cx, cy, 1, 1, nullptr);
  HGDIOBJ oldSrc = ::SelectObject(src, hBitmap);
  HGDIOBJ oldMono = ::SelectObject(mono, mask);
  // Light pixels (the face and the highlight) become white in the mask, the drawing black.
  ::SetBkColor(src, ::GetSysColor(COLOR_BTNFACE));
  ::BitBlt(mono, 0, 0, cx, cy, src, 0, 0, SRCCOPY);
  ::SetBkColor(src, ::GetSysColor(COLOR_BTNHIGHLIGHT));
  ::BitBlt(mono, 0, 0, cx, cy, src, 0, 0, SRCPAINT);
  ::SetTextColor(hdc, RGB(0, 0, 0));
  ::SetBkColor(hdc, RGB(255, 255, 255));
  // Where the mask is black the brush goes in: highlight one pixel down-right, shadow on top.
  constexpr DWORD kPSDPxax = 0x00B8074A;
  HBRUSH highlight = ::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
  HGDIOBJ oldBrush = ::SelectObject(hdc, highlight);
  ::BitBlt(hdc, x + 1, y + 1, cx, cy, mono, 0, 0, kPSDPxax);
  HBRUSH shadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
  ::SelectObject(hdc, shadow);
  ::BitBlt(hdc, x, y, cx, cy, mono, 0, 0, kPSDPxax);
  ::SelectObject(hdc, oldBrush);
  ::DeleteObject(highlight);
  ::DeleteObject(shadow);
  ::SelectObject(mono, oldMono);
  ::SelectObject(src, oldSrc);
  ::DeleteObject(mask);
  ::DeleteDC(mono);
  ::DeleteDC(src);
}
