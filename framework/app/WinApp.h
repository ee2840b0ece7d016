// CWinApp: the application object (one per program) and the main thread's CWinThread (its
// message loop, idle work and main window). It also holds what works before any window exists: the application's name, its registry key and the profile functions that read
// and write the per-user settings under HKEY_CURRENT_USER\Software\<registry key>\<profile
// name>\<section>. Without a registry key (SetRegistryKey not called) every read gives its
// default and every write fails.
#pragma once
#include <windows.h>
#include <commdlg.h>

#include "framework/core/String.h"
#include "framework/threads/WinThread.h"

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CRecentFileList;

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)
 public:
  // The name defaults to the program file's name without its extension.
  explicit CWinApp(LPCSTR lpszAppName = nullptr);
  ~CWinApp() override;

  // Sets the company key; the profile name becomes the application's name.
  void SetRegistryKey(LPCSTR lpszRegistryKey);

  // An empty section means the application's key itself.
  UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
  CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = nullptr);
  // A new[]-allocated copy of a binary value that the caller delete[]s; FALSE (and null, 0)
  // when the value is missing or not binary.
  BOOL GetProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
  BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);
  // A null entry deletes the section's key (when it has no subkeys); a null value the entry.
  BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
  BOOL WriteProfileBinary(LPCSTR lpszSection, LPCSTR lpszEntry, LPBYTE pData, UINT nBytes);

  // --- documents and the recent-file list (app/WinAppDoc.cpp) ---
  // Reads the recent-file list (nMaxMRU entries, none with 0) from the profile.
  void LoadStdProfileSettings(UINT nMaxMRU = 4);
  virtual void AddToRecentFileList(LPCSTR lpszPathName);
  // The application owns its templates from here on.
  void AddDocTemplate(CDocTemplate* pTemplate);
  CDocTemplate* GetFirstDocTemplate() const { return m_pDocTemplate; }
  // New, open or nothing, as the command line says; FALSE when the start failed.
  BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
  // Opening by the shell: the file type of the template under the user's classes.
  void EnableShellOpen() { m_bShellOpen = TRUE; }
  BOOL RegisterShellFileTypes(BOOL bCompat = FALSE);
  void OnFileNew();
  void OnFileOpen();
  // The print setup dialog; the printer and settings chosen are kept for the next time.
  void OnFilePrintSetup();
  // Runs the print dialog (the system's PrintDlg); a seam for programs and tests.
  virtual BOOL DoPrintDialog(PRINTDLGA* pPD);
  HGLOBAL m_hDevMode = nullptr;   // the printer settings last chosen, owned
  HGLOBAL m_hDevNames = nullptr;  // the printer last chosen, owned
  // Opens the file as the program's document; null when it cannot be (the reason reported).
  virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
  // No help engine is installed: the request is only logged.
  virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
  // Saves the recent-file list; the exit code of the program.
  int ExitInstance() override;
  CRecentFileList* m_pRecentFileList = nullptr;
  CDocTemplate* m_pDocTemplate = nullptr;  // one kind of document per program
  BOOL m_bShellOpen = FALSE;

  LPCSTR m_pszAppName = nullptr;
  LPCSTR m_pszRegistryKey = nullptr;  // null until SetRegistryKey
  LPCSTR m_pszProfileName = nullptr;
  HINSTANCE m_hInstance = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;

 protected:
  // A recent-file command: opens the entry; an entry whose file is gone is offered for removal.
  BOOL OnOpenRecentFile(UINT nID);
  void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()

 private:
  // The section's key, opened as it is or created with every missing level; null when there is
  // none. Reading never creates keys.
  HKEY OpenSectionKey(LPCSTR lpszSection, bool create, REGSAM access) const;
  HKEY OpenAppKey(bool create, REGSAM access) const;
  // Frees the recent-file list (and later the templates) exactly once.
  void DeleteDocumentState();

  CString m_strAppName;
  CString m_strRegistryKey;
  CString m_strProfileName;
};

// Runs the application object: InitInstance, then the message loop; the loop's exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

// The application object, or null before it is constructed.
CWinApp* AfxGetApp();
// The application's name, or null without an application object.
LPCSTR AfxGetAppName();
