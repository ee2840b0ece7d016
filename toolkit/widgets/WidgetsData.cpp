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
struct ToolkitCursor {
  HINSTANCE module = nullptr;
  HCURSOR cursor = nullptr;
};

// Loaded once per resource module: a cursor of a module loaded as data is a new object on
// every load, and the splitter asks on every mouse move.
HCURSOR LoadToolkitCursor(ToolkitCursor& cache, UINT id, LPCSTR fallback) {
  HINSTANCE module = TkWidgetsResourceModule();
  if (!cache.cursor || cache.module != module) {
    cache.module = module;
    cache.cursor = ::LoadCursorA(module, MAKEINTRESOURCEA(id));
  }
  return cache.cursor ? cache.cursor : ::LoadCursorA(nullptr, fallback);
}
}  // namespace

HCURSOR TkWidgetsVSplitCursor() {
  static ToolkitCursor cache;
  return LoadToolkitCursor(cache, IDC_TK_VSPLITBAR, IDC_SIZENS);
}

HCURSOR TkWidgetsHSplitCursor() {
  static ToolkitCursor cache;
  return LoadToolkitCursor(cache, IDC_TK_HSPLITBAR, IDC_SIZEWE);
}

CTkWidgetsResourceScope::CTkWidgetsResourceScope() : m_hSaved(AfxGetResourceHandle()) {
  AfxSetResourceHandle(TkWidgetsResourceModule());
}

CTkWidgetsResourceScope::~CTkWidgetsResourceScope() { AfxSetResourceHandle(m_hSaved); }
