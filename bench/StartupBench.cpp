// StartupBench RUNS CLASS PROGRAM [ARGUMENTS...]: starts the program RUNS times (after one
// start that only warms the caches) and prints how long it took until a visible top-level
// window of the class was there, and until that window's thread answered a message (the work
// queued behind the first show, such as filling the lists, done). Figures only; nothing passes
// or fails on time.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/ProcessDriver.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

struct Start {
  bool ok = false;
  double shown = 0;   // ms until the window is visible
  double answer = 0;  // ms until its thread handles a message
};

// One start; polls often, because the figure of interest is a fraction of a second.
Start Measure(const std::string& program, const std::string& arguments, const char* windowClass) {
  Start result;
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
  result.ok = true;
  return result;  // the driver ends the program
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
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

  Start warm = Measure(program, arguments, windowClass);
  if (!warm.ok) {
    fprintf(stderr, "StartupBench: %s showed no window of class %s\n", program.c_str(),
            windowClass);
    return 1;
  }
  std::vector<double> shown, answer;
  for (int i = 0; i < runs; ++i) {
    Start start = Measure(program, arguments, windowClass);
    if (!start.ok) continue;
    shown.push_back(start.shown);
    answer.push_back(start.answer);
  }
  printf("  first start (cold) %8.0f ms shown %8.0f ms answering\n", warm.shown, warm.answer);
  printf("  warm, median of %zu %8.0f ms shown %8.0f ms answering (best %.0f / %.0f)\n",
         shown.size(), Median(shown), Median(answer),
         shown.empty() ? 0 : *std::min_element(shown.begin(), shown.end()),
         answer.empty() ? 0 : *std::min_element(answer.begin(), answer.end()));
  return shown.empty() ? 1 : 0;
}
