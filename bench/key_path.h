// The fixed way the benchmarks steer the cursor: hold still over the start cell for a while, then
// walk a square spiral outward, one arrow press at a time, so the sculpted patch keeps growing.
#pragma once

namespace bench {

enum class Arrow { right, up, left, down };

constexpr int kHoldMs = 4000;        // milliseconds of growth at the start cell before moving
constexpr int kPressPeriodMs = 400;  // milliseconds between arrow presses after that

// The n-th press (from 0) of the spiral: legs of 1, 1, 2, 2, 3, 3, ... presses turning left each
// time, starting rightward.
inline Arrow spiralArrow(int n) {
  int leg = 0;
  int length = 1;
  while (n >= length) {
    n -= length;
    ++leg;
    if (leg % 2 == 0) ++length;
  }
  return static_cast<Arrow>(leg % 4);
}

// How many presses the path has made by `ms` milliseconds after it started.
inline int pressesBy(long long ms) {
  return ms < kHoldMs ? 0 : static_cast<int>((ms - kHoldMs) / kPressPeriodMs) + 1;
}

}  // namespace bench
