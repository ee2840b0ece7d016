// The result pages of the fake engines, one markup style and one next-page style each.
#include <algorithm>

#include "tests/fakeengine/FakePages.h"

namespace zbtest {

namespace {

// The results of one page: ranks first..last (1-based), none when first > last.
struct PageSpan {
  int first = 1;
  int last = 0;
  bool more = false;  // results follow this page
  bool Empty() const { return first > last; }
};

PageSpan SpanFrom(const FakeResults& results, const FakeScenario& scenario, int offset) {
  PageSpan span;
  int perPage = std::max(1, scenario.perPage);
  span.first = std::max(0, offset) + 1;
  span.last = std::min(offset + perPage, results.Count());
  span.more = span.last < results.Count();
  return span;
}

// A page without results: an empty body when the scenario asks for one.
HttpResponse NoResults(const FakeCall& call, const std::string& title, const std::string& body) {
  if (call.scenario.emptyPastEnd) return HttpResponse::Text("");
  return HttpResponse::Text(Page(title, body));
}

std::string Q(const std::string& keywords) {
  return UrlEncode(keywords);
}

std::string Home(const std::string& name, const std::string& engine, const std::string& field) {
  return Page(name, "<h1>" + name + "</h1>\n<form method=\"get\" action=\"/" + engine +
                        "/search\"><input type=\"text\" name=\"" + field +
                        "\"><input type=\"submit\" value=\"Search\"></form>");
}

// --- Alpha Search: an ordered list, "Next page" link ---

HttpResponse AlphaResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  PageSpan span = SpanFrom(results, call.scenario, call.params.GetInt("start", 0));
  if (q.empty() || span.Empty())
    return NoResults(call, "Alpha Search",
                     "<p>Your search did not match any documents.</p>\n<div id=\"footer\"></div>");
  std::string link = "/alpha/search?q=" + Q(q) + "&amp;n=" + call.params.Get("n") + "&amp;start=";
  std::string body =
      "<div id=\"header\"><a href=\"/alpha/\">Alpha Search</a> | <a "
      "href=\"/alpha/addurl.html\">Add URL</a></div>\n";
  body += "<p class=\"stats\">Results <b>" + std::to_string(span.first) + "</b> - <b>" +
          std::to_string(span.last) + "</b> of about <b>" + std::to_string(results.Count()) +
          "</b> for <b>" + HtmlEscape(q) + "</b></p>\n";
  body += "<ol class=\"results\">\n";
  for (int i = span.first; i <= span.last; ++i) {
    body += "<li class=\"r\"><a href=\"" + results.Url(i) + "\">" + results.Title(i) + "</a><br>" +
            results.Snippet(i, q) + "<br><span class=\"url\">" + results.Url(i) + "</span></li>\n";
  }
  body += "</ol>\n<div class=\"pager\">";
  int perPage = std::max(1, call.scenario.perPage);
  if (span.first > 1)
    body += "[<a href=\"" + link + std::to_string(std::max(0, span.first - 1 - perPage)) +
            "\">Previous page</a>] ";
  if (span.more) body += "[<a href=\"" + link + std::to_string(span.last) + "\">Next page</a>]";
  // The marker words outside any link: they must not count as the next-page link.
  body += "</div>\n<p class=\"tip\">Tip: Next page shows more results.</p>\n";
  body += "<div id=\"footer\">&copy; Alpha Search</div>";
  return HttpResponse::Text(Page("Alpha Search: " + q, body));
}

// --- Beta Seek: one table row per result, "[cached]" first, text then image next link ---

HttpResponse BetaResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  int first = std::max(1, call.params.GetInt("first", 1));
  PageSpan span = SpanFrom(results, call.scenario, first - 1);
  if (q.empty() || span.Empty()) return NoResults(call, "Beta Seek", "<p>No pages were found.</p>");
  std::string body = "<table class=\"serp\">\n";
  for (int i = span.first; i <= span.last; ++i) {
    body += "<tr class=\"hit\"><td class=\"n\">" + std::to_string(i) +
            ".</td><td><a href=\"/beta/cache?id=" + std::to_string(i) +
            "\">[cached]</a> <a href=\"" + results.Url(i) + "\"><b>" + results.Title(i) +
            "</b></a><br><font size=\"-1\">" + results.Snippet(i, q) + "</font></td></tr>\n";
  }
  if (span.more) {
    std::string next = "/beta/search?q=" + Q(q) + "&first=" + std::to_string(span.last + 1);
    body += "<tr class=\"nav\"><td colspan=\"2\"><a href=\"" + next + "\">";
    body +=
        first == 1 ? "Next results" : "<img src=\"/beta/img/next.gif\" alt=\"Next\" border=\"0\">";
    body += "</a></td></tr>\n";
  }
  body += "</table>";
  return HttpResponse::Text(Page("Beta Seek - " + q, body));
}

// --- Gamma Index: divisions of two kinds, pager of ranges "[11-20]" ---

HttpResponse GammaResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  PageSpan span = SpanFrom(results, call.scenario, call.params.GetInt("s", 0));
  if (q.empty() || span.Empty())
    return NoResults(call, "Gamma Index", "<div id=\"results\"><p>Keine Treffer.</p></div>");
  std::string body = "<div id=\"results\">\n";
  for (int i = span.first; i <= span.last; ++i) {
    body += std::string(i % 2 ? "<div class=\"g\">" : "<div class=\"g alt\">") + "<a href=\"" +
            results.Url(i) + "\">" + results.Title(i) + "</a><br>" + results.Snippet(i, q) +
            "</div><!--/g-->\n";
  }
  body += "<p class=\"pages\">Seiten:";
  int perPage = std::max(1, call.scenario.perPage);
  for (int from = 1; from <= results.Count(); from += perPage) {
    std::string range = "[" + std::to_string(from) + "-" +
                        std::to_string(std::min(from + perPage - 1, results.Count())) + "]";
    if (from == span.first)
      body += " <b>" + range + "</b>";
    else
      body += " <a href=\"/gamma/search?q=" + Q(q) + "&s=" + std::to_string(from - 1) + "\">" +
              range + "</a>";
  }
  body += "</p>\n<!-- end results -->\n</div>\n<div id=\"bottom\">Gamma Index</div>";
  return HttpResponse::Text(Page("Gamma Index - " + q, body));
}

// --- Delta Web: paragraphs that are never closed; counted next pages ---

HttpResponse DeltaResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  PageSpan span = SpanFrom(results, call.scenario, call.params.GetInt("start", 0));
  if (q.empty() || span.Empty())
    return NoResults(
        call, "Delta Web",
        "<div class=\"hits\"><p>No more results.</p></div>\n<div class=\"foot\"></div>");
  std::string body = "<h2>Delta Web found " + std::to_string(results.Count()) + " pages</h2>\n";
  body += "<div class=\"hits\">\n";
  for (int i = span.first; i <= span.last; ++i) {
    body += "<p class=\"hit\"><a href=\"" + results.Url(i) + "\">" + results.Title(i) + "</a><br>" +
            results.Snippet(i, q) + "<br><small>" + results.Url(i) + "</small>\n";
  }
  body += "</div>\n<div class=\"foot\">Delta Web</div>";
  return HttpResponse::Text(Page("Delta Web: " + q, body));
}

// --- Epsilon: a definition list, pages by number ---

HttpResponse EpsilonResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  int page = std::max(1, call.params.GetInt("page", 1));
  PageSpan span = SpanFrom(results, call.scenario, (page - 1) * std::max(1, call.scenario.perPage));
  if (q.empty() || span.Empty())
    return NoResults(call, "Epsilon", "<div class=\"nothing\">Nothing found.</div>");
  std::string body = "<dl class=\"web\">\n";
  for (int i = span.first; i <= span.last; ++i) {
    body += "<dt><a href=\"" + results.Url(i) + "\">" + results.Title(i) + "</a></dt><dd>" +
            results.Snippet(i, q) + "</dd>\n";
  }
  body += "</dl>\n<p class=\"pages\">Page " + std::to_string(page) + "</p>";
  return HttpResponse::Text(Page("Epsilon: " + q, body));
}

// --- Zeta Finder: a home page with a cookie and the search form ---

HttpResponse ZetaHome(FakeCall& call) {
  std::string body =
      "<h1>Zeta Finder</h1>\n"
      "<form method=\"get\" action=\"/zeta/news\"><input type=\"text\" name=\"query\">"
      "<input type=\"submit\" value=\"News\"></form>\n"
      "<div id=\"searchbox\">\n"
      "<form name=\"f\" method=\"get\" action=\"/zeta/find\">\n"
      "<input type=\"hidden\" name=\"sid\" value=\"ZS-1001\">\n"
      "<input type=\"hidden\" name=\"src\" value=\"home page\">\n"
      "<input type=\"hidden\" name=\"oq\" value=\"\">\n"
      "<input type=\"hidden\" name=\"num\" value=\"10\">\n"
      "<input type=\"text\" name=\"query\" value=\"\" size=\"40\" maxlength=\"256\">\n"
      "<select name=\"lang\"><option value=\"any\">Any language</option>"
      "<option value=\"en\" selected>English</option><option value=\"de\">Deutsch</option>"
      "</select>\n"
      "<select name=\"region\"><option>World</option><option selected>Europe</option></select>\n"
      "<input type=\"checkbox\" name=\"safe\" value=\"on\" checked> Safe search\n"
      "<input type=\"checkbox\" name=\"fresh\" value=\"1\"> Fresh pages only\n"
      "<input type=\"radio\" name=\"scope\" value=\"web\" checked> Web\n"
      "<input type=\"radio\" name=\"scope\" value=\"news\"> News\n"
      "<input type=\"image\" name=\"go\" src=\"/zeta/img/go.gif\" alt=\"Search\">\n"
      "</form>\n"
      "</div>";
  HttpResponse response = HttpResponse::Text(Page("Zeta Finder", body));
  response.Header("Set-Cookie",
                  "zsession=Z" + std::to_string(call.state.Next("zeta-session")) + "; path=/");
  return response;
}

HttpResponse ZetaResults(FakeCall& call) {
  if (call.Cookie("zsession").empty())
    return HttpResponse::Text(Page("Zeta Finder",
                                   "<p>Your session has expired. Please start "
                                   "again from the <a href=\"/zeta/\">home "
                                   "page</a>.</p>"));
  std::string q = call.params.Get("query");
  FakeResults results(call.scenario);
  PageSpan span = SpanFrom(results, call.scenario, call.params.GetInt("skip", 0));
  if (q.empty() || span.Empty())
    return NoResults(call, "Zeta Finder", "<p>No results.</p>\n<div id=\"zfoot\"></div>");
  std::string body = "<div id=\"zres\">\n";
  for (int i = span.first; i <= span.last; ++i) {
    body += "<div class=\"r\"><h3 class=\"t\"><a href=\"" + results.Url(i) + "\">" +
            results.Title(i) + "</a></h3><span class=\"s\">" + results.Snippet(i, q) +
            "</span><br><cite>" + HostOf(results.Url(i)) + "</cite></div>\n";
  }
  body += "</div>\n<div id=\"zfoot\">Zeta Finder</div>";
  return HttpResponse::Text(Page("Zeta Finder: " + q, body));
}

// --- Eta Meta: every search answers with a refresh to the results ---

HttpResponse EtaResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  PageSpan span = SpanFrom(results, call.scenario, call.params.GetInt("o", 0));
  if (q.empty() || span.Empty()) return NoResults(call, "Eta Meta", "<p>That was all.</p>");
  std::string body = "<h1>Eta Meta</h1>\n";
  for (int i = span.first; i <= span.last; ++i) {
    body += "<!--RS--><a href=\"" + results.Url(i) + "\">" + results.Title(i) + "</a> " +
            results.Snippet(i, q) + "<!--RE--><br>\n";
  }
  return HttpResponse::Text(Page("Eta Meta: " + q, body));
}

HttpResponse EtaSearch(FakeCall& call) {
  if (call.scenario.refresh == RefreshStyle::None) return EtaResults(call);
  std::string target = "/eta/results?q=" + Q(call.params.Get("q")) +
                       "&o=" + std::to_string(call.params.GetInt("o", 0));
  std::string tag = RefreshTag(call.scenario.refresh, call.base + target, target);
  return HttpResponse::Text(Page("Eta Meta", "<p>Searching ... please wait.</p>",
                                 "<meta name=\"robots\" content=\"noindex\">\n" + tag + "\n"));
}

// --- Theta: cookie, POST search, redirect chains, redirected result links ---

HttpResponse ThetaRedirect(const std::string& location, int hop) {
  static const int kStatuses[] = {302, 301, 303, 307};
  return HttpResponse::Redirect(location, kStatuses[hop % 4]);
}

HttpResponse ThetaPagesImpl(FakeCall& call) {
  if (call.path == "/theta/" || call.path == "/theta") {
    HttpResponse home = HttpResponse::Text(Page("Theta", "<h1>Theta</h1>"));
    home.Header("Set-Cookie", "tc=ok; path=/");
    return home;
  }
  if (call.path == "/theta/out") return HttpResponse::Redirect(call.params.Get("u"));
  if (call.Cookie("tc") != "ok")
    return HttpResponse::Text(Page("Theta", "<p>Cookies are required.</p>"), "text/html", 403);

  std::string q = call.params.Get("q");
  int hops = std::clamp(call.scenario.redirectHops, 1, 10);
  if (call.path == "/theta/query" || call.path == "/theta/hop") {
    int left = call.path == "/theta/query" ? hops : call.params.GetInt("left", 1);
    std::string serp = "/theta/serp?q=" + Q(q) + "&p=0";
    if (left <= 1) return ThetaRedirect(call.base + serp, hops - left);
    // Relative and absolute locations take turns.
    std::string hop = "/theta/hop?left=" + std::to_string(left - 1) + "&q=" + Q(q);
    return ThetaRedirect((hops - left) % 2 ? call.base + hop : hop, hops - left);
  }
  if (call.path == "/theta/next")
    return HttpResponse::Redirect("/theta/serp?q=" + Q(q) + "&p=" + call.params.Get("p"));
  if (call.path != "/theta/serp") return NotFound();

  FakeResults results(call.scenario);
  int page = std::max(0, call.params.GetInt("p", 0));
  PageSpan span = SpanFrom(results, call.scenario, page * std::max(1, call.scenario.perPage));
  if (q.empty() || span.Empty())
    return NoResults(call, "Theta", "<div id=\"serp\"><p>Aucun resultat.</p></div>");
  std::string body = "<div id=\"serp\">\n";
  for (int i = span.first; i <= span.last; ++i) {
    // The address shows only behind the redirect: the block itself names no host.
    body += "<span class=\"res\"><a href=\"/theta/out?n=" + std::to_string(i) +
            "&u=" + UrlEncode(results.Url(i)) + "\">Result " + std::to_string(i) +
            "</a><br>Pages about <b>" + HtmlEscape(q) + "</b>.</span><!--res-->\n";
  }
  if (span.more)
    body += "<p class=\"nav\"><a href=\"/theta/next?q=" + Q(q) + "&p=" + std::to_string(page + 1) +
            "\">More results</a></p>\n";
  body += "</div>";
  return HttpResponse::Text(Page("Theta: " + q, body));
}

// --- Iota Solo: one page of preformatted lines ---

HttpResponse SoloResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  PageSpan span = SpanFrom(results, call.scenario, 0);
  if (q.empty() || span.Empty()) return NoResults(call, "Iota Solo", "<p>Nothing.</p>");
  std::string body = "<h1>Iota Solo</h1>\n<pre class=\"hits\">\n";
  for (int i = span.first; i <= span.last; ++i)
    body += "* <a href=\"" + results.Url(i) + "\">" + results.Title(i) + "</a> - " +
            results.Snippet(i, q) + "\n";
  body += "</pre>";
  return HttpResponse::Text(Page("Iota Solo: " + q, body));
}

// --- iWon Web Sites: results in JavaScript arrays ---

std::string JsText(const std::string& text) {
  std::string out;
  for (char c : HtmlEscape(text)) out += c == '\\' ? '/' : c;
  return out;
}

HttpResponse IwonResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  int page = std::max(1, call.params.GetInt("pg", 1));
  PageSpan span = SpanFrom(results, call.scenario, (page - 1) * std::max(1, call.scenario.perPage));
  if (q.empty() || span.Empty()) return NoResults(call, "iWon", "<p>No Web Sites found.</p>");
  std::string next = "/iwon/search?q=" + Q(q) + "&pg=" + std::to_string(page + 1);
  std::string script = "<script language=\"JavaScript\">\n";
  script += "var nextLink = '" + std::string(span.more ? next : "") + "';\n";
  script += "var results = new Array(\n";
  for (int i = span.first; i <= span.last; ++i) {
    script += "new Array('" + std::to_string(i) + "', '" + results.Url(i) + "', '" +
              JsText(results.Title(i)) + "', 'Pages about " + JsText(q) + " at " +
              JsText(HostOf(results.Url(i))) + "', '')" + (i < span.last ? "," : "") + "\n";
  }
  script +=
      "); // end of results\nvar resultUrls = null;\nvar resultAbstracts = null;\n</script>\n";
  std::string body = "<div id=\"list\"><script>showResults(results);</script></div>\n";
  if (span.more) body += "<p><a href=\"" + next + "\">Next Page</a></p>";
  return HttpResponse::Text(Page("iWon Web Sites: " + q, body, script));
}

// --- Kappa: a list; the next page is the second form of the pager ---

HttpResponse KappaResults(FakeCall& call) {
  std::string q = call.params.Get("q");
  FakeResults results(call.scenario);
  PageSpan span = SpanFrom(results, call.scenario, call.params.GetInt("pos", 0));
  if (q.empty() || span.Empty())
    return NoResults(call, "Kappa", "<p>Please type a search term.</p>");
  std::string body = "<ul class=\"items\">\n";
  for (int i = span.first; i <= span.last; ++i) {
    body += std::string(i == span.last ? "<li class=\"item last\">" : "<li class=\"item\">") +
            "<a href=\"" + results.Url(i) + "\">" + results.Title(i) + "</a> " +
            results.Snippet(i, q) + "</li>\n";
  }
  int perPage = std::max(1, call.scenario.perPage);
  std::string hiddenQ = "<input type=\"hidden\" name=\"q\" value=\"" + HtmlEscape(q) + "\">";
  body += "</ul>\n<div class=\"pager\">\n";
  // The first form is always there, so the next one is always the second; it is left open, as
  // on many old pages, so both forms stand before the first form end after the marker.
  body += "<form method=\"get\" action=\"/kappa/search\">" + hiddenQ +
          "<input type=\"hidden\" name=\"pos\" value=\"" +
          std::to_string(std::max(0, span.first - 1 - perPage)) +
          "\"><input type=\"submit\" name=\"nav\" value=\"Previous\">\n";
  if (span.more)
    body += "<form method=\"post\" action=\"/kappa/search\">" + hiddenQ +
            "<input type=\"hidden\" name=\"pos\" value=\"" + std::to_string(span.last) +
            "\"><input type=\"submit\" name=\"nav\" value=\"Next\"></form>\n";
  body += "</div>";
  return HttpResponse::Text(Page("Kappa: " + q, body));
}

bool IsHome(const FakeCall& call) {
  return call.path == "/" + call.engine || call.path == "/" + call.engine + "/";
}

}  // namespace

HttpResponse AlphaPages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Home("Alpha Search", "alpha", "q"));
  if (call.path == "/alpha/search") return AlphaResults(call);
  return AlphaAddUrl(call);
}

HttpResponse BetaPages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Home("Beta Seek", "beta", "q"));
  if (call.path == "/beta/search") return BetaResults(call);
  if (call.path == "/beta/img/next.gif") return Gif();
  if (call.path == "/beta/cache")
    return HttpResponse::Text(
        Page("Beta Seek cache",
             "<p>Cached copy of result " + HtmlEscape(call.params.Get("id")) + ".</p>"));
  return NotFound();
}

HttpResponse GammaPages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Home("Gamma Index", "gamma", "q"));
  return call.path == "/gamma/search" ? GammaResults(call) : NotFound();
}

HttpResponse DeltaPages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Home("Delta Web", "delta", "q"));
  return call.path == "/delta/search" ? DeltaResults(call) : NotFound();
}

HttpResponse EpsilonPages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Home("Epsilon", "epsilon", "q"));
  return call.path == "/epsilon/search" ? EpsilonResults(call) : NotFound();
}

HttpResponse ZetaPages(FakeCall& call) {
  if (IsHome(call)) return ZetaHome(call);
  if (call.path == "/zeta/find") return ZetaResults(call);
  if (call.path == "/zeta/img/go.gif") return Gif();
  return NotFound();
}

HttpResponse EtaPages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Home("Eta Meta", "eta", "q"));
  if (call.path == "/eta/search") return EtaSearch(call);
  if (call.path == "/eta/results") return EtaResults(call);
  return NotFound();
}

HttpResponse ThetaPages(FakeCall& call) {
  return ThetaPagesImpl(call);
}

HttpResponse SoloPages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Home("Iota Solo", "solo", "q"));
  return call.path == "/solo/search" ? SoloResults(call) : NotFound();
}

HttpResponse IwonPages(FakeCall& call) {
  if (IsHome(call)) return HttpResponse::Text(Home("iWon Web Sites", "iwon", "q"));
  return call.path == "/iwon/search" ? IwonResults(call) : NotFound();
}

HttpResponse KappaPages(FakeCall& call) {
  if (call.path == "/kappa/search") return KappaResults(call);
  return KappaAddUrl(call);
}

HttpResponse OmicronPages(FakeCall&) {
  return HttpResponse::Text(Page("Gone", "<p>Omicron Archive has closed.</p>"), "text/html", 410);
}

}  // namespace zbtest
