#include "ui/dialogs/SaveTemplate.h"

#include "framework/app/MessageBox.h"
#include "framework/dialogs/DataExchange.h"
#include "resources/resource.h"

CSaveTemplate::CSaveTemplate(CWnd* pParent) : CDialog(IDD_SAVE_TEMPLATE, pParent) {}

BOOL CSaveTemplate::OnInitDialog() {
  SendDlgItemMessage(IDC_TEMPLATE_NAME, EM_LIMITTEXT, kMaxNameLength);
  return CDialog::OnInitDialog();
}

void CSaveTemplate::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  if (!pDX->m_bSaveAndValidate) {
    DDX_Text(pDX, IDC_TEMPLATE_NAME, m_strName);
    return;
  }
  // Blanks around a name cannot be seen in the template list, so two names that differ only by
  // them would look the same; a template without a name could not be chosen at all.
  CString name;
  DDX_Text(pDX, IDC_TEMPLATE_NAME, name);
  name.Trim(" \t");
  if (name.IsEmpty()) {
    AfxMessageBox(IDS_TEMPLATE_NAME_EMPTY, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
  }
  m_strName = name;
}
