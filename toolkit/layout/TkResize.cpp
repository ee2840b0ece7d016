#include "toolkit/layout/TkResize.h"

#include <vector>

#include "framework/app/WinApp.h"

TkDeferPosCalls& TkGetDeferPosCalls() {
  static TkDeferPosCalls calls = {::BeginDeferWindowPos, ::DeferWindowPos, ::EndDeferWindowPos,
                                  ::SetWindowPos};
  return calls;
}

CTkResizeItem::~CTkResizeItem() {
  if (m_bOwned && m_pWnd) {
    m_pWnd->Detach();
    delete m_pWnd;
  }
}

CTkResize::CTkResize(CWnd* pParent, DWORD dwFlags) : m_pParent(pParent), m_dwFlags(dwFlags) {}

CTkResize::~CTkResize() {
  RemoveAllControls();
  if (m_grip.GetSafeHwnd()) m_grip.DestroyWindow();
}

CTkResizeItem* CTkResize::FindItem(UINT nID) const {
  for (int i = 0; i < GetItemCount(); ++i) {
    CTkResizeItem* item = GetItem(i);
    if (item->m_pWnd && item->m_pWnd->GetSafeHwnd() &&
        static_cast<UINT>(item->m_pWnd->GetDlgCtrlID()) == nID) {
      return item;
    }
  }
  return nullptr;
}

void CTkResize::SetResize(UINT nID, const CTkResizeRect& factors) {
  if (CTkResizeItem* existing = FindItem(nID)) {
    existing->m_factors += factors;
    return;
  }
  HWND hChild = ::GetDlgItem(m_pParent->GetSafeHwnd(), static_cast<int>(nID));
  if (!hChild) return;  // a caller error: no such child
  CWnd* pChild = CWnd::FromHandlePermanent(hChild);
  BOOL bOwned = FALSE;
  if (!pChild) {
    // A temporary wrapper would be gone at the next idle; the item keeps one of its own.
    pChild = new CWnd;
    pChild->Attach(hChild);
    bOwned = TRUE;
  }
  CRect rc;
  ::GetWindowRect(hChild, &rc);
  m_pParent->ScreenToClient(&rc);
  m_items.Add(new CTkResizeItem(pChild, factors, CTkResizeRect(rc), bOwned));
  if (!(m_dwFlags & TKRS_NOTRANSPARENT)) MakeTransparent(pChild);
}

// Group boxes, and check boxes and radio buttons that are not tab stops, are drawn over what lies
// behind them; transparent, they do not leave stale pieces when the window grows under them.
void CTkResize::MakeTransparent(CWnd* pChild) const {
  char szClass[8] = "";
  ::GetClassNameA(pChild->m_hWnd, szClass, sizeof szClass);
  if (lstrcmpiA(szClass, "Button") != 0) return;
  DWORD style = pChild->GetStyle();
  if ((style & 0x7) == 0 || (style & WS_TABSTOP)) return;
  pChild->ModifyStyleEx(0, WS_EX_TRANSPARENT);
  ::SetWindowPos(pChild->m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CTkResize::SetResize(const CTkResizeEntry* pEntries, int nCount) {
  for (int i = 0; i < nCount; ++i) {
    const CTkResizeEntry& e = pEntries[i];
    SetResize(e.nID, CTkResizeRect(e.left, e.top, e.right, e.bottom));
  }
}

void CTkResize::AddItem(CWnd* pWnd, const CTkResizeRect& factors, int left, int top, int right,
                        int bottom) {
  m_items.Add(new CTkResizeItem(pWnd, factors, CTkResizeRect(static_cast<float>(left),
                                                             static_cast<float>(top),
                                                             static_cast<float>(right),
                                                             static_cast<float>(bottom)),
                                FALSE));
}

BOOL CTkResize::RemoveResize(UINT nID) {
  for (int i = GetItemCount() - 1; i >= 0; --i) {
    CTkResizeItem* item = GetItem(i);
    if (item->m_pWnd && item->m_pWnd->GetSafeHwnd() &&
        static_cast<UINT>(item->m_pWnd->GetDlgCtrlID()) == nID) {
      delete item;
      m_items.RemoveAt(i);
      return TRUE;
    }
  }
  return FALSE;
}

void CTkResize::RemoveAllControls() {
  for (int i = 0; i < GetItemCount(); ++i) delete GetItem(i);
  m_items.RemoveAll();
}

void CTkResize::Init() {
  if (!m_pParent || !m_pParent->GetSafeHwnd()) return;
  RemoveAllControls();
  m_pParent->GetWindowRect(&m_rcWindow);
  if (!(m_dwFlags & TKRS_NOMINSIZE)) m_minSize = CSize(m_rcWindow.Width(), m_rcWindow.Height());
  if (!(m_dwFlags & TKRS_NOCLIPCHILDREN)) m_pParent->ModifyStyle(0, WS_CLIPCHILDREN);
  if (m_dwFlags & TKRS_NOGRIP) return;
  if (!m_grip.GetSafeHwnd()) m_grip.Create(m_pParent);
  CRect rcParent, rcGrip;
  m_pParent->GetClientRect(&rcParent);
  m_grip.GetClientRect(&rcGrip);
  m_grip.SetWindowPos(&CWnd::wndTop, rcParent.right - rcGrip.Width(),
                      rcParent.bottom - rcGrip.Height(), 0, 0, SWP_NOSIZE);
  SetResize(CTkResizeGrip::kID, 1, 1, 1, 1);
}

CTkResizeRect CTkResize::Advance(const CTkResizeRect& rect, const CTkResizeRect& f, int dx,
                                 int dy) {
  return CTkResizeRect(static_cast<float>(dx * static_cast<double>(f.left) + rect.left),
                       static_cast<float>(dy * static_cast<double>(f.top) + rect.top),
                       static_cast<float>(dx * static_cast<double>(f.right) + rect.right),
                       static_cast<float>(dy * static_cast<double>(f.bottom) + rect.bottom));
}

namespace {
struct PendingMove {
  HWND hWnd;
  int x, y, cx, cy;
  UINT flags;
};
}  // namespace

void CTkResize::Size() {
  if (GetItemCount() == 0 || !m_pParent || !m_pParent->GetSafeHwnd()) return;
  CRect rcNow;
  m_pParent->GetWindowRect(&rcNow);
  int dx = rcNow.Width() - m_rcWindow.Width();
  int dy = rcNow.Height() - m_rcWindow.Height();

  std::vector<PendingMove> moves;
  for (int i = 0; i < GetItemCount(); ++i) {
    CTkResizeItem* item = GetItem(i);
    CTkResizeRect next = Advance(item->m_rect, item->m_factors, dx, dy);
    if (next == item->m_rect) continue;
    item->m_rect = next;
    HWND hChild = item->m_pWnd ? item->m_pWnd->GetSafeHwnd() : nullptr;
    if (!hChild || !::IsWindow(hChild)) continue;  // placed at its first layout once it exists
    RECT target = next.ToRect();
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    CRect rcChild;
    ::GetWindowRect(hChild, &rcChild);
    m_pParent->ScreenToClient(&rcChild);
    if (rcChild.left == target.left && rcChild.top == target.top) flags |= SWP_NOMOVE;
    if (rcChild.Width() == target.right - target.left &&
        rcChild.Height() == target.bottom - target.top) {
      flags |= SWP_NOSIZE;
    }
    moves.push_back({hChild, target.left, target.top, target.right - target.left,
                     target.bottom - target.top, flags});
  }
  m_rcWindow = rcNow;
  if (moves.empty()) return;

  // All children move at once through one deferred batch. When the system refuses a step it has
  // already freed the batch: the handle must then be neither used nor ended, so the children are
  // placed one by one instead of being left where they were.
  TkDeferPosCalls& calls = TkGetDeferPosCalls();
  HDWP hdwp = calls.begin(static_cast<int>(moves.size()));
  for (const PendingMove& m : moves) {
    if (!hdwp) break;
    hdwp = calls.defer(hdwp, m.hWnd, nullptr, m.x, m.y, m.cx, m.cy, m.flags);
  }
  if (hdwp && calls.end(hdwp)) return;
  for (const PendingMove& m : moves) calls.setPos(m.hWnd, nullptr, m.x, m.y, m.cx, m.cy, m.flags);
}

void CTkResize::GetMinMaxInfo(MINMAXINFO* pMMI) const {
  if (!m_rcWindow.IsRectNull()) {
    if (m_dwFlags & TKRS_FIXEDWIDTH) {
      pMMI->ptMaxSize.x = m_rcWindow.Width();
      pMMI->ptMaxTrackSize.x = m_rcWindow.Width();
    }
    if (m_dwFlags & TKRS_FIXEDHEIGHT) {
      pMMI->ptMaxSize.y = m_rcWindow.Height();
      pMMI->ptMaxTrackSize.y = m_rcWindow.Height();
    }
  }
  if (m_minSize.cx) pMMI->ptMinTrackSize.x = m_minSize.cx;
  if (m_minSize.cy) pMMI->ptMinTrackSize.y = m_minSize.cy;
  if (m_maxSize.cx) pMMI->ptMaxTrackSize.x = m_maxSize.cx;
  if (m_maxSize.cy) pMMI->ptMaxTrackSize.y = m_maxSize.cy;
}

void CTkResize::LoadPlacement(LPCSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (!app || !m_pParent->GetSafeHwnd()) return;
  LPBYTE pData = nullptr;
  UINT nBytes = 0;
  if (app->GetProfileBinary(lpszSection, "WindowPlacement", &pData, &nBytes) &&
      nBytes == sizeof(WINDOWPLACEMENT)) {
    m_pParent->SetWindowPlacement(reinterpret_cast<WINDOWPLACEMENT*>(pData));
  }
  delete[] pData;
}

void CTkResize::SavePlacement(LPCSTR lpszSection) {
  CWinApp* app = AfxGetApp();
  if (!app || !m_pParent->GetSafeHwnd()) return;
  WINDOWPLACEMENT wp = {};
  wp.length = sizeof wp;
  m_pParent->GetWindowPlacement(&wp);
  app->WriteProfileBinary(lpszSection, "WindowPlacement", reinterpret_cast<LPBYTE>(&wp),
                          sizeof wp);
}
