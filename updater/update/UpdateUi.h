// What the update worker needs of the windows: the update dialog and the confirmation dialog
// implement it (posting to the dialog from the worker thread), and the tests implement it with
// a double. Every call comes on the worker thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/update/FileInfo.h"

class UpdateUi {
 public:
  virtual ~UpdateUi() = default;
  // A new status line (string id); the detail line goes back to its idle text.
  virtual void PostStatus(int stringId) = 0;
  // Only the status line.
  virtual void SetStatusOnly(int stringId) = 0;
  // The file being fetched, tested or installed (full path).
  virtual void ShowCurrentFile(const std::string& path) = 0;
  // 0..100, already clamped.
  virtual void SetProgress(int percent) = 0;
  // Bytes per second, and the seconds left (never negative), while archives download.
  virtual void SetTransferRate(uint32_t bytesPerSecond, uint32_t secondsLeft) = 0;
  virtual void ShowHost(const std::string& host) = 0;
  // The files that need an update, for the user to confirm; true for OK.
  virtual bool ConfirmUpdates(const CFileInfoTable& table,
                              const std::vector<std::string>& names) = 0;
  // A message box with a string id.
  virtual void ShowMessage(int stringId) = 0;
  virtual void StopAnimation() = 0;
  // The worker is done; the dialog may end.
  virtual void Finish() = 0;
};
