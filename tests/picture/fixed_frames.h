// A test-only build of a program for comparing pictures across platforms: linked with
// --wrap=time and --wrap=glutSwapBuffers, it starts from a fixed seed and keeps one frame's
// picture.
#pragma once

#include <ctime>

namespace fixed {
constexpr std::time_t kSeed = 1733650000;  // seconds, what time() tells the program
constexpr int kFrames = 120;               // the frame whose picture is kept, counted from 1
}  // namespace fixed

extern "C" {
std::time_t __wrap_time(std::time_t* out);
void __real_glutSwapBuffers();
void __wrap_glutSwapBuffers();
}
