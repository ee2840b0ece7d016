// CZBUpdateDlg: the update program's one window for its whole run. It starts the update worker
// on a thread of its own when it opens; the worker reports through posted messages whose
// handlers here fill in the controls, and only the worker ends the dialog (Cancel and closing
// the window ask the worker to stop).
#pragma once

#include <memory>
#include <string>

#include "framework/controls/AnimateCtrl.h"
#include "framework/controls/ProgressCtrl.h"
#include "framework/dialogs/Dialog.h"
#include "updater/update/UpdateWorker.h"

class CPostingUpdateUi;
class CWinThread;

class CZBUpdateDlg : public CDialog {
 public:
  CZBUpdateDlg(const UpdateSettings& settings, ServerStore& servers, CWnd* pParent = nullptr);
  ~CZBUpdateDlg() override;

  BOOL OnInitDialog() override;
  void OnCancel() override;
  BOOL DestroyWindow() override;
  void DoDataExchange(CDataExchange* pDX) override;

  // The texts the rate and time-left lines show.
  static std::string RateLine(uint32_t bytesPerSecond);
  static std::string TimeLeftLine(uint32_t secondsLeft);

  CAnimateCtrl m_animate;
  CProgressCtrl m_progress;

 protected:
  void OnClose();
  LRESULT OnStatus(WPARAM wParam, LPARAM lParam);
  LRESULT OnDetail(WPARAM wParam, LPARAM lParam);
  LRESULT OnFile(WPARAM wParam, LPARAM lParam);
  LRESULT OnProgress(WPARAM wParam, LPARAM lParam);
  LRESULT OnFinish(WPARAM wParam, LPARAM lParam);
  LRESULT OnTimeLeft(WPARAM wParam, LPARAM lParam);
  LRESULT OnRate(WPARAM wParam, LPARAM lParam);
  LRESULT OnHost(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void StartWorker();
  void JoinWorker();
  static UINT WorkerMain(LPVOID param);
  void SetItemText(int id, const std::string& text);
  void ShowUpdateMessage(int stringId);

  UpdateSettings m_settings;
  ServerStore& m_servers;
  std::unique_ptr<CPostingUpdateUi> m_ui;
  std::unique_ptr<CUpdateWorker> m_worker;
  CWinThread* m_thread = nullptr;
  HICON m_icon = nullptr;
  bool m_playing = false;
};
