// Services of the engine database that the reports, the views and the run use: the language
// module, resource strings, report colours from the settings, the short date, and the number of
// engine icons.
#pragma once

#include <windows.h>

#include <cstdint>

#include "foundation/core/Date.h"
#include "foundation/core/LibString.h"

// The language module named by the setting LanguageDLL, else the English one; loaded once and
// cached. Null when neither loads.
HMODULE LoadLanguageModule();
void FreeLanguageModule();
// The cached module, null when none is loaded.
HMODULE GetLanguageModule();

// The module LoadResourceString reads from (the application passes the language module).
void SetReportResourceModule(HMODULE module);
HMODULE GetReportResourceModule();
// The string of that id, empty without a module or when it has none.
CLibString LoadResourceString(unsigned id);

// Entries of EngineKeyList whose name holds ".icon": the size of the engines' image list.
int CountEngineIcons();
// Forgets the count; the database does it when it is freed, since a new load may differ.
void ResetEngineIconCount();

// "r,g,b" (or with "." or "/" between) as 0xRRGGBB; empty text gives 0.
uint32_t ParseColour(const CLibString& text);
// ParseColour of a string value under the program's Properties key (created when missing).
uint32_t GetColourSetting(const char* valueName);

// The date in the user's short date format, else "mm/dd/yyyy".
CLibString FormatDate(const CDate& date);

// Seams. The engine code has no window of its own: the box that tells of a missing language
// module goes through this function (MessageBoxA unless set), so that a test can answer it.
using EngineMessageBoxFn = int (*)(HWND owner, const char* text, const char* caption,
                                   unsigned type);
void SetEngineMessageBox(EngineMessageBoxFn function);
int ShowEngineMessageBox(HWND owner, const char* text, const char* caption, unsigned type);
// The module loaded when the setting names none or one that does not load ("ZBResENU.dll");
// null restores that name, an empty name leaves no fallback.
void SetFallbackLanguageModule(const char* name);
// The short-date formatter (GetDateFormatA unless set); a test makes it fail.
using EngineDateFormatFn = int (*)(const SYSTEMTIME& date, char* buffer, int size);
void SetEngineDateFormat(EngineDateFormatFn function);
