#include "toolkit/TkReBar.h"

IMPLEMENT_DYNAMIC(CTkReBar, CReBar)

BOOL CTkReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
  if (!CReBar::Create(pParentWnd, dwCtrlStyle, dwStyle, nID)) return FALSE;
  if (nID == AFX_IDW_REBAR) m_dwStyle |= CBRS_HIDE_INPLACE;
  return TRUE;
}

BOOL CTkReBar::AddBar(CWnd* pBar, LPCSTR pszText, HBITMAP hbmp, DWORD dwStyle, UINT nBandID) {
  REBARBANDINFOA info = BandInfo(pszText, hbmp, dwStyle);
  info.fMask |= RBBIM_ID;
  info.wID = nBandID;
  return InsertBand(pBar, &info);
}

BOOL CTkReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCSTR pszText,
                      DWORD dwStyle, UINT nBandID) {
  REBARBANDINFOA info = BandInfo(pszText, nullptr, dwStyle);
  info.fMask |= RBBIM_ID | RBBIM_COLORS;
  info.wID = nBandID;
  info.clrFore = clrFore;
  info.clrBack = clrBack;
  return InsertBand(pBar, &info);
}
