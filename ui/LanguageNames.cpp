#include "ui/LanguageNames.h"

// Until the table is filled in, no code has a name.
CString LanguageName(const char*, bool) { return CString(); }
CString LanguageNameShort(const char*, bool) { return CString(); }
