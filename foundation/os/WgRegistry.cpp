#include "foundation/os/WgRegistry.h"

#include <vector>

IMPLEMENT_DYNAMIC(CWgRegistry, CObject)

namespace {
// Names and strings pass through buffers of this size; longer ones fail.
const DWORD kBufferSize = 2048;
}  // namespace

CWgRegistry::CWgRegistry() {
  m_keyHandle = nullptr;
  m_rootKeyHandle = nullptr;
  m_closeRootKey = FALSE;
  Initialize();
}

CWgRegistry::~CWgRegistry() {
  Close();
}

void CWgRegistry::Initialize() {
  m_lastError = ERROR_SUCCESS;
  m_keyHandle = nullptr;
  m_rootKeyHandle = nullptr;
  m_closeRootKey = FALSE;
  m_remote = FALSE;
  m_computerName.Empty();
  m_className.Empty();
  m_numberOfSubkeys = 0;
  m_longestSubkeyNameLength = 0;
  m_longestClassNameLength = 0;
  m_numberOfValues = 0;
  m_longestValueNameLength = 0;
  m_longestValueDataLength = 0;
  m_securityDescriptorLength = 0;
  m_lastWriteTime = FILETIME{0, 0};
  m_keyName.Empty();
}

BOOL CWgRegistry::Succeeded(LONG result) {
  m_lastError = static_cast<DWORD>(result);
  return result == ERROR_SUCCESS;
}

BOOL CWgRegistry::MissingName(LPCSTR lpszName) {
  if (lpszName) return FALSE;
  m_lastError = ERROR_INVALID_PARAMETER;
  return TRUE;
}

HKEY CWgRegistry::GetRootKeyFromName(LPCSTR lpszName) {
  static const struct {
    const char* name;
    HKEY key;
  } kRoots[] = {
      {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
      {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {"HKEY_USERS", HKEY_USERS},
      {"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}, {"HKEY_DYN_DATA", HKEY_DYN_DATA},
  };
  if (!lpszName) return nullptr;
  for (const auto& root : kRoots) {
    if (lstrcmpiA(lpszName, root.name) == 0) return root.key;
  }
  return nullptr;
}

BOOL CWgRegistry::Connect(HKEY hRootKey, LPCSTR lpszComputerName) {
  Close();
  if (!lpszComputerName || !*lpszComputerName) {
    char name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = sizeof name;
    m_computerName = GetComputerNameA(name, &length) ? name : "";
    m_rootKeyHandle = hRootKey;
    m_remote = FALSE;
    m_lastError = ERROR_SUCCESS;
    return TRUE;
  }
  if (hRootKey == HKEY_CLASSES_ROOT || hRootKey == HKEY_CURRENT_USER) {
    m_lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  HKEY remote = nullptr;
  if (!Succeeded(RegConnectRegistryA(lpszComputerName, hRootKey, &remote))) return FALSE;
  m_rootKeyHandle = remote;
  m_closeRootKey = TRUE;
  m_remote = TRUE;
  m_computerName = lpszComputerName;
  return TRUE;
}

BOOL CWgRegistry::Connect(LPCSTR lpszRootKeyName, LPCSTR lpszComputerName) {
  HKEY root = GetRootKeyFromName(lpszRootKeyName);
  if (!root) {
    m_lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  return Connect(root, lpszComputerName);
}

BOOL CWgRegistry::Close() {
  LONG keyResult = ERROR_SUCCESS;
  LONG rootResult = ERROR_SUCCESS;
  if (m_keyHandle) keyResult = RegCloseKey(m_keyHandle);
  m_keyHandle = nullptr;
  m_keyName.Empty();
  if (m_rootKeyHandle && m_closeRootKey) rootResult = RegCloseKey(m_rootKeyHandle);
  m_rootKeyHandle = nullptr;
  m_closeRootKey = FALSE;
  m_remote = FALSE;
  m_lastError = static_cast<DWORD>(keyResult != ERROR_SUCCESS ? keyResult : rootResult);
  return keyResult == ERROR_SUCCESS && rootResult == ERROR_SUCCESS;
}

BOOL CWgRegistry::Open(LPCSTR lpszSubkey, REGSAM access) {
  if (m_keyHandle) {
    RegCloseKey(m_keyHandle);
    m_keyHandle = nullptr;
    m_keyName.Empty();
  }
  HKEY key = nullptr;
  if (!Succeeded(RegOpenKeyExA(Root(), lpszSubkey, 0, access, &key))) return FALSE;
  m_keyHandle = key;
  m_keyName = lpszSubkey;
  return TRUE;
}

BOOL CWgRegistry::CreateKey(LPCSTR lpszSubkey, LPCSTR lpszClass, DWORD dwOptions, REGSAM access,
                            LPSECURITY_ATTRIBUTES pSecurityAttributes, LPDWORD pDisposition) {
  if (MissingName(lpszSubkey)) return FALSE;
  if (m_keyHandle) {
    RegCloseKey(m_keyHandle);
    m_keyHandle = nullptr;
    m_keyName.Empty();
  }
  HKEY key = nullptr;
  DWORD disposition = 0;
  if (!Succeeded(RegCreateKeyExA(Root(), lpszSubkey, 0,
                                 const_cast<LPSTR>(lpszClass ? lpszClass : ""), dwOptions, access,
                                 pSecurityAttributes, &key, &disposition))) {
    return FALSE;
  }
  if (pDisposition) *pDisposition = disposition;
  m_keyHandle = key;
  m_keyName = lpszSubkey;
  return TRUE;
}

LONG CWgRegistry::DeleteTree(HKEY hParent, LPCSTR lpszSubkey) {
  HKEY key = nullptr;
  LONG result = RegOpenKeyExA(hParent, lpszSubkey, 0, KEY_READ | KEY_WRITE, &key);
  if (result != ERROR_SUCCESS) return result;
  char name[kBufferSize];
  // Always the first subkey: each one is gone once deleted.
  for (;;) {
    DWORD length = sizeof name;
    result = RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) result = DeleteTree(key, name);
    if (result != ERROR_SUCCESS) {
      RegCloseKey(key);
      return result;
    }
  }
  RegCloseKey(key);
  return RegDeleteKeyA(hParent, lpszSubkey);
}

BOOL CWgRegistry::DeleteKey(LPCSTR lpszSubkey, BOOL bRecursive) {
  // An empty name would delete the root itself.
  if (MissingName(lpszSubkey)) return FALSE;
  if (!*lpszSubkey) {
    m_lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  return Succeeded(bRecursive ? DeleteTree(Root(), lpszSubkey) : RegDeleteKeyA(Root(), lpszSubkey));
}

BOOL CWgRegistry::DeleteValue(LPCSTR lpszName) {
  if (MissingName(lpszName)) return FALSE;
  return Succeeded(RegDeleteValueA(m_keyHandle, lpszName));
}

BOOL CWgRegistry::EnumerateKeys(DWORD dwIndex, CString& strName) {
  CString unusedClass;
  FILETIME unusedTime;
  return EnumerateKeys(dwIndex, strName, unusedClass, unusedTime);
}

BOOL CWgRegistry::EnumerateKeys(DWORD dwIndex, CString& strName, CString& strClass) {
  FILETIME unusedTime;
  return EnumerateKeys(dwIndex, strName, strClass, unusedTime);
}

BOOL CWgRegistry::EnumerateKeys(DWORD dwIndex, CString& strName, CString& strClass,
                                FILETIME& lastWriteTime) {
  char name[kBufferSize];
  char className[kBufferSize];
  DWORD nameLength = sizeof name;
  DWORD classLength = sizeof className;
  strName.Empty();
  strClass.Empty();
  if (!Succeeded(RegEnumKeyExA(m_keyHandle, dwIndex, name, &nameLength, nullptr, className,
                               &classLength, &lastWriteTime))) {
    return FALSE;
  }
  strName = CString(name, static_cast<int>(nameLength));
  strClass = CString(className, static_cast<int>(classLength));
  return TRUE;
}

BOOL CWgRegistry::EnumerateValues(DWORD dwIndex, CString& strName) {
  DWORD unusedType;
  return EnumerateValues(dwIndex, strName, unusedType);
}

BOOL CWgRegistry::EnumerateValues(DWORD dwIndex, CString& strName, DWORD& dwType) {
  DWORD noData = 0;
  return EnumerateValues(dwIndex, strName, dwType, nullptr, noData);
}

BOOL CWgRegistry::EnumerateValues(DWORD dwIndex, CString& strName, DWORD& dwType, LPBYTE pData,
                                  DWORD& dwDataSize) {
  char name[kBufferSize];
  DWORD nameLength = sizeof name;
  strName.Empty();
  LONG result = RegEnumValueA(m_keyHandle, dwIndex, name, &nameLength, nullptr, &dwType, pData,
                              pData ? &dwDataSize : nullptr);
  // More data than the caller's buffer holds still names the value.
  if (result == ERROR_MORE_DATA) result = ERROR_SUCCESS;
  if (!Succeeded(result)) return FALSE;
  strName = CString(name, static_cast<int>(nameLength));
  return TRUE;
}

BOOL CWgRegistry::Flush() {
  return Succeeded(RegFlushKey(m_keyHandle));
}

BOOL CWgRegistry::QueryValue(LPCSTR lpszName, DWORD& dwType, LPBYTE pBuffer, DWORD& dwSize) {
  if (MissingName(lpszName)) return FALSE;
  return Succeeded(RegQueryValueExA(m_keyHandle, lpszName, nullptr, &dwType, pBuffer, &dwSize));
}

BOOL CWgRegistry::GetBinaryValue(LPCSTR lpszName, LPBYTE pBuffer, DWORD& dwSize) {
  DWORD type = 0;
  if (!QueryValue(lpszName, type, pBuffer, dwSize)) return FALSE;
  if (type != REG_BINARY) {
    m_lastError = ERROR_INVALID_DATA;
    return FALSE;
  }
  return TRUE;
}

BOOL CWgRegistry::GetDoubleWordValue(LPCSTR lpszName, DWORD& dwValue) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!QueryValue(lpszName, type, reinterpret_cast<LPBYTE>(&value), size)) return FALSE;
  if (type != REG_DWORD || size != sizeof value) {
    m_lastError = ERROR_INVALID_DATA;
    return FALSE;
  }
  dwValue = value;
  return TRUE;
}

BOOL CWgRegistry::GetStringValue(LPCSTR lpszName, CString& strValue) {
  strValue.Empty();
  char buffer[kBufferSize + 1];
  DWORD type = 0;
  DWORD size = kBufferSize;
  if (!QueryValue(lpszName, type, reinterpret_cast<LPBYTE>(buffer), size)) return FALSE;
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    m_lastError = ERROR_INVALID_DATA;
    return FALSE;
  }
  // A stored string need not end with its terminator.
  buffer[size] = '\0';
  strValue = buffer;
  return TRUE;
}

BOOL CWgRegistry::GetStringArrayValue(LPCSTR lpszName, CStringArray& values) {
  values.RemoveAll();
  DWORD type = 0;
  DWORD size = 0;
  if (!QueryValue(lpszName, type, nullptr, size)) return FALSE;
  if (type != REG_MULTI_SZ) {
    m_lastError = ERROR_INVALID_DATA;
    return FALSE;
  }
  std::vector<char> data(size + 2, '\0');
  if (!QueryValue(lpszName, type, reinterpret_cast<LPBYTE>(data.data()), size)) return FALSE;
  // Strings one after another, each ended by a terminator, the list by an empty string.
  for (size_t i = 0; i < size && data[i];) {
    CString item(&data[i]);
    values.Add(item);
    i += item.GetLength() + 1;
  }
  return TRUE;
}

BOOL CWgRegistry::GetValue(LPCSTR lpszName, LPBYTE pBuffer, DWORD& dwSize) {
  return GetBinaryValue(lpszName, pBuffer, dwSize);
}

BOOL CWgRegistry::GetValue(LPCSTR lpszName, DWORD& dwValue) {
  return GetDoubleWordValue(lpszName, dwValue);
}

BOOL CWgRegistry::GetValue(LPCSTR lpszName, CString& strValue) {
  return GetStringValue(lpszName, strValue);
}

BOOL CWgRegistry::GetValue(LPCSTR lpszName, CStringArray& values) {
  return GetStringArrayValue(lpszName, values);
}

BOOL CWgRegistry::GetSecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR pDescriptor,
                              DWORD& dwSize) {
  return Succeeded(RegGetKeySecurity(m_keyHandle, info, pDescriptor, &dwSize));
}

BOOL CWgRegistry::SetSecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR pDescriptor) {
  return Succeeded(RegSetKeySecurity(m_keyHandle, info, pDescriptor));
}

BOOL CWgRegistry::Load(LPCSTR lpszSubkey, LPCSTR lpszFileName) {
  return Succeeded(RegLoadKeyA(Root(), lpszSubkey, lpszFileName));
}

BOOL CWgRegistry::UnLoad(LPCSTR lpszSubkey) {
  return Succeeded(RegUnLoadKeyA(Root(), lpszSubkey));
}

BOOL CWgRegistry::Replace(LPCSTR lpszSubkey, LPCSTR lpszNewFile, LPCSTR lpszBackupFile) {
  return Succeeded(RegReplaceKeyA(Root(), lpszSubkey, lpszNewFile, lpszBackupFile));
}

BOOL CWgRegistry::Restore(LPCSTR lpszFileName, DWORD dwFlags) {
  return Succeeded(RegRestoreKeyA(m_keyHandle, lpszFileName, dwFlags));
}

BOOL CWgRegistry::Save(LPCSTR lpszFileName, LPSECURITY_ATTRIBUTES pSecurityAttributes) {
  return Succeeded(RegSaveKeyA(m_keyHandle, lpszFileName, pSecurityAttributes));
}

BOOL CWgRegistry::NotifyChange(BOOL bWatchSubtree, DWORD dwFilter, HANDLE hEvent,
                               BOOL bAsynchronous) {
  return Succeeded(
      RegNotifyChangeKeyValue(m_keyHandle, bWatchSubtree, dwFilter, hEvent, bAsynchronous));
}

BOOL CWgRegistry::QueryInfo() {
  char className[kBufferSize];
  DWORD classLength = sizeof className;
  if (!Succeeded(RegQueryInfoKeyA(m_keyHandle, className, &classLength, nullptr, &m_numberOfSubkeys,
                                  &m_longestSubkeyNameLength, &m_longestClassNameLength,
                                  &m_numberOfValues, &m_longestValueNameLength,
                                  &m_longestValueDataLength, &m_securityDescriptorLength,
                                  &m_lastWriteTime))) {
    return FALSE;
  }
  m_className = CString(className, static_cast<int>(classLength));
  return TRUE;
}

BOOL CWgRegistry::SetValue(LPCSTR lpszName, DWORD dwType, const BYTE* pData, DWORD dwSize) {
  if (MissingName(lpszName)) return FALSE;
  return Succeeded(RegSetValueExA(m_keyHandle, lpszName, 0, dwType, pData, dwSize));
}

BOOL CWgRegistry::SetBinaryValue(LPCSTR lpszName, const BYTE* pData, DWORD dwSize) {
  return SetValue(lpszName, REG_BINARY, pData, dwSize);
}

BOOL CWgRegistry::SetDoubleWordValue(LPCSTR lpszName, DWORD dwValue) {
  return SetValue(lpszName, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue);
}

BOOL CWgRegistry::SetStringValue(LPCSTR lpszName, LPCSTR lpszValue) {
  if (!lpszValue) {
    m_lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  return SetValue(lpszName, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                  static_cast<DWORD>(lstrlenA(lpszValue) + 1));
}

BOOL CWgRegistry::SetStringArrayValue(LPCSTR lpszName, const CStringArray& values) {
  std::vector<char> data;
  for (INT_PTR i = 0; i < values.GetSize(); ++i) {
    // An empty string would end the list early; it cannot be stored in one.
    if (values[i].IsEmpty()) continue;
    data.insert(data.end(), values[i].GetString(), values[i].GetString() + values[i].GetLength());
    data.push_back('\0');
  }
  data.push_back('\0');
  return SetValue(lpszName, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                  static_cast<DWORD>(data.size()));
}

BOOL CWgRegistry::SetValue(LPCSTR lpszName, const BYTE* pData, DWORD dwSize) {
  return SetBinaryValue(lpszName, pData, dwSize);
}

BOOL CWgRegistry::SetValue(LPCSTR lpszName, DWORD dwValue) {
  return SetDoubleWordValue(lpszName, dwValue);
}

BOOL CWgRegistry::SetValue(LPCSTR lpszName, LPCSTR lpszValue) {
  return SetStringValue(lpszName, lpszValue);
}

BOOL CWgRegistry::SetValue(LPCSTR lpszName, const CStringArray& values) {
  return SetStringArrayValue(lpszName, values);
}
