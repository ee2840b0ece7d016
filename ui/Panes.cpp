#include "ui/Panes.h"

#include "ui/views/SearchEngineView.h"
#include "ui/views/SearchForm.h"
#include "ui/views/SearchTermView.h"

CSearchForm* g_pSearchForm = nullptr;
CSearchTermView* g_pSearchTermView = nullptr;
CSearchEngineView* g_pSearchEngineView = nullptr;
HWND g_hEngineViewWnd = nullptr;

CRuntimeClass* SearchFormClass() { return RUNTIME_CLASS(CSearchForm); }
CRuntimeClass* SearchTermViewClass() { return RUNTIME_CLASS(CSearchTermView); }
CRuntimeClass* EngineViewClass() { return RUNTIME_CLASS(CSearchEngineView); }
