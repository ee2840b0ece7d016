#include "ui/Panes.h"

#include "ui/PlaceholderView.h"

CSearchForm* g_pSearchForm = nullptr;
CSearchTermView* g_pSearchTermView = nullptr;
CSearchEngineView* g_pSearchEngineView = nullptr;
HWND g_hEngineViewWnd = nullptr;

// Until the views exist, each pane shows the placeholder.
CRuntimeClass* SearchFormClass() { return RUNTIME_CLASS(CPlaceholderView); }
CRuntimeClass* SearchTermViewClass() { return RUNTIME_CLASS(CPlaceholderView); }
CRuntimeClass* EngineViewClass() { return RUNTIME_CLASS(CPlaceholderView); }
