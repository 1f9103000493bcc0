// The fixed 15-bit generator behind the initial terrain: the same seed gives the same field on
// every platform.
#pragma once

#include <cstdint>

constexpr int kRandomMax = 32767;
// The float nearest 1/32767; randomInt() * kRandomScale maps 0..32767 onto [0, 1] exactly at the
// ends.
constexpr float kRandomScale = 1.0f / 32767.0f;

void seedRandom(std::uint32_t seed);
int randomInt();  // 0 to kRandomMax
float randomUnit();
