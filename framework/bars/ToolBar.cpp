#include "framework/bars/ToolBar.h"

#include <algorithm>
#include <string>

#include "framework/app/AfxResource.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
  ON_WM_PAINT()
  ON_WM_NCPAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SIZE()
END_MESSAGE_MAP()

// A TOOLBAR resource comes in two layouts: 16-bit fields (version 1, button width and height,
// count, then the ids) as Microsoft's compiler writes it, or 32-bit fields without the version
// (width, height, count, ids) as the GNU compiler writes it. Anything shorter than its own count
// says is damaged.
BOOL ToolBarResource::Parse(const BYTE* data, DWORD size) {
  auto word = [data](DWORD i) { return static_cast<UINT>(data[2 * i] | data[2 * i + 1] << 8); };
  auto dword = [word](DWORD i) { return word(2 * i) | word(2 * i + 1) << 16; };
  if (size >= 8 && word(0) == 1) {
    UINT n = word(3);
    if (n > 256 || size < 8 + 2 * n) return FALSE;
    width = word(1);
    height = word(2);
    count = static_cast<int>(n);
    for (UINT i = 0; i < n; ++i) ids[i] = word(4 + i);
    return TRUE;
  }
  if (size >= 12) {
    UINT n = dword(2);
    if (n > 256 || size < 12 + 4 * n || dword(0) > 0xFFFF || dword(1) > 0xFFFF) return FALSE;
    width = dword(0);
    height = dword(1);
    count = static_cast<int>(n);
    for (UINT i = 0; i < n; ++i) ids[i] = dword(3 + i);
    return TRUE;
  }
  return FALSE;
}

BOOL ToolBarResource::Load(HINSTANCE inst, LPCSTR name) {
  HRSRC res = ::FindResourceA(inst, name, MAKEINTRESOURCEA(241));
  if (!res) return FALSE;
  DWORD size = ::SizeofResource(inst, res);
  HGLOBAL global = ::LoadResource(inst, res);
  auto* data = static_cast<const BYTE*>(global ? ::LockResource(global) : nullptr);
  return data && Parse(data, size);
}

CToolBar::CToolBar() {
  // The control draws its own edges; the bar keeps a small margin around the buttons.
  m_cxLeftBorder = 0;
  m_cxRightBorder = 0;
  m_cyTopBorder = 0;
  m_cyBottomBorder = 0;
}

CToolBar::~CToolBar() = default;

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  // The frame's layout places the bar, so the control must not align itself; the framework's
  // tooltips (CBRS_TOOLTIPS) replace the control's own.
  DWORD wndStyle = (dwStyle & ~CBRS_ALL) | (dwCtrlStyle & ~TBSTYLE_TOOLTIPS) |
                   CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  CRect rect(0, 0, 0, 0);
  if (!CWnd::Create(TOOLBARCLASSNAMEA, nullptr, wndStyle, rect, pParentWnd, nID)) return FALSE;
  SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
  SetOwner(pParentWnd);
  return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
  ToolBarResource layout;
  // A damaged resource changes nothing on the bar.
  if (!layout.Load(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource))) return FALSE;
  if (!SetButtons(layout.ids, layout.count)) return FALSE;
  SetSizes(CSize(layout.width + 7, layout.height + 7), CSize(layout.width, layout.height));
  return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  while (SendMessage(TB_BUTTONCOUNT) > 0) SendMessage(TB_DELETEBUTTON, 0);
  int image = 0;
  for (int i = 0; i < nIDCount; ++i) {
    TBBUTTON button = {};
    button.idCommand = static_cast<int>(lpIDArray[i]);
    if (lpIDArray[i] == 0) {
      button.fsStyle = TBSTYLE_SEP;
    } else {
      button.fsStyle = TBSTYLE_BUTTON;
      button.fsState = TBSTATE_ENABLED;
      button.iBitmap = image++;
    }
    button.iString = -1;
    if (!SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button))) return FALSE;
  }
  return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
  SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
  SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
  return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nIDFind));
}

UINT CToolBar::GetItemID(int nIndex) const {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button))) return 0;
  return static_cast<UINT>(button.idCommand);
}

int CToolBar::GetCount() const { return static_cast<int>(SendMessage(TB_BUTTONCOUNT)); }

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  SendMessage(TB_GETITEMRECT, nIndex, reinterpret_cast<LPARAM>(lpRect));
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button))) return 0;
  return MAKELONG(button.fsStyle, button.fsState);
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const {
  TBBUTTON button = {};
  SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button));
  nID = static_cast<UINT>(button.idCommand);
  nStyle = MAKELONG(button.fsStyle, button.fsState);
  iImage = button.iBitmap;
}

// The control changes a button's kind (button to separator) only when it is inserted again.
void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage) {
  TBBUTTON button = {};
  if (!SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button))) return;
  button.idCommand = static_cast<int>(nID);
  button.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
  button.fsState = static_cast<BYTE>(HIWORD(nStyle));
  if ((button.fsStyle & TBSTYLE_SEP) == 0) button.fsState |= TBSTATE_ENABLED;
  button.iBitmap = iImage;
  SendMessage(TB_DELETEBUTTON, nIndex);
  SendMessage(TB_INSERTBUTTONA, nIndex, reinterpret_cast<LPARAM>(&button));
  PositionControls();
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
  TBBUTTONINFOA info = {};
  info.cbSize = sizeof info;
  info.dwMask = TBIF_STYLE | TBIF_STATE;
  info.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
  info.fsState = static_cast<BYTE>(HIWORD(nStyle));
  UINT id = GetItemID(nIndex);
  if (id == 0) return;
  SendMessage(TB_SETBUTTONINFOA, id, reinterpret_cast<LPARAM>(&info));
  PositionControls();
}

// The control sizes its buttons for their texts only when a button is inserted, so the button
// is inserted again with its new text.
BOOL CToolBar::SetButtonText(int nIndex, LPCSTR lpszText) {
  TBBUTTON button = {};
  if (!lpszText || !SendMessage(TB_GETBUTTON, nIndex, reinterpret_cast<LPARAM>(&button)) ||
      (button.fsStyle & TBSTYLE_SEP))
    return FALSE;
  std::string strings(lpszText);
  strings.push_back('\0');  // the list of strings ends with an empty one
  INT_PTR text = SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(strings.c_str()));
  if (text < 0) return FALSE;
  button.iString = text;
  SendMessage(TB_DELETEBUTTON, nIndex);
  SendMessage(TB_INSERTBUTTONA, nIndex, reinterpret_cast<LPARAM>(&button));
  SendMessage(TB_AUTOSIZE);
  PositionControls();
  return TRUE;
}

CString CToolBar::GetButtonText(int nIndex) const {
  UINT id = GetItemID(nIndex);
  if (id == 0) return CString();
  char text[256] = {};
  LRESULT length = SendMessage(TB_GETBUTTONTEXTA, id, 0);
  if (length <= 0 || length >= static_cast<LRESULT>(sizeof text)) return CString();
  SendMessage(TB_GETBUTTONTEXTA, id, reinterpret_cast<LPARAM>(text));
  return CString(text);
}

BOOL CToolBar::DeleteButton(int nIndex) {
  BOOL done = static_cast<BOOL>(SendMessage(TB_DELETEBUTTON, nIndex));
  PositionControls();
  return done;
}

BOOL CToolBar::PlaceControl(int nIndex, CWnd* pControl, int cxWidth) {
  UINT id = GetItemID(nIndex);
  if (id == 0 || !pControl || !pControl->m_hWnd) return FALSE;
  SetButtonInfo(nIndex, id, TBBS_SEPARATOR, cxWidth);
  int slot = 0;
  while (slot < m_nPlaced && m_placed[slot].nID != id) ++slot;
  if (slot == m_nPlaced) {
    if (m_nPlaced == static_cast<int>(sizeof m_placed / sizeof m_placed[0])) return FALSE;
    ++m_nPlaced;
  }
  m_placed[slot] = {id, pControl->m_hWnd};
  if (::GetParent(pControl->m_hWnd) != m_hWnd) ::SetParent(pControl->m_hWnd, m_hWnd);
  PositionControls();
  return TRUE;
}

// Each placed control sits on its separator, vertically centred in the button row.
void CToolBar::PositionControls() {
  for (int i = 0; i < m_nPlaced; ++i) {
    int index = CommandToIndex(m_placed[i].nID);
    if (index < 0 || !::IsWindow(m_placed[i].hWnd)) continue;
    CRect item;
    GetItemRect(index, &item);
    CRect control;
    ::GetWindowRect(m_placed[i].hWnd, &control);
    int top = item.top + std::max<int>(0, (item.Height() - control.Height()) / 2);
    ::SetWindowPos(m_placed[i].hWnd, nullptr, item.left, top, item.Width(), control.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CToolBar::OnSize(UINT, int, int) {
  Default();
  PositionControls();
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  // The control's own measure of all its buttons in one row.
  CSize size(0, 0);
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    if (button.fsState & TBSTATE_HIDDEN) continue;
    CRect item;
    GetItemRect(i, &item);
    size.cx = std::max<LONG>(size.cx, item.right);
    size.cy = std::max<LONG>(size.cy, item.bottom);
  }
  if (count == 0) {
    DWORD buttonSize = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    size.cy = HIWORD(buttonSize);
  }
  CRect borders(0, 0, 0, 0);
  CalcInsideRect(borders, bHorz);
  size.cx -= borders.Width();
  size.cy -= borders.Height();
  if (bStretch && bHorz) size.cx = 32767;
  if (bStretch && !bHorz) size.cy = 32767;
  return size;
}

CSize CToolBar::CalcDynamicLayout(int, DWORD nMode) {
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
  CToolCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(GetCount());
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, state.m_nIndex, reinterpret_cast<LPARAM>(&button));
    if (button.fsStyle & TBSTYLE_SEP) continue;
    state.m_nID = static_cast<UINT>(button.idCommand);
    state.DoUpdate(pTarget, bDisableIfNoHndler);
  }
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    if (button.fsStyle & TBSTYLE_SEP || button.fsState & TBSTATE_HIDDEN) continue;
    CRect item;
    GetItemRect(i, &item);
    if (!item.PtInRect(point)) continue;
    if (pTI) {
      pTI->hwnd = m_hWnd;
      pTI->uId = static_cast<UINT_PTR>(button.idCommand);
      pTI->rect = item;
      pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return button.idCommand;
  }
  // A control placed on the bar answers for itself.
  return CControlBar::OnToolHitTest(point, pTI);
}

// Controls placed on the bar talk to the bar's owner, as its buttons do.
BOOL CToolBar::OnCommand(WPARAM wParam, LPARAM lParam) {
  CWnd* owner = GetOwner();
  if (owner && owner != this) {
    owner->SendMessage(WM_COMMAND, wParam, lParam);
    return TRUE;
  }
  return CControlBar::OnCommand(wParam, lParam);
}

BOOL CToolBar::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  // The tooltip control asks its parent, the bar, for texts.
  if (hdr->code == TTN_NEEDTEXTA || hdr->code == TTN_NEEDTEXTW)
    return CControlBar::OnNotify(wParam, lParam, pResult);
  CWnd* owner = GetOwner();
  if (owner && owner != this) {
    *pResult = owner->SendMessage(WM_NOTIFY, wParam, lParam);
    return TRUE;
  }
  return CControlBar::OnNotify(wParam, lParam, pResult);
}

void CToolCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  auto* bar = static_cast<CToolBar*>(m_pOther);
  bar->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(bOn ? TRUE : FALSE, 0));
}

void CToolCmdUI::SetCheck(int nCheck) {
  auto* bar = static_cast<CToolBar*>(m_pOther);
  bar->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(nCheck != 0, 0));
}

void CToolCmdUI::SetText(LPCSTR) {
  // Button texts are the bar's own labels, not states of the command.
}
