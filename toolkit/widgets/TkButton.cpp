#include "toolkit/widgets/TkButton.h"

#include <algorithm>

#include "toolkit/core/SysColorBitmap.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/gdi/TkMemDC.h"

namespace {

constexpr UINT_PTR kHoverTimer = 1;
constexpr UINT kHoverPeriod = 10;

void Frame3d(HDC hdc, const CRect& rc, COLORREF topLeft, COLORREF bottomRight) {
  CDC* dc = CDC::FromHandle(hdc);
  dc->Draw3dRect(&rc, topLeft, bottomRight);
}

void Fill(HDC hdc, const RECT& rc, COLORREF color) {
  HBRUSH brush = ::CreateSolidBrush(color);
  ::FillRect(hdc, &rc, brush);
  ::DeleteObject(brush);
}

// The module that holds the resource: the toolkit's, else the program's own.
HINSTANCE FindResourceModule(UINT id, LPCSTR type) {
  HINSTANCE module = TkResourceModule();
  if (module && ::FindResourceA(module, MAKEINTRESOURCEA(id), type)) return module;
  return AfxGetInstanceHandle();
}

SIZE TextSize(HDC hdc, const CString& text) {
  SIZE size = {0, 0};
  if (!text.IsEmpty()) ::GetTextExtentPoint32A(hdc, text, text.GetLength(), &size);
  return size;
}

}  // namespace

CTkButton::CTkButton() { LoadSystemColors(); }

CTkButton::~CTkButton() { CleanUpImages(); }

void CTkButton::LoadSystemColors() {
  m_clrText = ::GetSysColor(COLOR_BTNTEXT);
  m_clrFace = ::GetSysColor(COLOR_BTNFACE);
  m_clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
}

// --- colours and images ---

CTkButton& CTkButton::SetColors(COLORREF face, COLORREF hilite, COLORREF shadow, COLORREF text) {
  SetBtnFaceColor(face);
  SetBtnHiliteColor(hilite);
  SetBtnShadowColor(shadow);
  SetBtnTextColor(text);
  m_bCustomColors = TRUE;
  return *this;
}
CTkButton& CTkButton::SetBtnFaceColor(COLORREF clr) { m_clrFace = clr; return *this; }
CTkButton& CTkButton::SetBtnHiliteColor(COLORREF clr) { m_clrHilite = clr; return *this; }
CTkButton& CTkButton::SetBtnShadowColor(COLORREF clr) { m_clrShadow = clr; return *this; }
CTkButton& CTkButton::SetBtnTextColor(COLORREF clr) { m_clrText = clr; return *this; }
CTkButton& CTkButton::SetHotColors(COLORREF border, COLORREF hot, COLORREF pressed) {
  m_clrHotBorder = border;
  m_clrHotFill = hot;
  m_clrPressedFill = pressed;
  m_bHotColors = TRUE;
  return *this;
}

BOOL CTkButton::SetIcon(CSize size, UINT nIconId, UINT nPushedIconId, BOOL bRedraw) {
  CleanUpImages();
  auto load = [&size](UINT id) -> HICON {
    HINSTANCE module = FindResourceModule(id, RT_GROUP_ICON);
    return static_cast<HICON>(
        ::LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size.cx, size.cy, 0));
  };
  HICON icon = load(nIconId);
  if (!icon) return FALSE;
  HICON pushed = nullptr;
  if (nPushedIconId) {
    pushed = load(nPushedIconId);
    if (!pushed) {
      ::DestroyIcon(icon);
      return FALSE;
    }
  }
  return SetIcon(size, icon, pushed, bRedraw);
}

BOOL CTkButton::SetIcon(CSize size, WORD wIconId, WORD wPushedIconId) {
  return SetIcon(size, static_cast<UINT>(wIconId), static_cast<UINT>(wPushedIconId), TRUE);
}

BOOL CTkButton::SetIcon(CSize size, HICON hIcon, HICON hPushedIcon, BOOL bRedraw) {
  if (hIcon != m_hIcon) CleanUpImages();
  m_hIcon = hIcon;
  m_hPushedIcon = hPushedIcon;
  m_sizeImage = size;
  if (m_hWnd && bRedraw) Invalidate();
  return TRUE;
}

BOOL CTkButton::SetBitmap(CSize size, UINT nBitmapId, BOOL bRedraw) {
  CleanUpImages();
  HINSTANCE module = FindResourceModule(nBitmapId, RT_BITMAP);
  HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(nBitmapId), RT_BITMAP);
  if (!resource) return FALSE;
  m_hBitmap = LoadSysColorBitmap(module, resource, FALSE);
  m_hDisabledBitmap = LoadSysColorBitmap(module, resource, TRUE);
  if (!m_hBitmap || !m_hDisabledBitmap) {
    CleanUpImages();
    return FALSE;
  }
  m_sizeImage = size;
  if (m_hWnd && bRedraw) Invalidate();
  return TRUE;
}

BOOL CTkButton::SetTextAndImagePos(CPoint ptImage, CPoint ptText, BOOL bRedraw) {
  m_ptImage = ptImage;
  m_ptText = ptText;
  m_bExplicitPos = TRUE;
  if (m_hWnd && bRedraw) Invalidate();
  return TRUE;
}

void CTkButton::ResetImage() {
  if (m_sizeImage.cx == 0 && m_sizeImage.cy == 0) return;
  CleanUpImages();
  m_sizeImage = CSize(0, 0);
  m_ptImage = m_ptText = CPoint(0, 0);
  if (m_hWnd) Invalidate();
}

void CTkButton::CleanUpImages() {
  if (m_hIcon) ::DestroyIcon(m_hIcon);
  if (m_hPushedIcon) ::DestroyIcon(m_hPushedIcon);
  if (m_hBitmap) ::DeleteObject(m_hBitmap);
  if (m_hDisabledBitmap) ::DeleteObject(m_hDisabledBitmap);
  m_hIcon = m_hPushedIcon = nullptr;
  m_hBitmap = m_hDisabledBitmap = nullptr;
}

DWORD CTkButton::SetXButtonStyle(DWORD dwStyle, BOOL bRedraw) {
  DWORD old = m_dwXStyle;
  m_dwXStyle = dwStyle;
  if (m_hWnd && bRedraw) Invalidate();
  return old;
}

CString CTkButton::GetButtonText(BOOL bStripAmpersands) const {
  CString text;
  if (m_hWnd) GetWindowText(text);
  return bStripAmpersands ? StripMnemonics(text) : text;
}

// --- drawing ---

void CTkButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  HDC hdc = lpDIS->hDC;
  CRect rc(lpDIS->rcItem);
  UINT state = lpDIS->itemState;
  BOOL selected = (state & ODS_SELECTED) != 0;
  const CTkToolkitData& data = ToolkitData();
  int saved = ::SaveDC(hdc);
  Fill(hdc, rc, GetBtnFaceColor());
  ::SetBkColor(hdc, GetBtnFaceColor());
  if ((m_dwXStyle & TKBS_PATTERN) && selected) FillDitheredRect(hdc, rc);
  if (m_dwXStyle & TKBS_FLAT) {
    if (m_bHot || selected)
      Frame3d(hdc, rc, selected ? m_clrShadow : m_clrHilite, selected ? m_clrHilite : m_clrShadow);
  } else if (m_dwXStyle & TKBS_HOTFILL) {
    if (m_bHot || selected) {
      COLORREF border = m_bHotColors ? m_clrHotBorder : data.m_clrSelection;
      COLORREF fill = selected ? (m_bHotColors ? m_clrPressedFill : data.m_clrSelectionHalf)
                               : (m_bHotColors ? m_clrHotFill : data.m_clrSelectionLight);
      Frame3d(hdc, rc, border, border);
      CRect inner = rc;
      inner.DeflateRect(1, 1);
      Fill(hdc, inner, fill);
      ::SetBkColor(hdc, fill);
    }
  } else if (m_dwXStyle & TKBS_THIN3D) {
    COLORREF light = data.m_clrHighlight, dark = data.m_clrShadow;
    Frame3d(hdc, rc, selected ? dark : light, selected ? light : dark);
  } else {
    COLORREF outerTL = m_clrHilite, outerBR = data.m_clrDarkShadow;
    COLORREF innerTL = GetBtnFaceColor(), innerBR = m_clrShadow;
    if (selected) {
      std::swap(outerTL, outerBR);
      std::swap(innerTL, innerBR);
    }
    Frame3d(hdc, rc, outerTL, outerBR);
    CRect inner = rc;
    inner.DeflateRect(1, 1);
    Frame3d(hdc, inner, innerTL, innerBR);
  }
  ::SetBkMode(hdc, TRANSPARENT);
  DrawButtonText(hdc, state, rc);
  DrawIcon(hdc, state, rc);
  DrawBitmap(hdc, state, rc);
  if ((m_dwXStyle & TKBS_FOCUSRECT) && (state & ODS_FOCUS)) {
    CRect focus = rc;
    focus.DeflateRect(2, 2);
    ::DrawFocusRect(hdc, &focus);
  }
  ::RestoreDC(hdc, saved);
}

CPoint CTkButton::GetImagePos(HDC hdc, UINT nState, const CRect& rc, BOOL bAllowShift) {
  CPoint pt;
  if (m_bExplicitPos) {
    pt = m_ptImage;
  } else {
    int w = rc.Width(), h = rc.Height();
    int cx = m_sizeImage.cx, cy = m_sizeImage.cy;
    DWORD style = GetStyle();
    CString text = GetButtonText(TRUE);
    pt = CPoint(m_nMargin, std::max(0, (h - cy) / 2));
    if (!(m_dwXStyle & TKBS_IMAGEABOVE)) {
      if (text.IsEmpty()) {
        if ((style & BS_CENTER) == BS_CENTER && cx <= w) pt.x = (w - cx) / 2;
        if ((style & BS_VCENTER) == BS_VCENTER && cy <= h) pt.y = (h - cy) / 2;
      }
    } else {
      if (!text.IsEmpty()) {
        HGDIOBJ old = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
        SIZE size = TextSize(hdc, text);
        ::SelectObject(hdc, old);
        pt.y -= size.cy / 2 + m_nGap / 2;
      }
      DWORD horz = style & BS_CENTER;
      if (horz == BS_CENTER || horz == 0) pt.x = rc.left + std::max(0, (w - cx) / 2);
      else if (horz & BS_RIGHT) pt.x = rc.right - m_nMargin - cx;
      else pt.x = m_nMargin;
    }
  }
  if ((nState & ODS_SELECTED) && bAllowShift) pt.Offset(1, 1);
  return pt;
}

void CTkButton::DrawIcon(HDC hdc, UINT nState, const CRect& rc) {
  if (!m_hIcon) return;
  BOOL selected = (nState & ODS_SELECTED) != 0;
  CPoint pt = GetImagePos(hdc, nState, rc, m_hPushedIcon == nullptr);
  HICON icon = (selected && m_hPushedIcon) ? m_hPushedIcon : m_hIcon;
  ::DrawStateA(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, pt.x, pt.y,
               m_sizeImage.cx, m_sizeImage.cy,
               DST_ICON | ((nState & ODS_DISABLED) ? DSS_DISABLED : DSS_NORMAL));
}

void CTkButton::DrawBitmap(HDC hdc, UINT nState, const CRect& rc) {
  BOOL disabled = (nState & ODS_DISABLED) != 0;
  HBITMAP bitmap = disabled ? m_hDisabledBitmap : m_hBitmap;
  if (!bitmap) return;
  CPoint pt = GetImagePos(hdc, nState, rc, TRUE);
  ::DrawStateA(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, pt.x, pt.y,
               m_sizeImage.cx, m_sizeImage.cy, DST_BITMAP | (disabled ? DSS_DISABLED : 0));
}

void CTkButton::DrawButtonText(HDC hdc, UINT nState, const CRect& rcItem) {
  CString text = GetButtonText(FALSE);
  CString stripped = StripMnemonics(text);
  if (stripped.IsEmpty()) return;
  HGDIOBJ oldFont = ::SelectObject(hdc, reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  SIZE size = TextSize(hdc, stripped);
  CRect rc = rcItem;
  rc.DeflateRect(2, 0);
  CPoint pt;
  if (m_bExplicitPos) {
    pt = m_ptText;
  } else {
    int cx = m_sizeImage.cx, cy = m_sizeImage.cy;
    BOOL above = (m_dwXStyle & TKBS_IMAGEABOVE) != 0;
    pt = CPoint(m_nMargin, std::max(0, static_cast<int>((rc.Height() - size.cy) / 2)));
    if (above) pt.y = m_nGap / 2 + pt.y + cy / 2;
    DWORD horz = GetStyle() & BS_CENTER;
    if (horz == BS_CENTER || horz == 0) {
      if (!above) pt.x += cx;
      pt.x += (rc.right - pt.x - size.cx - m_nMargin) / 2;
    } else if (horz & BS_RIGHT) {
      pt.x = rc.right - m_nMargin - size.cx;
    } else if (!above) {
      pt.x += cx + m_nGap;
    }
  }
  if (nState & ODS_SELECTED) pt.Offset(1, 1);
  ::SetTextColor(hdc, (nState & ODS_DISABLED) ? ToolkitData().m_clrGrayText : m_clrText);
  ::DrawStateA(hdc, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)),
               text.GetLength(), pt.x, pt.y, size.cx, size.cy, DST_PREFIXTEXT);
  ::SelectObject(hdc, oldFont);
}

// --- behaviour ---

void CTkButton::RequestDeferredInit() {
  if (m_nInitCounter == 0) return;
  ++m_nInitCounter;
  PostMessage(WM_TK_FINISH_SETUP, 0, m_nInitCounter);
}

void CTkButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  RequestDeferredInit();
}

BOOL CTkButton::IsCursorOver() const {
  POINT pt;
  RECT rc;
  ::GetCursorPos(&pt);
  ::GetWindowRect(m_hWnd, &rc);
  return ::PtInRect(&rc, pt);
}

void CTkButton::TrackHover() {
  if (!m_bPressed && IsCursorOver()) {
    if (!m_bTracking) {
      m_bHot = TRUE;
      Invalidate();
      m_bTracking = TRUE;
    }
    return;
  }
  KillTimer(kHoverTimer);
  m_bHot = FALSE;
  if (m_bTracking) {
    Invalidate();
    m_bTracking = FALSE;
  }
}

void CTkButton::OnPaint() {
  PAINTSTRUCT ps;
  CDC* target = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
  {
    CRect client;
    GetClientRect(&client);
    CTkMemDC memory(target, client, ToolkitData().m_clrFace);
    // The control paints itself (and asks its owner-draw) into the picture.
    CWnd::DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), 0);
  }
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CTkButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      LRESULT result = CButton::WindowProc(message, wParam, lParam);
      if (result != -1) RequestDeferredInit();
      return result;
    }
    case WM_TK_FINISH_SETUP:
      if (static_cast<int>(lParam) == m_nInitCounter && m_nInitCounter != 0) {
        m_nInitCounter = 0;
        ModifyStyle(0, BS_OWNERDRAW);
        SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()), TRUE);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (m_dwXStyle & TKBS_TRACKMASK) {
        SetTimer(kHoverTimer, kHoverPeriod);
        TrackHover();
      }
      break;
    case WM_TIMER:
      if (wParam == kHoverTimer) {
        TrackHover();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (!m_bPressed) {
        m_bPressed = TRUE;
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
      if (m_bPressed) {
        m_bPressed = FALSE;
        Invalidate();
      }
      break;
    case WM_LBUTTONDBLCLK: {
      // A double click is a second click.
      POINT pt;
      ::GetCursorPos(&pt);
      ::ScreenToClient(m_hWnd, &pt);
      SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
      return 0;
    }
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorA(nullptr, IDC_ARROW));
      return TRUE;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT:
      if (wParam) break;  // a given DC (printing): the control's own painting
      OnPaint();
      return 0;
    case WM_SYSCOLORCHANGE:
      if (!m_bCustomColors) LoadSystemColors();
      break;
  }
  return CButton::WindowProc(message, wParam, lParam);
}
