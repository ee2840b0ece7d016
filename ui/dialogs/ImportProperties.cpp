#include "ui/dialogs/ImportProperties.h"

#include <cctype>
#include <cstdio>
#include <memory>

#include "app/services/AppPaths.h"
#include "app/services/AppServices.h"
#include "app/settings/ProxySettings.h"
#include "foundation/net/SockHttpClient.h"
#include "framework/threads/CriticalSection.h"
#include "framework/app/MessageBox.h"
#include "framework/threads/WinThread.h"
#include "framework/wnd/MessageMap.h"
#include "resources/resource.h"

namespace {

// The worker's report to the dialog; the dialog frees it (the worker, when it cannot be posted).
const UINT WM_IMPORT_DONE = WM_APP + 340;

const char kImportFileName[] = "import.html";
// The title and the meta tags sit at the top of a page: a page past this size is read only so
// far, so that a server sending without end cannot exhaust the memory.
const size_t kMaxPageBytes = 8u << 20;

// The HTTP client of the fetch under way, or none. The worker deletes the client while the
// user-interface thread may be aborting it: both take the lock, so the abort never reaches a
// freed client.
CSockHttpClient* ActiveImportClient = nullptr;
CCriticalSection g_activeLock;

struct ImportJob {
  CString url;
  CString folder;
  HWND dialog = nullptr;
  CSockHttpClient* client = nullptr;
};

struct ImportResult {
  bool fetched = false;
  bool aborted = false;
  CString title;
  CString description;
  CString keywords;
};

std::string ReadFileHead(const CString& path) {
  std::string content;
  FILE* file = std::fopen(path, "rb");
  if (!file) return content;
  char buffer[16384];
  size_t got;
  while (content.size() < kMaxPageBytes && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    content.append(buffer, got);
  std::fclose(file);
  if (content.size() > kMaxPageBytes) content.resize(kMaxPageBytes);
  return content;
}

CString ReplaceAmp(std::string text) {
  CString value(text.c_str());
  value.Replace("&amp;", "&");
  return value;
}

// The value of a meta tag: from valueOffset after the tag's start to the nearest end mark found
// from the tag's start. A tag without its content attribute ends before its value would start;
// it gives no value rather than a cut of negative length.
std::string MetaValue(const std::string& text, const std::string& lower, const char* tagStart,
                      size_t valueOffset) {
  size_t tag = lower.find(tagStart);
  if (tag == std::string::npos) return std::string();
  size_t end = std::string::npos;
  for (const char* mark : {"\">", "\" >", "\"/>", "\" />"}) {
    size_t at = lower.find(mark, tag);
    if (at < end) end = at;
  }
  size_t start = tag + valueOffset;
  if (end == std::string::npos || end < start) return std::string();
  return text.substr(start, end - start);
}

UINT ImportWorker(LPVOID param) {
  std::unique_ptr<ImportJob> job(static_cast<ImportJob*>(param));
  CSockHttpClient* client = job->client;
  ApplyProxySettings(*client);
  client->SetRequestHeader("Accept",
                           "application/vnd.ms-excel, application/msword, "
                           "application/vnd.ms-powerpoint, application/x-comet, */*");
  client->SetRequestHeader("User-Agent", "Mozilla/4.0 (compatible; MSIE 4.01; Windows 98)");
  client->SetRequestHeader("Connection", "close");
  client->SetDownloadFolder(CLibString(job->folder.GetString()));

  long received = client->DownloadFile(CLibString(job->url.GetString()), kImportFileName);
  long length = client->GetResponseHeader("content-length").ToInt();
  auto* result = new ImportResult;
  result->aborted = client->IsAborted();
  result->fetched = !result->aborted && client->GetStatus() == 200 &&
                    (length < 1 || length == received);
  if (result->fetched) {
    CImportProperties::ReadPage(ReadFileHead(job->folder + kImportFileName), result->title,
                                result->description, result->keywords);
  }

  g_activeLock.Lock();
  if (ActiveImportClient == client) ActiveImportClient = nullptr;
  g_activeLock.Unlock();
  delete client;

  if (!::PostMessageA(job->dialog, WM_IMPORT_DONE, 0, reinterpret_cast<LPARAM>(result)))
    delete result;
  return 0;
}

}  // namespace

BEGIN_MESSAGE_MAP(CImportProperties, CDialog)
  ON_COMMAND(IDC_IMPORT_START, OnImport)
  ON_MESSAGE(WM_IMPORT_DONE, OnImportDone)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CImportProperties::CImportProperties(CWnd* pParent) : CDialog(IDD_IMPORT_PROPERTIES, pParent) {}

CImportProperties::~CImportProperties() = default;

void CImportProperties::ReadPage(const std::string& page, CString& title, CString& description,
                                 CString& keywords) {
  std::string text;
  text.reserve(page.size());
  for (char ch : page)
    if (ch != '\r' && ch != '\n') text += ch;
  std::string lower(text);
  for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));

  title.Empty();
  size_t start = lower.find("<title>");
  size_t end = lower.find("</title>");
  if (start != std::string::npos && end != std::string::npos && end > start && end - start > 7)
    title = ReplaceAmp(text.substr(start + 7, end - start - 7));

  // The tag start, a blank, content=" and the value: 24 + 10 and 21 + 10 characters on.
  description = ReplaceAmp(MetaValue(text, lower, "<meta name=\"description\"", 34));
  keywords = MetaValue(text, lower, "<meta name=\"keywords\"", 31).c_str();
}

bool CImportProperties::IsImportRunning() {
  g_activeLock.Lock();
  bool running = ActiveImportClient != nullptr;
  g_activeLock.Unlock();
  return running;
}

void CImportProperties::AbortImport() {
  g_activeLock.Lock();
  if (ActiveImportClient) ActiveImportClient->Abort();
  g_activeLock.Unlock();
}

BOOL CImportProperties::OnInitDialog() {
  CDialog::OnInitDialog();
  if (!m_strCaption.IsEmpty()) SetWindowText(m_strCaption);
  SetDlgItemText(IDC_IMPORT_URL, m_strURL);
  return TRUE;
}

void CImportProperties::OnImport() {
  if (m_bFetching) return;
  m_strTitle.Empty();
  m_strDescription.Empty();
  m_strKeywords.Empty();
  GetDlgItemText(IDC_IMPORT_URL, m_strURL);

  auto* client = new CSockHttpClient(8);
  g_activeLock.Lock();
  bool busy = ActiveImportClient != nullptr;
  if (!busy) ActiveImportClient = client;
  g_activeLock.Unlock();
  if (busy) {
    // Another window's fetch has not ended yet: both would write the same file.
    delete client;
    ::MessageBeep(MB_ICONEXCLAMATION);
    return;
  }

  auto* job = new ImportJob;
  job->url = m_strURL;
  job->folder = GetAppFolder();
  job->dialog = m_hWnd;
  job->client = client;
  if (CWnd* button = GetDlgItem(IDC_IMPORT_START)) button->EnableWindow(FALSE);
  SetDlgItemText(IDC_IMPORT_STATUS, LoadResString(IDS_IMPORT_READING));
  m_bFetching = true;
  if (!AfxBeginThread(ImportWorker, job)) {
    g_activeLock.Lock();
    ActiveImportClient = nullptr;
    g_activeLock.Unlock();
    delete client;
    delete job;
    m_bFetching = false;
    SetDlgItemText(IDC_IMPORT_STATUS, "");
    if (CWnd* button = GetDlgItem(IDC_IMPORT_START)) button->EnableWindow(TRUE);
  }
}

LRESULT CImportProperties::OnImportDone(WPARAM, LPARAM lParam) {
  std::unique_ptr<ImportResult> result(reinterpret_cast<ImportResult*>(lParam));
  m_bFetching = false;
  if (CWnd* button = GetDlgItem(IDC_IMPORT_START)) button->EnableWindow(FALSE);
  SetDlgItemText(IDC_IMPORT_STATUS, "");
  if (result->fetched) {
    m_strTitle = result->title;
    m_strDescription = result->description;
    m_strKeywords = result->keywords;
    EndDialog(IDOK);
    return 0;
  }
  if (!result->aborted) AfxMessageBox(IDS_IMPORT_FAILED, MB_OK | MB_ICONINFORMATION);
  EndDialog(IDCANCEL);
  return 0;
}

void CImportProperties::OnOK() {
  if (m_bFetching) AbortImport();
  CDialog::OnOK();
}

void CImportProperties::OnCancel() {
  if (m_bFetching) {
    AbortImport();
    return;
  }
  CDialog::OnCancel();
}

// A worker still running when the window goes is stopped; it reports to a window that is gone,
// which it survives (it frees its own report when the post fails).
void CImportProperties::OnDestroy() {
  if (m_bFetching) AbortImport();
  m_bFetching = false;
  CDialog::OnDestroy();
}
