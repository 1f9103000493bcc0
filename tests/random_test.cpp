// The terrain generator: its fixed sequence and its scaling onto [0, 1].
#include "random.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::uint32_t bitsOf(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

TEST(Random, SeedOneGivesTheKnownSequence) {
  seedRandom(1);
  EXPECT_EQ(randomInt(), 41);
  EXPECT_EQ(randomInt(), 18467);
  EXPECT_EQ(randomInt(), 6334);
}

TEST(Random, SameSeedSameSequenceAndResultsStayIn15Bits) {
  seedRandom(123456789u);
  int first[1000];
  for (int& r : first) r = randomInt();
  seedRandom(123456789u);
  for (int r : first) {
    EXPECT_EQ(randomInt(), r);
    EXPECT_GE(r, 0);
    EXPECT_LE(r, kRandomMax);
  }
}

TEST(Random, ScaleIsTheFloatNearestOneOver32767) {
  EXPECT_EQ(bitsOf(kRandomScale), 0x38000100u);
  EXPECT_EQ(32767 * kRandomScale, 1.0f);
  EXPECT_EQ(0 * kRandomScale, 0.0f);
}

TEST(Random, UnitValuesAreTheIntegersScaled) {
  seedRandom(1);
  EXPECT_EQ(randomUnit(), 41 * kRandomScale);
  EXPECT_EQ(randomUnit(), 18467 * kRandomScale);
  EXPECT_NEAR(randomUnit(), 0.1933042, 1e-7);
}

}  // namespace
