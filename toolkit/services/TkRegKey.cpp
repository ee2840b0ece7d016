#include "toolkit/services/TkRegKey.h"

LONG CTkRegKey::Close() {
  LONG result = ERROR_SUCCESS;
  if (m_hKey) {
    result = ::RegCloseKey(m_hKey);
    m_hKey = nullptr;
  }
  return result;
}

LONG CTkRegKey::Create(HKEY hKeyParent, LPCSTR lpszKeyName, LPSTR lpszClass, DWORD dwOptions,
                       REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecAttr,
                       LPDWORD lpdwDisposition) {
  DWORD disposition = 0;
  HKEY hKey = nullptr;
  LONG result = ::RegCreateKeyExA(hKeyParent, lpszKeyName, 0, lpszClass, dwOptions, samDesired,
                                  lpSecAttr, &hKey, &disposition);
  if (lpdwDisposition) *lpdwDisposition = disposition;
  if (result == ERROR_SUCCESS) {
    Close();
    m_hKey = hKey;
  }
  return result;
}

LONG CTkRegKey::Open(HKEY hKeyParent, LPCSTR lpszKeyName, REGSAM samDesired) {
  HKEY hKey = nullptr;
  LONG result = ::RegOpenKeyExA(hKeyParent, lpszKeyName, 0, samDesired, &hKey);
  if (result == ERROR_SUCCESS) {
    Close();
    m_hKey = hKey;
  }
  return result;
}

LONG CTkRegKey::RecurseDeleteKey(LPCSTR lpszKey) {
  CTkRegKey key;
  LONG result = key.Open(m_hKey, lpszKey, KEY_READ | KEY_WRITE);
  if (result != ERROR_SUCCESS) return result;
  char name[256];
  for (;;) {
    DWORD size = sizeof name;
    // Always the first subkey: each one found is gone before the next look.
    result = ::RegEnumKeyExA(key.m_hKey, 0, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) return result;
    result = key.RecurseDeleteKey(name);
    if (result != ERROR_SUCCESS) return result;
  }
  key.Close();
  return DeleteSubKey(lpszKey);
}
