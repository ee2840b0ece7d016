// CWnd's core: the handle map, attaching and subclassing, the window procedure and the routing
// of messages, commands, notifications and reflection.
#include "framework/wnd/Wnd.h"

#include "framework/exceptions/Exception.h"
#include "framework/app/MessageBox.h"
#include "framework/threads/WinThread.h"
#include "framework/wnd/HandleMap.h"

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

// The window's procedure before ours, kept on the window too: a window whose object has let go
// of it without unsubclassing still reaches its own procedure.
const char kSuperProp[] = "ZbFwSuperProc";

thread_local MSG t_lastMsg = {};
thread_local CWnd* t_pWndInit = nullptr;
thread_local HHOOK t_hHook = nullptr;

bool IsCtlColor(UINT message) {
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// The control a parent's message is about, for the messages that are reflected; null otherwise.
HWND ReflectedChild(HWND hParent, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
      return dis->CtlType == ODT_MENU ? nullptr : dis->hwndItem;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
      return mis->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(hParent, mis->CtlID);
    }
    case WM_DELETEITEM:
      return reinterpret_cast<LPDELETEITEMSTRUCT>(lParam)->hwndItem;
    case WM_COMPAREITEM:
      return reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam)->hwndItem;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return reinterpret_cast<HWND>(lParam);
    default:
      (void)wParam;
      return IsCtlColor(message) ? reinterpret_cast<HWND>(lParam) : nullptr;
  }
}

// Records whether an update handler disabled a command (menus and accelerators).
class CTestCmdUI : public CCmdUI {
 public:
  void Enable(BOOL bOn) override {
    m_bEnabled = bOn;
    m_bEnableChanged = TRUE;
  }
  void SetCheck(int) override {}
  void SetRadio(BOOL) override {}
  void SetText(LPCSTR) override {}
  BOOL m_bEnabled = TRUE;
};

}  // namespace

// --- handle map ---

CWnd::~CWnd() {
  if (m_bTemporary || !m_hWnd) return;
  if (AfxGetHandleMap().LookupPermanent(m_hWnd) != this) return;
  // Derived parts are gone already: the window's last messages reach CWnd's own handling only.
  ::DestroyWindow(m_hWnd);
  if (m_hWnd) UnsubclassWindow();  // another thread's window cannot be destroyed from here
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  return hWnd ? AfxGetHandleMap().LookupPermanent(hWnd) : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  CHandleMap& map = AfxGetHandleMap();
  if (CWnd* p = map.LookupPermanent(hWnd)) return p;
  if (CWnd* p = map.LookupTemporary(hWnd)) return p;
  CWnd* p = new CWnd(hWnd);
  map.SetTemporary(hWnd, p);
  return p;
}

void CWnd::DeleteTempMap() {
  AfxGetHandleMap().DeleteTemp();
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew || m_hWnd || FromHandlePermanent(hWndNew)) return FALSE;
  AfxGetHandleMap().SetPermanent(hWndNew, this);
  m_hWnd = hWndNew;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h && AfxGetHandleMap().LookupPermanent(h) == this) AfxGetHandleMap().RemoveHandle(h);
  m_hWnd = nullptr;
  return h;
}

// --- creation ---

void AfxHookWindowCreate(CWnd* pWnd) {
  if (!t_hHook) t_hHook = ::SetWindowsHookExA(WH_CBT, AfxCbtHook, nullptr, ::GetCurrentThreadId());
  t_pWndInit = pWnd;
}

BOOL AfxUnhookWindowCreate() {
  BOOL came = t_pWndInit == nullptr;
  t_pWndInit = nullptr;
  if (t_hHook) ::UnhookWindowsHookEx(t_hHook);
  t_hHook = nullptr;
  return came;
}

LRESULT CALLBACK AfxCbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && t_pWndInit) {
    HWND hWnd = reinterpret_cast<HWND>(wParam);
    char cls[32] = "";
    ::GetClassNameA(hWnd, cls, sizeof cls);
    // The system's input-method windows are made on the thread's first window; skip them.
    if (lstrcmpiA(cls, "IME") != 0 && lstrcmpiA(cls, "MSCTFIME UI") != 0) {
      CWnd* pWnd = t_pWndInit;
      t_pWndInit = nullptr;
      pWnd->Attach(hWnd);
      pWnd->PreSubclassWindow();
      pWnd->SubclassAttached();
    }
  }
  return ::CallNextHookEx(t_hHook, code, wParam, lParam);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs) {
  if (!cs.lpszClass) {
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                       reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
  }
  return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
  CREATESTRUCTA cs = {lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth,
                      y, x, static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  AfxHookWindowCreate(this);
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                cs.lpCreateParams);
  // When the window came and went (its creation failed), its WM_NCDESTROY has cleaned up;
  // when it never came, the object is told here.
  if (!AfxUnhookWindowCreate()) PostNcDestroy();
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID,
                  lpParam);
}

BOOL CWnd::DestroyWindow() {
  return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

// --- subclassing ---

BOOL CWnd::SubclassAttached() {
  auto old = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (old && old != AfxWndProc) {
    m_pfnSuper = old;
    ::SetPropA(m_hWnd, kSuperProp, reinterpret_cast<HANDLE>(old));
  }
  return TRUE;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  return SubclassAttached();
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND hWnd = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
  return hWnd && SubclassWindow(hWnd);
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  if (m_pfnSuper && reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC)) ==
                        AfxWndProc) {
    ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  }
  ::RemovePropA(m_hWnd, kSuperProp);
  m_pfnSuper = nullptr;
  return Detach();
}

// --- the window procedure ---

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (pWnd) return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
  // No object (any more): the window's own procedure, never a freed object.
  auto super = reinterpret_cast<WNDPROC>(::GetPropA(hWnd, kSuperProp));
  if (message == WM_NCDESTROY) ::RemovePropA(hWnd, kSuperProp);
  return super ? ::CallWindowProcA(super, hWnd, message, wParam, lParam)
               : ::DefWindowProcA(hWnd, message, wParam, lParam);
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG saved = t_lastMsg;
  t_lastMsg = {hWnd, message, wParam, lParam, 0, {0, 0}};
  LRESULT result = 0;
  try {
    result = pWnd->WindowProc(message, wParam, lParam);
  } catch (const CException& e) {
    // A framework exception must not unwind through the system's code that called us: the
    // user is told (a user exception has been reported already) and the message ends here.
    char text[512] = "";
    if (e.GetErrorMessage(text, sizeof text)) AfxMessageBox(text, MB_ICONEXCLAMATION);
  }
  // A WM_NCDESTROY handler that did not chain to CWnd's still lets the object go; the map is
  // asked, not the object, which may have deleted itself.
  if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd) pWnd->NcDestroyCleanup();
  t_lastMsg = saved;
  return result;
}

const MSG* CWnd::GetCurrentMessage() const {
  return &t_lastMsg;
}

MSG* AfxGetCurrentMessage() {
  return &t_lastMsg;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(t_lastMsg.message, t_lastMsg.wParam, t_lastMsg.lParam);
}

BOOL CWnd::DispatchWndMsg(UINT nMapMessage, UINT message, WPARAM wParam, LPARAM lParam,
                          UINT nExtra, LRESULT* pResult) {
  const AFX_MSGMAP_ENTRY* e = FindEntry(GetMessageMap(), nMapMessage, 0, 0);
  if (!e) return FALSE;
  AFX_MSGCALL call = {message, wParam, lParam, 0, nExtra, nullptr};
  if (!e->pfn(this, call)) return FALSE;
  if (pResult) *pResult = call.result;
  return TRUE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    return hdr && OnNotify(wParam, lParam, pResult);
  }
  HWND hChild = ReflectedChild(m_hWnd, message, wParam, lParam);
  if (hChild && ReflectLastMsg(hChild, message, wParam, lParam, pResult)) return TRUE;
  if (IsCtlColor(message)) {
    return DispatchWndMsg(WM_CTLCOLOR, message, wParam, lParam, message - WM_CTLCOLORMSGBOX,
                          pResult);
  }
  return DispatchWndMsg(message, message, wParam, lParam, 0, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  int nCode = HIWORD(wParam);
  HWND hCtl = reinterpret_cast<HWND>(lParam);
  if (hCtl) {
    LRESULT ignored = 0;
    if (ReflectLastMsg(hCtl, WM_COMMAND, wParam, lParam, &ignored)) return TRUE;
    if (nID == 0) return FALSE;
  } else {
    // A menu item or an accelerator: a command its update handler disables is not run.
    CTestCmdUI state;
    state.m_nID = nID;
    OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
    if (!state.m_bEnabled) return TRUE;
    nCode = CN_COMMAND;
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  *pResult = 0;
  if (hdr->hwndFrom && ReflectLastMsg(hdr->hwndFrom, WM_NOTIFY, 0, lParam, pResult)) return TRUE;
  AFX_NOTIFY notify = {pResult, hdr};
  if (OnCmdMsg(static_cast<UINT>(hdr->idFrom), MAKELONG(hdr->code, WM_NOTIFY), &notify, nullptr)) {
    return TRUE;
  }
  if (hdr->code == TTN_NEEDTEXTA) return OnNeedToolText(0, lParam) != 0;
  if (hdr->code == TTN_NEEDTEXTW) return OnNeedToolTextW(lParam) != 0;
  return FALSE;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam,
                          LRESULT* pResult) {
  CWnd* pChild = FromHandlePermanent(hWndChild);
  return pChild && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    return OnCmdMsg(0, MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr, nullptr);
  }
  if (message == WM_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    AFX_NOTIFY notify = {pResult, hdr};
    return OnCmdMsg(0, MAKELONG(hdr->code, WM_REFLECT_BASE + WM_NOTIFY), &notify, nullptr);
  }
  if (IsCtlColor(message)) {
    return DispatchWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, message, wParam, lParam,
                          message - WM_CTLCOLORMSGBOX, pResult);
  }
  return DispatchWndMsg(WM_REFLECT_BASE + message, message, wParam, lParam, 0, pResult);
}

// --- destruction ---

void CWnd::OnNcDestroy() {
  Default();
  NcDestroyCleanup();
}

void CWnd::NcDestroyCleanup() {
  CWinThread* pThread = AfxGetThread();
  if (pThread && pThread->m_pMainWnd == this) {
    // The main window closing ends the thread's message loop.
    pThread->m_pMainWnd = nullptr;
    ::PostQuitMessage(0);
  }
  if (m_hWndToolTip) ::DestroyWindow(m_hWndToolTip);
  m_hWndToolTip = nullptr;
  UnsubclassWindow();
  PostNcDestroy();
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()
