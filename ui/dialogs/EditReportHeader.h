// CEditReportHeader: edits the text put at the top (or, with m_bFooter, the bottom) of every
// report. The opener sets m_strText and takes it back after IDOK.
#pragma once
#include "framework/dialogs/Dialog.h"

class CEditReportHeader : public CDialog {
 public:
  explicit CEditReportHeader(CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

  CString m_strText;
  BOOL m_bFooter = FALSE;
};
