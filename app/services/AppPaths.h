// The paths of the program's data files, all in the program's folder, each built on first use
// and kept for the life of the process; and the name and code of the language module.
#pragma once
#include "framework/core/String.h"

// Drive and folder of the running program file, ending with a backslash.
const CString& GetAppFolder();
const CString& GetDebugLogPath();            // zbu_dbg.txt
const CString& GetReportsFolder();           // reports\ (created with every missing level)
const CString& GetReportsFolderPath();       // the same path, never created
const CString& GetTemplatesFilePath();       // templates.dat
const CString& GetToolMenuFilePath();        // toolmenu.dat
const CString& GetUpdaterPath();             // ZBUpdate.exe
const CString& GetCatalogPath();             // versions.ini
const CString& GetDownloadedUpdaterPath();   // ZBU.exe
const CString& GetDefaultResourceDllPath();  // ZBResenu.dll

// The language module's file name: the root value LanguageDLL of the program's key, else the
// module of the system's language when it is beside the program, else ZBResenu.dll. Read anew
// on every call.
CString GetResourceDllPath();
// The three letters before ".dll" in the language module's name ("enu"); cached on first use.
const CString& GetLanguageCode();
// The same rule over a given module name; empty when the name has no ".dll".
CString LanguageCodeOf(const CString& moduleName);

// folder + stem + code + extension when that file exists, else folder + stem + "enu" + extension.
CString LocalisedFilePath(const CString& folder, const char* stem, const CString& code,
                          const char* extension);
const CString& GetHelpFilePath();       // ZBPro<code>.hlp
const CString& GetPopupHelpFilePath();  // Popup<code>.hlp
const CString& GetTipsFilePath();       // ZBPro<code>.tip
