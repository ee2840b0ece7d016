// CTkProfileStore: the toolkit's own small settings store. A toolkit part that keeps state makes
// one on the stack, reads or writes a few values and drops it. Values live in the registry below
// the application's profile key (HKEY_CURRENT_USER\Software\<company>\<application>\<section>),
// or, when the toolkit has been given an INI file name, in that file. No key stays open between
// calls. Failures show only as FALSE, the default, or a null block; without a company key on the
// application every registry write fails and every read gives its default.
#pragma once
#include <windows.h>

#include "framework/collections/Map.h"
#include "framework/core/String.h"
#include "framework/collections/StringList.h"

class CWinApp;

// The registry value type of each value name of a section.
using CTkValueTypeMap = CMap<CString, LPCSTR, DWORD, DWORD>;

class CTkProfileStore {
 public:
  explicit CTkProfileStore(HKEY hRootKey);
  virtual ~CTkProfileStore() = default;
  CTkProfileStore(const CTkProfileStore&) = delete;
  CTkProfileStore& operator=(const CTkProfileStore&) = delete;

  // The application's key, created where missing; null when there is none. The caller closes it.
  virtual HKEY GetAppRegistryKey();
  // The section's key below the application's, created where missing; null on failure.
  virtual HKEY GetSectionKey(LPCSTR lpszSection);

  BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
  // A null entry removes the whole section (in the registry only when it has no subkeys); a
  // null value removes the entry.
  BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
  BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, const BYTE* pData, UINT nBytes);
  UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
  // From the registry of any length; from an INI file at most 4095 characters.
  CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
  // A new[] block that the caller delete[]s, and its size; FALSE with null and 0 when there is
  // no value (in an INI file: an empty one).
  BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, BYTE** ppData, UINT* pBytes);
  // Registry only, also in INI mode: a subkey of the section with all below it, or one value.
  BOOL DeleteKey(LPCSTR lpszSection, LPCSTR lpszSubKey);
  BOOL DeleteValue(LPCSTR lpszSection, LPCSTR lpszEntry);

  // Registry only: the section's value names (with their registry types) and subkey names;
  // the number found. Either output may be null.
  int GetSectionValues(LPCSTR lpszSection, CTkValueTypeMap* pTypes, CStringList* pNames);
  int GetSectionKeys(LPCSTR lpszSection, CStringList* pNames);

  // Fixed-size values kept as byte blocks of exactly their size. Reading fails for a stored
  // value longer than the object and never writes past the object.
  BOOL WriteProfilePoint(LPCSTR lpszSection, LPCSTR lpszEntry, const POINT& value);
  BOOL GetProfilePoint(LPCSTR lpszSection, LPCSTR lpszEntry, POINT& value);
  BOOL WriteProfileSize(LPCSTR lpszSection, LPCSTR lpszEntry, const SIZE& value);
  BOOL GetProfileSize(LPCSTR lpszSection, LPCSTR lpszEntry, SIZE& value);
  BOOL WriteProfilePair(LPCSTR lpszSection, LPCSTR lpszEntry, LONG first, LONG second);
  BOOL GetProfilePair(LPCSTR lpszSection, LPCSTR lpszEntry, LONG& first, LONG& second);
  BOOL WriteProfileRect(LPCSTR lpszSection, LPCSTR lpszEntry, const RECT& value);
  BOOL GetProfileRect(LPCSTR lpszSection, LPCSTR lpszEntry, RECT& value);
  BOOL WriteProfileDword(LPCSTR lpszSection, LPCSTR lpszEntry, DWORD value);
  BOOL GetProfileDword(LPCSTR lpszSection, LPCSTR lpszEntry, DWORD& value);
  BOOL WriteProfileColor(LPCSTR lpszSection, LPCSTR lpszEntry, COLORREF value) {
    return WriteProfileDword(lpszSection, lpszEntry, value);
  }
  BOOL GetProfileColor(LPCSTR lpszSection, LPCSTR lpszEntry, COLORREF& value) {
    return GetProfileDword(lpszSection, lpszEntry, value);
  }

  // Byte blocks in an INI file: two capital letters a byte, low nibble first ('A' + nibble).
  static CString EncodeBytes(const BYTE* pData, UINT nBytes);
  // Whole pairs only (an odd last letter is ignored), at most nMax bytes; the number decoded.
  static UINT DecodeBytes(const CString& text, BYTE* pData, UINT nMax);

 protected:
  bool UsesIniFile() const { return !m_strIniFile.IsEmpty(); }
  bool HasCompanyKey() const;
  BOOL WriteFixed(LPCSTR lpszSection, LPCSTR lpszEntry, const void* pData, UINT nBytes);
  BOOL GetFixed(LPCSTR lpszSection, LPCSTR lpszEntry, void* pData, UINT nBytes);

  HKEY m_hRootKey;
  CString m_strIniFile;
  CWinApp* m_pApp;
};
