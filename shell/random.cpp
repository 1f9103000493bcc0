// The terrain's linear congruential generator, kept apart from the C library's rand().
#include "random.h"

namespace {
std::uint32_t g_randomState = 1;
}

void seedRandom(std::uint32_t seed) {
  g_randomState = seed;
}

int randomInt() {
  g_randomState = g_randomState * 214013u + 2531011u;  // wraps modulo 2^32
  return static_cast<int>((g_randomState >> 16) & 0x7FFFu);
}

float randomUnit() {
  return static_cast<float>(randomInt()) * kRandomScale;
}
