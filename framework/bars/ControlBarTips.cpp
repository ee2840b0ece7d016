// Tool tips and fly-by prompts of control bars.
#include "framework/bars/ControlBar.h"
#include "framework/frame/FrameWnd.h"
#include "framework/wnd/MessageMap.h"

namespace {
// While a prompt is shown the bar watches the mouse: a move off the bar sends no message to it.
constexpr UINT_PTR kFlyByTimer = 0xE000;
constexpr UINT kFlyByPeriod = 200;
}  // namespace

BOOL CControlBar::PreTranslateMessage(MSG* pMsg) {
  if (m_dwStyle & CBRS_TOOLTIPS) {
    if (!m_hWndToolTip) EnableToolTips(TRUE);
    if (m_hWndToolTip) FilterToolTipMessage(pMsg);
  }
  if ((m_dwStyle & CBRS_FLYBY) && pMsg->message == WM_MOUSEMOVE && pMsg->hwnd == m_hWnd)
    UpdateFlyBy(CPoint(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam)));
  return CWnd::PreTranslateMessage(pMsg);
}

void CControlBar::UpdateFlyBy(CPoint point) {
  INT_PTR hit = OnToolHitTest(point, nullptr);
  UINT id = hit > 0 ? static_cast<UINT>(hit) : 0;
  if (id != m_nFlyById) {
    m_nFlyById = id;
    CFrameWnd* frame = GetDockingFrame();
    if (frame) frame->SendMessage(WM_SETMESSAGESTRING, id ? id : AFX_IDS_IDLEMESSAGE);
  }
  if (id)
    SetTimer(kFlyByTimer, kFlyByPeriod, nullptr);
  else
    KillTimer(kFlyByTimer);
}

void CControlBar::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kFlyByTimer) {
    Default();
    return;
  }
  POINT screen = {};
  ::GetCursorPos(&screen);
  POINT client = screen;
  ::ScreenToClient(m_hWnd, &client);
  // The mouse on another window counts as off the bar, whatever lies beneath it.
  if (::WindowFromPoint(screen) != m_hWnd) client = {-32767, -32767};
  UpdateFlyBy(CPoint(client.x, client.y));
}
