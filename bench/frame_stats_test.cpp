// The benchmark's arithmetic: swap logs to frame rates, runs to median and range, and the key path.
#include "frame_stats.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "key_path.h"

namespace {

using bench::Nanoseconds;
constexpr Nanoseconds kMs = 1000000;

TEST(FramesPerSecond, CountsIntervalsAfterTheWarmUp) {
  // A slow first frame, then one every 20 ms for a second: 50 frames a second once warm.
  std::vector<Nanoseconds> swaps = {0};
  for (int n = 0; n <= 50; ++n) swaps.push_back(500 * kMs + n * 20 * kMs);
  EXPECT_NEAR(bench::framesPerSecond(swaps, 500 * kMs), 50.0, 1e-9);
  EXPECT_LT(bench::framesPerSecond(swaps, 0), 50.0);  // the slow first frame drags it down
}

TEST(FramesPerSecond, IsZeroWithoutTwoSwapsToMeasure) {
  EXPECT_EQ(bench::framesPerSecond({}, 0), 0.0);
  EXPECT_EQ(bench::framesPerSecond({5 * kMs}, 0), 0.0);
  EXPECT_EQ(bench::framesPerSecond({0, 10 * kMs, 20 * kMs}, 15 * kMs), 0.0);
}

TEST(Spread, GivesMedianMinimumAndMaximum) {
  const auto odd = bench::spread({30, 10, 20});
  EXPECT_EQ(odd.median, 20);
  EXPECT_EQ(odd.min, 10);
  EXPECT_EQ(odd.max, 30);
  EXPECT_EQ(bench::spread({4, 1, 3, 2}).median, 2.5);
  EXPECT_EQ(bench::spread({}).median, 0);
}

TEST(SwapLog, ReadsEndAndDurationALineAndNothingFromAMissingFile) {
  const std::string path = testing::TempDir() + "swap_log_test.swaps";
  std::ofstream(path) << "100 7\n250 9\n400000000000 3000000\n";
  const auto log = bench::readSwapLog(path);
  EXPECT_EQ(log.ends, (std::vector<Nanoseconds>{100, 250, 400000000000}));
  EXPECT_EQ(log.durations, (std::vector<Nanoseconds>{7, 9, 3000000}));
  std::remove(path.c_str());
  EXPECT_TRUE(bench::readSwapLog(path).ends.empty());
}

TEST(SwapLog, MeanSwapTimeLeavesOutTheWarmUp) {
  bench::SwapLog log;
  log.ends = {0, 100 * kMs, 120 * kMs, 140 * kMs};
  log.durations = {90 * kMs, 4 * kMs, 6 * kMs, 8 * kMs};
  EXPECT_NEAR(bench::meanSwapMs(log, 50 * kMs), 6.0, 1e-9);
  EXPECT_NEAR(bench::meanSwapMs(log, 0), 27.0, 1e-9);
  EXPECT_EQ(bench::meanSwapMs(log, 500 * kMs), 0.0);
  EXPECT_EQ(bench::meanSwapMs({}, 0), 0.0);
}

TEST(KeyPath, HoldsThenWalksAnOutwardSquareSpiral) {
  using bench::Arrow;
  const Arrow expected[] = {Arrow::right, Arrow::up,    Arrow::left,  Arrow::left,  Arrow::down,
                            Arrow::down,  Arrow::right, Arrow::right, Arrow::right, Arrow::up};
  for (int n = 0; n < 10; ++n) EXPECT_EQ(bench::spiralArrow(n), expected[n]) << "press " << n;
  EXPECT_EQ(bench::pressesBy(bench::kHoldMs - 1), 0);
  EXPECT_EQ(bench::pressesBy(bench::kHoldMs), 1);
  EXPECT_EQ(bench::pressesBy(bench::kHoldMs + bench::kPressPeriodMs), 2);
}

}  // namespace
