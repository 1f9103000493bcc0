// sculpt_lines on a real desktop: its olive background and the red cursor the arrow keys steer.
#include <gtest/gtest.h>

#include <optional>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

const Rgb kOlive = {120, 133, 66};  // the clear colour, 8 bits a channel

struct Point {
  double x, y;
};

// Centre of the pure red pixels, the cursor's, within `area`; none if there are too few to tell.
std::optional<Point> redCentre(const Image& image, const Rect& area) {
  double sx = 0, sy = 0;
  int count = 0;
  for (int y = area.y; y < area.y + area.height; ++y)
    for (int x = area.x; x < area.x + area.width; ++x) {
      const Rgb& p = image.at(x, y);
      if (p.r > 160 && p.g < 80 && p.b < 80) {
        sx += x;
        sy += y;
        ++count;
      }
    }
  if (count < 3) return std::nullopt;
  return Point{sx / count, sy / count};
}

class Lines : public ProgramOnDesktop, public ::testing::Test {
 protected:
  void SetUp() override { start("sculpt_lines"); }

  // The olive background shows between the translucent profile lines; in every corner it is the
  // most common colour, however densely the far lines crowd there. The first full-screen frame
  // may still be on its way, so the screen is read until it shows.
  bool waitForOliveCorners(Image* screen) {
    const Rect corners[] = {{0, 0, 40, 40},
                            {kScreenWidth - 40, 0, 40, 40},
                            {0, kScreenHeight - 40, 40, 40},
                            {kScreenWidth - 40, kScreenHeight - 40, 40, 40}};
    return waitUntil(
        [&] {
          *screen = desk().grabScreen();
          for (const Rect& corner : corners)
            if (!near(screen->mostCommon(corner), kOlive)) return false;
          return true;
        },
        Seconds(10));
  }

  // Where the cursor shows, waiting for frames to be drawn; the view keeps it near the middle.
  std::optional<Point> cursorOnScreen() {
    const Rect middle = {kScreenWidth / 4, kScreenHeight / 8, kScreenWidth / 2,
                         kScreenHeight * 3 / 4};
    std::optional<Point> found;
    waitUntil([&] { return (found = redCentre(desk().grabScreen(), middle)).has_value(); },
              Seconds(10));
    return found;
  }
};

TEST_F(Lines, OliveInEveryCornerAndTheRedCursorInTheMiddle) {
  Image screen(0, 0);
  const bool olive = waitForOliveCorners(&screen);
  if (!olive) screen.writePpm("lines-corners.ppm");
  EXPECT_TRUE(olive) << "corners not olive; see lines-corners.ppm";
  EXPECT_TRUE(cursorOnScreen().has_value()) << "no red cursor drawn";
  expectEscapeEndsWithStatusZero();
}

TEST_F(Lines, ArrowKeysMoveTheRedCursorBeforeTheCameraCatchesUp) {
  Image screen(0, 0);
  ASSERT_TRUE(waitForOliveCorners(&screen));
  ASSERT_TRUE(cursorOnScreen().has_value());
  // The camera closes on the cursor within a second or so; the frames before show it displaced.
  auto biggestShift = [&](KeySym key, auto shiftOf) {
    const auto before = cursorOnScreen();
    desk().press(key, 5);
    double biggest = 0;
    for (int n = 0; n < 15; ++n) {
      if (auto now = cursorOnScreen()) biggest = std::max(biggest, shiftOf(*before, *now));
    }
    return biggest;
  };
  EXPECT_GT(biggestShift(XK_Right, [](Point a, Point b) { return b.x - a.x; }), 40);
  EXPECT_GT(biggestShift(XK_Left, [](Point a, Point b) { return a.x - b.x; }), 40);
  EXPECT_GT(biggestShift(XK_Up, [](Point a, Point b) { return a.y - b.y; }), 15);
  EXPECT_GT(biggestShift(XK_Down, [](Point a, Point b) { return b.y - a.y; }), 15);
  expectEscapeEndsWithStatusZero();
}

}  // namespace
