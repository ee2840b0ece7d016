#include "framework/app/WinApp.h"

#include <vector>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_app = nullptr;
}  // namespace

CWinApp* AfxGetApp() {
  return g_app;
}

LPCSTR AfxGetAppName() {
  return g_app ? g_app->m_pszAppName : nullptr;
}

CWinApp::CWinApp(LPCSTR lpszAppName) {
  m_hInstance = GetModuleHandleA(nullptr);
  if (lpszAppName && *lpszAppName) {
    m_strAppName = lpszAppName;
  } else {
    char path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    CString file(path, n < sizeof path ? static_cast<int>(n) : 0);
    int slash = file.ReverseFind('\\');
    if (file.ReverseFind('/') > slash) slash = file.ReverseFind('/');
    file = file.Mid(slash + 1);
    int dot = file.ReverseFind('.');
    m_strAppName = dot > 0 ? file.Left(dot) : file;
  }
  m_pszAppName = m_strAppName;
  g_app = this;
  AfxSetThread(this);
}

CWinApp::~CWinApp() {
  DeleteDocumentState();
  if (m_hDevMode) ::GlobalFree(m_hDevMode);
  if (m_hDevNames) ::GlobalFree(m_hDevNames);
  if (g_app == this) g_app = nullptr;
  if (AfxGetThread() == this) AfxSetThread(nullptr);
}

void CWinApp::SetRegistryKey(LPCSTR lpszRegistryKey) {
  m_strRegistryKey = lpszRegistryKey;
  m_strProfileName = m_strAppName;
  m_pszRegistryKey = m_strRegistryKey.IsEmpty() ? nullptr : m_strRegistryKey.GetString();
  m_pszProfileName = m_strProfileName;
}

HKEY CWinApp::OpenAppKey(bool create, REGSAM access) const {
  if (!m_pszRegistryKey || !m_pszProfileName) return nullptr;
  CString path = CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
  HKEY key = nullptr;
  LONG result = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, access, nullptr,
                                         &key, nullptr)
                       : RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, access, &key);
  return result == ERROR_SUCCESS ? key : nullptr;
}

HKEY CWinApp::OpenSectionKey(LPCSTR lpszSection, bool create, REGSAM access) const {
  HKEY appKey = OpenAppKey(create, create ? KEY_READ | KEY_WRITE : access);
  if (!appKey || !lpszSection || !*lpszSection) return appKey;
  HKEY key = nullptr;
  LONG result =
      create ? RegCreateKeyExA(appKey, lpszSection, 0, nullptr, 0, access, nullptr, &key, nullptr)
             : RegOpenKeyExA(appKey, lpszSection, 0, access, &key);
  RegCloseKey(appKey);
  return result == ERROR_SUCCESS ? key : nullptr;
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault) {
  HKEY key = OpenSectionKey(lpszSection, false, KEY_READ);
  if (!key) return static_cast<UINT>(nDefault);
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  LONG result =
      RegQueryValueExA(key, lpszEntry, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) {
    return static_cast<UINT>(nDefault);
  }
  return value;
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault) {
  HKEY key = OpenSectionKey(lpszSection, false, KEY_READ);
  if (!key) return CString(lpszDefault);
  DWORD type = 0;
  DWORD size = 0;
  LONG result = RegQueryValueExA(key, lpszEntry, nullptr, &type, nullptr, &size);
  CString value;
  if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
    // The value may change between the two calls; a second size query settles it.
    std::vector<char> data(size + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
      DWORD got = size;
      result = RegQueryValueExA(key, lpszEntry, nullptr, &type,
                                reinterpret_cast<LPBYTE>(data.data()), &got);
      if (result == ERROR_MORE_DATA) {
        size = got;
        data.assign(size + 1, '\0');
        continue;
      }
      if (result == ERROR_SUCCESS) {
        data[got < data.size() ? got : data.size() - 1] = '\0';
        value = data.data();
      }
      break;
    }
  } else {
    result = ERROR_FILE_NOT_FOUND;
  }
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? value : CString(lpszDefault);
}

BOOL CWinApp::GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
  if (!ppData || !pBytes) return FALSE;
  *ppData = nullptr;
  *pBytes = 0;
  HKEY key = OpenSectionKey(lpszSection, false, KEY_READ);
  if (!key) return FALSE;
  DWORD type = 0;
  DWORD size = 0;
  LONG result = RegQueryValueExA(key, lpszEntry, nullptr, &type, nullptr, &size);
  if (result == ERROR_SUCCESS && type == REG_BINARY) {
    LPBYTE data = new BYTE[size ? size : 1];
    DWORD got = size;
    result = RegQueryValueExA(key, lpszEntry, nullptr, &type, data, &got);
    if (result == ERROR_SUCCESS && type == REG_BINARY) {
      *ppData = data;
      *pBytes = got;
    } else {
      delete[] data;
      result = ERROR_INVALID_DATA;
    }
  } else if (result == ERROR_SUCCESS) {
    result = ERROR_INVALID_DATA;
  }
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue) {
  HKEY key = OpenSectionKey(lpszSection, true, KEY_READ | KEY_WRITE);
  if (!key) return FALSE;
  DWORD value = static_cast<DWORD>(nValue);
  LONG result = RegSetValueExA(key, lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                               sizeof value);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue) {
  LONG result;
  if (!lpszEntry) {
    if (!lpszSection || !*lpszSection) return FALSE;
    HKEY appKey = OpenAppKey(false, KEY_READ | KEY_WRITE);
    if (!appKey) return FALSE;
    result = RegDeleteKeyA(appKey, lpszSection);
    RegCloseKey(appKey);
    return result == ERROR_SUCCESS;
  }
  if (!lpszValue) {
    HKEY key = OpenSectionKey(lpszSection, false, KEY_READ | KEY_WRITE);
    if (!key) return FALSE;
    result = RegDeleteValueA(key, lpszEntry);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
  }
  HKEY key = OpenSectionKey(lpszSection, true, KEY_READ | KEY_WRITE);
  if (!key) return FALSE;
  result = RegSetValueExA(key, lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                          static_cast<DWORD>(lstrlenA(lpszValue) + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes) {
  if (!pData && nBytes) return FALSE;
  HKEY key = OpenSectionKey(lpszSection, true, KEY_READ | KEY_WRITE);
  if (!key) return FALSE;
  LONG result = RegSetValueExA(key, lpszEntry, 0, REG_BINARY, pData, nBytes);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  app->m_hInstance = hInstance;
  app->m_nCmdShow = nCmdShow;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
