#include "toolkit/widgets/WidgetsData.h"

#include "framework/AfxResource.h"
#include "resources/ids/ToolkitWidgetsIds.h"
#include "toolkit/ToolkitData.h"

HINSTANCE TkWidgetsResourceModule() { return AfxGetResourceHandle(); }

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
