// The arm64 build's programs on the desktop, run by qemu's user-mode emulator and drawing with
// arm64 Mesa's llvmpipe. Emulated, a frame takes about a second, so one start of each program
// checks everything a user sees: full screen with the pointer hidden, the arrows (in sculpt_glow,
// whose glow shows the cursor), F11 out to the window and back, and Esc.
#include <gtest/gtest.h>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

const Seconds kFrames{30};  // to see a change take effect, some twenty emulated frames

bool glowBlue(Rgb p) {
  return p.b > 150 && p.r < 60 && p.g < 60;
}

class Emulated : public ProgramOnDesktop, public ::testing::TestWithParam<const char*> {};

TEST_P(Emulated, ComesUpFullScreenTakesItsKeysAndEndsOnEscape) {
  startWith({SCULPT_QEMU, std::string(SCULPT_ARM64_BUILD) + "/" + GetParam()});
  EXPECT_TRUE(desk().pointerHiddenAt(kScreenWidth / 2, kScreenHeight / 2));

  if (std::string(GetParam()) == "sculpt_glow") {
    ASSERT_TRUE(find(glowBlue).has_value()) << "no blue glow at the cursor";
    EXPECT_GT(biggestShift(XK_Right, 3, glowBlue, rightward, kFrames), 30);
    EXPECT_GT(biggestShift(XK_Left, 3, glowBlue, leftward, kFrames), 30);
  }

  desk().press(XK_F11);
  ASSERT_TRUE(waitUntil(
      [&] {
        const Rect g = desk().geometry(window);
        return g.width == 640 && g.height == 480;
      },
      kFrames))
      << "F11 left " << desk().geometry(window) << ", not a 640 × 480 window";
  const Rect windowed = desk().geometry(window);
  EXPECT_NEAR(windowed.x, 100, 30);
  EXPECT_NEAR(windowed.y, 100, 30);
  desk().press(XK_F11);
  EXPECT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight}, kFrames));

  expectEscapeEndsWithStatusZero(kFrames);
}

INSTANTIATE_TEST_SUITE_P(Programs, Emulated,
                         ::testing::Values("sculpt_lines", "sculpt_grey", "sculpt_glow",
                                           "sculpt_bands"));

}  // namespace
