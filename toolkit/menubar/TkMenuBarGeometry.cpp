#include "toolkit/menubar/TkMenuBarGeometry.h"

#include <algorithm>

#include "framework/bars/BarStyles.h"
#include "toolkit/core/ToolkitData.h"

TkMenuBarMetrics TkMenuBarSystemMetrics() {
  TkMenuBarMetrics m;
  m.cxEdge = ::GetSystemMetrics(SM_CXEDGE);
  m.cyEdge = ::GetSystemMetrics(SM_CYEDGE);
  m.cySmCaption = ::GetSystemMetrics(SM_CYSMCAPTION);
  m.cxSmIcon = ::GetSystemMetrics(SM_CXSMICON);
  m.cySmIcon = ::GetSystemMetrics(SM_CYSMICON);
  const CTkToolkitData& data = ToolkitData();
  m.cxMdiButton = data.m_cxMdiButton;
  m.cyMdiButton = data.m_cyMdiButton;
  m.flat = data.m_bFlatLook != FALSE;
  return m;
}

SIZE TkCalcMenuBarSize(const int* buttonWidths, int count, bool mdiMaximized,
                       const TkMenuBarMetrics& m) {
  int width = 2 * m.cxEdge;
  for (int i = 0; i < count; ++i) width += buttonWidths[i];
  if (mdiMaximized) width += 5 + m.cxSmIcon + 3 * m.cxMdiButton;
  return SIZE{width, 5 * m.cyEdge + m.cySmCaption};
}

void TkAdjustForMDIButtons(RECT& rect, int buttonExtent, bool horizontal,
                           const TkMenuBarMetrics& m) {
  if (horizontal) {
    rect.left += 2 + m.cxSmIcon;
    rect.right = std::max<LONG>(rect.right - 3 * m.cxMdiButton, rect.left + buttonExtent);
  } else {
    rect.top += m.cySmIcon;
    rect.bottom = std::max<LONG>(rect.bottom - 3 * m.cyMdiButton, rect.top + buttonExtent);
  }
}

void TkCalcMDIButtonRects(const RECT& client, int buttonExtent, bool horizontal,
                          bool dockedRight, const TkMenuBarMetrics& m, RECT out[4]) {
  // Across the bar each caption button keeps 2 pixels off the edges (3 with the flat look).
  const int inset = m.flat ? 3 : 2;
  if (horizontal) {
    int top = client.top + (client.bottom - client.top - m.cySmIcon) / 2;
    out[0] = RECT{client.left - 2 - m.cxSmIcon, top, client.left - 2, top + m.cySmIcon};
    int end = std::max<LONG>(client.right, client.left + buttonExtent) + 3 * m.cxMdiButton;
    int btnTop = client.top + inset, btnBottom = client.bottom - inset;
    out[3] = RECT{end - m.cxMdiButton, btnTop, end, btnBottom};
    out[2] = RECT{out[3].left - 2 - m.cxMdiButton, btnTop, out[3].left - 2, btnBottom};
    out[1] = RECT{out[2].left - m.cxMdiButton, btnTop, out[2].left, btnBottom};
  } else {
    int left = dockedRight ? client.right - m.cxSmIcon : client.left;
    out[0] = RECT{left, client.top - m.cySmIcon, left + m.cxSmIcon, client.top};
    int end = std::max<LONG>(client.bottom, client.top + buttonExtent) + 3 * m.cyMdiButton;
    int btnLeft = client.left + inset, btnRight = client.right - inset;
    out[3] = RECT{btnLeft, end - m.cyMdiButton, btnRight, end};
    out[2] = RECT{btnLeft, out[3].top - 2 - m.cyMdiButton, btnRight, out[3].top - 2};
    out[1] = RECT{btnLeft, out[2].top - m.cyMdiButton, btnRight, out[2].top};
  }
}

int TkHitTestMDIButton(const RECT rects[4], POINT point) {
  for (int i = 0; i < 4; ++i)
    if (::PtInRect(&rects[i], point)) return i;
  return -1;
}

POINT TkComputeTrackPoint(DWORD dwDockSide, const RECT& rcButton, TPMPARAMS& params) {
  params = TPMPARAMS{};
  params.cbSize = sizeof(TPMPARAMS);
  params.rcExclude = rcButton;
  if (dwDockSide & CBRS_ALIGN_LEFT) return POINT{rcButton.right, rcButton.top};
  if (dwDockSide & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) return POINT{rcButton.left, rcButton.top};
  return POINT{rcButton.left, rcButton.bottom};
}
