// The three panes of the main window: the classes the frame's splitters create and the live
// objects, which each view records when its window is made and clears when it is destroyed.
#pragma once
#include <windows.h>

struct CRuntimeClass;
class CSearchForm;
class CSearchTermView;
class CSearchEngineView;

CRuntimeClass* SearchFormClass();      // the top pane
CRuntimeClass* SearchTermViewClass();  // lower left
CRuntimeClass* EngineViewClass();      // lower right

extern CSearchForm* g_pSearchForm;
extern CSearchTermView* g_pSearchTermView;
extern CSearchEngineView* g_pSearchEngineView;
extern HWND g_hEngineViewWnd;  // the engine view's window, for code that only posts to it
