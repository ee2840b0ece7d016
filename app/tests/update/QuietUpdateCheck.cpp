// The runs of these tests must never ask a real update server: the daily check before a run is
// off for the whole program, and the tests of that check put it back where they need it.
#include <gtest/gtest.h>

#include "app/run/RunControl.h"

namespace {

class NoUpdateCheckBeforeRuns : public ::testing::Environment {
 public:
  void SetUp() override { CRunControl::SetPendingUpdateCheck(nullptr); }
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new NoUpdateCheckBeforeRuns);

}  // namespace
