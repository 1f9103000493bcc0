// sculpt_lines as a user meets it: a real X server, a window manager and real key presses.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <memory>
#include <optional>

#include "desktop.h"

namespace {

using desktop::Desktop;
using desktop::Image;
using desktop::Program;
using desktop::Rect;
using desktop::Rgb;
using desktop::Seconds;

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
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

class LinesOnDesktop : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { desk = new Desktop(kScreenWidth, kScreenHeight); }
  static void TearDownTestSuite() { delete desk; }

  void SetUp() override {
    program = std::make_unique<Program>(SCULPT_PROGRAM_DIR "/sculpt_lines", *desk);
    window = desk->waitForWindow(program->pid(), Seconds(20));
    ASSERT_NE(window, 0u) << "no window appeared";
    ASSERT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight})) << "never went full screen";
  }

  bool waitForGeometry(const Rect& expected) {
    return desktop::waitUntil(
        [&] {
          const Rect g = desk->geometry(window);
          return g.x == expected.x && g.y == expected.y && g.width == expected.width &&
                 g.height == expected.height;
        },
        Seconds(10));
  }

  // Where the cursor shows, waiting for frames to be drawn; the view keeps it near the middle.
  std::optional<Point> cursorOnScreen() {
    const Rect middle = {kScreenWidth / 4, kScreenHeight / 8, kScreenWidth / 2, kScreenHeight * 3 / 4};
    std::optional<Point> found;
    desktop::waitUntil([&] { return (found = redCentre(desk->grabScreen(), middle)).has_value(); },
                       Seconds(10));
    return found;
  }

  void expectEscapeEndsWithStatusZero() {
    desk->press(XK_Escape);
    int status = -1;
    ASSERT_TRUE(program->waitForExit(Seconds(10), &status)) << "still running after Esc";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(program->output(), "");
  }

  static Desktop* desk;
  std::unique_ptr<Program> program;
  Window window = 0;
};

Desktop* LinesOnDesktop::desk = nullptr;

TEST_F(LinesOnDesktop, ComesUpFullScreenUntitledWithHiddenPointerAndEndsOnEscape) {
  EXPECT_EQ(desk->title(window), "");
  EXPECT_TRUE(desk->pointerHiddenAt(kScreenWidth / 2, kScreenHeight / 2));
  ASSERT_TRUE(cursorOnScreen().has_value()) << "no red cursor drawn";

  // The olive background shows between the translucent profile lines; in every corner it is the
  // most common colour, however densely the far lines crowd there.
  const Image screen = desk->grabScreen();
  for (const Rect& corner : {Rect{0, 0, 40, 40}, Rect{kScreenWidth - 40, 0, 40, 40},
                             Rect{0, kScreenHeight - 40, 40, 40},
                             Rect{kScreenWidth - 40, kScreenHeight - 40, 40, 40}}) {
    const Rgb common = screen.mostCommon(corner);
    EXPECT_TRUE(desktop::near(common, kOlive)) << "corner at " << corner.x << ", " << corner.y
                                               << " is mostly " << common.r << ", " << common.g
                                               << ", " << common.b;
  }
  if (HasFailure()) screen.writePpm("lines-start.ppm");
  expectEscapeEndsWithStatusZero();
}

TEST_F(LinesOnDesktop, ArrowKeysMoveTheRedCursorBeforeTheCameraCatchesUp) {
  const auto start = cursorOnScreen();
  ASSERT_TRUE(start.has_value());
  // The camera closes on the cursor within a second or so; the first frames show it displaced.
  auto biggestShift = [&](KeySym key, auto shiftOf) {
    const auto before = cursorOnScreen();
    desk->press(key, 5);
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

TEST_F(LinesOnDesktop, F11RestoresTheWindowAndReturnsToFullScreen) {
  desk->press(XK_F11);
  ASSERT_TRUE(desktop::waitUntil(
      [&] {
        const Rect g = desk->geometry(window);
        return g.width == 640 && g.height == 480;
      },
      Seconds(10)));
  // The window manager adds its frame around the saved spot; the window is near (100, 100).
  const Rect windowed = desk->geometry(window);
  EXPECT_NEAR(windowed.x, 100, 30);
  EXPECT_NEAR(windowed.y, 100, 30);
  // Outside the window the desktop's own pointer shows; over it the pointer stays hidden.
  EXPECT_FALSE(desk->pointerHiddenAt(20, kScreenHeight - 20));
  EXPECT_TRUE(desk->pointerHiddenAt(windowed.x + 320, windowed.y + 240));

  desk->press(XK_F11);
  EXPECT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight}));
  desk->press(XK_F11);
  EXPECT_TRUE(waitForGeometry(windowed));  // the same place every time, no drift
  expectEscapeEndsWithStatusZero();
}

}  // namespace
