#include <gtest/gtest.h>

#include <string>

#include "foundation/net/Url.h"

namespace {

std::string S(const CLibString& s) {
  return s.c_str();
}

struct Parts {
  std::string scheme, host, domain;
  int port;
  std::string directory, file, fragment, query, url;
};

void ExpectParts(const CUrl& url, const Parts& want, const std::string& label) {
  SCOPED_TRACE(label);
  EXPECT_EQ(S(url.GetScheme()), want.scheme);
  EXPECT_EQ(S(url.GetHost()), want.host);
  EXPECT_EQ(S(url.GetDomain()), want.domain);
  EXPECT_EQ(url.GetPort(), want.port);
  EXPECT_EQ(S(url.GetDirectory()), want.directory);
  EXPECT_EQ(S(url.GetFile()), want.file);
  EXPECT_EQ(S(url.GetFragment()), want.fragment);
  EXPECT_EQ(S(url.GetQuery()), want.query);
  EXPECT_EQ(S(url.GetUrl()), want.url);
}

TEST(Url, AbsoluteUrls) {
  struct {
    const char* text;
    Parts want;
  } cases[] = {
      {"http://www.example.com/dir/page.html",
       {"http", "www.example.com", ".example.com", 0, "/dir/", "page.html", "", "",
        "http://www.example.com/dir/page.html"}},
      {"http://www.example.com",
       {"http", "www.example.com", ".example.com", 0, "/", "", "", "", "http://www.example.com"}},
      {"http://www.example.com:8080/a/b.cgi?x=1&y=2#top",
       {"http", "www.example.com", ".example.com", 8080, "/a/", "b.cgi", "", "?x=1&y=2#top",
        "http://www.example.com:8080/a/b.cgi?x=1&y=2#top"}},
      {"http://www.example.com/a/b.html#top?x=1",
       {"http", "www.example.com", ".example.com", 0, "/a/", "b.html", "#top", "?x=1",
        "http://www.example.com/a/b.html#top?x=1"}},
      {"http://127.0.0.1:80/x.html",
       {"http", "127.0.0.1", ".0.1", 80, "/", "x.html", "", "", "http://127.0.0.1/x.html"}},
      {"https://secure.example.org/login",
       {"https", "secure.example.org", ".example.org", 0, "/login/", "", "", "",
        "https://secure.example.org/login/"}},
      {"ftp://ftp.example.net/pub/file.zip",
       {"ftp", "ftp.example.net", ".example.net", 0, "/pub/", "file.zip", "", "",
        "ftp://ftp.example.net/pub/file.zip"}},
      {"mailto:submit@example.com",
       {"mailto", "submit@example.com", "", 0, "", "", "", "", "mailto:submit@example.com"}},
      {"JavaScript:void(0)",
       {"JavaScript", "void(0)", "", 0, "", "", "", "", "JavaScript:void(0)"}},
      {"example.com", {"", "example.com", "", 0, "/", "", "", "", "http://example.com"}},
      {"www.example.com:8080",
       {"", "www.example.com", ".example.com", 8080, "/", "", "", "",
        "http://www.example.com:8080"}},
      {"localhost:8080", {"", "localhost", "", 8080, "/", "", "", "", "http://localhost:8080"}},
      {"127.0.0.1:443/x",
       {"https", "127.0.0.1", ".0.1", 443, "/x/", "", "", "", "https://127.0.0.1:443/x/"}},
      {"", {"", "", "", 0, "", "", "", "", "http://"}},
  };
  for (const auto& c : cases) ExpectParts(CUrl(c.text), c.want, c.text);
}

TEST(Url, HostAfterSchemeNeedsADot) {
  // A dotless word followed by "/" stays in the path; with nothing after it, it is the host.
  CUrl withPath("http://intranet/page.html");
  EXPECT_EQ(S(withPath.GetHost()), "");
  EXPECT_EQ(S(withPath.GetDirectory()), "intranet/");
  CUrl bare("http://intranet");
  EXPECT_EQ(S(bare.GetHost()), "intranet");
  EXPECT_EQ(S(bare.GetDirectory()), "/");
  // A trailing dot of the host text goes back to the path.
  CUrl dotted("http://www.example.com../x.html");
  EXPECT_EQ(S(dotted.GetHost()), "www.example.com");
}

TEST(Url, DotlessHostWithPortOrLocalhostAfterScheme) {
  // A dotless word that can only be a host keeps its host and port, on an empty base and on a
  // page of another host alike: taken for a directory, the request would go to the base's host
  // or to port 80 of no host at all.
  struct {
    const char* text;
    const char* host;
    int port;
    const char* directory;
    const char* file;
  } cases[] = {
      {"http://localhost:8123/solo/search?q=a", "localhost", 8123, "/solo/", "search"},
      {"http://localhost/solo/", "localhost", 0, "/solo/", ""},
      {"http://LocalHost:8123/", "LocalHost", 8123, "/", ""},
      {"https://intranet:8443/page.html", "intranet", 8443, "/", "page.html"},
      // Neither a port nor localhost: still a directory, the host is the base's.
      {"http://intranet/page.html", "", 0, "intranet/", "page.html"},
      // A port past the last is refused whole, as with a dotted host.
      {"http://localhost:65536/x.html", "", 0, "", ""},
  };
  const CUrl page("http://www.example.com:8080/dir/page.html");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    for (const CUrl& base : {CUrl(), page}) {
      CUrl url(base);
      url.Parse(c.text);
      EXPECT_EQ(S(url.GetFile()), c.file);
      if (c.host[0] == '\0' && c.directory[0] != '\0') {
        EXPECT_EQ(S(url.GetHost()), S(base.GetHost()));
        continue;
      }
      EXPECT_EQ(S(url.GetHost()), c.host);
      EXPECT_EQ(url.GetPort(), c.port);
      EXPECT_EQ(S(url.GetDirectory()), c.directory);
    }
  }
  CUrl solo("http://localhost:8123/solo/search?q=a");
  EXPECT_EQ(S(solo.GetUrl()), "http://localhost:8123/solo/search?q=a");
}

TEST(Url, RelativeReferences) {
  const CUrl page("http://www.example.com:8080/dir/sub/page.html?q=1");
  struct {
    const char* link;
    const char* url;
  } cases[] = {
      {"../img/a.gif", "http://www.example.com:8080/dir/img/a.gif"},
      {"./b.html", "http://www.example.com:8080/dir/sub/b.html"},
      {"c.html", "http://www.example.com:8080/dir/sub/c.html"},
      {"deeper/d.html", "http://www.example.com:8080/dir/sub/deeper/d.html"},
      {"../../../../top.html", "http://www.example.com:8080/top.html"},
      {"/abs/e.html", "http://www.example.com:8080/abs/e.html"},
      {"search.cgi?x=y z", "http://www.example.com:8080/dir/sub/search.cgi?x=y z"},
      {"more", "http://www.example.com:8080/dir/sub/more/"},
      {"#part", "http://www.example.com:8080/dir/sub/#part"},
      {"http://other.example.org/f.html", "http://other.example.org/f.html"},
      {"www.elsewhere.com", "http://www.elsewhere.com"},
      {"www.example.com:8080/g.html", "http://www.example.com:8080/g.html"},
      {"localhost", "http://localhost"},
      {"mailto:me@example.com", "mailto:me@example.com"},
  };
  for (const auto& c : cases) {
    CUrl url(page);
    url.Parse(c.link);
    EXPECT_EQ(S(url.GetUrl()), c.url) << c.link;
  }
}

TEST(Url, ResolvingKeepsHostSchemeAndPort) {
  CUrl url("https://www.example.com/dir/sub/page.html");
  url.Parse("../img/logo.gif");
  EXPECT_EQ(S(url.GetScheme()), "https");
  EXPECT_EQ(S(url.GetHost()), "www.example.com");
  EXPECT_EQ(S(url.GetDirectory()), "/dir/img/");
  EXPECT_EQ(S(url.GetFile()), "logo.gif");
  EXPECT_EQ(S(url.GetText()), "../img/logo.gif");
  // A relative file name with a dot in its directory does not become a host.
  url.Parse("images/www.logo.gif");
  EXPECT_EQ(S(url.GetHost()), "www.example.com");
  EXPECT_EQ(S(url.GetDirectory()), "/dir/img/images/");
  // An empty text empties every part.
  url.Parse("");
  EXPECT_EQ(S(url.GetHost()), "");
  EXPECT_EQ(url.GetPort(), 0);
}

TEST(Url, PortsBeyondTheLastAreRefusedNotWrapped) {
  // A port past 65535 would wrap onto another one (65616 is 80 again): such a text is refused
  // whole, also against a base whose host it must not fall back on.
  const CUrl page("http://www.example.com:8080/dir/page.html");
  struct {
    const char* text;
    int port;       // 0: refused, every part empty
    const char* host;
  } cases[] = {
      {"http://www.example.com:65535/x.html", 65535, "www.example.com"},
      {"http://www.example.com:00080/x.html", 80, "www.example.com"},
      {"http://www.example.com:65536/x.html", 0, ""},
      {"http://www.example.com:65616/x.html", 0, ""},
      {"http://www.example.com:99999999999999/x.html", 0, ""},
      {"www.example.com:70000", 0, ""},
      {"localhost:4294967376", 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    for (const CUrl& base : {CUrl(), page}) {
      CUrl url(base);
      url.Parse(c.text);
      EXPECT_EQ(url.GetPort(), c.port);
      EXPECT_EQ(S(url.GetHost()), c.host);
      if (c.port == 0) {
        EXPECT_EQ(S(url.GetDirectory()) + S(url.GetFile()), "");
        EXPECT_EQ(S(url.GetText()), c.text) << "the text given is kept";
      }
    }
  }
}

TEST(Url, CopyAndSetFile) {
  CUrl a("http://www.example.com/x/y.html#f?z");
  CUrl b(a);
  b.SetFile("w.html");
  EXPECT_EQ(S(a.GetUrl()), "http://www.example.com/x/y.html#f?z");
  EXPECT_EQ(S(b.GetUrlWithoutQuery()), "http://www.example.com/x/w.html#f");
  b = a;
  EXPECT_EQ(S(b.GetUrl()), S(a.GetUrl()));
}

}  // namespace
