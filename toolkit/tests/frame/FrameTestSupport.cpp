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

Canvas::Canvas(int cx, int cy) : m_cx(cx), m_cy(cy) {
  HDC screen = ::GetDC(nullptr);
  m_dc = ::CreateCompatibleDC(screen);
  m_bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
  ::ReleaseDC(nullptr, screen);
  m_old = ::SelectObject(m_dc, m_bitmap);
  Clear(RGB(1, 2, 3));
}

Canvas::~Canvas() {
  ::SelectObject(m_dc, m_old);
  ::DeleteObject(m_bitmap);
  ::DeleteDC(m_dc);
}

void Canvas::Clear(COLORREF c) {
  RECT all = {0, 0, m_cx, m_cy};
  HBRUSH brush = ::CreateSolidBrush(c);
  ::FillRect(m_dc, &all, brush);
  ::DeleteObject(brush);
}

FlatLook::FlatLook(BOOL on) : m_old(ToolkitData().m_bFlatLook) { ToolkitData().m_bFlatLook = on; }

FlatLook::~FlatLook() { ToolkitData().m_bFlatLook = m_old; }

}  // namespace tktest
