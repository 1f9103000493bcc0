// The model alone over tens of millions of frames: with the cursor held still, and with it
// sweeping the whole grid. Heights and camera stay finite however long a program runs.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>

#include "test_scene.h"

namespace {

constexpr int kStill = 128;
constexpr long kFrameLimit = 40000000;

bool nineCell() {
  return kProgram.brush == Brush::nineCell;
}

// Single-precision growth ends where half a float's spacing exceeds the amount: from 2^21 on,
// where the spacing is 0.25, adding 0.1 rounds back to the same value; 0.06 ends at 2^20 and 0.03
// at 2^19. Just below each of those powers the spacing is a quarter of the amount or more, so the
// last steps round up, and a still cell lands exactly on the power of two and stays there.
// The camera height trails the cursor cell by a gap that shrinks each frame by a fifteenth. Once
// the cell stops, the gap closes until a fifteenth of it rounds away: at 2^21 - 0.875, where
// 0.875 / 15 is below half the spacing 0.125, the camera stops for good, 0.875 short of its
// target and never past it.
TEST(LongRun, AStillCursorGrowsItsCellsUpToWhereFloatsStopAddingAndNoFurther) {
  auto scene = flatScene();
  Scene& s = *scene;
  s.camZ = 0.0f;
  s.cursorX = kStill;
  s.cursorY = kStill;
  // Only the brush cells and the camera can change; the frame that changes none of them is the
  // first of a still field.
  const auto brushAndCamera = [&s] {
    std::array<float, 12> v{s.camX, s.camY, s.camZ};
    for (int n = 0; n < 9; ++n) v[3 + n] = s.heights[kStill - 1 + n / 3][kStill - 1 + n % 3];
    return v;
  };
  long frames = 0;
  auto previous = brushAndCamera();
  while (frames < kFrameLimit) {
    s.advance();
    ++frames;
    const auto now = brushAndCamera();
    for (int n = 3; n < 12; ++n) ASSERT_GE(now[n], previous[n]) << "frame " << frames;
    // The camera height rises toward the cell and never above it.
    ASSERT_GE(s.camZ, previous[2]) << "frame " << frames;
    ASSERT_LE(s.camZ, nineCell() ? s.heights[kStill][kStill] : 0.0f) << "frame " << frames;
    if (now == previous) break;
    previous = now;
  }
  ASSERT_LT(frames, kFrameLimit) << "still growing after " << frames << " frames";
  RecordProperty("framesUntilStill", static_cast<int>(frames));
  std::printf("the field stopped changing after %ld frames\n", frames);
  EXPECT_GT(frames, 10000000);  // 2^21 / 0.1 frames, give or take the rounding

  for (int x = 0; x < kGridSize; ++x)
    for (int y = 0; y < kGridSize; ++y) {
      const int dx = std::abs(x - kStill), dy = std::abs(y - kStill);
      float expected = 0.0f;
      if (dx == 0 && dy == 0) {
        expected = 2097152.0f;  // 2^21
      } else if (nineCell() && dx + dy == 1) {
        expected = 1048576.0f;  // 2^20
      } else if (nineCell() && dx == 1 && dy == 1) {
        expected = 524288.0f;  // 2^19
      }
      ASSERT_EQ(s.heights[x][y], expected) << "cell " << x << ", " << y;
    }
  EXPECT_EQ(s.camX, 128.0f);
  EXPECT_EQ(s.camY, 128.0f);
  EXPECT_EQ(s.camZ, nineCell() ? 2097151.125f : 0.0f);

  // A million more frames change nothing at all.
  const auto still = std::make_unique<Scene>(s);
  for (int n = 0; n < 1000000; ++n) s.advance();
  EXPECT_TRUE(sameScene(*still, s));
}

// One frame per cell, the cursor walking a serpentine path over the whole grid by arrow keys and
// back along it, so every cell is the cursor once per pass.
TEST(LongRun, ASweepingCursorGrowsEveryCellByItsShareOfEachPass) {
  auto scene = initialisedScene();
  Scene& s = *scene;
  auto start = std::make_unique<Scene>(s);
  auto last = std::make_unique<Scene>(s);
  for (int n = 0; n < kStill; ++n) {
    s.special(GLUT_KEY_LEFT, 0, 0);
    s.special(GLUT_KEY_DOWN, 0, 0);
  }
  constexpr int kPasses = 320;  // 21 million frames
  for (int pass = 0; pass < kPasses; ++pass) {
    const bool forward = pass % 2 == 0;
    for (int row = 0; row < kGridSize; ++row) {
      const bool up = row % 2 == 0;  // either way, a pass ends where the next one begins
      for (int cell = 0; cell < kGridSize; ++cell) {
        s.advance();
        if (cell < kGridLast) s.special(up ? GLUT_KEY_UP : GLUT_KEY_DOWN, 0, 0);
      }
      if (row < kGridLast) s.special(forward ? GLUT_KEY_RIGHT : GLUT_KEY_LEFT, 0, 0);
    }
    ASSERT_TRUE(std::isfinite(s.camX) && std::isfinite(s.camY) && std::isfinite(s.camZ));
    ASSERT_GE(s.camX, 0.0f);
    ASSERT_LE(s.camX, float(kGridLast));
    ASSERT_GE(s.camY, 0.0f);
    ASSERT_LE(s.camY, float(kGridLast));
    for (int x = 0; x < kGridSize; ++x)
      for (int y = 0; y < kGridSize; ++y)
        ASSERT_GE(s.heights[x][y], last->heights[x][y]) << "pass " << pass;
    *last = s;
  }
  RecordProperty("frames", kPasses * kGridSize * kGridSize);

  // Each pass gives a cell what the brush gives it from every cell around it on the grid.
  for (int x = 0; x < kGridSize; ++x)
    for (int y = 0; y < kGridSize; ++y) {
      double share = 0.0;
      for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
          const int cx = x + dx, cy = y + dy;
          if (cx < 0 || cx > kGridLast || cy < 0 || cy > kGridLast) continue;
          if (dx == 0 && dy == 0) {
            share += 0.1;
          } else if (nineCell()) {
            share += dx == 0 || dy == 0 ? 0.06 : 0.03;
          }
        }
      const double expected = start->heights[x][y] + kPasses * share;
      ASSERT_TRUE(std::isfinite(s.heights[x][y]));
      ASSERT_NEAR(s.heights[x][y], expected, 1e-3 * expected) << "cell " << x << ", " << y;
    }
}

}  // namespace
