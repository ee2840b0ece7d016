#include "toolkit/usertools/WgUserTool.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "framework/files/Archive.h"
#include "framework/exceptions/ArchiveException.h"
#include "framework/files/File.h"
#include "framework/exceptions/Exception.h"
#include "framework/exceptions/FileException.h"
#include "framework/collections/StringArray.h"
#include "framework/threads/WinThread.h"
#include "framework/gdi/Menu.h"

IMPLEMENT_SERIAL(CWgUserTool, CObject, 1)

namespace {
constexpr DWORD kWaitStep = 200;  // ms between looks at the running program
constexpr int kFileBuffer = 4096;
}  // namespace

CWgUserTool& CWgUserTool::operator=(const CWgUserTool& other) {
  if (this != &other) {
    m_bWait = other.m_bWait;
    m_strMenuText = other.m_strMenuText;
    m_strCommand = other.m_strCommand;
    m_strArguments = other.m_strArguments;
    m_strInitialDir = other.m_strInitialDir;
    m_nShowCmd = other.m_nShowCmd;
  }
  return *this;
}

void CWgUserTool::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_bWait << m_strMenuText << m_strCommand << m_strArguments << m_strInitialDir
       << m_nShowCmd;
  } else {
    ar >> m_bWait >> m_strMenuText >> m_strCommand >> m_strArguments >> m_strInitialDir >>
        m_nShowCmd;
  }
}

int ReplaceText(CString& str, LPCSTR lpszFind, LPCSTR lpszReplace, UINT nFlags) {
  if (!lpszFind || !*lpszFind || !lpszReplace) return -1;
  std::string text(static_cast<LPCSTR>(str));
  std::string find(lpszFind);
  if (text.size() < find.size()) return 0;
  std::string hay = text, needle = find;
  if (nFlags & TK_REPLACE_NOCASE) {
    ::CharUpperBuffA(hay.data(), static_cast<DWORD>(hay.size()));
    ::CharUpperBuffA(needle.data(), static_cast<DWORD>(needle.size()));
  }
  std::string out;
  int count = 0;
  size_t pos = 0;
  for (size_t hit; (hit = hay.find(needle, pos)) != std::string::npos; pos = hit + needle.size()) {
    out.append(text, pos, hit - pos);
    out.append(lpszReplace);
    ++count;
  }
  if (count == 0) return 0;
  out.append(text, pos, std::string::npos);
  str = out.c_str();
  return count;
}

BOOL CWgUserTool::Execute(const CStringArray* pReplacements) const {
  CString command = m_strCommand, arguments = m_strArguments, folder = m_strInitialDir;
  if (pReplacements) {
    for (INT_PTR i = 0; i < pReplacements->GetSize(); ++i) {
      const CString& entry = pReplacements->GetAt(i);
      int eq = entry.Find('=');
      if (eq <= 0) continue;
      CString name = entry.Left(eq), value = entry.Mid(eq + 1);
      if (value.IsEmpty()) continue;
      ReplaceText(command, name, value);
      ReplaceText(arguments, name, value);
      ReplaceText(folder, name, value);
    }
  }
  CString line = command;
  if (!arguments.IsEmpty()) line += " " + arguments;

  char previous[MAX_PATH + 2] = "";
  BOOL changed = FALSE;
  if (!folder.IsEmpty()) {
    DWORD n = ::GetCurrentDirectoryA(MAX_PATH, previous);
    if (n > 0 && n < MAX_PATH) {
      if (previous[n - 1] != '\\' && n < MAX_PATH - 1) lstrcatA(previous, "\\");
      changed = ::SetCurrentDirectoryA(folder);
    }
  }

  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(m_nShowCmd);
  PROCESS_INFORMATION pi{};
  std::string buffer(static_cast<LPCSTR>(line));
  BOOL ok = ::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             folder.IsEmpty() ? nullptr : static_cast<LPCSTR>(folder), &si, &pi);
  if (ok) {
    ::CloseHandle(pi.hThread);
    if (m_bWait) {
      // The user interface stays alive while the program runs: its messages go on as in the
      // main loop, pre-translation and idle work included.
      CWinThread* thread = AfxGetThread();
      for (;;) {
        DWORD r = ::WaitForSingleObject(pi.hProcess, kWaitStep);
        if (r == WAIT_OBJECT_0) break;
        if (r != WAIT_TIMEOUT) {
          ok = FALSE;
          break;
        }
        MSG msg;
        bool quit = false;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
          if (msg.message == WM_QUIT) {
            // Leave the quit to the main loop, which ends the program as asked.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            quit = true;
            break;
          }
          if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
          }
          if (thread) {
            thread->OnIdle(0);
            thread->OnIdle(1);
          }
        }
        if (quit) break;
      }
    }
    ::CloseHandle(pi.hProcess);
  }
  if (changed) ::SetCurrentDirectoryA(previous);
  return ok;
}

BOOL CWgUserTool::LoadTools(LPCSTR lpszPath, CObArray& tools, BOOL* pbDamaged) {
  if (pbDamaged) *pbDamaged = FALSE;
  CFileStatus status;
  if (!lpszPath || !CFile::GetStatus(lpszPath, status)) return FALSE;
  INT_PTR before = tools.GetSize();
  CFile file;
  if (!file.Open(lpszPath, CFile::modeRead | CFile::shareDenyNone)) {
    if (pbDamaged) *pbDamaged = TRUE;
    return FALSE;
  }
  BOOL damaged = FALSE;
  // The archive answers a back-reference with the object it read before: one tool in the list
  // twice would be deleted twice. Tools past the menu's count are kept aside until the end, so
  // that a reference to one of them never finds it already freed.
  std::unordered_set<CObject*> seen;
  for (INT_PTR i = 0; i < tools.GetSize(); ++i) seen.insert(tools.GetAt(i));
  std::vector<std::unique_ptr<CObject>> surplus;
  try {
    CArchive ar(&file, CArchive::load, kFileBuffer);
    for (DWORD_PTR n = ar.ReadCount(); n > 0; --n) {
      CObject* object = ar.ReadObject(RUNTIME_CLASS(CWgUserTool));
      if (!object) continue;  // a null entry has nothing to run
      if (!seen.insert(object).second) {
        damaged = TRUE;
        continue;
      }
      if (tools.GetSize() >= kMaxTools) {
        // More than the menu has commands for: the rest would never run.
        surplus.emplace_back(object);
        damaged = TRUE;
        continue;
      }
      tools.Add(object);
    }
  } catch (const CException&) {
    damaged = TRUE;
  }
  if (pbDamaged) *pbDamaged = damaged;
  return tools.GetSize() > before;
}

BOOL CWgUserTool::SaveTools(LPCSTR lpszPath, const CObArray& tools) {
  if (!lpszPath || !*lpszPath) return FALSE;
  CString temp = CString(lpszPath) + ".tmp";
  try {
    CFile file(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
    CArchive ar(&file, CArchive::store, kFileBuffer);
    ar.WriteCount(static_cast<DWORD_PTR>(tools.GetSize()));
    for (INT_PTR i = 0; i < tools.GetSize(); ++i) ar.WriteObject(tools.GetAt(i));
    ar.Close();
    file.Close();
  } catch (const CException&) {
    ::DeleteFileA(temp);
    return FALSE;
  }
  if (!::MoveFileExA(temp, lpszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileA(temp);
    return FALSE;
  }
  return TRUE;
}

BOOL CWgUserTool::AppendToMenu(CMenu* pMenu, int nFirstId, const CObArray& tools) {
  if (!pMenu || !pMenu->GetSafeHmenu() || nFirstId <= 0) return FALSE;
  HMENU menu = pMenu->GetSafeHmenu();
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (::GetMenuItemID(menu, i) == static_cast<UINT>(nFirstId)) {
      while (::GetMenuItemCount(menu) > i) ::DeleteMenu(menu, i, MF_BYPOSITION);
      break;
    }
  }
  auto lastIsSeparator = [menu]() {
    int n = ::GetMenuItemCount(menu);
    if (n <= 0) return false;
    MENUITEMINFOA mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoA(menu, n - 1, TRUE, &mii) && (mii.fType & MFT_SEPARATOR);
  };
  int appended = 0;
  if (tools.GetSize() > 0) {
    if (!lastIsSeparator()) ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    for (INT_PTR i = 0; i < tools.GetSize(); ++i) {
      const CWgUserTool* tool = static_cast<const CWgUserTool*>(tools.GetAt(i));
      if (tool && ::AppendMenuA(menu, MF_STRING, nFirstId + i, tool->m_strMenuText)) ++appended;
    }
  } else if (lastIsSeparator()) {
    ::DeleteMenu(menu, ::GetMenuItemCount(menu) - 1, MF_BYPOSITION);
  }
  return appended == tools.GetSize();
}

void CWgUserTool::FreeTools(CObArray& tools) {
  for (INT_PTR i = 0; i < tools.GetSize(); ++i) delete tools.GetAt(i);
  tools.RemoveAll();
}
