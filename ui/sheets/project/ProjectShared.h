// What the pages of the project sheet and the submission field editors share: the document they
// work on, the context help of their controls, and the site-profile field table by key.
#pragma once
#include <windows.h>

#include "framework/core/String.h"

class CZubrinDoc;
struct SiteProfileField;

namespace projectui {

// The main window's active document, else the program's one document (null when none).
CZubrinDoc* ActiveDocument();
// The help message on a control: the application's context-popup help. Always handled.
LRESULT AnswerContextHelp(LPARAM lParam);
// The field table's row of exactly that key, or null.
const SiteProfileField* FindField(const char* key);

}  // namespace projectui
