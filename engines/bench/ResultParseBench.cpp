// Reads large result pages (about 150 KB each, in five markup styles) with the engine's result
// parser, each style with markers of its kind, and prints pages per second and MB/s. The pages
// are made here; scripts/bench-parse writes them to a folder with --write, runs this program on
// them with --pages, and runs the gumbo link walk of GumboLinksBench over the same files.
//
//   ResultParseBench.exe [--write FOLDER] [--pages FOLDER] [--rounds N] [--per-style N]
//   ResultParseBench.exe --hostile [--rounds N]
//
// --hostile times the page readers on pages made to hurt them (tags, links and comments that
// never end) beside well-formed pages of the same size instead.
// Without --pages the pages are made in memory. The last line is a summary for the script:
//   RESULT ours pages=<n> bytes=<n> seconds=<wall> cpu=<cpu> results=<n>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "engines/db/EngineKeys.h"
#include "engines/db/SearchEngine.h"
#include "engines/bench/HostilePageBench.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kPageSize = 150 * 1024;

// A style: its name (the file name's prefix) and the definition keys of an engine that reads it.
struct Style {
  const char* name;
  std::vector<std::pair<const char*, const char*>> keys;
};

const Style kStyles[] = {
    {"list",
     {{".startofpage", "<ol class=\"results\">"},
      {".endofpage", "<div id=\"footer\">"},
      {".startmarker1", "<li class=\"r\">"},
      {".stopmarker1", "</li>"},
      {".stripstop1", "1"},
      {".nextpagemarker1", "Next page"}}},
    {"table",
     {{".startofpage", "<table class=\"serp\">"},
      {".endofpage", "</table>"},
      {".startmarker1", "<tr class=\"hit\">"},
      {".stopmarker1", "</tr>"},
      {".includestart1", "1"},
      {".resulthlinknum", "2"},
      {".nextpagemarker1", "Next results"},
      {".nextpagemarker2", "next.gif"}}},
    {"divs",
     {{".startofpage2", "<div id=\"results\">"},
      {".endofpage2", "<!-- end results -->"},
      {".startmarker1", "<div class=\"g\">"},
      {".startmarker2", "<div class=\"g alt\">"},
      {".includestart1", "1"},
      {".includestart2", "1"},
      {".stopmarker1", "<!--/g-->"},
      {".prepend", "<div class=\"result\">"},
      {".append", "</div>"},
      {".nextpagemarker1", "[#TOTALRESULTS+1#-"}}},
    {"paragraphs",
     {{".startofpage", "<div class=\"hits\">"},
      {".endofpage", "<div class=\"foot\">"},
      {".startmarker1", "<p class=\"hit\">"},
      {".nextpagemarker1", "More results"}}},
    {"pre",
     {{".startofpage", "<pre class=\"hits\">"},
      {".endofpage", "</pre>"},
      {".startmarker1", "\n*"},
      {".nextpagemarker1", "Next"}}},
};

// A small fixed generator, so that every run reads the same pages.
class Words {
 public:
  explicit Words(unsigned seed) : m_state(seed) {}
  unsigned Next(unsigned n) {
    m_state = m_state * 1103515245u + 12345u;
    return (m_state >> 16) % n;
  }
  std::string Word() {
    static const char* const kWords[] = {
        "blue",    "widgets",  "garden", "tools",  "online", "shop",    "cheap",   "quality",
        "review",  "guide",    "best",   "price",  "order",  "service", "company", "products",
        "free",    "delivery", "home",   "design", "custom", "parts",   "repair",  "supply",
        "catalog", "offers",   "local",  "expert", "about",  "contact", "news",    "history"};
    return kWords[Next(sizeof kWords / sizeof *kWords)];
  }
  std::string Sentence(int words) {
    std::string s;
    for (int i = 0; i < words; ++i) {
      if (i) s += ' ';
      if (Next(7) == 0) {
        s += "<b>" + Word() + "</b>";
      } else {
        s += Word();
      }
    }
    return s;
  }
  std::string Host() {
    return "www." + Word() + "-" + Word() + std::to_string(Next(1000)) + ".example";
  }

 private:
  unsigned m_state;
};

// What every page carries around its results: styles, scripts, a menu, a search form.
std::string PageHead(Words& w, const char* title) {
  std::string s = "<!DOCTYPE html>\n<html><head><meta charset=\"iso-8859-1\"><title>";
  s += title;
  s += " - blue widgets</title>\n<style type=\"text/css\">\n";
  for (int i = 0; i < 120; ++i)
    s += ".c" + std::to_string(i) + " { color: #" + std::to_string(100000 + i * 37) +
         "; margin: 0 " + std::to_string(i % 9) + "px; font: 13px arial, sans-serif }\n";
  s += "</style>\n<script type=\"text/javascript\">\nvar config = {";
  for (int i = 0; i < 150; ++i) s += "k" + std::to_string(i) + ": '" + w.Word() + "', ";
  s += "};\nfunction go(a) { if (a < 3 && a > 0) { window.location = '/s?q=' + a; } }\n</script>\n";
  s += "</head><body onload=\"go(0)\">\n<div id=\"top\"><ul class=\"menu\">";
  for (int i = 0; i < 40; ++i)
    s += "<li><a href=\"/section/" + w.Word() + std::to_string(i) + "\" class=\"m\">" + w.Word() +
         "</a></li>";
  s += "</ul>\n<form action=\"/search\" method=\"get\"><input type=\"text\" name=\"q\" "
       "value=\"blue widgets\"><input type=\"hidden\" name=\"hl\" value=\"en\">"
       "<input type=\"submit\" value=\"Search\"></form></div>\n";
  s += "<div class=\"ads\"><a href=\"http://ads.example/click?id=1\"><img src=\"/ad.gif\" "
       "width=\"468\" height=\"60\" alt=\"\"></a></div>\n";
  return s;
}

std::string Footer(Words& w) {
  std::string s = "<div class=\"links\">";
  for (int i = 0; i < 30; ++i) s += "<a href=\"/about/" + w.Word() + "\">" + w.Word() + "</a> | ";
  return s + "</div>\n<p class=\"copy\">&copy; 2004 Example Search</p></body></html>\n";
}

std::string Result(Words& w, const std::string& style, int rank) {
  std::string host = w.Host();
  std::string url = "http://" + host + "/" + w.Word() + "/" + w.Word() + ".html";
  std::string title = w.Sentence(6);
  std::string snippet = w.Sentence(70);
  std::string extra = "<a href=\"/cache?q=blue+widgets&amp;u=" + host +
                      "\">Cached</a> - "
                      "<a href=\"/related?u=" +
                      host + "\">Similar pages</a>";
  if (style == "list")
    return "<li class=\"r\"><h3 class=\"t\"><a href=\"" + url +
           "\" class=\"l\" target=\"_blank\">" + title +
           "</a></h3><div class=\"s\"><span class=\"st\">" + snippet + "</span><br><cite>" + host +
           "</cite> - " + extra + "</div></li>\n";
  if (style == "table")
    return "<tr class=\"hit\"><td class=\"n\">" + std::to_string(rank) +
           ".</td><td><a href=\"/cache?n=" + std::to_string(rank) + "\">[cached]</a> <a href=\"" +
           url + "\"><font size=\"3\"><b>" + title + "</b></font></a><br><font size=\"2\">" +
           snippet + "<br><font color=\"green\">" + url + "</font></font></td></tr>\n";
  if (style == "divs")
    return std::string(rank % 3 == 0 ? "<div class=\"g alt\">" : "<div class=\"g\">") +
           "<h2><a href=\"" + url + "\" style=\"text-decoration:none\">" + title +
           "</a></h2><div class=\"abstract\">" + snippet + "</div><span class=\"url\">" + url +
           "</span> " + extra + "</div><!--/g-->\n";
  if (style == "paragraphs")
    return "<p class=\"hit\"><a href=\"" + url + "\">" + title + "</a><br>\n" + snippet +
           "<br>\n<i>" + url + "</i> <small>" + extra + "</small>\n";
  // pre
  return "\n* <a href=\"" + url + "\">" + title + "</a> - " + snippet + " [" + host + "]";
}

std::string MakePage(const std::string& style, int number) {
  Words w(static_cast<unsigned>(number * 7919 + style.size()));
  std::string page = PageHead(w, style.c_str());
  std::string open, close, pager;
  std::string next = "/search?q=blue+widgets&amp;start=" + std::to_string(number * 10);
  if (style == "list") {
    open = "<div id=\"res\"><ol class=\"results\">\n";
    close = "</ol></div>\n";
    pager = "<p class=\"nav\"><a href=\"" + next + "\">Next page</a></p>\n<div id=\"footer\">";
  } else if (style == "table") {
    open = "<table class=\"serp\">\n";
    close = "<tr><td colspan=\"2\" align=\"center\"><a href=\"" + next +
            "\"><img src=\"/img/next.gif\" border=\"0\" alt=\"Next results\"></a></td></tr>\n"
            "</table>\n";
  } else if (style == "divs") {
    open = "<div id=\"results\">\n";
    close = "<!-- end results --></div>\n";
  } else if (style == "paragraphs") {
    open = "<div class=\"hits\">\n";
    close = "<p><a href=\"" + next + "\">More results</a></p>\n";
    pager = "<div class=\"foot\">Example Search</div>\n";
  } else {
    open = "<pre class=\"hits\">";
    close = "\n<a href=\"" + next + "\">Next</a>\n</pre>\n";
  }
  page += open;
  std::string footer = Footer(w);
  int rank = 1;
  while (page.size() + close.size() + footer.size() + 600 < kPageSize)
    page += Result(w, style, rank++);
  page += close;
  if (style == "divs") {
    // A pager of counted links: "[1-10]" ... the link to the next results is read in the second
    // pass, once this page's results are counted.
    pager = "<div class=\"pager\">";
    for (int i = 0; i < 10; ++i)
      pager += "<a href=\"/search?q=blue+widgets&amp;s=" + std::to_string(i * (rank - 1)) + "\">[" +
               std::to_string(i * (rank - 1) + 1) + "-" + std::to_string((i + 1) * (rank - 1)) +
               "]</a> ";
    pager += "</div>\n";
  }
  page += pager + footer;
  return page;
}

bool WriteFile(const std::string& path, const std::string& text) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
  return (fclose(f) == 0) && ok;
}

bool ReadFile(const std::string& path, std::string& text) {
  FILE* f = fopen(path.c_str(), "rb");
  if (!f) return false;
  text.clear();
  char buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  fclose(f);
  return true;
}

std::string PageFileName(const std::string& style, int number) {
  char name[64];
  snprintf(name, sizeof name, "%s-%02d.html", style.c_str(), number);
  return name;
}

double ThreadCpu() {
  FILETIME created, ended, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &ended, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

struct Page {
  const Style* style;
  std::string engineName;
  std::string text;
};

// Reads the page as a query would: the engine object of the style reads it into its result list,
// which is emptied again afterwards (as the engine's end does), so that every page starts afresh.
size_t ParseOnce(CSearchEngine& engine, const Page& page, bool& nextFound) {
  engine.m_pageText = page.text.c_str();
  engine.ParseResultsPage();
  nextFound = engine.m_nextLinkFound != 0;
  size_t results = engine.m_results.GetCount();
  while (CListNode* node = engine.m_results.Head()) {
    delete static_cast<CSearchResult*>(node->Payload());
    engine.m_results.Remove(node, true);
  }
  return results;
}

}  // namespace

int main(int argc, char** argv) {
  std::string writeFolder, pagesFolder;
  int rounds = 20;
  int perStyle = 4;
  bool hostile = false;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--hostile") == 0) hostile = true;
    if (strcmp(argv[i], "--write") == 0 && i + 1 < argc) writeFolder = argv[++i];
    if (strcmp(argv[i], "--pages") == 0 && i + 1 < argc) pagesFolder = argv[++i];
    if (strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) rounds = atoi(argv[++i]);
    if (strcmp(argv[i], "--per-style") == 0 && i + 1 < argc) perStyle = atoi(argv[++i]);
  }
  if (rounds < 1) rounds = 1;
  if (perStyle < 1) perStyle = 1;
  if (hostile) return RunHostilePageBench(rounds);

  if (!writeFolder.empty()) {
    if (writeFolder.back() != '\\' && writeFolder.back() != '/') writeFolder += '\\';
    int written = 0;
    for (const Style& style : kStyles)
      for (int n = 1; n <= perStyle; ++n)
        if (WriteFile(writeFolder + PageFileName(style.name, n), MakePage(style.name, n)))
          ++written;
    printf("wrote %d pages to %s\n", written, writeFolder.c_str());
    return written == perStyle * static_cast<int>(sizeof kStyles / sizeof *kStyles) ? 0 : 1;
  }

  // One engine definition per style, as the engine database would hold it, and its engine.
  std::vector<Page> pages;
  std::vector<CSearchEngine> engines(sizeof kStyles / sizeof *kStyles);
  for (const Style& style : kStyles) {
    std::string engineName = std::string("Bench ") + style.name;
    engines[&style - kStyles].m_name = engineName.c_str();
    for (const auto& key : style.keys)
      EngineKeyList.SetAt((engineName + key.first).c_str(), key.second);
    for (int n = 1; n <= perStyle; ++n) {
      Page page{&style, engineName, std::string()};
      if (pagesFolder.empty()) {
        page.text = MakePage(style.name, n);
      } else {
        std::string folder = pagesFolder;
        if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
        if (!ReadFile(folder + PageFileName(style.name, n), page.text)) {
          fprintf(stderr, "cannot read %s\n", (folder + PageFileName(style.name, n)).c_str());
          return 1;
        }
      }
      pages.push_back(page);
    }
  }

  size_t bytes = 0;
  for (const Page& page : pages) bytes += page.text.size();
  printf("%zu pages in %zu styles, %.1f KB on average\n", pages.size(),
         sizeof kStyles / sizeof *kStyles, bytes / 1024.0 / pages.size());

  // One untimed round: every page must give results and its next page.
  for (const Page& page : pages) {
    bool next = false;
    size_t results = ParseOnce(engines[page.style - kStyles], page, next);
    if (results == 0 || !next) {
      fprintf(stderr, "%s: %zu results, next page %s\n", page.engineName.c_str(), results,
              next ? "found" : "missing");
      return 1;
    }
  }

  printf("%-12s %8s %10s %10s %12s\n", "style", "results", "pages/s", "MB/s", "ms/page");
  size_t totalResults = 0;
  double totalSeconds = 0;
  double cpuStart = ThreadCpu();
  for (const Style& style : kStyles) {
    size_t styleBytes = 0, styleResults = 0, stylePages = 0;
    auto start = Clock::now();
    for (int r = 0; r < rounds; ++r)
      for (const Page& page : pages) {
        if (page.style != &style) continue;
        bool next = false;
        styleResults += ParseOnce(engines[page.style - kStyles], page, next);
        styleBytes += page.text.size();
        ++stylePages;
      }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    totalSeconds += seconds;
    totalResults += styleResults;
    printf("%-12s %8zu %10.0f %10.1f %12.3f\n", style.name, styleResults / stylePages,
           stylePages / seconds, styleBytes / seconds / 1e6, seconds * 1000 / stylePages);
  }
  double cpu = ThreadCpu() - cpuStart;
  size_t totalPages = pages.size() * rounds;
  printf("%-12s %8zu %10.0f %10.1f %12.3f\n", "all", totalResults / totalPages,
         totalPages / totalSeconds, bytes * rounds / totalSeconds / 1e6,
         totalSeconds * 1000 / totalPages);
  printf("RESULT ours pages=%zu bytes=%zu seconds=%.6f cpu=%.6f results=%zu\n", totalPages,
         bytes * rounds, totalSeconds, cpu, totalResults);
  return 0;
}
