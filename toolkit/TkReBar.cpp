#include "toolkit/TkReBar.h"

IMPLEMENT_DYNAMIC(CTkReBar, CReBar)

BOOL CTkReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  if (!CReBar::Create(pParentWnd, dwCtrlStyle, dwStyle, nID)) return FALSE;
  if (nID == AFX_IDW_REBAR) m_dwStyle |= CBRS_HIDE_INPLACE;
  return TRUE;
}

BOOL CTkReBar::AddBar(CWnd* pBar, LPCSTR pszText, HBITMAP hbmp, DWORD dwStyle, UINT nBandID) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_STYLE | RBBIM_ID;
  info.fStyle = dwStyle;
  info.wID = nBandID;
  if (pszText) {
    info.fMask |= RBBIM_TEXT;
    info.lpText = const_cast<LPSTR>(pszText);
  }
  if (hbmp) {
    info.fMask |= RBBIM_BACKGROUND;
    info.hbmBack = hbmp;
  }
  return InsertBand(pBar, &info);
}

BOOL CTkReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCSTR pszText,
                      DWORD dwStyle, UINT nBandID) {
  REBARBANDINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = RBBIM_STYLE | RBBIM_ID | RBBIM_COLORS;
  info.fStyle = dwStyle;
  info.wID = nBandID;
  info.clrFore = clrFore;
  info.clrBack = clrBack;
  if (pszText) {
    info.fMask |= RBBIM_TEXT;
    info.lpText = const_cast<LPSTR>(pszText);
  }
  return InsertBand(pBar, &info);
}
