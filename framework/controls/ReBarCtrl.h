// CReBarCtrl: bands that hold bars and controls ("ReBarWindow32").
#pragma once
#include "framework/wnd/Wnd.h"

class CReBarCtrl : public CWnd {
 public:
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create(REBARCLASSNAMEA, nullptr, dwStyle, rect, pParentWnd, nID);
  }
  UINT GetBandCount() const { return static_cast<UINT>(SendMessage(RB_GETBANDCOUNT)); }
  BOOL InsertBand(UINT uIndex, REBARBANDINFOA* p) { return static_cast<BOOL>(SendMessage(RB_INSERTBANDA, uIndex, reinterpret_cast<LPARAM>(p))); }
  BOOL DeleteBand(UINT uBand) { return static_cast<BOOL>(SendMessage(RB_DELETEBAND, uBand)); }
  BOOL GetBandInfo(UINT uBand, REBARBANDINFOA* p) const { return static_cast<BOOL>(SendMessage(RB_GETBANDINFOA, uBand, reinterpret_cast<LPARAM>(p))); }
  BOOL SetBandInfo(UINT uBand, REBARBANDINFOA* p) { return static_cast<BOOL>(SendMessage(RB_SETBANDINFOA, uBand, reinterpret_cast<LPARAM>(p))); }
  UINT GetBarHeight() const { return static_cast<UINT>(SendMessage(RB_GETBARHEIGHT)); }
  UINT GetRowCount() const { return static_cast<UINT>(SendMessage(RB_GETROWCOUNT)); }
  UINT GetRowHeight(UINT nRow) const { return static_cast<UINT>(SendMessage(RB_GETROWHEIGHT, nRow)); }
  void GetBandBorders(UINT uBand, LPRECT r) const { SendMessage(RB_GETBANDBORDERS, uBand, reinterpret_cast<LPARAM>(r)); }
  BOOL GetRect(UINT uBand, LPRECT r) const { return static_cast<BOOL>(SendMessage(RB_GETRECT, uBand, reinterpret_cast<LPARAM>(r))); }
  int IDToIndex(UINT uBandID) const { return static_cast<int>(SendMessage(RB_IDTOINDEX, uBandID)); }
  BOOL ShowBand(UINT uBand, BOOL fShow = TRUE) { return static_cast<BOOL>(SendMessage(RB_SHOWBAND, uBand, fShow)); }
  void MinimizeBand(UINT uBand) { SendMessage(RB_MINIMIZEBAND, uBand); }
  void MaximizeBand(UINT uBand) { SendMessage(RB_MAXIMIZEBAND, uBand); }
  BOOL MoveBand(UINT uFrom, UINT uTo) { return static_cast<BOOL>(SendMessage(RB_MOVEBAND, uFrom, uTo)); }
  BOOL SizeToRect(LPRECT r) { return static_cast<BOOL>(SendMessage(RB_SIZETORECT, 0, reinterpret_cast<LPARAM>(r))); }
  COLORREF SetBkColor(COLORREF clr) { return static_cast<COLORREF>(SendMessage(RB_SETBKCOLOR, 0, clr)); }
  COLORREF SetTextColor(COLORREF clr) { return static_cast<COLORREF>(SendMessage(RB_SETTEXTCOLOR, 0, clr)); }
};
