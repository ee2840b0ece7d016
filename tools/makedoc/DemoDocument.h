// Writes ZBPro documents for the demo and the benchmarks: a site, its search terms (one engine
// set each, all taking part in runs over all sets), the engines the document checks and,
// for a benchmark, stored results that make the document as heavy as a used one.
#pragma once

#include <string>
#include <vector>

namespace zbdemo {

struct DocumentPlan {
  std::string site;
  std::vector<std::string> terms;    // at least one
  std::vector<std::string> engines;  // the engines checked; empty: every engine of the data
  int resultsPerEngine = 0;          // results stored for every engine of every term
  // Where the document's reports go; empty: wherever the program that opens it writes them
  // (its setting, else its own folder), never the maker's folder.
  std::string reportsDir;
};

// Writes the document to `path`, with the engines of engines.dat in the engine data folder
// (the program's folder, or the one set by SetEngineDataFolder). False with a message when
// the plan names an engine the data lacks, the data has no engines or the file cannot be saved.
bool WriteDocument(const DocumentPlan& plan, const std::string& path, std::string& error);

}  // namespace zbdemo
