#include "app/program/ZubrinAppLog.h"

#include <windows.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>

#include "app/services/AppPaths.h"
#include "framework/threads/CriticalSection.h"

namespace {

// Report writers log from whichever thread writes; lines must not interleave.
CCriticalSection& LogLock() {
  static CCriticalSection lock;
  return lock;
}
CString& LogPath() {
  static CString path;
  return path;
}
std::atomic<bool> g_failed{false};

void WriteLine(const char* text) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  CString line;
  line.Format("%04u-%02u-%02u %02u:%02u:%02u %s", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond, text);
  LogLock().Lock();
  fprintf(stderr, "%s\n", line.GetString());
  fflush(stderr);
  if (!LogPath().IsEmpty()) {
    if (FILE* file = fopen(LogPath(), "a")) {
      fprintf(file, "%s\n", line.GetString());
      fclose(file);
    }
  }
  LogLock().Unlock();
}

}  // namespace

CString CZubrinAppLog::PathFor(const CString& documentPath) {
  if (documentPath.IsEmpty()) return GetAppFolder() + "ZBPro.log";
  int slash = documentPath.ReverseFind('\\');
  int dot = documentPath.ReverseFind('.');
  // Only a dot in the file name starts its extension, not one in a folder's name.
  if (dot > slash) return documentPath.Left(dot) + ".log";
  return documentPath + ".log";
}

void CZubrinAppLog::Open(const CString& documentPath) {
  CString path = PathFor(documentPath);
  LogLock().Lock();
  LogPath() = path;
  LogLock().Unlock();
}

const CString& CZubrinAppLog::GetPath() {
  return LogPath();
}

void CZubrinAppLog::Fail(const char* format, ...) {
  char text[2048];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  g_failed = true;
  WriteLine(text);
}

void CZubrinAppLog::Note(const char* text) {
  WriteLine(text ? text : "");
}

bool CZubrinAppLog::HasFailed() {
  return g_failed.load();
}

int CZubrinAppLog::ExitCode(int loopCode) {
  if (g_failed.load()) return loopCode != 0 ? loopCode : 1;
  return loopCode;
}

void CZubrinAppLog::Reset() {
  LogLock().Lock();
  LogPath().Empty();
  LogLock().Unlock();
  g_failed = false;
}
