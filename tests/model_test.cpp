// The height-field model of the nine-cell programs: initial terrain, brush growth, camera follow.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "random.h"
#include "test_scene.h"

namespace {

struct Growth {
  int x, y;
  float amount;
};

// Every cell that differs between two fields, with the difference, in scan order.
std::vector<Growth> grownCells(const Scene& before, const Scene& after) {
  std::vector<Growth> grown;
  for (int x = 0; x < kGridSize; ++x)
    for (int y = 0; y < kGridSize; ++y)
      if (after.heights[x][y] != before.heights[x][y])
        grown.push_back({x, y, after.heights[x][y] - before.heights[x][y]});
  return grown;
}

// Runs one model step with the cursor at (x, y) on a flat field and returns what grew.
std::vector<Growth> growthAt(int x, int y) {
  auto scene = flatScene();
  scene->cursorX = x;
  scene->cursorY = y;
  const Scene before = *scene;
  scene->advance();
  return grownCells(before, *scene);
}

void expectGrowth(const std::vector<Growth>& grown, const std::vector<Growth>& expected) {
  ASSERT_EQ(grown.size(), expected.size());
  for (size_t n = 0; n < grown.size(); ++n) {
    EXPECT_EQ(grown[n].x, expected[n].x) << "cell " << n;
    EXPECT_EQ(grown[n].y, expected[n].y) << "cell " << n;
    EXPECT_EQ(grown[n].amount, expected[n].amount) << "cell " << n;
  }
}

TEST(Terrain, FillsCellsInScanOrderFromTheGenerator) {
  recorder::reset();
  auto scene = std::make_unique<Scene>();
  seedRandom(1);
  scene->init();
  const float u = kRandomScale;
  EXPECT_EQ(scene->heights[0][0], 41 * u);
  EXPECT_EQ(scene->heights[0][1], 18467 * u);
  EXPECT_EQ(scene->heights[0][2], 6334 * u);

  // The 257th number lands in heights[1][0], the last in heights[255][255].
  seedRandom(1);
  for (int n = 0; n < 256; ++n) randomInt();
  EXPECT_EQ(scene->heights[1][0], randomUnit());
  for (int n = 257; n < 65535; ++n) randomInt();
  EXPECT_EQ(scene->heights[255][255], randomUnit());
}

TEST(Terrain, StartsInTheUnitIntervalWithCursorAndCameraInTheMiddle) {
  auto scene = initialisedScene();
  float highest = 0.0f;
  for (auto& row : scene->heights)
    for (float h : row) {
      EXPECT_GE(h, 0.0f);
      highest = std::max(highest, h);
    }
  EXPECT_LE(highest, 1.0f);
  EXPECT_GT(highest, 0.99f);  // 65536 draws reach the top of the range
  EXPECT_EQ(scene->cursorX, 128);
  EXPECT_EQ(scene->cursorY, 128);
  EXPECT_EQ(scene->camX, 128.0f);
  EXPECT_EQ(scene->camY, 128.0f);
  EXPECT_EQ(scene->camZ, 0.0f);
  EXPECT_TRUE(scene->fullScreen);
}

TEST(Brush, InteriorGrowsTheNineCells) {
  expectGrowth(growthAt(10, 20), {{9, 19, 0.03f},
                                  {9, 20, 0.06f},
                                  {9, 21, 0.03f},
                                  {10, 19, 0.06f},
                                  {10, 20, 0.1f},
                                  {10, 21, 0.06f},
                                  {11, 19, 0.03f},
                                  {11, 20, 0.06f},
                                  {11, 21, 0.03f}});
}

TEST(Brush, CornersAndBordersDropTheMissingCells) {
  expectGrowth(growthAt(0, 0), {{0, 0, 0.1f}, {0, 1, 0.06f}, {1, 0, 0.06f}, {1, 1, 0.03f}});
  expectGrowth(growthAt(255, 255),
               {{254, 254, 0.03f}, {254, 255, 0.06f}, {255, 254, 0.06f}, {255, 255, 0.1f}});
  expectGrowth(growthAt(0, 255),
               {{0, 254, 0.06f}, {0, 255, 0.1f}, {1, 254, 0.03f}, {1, 255, 0.06f}});
  expectGrowth(growthAt(255, 0),
               {{254, 0, 0.06f}, {254, 1, 0.03f}, {255, 0, 0.1f}, {255, 1, 0.06f}});
  expectGrowth(growthAt(0, 128), {{0, 127, 0.06f},
                                  {0, 128, 0.1f},
                                  {0, 129, 0.06f},
                                  {1, 127, 0.03f},
                                  {1, 128, 0.06f},
                                  {1, 129, 0.03f}});
  expectGrowth(growthAt(128, 255), {{127, 254, 0.03f},
                                    {127, 255, 0.06f},
                                    {128, 254, 0.06f},
                                    {128, 255, 0.1f},
                                    {129, 254, 0.03f},
                                    {129, 255, 0.06f}});
}

TEST(Brush, EachAdditionIsRoundedToSinglePrecision) {
  auto scene = flatScene();
  scene->heights[128][128] = 1.0f / 3.0f;
  scene->advance();
  EXPECT_EQ(scene->heights[128][128], 1.0f / 3.0f + 0.1f);
}

TEST(Camera, ClosesGeometricallyWithoutOvershoot) {
  auto scene = flatScene();
  scene->cursorX = 158;
  scene->cursorY = 98;
  const float k = 1.0f / 15.0f;
  double expectedGap = 30.0;
  float lastGapX = 30.0f;
  for (int frame = 1; frame <= 200; ++frame) {
    scene->advance();
    expectedGap *= 1.0 - k;
    const float gapX = 158.0f - scene->camX;
    const float gapY = scene->camY - 98.0f;
    EXPECT_NEAR(gapX, expectedGap, 1e-4) << "frame " << frame;
    EXPECT_NEAR(gapY, expectedGap, 1e-4) << "frame " << frame;
    EXPECT_GE(gapX, 0.0f);
    EXPECT_LE(gapX, lastGapX);
    lastGapX = gapX;
  }
}

TEST(Camera, FollowFactorIsTheFloatNearestOneFifteenth) {
  auto scene = flatScene();
  scene->cursorX = 143;
  scene->advance();
  // One step from 128 toward 143 covers 15 × k, which is just over 1 in single precision.
  EXPECT_EQ(scene->camX, 128.0f + 15.0f * (1.0f / 15.0f));
}

TEST(Camera, HeightTrailsAStillCursorByOnePointFour) {
  auto scene = flatScene();
  for (int frame = 0; frame < 400; ++frame) scene->advance();
  EXPECT_NEAR(scene->heights[128][128] - scene->camZ, 0.1 * (14.0 / 15.0) / (1.0 / 15.0), 1e-3);
  EXPECT_LT(scene->camZ, scene->heights[128][128]);
}

TEST(Camera, HeightFollowsTheCellAfterThisFramesGrowth) {
  auto scene = flatScene();
  scene->advance();
  EXPECT_EQ(scene->camZ, 0.1f * (1.0f / 15.0f));
}

}  // namespace
