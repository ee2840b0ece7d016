// CInstantUpdateMessage: tells the user that a newer version is ready and asks whether to update
// now. It ends with IDOK (update now) or IDCANCEL (not now).
#pragma once
#include "framework/dialogs/Dialog.h"
#include "ui/controls/MyHyperLink.h"
#include "ui/dialogs/StyleSheet.h"

class CInstantUpdateMessage : public CDialog {
 public:
  explicit CInstantUpdateMessage(CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;

  // The page that says what the new version brings.
  CString m_strLinkURL;

 private:
  CMyHyperLink m_link;
  CStyleSheet m_styleSheet;
};
