// StartupBench RUNS CLASS PROGRAM [ARGUMENTS...]: starts the program RUNS times (after one
// start that only warms the caches) and prints how long it took until a visible top-level
// window of the class was there, and until that window's thread answered a message (the work
// queued behind the first show, such as filling the lists, done). The program's own start-up
// marks (ZBPRO_STARTUP_PHASES) then tell where that time went: wall and process CPU time from one
// mark to the next, medians of the warm starts; CPU time says more than wall time on a machine
// that others use too. Figures only; nothing passes or fails on time.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/program/StartupPhases.h"
#include "tests/support/ProcessDriver.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

struct Phase {
  std::string name;
  double wall = 0;  // ms since the process began
  double cpu = 0;   // ms of the process's CPU time
};

struct Start {
  bool ok = false;
  double shown = 0;   // ms until the window is visible
  double answer = 0;  // ms until its thread handles a message
  std::vector<Phase> phases;
};

// The marks the program wrote, once the window is shown and the engine list painted (or after a
// while without).
std::vector<Phase> ReadPhases(const std::string& path) {
  std::vector<Phase> phases;
  Clock::time_point begin = Clock::now();
  for (;;) {
    phases.clear();
    bool painted = false, shown = false;
    if (FILE* file = fopen(path.c_str(), "r")) {
      char line[256];
      while (fgets(line, sizeof line, file)) {
        char* tab = strchr(line, '\t');
        if (!tab) continue;
        Phase phase;
        phase.name.assign(line, tab);
        if (sscanf(tab + 1, "%lf %lf", &phase.wall, &phase.cpu) != 2) continue;
        painted = painted || phase.name == startup::kFirstPaint;
        shown = shown || phase.name == startup::kShown;
        phases.push_back(phase);
      }
      fclose(file);
    }
    if ((painted && shown) || Ms(begin) > 10000) return phases;
    Sleep(20);
  }
}

// One start; polls often, because the figure of interest is a fraction of a second.
Start Measure(const std::string& program, const std::string& arguments, const char* windowClass,
              const std::string& phaseFile) {
  Start result;
  DeleteFileA(phaseFile.c_str());
  zbtest::ProcessDriver process;
  Clock::time_point begin = Clock::now();
  if (!process.Start(program, arguments)) return result;
  HWND window = nullptr;
  while (!window && Ms(begin) < 60000) {
    std::vector<HWND> windows = process.TopWindows(windowClass);
    if (!windows.empty()) window = windows.front();
    else if (process.WaitForExit(2)) return result;
  }
  if (!window) return result;
  result.shown = Ms(begin);
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored)) return result;
  result.answer = Ms(begin);
  result.phases = ReadPhases(phaseFile);
  result.ok = true;
  return result;  // the driver ends the program
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

// Each mark's wall and CPU time since the mark before it (the first: since the process began),
// medians over the starts, in the order of the marks.
void PrintPhases(const std::vector<Start>& starts) {
  std::vector<std::string> order;
  std::map<std::string, std::vector<double>> walls, cpus;
  for (const Start& start : starts) {
    Phase previous;
    for (const Phase& phase : start.phases) {
      if (!walls.count(phase.name)) order.push_back(phase.name);
      walls[phase.name].push_back(phase.wall - previous.wall);
      cpus[phase.name].push_back(phase.cpu - previous.cpu);
      previous = phase;
    }
  }
  if (order.empty()) {
    printf("  (the program wrote no start-up marks)\n");
    return;
  }
  printf("  where it goes (warm, medians; ms since the mark before):        wall      CPU\n");
  for (const std::string& name : order)
    printf("    %-58s %8.0f %8.0f\n", name.c_str(), Median(walls[name]), Median(cpus[name]));
  std::vector<double> totalWall, totalCpu;
  for (const Start& start : starts)
    if (!start.phases.empty()) {
      totalWall.push_back(start.phases.back().wall);
      totalCpu.push_back(start.phases.back().cpu);
    }
  printf("    %-58s %8.0f %8.0f\n", "whole start-up, to the last mark", Median(totalWall),
         Median(totalCpu));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4 || atoi(argv[1]) < 1) {
    fprintf(stderr, "usage: StartupBench RUNS CLASS PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  int runs = atoi(argv[1]);
  const char* windowClass = argv[2];
  std::string program = argv[3], arguments;
  for (int i = 4; i < argc; ++i) arguments += std::string(i > 4 ? " " : "") + "\"" + argv[i] + "\"";

  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string phaseFile = std::string(folder) + "ZBProStartupPhases.txt";
  SetEnvironmentVariableA("ZBPRO_STARTUP_PHASES", phaseFile.c_str());

  Start warm = Measure(program, arguments, windowClass, phaseFile);
  if (!warm.ok) {
    fprintf(stderr, "StartupBench: %s showed no window of class %s\n", program.c_str(),
            windowClass);
    return 1;
  }
  std::vector<double> shown, answer;
  std::vector<Start> starts;
  for (int i = 0; i < runs; ++i) {
    Start start = Measure(program, arguments, windowClass, phaseFile);
    if (!start.ok) continue;
    shown.push_back(start.shown);
    answer.push_back(start.answer);
    starts.push_back(start);
  }
  printf("  first start (cold) %8.0f ms shown %8.0f ms answering\n", warm.shown, warm.answer);
  printf("  warm, median of %zu %8.0f ms shown %8.0f ms answering (best %.0f / %.0f)\n",
         shown.size(), Median(shown), Median(answer),
         shown.empty() ? 0 : *std::min_element(shown.begin(), shown.end()),
         answer.empty() ? 0 : *std::min_element(answer.begin(), answer.end()));
  PrintPhases(starts);
  DeleteFileA(phaseFile.c_str());
  return shown.empty() ? 1 : 0;
}
