// bench_frames OUTDIR WIDTHxHEIGHT SECONDS RUNS PROGRAM...: runs each program RUNS times on a
// virtual desktop of that size, steered along the key path, and measures it from outside: frame
// rate, time from spawn to the first frame, and peak resident memory. Prints one line per run on
// stderr, a Markdown table of median (min to max) on stdout and the medians in
// OUTDIR/medians-WIDTHxHEIGHT.tsv (program, frames/s, frame ms, first frame ms, peak MiB, swap
// ms); keeps each run's swap log and a frame-interval file (seconds since the first frame,
// milliseconds since the previous) in OUTDIR.
#include <X11/keysym.h>
#include <sys/wait.h>
#include <time.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "desktop.h"
#include "frame_stats.h"
#include "key_path.h"

namespace {

using bench::Nanoseconds;

constexpr Nanoseconds kWarmUpNs = 1000000000;  // swaps in the first second are not counted

Nanoseconds monotonicNow() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<Nanoseconds>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The process's peak resident set, in kibibytes, or 0 if it cannot be read.
long peakResidentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      long kib = 0;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 16, '\n');
  }
  return 0;
}

KeySym keyFor(bench::Arrow arrow) {
  switch (arrow) {
    case bench::Arrow::right:
      return XK_Right;
    case bench::Arrow::up:
      return XK_Up;
    case bench::Arrow::left:
      return XK_Left;
    case bench::Arrow::down:
      return XK_Down;
  }
  return XK_Right;
}

struct Run {
  double fps = 0;
  double swapMs = 0;  // mean time inside the swap call
  double firstFrameMs = 0;
  double peakMiB = 0;
  size_t frames = 0;
  bool endedOnEscape = false;
};

Run runOnce(desktop::Desktop& desk, const std::string& program, double seconds,
            const std::string& stem) {
  const std::string log = stem + ".swaps";
  std::remove(log.c_str());
  Run run;
  const Nanoseconds spawned = monotonicNow();
  desktop::Program process(std::string(SCULPT_PROGRAM_DIR) + "/" + program, desk,
                           {"LD_PRELOAD=" SWAP_CLOCK_PATH, "SCULPT_SWAP_LOG=" + log});
  // Key presses reach the program only once its window exists and has the focus.
  desk.waitForWindow(process.pid(), desktop::Seconds(20));
  const Nanoseconds end = spawned + static_cast<Nanoseconds>(seconds * 1e9);
  int pressed = 0;
  for (Nanoseconds now = monotonicNow(); now < end; now = monotonicNow()) {
    const int due = bench::pressesBy((now - spawned) / 1000000);
    for (; pressed < due; ++pressed) desk.press(keyFor(bench::spiralArrow(pressed)));
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  run.peakMiB = static_cast<double>(peakResidentKiB(process.pid())) / 1024.0;
  desk.press(XK_Escape);
  int status = 0;
  run.endedOnEscape = process.waitForExit(desktop::Seconds(10), &status) && WIFEXITED(status) &&
                      WEXITSTATUS(status) == 0;

  const auto swapLog = bench::readSwapLog(log);
  const auto& swaps = swapLog.ends;
  run.frames = swaps.size();
  if (!swaps.empty()) run.firstFrameMs = static_cast<double>(swaps.front() - spawned) * 1e-6;
  run.fps = bench::framesPerSecond(swaps, kWarmUpNs);
  run.swapMs = bench::meanSwapMs(swapLog, kWarmUpNs);
  std::ofstream intervals(stem + ".dat");
  for (size_t i = 1; i < swaps.size(); ++i)
    intervals << static_cast<double>(swaps[i] - swaps.front()) * 1e-9 << ' '
              << static_cast<double>(swaps[i] - swaps[i - 1]) * 1e-6 << '\n';
  return run;
}

std::string cell(const bench::Spread& s, const char* format) {
  char text[96];
  const std::string f = std::string(format) + " (" + format + " to " + format + ")";
  std::snprintf(text, sizeof text, f.c_str(), s.median, s.min, s.max);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  int width = 0, height = 0;
  if (argc < 6 || std::sscanf(argv[2], "%dx%d", &width, &height) != 2) {
    std::fprintf(stderr, "usage: bench_frames OUTDIR WIDTHxHEIGHT SECONDS RUNS PROGRAM...\n");
    return 2;
  }
  const std::string outDir = argv[1];
  const double seconds = std::stod(argv[3]);
  const int runs = std::stoi(argv[4]);
  const std::vector<std::string> programs(argv + 5, argv + argc);
  std::filesystem::create_directories(outDir);

  desktop::Desktop desk(width, height);
  std::map<std::string, std::vector<Run>> results;
  bool allEnded = true;
  // Runs alternate between the programs, so a burst of load elsewhere on the machine spreads
  // over all of them instead of landing on one.
  for (int r = 1; r <= runs; ++r)
    for (const auto& program : programs) {
      const std::string stem = outDir + "/" + program + "-" + argv[2] + "-" + std::to_string(r);
      const Run run = runOnce(desk, program, seconds, stem);
      allEnded = allEnded && run.endedOnEscape && run.frames > 0;
      std::fprintf(
          stderr, "%s %s run %d: %.1f frames/s, first frame %.0f ms, peak %.1f MiB, %zu frames%s\n",
          program.c_str(), argv[2], r, run.fps, run.firstFrameMs, run.peakMiB, run.frames,
          run.endedOnEscape ? "" : ", did not end on Esc");
      results[program].push_back(run);
    }

  std::ofstream medians(outDir + "/medians-" + argv[2] + ".tsv");
  std::printf(
      "| program | screen | frames/s | frame ms | of it in the swap, ms | first frame ms | peak "
      "MiB |\n");
  std::printf("|---|---|---|---|---|---|---|\n");
  for (const auto& program : programs) {
    std::vector<double> fps, frameMs, swapMs, first, peak;
    for (const Run& run : results[program]) {
      fps.push_back(run.fps);
      frameMs.push_back(run.fps > 0 ? 1000.0 / run.fps : 0);
      swapMs.push_back(run.swapMs);
      first.push_back(run.firstFrameMs);
      peak.push_back(run.peakMiB);
    }
    medians << program << '\t' << bench::spread(fps).median << '\t' << bench::spread(frameMs).median
            << '\t' << bench::spread(first).median << '\t' << bench::spread(peak).median << '\t'
            << bench::spread(swapMs).median << '\n';
    std::printf(
        "| `%s` | %d × %d | %s | %s | %s | %s | %s |\n", program.c_str(), width, height,
        cell(bench::spread(fps), "%.1f").c_str(), cell(bench::spread(frameMs), "%.1f").c_str(),
        cell(bench::spread(swapMs), "%.1f").c_str(), cell(bench::spread(first), "%.0f").c_str(),
        cell(bench::spread(peak), "%.1f").c_str());
  }
  return allEnded ? 0 : 1;
}
