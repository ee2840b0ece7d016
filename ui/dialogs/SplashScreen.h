// CSplashScreen: the picture shown while the program starts, with the progress bar that the
// engine database's loader moves as it reads the data files. Modeless; the application makes it
// before the document loads the engines and destroys it once the main window is up.
#pragma once
#include "framework/dialogs/Dialog.h"

class CSplashScreen : public CDialog {
 public:
  explicit CSplashScreen(CWnd* pParent = nullptr);
  ~CSplashScreen() override;
  BOOL Create();

  BOOL OnInitDialog() override;

 protected:
  void OnDestroy();
  // Escape and Enter do not end the splash: only the program does.
  void OnOK() override {}
  void OnCancel() override {}
  DECLARE_MESSAGE_MAP()
};

// The splash's progress bar while the splash exists, else null.
HWND GetSplashProgressWnd();
