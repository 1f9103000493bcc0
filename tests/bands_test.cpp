// sculpt_bands: the height-band palette and the draw step with its wall, threshold passes and
// guide lines.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "draw_calls.h"
#include "random.h"
#include "test_scene.h"

namespace {

using recorder::call;
using recorder::Call;
using recorder::calls;
using recorder::colour;
using recorder::vertex;

Call bandOf(float height) {
  calls().clear();
  Scene().bandColour(height);
  EXPECT_EQ(calls().size(), 1u);
  return calls().empty() ? Call{} : calls().front();
}

TEST(Palette, EachBandTakesItsLowerEdge) {
  recorder::reset();
  struct Band {
    float edge, r, g, b;
  };
  const Band bands[] = {{1, 1, 0.5f, 0}, {3, 1, 0, 0},     {5, 0.5f, 0, 0.5f},  {7, 0.5f, 0, 1},
                        {9, 0, 0, 1},    {11, 0, 0.5f, 1}, {13, 0, 0.5f, 0.5f}, {15, 0, 1, 0.5f},
                        {17, 0, 1, 0},   {19, 1, 1, 1}};
  for (size_t n = 0; n < std::size(bands); ++n) {
    const Band& b = bands[n];
    EXPECT_EQ(bandOf(b.edge), colour(b.r, b.g, b.b, 0.3f)) << "at " << b.edge;
    const float below = std::nextafter(b.edge, 0.0f);
    const Call expectedBelow = n == 0
                                   ? colour(below, below, below, 0.3f)
                                   : colour(bands[n - 1].r, bands[n - 1].g, bands[n - 1].b, 0.3f);
    EXPECT_EQ(bandOf(below), expectedBelow) << "just below " << b.edge;
  }
}

TEST(Palette, GreyRampBelowOneWhiteAboveAndNaNIsGrey) {
  recorder::reset();
  EXPECT_EQ(bandOf(0.0f), colour(0, 0, 0, 0.3f));
  EXPECT_EQ(bandOf(0.5f), colour(0.5f, 0.5f, 0.5f, 0.3f));
  EXPECT_EQ(bandOf(18.99f), colour(0, 1, 0, 0.3f));
  EXPECT_EQ(bandOf(1000.0f), colour(1, 1, 1, 0.3f));
  const Call nan = bandOf(std::nanf(""));
  EXPECT_TRUE(std::isnan(nan.args[0]) && std::isnan(nan.args[1]) && std::isnan(nan.args[2]));
  EXPECT_EQ(nan.args[3], double(0.3f));
}

TEST(BandsModel, StartsFromHalvedRandomHeights) {
  recorder::reset();
  auto scene = std::make_unique<Scene>();
  seedRandom(1);
  scene->init();
  EXPECT_EQ(scene->heights[0][0], 41 * kRandomScale * 0.5f);
  EXPECT_EQ(scene->heights[0][1], 18467 * kRandomScale * 0.5f);
  for (auto& row : scene->heights)
    for (float h : row) ASSERT_LE(h, 0.5f);
}

class BandsFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = flatScene();
    scene->cursorX = 3;
    scene->cursorY = 250;
    scene->camX = 10.0f;
    scene->camY = 240.0f;
  }

  // The vertices between the pass's glBegin(mode) (the `nth` of that mode) and its glEnd.
  std::vector<Call> pass(GLenum mode, int nth = 0) {
    const auto begins = recordedPositions("glBegin");
    int seen = 0;
    for (size_t at : begins) {
      if (calls()[at] != call("glBegin", {double(mode)})) continue;
      if (seen++ < nth) continue;
      std::vector<Call> inside;
      for (size_t n = at + 1; calls()[n].name != "glEnd"; ++n) inside.push_back(calls()[n]);
      return inside;
    }
    ADD_FAILURE() << "no such pass";
    return {};
  }
  std::unique_ptr<Scene> scene;
};

TEST_F(BandsFrame, SetsTheTurnedViewAndEndsWithGuideLinesAndSwap) {
  scene->camZ = 6.0f;
  scene->draw();
  const std::vector<Call> prefix = {call("glRenderMode", {GL_RENDER}),
                                    call("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
                                    call("glLoadIdentity"),
                                    call("glPushMatrix"),
                                    call("glRotatef", {-60.0f, 1.0f, 0.0f, -0.3f}),
                                    call("glRotatef", {-30.0f, 1.0f, 0.0f, 1.0f}),
                                    call("glScalef", {0.05f, 0.05f, 0.05f}),
                                    call("glTranslatef", {-10.0f, -240.0f, -3.0f}),
                                    call("glBegin", {GL_QUAD_STRIP})};
  EXPECT_EQ(recordedSlice(0, prefix.size()), prefix);
  const Call p = vertex(3, 250, 6.0f);
  const std::vector<Call> guides = {colour(1, 1, 0, 1),
                                    call("glBegin", {GL_LINES}),
                                    p,
                                    vertex(0, 0, 0),
                                    p,
                                    vertex(255, 0, 0),
                                    p,
                                    vertex(255, 255, 0),
                                    p,
                                    vertex(0, 255, 0),
                                    call("glEnd"),
                                    call("glPopMatrix"),
                                    call("glutSwapBuffers")};
  EXPECT_EQ(recordedSlice(calls().size() - guides.size(), guides.size()), guides);
}

TEST_F(BandsFrame, NoCameraHeightMeansNoSecondTurnAndNoShift) {
  scene->camZ = 0.0f;
  scene->draw();
  EXPECT_EQ(calls()[5], call("glRotatef", {-0.0f, 1, 0, 1}));
  EXPECT_EQ(calls()[7], call("glTranslatef", {-10.0f, -240.0f, -0.0f}));
}

TEST_F(BandsFrame, SurfaceIsColouredByBandAndItsLastStripIsAWallToTheBase) {
  scene->heights[4][9] = 2.0f;
  scene->heights[255][9] = 12.0f;
  scene->draw();
  const auto strip3 = pass(GL_QUAD_STRIP, 3);
  const std::vector<Call> pair = {colour(0, 0, 0, 0.3f), vertex(3, 9, 0), colour(1, 0.5f, 0, 0.3f),
                                  vertex(4, 9, 2.0f)};
  EXPECT_EQ(std::vector<Call>(strip3.begin() + 4 * 9, strip3.begin() + 4 * 10), pair);

  const auto wall = pass(GL_QUAD_STRIP, 255);
  ASSERT_EQ(wall.size(), 256u * 3);
  const std::vector<Call> foot = {colour(0, 0.5f, 1, 0.3f), vertex(255, 9, 12.0f),
                                  vertex(255, 9, 0)};
  EXPECT_EQ(std::vector<Call>(wall.begin() + 3 * 9, wall.begin() + 3 * 10), foot);
  EXPECT_EQ(recordedCount(call("glBegin", {GL_QUAD_STRIP})), 256);
}

TEST_F(BandsFrame, ThresholdPassesAreEmptyPrimitivesOnTheLowStartingField) {
  scene->draw();
  const std::vector<Call> passes = {
      colour(0, 0, 0, 1),          call("glBegin", {GL_LINE_STRIP}), call("glEnd"),
      colour(1, 0, 0, 1),          call("glBegin", {GL_LINE_STRIP}), call("glEnd"),
      colour(0.8f, 0.8f, 1, 0.3f), call("glBegin", {GL_POLYGON}),    call("glEnd")};
  const size_t surfaceEnd = 9 + 255 * (2 + 256 * 4) + 2 + 256 * 3 - 1;
  EXPECT_EQ(recordedSlice(surfaceEnd, passes.size()), passes);
}

TEST_F(BandsFrame, PassesTakeCellsStrictlyAboveTheirThresholdInScanOrder) {
  scene->heights[3][7] = 1.0f;      // exactly at the first threshold: left out
  scene->heights[3][8] = 5.0f;      // in pass 1 only
  scene->heights[200][40] = 10.0f;  // in passes 1 and 2
  scene->heights[200][41] = 10.5f;  // in all three
  scene->heights[0][0] = 1.25f;     // first in scan order
  scene->draw();
  EXPECT_EQ(pass(GL_LINE_STRIP, 0),
            (std::vector<Call>{vertex(0, 0, 1.25f), vertex(3, 8, 5.0f), vertex(200, 40, 10.0f),
                               vertex(200, 41, 10.5f)}));
  EXPECT_EQ(pass(GL_LINE_STRIP, 1),
            (std::vector<Call>{vertex(200, 40, 10.0f), vertex(200, 41, 10.5f)}));
  EXPECT_EQ(pass(GL_POLYGON), (std::vector<Call>{vertex(200, 41, 10.5f)}));
}

}  // namespace
