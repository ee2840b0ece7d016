#include "tests/fakeengine/server/DemoScenario.h"

namespace zbtest {

void ApplyDemoScenario(FakeSearchEngine& fake, const zbdemo::DemoData& data) {
  FakeScenario general;
  general.site = data.site;
  general.rank = 0;
  // The site's neighbours are plainly other sites: look-alikes of its address (the fake's
  // default) would be taken for it by the looser match modes and move the ranks the demo shows.
  for (int i = 1; i <= 8; ++i)
    general.lookalikes.push_back("http://www.neighbour" + std::to_string(i) + ".example/");
  fake.SetScenario(general);
  for (const zbdemo::DemoEngine& engine : data.engines) {
    FakeScenario scenario = general;
    scenario.rank = engine.Rank(0);
    for (size_t term = 0; term < data.terms.size(); ++term)
      scenario.rankByTerm[data.terms[term]] = engine.Rank(term);
    scenario.totalResults = engine.totalResults;
    scenario.perPage = engine.perPage;
    fake.SetScenario(engine.path, scenario);
  }
}

}  // namespace zbtest
