// RunBench [engines] [terms] [maxThreads]: checks every term on every engine against the fake
// search engine on loopback, with the product's own pauses (250 ms before each worker, one to
// three seconds between result pages), and prints the run's wall time beside the least time
// those pauses allow. That bound replays the run with nothing but its pauses: the run thread
// waits for a free place among the workers, pauses before each start, and each worker takes
// exactly the page pauses it really slept, in the order the workers really started. What the
// wall time has over it is what the program itself costs: fetching, parsing, threads, waits.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "app/settings/SearchProperties.h"
#include "app/document/ZubrinDoc.h"
#include "app/run/RunControl.h"
#include "app/run/RunRules.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"
#include "engines/db/SearchEngine.h"
#include "foundation/net/Socklet.h"
#include "tests/fakeengine/EngineFixtures.h"
#include "tests/fakeengine/FakeSearchEngine.h"

namespace {

std::mutex g_mutex;
unsigned long g_startPauses = 0;      // ms, on the run thread
unsigned long g_lastWorkerPauses = 0;  // ms, page pauses of the worker started last
unsigned long g_allPagePauses = 0;    // ms, of every worker
DWORD g_lastWorker = 0;
std::vector<unsigned long> g_workerPauses;  // page pauses per worker, in the order they started
thread_local unsigned long t_pauses = 0;

void StartPause(unsigned ms) {
  g_startPauses += ms;
  Sleep(ms);
}
void PagePause(unsigned ms) {
  t_pauses += ms;
  Sleep(ms);
}
void TimedWorker(WorkerJob& job) {
  size_t index;
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_lastWorker = GetCurrentThreadId();
    index = g_workerPauses.size();
    g_workerPauses.push_back(0);
  }
  t_pauses = 0;
  CRunControl::RunEngineWorker(job);
  std::lock_guard<std::mutex> lock(g_mutex);
  if (g_lastWorker == GetCurrentThreadId()) g_lastWorkerPauses = t_pauses;
  g_allPagePauses += t_pauses;
  g_workerPauses[index] = t_pauses;
}

// The run replayed with its pauses only: before each start the run thread waits until fewer
// than `places` workers run, then pauses; a worker runs for exactly its page pauses.
double PausesOnlyRun(const std::vector<unsigned long>& workers, unsigned startPause, int places) {
  std::vector<double> running;  // finish times of the workers still running
  double now = 0, end = 0;
  for (unsigned long pauses : workers) {
    std::sort(running.begin(), running.end());
    while (static_cast<int>(running.size()) >= places) {
      now = std::max(now, running.front());
      running.erase(running.begin());
    }
    now += startPause;
    running.push_back(now + pauses);
    end = std::max(end, now + pauses);
  }
  return end / 1000.0;
}
int QuietBox(HWND, const char*, const char*, unsigned) {
  return IDOK;
}

// engines.dat with `count` copies of the first fixture engine, all served by its path.
bool WriteEngines(const std::string& folder, unsigned short port, int count) {
  std::string text = zbtest::FixtureForPort("engines.src.dat", port);
  size_t begin = text.find("[Alpha Search]");
  size_t end = text.find("\n[", begin + 1);
  if (begin == std::string::npos || end == std::string::npos) return false;
  std::string section = text.substr(begin, end - begin + 1);
  std::string out;
  for (int i = 0; i < count; ++i) {
    std::string copy = section;
    copy.replace(0, 14, "[Bench Engine " + std::to_string(100 + i) + "]");
    out += copy + "\n";
  }
  FILE* f = fopen((folder + "\\engines.dat").c_str(), "wb");
  if (!f) return false;
  fwrite(out.data(), 1, out.size(), f);
  fclose(f);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int engines = argc > 1 ? atoi(argv[1]) : 30;
  int terms = argc > 2 ? atoi(argv[2]) : 3;
  int maxThreads = argc > 3 ? atoi(argv[3]) : 4;
  SockletStartup();
  zbtest::FakeSearchEngine fake;
  if (!fake.Start()) return 1;
  zbtest::FakeScenario scenario;
  scenario.rank = 0;
  scenario.totalResults = 25;  // three pages: two pauses per query
  fake.SetScenario(scenario);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "zbrunbench";
  CreateDirectoryA(folder.c_str(), nullptr);
  if (!WriteEngines(folder, fake.Port(), engines)) return 1;
  SetEngineMessageBox(QuietBox);
  SetEngineDataFolder(folder.c_str());
  CSearchProperties& settings = GetSearchProperties();
  settings.m_nMaxThreads = maxThreads;
  settings.m_nConnectionManagement = 0;
  settings.m_nKeywordAlert = 0;
  settings.m_nStopSearch = 0;
  CRunControl::SetSleepFunction(StartPause);
  CRunControl::SetWorkerBody(TimedWorker);
  SockletSetClock(nullptr, PagePause);

  CZubrinDoc doc;
  doc.OnNewDocument();
  doc.m_siteUrl = "http://www.zb-testsite.com/";
  doc.m_currentSet->m_name = "term 0";
  for (int i = 1; i < terms; ++i)
    doc.m_manager.AddSet(new CEngineSet(&doc.m_database, 1, ("term " + std::to_string(i)).c_str()));

  auto start = std::chrono::steady_clock::now();
  doc.OnCheckAll();
  while (doc.GetRunControl().IsRunning() || !doc.GetRunControl().WaitForRunThread(0)) Sleep(5);
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  double serial = (g_startPauses + g_lastWorkerPauses) / 1000.0;
  double shared = g_allPagePauses / 1000.0 / (maxThreads > 0 ? maxThreads : 1);
  int places = runrules::WorkerWaitThreshold(runrules::InitialThreadLimit(maxThreads, false),
                                            maxThreads, false);
  unsigned startPause = g_workerPauses.empty() ? 0 : g_startPauses / g_workerPauses.size();
  double bound = PausesOnlyRun(g_workerPauses, startPause, places);
  printf("RunBench: %d engines x %d terms, MaxThreads %d\n", engines, terms, maxThreads);
  printf("  wall time        %8.2f s\n", wall);
  printf("  required pauses  %8.2f s  (the run replayed with its pauses only, %d places)\n",
         bound, places);
  printf("  simpler bounds (the replay is never below either):\n");
  printf("    in sequence    %8.2f s  (%lu ms worker starts + %lu ms pages of the last worker)\n",
         serial, g_startPauses, g_lastWorkerPauses);
  printf("    by the limit   %8.2f s  (%lu ms of page pauses over %d workers)\n", shared,
         g_allPagePauses, maxThreads);
  printf("  over the bound   %8.1f %%\n", bound > 0 ? (wall / bound - 1) * 100 : 0.0);
  return 0;
}
