// CWgRegistry: one object that holds a connected root key and one open key, wraps the Win32
// registry functions, and reports failures through the last Win32 error code instead of
// exceptions. It can also connect to the registry of another computer.
//
// Open, CreateKey, DeleteKey, Load, UnLoad and Replace work below the connected root (the
// classes root when none is connected); the value, enumeration, information, security,
// save/restore and notification operations work on the open key.
#pragma once
#include <windows.h>

#include "framework/core/Object.h"
#include "framework/core/String.h"
#include "framework/collections/StringArray.h"

class CWgRegistry : public CObject {
  DECLARE_DYNAMIC(CWgRegistry)
 public:
  CWgRegistry();
  CWgRegistry(const CWgRegistry&) = delete;
  CWgRegistry& operator=(const CWgRegistry&) = delete;
  // Closes whatever is still open.
  ~CWgRegistry() override;

  // Clears every field; open handles are not closed (Close does that).
  virtual void Initialize();

  virtual BOOL CreateKey(LPCSTR lpszSubkey, LPCSTR lpszClass = "",
                         DWORD dwOptions = REG_OPTION_NON_VOLATILE, REGSAM access = KEY_ALL_ACCESS,
                         LPSECURITY_ATTRIBUTES pSecurityAttributes = nullptr,
                         LPDWORD pDisposition = nullptr);
  virtual BOOL Close();
  // An empty or null computer name connects to this computer's registry; a named one connects
  // remotely, where the classes root and the current user's root cannot be reached (error 6).
  virtual BOOL Connect(HKEY hRootKey, LPCSTR lpszComputerName = nullptr);
  // The root given by its name ("HKEY_CURRENT_USER" and the like); an unknown name is error 87.
  BOOL Connect(LPCSTR lpszRootKeyName, LPCSTR lpszComputerName = nullptr);
  // With bRecursive every key below the subkey goes first, depth first.
  virtual BOOL DeleteKey(LPCSTR lpszSubkey, BOOL bRecursive = FALSE);
  virtual BOOL DeleteValue(LPCSTR lpszName);

  // The subkey or value at an index of the open key; FALSE (error 259) past the last one.
  virtual BOOL EnumerateKeys(DWORD dwIndex, CString& strName);
  virtual BOOL EnumerateKeys(DWORD dwIndex, CString& strName, CString& strClass);
  virtual BOOL EnumerateKeys(DWORD dwIndex, CString& strName, CString& strClass,
                             FILETIME& lastWriteTime);
  virtual BOOL EnumerateValues(DWORD dwIndex, CString& strName);
  virtual BOOL EnumerateValues(DWORD dwIndex, CString& strName, DWORD& dwType);
  virtual BOOL EnumerateValues(DWORD dwIndex, CString& strName, DWORD& dwType, LPBYTE pData,
                               DWORD& dwDataSize);

  virtual BOOL Flush();

  // Value reads: a null name is error 87. Strings come through a 2048-byte buffer (longer ones
  // fail) and a failed string read leaves the string empty. Each read checks the value's type.
  virtual BOOL GetBinaryValue(LPCSTR lpszName, LPBYTE pBuffer, DWORD& dwSize);
  virtual BOOL GetDoubleWordValue(LPCSTR lpszName, DWORD& dwValue);
  virtual BOOL GetSecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR pDescriptor,
                           DWORD& dwSize);
  virtual BOOL GetStringValue(LPCSTR lpszName, CString& strValue);
  virtual BOOL GetStringArrayValue(LPCSTR lpszName, CStringArray& values);
  virtual BOOL GetValue(LPCSTR lpszName, LPBYTE pBuffer, DWORD& dwSize);
  virtual BOOL GetValue(LPCSTR lpszName, DWORD& dwValue);
  virtual BOOL GetValue(LPCSTR lpszName, CString& strValue);
  virtual BOOL GetValue(LPCSTR lpszName, CStringArray& values);

  virtual BOOL Load(LPCSTR lpszSubkey, LPCSTR lpszFileName);
  virtual BOOL NotifyChange(BOOL bWatchSubtree, DWORD dwFilter, HANDLE hEvent, BOOL bAsynchronous);
  // Closes a key opened before (never the root) and opens the subkey.
  virtual BOOL Open(LPCSTR lpszSubkey, REGSAM access = KEY_READ);
  // Fills the key information (class, counts, longest names and data, last write).
  virtual BOOL QueryInfo();
  // The raw value: its type, and its data into the buffer (pBuffer may be null to ask the size).
  virtual BOOL QueryValue(LPCSTR lpszName, DWORD& dwType, LPBYTE pBuffer, DWORD& dwSize);
  virtual BOOL Replace(LPCSTR lpszSubkey, LPCSTR lpszNewFile, LPCSTR lpszBackupFile);
  virtual BOOL Restore(LPCSTR lpszFileName, DWORD dwFlags = 0);
  virtual BOOL Save(LPCSTR lpszFileName, LPSECURITY_ATTRIBUTES pSecurityAttributes = nullptr);

  // Value writes: a null name is error 87.
  virtual BOOL SetBinaryValue(LPCSTR lpszName, const BYTE* pData, DWORD dwSize);
  virtual BOOL SetDoubleWordValue(LPCSTR lpszName, DWORD dwValue);
  virtual BOOL SetSecurity(SECURITY_INFORMATION info, PSECURITY_DESCRIPTOR pDescriptor);
  virtual BOOL SetStringValue(LPCSTR lpszName, LPCSTR lpszValue);
  virtual BOOL SetStringArrayValue(LPCSTR lpszName, const CStringArray& values);
  virtual BOOL SetValue(LPCSTR lpszName, const BYTE* pData, DWORD dwSize);
  virtual BOOL SetValue(LPCSTR lpszName, DWORD dwValue);
  virtual BOOL SetValue(LPCSTR lpszName, LPCSTR lpszValue);
  virtual BOOL SetValue(LPCSTR lpszName, const CStringArray& values);
  virtual BOOL SetValue(LPCSTR lpszName, DWORD dwType, const BYTE* pData, DWORD dwSize);
  virtual BOOL UnLoad(LPCSTR lpszSubkey);

  // The root key of a name, or null for an unknown name.
  static HKEY GetRootKeyFromName(LPCSTR lpszName);

  DWORD GetLastError() const { return m_lastError; }
  HKEY GetKeyHandle() const { return m_keyHandle; }
  BOOL IsRemote() const { return m_remote; }
  // The computer connected to (this computer's name after a local Connect).
  const CString& GetMachineName() const { return m_computerName; }
  const CString& GetKeyName() const { return m_keyName; }
  const CString& GetKeyClassName() const { return m_className; }
  DWORD GetNumberOfSubkeys() const { return m_numberOfSubkeys; }
  DWORD GetLongestSubkeyNameLength() const { return m_longestSubkeyNameLength; }
  DWORD GetLongestClassNameLength() const { return m_longestClassNameLength; }
  DWORD GetNumberOfValues() const { return m_numberOfValues; }
  DWORD GetLongestValueNameLength() const { return m_longestValueNameLength; }
  DWORD GetLongestValueDataLength() const { return m_longestValueDataLength; }
  DWORD GetSecurityDescriptorLength() const { return m_securityDescriptorLength; }
  FILETIME GetLastWriteTime() const { return m_lastWriteTime; }

 private:
  BOOL Succeeded(LONG result);
  BOOL MissingName(LPCSTR lpszName);
  HKEY Root() const { return m_rootKeyHandle ? m_rootKeyHandle : HKEY_CLASSES_ROOT; }
  LONG DeleteTree(HKEY hParent, LPCSTR lpszSubkey);

  DWORD m_lastError;
  HKEY m_keyHandle;
  HKEY m_rootKeyHandle;
  BOOL m_closeRootKey;
  BOOL m_remote;
  CString m_computerName;
  CString m_className;
  DWORD m_numberOfSubkeys;
  DWORD m_longestSubkeyNameLength;
  DWORD m_longestClassNameLength;
  DWORD m_numberOfValues;
  DWORD m_longestValueNameLength;
  DWORD m_longestValueDataLength;
  DWORD m_securityDescriptorLength;
  FILETIME m_lastWriteTime;
  CString m_keyName;
};
