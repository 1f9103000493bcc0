// Frame figures from the swap times the preload library logs: frame rate, time to the first
// frame, frame intervals, and the median, minimum and maximum over repeated runs.
#pragma once

#include <string>
#include <vector>

namespace bench {

using Nanoseconds = long long;  // CLOCK_MONOTONIC, as the preload library and the driver read it

// The preload library's log: for every swap, when it finished and how long the call took.
struct SwapLog {
  std::vector<Nanoseconds> ends;
  std::vector<Nanoseconds> durations;
};
// The log at `path`, two decimal numbers of nanoseconds a line; empty if there is none.
SwapLog readSwapLog(const std::string& path);

// Frames per second over the swaps from `skipNs` after the first one on; 0 when fewer than two
// swaps fall in that span. The first frames pay for start-up and the first full-screen reshape.
double framesPerSecond(const std::vector<Nanoseconds>& swaps, Nanoseconds skipNs);
// Mean duration of the swaps counted by framesPerSecond with the same `skipNs`, in milliseconds.
double meanSwapMs(const SwapLog& log, Nanoseconds skipNs);

struct Spread {
  double median = 0, min = 0, max = 0;
};
// Median, minimum and maximum; all zero for no values. An even count takes the mean of the two
// middle values.
Spread spread(std::vector<double> values);

}  // namespace bench
