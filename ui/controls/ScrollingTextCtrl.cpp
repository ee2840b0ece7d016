#include "ui/controls/ScrollingTextCtrl.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "framework/app/AfxResource.h"

namespace {

// With a background picture and the grey flag, the text layer's grey lets the picture through;
// picture lines are drawn with the same grey as their transparent colour.
constexpr COLORREF kGrey = RGB(192, 192, 192);
const char kStopLine[] = "<STOP>";
const char kVerdana[] = "Verdana";
const char kArial[] = "Arial";

// A memory device context with a bitmap selected, put back as it was when it goes.
class MemDC {
 public:
  MemDC(HDC like, HBITMAP bitmap) : m_dc(::CreateCompatibleDC(like)) {
    m_old = m_dc ? ::SelectObject(m_dc, bitmap) : nullptr;
  }
  ~MemDC() {
    if (!m_dc) return;
    ::SelectObject(m_dc, m_old);
    ::DeleteDC(m_dc);
  }
  MemDC(const MemDC&) = delete;
  MemDC& operator=(const MemDC&) = delete;
  operator HDC() const { return m_dc; }  // NOLINT

 private:
  HDC m_dc;
  HGDIOBJ m_old;
};

// The window's device context for as long as it is needed.
class WindowDC {
 public:
  explicit WindowDC(HWND wnd) : m_wnd(wnd), m_dc(::GetDC(wnd)) {}
  ~WindowDC() { ::ReleaseDC(m_wnd, m_dc); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  operator HDC() const { return m_dc; }  // NOLINT

 private:
  HWND m_wnd;
  HDC m_dc;
};

// A one-bit mask of a colour bitmap: 1 where the pixel is the key colour.
HBITMAP MakeMask(HDC source, int width, int height, COLORREF key) {
  HBITMAP mask = ::CreateBitmap(width, height, 1, 1, nullptr);
  if (!mask) return nullptr;
  MemDC maskDC(source, mask);
  COLORREF oldBk = ::SetBkColor(source, key);
  ::BitBlt(maskDC, 0, 0, width, height, source, 0, 0, SRCCOPY);
  ::SetBkColor(source, oldBk);
  return mask;
}

// dest = (dest AND mask) OR picture, where the picture is black wherever the mask is set.
void BlitThroughMask(HDC dest, int x, int y, int width, int height, HDC picture, HDC mask, int xSrc,
                     int ySrc) {
  COLORREF oldText = ::SetTextColor(dest, RGB(0, 0, 0));
  COLORREF oldBk = ::SetBkColor(dest, RGB(255, 255, 255));
  ::BitBlt(dest, x, y, width, height, mask, xSrc, ySrc, SRCAND);
  ::BitBlt(dest, x, y, width, height, picture, xSrc, ySrc, SRCPAINT);
  ::SetTextColor(dest, oldText);
  ::SetBkColor(dest, oldBk);
}

// Blackens a colour bitmap wherever its mask is set (destination AND NOT source).
void BlackenMasked(HDC picture, HDC mask, int width, int height) {
  COLORREF oldText = ::SetTextColor(picture, RGB(0, 0, 0));
  COLORREF oldBk = ::SetBkColor(picture, RGB(255, 255, 255));
  ::BitBlt(picture, 0, 0, width, height, mask, 0, 0, 0x00220326);
  ::SetTextColor(picture, oldText);
  ::SetBkColor(picture, oldBk);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP bm = {};
  if (!bitmap || !::GetObjectA(bitmap, sizeof bm, &bm)) return {0, 0};
  return {bm.bmWidth, bm.bmHeight};
}

// A bitmap resource by name, or by number when the name is all digits.
HBITMAP LoadNamedBitmap(const CString& name) {
  if (name.IsEmpty()) return nullptr;
  const char* text = name;
  bool digits = true;
  for (const char* p = text; *p; ++p) digits = digits && std::isdigit(static_cast<unsigned char>(*p));
  HINSTANCE module = AfxGetResourceHandle();
  if (digits) return ::LoadBitmapA(module, MAKEINTRESOURCEA(std::atoi(text)));
  return ::LoadBitmapA(module, text);
}

// A picture line's bitmap ready to be drawn transparently: a copy with its grey made black, and
// its mask.
bool PreparePicture(HDC like, HBITMAP loaded, HBITMAP& picture, HBITMAP& mask, SIZE& size) {
  size = BitmapSize(loaded);
  if (size.cx <= 0 || size.cy <= 0) return false;
  picture = ::CreateCompatibleBitmap(like, size.cx, size.cy);
  if (!picture) return false;
  {
    MemDC from(like, loaded);
    MemDC to(like, picture);
    ::BitBlt(to, 0, 0, size.cx, size.cy, from, 0, 0, SRCCOPY);
    mask = MakeMask(to, size.cx, size.cy, kGrey);
    if (mask) {
      MemDC maskDC(like, mask);
      BlackenMasked(to, maskDC, size.cx, size.cy);
    }
  }
  if (!mask) {
    ::DeleteObject(picture);
    picture = nullptr;
    return false;
  }
  return true;
}

int Channel(int mode, int c, int i) {
  switch (mode) {
    case 1: return c - i * c / 255;
    case 2: return c + i * (255 - c) / 255;
    case 3: return i * c / 255;
    case 4: return 255 - i * (255 - c) / 255;
    default: return c;
  }
}

}  // namespace

COLORREF GradientBandColour(int mode, COLORREF c, int band) {
  return RGB(Channel(mode, GetRValue(c), band), Channel(mode, GetGValue(c), band),
             Channel(mode, GetBValue(c), band));
}

BEGIN_MESSAGE_MAP(ScrollingTextCtrl, CWnd)
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

ScrollingTextCtrl::ScrollingTextCtrl()
    : m_crBackground(RGB(0, 0, 0)),
      m_crPlain(RGB(255, 255, 255)),
      m_crStyle1(RGB(255, 255, 0)),
      m_crStyle2(RGB(0, 255, 255)),
      m_crStyle3(RGB(255, 160, 64)),
      m_nPlainHeight(16),
      m_nHeight1(28),
      m_nHeight2(22),
      m_nHeight3(18),
      m_chStyle1('^'),
      m_chStyle2('~'),
      m_chStyle3('_'),
      m_chPicture('#') {}

ScrollingTextCtrl::~ScrollingTextCtrl() {
  if (m_hWnd) DestroyWindow();
  DropLayer();
  DropPicture();
}

BOOL ScrollingTextCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                               LPCSTR lpszTitle) {
  LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW));
  HWND parent = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
  HMENU id = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
  return CreateEx(0, cls, lpszTitle ? lpszTitle : "", dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent, id);
}

void ScrollingTextCtrl::AddLine(LPCSTR line) { m_lines.emplace_back(line ? line : ""); }

void ScrollingTextCtrl::RemoveAllLines() {
  m_lines.clear();
  m_nPosition = 0;
  m_bFirstPass = TRUE;
}

void ScrollingTextCtrl::SetColours(COLORREF background, COLORREF plain, COLORREF style1,
                                   COLORREF style2, COLORREF style3) {
  m_crBackground = background;
  m_crPlain = plain;
  m_crStyle1 = style1;
  m_crStyle2 = style2;
  m_crStyle3 = style3;
  DropLayer();
}

void ScrollingTextCtrl::SetFontHeights(int plain, int style1, int style2, int style3) {
  m_nPlainHeight = plain;
  m_nHeight1 = style1;
  m_nHeight2 = style2;
  m_nHeight3 = style3;
}

void ScrollingTextCtrl::SetMarkers(char style1, char style2, char style3, char picture) {
  m_chStyle1 = style1;
  m_chStyle2 = style2;
  m_chStyle3 = style3;
  m_chPicture = picture;
}

void ScrollingTextCtrl::SetBackgroundPicture(HBITMAP picture, BOOL greyTransparent) {
  m_hBackPicture = picture;
  m_sizeBackPicture = BitmapSize(picture);
  m_bGreyTransparent = greyTransparent;
  DropLayer();
}

ScrollingTextCtrl::LineStyle ScrollingTextCtrl::GetLineStyle(const CString& line, BOOL fullRepaint) const {
  const int length = line.GetLength();
  const char last = length > 0 ? line[length - 1] : '\0';
  CString rest = length > 0 ? line.Left(length - 1) : CString();
  if (length > 0 && last == m_chStyle1) return {kStyle1, kVerdana, m_nHeight1, 700, m_crStyle1, rest};
  if (length > 0 && last == m_chStyle2)
    return {kStyle2, fullRepaint ? kArial : kVerdana, m_nHeight2, 700, m_crStyle2, rest};
  if (length > 0 && last == m_chStyle3) return {kStyle3, kVerdana, m_nHeight3, 700, m_crStyle3, rest};
  if (length > 0 && last == m_chPicture) return {kPicture, "", 0, 0, m_crPlain, rest};
  return {kPlain, kVerdana, m_nPlainHeight, 100, m_crPlain, line};
}

int ScrollingTextCtrl::GetLineTicks(Style style) const {
  int height = m_nPlainHeight;
  if (style == kStyle1) height = m_nHeight1;
  else if (style == kStyle2) height = m_nHeight2;
  else if (style == kStyle3) height = m_nHeight3;
  // A font height may be negative (a character height) or 0 (the default size); the tick count
  // is a divisor, so it is never below 1.
  return std::max(1, std::abs(height));
}

HFONT ScrollingTextCtrl::MakeFont(const LineStyle& style) const {
  return ::CreateFontA(style.height, 0, 0, 0, style.weight, FALSE, FALSE, FALSE, 0, 0, 0, 2, 6,
                       style.face);
}

void ScrollingTextCtrl::Start(UINT interval) {
  if (!m_hWnd) return;
  m_bRunning = TRUE;
  SetTimer(kTimerId, interval ? interval : kDefaultInterval);
}

void ScrollingTextCtrl::Stop() {
  if (m_hWnd) KillTimer(kTimerId);
  m_bRunning = FALSE;
  DropLayer();
}

void ScrollingTextCtrl::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kTimerId) {
    CWnd::OnTimer(nIDEvent);
    return;
  }
  Tick();
}

void ScrollingTextCtrl::Tick() {
  if (!m_bPictureScrolling) {
    ++m_nTick;
    if (m_nTick % GetLineTicks(GetLineStyle(m_strCurrent, FALSE).style) == 0) NextLine();
  }
  RECT client;
  GetClientRect(&client);
  if (client.right <= 0 || client.bottom <= 0) return;
  DrawStep(client);
  // A stop line leaves what is shown as it was.
  if (!m_bRunning || !m_hLayer) return;
  WindowDC dc(m_hWnd);
  Composite(dc, client);
}

void ScrollingTextCtrl::NextLine() {
  // The counter runs within the line: each line takes its own height in ticks, so it comes in
  // whole before the next one starts below it.
  m_nTick = 0;
  m_nOffset = 0;
  if (m_lines.empty()) {
    m_strCurrent.Empty();
    return;
  }
  if (m_nPosition >= static_cast<int>(m_lines.size())) m_nPosition = 0;
  m_strCurrent = m_lines[static_cast<size_t>(m_nPosition)];
  if (++m_nPosition >= static_cast<int>(m_lines.size())) {
    m_nPosition = 0;
    m_bFirstPass = FALSE;
  }
}

bool ScrollingTextCtrl::EnsureLayer(const RECT& client) {
  if (m_hLayer && m_sizeLayer.cx == client.right && m_sizeLayer.cy == client.bottom) return true;
  DropLayer();
  WindowDC screen(m_hWnd);
  m_hLayer = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  if (!m_hLayer) return false;
  m_sizeLayer = {client.right, client.bottom};
  MemDC layer(screen, m_hLayer);
  FillBackground(layer, client, client);
  return true;
}

void ScrollingTextCtrl::DropLayer() {
  if (m_hLayer) ::DeleteObject(m_hLayer);
  m_hLayer = nullptr;
  m_sizeLayer = {0, 0};
}

void ScrollingTextCtrl::DropPicture() {
  if (m_hPicture) ::DeleteObject(m_hPicture);
  if (m_hPictureMask) ::DeleteObject(m_hPictureMask);
  m_hPicture = m_hPictureMask = nullptr;
  m_sizePicture = {0, 0};
}

bool ScrollingTextCtrl::LoadPicture(const CString& name) {
  DropPicture();
  HBITMAP loaded = LoadNamedBitmap(name);
  if (!loaded) return false;
  WindowDC screen(m_hWnd);
  bool ok = PreparePicture(screen, loaded, m_hPicture, m_hPictureMask, m_sizePicture);
  ::DeleteObject(loaded);
  return ok;
}

COLORREF ScrollingTextCtrl::LayerKeyColour() const {
  return (m_hBackPicture && m_bGreyTransparent) ? kGrey : m_crBackground;
}

void ScrollingTextCtrl::FillBackground(HDC dc, const RECT& area, const RECT& client) const {
  COLORREF oldBk = ::GetBkColor(dc);
  const int width = client.right - client.left;
  if (m_nGradient != 0 && width > 0) {
    for (int i = 0; i < 256; ++i) {
      RECT band = {client.left + i * width / 256, area.top, client.left + (i + 1) * width / 256,
                   area.bottom};
      RECT part;
      if (!::IntersectRect(&part, &band, &area)) continue;
      ::SetBkColor(dc, GradientBandColour(m_nGradient, m_crBackground, i));
      ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
    }
  } else {
    ::SetBkColor(dc, LayerKeyColour());
    ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  }
  ::SetBkColor(dc, oldBk);
}

void ScrollingTextCtrl::DrawStep(const RECT& client) {
  if (!EnsureLayer(client)) return;
  WindowDC screen(m_hWnd);
  MemDC layer(screen, m_hLayer);
  const int width = client.right, height = client.bottom;
  const int step = std::abs(m_nStep);

  ::BitBlt(layer, 0, m_nStep, width, height, layer, 0, 0, SRCCOPY);
  m_nOffset += step;
  LineStyle style = GetLineStyle(m_strCurrent, FALSE);
  RECT strip = {0, height - step, width, height};
  FillBackground(layer, strip, client);

  if (m_bPictureScrolling || style.style == kPicture) {
    DrawPictureStep(layer, client, step);
  } else if (!m_strCurrent.IsEmpty()) {
    DrawTextStep(layer, client, style);
  }
}

void ScrollingTextCtrl::DrawPictureStep(HDC layer, const RECT& client, int step) {
  if (!m_bPictureScrolling) {
    if (!LoadPicture(GetLineStyle(m_strCurrent, FALSE).text)) {
      // Nothing to show: the line is over.
      m_strCurrent.Empty();
      m_nTick = 1;
      return;
    }
    m_bPictureScrolling = TRUE;
    m_nOffset = step;
  }
  m_ptPicture = {(client.right - m_sizePicture.cx) / 2, client.bottom - m_nOffset};
  // Only the rows that came in with this step are new; the rest scrolled up with the layer.
  const int from = m_nOffset - step;
  const int rows = std::min(step, static_cast<int>(m_sizePicture.cy) - from);
  if (rows > 0) {
    MemDC picture(layer, m_hPicture);
    MemDC mask(layer, m_hPictureMask);
    BlitThroughMask(layer, m_ptPicture.x, client.bottom - step, m_sizePicture.cx, rows, picture, mask, 0,
                    from);
  }
  if (m_nOffset >= m_sizePicture.cy) {
    DropPicture();
    m_bPictureScrolling = FALSE;
    m_strCurrent.Empty();
    m_nTick = 1;
  }
}

void ScrollingTextCtrl::DrawTextStep(HDC layer, const RECT& client, const LineStyle& style) {
  HFONT font = MakeFont(style);
  HGDIOBJ oldFont = ::SelectObject(layer, font);
  if (m_nOffset == std::abs(m_nStep)) {
    SIZE extent = {};
    ::GetTextExtentPoint32A(layer, style.text, style.text.GetLength(), &extent);
    if (extent.cx > m_nBandWidth) m_nBandWidth = static_cast<int>(std::min<LONG>(extent.cx, client.right));
  }
  if (m_strCurrent.Find(kStopLine) >= 0) {
    ::SelectObject(layer, oldFont);
    ::DeleteObject(font);
    Stop();
    return;
  }
  const int left = (client.right - m_nBandWidth) / 2;
  const int lineHeight = GetLineTicks(style.style);
  RECT box = {left, client.bottom - m_nOffset, left + m_nBandWidth, client.bottom - m_nOffset + lineHeight};
  int oldMode = ::SetBkMode(layer, TRANSPARENT);
  COLORREF oldColour = ::SetTextColor(layer, style.colour);
  ::DrawTextA(layer, style.text, style.text.GetLength(), &box, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX);
  ::SetTextColor(layer, oldColour);
  ::SetBkMode(layer, oldMode);
  ::SelectObject(layer, oldFont);
  ::DeleteObject(font);
}

void ScrollingTextCtrl::FullRepaint() {
  RECT client;
  GetClientRect(&client);
  if (client.right <= 0 || client.bottom <= 0 || !EnsureLayer(client)) return;
  WindowDC screen(m_hWnd);
  {
    MemDC layer(screen, m_hLayer);
    FillBackground(layer, client, client);
    int y = 0;
    int oldMode = ::SetBkMode(layer, TRANSPARENT);
    for (size_t i = 0; i < m_lines.size() && y < client.bottom; ++i) {
      LineStyle style = GetLineStyle(m_lines[i], TRUE);
      if (style.style == kPicture) {
        HBITMAP loaded = LoadNamedBitmap(style.text);
        HBITMAP picture = nullptr, mask = nullptr;
        SIZE size = {};
        if (loaded && PreparePicture(screen, loaded, picture, mask, size)) {
          MemDC pictureDC(screen, picture);
          MemDC maskDC(screen, mask);
          BlitThroughMask(layer, (client.right - size.cx) / 2, y, size.cx, size.cy, pictureDC, maskDC, 0, 0);
          y += size.cy;
        }
        if (loaded) ::DeleteObject(loaded);
        if (picture) ::DeleteObject(picture);
        if (mask) ::DeleteObject(mask);
        continue;
      }
      if (m_lines[i].Find(kStopLine) >= 0) continue;  // a command, not a text
      HFONT font = MakeFont(style);
      HGDIOBJ oldFont = ::SelectObject(layer, font);
      COLORREF oldColour = ::SetTextColor(layer, style.colour);
      const int lineHeight = GetLineTicks(style.style);
      RECT box = {0, y, client.right, y + lineHeight};
      ::DrawTextA(layer, style.text, style.text.GetLength(), &box, DT_SINGLELINE | DT_CENTER | DT_NOPREFIX);
      ::SetTextColor(layer, oldColour);
      ::SelectObject(layer, oldFont);
      ::DeleteObject(font);
      y += lineHeight;
    }
    ::SetBkMode(layer, oldMode);
  }
}

void ScrollingTextCtrl::Composite(HDC target, const RECT& client) {
  if (!m_hLayer) return;
  const int width = client.right, height = client.bottom;
  MemDC layer(target, m_hLayer);
  if (!m_hBackPicture || m_sizeBackPicture.cx <= 0 || m_sizeBackPicture.cy <= 0) {
    ::BitBlt(target, 0, 0, width, height, layer, 0, 0, SRCCOPY);
    return;
  }
  HBITMAP tiles = ::CreateCompatibleBitmap(target, width, height);
  HBITMAP text = ::CreateCompatibleBitmap(target, width, height);
  HBITMAP mask = MakeMask(layer, width, height, LayerKeyColour());
  if (tiles && text && mask) {
    MemDC tilesDC(target, tiles);
    MemDC textDC(target, text);
    MemDC maskDC(target, mask);
    MemDC back(target, m_hBackPicture);
    for (int y = 0; y < height; y += m_sizeBackPicture.cy)
      for (int x = 0; x < width; x += m_sizeBackPicture.cx)
        ::BitBlt(tilesDC, x, y, m_sizeBackPicture.cx, m_sizeBackPicture.cy, back, 0, 0, SRCCOPY);
    ::BitBlt(textDC, 0, 0, width, height, layer, 0, 0, SRCCOPY);
    BlackenMasked(textDC, maskDC, width, height);
    BlitThroughMask(tilesDC, 0, 0, width, height, textDC, maskDC, 0, 0);
    ::BitBlt(target, 0, 0, width, height, tilesDC, 0, 0, SRCCOPY);
  } else {
    ::BitBlt(target, 0, 0, width, height, layer, 0, 0, SRCCOPY);
  }
  if (tiles) ::DeleteObject(tiles);
  if (text) ::DeleteObject(text);
  if (mask) ::DeleteObject(mask);
}

void ScrollingTextCtrl::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  // While running the timer draws; a paint only validates.
  if (!m_bRunning) {
    FullRepaint();
    RECT client;
    GetClientRect(&client);
    Composite(dc, client);
  }
  ::EndPaint(m_hWnd, &ps);
}

BOOL ScrollingTextCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void ScrollingTextCtrl::OnDestroy() {
  Stop();
  DropPicture();
  m_bPictureScrolling = FALSE;
  RemoveAllLines();
  CWnd::OnDestroy();
}
