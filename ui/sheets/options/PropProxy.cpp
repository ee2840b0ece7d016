// The Proxy page: a proxy server by hand, or the system's proxy found by itself.
#include "app/settings/SearchProperties.h"
#include "framework/app/MessageBox.h"
#include "framework/dialogs/DataExchange.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"
#include "ui/sheets/options/OptionsPages.h"

namespace {
// The server, port and log-on fields with their labels, switched on and off together.
const int kProxyFields[] = {IDC_OPT_PROXY_SERVER,       IDC_OPT_PROXY_PORT,
                            IDC_OPT_PROXY_USER,         IDC_OPT_PROXY_PASSWORD,
                            IDC_OPT_PROXY_SERVER_LABEL, IDC_OPT_PROXY_PORT_LABEL,
                            IDC_OPT_PROXY_USER_LABEL,   IDC_OPT_PROXY_PASSWORD_LABEL,
                            IDC_OPT_PROXY_LOGON_GROUP};
}  // namespace

BEGIN_MESSAGE_MAP(CPropProxy, COptionsPage)
  ON_BN_CLICKED(IDC_OPT_USE_PROXY, OnUseProxy)
  ON_BN_CLICKED(IDC_OPT_AUTO_DETECT, OnAutoDetect)
END_MESSAGE_MAP()

CPropProxy::CPropProxy() : COptionsPage(IDD_PROP_PROXY, 3) {
  const CSearchProperties& s = Settings();
  m_nUseProxy = s.m_nUseProxy;
  // The detection is what the program's proxy set-up reads, so that the box does what it says.
  m_nAutoDetect = s.m_nAutoProxy;
  m_strProxyServer = s.m_strProxyServer;
  m_nProxyPort = static_cast<UINT>(s.m_nProxyPort);
  m_strProxyUser = s.m_strProxyUser;
  m_strProxyPassword = s.m_strProxyPassword;
}

BOOL CPropProxy::OnInitDialog() {
  COptionsPage::OnInitDialog();
  if (m_nAutoDetect) {
    EnableItem(IDC_OPT_USE_PROXY, FALSE);
    EnableFields(FALSE);
  } else {
    EnableFields(m_nUseProxy != 0);
  }
  return TRUE;
}

void CPropProxy::DoDataExchange(CDataExchange* pDX) {
  COptionsPage::DoDataExchange(pDX);
  DDX_Check(pDX, IDC_OPT_AUTO_DETECT, m_nAutoDetect);
  DDX_Check(pDX, IDC_OPT_USE_PROXY, m_nUseProxy);
  DDX_Text(pDX, IDC_OPT_PROXY_SERVER, m_strProxyServer);
  DDX_Text(pDX, IDC_OPT_PROXY_PORT, m_nProxyPort);
  DDX_Text(pDX, IDC_OPT_PROXY_USER, m_strProxyUser);
  DDX_Text(pDX, IDC_OPT_PROXY_PASSWORD, m_strProxyPassword);
}

void CPropProxy::EnableFields(BOOL bEnable) {
  for (int id : kProxyFields) EnableItem(id, bEnable);
}

void CPropProxy::OnUseProxy() {
  EnableFields(IsChecked(IDC_OPT_USE_PROXY));
}

void CPropProxy::OnAutoDetect() {
  if (IsChecked(IDC_OPT_AUTO_DETECT)) {
    EnableItem(IDC_OPT_USE_PROXY, FALSE);
    EnableFields(FALSE);
  } else {
    EnableItem(IDC_OPT_USE_PROXY, TRUE);
    EnableFields(IsChecked(IDC_OPT_USE_PROXY));
  }
}

BOOL CPropProxy::OnApply() {
  m_strProxyServer.TrimRight();
  if (m_nUseProxy && m_strProxyServer.IsEmpty()) {
    AfxMessageBox(IDP_PROXY_SERVER_MISSING, MB_OK | MB_ICONSTOP);
    return FALSE;
  }
  CSearchProperties& s = Settings();
  s.m_nAutoProxy = m_nAutoDetect;
  s.m_nUseProxy = m_nUseProxy;
  s.m_nProxyPort = static_cast<int>(m_nProxyPort);
  s.m_strProxyServer = m_strProxyServer;
  s.m_strProxyPassword = m_strProxyPassword;
  s.m_strProxyUser = m_strProxyUser;
  SaveAndBroadcast(kHintSettingsChanged);
  return TRUE;
}
