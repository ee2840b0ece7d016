#include "toolkit/bars/TkToolBar.h"

#include <cstring>
#include <memory>

#include "framework/app/AfxResource.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkToolBarLayout.h"

IMPLEMENT_DYNAMIC(CTkToolBar, CTkControlBar)

namespace {
const UINT g_openHiddenMenu = ::RegisterWindowMessageA("TkOpenHiddenMenu");
}  // namespace

UINT TkOpenHiddenMenuMessage() { return g_openHiddenMenu; }

BEGIN_MESSAGE_MAP(CTkToolBar, CTkControlBar)
  ON_WM_NCHITTEST()
  ON_WM_NCCALCSIZE()
  ON_WM_WINDOWPOSCHANGING()
  ON_WM_SYSCOLORCHANGE()
  ON_WM_NCCREATE()
  ON_WM_LBUTTONUP()
  ON_WM_CREATE()
  ON_WM_PAINT()
  ON_MESSAGE(TB_SETBUTTONSIZE, OnSetButtonSize)
  ON_MESSAGE(TB_SETBITMAPSIZE, OnSetBitmapSize)
  ON_MESSAGE(TB_SETDRAWTEXTFLAGS, OnSetDrawTextFlags)
  ON_MESSAGE(WM_SETTINGCHANGE, OnUnderMeasureStyles)
  ON_MESSAGE(WM_SETFONT, OnUnderMeasureStyles)
  ON_REGISTERED_MESSAGE(g_openHiddenMenu, OnOpenHiddenMenu)
  ON_NOTIFY_REFLECT(TBN_BEGINADJUST, OnBeginAdjust)
  ON_NOTIFY_REFLECT(TBN_BEGINDRAG, OnDragRefused)
  ON_NOTIFY_REFLECT(TBN_CUSTHELP, OnCustomizeHelp)
  ON_NOTIFY_REFLECT(TBN_ENDADJUST, OnEndAdjust)
  ON_NOTIFY_REFLECT(TBN_ENDDRAG, OnDragRefused)
  ON_NOTIFY_REFLECT(TBN_GETBUTTONINFOA, OnGetButtonInfo)
  ON_NOTIFY_REFLECT(TBN_QUERYDELETE, OnQueryDelete)
  ON_NOTIFY_REFLECT(TBN_QUERYINSERT, OnQueryInsert)
  ON_NOTIFY_REFLECT(TBN_RESET, OnReset)
  ON_NOTIFY_REFLECT(TBN_TOOLBARCHANGE, OnToolBarChange)
  ON_NOTIFY_REFLECT(TBN_HOTITEMCHANGE, OnHotItemChange)
  ON_MESSAGE(WM_TK_COLORPOPUP_CLOSED, OnColorPopupClosed)
  ON_MESSAGE(WM_TK_COLORPOPUP_CHOSEN, OnColorPopupChosen)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_NOTIFY_REFLECT(TBN_DROPDOWN, OnDropDown)
  ON_MESSAGE(TKM_GETBANDSIZE, OnGetBandSizeMsg)
  ON_MESSAGE(TKM_BANDCHILDSIZE, OnBandChildSizeMsg)
END_MESSAGE_MAP()

BOOL CTkToolBar::_GetButton(int nIndex, TBBUTTON* pButton) const {
  if (!::SendMessageA(m_hWnd, TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(pButton)))
    return FALSE;
  TkInvertEnabled(*pButton);
  return TRUE;
}

BOOL CTkToolBar::_SetButton(int nIndex, const TBBUTTON* pButton) {
  TBBUTTON current = {};
  if (!_GetButton(nIndex, &current)) return FALSE;
  TBBUTTON wanted = *pButton;
  std::memset(current.bReserved, 0, sizeof current.bReserved);
  std::memset(wanted.bReserved, 0, sizeof wanted.bReserved);
  if (std::memcmp(&current, &wanted, sizeof wanted) == 0) return TRUE;
  TBBUTTON control = wanted;
  TkInvertEnabled(control);
  TBBUTTON stateOnly = current;
  stateOnly.fsState = wanted.fsState;
  if (std::memcmp(&stateOnly, &wanted, sizeof wanted) == 0) {
    // A new state alone is set in place (by index: separators share the command id 0), which
    // keeps a click the control is tracking on the button.
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STATE;
    info.fsState = control.fsState;
    if (!SendMessage(TB_SETBUTTONINFOA, nIndex, reinterpret_cast<LPARAM>(&info))) return FALSE;
    ShowPlacedControl(current, wanted, nIndex);
    InvalidateChange(current, wanted, nIndex);
    return TRUE;
  }
  RECT before = {}, after = {};
  SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&before));
  if (!ReplaceButton(nIndex, control)) return FALSE;
  SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&after));
  ShowPlacedControl(current, wanted, nIndex);
  // The control laid the buttons out again while hidden, which it could not show: a button
  // that changed its size moved every button after it.
  if (!::EqualRect(&before, &after))
    Invalidate(FALSE);
  else
    InvalidateChange(current, wanted, nIndex);
  return TRUE;
}

// The control takes a new kind, image, text or width only from a button inserted anew. It stays
// hidden meanwhile, so that the bar does not flicker through the missing button.
BOOL CTkToolBar::ReplaceButton(int nIndex, const TBBUTTON& control) {
  DWORD style = GetStyle();
  if (style & WS_VISIBLE) ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style & ~WS_VISIBLE));
  BOOL done = SendMessage(TB_DELETEBUTTON, nIndex) &&
              SendMessage(TB_INSERTBUTTONA, nIndex, reinterpret_cast<LPARAM>(&control));
  if (style & WS_VISIBLE) ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
  return done;
}

// A placeholder separator hidden or shown takes the child control it holds along.
void CTkToolBar::ShowPlacedControl(const TBBUTTON& before, const TBBUTTON& after, int nIndex) {
  if (!((before.fsState ^ after.fsState) & TBSTATE_HIDDEN) || !TkIsPlaceholder(before) ||
      !TkIsPlaceholder(after))
    return;
  HWND child = ::GetDlgItem(m_hWnd, after.idCommand);
  if (!child) return;
  if (after.fsState & TBSTATE_HIDDEN) {
    ::ShowWindow(child, SW_HIDE);
    return;
  }
  RECT item = {};
  SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&item));
  ::SetWindowPos(child, nullptr, item.left, item.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// A separator that comes or goes or changes its width moves every button after it.
void CTkToolBar::InvalidateChange(const TBBUTTON& before, const TBBUTTON& after, int nIndex) {
  BOOL sepChanged = ((before.fsStyle ^ after.fsStyle) & TBSTYLE_SEP) != 0;
  BOOL widthChanged = (after.fsStyle & TBSTYLE_SEP) && before.iBitmap != after.iBitmap;
  if (sepChanged || widthChanged) {
    Invalidate(FALSE);
    return;
  }
  RECT item = {};
  if (SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(&item)))
    InvalidateRect(&item, FALSE);
}

UINT CTkToolBar::GetButtonStyle(int nIndex) const {
  TBBUTTON button = {};
  if (!_GetButton(nIndex, &button)) return 0;
  return TkButtonStyleWord(button);
}

void CTkToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  TBBUTTON button = {};
  if (!_GetButton(nIndex, &button)) return;
  TBBUTTON before = button;
  TkSetButtonStyleWord(button, nStyle);
  if (button.fsStyle == before.fsStyle && button.fsState == before.fsState) return;
  _SetButton(nIndex, &button);
  SetLayoutPending();
}

namespace {

// One button's update, in the style word's terms: the bar writes only what changed.
class CTkToolCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn = TRUE) override {
    m_bEnableChanged = TRUE;
    UINT style = Bar()->GetButtonStyle(static_cast<int>(m_nIndex)) & ~(TBSTATE_ENABLED << 16);
    if (!bOn) style = (style | (TBSTATE_ENABLED << 16)) & ~(TBSTATE_PRESSED << 16);
    Bar()->SetButtonStyle(static_cast<int>(m_nIndex), style);
  }
  void SetCheck(int nCheck = 1) override {
    UINT style = Bar()->GetButtonStyle(static_cast<int>(m_nIndex)) &
                 ~((TBSTATE_CHECKED | TBSTATE_INDETERMINATE) << 16);
    if (nCheck == 1) style |= TBSTATE_CHECKED << 16;
    if (nCheck == 2) style |= TBSTATE_INDETERMINATE << 16;
    Bar()->SetButtonStyle(static_cast<int>(m_nIndex), style | TBSTYLE_CHECK);
  }
  void SetText(LPCSTR) override {}

 private:
  CTkToolBar* Bar() const { return static_cast<CTkToolBar*>(m_pOther); }
};

}  // namespace

void CTkToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CTkToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    TBBUTTON button = {};
    if (!_GetButton(static_cast<int>(state.m_nIndex), &button) || (button.fsStyle & TBSTYLE_SEP))
      continue;
    state.m_nID = static_cast<UINT>(button.idCommand);
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
}

void CTkToolBar::WriteHiddenStates(const std::vector<TBBUTTON>& buttons) {
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
    TBBUTTON button = {};
    if (!_GetButton(i, &button)) continue;
    button.fsState = static_cast<BYTE>((button.fsState & ~TBSTATE_HIDDEN) |
                                       (buttons[i].fsState & TBSTATE_HIDDEN));
    _SetButton(i, &button);
  }
}

namespace {

int MeasureRow(const TBBUTTON* buttons, const SIZE* sizes, int count, void*) {
  std::vector<TBBUTTON> row(buttons, buttons + count);
  TkWrapToolBar(row.data(), sizes, count, kTkNoWrap);
  int length = TkCalcSize(row.data(), sizes, count).cx;
  for (int i = 0; i < count; ++i)
    if (buttons[i].fsState & TBSTATE_HIDDEN) return length + kTkChevronAllowance;
  return length;
}

}  // namespace

BOOL CTkToolBar::IsHorizontalForChevron() const {
  char name[32] = {};
  HWND parent = ::GetParent(m_hWnd);
  if (parent && ::GetClassNameA(parent, name, sizeof name) && lstrcmpiA(name, REBARCLASSNAMEA) == 0)
    return TRUE;
  return (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

int CTkToolBar::GetRowLength() const {
  std::vector<TBBUTTON> buttons;
  std::vector<SIZE> sizes;
  ReadButtons(buttons, sizes);
  return MeasureRow(buttons.data(), sizes.data(), static_cast<int>(buttons.size()), nullptr);
}

BOOL CTkToolBar::HideButtonsToFit(int nLength) {
  std::vector<TBBUTTON> buttons;
  std::vector<SIZE> sizes;
  ReadButtons(buttons, sizes);
  int count = static_cast<int>(buttons.size());
  int old = MeasureRow(buttons.data(), sizes.data(), count, nullptr);
  if (!TkHideButtonsToFit(buttons.data(), sizes.data(), count, old, nLength, m_hidden,
                          MeasureRow, nullptr)) {
    PositionChevronForRoom(nLength);
    return FALSE;
  }
  WriteHiddenStates(buttons);
  PositionChevronForRoom(nLength);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return TRUE;
}

// The chevron for a bar whose buttons have nRoom along it: the borders come on top.
void CTkToolBar::PositionChevronForRoom(int nRoom) {
  BOOL horz = IsHorizontalForChevron();
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, horz);
  PositionChevron(nRoom - (horz ? inside.Width() : inside.Height()), horz);
}

BOOL CTkToolBar::ShowButtonsThatFit(int nLength) {
  if (m_hidden.empty()) return FALSE;
  std::vector<TBBUTTON> buttons;
  std::vector<SIZE> sizes;
  ReadButtons(buttons, sizes);
  int count = static_cast<int>(buttons.size());
  size_t before = m_hidden.size();
  TkShowButtonsThatFit(buttons.data(), sizes.data(), count,
                       MeasureRow(buttons.data(), sizes.data(), count, nullptr), nLength,
                       m_hidden, MeasureRow, nullptr);
  if (m_hidden.size() == before) {
    PositionChevronForRoom(nLength);
    return FALSE;
  }
  WriteHiddenStates(buttons);
  PositionChevronForRoom(nLength);
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  // The buttons back on the bar take their states from the handlers.
  if (m_hWnd) PostMessage(WM_IDLEUPDATECMDUI, FALSE);
  return TRUE;
}

void CTkToolBar::ShowHiddenButtons() {
  for (const auto& h : m_hidden) {
    TBBUTTON button = {};
    if (!_GetButton(h.first, &button)) continue;
    button.fsState &= ~TBSTATE_HIDDEN;
    _SetButton(h.first, &button);
  }
  m_hidden.clear();
}

LRESULT CTkToolBar::OnOpenHiddenMenu(WPARAM, LPARAM lParam) {
  std::unique_ptr<TkHiddenMenuRequest> request(reinterpret_cast<TkHiddenMenuRequest*>(lParam));
  if (request) OpenHiddenButtonMenu(request->nID, request->rc);
  return 0;
}
