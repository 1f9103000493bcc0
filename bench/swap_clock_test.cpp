// The preload library on a real program in a virtual desktop: it logs every swap when asked, and
// leaves the program silent and unchanged when not.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <thread>

#include "desktop.h"
#include "frame_stats.h"

namespace {

using desktop::Seconds;

bench::Nanoseconds monotonicNow() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<bench::Nanoseconds>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

desktop::Desktop& desk() {
  static desktop::Desktop shared(640, 480);
  return shared;
}

std::string program() {
  return std::string(SCULPT_PROGRAM_DIR) + "/sculpt_lines";
}

void expectEscapeEndsSilently(desktop::Program& process) {
  desk().press(XK_Escape);
  int status = -1;
  ASSERT_TRUE(process.waitForExit(Seconds(10), &status)) << "still running after Esc";
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(process.output(), "");
}

TEST(SwapClock, LogsEveryFrameOfARunningProgramInOrder) {
  const std::string log = testing::TempDir() + "swap_clock_test.swaps";
  std::remove(log.c_str());
  const bench::Nanoseconds started = monotonicNow();
  desktop::Program process(program(), desk(),
                           {"LD_PRELOAD=" SWAP_CLOCK_PATH, "SCULPT_SWAP_LOG=" + log});
  ASSERT_NE(desk().waitForWindow(process.pid(), Seconds(20)), 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const auto during = bench::readSwapLog(log).ends;
  expectEscapeEndsSilently(process);
  const bench::Nanoseconds ended = monotonicNow();
  const auto full = bench::readSwapLog(log);
  const auto& swaps = full.ends;
  std::remove(log.c_str());

  // Even a loaded software renderer manages a few frames a second at this size.
  EXPECT_GE(during.size(), 5u);
  ASSERT_FALSE(swaps.empty());
  EXPECT_GE(swaps.size(), during.size());
  EXPECT_TRUE(std::is_sorted(swaps.begin(), swaps.end()));
  EXPECT_GT(swaps.front(), started);
  EXPECT_LT(swaps.back(), ended);
  // Each swap took some time, and less than the whole gap since the one before it.
  for (size_t i = 1; i < swaps.size(); ++i) {
    EXPECT_GT(full.durations[i], 0);
    EXPECT_LT(full.durations[i], swaps[i] - swaps[i - 1]);
  }
}

TEST(SwapClock, WithoutALogPathTheProgramStillDrawsAndPrintsNothing) {
  desktop::Program process(program(), desk(), {"LD_PRELOAD=" SWAP_CLOCK_PATH});
  ASSERT_NE(desk().waitForWindow(process.pid(), Seconds(20)), 0u);
  // It still draws: the olive clear colour fills the screen's corner.
  EXPECT_TRUE(desktop::waitUntil(
      [] {
        return desktop::near(desk().grab({0, 0, 8, 8}).mostCommon({0, 0, 8, 8}), {120, 133, 66});
      },
      Seconds(10)));
  expectEscapeEndsSilently(process);
}

}  // namespace
