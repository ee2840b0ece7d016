// CTkListCtrl: a report list with the toolkit's flat sortable header, flicker-free painting and
// scrolling, and its own colours for unselected rows.
#pragma once
#include "framework/controls/ListCtrl.h"
#include "toolkit/controls/TkListCtrlBase.h"

class CTkListCtrl : public CListCtrl, public CTkListCtrlBase {
 public:
  CTkListCtrl() : CTkListCtrlBase(this) {}
  // The toolkit's forms, which add to the extended style rather than replace it.
  using CTkListCtrlBase::GetExtendedStyle;
  using CTkListCtrlBase::SetExtendedStyle;

  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  int OnCreate(LPCREATESTRUCT lpcs);
  BOOL OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC*) { return TRUE; }
  void OnHScroll(UINT nCode, UINT nPos, CScrollBar* pBar);
  void OnVScroll(UINT nCode, UINT nPos, CScrollBar* pBar);
  void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
  void OnDestroy();

 protected:
  void PreSubclassWindow() override;
  LRESULT OnDeferredInit(WPARAM, LPARAM);
  void ScrollWithoutFlicker(UINT message);
  DECLARE_MESSAGE_MAP()

  BOOL m_bInitPending = TRUE;
};
