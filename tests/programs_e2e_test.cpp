// What every program shares as a user meets it: full screen, no title, no pointer, F11 and Esc.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

class EveryProgram : public ProgramOnDesktop, public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { start(GetParam()); }
};

TEST_P(EveryProgram, ComesUpFullScreenUntitledWithThePointerHiddenAndEndsOnEscape) {
  EXPECT_EQ(desk().title(window), "");
  // Its icon, for the desktops that take it from the window: three square sizes, each its width,
  // height and pixels; opaque, and a picture rather than one colour.
  const std::vector<unsigned long> icon = desk().cardinals(window, "_NET_WM_ICON");
  std::vector<unsigned long> sides;
  std::set<unsigned long> colours;
  std::size_t at = 0;
  while (at + 2 <= icon.size()) {
    const unsigned long width = icon[at], height = icon[at + 1];
    sides.push_back(width);
    EXPECT_EQ(width, height);
    at += 2;
    ASSERT_LE(width * height, icon.size() - at) << "an icon runs past the property's end";
    for (std::size_t end = at + width * height; at < end; ++at) {
      EXPECT_EQ(icon[at] >> 24, 0xffu);
      colours.insert(icon[at]);
    }
  }
  EXPECT_EQ(at, icon.size());
  EXPECT_EQ(sides, (std::vector<unsigned long>{16, 32, 64}));
  EXPECT_GT(colours.size(), 16u);
  EXPECT_TRUE(desk().pointerHiddenAt(kScreenWidth / 2, kScreenHeight / 2));
  expectEscapeEndsWithStatusZero();
}

TEST_P(EveryProgram, F11RestoresTheWindowAndReturnsToFullScreen) {
  desk().press(XK_F11);
  ASSERT_TRUE(waitUntil(
      [&] {
        const Rect g = desk().geometry(window);
        return g.width == 640 && g.height == 480;
      },
      Seconds(10)));
  // The drawing area comes back near (100, 100). The window manager may resize the window before
  // it moves it, so the place is read once the window holds still.
  const Rect windowed = settledGeometry();
  EXPECT_NEAR(windowed.x, 100, 30);
  EXPECT_NEAR(windowed.y, 100, 30);
  // The desktop's own pointer shows outside the window; over the window it stays hidden.
  EXPECT_FALSE(desk().pointerHiddenAt(20, kScreenHeight - 20));
  EXPECT_TRUE(desk().pointerHiddenAt(windowed.x + 320, windowed.y + 240));

  desk().press(XK_F11);
  EXPECT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight}));
  desk().press(XK_F11);
  EXPECT_TRUE(waitForGeometry(windowed))  // the same place every time, no drift
      << desk().geometry(window) << ", not " << windowed;
  expectEscapeEndsWithStatusZero();  // from the windowed state too
}

INSTANTIATE_TEST_SUITE_P(Programs, EveryProgram,
                         ::testing::Values("sculpt_lines", "sculpt_grey", "sculpt_glow",
                                           "sculpt_bands"));

}  // namespace
