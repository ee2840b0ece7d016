// The result list a fake engine serves for a scenario, and the small text helpers its pages
// share (HTML escaping, URL coding, form data).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tests/fakeengine/FakeScenario.h"

namespace zbtest {

// Results 1..Count(): the site at its rank, look-alikes nearest to it, unrelated addresses
// ("http://www.result<n>.example/") elsewhere.
//
// Look-alikes made from a site host "www.NAME.TLD" (or "NAME.TLD"), nearest first:
//   http://www.NAME.co/                  (a shorter top-level domain)
//   http://NAME.TLDmunity.org/           (the site's host as the start of a longer one)
//   http://www.NAMEs.TLD/                (one letter more)
//   http://www.NAME.TLD.mirror.example/  (the site's host as a sub-domain)
//   http://www.example.org/NAME.TLD/     (the site's host in a path)
//   http://NAME-shop.TLD/
//   http://www.myNAME.TLD/
//   http://search.example/?ref=NAME.TLD  (the site's host in a query)
class FakeResults {
 public:
  explicit FakeResults(const FakeScenario& scenario);

  int Count() const { return static_cast<int>(urls_.size()); }
  // 1-based; empty outside 1..Count().
  std::string Url(int rank) const;
  std::string Title(int rank) const;
  std::string Snippet(int rank, const std::string& keywords) const;
  const std::vector<std::string>& Urls() const { return urls_; }

  static std::vector<std::string> MakeLookalikes(const std::string& site);

 private:
  std::vector<std::string> urls_;
};

std::string HostOf(const std::string& url);
std::string HtmlEscape(const std::string& text);
// Form encoding: letters, digits, "-", ".", "_" as they are, blanks as "+", the rest "%XX".
std::string UrlEncode(const std::string& text);
// "+" as a blank and "%XX" as the byte.
std::string UrlDecode(const std::string& text);

// Fields of a query or form body, in the order they came; a name sent twice counts with its
// last value, as web servers read it.
class FormData {
 public:
  FormData() = default;
  explicit FormData(const std::string& encoded) { Add(encoded); }
  void Add(const std::string& encoded);
  bool Has(const std::string& name) const;
  std::string Get(const std::string& name) const;
  int GetInt(const std::string& name, int fallback) const;
  const std::vector<std::pair<std::string, std::string>>& Items() const { return items_; }

 private:
  std::vector<std::pair<std::string, std::string>> items_;
};

}  // namespace zbtest
