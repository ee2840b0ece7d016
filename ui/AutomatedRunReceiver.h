// Interim receiver of the finish of an automated run, until the engine view is in the window:
// a hidden window registered for the document's broadcasts that takes hint 124 to
// FinishAutomatedRun and releases the engine-event records it is given. The engine view takes
// over hint 124; this file then goes.
#pragma once
#include <windows.h>


class CZubrinDoc;

class CAutomatedRunReceiver {
 public:
  // Makes the hidden window and registers it; false when the system refused the window.
  static bool Create();
  static void Destroy();
  static HWND GetWindow();
};
