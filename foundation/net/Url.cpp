#include "foundation/net/Url.h"

#include <cctype>
#include <string>
#include <vector>

namespace {

using std::string;

string Lower(string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

bool IsOpaqueScheme(const string& scheme) {
  string lower = Lower(scheme);
  return lower == "mailto" || lower == "javascript";
}

bool AllDigits(const string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

const long kMaxPort = 65535;

// "name:number" with a non-zero number; splits it. A number past the largest port sets
// outOfRange instead: taken modulo 65536 it would name another port.
bool SplitHostPort(const string& text, string& host, int& port, bool& outOfRange) {
  size_t colon = text.find(':');
  if (colon == string::npos || colon == 0) return false;
  string number = text.substr(colon + 1);
  if (!AllDigits(number)) return false;
  size_t digits = number.find_first_not_of('0');
  if (digits == string::npos) return false;  // port 0 is no port
  if (number.size() - digits > 5 || std::stol(number.substr(digits)) > kMaxPort) {
    outOfRange = true;
    return false;
  }
  host = text.substr(0, colon);
  port = static_cast<int>(std::stol(number.substr(digits)));
  return true;
}

// A dotless word after the scheme is taken for a directory ("http://dir/page.html" written
// without its host), except when it can only be a host: a name with a port, or "localhost".
// Without this, "http://localhost:8080/x" would lose its host and port and be sent to the
// base's host, or to port 80 of nowhere.
bool IsDotlessHost(const string& text) {
  size_t colon = text.find(':');
  if (colon == string::npos) return Lower(text) == "localhost";
  return colon > 0 && AllDigits(text.substr(colon + 1));
}

// Applies the segments of a relative directory to a base directory; the result ends with "/".
string ResolveDirectory(const string& base, const string& relative) {
  std::vector<string> segments;
  auto split = [](const string& path, auto&& visit) {
    size_t start = 0;
    while (start <= path.size()) {
      size_t slash = path.find('/', start);
      if (slash == string::npos) slash = path.size();
      if (slash > start) visit(path.substr(start, slash - start));
      start = slash + 1;
    }
  };
  split(base, [&](const string& segment) { segments.push_back(segment); });
  split(relative, [&](const string& segment) {
    if (segment == ".") return;
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();  // never above the root
      return;
    }
    segments.push_back(segment);
  });
  string result = "/";
  for (const string& segment : segments) result += segment + "/";
  return result;
}

string DomainOf(const string& host) {
  size_t last = host.rfind('.');
  if (last == string::npos || last == 0) return string();
  size_t secondLast = host.rfind('.', last - 1);
  if (secondLast == string::npos) return string();
  return host.substr(secondLast);
}

}  // namespace

CUrl::CUrl(const char* text) {
  Parse(text);
}

CUrl::CUrl(const CLibString& text) {
  Parse(text);
}

void CUrl::Parse(const CLibString& text) {
  const string baseScheme = m_scheme.c_str();
  const string baseHost = m_host.c_str();
  const string baseDirectory = m_directory.c_str();
  const int basePort = m_port;

  m_text = text;
  string scheme, host, directory, file, fragment, query;
  int port = 0;
  string work = text.c_str();

  auto store = [&]() {
    m_scheme = scheme.c_str();
    m_host = host.c_str();
    m_domain = DomainOf(host).c_str();
    m_port = port;
    m_directory = directory.c_str();
    m_file = file.c_str();
    m_fragment = fragment.c_str();
    m_query = query.c_str();
  };

  if (work.empty()) {
    store();
    return;
  }

  size_t mark = work.find('?');
  if (mark != string::npos) {
    query = work.substr(mark);
    work.erase(mark);
  }
  mark = work.rfind('#');
  if (mark != string::npos) {
    fragment = work.substr(mark);
    work.erase(mark);
  }

  // A scheme is a word before ":" without a dot; "name:8080" is a host and port instead.
  size_t colon = work.find(':');
  if (colon != string::npos && colon > 0 && work.find('.') > colon) {
    string after = work.substr(colon + 1);
    if (!AllDigits(after)) {
      scheme = work.substr(0, colon);
      work = after;
      if (work.compare(0, 2, "//") == 0) work.erase(0, 2);
      if (IsOpaqueScheme(scheme)) {
        host = work;
        store();
        return;
      }
    }
  }

  if (!scheme.empty()) {
    size_t slash = work.find('/');
    if (slash == string::npos) {
      host = work;
      work.clear();
    } else {
      string before = work.substr(0, slash);
      if (before.find('.') != string::npos || IsDotlessHost(before)) {
        string rest = work.substr(slash);
        // A trailing "." or ".." belongs to the path, not to the host.
        if (before.size() >= 2 && before.compare(before.size() - 2, 2, "..") == 0) {
          before.erase(before.size() - 2);
          rest = ".." + rest;
        } else if (before.back() == '.') {
          before.pop_back();
          rest = "." + rest;
        }
        host = before;
        work = rest;
      }
    }
  } else {
    size_t slash = work.find('/');
    if (slash != string::npos && slash > 0) {
      string before = work.substr(0, slash);
      bool baseless = baseHost.empty() && baseScheme.empty();
      bool sameHost = !baseHost.empty() && work.compare(0, baseHost.size(), baseHost) == 0;
      if (before.find(':') != string::npos || sameHost || baseless) {
        host = before;
        work.erase(0, slash);
      }
    }
  }

  bool badPort = false;
  if (host.find(':') != string::npos) SplitHostPort(string(host), host, port, badPort);

  size_t lastSlash = work.rfind('/');
  if (lastSlash == string::npos) {
    file = work;
  } else {
    directory = work.substr(0, lastSlash + 1);
    file = work.substr(lastSlash + 1);
  }

  // A bare name: "host:port", "www.example.com", "localhost", or anything on an empty base.
  if (host.empty() && directory.empty() && !file.empty()) {
    string firstLabel = Lower(file.substr(0, file.find('.')));
    if (SplitHostPort(file, host, port, badPort)) {
      file.clear();
    } else if ((firstLabel == "www" || firstLabel == "ftp") && file.find('.') != string::npos) {
      host.swap(file);
    } else if (baseHost.empty() && baseScheme.empty()) {
      host.swap(file);
    } else if (Lower(file) == "localhost") {
      host.swap(file);
    }
  }

  if (badPort) {
    // Refused whole: no part of it may lead anywhere, the base's host included.
    scheme.clear();
    host.clear();
    directory.clear();
    file.clear();
    fragment.clear();
    query.clear();
    port = 0;
    store();
    return;
  }

  if (!host.empty() && directory.empty() && file.empty()) directory.assign(1, '/');  // not = "/": GCC 12 warns falsely

  if (host.empty()) {
    host = baseHost;
    if (scheme.empty()) scheme = baseScheme;
    if (directory.empty()) directory = baseDirectory;
  }
  if (port == 0 && !host.empty() && host == baseHost) port = basePort;

  if (!directory.empty() && directory.back() == '/' && query.empty() && !file.empty() &&
      file.find('.') == string::npos) {
    directory += file + "/";
    file.clear();
  }

  if (!host.empty() && host == baseHost && !directory.empty() && directory[0] != '/')
    directory = ResolveDirectory(baseDirectory, directory);

  if (scheme.empty()) scheme = port == 80 ? "http" : port == 443 ? "https" : baseScheme;
  store();
}

namespace {

// Appends the URL without its query; built in one buffer, since a request compares two URLs
// and every piece appended to a text would be an allocation.
void AppendUrlWithoutQuery(string& url, const CUrl& parts) {
  const CLibString& scheme = parts.GetScheme();
  if (scheme.GetLength() > 0)
    url.append(scheme.c_str(), static_cast<size_t>(scheme.GetLength()));
  else
    url += parts.GetPort() == 443 ? "https" : "http";
  url += IsOpaqueScheme(scheme.c_str()) ? ":" : "://";
  url += parts.GetHost().c_str();
  if (parts.GetPort() != 0 && parts.GetPort() != 80) {
    url += ':';
    url += std::to_string(parts.GetPort());
  }
  const CLibString& directory = parts.GetDirectory();
  const CLibString& file = parts.GetFile();
  // The path left out when it is just the root, however it is split between the two.
  bool root =
      (directory == "/" && file.GetLength() == 0) || (directory.GetLength() == 0 && file == "/");
  if (parts.GetFragment().GetLength() > 0 || !root) {
    url += directory.c_str();
    url += file.c_str();
  }
  url += parts.GetFragment().c_str();
}

}  // namespace

CLibString CUrl::GetUrlWithoutQuery() const {
  string url;
  url.reserve(64);
  AppendUrlWithoutQuery(url, *this);
  return CLibString(url.c_str());
}

CLibString CUrl::GetUrl() const {
  string url;
  url.reserve(64 + static_cast<size_t>(m_query.GetLength()));
  AppendUrlWithoutQuery(url, *this);
  url += m_query.c_str();
  return CLibString(url.c_str());
}
