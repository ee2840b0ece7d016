#include "updater/dialogs/ConfirmUpdate.h"

#include "framework/app/AfxResource.h"
#include "framework/app/WinApp.h"
#include "foundation/os/UrlLink.h"
#include "framework/dialogs/DataExchange.h"
#include "resources/resource.h"
#include "updater/update/UpdateTexts.h"
#include "updater/update/UpdateWorker.h"

namespace {
const char* const kDefaultWhatsNew = "http://www.orvandel-labs.invalid/zbpro/whatsnew.htm";
}

BEGIN_MESSAGE_MAP(CConfirmUpdate, CDialog)
  ON_NOTIFY(NM_DBLCLK, IDC_CONFIRM_LIST, OnDblclkList)
  ON_BN_CLICKED(IDC_CONFIRM_WHATSNEW, OnWhatsNew)
END_MESSAGE_MAP()

CConfirmUpdate::CConfirmUpdate(const CFileInfoTable& table, const std::vector<std::string>& names,
                               CWnd* pParent)
    : CDialog(IDD_CONFIRM_UPDATE, pParent), m_table(table), m_names(names) {}

void CConfirmUpdate::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CONFIRM_LIST, m_list);
  DDX_Text(pDX, IDC_CONFIRM_TOTAL, m_total);
}

const CFileInfo* CConfirmUpdate::Find(const std::string& name) const {
  for (const auto& entry : m_table)
    if (entry->m_name == name) return entry.get();
  return nullptr;
}

BOOL CConfirmUpdate::OnInitDialog() {
  CDialog::OnInitDialog();
  RECT client;
  ::GetClientRect(m_list.m_hWnd, &client);
  int w = client.right - client.left;
  m_list.InsertColumn(0, AfxLoadString(IDS_UPDATE_COL_DESC).c_str(), LVCFMT_LEFT, w / 2);
  m_list.InsertColumn(1, AfxLoadString(IDS_UPDATE_COL_FILE).c_str(), LVCFMT_LEFT, w / 4);
  m_list.InsertColumn(2, AfxLoadString(IDS_UPDATE_COL_SIZE).c_str(), LVCFMT_LEFT, w / 4);
  int row = 0;
  for (const std::string& name : m_names) {
    const CFileInfo* entry = Find(name);
    if (!entry) continue;
    m_list.InsertItem(row, entry->m_description.c_str());
    m_list.SetItemText(row, 1, entry->m_name.c_str());
    m_list.SetItemText(row, 2, FormatThousands(entry->m_size).c_str());
    m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(entry));
    ++row;
  }
  // The same total the progress bar counts against.
  uint64_t sum = CUpdateWorker::TotalOf(m_table, m_names);
  m_total = (FormatThousands(static_cast<int64_t>(sum)) + " " +
             AfxLoadString(IDS_UPDATE_BYTES_TOTAL))
                .c_str();
  UpdateData(FALSE);
  return TRUE;
}

std::string CConfirmUpdate::VersionsText(const CFileInfo& entry) {
  return std::string("Local Version: ") + static_cast<LPCSTR>(entry.m_localVersion.Format()) +
         "\nRemote Version: " + static_cast<LPCSTR>(entry.m_remoteVersion.Format());
}

void CConfirmUpdate::OnDblclkList(NMHDR* pNMHDR, LRESULT* pResult) {
  int item = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem;
  *pResult = 0;
  if (item < 0) return;
  const CFileInfo* entry = reinterpret_cast<const CFileInfo*>(m_list.GetItemData(item));
  if (entry)
    ::MessageBoxA(m_hWnd, VersionsText(*entry).c_str(),
                  AfxLoadString(IDS_UPDATE_CAPTION).c_str(), MB_OK);
}

void CConfirmUpdate::OnWhatsNew() {
  CWinApp* app = AfxGetApp();
  CString url = app ? app->GetProfileString("Help URLs", "WhatsNew", kDefaultWhatsNew)
                    : CString(kDefaultWhatsNew);
  // The shell first, then the ".htm" association; when neither starts the user is told why.
  CUrlLink::Open(url);
}
