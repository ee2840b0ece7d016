#include "toolkit/controls/TkCheckListBox.h"

#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitControlsIds.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/gdi/TkMemDC.h"

// The framework's list box carries no class record of its own: the chain goes on at the window.
IMPLEMENT_DYNAMIC(CTkCheckListBox, CWnd)

namespace {
constexpr COLORREF kDisabledText = RGB(128, 128, 128);
constexpr int kImageGap = 2;  // between the check image and the text

// The strip of check images (unchecked, checked, indeterminate side by side), loaded once for
// the process and freed at its end.
struct CheckImages {
  HBITMAP bitmap = nullptr;
  CSize size{13, 13};
  CheckImages() {
    bitmap = static_cast<HBITMAP>(::LoadImageA(TkResourceModule(),
                                               MAKEINTRESOURCEA(IDB_TK_CHECKBOXES), IMAGE_BITMAP,
                                               0, 0, LR_DEFAULTCOLOR));
    BITMAP bm{};
    if (bitmap && ::GetObjectA(bitmap, sizeof bm, &bm) && bm.bmWidth >= 3)
      size = CSize(bm.bmWidth / 3, bm.bmHeight);
  }
  ~CheckImages() {
    if (bitmap) ::DeleteObject(bitmap);
  }
};

CheckImages& Images() {
  static CheckImages images;
  return images;
}

BOOL IsAutoStyle(UINT style) { return style == BS_AUTOCHECKBOX || style == BS_AUTO3STATE; }
}  // namespace

CSize CTkCheckListBox::GetCheckImageSize() { return Images().size; }

BOOL CTkCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  dwStyle &= ~(LBS_OWNERDRAWVARIABLE | LBS_NODATA);
  dwStyle |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  return CListBox::Create(dwStyle, rect, pParentWnd, nID);
}

void CTkCheckListBox::PreSubclassWindow() {
  CListBox::PreSubclassWindow();
  m_sizeCheck = GetCheckImageSize();
  m_cyText = CalcMinimumItemHeight();
  if (m_hWnd && (GetStyle() & LBS_OWNERDRAWFIXED)) SetItemHeight(0, m_cyText);
}

void CTkCheckListBox::SetCheckStyle(UINT nStyle) {
  if (nStyle == BS_CHECKBOX || nStyle == BS_AUTOCHECKBOX || nStyle == BS_3STATE ||
      nStyle == BS_AUTO3STATE)
    m_nStyle = nStyle;
}

CTkCheckListBox::ItemState* CTkCheckListBox::StateOf(int nIndex) const {
  if (!m_hWnd || nIndex < 0 || nIndex >= GetCount()) return nullptr;
  DWORD_PTR raw = static_cast<DWORD_PTR>(
      const_cast<CTkCheckListBox*>(this)->DefWindowProc(LB_GETITEMDATA, nIndex, 0));
  if (raw == static_cast<DWORD_PTR>(LB_ERR)) return nullptr;
  return reinterpret_cast<ItemState*>(raw);
}

void CTkCheckListBox::ReleaseState(int nIndex) {
  ItemState* state = StateOf(nIndex);
  if (!state) return;
  DefWindowProc(LB_SETITEMDATA, nIndex, static_cast<LPARAM>(state->data));
  delete state;
}

void CTkCheckListBox::SetCheck(int nIndex, int nCheck) {
  ItemState* state = StateOf(nIndex);
  if (!state || nCheck < 0 || nCheck > 2) return;
  state->check = nCheck;
  InvalidateCheck(nIndex);
}

int CTkCheckListBox::GetCheck(int nIndex) const {
  ItemState* state = StateOf(nIndex);
  return state ? state->check : 0;
}

void CTkCheckListBox::Enable(int nIndex, BOOL bEnabled) {
  ItemState* state = StateOf(nIndex);
  if (!state) return;
  state->enabled = bEnabled;
  CRect rect;
  if (GetItemRect(nIndex, &rect) != LB_ERR) InvalidateRect(&rect, FALSE);
}

BOOL CTkCheckListBox::IsEnabled(int nIndex) const {
  ItemState* state = StateOf(nIndex);
  return state ? state->enabled : FALSE;
}

CRect CTkCheckListBox::CheckRect(const CRect& rectItem) const {
  CRect rect = rectItem;
  rect.right = rect.left + m_sizeCheck.cx + kImageGap;
  return rect;
}

void CTkCheckListBox::InvalidateCheck(int nIndex) {
  CRect rect;
  if (m_hWnd && GetItemRect(nIndex, &rect) != LB_ERR) {
    CRect check = CheckRect(rect);
    InvalidateRect(&check, FALSE);
  }
}

int CTkCheckListBox::CalcMinimumItemHeight() const {
  HDC hdc = ::GetDC(m_hWnd);
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? ::SelectObject(hdc, font) : nullptr;
  TEXTMETRICA tm{};
  ::GetTextMetricsA(hdc, &tm);
  if (old) ::SelectObject(hdc, old);
  ::ReleaseDC(m_hWnd, hdc);
  return tm.tmHeight > 0 ? tm.tmHeight : 16;
}

int CTkCheckListBox::CheckFromPoint(CPoint point, BOOL& bInCheck) const {
  bInCheck = FALSE;
  CRect client;
  GetClientRect(&client);
  int count = GetCount();
  for (int i = GetTopIndex(); i < count; ++i) {
    CRect rect;
    if (GetItemRect(i, &rect) == LB_ERR) break;
    CRect inter;
    if (!inter.IntersectRect(&rect, &client) || inter != rect) break;
    if (rect.PtInRect(point)) {
      bInCheck = point.x < rect.left + m_sizeCheck.cx + kImageGap;
      return i;
    }
  }
  return -1;
}

void CTkCheckListBox::SetSelectionCheck(int nIndex) {
  ItemState* state = StateOf(nIndex);
  if (!state) return;
  int states = m_nStyle == BS_AUTO3STATE ? 3 : 2;
  int check = state->check;
  if (check >= states) check = states - 1;
  state->check = (check + 1) % states;
  InvalidateCheck(nIndex);
  CWnd* parent = GetParent();
  if (parent)
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE),
                        reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CTkCheckListBox::OnLButton(CPoint point, BOOL bDouble) {
  BOOL inCheck = FALSE;
  int index = CheckFromPoint(point, inCheck);
  if (index < 0 || !IsEnabled(index)) return FALSE;
  if (!IsAutoStyle(m_nStyle)) return TRUE;  // the owner sets the checks; the click is swallowed
  if (bDouble || inCheck) {
    // The framework's handling (selection, focus) runs first, then the check changes.
    Default();
    SetSelectionCheck(index);
    return TRUE;
  }
  return FALSE;
}

BOOL CTkCheckListBox::OnKeyDown(UINT nChar) {
  if (nChar != VK_SPACE || !IsAutoStyle(m_nStyle)) return FALSE;
  int index = static_cast<int>(SendMessage(LB_GETCARETINDEX));
  if (index < 0 || !IsEnabled(index)) return FALSE;
  SetSelectionCheck(index);
  return TRUE;
}

void CTkCheckListBox::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CRect client;
  GetClientRect(&client);
  {
    CTkMemDC mem(CDC::FromHandle(hdc), client, ::GetSysColor(COLOR_WINDOW));
    if (mem.IsValid())
      DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(mem.GetSafeHdc()), 0);
    else
      DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(hdc), 0);
  }
  ::EndPaint(m_hWnd, &ps);
}

LRESULT CTkCheckListBox::OnScroll(UINT message, WPARAM wParam, LPARAM lParam) {
  DefWindowProc(WM_SETREDRAW, FALSE, 0);
  LRESULT r = DefWindowProc(message, wParam, lParam);
  DefWindowProc(WM_SETREDRAW, TRUE, 0);
  Invalidate();
  UpdateWindow();
  SetWindowPos(nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return r;
}

LRESULT CTkCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      LRESULT index = CListBox::WindowProc(message, wParam, lParam);
      if (index >= 0) DefWindowProc(LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(new ItemState));
      return index;
    }
    case LB_GETITEMDATA: {
      ItemState* state = StateOf(static_cast<int>(wParam));
      return state ? static_cast<LRESULT>(state->data) : LB_ERR;
    }
    case LB_SETITEMDATA: {
      ItemState* state = StateOf(static_cast<int>(wParam));
      if (!state) return LB_ERR;
      state->data = static_cast<DWORD_PTR>(lParam);
      return 0;
    }
    case LB_DELETESTRING:
      ReleaseState(static_cast<int>(wParam));
      break;
    case LB_RESETCONTENT:
    case WM_DESTROY:
      for (int i = GetCount() - 1; i >= 0; --i) ReleaseState(i);
      break;
    case WM_SETFONT: {
      LRESULT r = CListBox::WindowProc(message, wParam, lParam);
      m_cyText = CalcMinimumItemHeight();
      if (GetStyle() & LBS_OWNERDRAWFIXED) SetItemHeight(0, m_cyText);
      return r;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (OnLButton(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)),
                    message == WM_LBUTTONDBLCLK))
        return 0;
      break;
    case WM_KEYDOWN:
      if (OnKeyDown(static_cast<UINT>(wParam))) return 0;
      break;
    case WM_PAINT:
      if (wParam) break;  // already painting into a given context
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;  // the off-screen paint fills the background itself
    case WM_HSCROLL:
    case WM_VSCROLL:
      return OnScroll(message, wParam, lParam);
    default:
      break;
  }
  return CListBox::WindowProc(message, wParam, lParam);
}

BOOL CTkCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* pResult) {
  LRESULT r = TRUE;
  switch (message) {
    case WM_DRAWITEM: PreDrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)); break;
    case WM_MEASUREITEM: PreMeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)); break;
    case WM_DELETEITEM: PreDeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)); break;
    case WM_COMPAREITEM: r = PreCompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)); break;
    default: return CListBox::OnChildNotify(message, wParam, lParam, pResult);
  }
  if (pResult) *pResult = r;
  return TRUE;
}

void CTkCheckListBox::PreDrawItem(LPDRAWITEMSTRUCT lpDIS) {
  DRAWITEMSTRUCT dis = *lpDIS;
  ItemState* state = StateOf(static_cast<int>(dis.itemID));
  if (static_cast<int>(dis.itemID) >= 0 && state &&
      (dis.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
    CheckImages& images = Images();
    int cyItem = dis.rcItem.bottom - dis.rcItem.top;
    RECT cell = {dis.rcItem.left, dis.rcItem.top, dis.rcItem.left + m_sizeCheck.cx + kImageGap,
                 dis.rcItem.bottom};
    ::SetBkColor(dis.hDC, ::GetSysColor(COLOR_WINDOW));
    ::ExtTextOutA(dis.hDC, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
    int x = dis.rcItem.left + 1;
    int y = dis.rcItem.top + 1 + (cyItem > m_sizeCheck.cy ? (cyItem - m_sizeCheck.cy) / 2 : 0);
    if (images.bitmap) {
      HDC mem = ::CreateCompatibleDC(dis.hDC);
      HGDIOBJ old = ::SelectObject(mem, images.bitmap);
      ::BitBlt(dis.hDC, x, y, m_sizeCheck.cx, m_sizeCheck.cy, mem, state->check * m_sizeCheck.cx,
               0, SRCCOPY);
      ::SelectObject(mem, old);
      ::DeleteDC(mem);
    } else {
      RECT box = {x, y, x + m_sizeCheck.cx, y + m_sizeCheck.cy};
      UINT s = DFCS_BUTTONCHECK | (state->check == 1 ? DFCS_CHECKED : 0) |
               (state->check == 2 ? DFCS_CHECKED | DFCS_INACTIVE : 0);
      ::DrawFrameControl(dis.hDC, &box, DFC_BUTTON, s);
    }
  }
  dis.rcItem.left += m_sizeCheck.cx + kImageGap;
  if (state) dis.itemData = state->data;
  DrawItem(&dis);
}

void CTkCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
  int index = static_cast<int>(lpDIS->itemID);
  if (index < 0) return;
  HDC hdc = lpDIS->hDC;
  BOOL enabled = IsWindowEnabled() && IsEnabled(index);
  BOOL selected = (lpDIS->itemState & ODS_SELECTED) && enabled;
  if (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
    COLORREF text = !enabled ? kDisabledText
                             : ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    COLORREF back = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF oldText = ::SetTextColor(hdc, text);
    COLORREF oldBack = ::SetBkColor(hdc, back);
    CString str;
    GetText(index, str);
    RECT rect = lpDIS->rcItem;
    rect.left += 2;
    ::ExtTextOutA(hdc, rect.left + 2, rect.top, ETO_OPAQUE, &rect, str, str.GetLength(), nullptr);
    ::SetTextColor(hdc, oldText);
    ::SetBkColor(hdc, oldBack);
  }
  // A focus change alone toggles the dotted frame; a repainted item that has the focus gets it
  // back over its new background.
  if ((lpDIS->itemAction & ODA_FOCUS) || (lpDIS->itemState & ODS_FOCUS)) {
    RECT rect = lpDIS->rcItem;
    rect.left += 2;
    ::DrawFocusRect(hdc, &rect);
  }
}

void CTkCheckListBox::PreMeasureItem(LPMEASUREITEMSTRUCT lpMIS) { MeasureItem(lpMIS); }

void CTkCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS) {
  lpMIS->itemHeight = m_cyText > 0 ? m_cyText : CalcMinimumItemHeight();
}

void CTkCheckListBox::PreDeleteItem(LPDELETEITEMSTRUCT lpDIS) {
  // The state was released before the deletion; the caller's data is what arrives here.
  DeleteItem(lpDIS);
}

int CTkCheckListBox::PreCompareItem(LPCOMPAREITEMSTRUCT lpCIS) {
  return CompareItem(lpCIS);
}
