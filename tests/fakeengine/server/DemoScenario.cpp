#include "tests/fakeengine/server/DemoScenario.h"

namespace zbtest {

void ApplyDemoScenario(FakeSearchEngine& fake, const zbdemo::DemoData& data) {
  FakeScenario general;
  general.site = data.site;
  general.rank = 0;
  fake.SetScenario(general);
  for (const zbdemo::DemoEngine& engine : data.engines) {
    FakeScenario scenario = general;
    scenario.rank = engine.rank;
    scenario.totalResults = engine.totalResults;
    scenario.perPage = engine.perPage;
    fake.SetScenario(engine.path, scenario);
  }
}

}  // namespace zbtest
