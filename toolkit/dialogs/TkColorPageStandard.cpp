#include "toolkit/dialogs/TkColorPageStandard.h"

#include <map>
#include <utility>

#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitColourIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/dialogs/TkColorDialog.h"

namespace {

constexpr COLORREF Hex(unsigned rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

struct Span { int from, to, top, bottom; };  // columns from..to cover rows y+top..y+bottom
const Span kSmall[] = {{0, 1, 0, 8}, {2, 3, -1, 9}, {4, 5, -2, 10}, {6, 8, -3, 11},
                       {9, 10, -2, 10}, {11, 12, -1, 9}, {13, 13, 0, 8}};
const Span kLarge[] = {{0, 1, 0, 16},   {2, 3, -1, 17},   {4, 5, -2, 18},   {6, 6, -3, 19},
                       {7, 8, -4, 20},  {9, 10, -5, 21},  {11, 12, -6, 22}, {13, 15, -7, 23},
                       {16, 17, -6, 22}, {18, 19, -5, 21}, {20, 21, -4, 20}, {22, 22, -3, 19},
                       {23, 24, -2, 18}, {25, 26, -1, 17}, {27, 28, 0, 16}};

struct HoneyRow { int y, x; std::vector<unsigned> colors; };
const HoneyRow kHoney[] = {
    {7, 58, {0x003366, 0x336699, 0x3366CC, 0x003399, 0x000099, 0x0000CC, 0x000066}},
    {19, 51, {0x006666, 0x006699, 0x0099CC, 0x0066CC, 0x0033CC, 0x0000FF, 0x3333FF, 0x333399}},
    {31, 44, {0x008080, 0x009999, 0x33CCCC, 0x00CCFF, 0x0099FF, 0x0066FF, 0x3366FF, 0x3333CC, 0x666699}},
    {43, 37, {0x339966, 0x00CC99, 0x00FFCC, 0x00FFFF, 0x33CCFF, 0x3399FF, 0x6699FF, 0x6666FF, 0x6600FF, 0x6600CC}},
    {55, 30, {0x339933, 0x00CC66, 0x00FF99, 0x66FFCC, 0x66FFFF, 0x66CCFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9900FF}},
    {67, 23, {0x006600, 0x00CC00, 0x00FF00, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCECFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC00FF, 0x9900CC}},
    {79, 16, {0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF, 0xCC00CC, 0x660066}},
    {91, 23, {0x336600, 0x009900, 0x66FF33, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF33CC, 0xCC0099, 0x800080}},
    {103, 30, {0x333300, 0x669900, 0x99FF33, 0xCCFF66, 0xFFFF99, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xCC3399, 0x990099}},
    {115, 37, {0x666633, 0x99CC00, 0xCCFF33, 0xFFFF66, 0xFFCC66, 0xFF9966, 0xFF7C80, 0xFF0066, 0xD60093, 0x993366}},
    {127, 44, {0x808000, 0xCCCC00, 0xFFFF00, 0xFFCC00, 0xFF9933, 0xFF6600, 0xFF5050, 0xCC0066, 0x660033}},
    {139, 51, {0x996633, 0xCC9900, 0xFF9900, 0xCC6600, 0xFF3300, 0xFF0000, 0xCC0000, 0x990033}},
    {151, 58, {0x663300, 0x996600, 0xCC3300, 0x993300, 0x990000, 0x800000, 0xA50021}},
};
const unsigned kGreys1[] = {0xF8F8F8, 0xDDDDDD, 0xB2B2B2, 0x808080, 0x5F5F5F, 0x333333, 0x1C1C1C, 0x080808};
const unsigned kGreys2[] = {0xEAEAEA, 0xC0C0C0, 0x969696, 0x777777, 0x4D4D4D, 0x292929, 0x111111};
constexpr int kHoneyCount = 127, kWhite = 142, kBlack = 143, kWhiteHoney = 63;

TkHexCell MakeCell(int x, int y, int kind, COLORREF color) {
  TkHexCell cell;
  cell.kind = kind;
  cell.color = color;
  const Span* spans = kind ? kSmall : kLarge;
  size_t count = kind ? std::size(kSmall) : std::size(kLarge);
  for (size_t s = 0; s < count; ++s)
    for (int c = spans[s].from; c <= spans[s].to; ++c)
      for (int r = spans[s].top; r <= spans[s].bottom; ++r) cell.pixels.push_back({x + c, y + r});
  return cell;
}

}  // namespace

std::vector<TkHexCell> BuildTkHexCells() {
  std::vector<TkHexCell> cells;
  std::map<std::pair<int, int>, int> byAnchor;
  for (const HoneyRow& row : kHoney)
    for (size_t i = 0; i < row.colors.size(); ++i) {
      int x = row.x + static_cast<int>(i) * 14;
      byAnchor[{x, row.y}] = static_cast<int>(cells.size());
      cells.push_back(MakeCell(x, row.y, 1, Hex(row.colors[i])));
    }
  for (int i = 0; i < 8; ++i) cells.push_back(MakeCell(51 + 14 * i, 176, 1, Hex(kGreys1[i])));
  for (int i = 0; i < 7; ++i) cells.push_back(MakeCell(58 + 14 * i, 188, 1, Hex(kGreys2[i])));
  cells.push_back(MakeCell(16, 176, 0, RGB(255, 255, 255)));
  cells.push_back(MakeCell(169, 176, 0, RGB(0, 0, 0)));

  // The honeycomb: left and right along the list, up and down to the neighbours diagonally
  // above-left and below-right; a row's ends link on as the table of misses says.
  const std::map<int, int> upMiss = {{15, 6}, {24, 14}, {34, 23}, {45, 33}, {57, 44}};
  const std::map<int, int> downMiss = {{69, 82},  {81, 93},   {92, 103},
                                       {102, 112}, {111, 120}, {119, 142}};
  for (int i = 0; i < kHoneyCount; ++i) {
    TkHexCell& cell = cells[i];
    POINT a = cell.pixels.front();
    cell.left = i - 1;
    cell.right = i + 1 < kHoneyCount ? i + 1 : kWhite;
    auto up = byAnchor.find({a.x - 7, a.y - 12});
    if (up != byAnchor.end()) cell.up = up->second;
    else if (upMiss.count(i)) cell.up = upMiss.at(i);
    auto down = byAnchor.find({a.x + 7, a.y + 12});
    if (down != byAnchor.end()) cell.down = down->second;
    else if (downMiss.count(i)) cell.down = downMiss.at(i);
    else if (i >= 120) cell.down = i + 1 < kHoneyCount ? i + 1 : kWhite;
  }
  // Greys and the large hexagons: one chain from light to dark.
  const int chain[] = {kWhite, 127, 135, 128, 136, 129, 137, 130, 138, 131, 139, 132, 140, 133, 141, 134, kBlack};
  const int n = static_cast<int>(std::size(chain));
  for (int i = 0; i < n; ++i) {
    TkHexCell& cell = cells[chain[i]];
    cell.left = cell.up = i > 0 ? chain[i - 1] : kHoneyCount - 1;
    cell.right = cell.down = i + 1 < n ? chain[i + 1] : -1;
  }
  return cells;
}

int TkHexHitTest(const std::vector<TkHexCell>& cells, POINT point) {
  for (size_t i = 0; i < cells.size(); ++i)
    for (const POINT& p : cells[i].pixels)
      if (p.x == point.x && p.y == point.y) return static_cast<int>(i);
  return -1;
}

// ---- the control ----

IMPLEMENT_DYNAMIC(CTkColorHexagon, CWnd)

BEGIN_MESSAGE_MAP(CTkColorHexagon, CStatic)
  ON_WM_CREATE()
  ON_MESSAGE(WM_TK_ADDNOTIFY, OnAddNotify)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CTkColorHexagon::CTkColorHexagon() = default;

CTkColorHexagon::~CTkColorHexagon() = default;

void CTkColorHexagon::PreSubclassWindow() { PostMessage(WM_TK_ADDNOTIFY); }

int CTkColorHexagon::OnCreate(LPCREATESTRUCT) {
  if (Default() == -1) return -1;
  SendMessage(WM_TK_ADDNOTIFY);
  return 0;
}

LRESULT CTkColorHexagon::OnAddNotify(WPARAM, LPARAM) {
  if (m_bFirst) {
    m_bFirst = FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, GetStyle() | SS_NOTIFY);
  }
  return 0;
}

void CTkColorHexagon::SetColor(COLORREF color) {
  m_clrSelected = color;
  if (m_cells.empty()) return;
  for (const TkHexCell& cell : m_cells)
    if (cell.color == color) {
      m_ptAnchor = cell.pixels.front();
      m_nKind = cell.kind;
    }
  if (m_hWnd) Invalidate(FALSE);
}

void CTkColorHexagon::BuildCells() {
  m_cells = BuildTkHexCells();
  for (const TkHexCell& cell : m_cells)
    if (cell.color == m_clrSelected) {
      m_ptAnchor = cell.pixels.front();
      m_nKind = cell.kind;
      break;
    }
}

COLORREF CTkColorHexagon::HitTest(CPoint point) {
  if (m_cells.empty()) BuildCells();
  int hit = TkHexHitTest(m_cells, point);
  if (hit < 0) return static_cast<COLORREF>(-1);
  m_ptAnchor = m_cells[hit].pixels.front();
  m_nKind = m_cells[hit].kind;
  return m_cells[hit].color;
}

void CTkColorHexagon::SelectAt(CPoint point) {
  COLORREF color = HitTest(point);
  if (color == static_cast<COLORREF>(-1) || color == m_clrSelected) return;
  m_clrSelected = color;
  CWnd* parent = GetParent();
  if (parent) parent->SendMessage(WM_TK_COLORCHANGED, color, 0);
  Redraw();
}

int CTkColorHexagon::CurrentCell() const {
  for (size_t i = 0; i < m_cells.size(); ++i) {
    if (m_cells[i].color != m_clrSelected) continue;
    // White is on the honeycomb and a large hexagon: the anchor tells which one is meant.
    if (m_clrSelected == RGB(255, 255, 255) && m_ptAnchor.y >= 176) return kWhite;
    return static_cast<int>(i);
  }
  return kBlack;
}

void CTkColorHexagon::MoveSelection(UINT vk) {
  if (m_cells.empty()) BuildCells();
  const TkHexCell& cell = m_cells[CurrentCell()];
  int next = vk == VK_LEFT ? cell.left : vk == VK_UP ? cell.up : vk == VK_RIGHT ? cell.right : cell.down;
  if (next < 0) return;
  SelectAt(m_cells[next].pixels.front());
}

void CTkColorHexagon::EndDialogOK() {
  CWnd* page = GetParent();
  CWnd* sheet = page ? page->GetParent() : nullptr;
  if (sheet) sheet->SendMessage(PSM_PRESSBUTTON, PSBTN_OK);
}

BOOL CTkColorHexagon::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->hwnd == m_hWnd && pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
      case VK_SPACE:
        EndDialogOK();
        return TRUE;
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN:
        MoveSelection(static_cast<UINT>(pMsg->wParam));
        return TRUE;
      default:
        break;
    }
  }
  return CStatic::PreTranslateMessage(pMsg);
}

void CTkColorHexagon::DrawMark(HDC hdc, const TkHexCell& cell) {
  // Black just outside the cell, white on its border pixels and black one further in.
  auto inside = [&](int x, int y) {
    for (const POINT& p : cell.pixels)
      if (p.x == x && p.y == y) return true;
    return false;
  };
  const int dx[] = {-1, 1, 0, 0}, dy[] = {0, 0, -1, 1};
  for (const POINT& p : cell.pixels) {
    bool border = false;
    for (int k = 0; k < 4; ++k)
      if (!inside(p.x + dx[k], p.y + dy[k])) {
        border = true;
        ::SetPixel(hdc, p.x + dx[k], p.y + dy[k], RGB(0, 0, 0));
      }
    if (border) ::SetPixel(hdc, p.x, p.y, RGB(255, 255, 255));
  }
}

void CTkColorHexagon::DrawMarks(HDC hdc) {
  CWnd* page = GetParent();
  CWnd* sheetWnd = page ? page->GetParent() : nullptr;
  CTkColorDialog* dialog = sheetWnd ? dynamic_cast<CTkColorDialog*>(CWnd::FromHandlePermanent(sheetWnd->m_hWnd)) : nullptr;
  if (dialog && dialog->GetColor() != m_clrSelected) return;
  if (m_clrSelected == RGB(255, 255, 255)) {
    DrawMark(hdc, m_cells[kWhiteHoney]);
    DrawMark(hdc, m_cells[kWhite]);
    return;
  }
  for (const TkHexCell& cell : m_cells)
    if (cell.pixels.front().x == m_ptAnchor.x && cell.pixels.front().y == m_ptAnchor.y &&
        cell.color == m_clrSelected) {
      DrawMark(hdc, cell);
      return;
    }
}

BOOL CTkColorHexagon::OnEraseBkgnd(CDC*) { return TRUE; }

void CTkColorHexagon::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CRect client;
  GetClientRect(&client);
  if (!m_picture.IsReady()) {
    if (m_cells.empty()) BuildCells();
    m_picture.Attach(hdc, ::CreateCompatibleBitmap(hdc, client.Width(), client.Height()));
    HDC picture = m_picture.GetDC();
    CDC::FromHandle(picture)->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    for (const TkHexCell& cell : m_cells)
      for (const POINT& p : cell.pixels) ::SetPixelV(picture, p.x, p.y, cell.color);
  }
  HDC mem = ::CreateCompatibleDC(hdc);
  HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, client.Width(), client.Height());
  HGDIOBJ old = ::SelectObject(mem, bitmap);
  ::BitBlt(mem, 0, 0, client.Width(), client.Height(), m_picture.GetDC(), 0, 0, SRCCOPY);
  DrawMarks(mem);
  ::BitBlt(hdc, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
  ::SelectObject(mem, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(mem);
  ::EndPaint(m_hWnd, &ps);
}

void CTkColorHexagon::Redraw() {
  if (!m_hWnd) return;
  Invalidate(FALSE);
  UpdateWindow();
}

void CTkColorHexagon::OnLButtonDown(UINT, CPoint point) {
  SetFocus();
  SelectAt(point);
  m_bTracking = TRUE;
}

void CTkColorHexagon::OnMouseMove(UINT, CPoint point) {
  if (m_bTracking) SelectAt(point);
}

void CTkColorHexagon::OnLButtonUp(UINT, CPoint) { m_bTracking = FALSE; }

void CTkColorHexagon::OnLButtonDblClk(UINT, CPoint point) {
  if (HitTest(point) == static_cast<COLORREF>(-1)) return;
  SelectAt(point);
  EndDialogOK();
}

// ---- the page ----

IMPLEMENT_DYNCREATE(CTkColorPageStandard, CPropertyPage)

BEGIN_MESSAGE_MAP(CTkColorPageStandard, CPropertyPage)
  ON_WM_PAINT()
  ON_MESSAGE(WM_TK_COLORCHANGED, OnColorChanged)
END_MESSAGE_MAP()

CTkColorPageStandard::CTkColorPageStandard(CTkColorDialog* pDialog)
    : CPropertyPage(IDD_TK_COLOR_STANDARD), m_pDialog(pDialog) {
  m_psp.dwFlags &= ~PSP_HASHELP;
}

void CTkColorPageStandard::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_TK_COLOR_HEXAGON, m_hexagon);
}

BOOL CTkColorPageStandard::OnInitDialog() {
  BOOL result = CPropertyPage::OnInitDialog();
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()));
  return result;
}

void CTkColorPageStandard::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CRect client;
  GetClientRect(&client);
  CDC::FromHandle(hdc)->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CTkColorPageStandard::OnColorChanged(WPARAM wParam, LPARAM) {
  if (m_pDialog) m_pDialog->SetNewColor(static_cast<COLORREF>(wParam), FALSE);
  return 0;
}
