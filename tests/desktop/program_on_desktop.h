// A test fixture that starts one program on a shared desktop and waits for it to go full screen,
// with the checks that several programs' tests share.
#pragma once

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop.h"

namespace desktop {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
// The middle of the screen, where the view keeps the cursor.
constexpr Rect kMiddle = {kScreenWidth / 4, kScreenHeight / 8, kScreenWidth / 2,
                          kScreenHeight * 3 / 4};

class ProgramOnDesktop {
 protected:
  // One desktop per window manager serves every test of a binary; each test starts its own
  // program on the desktop of `windowManager`.
  Desktop& desk() const {
    static std::map<std::string, std::unique_ptr<Desktop>> desktops;
    auto& shared = desktops[windowManager];
    if (!shared) shared = std::make_unique<Desktop>(kScreenWidth, kScreenHeight, windowManager);
    return *shared;
  }

  // Starts the program built in this tree and waits for its window to fill the screen.
  void start(const std::string& name) { startAt(std::string(SCULPT_PROGRAM_DIR) + "/" + name); }

  // Starts the program at `path` and waits for its window to fill the screen.
  void startAt(const std::string& path) { startWith({path}); }

  // Starts `command`, whose process is the program's (as with Wine's loader), and waits for its
  // window to fill the screen.
  void startWith(const std::vector<std::string>& command) {
    program = std::make_unique<Program>(command, desk());
    // Generous: the first start on a fresh machine also fills the driver's and fonts' caches.
    window = desk().waitForWindow(program->pid(), Seconds(60));
    if (window == 0) {
      int status = 0;
      const bool ended = program->waitForExit(Seconds(0), &status);
      if (ended)
        FAIL() << "no window appeared; the program ended, status " << status
               << ", output: " << program->output();
      FAIL() << "no window appeared; the program is still running and "
             << desk().whyNoWindow(program->pid());
    }
    ASSERT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight}, Seconds(30)))
        << "never went full screen";
    // The keys the tests press go where the window manager put the focus, as a user's would.
    ASSERT_TRUE(waitUntil([&] { return desk().keysReach(window); }, Seconds(10)))
        << "the keyboard focus is on " << desk().describeFocus() << ", not the program's window";
  }

  // The window's geometry once it has held still for half a second; waits up to ten seconds.
  Rect settledGeometry() {
    Rect last = desk().geometry(window);
    auto stillSince = std::chrono::steady_clock::now();
    waitUntil(
        [&] {
          const Rect now = desk().geometry(window);
          if (now != last) {
            last = now;
            stillSince = std::chrono::steady_clock::now();
          }
          return std::chrono::steady_clock::now() - stillSince > Seconds(0.5);
        },
        Seconds(10));
    return last;
  }

  bool waitForGeometry(const Rect& expected, Seconds timeout = Seconds(10)) {
    return waitUntil(
        [&] {
          const Rect g = desk().geometry(window);
          return g.x == expected.x && g.y == expected.y && g.width == expected.width &&
                 g.height == expected.height;
        },
        timeout);
  }

  // Waits until every given area shows mostly `colour`: the first full-screen frame may still be
  // on its way. Saves the last screen as `name`.ppm if it never does.
  bool waitForBackground(std::initializer_list<Rect> areas, Rgb colour, const char* name) {
    Image screen(0, 0);
    const bool shown = waitUntil(
        [&] {
          screen = desk().grabScreen();
          for (const Rect& area : areas)
            if (!near(screen.mostCommon(area), colour)) return false;
          return true;
        },
        Seconds(10));
    if (!shown) screen.writePpm(std::string(name) + ".ppm");
    return shown;
  }

  // Centre of the pixels in the middle of the screen that pass `test`, if at least a few do.
  std::optional<Point> locate(const std::function<bool(Rgb)>& test) {
    const Image screen = desk().grab(kMiddle);
    const Rect all = {0, 0, kMiddle.width, kMiddle.height};
    if (screen.count(all, test) < 3) return std::nullopt;
    const Point p = screen.centre(all, test);
    return Point{p.x + kMiddle.x, p.y + kMiddle.y};
  }

  // As locate(), waiting up to ten seconds for the pixels to show.
  std::optional<Point> find(const std::function<bool(Rgb)>& test) {
    std::optional<Point> found;
    waitUntil([&] { return (found = locate(test)).has_value(); }, Seconds(10));
    return found;
  }

  // The farthest the pixels passing `test` get from where they were, by `distance`, in the
  // `watch` after `key` is pressed `times`. The camera closes on the cursor within about a second
  // (some twenty frames), so the frames right after the keys show the cursor displaced and later
  // ones show it back.
  double biggestShift(KeySym key, int times, const std::function<bool(Rgb)>& test,
                      const std::function<double(Point, Point)>& distance,
                      Seconds watch = Seconds(1)) {
    const auto before = find(test);
    if (!before) return 0;
    desk().press(key, times);
    double biggest = 0;
    const auto end = std::chrono::steady_clock::now() + watch;
    while (std::chrono::steady_clock::now() < end)
      if (auto now = locate(test)) biggest = std::max(biggest, distance(*before, *now));
    return biggest;
  }

  // Presses Esc and expects the program to end at once with status 0, having printed nothing.
  void expectEscapeEndsWithStatusZero(Seconds bound = Seconds(10)) {
    desk().press(XK_Escape);
    int status = -1;
    ASSERT_TRUE(program->waitForExit(bound, &status)) << "still running after Esc";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(program->output(), "");
  }

  std::string windowManager = "openbox";
  std::unique_ptr<Program> program;
  Window window = 0;
};

inline double rightward(Point a, Point b) {
  return b.x - a.x;
}
inline double leftward(Point a, Point b) {
  return a.x - b.x;
}
inline double anyway(Point a, Point b) {
  return std::hypot(b.x - a.x, b.y - a.y);
}

}  // namespace desktop
