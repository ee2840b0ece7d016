#include "toolkit/tests/docking/DockFrameFixture.h"

#include "toolkit/docking/TkDocking.h"
#include "toolkit/tests/frame/FrameTestSupport.h"

namespace docktest {

void DockFrameTest::SetUp() {
  ASSERT_NE(tktest::LanguageModule(), nullptr);
  MakeFrame();
}

void DockFrameTest::TearDown() {
  if (m_frame && ::IsWindow(m_frame->m_hWnd)) m_frame->DestroyWindow();
  m_frame = nullptr;
}

void DockFrameTest::MakeFrame(const std::function<void()>& beforeDocking) {
  m_frame = new CTkFrameWnd;
  ASSERT_TRUE(m_frame->Create(nullptr, "docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              CRect(20, 20, 620, 420)));
  // Make the client area exactly 600 x 400 whatever the decorations measure.
  CRect window, client;
  m_frame->GetWindowRect(&window);
  m_frame->GetClientRect(&client);
  m_frame->SetWindowPos(nullptr, 0, 0, window.Width() - client.Width() + 600,
                        window.Height() - client.Height() + 400, SWP_NOMOVE | SWP_NOZORDER);
  m_frame->GetClientRect(&client);
  m_client = client.Size();
  if (beforeDocking) beforeDocking();
  ASSERT_TRUE(TkEnableDocking(m_frame, CBRS_ALIGN_ANY));
}

CTkDockBar* DockFrameTest::Dock(UINT nID) const {
  return dynamic_cast<CTkDockBar*>(m_frame->GetControlBar(nID));
}

void DockFrameTest::Arrange(UINT nDockID, const Rows& rows) {
  CTkDockBar* dock = Dock(nDockID);
  ASSERT_NE(dock, nullptr);
  for (const auto& row : rows)
    for (CControlBar* bar : row) {
      bar->EnableDocking(CBRS_ALIGN_ANY);
      m_frame->DockControlBar(bar, nDockID);
    }
  dock->m_arrBars.RemoveAll();
  dock->m_arrBars.Add(nullptr);
  for (const auto& row : rows) {
    for (CControlBar* bar : row) dock->m_arrBars.Add(bar);
    dock->m_arrBars.Add(nullptr);
  }
  Layout();
}

void DockFrameTest::Layout() {
  // A pass may ask for another (a newcomer shared out, a bar moved to a row of its own).
  for (int i = 0; i < 3; ++i) m_frame->RecalcLayout();
}

CRect DockFrameTest::Placed(CControlBar* pBar) {
  CRect r;
  pBar->GetWindowRect(&r);
  CWnd* parent = pBar->GetParent();
  parent->ScreenToClient(&r);
  return r;
}

std::vector<std::vector<UINT>> DockFrameTest::RowIds(CTkDockBar* pDock) {
  std::vector<std::vector<UINT>> rows;
  std::vector<UINT> row;
  for (INT_PTR i = 1; i < pDock->m_arrBars.GetSize(); ++i) {
    void* p = pDock->m_arrBars[i];
    if (!p) {
      if (!row.empty()) rows.push_back(row);
      row.clear();
      continue;
    }
    if (CDockBar::IsPlaceHolder(p)) continue;
    row.push_back(static_cast<UINT>(static_cast<CControlBar*>(p)->GetDlgCtrlID()));
  }
  if (!row.empty()) rows.push_back(row);
  return rows;
}

BOOL DockFrameTest::Drag(CTkDockBar* pDock, CPoint from, CSize by, BOOL cancel) {
  CPoint screen = from;
  pDock->ClientToScreen(&screen);
  LPARAM at = MAKELPARAM(screen.x, screen.y);
  if (pDock->SendMessage(WM_NCHITTEST, 0, at) != HTBORDER) return FALSE;
  pDock->SendMessage(WM_NCLBUTTONDOWN, HTBORDER, at);
  if (!pDock->IsTracking()) return FALSE;
  CPoint to = from + by;
  // Two steps, as a mouse gives them.
  CPoint half = from + CSize(by.cx / 2, by.cy / 2);
  pDock->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(half.x, half.y));
  pDock->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  if (cancel)
    pDock->SendMessage(WM_COMMAND, IDCANCEL, 0);
  else
    pDock->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  // Either way the drag is over and the mouse free.
  if (pDock->IsTracking() || ::GetCapture() == pDock->m_hWnd) return FALSE;
  Layout();
  return TRUE;
}

}  // namespace docktest
