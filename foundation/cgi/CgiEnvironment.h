// CCgiEnvironment: a list of form variables that composes a URL-encoded query string and parses
// one back. A coder can protect the values: each coded value travels under its name prefixed by
// "*" and the coder's two-digit identity. It also carries the standard CGI request variables and
// the request's cookies, so that a page printed by the HTML classes can be a CGI program's answer.
#pragma once

#include <cstdint>

#include "foundation/cgi/CgiCookies.h"
#include "foundation/core/Coder.h"
#include "foundation/core/NVList.h"

class CCgiEnvironment : public CNVList {
 public:
  enum RequestVariable {
    kServerSoftware,
    kServerName,
    kGatewayInterface,
    kServerProtocol,
    kServerPort,
    kHttpAccept,
    kPathInfo,
    kPathTranslated,
    kScriptName,
    kQueryString,
    kRemoteHost,
    kRemoteAddr,
    kAuthType,
    kRemoteUser,
    kRemoteIdent,
    kContentType,
    kRequestMethod,
    kRequestVariableCount
  };

  CCgiEnvironment() = default;

  // A process environment variable, "" when absent.
  virtual CLibString GetEnv(const CLibString& name) const;

  // The coder applied to every value of the query; null means the shared pass-through coder.
  // The coder is not owned.
  void SetCoder(CCoder* coder) { m_coder = coder; }
  CCoder& GetCoder() const { return m_coder ? *m_coder : g_NullCoder; }

  // name=value pairs joined by "&", in name order, names and values URL-encoded.
  CLibString BuildQuery() const;
  // Adds the variables of a query text and returns how many were stored. Pieces without a name
  // or without a value, and coded values that do not decode, are skipped; a name given again
  // gets its new value appended after a CR LF.
  int ParseQuery(const CLibString& text);

  // Fills the request variables that are still empty, and the content length while it is 0.
  void LoadRequestVariables();
  // A request variable, loaded first when it is still empty.
  const CLibString& GetRequestVariable(RequestVariable which);
  static const char* GetRequestVariableName(RequestVariable which);
  // CONTENT_LENGTH, loaded while it is 0; a negative or unreadable length counts as 0.
  int32_t GetContentLength();

  static CLibString UrlEncodeValue(const CLibString& text);
  static CLibString UrlDecodeValue(const CLibString& text);
  // A fresh temporary file name; empty when none could be had.
  static CLibString TempFileName();

  CCgiCookies& GetCookies() { return m_cookies; }
  const CCgiCookies& GetCookies() const { return m_cookies; }

 private:
  void LoadRequestVariable(int which);

  CLibString m_variables[kRequestVariableCount];
  int32_t m_contentLength = 0;
  CCoder* m_coder = nullptr;
  CCgiCookies m_cookies;
};
