// Interim window side of a run, until the engine view and the frame's run windows are merged:
// a hidden window registered for the document's broadcasts that takes the finish of an
// automated run (hint 124) to FinishAutomatedRun and releases the engine-event records it is
// given; and the run windows the run control talks to (progress, questions, the close of the
// main window). The engine view takes over hint 124 and the frame the run windows; this file
// then goes.
#pragma once
#include <windows.h>

#include "app/run/RunViews.h"

class CZubrinDoc;

class CAutomatedRunReceiver {
 public:
  // Makes the hidden window and registers it; false when the system refused the window.
  static bool Create();
  static void Destroy();
  static HWND GetWindow();
};

class CInterimRunViews : public IRunViews {
 public:
  std::vector<CString> SelectedEngines() override { return {}; }
  void BeginProgress(UINT upper, UINT lower, UINT captionId) override;
  void StepProgress() override;
  void EndProgress() override;
  int Ask(UINT messageId, UINT type) override;
  // The missing-information dialog is not built yet: the submission does not start.
  bool ShowMissingInfo(const CNVList&) override { return false; }
  // The update notice is not built yet: no update is started unasked.
  bool ShowUpdateNotice() override { return false; }
  void RefreshEngineRow(const CString&) override {}
  void ReportRunFailure(RunFailure failure) override;
  void PostCloseMainWindow() override;
  // The main window the close goes to, recorded on the user-interface thread.
  void SetMainWindow(HWND window) { m_main = window; }

 private:
  HWND m_main = nullptr;
};
