#include "framework/bars/StatusBar.h"

#include <algorithm>

#include "framework/frame/FrameWnd.h"
#include "framework/wnd/WindowDc.h"

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_NCPAINT()
  ON_MESSAGE(WM_SETTEXT, OnSetText)
  ON_MESSAGE(WM_GETTEXT, OnGetText)
  ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
END_MESSAGE_MAP()

CStatusBar::CStatusBar() {
  // The control draws its own pane edges; the bar keeps a thin margin above.
  m_cxLeftBorder = 0;
  m_cxRightBorder = 0;
  m_cyTopBorder = 2;
  m_cyBottomBorder = 0;
}

CStatusBar::~CStatusBar() {
  delete[] m_pPanes;
  // The control goes with the object; its panes' memory is gone already.
  m_pPanes = nullptr;
  m_nCount = 0;
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  m_dwStyle = dwStyle & CBRS_ALL;
  // The frame's layout places the bar; the control must not move or size itself.
  DWORD wndStyle = (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
                   CCS_NODIVIDER | CCS_NORESIZE;
  if (pParentWnd && (pParentWnd->GetStyle() & WS_THICKFRAME) == 0) wndStyle &= ~SBARS_SIZEGRIP;
  CRect rect(0, 0, 0, 0);
  return CWnd::Create(STATUSCLASSNAMEA, nullptr, wndStyle, rect, pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  delete[] m_pPanes;
  m_pPanes = nullptr;
  m_nCount = 0;
  if (nIDCount <= 0) return TRUE;
  m_pPanes = new AFX_STATUSPANE[nIDCount];
  m_nCount = nIDCount;
  BOOL allFound = TRUE;
  CClientDC dc(this);
  HGDIOBJ oldFont = nullptr;
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  if (font) oldFont = ::SelectObject(dc.GetSafeHdc(), font);
  for (int i = 0; i < nIDCount; ++i) {
    AFX_STATUSPANE& pane = m_pPanes[i];
    pane.nID = lpIDArray ? lpIDArray[i] : ID_SEPARATOR;
    pane.nStyle = SBPS_NORMAL;
    pane.cxText = 0;
    if (pane.nID != ID_SEPARATOR) {
      if (!pane.strText.LoadString(pane.nID)) allFound = FALSE;
      SIZE extent = {};
      ::GetTextExtentPoint32A(dc.GetSafeHdc(), pane.strText, pane.strText.GetLength(), &extent);
      pane.cxText = extent.cx;
    } else if (i == 0) {
      // The first separator carries the messages and takes what the others leave.
      pane.nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
    }
  }
  if (oldFont) ::SelectObject(dc.GetSafeHdc(), oldFont);
  UpdateAllPanes(TRUE, TRUE);
  return allFound;
}

AFX_STATUSPANE* CStatusBar::GetPanePtr(int nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
  return &m_pPanes[nIndex];
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (int i = 0; i < m_nCount; ++i)
    if (m_pPanes[i].nID == nIDFind) return i;
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  AFX_STATUSPANE* pane = GetPanePtr(nIndex);
  return pane ? pane->nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  ::SetRectEmpty(lpRect);
  if (GetPanePtr(nIndex)) SendMessage(SB_GETRECT, nIndex, reinterpret_cast<LPARAM>(lpRect));
}

void CStatusBar::GetPaneText(int nIndex, CString& s) const {
  AFX_STATUSPANE* pane = GetPanePtr(nIndex);
  s = pane ? pane->strText : CString();
}

CString CStatusBar::GetPaneText(int nIndex) const {
  CString s;
  GetPaneText(nIndex, s);
  return s;
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate) {
  AFX_STATUSPANE* pane = GetPanePtr(nIndex);
  if (!pane) return FALSE;
  CString text = lpszNewText ? lpszNewText : "";
  if (pane->strText == text) return TRUE;  // no flicker for an unchanged text
  pane->strText = text;
  if (bUpdate && m_hWnd) {
    LPCSTR shown = (pane->nStyle & SBPS_DISABLED) ? "" : static_cast<LPCSTR>(pane->strText);
    SendMessage(SB_SETTEXTA, nIndex | (pane->nStyle & 0xFF00), reinterpret_cast<LPARAM>(shown));
  }
  return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  AFX_STATUSPANE* pane = GetPanePtr(nIndex);
  nID = pane ? pane->nID : 0;
  nStyle = pane ? pane->nStyle : 0;
  cxWidth = pane ? pane->cxText : 0;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  AFX_STATUSPANE* pane = GetPanePtr(nIndex);
  if (!pane) return;
  pane->nID = nID;
  pane->nStyle = nStyle;
  pane->cxText = cxWidth;
  UpdateAllPanes(TRUE, TRUE);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  AFX_STATUSPANE* pane = GetPanePtr(nIndex);
  return pane ? pane->nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  AFX_STATUSPANE* pane = GetPanePtr(nIndex);
  if (!pane || pane->nStyle == nStyle) return;
  pane->nStyle = nStyle;
  UpdateAllPanes(FALSE, TRUE);
}

namespace {

// Room a pane needs beside its text: the control's edges and a little air.
constexpr int kPaneExtra = 8;

}  // namespace

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText) {
  if (!m_hWnd || m_nCount == 0) return;
  if (bUpdateRects) {
    CRect client;
    GetClientRect(&client);
    int gripRoom = (GetStyle() & SBARS_SIZEGRIP) ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
    int fixed = 0, stretchers = 0;
    for (int i = 0; i < m_nCount; ++i) {
      if (m_pPanes[i].nStyle & SBPS_STRETCH)
        ++stretchers;
      else
        fixed += m_pPanes[i].cxText + kPaneExtra;
    }
    int spare = std::max(0, client.Width() - gripRoom - fixed);
    int* edges = new int[m_nCount];
    int right = 0;
    for (int i = 0; i < m_nCount; ++i) {
      const AFX_STATUSPANE& pane = m_pPanes[i];
      int width = (pane.nStyle & SBPS_STRETCH) ? spare / stretchers : pane.cxText + kPaneExtra;
      right += width;
      edges[i] = right;
    }
    // The last pane runs to the end (under the grip).
    edges[m_nCount - 1] = -1;
    SendMessage(SB_SETPARTS, m_nCount, reinterpret_cast<LPARAM>(edges));
    delete[] edges;
  }
  if (bUpdateText) {
    for (int i = 0; i < m_nCount; ++i) {
      const AFX_STATUSPANE& pane = m_pPanes[i];
      LPCSTR shown = (pane.nStyle & SBPS_DISABLED) ? "" : static_cast<LPCSTR>(pane.strText);
      SendMessage(SB_SETTEXTA, i | (pane.nStyle & 0xFF00), reinterpret_cast<LPARAM>(shown));
    }
  }
}

CSize CStatusBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  CSize size = CControlBar::CalcFixedLayout(bStretch, bHorz);
  // As high as a line of the control's font, with the control's edges and the bar's borders.
  CClientDC dc(nullptr);
  HFONT font = m_hWnd ? reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)) : nullptr;
  HGDIOBJ old = ::SelectObject(dc.GetSafeHdc(),
                               font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICA tm = {};
  ::GetTextMetricsA(dc.GetSafeHdc(), &tm);
  ::SelectObject(dc.GetSafeHdc(), old);
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, bHorz);
  size.cy = tm.tmHeight - tm.tmInternalLeading + 2 * ::GetSystemMetrics(SM_CYBORDER) * 3 -
            inside.Height();
  return size;
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  UpdateAllPanes(TRUE, FALSE);
}

// The window text of the bar is the first pane's text (the frame's messages).
LRESULT CStatusBar::OnSetText(WPARAM, LPARAM lParam) {
  int index = CommandToIndex(ID_SEPARATOR);
  if (index < 0) return FALSE;
  return SetPaneText(index, reinterpret_cast<LPCSTR>(lParam));
}

LRESULT CStatusBar::OnGetText(WPARAM wParam, LPARAM lParam) {
  int index = CommandToIndex(ID_SEPARATOR);
  CString text = index < 0 ? CString() : GetPaneText(index);
  if (wParam == 0 || !lParam) return 0;
  lstrcpynA(reinterpret_cast<LPSTR>(lParam), text, static_cast<int>(wParam));
  return std::min<LRESULT>(text.GetLength(), static_cast<LRESULT>(wParam) - 1);
}

LRESULT CStatusBar::OnGetTextLength(WPARAM, LPARAM) {
  int index = CommandToIndex(ID_SEPARATOR);
  return index < 0 ? 0 : GetPaneText(index).GetLength();
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL) {
  CStatusCmdUI state;
  state.m_pOther = this;
  state.m_nIndexMax = static_cast<UINT>(m_nCount);
  for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
    state.m_nID = m_pPanes[state.m_nIndex].nID;
    // The message pane is the frame's, not a command's.
    if (state.m_nID == ID_SEPARATOR) continue;
    // Panes are not commands: one without an update handler stays as it is.
    state.DoUpdate(pTarget, FALSE);
  }
}

void CStatusCmdUI::Enable(BOOL bOn) {
  m_bEnableChanged = TRUE;
  auto* bar = static_cast<CStatusBar*>(m_pOther);
  int index = static_cast<int>(m_nIndex);
  UINT style = bar->GetPaneStyle(index) & ~SBPS_DISABLED;
  if (!bOn) style |= SBPS_DISABLED;
  bar->SetPaneStyle(index, style);
}

void CStatusCmdUI::SetCheck(int nCheck) {
  auto* bar = static_cast<CStatusBar*>(m_pOther);
  int index = static_cast<int>(m_nIndex);
  UINT style = bar->GetPaneStyle(index) & ~SBPS_POPOUT;
  if (nCheck) style |= SBPS_POPOUT;
  bar->SetPaneStyle(index, style);
}

void CStatusCmdUI::SetText(LPCSTR lpszText) {
  static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), lpszText);
}
