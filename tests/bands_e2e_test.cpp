// sculpt_bands on a real desktop: sand beyond the field, yellow guide lines, and band colours
// rising under a cursor held still.
#include <gtest/gtest.h>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

const Rgb kSand = {213, 192, 130};

bool guideYellow(Rgb p) {
  return p.r > 200 && p.g > 200 && p.b < 80;
}
// Orange, red and purple bands, and the threshold lines, pull red well above green; the grey
// ramp over sand, the sand and the yellow lines do not.
bool bandColour(Rgb p) {
  return p.r - p.g > 40;
}

class Bands : public ProgramOnDesktop, public ::testing::Test {
 protected:
  void SetUp() override { start("sculpt_bands"); }
};

TEST_F(Bands, SandBeyondTheFieldYellowGuidesAndBandsUnderTheHeldCursor) {
  EXPECT_TRUE(
      waitForBackground({{0, 0, 40, 20}, {kScreenWidth - 40, 0, 40, 20}}, kSand, "bands-corners"));
  EXPECT_TRUE(find(guideYellow).has_value()) << "no yellow guide lines";
  // Heights start below 0.5; held still, the cursor cell passes 1 and then 3 within seconds.
  EXPECT_TRUE(waitUntil(
      [&] {
        const Image screen = desk().grab(kMiddle);
        return screen.count({0, 0, kMiddle.width, kMiddle.height}, bandColour) > 500;
      },
      Seconds(20)))
      << "no band colours under the cursor";
  expectEscapeEndsWithStatusZero();
}

}  // namespace
