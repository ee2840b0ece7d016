// CSaveTemplate: asks for the name under which the engines now checked are kept as a selection
// template. The opener presets m_strName with the current template's name; after OK it holds the
// name to save under, without leading or trailing blanks and never empty.
#pragma once
#include "framework/dialogs/Dialog.h"

class CSaveTemplate : public CDialog {
 public:
  // Longer names would not read back from the templates file, whose lines are bounded.
  static constexpr int kMaxNameLength = 255;

  explicit CSaveTemplate(CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;

  CString m_strName;
};
