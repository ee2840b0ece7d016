// CZubSubmitRules: the project sheet's page of the resubmission rules: whether a check submits
// by itself, to which engines (those that do not list the site, or by rank or page) and how
// often at most.
#pragma once
#include "framework/dialogs/PropertyPage.h"

class CZubrinDoc;

class CZubSubmitRules : public CPropertyPage {
 public:
  explicit CZubSubmitRules(CZubrinDoc* doc = nullptr);

  BOOL OnInitDialog() override;
  BOOL OnSetActive() override;
  BOOL OnApply() override;
  void DoDataExchange(CDataExchange* pDX) override;

  CZubrinDoc* m_pDoc;
  int m_submitAuto = 0;
  int m_submitWhen = 0;
  int m_submitRanking = 10;
  int m_submitPageNo = 1;
  int m_limitTo = 3;  // index of the chosen interval
  int m_submitNotListed = 0;

 protected:
  void OnAuto();
  void OnNotListed();
  void OnWhenRank();
  void OnWhenPage();
  void OnChanged();
  LRESULT OnHelpMessage(WPARAM, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void EnableControls();
  void EnableWhenControls();
  bool m_bReady = false;
};
