// The real programs under load on the desktop: about a minute of random keys and pointer motion
// each, the frames counted from outside through DAMAGE; and a shorter run of each under memcheck.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

constexpr Seconds kLoadTime{60};
constexpr Seconds kSlice{5};  // every slice of the run must show new frames
constexpr Seconds kMemcheckTime{10};

// Keys a user might press that the programs ignore; none is bound by the window manager alone.
const std::vector<KeySym> kOtherKeys = {
    XK_a,  XK_q,   XK_z,   XK_0,    XK_9,   XK_space, XK_Return, XK_Tab,    XK_BackSpace, XK_F1,
    XK_F5, XK_F10, XK_F12, XK_Home, XK_End, XK_Prior, XK_Next,   XK_Insert, XK_Delete,    XK_minus};
const KeySym kArrows[] = {XK_Left, XK_Right, XK_Up, XK_Down};

class UnderLoad : public ProgramOnDesktop, public ::testing::TestWithParam<const char*> {
 protected:
  // Random keys and pointer motion until `duration` passes; returns the events sent, and the
  // frames seen in each slice through `damage`.
  long drive(Seconds duration, DamageCounter& damage, std::vector<long>& framesPerSlice) {
    std::mt19937 random(std::hash<std::string>{}(GetParam()));
    long events = 0;
    const auto start = std::chrono::steady_clock::now();
    auto sliceEnd = start + kSlice;
    long framesBefore = damage.count();
    while (std::chrono::steady_clock::now() - start < duration) {
      const unsigned pick = random() % 100;
      if (pick < 40) {
        const int times = 1 + random() % 20;
        desk().press(kArrows[random() % 4], times);
        events += times;
      } else if (pick < 45) {
        const int times = random() % 10 == 0 ? 20 + random() % 30 : 1;  // now and then a flood
        desk().press(XK_F11, times);
        events += times;
      } else if (pick < 75) {
        desk().press(kOtherKeys[random() % kOtherKeys.size()]);
        ++events;
      } else {
        desk().movePointer(random() % kScreenWidth, random() % kScreenHeight);
        ++events;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (std::chrono::steady_clock::now() >= sliceEnd) {
        const long frames = damage.count();
        framesPerSlice.push_back(frames - framesBefore);
        framesBefore = frames;
        sliceEnd += kSlice;
      }
    }
    return events;
  }

  // Esc to the program's window, in whichever state the keys left it.
  void escape() {
    desk().focus(window);
    expectEscapeEndsWithStatusZero();
  }
};

TEST_P(UnderLoad, KeepsDrawingThroughAMinuteOfRandomKeysAndPointerMotion) {
  start(GetParam());
  DamageCounter damage(desk(), window);
  std::vector<long> framesPerSlice;
  const long events = drive(kLoadTime, damage, framesPerSlice);
  long frames = 0;
  for (size_t n = 0; n < framesPerSlice.size(); ++n) {
    EXPECT_GT(framesPerSlice[n], 0) << "no frame between " << n * kSlice.count() << " and "
                                    << (n + 1) * kSlice.count() << " seconds";
    frames += framesPerSlice[n];
  }
  EXPECT_GT(events, 1000);
  RecordProperty("events", static_cast<int>(events));
  RecordProperty("frames", static_cast<int>(frames));
  std::printf("%s: %ld events, %ld frames in %.0f s\n", GetParam(), events, frames,
              kLoadTime.count());
  escape();
}

// Memcheck ends the run with status 99 on any error it does not suppress; the suppressions name
// only the GL driver, the X, GLX and GLUT libraries, and the loader opening the driver, so an error
// in the program's own code fails. Kept debug information names the driver in leaks found after
// it has been unloaded at exit.
TEST_P(UnderLoad, MemcheckFindsNoErrorInTheProgram) {
  // Memcheck writes its report here, so that the program's own output can be checked apart.
  const std::string logPattern = "/tmp/sculpt-memcheck-%p.log";
  program = std::make_unique<Program>(
      std::vector<std::string>{"valgrind", "--quiet", "--error-exitcode=99", "--leak-check=full",
                               "--show-leak-kinds=definite", "--log-file=" + logPattern,
                               "--errors-for-leak-kinds=definite", "--num-callers=30",
                               "--keep-debuginfo=yes",
                               "--suppressions=" SCULPT_SOURCE_DIR "/tests/desktop/memcheck.supp",
                               std::string(SCULPT_PROGRAM_DIR) + "/" + GetParam()},
      desk());
  window = desk().waitForWindow(program->pid(), Seconds(120));
  ASSERT_NE(window, 0u) << "no window appeared";
  ASSERT_TRUE(waitUntil(
      [&] {
        const Rect g = desk().geometry(window);
        return g.width == kScreenWidth && g.height == kScreenHeight;
      },
      Seconds(120)))
      << "never went full screen";
  DamageCounter damage(desk(), window);
  std::vector<long> framesPerSlice;
  const long events = drive(kMemcheckTime, damage, framesPerSlice);
  std::printf("%s under memcheck: %ld events, %ld frames in %.0f s\n", GetParam(), events,
              damage.count(), kMemcheckTime.count());
  EXPECT_GT(damage.count(), 0);
  desk().focus(window);
  desk().press(XK_Escape);
  const pid_t pid = program->pid();
  int status = -1;
  ASSERT_TRUE(program->waitForExit(Seconds(120), &status)) << "still running after Esc";
  EXPECT_TRUE(WIFEXITED(status));
  const std::string logPath = "/tmp/sculpt-memcheck-" + std::to_string(pid) + ".log";
  std::ifstream log(logPath);
  std::stringstream report;
  report << log.rdbuf();
  EXPECT_EQ(WEXITSTATUS(status), 0) << report.str();
  EXPECT_EQ(program->output(), "");
  std::remove(logPath.c_str());
}

INSTANTIATE_TEST_SUITE_P(Programs, UnderLoad,
                         ::testing::Values("sculpt_lines", "sculpt_grey", "sculpt_glow",
                                           "sculpt_bands"));

}  // namespace
