#include "ui/AutomatedRun.h"

#include "app/ZubrinDoc.h"

void FinishAutomatedRun(CZubrinDoc*) {}
