// The dock bar's layout pass: rows of bars placed one after the other, splitters between rows
// and between sizing bars, and the borders that neighbouring bars and splitters make redundant.
#include <algorithm>

#include "framework/docking/DockContext.h"
#include "framework/frame/FrameWnd.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/docking/TkDockBar.h"
#include "toolkit/docking/TkDockSplitter.h"

namespace {
constexpr int kGap = 6;

// Toolkit bars draw their own edges flush with their neighbours; the framework's bars overlap
// them by the width of their border.
BOOL IsToolkitBar(CControlBar* pBar) {
  return pBar->IsKindOf(RUNTIME_CLASS(CTkControlBar)) || pBar->IsKindOf(RUNTIME_CLASS(CTkToolBar));
}

// A toolbar whose trailing buttons may go behind its chevron: the toolkit's toolbar itself, not
// a class derived from it that may lay its buttons out otherwise.
BOOL CanHideButtons(CControlBar* pBar) {
  return pBar->GetRuntimeClass() == RUNTIME_CLASS(CTkToolBar);
}

// The state of one layout pass, in the axes of the dock bar: "along" runs with the rows,
// "across" from row to row.
struct Pass {
  BOOL atRowStart = TRUE, firstRow = TRUE, rowSplitterDue = FALSE, wrapped = FALSE;
  BOOL rowSeen = FALSE, lastRowHeldDocks = FALSE;
  int rowStart = -1, prevRowStart = -1, thickness = 0;
  int docksInRow = 0, docksLeft = 0;
  CControlBar* prevBar = nullptr;
  int prevPos = -1;  // where the previous bar of the row is
  BOOL prevWasDock = FALSE;
  DWORD rowBorderMask = CBRS_BORDER_ANY, prevStyle = CBRS_BORDER_ANY;
  int firstSplitterOfRow = 0;
  int overlapX = 0, overlapY = 0;
};
}  // namespace

BOOL CTkDockBar::IsMenuBar(CControlBar* pBar) const {
  // By name, so that the dock bar needs nothing of the menu bar's own header.
  for (const CRuntimeClass* cls = pBar->GetRuntimeClass(); cls; cls = cls->m_pBaseClass)
    if (lstrcmpA(cls->m_lpszClassName, "CTkMenuBar") == 0) return TRUE;
  return FALSE;
}

CSize CTkDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
  if (m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
  CSize sizeFixed = CControlBar::CalcFixedLayout(bStretch, bHorz);
  CFrameWnd* site = GetDockSite();
  CSize sizeMax = m_rectLayout.Size();
  if (m_rectLayout.IsRectEmpty() && site) {
    CRect client;
    site->GetClientRect(&client);
    sizeMax = client.Size();
  }
  const BOOL horz = IsHorz();
  const int avail = bHorz ? sizeMax.cx : sizeMax.cy;
  const int border2 = 2 * ::GetSystemMetrics(SM_CXBORDER);

  AFX_SIZEPARENTPARAMS layout = {};
  if (!m_bLayoutQuery) layout.hDWP = ::BeginDeferWindowPos(static_cast<int>(m_arrBars.GetSize()));
  CPoint pt(0, -1);
  if (m_dwStyle & CBRS_ALIGN_RIGHT) pt.x = -1;

  // A layout while a splitter is dragged ends the drag first: its splitter is about to go.
  if (m_bTracking) OnCancel();
  RemoveAllSplitters();
  Pass s;
  // along/across: the coordinate of pt (or a size) in the dock bar's axes.
  auto along = [horz](CPoint& p) -> LONG& { return horz ? p.x : p.y; };
  auto across = [horz](CPoint& p) -> LONG& { return horz ? p.y : p.x; };
  const DWORD borderRowEnd = horz ? CBRS_BORDER_BOTTOM : CBRS_BORDER_RIGHT;
  const DWORD borderRowStart = horz ? CBRS_BORDER_TOP : CBRS_BORDER_LEFT;
  const DWORD borderBefore = horz ? CBRS_BORDER_LEFT : CBRS_BORDER_TOP;
  const DWORD borderAfter = horz ? CBRS_BORDER_RIGHT : CBRS_BORDER_BOTTOM;

  auto applyPrevStyle = [this, &s]() {
    if (!s.prevBar) return;
    // A flat dock site leaves the borders of fixed bars alone.
    if (!s.prevWasDock && (m_dwDockBarStyle & TKDS_FLAT)) return;
    s.prevBar->SetBarStyle((s.prevBar->GetBarStyle() & ~CBRS_BORDER_ANY) | s.prevStyle);
  };
  auto addRowSplitter = [&](int index) {
    if (horz) {
      AddSplitter(CRect(pt.x, pt.y, pt.x, pt.y + kGap), TKSPLIT_HORZ, TRUE, index);
    } else {
      AddSplitter(CRect(pt.x, pt.y, pt.x + kGap, pt.y), TKSPLIT_VERT, TRUE, index);
    }
  };

  for (int nPos = 0; nPos < m_arrBars.GetSize(); ++nPos) {
    void* entry = m_arrBars[nPos];
    if (entry == nullptr) {
      if (s.thickness <= 0) continue;
      // The end of a row.
      if (!horz) {
        if (s.docksInRow > 0 && site && !site->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM))
          s.prevStyle &= ~CBRS_BORDER_BOTTOM;
      } else if (pt.x >= sizeMax.cx && s.prevWasDock) {
        s.prevStyle &= ~CBRS_BORDER_RIGHT;
      }
      applyPrevStyle();
      if (s.firstRow) RemoveRowBorders(s.rowStart, borderRowStart, TRUE);
      across(pt) += s.thickness - (horz ? s.overlapY : s.overlapX);
      sizeFixed.cx = std::max(sizeFixed.cx, pt.x);
      sizeFixed.cy = std::max(sizeFixed.cy, pt.y);
      if (horz) {
        pt.x = -s.overlapX;
        SetSplitterLength(s.firstSplitterOfRow, TKSPLIT_VERT, pt.y);
      } else {
        pt.y = -1 - s.overlapY;
        SetSplitterLength(s.firstSplitterOfRow, TKSPLIT_HORZ, pt.x);
      }
      s.rowSeen = TRUE;
      s.lastRowHeldDocks = s.docksInRow > 0;
      s.prevRowStart = s.rowStart;
      s.thickness = 0;
      s.firstRow = FALSE;
      s.rowBorderMask = CBRS_BORDER_ANY;
      s.atRowStart = TRUE;
      s.prevBar = nullptr;
      s.prevPos = -1;
      s.prevWasDock = FALSE;
      s.rowSplitterDue = s.docksInRow > 0;
      s.firstSplitterOfRow = GetSplitterCount();
      continue;
    }
    CControlBar* bar = GetDockedControlBar(nPos);
    if (!bar || !bar->m_hWnd) continue;  // a placeholder of a bar floating elsewhere
    BOOL placed = TRUE;
    DWORD style = bar->GetBarStyle() & ~CBRS_BORDER_ANY;
    if (bar->IsVisible()) {
      CTkDockSizing* sizing = TkDockSizingOf(bar);
      // Step: borders and splitters.
      if (!s.atRowStart) {
        if (IsMenuBar(bar)) {
          // The menu bar keeps a row of its own: it goes before this row, and the next pass
          // lays the rows out again.
          m_arrBars.InsertAt(s.rowStart, bar);
          m_arrBars.InsertAt(s.rowStart + 1, nullptr);
          m_arrBars.RemoveAt(nPos + 2);
          if (site) site->DelayRecalcLayout(TRUE);
          break;
        }
        style |= s.rowBorderMask;
        if ((s.prevWasDock && s.docksLeft > 0) || (sizing && s.docksLeft < s.docksInRow)) {
          if (horz) {
            AddSplitter(CRect(pt.x, pt.y, pt.x + kGap, pt.y), TKSPLIT_VERT, FALSE, s.prevPos);
            pt.x += kGap;
          } else {
            AddSplitter(CRect(pt.x, pt.y, pt.x, pt.y + kGap), TKSPLIT_HORZ, FALSE, s.prevPos);
            pt.y += kGap;
          }
          style &= ~borderBefore;
          s.prevStyle &= ~borderAfter;
        }
      } else {
        s.docksInRow = s.docksLeft = GetDockWindowCount(nPos);
        if (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) s.rowSplitterDue = s.docksInRow > 0;
        if (s.rowSplitterDue) {
          addRowSplitter(IsOuterFirst() ? s.prevRowStart : nPos);
          // A column needs one pixel more than a row: its splitter's shadow edge is drawn
          // inside it.
          across(pt) += horz ? kGap : kGap + 1;
          if (s.prevRowStart >= 0) RemoveRowBorders(s.prevRowStart, borderRowEnd, FALSE);
          s.rowBorderMask &= ~borderRowStart;
        }
        if (avail != GetFixedLength(nPos) + GetDockWindowsLength(nPos) || GetNewDockWindow(nPos))
          DistributeRow(nPos);
        style |= s.rowBorderMask;
        if (horz && sizing) style &= ~CBRS_BORDER_LEFT;
        s.rowStart = nPos;
        s.atRowStart = FALSE;
      }
      // Step: the previous bar's borders are settled now.
      applyPrevStyle();
      s.prevBar = bar;
      s.prevPos = nPos;
      s.prevWasDock = sizing != nullptr;
      if (sizing) {
        --s.docksLeft;
        sizing->SetAlone(s.docksInRow == 1);
      }
      if (IsToolkitBar(bar)) {
        s.overlapX = s.overlapY = 0;
      } else {
        s.overlapX = border2;
        s.overlapY = 2;
      }
      // Step: size.
      CSize size;
      if (sizing) {
        size = sizing->GetCurrentSize();
      } else {
        DWORD mode = LM_VERTDOCK;
        if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
          mode = LM_HORZ | LM_MRUWIDTH;
        else if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
          mode = LM_HORZ | LM_HORZDOCK;
        size = bar->CalcDynamicLayout(-1, mode);
      }
      CRect rect(pt, size);
      CRect rectBar;
      bar->GetWindowRect(&rectBar);
      ScreenToClient(&rectBar);
      // Step: placement along the row (written for the horizontal axes through the helpers).
      const int overlapAlong = horz ? s.overlapX : s.overlapY;
      auto rectAlong = [horz](const CRect& r) { return horz ? r.left : r.top; };
      auto rectEnd = [horz](const CRect& r) { return horz ? r.right : r.bottom; };
      auto rectLen = [horz](const CRect& r) { return horz ? r.Width() : r.Height(); };
      auto moveAlong = [horz](CRect& r, int to) {
        if (horz)
          r.OffsetRect(to - r.left, 0);
        else
          r.OffsetRect(0, to - r.top);
      };
      if (rectAlong(rect) < rectAlong(rectBar) && !m_bFloating && s.docksInRow == 0) {
        // A fixed bar the user left further along keeps its place.
        moveAlong(rect, rectAlong(rectBar));
        style |= borderBefore;
      }
      if (rectEnd(rect) > avail && !m_bFloating)
        moveAlong(rect, std::max<int>(avail - (rectLen(rect) - overlapAlong), along(pt)));
      if (s.wrapped) {
        s.wrapped = FALSE;
        moveAlong(rect, -overlapAlong);
      } else if (rectAlong(rect) >= avail - overlapAlong && nPos > 0 &&
                 m_arrBars[nPos - 1] != nullptr) {
        // No room left in this row: the bar starts the next one.
        m_arrBars.InsertAt(nPos, nullptr);
        s.wrapped = TRUE;
        placed = FALSE;
        if (site) site->DelayRecalcLayout(TRUE);
      }
      if (placed) {
        if (horz && CanHideButtons(bar)) {
          auto* toolBar = static_cast<CTkToolBar*>(bar);
          if (!IsLastInRow(nPos)) {
            toolBar->ShowHiddenButtons();
          } else if (rect.right > avail) {
            toolBar->HideButtonsToFit(avail - rect.left);
          } else if (rect.right < avail) {
            toolBar->ShowButtonsThatFit(avail - rect.left);
          }
          // The bar's own measure, now without the buttons behind its chevron.
          size.cx = toolBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK).cx;
          rect.right = rect.left + size.cx;
        }
        if (rect != rectBar) {
          if (!m_bLayoutQuery && !bar->IsFloating() && bar->m_pDockContext)
            bar->m_pDockContext->m_rectMRUDockPos = rect;
          if (layout.hDWP) AfxRepositionWindow(&layout, bar->m_hWnd, &rect);
        }
        along(pt) = rectAlong(rect) + (horz ? size.cx : size.cy) - overlapAlong;
        s.thickness = std::max<int>(s.thickness, horz ? size.cy : size.cx);
      }
    }
    if (placed) bar->RecalcDelayShow(&layout);
    s.prevStyle = style;
  }

  // After the last row.
  if (s.rowSeen && s.lastRowHeldDocks) {
    if (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) {
      RemoveRowBorders(s.prevRowStart, borderRowEnd, TRUE);
    } else {
      addRowSplitter(s.prevRowStart);
      // The dock bar takes in the whole strip, its shadow and outer line too: the columns of
      // the left edge start at 0, not at -1 as the rows of the top edge do, so the strip needs
      // a pixel more here to show as it does on the other edges.
      if (horz)
        sizeFixed.cy += kGap - 1;
      else
        sizeFixed.cx += kGap + 1;
      RemoveRowBorders(s.prevRowStart, borderRowEnd, FALSE);
    }
  }
  if (s.rowSeen) {
    if (m_dwStyle & CBRS_ALIGN_LEFT) sizeFixed.cx -= 1;
    if (horz) sizeFixed.cy += 1;
  }
  if (layout.hDWP) ::EndDeferWindowPos(layout.hDWP);
  if (horz)
    SetSplitterLength(0, TKSPLIT_HORZ, sizeMax.cx);
  else
    SetSplitterLength(0, TKSPLIT_VERT, sizeMax.cy);
  return sizeFixed;
}
