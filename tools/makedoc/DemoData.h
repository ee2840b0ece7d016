// The demo's data: the site, its search terms, and for each engine of the demo where the fake
// search engine puts the site among its results. Read from a small text file of our own
// (tests/fixtures/demo/demo.txt) by both demo programs, the fake engine that serves the ranks
// and the maker of the document that asks for them, so the two always agree.
//
//   site=http://www.example.com/
//   term=first search term
//   engine=Alpha Search|alpha|3 8 1|45|10  (section name | path | ranks | results | per page)
//
// The ranks are one per search term, in the order of the terms, which come before the engines;
// a single rank stands for every term. Rank 0 leaves the site out of that engine's results for
// that term. Blank lines and "#" lines are skipped.
#pragma once

#include <string>
#include <vector>

namespace zbdemo {

struct DemoEngine {
  std::string name;  // the section of engines.dat
  std::string path;  // the fake engine's path name ("alpha")
  std::vector<int> ranks;  // per term, 1-based over all pages; 0 = absent
  int totalResults = 0;
  int perPage = 10;

  // The rank for the term of that index.
  int Rank(size_t term) const { return ranks.size() == 1 ? ranks[0] : ranks.at(term); }
};

struct DemoData {
  std::string site;
  std::vector<std::string> terms;
  std::vector<DemoEngine> engines;
};

// Parses the text; on failure returns false with a message naming the line.
bool ParseDemoData(const std::string& text, DemoData& out, std::string& error);
// Reads and parses a file; a file that cannot be read is an error too.
bool ReadDemoData(const std::string& path, DemoData& out, std::string& error);

}  // namespace zbdemo
