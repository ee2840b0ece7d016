// CPropertySheet: tabbed pages in a sheet with OK, Cancel and (unless PSH_NOAPPLYNOW is in
// m_psh.dwFlags) Apply. DoModal runs the sheet in the framework's modal loop and returns IDOK
// or IDCANCEL.
#pragma once
#include <vector>

#include "framework/dialogs/PropertyPage.h"

class CPropertySheet : public CWnd {
  DECLARE_DYNAMIC(CPropertySheet)
 public:
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

  void AddPage(CPropertyPage* pPage);
  void RemovePage(int nPage);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int nPage) const;
  int GetPageIndex(CPropertyPage* pPage) const;
  CPropertyPage* GetActivePage() const;
  int GetActiveIndex() const;
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage) { return SetActivePage(GetPageIndex(pPage)); }
  // With PSH_PROPTITLE the caption reads as the system's "Properties for <text>".
  void SetTitle(LPCSTR lpszText, UINT nStyle = 0);
  void PressButton(int nButton) { SendMessage(PSM_PRESSBUTTON, nButton); }
  CWnd* GetTabControl() const { return FromHandle(reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL))); }

  virtual INT_PTR DoModal();
  BOOL PreTranslateMessage(MSG* pMsg) override;
  BOOL ContinueModal() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  PROPSHEETHEADERA m_psh = {};

 protected:
  void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
  static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);

  std::vector<CPropertyPage*> m_pages;
  std::vector<PROPSHEETPAGEA> m_pageRecords;
  CString m_strCaption;
  CWnd* m_pParentWnd = nullptr;
};
