// CSelectBy: the criteria by which the engine list checks engines: a category and the texts of
// the list's country, language and mark columns, each chosen from the texts the list holds (an
// empty choice leaves that criterion out), and whether the matching engines replace the checked
// ones (0) or are added to them (1).
#pragma once
#include <vector>

#include "framework/dialogs/Dialog.h"

class CSelectBy : public CDialog {
 public:
  using Texts = std::vector<CString>;

  CSelectBy(const Texts& categories, const Texts& column1, const Texts& column2,
            const Texts& column3, CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

  // The choices after OK; empty means "not used".
  CString m_strColumn1;   // country
  CString m_strColumn2;   // language
  CString m_strCategory;
  CString m_strColumn3;   // submission mark
  int m_nMode = 0;        // 0 check only the matching engines, 1 add them

 private:
  void Fill(UINT comboId, const Texts& texts);
  Texts m_categories;
  Texts m_column1;
  Texts m_column2;
  Texts m_column3;
};
