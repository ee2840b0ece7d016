// The update check before a run: once a day, before the first run of the day, the catalogue is
// asked for; when the user accepts an update, the update program starts instead of the run.
#pragma once

#include "app/update/UpdateViews.h"

class CZubrinDoc;

namespace pendingupdate {

// True when the user accepted an update: the run must not start (the update program was
// started, or the user was told why it could not be).
bool UpdateBeforeRun(CZubrinDoc& doc, IUpdateViews& views, bool automated, bool debug);

}  // namespace pendingupdate
