#include "updater/dialogs/ZBUpdateDlg.h"

#include <cstdio>

#include "framework/app/AfxResource.h"
#include "framework/threads/WinThread.h"
#include "framework/dialogs/DataExchange.h"
#include "resources/resource.h"
#include "updater/dialogs/ConfirmUpdate.h"
#include "updater/update/PostingUpdateUi.h"
#include "updater/update/UpdateIds.h"
#include "updater/update/UpdateTexts.h"

static_assert(IDS_UPD_READY == IDS_UPDATE_READY && IDS_UPD_DONE == IDS_UPDATE_DONE &&
                  IDS_UPD_INSTALL_FAILED == IDS_UPDATE_INSTALL_FAILED,
              "the worker's string ids are the language module's");

namespace {
const UINT kAnimation = IDR_UPDATE_ANIMATION;
}

BEGIN_MESSAGE_MAP(CZBUpdateDlg, CDialog)
  ON_WM_CLOSE()
  ON_MESSAGE(WM_UPD_STATUS, OnStatus)
  ON_MESSAGE(WM_UPD_DETAIL, OnDetail)
  ON_MESSAGE(WM_UPD_FILE, OnFile)
  ON_MESSAGE(WM_UPD_PROGRESS, OnProgress)
  ON_MESSAGE(WM_UPD_FINISH, OnFinish)
  ON_MESSAGE(WM_UPD_TIME_LEFT, OnTimeLeft)
  ON_MESSAGE(WM_UPD_RATE, OnRate)
  ON_MESSAGE(WM_UPD_HOST, OnHost)
END_MESSAGE_MAP()

CZBUpdateDlg::CZBUpdateDlg(const UpdateSettings& settings, ServerStore& servers, CWnd* pParent)
    : CDialog(IDD_ZBUPDATE_DIALOG, pParent), m_settings(settings), m_servers(servers) {}

CZBUpdateDlg::~CZBUpdateDlg() {
  JoinWorker();
}

// Normally the worker has already ended: its last act ended the dialog.
void CZBUpdateDlg::JoinWorker() {
  if (!m_thread) return;
  m_worker->Cancel();
  // The worker's last windows (a message box, the confirmation list) may still send to this
  // thread's windows while they close, so the wait serves sent messages; a plain wait would
  // leave both threads waiting on each other.
  HANDLE thread = m_thread->m_hThread;
  while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) ==
         WAIT_OBJECT_0 + 1) {
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  delete m_thread;
  m_thread = nullptr;
}

UINT CZBUpdateDlg::WorkerMain(LPVOID param) {
  static_cast<CUpdateWorker*>(param)->Run();
  return 0;
}

void CZBUpdateDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_UPDATE_ANIMATE, m_animate);
  DDX_Control(pDX, IDC_UPDATE_PROGRESS, m_progress);
}

BOOL CZBUpdateDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_ZBUPDATE));
  if (!m_icon) m_icon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
  m_progress.SetRange(0, 100);
  // A module without the clip still updates; the control just stays empty.
  // Without a clip the control is never told to stop: some versions of it fail on that.
  m_playing = m_animate.Open(kAnimation) && m_animate.Play(0, 0xFFFF, static_cast<UINT>(-1));
  StartWorker();
  return TRUE;
}

void CZBUpdateDlg::StartWorker() {
  HWND self = m_hWnd;
  HWND animation = m_playing ? m_animate.m_hWnd : nullptr;
  m_ui = std::make_unique<CPostingUpdateUi>(
      self,
      [](const CFileInfoTable& table, const std::vector<std::string>& names) {
        CConfirmUpdate confirm(table, names);
        return confirm.DoModal() == IDOK;
      },
      [this](int id) { ShowUpdateMessage(id); },
      // Posted: the user-interface thread may be busy, and stopping must never wait for it.
      [animation] {
        if (animation) ::PostMessageA(animation, ACM_STOP, 0, 0);
      });
  m_worker = std::make_unique<CUpdateWorker>(m_settings, m_servers, *m_ui);
  // A framework thread: the confirmation dialog runs modally on it.
  m_thread = AfxBeginThread(WorkerMain, m_worker.get(), THREAD_PRIORITY_NORMAL, 0,
                            CREATE_SUSPENDED);
  if (!m_thread) {
    EndDialog(IDCANCEL);
    return;
  }
  m_thread->m_bAutoDelete = FALSE;
  m_thread->ResumeThread();
}

// Called on the worker thread. The box has no owner: owning the dialog of another thread would
// tie the two threads' input together while the dialog keeps taking the worker's messages.
void CZBUpdateDlg::ShowUpdateMessage(int stringId) {
  ::MessageBoxA(nullptr, AfxLoadString(stringId).c_str(),
                AfxLoadString(IDS_UPDATE_CAPTION).c_str(), MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}

void CZBUpdateDlg::OnCancel() {
  if (m_worker) m_worker->Cancel();
}

void CZBUpdateDlg::OnClose() {
  OnCancel();
}

BOOL CZBUpdateDlg::DestroyWindow() {
  if (m_playing) {
    m_animate.Stop();
    m_animate.Close();
  }
  JoinWorker();
  // Texts still queued for handlers that will never run.
  MSG msg;
  while (::PeekMessageA(&msg, m_hWnd, WM_UPD_FILE, WM_UPD_FILE, PM_REMOVE)) TakePostedText(msg.lParam);
  while (::PeekMessageA(&msg, m_hWnd, WM_UPD_HOST, WM_UPD_HOST, PM_REMOVE)) TakePostedText(msg.lParam);
  return CDialog::DestroyWindow();
}

void CZBUpdateDlg::SetItemText(int id, const std::string& text) {
  ::SetDlgItemTextA(m_hWnd, id, text.c_str());
}

LRESULT CZBUpdateDlg::OnStatus(WPARAM wParam, LPARAM) {
  SetItemText(IDC_UPDATE_STATUS, AfxLoadString(static_cast<UINT>(wParam)));
  return 0;
}

LRESULT CZBUpdateDlg::OnDetail(WPARAM wParam, LPARAM) {
  SetItemText(IDC_UPDATE_DETAIL, AfxLoadString(static_cast<UINT>(wParam)));
  return 0;
}

LRESULT CZBUpdateDlg::OnFile(WPARAM, LPARAM lParam) {
  std::string path = TakePostedText(lParam);
  if (!path.empty()) SetItemText(IDC_UPDATE_DETAIL, path);
  return 0;
}

LRESULT CZBUpdateDlg::OnProgress(WPARAM wParam, LPARAM) {
  m_progress.SetPos(static_cast<int>(wParam > 100 ? 100 : wParam));
  return 0;
}

LRESULT CZBUpdateDlg::OnFinish(WPARAM, LPARAM) {
  EndDialog(IDOK);
  return 0;
}

std::string CZBUpdateDlg::RateLine(uint32_t bytesPerSecond) {
  static const UINT kUnits[] = {IDS_RATE_BYTES, IDS_RATE_KILOBYTES, IDS_RATE_MEGABYTES};
  RateText rate = FormatRate(bytesPerSecond);
  return rate.number + AfxLoadString(kUnits[rate.unit]);
}

std::string CZBUpdateDlg::TimeLeftLine(uint32_t secondsLeft) {
  TimeLeft left = ComputeTimeLeft(secondsLeft, 0, 1);
  if (left.underAMinute) return AfxLoadString(IDS_TIME_LEFT_MINUTE);
  std::string format = AfxLoadString(IDS_TIME_LEFT);
  char text[256];
  std::snprintf(text, sizeof text, format.c_str(), static_cast<int>(left.hours),
                static_cast<int>(left.minutes));
  return text;
}

LRESULT CZBUpdateDlg::OnTimeLeft(WPARAM wParam, LPARAM lParam) {
  SetItemText(IDC_UPDATE_TIME_LEFT, wParam ? "" : TimeLeftLine(static_cast<uint32_t>(lParam)));
  return 0;
}

LRESULT CZBUpdateDlg::OnRate(WPARAM wParam, LPARAM lParam) {
  SetItemText(IDC_UPDATE_RATE, wParam ? "" : RateLine(static_cast<uint32_t>(lParam)));
  return 0;
}

LRESULT CZBUpdateDlg::OnHost(WPARAM, LPARAM lParam) {
  SetItemText(IDC_UPDATE_HOST, TakePostedText(lParam));
  return 0;
}
