// Helpers for reading a recorded frame: slices of the call list and counts of one call.
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

#include "recorder.h"

inline std::vector<recorder::Call> recordedSlice(size_t from, size_t count) {
  const auto& all = recorder::calls();
  return {all.begin() + from, all.begin() + std::min(all.size(), from + count)};
}

inline long recordedCount(const recorder::Call& call) {
  return std::count(recorder::calls().begin(), recorder::calls().end(), call);
}

inline long recordedCount(std::string_view name) {
  return std::count_if(recorder::calls().begin(), recorder::calls().end(),
                       [&](const recorder::Call& c) { return c.name == name; });
}

// Positions of every call with this name, in order.
inline std::vector<size_t> recordedPositions(std::string_view name) {
  std::vector<size_t> positions;
  for (size_t n = 0; n < recorder::calls().size(); ++n)
    if (recorder::calls()[n].name == name) positions.push_back(n);
  return positions;
}
