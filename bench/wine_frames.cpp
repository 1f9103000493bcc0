// bench_wine WINDOWS_BUILD SECONDS RUNS PROGRAM...: each program's Linux build
// and its Windows build under Wine, in turn on one 640 × 480 virtual desktop, each RUNS times for
// SECONDS after a second's warm-up. Frames are counted from outside, as the window's DAMAGE events
// (one per picture put on it), since the swap clock cannot reach into Wine. Prints a Markdown
// table of median frames per second for both and their ratio, and one line per run on stderr.
#include <X11/keysym.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "desktop.h"

namespace {

using desktop::Seconds;

// Frames per second of the program `command` starts, or 0 if it showed no window.
double framesPerSecond(desktop::Desktop& desk, const std::vector<std::string>& command,
                       double seconds) {
  desktop::Program program(command, desk);
  const Window window = desk.waitForWindow(program.pid(), Seconds(60));
  if (window == 0) return 0;
  std::this_thread::sleep_for(Seconds(1));  // the first frames, and Wine's start, are not counted
  desktop::DamageCounter frames(desk, window);
  const long before = frames.count();
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(Seconds(seconds));
  const long counted = frames.count() - before;
  const double elapsed = Seconds(std::chrono::steady_clock::now() - start).count();
  desk.press(XK_Escape);
  int status = 0;
  program.waitForExit(Seconds(10), &status);
  return counted / elapsed;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: bench_wine WINDOWS_BUILD SECONDS RUNS PROGRAM...\n");
    return 2;
  }
  const std::string windowsBuild = argv[1];
  const double seconds = std::atof(argv[2]);
  const int runs = std::atoi(argv[3]);
  desktop::Desktop desk(640, 480);
  std::printf("| program | Linux frames/s | Wine frames/s | Wine / Linux |\n|---|---|---|---|\n");
  for (int p = 4; p < argc; ++p) {
    const std::string name = argv[p];
    std::vector<double> linux, wine;
    for (int run = 0; run < runs; ++run) {  // in turn, so a slow spell of the machine hits both
      linux.push_back(
          framesPerSecond(desk, {std::string(SCULPT_PROGRAM_DIR) + "/" + name}, seconds));
      wine.push_back(
          framesPerSecond(desk, {SCULPT_WINE64, windowsBuild + "/" + name + ".exe"}, seconds));
      // A Windows program outlives the loader's signals; its Wine server ends it.
      std::system("timeout 30 " SCULPT_WINESERVER " -k >/dev/null 2>&1");
      std::fprintf(stderr, "bench_wine: %s run %d: Linux %.1f, Wine %.1f frames/s\n", name.c_str(),
                   run + 1, linux.back(), wine.back());
    }
    const double l = median(linux), w = median(wine);
    std::printf("| `%s` | %.1f | %.1f | %.2f |\n", name.c_str(), l, w, l > 0 ? w / l : 0.0);
  }
  return 0;
}
