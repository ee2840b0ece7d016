#include "toolkit/widgets/WidgetsData.h"

#include "framework/AfxResource.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/ToolkitData.h"

HINSTANCE TkWidgetsResourceModule() { return AfxGetResourceHandle(); }

CString TkWidgetsLoadString(UINT id) {
  char text[1024] = "";
  ::LoadStringA(TkWidgetsResourceModule(), id, text, sizeof text);
  return CString(text);
}

bool TkWidgetsIsNT5OrLater() {
  static const OSVERSIONINFOA version = [] {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ::GetVersionExA(&info);
    return info;
  }();
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

HFONT TkWidgetsNormalFont() { return ToolkitData().GetBarFont(); }

namespace {
HCURSOR LoadToolkitCursor(UINT id, LPCSTR fallback) {
  // Cursors from a module are shared and never destroyed, so loading on each use costs nothing
  // but a lookup.
  HCURSOR cursor = ::LoadCursorA(TkWidgetsResourceModule(), MAKEINTRESOURCEA(id));
  return cursor ? cursor : ::LoadCursorA(nullptr, fallback);
}
}  // namespace

HCURSOR TkWidgetsVSplitCursor() { return LoadToolkitCursor(IDC_TK_VSPLITBAR, IDC_SIZENS); }
HCURSOR TkWidgetsHSplitCursor() { return LoadToolkitCursor(IDC_TK_HSPLITBAR, IDC_SIZEWE); }

CTkWidgetsResourceScope::CTkWidgetsResourceScope() : m_hSaved(AfxGetResourceHandle()) {
  AfxSetResourceHandle(TkWidgetsResourceModule());
}

CTkWidgetsResourceScope::~CTkWidgetsResourceScope() { AfxSetResourceHandle(m_hSaved); }
