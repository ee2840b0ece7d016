#include "toolkit/bars/TkStatusBar.h"

#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/gdi/TkMemDC.h"

IMPLEMENT_DYNAMIC(CTkStatusBar, CStatusBar)

namespace {
// Every toolkit file registers both; registering a name twice gives the same number.
[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");
}  // namespace

BEGIN_MESSAGE_MAP(CTkStatusBar, CStatusBar)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

CTkStatusBar::~CTkStatusBar() {
  for (CTkPaneControl& control : m_controls) FreeControl(control);
  m_controls.clear();
}

void CTkStatusBar::FreeControl(CTkPaneControl& control) {
  if (!control.pWnd) return;
  // A control destroyed already has let go of its window; only a live one is destroyed here.
  if (control.pWnd->m_hWnd && ::IsWindow(control.pWnd->m_hWnd)) control.pWnd->DestroyWindow();
  if (control.bAutoDelete) delete control.pWnd;
  control.pWnd = nullptr;
}

BOOL CTkStatusBar::GetPaneInfoEx(int nIndex, CTkStatusPaneInfo& info) const {
  if (nIndex < 0 || nIndex >= m_nCount) return FALSE;
  GetPaneInfo(nIndex, info.nID, info.nStyle, info.cxWidth);
  GetPaneText(nIndex, info.strText);
  return TRUE;
}

BOOL CTkStatusBar::SetPaneInfoEx(int nIndex, const CTkStatusPaneInfo& info) {
  if (nIndex < 0 || nIndex >= m_nCount) return FALSE;
  SetPaneInfo(nIndex, info.nID, info.nStyle, info.cxWidth);
  SetPaneText(nIndex, info.strText, TRUE);
  return TRUE;
}

void CTkStatusBar::SetPaneWidth(int nIndex, int cxWidth) {
  CTkStatusPaneInfo info;
  if (!GetPaneInfoEx(nIndex, info)) return;
  info.cxWidth = cxWidth;
  SetPaneInfoEx(nIndex, info);
}

std::vector<CTkStatusPaneInfo> CTkStatusBar::CopyPanes() const {
  std::vector<CTkStatusPaneInfo> panes(static_cast<size_t>(m_nCount));
  for (int i = 0; i < m_nCount; ++i) GetPaneInfoEx(i, panes[static_cast<size_t>(i)]);
  return panes;
}

void CTkStatusBar::RebuildPanes(const std::vector<CTkStatusPaneInfo>& panes) {
  std::vector<UINT> ids;
  for (const CTkStatusPaneInfo& pane : panes) ids.push_back(pane.nID);
  SetIndicators(ids.data(), static_cast<int>(ids.size()));
  for (size_t i = 0; i < panes.size(); ++i) SetPaneInfoEx(static_cast<int>(i), panes[i]);
  PositionControls();
}

BOOL CTkStatusBar::AddIndicator(UINT nID, int nIndex) {
  if (nIndex < 0 || nIndex > m_nCount || CommandToIndex(nID) >= 0) return FALSE;
  std::vector<CTkStatusPaneInfo> panes = CopyPanes();
  CTkStatusPaneInfo fresh;
  fresh.nID = nID;
  panes.insert(panes.begin() + nIndex, fresh);
  RebuildPanes(panes);
  return TRUE;
}

BOOL CTkStatusBar::RemoveIndicator(UINT nID) {
  int index = CommandToIndex(nID);
  if (index < 0) return FALSE;
  for (auto it = m_controls.begin(); it != m_controls.end(); ++it) {
    if (it->nID != nID) continue;
    FreeControl(*it);
    m_controls.erase(it);
    break;
  }
  std::vector<CTkStatusPaneInfo> panes = CopyPanes();
  panes.erase(panes.begin() + index);
  RebuildPanes(panes);
  return TRUE;
}

BOOL CTkStatusBar::AddControl(CWnd* pWnd, UINT nID, BOOL bAutoDelete) {
  if (!pWnd || CommandToIndex(nID) < 0) return FALSE;
  CTkPaneControl control;
  control.pWnd = pWnd;
  control.nID = nID;
  control.bAutoDelete = bAutoDelete;
  m_controls.push_back(control);
  PositionControls();
  return TRUE;
}

const CTkPaneControl* CTkStatusBar::GetPaneControl(UINT nID) const {
  for (const CTkPaneControl& control : m_controls)
    if (control.nID == nID) return &control;
  return nullptr;
}

void CTkStatusBar::PositionControls() {
  if (!m_hWnd) return;
  for (const CTkPaneControl& control : m_controls) {
    int index = CommandToIndex(control.nID);
    if (index < 0 || !control.pWnd || !control.pWnd->m_hWnd) continue;
    CRect rect;
    GetItemRect(index, &rect);
    if (!(GetPaneStyle(index) & SBPS_NOBORDERS)) rect.DeflateRect(2, 2);
    control.pWnd->MoveWindow(&rect, FALSE);
    control.pWnd->Invalidate();
  }
}

int CTkStatusBar::OnCreate(LPCREATESTRUCT lpcs) {
  if (CStatusBar::OnCreate(lpcs) == -1) return -1;
  if (HFONT font = ToolkitData().m_hFontNormal2)
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font));
  return 0;
}

void CTkStatusBar::OnSize(UINT nType, int cx, int cy) {
  CStatusBar::OnSize(nType, cx, cy);
  PositionControls();
}

BOOL CTkStatusBar::OnEraseBkgnd(CDC*) { return TRUE; }

void CTkStatusBar::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  const CTkToolkitData& data = ToolkitData();
  if (client.IsRectEmpty()) return;
  CTkMemDC mem(&dc, client, data.m_clrFace);
  // Without a memory DC the control paints straight onto the window.
  HDC target = mem.IsValid() ? mem.GetSafeHdc() : dc.GetSafeHdc();
  // The control paints its panes, texts and grip into the memory DC.
  DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(target), 0);
  if (!data.m_bFlatLook) return;
  HBRUSH shadow = ::CreateSolidBrush(data.m_clrShadow);
  for (int i = 0; i < m_nCount; ++i) {
    if (GetPaneStyle(i) & SBPS_NOBORDERS) continue;
    CRect rect;
    GetItemRect(i, &rect);
    // The last pane leaves room for the size grip.
    if (i == m_nCount - 1)
      rect.right = client.right - ::GetSystemMetrics(SM_CXSMICON) - ::GetSystemMetrics(SM_CXEDGE);
    ::FrameRect(target, &rect, shadow);
  }
  ::DeleteObject(shadow);
}
