// CUrl: a URL split into its parts, and the resolver of relative references against the URL it
// holds. To resolve a link found on a page, copy the page's CUrl and Parse the link on the copy.
// OS-free. The parts are handed out by reference: a request looks at them many times, and a
// copy of a text is an allocation.
#pragma once

#include "foundation/core/LibString.h"

class CUrl {
 public:
  CUrl() = default;
  // Parses text against an empty base.
  CUrl(const char* text);
  CUrl(const CLibString& text);
  CUrl(const CUrl& other) = default;
  CUrl& operator=(const CUrl& other) = default;
  CUrl(CUrl&& other) noexcept = default;
  CUrl& operator=(CUrl&& other) noexcept = default;
  virtual ~CUrl() = default;

  // Resolves text against the current parts and replaces them by the result. A text whose
  // port lies beyond 65535 is refused: every part is left empty, as for an empty text.
  void Parse(const CLibString& text);

  const CLibString& GetText() const { return m_text; }
  const CLibString& GetScheme() const { return m_scheme; }
  const CLibString& GetHost() const { return m_host; }
  // The host from its second-to-last "." on (".example.com"); empty for fewer than two dots.
  const CLibString& GetDomain() const { return m_domain; }
  int GetPort() const { return m_port; }
  // With leading and trailing "/".
  const CLibString& GetDirectory() const { return m_directory; }
  const CLibString& GetFile() const { return m_file; }
  // From "#" on, "#" included.
  const CLibString& GetFragment() const { return m_fragment; }
  // From "?" on, "?" included.
  const CLibString& GetQuery() const { return m_query; }
  void SetFile(const CLibString& file) { m_file = file; }

  // Scheme, "://", host, ":port" (unless 0 or 80), directory, file and fragment.
  CLibString GetUrlWithoutQuery() const;
  CLibString GetUrl() const;

 protected:
  CLibString m_text;
  CLibString m_scheme;
  CLibString m_host;
  CLibString m_domain;
  int m_port = 0;
  CLibString m_directory;
  CLibString m_file;
  CLibString m_fragment;
  CLibString m_query;
};
