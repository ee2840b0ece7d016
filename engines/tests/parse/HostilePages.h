// Pages made to hurt the page readers: tags, links, comments and quotes that never end, repeated
// until the page is as large as a big result page. Each page wraps a filler between a few real
// items, so that a reader must still find those; the reader tests check that it does, and the
// parse benchmark times each hostile filler beside a well-formed one of the same size.
#pragma once

#include <string>

namespace hostilepages {

constexpr size_t kPageSize = 150 * 1024;

// The piece repeated until the text holds at least size bytes.
inline std::string Repeat(const std::string& piece, size_t size = kPageSize) {
  std::string text;
  text.reserve(size + piece.size());
  while (text.size() < size) text += piece;
  return text;
}

// A search form (marker "<!-- search -->") with a text field before the filler and a hidden
// field after it: q=blue, sid=7.
inline std::string SearchForm(const std::string& filler) {
  return "<html><body><!-- search --><form action=\"/find\" method=\"get\">"
         "<input type=text name=q value=\"blue\">" +
         filler + "<input type=hidden name=sid value=7></form></body></html>";
}

// A directory page: the categories Arts and Music in list items around the filler, and the link
// that adds a site, known by its address only ("suggest").
inline std::string CategoryPage(const std::string& filler) {
  return "<ul><li><a href=\"arts/\">Arts</a></li>" + filler +
         "<li><a href=\"music/\">Music</a></li></ul><p><a href=\"/suggest?c=1\">Propose</a>";
}

// A result list of two items, the filler inside the first after its link.
inline std::string ResultList(const std::string& filler) {
  return "<ol><li><a href=\"http://a.example/\">A</a> " + filler +
         "</li><li><a href=\"http://b.example/\">B</a></li></ol>";
}

// A result list, then the filler, then the pager's link ("Next" to "/p2").
inline std::string PagerAfter(const std::string& filler) {
  return "<ol><li><a href=\"http://a.example/\">A</a></li></ol>" + filler +
         "<p><a href=\"/p2\">Next</a></p>";
}

// One link whose text is the filler followed by " zzz", then a short link "zzz" to "/short".
inline std::string LongLink(const std::string& filler) {
  return "<p><a href=\"/long\">" + filler + " zzz</a></p><a href=\"/short\">zzz</a>";
}

// Result arrays of the array engine (titles marker "titles=[", end marker "];") after the filler:
// one entry for "http://w.example/".
inline std::string ResultArrays(const std::string& filler) {
  return "<script>" + filler +
         "titles=[new Array('1', 'http://w.example/', 'Title', 'About', '')];</script>";
}

}  // namespace hostilepages
