#include "tests/fakeengine/FakeResults.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace zbtest {

namespace {

std::string WithoutScheme(const std::string& url) {
  size_t at = url.find("://");
  std::string rest = at == std::string::npos ? url : url.substr(at + 3);
  if (!rest.empty() && rest.back() == '/') rest.pop_back();
  return rest;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string HostOf(const std::string& url) {
  size_t at = url.find("://");
  size_t start = at == std::string::npos ? 0 : at + 3;
  size_t end = url.find_first_of("/?#", start);
  return url.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> FakeResults::MakeLookalikes(const std::string& site) {
  std::string host = HostOf(site);
  size_t colon = host.find(':');
  if (colon != std::string::npos) host.erase(colon);
  if (host.compare(0, 4, "www.") == 0) host.erase(0, 4);
  size_t dot = host.find('.');
  std::string name = dot == std::string::npos ? host : host.substr(0, dot);
  std::string tld = dot == std::string::npos ? "com" : host.substr(dot + 1);
  return {
      "http://www." + name + ".co/",
      "http://" + name + "." + tld + "munity.org/",
      "http://www." + name + "s." + tld + "/",
      "http://www." + name + "." + tld + ".mirror.example/",
      "http://www.example.org/" + name + "." + tld + "/",
      "http://" + name + "-shop." + tld + "/",
      "http://www.my" + name + "." + tld + "/",
      "http://search.example/?ref=" + name + "." + tld,
  };
}

FakeResults::FakeResults(const FakeScenario& scenario) {
  int total = std::max(0, scenario.totalResults);
  urls_.assign(static_cast<size_t>(total), std::string());
  int rank = scenario.rank;
  if (rank >= 1 && rank <= total) urls_[static_cast<size_t>(rank - 1)] = scenario.site;

  // The look-alikes take the places nearest the site, the nearer before the farther.
  std::vector<int> others;
  for (int i = 1; i <= total; ++i)
    if (i != rank) others.push_back(i);
  int centre = rank >= 1 && rank <= total ? rank : 0;
  std::stable_sort(others.begin(), others.end(),
                   [centre](int a, int b) { return std::abs(a - centre) < std::abs(b - centre); });
  std::vector<std::string> lookalikes =
      scenario.lookalikes.empty() ? MakeLookalikes(scenario.site) : scenario.lookalikes;
  for (size_t k = 0; k < others.size(); ++k) {
    int i = others[k];
    urls_[static_cast<size_t>(i - 1)] = k < lookalikes.size()
                                            ? lookalikes[k]
                                            : "http://www.result" + std::to_string(i) + ".example/";
  }
}

std::string FakeResults::Url(int rank) const {
  return rank >= 1 && rank <= Count() ? urls_[static_cast<size_t>(rank - 1)] : std::string();
}

std::string FakeResults::Title(int rank) const {
  return "Welcome to " + WithoutScheme(Url(rank));
}

std::string FakeResults::Snippet(int rank, const std::string& keywords) const {
  return "Result " + std::to_string(rank) + ": pages about <b>" + HtmlEscape(keywords) +
         "</b> at " + HtmlEscape(WithoutScheme(Url(rank))) + ".";
}

std::string HtmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string UrlEncode(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (isalnum(c) || c == '-' || c == '.' || c == '_') {
      out += static_cast<char>(c);
    } else if (c == ' ') {
      out += '+';
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::string UrlDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '+') {
      out += ' ';
    } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
               HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

void FormData::Add(const std::string& encoded) {
  size_t start = 0;
  while (start <= encoded.size()) {
    size_t end = encoded.find('&', start);
    if (end == std::string::npos) end = encoded.size();
    std::string item = encoded.substr(start, end - start);
    if (!item.empty()) {
      size_t eq = item.find('=');
      std::string name = UrlDecode(item.substr(0, eq));
      std::string value = eq == std::string::npos ? std::string() : UrlDecode(item.substr(eq + 1));
      items_.emplace_back(name, value);
    }
    start = end + 1;
  }
}

bool FormData::Has(const std::string& name) const {
  return std::any_of(items_.begin(), items_.end(), [&](const auto& i) { return i.first == name; });
}

std::string FormData::Get(const std::string& name) const {
  for (auto it = items_.rbegin(); it != items_.rend(); ++it)
    if (it->first == name) return it->second;
  return std::string();
}

int FormData::GetInt(const std::string& name, int fallback) const {
  std::string value = Get(name);
  if (value.empty()) return fallback;
  char* end = nullptr;
  long n = strtol(value.c_str(), &end, 10);
  return *end == '\0' ? static_cast<int>(n) : fallback;
}

}  // namespace zbtest
