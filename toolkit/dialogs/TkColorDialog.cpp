#include "toolkit/dialogs/TkColorDialog.h"

#include <cstdio>
#include <cstring>

#include "framework/wnd/MessageMap.h"
#include "resources/ids/ToolkitColourIds.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/core/ToolkitHelpers.h"
#include "toolkit/dialogs/TkColorPageCustom.h"
#include "toolkit/dialogs/TkColorPageStandard.h"

IMPLEMENT_DYNAMIC(CTkColorDialog, CPropertySheet)

BEGIN_MESSAGE_MAP(CTkColorDialog, CPropertySheet)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CString FormatColorHex(COLORREF color) {
  char text[32];
  std::snprintf(text, sizeof text, "Hex: %02X%02X%02X", GetRValue(color), GetGValue(color),
                GetBValue(color));
  return CString(text);
}

CTkColorDialog::CTkColorDialog(COLORREF clrNew, COLORREF clrCurrent, DWORD dwStyle, CWnd* pParent)
    : CPropertySheet(TkLoadString(IDS_TK_COLORDLG_CAPTION), pParent),
      m_dwStyle(dwStyle),
      m_clrNew(clrNew),
      m_clrCurrent(clrCurrent) {
  m_psh.dwFlags |= PSH_NOAPPLYNOW;
  m_psh.dwFlags &= ~PSH_HASHELP;
  m_pStandard = new CTkColorPageStandard(this);
  m_pCustom = new CTkColorPageCustom(this);
  AddPage(m_pStandard);
  AddPage(m_pCustom);
}

CTkColorDialog::~CTkColorDialog() {
  delete m_pStandard;
  delete m_pCustom;
}

void CTkColorDialog::PreSubclassWindow() {
  CPropertySheet::PreSubclassWindow();
  // The system made the sheet before it was handed over: creation and first set-up run now.
  CreateHexField();
  m_pStandard->GetHexagon().SetColor(m_clrNew);
  InitSheet();
}

BOOL CTkColorDialog::CreateHexField() {
  if (!(m_dwStyle & TKCD_SHOWHEX)) return TRUE;
  if (!m_hex.CreateEx(WS_EX_STATICEDGE, "EDIT", FormatColorHex(m_clrNew),
                      WS_CHILD | WS_VISIBLE | ES_READONLY, CRect(243, 170, 317, 188), this,
                      IDC_TK_COLORHEX))
    return FALSE;
  m_hex.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(ToolkitData().GetBarFont()));
  return TRUE;
}

void CTkColorDialog::InitSheet() {
  HFONT font = ToolkitData().GetBarFont();
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font));
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, 329, 341, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (HWND tab = reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)))
    ::SetWindowPos(tab, nullptr, 0, 0, 226, 280, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (HWND ok = ::GetDlgItem(m_hWnd, IDOK)) ::MoveWindow(ok, 243, 29, 75, 22, TRUE);
  if (HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL)) ::MoveWindow(cancel, 243, 58, 75, 22, TRUE);
  SetActivePage(0);
}

void CTkColorDialog::ComputeSwatch() {
  CRect client;
  GetClientRect(&client);
  CRect swatch;
  swatch.right = client.right - 9;
  swatch.left = swatch.right - 68;
  swatch.bottom = client.bottom - 32;
  swatch.top = swatch.bottom - 66;
  swatch.DeflateRect(1, 1);
  int half = swatch.Height() / 2;
  m_rcNew = CRect(swatch.left, swatch.top, swatch.right, swatch.top + half);
  m_rcCurrent = CRect(swatch.left, swatch.bottom - half, swatch.right, swatch.bottom);
}

void CTkColorDialog::OnPaint() {
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  CDC* dc = CDC::FromHandle(hdc);
  CRect client;
  GetClientRect(&client);
  CRect swatch;
  swatch.right = client.right - 9;
  swatch.left = swatch.right - 68;
  swatch.bottom = client.bottom - 32;
  swatch.top = swatch.bottom - 66;
  if (m_dwStyle & TKCD_FRAMED) {
    CRect outer(swatch);
    outer.InflateRect(3, 3);
    dc->Draw3dRect(&outer, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_3DDKSHADOW));
    outer.DeflateRect(3, 3);
    dc->Draw3dRect(&outer, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  } else {
    COLORREF frame = ::GetSysColor(COLOR_WINDOWFRAME);
    dc->Draw3dRect(&swatch, frame, frame);
  }
  HGDIOBJ oldFont = ::SelectObject(hdc, ToolkitData().GetBarFont());
  ::SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, ::GetSysColor(COLOR_WINDOWTEXT));
  CString label = TkLoadString(IDS_TK_COLORDLG_NEW);
  CRect above(swatch.left, swatch.top - 22, swatch.right, swatch.top);
  ::DrawTextA(hdc, label, -1, &above, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  label = TkLoadString(IDS_TK_COLORDLG_CURRENT);
  CRect below(swatch.left, swatch.bottom, swatch.right, swatch.bottom + 22);
  ::DrawTextA(hdc, label, -1, &below, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(hdc, oldFont);
  ComputeSwatch();
  dc->FillSolidRect(&m_rcNew, m_clrNew);
  dc->FillSolidRect(&m_rcCurrent, m_clrCurrent);
  ::EndPaint(m_hWnd, &ps);
}

void CTkColorDialog::SetNewColor(COLORREF color, BOOL bBroadcast) {
  m_clrNew = color;
  if (!m_hWnd) return;
  ComputeSwatch();
  HDC hdc = ::GetDC(m_hWnd);
  CDC::FromHandle(hdc)->FillSolidRect(&m_rcNew, color);
  ::ReleaseDC(m_hWnd, hdc);
  if ((m_dwStyle & TKCD_SHOWHEX) && m_hex.m_hWnd) m_hex.SetWindowText(FormatColorHex(color));
  if (bBroadcast && SendMessage(PSM_GETTABCONTROL)) {
    // The sheet makes a page's window only when it is first shown: a page without one hears of
    // the colour when it becomes active.
    for (int i = 0; i < GetPageCount(); ++i) {
      CPropertyPage* page = GetPage(i);
      if (page && page->m_hWnd) page->SendMessage(WM_TK_COLORCHANGED, color, 0);
    }
  }
}

void CTkColorDialog::SetCurrentColor(COLORREF color) {
  m_clrCurrent = color;
  if (!m_hWnd) return;
  ComputeSwatch();
  HDC hdc = ::GetDC(m_hWnd);
  CDC::FromHandle(hdc)->FillSolidRect(&m_rcCurrent, color);
  ::ReleaseDC(m_hWnd, hdc);
}

void CTkColorDialog::EndWithOK() { PressButton(PSBTN_OK); }

BOOL CTkColorDialog::CopyToClipboard(LPCSTR lpszText) {
  if (!::OpenClipboard(m_hWnd)) return FALSE;
  ::EmptyClipboard();
  size_t size = std::strlen(lpszText) + 1;
  HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) {
    ::CloseClipboard();
    return FALSE;
  }
  std::memcpy(::GlobalLock(block), lpszText, size);
  ::GlobalUnlock(block);
  if (!::SetClipboardData(CF_TEXT, block)) {
    ::GlobalFree(block);
    ::CloseClipboard();
    return FALSE;
  }
  ::CloseClipboard();
  return TRUE;
}
