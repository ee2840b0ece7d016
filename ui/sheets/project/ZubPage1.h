// CZubPage1: the project sheet's page of the report mail: recipient, copy, sender, subject and
// message. Without a recipient the other fields cannot be edited.
#pragma once
#include "framework/dialogs/PropertyPage.h"

class CZubrinDoc;

class CZubPage1 : public CPropertyPage {
 public:
  explicit CZubPage1(CZubrinDoc* doc = nullptr);

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  BOOL OnApply() override;
  void DoDataExchange(CDataExchange* pDX) override;

  CZubrinDoc* m_pDoc;
  CString m_strTo, m_strCc, m_strFrom, m_strSubject, m_strBody;

 protected:
  void OnRecipientChange();
  void OnChanged();
  LRESULT OnHelpMessage(WPARAM, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void EnableFields();
  bool m_bReady = false;
};
