// When the update check is due: once a day, before the first run of the day, never in an
// automated run. The day of the last due check is kept in the update program's registry key,
// so that the program checks once a day however often it is started.
#pragma once

namespace dailycheck {

constexpr const char* kKey = "SOFTWARE\\Orvandel Labs, Inc.\\ZBUpdate";
constexpr const char* kLastDate = "LastDate";

// today: the day number of today. Due answers true at most once per program run.
bool UpdateCheckDue(int today, bool automated);
// Forgets that this program run has had its check (tests).
void ResetDailyCheckFlag();

}  // namespace dailycheck
