// CTkReBar: the toolkit's rebar bar. For now the framework's, with the toolkit's band ids and
// bar style.
#pragma once
#include "framework/bars/ReBar.h"

class CTkReBar : public CReBar {
  DECLARE_DYNAMIC(CTkReBar)
 public:
  CTkReBar() = default;
  ~CTkReBar() override = default;

  // The frame's rebar (id 59396) also carries the bar style bit 8.
  BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID);
  BOOL AddBar(CWnd* pBar, LPCSTR pszText, HBITMAP hbmp, DWORD dwStyle, UINT nBandID);
  BOOL AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCSTR pszText, DWORD dwStyle,
              UINT nBandID);
};
