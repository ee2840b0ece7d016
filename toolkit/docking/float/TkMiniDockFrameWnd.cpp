#include "toolkit/docking/float/TkMiniDockFrameWnd.h"

#include <algorithm>

#include "framework/docking/DockContext.h"
#include "framework/gdi/Dc.h"
#include "framework/wnd/MessageMap.h"
#include "framework/wnd/WindowDc.h"
#include "resources/ids/ToolkitDockWndIds.h"
#include "resources/ids/ToolkitFrameIds.h"
#include "toolkit/bars/TkExpMenuWnd.h"
#include "toolkit/bars/TkToolBar.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/docking/window/TkDockWindow.h"
#include "toolkit/gdi/TkMemDC.h"

IMPLEMENT_DYNCREATE(CTkMiniDockFrameWnd, CMiniDockFrameWnd)

namespace {

[[maybe_unused]] const UINT g_barContextMenu = ::RegisterWindowMessageA("TkBarContextMenu");
[[maybe_unused]] const UINT g_trayIconNotify = ::RegisterWindowMessageA("TkTrayIconNotify");

constexpr DWORD kFourThickFrame = 0x0200;  // a mini frame's thick sizing border
constexpr int kGlyphClose = 2, kGlyphExpand = 3;

// The caption metrics of a floating frame: its buttons and the caption's height.
CSize CaptionButtonSize() {
  return CSize(::GetSystemMetrics(SM_CXSMSIZE), ::GetSystemMetrics(SM_CYSMSIZE));
}
int FloatCaptionHeight() { return ::GetSystemMetrics(SM_CYSMCAPTION); }
CSize EdgeSize() { return CSize(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE)); }

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
}

COLORREF GradientBand(COLORREF a, COLORREF b, int i) {
  auto mix = [i](int x, int y) { return (x * (64 - i) + y * i) >> 6; };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
             mix(GetBValue(a), GetBValue(b)));
}

}  // namespace

CRect TkCaptionButtonRect(const CRect& window, int nKind, bool flatLook, CSize edge, CSize button,
                          bool* pClipped) {
  CRect r;
  if (nKind == CTkCaptionButton::kClose)
    r.right = window.right - edge.cx;
  else
    r.right = window.right - (edge.cx + button.cx) + (flatLook ? 0 : 2);
  r.top = window.top + edge.cy;
  r.bottom = r.top + button.cy - 1;
  r.left = r.right - button.cx;
  if (!flatLook) r.DeflateRect(2, 2);
  if (pClipped) *pClipped = r.left < window.left + 2 * edge.cx;
  return r;
}

CRect CTkCaptionButton::GetRect(const CRect* pWindowRect) {
  CRect window;
  if (pWindowRect)
    window = *pWindowRect;
  else
    m_pFrame->GetWindowRect(&window);
  bool clipped = false;
  CRect r = TkCaptionButtonRect(window, m_nKind, CTkMiniDockFrameWnd::GetCaptionLook() == 1,
                                EdgeSize(), CaptionButtonSize(), &clipped);
  m_bClipped = clipped;
  return r;
}

BEGIN_MESSAGE_MAP(CTkMiniDockFrameWnd, CMiniDockFrameWnd)
  ON_WM_NCLBUTTONDOWN()
  ON_WM_NCLBUTTONDBLCLK()
  ON_WM_NCLBUTTONUP()
  ON_WM_NCMOUSEMOVE()
  ON_WM_NCPAINT()
  ON_WM_NCACTIVATE()
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
  ON_COMMAND(ID_TK_FLOAT_CUSTOMIZE, OnCustomize)
  ON_MESSAGE(WM_TK_SETUP_CAPTION, OnSetupCaption)
  ON_MESSAGE(WM_TK_POPUP_CLOSED, OnPopupClosed)
END_MESSAGE_MAP()

CTkMiniDockFrameWnd::CTkMiniDockFrameWnd() {
  m_hGlyphs = ::ImageList_LoadImageA(TkResourceModule(), MAKEINTRESOURCEA(IDB_TK_FLOAT_GLYPHS), 10,
                                     1, RGB(255, 0, 255), IMAGE_BITMAP, LR_CREATEDIBSECTION);
}

CTkMiniDockFrameWnd::~CTkMiniDockFrameWnd() {
  CTkExpMenuWnd::Close(m_hWndExpandPopup);
  DeleteButtons();
  if (m_hGlyphs) ::ImageList_Destroy(m_hGlyphs);
}

void CTkMiniDockFrameWnd::DeleteButtons() {
  for (POSITION pos = m_buttons.GetHeadPosition(); pos;)
    delete static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos));
  m_buttons.RemoveAll();
  m_pPressed = nullptr;
}

int CTkMiniDockFrameWnd::GetCaptionLook() { return ToolkitData().m_bFlatLook ? 1 : 2; }

BOOL CTkMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle) {
  if (!CMiniDockFrameWnd::Create(pParent, dwBarStyle)) return FALSE;
  PostMessage(WM_TK_SETUP_CAPTION);
  m_wndToolTip.Create(this);
  return TRUE;
}

BOOL CTkMiniDockFrameWnd::IsToolBar(CControlBar* pBar) const {
  return m_hWnd && pBar && pBar->IsKindOf(RUNTIME_CLASS(CTkToolBar));
}

BOOL CTkMiniDockFrameWnd::IsMenuBar(CControlBar* pBar) const {
  // Known by name: the menu bar is the toolkit's only bar of that class.
  const CRuntimeClass* menuBar = CRuntimeClass::FromName("CTkMenuBar");
  return m_hWnd && pBar && menuBar && pBar->IsKindOf(menuBar);
}

BOOL CTkMiniDockFrameWnd::IsDockWindow(CControlBar* pBar) const {
  return m_hWnd && pBar && pBar->IsKindOf(RUNTIME_CLASS(CTkDockWindow));
}

CControlBar* CTkMiniDockFrameWnd::GetFirstBar() {
  if (!m_hWnd) return nullptr;
  for (INT_PTR i = 1; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
    CControlBar* bar = m_wndDockBar.GetDockedControlBar(static_cast<int>(i));
    if (bar) return bar;
  }
  return nullptr;
}

CDockContext* CTkMiniDockFrameWnd::GetDockContext(CControlBar* pBar) {
  if (!m_hWnd || !pBar) return nullptr;
  return pBar->m_pDockContext;
}

CTkCaptionButton* CTkMiniDockFrameWnd::FindButton(int nKind) {
  for (POSITION pos = m_buttons.GetHeadPosition(); pos;) {
    auto* button = static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos));
    if (button->m_nKind == nKind) return button;
  }
  return nullptr;
}

// A floating toolbar shows all its buttons; the popup then offers its customising.
BOOL CTkMiniDockFrameWnd::OffersExpandPopup(CControlBar* pBar) {
  auto* toolBar = dynamic_cast<CTkToolBar*>(pBar);
  return toolBar && toolBar->AllowsCustomize();
}

// The hidden-buttons popup below the expand button; it tells this frame when it closes.
HWND CTkMiniDockFrameWnd::CreateExpandPopup(const CRect& rcAnchor, CControlBar* pBar) {
  auto* toolBar = dynamic_cast<CTkToolBar*>(pBar);
  if (!toolBar) return nullptr;
  return CTkExpMenuWnd::Open(this, WM_TK_POPUP_CLOSED, rcAnchor, toolBar);
}

void CTkMiniDockFrameWnd::RepaintCaption() { SendMessage(WM_NCPAINT, 1); }

LRESULT CTkMiniDockFrameWnd::OnSetupCaption(WPARAM, LPARAM) {
  CControlBar* bar = GetFirstBar();
  if (IsDockWindow(bar)) {
    ModifyStyle(kFourThickFrame, 0);
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()), TRUE);
  } else if (IsMenuBar(bar) || IsToolBar(bar)) {
    if (IsToolBar(bar)) {
      DeleteButtons();
      auto add = [this, bar](int kind) {
        auto* button = new CTkCaptionButton;
        button->m_nKind = kind;
        button->m_pFrame = this;
        button->m_pBar = bar;
        m_buttons.AddTail(button);
      };
      add(CTkCaptionButton::kClose);
      if (OffersExpandPopup(bar)) add(CTkCaptionButton::kExpand);
    }
    // The close button takes the system menu's place.
    ModifyStyle(WS_SYSMENU, 0);
  }
  m_nLook = GetCaptionLook();
  if (IsWindowVisible()) {
    Invalidate(TRUE);
    SetWindowPos(nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  }
  return 0;
}

void CTkMiniDockFrameWnd::OnNcPaint() {
  CControlBar* bar = GetFirstBar();
  if (!IsToolBar(bar) && !IsMenuBar(bar)) {
    Default();
    return;
  }
  CWindowDC dc(this);
  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  ClientToScreen(&client);
  client.OffsetRect(-window.left, -window.top);
  window.OffsetRect(-window.left, -window.top);
  ::ExcludeClipRect(dc.GetSafeHdc(), client.left, client.top, client.right, client.bottom);
  const CTkToolkitData& data = ToolkitData();
  bool flat = GetCaptionLook() == 1;
  CTkMemDC mem(&dc, window, flat ? data.m_clrFaceTint : ::GetSysColor(COLOR_BTNFACE));
  CDC* pDC = mem.IsValid() ? static_cast<CDC*>(&mem) : &dc;
  HDC hdc = pDC->GetSafeHdc();
  CSize edge = EdgeSize();
  CString title;
  GetWindowText(title);
  if (title.IsEmpty()) title = TkLoadString(IDS_TK_TOOLBAR_TITLE);

  CRect band;
  if (!flat) {
    CRect r = window;
    ::DrawEdge(hdc, &r, EDGE_RAISED, BF_RECT);
    r.DeflateRect(edge.cy + 1, edge.cy + 1);
    band = CRect(r.left, r.top, r.right, r.top + FloatCaptionHeight() - (edge.cy + 1));
    BOOL gradient = FALSE;
    ::SystemParametersInfoA(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0);
    if (gradient) {
      COLORREF a = ::GetSysColor(COLOR_ACTIVECAPTION);
      COLORREF b = ::GetSysColor(COLOR_GRADIENTACTIVECAPTION);
      int width = band.Width();
      for (int i = 0; i < 64; ++i) {
        int from = band.left + ((i * width) >> 6), to = band.left + (((i + 1) * width) >> 6);
        if (to <= from) continue;
        FillSolid(hdc, CRect(from, band.top, to, band.bottom), GradientBand(a, b, i));
      }
    } else {
      FillSolid(hdc, band, ::GetSysColor(COLOR_ACTIVECAPTION));
    }
  } else {
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    CRect r = window;
    for (int i = 0; i < 2; ++i) {
      pDC->Draw3dRect(&r, shadow, shadow);
      r.DeflateRect(1, 1);
    }
    for (POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.top}, POINT{r.left, r.bottom - 1},
                    POINT{r.right - 1, r.bottom - 1}})
      ::SetPixel(hdc, p.x, p.y, shadow);
    r.DeflateRect(edge.cy - 1, edge.cy - 1);
    band = CRect(r.left, r.top, r.right, r.top + FloatCaptionHeight() - 2 + edge.cy);
    FillSolid(hdc, band, shadow);
  }

  CRect text = band;
  text.left += edge.cx;
  if (IsToolBar(bar)) {
    for (POSITION pos = m_buttons.GetHeadPosition(); pos;) {
      auto* button = static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos));
      button->GetRect(&window);
      if (!button->m_bClipped) text.right -= CaptionButtonSize().cx + edge.cx;
    }
  }
  HGDIOBJ oldFont = ::SelectObject(hdc, data.GetBarFont());
  ::SetTextColor(hdc, ::GetSysColor(COLOR_CAPTIONTEXT));
  ::SetBkMode(hdc, TRANSPARENT);
  if (text.Width() >= CaptionButtonSize().cx)
    ::DrawTextA(hdc, title, title.GetLength(), &text,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  ::SelectObject(hdc, oldFont);
  if (IsToolBar(bar)) {
    for (POSITION pos = m_buttons.GetHeadPosition(); pos;)
      DrawCaptionButton(pDC, &window, static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos)));
  }
}

void CTkMiniDockFrameWnd::DrawCaptionButton(CDC* pDC, const CRect* pWindowRect,
                                            CTkCaptionButton* pButton) {
  CRect rect = pButton->GetRect(pWindowRect);
  if (pButton->m_bClipped) return;
  HDC hdc = pDC->GetSafeHdc();
  int saved = ::SaveDC(hdc);
  const CTkToolkitData& data = ToolkitData();
  bool flat = GetCaptionLook() == 1;
  bool popupOpen = pButton->m_nKind == CTkCaptionButton::kExpand && m_hWndExpandPopup;
  COLORREF face = ::GetSysColor(flat ? COLOR_BTNSHADOW : COLOR_BTNFACE);
  COLORREF glyph = ::GetSysColor(flat ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
  pButton->m_bHighlighted = 0;
  if (flat) {
    if (popupOpen) {
      face = data.m_clrFaceTint;
      glyph = ::GetSysColor(COLOR_MENUTEXT);
    } else if (pButton->m_bHot) {
      face = pButton->m_bPressed ? data.m_clrSelectionHalf : data.m_clrSelectionLight;
      glyph = pButton->m_bPressed ? data.m_clrSelectionHalfText : data.m_clrBtnText;
    }
    FillSolid(hdc, rect, face);
    if (pButton->m_bHot || popupOpen) {
      COLORREF border = popupOpen ? data.m_clrShadowTint : ::GetSysColor(COLOR_HIGHLIGHT);
      pDC->Draw3dRect(&rect, border, border);
      pButton->m_bHighlighted = 1;
    }
  } else {
    FillSolid(hdc, rect, face);
    COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME), btnFace = ::GetSysColor(COLOR_BTNFACE);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    CRect outer = rect;
    outer.InflateRect(1, 1);
    if (pButton->m_bPressed || popupOpen) {
      pDC->Draw3dRect(&outer, frame, btnFace);
      pDC->Draw3dRect(&rect, shadow, light);
      pButton->m_bHighlighted = 1;
    } else {
      pDC->Draw3dRect(&outer, btnFace, frame);
      pDC->Draw3dRect(&rect, light, shadow);
    }
  }
  if (m_hGlyphs) {
    int dx = rect.Width() < 11 ? 0 : (rect.Width() - 10) / 2;
    int dy = rect.Height() < 11 ? 0 : (rect.Height() - 10) / 2;
    HICON icon = ::ImageList_GetIcon(
        m_hGlyphs, pButton->m_nKind == CTkCaptionButton::kClose ? kGlyphClose : kGlyphExpand,
        ILD_NORMAL);
    HBRUSH brush = ::CreateSolidBrush(glyph);
    ::DrawStateA(hdc, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, rect.left + dx,
                 rect.top + dy, 10, 10, DST_ICON | DSS_MONO);
    ::DeleteObject(brush);
    if (icon) ::DestroyIcon(icon);
  }
  ::RestoreDC(hdc, saved);
}

void CTkMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point) {
  CControlBar* bar = GetFirstBar();
  if (nHitTest == HTCAPTION) {
    m_pPressed = nullptr;
    bool changed = false;
    for (POSITION pos = m_buttons.GetHeadPosition(); pos;) {
      auto* button = static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos));
      if (!button->GetRect().PtInRect(point)) {
        if (!button->IsNormal()) {
          button->Reset();
          changed = true;
        }
      } else if (!button->m_bPressed || button->m_bHot) {
        button->m_bPressed = 1;
        m_pPressed = button;
        changed = true;
      }
      if (button->m_nKind == CTkCaptionButton::kExpand && button->IsNormal() &&
          CTkExpMenuWnd::FromOpenWindow(m_hWndExpandPopup))
        ::SendMessageA(m_hWndExpandPopup, WM_CLOSE, 0, 0);
    }
    if (changed) RepaintCaption();
    if (m_pPressed) return;
    CWnd* top = GetTopLevelParent();
    if (top && top->m_hWnd) ::SetActiveWindow(top->m_hWnd);
    if (!(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI)) {
      CDockContext* context = GetDockContext(bar);
      if (context) {
        context->StartDrag(point);
        if (bar && ::IsWindow(bar->m_hWnd)) bar->SetFocus();
      }
    }
    return;
  }
  if (nHitTest >= HTLEFT && nHitTest <= HTBOTTOMRIGHT) {
    CWnd* top = GetTopLevelParent();
    if (top && top->m_hWnd) ::SetActiveWindow(top->m_hWnd);
    CDockContext* context = GetDockContext(bar);
    if (IsDockWindow(bar) && context) {
      context->StartResize(static_cast<int>(nHitTest), point);
      return;
    }
  }
  CMiniDockFrameWnd::OnNcLButtonDown(nHitTest, point);
}

void CTkMiniDockFrameWnd::OnNcLButtonUp(UINT nHitTest, CPoint point) {
  CControlBar* bar = GetFirstBar();
  if (nHitTest == HTCAPTION && !(m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) && IsToolBar(bar)) {
    bool changed = false;
    for (POSITION pos = m_buttons.GetHeadPosition(); pos;) {
      auto* button = static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos));
      CRect rect = button->GetRect();
      if (!rect.PtInRect(point) || !button->m_bPressed || button->m_bClipped) continue;
      changed = true;
      if (button->m_nKind == CTkCaptionButton::kClose) {
        PostMessage(WM_CLOSE);
        button->Reset();
        m_pPressed = nullptr;
      } else if (!m_hWndExpandPopup) {
        CRect anchor = rect;
        if (GetCaptionLook() == 1) {
          anchor.left -= 2;
          anchor.right -= 3;
          anchor.bottom -= 1;
        }
        m_hWndExpandPopup = CreateExpandPopup(anchor, bar);
        button->m_bHot = 1;
        button->m_bPressed = 0;
      }
    }
    if (changed) RepaintCaption();
  }
  CMiniDockFrameWnd::OnNcLButtonUp(nHitTest, point);
}

void CTkMiniDockFrameWnd::OnNcMouseMove(UINT nHitTest, CPoint point) {
  if (!m_hWndExpandPopup) {
    bool down = ::GetKeyState(VK_LBUTTON) < 0;
    bool changed = false, over = false;
    for (POSITION pos = m_buttons.GetHeadPosition(); pos;) {
      auto* button = static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos));
      if (!button->GetRect().PtInRect(point)) {
        if (!button->IsNormal()) {
          button->Reset();
          changed = true;
        }
        continue;
      }
      over = true;
      if (down && button != m_pPressed && !button->IsNormal()) {
        button->Reset();
        changed = true;
      } else if (!down && button->m_bPressed) {
        button->m_bPressed = 0;
        changed = true;
      } else if (down && !button->m_bPressed) {
        button->m_bPressed = 1;
        changed = true;
      } else if (!button->m_bHot) {
        button->m_bHot = 1;
        changed = true;
        ShowButtonTip(point.x, point.y, button->m_nKind == CTkCaptionButton::kClose);
      }
    }
    if (changed) RepaintCaption();
    if (!over && m_wndToolTip.m_hWnd && m_wndToolTip.IsWindowVisible()) m_wndToolTip.Pop();
  }
  CMiniDockFrameWnd::OnNcMouseMove(nHitTest, point);
}

void CTkMiniDockFrameWnd::ShowButtonTip(int x, int y, BOOL bClose) {
  CControlBar* bar = GetFirstBar();
  if (!bar || !(bar->m_dwStyle & CBRS_TOOLTIPS) || !m_wndToolTip.m_hWnd) return;
  m_wndToolTip.Pop();
  if (m_wndToolTip.GetToolCount() > 0) {
    m_wndToolTip.DelTool(this);
    m_wndToolTip.Activate(FALSE);
  }
  m_wndToolTip.AddTool(this, TkLoadString(bClose ? IDS_TK_FLOAT_CLOSE : IDS_TK_FLOAT_EXPAND));
  m_wndToolTip.Activate(TRUE);
  MSG msg = {};
  msg.hwnd = m_hWnd;
  msg.message = WM_MOUSEMOVE;
  msg.lParam = MAKELPARAM(x, y);
  msg.pt = CPoint(x, y);
  m_wndToolTip.RelayEvent(&msg);
}

void CTkMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint) {
  if (nHitTest != HTCAPTION) return;
  CWnd* top = GetTopLevelParent();
  if (top && top->m_hWnd) ::SetActiveWindow(top->m_hWnd);
  if (m_wndDockBar.m_dwStyle & CBRS_FLOAT_MULTI) return;
  CDockContext* context = GetDockContext(GetFirstBar());
  if (context) context->ToggleDocking();
}

BOOL CTkMiniDockFrameWnd::OnNcActivate(BOOL bActive) {
  // The default drawing of the caption is kept off the screen; the caption is drawn right
  // after, in the active colours.
  DWORD style = GetStyle();
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style & ~WS_VISIBLE);
  DefWindowProc(WM_NCACTIVATE, bActive, 0);
  ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, style);
  m_bActive = bActive;
  SendMessage(WM_NCPAINT, 1);
  return TRUE;
}

LRESULT CTkMiniDockFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) {
  CMiniDockFrameWnd::OnIdleUpdateCmdUI(wParam, lParam);
  if (m_nLook && m_nLook != GetCaptionLook()) OnSetupCaption(0, 0);
  CPoint cursor;
  CRect window;
  GetWindowRect(&window);
  if (::GetCursorPos(&cursor) && !window.PtInRect(cursor) && !m_hWndExpandPopup) {
    bool changed = false;
    for (POSITION pos = m_buttons.GetHeadPosition(); pos;) {
      auto* button = static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos));
      if (button->m_bHighlighted || button->m_bHot) {
        button->Reset();
        changed = true;
      }
    }
    if (changed) RepaintCaption();
  }
  return 0;
}

LRESULT CTkMiniDockFrameWnd::OnPopupClosed(WPARAM, LPARAM) {
  bool changed = false;
  for (POSITION pos = m_buttons.GetHeadPosition(); pos;) {
    auto* button = static_cast<CTkCaptionButton*>(m_buttons.GetNext(pos));
    if (button->m_bHighlighted) {
      button->Reset();
      changed = true;
    }
  }
  // Posted once the popup and its window are gone; it has freed itself.
  m_hWndExpandPopup = nullptr;
  m_pPressed = nullptr;
  if (changed) RepaintCaption();
  return 0;
}

void CTkMiniDockFrameWnd::OnCustomize() {
  CTkCaptionButton* expand = FindButton(CTkCaptionButton::kExpand);
  if (expand) expand->Reset();
  CControlBar* bar = GetFirstBar();
  if (IsToolBar(bar)) bar->SendMessage(TB_CUSTOMIZE);
}
