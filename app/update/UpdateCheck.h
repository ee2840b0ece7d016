// The update check: a thread fetches the update catalogue from the update server and decides
// whether any listed file is newer than the installed one, while the user-interface thread
// shows a notice and keeps its messages flowing. A check never holds the window for long: it is
// given a time limit, the user may cancel it, and the wait for a cancelled thread is bounded.
#pragma once
#include <string>

#include "app/update/UpdateViews.h"

namespace updatecheck {

constexpr const char* kCataloguePath = "/zubrin/latest/ZBPro.cat";
constexpr const char* kCatalogueFile = "versions.ini";
constexpr const char* kUserAgent = "Zubrin Pro/7.0 (Catalog)";
constexpr unsigned kTimeLimit = 10000;  // ms the check may take
constexpr unsigned kCancelWait = 5000;  // ms granted a cancelled check to end

// Where one check fetches from and what it compares against.
struct CheckJob {
  std::string url;       // the catalogue's address
  std::string folder;    // the program folder, with its trailing backslash
  std::string debugLog;  // the decisions are appended here when not empty
};

// The catalogue's address on the update server that the update program's profile names first
// (its start server, else its first), or on the default host when it names none.
std::string CatalogueUrl();
// The job for this program: the program folder, and the debug log when debug is on.
CheckJob ProgramCheckJob(bool debug);

// The check thread's work: 1 when an update is available, 0 otherwise (also on any failure or
// when the block asks to cancel). The downloaded catalogue is removed in every case.
int FetchAndDecide(const CheckJob& job, UpdateCheckBlock& block);

// The whole check on the user-interface thread: notice, thread, bounded waits, and the offer.
// True when an update is available and the user accepted it.
bool RunUpdateCheck(IUpdateViews& views, const CheckJob& job);

// Test seam: the time limit of a check (the product keeps kTimeLimit).
void SetTimeLimit(unsigned milliseconds);

}  // namespace updatecheck
