// The docking window's look: borders, gripper or caption bar, title, and its two caption
// buttons with their glyphs, states and tips.
#include "framework/frame/FrameWnd.h"
#include "framework/gdi/Dc.h"
#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitDockWndIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/docking/window/TkBarButton.h"
#include "toolkit/docking/window/TkDockWindow.h"

namespace {

constexpr DWORD kCaptionButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | BS_CENTER |
                                      BS_ICON | BS_OWNERDRAW;
const CSize kGlyph(10, 10);

// The caption font of docking windows: the bar font, lying or turned to read upwards, small
// enough for the caption band (the bar's own 8-point font is taller than the band).
HFONT CaptionFont(bool vertical) {
  static HFONT fonts[2] = {};
  HFONT& font = fonts[vertical ? 1 : 0];
  if (!font) {
    LOGFONTA lf = {};
    if (!::GetObjectA(ToolkitData().GetBarFont(), sizeof lf, &lf))
      ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfHeight = -9;
    lf.lfWidth = 0;
    lf.lfEscapement = lf.lfOrientation = vertical ? 900 : 0;
    font = ::CreateFontIndirectA(&lf);
  }
  return font;
}

// The height of a font's cell.
int CellHeight(HDC dc, HFONT font) {
  HGDIOBJ old = ::SelectObject(dc, font);
  TEXTMETRICA tm = {};
  ::GetTextMetricsA(dc, &tm);
  ::SelectObject(dc, old);
  return tm.tmHeight;
}

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
}

void Frame3d(HDC dc, const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
  CDC::FromHandle(dc)->Draw3dRect(&r, topLeft, bottomRight);
}

}  // namespace

void CTkDockWindow::UpdateButtonLook() {
  if (!HasButtons() || !m_pHideButton || !m_pExpandButton) return;
  BOOL flat = ToolkitData().m_bFlatLook;
  DWORD look = 0;
  if ((m_dwTkStyle & TKDW_THIN_BUTTONS) && !flat) look |= TKBB_THIN3D;
  if ((m_dwTkStyle & TKDW_FLAT_BUTTONS) || flat) look |= TKBB_FLAT;
  m_pHideButton->SetXButtonStyle(look, TRUE);
  m_pExpandButton->SetXButtonStyle(look, TRUE);
}

void CTkDockWindow::GetButtonRect(CRect& rect) const {
  CRect client(0, 0, 0, 0);
  if (m_hWnd) GetClientRect(&client);
  rect = tkdock::ExpandButtonRect(client.Width(), client.Height(), GetSide(),
                                  ToolkitData().m_bFlatLook != FALSE);
}

void CTkDockWindow::GetGripperRect(CRect& rect) const {
  CRect client(0, 0, 0, 0);
  if (m_hWnd) GetClientRect(&client);
  rect = tkdock::GripperRect(client.Width(), client.Height(), GetSide(), m_dwTkStyle);
}

void CTkDockWindow::DoPaint(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  DrawBorders(pDC, client);
  DrawGripper(pDC, client);
  CRect inside;
  GetInsideRect(inside);
  if (m_dwTkStyle & TKDW_EDGE_ETCHED)
    pDC->DrawEdge(&inside, EDGE_ETCHED, BF_RECT);
  else if (m_dwTkStyle & TKDW_EDGE_SUNKEN)
    pDC->DrawEdge(&inside, BDR_SUNKENOUTER, BF_RECT);
  else if (m_dwTkStyle & TKDW_EDGE_RAISED)
    pDC->DrawEdge(&inside, EDGE_RAISED, BF_RECT);
}

void CTkDockWindow::DrawBorders(CDC* pDC, CRect& rect) {
  HDC dc = pDC->GetSafeHdc();
  const CTkToolkitData& data = ToolkitData();
  if (m_dwStyle & CBRS_BORDER_RIGHT)
    FillSolid(dc, CRect(rect.right - 1, rect.top, rect.right, rect.bottom), data.m_clrShadow);
  if (m_dwStyle & CBRS_BORDER_BOTTOM)
    FillSolid(dc, CRect(rect.left, rect.bottom - 1, rect.right, rect.bottom), data.m_clrShadow);
  if (m_dwStyle & CBRS_BORDER_TOP)
    FillSolid(dc, CRect(rect.left, rect.top, rect.right, rect.top + 1), data.m_clrHighlight);
  if (m_dwStyle & CBRS_BORDER_LEFT)
    FillSolid(dc, CRect(rect.left, rect.top, rect.left + 1, rect.bottom), data.m_clrHighlight);
}

void CTkDockWindow::DrawGripper(CDC* pDC, const CRect&) {
  if (IsSideFloating() || !(m_dwTkStyle & TKDW_GRIPPER)) return;
  tkdock::Side side = GetSide();
  bool standing = side == tkdock::Side::Standing;
  CRect client;
  GetClientRect(&client);
  CRect r = tkdock::GripperRect(client.Width(), client.Height(), side, m_dwTkStyle);
  CRect r2 = r;
  r2.OffsetRect(standing ? 0 : 4, standing ? 4 : 0);
  DrawCaption(pDC, tkdock::CaptionRect(client.Width(), client.Height(), side, m_dwTkStyle));
  if (tkdock::HasCaptionBar(m_dwTkStyle, ToolkitData().m_bFlatLook)) return;

  HDC dc = pDC->GetSafeHdc();
  CString title;
  GetWindowText(title);
  if ((m_dwTkStyle & TKDW_TITLE) && !title.IsEmpty()) {
    HGDIOBJ old = ::SelectObject(dc, CaptionFont(!standing));
    SIZE extent = {};
    ::GetTextExtentPoint32A(dc, title, title.GetLength(), &extent);
    ::SelectObject(dc, old);
    // The grip lines start after the title.
    int room = extent.cx + 5;
    if (standing) {
      r.left += room;
      r2.left += room;
    } else {
      r.bottom -= room;
      r2.bottom -= room;
    }
  }
  // The title may have left no room for grip lines.
  if (standing ? r.right <= r.left : r.bottom <= r.top) return;
  const CTkToolkitData& data = ToolkitData();
  if (m_dwTkStyle & TKDW_TWO_LINES) {
    Frame3d(dc, r, data.m_clrHighlight, data.m_clrShadow);
    Frame3d(dc, r2, data.m_clrHighlight, data.m_clrShadow);
  } else {
    CRect one = r;
    one.OffsetRect(standing ? 0 : 2, standing ? 2 : 0);
    Frame3d(dc, one, data.m_clrHighlight, data.m_clrShadow);
  }
}

void CTkDockWindow::FillCaption(CDC* pDC, CRect rect, COLORREF start, COLORREF end,
                                BOOL gradient) {
  HDC dc = pDC->GetSafeHdc();
  BOOL systemGradient = FALSE;
  ::SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &systemGradient, 0);
  if (!gradient || !systemGradient) {
    FillSolid(dc, rect, start);
    return;
  }
  bool standing = GetSide() == tkdock::Side::Standing;
  int length = standing ? rect.Width() : rect.Height();
  for (int i = 0; i < 64; ++i) {
    int from = (i * length) >> 6, to = ((i + 1) * length) >> 6;
    if (to - from <= 0) continue;
    CRect band = standing ? CRect(rect.left + from, rect.top, rect.left + to, rect.bottom)
                          // Lying, the shade runs from the bottom up.
                          : CRect(rect.left, rect.bottom - to, rect.right, rect.bottom - from);
    FillSolid(dc, band, tkdock::GradientBand(start, end, i));
  }
}

void CTkDockWindow::DrawCaption(CDC* pDC, const CRect& rectIn) {
  HDC dc = pDC->GetSafeHdc();
  const CTkToolkitData& data = ToolkitData();
  CRect rect = rectIn;
  bool standing = GetSide() == tkdock::Side::Standing;
  bool captionBar = tkdock::HasCaptionBar(m_dwTkStyle, data.m_bFlatLook);
  if (!data.m_bFlatLook) {
    if (!captionBar) {
      ::SetTextColor(dc, data.m_clrShadow);
    } else {
      COLORREF start = m_bActive ? data.m_clrActiveCaption : data.m_clrInactiveCaption;
      COLORREF end =
          m_bActive ? data.m_clrActiveCaptionGradient : data.m_clrInactiveCaptionGradient;
      FillCaption(pDC, rect, start, end, (m_dwTkStyle & TKDW_GRADIENT) != 0);
      ::SetTextColor(dc, m_bActive ? data.m_clrCaptionText : data.m_clrInactiveCaptionText);
    }
  } else {
    int buttonsEnd = HasButtons() ? 30 : 1;
    if (standing) {
      rect.InflateRect(3, 0);
      rect.InflateRect(0, 2);
      rect.right += buttonsEnd;
    } else {
      rect.InflateRect(2, 0);
      rect.top -= buttonsEnd;
    }
    FillSolid(dc, rect, data.m_clrFace);
    if (!m_bActive) {
      ::SetTextColor(dc, data.m_clrMenuText);
      Frame3d(dc, rect, data.m_clrShadow, data.m_clrShadow);
      for (POINT corner : {POINT{rect.left, rect.top}, POINT{rect.right - 1, rect.top},
                           POINT{rect.left, rect.bottom - 1}, POINT{rect.right - 1, rect.bottom - 1}})
        ::SetPixel(dc, corner.x, corner.y, data.m_clrFace);
    } else {
      FillSolid(dc, rect, data.m_clrActiveCaption);
      ::SetTextColor(dc, data.m_clrCaptionText);
    }
  }
  CString title;
  GetWindowText(title);
  if (!(m_dwTkStyle & TKDW_TITLE) || title.IsEmpty()) return;
  ::SetBkMode(dc, TRANSPARENT);
  int flatShift = data.m_bFlatLook ? 2 : 0;
  // The title sits in the middle of the band across it, whatever the font's height.
  HFONT font = CaptionFont(!standing);
  int across = (standing ? rect.Height() : rect.Width()) - CellHeight(dc, font);
  HGDIOBJ old = ::SelectObject(dc, font);
  if (standing)
    ::ExtTextOutA(dc, rect.left + 2 + flatShift, rect.top + across / 2, ETO_CLIPPED, &rect, title,
                  static_cast<UINT>(title.GetLength()), nullptr);
  else
    ::ExtTextOutA(dc, rect.left + across / 2, rect.bottom - 2 - flatShift, ETO_CLIPPED, &rect,
                  title, static_cast<UINT>(title.GetLength()), nullptr);
  ::SelectObject(dc, old);
}

int CTkDockWindow::OnCreate(LPCREATESTRUCT lpcs) {
  if (CTkControlBar::OnCreate(lpcs) == -1) return -1;
  if (!HasButtons()) return 0;
  CRect empty(0, 0, 0, 0);
  m_pHideButton = new CTkBarButton(this);
  if (!m_pHideButton->Create("", kCaptionButtonStyle, empty, this, ID_TK_DOCKWND_HIDE)) return -1;
  m_pExpandButton = new CTkBarButton(this);
  if (!m_pExpandButton->Create("", kCaptionButtonStyle, empty, this, ID_TK_DOCKWND_EXPAND))
    return -1;
  UpdateButtonLook();
  m_pHideButton->SetIcon(kGlyph, m_hGlyphs[0]);
  if (m_wndToolTip.Create(this)) {
    m_wndToolTip.Activate(TRUE);
    m_wndToolTip.AddTool(m_pHideButton, TkLoadString(ID_TK_DOCKWND_HIDE));
    m_wndToolTip.AddTool(m_pExpandButton, TkLoadString(ID_TK_DOCKWND_EXPAND));
  }
  return 0;
}

void CTkDockWindow::OnUpdateCmdUI(CFrameWnd*, BOOL) {
  HWND focus = ::GetFocus();
  BOOL active = focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
  bool floating = IsSideFloating();
  if (active != m_bActive) {
    m_bActive = active;
    if (tkdock::HasCaptionBar(m_dwTkStyle, ToolkitData().m_bFlatLook) && !floating) {
      CRect client;
      GetClientRect(&client);
      CRect caption = tkdock::CaptionRect(client.Width(), client.Height(), GetSide(), m_dwTkStyle);
      caption.InflateRect(4, 4);
      if (GetSide() == tkdock::Side::Standing)
        caption.right = client.right;
      else
        caption.top = 0;
      InvalidateRect(&caption, FALSE);
    }
    for (CTkBarButton* button : {m_pHideButton, m_pExpandButton})
      if (button && button->m_hWnd) button->Invalidate(FALSE);
  }
  if (!m_pHideButton || !m_pExpandButton || !m_pHideButton->m_hWnd || !m_pExpandButton->m_hWnd)
    return;
  if (!HasButtons()) return;
  if (!floating) {
    bool shown = false;
    for (CTkBarButton* button : {m_pHideButton, m_pExpandButton})
      if (!button->IsWindowVisible()) {
        button->ShowWindow(SW_SHOWNA);
        shown = true;
      }
    if (shown) SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                                                      SWP_NOACTIVATE | SWP_FRAMECHANGED);
    tkdock::ExpandLook look = tkdock::ExpandButtonLook(GetSide(), IsAlone() != FALSE,
                                                       IsExpanded() != FALSE);
    if (look.state != m_nExpandState) {
      m_nExpandState = look.state;
      m_pExpandButton->SetIcon(kGlyph, m_hGlyphs[look.state], nullptr, TRUE);
      m_pExpandButton->EnableWindow(look.enabled);
      if (m_wndToolTip.m_hWnd)
        m_wndToolTip.UpdateTipText(
            TkLoadString(look.contract ? IDS_TK_DOCKWND_CONTRACT : ID_TK_DOCKWND_EXPAND),
            m_pExpandButton);
    }
    return;
  }
  bool wasShown = false;
  for (CTkBarButton* button : {m_pHideButton, m_pExpandButton})
    if (button->IsWindowVisible()) {
      button->ShowWindow(SW_HIDE);
      wasShown = true;
    }
  if (m_pChild && wasShown) Invalidate();
}

void CTkDockWindow::OnHide() {
  CFrameWnd* frame = GetDockingFrame();
  if (frame) frame->ShowControlBar(this, FALSE, FALSE);
}

void CTkDockWindow::OnExpand() {
  bool docked = !IsSideFloating();
  if (!IsExpanded()) {
    if (docked) ExpandInRow();
    m_dwSpare2 = TRUE;
  } else {
    if (docked) RestoreInRow();
    m_dwSpare2 = FALSE;
  }
}

BOOL CTkDockWindow::PreTranslateMessage(MSG* pMsg) {
  if (HasButtons() && m_wndToolTip.m_hWnd) m_wndToolTip.RelayEvent(pMsg);
  return CTkControlBar::PreTranslateMessage(pMsg);
}
