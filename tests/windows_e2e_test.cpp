// The Windows build of every program under Wine, on the same virtual desktop as the Linux build:
// full screen at start with the pointer hidden, its picture shown and its icon on the window, F11
// round trips that put the window back at one place and size, and Esc with status 0, having
// printed nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

constexpr int kRoundTrips = 5;

// Runs a Wine tool to its end, within `seconds`; Wine's own messages are not the program's.
int wineTool(const std::string& command, int seconds) {
  return std::system(
      ("timeout -k 5 " + std::to_string(seconds) + " " + command + " >/dev/null 2>&1 </dev/null")
          .c_str());
}

// The pixels of a plain (P3) PPM file with 8-bit channels; empty if it cannot be read.
std::vector<Rgb> plainPpm(const std::string& path) {
  std::ifstream file(path);
  std::string magic;
  int width = 0, height = 0, maximum = 0;
  if (!(file >> magic >> width >> height >> maximum) || magic != "P3" || maximum != 255) return {};
  std::vector<Rgb> pixels(static_cast<std::size_t>(width) * height);
  for (Rgb& p : pixels)
    if (!(file >> p.r >> p.g >> p.b)) return {};
  return pixels;
}

class UnderWine : public ProgramOnDesktop, public ::testing::TestWithParam<const char*> {
 public:
  // One Wine prefix, made afresh, serves every case; its server goes with it.
  static void SetUpTestSuite() {
    char pattern[] = "/tmp/sculpt-wine-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    prefix() = pattern;
    setenv("WINEPREFIX", pattern, 1);
    setenv("WINEDEBUG", "-all", 1);
    ASSERT_EQ(wineTool("env -u DISPLAY " SCULPT_WINE64 " wineboot -i", 300), 0);
    wineTool(SCULPT_WINESERVER " -w", 120);
  }
  static void TearDownTestSuite() {
    wineTool(SCULPT_WINESERVER " -k", 30);
    if (!prefix().empty()) wineTool("rm -rf " + prefix(), 60);
  }

 protected:
  static std::string& prefix() {
    static std::string path;
    return path;
  }
  void SetUp() override {
    startWith({SCULPT_WINE64, std::string(SCULPT_WINDOWS_BUILD) + "/" + GetParam() + ".exe"});
  }
  // The window's icon of `side` pixels a side, from _NET_WM_ICON; empty without one.
  std::vector<Rgb> windowIcon(unsigned long side) const {
    const std::vector<unsigned long> icon = desk().cardinals(window, "_NET_WM_ICON");
    for (std::size_t at = 0; at + 2 <= icon.size();) {
      const unsigned long width = icon[at], height = icon[at + 1], count = width * height;
      at += 2;
      if (count > icon.size() - at) break;
      if (width == side && height == side) {
        std::vector<Rgb> pixels;
        for (std::size_t i = at; i < at + count; ++i)
          pixels.push_back(
              {int((icon[i] >> 16) & 0xff), int((icon[i] >> 8) & 0xff), int(icon[i] & 0xff)});
        return pixels;
      }
      at += count;
    }
    return {};
  }
  // A Windows program ignores the signals that end the loader; its Wine server ends it.
  void TearDown() override { wineTool(SCULPT_WINESERVER " -k", 30); }
};

TEST_P(UnderWine, StartsFullScreenDrawsAndRestoresTheSameWindowEveryTime) {
  EXPECT_TRUE(desk().pointerHiddenAt(kScreenWidth / 2, kScreenHeight / 2));
  // Its picture: every program draws its field over a clear colour of its own, so the screen is
  // neither black nor of one colour.
  ASSERT_TRUE(waitUntil(
      [&] {
        const Image screen = desk().grabScreen();
        const Rect all = {0, 0, kScreenWidth, kScreenHeight};
        const Rgb common = screen.mostCommon(all);
        return !near(common, {0, 0, 0}) &&
               screen.count(all, [&](Rgb c) { return !near(c, common); }) > 1000;
      },
      Seconds(10)))
      << "the screen does not show the program";
  // Its icon, from the program file, on the window: the one cut from its screenshot.
  const std::vector<Rgb> expected =
      plainPpm(std::string(SCULPT_EXPECTED_ICONS) + "/" + GetParam() + "-32.ppm");
  const std::vector<Rgb> shown = windowIcon(32);
  ASSERT_EQ(expected.size(), 32u * 32u);
  ASSERT_EQ(shown.size(), expected.size()) << "the window carries no 32-pixel icon";
  int alike = 0;
  for (std::size_t i = 0; i < shown.size(); ++i) alike += near(shown[i], expected[i]) ? 1 : 0;
  EXPECT_GT(alike, 32 * 32 * 95 / 100) << "the window's icon is not the program's";

  desk().press(XK_F11);
  ASSERT_TRUE(waitUntil(
      [&] {
        const Rect g = desk().geometry(window);
        return g.width == 640 && g.height == 480;
      },
      Seconds(10)))
      << "F11 did not give the 640 x 480 window";
  const Rect windowed = settledGeometry();
  EXPECT_NEAR(windowed.x, 100, 50);
  EXPECT_NEAR(windowed.y, 100, 50);
  EXPECT_TRUE(desk().pointerHiddenAt(windowed.x + 320, windowed.y + 240));
  for (int trip = 1; trip <= kRoundTrips; ++trip) {
    desk().press(XK_F11);
    ASSERT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight})) << "round trip " << trip;
    desk().press(XK_F11);
    ASSERT_TRUE(waitUntil([&] { return desk().geometry(window).width == 640; }, Seconds(10)));
    EXPECT_EQ(settledGeometry(), windowed) << "round trip " << trip;
  }
  expectEscapeEndsWithStatusZero();
}

INSTANTIATE_TEST_SUITE_P(Programs, UnderWine,
                         ::testing::Values("sculpt_lines", "sculpt_grey", "sculpt_glow",
                                           "sculpt_bands"));

}  // namespace
