// The shell through the recording stand-in: callbacks, keys, the full-screen toggle and reshape.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include "callbacks.h"
#include "test_scene.h"

namespace {

using recorder::call;
using recorder::calls;
using recorder::glut;

int frameCount() {
  int frames = 0;
  for (const auto& c : calls()) frames += c.name == "glutSwapBuffers";
  return frames;
}

TEST(Callbacks, OnlyTheLeftButtonReachesThePointer) {
  // The pointer handler changes nothing, so a reached handler is seen only as an unchanged scene;
  // what is checked is that no button, state or motion does anything else.
  auto scene = flatScene();
  const Scene before = *scene;
  for (int button : {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON, 3, 4, -1})
    for (int state : {GLUT_DOWN, GLUT_UP}) mouseCallback(button, state, 5, 7);
  motionCallback(-10, 100000);
  EXPECT_TRUE(sameScene(before, *scene));
  EXPECT_TRUE(calls().empty());
}

TEST(Callbacks, KeysAbove127AreNeverNegative) {
  // Every code but Esc is harmless; a key arriving as a negative number would not be.
  auto scene = flatScene();
  const Scene before = *scene;
  for (int key = 0; key < 256; ++key)
    if (key != 27) keyboardCallback(static_cast<unsigned char>(key), 0, 0);
  EXPECT_TRUE(sameScene(before, *scene));
}

TEST(Callbacks, TimerRunsOneFrameAndRearmsWithPeriodFiveAndItsValue) {
  auto scene = flatScene();
  glutTimerFunc(framePeriod(), timerCallback, 0);
  calls().clear();
  for (int n = 1; n <= 3; ++n) {
    recorder::fireTimer();
    EXPECT_EQ(frameCount(), n);
    ASSERT_FALSE(calls().empty());
    EXPECT_EQ(calls().back(), call("glutTimerFunc", {5, 0}));
    EXPECT_EQ(glut().timer, &timerCallback);
    EXPECT_EQ(glut().pendingTimers, 1);
  }
  EXPECT_FLOAT_EQ(scene->heights[128][128], 0.3f);
}

TEST(Callbacks, DisplayAndReshapeEachRunOneModelStep) {
  auto scene = flatScene();
  displayCallback();
  reshapeCallback(800, 600);
  EXPECT_EQ(frameCount(), 2);
  EXPECT_FLOAT_EQ(scene->heights[128][128], 0.2f);
}

TEST(Keys, ArrowsMoveOneCellAndStopAtTheBorder) {
  auto scene = flatScene();
  specialCallback(GLUT_KEY_RIGHT, 0, 0);
  specialCallback(GLUT_KEY_UP, 0, 0);
  EXPECT_EQ(scene->cursorX, 129);
  EXPECT_EQ(scene->cursorY, 129);
  for (int n = 0; n < 300; ++n) {
    specialCallback(GLUT_KEY_LEFT, 0, 0);
    specialCallback(GLUT_KEY_DOWN, 0, 0);
  }
  EXPECT_EQ(scene->cursorX, 0);
  EXPECT_EQ(scene->cursorY, 0);
  for (int n = 0; n < 300; ++n) {
    specialCallback(GLUT_KEY_RIGHT, 0, 0);
    specialCallback(GLUT_KEY_UP, 0, 0);
  }
  EXPECT_EQ(scene->cursorX, 255);
  EXPECT_EQ(scene->cursorY, 255);
  specialCallback(GLUT_KEY_DOWN, 0, 0);
  EXPECT_EQ(scene->cursorY, 254);
  EXPECT_TRUE(calls().empty());  // keys draw nothing; their effect shows with the next frame
}

TEST(Keys, OtherSpecialKeysChangeNothing) {
  auto scene = flatScene();
  const Scene before = *scene;
  for (int key : {GLUT_KEY_F1, GLUT_KEY_F10, GLUT_KEY_F12, GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN,
                  GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_INSERT, 0, -1, 99, 104, 1000})
    specialCallback(key, 3, 4);
  EXPECT_TRUE(sameScene(before, *scene));
  EXPECT_TRUE(calls().empty());
}

TEST(Keys, EscapeEndsTheProgramWithStatusZero) {
#if GTEST_HAS_DEATH_TEST
  auto scene = flatScene();
  EXPECT_EXIT(keyboardCallback(27, 0, 0), ::testing::ExitedWithCode(0), "");
  scene->fullScreen = false;
  EXPECT_EXIT(keyboardCallback(27, 0, 0), ::testing::ExitedWithCode(0), "");
#else
  GTEST_SKIP() << "no child processes here; the browser tests press Esc in the real page";
#endif
}

TEST(FullScreen, StartUpSavesTheNewWindowAndEachF11Toggles) {
  auto scene = initialisedScene();
  EXPECT_TRUE(scene->fullScreen);
  EXPECT_EQ(scene->savedX, 100);
  EXPECT_EQ(scene->savedY, 100);
  EXPECT_EQ(scene->savedWidth, 640);
  EXPECT_EQ(scene->savedHeight, 480);

  specialCallback(GLUT_KEY_F11, 0, 0);
  EXPECT_FALSE(scene->fullScreen);
  const std::vector<recorder::Call> leave = {call("glutReshapeWindow", {640, 480}),
                                             call("glutPositionWindow", {100, 100})};
  EXPECT_EQ(calls(), leave);

  // The user moves and resizes the window; the next entry saves that geometry and the next
  // leaving restores it.
  glut().window = {30, 40, 800, 500};
  calls().clear();
  specialCallback(GLUT_KEY_F11, 0, 0);
  EXPECT_TRUE(scene->fullScreen);
  const std::vector<recorder::Call> enter = {
      call("glutGet", {GLUT_WINDOW_X}), call("glutGet", {GLUT_WINDOW_Y}),
      call("glutGet", {GLUT_WINDOW_WIDTH}), call("glutGet", {GLUT_WINDOW_HEIGHT}),
      call("glutFullScreen")};
  EXPECT_EQ(calls(), enter);

  calls().clear();
  specialCallback(GLUT_KEY_F11, 0, 0);
  EXPECT_FALSE(scene->fullScreen);
  const std::vector<recorder::Call> restore = {call("glutReshapeWindow", {800, 500}),
                                               call("glutPositionWindow", {30, 40})};
  EXPECT_EQ(calls(), restore);
}

// The projection calls of one reshape, up to the frame that follows them.
std::vector<recorder::Call> projectionCalls(int width, int height) {
  auto scene = flatScene();
  reshapeCallback(width, height);
  EXPECT_EQ(scene->viewWidth, width);
  EXPECT_EQ(scene->viewHeight, height);
  EXPECT_EQ(frameCount(), 1);
  return {calls().begin(), calls().begin() + 8};
}

std::vector<recorder::Call> expectedProjection(int width, int height, double aspect) {
  return {call("glViewport", {0, 0, double(width), double(height)}),
          call("glMatrixMode", {GL_PROJECTION}),
          call("glLoadIdentity"),
          call("gluPerspective", {60.0, aspect, 0.10000000149011612, 100.0}),
          call("gluLookAt", {0, 0, 1, 0, 0, 0, 0, 1, 0}),
          call("glMatrixMode", {GL_MODELVIEW}),
          call("glLoadIdentity"),
          call("glRenderMode", {GL_RENDER})};
}

TEST(Reshape, SetsViewportProjectionAndEyeThenDrawsAFrame) {
  EXPECT_EQ(projectionCalls(640, 480), expectedProjection(640, 480, 1.3333333333333333));
  EXPECT_EQ(projectionCalls(1920, 1080), expectedProjection(1920, 1080, 1.7777777777777777));
  EXPECT_EQ(projectionCalls(500, 500), expectedProjection(500, 500, 1.0));
  EXPECT_EQ(projectionCalls(1, 100000), expectedProjection(1, 100000, 1e-5));
}

TEST(Reshape, ZeroHeightIsTakenAsOnePixelForTheAspect) {
  EXPECT_EQ(projectionCalls(640, 0), expectedProjection(640, 0, 640.0));
  EXPECT_EQ(projectionCalls(0, 0), expectedProjection(0, 0, 0.0));
}

}  // namespace
