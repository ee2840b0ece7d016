// CTkToolBar's layout: the sizes the frame's docking asks for, the wrapping of the buttons into
// rows (one row docked at the top or bottom, a column at a side, rows of the most recent width
// while floating), the controls that sit on placeholder buttons, and the borders around the
// control's client area.
#include <algorithm>
#include <vector>

#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"

namespace {

bool IsHidden(const TBBUTTON& b) { return (b.fsState & TBSTATE_HIDDEN) != 0; }

}  // namespace

// Records as the control has them, and the size of each item while not wrapped: a separator's
// width is its own (a wrapped separator's item lies elsewhere), a hidden button keeps the width
// it had when it went.
void CTkToolBar::ReadButtons(std::vector<TBBUTTON>& buttons, std::vector<SIZE>& sizes) const {
  int count = static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
  DWORD buttonSize = static_cast<DWORD>(::SendMessageA(m_hWnd, TB_GETBUTTONSIZE, 0, 0));
  buttons.assign(count, TBBUTTON{});
  sizes.assign(count, SIZE{LOWORD(buttonSize), HIWORD(buttonSize)});
  for (int i = 0; i < count; ++i) {
    _GetButton(i, &buttons[i]);
    const TBBUTTON& b = buttons[i];
    RECT rect = {};
    auto hidden = m_hidden.find(i);
    bool separator = (b.fsStyle & TBSTYLE_SEP) != 0;
    if (separator && (TkIsPlainSeparator(b) || IsHidden(b)))
      sizes[i].cx = b.iBitmap > 0 ? b.iBitmap : 8;
    else if (!IsHidden(b) &&
             ::SendMessageA(m_hWnd, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect)) &&
             rect.right > rect.left)
      sizes[i] = SIZE{rect.right - rect.left, rect.bottom - rect.top};
    else if (hidden != m_hidden.end())
      sizes[i].cx = hidden->second;
    if (separator) sizes[i].cy = std::min<LONG>(sizes[i].cy, HIWORD(buttonSize));
  }
}

SIZE CTkToolBar::GetButtonSize(const std::vector<TBBUTTON>& buttons,
                               const std::vector<SIZE>& sizes, int nIndex) const {
  return TkGetButtonSize(buttons.data(), sizes.data(), nIndex);
}

int CTkToolBar::WrapToolBar(std::vector<TBBUTTON>& buttons, const std::vector<SIZE>& sizes,
                            int nWidth) const {
  return TkWrapToolBar(buttons.data(), sizes.data(), static_cast<int>(buttons.size()), nWidth);
}

void CTkToolBar::SizeToolBar(std::vector<TBBUTTON>& buttons, const std::vector<SIZE>& sizes,
                             int nLength, BOOL bVert) const {
  TkSizeToolBar(buttons.data(), sizes.data(), static_cast<int>(buttons.size()), nLength,
                bVert != FALSE);
}

BOOL CTkToolBar::ChevronAllowanceApplies() const {
  return IsChevronEnabled() && !m_hidden.empty() && (m_bInReBar || IsDocked());
}

CSize CTkToolBar::CalcSize(std::vector<TBBUTTON>& buttons, const std::vector<SIZE>& sizes) const {
  SIZE size = TkCalcSize(buttons.data(), sizes.data(), static_cast<int>(buttons.size()));
  if (ChevronAllowanceApplies()) {
    if (IsHorizontalForChevron())
      size.cx += kTkChevronAllowance;
    else
      size.cy += kTkChevronAllowance;
  }
  return CSize(size.cx, size.cy);
}

CSize CTkToolBar::CalcLayout(DWORD dwMode, int nLength) {
  std::vector<TBBUTTON> buttons;
  std::vector<SIZE> sizes;
  ReadButtons(buttons, sizes);
  const BOOL horz = (dwMode & kTkLayoutHorz) != 0;
  const BOOL dynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, horz);  // negative extents: what the borders take
  if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
    int width = horz ? kTkNoWrap : 0;
    BOOL vert = FALSE;
    if (dynamic && (dwMode & kTkLayoutMRUWidth)) {
      width = m_nMRUWidth;
    } else if (dynamic && (dwMode & kTkLayoutHorzDock)) {
      width = kTkNoWrap;
    } else if (dynamic && (dwMode & kTkLayoutVertDock)) {
      width = 0;
    } else if (dynamic && nLength != -1) {
      vert = (dwMode & kTkLayoutLengthY) != 0;
      width = nLength + (vert ? inside.Height() : inside.Width());
    } else if (dynamic && IsFloating()) {
      width = m_nMRUWidth;
    }
    SizeToolBar(buttons, sizes, width, vert);
  }
  CSize size = CalcSize(buttons, sizes);
  if (dwMode & kTkLayoutCommit) {
    if (dynamic && IsFloating()) m_nMRUWidth = size.cx;
    CommitButtons(buttons);
    PlaceChevronForLayout(size, horz);
  }
  size.cx -= inside.Width();
  size.cy -= inside.Height();
  CSize fixed = CTkControlBar::CalcFixedLayout((dwMode & kTkLayoutStretch) != 0, horz);
  return CSize(std::max(size.cx, fixed.cx), std::max(size.cy, fixed.cy));
}

// Writes the wrap into the control; controls on placeholders move by as much as their buttons.
void CTkToolBar::CommitButtons(const std::vector<TBBUTTON>& buttons) {
  struct Placed {
    HWND hWnd;
    int index;
    RECT item;
  };
  std::vector<Placed> placed;
  m_bDelayedButtonLayout = FALSE;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
    if (!TkIsPlaceholder(buttons[i]) || IsHidden(buttons[i])) continue;
    HWND control = ::GetDlgItem(m_hWnd, buttons[i].idCommand);
    RECT item = {};
    if (control && ::SendMessageA(m_hWnd, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
      placed.push_back({control, i, item});
  }
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i) _SetButton(i, &buttons[i]);
  for (const Placed& p : placed) {
    RECT now = {};
    if (!::SendMessageA(m_hWnd, TB_GETITEMRECT, p.index, reinterpret_cast<LPARAM>(&now))) continue;
    if (now.left == p.item.left && now.top == p.item.top) continue;
    RECT control = {};
    ::GetWindowRect(p.hWnd, &control);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(&control), 2);
    ::SetWindowPos(p.hWnd, nullptr, now.left + (control.left - p.item.left),
                   now.top + (control.top - p.item.top), 0, 0,
                   SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  // Writing the records asked for a layout: this was it.
  m_bDelayedButtonLayout = FALSE;
}

// The chevron goes while the bar floats or hides nothing; else it lies across the bar's end.
void CTkToolBar::PlaceChevronForLayout(const CSize& size, BOOL bHorz) {
  if (!m_wndChevron.m_hWnd) return;
  BOOL visible = (m_wndChevron.GetStyle() & WS_VISIBLE) != 0;
  BOOL changed = FALSE;
  if (IsFloating() || m_hidden.empty()) {
    if (visible) {
      m_wndChevron.ShowWindow(SW_HIDE);
      changed = TRUE;
    }
  } else {
    CSize want = bHorz ? CSize(kTkChevronWidth, std::max<LONG>(0, size.cy - 2))
                       : CSize(std::max<LONG>(0, size.cx - 2), kTkChevronWidth);
    CRect now;
    m_wndChevron.GetWindowRect(&now);
    if (now.Size() != want || !visible) {
      m_wndChevron.SetWindowPos(nullptr, 0, 0, want.cx, want.cy,
                                SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
      changed = TRUE;
    }
  }
  if (changed) PostMessage(WM_IDLEUPDATECMDUI, TRUE);
}

CSize CTkToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  return CalcLayout((bStretch ? kTkLayoutStretch : 0) | (bHorz ? kTkLayoutHorz : 0));
}

CSize CTkToolBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  if (nLength == -1 && !(nMode & (kTkLayoutMRUWidth | kTkLayoutCommit)) &&
      (nMode & (kTkLayoutHorzDock | kTkLayoutVertDock)))
    return CalcFixedLayout((nMode & kTkLayoutStretch) != 0, (nMode & kTkLayoutHorz) != 0);
  return CalcLayout(nMode, nLength);
}

// Where the bar stands: rows of its last width afloat, one row lying down (docked at the top or
// bottom, in a rebar band, or afloat at a fixed size), a column upright.
DWORD CTkToolBar::StandingLayoutMode() const {
  if (IsFloating() && (m_dwStyle & CBRS_SIZE_DYNAMIC)) return kTkLayoutHorz | kTkLayoutMRUWidth;
  if (IsHorizontalForChevron() || IsFloating()) return kTkLayoutHorz | kTkLayoutHorzDock;
  return kTkLayoutVertDock;
}

void CTkToolBar::Layout() {
  m_bDelayedButtonLayout = FALSE;
  if (!m_hWnd) return;
  CalcLayout(StandingLayoutMode() | kTkLayoutCommit);
}

void CTkToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
  if (m_hWnd && ((dwOldStyle ^ dwNewStyle) & CBRS_BORDER_ANY))
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  SetLayoutPending();
  if (!m_hWnd || dwOldStyle == dwNewStyle) return;
  // The bar's style is the new one already.
  ShowHiddenButtons();
  CalcDynamicLayout(-1, StandingLayoutMode() | kTkLayoutCommit);
}

void CTkToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp) {
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, IsHorizontalForChevron() || IsFloating());
  RECT& client = lpncsp->rgrc[0];
  client.left += inside.left;
  client.top += inside.top;
  client.right += inside.right;
  client.bottom += inside.bottom;
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
}

// The control would re-align itself to its borders: it sees none while the base moves it.
void CTkToolBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
  CRect before;
  GetWindowRect(&before);
  DWORD style = m_dwStyle;
  m_dwStyle &= ~CBRS_BORDER_ANY;
  CTkControlBar::OnWindowPosChanging(lpwndpos);
  m_dwStyle = style;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(lpwndpos->flags & SWP_NOSIZE) &&
      (lpwndpos->cx != before.Width() || lpwndpos->cy != before.Height()))
    Invalidate();
}

BOOL CTkToolBar::AddControl(CWnd* pControl, BOOL bBoldFont) {
  if (!pControl || !pControl->m_hWnd) return FALSE;
  TkInitialButton* initial = FindInitial(static_cast<UINT>(pControl->GetDlgCtrlID()));
  if (!initial) return TRUE;
  initial->hWndControl = pControl->m_hWnd;
  initial->bBoldFont = bBoldFont;
  pControl->SendMessage(WM_SETFONT,
                        reinterpret_cast<WPARAM>(bBoldFont ? GetBoldFont() : GetNormalFont()));
  PositionControl(pControl);
  return TRUE;
}

BOOL CTkToolBar::PlaceControl(int nIndex, CWnd* pControl, int cxWidth) {
  UINT id = GetItemID(nIndex);
  if (id == 0 || !pControl || !pControl->m_hWnd) return FALSE;
  if (::GetParent(pControl->m_hWnd) != m_hWnd) ::SetParent(pControl->m_hWnd, m_hWnd);
  if (static_cast<UINT>(pControl->GetDlgCtrlID()) != id) pControl->SetDlgCtrlID(static_cast<int>(id));
  SetButtonInfo(nIndex, id, TBBS_SEPARATOR, cxWidth);
  TkInitialButton* initial = FindInitial(id);
  if (!initial) {
    // A bar that was not loaded from a resource (the chevron popup's) keeps the control too.
    TkInitialButton made = {};
    _GetButton(nIndex, &made.button);
    m_initial.push_back(made);
    initial = &m_initial.back();
  }
  initial->button.fsStyle = TBSTYLE_SEP;
  initial->button.iBitmap = cxWidth;
  initial->hWndControl = pControl->m_hWnd;
  PositionControl(pControl);
  return TRUE;
}

void CTkToolBar::PositionControl(CWnd* pControl) {
  if (!pControl || !pControl->m_hWnd) return;
  int index = CommandToIndex(static_cast<UINT>(pControl->GetDlgCtrlID()));
  if (index < 0) return;
  TBBUTTON button = {};
  _GetButton(index, &button);
  if (IsHidden(button)) {
    pControl->ShowWindow(SW_HIDE);
    return;
  }
  CRect control;
  pControl->GetWindowRect(&control);
  // The placeholder is as wide as its control.
  UINT id = 0, style = 0;
  int image = 0;
  GetButtonInfo(index, id, style, image);
  SetButtonInfo(index, id, TBBS_SEPARATOR | (style & 0xFFFF0000), control.Width());
  CRect item;
  GetItemRect(index, &item);
  int top = item.top;
  if (control.Height() != item.Height())
    top = std::max<int>(0, (item.top + item.bottom - control.Height()) / 2);
  CRect now = control;
  ScreenToClient(&now);
  UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_SHOWWINDOW;
  if (now.left == item.left && now.top == top) flags |= SWP_NOMOVE;
  pControl->SetWindowPos(nullptr, item.left, top, 0, 0, flags);
}

void CTkToolBar::PositionControls() {
  for (int pass = 0; pass < 2; ++pass) {
    for (const TkInitialButton& initial : m_initial) {
      if (initial.hWndControl && ::IsWindow(initial.hWndControl))
        PositionControl(CWnd::FromHandle(initial.hWndControl));
    }
  }
  CWnd* frame = GetParentFrame();
  if (frame && frame->IsFrameWnd()) static_cast<CFrameWnd*>(frame)->RecalcLayout();
  ArrangeButtons();
}

// List-style buttons with a command are sized by their text (or carry their control); others
// are sized by the control.
BOOL CTkToolBar::ArrangeButtons() {
  if (!(GetStyle() & TBSTYLE_LIST)) {
    SendMessage(TB_AUTOSIZE);
    return TRUE;
  }
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    if (!_GetButton(i, &button) || button.idCommand == 0) continue;
    HWND control = nullptr;
    for (const TkInitialButton& initial : m_initial)
      if (initial.button.idCommand == button.idCommand) control = initial.hWndControl;
    if (control && ::IsWindow(control)) {
      CRect item;
      GetItemRect(i, &item);
      CRect now;
      ::GetWindowRect(control, &now);
      ScreenToClient(&now);
      if (now.TopLeft() != item.TopLeft() || !::IsWindowVisible(control))
        PositionControl(CWnd::FromHandle(control));
    } else if (!(button.fsStyle & TBSTYLE_SEP) && !(button.fsStyle & TBSTYLE_AUTOSIZE)) {
      button.fsStyle |= TBSTYLE_AUTOSIZE;
      _SetButton(i, &button);
    }
  }
  return TRUE;
}
