// sculpt_grey's draw step, call by call: the cursor marker, then the grey strips.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include "draw_calls.h"
#include "test_scene.h"

namespace {

using recorder::call;
using recorder::Call;
using recorder::calls;
using recorder::colour;
using recorder::vertex;

constexpr size_t kMarkerEnd = 6 + 16;         // view set-up, then push … pop of the marker
constexpr size_t kFirstRow = kMarkerEnd + 1;  // after the surface's translation
constexpr size_t kRowCalls = 2 + 256 * 4;
constexpr size_t kLastRowCalls = 2 + 256 * 3;  // the rim vertices have no colour call

std::vector<Call> row(int i) {
  return recordedSlice(kFirstRow + i * kRowCalls, i == 255 ? kLastRowCalls : kRowCalls);
}

class GreyFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = flatScene();
    scene->cursorX = 40;
    scene->cursorY = 200;
    scene->camX = 37.5f;
    scene->camY = 201.25f;
    scene->camZ = 0.9f;
  }
  std::unique_ptr<Scene> scene;
};

TEST_F(GreyFrame, DrawsTheMarkerAtTheCameraHeightBeforeTheSurface) {
  scene->draw();
  const std::vector<Call> expected = {
      call("glRenderMode", {GL_RENDER}),
      call("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
      call("glLoadIdentity"),
      call("glPushMatrix"),
      call("glRotatef", {-60.0f, 1.0f, 0.3f, 0.3f}),
      call("glScalef", {0.05f, 0.05f, 0.05f}),
      call("glPushMatrix"),
      call("glTranslatef", {2.5f, -1.25f, 0.9f}),  // cursor − camera, at camZ
      call("glRotatef", {0.9f * 100.0f, 0, 0, 1}),
      call("glBegin", {GL_LINE_STRIP}),
      colour(1, 0, 0, 1),
      vertex(2, 2, 0),
      colour(1, 1, 1, 1),
      vertex(-2, 2, 0),
      colour(1, 0, 0, 1),
      vertex(-2, -2, 0),
      colour(1, 1, 1, 1),
      vertex(2, -2, 0),
      colour(1, 0, 0, 1),
      vertex(2, 2, 0),
      call("glEnd"),
      call("glPopMatrix"),
      call("glTranslatef", {-37.5f, -201.25f, 0.0f}),
      call("glBegin", {GL_QUAD_STRIP})};
  EXPECT_EQ(recordedSlice(0, expected.size()), expected);
  ASSERT_EQ(calls().size(), kFirstRow + 255 * kRowCalls + kLastRowCalls + 2);
  EXPECT_EQ(calls()[calls().size() - 2], call("glPopMatrix"));
  EXPECT_EQ(calls().back(), call("glutSwapBuffers"));
}

TEST_F(GreyFrame, StripsJoinEachRowToTheNextInTheGreyOfTheHeight) {
  scene->heights[7][3] = 0.5f;
  scene->heights[8][3] = 1.5f;  // above 1: passed on unclamped, so OpenGL draws it white
  scene->draw();
  for (int i = 0; i < 256; ++i) {
    const auto r = row(i);
    ASSERT_EQ(r.front(), call("glBegin", {GL_QUAD_STRIP})) << "row " << i;
    ASSERT_EQ(r.back(), call("glEnd")) << "row " << i;
  }
  const auto r7 = row(7);
  const std::vector<Call> pair = {colour(0.5f, 0.5f, 0.5f, 0.3f), vertex(7, 3, 0.5f),
                                  colour(1.5f, 1.5f, 1.5f, 0.3f), vertex(8, 3, 1.5f)};
  EXPECT_EQ(std::vector<Call>(r7.begin() + 1 + 4 * 3, r7.begin() + 5 + 4 * 3), pair);
  EXPECT_EQ(recordedCount("glVertex3f"), 5 + 256 * 512);
  EXPECT_EQ(recordedCount("glColor4f"), 5 + 256 * 512 - 256);
}

TEST_F(GreyFrame, LastStripEndsInAFlatRimInTheGreyOfRow255) {
  scene->heights[255][10] = 0.75f;
  scene->draw();
  const auto last = row(255);
  const std::vector<Call> rim = {colour(0.75f, 0.75f, 0.75f, 0.3f), vertex(255, 10, 0.75f),
                                 vertex(256, 10, 0)};
  EXPECT_EQ(std::vector<Call>(last.begin() + 1 + 3 * 10, last.begin() + 4 + 3 * 10), rim);
}

TEST_F(GreyFrame, MarkerTurnsAHundredDegreesPerUnitOfCameraHeight) {
  scene->camZ = 0.0f;
  scene->draw();
  EXPECT_EQ(calls()[7], call("glTranslatef", {2.5f, -1.25f, 0.0f}));
  EXPECT_EQ(calls()[8], call("glRotatef", {0.0f, 0, 0, 1}));
}

TEST(GreyModel, GrowsTheNineCellsAndTheCameraFollowsTheHeight) {
  auto scene = flatScene();
  scene->advance();
  EXPECT_EQ(scene->heights[128][128], 0.1f);
  EXPECT_EQ(scene->heights[127][127], 0.03f);
  EXPECT_EQ(scene->heights[129][128], 0.06f);
  EXPECT_EQ(scene->camZ, 0.1f * (1.0f / 15.0f));
}

}  // namespace
