// Directory category reading: CSearchEngine::CategoryDrillDown and ReadCategoryPage live in
// CategoryReader.cpp. This holds what they keep between calls: the sign-in request each directory
// last accepted, for the program's run.
//
// The record is kept here, under its own lock, rather than among the shared engine definition
// keys: the submission dialogs sign in on their own threads while worker threads read the keys,
// and the key list is not safe to write while others read it.
#pragma once

#include "foundation/core/LibString.h"

// The sign-in request the engine of that name last had accepted; empty when none.
CLibString GetCategorySignIn(const CLibString& engineName);
void SetCategorySignIn(const CLibString& engineName, const CLibString& request);
// Forgets every sign-in (tests; the program keeps them for its whole run and never saves them).
void ClearCategorySignIns();
