#include "toolkit/layout/TkResizePropertyPage.h"

IMPLEMENT_DYNCREATE(CTkResizePropertyPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CTkResizePropertyPage, CPropertyPage)
  ON_WM_SIZE()
  ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

CTkResizePropertyPage::CTkResizePropertyPage(UINT nIDTemplate, UINT nIDCaption, DWORD dwFlags)
    : CPropertyPage(nIDTemplate, nIDCaption), CTkResize(this, dwFlags | TKRS_NOGRIP),
      m_nIDTemplate(nIDTemplate) {}

BOOL CTkResizePropertyPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  Init();
  EnableToolTips(TRUE);
  return TRUE;
}

void CTkResizePropertyPage::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  Size();
}
