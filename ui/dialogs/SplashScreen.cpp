#include "ui/dialogs/SplashScreen.h"

#include <commctrl.h>

#include "app/services/AppServices.h"
#include "app/document/ZubrinDoc.h"
#include "resources/resource.h"

namespace {
HWND g_hSplashProgress = nullptr;

// Where the progress bar sits on the picture (client pixels).
constexpr int kProgressLeft = 41, kProgressTop = 172, kProgressWidth = 339, kProgressHeight = 15;

void SetSplashProgress(HWND progress) {
  g_hSplashProgress = progress;
  CZubrinDoc::SetLoadProgressWindow(progress);
}
}  // namespace

HWND GetSplashProgressWnd() { return g_hSplashProgress; }

BEGIN_MESSAGE_MAP(CSplashScreen, CDialog)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CSplashScreen::CSplashScreen(CWnd* pParent) : CDialog(IDD_SPLASH, pParent) {}

CSplashScreen::~CSplashScreen() {
  if (m_hWnd) DestroyWindow();
}

BOOL CSplashScreen::Create() { return CDialog::Create(IDD_SPLASH, m_pParentWnd); }

BOOL CSplashScreen::OnInitDialog() {
  CDialog::OnInitDialog();
  HWND progress = ::GetDlgItem(m_hWnd, IDC_SPLASH_PROGRESS);
  SetSplashProgress(progress);
  SetWindowText(LoadResString(IDS_SPLASH_TITLE));
  RECT picture = {};
  if (HWND pictureWnd = ::GetDlgItem(m_hWnd, IDC_SPLASH_PICTURE)) ::GetClientRect(pictureWnd, &picture);
  SetWindowPos(nullptr, 0, 0, picture.right + 2, picture.bottom + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (progress) {
    // Above the picture, which would otherwise paint over it.
    ::SetWindowPos(progress, HWND_TOP, kProgressLeft, kProgressTop, kProgressWidth, kProgressHeight,
                   SWP_NOACTIVATE);
  }
  CenterWindow();
  return TRUE;
}

void CSplashScreen::OnDestroy() {
  // Only its own bar: a splash that outlives another keeps its bar published.
  if (g_hSplashProgress && ::GetParent(g_hSplashProgress) == m_hWnd) SetSplashProgress(nullptr);
  CDialog::OnDestroy();
}
