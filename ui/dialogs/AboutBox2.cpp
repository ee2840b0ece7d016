#include "ui/dialogs/AboutBox2.h"

#include "app/services/AppServices.h"
#include "resources/resource.h"

namespace {
const StyleSheetRow kAboutStyles[] = {
    {"Title", "Tahoma", -24, 700, false, false},
    {nullptr, nullptr, 0, 0, false, false},
};
const char* const kMakerPage = "http://www.orvandel-labs.invalid/zbpro/";
}  // namespace

CAboutBox2::CAboutBox2(CWnd* pParent)
    : CDialog(IDD_ABOUTBOX, pParent), m_strLinkURL(kMakerPage), m_styleSheet(kAboutStyles) {}

CString CAboutBox2::VersionText() {
  ExeFileVersion v = GetExeFileVersion();
  CString text;
  text.Format("%s %d.%d.%d.%d", LoadResString(IDS_ABOUT_VERSION).GetString(), v.major, v.minor,
              v.build, v.revision);
  return text;
}

CString CAboutBox2::ProductText() {
  return LoadResString(IDS_PRODUCT_NAME) + LoadResString(IDS_PRODUCT_EDITION);
}

BOOL CAboutBox2::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_ABOUT_VERSION, VersionText());
  SetDlgItemText(IDC_ABOUT_PRODUCT, ProductText());
  // The static is empty in the template, so the link shows its address.
  m_link.SetURL(m_strLinkURL);
  m_link.SubclassDlgItem(IDC_ABOUT_LINK, this);
  m_link.SetLinkOptions(0, CMyHyperLink::kUnderline | CMyHyperLink::kHoverColour);
  m_styleSheet.ApplyFont("Title", this, IDC_ABOUT_TITLE);
  return TRUE;
}
