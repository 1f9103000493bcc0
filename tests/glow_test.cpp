// sculpt_glow: its flat start, its centre-only growth without camera height, and its draw step
// with the blue cursor point.
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

const Call kBlue = colour(0, 0, 1, 1);

TEST(GlowModel, StartsPerfectlyFlatWithoutDrawingARandomNumber) {
  recorder::reset();
  auto scene = std::make_unique<Scene>();
  for (auto& row : scene->heights)
    for (float& h : row) h = 7.0f;  // fresh memory is not counted on to be zero
  seedRandom(1);
  scene->init();
  for (auto& row : scene->heights)
    for (float h : row) ASSERT_EQ(h, 0.0f);
  EXPECT_EQ(randomInt(), 41);  // still the first number of seed 1
}

TEST(GlowModel, GrowsOnlyTheCursorCellAndLeavesTheCameraHeightAlone) {
  auto scene = flatScene();
  scene->camZ = std::nanf("");  // neither read nor written: a NaN would spread if it were
  scene->cursorX = 0;
  scene->cursorY = 255;
  for (int frame = 0; frame < 10; ++frame) scene->advance();
  EXPECT_NEAR(scene->heights[0][255], 1.0f, 1e-5);
  float elsewhere = 0.0f;
  for (int x = 0; x < kGridSize; ++x)
    for (int y = 0; y < kGridSize; ++y)
      if (x != 0 || y != 255) elsewhere += scene->heights[x][y];
  EXPECT_EQ(elsewhere, 0.0f);
  EXPECT_TRUE(std::isnan(scene->camZ));
  EXPECT_LT(scene->camX, 128.0f);  // the camera still follows the cursor across the field
  EXPECT_GT(scene->camY, 128.0f);
}

class GlowFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = flatScene();
    scene->heights[128][128] = 2.5f;
    scene->camX = 120.0f;
    scene->camY = 130.5f;
  }
  // Rows of the frame in which the blue colour is sent, once per sending.
  std::vector<int> blueRows() {
    std::vector<int> rows;
    int rowIndex = -1;
    for (const Call& c : calls()) {
      if (c.name == "glBegin") ++rowIndex;
      if (c == kBlue) rows.push_back(rowIndex);
    }
    return rows;
  }
  std::unique_ptr<Scene> scene;
};

TEST_F(GlowFrame, SetsTheViewAndDrawsGreyStripsWithTheCursorPointBlue) {
  scene->draw();
  const std::vector<Call> prefix = {call("glRenderMode", {GL_RENDER}),
                                    call("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
                                    call("glLoadIdentity"),
                                    call("glPushMatrix"),
                                    call("glRotatef", {-60.0f, 1.0f, 0.3f, 0.3f}),
                                    call("glScalef", {0.05f, 0.05f, 0.05f}),
                                    call("glTranslatef", {-120.0f, -130.5f, 0.0f}),
                                    call("glBegin", {GL_QUAD_STRIP}),
                                    colour(0, 0, 0, 0.3f),
                                    vertex(0, 0, 0)};
  EXPECT_EQ(recordedSlice(0, prefix.size()), prefix);
  EXPECT_EQ(recordedCount(call("glBegin", {GL_QUAD_STRIP})), 256);
  EXPECT_EQ(recordedCount("glVertex3f"), 256 * 512);
  EXPECT_EQ(recordedCount("glColor4f"), 256 * 512 - 256);
  EXPECT_EQ(calls()[calls().size() - 2], call("glPopMatrix"));
  EXPECT_EQ(calls().back(), call("glutSwapBuffers"));

  // The blue point sits at the cursor cell's real height, the tip of its spike.
  const auto blue = std::find(calls().begin(), calls().end(), kBlue);
  ASSERT_LT(blue + 1, calls().end());
  EXPECT_EQ(*(blue + 1), vertex(128, 128, 2.5f));
  EXPECT_EQ(blueRows(), (std::vector<int>{127, 128}));
}

TEST_F(GlowFrame, BlueIsSentOnceOnTheFirstRowAndRunsDownTheRimOnTheLast) {
  scene->cursorX = 0;
  scene->draw();
  EXPECT_EQ(blueRows(), (std::vector<int>{0}));

  calls().clear();
  scene->cursorX = 255;
  scene->cursorY = 17;
  scene->draw();
  EXPECT_EQ(blueRows(), (std::vector<int>{254, 255}));
  const auto blue = std::find_end(calls().begin(), calls().end(), &kBlue, &kBlue + 1);
  const std::vector<Call> rim = {kBlue, vertex(255, 17, 0), vertex(256, 17, 0)};
  EXPECT_EQ(std::vector<Call>(blue, blue + 3), rim);
}

TEST_F(GlowFrame, CameraHeightChangesNothingInThePicture) {
  scene->camZ = 0.0f;
  scene->draw();
  const std::vector<Call> flat = calls();
  calls().clear();
  scene->camZ = 123.0f;
  scene->draw();
  EXPECT_TRUE(calls() == flat);
}

}  // namespace
