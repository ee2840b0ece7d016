#include "app/services/AppServices.h"

#include <cstdlib>
#include <cstring>

#include "engines/db/EngineServices.h"
#include "foundation/core/Date.h"
#include "foundation/net/SockHttpClient.h"
#include "framework/app/WinApp.h"
#include "framework/gdi/GdiObject.h"
#include "framework/gdi/ImageList.h"
#include "resources/resource.h"

namespace {

const char kSeparators[] = " ,-./";

int ScreenDepthSquare() {
  HDC screen = GetDC(nullptr);
  int depth = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return depth * depth;
}
int (*g_depthSource)() = ScreenDepthSquare;

// The first separator character of a date text or picture, 0 when it has none.
char DateSeparator(const CString& text) {
  int at = text.FindOneOf(kSeparators);
  return at < 0 ? '\0' : text[at];
}

void SplitDate(const CString& text, char separator, CString parts[3]) {
  int start = 0;
  for (int i = 0; i < 3; ++i) {
    if (start > text.GetLength()) break;
    int end = separator ? text.Find(separator, start) : -1;
    if (end < 0 || i == 2) end = text.GetLength();
    parts[i] = text.Mid(start, end - start);
    start = end + 1;
  }
}

CString MonthNumber(const CString& name, const CString* names) {
  for (int i = 0; names && i < 13; ++i) {
    if (!names[i].IsEmpty() && names[i].CompareNoCase(name) == 0) {
      CString number;
      number.Format("%02d", i + 1);
      return number;
    }
  }
  return CString("00");
}

CString LocaleInfo(LCTYPE type) {
  char buffer[128] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer) <= 0) return CString();
  return CString(buffer);
}

}  // namespace

CString LoadResString(UINT id) {
  CString text;
  text.LoadString(id);
  return text;
}

bool CreateEngineImageList(CImageList& list) {
  return CreateEngineImageList(list, CountEngineIcons());
}

bool CreateEngineImageList(CImageList& list, int iconCount) {
  const int kIconsPerStrip = 128;
  list.DeleteImageList();
  if (!list.Create(IDB_ENGINES, 16, 0, RGB(255, 255, 255))) return false;
  if (iconCount <= kIconsPerStrip) return true;
  CBitmap more;
  if (!more.LoadBitmap(IDB_ENGINES_MORE)) return false;
  for (int strips = iconCount / kIconsPerStrip; strips > 0; --strips)
    if (list.Add(&more, RGB(255, 255, 255)) < 0) return false;
  return true;
}

bool PathExists(const char* path) {
  return path && *path && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

CString FormatDateLocale(int dayNumber) {
  return CString(FormatDate(CDate(dayNumber)).c_str());
}

CString ParseDatePicture(const CString& text, const CString& picture,
                         const CString* abbreviatedMonths, const CString* fullMonths) {
  if (text.IsEmpty()) return CString("00000000");
  CString pictures[3], values[3];
  SplitDate(picture, DateSeparator(picture), pictures);
  SplitDate(text, DateSeparator(text), values);
  CString year, month, day;
  for (int i = 0; i < 3; ++i) {
    const CString& pic = pictures[i];
    const CString& value = values[i];
    if (pic.IsEmpty()) continue;
    int width = pic.GetLength();
    switch (pic[0]) {
      case 'y':
        if (width == 1 && value.GetLength() == 1)
          year = "200" + value;
        else if (width == 1 && value.GetLength() == 2)
          year = "20" + value;
        else if (width == 2)
          year = "20" + value;
        else
          year = value;
        break;
      case 'M':
        if (width == 1)
          month = value.GetLength() == 1 ? "0" + value : value;
        else if (width == 2)
          month = value;
        else
          month = MonthNumber(value, width == 3 ? abbreviatedMonths : fullMonths);
        break;
      case 'd':
        day = width == 1 && value.GetLength() == 1 ? "0" + value : value;
        break;
      default:
        break;
    }
  }
  return year + month + day;
}

CString ParseDateLocale(const CString& text) {
  CString picture = LocaleInfo(LOCALE_SSHORTDATE);
  if (picture.IsEmpty()) picture = "MM/dd/yyyy";
  CString abbreviated[13], full[13];
  for (int i = 0; i < 13; ++i) {
    abbreviated[i] = LocaleInfo(i < 12 ? LOCALE_SABBREVMONTHNAME1 + i : LOCALE_SABBREVMONTHNAME13);
    full[i] = LocaleInfo(i < 12 ? LOCALE_SMONTHNAME1 + i : LOCALE_SMONTHNAME13);
  }
  return ParseDatePicture(text, picture, abbreviated, full);
}

COLORREF ParseColorText(const CString& text) {
  unsigned parts[3] = {0, 0, 0};
  const char* p = text;
  for (int i = 0; i < 3 && *p; ++i) {
    parts[i] = static_cast<unsigned>(strtoul(p, nullptr, 10)) % 256;
    p += strcspn(p, ",. /");
    if (*p) ++p;
  }
  return RGB(parts[0], parts[1], parts[2]);
}

CString FormatColorText(COLORREF color) {
  CString text;
  text.Format("%d,%d,%d", GetRValue(color), GetGValue(color), GetBValue(color));
  return text;
}

COLORREF ReadProfileColor(const char* section, const char* key, COLORREF defaultColor) {
  CWinApp* app = AfxGetApp();
  if (!app) return defaultColor;
  return ParseColorText(app->GetProfileString(section, key, FormatColorText(defaultColor)));
}

void WriteProfileColor(const char* section, const char* key, COLORREF color) {
  if (CWinApp* app = AfxGetApp()) app->WriteProfileString(section, key, FormatColorText(color));
}

ExeFileVersion GetExeFileVersion() {
  ExeFileVersion version;
  char path[MAX_PATH * 2] = {};
  if (!GetModuleFileNameA(nullptr, path, sizeof path - 1)) return version;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (!size) return version;
  CString block('\0', static_cast<int>(size));
  char* data = block.GetBuffer(static_cast<int>(size));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (GetFileVersionInfoA(path, 0, size, data) &&
      VerQueryValueA(data, "\\", reinterpret_cast<void**>(&info), &length) && info &&
      length >= sizeof *info) {
    version.major = HIWORD(info->dwFileVersionMS);
    version.minor = LOWORD(info->dwFileVersionMS);
    version.build = HIWORD(info->dwFileVersionLS);
    version.revision = LOWORD(info->dwFileVersionLS);
  }
  block.ReleaseBuffer(0);
  return version;
}

int GetDisplayDepthSquare() {
  return g_depthSource();
}

void SetDisplayDepthSquareSource(int (*source)()) {
  g_depthSource = source ? source : ScreenDepthSquare;
}

bool IsMapiAvailable() {
  if (GetProfileIntA("MAIL", "MAPI", 0) == 0) return false;
  char found[MAX_PATH] = {};
  return SearchPathA(nullptr, "MAPI32.DLL", nullptr, MAX_PATH, found, nullptr) > 0;
}

bool IsResponseComplete(const CSockHttpClient& client, long bytesReceived) {
  if (client.GetStatus() != 200) return false;
  long length = atol(client.GetResponseHeader("content-length").c_str());
  return length <= 0 || length == bytesReceived;
}
