#include "toolkit/widgets/WgColorWell.h"

#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitColourIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"

// ---- geometry ----

CSize WgColorWellGeometry::WindowSize() const {
  int width = margin + columns * cellWidth + (margin + columns) * kGap - kGap;
  int height = margin + rows * cellHeight + (margin + rows) * kGap - kGap;
  if (other) height += cellHeight + kGap + kOtherExtra;
  return CSize(width, height);
}

CRect WgColorWellGeometry::CellRect(int column, int row) const {
  if (row >= rows) return CustomRect();
  int x = margin + column * (cellWidth + kGap);
  int y = margin + row * (cellHeight + kGap);
  return CRect(x, y, x + cellWidth, y + cellHeight);
}

int WgColorWellGeometry::SeparatorY() const { return margin + rows * (cellHeight + kGap); }

CRect WgColorWellGeometry::CustomRect() const {
  int top = SeparatorY() + kCustomDrop;
  return CRect(margin, top, margin + cellWidth, top + cellHeight);
}

CRect WgColorWellGeometry::OtherButtonRect() const {
  int right = margin + columns * (cellWidth + kGap) - kGap;
  int left = customShown ? margin + cellWidth + kGap : margin;
  int top = SeparatorY() + 3;
  return CRect(left, top, right, top + cellHeight + kGap);
}

bool WgColorWellGeometry::HitTest(CPoint point, int& column, int& row) const {
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns; ++c)
      if (CellRect(c, r).PtInRect(point)) {
        column = c;
        row = r;
        return true;
      }
  if (other && customShown && CustomRect().PtInRect(point)) {
    column = 0;
    row = rows;
    return true;
  }
  return false;
}

void WgColorWellGeometry::Move(UINT vk, int& column, int& row) const {
  bool custom = other && customShown;
  if (column < 0 || row < 0) {
    column = row = 0;
    return;
  }
  bool onCustom = row >= rows;
  switch (vk) {
    case VK_RIGHT:
      if (onCustom) {
        column = row = 0;
      } else if (++column >= columns) {
        column = 0;
        if (++row >= rows) {
          if (custom) row = rows;
          else row = 0;
        }
      }
      break;
    case VK_LEFT:
      if (onCustom) {
        column = columns - 1;
        row = rows - 1;
      } else if (--column < 0) {
        column = columns - 1;
        if (--row < 0) {
          if (custom) {
            column = 0;
            row = rows;
          } else {
            row = rows - 1;
          }
        }
      }
      break;
    case VK_DOWN:
      if (!onCustom && row + 1 < rows) ++row;
      else if (!onCustom && custom) column = 0, row = rows;
      break;
    case VK_UP:
      if (onCustom) row = rows - 1;
      else if (row > 0) --row;
      break;
    default:
      break;
  }
}

// ---- the well ----

IMPLEMENT_DYNAMIC(CWgColorWell, CWnd)

BEGIN_MESSAGE_MAP(CWgColorWell, CWnd)
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_SYSCOLORCHANGE()
  ON_BN_CLICKED(IDC_WG_OTHER, OnOtherClicked)
END_MESSAGE_MAP()

namespace {
// The system's 20 standard colours, for a system whose default palette is empty.
const COLORREF kStandardColors[20] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
    RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
    RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};

void FillRect(HDC hdc, const CRect& rect, COLORREF color) {
  CDC::FromHandle(hdc)->FillSolidRect(&rect, color);
}
void Frame(HDC hdc, CRect rect, COLORREF tl, COLORREF br) {
  CDC::FromHandle(hdc)->Draw3dRect(&rect, tl, br);
}
}  // namespace

CWgColorWell::CWgColorWell() { Setup(4, 5, FALSE); }

CWgColorWell::~CWgColorWell() {
  delete[] m_palette;
  if (m_hBackground) ::DeleteObject(m_hBackground);
}

int CWgColorWell::LoadGridColors(COLORREF* colors, int count) {
  PALETTEENTRY entries[256] = {};
  HPALETTE palette = static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE));
  int available = palette ? static_cast<int>(::GetPaletteEntries(palette, 0, 256, entries)) : 0;
  int loaded = 0;
  for (int i = 0; i < count; ++i) {
    if (available > 0) {
      if (i >= available) {
        colors[i] = RGB(255, 255, 255);
        continue;
      }
      colors[i] = RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue);
    } else {
      colors[i] = i < 20 ? kStandardColors[i] : RGB(255, 255, 255);
    }
    ++loaded;
  }
  return loaded;
}

void CWgColorWell::Setup(int nColumns, int nRows, BOOL bOther) {
  m_geo.columns = nColumns > 0 ? nColumns : 1;
  m_geo.rows = nRows > 0 ? nRows : 1;
  m_geo.other = bOther != FALSE;
  m_geo.customShown = false;
  m_bOther = bOther;
  delete[] m_palette;
  m_palette = new COLORREF[m_geo.CellCount() + 1];
  LoadGridColors(m_palette, m_geo.CellCount());
  m_palette[m_geo.CustomIndex()] = RGB(255, 255, 255);
  m_selColumn = m_selRow = -1;
}

void CWgColorWell::ComputeLayout(CWnd* pParent) {
  char className[16] = {};
  HWND parent = pParent ? pParent->GetSafeHwnd() : nullptr;
  if (parent) ::GetClassNameA(parent, className, sizeof(className));
  if (parent && lstrcmpA(className, "#32770") == 0) {
    RECT cell = {0, 0, 10, 10};
    ::MapDialogRect(parent, &cell);
    m_geo.cellWidth = cell.right;
    m_geo.cellHeight = cell.bottom;
  } else {
    LONG units = ::GetDialogBaseUnits();
    m_geo.cellWidth = LOWORD(units) * 10 / 4;
    m_geo.cellHeight = HIWORD(units) * 10 / 8;
  }
}

BOOL CWgColorWell::Create(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID, int nColumns,
                          int nRows, BOOL bOther) {
  Setup(nColumns, nRows, bOther);
  m_bFocusFrame = (dwStyle & WS_TABSTOP) != 0;
  m_geo.margin = WgColorWellGeometry::MarginFor((dwStyle & WGCW_BORDER) != 0, HasFocusFrame());
  ComputeLayout(pParent);
  return CreateAsChild(dwStyle, rect, pParent, nID);
}

BOOL CWgColorWell::CreateAsChild(DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID) {
  CSize size = m_geo.WindowSize();
  CRect place(rect.left, rect.top, rect.left + size.cx, rect.top + size.cy);
  LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW));
  return CWnd::Create(cls, "", dwStyle | WS_CHILD, place, pParent, nID);
}

int CWgColorWell::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  if (m_bOther && !CreateOtherButton()) return -1;
  return 0;
}

BOOL CWgColorWell::CreateOtherButton() {
  CRect rect = m_geo.OtherButtonRect();
  if (!m_otherButton.Create(TkLoadString(IDS_WG_OTHER), WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                BS_PUSHBUTTON, rect, this, IDC_WG_OTHER))
    return FALSE;
  m_otherButton.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()));
  return TRUE;
}

COLORREF CWgColorWell::ColorAt(int column, int row) const {
  if (row >= m_geo.rows) return m_palette[m_geo.CustomIndex()];
  return m_palette[row * m_geo.columns + column];
}

COLORREF CWgColorWell::GetColor() const {
  if (m_selColumn < 0 || m_selRow < 0) return RGB(0, 0, 0);
  return ColorAt(m_selColumn, m_selRow);
}

void CWgColorWell::InvalidateCell(int column, int row) {
  if (!m_hWnd || column < 0 || row < 0) return;
  CRect rect = m_geo.CellRect(column, row);
  rect.InflateRect(3, 3);
  InvalidateRect(&rect, TRUE);
}

void CWgColorWell::SelectCell(int column, int row) {
  if (column == m_selColumn && row == m_selRow) return;
  InvalidateCell(m_selColumn, m_selRow);
  m_selColumn = column;
  m_selRow = row;
  InvalidateCell(column, row);
}

void CWgColorWell::SelectColor(COLORREF color) {
  for (int i = 0; i < m_geo.CellCount(); ++i)
    if (m_palette[i] == color) {
      SelectCell(i % m_geo.columns, i / m_geo.columns);
      return;
    }
  if (!m_bOther) return;
  m_palette[m_geo.CustomIndex()] = color;
  if (!m_geo.customShown) {
    m_geo.customShown = true;
    // The Other button gives up the room the custom cell now takes.
    CRect other = m_geo.OtherButtonRect();
    if (m_otherButton.m_hWnd) m_otherButton.MoveWindow(&other);
  }
  InvalidateCell(0, m_geo.rows);
  SelectCell(0, m_geo.rows);
}

void CWgColorWell::ChooseSelected() {
  if (m_selColumn < 0 || m_selRow < 0) return;
  OnColorChosen(GetColor());
}

void CWgColorWell::OnColorChosen(COLORREF color) {
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_WG_COLORCHOSEN, GetDlgCtrlID(), static_cast<LPARAM>(color));
}

void CWgColorWell::OnOtherChosen() {
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_WG_OTHERCOLOR);
}

void CWgColorWell::OnOtherClicked() { OnOtherChosen(); }

BOOL CWgColorWell::OnEraseBkgnd(CDC*) { return TRUE; }

void CWgColorWell::DrawCell(HDC hdc, int column, int row) {
  CRect rect = m_geo.CellRect(column, row);
  CRect outer(rect);
  outer.InflateRect(2, 2);
  Frame(hdc, outer, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
  outer.DeflateRect(1, 1);
  Frame(hdc, outer, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DLIGHT));
  FillRect(hdc, rect, ColorAt(column, row));
}

void CWgColorWell::DrawSelectedCell(HDC hdc, int column, int row) {
  CRect rect = m_geo.CellRect(column, row);
  CRect outer(rect);
  outer.InflateRect(2, 2);
  Frame(hdc, outer, RGB(0, 0, 0), RGB(0, 0, 0));
  outer.DeflateRect(1, 1);
  Frame(hdc, outer, RGB(255, 255, 255), RGB(255, 255, 255));
  outer.DeflateRect(1, 1);
  Frame(hdc, outer, RGB(0, 0, 0), RGB(0, 0, 0));
  outer.DeflateRect(1, 1);
  FillRect(hdc, outer, ColorAt(column, row));
}

void CWgColorWell::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CRect client;
  GetClientRect(&client);
  FillRect(hdc, client, ::GetSysColor(COLOR_3DFACE));
  if (HasFocusFrame() && ::GetFocus() == m_hWnd) {
    CRect focus(client);
    ::DrawFocusRect(hdc, &focus);
  }
  if (GetStyle() & WGCW_BORDER) {
    CRect edge(client);
    if (HasFocusFrame()) edge.DeflateRect(1, 1);
    Frame(hdc, edge, ::GetSysColor(COLOR_3DLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    edge.DeflateRect(1, 1);
    Frame(hdc, edge, ::GetSysColor(COLOR_3DHILIGHT), ::GetSysColor(COLOR_3DSHADOW));
  }
  for (int r = 0; r < m_geo.rows; ++r)
    for (int c = 0; c < m_geo.columns; ++c)
      if (c != m_selColumn || r != m_selRow) DrawCell(hdc, c, r);
  if (m_geo.other) {
    int y = m_geo.SeparatorY();
    int right = m_geo.margin + m_geo.columns * (m_geo.cellWidth + WgColorWellGeometry::kGap) - 2;
    CDC* dc = CDC::FromHandle(hdc);
    dc->FillSolidRect(m_geo.margin, y, right - m_geo.margin, 1, ::GetSysColor(COLOR_3DSHADOW));
    dc->FillSolidRect(m_geo.margin, y + 1, right - m_geo.margin, 1, ::GetSysColor(COLOR_3DHILIGHT));
    if (m_geo.customShown && m_selRow != m_geo.rows) DrawCell(hdc, 0, m_geo.rows);
  }
  if (m_selColumn >= 0 && m_selRow >= 0) DrawSelectedCell(hdc, m_selColumn, m_selRow);
  ::EndPaint(m_hWnd, &ps);
}

UINT CWgColorWell::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS; }

void CWgColorWell::OnKeyDown(UINT nChar, UINT, UINT) {
  switch (nChar) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
      int column = m_selColumn, row = m_selRow;
      m_geo.Move(nChar, column, row);
      SelectCell(column, row);
      break;
    }
    case VK_SPACE:
    case VK_RETURN:
      ChooseSelected();
      break;
    case VK_TAB:
      if (::GetKeyState(VK_SHIFT) < 0) {
        CWnd* parent = GetParent();
        if (parent) ::SetFocus(::GetNextDlgTabItem(parent->m_hWnd, m_hWnd, TRUE));
      } else if (m_otherButton.m_hWnd) {
        m_otherButton.SetFocus();
      }
      break;
    default:
      Default();
  }
}

void CWgColorWell::OnLButtonDown(UINT, CPoint point) {
  if (HasFocusFrame()) SetFocus();
  int column, row;
  if (!m_geo.HitTest(point, column, row)) return;
  SelectCell(column, row);
  m_bTracking = TRUE;
  SetCapture();
}

void CWgColorWell::OnMouseMove(UINT nFlags, CPoint point) {
  if (!(nFlags & MK_LBUTTON)) return;
  int column, row;
  if (m_geo.HitTest(point, column, row)) SelectCell(column, row);
}

void CWgColorWell::OnLButtonUp(UINT, CPoint point) {
  if (!m_bTracking) return;
  m_bTracking = FALSE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  int column, row;
  if (m_geo.HitTest(point, column, row)) {
    SelectCell(column, row);
    ChooseSelected();
  }
}

void CWgColorWell::OnSetFocus(CWnd*) {
  if (HasFocusFrame()) Invalidate();
}

void CWgColorWell::OnKillFocus(CWnd*) {
  if (HasFocusFrame()) Invalidate();
}

void CWgColorWell::OnSysColorChange() { Invalidate(); }

// ---- the drop-down ----

IMPLEMENT_DYNAMIC(CWgPopupColorWell, CWgColorWell)

BEGIN_MESSAGE_MAP(CWgPopupColorWell, CWgColorWell)
  ON_WM_GETDLGCODE()
  ON_WM_KEYDOWN()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_ACTIVATE()
END_MESSAGE_MAP()

CPoint CWgPopupColorWell::PlaceBelow(const RECT& rcBelow, CSize size, CSize screen) {
  CPoint place(rcBelow.left, rcBelow.bottom);
  if (place.x + size.cx >= screen.cx) place.x = rcBelow.right - size.cx;
  if (place.y + size.cy >= screen.cy) place.y = rcBelow.top - size.cy;
  return place;
}

BOOL CWgPopupColorWell::Create(const RECT& rcBelow, CWnd* pOwner, COLORREF color, int nColumns,
                               int nRows, BOOL bOther) {
  Setup(nColumns, nRows, bOther);
  m_pNotify = pOwner;
  m_bClosing = FALSE;
  m_bFocusFrame = FALSE;
  m_geo.margin = WgColorWellGeometry::MarginFor(false, false);
  ComputeLayout(nullptr);
  SelectColor(color);
  CSize size = m_geo.WindowSize();
  CSize screen(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  CPoint place = PlaceBelow(rcBelow, size, screen);
  LPCSTR cls = AfxRegisterWndClass(CS_SAVEBITS, ::LoadCursorA(nullptr, IDC_ARROW));
  if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, cls, "", WS_POPUP | WS_BORDER, place.x,
                place.y, size.cx, size.cy, pOwner ? pOwner->GetSafeHwnd() : nullptr, nullptr))
    return FALSE;
  ShowWindow(SW_SHOW);
  SetFocus();
  SetCapture();
  return TRUE;
}

void CWgPopupColorWell::Close() {
  if (m_bClosing || !m_hWnd) return;
  m_bClosing = TRUE;
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  DestroyWindow();
  m_bClosing = FALSE;
}

// The drop-down closes right after it reports, so the report is posted: the owner handles it
// once the drop-down is gone (and may open a dialog or another drop-down without ours in the way).
void CWgPopupColorWell::OnColorChosen(COLORREF color) {
  if (m_pNotify) m_pNotify->PostMessage(WM_WG_COLORCHOSEN, 0, static_cast<LPARAM>(color));
  Close();
}

void CWgPopupColorWell::OnOtherChosen() {
  if (m_pNotify) m_pNotify->PostMessage(WM_WG_OTHERCOLOR);
  Close();
}

UINT CWgPopupColorWell::OnGetDlgCode() { return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB; }

void CWgPopupColorWell::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_ESCAPE) {
    Close();
    return;
  }
  CWgColorWell::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CWgPopupColorWell::OnLButtonDown(UINT, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) {
    Close();
    return;
  }
  if (m_otherButton.m_hWnd && m_geo.other && m_geo.OtherButtonRect().PtInRect(point)) {
    OnOtherChosen();
    return;
  }
  int column, row;
  if (!m_geo.HitTest(point, column, row)) return;
  SelectCell(column, row);
  m_bTracking = TRUE;
}

void CWgPopupColorWell::OnLButtonUp(UINT, CPoint point) {
  // The drop-down keeps the capture for its whole life: only a release over a cell chooses.
  if (!m_bTracking) return;
  m_bTracking = FALSE;
  int column, row;
  if (m_geo.HitTest(point, column, row)) {
    SelectCell(column, row);
    ChooseSelected();
  }
}

void CWgPopupColorWell::OnActivate(UINT nState, CWnd*, BOOL) {
  if (nState == WA_INACTIVE) Close();
}
