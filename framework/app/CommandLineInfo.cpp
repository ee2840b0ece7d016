#include "framework/app/CommandLineInfo.h"

#include <cstdlib>

void CCommandLineInfo::ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL /*bLast*/) {
  if (!pszParam) return;
  if (bFlag) {
    if (lstrcmpiA(pszParam, "unregister") == 0) m_nShellCommand = AppUnregister;
    return;
  }
  // The first plain argument is the document; later ones are not ours to interpret.
  if (m_strFileName.IsEmpty() && *pszParam) {
    m_strFileName = pszParam;
    m_nShellCommand = FileOpen;
  }
}

void ParseCommandLine(int argc, const char* const* argv, CCommandLineInfo& info) {
  if (!argv) return;
  for (int i = 1; i < argc; ++i) {
    const char* param = argv[i];
    if (!param) continue;
    BOOL flag = (param[0] == '-' || param[0] == '/') ? TRUE : FALSE;
    info.ParseParam(flag ? param + 1 : param, flag, i == argc - 1 ? TRUE : FALSE);
  }
}

void ParseCommandLine(CCommandLineInfo& info) {
  ParseCommandLine(__argc, __argv, info);
}
