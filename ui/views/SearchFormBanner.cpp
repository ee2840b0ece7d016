// The search form's banner: while a run lasts, a worker fetches a picture from the banner
// servers; the form shows it in place of its fields, animates it, fetches the next one when its
// display time is over, and opens its click-through address when it is clicked.
#include "ui/views/SearchFormBanner.h"

#include <cctype>

#include "app/services/AppPaths.h"
#include "app/program/NQCommandLineInfo.h"
#include "app/settings/ProxySettings.h"
#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/UpdateBroadcast.h"
#include "engines/sets/EngineSet.h"
#include "foundation/cgi/CgiEnvironment.h"
#include "foundation/core/ScrambleCoder.h"
#include "foundation/net/SockHttpClient.h"
#include "foundation/os/UrlLink.h"
#include "framework/app/AfxResource.h"
#include "framework/app/WinApp.h"
#include "resources/resource.h"
#include "ui/gif/GifImage.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchFormHints.h"

namespace {

const char kServerSection[] = "Banner Servers";
// The maker's web site, where no server is stored.
const char kDefaultServer[] = "http://www.orvandel-labs.example/";
// The key of the scrambling of the request's values; the servers know it too.
const char kRequestToken[] = "Kq7vNw2pXr4tLm9sHd3jYc6fBz8gTa5eU";
const UINT kShortDisplay = 1000;     // display times up to this are not taken...
const UINT kDefaultDisplay = 2000;   // ...and this one is used
const int kShortDisplaysAtMost = 6;  // in a row; then the banner stays until the run ends

UINT g_retryDelay = 30000;
UINT g_defaultDisplay = kDefaultDisplay;
int g_shortDisplays = 0;  // banners in a row without a usable display time
BannerOpenFunction g_openBanner = nullptr;

// The header list is written by the worker and read by the form's thread.
CRITICAL_SECTION& HeaderLock() {
  static CRITICAL_SECTION lock;
  static const bool made = (::InitializeCriticalSection(&lock), true);
  (void)made;
  return lock;
}

class Lock {
 public:
  explicit Lock(CRITICAL_SECTION& section) : m_section(section) { ::EnterCriticalSection(&m_section); }
  ~Lock() { ::LeaveCriticalSection(&m_section); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CRITICAL_SECTION& m_section;
};

CString HeaderValue(const char* name) {
  Lock lock(HeaderLock());
  return CString(GetBannerHeaders().GetValue(name).c_str());
}

}  // namespace

CNVList& GetBannerServers() {
  static CNVList servers;
  return servers;
}

void LoadBannerServers() {
  CNVList& servers = GetBannerServers();
  servers.RemoveAll();
  CWinApp* app = AfxGetApp();
  int count = app ? static_cast<int>(app->GetProfileInt(kServerSection, "Count", 1)) : 1;
  for (int i = 0; i < count; ++i) {
    CString name;
    name.Format("Server%d", i);
    CString value = app ? app->GetProfileString(kServerSection, name, kDefaultServer)
                        : CString(kDefaultServer);
    servers.SetAt(name.GetString(), value.GetString());
  }
}

CNVList& GetBannerHeaders() {
  static CNVList headers;
  return headers;
}

const CString& GetBannerFilePath() {
  static const CString path = GetAppFolder() + "zbban.gif";
  return path;
}

CString MakeBannerRequestUrl(const CString& server, const CString& language, const CString& term,
                             const CString& mode) {
  CScrambleCoder coder(kRequestToken);
  CCgiEnvironment query;
  query.SetCoder(&coder);
  query.SetAt("lang", language.GetString());
  query.SetAt("kw", term.GetString());
  query.SetAt("cl", mode.GetString());
  return server + "cgi-bin/getbanner.cgi?" + query.BuildQuery().c_str();
}

CString MakeBannerClickUrl(const CString& server, const CString& bannerId) {
  CString id(CCgiEnvironment::UrlEncodeValue(bannerId.GetString()).c_str());
  return server + "cgi-bin/clickbanner.cgi?banner_id=" + id;
}

BannerOpenFunction SetBannerOpenFunction(BannerOpenFunction function) {
  BannerOpenFunction previous = g_openBanner;
  g_openBanner = function;
  return previous;
}

void CSearchForm::SetBannerRetryDelay(UINT ms) { g_retryDelay = ms; }

void CSearchForm::SetBannerDefaultDisplay(UINT ms) {
  g_defaultDisplay = ms;
  g_shortDisplays = 0;
}

// ---- run start and end ----

void CSearchForm::StartBanner() {
  const bool wasActive = m_bRunActive || m_bBannerActive;
  // Set once per run: a worker of this run may be reading it.
  if (!wasActive) m_strBannerMode = GetSearchProperties().m_nBannersOn ? "0" : "";
  const NQCommandLineInfo* commandLine = GetCommandLineInfo();
  const bool automated = commandLine && commandLine->m_bAuto;
  if (!m_strBannerMode.IsEmpty() && !wasActive && !automated)
    ::PostMessageA(m_hWnd, WM_ZB_UPDATE, HINT_BANNER_FETCH, 0);
  m_bBannerActive = true;
}

void CSearchForm::StopBanner() {
  m_bBannerActive = false;
  if (m_hBannerThread) {
    HCURSOR old = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    // Aborted again on every turn: a client that was between two connections when first
    // aborted starts its next one afresh.
    while (::WaitForSingleObject(m_hBannerThread, 100) == WAIT_TIMEOUT) {
      Lock lock(m_bannerLock);
      if (m_pBannerClient) m_pBannerClient->Abort();
    }
    ::SetCursor(old);
    ::CloseHandle(m_hBannerThread);
    m_hBannerThread = nullptr;
  }
  if (m_hWnd) {
    KillTimer(kRotationTimer);
    KillTimer(kAnimationTimer);
  }
  m_nBannerRotation = 0;
  const bool shown = m_pBanner != nullptr;
  FreeBannerPicture();
  m_rcBanner.SetRectEmpty();
  if (shown && m_hWnd) Invalidate();
}

// ---- the worker ----

void CSearchForm::StartBannerWorker() {
  if (!m_bBannerActive) return;
  if (m_hBannerThread) {
    // One fetch at a time: a rotation that comes while one is under way waits for the next.
    if (::WaitForSingleObject(m_hBannerThread, 0) == WAIT_TIMEOUT) return;
    ::CloseHandle(m_hBannerThread);
    m_hBannerThread = nullptr;
  }
  CZubrinDoc* doc = GetDocument();
  m_strBannerTerm = doc && doc->m_currentSet ? doc->m_currentSet->m_name : CString();
  m_hBannerThread = ::CreateThread(nullptr, 0, BannerThreadProc, this, 0, nullptr);
}

DWORD WINAPI CSearchForm::BannerThreadProc(LPVOID param) {
  static_cast<CSearchForm*>(param)->RunBannerWorker();
  return 0;
}

void CSearchForm::RunBannerWorker() {
  {
    Lock lock(m_bannerLock);
    m_strBannerServer.Empty();
  }
  CSockHttpClient* client = new CSockHttpClient();
  ApplyProxySettings(*client);
  client->SetDownloadFolder(GetAppFolder().GetString());
  {
    Lock lock(m_bannerLock);
    m_pBannerClient = client;
  }
  CNVList& servers = GetBannerServers();
  const int count = static_cast<int>(servers.GetCount());
  bool tried = false;
  bool success = false;
  for (int i = 0; i < count && m_bBannerActive; ++i) {
    CString name;
    name.Format("Server%d", i);
    CString server(servers.GetValue(name.GetString()).c_str());
    {
      Lock lock(m_bannerLock);
      m_strBannerServer = server;
    }
    CString url = MakeBannerRequestUrl(server, GetLanguageCode(), m_strBannerTerm, m_strBannerMode);
    tried = true;
    long stored = client->DownloadFile(url.GetString(), "zbban.gif");
    long length = atol(client->GetResponseHeader("content-length").c_str());
    // The client reports a cut-short body as 0 bytes; a positive count that matches the length
    // is a whole banner. A failure status ends the round; a short one asks the next server.
    if (stored > 0 && stored == length) {
      success = true;
      break;
    }
    if (stored < 0) break;
  }
  if (success || count == 0) {
    {
      Lock lock(HeaderLock());
      GetBannerHeaders().Copy(client->GetResponseHeaders());
    }
    if (m_bBannerActive) ::PostMessageA(m_hWnd, WM_ZB_UPDATE, HINT_BANNER_READY, 0);
  } else if (tried && m_bBannerActive) {
    ::PostMessageA(m_hWnd, WM_ZB_BANNER_RETRY, 0, 0);
  }
  {
    Lock lock(m_bannerLock);
    m_pBannerClient = nullptr;
  }
  delete client;
}

LRESULT CSearchForm::OnBannerRetry(WPARAM, LPARAM) {
  if (m_bBannerActive) {
    m_nBannerRotation = g_retryDelay;
    SetTimer(kRotationTimer, g_retryDelay, nullptr);
  }
  return 0;
}

// ---- the picture ----

void CSearchForm::FreeBannerPicture() {
  if (m_hWnd) KillTimer(kAnimationTimer);
  m_pBanner.reset();
  m_nBannerFrame = 0;
  m_nBannerDrawn = -1;
}

void CSearchForm::CentreBanner() {
  if (!m_pBanner) return;
  CRect client;
  GetClientRect(&client);
  const GifScreen& screen = m_pBanner->GetScreen();
  int x = (client.Width() - screen.width) / 2;
  int y = (client.Height() - screen.height) / 2;
  m_rcBanner = CRect(x, y, x + screen.width, y + screen.height);
}

void CSearchForm::ShowBanner() {
  if (!m_pBanner) {
    for (int id : {IDC_FORM_SITE_URL, IDC_FORM_SEARCH_TERM})
      if (HWND edit = ::GetDlgItem(m_hWnd, id)) ::ShowWindow(edit, SW_HIDE);
  }
  FreeBannerPicture();
  CString server;
  {
    Lock lock(m_bannerLock);
    server = m_strBannerServer;
  }
  m_strClickUrl = MakeBannerClickUrl(server, HeaderValue("bannerid"));
  m_pBanner = std::make_unique<GifImage>();
  m_pBanner->Load(GetBannerFilePath());  // a picture that does not load draws nothing
  CentreBanner();
  Invalidate();
  SetTimer(kAnimationTimer, 10, nullptr);

  UINT display = static_cast<UINT>(atoi(HeaderValue("bannertime"))) * 1000;
  if (display <= kShortDisplay) {
    display = g_defaultDisplay;
    if (++g_shortDisplays > kShortDisplaysAtMost) display = 0;
  } else {
    g_shortDisplays = 0;
  }
  m_nBannerRotation = display;
  if (display) SetTimer(kRotationTimer, display, nullptr);
}

void CSearchForm::DrawBannerFrame(HDC dc, int index) {
  GifFrameInfo info;
  if (!m_pBanner || !m_pBanner->GetFrameInfo(index, &info)) return;
  // Black where the frame is transparent, so that OR leaves the form's background there.
  HBITMAP image = m_pBanner->GetFrameBitmap(dc, index, RGB(0, 0, 0));
  HBITMAP mask = m_pBanner->GetFrameMask(index, info);
  HDC memory = ::CreateCompatibleDC(dc);
  if (image && mask && memory) {
    const int x = m_rcBanner.left + info.left;
    const int y = m_rcBanner.top + info.top;
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    HGDIOBJ old = ::SelectObject(memory, mask);
    ::BitBlt(dc, x, y, info.width, info.height, memory, 0, 0, SRCAND);
    ::SelectObject(memory, image);
    ::BitBlt(dc, x, y, info.width, info.height, memory, 0, 0, SRCPAINT);
    ::SelectObject(memory, old);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
  }
  if (memory) ::DeleteDC(memory);
  if (image) ::DeleteObject(image);
  if (mask) ::DeleteObject(mask);
  m_nBannerDrawn = index;
}

// ---- timers and the mouse ----

void CSearchForm::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent == kRotationTimer) {
    KillTimer(kRotationTimer);
    m_nBannerRotation = 0;
    ::PostMessageA(m_hWnd, WM_ZB_UPDATE, HINT_BANNER_FETCH, 0);
    return;
  }
  if (nIDEvent != kAnimationTimer) {
    CFormView::OnTimer(nIDEvent);
    return;
  }
  const int frames = m_pBanner ? m_pBanner->GetFrameCount() : 0;
  if (frames == 0) {
    KillTimer(kAnimationTimer);
    return;
  }
  const int index = m_nBannerFrame < frames ? m_nBannerFrame : 0;
  HDC dc = ::GetDC(m_hWnd);
  DrawBannerFrame(dc, index);
  ::ReleaseDC(m_hWnd, dc);
  if (frames == 1) {
    KillTimer(kAnimationTimer);
    return;
  }
  GifFrameInfo info;
  m_pBanner->GetFrameInfo(index, &info);
  m_nBannerFrame = (index + 1) % frames;
  SetTimer(kAnimationTimer, info.delay * 10u, nullptr);
}

void CSearchForm::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_pBanner && m_rcBanner.PtInRect(point)) {
    HCURSOR hand = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_BANNER_HAND));
    ::SetCursor(hand ? hand : ::LoadCursorA(nullptr, IDC_HAND));
  }
  CFormView::OnMouseMove(nFlags, point);
}

void CSearchForm::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_pBanner && m_rcBanner.PtInRect(point) && !m_strClickUrl.IsEmpty()) {
    HCURSOR hand = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_BANNER_HAND));
    ::SetCursor(hand ? hand : ::LoadCursorA(nullptr, IDC_HAND));
    if (g_openBanner)
      g_openBanner(m_strClickUrl);
    else
      CUrlLink::Open(m_strClickUrl);
  }
  CFormView::OnLButtonUp(nFlags, point);
}
