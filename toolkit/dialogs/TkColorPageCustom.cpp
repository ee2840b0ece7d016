#include "toolkit/dialogs/TkColorPageCustom.h"

#include <commctrl.h>

#include "framework/dialogs/DataExchange.h"
#include <algorithm>

#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitColourIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/dialogs/TkColorDialog.h"
#include "toolkit/gdi/ColorValue.h"

namespace {
int g_focus = 0;
constexpr int kBarInset = 4;   // the bar leaves this much at top and bottom
constexpr int kBarWidth = 14;
constexpr int kArrowLeft = 17;
}  // namespace

int TkColorPageFocus() { return g_focus; }

void ColorToHSL255(COLORREF color, int& luminance, int& saturation, int& hue) {
  double h, s, l;
  ColorValue(color).GetHSL(h, s, l);
  luminance = static_cast<int>(l * 255);
  saturation = static_cast<int>(s * 255);
  hue = static_cast<int>(h * 255);
}

// ---- tracker ----

BEGIN_MESSAGE_MAP(CTkColorTracker, CStatic)
  ON_WM_CREATE()
  ON_MESSAGE(WM_TK_ADDNOTIFY, OnAddNotify)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CTkColorTracker::~CTkColorTracker() = default;

void CTkColorTracker::PreSubclassWindow() { PostMessage(WM_TK_ADDNOTIFY); }

int CTkColorTracker::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  SendMessage(WM_TK_ADDNOTIFY);
  return 0;
}

LRESULT CTkColorTracker::OnAddNotify(WPARAM, LPARAM) {
  if (m_bFirst) {
    m_bFirst = FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, GetStyle() | SS_NOTIFY);
  }
  return 0;
}

void CTkColorTracker::SetColor(COLORREF color, BOOL) {
  if (m_color == static_cast<COLORREF>(-1)) return;
  m_color = color;
  ColorValue(color).GetHSL(m_dHue, m_dSaturation, m_dLuminance);
  if (m_hWnd) Invalidate(FALSE);
}

void CTkColorTracker::SetPosition(int x, int y, BOOL bNotify) {
  COLORREF color = ColorAt(x, y);
  if (color != static_cast<COLORREF>(-1)) {
    m_color = color;
    if (bNotify) {
      CWnd* parent = GetParent();
      if (parent) parent->SendMessage(WM_TK_COLORCHANGED, color, 0);
    }
  }
  m_ptMarker = CPoint(x, y);
  Redraw();
}

void CTkColorTracker::Redraw() {
  if (!m_hWnd) return;
  HDC hdc = ::GetDC(m_hWnd);
  CRect client;
  GetClientRect(&client);
  HDC mem = ::CreateCompatibleDC(hdc);
  HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, client.Width(), client.Height());
  HGDIOBJ old = ::SelectObject(mem, bitmap);
  Draw(mem);
  ::BitBlt(hdc, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
  ::ReleaseDC(m_hWnd, hdc);
}

BOOL CTkColorTracker::OnEraseBkgnd(CDC*) { return TRUE; }

void CTkColorTracker::OnPaint() {
  PAINTSTRUCT ps;
  ::BeginPaint(m_hWnd, &ps);
  ::EndPaint(m_hWnd, &ps);
  Redraw();
}

void CTkColorTracker::OnLButtonDown(UINT, CPoint point) {
  SetCapture();
  SetPosition(point.x, point.y, TRUE);
  SetFocus();
}

void CTkColorTracker::OnMouseMove(UINT nFlags, CPoint point) {
  if ((nFlags & MK_LBUTTON) && ::GetCapture() == m_hWnd) SetPosition(point.x, point.y, TRUE);
}

void CTkColorTracker::OnLButtonUp(UINT, CPoint) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
}

void CTkColorTracker::OnLButtonDblClk(UINT, CPoint point) {
  SetPosition(point.x, point.y, TRUE);
  EndDialogOK();
}

void CTkColorTracker::EndDialogOK() {
  CWnd* page = GetParent();
  CWnd* sheet = page ? page->GetParent() : nullptr;
  if (sheet) sheet->SendMessage(PSM_PRESSBUTTON, PSBTN_OK);
}

void CTkColorTracker::OnSetFocus(CWnd*) {
  g_focus = FocusValue();
  Redraw();
}

void CTkColorTracker::OnKillFocus(CWnd*) {
  g_focus = 0;
  Redraw();
}

BOOL CTkColorTracker::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == m_hWnd && pMsg->message == WM_KEYDOWN && g_focus == FocusValue()) {
    switch (pMsg->wParam) {
      case VK_RETURN:
      case VK_SPACE:
        EndDialogOK();
        return TRUE;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        MoveByKey(static_cast<UINT>(pMsg->wParam));
        return TRUE;
      default:
        break;
    }
  }
  return CStatic::PreTranslateMessage(pMsg);
}

// ---- hue and saturation field ----

COLORREF CTkHueSatField::ColorAt(int x, int y) const {
  CRect client;
  GetClientRect(&client);
  if (x < 0 || y < 0 || x >= client.Width() || y >= client.Height()) return static_cast<COLORREF>(-1);
  // Saturation 0 at the bottom row, rising upwards; hue from left to right.
  int h = client.Height();
  return ColorValue::FromHSL(static_cast<double>(x) / client.Width(),
                             static_cast<double>(h - 1 - y) / h, 0.5);
}

void CTkHueSatField::SetColor(COLORREF color, BOOL bMoveMarker) {
  CTkColorTracker::SetColor(color, bMoveMarker);
  if (!bMoveMarker || !m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  m_ptMarker = CPoint(static_cast<int>(client.Width() * m_dHue),
                      client.Height() - static_cast<int>(client.Height() * m_dSaturation));
}

void CTkHueSatField::SetHue(double hue) {
  m_dHue = hue;
  CRect client;
  GetClientRect(&client);
  SetPosition(static_cast<int>(client.Width() * hue), m_ptMarker.y, FALSE);
}

void CTkHueSatField::SetSaturation(double saturation) {
  m_dSaturation = saturation;
  CRect client;
  GetClientRect(&client);
  SetPosition(m_ptMarker.x, client.Height() - static_cast<int>(client.Height() * saturation), FALSE);
}

void CTkHueSatField::MoveByKey(UINT vk) {
  CRect client;
  GetClientRect(&client);
  CPoint p = m_ptMarker;
  if (vk == VK_LEFT) --p.x;
  if (vk == VK_RIGHT) ++p.x;
  if (vk == VK_UP) --p.y;
  if (vk == VK_DOWN) ++p.y;
  p.x = std::max(0L, std::min(p.x, static_cast<LONG>(client.Width() - 1)));
  p.y = std::max(0L, std::min(p.y, static_cast<LONG>(client.Height() - 1)));
  SetPosition(p.x, p.y, TRUE);
}

void CTkHueSatField::Draw(HDC hdc) {
  CRect client;
  GetClientRect(&client);
  int w = client.Width(), h = client.Height();
  if (!m_picture.IsReady() && w > 0 && h > 0) {
    // The picture is the same whatever the colour: it is made once, pixel by pixel.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP picture = ::CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!picture) return;
    auto* px = static_cast<DWORD*>(bits);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        COLORREF c = ColorAt(x, y);
        px[y * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    m_picture.Attach(hdc, picture);
  }
  if (m_picture.IsReady()) ::BitBlt(hdc, 0, 0, w, h, m_picture.GetDC(), 0, 0, SRCCOPY);
  // The marker: four arms 3 pixels thick from 5 to 10 pixels off the point.
  COLORREF pen = ::GetFocus() == m_hWnd ? RGB(255, 255, 255) : RGB(0, 0, 0);
  CDC* dc = CDC::FromHandle(hdc);
  int x = m_ptMarker.x, y = m_ptMarker.y;
  dc->FillSolidRect(x - 10, y - 1, 6, 3, pen);
  dc->FillSolidRect(x + 5, y - 1, 6, 3, pen);
  dc->FillSolidRect(x - 1, y - 10, 3, 6, pen);
  dc->FillSolidRect(x - 1, y + 5, 3, 6, pen);
}

// ---- luminance bar ----

int CTkLuminanceBar::BarHeight() const {
  CRect client;
  GetClientRect(&client);
  return client.Height() - 2 * kBarInset;
}

COLORREF CTkLuminanceBar::ColorAtArrow(int arrow) const {
  int barH = BarHeight();
  if (barH <= 0) return static_cast<COLORREF>(-1);
  if (arrow <= 0) return RGB(255, 255, 255);
  if (arrow >= barH) return RGB(0, 0, 0);
  return ColorValue::FromHSL(m_dHue, m_dSaturation, static_cast<double>(barH - arrow) / barH);
}

COLORREF CTkLuminanceBar::ColorAt(int, int y) const {
  if (y < 0 || y > BarHeight()) return static_cast<COLORREF>(-1);
  return ColorAtArrow(y);
}

void CTkLuminanceBar::SetPosition(int x, int y, BOOL bNotify) {
  // The bar reads only the height; mouse points arrive in client coordinates, arrow positions
  // are counted from the bar's top.
  CTkColorTracker::SetPosition(x, y, bNotify);
  m_nArrow = y;
  Redraw();
}

void CTkLuminanceBar::SetColor(COLORREF color, BOOL bMoveMarker) {
  CTkColorTracker::SetColor(color, bMoveMarker);
  if (bMoveMarker) m_nArrow = BarHeight() - static_cast<int>(BarHeight() * m_dLuminance);
}

void CTkLuminanceBar::SetLuminance(double luminance) {
  m_dLuminance = luminance;
  SetPosition(0, BarHeight() - static_cast<int>(BarHeight() * luminance), FALSE);
}

void CTkLuminanceBar::MoveByKey(UINT vk) {
  int arrow = m_nArrow;
  if (vk == VK_UP) --arrow;
  else if (vk == VK_DOWN) ++arrow;
  else return;
  arrow = std::max(0, std::min(arrow, BarHeight()));
  SetPosition(0, arrow, TRUE);
}

void CTkLuminanceBar::Draw(HDC hdc) {
  CRect client;
  GetClientRect(&client);
  CDC* dc = CDC::FromHandle(hdc);
  dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  int barH = BarHeight();
  for (int a = 0; a <= barH; ++a) dc->FillSolidRect(0, kBarInset + a, kBarWidth, 1, ColorAtArrow(a));
  // The arrow, pointing left at the bar.
  int tip = std::min(m_nArrow, barH) + kBarInset;
  BOOL focused = ::GetFocus() == m_hWnd;
  COLORREF fill = focused ? RGB(0, 0, 0) : ::GetSysColor(COLOR_BTNSHADOW);
  for (int i = 0; i < 9; ++i) {
    int dy = i - 4;
    int from = kArrowLeft + (dy < 0 ? -dy : dy) * 2;
    int width = 10 - (from - kArrowLeft);
    if (width > 0) dc->FillSolidRect(from, tip + dy, width, 1, fill);
    if (!focused && width > 0) {
      dc->FillSolidRect(from, tip + dy, 1, 1, RGB(0, 0, 0));
      if (i == 0 || i == 8) dc->FillSolidRect(from, tip + dy, width, 1, RGB(0, 0, 0));
    }
  }
  if (!focused) dc->FillSolidRect(kArrowLeft + 9, tip - 4, 1, 9, RGB(0, 0, 0));
}

// ---- the page ----

IMPLEMENT_DYNCREATE(CTkColorPageCustom, CPropertyPage)

BEGIN_MESSAGE_MAP(CTkColorPageCustom, CPropertyPage)
  ON_EN_CHANGE(IDC_TK_COLOR_RED, OnRgbChange)
  ON_EN_CHANGE(IDC_TK_COLOR_GREEN, OnRgbChange)
  ON_EN_CHANGE(IDC_TK_COLOR_BLUE, OnRgbChange)
  ON_EN_CHANGE(IDC_TK_COLOR_LUM, OnLumChange)
  ON_EN_CHANGE(IDC_TK_COLOR_HUE, OnHueChange)
  ON_EN_CHANGE(IDC_TK_COLOR_SAT, OnSatChange)
  ON_MESSAGE(WM_TK_COLORCHANGED, OnColorChanged)
  ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {
const int kEdits[6] = {IDC_TK_COLOR_RED, IDC_TK_COLOR_GREEN, IDC_TK_COLOR_BLUE,
                       IDC_TK_COLOR_HUE, IDC_TK_COLOR_SAT,   IDC_TK_COLOR_LUM};
const int kSpins[6] = {IDC_TK_COLOR_RED_SPIN, IDC_TK_COLOR_GREEN_SPIN, IDC_TK_COLOR_BLUE_SPIN,
                       IDC_TK_COLOR_HUE_SPIN, IDC_TK_COLOR_SAT_SPIN,   IDC_TK_COLOR_LUM_SPIN};
}  // namespace

CTkColorPageCustom::CTkColorPageCustom(CTkColorDialog* pDialog)
    : CPropertyPage(IDD_TK_COLOR_CUSTOM), m_pDialog(pDialog) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

void CTkColorPageCustom::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TK_COLOR_FIELD, m_field);
  DDX_Control(pDX, IDC_TK_COLOR_BAR, m_bar);
}

BOOL CTkColorPageCustom::OnInitDialog() {
  BOOL result = CPropertyPage::OnInitDialog();
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()));
  for (int i = 0; i < 6; ++i) {
    HWND spin = ::GetDlgItem(m_hWnd, kSpins[i]);
    if (!spin) continue;
    ::SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, kEdits[i])), 0);
    ::SendMessageA(spin, UDM_SETRANGE32, 0, 255);
  }
  return result;
}

void CTkColorPageCustom::WriteEdits() {
  m_bWriting = TRUE;
  for (int i = 0; i < 6; ++i) ::SetDlgItemInt(m_hWnd, kEdits[i], m_nValues[i], FALSE);
  m_bWriting = FALSE;
}

void CTkColorPageCustom::ReadEdits() {
  for (int i = 0; i < 6; ++i) {
    int value = static_cast<int>(::GetDlgItemInt(m_hWnd, kEdits[i], nullptr, FALSE));
    m_nValues[i] = value < 0 ? 0 : (value > 255 ? 255 : value);
  }
}

void CTkColorPageCustom::ShowColor(COLORREF color, BOOL bAll) {
  m_nValues[0] = GetRValue(color);
  m_nValues[1] = GetGValue(color);
  m_nValues[2] = GetBValue(color);
  if (bAll) ColorToHSL255(color, m_nValues[5], m_nValues[4], m_nValues[3]);
  WriteEdits();
}

BOOL CTkColorPageCustom::OnSetActive() {
  BOOL result = CPropertyPage::OnSetActive();
  COLORREF color = m_pDialog ? m_pDialog->GetColor() : RGB(0, 0, 0);
  m_field.SetColor(color, TRUE);
  m_bar.SetColor(color, TRUE);
  ShowColor(color, TRUE);
  return result;
}

void CTkColorPageCustom::OnRgbChange() {
  if (m_bWriting) return;
  ReadEdits();
  COLORREF color = RGB(m_nValues[0], m_nValues[1], m_nValues[2]);
  if (m_field.GetColor() != color) m_field.SetColor(color, TRUE);
  if (m_bar.GetColor() != color) m_bar.SetColor(color, TRUE);
  if (m_pDialog && m_pDialog->GetColor() != color) m_pDialog->SetNewColor(color, FALSE);
}

void CTkColorPageCustom::OnLumChange() {
  if (m_bWriting) return;
  ReadEdits();
  m_bar.SetLuminance(m_nValues[5] / 255.0);
  COLORREF color = m_bar.GetColor();
  m_field.SetColor(color, FALSE);
  if (m_pDialog) m_pDialog->SetNewColor(color, FALSE);
  ShowColor(color, FALSE);
}

void CTkColorPageCustom::OnHueChange() {
  if (m_bWriting) return;
  ReadEdits();
  m_field.SetHue(m_nValues[3] / 255.0);
  AfterFieldChange();
}

void CTkColorPageCustom::OnSatChange() {
  if (m_bWriting) return;
  ReadEdits();
  m_field.SetSaturation(m_nValues[4] / 255.0);
  AfterFieldChange();
}

void CTkColorPageCustom::AfterFieldChange() {
  COLORREF color = m_field.GetColor();
  m_bar.SetColor(color, FALSE);
  if (m_pDialog) m_pDialog->SetNewColor(color, FALSE);
  ShowColor(color, FALSE);
}

LRESULT CTkColorPageCustom::OnColorChanged(WPARAM wParam, LPARAM) {
  COLORREF color = static_cast<COLORREF>(wParam);
  if (m_field.GetColor() != color) m_field.SetColor(color, FALSE);
  if (m_bar.GetColor() != color) m_bar.SetColor(color, FALSE);
  if (m_pDialog) m_pDialog->SetNewColor(color, FALSE);
  ShowColor(color, TRUE);
  return 0;
}

void CTkColorPageCustom::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CRect client;
  GetClientRect(&client);
  CDC::FromHandle(hdc)->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  ::EndPaint(m_hWnd, &ps);
}
