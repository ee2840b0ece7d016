#include "toolkit/services/TkWndHook.h"

#include "framework/wnd/Wnd.h"

IMPLEMENT_DYNAMIC(CTkWndHook, CObject)
IMPLEMENT_DYNAMIC(CTkWindowMap, CObject)

CTkWindowMap& TkGetWindowMap() {
  static CTkWindowMap map(10);
  return map;
}

// --- the hook ---

CTkWndHook::~CTkWndHook() {
  if (m_hWnd) HookWindow(static_cast<HWND>(nullptr));
}

BOOL CTkWndHook::HookWindow(HWND hWnd) {
  if (hWnd) {
    TkGetWindowMap().Add(hWnd, this);
  } else if (m_hWnd) {
    TkGetWindowMap().Remove(this);
    m_pOldWndProc = nullptr;
  }
  m_hWnd = hWnd;
  return TRUE;
}

BOOL CTkWndHook::HookWindow(CWnd* pWnd) {
  return HookWindow(pWnd->GetSafeHwnd());
}

LRESULT CTkWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pNext) return m_pNext->WindowProc(message, wParam, lParam);
  if (m_pOldWndProc) return ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam);
  return PassToOwnProcedure(message, wParam, lParam);
}

LRESULT CTkWndHook::PassToOwnProcedure(UINT message, WPARAM wParam, LPARAM lParam) {
  // The hook came off its window while handling this message: the message still belongs to
  // the window, whose own procedure is either back in place or held by the hooks still on it.
  HWND hWnd = AfxGetCurrentMessage()->hwnd;
  if (!hWnd || !::IsWindow(hWnd)) return 0;
  WNDPROC own = nullptr;
  if (CTkWndHook* head = TkGetWindowMap().Lookup(hWnd)) {
    own = head->m_pOldWndProc;
  } else {
    own = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
  }
  if (!own || own == HookWndProc) return ::DefWindowProcA(hWnd, message, wParam, lParam);
  return ::CallWindowProcA(own, hWnd, message, wParam, lParam);
}

LRESULT CTkWndHook::Default() {
  const MSG* msg = AfxGetCurrentMessage();
  return CTkWndHook::WindowProc(msg->message, msg->wParam, msg->lParam);
}

// --- the map ---

CTkWndHook* CTkWindowMap::Lookup(HWND hWnd) const {
  CTkWndHook* pHook = nullptr;
  return m_map.Lookup(hWnd, pHook) ? pHook : nullptr;
}

void CTkWindowMap::Add(HWND hWnd, CTkWndHook* pHook) {
  CTkWndHook* pHead = Lookup(hWnd);
  pHook->m_pNext = pHead;
  SetAt(hWnd, pHook);
  if (!pHead) {
    pHook->m_pOldWndProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HookWndProc));
  } else {
    pHook->m_pOldWndProc = pHead->m_pOldWndProc;
  }
}

void CTkWindowMap::Remove(CTkWndHook* pHook) {
  HWND hWnd = pHook->m_hWnd;
  CTkWndHook* pHead = Lookup(hWnd);
  if (!pHead) return;
  if (pHead == pHook) {
    if (pHook->m_pNext) {
      SetAt(hWnd, pHook->m_pNext);
    } else {
      m_map.RemoveKey(hWnd);
      ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pHook->m_pOldWndProc));
    }
    return;
  }
  for (CTkWndHook* p = pHead; p->m_pNext; p = p->m_pNext) {
    if (p->m_pNext == pHook) {
      p->m_pNext = pHook->m_pNext;
      return;
    }
  }
}

void CTkWindowMap::RemoveAll(HWND hWnd) {
  while (CTkWndHook* pHook = Lookup(hWnd)) pHook->HookWindow(static_cast<HWND>(nullptr));
}

// --- the shared window procedure ---

namespace {

// Framework code called from a hook asks the thread's record for the current message; it must
// see this one, and the message that was being handled when this one came, after it.
class CurrentMessageScope {
 public:
  CurrentMessageScope(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
      : m_saved(*AfxGetCurrentMessage()) {
    MSG* record = AfxGetCurrentMessage();
    record->hwnd = hWnd;
    record->message = message;
    record->wParam = wParam;
    record->lParam = lParam;
  }
  ~CurrentMessageScope() { *AfxGetCurrentMessage() = m_saved; }
  CurrentMessageScope(const CurrentMessageScope&) = delete;
  CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

 private:
  MSG m_saved;
};

}  // namespace

LRESULT CALLBACK HookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CurrentMessageScope scope(hWnd, message, wParam, lParam);
  CTkWindowMap& map = TkGetWindowMap();
  CTkWndHook* pHead = map.Lookup(hWnd);
  if (!pHead) return ::DefWindowProcA(hWnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Every hook comes off first, so the window's own procedure sees its last message as a
    // window without hooks, and no hook is left holding a dead window.
    WNDPROC own = pHead->m_pOldWndProc;
    map.RemoveAll(hWnd);
    return ::CallWindowProcA(own, hWnd, message, wParam, lParam);
  }
  return pHead->WindowProc(message, wParam, lParam);
}
