// sculpt_lines on a real desktop: its olive background and the red cursor the arrow keys steer.
#include <gtest/gtest.h>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

const Rgb kOlive = {120, 133, 66};  // the clear colour, 8 bits a channel

bool cursorRed(Rgb p) {
  return p.r > 160 && p.g < 80 && p.b < 80;
}

class Lines : public ProgramOnDesktop, public ::testing::Test {
 protected:
  void SetUp() override {
    start("sculpt_lines");
    // Olive shows between the translucent profile lines; in every corner it is the most common
    // colour, however densely the far lines crowd there.
    ASSERT_TRUE(waitForBackground({{0, 0, 40, 40},
                                   {kScreenWidth - 40, 0, 40, 40},
                                   {0, kScreenHeight - 40, 40, 40},
                                   {kScreenWidth - 40, kScreenHeight - 40, 40, 40}},
                                  kOlive, "lines-corners"));
  }
};

TEST_F(Lines, ArrowKeysMoveTheRedCursorBeforeTheCameraCatchesUp) {
  ASSERT_TRUE(find(cursorRed).has_value()) << "no red cursor drawn";
  EXPECT_GT(biggestShift(XK_Right, 3, cursorRed, rightward), 30);
  EXPECT_GT(biggestShift(XK_Left, 3, cursorRed, leftward), 30);
  // Along the second axis the cursor also leaves the cell it grew, so its height drops as it
  // moves; that it moves is what is checked here, the direction is the model tests' business.
  EXPECT_GT(biggestShift(XK_Up, 3, cursorRed, anyway), 15);
  EXPECT_GT(biggestShift(XK_Down, 3, cursorRed, anyway), 15);
  expectEscapeEndsWithStatusZero();
}

}  // namespace
