// CTkToolBar: creation, the toolbar resource, and the buttons as the control holds them (read
// and written with the enabled bit inverted, see TkToolBarLayout.h).
#include <algorithm>
#include <cstring>
#include <string>

#include "framework/app/AfxResource.h"
#include "framework/app/WinApp.h"
#include "framework/bars/ToolBar.h"
#include "framework/frame/FrameWnd.h"
#include "resources/ids/ToolkitToolbarIds.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"

namespace {

// The frame's layout places the bar: the control must not align, size or move itself, nor draw
// a divider.
constexpr DWORD kPlacedByFrame = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY | CCS_NODIVIDER;
// The bar style's own bits; the rest of the style word is the window's.
constexpr DWORD kBarStyleBits = CBRS_ALL;
// The framework's standard toolbar id: that bar hides in place.
constexpr UINT kStandardToolBarId = 0xE800;

}  // namespace

CTkToolBar::CTkToolBar() {
  m_cyTopBorder = 3;
  m_cyBottomBorder = 3;
}

BOOL CTkToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & kBarStyleBits;
  if (nID == kStandardToolBarId) m_dwStyle |= CBRS_HIDE_INPLACE;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&icc);
  // The framework's tooltips (CBRS_TOOLTIPS) replace the control's own.
  DWORD wndStyle = (dwStyle & ~kBarStyleBits) | (dwCtrlStyle & ~TBSTYLE_TOOLTIPS) |
                   kPlacedByFrame | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  CRect rect(0, 0, 0, 0);
  if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, wndStyle, rect, pParentWnd, nID)) return FALSE;
  if (!m_hWndOwner) SetOwner(pParentWnd);
  SetSizes(m_sizeButton, m_sizeImage);
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetNormalFont()));
  m_strRegKey.Empty();
  m_strRegValue.Empty();
  CWinApp* app = AfxGetApp();
  if (app && app->m_pszRegistryKey && app->m_pszProfileName) {
    m_strRegKey.Format(TkLoadString(IDS_TK_TOOLBAR_KEY), app->m_pszRegistryKey,
                       app->m_pszProfileName);
    m_strRegValue.Format(TkLoadString(IDS_TK_TOOLBAR_VALUE), app->m_pszProfileName,
                         static_cast<int>(nID));
  }
  return TRUE;
}

void CTkToolBar::SetOwner(CWnd* pOwnerWnd) {
  if (m_hWnd && pOwnerWnd) SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(pOwnerWnd->m_hWnd));
  CWnd::SetOwner(pOwnerWnd);
}

// The control takes the record size before its first button, and an owner set before the
// window was made.
BOOL CTkToolBar::OnNcCreate(LPCREATESTRUCT) {
  if (!Default()) return FALSE;
  if (m_hWndOwner) SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWndOwner));
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  return TRUE;
}

int CTkToolBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CTkControlBar::OnCreate(lpcs) == -1) return -1;
  if (IsChevronEnabled() && !m_wndChevron.Create(this, kTkChevronId)) return -1;
  return 0;
}

// Buttons are the client; the borders and gripper are drawn around it.
LRESULT CTkToolBar::OnNcHitTest(CPoint) { return HTCLIENT; }

BOOL CTkToolBar::LoadToolBar(UINT nIDResource) {
  DWORD style = GetStyle();
  // Older controls measure buttons differently unless flat and transparent while loading.
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT));
  ToolBarResource layout;
  BOOL done = layout.Load(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)) &&
              SetButtons(layout.ids, layout.count);
  if (done)
    SetSizes(CSize(static_cast<int>(layout.width) + 7, static_cast<int>(layout.height) + 7),
             CSize(static_cast<int>(layout.width), static_cast<int>(layout.height)));
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
  if (!done) return FALSE;
  // The images of a toolbar are the bitmap of its own id, when it ships one; a program that
  // brings image lists of its own has none.
  if (::FindResourceA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource), RT_BITMAP))
    LoadBitmap(nIDResource);
  RebuildInitialButtons();
  return TRUE;
}

BOOL CTkToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  m_initial.clear();
  m_hidden.clear();
  for (int i = static_cast<int>(SendMessage(TB_BUTTONCOUNT)); i > 0; --i)
    SendMessage(TB_DELETEBUTTON, 0);
  DWORD version = ToolkitData().GetComCtlVersion();
  int separator = ((GetStyle() & TBSTYLE_FLAT) || version == MAKELONG(72, 4)) ? 6 : 8;
  int image = 0;
  for (int i = 0; i < nIDCount; ++i) {
    TBBUTTON button = {};
    button.fsState = TBSTATE_ENABLED;
    button.iString = -1;
    if (!lpIDArray) {
      button.fsStyle = TBSTYLE_BUTTON;
    } else if (lpIDArray[i] == 0) {
      button.fsStyle = TBSTYLE_SEP;
      button.iBitmap = separator;
    } else {
      button.fsStyle = TBSTYLE_BUTTON;
      button.idCommand = static_cast<int>(lpIDArray[i]);
      button.iBitmap = image++;
    }
    if (!SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button))) return FALSE;
  }
  m_nCount = nIDCount;
  SetLayoutPending();
  return TRUE;
}

void CTkToolBar::RebuildInitialButtons() {
  m_initial.clear();
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TkInitialButton initial = {};
    if (!_GetButton(i, &initial.button)) continue;
    initial.bHiddenAtLoad =
        ::SendMessageA(m_hWnd, TB_ISBUTTONHIDDEN, initial.button.idCommand, 0) != 0 &&
        !TkIsPlainSeparator(initial.button);
    m_initial.push_back(initial);
  }
}

CTkToolBar::TkInitialButton* CTkToolBar::FindInitial(UINT nID) {
  for (TkInitialButton& initial : m_initial)
    if (static_cast<UINT>(initial.button.idCommand) == nID) return &initial;
  return nullptr;
}

int CTkToolBar::CommandToIndex(UINT nIDFind) const {
  return static_cast<int>(::SendMessageA(m_hWnd, TB_COMMANDTOINDEX, nIDFind, 0));
}

UINT CTkToolBar::GetItemID(int nIndex) const {
  TBBUTTON button = {};
  return _GetButton(nIndex, &button) ? static_cast<UINT>(button.idCommand) : 0;
}

int CTkToolBar::GetCount() const {
  return m_hWnd ? static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0)) : 0;
}

void CTkToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  // Reading a rectangle lays the buttons out first; the bar itself is not changed otherwise.
  if (m_bDelayedButtonLayout) const_cast<CTkToolBar*>(this)->Layout();
  ::SetRectEmpty(lpRect);
  if (!::SendMessageA(m_hWnd, TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect)))
    ::SetRectEmpty(lpRect);
}

void CTkToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
  TBBUTTON button = {};
  _GetButton(nIndex, &button);
  nID = static_cast<UINT>(button.idCommand);
  nStyle = TkButtonStyleWord(button);
  iImage = button.iBitmap;
}

void CTkToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
  TBBUTTON button = {};
  if (!_GetButton(nIndex, &button)) return;
  TBBUTTON wanted = button;
  wanted.idCommand = static_cast<int>(nID);
  TkSetButtonStyleWord(wanted, nStyle);
  wanted.iBitmap = iImage;
  if (std::memcmp(&wanted, &button, sizeof button) == 0) return;
  _SetButton(nIndex, &wanted);
  SetLayoutPending();
}

CString CTkToolBar::GetButtonText(int nIndex) const {
  TBBUTTON button = {};
  if (!_GetButton(nIndex, &button) || button.iString < 0) return CString();
  for (const auto& entry : m_stringPool)
    if (entry.second == button.iString) return CString(entry.first.c_str());
  // A text put into the control's pool directly (not through SetButtonText).
  char text[256] = {};
  LRESULT length = ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, button.idCommand, 0);
  if (length <= 0 || length >= static_cast<LRESULT>(sizeof text)) return CString();
  ::SendMessageA(m_hWnd, TB_GETBUTTONTEXTA, button.idCommand, reinterpret_cast<LPARAM>(text));
  return CString(text);
}

BOOL CTkToolBar::DeleteButton(int nIndex) {
  TBBUTTON button = {};
  if (!_GetButton(nIndex, &button)) return FALSE;
  BOOL separator = (button.fsStyle & TBSTYLE_SEP) != 0;
  if (!SendMessage(TB_DELETEBUTTON, nIndex)) return FALSE;
  // The record at the same place when the bar is as loaded so far; else the first with the id.
  for (size_t i = 0; i < m_initial.size(); ++i) {
    const TBBUTTON& b = m_initial[i].button;
    bool same = separator ? (i == static_cast<size_t>(nIndex) && (b.fsStyle & TBSTYLE_SEP))
                          : b.idCommand == button.idCommand;
    if (same) {
      m_initial.erase(m_initial.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  m_hidden.clear();
  SetLayoutPending();
  PositionControls();
  return TRUE;
}

// Controls on the bar answer for themselves; otherwise the first button under the point that
// is not a separator.
INT_PTR CTkToolBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  INT_PTR hit = CWnd::OnToolHitTest(point, pTI);
  if (hit != -1) return hit;
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    if (!_GetButton(i, &button) || (button.fsStyle & TBSTYLE_SEP) ||
        (button.fsState & TBSTATE_HIDDEN))
      continue;
    CRect item;
    GetItemRect(i, &item);
    if (!item.PtInRect(point)) continue;
    if (button.idCommand == 0) return -1;
    if (pTI && pTI->cbSize >= 40) {
      pTI->hwnd = m_hWnd;
      pTI->uId = static_cast<UINT_PTR>(button.idCommand);
      pTI->rect = item;
      pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return button.idCommand;
  }
  return -1;
}
