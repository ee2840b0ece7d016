// CReBar: the common rebar control as a control bar of its frame. Its bands hold other bars
// (toolbars, dialog bars) or plain child windows; the frame gives it the height of its rows.
#pragma once
#include "framework/bars/ControlBar.h"
#include "framework/controls/ReBarCtrl.h"

#define AFX_IDW_REBAR 0xE804

class CReBar : public CControlBar {
  DECLARE_DYNAMIC(CReBar)
 public:
  CReBar();
  ~CReBar() override;

  // dwCtrlStyle: RBS_* of the control; dwStyle: window and CBRS_ styles.
  BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
              UINT nID = AFX_IDW_REBAR);
  // A band at the end holding the window; its least size is the bar's fixed size (or the
  // window's size). FALSE when the control refuses it.
  BOOL AddBar(CWnd* pBar, LPCSTR pszText = nullptr, HBITMAP hbmp = nullptr,
              DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
  CReBarCtrl& GetReBarCtrl() { return *reinterpret_cast<CReBarCtrl*>(this); }
  UINT GetBandCount() const { return static_cast<UINT>(SendMessage(RB_GETBANDCOUNT)); }

  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // Fills the band's child and least size into the record, then inserts it at the end.
  BOOL InsertBand(CWnd* pBar, REBARBANDINFOA* pInfo);
  // A band record with its style and, when given, its text and background picture.
  static REBARBANDINFOA BandInfo(LPCSTR pszText, HBITMAP hbmp, DWORD dwStyle);
  // Bands follow their children: a hidden bar hides its band.
  void SyncBandsWithChildren();
  void SyncChildWithBand(UINT nBand);
  void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
  void OnPaint() { Default(); }
  void OnNcPaint() { Default(); }
  void OnLButtonDown(UINT, CPoint) { Default(); }
  void OnLButtonDblClk(UINT, CPoint) { Default(); }
  LRESULT OnRecalcParent(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()
};

// The message a bar posts itself to lay its frame out once the frame's own layout is over.
#define WM_RECALCPARENT 0x0368
