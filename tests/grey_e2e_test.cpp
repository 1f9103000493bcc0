// sculpt_grey on a real desktop: mauve beyond the field and the red-and-white cursor marker.
#include <gtest/gtest.h>

#include <cstdlib>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

const Rgb kMauve = {229, 172, 206};

bool markerRed(Rgb p) {
  return p.r > 200 && p.g < 90 && p.b < 90;
}
// Each side of the marker fades from red to white: full red with equal green and blue between.
// The mauve background and the grey surface have neither.
bool markerFade(Rgb p) {
  return p.r > 240 && p.g > 60 && p.g < 230 && std::abs(p.g - p.b) < 16;
}

class Grey : public ProgramOnDesktop, public ::testing::Test {
 protected:
  void SetUp() override { start("sculpt_grey"); }
};

TEST_F(Grey, MauveBeyondTheFieldAndTheRedAndWhiteMarkerAtTheCursor) {
  // The far edge of the field lies below the top left corner, where the clear colour shows.
  EXPECT_TRUE(waitForBackground({{0, 0, 40, 20}}, kMauve, "grey-corner"));
  ASSERT_TRUE(find(markerRed).has_value()) << "no red marker corner";
  EXPECT_TRUE(find(markerFade).has_value()) << "no side fading from red to white";
  expectEscapeEndsWithStatusZero();
}

}  // namespace
