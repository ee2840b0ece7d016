// CPostingUpdateUi: the worker's side of the update dialog. Each call becomes a message posted
// to the dialog window, so the worker never touches a control; the dialog's handlers update
// the controls on the user-interface thread. Texts travel as heap copies in lParam, which the
// handler takes over and deletes (TakePostedText), so the worker may change its own copy at
// once. The confirmation dialog and the message box run on the worker thread through the
// functions given.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "updater/update/UpdateUi.h"

enum UpdateDialogMessage : UINT {
  WM_UPD_STATUS = WM_USER + 222,     // wParam: string id
  WM_UPD_DETAIL = WM_USER + 223,     // wParam: string id
  WM_UPD_FILE = WM_USER + 224,       // lParam: the file's path (heap text)
  WM_UPD_PROGRESS = WM_USER + 225,   // wParam: percent 0..100
  WM_UPD_FINISH = WM_USER + 226,     // end the dialog with IDOK
  WM_UPD_TIME_LEFT = WM_USER + 227,  // lParam: seconds left
  WM_UPD_RATE = WM_USER + 228,       // lParam: bytes per second
  WM_UPD_HOST = WM_USER + 229,       // lParam: the server host (heap text)
};

// The text of a WM_UPD_FILE or WM_UPD_HOST message; the message's copy is freed.
std::string TakePostedText(LPARAM lParam);

class CPostingUpdateUi : public UpdateUi {
 public:
  using ConfirmFunction =
      std::function<bool(const CFileInfoTable&, const std::vector<std::string>&)>;
  using MessageFunction = std::function<void(int stringId)>;

  CPostingUpdateUi(HWND dialog, ConfirmFunction confirm, MessageFunction message,
                   std::function<void()> stopAnimation = nullptr);

  void PostStatus(int stringId) override;
  void SetStatusOnly(int stringId) override;
  void ShowCurrentFile(const std::string& path) override;
  void SetProgress(int percent) override;
  void SetTransferRate(uint32_t bytesPerSecond, uint32_t secondsLeft) override;
  void ShowHost(const std::string& host) override;
  bool ConfirmUpdates(const CFileInfoTable& table, const std::vector<std::string>& names) override;
  void ShowMessage(int stringId) override;
  void StopAnimation() override;
  void Finish() override;

 private:
  void PostText(UINT message, const std::string& text);
  HWND m_dialog;
  ConfirmFunction m_confirm;
  MessageFunction m_message;
  std::function<void()> m_stopAnimation;
};
