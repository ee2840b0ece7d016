// What the update check and the start of the update program ask of the windows: the notice shown
// while the check runs, the offer of the update, the save question and the main window's close.
// The main frame implements it (through the run control's seam); tests put a double in its place.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>

// Shared by the user-interface thread and the check thread. The check thread keeps its own
// reference, so a thread that outlives a bounded wait never writes into freed memory.
struct UpdateCheckBlock {
  std::atomic<int32_t> cancel{0};  // 1: stop, set by the notice's Cancel or by the time limit
  std::atomic<int32_t> result{0};  // 1: an update is available
};

class IUpdateViews {
 public:
  virtual ~IUpdateViews() = default;
  // The modeless notice that a check is under way; its Cancel sets block->cancel. The check
  // pumps messages while it waits, so the notice stays live.
  virtual void ShowCheckingNotice(const std::shared_ptr<UpdateCheckBlock>& block) { (void)block; }
  virtual void CloseCheckingNotice() {}
  // The notice that an update is available; true when the user accepts it.
  virtual bool ShowUpdateNotice() = 0;
  // The save question for a modified document; false for Cancel. A window that does not ask
  // answers Cancel, so unsaved work is never thrown away unasked.
  virtual bool AskSaveModified() { return false; }
  // The update program could not be started: the text says why.
  virtual void ReportUpdateStartFailure(const char* text) { (void)text; }
  virtual void PostCloseMainWindow() = 0;  // any thread
};
