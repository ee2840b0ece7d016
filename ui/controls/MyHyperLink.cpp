#include "ui/controls/MyHyperLink.h"

#include "foundation/os/UrlLink.h"
#include "framework/app/MessageBox.h"
#include "framework/gdi/GdiObject.h"
#include "framework/wnd/MessageMap.h"

const COLORREF CMyHyperLink::kLinkColour = RGB(0, 0, 255);
const COLORREF CMyHyperLink::kPressedColour = RGB(0, 128, 128);
const COLORREF CMyHyperLink::kVisitedColour = RGB(128, 0, 128);
const COLORREF CMyHyperLink::kHoverColourValue = RGB(255, 0, 0);

namespace {

const UINT_PTR kToolId = 1;

int LaunchWithShell(LPCSTR lpszURL, int nShowCmd) { return CUrlLink::Launch(lpszURL, nShowCmd); }

CMyHyperLink::OpenFunction g_open = LaunchWithShell;

}  // namespace

BEGIN_MESSAGE_MAP(CMyHyperLink, CStatic)
  ON_WM_CTLCOLOR_REFLECT()
  ON_WM_NCHITTEST()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_KEYDOWN()
  ON_WM_SETFOCUS()
  ON_WM_KILLFOCUS()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CMyHyperLink::CMyHyperLink() = default;

CMyHyperLink::~CMyHyperLink() {
  // The window goes first: it must not paint with the font after it is deleted.
  if (m_hWnd && !m_bTemporary) DestroyWindow();
  if (m_hLinkFont) ::DeleteObject(m_hLinkFont);
}

CMyHyperLink::OpenFunction CMyHyperLink::SetOpenFunction(OpenFunction function) {
  OpenFunction previous = g_open;
  g_open = function ? function : LaunchWithShell;
  return previous;
}

// ---- attachment and settings ----

void CMyHyperLink::PreSubclassWindow() {
  CString text;
  GetWindowText(text);
  if (m_strURL.IsEmpty()) m_strURL = text;
  if (text.IsEmpty()) SetWindowText(m_strURL);
  // Without SS_NOTIFY some systems never send the static its clicks.
  ModifyStyle(0, SS_NOTIFY);

  HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  if (!current || !BuildLinkFont(current)) m_dwOptions &= ~static_cast<DWORD>(kSizeToText);
  PositionWindow();

  // The system's own hand cursor: shared by every link and never destroyed, so one link going
  // away cannot leave the others with a freed cursor.
  if (!(m_dwOptions & kNoHandCursor)) m_hLinkCursor = ::LoadCursor(nullptr, IDC_HAND);

  if (m_toolTip.Create(this, TTS_ALWAYSTIP)) {
    CRect client;
    GetClientRect(&client);
    m_toolTip.AddTool(this, m_strURL, &client, kToolId);
  }
  CStatic::PreSubclassWindow();
}

void CMyHyperLink::SetURL(LPCSTR lpszURL) {
  m_strURL = lpszURL ? lpszURL : "";
  if (!::IsWindow(m_hWnd)) return;
  ShowWindow(SW_HIDE);
  PositionWindow();
  if (m_toolTip.m_hWnd) m_toolTip.UpdateTipText(m_strURL, this, kToolId);
  ShowWindow(SW_SHOW);
}

BOOL CMyHyperLink::SetLinkOptions(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw) {
  if (dwRemove & dwAdd) return FALSE;
  m_dwOptions = (m_dwOptions & ~dwRemove) | dwAdd;
  if (!bRedraw || !::IsWindow(m_hWnd)) return TRUE;
  if ((dwRemove | dwAdd) & kUnderline) {
    HFONT current = m_hLinkFont ? m_hLinkFont : reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    if (current) BuildLinkFont(current);
  }
  if (dwAdd & kSizeToText) PositionWindow();
  if (dwRemove & kHoverColour) Invalidate();
  return TRUE;
}

void CMyHyperLink::SetFont(CFont* pFont, BOOL bRedraw) {
  if (!::IsWindow(m_hWnd) || !pFont || !pFont->m_hObject) return;
  ShowWindow(SW_HIDE);
  BuildLinkFont(static_cast<HFONT>(pFont->m_hObject));
  PositionWindow();
  ShowWindow(SW_SHOW);
  if (bRedraw) Invalidate();
}

BOOL CMyHyperLink::BuildLinkFont(HFONT hFrom) {
  LOGFONTA lf = {};
  if (!::GetObjectA(hFrom, sizeof lf, &lf)) return FALSE;
  lf.lfUnderline = (m_dwOptions & kUnderline) ? TRUE : FALSE;
  HFONT made = ::CreateFontIndirectA(&lf);
  if (!made) return FALSE;
  // The new font is set before the old one goes, so the control never holds a deleted font.
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  if (m_hLinkFont) ::DeleteObject(m_hLinkFont);
  m_hLinkFont = made;
  return TRUE;
}

void CMyHyperLink::PositionWindow() {
  if (!(m_dwOptions & kSizeToText) || !::IsWindow(m_hWnd)) return;
  CString text;
  GetWindowText(text);
  HDC dc = ::GetDC(m_hWnd);
  HGDIOBJ old = ::SelectObject(dc, m_hLinkFont ? static_cast<HGDIOBJ>(m_hLinkFont)
                                               : ::GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent = {};
  ::GetTextExtentPoint32A(dc, text, text.GetLength(), &extent);
  // Room to spare: Wine draws some fonts wider than it measures them (a long address at the
  // dialog font by about one part in twenty), which cut the end of the address off. One more
  // character, or a sixteenth of the text, whichever is more.
  TEXTMETRICA metrics = {};
  LONG spare = extent.cx / 16;
  if (::GetTextMetricsA(dc, &metrics) && metrics.tmAveCharWidth > spare) spare = metrics.tmAveCharWidth;
  extent.cx += spare;
  ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);

  CRect window, client;
  GetWindowRect(&window);
  GetClientRect(&client);
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&window);
  // The borders stay as they were: the client area is what fits the text.
  int width = extent.cx + window.Width() - client.Width();
  int height = extent.cy + window.Height() - client.Height();

  DWORD style = GetStyle();
  if (style & SS_CENTERIMAGE) {
    int middle = (window.top + window.bottom) / 2;
    window.top = middle - height / 2;
  }
  window.bottom = window.top + height;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: {
      int middle = (window.left + window.right) / 2;
      window.left = middle - width / 2;
      window.right = window.left + width;
      break;
    }
    case SS_RIGHT:
      window.left = window.right - width;
      break;
    default:
      window.right = window.left + width;
      break;
  }
  SetWindowPos(nullptr, window.left, window.top, window.Width(), window.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateToolTipRect();
}

void CMyHyperLink::UpdateToolTipRect() {
  if (!m_toolTip.m_hWnd) return;
  CRect client;
  GetClientRect(&client);
  m_toolTip.SetToolRect(this, kToolId, &client);
}

// ---- opening ----

BOOL CMyHyperLink::GotoURL() {
  int result = g_open(m_strURL, SW_SHOWNORMAL);
  if (result > 32) {
    m_bVisited = TRUE;
    Invalidate();
    return TRUE;
  }
  ::MessageBeep(MB_ICONEXCLAMATION);
  AfxMessageBox("Can't open link:\n\n" + CUrlLink::GetErrorText(result),
                MB_OK | MB_ICONEXCLAMATION);
  return FALSE;
}

// ---- colours and messages ----

COLORREF CMyHyperLink::CurrentColour() const {
  if (m_bOverControl && (m_dwOptions & kHoverColour)) return kHoverColourValue;
  if (m_bPressed && !(m_dwOptions & kNoPressedColour)) return kPressedColour;
  return m_bVisited ? kVisitedColour : kLinkColour;
}

HBRUSH CMyHyperLink::CtlColor(CDC* pDC, UINT) {
  pDC->SetTextColor(CurrentColour());
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
}

BOOL CMyHyperLink::PreTranslateMessage(MSG* pMsg) {
  if (m_toolTip.m_hWnd) m_toolTip.RelayEvent(pMsg);
  return CStatic::PreTranslateMessage(pMsg);
}

// A static answers that it is transparent to the mouse; the link wants its clicks.
LRESULT CMyHyperLink::OnNcHitTest(CPoint) { return HTCLIENT; }

void CMyHyperLink::OnMouseMove(UINT nFlags, CPoint point) {
  if (!m_bOverControl) {
    m_bOverControl = TRUE;
    Invalidate();
    SetCapture();
  } else {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) {
      m_bOverControl = FALSE;
      ::ReleaseCapture();
      Invalidate();
    }
  }
  CStatic::OnMouseMove(nFlags, point);
}

void CMyHyperLink::OnLButtonDown(UINT nFlags, CPoint point) {
  if (m_dwOptions & kFocusOnPress) SetFocus();
  if (m_dwOptions & kOpenOnPress) GotoURL();
  m_bPressed = TRUE;
  CStatic::OnLButtonDown(nFlags, point);
}

void CMyHyperLink::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bPressed && !(m_dwOptions & kOpenOnPress)) GotoURL();
  CStatic::OnLButtonUp(nFlags, point);
}

void CMyHyperLink::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == VK_SPACE) {
    GotoURL();
    return;
  }
  CStatic::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CMyHyperLink::OnSetFocus(CWnd* pOldWnd) {
  m_bPressed = TRUE;
  Invalidate();
  CStatic::OnSetFocus(pOldWnd);
}

void CMyHyperLink::OnKillFocus(CWnd* pNewWnd) {
  m_bOverControl = FALSE;
  m_bPressed = FALSE;
  Invalidate();
  CStatic::OnKillFocus(pNewWnd);
}

BOOL CMyHyperLink::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  if (m_hLinkCursor) {
    ::SetCursor(m_hLinkCursor);
    return TRUE;
  }
  return CStatic::OnSetCursor(pWnd, nHitTest, message);
}
