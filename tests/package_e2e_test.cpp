// The programs as the Debian package installs them, run from the unpacked package on a desktop.
#include <gtest/gtest.h>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

class PackagedProgram : public ProgramOnDesktop, public ::testing::TestWithParam<const char*> {};

TEST_P(PackagedProgram, ComesUpFullScreenAndEndsOnEscape) {
  program = std::make_unique<Program>(std::string(SCULPT_PACKAGE_ROOT "/usr/games/") + GetParam(),
                                      desk());
  window = desk().waitForWindow(program->pid(), Seconds(20));
  ASSERT_NE(window, 0u) << "no window appeared";
  ASSERT_TRUE(waitForGeometry({0, 0, kScreenWidth, kScreenHeight})) << "never went full screen";
  expectEscapeEndsWithStatusZero();
}

INSTANTIATE_TEST_SUITE_P(Programs, PackagedProgram,
                         ::testing::Values("sculpt_lines", "sculpt_grey", "sculpt_glow",
                                           "sculpt_bands"));

}  // namespace
