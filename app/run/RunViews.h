// What the run control asks of the windows: the main frame's progress bar, the engine view's
// selected rows, questions to the user and the run's dialogs. The main frame and the views
// implement it; the tests put a double in its place. Calls marked "any thread" must only post.
#pragma once
#include <windows.h>

#include <vector>

#include "app/update/UpdateViews.h"
#include "foundation/core/NVList.h"
#include "framework/core/String.h"

enum class RunFailure {
  RunThreadNotStarted,  // the system refused the run thread
  WaitFailed,           // the wait for the workers failed; the run was ended
};

class IRunViews : public IUpdateViews {
 public:
  virtual ~IRunViews() = default;
  // Names of the engine view's selected rows, in the view's order.
  virtual std::vector<CString> SelectedEngines() = 0;
  virtual void BeginProgress(UINT upper, UINT lower, UINT captionId) = 0;
  virtual void StepProgress() = 0;
  virtual void EndProgress() = 0;  // any thread
  // A message beep and a message box of the string id; the button pressed.
  virtual int Ask(UINT messageId, UINT type) = 0;
  // An exclamation beep and the missing-information dialog; true for OK.
  virtual bool ShowMissingInfo(const CNVList& missing) = 0;
  // The notice that an update is available; true when the user accepts it.
  virtual bool ShowUpdateNotice() = 0;
  // Rewrites the engine view's row of that engine (flag, date and count columns).
  virtual void RefreshEngineRow(const CString& name) = 0;
  virtual void ReportRunFailure(RunFailure failure) = 0;  // any thread
  virtual void PostCloseMainWindow() = 0;                 // any thread
  // The save-template dialog preset with the name; false when the user cancels.
  virtual bool AskTemplateName(CString& name) {
    (void)name;
    return false;
  }
  // The engine view keeps its checked engines as the named template and saves the templates;
  // false when the file could not be written.
  virtual bool CollectTemplate(const CString& name) {
    (void)name;
    return false;
  }
};
