// What every program shares as a user meets it: full screen, no title, no pointer, F11 and Esc.
#include <X11/Xatom.h>
#include <gtest/gtest.h>

#include <set>
#include <thread>
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

// A window manager that ended, or replaced itself, can leave the root window naming its check
// window after that window is gone. A program starting then comes up all the same: windowed, as
// under a window manager that does not say what it supports, and still ends on Esc.
class BesideAGoneWindowManager : public ProgramOnDesktop, public ::testing::Test {
 protected:
  void SetUp() override {
    Display* display = desk().display();
    root = DefaultRootWindow(display);
    check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    kept = desk().cardinals(root, "_NET_SUPPORTING_WM_CHECK");
    ASSERT_EQ(kept.size(), 1u) << "the window manager names no check window";
    Window gone = XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0);
    XDestroyWindow(display, gone);
    XChangeProperty(display, root, check, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&gone), 1);
    XSync(display, False);
  }
  void TearDown() override { restore(); }
  void restore() {
    Window named = kept.empty() ? 0 : kept[0];
    XChangeProperty(desk().display(), root, check, XA_WINDOW, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&named), kept.empty() ? 0 : 1);
    XSync(desk().display(), False);
  }

  Window root = 0;
  Atom check = 0;
  std::vector<unsigned long> kept;
};

TEST_F(BesideAGoneWindowManager, AProgramStillStartsAndEndsOnEscape) {
  program = std::make_unique<Program>(std::string(SCULPT_PROGRAM_DIR) + "/sculpt_lines", desk());
  int status = 0;
  bool ended = false;
  waitUntil(
      [&] {
        // GLUT names the window's process only to a window manager that says it supports that.
        window = desk().waitForWindow("sculpt_lines/sculpt_lines", Seconds(0.1));
        return window != 0 || (ended = program->waitForExit(Seconds(0), &status));
      },
      Seconds(60));
  ASSERT_NE(window, 0u) << (ended ? "the program ended, status " + std::to_string(status) +
                                        ", output: " + program->output()
                                  : "the program is running with no window shown");
  ASSERT_TRUE(waitUntil([&] { return desk().keysReach(window); }, Seconds(10)))
      << "the keyboard focus is on " << desk().describeFocus();
  expectEscapeEndsWithStatusZero();
}

// A window manager replacing itself names its new check window a moment after the old one went;
// a program starting in between waits for it and comes up full screen.
TEST_F(BesideAGoneWindowManager, AProgramStartingAsItComesBackGoesFullScreen) {
  program = std::make_unique<Program>(std::string(SCULPT_PROGRAM_DIR) + "/sculpt_lines", desk());
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  restore();
  window = desk().waitForWindow(program->pid(), Seconds(60));
  ASSERT_NE(window, 0u) << desk().whyNoWindow(program->pid());
  EXPECT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight}, Seconds(30)))
      << desk().geometry(window);
  expectEscapeEndsWithStatusZero();
}

}  // namespace
