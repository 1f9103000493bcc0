// The programs as the Debian package installs them, run from the unpacked package on a desktop.
#include <gtest/gtest.h>

#include "program_on_desktop.h"

namespace {

using namespace desktop;

class PackagedProgram : public ProgramOnDesktop, public ::testing::TestWithParam<const char*> {};

TEST_P(PackagedProgram, ComesUpFullScreenAndEndsOnEscape) {
  startAt(std::string(SCULPT_PACKAGE_ROOT "/usr/games/") + GetParam());
  expectEscapeEndsWithStatusZero();
}

INSTANTIATE_TEST_SUITE_P(Programs, PackagedProgram,
                         ::testing::Values("sculpt_lines", "sculpt_grey", "sculpt_glow",
                                           "sculpt_bands"));

}  // namespace
