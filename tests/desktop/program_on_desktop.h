// A test fixture that starts one program on a shared desktop and waits for it to go full screen.
#pragma once

#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <memory>
#include <string>

#include "desktop.h"

namespace desktop {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

class ProgramOnDesktop {
 protected:
  // One desktop serves every test of a binary; each test starts its own program on it.
  static Desktop& desk() {
    static Desktop shared(kScreenWidth, kScreenHeight);
    return shared;
  }

  // Starts the program and waits for its window to fill the screen.
  void start(const std::string& name) {
    program = std::make_unique<Program>(std::string(SCULPT_PROGRAM_DIR) + "/" + name, desk());
    window = desk().waitForWindow(program->pid(), Seconds(20));
    ASSERT_NE(window, 0u) << "no window appeared";
    ASSERT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight})) << "never went full screen";
  }

  bool waitForGeometry(const Rect& expected) {
    return waitUntil(
        [&] {
          const Rect g = desk().geometry(window);
          return g.x == expected.x && g.y == expected.y && g.width == expected.width &&
                 g.height == expected.height;
        },
        Seconds(10));
  }

  // Presses Esc and expects the program to end at once with status 0, having printed nothing.
  void expectEscapeEndsWithStatusZero() {
    desk().press(XK_Escape);
    int status = -1;
    ASSERT_TRUE(program->waitForExit(Seconds(10), &status)) << "still running after Esc";
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(program->output(), "");
  }

  std::unique_ptr<Program> program;
  Window window = 0;
};

}  // namespace desktop
