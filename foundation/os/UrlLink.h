// CUrlLink: opens a web address (or a file) in the user's browser and tells the user in plain
// words when that fails.
#pragma once
#include <windows.h>

#include "framework/core/String.h"

class CUrlLink {
 public:
  explicit CUrlLink(LPCSTR lpszUrl = "") : m_url(lpszUrl) {}
  virtual ~CUrlLink() = default;

  const CString& GetUrl() const { return m_url; }
  void SetUrl(LPCSTR lpszUrl) { m_url = lpszUrl; }
  BOOL Open() const { return Open(m_url); }

  // Asks the shell to open the address; failing that, starts the open command of the ".htm"
  // association with the address. When both fail the user sees why. TRUE when one of them
  // started.
  static BOOL Open(LPCSTR lpszUrl);
  // The same two ways without a word to the user: the result of the shell, or of starting the
  // association's command when the shell failed and the association has one. Above 32 means
  // started; otherwise it is the failure code that GetErrorText explains.
  static int Launch(LPCSTR lpszUrl, int nShowCmd = SW_SHOWNORMAL);

  // The command line for the association's open command: the command cut before its "%1"
  // placeholder, then the address as one quoted argument, so that blanks or quotes in it
  // cannot add arguments of their own.
  static CString MakeCommandLine(const CString& command, const CString& url);
  // The text for a failure code of the shell or of starting a program.
  static CString GetErrorText(int code);

  // Shows the failure message; replaceable so that tests can capture it. Returns the previous.
  using MessageFunction = void (*)(LPCSTR lpszText);
  static MessageFunction SetMessageFunction(MessageFunction function);

 private:
  CString m_url;
};
