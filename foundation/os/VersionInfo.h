// CVersionInfo: the version of a file as four numbers or, for a file without a version
// resource, as a date and time. The daily update check compares installed files with the
// update catalogue by it.
#pragma once
#include <windows.h>

#include <ctime>

#include "framework/core/OleDateTime.h"
#include "framework/core/String.h"

// The file version (two 32-bit halves) of a module's version resource; FALSE when it has none.
BOOL ReadFileVersionResource(LPCSTR lpszPath, DWORD& high, DWORD& low);

class CVersionInfo {
 public:
  CVersionInfo();
  CVersionInfo(const CVersionInfo&) = default;
  CVersionInfo& operator=(const CVersionInfo&) = default;
  virtual ~CVersionInfo() = default;

  // Parts -1, calendar record zero, date status null.
  void Reset();
  // A text with a "." is a version of up to four numbers; any other text is a date and time
  // written month/day/year hour:minute:second.
  void Parse(LPCSTR lpszText);
  // The version resource of an .exe, .dll or .ocx file, else the file's modification time
  // (UTC). False when the file cannot be read or an executable has no version resource.
  BOOL FromFile(LPCSTR lpszPath);
  // "%d.%d.%d.%d" of the four parts.
  CString Format() const;

  // Versions compare by their parts; when no part of either is above 0, the dates compare to
  // the minute (seconds are ignored).
  friend bool operator<(const CVersionInfo& a, const CVersionInfo& b);

  int GetMajor() const { return m_major; }
  int GetMinor() const { return m_minor; }
  int GetBuild() const { return m_build; }
  int GetRevision() const { return m_revision; }
  const COleDateTime& GetDateTime() const { return m_dateTime; }
  // The calendar record: month 0-11, year since 1900, as in the runtime library's struct tm.
  const struct tm& GetCalendar() const { return m_calendar; }

 private:
  int m_major;
  int m_minor;
  int m_build;
  int m_revision;
  COleDateTime m_dateTime;
  struct tm m_calendar;
};
