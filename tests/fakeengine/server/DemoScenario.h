// The demo's ranks on the fake search engine: each engine of the demo data serves the site at
// its rank for the search term asked among its results, paged as the data says, among
// addresses that are plainly other sites; every other engine leaves the site out.
#pragma once

#include "tests/fakeengine/FakeSearchEngine.h"
#include "tools/makedoc/DemoData.h"

namespace zbtest {

void ApplyDemoScenario(FakeSearchEngine& fake, const zbdemo::DemoData& data);

}  // namespace zbtest
