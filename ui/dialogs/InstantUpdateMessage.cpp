#include "ui/dialogs/InstantUpdateMessage.h"

#include "resources/resource.h"

namespace {
const char* const kWhatsNewPage = "http://www.orvandel-labs.invalid/support/whats-new.php";
}

CInstantUpdateMessage::CInstantUpdateMessage(CWnd* pParent)
    : CDialog(IDD_INSTANT_UPDATE, pParent), m_strLinkURL(kWhatsNewPage) {}

BOOL CInstantUpdateMessage::OnInitDialog() {
  CDialog::OnInitDialog();
  ::MessageBeep(MB_ICONQUESTION);
  m_link.SetURL(m_strLinkURL);
  m_link.SubclassDlgItem(IDC_UPDATE_LINK, this);
  m_link.SetLinkOptions(0, CMyHyperLink::kUnderline | CMyHyperLink::kHoverColour);
  m_styleSheet.ApplyFont("Title", this, IDC_UPDATE_TITLE);
  return TRUE;
}
