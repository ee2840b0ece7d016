// CWnd's helpers: relatives, styles, text, geometry, scrolling, descendants and tool tips.
#include <windows.h>
#include <commctrl.h>

#include "framework/wnd/HandleMap.h"
#include "framework/wnd/Wnd.h"

namespace {

HWND HwndOf(const CWnd* p) {
  return p ? p->m_hWnd : nullptr;
}

void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                       BOOL bOnlyPerm) {
  for (HWND h = ::GetTopWindow(hWnd); h; h = ::GetNextWindow(h, GW_HWNDNEXT)) {
    if (!bOnlyPerm) {
      ::SendMessageA(h, message, wParam, lParam);
    } else if (CWnd* p = CWnd::FromHandlePermanent(h)) {
      AfxCallWndProc(p, h, message, wParam, lParam);
    }
    if (bDeep && ::GetTopWindow(h)) SendToDescendants(h, message, wParam, lParam, bDeep, bOnlyPerm);
  }
}

bool IsAutoButton(HWND h) {
  char cls[16] = "";
  ::GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpiA(cls, "Button") != 0) return false;
  UINT type = static_cast<UINT>(::GetWindowLongPtrA(h, GWL_STYLE)) & BS_TYPEMASK;
  return type == BS_AUTOCHECKBOX || type == BS_AUTORADIOBUTTON || type == BS_AUTO3STATE ||
         type == BS_GROUPBOX;
}

}  // namespace

HWND CWnd::GetSafeHwnd() const {
  // The compiler may not assume the object exists: callers rely on a null pointer giving null.
  const CWnd* self = this;
  asm("" : "+r"(self));
  return self ? self->m_hWnd : nullptr;
}

CWnd* CWnd::GetOwner() const {
  return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

CWnd* CWnd::GetTopLevelParent() const {
  HWND h = m_hWnd;
  HWND parent;
  while ((::GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD) && (parent = ::GetParent(h))) h = parent;
  return FromHandle(h);
}

CWnd* CWnd::GetTopLevelOwner() const {
  HWND h = HwndOf(GetTopLevelParent());
  for (HWND owner; h && (owner = ::GetWindow(h, GW_OWNER));) h = owner;
  return FromHandle(h);
}

CWnd* CWnd::GetParentFrame() const {
  for (HWND h = ::GetParent(m_hWnd); h; h = ::GetParent(h)) {
    CWnd* p = FromHandlePermanent(h);
    if (p && p->IsFrameWnd()) return p;
  }
  return nullptr;
}

CWnd* CWnd::GetTopLevelFrame() const {
  CWnd* pFrame = IsFrameWnd() ? const_cast<CWnd*>(this) : GetParentFrame();
  while (pFrame) {
    CWnd* pNext = pFrame->GetParentFrame();
    if (!pNext) break;
    pFrame = pNext;
  }
  return pFrame;
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pCtl, BOOL bPrev) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, HwndOf(pCtl), bPrev));
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pCtl, BOOL bPrev) const {
  return FromHandle(::GetNextDlgGroupItem(m_hWnd, HwndOf(pCtl), bPrev));
}

static BOOL ModifyLong(HWND h, int index, DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  DWORD old = static_cast<DWORD>(::GetWindowLongPtrA(h, index));
  DWORD now = (old & ~dwRemove) | dwAdd;
  if (old == now) return FALSE;
  ::SetWindowLongPtrA(h, index, static_cast<LONG_PTR>(now));
  if (nFlags) {
    ::SetWindowPos(h, nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
  }
  return TRUE;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyLong(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyLong(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}

void CWnd::GetWindowText(CString& rString) const {
  int n = ::GetWindowTextLengthA(m_hWnd);
  char* buf = rString.GetBuffer(n + 1);
  int got = ::GetWindowTextA(m_hWnd, buf, n + 1);
  rString.ReleaseBuffer(got);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  HWND h = ::GetDlgItem(m_hWnd, nID);
  rString.Empty();
  if (h) FromHandle(h)->GetWindowText(rString);
  return rString.GetLength();
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(
      SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const {
  return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL));
}

void CWnd::ClientToScreen(LPRECT r) const {
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(r));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(r) + 1);
}

void CWnd::ScreenToClient(LPRECT r) const {
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(r));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(r) + 1);
}

BOOL CWnd::SetWindowPos(const CWnd* pAfter, int x, int y, int cx, int cy, UINT nFlags) {
  return ::SetWindowPos(m_hWnd, HwndOf(pAfter), x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  DWORD style = GetStyle();
  HWND hCenter = pAlternateOwner ? pAlternateOwner->m_hWnd
                 : (style & WS_CHILD) ? ::GetParent(m_hWnd)
                                      : ::GetWindow(m_hWnd, GW_OWNER);
  if (hCenter && (!::IsWindowVisible(hCenter) || ::IsIconic(hCenter))) hCenter = nullptr;
  RECT rcArea, rcCenter, rcMe;
  ::GetWindowRect(m_hWnd, &rcMe);
  if (style & WS_CHILD) {
    HWND hParent = ::GetParent(m_hWnd);
    ::GetClientRect(hParent, &rcArea);
    rcCenter = rcArea;
    if (hCenter && hCenter != hParent) {
      ::GetWindowRect(hCenter, &rcCenter);
      ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rcCenter), 2);
    }
  } else {
    MONITORINFO mi = {sizeof mi, {}, {}, 0};
    ::GetMonitorInfoA(::MonitorFromWindow(hCenter ? hCenter : m_hWnd, MONITOR_DEFAULTTONEAREST),
                      &mi);
    rcArea = mi.rcWork;
    rcCenter = rcArea;
    if (hCenter) ::GetWindowRect(hCenter, &rcCenter);
  }
  int w = rcMe.right - rcMe.left;
  int h = rcMe.bottom - rcMe.top;
  int x = (rcCenter.left + rcCenter.right - w) / 2;
  int y = (rcCenter.top + rcCenter.bottom - h) / 2;
  // Kept inside the area, the top-left corner winning when the window is larger.
  if (x + w > rcArea.right) x = rcArea.right - w;
  if (x < rcArea.left) x = rcArea.left;
  if (y + h > rcArea.bottom) y = rcArea.bottom - h;
  if (y < rcArea.top) y = rcArea.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO p, UINT nMask) const {
  p->cbSize = sizeof *p;
  p->fMask = nMask;
  return ::GetScrollInfo(m_hWnd, nBar, p);
}

int CWnd::GetScrollLimit(int nBar) const {
  SCROLLINFO si = {};
  if (!GetScrollInfo(nBar, &si, SIF_RANGE | SIF_PAGE)) return 0;
  int page = si.nPage > 0 ? static_cast<int>(si.nPage) - 1 : 0;
  return si.nMax - page;
}

void CWnd::DragAcceptFiles(BOOL bAccept) {
  ModifyStyleEx(bAccept ? 0 : WS_EX_ACCEPTFILES, bAccept ? WS_EX_ACCEPTFILES : 0);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
  SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
  CCmdUI state;
  for (HWND h = ::GetTopWindow(m_hWnd); h; h = ::GetNextWindow(h, GW_HWNDNEXT)) {
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(h));
    if (nID == 0 || nID == 0xFFFF) continue;  // labels and unnamed controls
    state.m_nID = nID;
    state.m_pOther = FromHandle(h);
    // Check boxes and radio buttons work by themselves; they are not disabled for lack of
    // a handler.
    state.DoUpdate(pTarget, bDisableIfNoHndler && !IsAutoButton(h));
  }
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
  if (m_hWndToolTip) FilterToolTipMessage(pMsg);
  return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
    CWnd* p = FromHandlePermanent(h);
    if (p && p->PreTranslateMessage(pMsg)) return TRUE;
    if (h == hWndStop) break;
  }
  return FALSE;
}

void CWnd::DoDataExchange(CDataExchange*) {}
