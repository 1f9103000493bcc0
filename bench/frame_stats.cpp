// Reading the swap log and reducing it and repeated runs to the figures the benchmark reports.
#include "frame_stats.h"

#include <algorithm>
#include <fstream>

namespace bench {

std::vector<Nanoseconds> readSwapLog(const std::string& path) {
  std::vector<Nanoseconds> swaps;
  std::ifstream in(path);
  Nanoseconds t;
  while (in >> t) swaps.push_back(t);
  return swaps;
}

double framesPerSecond(const std::vector<Nanoseconds>& swaps, Nanoseconds skipNs) {
  if (swaps.empty()) return 0;
  const auto first = std::lower_bound(swaps.begin(), swaps.end(), swaps.front() + skipNs);
  const auto count = swaps.end() - first;
  if (count < 2) return 0;
  const double span = static_cast<double>(swaps.back() - *first) * 1e-9;  // seconds
  return static_cast<double>(count - 1) / span;
}

Spread spread(std::vector<double> values) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

}  // namespace bench
