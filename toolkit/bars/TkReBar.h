// CTkReBar: the toolkit's control bar around the common rebar control. Its bands hold other bars
// (menu bar, toolbars, dialog bars) or plain child windows. It keeps the frame's layout in step
// when a band changes height or is dragged, keeps each band's child shown or hidden with its
// band, lets a bar size its own band, and keeps the band layout (order, widths, styles) in the
// toolkit's profile store when asked to.
//
// Band records are REBARBANDINFOA of this build's size (128 bytes in a 64-bit build, where a
// 32-bit one knows an 80-byte form); the control takes the larger record.
#pragma once
#include "framework/bars/ReBar.h"
#include "framework/controls/ReBarCtrl.h"
#include "toolkit/bars/TkControlBar.h"

class CTkReBar : public CTkControlBar {
  DECLARE_DYNCREATE(CTkReBar)
 public:
  CTkReBar();
  ~CTkReBar() override;

  // dwCtrlStyle: RBS_* of the control; dwStyle: window and CBRS_ styles. The frame's own rebar
  // (id AFX_IDW_REBAR) is hidden while a server is active in place. FALSE without a window.
  BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
              UINT nID = AFX_IDW_REBAR);
  // A band at the end holding pBar, with an optional text and background picture, the band
  // style and the band id. FALSE when the control refuses it.
  BOOL AddBar(CWnd* pBar, LPCSTR pszText = nullptr, HBITMAP hbmp = nullptr,
              DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP, UINT nBandID = 0);
  // The same with the band's text and background colours instead of a picture.
  BOOL AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCSTR pszText = nullptr,
              DWORD dwStyle = RBBS_GRIPPERALWAYS, UINT nBandID = 0);

  // The bands' ids, widths, styles and positions under the section; loading applies a stored
  // layout only when it was saved for as many bands as there are now.
  void SaveBandLayout(LPCSTR lpszSection);
  void LoadBandLayout(LPCSTR lpszSection);

  CReBarCtrl& GetReBarCtrl() { return *reinterpret_cast<CReBarCtrl*>(this); }
  UINT GetBandCount() const { return static_cast<UINT>(SendMessage(RB_GETBANDCOUNT)); }
  // The owner gets the control's notifications too; set before the window exists, it is passed
  // on when the control is made.
  void SetOwner(CWnd* pOwnerWnd);

  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

  // Common controls older than this give a band child 4 pixels less than asked.
  static constexpr DWORD kNarrowBandComCtl = (4u << 16) | 72u;

 protected:
  BOOL InsertBand(CWnd* pBar, REBARBANDINFOA* pInfo);
  static REBARBANDINFOA BandInfo(DWORD dwMask);
  BOOL IsHorizontal() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
  // A bar's own visibility, or a plain window's visible style.
  static BOOL IsChildVisible(HWND hwndChild);
  void SyncBandsWithChildren();
  void SyncChildWithBand(UINT nBand);
  void RecalcParentLayout();

  BOOL OnNcCreate(LPCREATESTRUCT lpcs);
  void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* pDC);
  void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
  void OnChildSize(NMHDR* pNMHDR, LRESULT* pResult);
  LRESULT OnShowBand(WPARAM wParam, LPARAM lParam);
  LRESULT OnRecalcParent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// What a band's child gets with TKM_BANDCHILDSIZE: the band as the control has it now, and the
// control's notification with the child's new rectangle.
struct TkBandChildSize {
  REBARBANDINFOA* pBand;
  NMREBARCHILDSIZE* pNotify;
};
