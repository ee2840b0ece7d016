// GetOSVersionInfo: the operating system's version, read once per process and shared by every
// toolkit part that picks its behaviour by version (menu bar, cool menus, global data).
#pragma once
#include <windows.h>

// The shared record (ANSI form); filled on the first call, the same pointer on every later one.
// When the system cannot say, the record stays zero apart from its size: version 0, platform 0.
const OSVERSIONINFOA* GetOSVersionInfo();

// The decisions the toolkit takes from the record, on any record so that they can be checked
// for systems other than the one running.
// Windows 95 itself (not 98 or ME): fonts must be posted there rather than sent.
bool TkIsWindows95(const OSVERSIONINFOA& info);
// Systems before Windows XP (5.1) draw no menu shadows of their own.
bool TkIsBeforeWindowsXP(const OSVERSIONINFOA& info);

// The version query that fills the record; tests give their own numbers through it.
using TkGetVersionExProc = BOOL(WINAPI*)(LPOSVERSIONINFOA);
namespace tk_test {
// Forgets the record, so that the next GetOSVersionInfo asks the given query (the system's
// GetVersionEx when null).
void ResetOSVersionInfo(TkGetVersionExProc pfnQuery);
}  // namespace tk_test
