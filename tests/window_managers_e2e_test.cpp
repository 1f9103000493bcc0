// Every program under the window managers people use, GNOME's, KDE's and XFCE's among them: named
// by its class, full screen at start, F11 round trips that put the window back at the same place
// and size each time, and Esc. Under weston, a Wayland compositor, the size holds but the place is
// the compositor's.
#include <gtest/gtest.h>

#include <tuple>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

constexpr int kRoundTrips = 5;

class UnderWindowManager : public ProgramOnDesktop,
                           public ::testing::TestWithParam<std::tuple<const char*, const char*>> {
 protected:
  void SetUp() override {
    windowManager = std::get<0>(GetParam());
    start(std::get<1>(GetParam()));
  }
};

TEST_P(UnderWindowManager, F11RoundTripsRestoreTheSameWindowEveryTime) {
  const std::string name = std::get<1>(GetParam());
  EXPECT_EQ(desk().windowClass(window), name + "/" + name);
  const Rect fullScreen = {0, 0, kScreenWidth, kScreenHeight};
  desk().press(XK_F11);
  ASSERT_TRUE(waitUntil([&] { return desk().geometry(window) != fullScreen; }, Seconds(10)))
      << "F11 did not leave full screen";
  const Rect windowed = settledGeometry();
  if (windowManager == "i3") {
    // A tiling manager gives the window its tile, whatever size and place it asks for.
    EXPECT_GT(windowed.width, kScreenWidth / 2);
  } else {
    // The drawing area as created: 640 × 480, at (100, 100) give or take the frame, whose title
    // bar is up to 41 pixels high (kwin's).
    EXPECT_EQ(windowed.width, 640);
    EXPECT_EQ(windowed.height, 480);
    EXPECT_NEAR(windowed.x, 100, 50);
    EXPECT_NEAR(windowed.y, 100, 50);
  }
  for (int trip = 1; trip <= kRoundTrips; ++trip) {
    desk().press(XK_F11);
    ASSERT_TRUE(waitForGeometry(fullScreen)) << "round trip " << trip << ": not full screen";
    desk().press(XK_F11);
    ASSERT_TRUE(waitUntil([&] { return desk().geometry(window) != fullScreen; }, Seconds(10)));
    const Rect restored = settledGeometry();
    if (windowManager == "weston") {
      // Weston's X window manager moves a restored window 32 pixels up and left of where it is
      // asked to go, whatever its gravity; only the size is the program's to keep.
      EXPECT_EQ(restored.width, windowed.width) << "round trip " << trip;
      EXPECT_EQ(restored.height, windowed.height) << "round trip " << trip;
    } else {
      EXPECT_EQ(restored, windowed) << "round trip " << trip;
    }
  }
  expectEscapeEndsWithStatusZero();
}

INSTANTIATE_TEST_SUITE_P(Desktops, UnderWindowManager,
                         ::testing::Combine(::testing::Values("openbox", "fluxbox", "icewm", "i3",
                                                              "mutter", "kwin", "xfwm4", "weston"),
                                            ::testing::Values("sculpt_lines", "sculpt_grey",
                                                              "sculpt_glow", "sculpt_bands")),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param)) + "_" +
                                  std::get<1>(info.param);
                         });

}  // namespace
