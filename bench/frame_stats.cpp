// Reading the swap log and reducing it and repeated runs to the figures the benchmark reports.
#include "frame_stats.h"

#include <algorithm>
#include <fstream>

namespace bench {

SwapLog readSwapLog(const std::string& path) {
  SwapLog log;
  std::ifstream in(path);
  Nanoseconds end, duration;
  while (in >> end >> duration) {
    log.ends.push_back(end);
    log.durations.push_back(duration);
  }
  return log;
}

double framesPerSecond(const std::vector<Nanoseconds>& swaps, Nanoseconds skipNs) {
  if (swaps.empty()) return 0;
  const auto first = std::lower_bound(swaps.begin(), swaps.end(), swaps.front() + skipNs);
  const auto count = swaps.end() - first;
  if (count < 2) return 0;
  const double span = static_cast<double>(swaps.back() - *first) * 1e-9;  // seconds
  return static_cast<double>(count - 1) / span;
}

double meanSwapMs(const SwapLog& log, Nanoseconds skipNs) {
  if (log.ends.empty()) return 0;
  const auto first = std::lower_bound(log.ends.begin(), log.ends.end(), log.ends.front() + skipNs);
  const auto from = static_cast<size_t>(first - log.ends.begin());
  if (from == log.ends.size()) return 0;
  double sum = 0;
  for (size_t i = from; i < log.durations.size(); ++i) sum += static_cast<double>(log.durations[i]);
  return sum / static_cast<double>(log.durations.size() - from) * 1e-6;
}

Spread spread(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

}  // namespace bench
