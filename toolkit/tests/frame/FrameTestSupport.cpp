#include "toolkit/tests/frame/FrameTestSupport.h"

#include "toolkit/core/ToolkitData.h"

namespace tktest {

HINSTANCE LanguageModule() {
  static HINSTANCE module = [] {
    HINSTANCE m = AfxLoadResourceModule("ZBResENU.dll");
    if (m) {
      AfxSetResourceHandle(m);
      ToolkitData().m_hResource = m;
    }
    return m;
  }();
  return module;
}

ScratchApp::ScratchApp() {
  m_company.Format("ZBToolkitFrameTest-%lu", ::GetCurrentProcessId());
  m_app = std::make_unique<CWinApp>("TkFrameTest");
  m_app->SetRegistryKey(m_company);
}

ScratchApp::~ScratchApp() {
  m_app.reset();
  ::RegDeleteTreeA(HKEY_CURRENT_USER, CString("Software\\") + m_company);
  ::RegDeleteKeyA(HKEY_CURRENT_USER, CString("Software\\") + m_company);
}

void Pump() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (msg.message == WM_QUIT) {
      ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
      continue;
    }
    AfxPumpMessage();
  }
}

}  // namespace tktest
