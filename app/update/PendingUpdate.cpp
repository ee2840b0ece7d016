#include "app/update/PendingUpdate.h"

#include "app/update/DailyUpdateCheck.h"
#include "app/update/UpdateCheck.h"
#include "app/update/UpdateLauncher.h"
#include "foundation/core/Date.h"

namespace pendingupdate {

bool UpdateBeforeRun(CZubrinDoc& doc, IUpdateViews& views, bool automated, bool debug) {
  if (!dailycheck::UpdateCheckDue(CDate::Today(), automated)) return false;
  if (!updatecheck::RunUpdateCheck(views, updatecheck::ProgramCheckJob(debug))) return false;
  updatelauncher::StartUpdateProgram(doc, views);
  return true;
}

}  // namespace pendingupdate
