// The names of the three-letter language codes that engines and language modules carry.
#pragma once
#include "framework/core/String.h"

// The name of the code (any case), or an empty string for a code not known. The first call
// decides for the run whether the names are the language module's own or English.
CString LanguageName(const char* code, bool english);
// The same name without its qualifier: "English (American)" gives "English".
CString LanguageNameShort(const char* code, bool english);
// Forgets the names, so that the next call fills them anew (after the language module changed,
// and between tests).
void ResetLanguageNames();
