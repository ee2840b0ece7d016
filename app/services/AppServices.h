// Small services shared by the main program: resource strings, file tests, dates in the user's
// locale, colours kept as text in the profile, the program's own version, the display's colour
// depth and the test for simple mail.
#pragma once
#include <windows.h>

#include "framework/core/String.h"

class CImageList;
class CSockHttpClient;

// The string of that id from the language module; empty when it has none.
CString LoadResString(UINT id);
// True when a file or folder of that name exists.
bool PathExists(const char* path);

// A day number as the user's short date ("%02d/%02d/%04d", month, day, year when the system
// cannot format it).
CString FormatDateLocale(int dayNumber);
// A date text written in the locale's short date picture as "yyyymmdd" for sorting; an empty
// text gives "00000000".
CString ParseDateLocale(const CString& text);
// The same with an explicit picture and the 13 abbreviated and 13 full month names (a calendar
// may have a thirteenth month; unused names are empty).
CString ParseDatePicture(const CString& text, const CString& picture,
                         const CString* abbreviatedMonths, const CString* fullMonths);

// "r,g,b" (cut at any of ",", ".", " " and "/") as a COLORREF; each part modulo 256, missing
// parts 0, an empty text black.
COLORREF ParseColorText(const CString& text);
CString FormatColorText(COLORREF color);
// A colour of the application's profile, with the default written as "r,g,b".
COLORREF ReadProfileColor(const char* section, const char* key, COLORREF defaultColor);
void WriteProfileColor(const char* section, const char* key, COLORREF color);

struct ExeFileVersion {
  WORD major = 0, minor = 0, build = 0, revision = 0;
};
// The version resource of the running program; all 0 when it has none.
ExeFileVersion GetExeFileVersion();

// (colour planes x bits per pixel)^2 of the screen: below 17 means 16 colours or fewer.
int GetDisplayDepthSquare();
// Seam for tests: a function that answers in place of the screen; null restores the screen.
void SetDisplayDepthSquareSource(int (*source)());

// The engines' 16 x 16 icons from the language module, white transparent: the first strip holds
// 128 icons, and a database with more icons gets the second strip once for every full 128 of
// them. False when the list cannot be made (no module, no bitmap). The second form takes the
// icon count instead of counting the database's icon keys.
bool CreateEngineImageList(CImageList& list);
bool CreateEngineImageList(CImageList& list, int iconCount);

// True when win.ini asks for MAPI and MAPI32.DLL is on the search path.
bool IsMapiAvailable();
// True when the status is 200 and the body is as long as a positive content-length says.
bool IsResponseComplete(const CSockHttpClient& client, long bytesReceived);
