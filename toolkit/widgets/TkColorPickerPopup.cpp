#include "toolkit/widgets/TkColorPickerPopup.h"

#include <algorithm>

#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitColourIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/dialogs/TkColorDialog.h"
#include "toolkit/popups/TkPopupShadow.h"

BEGIN_MESSAGE_MAP(CTkColorPickerPopup, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_ACTIVATE()
  ON_WM_ACTIVATEAPP()
  ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {

const COLORREF k16Colors[16] = {
    RGB(0, 0, 0),       RGB(128, 128, 128), RGB(128, 0, 0), RGB(128, 128, 0),
    RGB(0, 128, 0),     RGB(0, 128, 128),   RGB(0, 0, 128), RGB(128, 0, 128),
    RGB(255, 255, 255), RGB(192, 192, 192), RGB(255, 0, 0), RGB(255, 255, 0),
    RGB(0, 255, 0),     RGB(0, 255, 255),   RGB(0, 0, 255), RGB(255, 0, 255)};
const UINT k16Tips[16] = {4586, 4626, 4627, 4628, 4597, 4598, 4629, 4630,
                          4625, 4631, 4602, 4612, 4604, 4606, 4599, 4632};
const COLORREF k40Colors[40] = {
    RGB(0, 0, 0),       RGB(153, 51, 0),    RGB(51, 51, 0),     RGB(0, 51, 0),
    RGB(0, 51, 102),    RGB(0, 0, 128),     RGB(51, 51, 153),   RGB(51, 51, 51),
    RGB(128, 0, 0),     RGB(255, 102, 0),   RGB(128, 128, 0),   RGB(0, 128, 0),
    RGB(0, 128, 128),   RGB(0, 0, 255),     RGB(102, 102, 153), RGB(128, 128, 128),
    RGB(255, 0, 0),     RGB(255, 153, 0),   RGB(153, 204, 0),   RGB(51, 153, 102),
    RGB(51, 204, 204),  RGB(51, 102, 255),  RGB(128, 0, 128),   RGB(153, 153, 153),
    RGB(255, 0, 255),   RGB(255, 204, 0),   RGB(255, 255, 0),   RGB(0, 255, 0),
    RGB(0, 255, 255),   RGB(0, 204, 255),   RGB(153, 51, 102),  RGB(192, 192, 192),
    RGB(255, 153, 204), RGB(255, 204, 153), RGB(255, 255, 153), RGB(204, 255, 204),
    RGB(204, 255, 255), RGB(153, 204, 255), RGB(204, 153, 255), RGB(255, 255, 255)};

BOOL RunToolkitDialog(CWnd* pParent, COLORREF current, DWORD dwStyle, COLORREF& chosen) {
  CTkColorDialog dialog(current, current, dwStyle, pParent);
  if (dialog.DoModal() != IDOK) return FALSE;
  chosen = dialog.GetColor();
  return TRUE;
}
CTkColorPickerPopup::DialogProc g_dialogProc = RunToolkitDialog;

void FrameRect(HDC hdc, const CRect& rect, COLORREF color) {
  CDC::FromHandle(hdc)->Draw3dRect(&rect, color, color);
}

}  // namespace

// ---- layout ----

CSize TkColorPickerLayout::WindowSize(DWORD style, int nRecent, bool captionStrip) {
  int height = 130;
  if (!captionStrip) height -= 10;
  if (style & TKCP_40COLORS) height += 34;
  if (!(style & TKCP_MORECOLORS)) height -= 28;
  else if (nRecent > 0) height += 18 + 8;
  return CSize(kWidth, height);
}

int TkColorPickerLayout::LastIndex(DWORD style, int nRecent) {
  // Without the more-colours button there is nothing after the palette: the last index is the
  // last cell, so that keys and wrapping never reach a button that does not exist.
  if (!(style & TKCP_MORECOLORS)) return PaletteSize(style);
  return PaletteSize(style) + 1 + nRecent;
}

int TkColorPickerLayout::Move(UINT vk, int focus, int last, int rows) {
  const int cols = kColumns;
  switch (vk) {
    case VK_LEFT:
      return focus - 1 < 0 ? last : focus - 1;
    case VK_RIGHT:
      return focus + 1 > last ? 0 : focus + 1;
    case VK_UP:
      if (focus >= 1 && focus <= cols) return 0;
      if (focus > cols && focus <= last) return focus - cols;
      return last;
    case VK_DOWN:
      if (focus >= 0 && focus <= (rows - 1) * cols) return focus + cols;
      if (focus > (rows - 1) * cols && focus < last) return last;
      return 0;
    default:
      return focus;
  }
}

COLORREF TkColorPickerLayout::PaletteColor(DWORD style, int cell) {
  return (style & TKCP_40COLORS) ? k40Colors[cell] : k16Colors[cell];
}

UINT TkColorPickerLayout::PaletteTip(DWORD style, int cell) {
  return (style & TKCP_40COLORS) ? IDS_TK_COLOR_FIRST + cell : k16Tips[cell];
}

// ---- shared state ----

std::vector<COLORREF>& CTkColorPickerPopup::RecentColors() {
  static std::vector<COLORREF> recent;
  return recent;
}

void CTkColorPickerPopup::AddRecentColor(COLORREF color) {
  std::vector<COLORREF>& recent = RecentColors();
  while (static_cast<int>(recent.size()) >= TkColorPickerLayout::kColumns) recent.erase(recent.begin());
  recent.push_back(color);
}

void CTkColorPickerPopup::SetDialogProc(DialogProc proc) { g_dialogProc = proc ? proc : RunToolkitDialog; }

void CTkColorPickerPopup::DrawPopupGap(HDC hdc, COLORREF color, const RECT& rcButton,
                                       const RECT& rcWindow) {
  CRect gap(std::max(rcButton.left, rcWindow.left), std::max(rcButton.top, rcWindow.top),
            std::min(rcButton.right, rcWindow.right), std::min(rcButton.bottom, rcWindow.bottom));
  gap.OffsetRect(-rcWindow.left, -rcWindow.top);
  CDC* dc = CDC::FromHandle(hdc);
  if (gap.top == gap.bottom && gap.left + 2 < gap.right)
    dc->FillSolidRect(gap.left + 1, gap.top, gap.right - gap.left - 1, 1, color);
  else if (gap.left == gap.right && gap.top + 2 < gap.bottom)
    dc->FillSolidRect(gap.left, gap.top + 1, 1, gap.bottom - gap.top - 1, color);
}

// ---- the popup ----

CTkColorPickerPopup::CTkColorPickerPopup(BOOL bAutoDelete, UINT nNotifyId)
    : m_nNotifyId(nNotifyId), m_bAutoDelete(bAutoDelete) {}

CTkColorPickerPopup::~CTkColorPickerPopup() {
  for (CTkColorPickerItem* item : m_items) delete item;
}

BOOL CTkColorPickerPopup::Create(const RECT& rcAnchor, CWnd* pOwner, DWORD dwStyle,
                                 COLORREF clrCurrent, COLORREF clrDefault) {
  m_pOwner = pOwner;
  m_dwStyle = dwStyle;
  m_clrCurrent = clrCurrent;
  m_clrDefault = clrDefault;
  if (pOwner && pOwner->GetSafeHwnd()) m_notify.push_back(pOwner->GetSafeHwnd());
  int nRecent = (dwStyle & TKCP_MORECOLORS) ? static_cast<int>(RecentColors().size()) : 0;
  CSize size = TkColorPickerLayout::WindowSize(dwStyle, nRecent, m_bCaptionStrip != FALSE);
  m_rcWindow = CRect(rcAnchor.left, rcAnchor.bottom, rcAnchor.left + size.cx, rcAnchor.bottom + size.cy);
  m_nRows = TkColorPickerLayout::PaletteSize(dwStyle) / m_nColumns;
  m_nLast = TkColorPickerLayout::LastIndex(dwStyle, nRecent);
  LPCSTR cls = AfxRegisterWndClass(CS_SAVEBITS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW,
                                   ::LoadCursorA(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!CreateEx(0, cls, "", WS_POPUP | WS_DLGFRAME, m_rcWindow.left, m_rcWindow.top,
                m_rcWindow.Width(), m_rcWindow.Height(), pOwner ? pOwner->GetSafeHwnd() : nullptr,
                nullptr))
    return FALSE;
  // The shadow's hook follows the popup from here on and deletes the shadow with it; it goes on
  // only now that the window is made (the framework sets the window's procedure as creation
  // ends, which would cut out a hook put on earlier).
  if (m_bShadow && ToolkitData().m_bMenuShadows) new CTkPopupShadow(m_hWnd, FALSE, TRUE);
  ToolkitData().m_hDropDownPopup = m_hWnd;
  ShowWindow(SW_SHOWNA);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()));
  return TRUE;
}

CTkColorPickerItem* CTkColorPickerPopup::AddItem(int nIndex, const CRect& rect, UINT nTip,
                                                 DWORD dwKind, COLORREF color, LPCSTR lpszText) {
  auto* item = new CTkColorPickerItem;
  item->rect = rect;
  item->nTipId = nTip;
  item->nIndex = nIndex;
  item->dwKind = dwKind;
  item->color = color;
  if (lpszText) lstrcpynA(item->szText, lpszText, sizeof(item->szText));
  m_items.push_back(item);
  return item;
}

int CTkColorPickerPopup::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  CSize shift(0, m_bCaptionStrip ? 10 : 0);
  if (ToolkitData().m_bFlatLook) {
    shift.cx += ::GetSystemMetrics(SM_CXEDGE);
    shift.cy += ::GetSystemMetrics(SM_CYEDGE);
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, GetStyle() & ~(WS_CAPTION | WS_THICKFRAME | WS_DLGFRAME | WS_BORDER));
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) &
                                                 ~(WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER |
                                                    SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  SetCapture();
  m_tips.Create(this);
  m_tips.Activate(TRUE);
  if (m_bCaptionStrip) {
    CRect client;
    GetClientRect(&client);
    m_rcCaption = CRect(client.left + 2, 1, client.right - 2, 8);
  }
  auto at = [&](int l, int t, int r, int b) { return CRect(l + shift.cx, t + shift.cy, r + shift.cx, b + shift.cy); };
  int width = m_rcWindow.Width();
  BOOL noFill = (m_dwStyle & TKCP_NOFILL) != 0;
  CString first = TkLoadString(noFill ? IDS_TK_COLOR_NOFILL : IDS_TK_COLOR_AUTOMATIC);
  CTkColorPickerItem* button = AddItem(0, at(4, 1, width - 10, 24),
                                       noFill ? IDS_TK_COLOR_NOFILL_TIP : IDS_TK_COLOR_AUTOMATIC_TIP,
                                       m_dwStyle, m_clrDefault, first);
  BOOL matched = FALSE;
  if (!noFill && m_clrCurrent == m_clrDefault) {
    button->bSelected = 1;
    matched = TRUE;
    m_nFocus = 0;
  }
  int colors = TkColorPickerLayout::PaletteSize(m_dwStyle);
  int top = (m_dwStyle & TKCP_40COLORS) ? 28 : 47;
  for (int i = 0; i < colors; ++i) {
    int x = 4 + (i % m_nColumns) * m_cell.cx, y = top + (i / m_nColumns) * m_cell.cy;
    CTkColorPickerItem* cell = AddItem(i + 1, at(x, y, x + m_cell.cx, y + m_cell.cy),
                                       TkColorPickerLayout::PaletteTip(m_dwStyle, i), TKCPI_CELL,
                                       TkColorPickerLayout::PaletteColor(m_dwStyle, i));
    if (!matched && cell->color == m_clrCurrent) {
      cell->bSelected = 1;
      matched = TRUE;
      m_nFocus = cell->nIndex;
    }
  }
  if (m_dwStyle & TKCP_MORECOLORS) {
    BOOL big = (m_dwStyle & TKCP_40COLORS) != 0;
    int y = big ? 122 : 91, h = big ? 23 : 22;
    const std::vector<COLORREF>& recent = RecentColors();
    if (!recent.empty()) {
      int rowY = top + m_nRows * m_cell.cy + 4;
      for (size_t i = 0; i < recent.size(); ++i) {
        int x = 4 + static_cast<int>(i) * m_cell.cx;
        CTkColorPickerItem* cell = AddItem(colors + 1 + static_cast<int>(i),
                                           at(x, rowY, x + m_cell.cx, rowY + m_cell.cy),
                                           IDS_TK_COLOR_MORE_TIP, TKCPI_CELL, recent[i]);
        if (!matched && cell->color == m_clrCurrent) {
          cell->bSelected = 1;
          matched = TRUE;
          m_nFocus = cell->nIndex;
        }
      }
      y += 22;
    }
    CTkColorPickerItem* more = AddItem(m_nLast, at(2, y, width - 8, y + h), IDS_TK_COLOR_MORE_TIP,
                                       TKCPI_MORE, m_clrCurrent, TkLoadString(IDS_TK_COLOR_MORE));
    if (m_clrCurrent != static_cast<COLORREF>(-1) && !matched) {
      more->bSelected = 1;
      m_nFocus = more->nIndex;
    }
  }
  for (CTkColorPickerItem* item : m_items) {
    CString tip = TkLoadString(item->nTipId);
    m_tips.AddTool(this, tip, &item->rect, static_cast<UINT_PTR>(item->nIndex) + 1);
  }
  if (m_pOwner && m_pOwner->GetSafeHwnd())
    ::SendMessageA(m_pOwner->GetSafeHwnd(), TKCPN_OPENED, m_clrCurrent, m_nNotifyId);
  return 0;
}

void CTkColorPickerPopup::OnDestroy() {
  m_picture.Free();
  if (m_pOwner && ::IsWindow(m_pOwner->GetSafeHwnd()))
    ::SendMessageA(m_pOwner->GetSafeHwnd(), TKCPN_CLOSING, m_clrCurrent, m_nNotifyId);
  for (CTkColorPickerItem* item : m_items) delete item;
  m_items.clear();
  CTkToolkitData& data = ToolkitData();
  if (data.m_hDropDownPopup == m_hWnd) data.m_hDropDownPopup = nullptr;
  if (m_tips.m_hWnd) m_tips.DestroyWindow();
  Default();
}

void CTkColorPickerPopup::PostNcDestroy() {
  if (m_bAutoDelete) delete this;
}

CTkColorPickerItem* CTkColorPickerPopup::GetItem(int nPos) const {
  if (nPos < 0 || nPos >= static_cast<int>(m_items.size())) return nullptr;
  return m_items[nPos];
}

CTkColorPickerItem* CTkColorPickerPopup::ItemAt(CPoint point) const {
  for (CTkColorPickerItem* item : m_items)
    if (item->rect.PtInRect(point)) return item;
  return nullptr;
}

CTkColorPickerItem* CTkColorPickerPopup::GetItemByIndex(int nIndex) const {
  for (CTkColorPickerItem* item : m_items)
    if (item->nIndex == nIndex) return item;
  return nullptr;
}

void CTkColorPickerPopup::BuildPicture() {
  CRect client;
  GetClientRect(&client);
  HDC screen = ::GetDC(m_hWnd);
  m_picture.Attach(screen, ::CreateCompatibleBitmap(screen, client.Width(), client.Height()));
  ::ReleaseDC(m_hWnd, screen);
  if (!m_picture.IsReady()) return;
  const CTkToolkitData& data = ToolkitData();
  COLORREF back = data.m_bFlatLook ? data.m_clrMenu : ::GetSysColor(COLOR_BTNFACE);
  CDC::FromHandle(m_picture.GetDC())->FillSolidRect(&client, back);
  DrawItems(m_picture.GetDC());
}

BOOL CTkColorPickerPopup::OnEraseBkgnd(CDC*) { return TRUE; }

void CTkColorPickerPopup::PaintClient(HDC hdc) {
  if (!m_picture.IsReady()) BuildPicture();
  CRect client;
  GetClientRect(&client);
  ::BitBlt(hdc, 0, 0, client.Width(), client.Height(), m_picture.GetDC(), 0, 0, SRCCOPY);
}

void CTkColorPickerPopup::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  PaintClient(hdc);
  ::EndPaint(m_hWnd, &ps);
}

void CTkColorPickerPopup::DrawFlatFrame(HDC hdcWindow) {
  CRect window;
  GetWindowRect(&window);
  const CTkToolkitData& data = ToolkitData();
  CRect frame(0, 0, window.Width(), window.Height());
  FrameRect(hdcWindow, frame, data.m_clrDarkShadowTint);
  // Button and popup look joined: the edge they share takes the face of the pressed button.
  // The popup starts right below the button (its top is the button's bottom, which is outside
  // the button), so the button's last row and the popup's border row are brought together.
  CRect button = data.m_rcDropDownButton;
  if (button.IsRectEmpty()) return;
  button.bottom -= 1;
  window.top -= 1;
  DrawPopupGap(hdcWindow, data.m_clrFaceTint, button, window);
}

// A printed copy (WM_PRINT) shows what the screen shows. The system leaves the frame out of
// it, so the frame is drawn here: the flat border, or the raised dialog frame.
void CTkColorPickerPopup::PrintWindow(HDC hdc, DWORD dwFlags) {
  if (dwFlags & PRF_NONCLIENT) {
    if (ToolkitData().m_bFlatLook) {
      DrawFlatFrame(hdc);
    } else {
      CRect window;
      GetWindowRect(&window);
      CRect frame(0, 0, window.Width(), window.Height());
      CDC::FromHandle(hdc)->FillSolidRect(&frame, ::GetSysColor(COLOR_BTNFACE));
      ::DrawEdge(hdc, &frame, EDGE_RAISED, BF_RECT);
    }
  }
  if (!(dwFlags & PRF_CLIENT)) return;
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ClientToScreen(&client);
  POINT old;
  ::OffsetViewportOrgEx(hdc, client.left - window.left, client.top - window.top, &old);
  PaintClient(hdc);
  ::SetViewportOrgEx(hdc, old.x, old.y, nullptr);
}

LRESULT CTkColorPickerPopup::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PRINT) {
    PrintWindow(reinterpret_cast<HDC>(wParam), static_cast<DWORD>(lParam));
    return 0;
  }
  if (message == WM_PRINTCLIENT) {
    PaintClient(reinterpret_cast<HDC>(wParam));
    return 0;
  }
  if (!ToolkitData().m_bFlatLook) return CWnd::WindowProc(message, wParam, lParam);
  switch (message) {
    case WM_NCCALCSIZE: {
      // One pixel of border on each side.
      auto* rect = reinterpret_cast<RECT*>(lParam);
      ::InflateRect(rect, -1, -1);
      return 0;
    }
    case WM_NCPAINT: {
      HDC hdc = ::GetWindowDC(m_hWnd);
      DrawFlatFrame(hdc);
      ::ReleaseDC(m_hWnd, hdc);
      return 0;
    }
    case WM_NCACTIVATE:
      return TRUE;  // no system frame to redraw as active or inactive
    default:
      return CWnd::WindowProc(message, wParam, lParam);
  }
}

void CTkColorPickerPopup::DrawItems(HDC hdc) {
  HGDIOBJ oldFont = ::SelectObject(hdc, ToolkitData().GetBarFont());
  if (!m_rcCaption.IsRectEmpty())
    CDC::FromHandle(hdc)->FillSolidRect(&m_rcCaption, ::GetSysColor(COLOR_INACTIVECAPTION));
  if (!(m_dwStyle & TKCP_40COLORS)) {
    CString heading = TkLoadString(IDS_TK_COLOR_HEADING);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, ::GetSysColor(COLOR_BTNTEXT));
    ::TextOutA(hdc, 6, m_bCaptionStrip ? 39 : 31, heading, heading.GetLength());
  }
  ::SelectObject(hdc, oldFont);
  for (CTkColorPickerItem* item : m_items) DrawItem(item, hdc, FALSE);
}

void CTkColorPickerPopup::DrawItem(CTkColorPickerItem* pItem, HDC hdc, BOOL bHot) {
  CDC* dc = CDC::FromHandle(hdc);
  const CTkToolkitData& data = ToolkitData();
  BOOL flat = data.m_bFlatLook;
  CRect rect = pItem->rect;
  COLORREF face = ::GetSysColor(COLOR_BTNFACE), shadow = ::GetSysColor(COLOR_BTNSHADOW);
  COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF text = ::GetSysColor(COLOR_BTNTEXT);
  if (!flat) {
    if (pItem->bSelected && !bHot) FillDitheredRect(hdc, rect);
    else dc->FillSolidRect(&rect, face);
    if (pItem->bSelected) dc->Draw3dRect(&rect, shadow, light);
  } else {
    if (!bHot && !pItem->bSelected) {
      dc->FillSolidRect(&rect, data.m_clrMenu);
    } else {
      COLORREF fill = !bHot ? data.m_clrSelectionLight
                            : (pItem->bSelected ? data.m_clrSelectionMix : data.m_clrSelectionHalf);
      if (bHot && pItem->bSelected) text = data.m_clrSelectionHalfText;
      dc->FillSolidRect(&rect, fill);
      FrameRect(hdc, rect, data.m_clrSelection);
    }
  }
  if (pItem->szText[0]) {
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, text);
    HGDIOBJ oldFont = ::SelectObject(hdc, data.GetBarFont());
    CRect textRect = rect;
    ::DrawTextA(hdc, pItem->szText, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    ::SelectObject(hdc, oldFont);
  }
  BOOL isFirst = pItem->nIndex == 0;
  if ((pItem->dwKind & TKCPI_CELL) || isFirst) {
    CRect inner = rect;
    inner.DeflateRect(3, 3);
    if (!(flat && isFirst)) FrameRect(hdc, inner, shadow);
    if (pItem->dwKind & TKCPI_CELL) {
      inner.DeflateRect(1, 1);
      dc->FillSolidRect(&inner, pItem->color);
    } else if (!(m_dwStyle & TKCP_NOFILL)) {
      inner.DeflateRect(3, 3);
      CRect swatch(inner.left + 1, inner.top, inner.left + 1 + 12, inner.top + 11);
      FrameRect(hdc, swatch, shadow);
      swatch.DeflateRect(1, 1);
      dc->FillSolidRect(&swatch, m_clrDefault);
    }
  }
  if ((pItem->dwKind & TKCPI_MORE) && pItem->bSelected) {
    CRect swatch = rect;
    swatch.DeflateRect(5, 6);
    swatch.left = swatch.right - 12;
    FrameRect(hdc, swatch, shadow);
    swatch.DeflateRect(1, 1);
    dc->FillSolidRect(&swatch, m_clrCurrent);
  }
}

void CTkColorPickerPopup::HighlightItem(CTkColorPickerItem* pItem, BOOL bPressed, BOOL bPlain) {
  if (!m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  HDC hdc = ::GetDC(m_hWnd);
  if (!m_picture.IsReady()) BuildPicture();
  HDC mem = ::CreateCompatibleDC(hdc);
  HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, client.Width(), client.Height());
  HGDIOBJ old = ::SelectObject(mem, bitmap);
  ::BitBlt(mem, 0, 0, client.Width(), client.Height(), m_picture.GetDC(), 0, 0, SRCCOPY);
  if (pItem) {
    CDC* dc = CDC::FromHandle(mem);
    if (pItem->bSelected) {
      DrawItem(pItem, mem, TRUE);
    } else if (ToolkitData().m_bFlatLook) {
      if (!bPlain) DrawItem(pItem, mem, TRUE);
    } else if (!bPlain) {
      COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), shadow = ::GetSysColor(COLOR_BTNSHADOW);
      if (bPressed) dc->Draw3dRect(&pItem->rect, shadow, light);
      else dc->Draw3dRect(&pItem->rect, light, shadow);
    }
    m_nFocus = pItem->nIndex;
  }
  ::BitBlt(hdc, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
  ::ReleaseDC(m_hWnd, hdc);
}

void CTkColorPickerPopup::SelectItem(int nIndex) {
  for (CTkColorPickerItem* item : m_items)
    if (item->nIndex == nIndex) {
      HighlightItem(item, FALSE, FALSE);
      return;
    }
  m_nFocus = nIndex;
}

BOOL CTkColorPickerPopup::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == m_hWnd && !m_bDialogOpen) {
    // The popup tracks the mouse for its whole life, whoever took the capture meanwhile.
    if (::GetCapture() != m_hWnd) SetCapture();
    if (m_tips.m_hWnd && pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST)
      m_tips.RelayEvent(pMsg);
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
      EndSelection(-1);
      return TRUE;
    }
  }
  return CWnd::PreTranslateMessage(pMsg);
}

void CTkColorPickerPopup::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_bDialogOpen || point == m_ptLast) return;
  m_ptLast = point;
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) {
    HighlightItem(GetItemByIndex(m_nFocus), FALSE, TRUE);
    return;
  }
  CTkColorPickerItem* item = ItemAt(point);
  if (item) HighlightItem(item, (nFlags & MK_LBUTTON) != 0, FALSE);
}

void CTkColorPickerPopup::OnLButtonDown(UINT, CPoint point) {
  if (m_bDialogOpen) return;
  if (!m_rcCaption.IsRectEmpty() && m_rcCaption.PtInRect(point)) return;
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) {
    EndSelection(-1);
    return;
  }
  CTkColorPickerItem* item = ItemAt(point);
  if (item && item->nIndex == m_nFocus) HighlightItem(item, TRUE, FALSE);
}

void CTkColorPickerPopup::OnLButtonUp(UINT, CPoint point) {
  if (m_bDialogOpen) return;
  if (!m_rcCaption.IsRectEmpty() && m_rcCaption.PtInRect(point)) return;
  CRect client;
  GetClientRect(&client);
  if (client.PtInRect(point)) EndSelection(m_nFocus);
}

void CTkColorPickerPopup::OnKeyDown(UINT nChar, UINT, UINT) {
  if (m_bDialogOpen) return;
  switch (nChar) {
    case VK_RETURN:
    case VK_SPACE:
      EndSelection(m_nFocus);
      return;
    case VK_ESCAPE:
      EndSelection(-1);
      return;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      SelectItem(TkColorPickerLayout::Move(nChar, m_nFocus, m_nLast, m_nRows));
      return;
    default:
      Default();
  }
}

void CTkColorPickerPopup::OnActivate(UINT nState, CWnd*, BOOL) {
  Default();
  if (nState == WA_INACTIVE && !m_bDialogOpen) PostMessage(WM_CLOSE);
}

void CTkColorPickerPopup::OnActivateApp(BOOL bActive, DWORD) {
  Default();
  if (!bActive && !m_bDialogOpen) EndSelection(-1);
}

void CTkColorPickerPopup::OnKillFocus(CWnd* pNew) {
  Default();
  if (!m_bDialogOpen && pNew && pNew->GetSafeHwnd() != m_hWnd && ::GetCapture() == m_hWnd)
    ::ReleaseCapture();
}

void CTkColorPickerPopup::Notify(const std::vector<HWND>& windows, UINT message, COLORREF color) {
  for (HWND hWnd : windows)
    if (::IsWindow(hWnd)) ::SendMessageA(hWnd, message, color, m_nNotifyId);
}

void CTkColorPickerPopup::EndSelection(int nIndex) {
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  std::vector<HWND> windows = m_notify;
  UINT message = TKCPN_CANCELLED;
  COLORREF color = m_clrCurrent;
  if (nIndex == m_nLast && (m_dwStyle & TKCP_MORECOLORS)) {
    m_bDialogOpen = TRUE;
    COLORREF chosen = m_clrCurrent;
    if (g_dialogProc(this, m_clrCurrent, m_dwStyle & TKCP_DIALOGMASK, chosen)) {
      message = chosen == m_clrCurrent ? TKCPN_UNCHANGED : TKCPN_CHANGED;
      color = chosen;
      AddRecentColor(chosen);
    }
    m_bDialogOpen = FALSE;
  } else if (nIndex == 0) {
    if (m_dwStyle & TKCP_NOFILL) {
      message = TKCPN_NOFILL;
      color = static_cast<COLORREF>(-1);
    } else {
      message = m_clrCurrent == m_clrDefault ? TKCPN_UNCHANGED : TKCPN_CHANGED;
      color = m_clrDefault;
    }
  } else if (nIndex > 0) {
    if (CTkColorPickerItem* item = GetItemByIndex(nIndex)) {
      color = item->color;
      message = color == m_clrCurrent ? TKCPN_UNCHANGED : TKCPN_CHANGED;
    }
  }
  if (m_hWnd) PostMessage(WM_CLOSE);
  Notify(windows, message, color);
}
