#include "foundation/cgi/CgiEnvironment.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "foundation/core/UrlCoder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

const char* const kVariableNames[CCgiEnvironment::kRequestVariableCount] = {
    "SERVER_SOFTWARE", "SERVER_NAME",   "GATEWAY_INTERFACE", "SERVER_PROTOCOL", "SERVER_PORT",
    "HTTP_ACCEPT",     "PATH_INFO",     "PATH_TRANSLATED",   "SCRIPT_NAME",     "QUERY_STRING",
    "REMOTE_HOST",     "REMOTE_ADDR",   "AUTH_TYPE",         "REMOTE_USER",     "REMOTE_IDENT",
    "CONTENT_TYPE",    "REQUEST_METHOD"};

// URL-encodes length bytes (all of them, zero bytes included) onto out.
void AppendUrlEncoded(std::string& out, const char* data, int length) {
  CUrlCoder coder;
  char* coded = coder.Encode(data, length);
  if (!coded) return;
  out.append(coded, static_cast<size_t>(length));
  FreeCoderBuffer(coded);
}

bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

}  // namespace

CLibString CCgiEnvironment::GetEnv(const CLibString& name) const {
  const char* value = getenv(name.c_str());
  return CLibString(value ? value : "");
}

CLibString CCgiEnvironment::BuildQuery() const {
  CCoder& coder = GetCoder();
  int id = coder.GetId();
  std::string query;
  ForEach([&](const CNVItem& item) {
    if (!query.empty()) query += '&';
    int length = item.m_value.GetLength();
    if (id == CCoder::kNullCoder) {
      AppendUrlEncoded(query, item.m_name.c_str(), item.m_name.GetLength());
      query += '=';
      AppendUrlEncoded(query, item.m_value.c_str(), length);
      return;
    }
    CLibString name = CLibString().Format("*%02d%s", id, item.m_name.c_str());
    AppendUrlEncoded(query, name.c_str(), name.GetLength());
    query += '=';
    // A value that could not be coded is sent empty rather than in the clear.
    if (char* coded = coder.Encode(item.m_value.c_str(), length)) {
      AppendUrlEncoded(query, coded, length);
      FreeCoderBuffer(coded);
    }
  });
  return CLibString(query.c_str());
}

int CCgiEnvironment::ParseQuery(const CLibString& text) {
  int added = 0;
  CLibString rest = text;
  while (*rest.c_str()) {
    int before = rest.GetLength();
    CLibString piece = rest.NextToken("&");
    int equals = piece.FindChar('=');
    if (equals > 0) {
      CLibString name = UrlDecodeValue(piece.Left(equals - 1));
      CLibString value = UrlDecodeValue(piece.Mid(equals, piece.GetLength()));
      const char* n = name.c_str();
      bool coded = n[0] == '*' && IsDigit(n[1]) && IsDigit(n[2]);
      if (coded && *value.c_str()) {
        name = CLibString(n + 3);
        int length = value.GetLength();
        char* plain = GetCoder().Decode(value.c_str(), length);
        value = plain && length > 0 ? CLibString(plain, plain + length - 1) : CLibString();
        FreeCoderBuffer(plain);
      }
      if (*name.c_str() && *value.c_str()) {
        CLibString& slot = (*this)[name];
        if (*slot.c_str()) slot += "\r\n";
        slot += value;
        ++added;
      }
    }
    if (rest.GetLength() >= before) break;  // cannot happen; guards the loop all the same
  }
  return added;
}

void CCgiEnvironment::LoadRequestVariable(int which) {
  CLibString& variable = m_variables[which];
  if (*variable.c_str()) return;
  variable = GetEnv(kVariableNames[which]);
  if (which == kRequestMethod) variable.MakeUpper().TrimRight(' ');
}

void CCgiEnvironment::LoadRequestVariables() {
  for (int i = 0; i < kRequestVariableCount; ++i) LoadRequestVariable(i);
  GetContentLength();
}

const CLibString& CCgiEnvironment::GetRequestVariable(RequestVariable which) {
  static const CLibString kNone;
  if (which < 0 || which >= kRequestVariableCount) return kNone;
  LoadRequestVariable(which);
  return m_variables[which];
}

const char* CCgiEnvironment::GetRequestVariableName(RequestVariable which) {
  return which >= 0 && which < kRequestVariableCount ? kVariableNames[which] : "";
}

int32_t CCgiEnvironment::GetContentLength() {
  if (m_contentLength == 0) {
    // strtol rather than atol: an overlong number must not overflow.
    long length = strtol(GetEnv("CONTENT_LENGTH").c_str(), nullptr, 10);
    m_contentLength = length < 0           ? 0
                      : length > INT32_MAX ? INT32_MAX
                                           : static_cast<int32_t>(length);
  }
  return m_contentLength;
}

CLibString CCgiEnvironment::UrlEncodeValue(const CLibString& text) {
  CLibString copy(text);
  return UrlEncode(copy);
}

CLibString CCgiEnvironment::UrlDecodeValue(const CLibString& text) {
  CLibString copy(text);
  return UrlDecode(copy);
}

CLibString CCgiEnvironment::TempFileName() {
#ifdef _WIN32
  // The runtime's own temporary-name function, in the folder of TMP.
  char* name = _tempnam(nullptr, "cgi");
  CLibString result(name ? name : "");
  free(name);
  return result;
#else
  // tmpnam would do, but the linker warns of it; mkstemp gives a name that is surely fresh
  // and reserves it with an empty file.
  const char* folder = getenv("TMPDIR");
  std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/cgiXXXXXX";
  int fd = mkstemp(pattern.data());
  if (fd < 0) return CLibString();
  close(fd);
  return CLibString(pattern.c_str());
#endif
}
