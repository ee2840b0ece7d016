#include "tools/makedoc/DemoData.h"

#include <cstdio>
#include <cstdlib>

namespace zbdemo {

namespace {

std::string Trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t\r");
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(begin, end - begin + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(separator, start);
    parts.push_back(Trim(text.substr(start, at == std::string::npos ? at : at - start)));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

// A whole decimal number within [low, high]; anything else is refused.
bool ToInt(const std::string& text, int low, int high, int& out) {
  if (text.empty() || text.size() > 9) return false;
  for (char ch : text)
    if (ch < '0' || ch > '9') return false;
  out = atoi(text.c_str());
  return out >= low && out <= high;
}

// The blank-separated ranks of an engine, each 0 or within its results.
std::string ParseRanks(const std::string& text, size_t terms, DemoEngine& engine) {
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find_first_of(" \t", start);
    if (end == std::string::npos) end = text.size();
    if (end > start) {
      int rank = 0;
      if (!ToInt(text.substr(start, end - start), 0, engine.totalResults, rank))
        return "has a rank that is not 0 or within the results";
      engine.ranks.push_back(rank);
    }
    start = end + 1;
  }
  if (engine.ranks.empty()) return "has a rank that is not 0 or within the results";
  if (engine.ranks.size() != 1 && engine.ranks.size() != terms)
    return "has " + std::to_string(engine.ranks.size()) + " ranks for " + std::to_string(terms) +
           " search terms";
  return std::string();
}

// The fields of one "engine=" value; an empty result on success, else what is wrong.
std::string ParseEngine(const std::string& value, size_t terms, DemoEngine& engine) {
  std::vector<std::string> fields = Split(value, '|');
  if (fields.size() != 5) return "needs name|path|ranks|results|per page";
  engine.name = fields[0];
  engine.path = fields[1];
  if (engine.name.empty() || engine.path.empty()) return "has an empty name or path";
  if (!ToInt(fields[3], 1, 1000, engine.totalResults)) return "has a bad number of results";
  if (!ToInt(fields[4], 1, 100, engine.perPage)) return "has a bad number per page";
  return ParseRanks(fields[2], terms, engine);
}

std::string ParseLine(const std::string& line, DemoData& out) {
  size_t equals = line.find('=');
  if (equals == std::string::npos) return "is not name=value";
  std::string name = Trim(line.substr(0, equals));
  std::string value = Trim(line.substr(equals + 1));
  if (name == "site") {
    if (value.empty()) return "has no site address";
    if (!out.site.empty()) return "gives a second site";
    out.site = value;
  } else if (name == "term") {
    if (value.empty()) return "has an empty search term";
    // The ranks of an engine are counted against the terms before it.
    if (!out.engines.empty()) return "gives a search term after the engines";
    out.terms.push_back(value);
  } else if (name == "engine") {
    DemoEngine engine;
    std::string wrong = ParseEngine(value, out.terms.size(), engine);
    if (!wrong.empty()) return wrong;
    for (const DemoEngine& other : out.engines)
      if (other.name == engine.name || other.path == engine.path) return "repeats an engine";
    out.engines.push_back(engine);
  } else {
    return "has an unknown name \"" + name + "\"";
  }
  return std::string();
}

}  // namespace

bool ParseDemoData(const std::string& text, DemoData& out, std::string& error) {
  out = DemoData();
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = Trim(text.substr(start, end - start));
    start = end + 1;
    ++number;
    if (line.empty() || line[0] == '#') continue;
    std::string wrong = ParseLine(line, out);
    if (!wrong.empty()) {
      error = "line " + std::to_string(number) + " " + wrong;
      return false;
    }
  }
  if (out.site.empty()) error = "no site";
  else if (out.terms.empty()) error = "no search term";
  else if (out.engines.empty()) error = "no engine";
  else return true;
  return false;
}

bool ReadDemoData(const std::string& path, DemoData& out, std::string& error) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) {
    error = "cannot read " + path;
    return false;
  }
  std::string text;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  fclose(file);
  return ParseDemoData(text, out, error);
}

}  // namespace zbdemo
