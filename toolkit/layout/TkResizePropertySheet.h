// CTkResizePropertySheet: a property sheet the user can size. Its buttons keep to the
// bottom-right corner, the tab control and the pages stretch, and the system menu gains the
// sizing commands a resizable window has.
#pragma once
#include "framework/controls/TabCtrl.h"
#include "framework/dialogs/PropertySheet.h"
#include "toolkit/layout/TkResize.h"

// The sheet's tab control, painted off-screen over one background colour so that it does not
// flicker while the sheet is dragged larger.
class CTkSheetTabCtrl : public CTabCtrl {
 public:
  CTkSheetTabCtrl();
  void OnPaint();
  BOOL OnEraseBkgnd(CDC*) { return TRUE; }

 protected:
  DECLARE_MESSAGE_MAP()
  COLORREF m_clrBack;  // as it was when the sheet was made
};

class CTkResizePropertySheet : public CPropertySheet, public CTkResize {
  DECLARE_DYNCREATE(CTkResizePropertySheet)
 public:
  CTkResizePropertySheet() : CTkResizePropertySheet(0U) {}
  explicit CTkResizePropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr,
                                  UINT iSelectPage = 0, DWORD dwFlags = 0);
  explicit CTkResizePropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr,
                                  UINT iSelectPage = 0, DWORD dwFlags = 0);

  // Runs once the sheet and its first page exist (the framework's sheet has no such step).
  virtual BOOL OnInitDialog();

  void OnSize(UINT nType, int cx, int cy);
  void OnGetMinMaxInfo(MINMAXINFO* pMMI) { GetMinMaxInfo(pMMI); }

  static const UINT kInitMessage = WM_APP + 0x3F0;

 protected:
  void PreSubclassWindow() override;
  LRESULT OnDeferredInit(WPARAM, LPARAM);
  void AddSizingCommands();
  DECLARE_MESSAGE_MAP()

  CTkSheetTabCtrl m_tabCtrl;
  DWORD m_dwInitialFlags;
};
