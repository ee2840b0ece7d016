#include "foundation/os/UrlLink.h"

#include <shellapi.h>

#include "foundation/os/WgRegistry.h"
#include "framework/app/WinApp.h"

namespace {

void ShowMessageBox(LPCSTR lpszText) {
  MessageBoxA(GetActiveWindow(), lpszText, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

CUrlLink::MessageFunction g_showMessage = ShowMessageBox;

// One argument as the runtime library's command-line parser reads it back: in double quotes,
// a quote inside written as \", and backslashes before a quote (or before the closing quote)
// doubled.
CString QuoteArgument(const CString& text) {
  CString quoted("\"");
  int backslashes = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    char ch = text[i];
    if (ch == '\\') {
      ++backslashes;
      continue;
    }
    if (ch == '"') {
      quoted += CString('\\', backslashes * 2 + 1);
    } else {
      quoted += CString('\\', backslashes);
    }
    backslashes = 0;
    quoted += ch;
  }
  quoted += CString('\\', backslashes * 2);
  quoted += '"';
  return quoted;
}

// The open command of the ".htm" association, or "" when either key is missing.
CString HtmOpenCommand() {
  CWgRegistry registry;
  CString className;
  if (!registry.Connect(HKEY_CLASSES_ROOT) || !registry.Open(".htm", KEY_QUERY_VALUE) ||
      !registry.GetStringValue("", className) || className.IsEmpty()) {
    return CString();
  }
  CString command;
  if (!registry.Open(className + "\\shell\\open\\command", KEY_QUERY_VALUE) ||
      !registry.GetStringValue("", command)) {
    return CString();
  }
  // Commands are often stored with variables such as %ProgramFiles%; "%1" is left as it is.
  char expanded[4096];
  DWORD n = ExpandEnvironmentStringsA(command, expanded, sizeof expanded);
  return n > 0 && n <= sizeof expanded ? CString(expanded) : command;
}

}  // namespace

CUrlLink::MessageFunction CUrlLink::SetMessageFunction(MessageFunction function) {
  MessageFunction previous = g_showMessage;
  g_showMessage = function ? function : ShowMessageBox;
  return previous;
}

CString CUrlLink::MakeCommandLine(const CString& command, const CString& url) {
  int cut = command.Find("\"%1\"");
  if (cut < 0) cut = command.Find("%1");
  CString line = cut < 0 ? command : command.Left(cut);
  return line + " " + QuoteArgument(url);
}

CString CUrlLink::GetErrorText(int code) {
  switch (code) {
    case 0:
      return "The operating system is out\nof memory or resources.";
    case SE_ERR_FNF:
      return "The specified file was not found.";
    case SE_ERR_PNF:
      return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED:
      return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM:
      return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT:
      return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE:
      return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE:
      return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT:
      return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL:
      return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
      return "The DDE transaction could not\nbe completed because other DDE transactions\n"
             "were being processed.";
    case SE_ERR_NOASSOC:
      return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND:
      return "The specified dynamic-link library was not found.";
    default: {
      CString text;
      text.Format("Unknown Error (%d) occurred.", code);
      return text;
    }
  }
}

int CUrlLink::Launch(LPCSTR lpszUrl, int nShowCmd) {
  CString url(lpszUrl);
  INT_PTR result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", url, nullptr, nullptr, nShowCmd));
  if (result > 32) return static_cast<int>(result);

  CString command = HtmOpenCommand();
  if (!command.IsEmpty())
    result = static_cast<INT_PTR>(WinExec(MakeCommandLine(command, url), nShowCmd));
  return static_cast<int>(result);
}

BOOL CUrlLink::Open(LPCSTR lpszUrl) {
  CString url(lpszUrl);
  if (url.IsEmpty()) {
    g_showMessage("Unable to open hyperlink:\n\n" + GetErrorText(SE_ERR_FNF));
    return FALSE;
  }
  int result = Launch(url, SW_SHOWNORMAL);
  if (result > 32) return TRUE;
  g_showMessage("Unable to open hyperlink:\n\n" + GetErrorText(result));
  return FALSE;
}
