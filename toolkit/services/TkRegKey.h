// CTkRegKey: holds one open registry key and closes it when it goes; the profile store opens
// every key through one, so that no key stays open past the operation that needed it.
#pragma once
#include <windows.h>

class CTkRegKey {
 public:
  CTkRegKey() = default;
  ~CTkRegKey() { Close(); }
  CTkRegKey(const CTkRegKey&) = delete;
  CTkRegKey& operator=(const CTkRegKey&) = delete;

  HKEY m_hKey = nullptr;
  operator HKEY() const { return m_hKey; }  // NOLINT

  // 0 when nothing was open.
  LONG Close();
  // Each closes what was held and keeps the new key only on success; the registry's error code.
  LONG Create(HKEY hKeyParent, LPCSTR lpszKeyName, LPSTR lpszClass = REG_NONE,
              DWORD dwOptions = REG_OPTION_NON_VOLATILE, REGSAM samDesired = KEY_ALL_ACCESS,
              LPSECURITY_ATTRIBUTES lpSecAttr = nullptr, LPDWORD lpdwDisposition = nullptr);
  LONG Open(HKEY hKeyParent, LPCSTR lpszKeyName, REGSAM samDesired = KEY_ALL_ACCESS);
  LONG DeleteSubKey(LPCSTR lpszSubKey) { return ::RegDeleteKeyA(m_hKey, lpszSubKey); }
  LONG DeleteValue(LPCSTR lpszValue) { return ::RegDeleteValueA(m_hKey, lpszValue); }
  // Deletes the subkey with everything below it, also where the system's own deletion stops
  // at a key that has subkeys.
  LONG RecurseDeleteKey(LPCSTR lpszKey);
};
