#include "updater/app/ZBUpdateApp.h"

#include <commctrl.h>

#include "framework/app/AfxResource.h"
#include "resources/resource.h"
#include "updater/app/UpdateSession.h"
#include "updater/startup/NQCommandLineInfo.h"
#include "updater/startup/UpdateStartup.h"
#include "updater/update/UpdateProfile.h"

NQCommandLineInfo* g_pUpdateCommandLine = nullptr;

namespace {

// How long the main program may hold its language module while it closes.
const unsigned kModuleWaitMs = 30000;
// How long its window may stay after that: it closes right after starting the update.
const unsigned kMainWindowWaitMs = 5000;
const char* const kCaption = "ZBPro Update";

void WriteTextFile(const std::string& path, const std::string& text, bool append) {
  HANDLE f = ::CreateFileA(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                           FILE_SHARE_READ, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;  // a debug log that cannot be written is lost
  DWORD put = 0;
  if (!text.empty()) ::WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  ::CloseHandle(f);
}

}  // namespace

CZBUpdateApp::CZBUpdateApp() : CWinApp("ZBUpdate") {}

CZBUpdateApp::~CZBUpdateApp() = default;

bool CZBUpdateApp::LoadLanguageModule() {
  std::string folder = GetModuleFolder();
  std::string setting = ReadLanguageSetting();
  LanguageModuleChoice choice = ChooseLanguageModule(folder, setting, kModuleWaitMs);
  m_tempFolder = folder + "temp\\";
  if (!choice.path.empty()) m_languageCopy = CopyModuleFresh(choice.path, m_tempFolder);
  if (!m_languageCopy.empty()) m_language = ::LoadLibraryA(m_languageCopy.c_str());
  if (m_language) {
    AfxSetResourceHandle(m_language);
    return true;
  }
  // No module means no texts: this one message is all the program can say.
  std::string name = setting.empty() ? "ZBResENU.dll" : setting;
  std::string text = "The language module " + name + " cannot be loaded from " + folder +
                     ".\nPlease reinstall ZBPro.";
  ::MessageBoxA(nullptr, text.c_str(), kCaption, MB_OK | MB_ICONSTOP);
  return false;
}

void CZBUpdateApp::WriteStartLog() const {
  WriteTextFile(GetUpdateDebugLogPath(), std::string(), false);
  WriteTextFile(GetDebugStartLogPath(), DebugStartLines(*m_command), false);
}

BOOL CZBUpdateApp::InitInstance() {
  SetRegistryKey("Orvandel Labs, Inc.");
  // Read first (it has no effects of its own) so that even a failed start brings the main
  // program back when it asked for that.
  m_command = std::make_unique<NQCommandLineInfo>(m_commandLine.c_str());
  if (!LoadLanguageModule()) {
    m_exitCode = 1;
    // The main program closed for the update; it must not stay away because the update could
    // not start. Its own start reports what it lacks.
    if (m_command->m_launch || m_command->m_file)
      RelaunchMainProgram(GetModuleFolder(), m_command->m_documentPath);
    return FALSE;
  }
  // Beside a running main program nothing is replaced and it is not started a second time.
  if (!WaitForMainProgramToClose(kMainWindowWaitMs)) return FALSE;
  g_pUpdateCommandLine = m_command.get();
  if (m_command->m_debug) WriteStartLog();
  if (!m_command->m_update) {
    ::MessageBoxA(nullptr, AfxLoadString(IDS_UPDATE_NO_SWITCH).c_str(),
                  AfxLoadString(IDS_UPDATE_CAPTION).c_str(), MB_OK);
  }
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_ANIMATE_CLASS};
  ::InitCommonControlsEx(&controls);

  UpdateSettings settings;
  settings.programFolder = GetModuleFolder();
  settings.timeoutSeconds = ReadUpdateTimeout();
  settings.debug = m_command->m_debug;
  ReadProxySettings(settings);
  CRegistryServerStore servers;
  bool debug = m_command->m_debug;
  RunUpdateSession(
      settings, servers, *m_command,
      [debug](const std::string& folder, const std::string& document) {
        std::string lines;
        long result = RelaunchMainProgram(folder, document, debug ? &lines : nullptr);
        if (debug) WriteTextFile(GetDebugStartLogPath(), lines, true);
        return result;
      },
      this);
  return FALSE;
}

int CZBUpdateApp::ExitInstance() {
  if (m_language) {
    AfxSetResourceHandle(nullptr);
    ::FreeLibrary(m_language);
    m_language = nullptr;
    // Only the copy made at start-up goes, and its folder when nothing else is in it.
    RemoveModuleCopy(m_languageCopy, m_tempFolder);
  }
  g_pUpdateCommandLine = nullptr;
  m_command.reset();
  CWinApp::ExitInstance();
  return m_exitCode;
}
