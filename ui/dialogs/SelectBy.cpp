#include "ui/dialogs/SelectBy.h"

#include <set>
#include <string>

#include "framework/dialogs/DataExchange.h"
#include "resources/resource.h"

CSelectBy::CSelectBy(const Texts& categories, const Texts& column1, const Texts& column2,
                     const Texts& column3, CWnd* pParent)
    : CDialog(IDD_SELECT_BY, pParent),
      m_categories(categories),
      m_column1(column1),
      m_column2(column2),
      m_column3(column3) {}

// Each text once. The list compares the choice with its cells case-sensitively, so texts that
// differ only in case stay separate choices (the combo box's own search ignores case). The
// empty entry on top stands for "not used"; empty texts are not offered besides it.
void CSelectBy::Fill(UINT comboId, const Texts& texts) {
  std::set<std::string> seen;
  for (const CString& text : texts) {
    if (text.IsEmpty() || !seen.insert(text.GetString()).second) continue;
    SendDlgItemMessage(comboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.GetString()));
  }
  SendDlgItemMessage(comboId, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(""));
  SendDlgItemMessage(comboId, CB_SETCURSEL, 0);
}

BOOL CSelectBy::OnInitDialog() {
  Fill(IDC_SELECTBY_CATEGORY, m_categories);
  Fill(IDC_SELECTBY_COUNTRY, m_column1);
  Fill(IDC_SELECTBY_LANGUAGE, m_column2);
  Fill(IDC_SELECTBY_MARK, m_column3);
  return CDialog::OnInitDialog();
}

void CSelectBy::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Radio(pDX, IDC_SELECTBY_ONLY, m_nMode);
  // The lists are filled on initialisation, each with nothing chosen.
  if (!pDX->m_bSaveAndValidate) return;
  DDX_CBString(pDX, IDC_SELECTBY_COUNTRY, m_strColumn1);
  DDX_CBString(pDX, IDC_SELECTBY_LANGUAGE, m_strColumn2);
  DDX_CBString(pDX, IDC_SELECTBY_CATEGORY, m_strCategory);
  DDX_CBString(pDX, IDC_SELECTBY_MARK, m_strColumn3);
}
