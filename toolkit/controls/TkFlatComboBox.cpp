#include "toolkit/controls/TkFlatComboBox.h"

#include "framework/gdi/Dc.h"
#include "toolkit/bars/TkFlatPainters.h"
#include "toolkit/bars/TkTheme.h"
#include "toolkit/core/ToolkitData.h"

namespace {

constexpr UINT_PTR kMouseTimer = 1;
constexpr UINT kMousePeriod = 10;

void Frame(HDC hdc, const CRect& rc, COLORREF topLeft, COLORREF bottomRight) {
  CDC::FromHandle(hdc)->Draw3dRect(&rc, topLeft, bottomRight);
}

}  // namespace

void CTkFlatComboBox::DrawCombo(HDC hdc, int nState, COLORREF clrTopLeft,
                                COLORREF clrBottomRight) {
  if (CTkFlatComboPainter* painter = GetCurrentTheme().GetComboPainter()) {
    painter->Paint(this, hdc, nState == kTkComboRaised);
    return;
  }
  const CTkToolkitData& data = ToolkitData();
  BOOL enabled = IsWindowEnabled();
  CRect rc;
  GetClientRect(&rc);
  Frame(hdc, rc, clrTopLeft, clrBottomRight);
  rc.DeflateRect(1, 1);
  COLORREF ring = enabled ? data.m_clrFace : data.m_clrHighlight;
  Frame(hdc, rc, ring, ring);
  rc.DeflateRect(1, 1);
  int thumb = data.m_cxHThumb ? data.m_cxHThumb : ::GetSystemMetrics(SM_CXHTHUMB);
  CRect button(rc.right - thumb, rc.top, rc.right, rc.bottom);
  Frame(hdc, button, data.m_clrFace, data.m_clrFace);
  CRect inner = button;
  inner.DeflateRect(1, 1);
  Frame(hdc, inner, data.m_clrFace, data.m_clrFace);
  if (!enabled) return;
  switch (nState) {
    case kTkComboFlat:
      Frame(hdc, button, data.m_clrHighlight, data.m_clrHighlight);
      button.left -= 1;
      Frame(hdc, button, data.m_clrHighlight, data.m_clrHighlight);
      break;
    case kTkComboRaised:
      Frame(hdc, button, data.m_clrHighlight, data.m_clrShadow);
      break;
    case kTkComboPressed:
      button.OffsetRect(1, 1);
      Frame(hdc, button, data.m_clrShadow, data.m_clrHighlight);
      break;
  }
}

BOOL CTkFlatComboBox::IsMouseOver() const {
  POINT pt;
  RECT rc;
  ::GetCursorPos(&pt);
  ::GetWindowRect(m_hWnd, &rc);
  return ::PtInRect(&rc, pt);
}

void CTkFlatComboBox::TimerStep() {
  if (!m_bFlatLook) return;
  const CTkToolkitData& data = ToolkitData();
  HDC hdc = ::GetDC(m_hWnd);
  if (!m_bPressed) {
    if (IsMouseOver() || m_bFocused) {
      if (!m_bRaised) {
        DrawCombo(hdc, kTkComboRaised, data.m_clrShadow, data.m_clrHighlight);
        m_bRaised = TRUE;
      }
    } else {
      KillTimer(kMouseTimer);
      if (m_bRaised) {
        DrawCombo(hdc, kTkComboFlat, data.m_clrFace, data.m_clrFace);
        m_bRaised = FALSE;
      }
    }
  } else {
    KillTimer(kMouseTimer);
    if (m_bRaised) {
      DrawCombo(hdc, kTkComboPressed, data.m_clrShadow, data.m_clrHighlight);
      m_bRaised = FALSE;
    }
  }
  ::ReleaseDC(m_hWnd, hdc);
}

void CTkFlatComboBox::PaintFlat(HDC hdc) {
  if (!m_bFlatLook) return;
  const CTkToolkitData& data = ToolkitData();
  if (!IsMouseOver() && !m_bFocused)
    DrawCombo(hdc, kTkComboFlat, data.m_clrFace, data.m_clrFace);
  else
    DrawCombo(hdc, kTkComboRaised, data.m_clrShadow, data.m_clrHighlight);
}

void CTkFlatComboBox::OnPaint() {
  PAINTSTRUCT ps;
  HDC target = ::BeginPaint(m_hWnd, &ps);
  RECT rc;
  GetClientRect(&rc);
  HDC memory = ::CreateCompatibleDC(target);
  HBITMAP bitmap = ::CreateCompatibleBitmap(target, rc.right, rc.bottom);
  if (memory && bitmap) {
    ::SetMapMode(memory, ::GetMapMode(target));
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HBRUSH face = ::CreateSolidBrush(ToolkitData().m_clrFace);
    ::FillRect(memory, &rc, face);
    ::DeleteObject(face);
    CWnd::DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    PaintFlat(memory);
    ::BitBlt(target, 0, 0, rc.right, rc.bottom, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
  } else {
    CWnd::DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(target), 0);
    PaintFlat(target);
  }
  if (bitmap) ::DeleteObject(bitmap);
  if (memory) ::DeleteDC(memory);
  ::EndPaint(m_hWnd, &ps);
}

void CTkFlatComboBox::AutoComplete() {
  if (!m_bAutoComplete) return;
  if (m_bDeleting) return;  // Backspace and Delete take text away; completing would put it back
  // Putting the typed text back may report an edit update of its own.
  if (m_bCompleting) return;
  struct Guard {
    BOOL& flag;
    explicit Guard(BOOL& f) : flag(f) { flag = TRUE; }
    ~Guard() { flag = FALSE; }
  } guard(m_bCompleting);
  CString typed;
  GetWindowText(typed);
  int length = typed.GetLength();
  if (length < 1) return;
  DWORD sel = GetEditSel();
  int start = LOWORD(sel), end = HIWORD(sel);
  bool hadSelection = sel != static_cast<DWORD>(CB_ERR);
  if (SelectString(-1, typed) == CB_ERR) {
    SetWindowText(typed);
    if (hadSelection) SetEditSel(start, end);
  }
  if (!hadSelection || end >= length)
    SetEditSel(length, -1);
  else
    SetEditSel(start, end);
}

BOOL CTkFlatComboBox::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP) {
    if (m_bAutoComplete && (pMsg->wParam == VK_DELETE || pMsg->wParam == VK_BACK))
      m_bDeleting = pMsg->message == WM_KEYDOWN;
    // Keys typed into the field stay there: the frame's accelerators must not take them.
    if (GetEditSel() != static_cast<DWORD>(CB_ERR)) {
      ::TranslateMessage(pMsg);
      ::DispatchMessageA(pMsg);
      return TRUE;
    }
  }
  return CComboBox::PreTranslateMessage(pMsg);
}

BOOL CTkFlatComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                                    LRESULT* pResult) {
  if (message == WM_COMMAND) {
    switch (HIWORD(wParam)) {
      case CBN_SETFOCUS:
      case CBN_KILLFOCUS:
        if (m_bFlatLook) {
          m_bFocused = HIWORD(wParam) == CBN_SETFOCUS;
          Invalidate();
        }
        break;
      case CBN_CLOSEUP:
        if (m_bFlatLook) Invalidate();
        break;
      case CBN_EDITUPDATE:
        AutoComplete();
        break;
    }
  }
  // The owner hears of every notification too.
  return CComboBox::OnChildNotify(message, wParam, lParam, pResult);
}

LRESULT CTkFlatComboBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETCURSOR:
      if (m_bFlatLook && HIWORD(lParam) == WM_MOUSEMOVE) {
        SetTimer(kMouseTimer, kMousePeriod);
        TimerStep();
      }
      break;
    case WM_TIMER:
      if (wParam == kMouseTimer) {
        TimerStep();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      if (m_bFlatLook) m_bPressed = TRUE;
      break;
    case WM_LBUTTONUP:
      if (m_bFlatLook) {
        m_bPressed = FALSE;
        Invalidate();
      }
      break;
    case WM_PAINT:
      if (wParam) break;
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PRINTCLIENT: {
      LRESULT result = CComboBox::WindowProc(message, wParam, lParam);
      PaintFlat(reinterpret_cast<HDC>(wParam));
      return result;
    }
  }
  return CComboBox::WindowProc(message, wParam, lParam);
}
