// Shared by the toolkit frame tests: the language module, an application with a scratch profile
// and message pumping.
#pragma once
#include <windows.h>

#include <memory>

#include "framework/AfxResource.h"
#include "framework/String.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"

namespace tktest {

// The built language module as the resource handle and the toolkit's resource module.
HINSTANCE LanguageModule();

// An application object whose profile lies in a company key of its own, removed afterwards.
class ScratchApp {
 public:
  ScratchApp();
  ~ScratchApp();
  CWinApp& App() { return *m_app; }
  CString m_company;
  std::unique_ptr<CWinApp> m_app;
};

// Dispatches what is queued for the thread.
void Pump();

}  // namespace tktest
