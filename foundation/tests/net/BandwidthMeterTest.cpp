#include <gtest/gtest.h>

#include "foundation/net/BandwidthMeter.h"
#include "foundation/net/Socklet.h"

namespace {

uint32_t g_now = 0;

uint32_t FakeTime() {
  return g_now;
}

class BandwidthMeterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_now = 50000;
    SockletSetClock(FakeTime, nullptr);
  }
  void TearDown() override { SockletSetClock(nullptr, nullptr); }

  CBandwidthMeter meter;
  BandwidthStats stats{};
};

TEST_F(BandwidthMeterTest, FreshMeterKeepsRatesZeroInItsFirstSecond) {
  meter.AddReceived(5000);
  meter.GetStats(&stats, true);
  EXPECT_EQ(stats.receiveRate, 0u);
  EXPECT_EQ(stats.sendRate, 0u);
  EXPECT_EQ(stats.received, 5000u);
  EXPECT_EQ(stats.time, g_now);
  meter.GetStats(nullptr, true);  // nothing happens
  meter.GetStats(&meter.m_live, true);
}

TEST_F(BandwidthMeterTest, RatesCoverTheTimeSinceTheFirstCall) {
  meter.GetStats(&stats, false);  // first use: the baselines start here
  uint32_t start = g_now;
  for (int second = 1; second <= 31; ++second) {
    meter.AddReceived(1000);
    meter.AddSent(250);
    ++g_now;
  }
  meter.GetStats(&stats, false);
  EXPECT_EQ(stats.received, 31000u);
  EXPECT_EQ(stats.receiveRate, 31000u / (g_now - start));
  EXPECT_EQ(stats.sendRate, 31u * 250 / (g_now - start));
  // The window slid: baseline B is now, baseline A the start.
  EXPECT_EQ(meter.m_baselineA.time, start);
  EXPECT_EQ(meter.m_baselineB.time, g_now);
}

TEST_F(BandwidthMeterTest, UnforcedReadsRecomputeOnlyAfterThreeSeconds) {
  meter.GetStats(&stats, false);
  g_now += 2;
  meter.AddReceived(4000);
  meter.GetStats(&stats, false);
  EXPECT_EQ(stats.receiveRate, 0u) << "within 3 seconds of the baseline";
  meter.GetStats(&stats, true);
  EXPECT_EQ(stats.receiveRate, 2000u) << "forced";
  g_now += 1;
  meter.GetStats(&stats, false);
  EXPECT_EQ(stats.receiveRate, 1333u);
}

TEST_F(BandwidthMeterTest, WindowSlidesInThirtySecondSteps) {
  meter.GetStats(&stats, false);
  uint32_t start = g_now;
  // 30 seconds at 1000 B/s, then 30 at 3000 B/s.
  for (int i = 0; i < 30; ++i, ++g_now) meter.AddReceived(1000);
  meter.GetStats(&stats, false);  // slides: A = start, B = now
  uint32_t firstSlide = g_now;
  for (int i = 0; i < 30; ++i, ++g_now) meter.AddReceived(3000);
  meter.GetStats(&stats, false);  // slides again: A = first slide
  EXPECT_EQ(meter.m_baselineA.time, firstSlide);
  EXPECT_EQ(stats.receiveRate, 3000u);
  g_now += 15;
  meter.GetStats(&stats, false);
  EXPECT_EQ(stats.receiveRate, 90000u / 45) << "rates cover 30 to 60 seconds";
  (void)start;
}

TEST_F(BandwidthMeterTest, LimitsTravelWithTheLiveBlock) {
  meter.SetLimits(1000, 2000);
  meter.GetStats(&stats, false);
  EXPECT_EQ(stats.receiveLimit, 1000u);
  EXPECT_EQ(stats.sendLimit, 2000u);
}

}  // namespace
