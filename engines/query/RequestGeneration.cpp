// CSearchEngine: the definition accessors and the building of a query's requests (the first, each
// next one, and their URLs made absolute against the page last fetched).
#include "engines/query/RequestGeneration.h"

#include <cctype>
#include <cstring>

#include "engines/parse/FormParser.h"
#include "engines/parse/PageAddress.h"
#include "engines/db/SearchEngine.h"
#include "engines/parse/TagAttributes.h"

namespace {

// "name:" at the front, with a name as URL schemes are written ("http", "https", "ftp",
// "mailto", "javascript" ...): such a URL stands on its own.
bool HasScheme(const CLibString& url) {
  const char* p = url.c_str();
  if (!isalpha(static_cast<unsigned char>(*p))) return false;
  while (isalnum(static_cast<unsigned char>(*p)) || *p == '+' || *p == '-' || *p == '.') ++p;
  return *p == ':';
}

bool StartsWith(const CLibString& text, const char* prefix) {
  return strncmp(text.c_str(), prefix, strlen(prefix)) == 0;
}

// Scheme, host and port of an address, as the front of a root-relative link on its page.
CLibString Origin(const CUrl& url) {
  CLibString scheme = url.GetScheme().Lower();
  if (scheme.GetLength() == 0) scheme = "http";
  CLibString origin = scheme + "://" + url.GetHost();
  int port = url.GetPort();
  bool usual = port == 0 || (port == 80 && scheme == "http") || (port == 443 && scheme == "https");
  if (!usual) origin += CLibString().Format(":%d", port);
  return origin;
}

}  // namespace

void SplitRequest(const CLibString& request, CLibString* url, CLibString* method) {
  CLibString front = request.Left(5).Lower();
  CLibString u, m;
  if (front == "post ") {
    m = "post";
    u = request.Mid(5, request.GetLength());
  } else {
    m = "get";
    u = front.Left(4) == "get " ? request.Mid(4, request.GetLength()) : request;
  }
  if (url) *url = u;
  if (method) *method = m;
}

int CSearchEngine::GetIcon() const {
  return GetKeyInt(".icon");
}
CLibString CSearchEngine::GetCountry() const {
  return GetKey(".country");
}
CLibString CSearchEngine::GetLanguage() const {
  return GetKey(".language");
}
CLibString CSearchEngine::GetCategory() const {
  return GetKey(".category");
}
CLibString CSearchEngine::GetName() const {
  return m_name;
}
CLibString CSearchEngine::GetSearchUrl() const {
  return GetKey(".search");
}
CLibString CSearchEngine::GetHomePage() const {
  return GetKey(".homepage");
}
CLibString CSearchEngine::GetAddPage() const {
  return GetKey(".addpage");
}
bool CSearchEngine::CanSubmit() const {
  return GetKey(".submit").GetLength() > 0;
}

CLibString CSearchEngine::GenFirst() {
  m_pagesParsed = 0;
  m_firstPageResults = 0;
  CLibString request = GetKey(".genfirst");
  CLibString formStart = GetKey(".first_formstart");
  // The page loop has fetched the home page into the page text; its search form is filled with
  // the keywords and the definition's own values and sent.
  if (request.Find("#FORMNEXT#") > 0 && formStart.GetLength() > 0 && m_forms) {
    CNVList overrides;
    for (const char* key : {".first_keywordfield1", ".first_keywordfield2"}) {
      CLibString field = GetKey(key);
      if (field.GetLength() > 0) overrides.SetAt(field, "#KEYWORDS#");
    }
    static const char* const kChanges[][2] = {{".first_formchangename1", ".first_formchangeval1"},
                                              {".first_formchangename2", ".first_formchangeval2"}};
    for (const auto& change : kChanges) {
      CLibString field = GetKey(change[0]);
      if (field.GetLength() > 0) overrides.SetAt(field, GetKey(change[1]));
    }
    ParseForm(*this, formStart, 1, m_pageText, m_forms->Main(), overrides);
  }
  SubstitutePlaceholders(request, true);
  return ResolveUrl(request);
}

CLibString CSearchEngine::GenNext() {
  // The count after the first page that gave any results.
  if (m_firstPageResults == 0) m_firstPageResults = GetResultCount();
  CLibString request = GetKey(".gennext");
  if (request.GetLength() == 0) return request;
  SubstitutePlaceholders(request, true);
  if (request.GetLength() == 0) return request;
  return ResolveUrl(request);
}

CLibString CSearchEngine::ResolveUrl(const CLibString& request) {
  CLibString url, method;
  SplitRequest(request, &url, &method);
  if (StartsWith(url, "http:") && !StartsWith(url, "http://")) url = url.Mid(5, url.GetLength());

  if (url.GetLength() > 0 && !HasScheme(url)) {
    const CUrl& last = GetCurrentUrl();
    // Before any page was fetched there is nothing to resolve against.
    CLibString base = last.GetHost().GetLength() > 0 ? last.GetUrlWithoutQuery() : CLibString();
    int baseTag = m_pageText.FindNoCase("<base ");
    if (baseTag > 0) {
      CLibString tag = m_pageText.Mid(baseTag - 1, m_pageText.GetLength());
      int close = tag.FindChar('>');
      if (close > 0) tag.Truncate(close - 1);
      // The base becomes the front of request lines: no control characters, web pages only.
      CLibString href = CleanPageAddress(GetTagAttribute(tag, "href"));
      if (href.GetLength() > 0 && IsWebAddress(href)) base = href;
    }
    // A site's root is written without its "/"; put it back so that the base's folder is the
    // root rather than the "//" after the scheme.
    int authority = base.Find("://");
    if (authority > 0) {
      CLibString rest = base.Mid(authority + 2, base.GetLength());
      int end = rest.FindOneOf("/?#");
      if (end < 0 || rest.c_str()[end] != '/')
        base = base.Left(authority + 2) + rest.Left(end < 0 ? rest.GetLength() : end) + "/" +
               (end < 0 ? CLibString() : rest.Mid(end, rest.GetLength()));
    }

    if (StartsWith(url, "./")) url = url.Mid(2, url.GetLength());
    if (StartsWith(url, "//")) {
      // Same scheme as the page, another host.
      CLibString scheme = last.GetScheme();
      url = (scheme.GetLength() > 0 ? scheme : CLibString("http")) + ":" + url;
    } else if (StartsWith(url, "?")) {
      // A BASE tag's address may carry a query of its own.
      int query = base.ReverseFind("?");
      if (query >= 0) base.Truncate(query);
      url = base + url;
    } else if (StartsWith(url, "/")) {
      if (last.GetHost().GetLength() > 0) url = Origin(last) + url;
    } else {
      int slash = base.ReverseFind("/");
      if (slash >= 0) url = base.Left(slash + 1) + url;
    }
  }

  if (method.GetLength() > 0 && url.GetLength() > 0) return method + " " + url;
  return url;
}
