// sculpt_lines' draw step, call by call, for small known fields.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "test_scene.h"

namespace {

using recorder::call;
using recorder::Call;
using recorder::calls;
using recorder::colour;
using recorder::vertex;

constexpr size_t kPrefix = 8;           // calls before the first row
constexpr size_t kRowCalls = 2 + 1024;  // glBegin, 256 × (colour, vertex, colour, vertex), glEnd
constexpr size_t kLastRowCalls = 2 + 768;  // the drop points have no colour call

// The calls of row i, glBegin to glEnd.
std::vector<Call> row(int i) {
  const auto begin = calls().begin() + kPrefix + i * kRowCalls;
  return {begin, begin + (i == 255 ? kLastRowCalls : kRowCalls)};
}

// The calls of segment j within row i (i < 255): colour, vertex, colour, vertex.
std::vector<Call> segment(int i, int j) {
  const auto r = row(i);
  return {r.begin() + 1 + 4 * j, r.begin() + 5 + 4 * j};
}

class LinesFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = flatScene();
    scene->heights[3][7] = 0.5f;
    scene->heights[4][7] = 2.0f;
    scene->heights[5][9] = 0.25f;
    scene->cursorX = 5;
    scene->cursorY = 9;
    scene->camX = 6.5f;
    scene->camY = 8.25f;
    scene->camZ = 2.5f;
  }
  std::unique_ptr<Scene> scene;
};

TEST_F(LinesFrame, SetsTheViewThenDrawsEveryRowThenSwaps) {
  scene->draw();
  const std::vector<Call> prefix = {call("glRenderMode", {GL_RENDER}),
                                    call("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
                                    call("glLoadIdentity"),
                                    call("glPushMatrix"),
                                    call("glRotatef", {-60.0f, 1.0f, -0.3f, -0.3f}),
                                    call("glRotatef", {-2.5f, 0.0f, 0.0f, 1.0f}),
                                    call("glScalef", {0.05f, 0.05f, 0.05f}),
                                    call("glTranslatef", {-6.5f, -8.25f, 0.0f})};
  ASSERT_EQ(calls().size(), kPrefix + 255 * kRowCalls + kLastRowCalls + 2);
  EXPECT_EQ(std::vector<Call>(calls().begin(), calls().begin() + kPrefix), prefix);
  EXPECT_EQ(calls()[calls().size() - 2], call("glPopMatrix"));
  EXPECT_EQ(calls().back(), call("glutSwapBuffers"));
  for (int i = 0; i < 256; ++i) {
    const auto r = row(i);
    EXPECT_EQ(r.front(), call("glBegin", {GL_LINES})) << "row " << i;
    EXPECT_EQ(r.back(), call("glEnd")) << "row " << i;
  }
}

TEST_F(LinesFrame, JoinsEachCellToTheNextRowWithHeightScaledByTheCameraHeight) {
  scene->draw();
  const float s = std::tan(2.5f * 0.1f);
  EXPECT_NEAR(s, 0.2553419, 1e-6);
  // The grey is the raw height in all four components; only the vertex height is scaled.
  const std::vector<Call> row3 = {colour(0.5f, 0.5f, 0.5f, 0.5f), vertex(3, 7, s * 0.5f),
                                  colour(2.0f, 2.0f, 2.0f, 2.0f), vertex(4, 7, s * 2.0f)};
  EXPECT_EQ(segment(3, 7), row3);
  const std::vector<Call> row2 = {colour(0, 0, 0, 0), vertex(2, 7, 0),
                                  colour(0.5f, 0.5f, 0.5f, 0.5f), vertex(3, 7, s * 0.5f)};
  EXPECT_EQ(segment(2, 7), row2);
}

TEST_F(LinesFrame, CursorCellIsRedFromBothSides) {
  scene->draw();
  const float s = std::tan(2.5f * 0.1f);
  const std::vector<Call> into = {colour(0, 0, 0, 0), vertex(4, 9, 0), colour(1, 0, 0, 1),
                                  vertex(5, 9, s * 0.25f)};
  const std::vector<Call> from = {colour(1, 0, 0, 1), vertex(5, 9, s * 0.25f), colour(0, 0, 0, 0),
                                  vertex(6, 9, 0)};
  EXPECT_EQ(segment(4, 9), into);
  EXPECT_EQ(segment(5, 9), from);
  EXPECT_EQ(std::count(calls().begin(), calls().end(), colour(1, 0, 0, 1)), 2);
}

TEST_F(LinesFrame, LastRowDropsToTheBasePlanePastTheEdge) {
  scene->heights[255][9] = 3.0f;
  scene->cursorX = 255;
  scene->draw();
  const float s = std::tan(2.5f * 0.1f);
  const auto last = row(255);
  const std::vector<Call> cursorDrop = {colour(1, 0, 0, 1), vertex(255, 9, s * 3.0f),
                                        vertex(256, 9, 0)};
  EXPECT_EQ(std::vector<Call>(last.begin() + 1 + 3 * 9, last.begin() + 4 + 3 * 9), cursorDrop);
  const std::vector<Call> plainDrop = {colour(0, 0, 0, 0), vertex(255, 0, 0), vertex(256, 0, 0)};
  EXPECT_EQ(std::vector<Call>(last.begin() + 1, last.begin() + 4), plainDrop);
  // Red once as the end of row 254's segment, once as the start of the drop.
  EXPECT_EQ(std::count(calls().begin(), calls().end(), colour(1, 0, 0, 1)), 2);
}

TEST_F(LinesFrame, CursorOnTheFirstRowIsRedOnlyWhereItsSegmentStarts) {
  scene->cursorX = 0;
  scene->draw();
  EXPECT_EQ(std::count(calls().begin(), calls().end(), colour(1, 0, 0, 1)), 1);
  EXPECT_EQ(segment(0, 9)[0], colour(1, 0, 0, 1));
}

TEST_F(LinesFrame, NoCameraHeightMeansAFlatUnspunField) {
  scene->camZ = 0.0f;
  scene->draw();
  EXPECT_EQ(calls()[5], call("glRotatef", {-0.0f, 0, 0, 1}));
  for (const Call& c : calls()) {
    if (c.name == "glVertex3f") {
      ASSERT_EQ(c.args[2], 0.0) << ::testing::PrintToString(c);
    }
  }
}

TEST_F(LinesFrame, AFrameDrawsTheHeightsAndCameraThatItsModelStepLeft) {
  scene->frame();
  // The model step grew the cursor cell by 0.1 and moved the camera before anything was drawn.
  const float k = 1.0f / 15.0f;
  const float camZ = 2.5f + (0.35f - 2.5f) * k;
  EXPECT_EQ(calls()[5], call("glRotatef", {-camZ, 0, 0, 1}));
  EXPECT_EQ(calls()[7], call("glTranslatef",
                             {-(6.5f + (5.0f - 6.5f) * k), -(8.25f + (9.0f - 8.25f) * k), 0.0f}));
  EXPECT_EQ(segment(5, 9)[1], vertex(5, 9, std::tan(camZ * 0.1f) * 0.35f));
}

}  // namespace
