// A preload library for the benchmark: wraps glXSwapBuffers on X and SDL_GL_SwapWindow on
// Wayland and, only when SCULPT_SWAP_LOG names a file, appends the CLOCK_MONOTONIC time of every
// finished swap to it, in nanoseconds, one a line.
#include <GL/glx.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace {

using SwapBuffers = void (*)(Display*, GLXDrawable);
using SwapWindow = void (*)(void*);  // SDL_GL_SwapWindow, its window an SDL_Window*

SwapBuffers g_realSwap = nullptr;
SwapWindow g_realSwapWindow = nullptr;
int g_log = -1;  // the log's descriptor, or -1 when nothing is to be written

__attribute__((constructor)) void openLog() {
  g_realSwap = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  g_realSwapWindow = reinterpret_cast<SwapWindow>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
  const char* path = std::getenv("SCULPT_SWAP_LOG");
  if (path != nullptr && *path != '\0')
    g_log = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
}

long long monotonicNow() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Runs `swap` and logs when it ended and how long it took.
template <typename Swap>
void timed(Swap swap) {
  if (g_log < 0) {
    swap();
    return;
  }
  // The swap makes the software renderer finish the frame's drawing and copy it to the window, so
  // its duration is the rasterising and presenting part of the frame.
  const long long start = monotonicNow();
  swap();
  const long long end = monotonicNow();
  // One write a frame, straight to the file: the log survives the program being killed, and a
  // write of some 20 bytes costs microseconds against frames of milliseconds.
  char line[48];
  const int length = std::snprintf(line, sizeof line, "%lld %lld\n", end, end - start);
  if (write(g_log, line, static_cast<size_t>(length)) < 0) g_log = -1;
}

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  timed([&] {
    if (g_realSwap != nullptr) g_realSwap(display, drawable);
  });
}

extern "C" void SDL_GL_SwapWindow(void* window) {
  timed([&] {
    if (g_realSwapWindow != nullptr) g_realSwapWindow(window);
  });
}
