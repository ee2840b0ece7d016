// CTkToolBar: the bar's bitmap, drawn in the standard greys and shown in the user's colours, and
// the button and image sizes the bar keeps in step with the control's.
#include "framework/app/AfxResource.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/SysColorBitmap.h"
#include "toolkit/core/ToolkitData.h"

namespace {

// Older controls measure their buttons differently unless they are flat and transparent while
// they take a new size or font; the bar's own look is put back afterwards.
constexpr DWORD kMeasureStyles = TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;

// The border a control bar draws on each of its top and bottom edges.
constexpr int kBarBorder = 2;

}  // namespace

CTkToolBar::~CTkToolBar() {
  // An open colour popup reports to this bar: it goes first.
  if (m_hWndColorPopup && ::IsWindow(m_hWndColorPopup)) ::DestroyWindow(m_hWndColorPopup);
  if (m_hbmImageWell) ::DeleteObject(m_hbmImageWell);
}

BOOL CTkToolBar::LoadBitmap(LPCSTR lpszResourceName) {
  HINSTANCE inst = AfxGetResourceHandle();
  HRSRC res = ::FindResourceA(inst, lpszResourceName, MAKEINTRESOURCEA(2));
  if (!res) return FALSE;
  HBITMAP bitmap = LoadSysColorBitmap(inst, res);
  // The control masks the images on the face colour.
  if (bitmap) TkMagentaToFace(bitmap, ::GetSysColor(COLOR_BTNFACE));
  if (!bitmap || !SetBitmap(bitmap)) {
    if (bitmap) ::DeleteObject(bitmap);
    return FALSE;
  }
  // Kept after SetBitmap, which forgets the source of a bitmap given by handle.
  m_hInstImageWell = inst;
  m_hRsrcImageWell = res;
  return TRUE;
}

BOOL CTkToolBar::SetBitmap(HBITMAP hbmImageWell) {
  m_hInstImageWell = nullptr;
  m_hRsrcImageWell = nullptr;
  if (!AddImageWell(hbmImageWell)) return FALSE;
  if (m_hbmImageWell && m_hbmImageWell != hbmImageWell) ::DeleteObject(m_hbmImageWell);
  m_hbmImageWell = hbmImageWell;
  return TRUE;
}

// The first bitmap is added; a later one replaces the earlier in place, so the buttons' image
// indexes stay as they are.
BOOL CTkToolBar::AddImageWell(HBITMAP hbm) {
  BITMAP info = {};
  if (!hbm || !::GetObjectA(hbm, sizeof info, &info) || m_sizeImage.cx <= 0) return FALSE;
  int count = info.bmWidth / m_sizeImage.cx;
  if (!m_hbmImageWell) {
    TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(hbm)};
    return SendMessage(TB_ADDBITMAP, count, reinterpret_cast<LPARAM>(&add)) != -1;
  }
  TBREPLACEBITMAP replace = {};
  replace.hInstOld = nullptr;
  replace.nIDOld = reinterpret_cast<UINT_PTR>(m_hbmImageWell);
  replace.hInstNew = nullptr;
  replace.nIDNew = reinterpret_cast<UINT_PTR>(hbm);
  replace.nButtons = count;
  return SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&replace)) != 0;
}

void CTkToolBar::OnSysColorChange() {
  Default();
  if (!m_hInstImageWell || !m_hRsrcImageWell) return;
  HINSTANCE inst = m_hInstImageWell;
  HRSRC res = m_hRsrcImageWell;
  HBITMAP bitmap = LoadSysColorBitmap(inst, res);
  if (bitmap) TkMagentaToFace(bitmap, ::GetSysColor(COLOR_BTNFACE));
  if (!bitmap || !SetBitmap(bitmap)) {
    if (bitmap) ::DeleteObject(bitmap);
  }
  // Still reloadable at the next change, whatever this one gave.
  m_hInstImageWell = inst;
  m_hRsrcImageWell = res;
  Invalidate();
}

void CTkToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  m_sizeButton = sizeButton;
  m_sizeImage = sizeImage;
  if (!m_hWnd) return;
  // Flat list-style buttons draw no edge of their own: a little narrower, with even margins.
  if (ToolkitData().m_bFlatLook && (GetStyle() & TBSTYLE_LIST)) {
    sizeButton.cx -= 4;
    SendMessage(TB_SETPADDING, 0, MAKELPARAM(3, 7));
  }
  // The handlers of the two messages keep the sizes the control accepts.
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
  Invalidate();
}

LRESULT CTkToolBar::OnSetButtonSize(WPARAM, LPARAM lParam) {
  DWORD style = GetStyle();
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style | kMeasureStyles));
  LRESULT done = Default();
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
  if (done) m_sizeButton = SIZE{LOWORD(lParam), HIWORD(lParam)};
  return done;
}

LRESULT CTkToolBar::OnSetBitmapSize(WPARAM, LPARAM lParam) {
  DWORD style = GetStyle();
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style | kMeasureStyles));
  LRESULT done = Default();
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
  if (done) m_sizeImage = SIZE{LOWORD(lParam), HIWORD(lParam)};
  return done;
}

void CTkToolBar::SetHeight(int cyHeight) {
  int room = cyHeight;
  if (m_dwStyle & CBRS_BORDER_TOP) room -= kBarBorder;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) room -= kBarBorder;
  m_cyBottomBorder = (room - m_sizeButton.cy) / 2;
  m_cyTopBorder = room - m_sizeButton.cy - m_cyBottomBorder;
  if (m_cyTopBorder < 0) {
    m_cyBottomBorder += m_cyTopBorder;
    m_cyTopBorder = 0;
  }
  if (m_hWnd) {
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
  }
}

// The system's setting changes and a new font are measured as the sizes are.
LRESULT CTkToolBar::OnUnderMeasureStyles(WPARAM, LPARAM) {
  DWORD style = GetStyle();
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style | kMeasureStyles));
  LRESULT result = Default();
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
  return result;
}
