#include "ui/dialogs/EditReportHeader.h"

#include "app/services/AppServices.h"
#include "framework/dialogs/DataExchange.h"
#include "resources/resource.h"

CEditReportHeader::CEditReportHeader(CWnd* pParent) : CDialog(IDD_EDIT_REPORT_HEADER, pParent) {}

BOOL CEditReportHeader::OnInitDialog() {
  if (m_bFooter) SetWindowText(LoadResString(IDS_REPORT_FOOTER_CAPTION));
  return CDialog::OnInitDialog();
}

void CEditReportHeader::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, IDC_REPORT_HEADER_TEXT, m_strText);
}
