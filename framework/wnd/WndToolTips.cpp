// CWnd's tool tips: a tooltip control that follows OnToolHitTest, with texts from the string
// resources of the controls' ids (the part after a newline, when there is one).
#include <windows.h>
#include <commctrl.h>

#include "framework/app/AfxResource.h"
#include "framework/gdi/Rect.h"
#include "framework/wnd/Wnd.h"

namespace {
thread_local char t_tipText[256];
}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  if (!bEnable) {
    if (m_hWndToolTip) ::SendMessageA(m_hWndToolTip, TTM_ACTIVATE, FALSE, 0);
    return TRUE;
  }
  if (!m_hWndToolTip) {
    m_hWndToolTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                                      nullptr, AfxGetInstanceHandle(), nullptr);
  }
  if (m_hWndToolTip) ::SendMessageA(m_hWndToolTip, TTM_ACTIVATE, TRUE, 0);
  return m_hWndToolTip != nullptr;
}

INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  HWND hChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  if (!hChild || hChild == m_hWnd) return -1;
  int nID = ::GetDlgCtrlID(hChild);
  if (nID == 0 || nID == 0xFFFF) return -1;
  if (pTI) {
    pTI->hwnd = m_hWnd;
    pTI->uId = reinterpret_cast<UINT_PTR>(hChild);
    pTI->uFlags |= TTF_IDISHWND;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
  }
  return nID;
}

BOOL CWnd::FilterToolTipMessage(MSG* pMsg) {
  if (pMsg->message != WM_MOUSEMOVE && pMsg->message != WM_LBUTTONDOWN &&
      pMsg->message != WM_LBUTTONUP && pMsg->message != WM_RBUTTONDOWN) {
    return FALSE;
  }
  POINT pt = pMsg->pt;
  ::ScreenToClient(m_hWnd, &pt);
  TOOLINFOA ti = {};
  ti.cbSize = sizeof ti;
  INT_PTR hit = OnToolHitTest(CPoint(pt.x, pt.y), &ti);
  if (hit != -1) {
    TOOLINFOA existing = ti;
    if (!::SendMessageA(m_hWndToolTip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&existing))) {
      ti.uFlags |= TTF_SUBCLASS;
      ::SendMessageA(m_hWndToolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
    }
  }
  ::SendMessageA(m_hWndToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg));
  return FALSE;
}

LRESULT CWnd::OnNeedToolText(WPARAM, LPARAM lParam) {
  auto* tt = reinterpret_cast<NMTTDISPINFOA*>(lParam);
  UINT_PTR nID = tt->hdr.idFrom;
  if (tt->uFlags & TTF_IDISHWND) nID = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(nID)));
  if (nID == 0) return FALSE;
  std::string text = AfxLoadString(static_cast<UINT>(nID));
  size_t nl = text.find('\n');
  if (nl != std::string::npos) text = text.substr(nl + 1);
  lstrcpynA(t_tipText, text.c_str(), sizeof t_tipText);
  tt->lpszText = t_tipText;
  tt->hinst = nullptr;
  return TRUE;
}

LRESULT CWnd::OnNeedToolTextW(LPARAM lParam) {
  auto* wide = reinterpret_cast<NMTTDISPINFOW*>(lParam);
  NMTTDISPINFOA narrow = {};
  narrow.hdr = wide->hdr;
  narrow.uFlags = wide->uFlags;
  if (!OnNeedToolText(0, reinterpret_cast<LPARAM>(&narrow)) || !narrow.lpszText) return FALSE;
  int n = ::MultiByteToWideChar(CP_ACP, 0, narrow.lpszText, -1, wide->szText,
                                sizeof wide->szText / sizeof wide->szText[0]);
  wide->szText[sizeof wide->szText / sizeof wide->szText[0] - 1] = L'\0';
  if (n == 0) wide->szText[0] = L'\0';
  wide->lpszText = wide->szText;
  wide->hinst = nullptr;
  return TRUE;
}
