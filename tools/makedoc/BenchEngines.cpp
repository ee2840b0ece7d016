#include "tools/makedoc/BenchEngines.h"

#include <cstdio>

#include "tests/fakeengine/EngineFixtures.h"

namespace zbdemo {

namespace {

// Fixture engines whose definitions work under any name: the ones whose rules depend on their
// own name (the directory, the array engine) or that only take submissions are left out.
const char* const kSearchers[] = {"Alpha Search", "Beta Seek",  "Gamma Index",
                                  "Delta Web",    "Epsilon",    "Zeta Finder",
                                  "Eta Meta",     "Iota Solo",  "Kappa"};
constexpr int kSearcherCount = sizeof kSearchers / sizeof kSearchers[0];

// The section "[name]" of the text up to the next section, without its header line.
std::string SectionBody(const std::string& text, const std::string& name) {
  std::string header = "\n[" + name + "]";
  size_t at = text.find(header);
  if (at == std::string::npos) return std::string();
  size_t begin = text.find('\n', at + 1);
  size_t end = text.find("\n[", begin);
  return text.substr(begin + 1, end == std::string::npos ? end : end - begin);
}

bool WriteText(const std::string& path, const std::string& text) {
  FILE* file = fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = fwrite(text.data(), 1, text.size(), file) == text.size();
  return fclose(file) == 0 && ok;
}

}  // namespace

std::vector<std::string> BenchEngineNames(int count) {
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    char number[16];
    snprintf(number, sizeof number, " %03d", i + 1);
    names.push_back(kSearchers[i % kSearcherCount] + std::string(number));
  }
  return names;
}

std::string BenchEnginesText(int count, unsigned short port) {
  std::string source = zbtest::FixtureForPort("engines.src.dat", port);
  size_t first = source.find("\n[" + std::string(kSearchers[0]) + "]");
  if (first == std::string::npos) return std::string();
  // Leading comments and the icons stay: the program reads its icon numbers from there.
  std::string text = source.substr(0, first + 1);
  std::vector<std::string> names = BenchEngineNames(count);
  for (int i = 0; i < count; ++i) {
    std::string body = SectionBody(source, kSearchers[i % kSearcherCount]);
    if (body.empty()) return std::string();
    text += "[" + names[i] + "]\n" + body + "\n";
  }
  return text;
}

bool WriteBenchEngines(const std::string& folder, int count, unsigned short port,
                       std::string& error) {
  std::string engines = BenchEnginesText(count, port);
  std::string categories = zbtest::FixtureForPort("categories.src.dat", port);
  if (engines.empty() || categories.empty()) {
    error = "cannot read the fixture engines";
    return false;
  }
  for (const char* name : {"engines.dat", "categories.dat"}) {
    std::string path = folder + "\\" + name;
    if (!WriteText(path, name[0] == 'e' ? engines : categories)) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace zbdemo
