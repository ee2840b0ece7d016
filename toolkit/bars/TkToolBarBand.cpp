// CTkToolBar in a rebar band: the band's sizes, and the chevron that takes the buttons which no
// longer fit when the band gets shorter.
#include <algorithm>

#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkReBar.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/bars/TkToolBarLayout.h"

namespace {

// The band is this much wider than the bar needs, for the band's own edges.
constexpr int kBandSlack = 14;

}  // namespace

int CTkToolBar::GetMinimumBandSize(BOOL bHorz) const {
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, bHorz);
  int count = GetCount();
  for (int i = 0; i < count; ++i) {
    TBBUTTON button = {};
    if (!SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
        (button.fsState & TBSTATE_HIDDEN))
      continue;
    CRect item;
    GetItemRect(i, &item);
    int end = bHorz ? item.right - inside.Width() : item.bottom - inside.Height();
    return end + kTkChevronAllowance;
  }
  return kTkChevronAllowance;
}

BOOL CTkToolBar::GetBandSize(REBARBANDINFOA* pInfo, BOOL bHorz) {
  if (!pInfo) return FALSE;
  m_bInReBar = TRUE;
  if (!m_wndChevron.m_hWnd) m_wndChevron.Create(this, kTkChevronId);
  CSize size = CalcFixedLayout(FALSE, bHorz);
  pInfo->fMask |= RBBIM_CHILDSIZE;
  pInfo->cxMinChild = static_cast<UINT>(bHorz ? size.cx : size.cy);
  pInfo->cyMinChild = static_cast<UINT>(bHorz ? size.cy : size.cx);
  if (!m_bCustomizing) {
    // The band may shrink to its first button; the chevron offers the rest.
    pInfo->fMask |= RBBIM_IDEALSIZE | RBBIM_SIZE;
    pInfo->cxIdeal = pInfo->cxMinChild;
    pInfo->cx = pInfo->cxMinChild + kBandSlack;
    pInfo->cxMinChild = static_cast<UINT>(GetMinimumBandSize(bHorz));
  }
  return TRUE;
}

void CTkToolBar::OnBandChildSize(BOOL bHorz, const RECT& rcChild) {
  if (m_bCustomizing) return;
  int length = bHorz ? rcChild.right - rcChild.left : rcChild.bottom - rcChild.top;
  // The buttons have the client's length: the borders take their share of the band.
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, bHorz);
  int room = length + (bHorz ? inside.Width() : inside.Height());
  int current = GetRowLength();
  if (room < current)
    HideButtonsToFit(room);
  else if (room > current)
    ShowButtonsThatFit(room);
  else
    PositionChevron(length, bHorz);
}

// The chevron lies at the end of the client area (the borders take their share of the length)
// and never over the first visible button, which always stays.
void CTkToolBar::PositionChevron(int nLength, BOOL bHorz) {
  if (!m_wndChevron.m_hWnd) return;
  bool show = !m_hidden.empty();
  CRect inside(0, 0, 0, 0);
  CalcInsideRect(inside, bHorz);
  int offset = bHorz ? inside.Width() : inside.Height();
  int first = 0;
  for (int i = 0; i < GetCount(); ++i) {
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
    if (button.fsState & TBSTATE_HIDDEN) continue;
    CRect item;
    GetItemRect(i, &item);
    first = bHorz ? item.Width() : item.Height();
    break;
  }
  CRect client;
  GetClientRect(&client);
  CRect place;
  if (bHorz) {
    int across = std::max<int>(0, client.Height() - 2);
    place = CRect(CPoint(std::max(nLength - kTkChevronWidth + offset, first), 1),
                  CSize(kTkChevronWidth, across));
  } else {
    int across = std::max<int>(0, client.Width() - 2);
    place = CRect(CPoint(1, std::max(nLength + offset - 14, first)), CSize(across, kTkChevronWidth));
  }
  CRect now;
  m_wndChevron.GetWindowRect(&now);
  ScreenToClient(&now);
  bool visible = (m_wndChevron.GetStyle() & WS_VISIBLE) != 0;
  m_wndChevron.UpdateEnabled();
  if (now == place && visible == show) return;
  m_wndChevron.SetWindowPos(nullptr, place.left, place.top, place.Width(), place.Height(),
                            SWP_NOZORDER | SWP_NOACTIVATE |
                                (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

LRESULT CTkToolBar::OnGetBandSizeMsg(WPARAM wParam, LPARAM lParam) {
  return GetBandSize(reinterpret_cast<REBARBANDINFOA*>(lParam), static_cast<BOOL>(wParam));
}

LRESULT CTkToolBar::OnBandChildSizeMsg(WPARAM wParam, LPARAM lParam) {
  auto* pair = reinterpret_cast<TkBandChildSize*>(lParam);
  if (pair && pair->pNotify) OnBandChildSize(static_cast<BOOL>(wParam), pair->pNotify->rcChild);
  return 0;
}
