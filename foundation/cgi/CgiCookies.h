// CCgiCookies: the cookies of a CGI request (name to value), read from HTTP_COOKIE, and the
// Set-Cookie header line of a CGI answer. The names "expires", "path", "domain" and "secure" are
// attributes of the cookies being set, not cookies.
#pragma once

#include <iosfwd>

#include "foundation/core/NVList.h"

class CCgiCookies : public CNVList {
 public:
  // Filled from the process's HTTP_COOKIE variable.
  CCgiCookies();
  explicit CCgiCookies(const CLibString& header);

  // Adds the cookies of a header text ("a=1; b=2"): pieces cut at each "; ", each at its first
  // "=" into name and value; a piece without "=" is a name with an empty value. Returns how
  // many were stored; pieces without a name are skipped.
  int Parse(const CLibString& header);
  // One "Set-Cookie: " line when the list is not empty: the cookies, then the attributes.
  void WriteCookies(std::ostream& os) const;

  static bool IsAttributeName(const CLibString& name);
};
