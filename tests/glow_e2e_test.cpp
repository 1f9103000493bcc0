// sculpt_glow on a real desktop: sky blue beyond the flat field and the blue glow at the cursor.
#include <gtest/gtest.h>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

const Rgb kSkyBlue = {122, 161, 203};

bool glowBlue(Rgb p) {
  return p.b > 150 && p.r < 60 && p.g < 60;
}

class Glow : public ProgramOnDesktop, public ::testing::Test {
 protected:
  void SetUp() override { start("sculpt_glow"); }
};

TEST_F(Glow, SkyBlueBeyondTheFieldAndTheBlueGlowFollowsTheArrowKeys) {
  EXPECT_TRUE(waitForBackground({{0, 0, 40, 20}}, kSkyBlue, "glow-corner"));
  ASSERT_TRUE(find(glowBlue).has_value()) << "no blue glow at the cursor";
  EXPECT_GT(biggestShift(XK_Right, 3, glowBlue, rightward), 30);
  EXPECT_GT(biggestShift(XK_Left, 3, glowBlue, leftward), 30);
  // Along the second axis the cursor also leaves the cell it grew, so its height drops as it
  // moves; that it moves is what is checked here, the direction is the model tests' business.
  EXPECT_GT(biggestShift(XK_Up, 3, glowBlue, anyway), 15);
  EXPECT_GT(biggestShift(XK_Down, 3, glowBlue, anyway), 15);
  expectEscapeEndsWithStatusZero();
}

}  // namespace
