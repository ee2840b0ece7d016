// The update program's resources beyond its dialogs and strings.
#pragma once

#define IDR_UPDATE_ANIMATION 526  // the clip the update dialog plays while it works (type AVI)
