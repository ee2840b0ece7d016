// CAboutBox2: the about box: the product, its version and a link to the maker's pages.
#pragma once
#include "framework/dialogs/Dialog.h"
#include "ui/controls/MyHyperLink.h"
#include "ui/dialogs/StyleSheet.h"

class CAboutBox2 : public CDialog {
 public:
  explicit CAboutBox2(CWnd* pParent = nullptr);

  BOOL OnInitDialog() override;

  // "Version" and the running program's four version parts.
  static CString VersionText();
  static CString ProductText();

  // The address behind the link.
  CString m_strLinkURL;

 private:
  CMyHyperLink m_link;
  CStyleSheet m_styleSheet;
};
