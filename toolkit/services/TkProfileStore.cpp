#include "toolkit/services/TkProfileStore.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "framework/app/WinApp.h"
#include "toolkit/core/ToolkitData.h"
#include "toolkit/services/TkRegKey.h"

namespace {
// KEY_READ | KEY_WRITE: what every key of the path is opened with.
constexpr REGSAM kReadWrite = 0x2001F;
// What an INI read returns at most, terminator included.
constexpr DWORD kIniBuffer = 4096;
}  // namespace

CTkProfileStore::CTkProfileStore(HKEY hRootKey)
    : m_hRootKey(hRootKey), m_strIniFile(ToolkitData().m_strIniFile), m_pApp(AfxGetApp()) {}

bool CTkProfileStore::HasCompanyKey() const {
  return m_pApp && m_pApp->m_pszRegistryKey && *m_pApp->m_pszRegistryKey &&
         m_pApp->m_pszProfileName && *m_pApp->m_pszProfileName;
}

HKEY CTkProfileStore::GetAppRegistryKey() {
  if (!HasCompanyKey()) return nullptr;
  CTkRegKey software, company, app;
  if (software.Open(m_hRootKey, "Software", kReadWrite) != ERROR_SUCCESS) return nullptr;
  if (company.Create(software, m_pApp->m_pszRegistryKey, REG_NONE, REG_OPTION_NON_VOLATILE,
                     kReadWrite) != ERROR_SUCCESS) {
    return nullptr;
  }
  if (app.Create(company, m_pApp->m_pszProfileName, REG_NONE, REG_OPTION_NON_VOLATILE,
                 kReadWrite) != ERROR_SUCCESS) {
    return nullptr;
  }
  HKEY hKey = app.m_hKey;
  app.m_hKey = nullptr;  // handed to the caller
  return hKey;
}

HKEY CTkProfileStore::GetSectionKey(LPCSTR lpszSection) {
  CTkRegKey app;
  app.m_hKey = GetAppRegistryKey();
  if (!app.m_hKey) return nullptr;
  CTkRegKey section;
  if (section.Create(app, lpszSection, REG_NONE, REG_OPTION_NON_VOLATILE, kReadWrite) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  HKEY hKey = section.m_hKey;
  section.m_hKey = nullptr;
  return hKey;
}

BOOL CTkProfileStore::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
  if (UsesIniFile()) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", nValue);
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, text, m_strIniFile);
  }
  if (!HasCompanyKey()) return FALSE;
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return FALSE;
  DWORD value = static_cast<DWORD>(nValue);
  return ::RegSetValueExA(section, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof value) == ERROR_SUCCESS;
}

BOOL CTkProfileStore::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry,
                                         LPCSTR lpszValue) {
  if (UsesIniFile()) {
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_strIniFile);
  }
  if (!HasCompanyKey()) return FALSE;
  if (!lpszEntry) {
    CTkRegKey app;
    app.m_hKey = GetAppRegistryKey();
    if (!app.m_hKey) return FALSE;
    return app.DeleteSubKey(lpszSection) == ERROR_SUCCESS;
  }
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return FALSE;
  if (!lpszValue) return section.DeleteValue(lpszEntry) == ERROR_SUCCESS;
  return ::RegSetValueExA(section, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                          static_cast<DWORD>(std::strlen(lpszValue) + 1)) == ERROR_SUCCESS;
}

BOOL CTkProfileStore::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, const BYTE* pData,
                                         UINT nBytes) {
  if (UsesIniFile()) {
    return WriteProfileString(lpszSection, lpszEntry, EncodeBytes(pData, nBytes));
  }
  if (!HasCompanyKey()) return FALSE;
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return FALSE;
  return ::RegSetValueExA(section, lpszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}

UINT CTkProfileStore::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
  if (UsesIniFile()) return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_strIniFile);
  if (!HasCompanyKey()) return static_cast<UINT>(nDefault);
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return static_cast<UINT>(nDefault);
  // Whatever the stored type: a value of more than four bytes does not fit and gives the default.
  DWORD value = 0, type = 0, size = sizeof value;
  if (::RegQueryValueExA(section, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS) {
    return static_cast<UINT>(nDefault);
  }
  return value;
}

CString CTkProfileStore::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry,
                                          LPCSTR lpszDefault) {
  if (UsesIniFile()) {
    char text[kIniBuffer];
    ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "", text,
                               kIniBuffer, m_strIniFile);
    return CString(text);
  }
  CString fallback(lpszDefault);
  if (!HasCompanyKey()) return fallback;
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return fallback;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(section, lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return fallback;
  }
  // One spare byte: a value stored without its terminator still ends.
  auto buffer = std::make_unique<char[]>(size + 1);
  DWORD read = size;
  if (::RegQueryValueExA(section, lpszEntry, nullptr, &type, reinterpret_cast<BYTE*>(buffer.get()),
                         &read) != ERROR_SUCCESS) {
    return fallback;
  }
  buffer[read < size ? read : size] = '\0';
  return CString(buffer.get());
}

BOOL CTkProfileStore::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, BYTE** ppData,
                                       UINT* pBytes) {
  *ppData = nullptr;
  *pBytes = 0;
  if (UsesIniFile()) {
    CString text = GetProfileString(lpszSection, lpszEntry, "");
    if (text.IsEmpty()) return FALSE;
    UINT count = static_cast<UINT>(text.GetLength()) / 2;
    *ppData = new BYTE[count];
    *pBytes = DecodeBytes(text, *ppData, count);
    return TRUE;
  }
  if (!HasCompanyKey()) return FALSE;
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return FALSE;
  DWORD type = 0, size = 0;
  if (::RegQueryValueExA(section, lpszEntry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return FALSE;
  }
  BYTE* data = new BYTE[size ? size : 1];
  DWORD read = size;
  if (::RegQueryValueExA(section, lpszEntry, nullptr, &type, data, &read) != ERROR_SUCCESS) {
    delete[] data;
    return FALSE;
  }
  *ppData = data;
  *pBytes = read;
  return TRUE;
}

namespace {

// The section's key under the application's, made when missing, for a deletion below it.
bool OpenSectionForDelete(HKEY appKey, LPCSTR lpszSection, CTkRegKey& section) {
  CTkRegKey app;
  app.m_hKey = appKey;
  if (!app.m_hKey) return false;
  return section.Create(app, lpszSection, REG_NONE, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS) ==
         ERROR_SUCCESS;
}

}  // namespace

BOOL CTkProfileStore::DeleteKey(LPCSTR lpszSection, LPCSTR lpszSubKey) {
  CTkRegKey section;
  if (!OpenSectionForDelete(GetAppRegistryKey(), lpszSection, section)) return FALSE;
  return section.RecurseDeleteKey(lpszSubKey) == ERROR_SUCCESS;
}

BOOL CTkProfileStore::DeleteValue(LPCSTR lpszSection, LPCSTR lpszEntry) {
  CTkRegKey section;
  if (!OpenSectionForDelete(GetAppRegistryKey(), lpszSection, section)) return FALSE;
  return section.DeleteValue(lpszEntry) == ERROR_SUCCESS;
}

int CTkProfileStore::GetSectionValues(LPCSTR lpszSection, CTkValueTypeMap* pTypes,
                                      CStringList* pNames) {
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return 0;
  int count = 0;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD size = sizeof name, type = 0;
    if (::RegEnumValueA(section, index, name, &size, nullptr, &type, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    if (pTypes) pTypes->SetAt(name, type);
    if (pNames) pNames->AddTail(name);
    ++count;
  }
  return count;
}

int CTkProfileStore::GetSectionKeys(LPCSTR lpszSection, CStringList* pNames) {
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return 0;
  int count = 0;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD size = sizeof name;
    if (::RegEnumKeyExA(section, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    if (pNames) pNames->AddTail(name);
    ++count;
  }
  return count;
}

CString CTkProfileStore::EncodeBytes(const BYTE* pData, UINT nBytes) {
  CString text;
  LPSTR out = text.GetBufferSetLength(static_cast<int>(nBytes * 2));
  for (UINT i = 0; i < nBytes; ++i) {
    out[2 * i] = static_cast<char>('A' + (pData[i] & 0x0F));
    out[2 * i + 1] = static_cast<char>('A' + (pData[i] >> 4));
  }
  text.ReleaseBuffer(static_cast<int>(nBytes * 2));
  return text;
}

UINT CTkProfileStore::DecodeBytes(const CString& text, BYTE* pData, UINT nMax) {
  UINT count = static_cast<UINT>(text.GetLength()) / 2;
  if (count > nMax) count = nMax;
  LPCSTR in = text.GetString();
  for (UINT i = 0; i < count; ++i) {
    pData[i] = static_cast<BYTE>((in[2 * i + 1] - 'A') * 16 + (in[2 * i] - 'A'));
  }
  return count;
}

BOOL CTkProfileStore::WriteFixed(LPCSTR lpszSection, LPCSTR lpszEntry, const void* pData,
                                 UINT nBytes) {
  return WriteProfileBinary(lpszSection, lpszEntry, static_cast<const BYTE*>(pData), nBytes);
}

BOOL CTkProfileStore::GetFixed(LPCSTR lpszSection, LPCSTR lpszEntry, void* pData, UINT nBytes) {
  if (UsesIniFile()) {
    CString text = GetProfileString(lpszSection, lpszEntry, "");
    if (text.IsEmpty()) return FALSE;
    // Never more than the object holds, whatever the file says.
    DecodeBytes(text, static_cast<BYTE*>(pData), nBytes);
    return TRUE;
  }
  if (!HasCompanyKey()) return FALSE;
  CTkRegKey section;
  section.m_hKey = GetSectionKey(lpszSection);
  if (!section.m_hKey) return FALSE;
  DWORD type = 0, size = nBytes;
  return ::RegQueryValueExA(section, lpszEntry, nullptr, &type, static_cast<BYTE*>(pData),
                            &size) == ERROR_SUCCESS;
}

BOOL CTkProfileStore::WriteProfilePoint(LPCSTR s, LPCSTR e, const POINT& v) {
  return WriteFixed(s, e, &v, sizeof v);
}
BOOL CTkProfileStore::GetProfilePoint(LPCSTR s, LPCSTR e, POINT& v) {
  return GetFixed(s, e, &v, sizeof v);
}
BOOL CTkProfileStore::WriteProfileSize(LPCSTR s, LPCSTR e, const SIZE& v) {
  return WriteFixed(s, e, &v, sizeof v);
}
BOOL CTkProfileStore::GetProfileSize(LPCSTR s, LPCSTR e, SIZE& v) {
  return GetFixed(s, e, &v, sizeof v);
}
BOOL CTkProfileStore::WriteProfilePair(LPCSTR s, LPCSTR e, LONG first, LONG second) {
  LONG pair[2] = {first, second};
  return WriteFixed(s, e, pair, sizeof pair);
}
BOOL CTkProfileStore::GetProfilePair(LPCSTR s, LPCSTR e, LONG& first, LONG& second) {
  LONG pair[2] = {first, second};
  if (!GetFixed(s, e, pair, sizeof pair)) return FALSE;
  first = pair[0];
  second = pair[1];
  return TRUE;
}
BOOL CTkProfileStore::WriteProfileRect(LPCSTR s, LPCSTR e, const RECT& v) {
  return WriteFixed(s, e, &v, sizeof v);
}
BOOL CTkProfileStore::GetProfileRect(LPCSTR s, LPCSTR e, RECT& v) {
  return GetFixed(s, e, &v, sizeof v);
}
BOOL CTkProfileStore::WriteProfileDword(LPCSTR s, LPCSTR e, DWORD v) {
  return WriteFixed(s, e, &v, sizeof v);
}
BOOL CTkProfileStore::GetProfileDword(LPCSTR s, LPCSTR e, DWORD& v) {
  return GetFixed(s, e, &v, sizeof v);
}
