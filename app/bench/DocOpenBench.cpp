// DocOpenBench DATAFOLDER DOCUMENT [RUNS]: where the time of opening a document goes. Prints the
// engine database's load, a whole open of the document, and its parts that scale with
// engines x terms (making one engine set, reading the stored sets) beside one another, and what
// the sets left waiting by the open cost once every one of them is used.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/ZubrinDoc.h"
#include "engines/db/EngineServices.h"
#include "engines/sets/EngineSet.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
int QuietBox(HWND, const char*, const char*, unsigned) { return IDOK; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: DocOpenBench DATAFOLDER DOCUMENT [RUNS]\n");
    return 2;
  }
  int runs = argc > 3 ? atoi(argv[3]) : 3;
  SetEngineMessageBox(QuietBox);
  SetEngineDataFolder(argv[1]);
  for (int run = 0; run < runs; ++run) {
    auto start = std::chrono::steady_clock::now();
    CZubrinDoc doc;
    doc.OnNewDocument();
    double fresh = Seconds(start);
    int engines = 0;
    for (CListNode* node = doc.m_database.GetEngines().Head(); node; node = node->Next()) ++engines;

    start = std::chrono::steady_clock::now();
    const int sets = 10;
    for (int i = 0; i < sets; ++i) delete new CEngineSet(&doc.m_database, 1, CString("x"));
    double perSet = Seconds(start) / sets;

    start = std::chrono::steady_clock::now();
    BOOL opened = doc.OnOpenDocument(argv[2]);
    double open = Seconds(start);
    printf("run %d: %d engines, %d sets%s\n", run + 1, engines, doc.m_manager.GetCount(),
           opened ? "" : " (the open FAILED)");
    printf("  new document (loads the engine database)  %7.3f s\n", fresh);
    printf("  one engine set made from the database     %7.3f s\n", perSet);
    printf("  opening the document                      %7.3f s  (= %.1f sets' making)\n", open,
           perSet > 0 ? open / perSet : 0.0);
    int waiting = 0;
    for (POSITION position = doc.m_manager.GetHeadPosition(); position;)
      if (doc.m_manager.GetNext(position)->ClonesWaiting()) ++waiting;
    start = std::chrono::steady_clock::now();
    for (POSITION position = doc.m_manager.GetHeadPosition(); position;)
      doc.m_manager.GetNext(position)->GetEngineCount();
    printf("  later, first use of the %2d waiting sets    %7.3f s\n", waiting, Seconds(start));
  }
  return 0;
}
