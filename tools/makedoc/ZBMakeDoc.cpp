// ZBMakeDoc: writes ZBPro documents for the demo and the benchmarks (a tool beside the tests,
// never installed with the product).
//
//   ZBMakeDoc demo DEMOFILE DATAFOLDER DOCUMENT
//       the demo's site, terms and engines (tests/fixtures/demo/demo.txt), with the engines.dat
//       of DATAFOLDER; its reports go to DATAFOLDER\reports
//   ZBMakeDoc bench ENGINES TERMS DATAFOLDER DOCUMENT [RESULTS]
//       writes DATAFOLDER\engines.dat with ENGINES engines copied from the fixtures, then a
//       document of TERMS terms over all of them with RESULTS stored results each (default 10)
//
// Exit code 0 on success; 1 with a message on standard error otherwise; 2 for a bad command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engines/db/EngineList.h"
#include "tools/makedoc/BenchEngines.h"
#include "tools/makedoc/DemoData.h"
#include "tools/makedoc/DemoDocument.h"

namespace {

int Usage() {
  fprintf(stderr,
          "usage: ZBMakeDoc demo DEMOFILE DATAFOLDER DOCUMENT\n"
          "       ZBMakeDoc bench ENGINES TERMS DATAFOLDER DOCUMENT [RESULTS]\n");
  return 2;
}

int Fail(const std::string& message) {
  fprintf(stderr, "ZBMakeDoc: %s\n", message.c_str());
  return 1;
}

// A number on the command line: a whole number within [low, high], else -1.
int Number(const char* text, int low, int high) {
  char* end = nullptr;
  long value = strtol(text, &end, 10);
  return *text && *end == '\0' && value >= low && value <= high ? static_cast<int>(value) : -1;
}

int MakeDemo(const std::string& demoFile, const std::string& folder, const std::string& out) {
  zbdemo::DemoData data;
  std::string error;
  if (!zbdemo::ReadDemoData(demoFile, data, error)) return Fail(demoFile + ": " + error);
  zbdemo::DocumentPlan plan;
  plan.site = data.site;
  plan.terms = data.terms;
  for (const zbdemo::DemoEngine& engine : data.engines) plan.engines.push_back(engine.name);
  // The reports beside the program that runs the demo, where the demo looks for them.
  plan.reportsDir = folder + "\\reports\\";
  CreateDirectoryA(plan.reportsDir.c_str(), nullptr);
  SetEngineDataFolder(folder.c_str());
  if (!zbdemo::WriteDocument(plan, out, error)) return Fail(error);
  printf("%s: %s, %zu terms, %zu engines\n", out.c_str(), plan.site.c_str(), plan.terms.size(),
         plan.engines.size());
  return 0;
}

int MakeBench(int engines, int terms, const std::string& folder, const std::string& out,
              int results) {
  std::string error;
  // The engines name a port no one listens on: the document is for starting, not for runs.
  if (!zbdemo::WriteBenchEngines(folder, engines, 1, error)) return Fail(error);
  zbdemo::DocumentPlan plan;
  plan.site = "http://www.lakeside-pottery.example/";
  for (int i = 1; i <= terms; ++i) plan.terms.push_back("search term " + std::to_string(i));
  plan.resultsPerEngine = results;
  SetEngineDataFolder(folder.c_str());
  if (!zbdemo::WriteDocument(plan, out, error)) return Fail(error);
  printf("%s: %d engines x %d terms, %d results each\n", out.c_str(), engines, terms, results);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "demo" && argc == 5) return MakeDemo(argv[2], argv[3], argv[4]);
  if (mode == "bench" && (argc == 6 || argc == 7)) {
    int engines = Number(argv[2], 1, 5000), terms = Number(argv[3], 1, 1000);
    int results = argc == 7 ? Number(argv[6], 0, 100) : 10;
    if (engines < 0 || terms < 0 || results < 0) return Usage();
    return MakeBench(engines, terms, argv[4], argv[5], results);
  }
  return Usage();
}
