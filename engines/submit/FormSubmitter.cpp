#include "engines/submit/FormSubmitter.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "engines/db/EngineList.h"
#include "engines/db/SearchEngine.h"
#include "foundation/core/UrlCoder.h"

CFormSubmitter::CFormSubmitter()
    : CSockHttpClient(kRedirectLimit), m_scratch(new (std::nothrow) char[1]()) {}

CFormSubmitter::~CFormSubmitter() = default;

// ---- hooks ----

void CFormSubmitter::OnNoAddress() {
  CSockHttpClient::OnNoAddress();
  Notify(kEngineNoAddress);
}

void CFormSubmitter::OnResolving() {
  CSockHttpClient::OnResolving();
  Notify(kEngineResolving);
}

void CFormSubmitter::OnConnected() {
  CSockHttpClient::OnConnected();
  Notify(kEngineConnected);
}

void CFormSubmitter::OnConnectFailed() {
  CSockHttpClient::OnConnectFailed();
  m_connectionOk = 0;
  Notify(kEngineConnectFailed);
}

void CFormSubmitter::OnConnectRefused() {
  CSockHttpClient::OnConnectRefused();
  m_connectionOk = 0;
  Notify(kEngineConnectFailed);
}

void CFormSubmitter::OnAbort() {
  CSockHttpClient::OnAbort();
  m_connectionOk = 0;
  Notify(kEngineAbort);
}

void CFormSubmitter::OnTimeout() {
  CSockHttpClient::OnTimeout();
  m_connectionOk = 0;
  Notify(kEngineTimeout);
}

void CFormSubmitter::OnReceiveProgress(uint32_t soFar, uint32_t total) {
  CSockHttpClient::OnReceiveProgress(soFar, total);
  uint32_t numbers[2] = {soFar, total};
  Notify(kEngineReceiveProgress, reinterpret_cast<uintptr_t>(numbers));
}

void CFormSubmitter::OnGetRequest(const CLibString& target) {
  const CUrl& url = GetCurrentUrl();
  int port = url.GetPort();
  if (port == 0) port = url.GetScheme().Lower() == "https" ? 443 : 80;
  CLibString status = url.GetHost() + ":" + CLibString(port);
  if (target.GetLength() > 0) {
    // The target is normally a path that brings its own "/".
    if (*target.c_str() != '/') status += "/";
    status += target;
  }
  Notify(kEngineGetRequest, reinterpret_cast<uintptr_t>(status.c_str()));
}

void CFormSubmitter::OnRequestSent() {
  CSockHttpClient::OnRequestSent();
  Notify(kEngineRequestSent);
}

void CFormSubmitter::OnConnectionFailed() {
  m_connectionOk = 0;
  Notify(kEngineConnectionFailed);
}

void CFormSubmitter::OnPageFetched(const CLibString& text) {
  Notify(kEnginePageFetched, reinterpret_cast<uintptr_t>(text.c_str()));
}

// ---- filling a form from the site profile ----

namespace {

// The ".submitlength" items "KEY=max", joined by "&". An item without "=" ends the list.
std::map<std::string, int> ReadLengthLimits(const CLibString& text) {
  std::map<std::string, int> limits;
  std::string rest = text.c_str();
  size_t start = 0;
  while (start < rest.size()) {
    size_t end = rest.find('&', start);
    if (end == std::string::npos) end = rest.size();
    std::string item = rest.substr(start, end - start);
    start = end + 1;
    if (item.empty()) continue;
    size_t equals = item.find('=');
    if (equals == std::string::npos) break;
    std::string key = item.substr(0, equals);
    if (key.empty()) continue;
    limits[key] = atoi(item.c_str() + equals + 1);
  }
  return limits;
}

bool EndsWith(const CLibString& text, const char* suffix) {
  int n = static_cast<int>(strlen(suffix));
  return text.GetLength() >= n && strcmp(text.c_str() + text.GetLength() - n, suffix) == 0;
}

// Localized fields that fall back to the general field when empty ("_MX" has no fallback).
bool HasLocalFallback(const CLibString& key) {
  static const char* const kSuffixes[] = {"_BR", "_DE", "_DK", "_FR", "_IT", "_NL", "_SE"};
  for (const char* suffix : kSuffixes)
    if (EndsWith(key, suffix)) return true;
  return false;
}

}  // namespace

void CFormSubmitter::FillFormFields(const CSearchEngine* engine, const CNVList& profile,
                                    CLibString& formText, int encode) {
  std::map<std::string, int> limits;
  CLibString charset;
  CLibString engineName;
  if (engine) {
    limits = ReadLengthLimits(engine->GetKey(".submitlength"));
    charset = engine->GetKey(".charset");
    engineName = engine->GetName();
  }
  bool flix = engineName == "FLIX-Deutschland";

  profile.ForEach([&](const CNVItem& item) {
    const CLibString& key = item.m_name;
    CLibString value = item.m_value;
    if (value.GetLength() == 0 && HasLocalFallback(key))
      value = profile.GetValue(key.Left(key.GetLength() - 3));
    if (flix && (key == "PHONE" || key == "FAX")) value.Replace("-", " ");

    CLibString placeholder = "#" + key + "#";
    if (formText.Find(placeholder) == 0) return;

    if (key.Find("_CATEGORY") > 0) {
      CNVList categories;
      CEngineList::LoadCategoriesFile(nullptr, nullptr, categories, key);
      CLibString group;
      if (categories.GetValue(value, group) && group.GetLength() > 0) value = group;
    }
    // The limit counts the user's characters: cutting after encoding could split an escape.
    auto limit = limits.find(key.c_str());
    if (limit != limits.end() && limit->second >= 0 && value.GetLength() > limit->second)
      value.Truncate(limit->second);
    if (encode) UrlEncode(value, charset);
    formText.Replace(placeholder, value);
  });
}
