// The program's start-up, from main to the main loop, call by call.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include "callbacks.h"
#include "recorder.h"
#include "scene.h"

int programMain(int argc, char** argv);

namespace {

using recorder::call;
using recorder::Call;
using recorder::calls;
using recorder::glut;

TEST(StartUp, OpensTheWindowSetsStateGoesFullScreenThenWiresCallbacksAndTimer) {
  recorder::reset();
  char name[] = "sculpt_lines";
  char* argv[] = {name, nullptr};
  EXPECT_EQ(programMain(1, argv), 0);  // the stand-in's main loop returns

  Call window = call("glutCreateWindow");
  window.text = "";
  const std::vector<Call> expected = {
      call("glutInit", {1}),
      call("glutInitDisplayMode", {GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH}),
      call("glutInitWindowSize", {640, 480}),
      call("glutInitWindowPosition", {100, 100}),
      window,
      call("glEnable", {GL_TEXTURE_2D}),
      call("glEnable", {GL_BLEND}),
      call("glEnable", {GL_DEPTH_TEST}),
      call("glEnable", {GL_LINE_SMOOTH}),
      call("glLineWidth", {1}),
      call("glDepthFunc", {GL_LEQUAL}),
      call("glClearDepth", {1}),
      call("glShadeModel", {GL_SMOOTH}),
      call("glBlendFunc", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}),
      call("glClearColor", {0.46875, 0.5234375, 0.2578125, 0}),
      call("glMatrixMode", {GL_PROJECTION}),
      call("glLoadIdentity"),
      call("glMatrixMode", {GL_MODELVIEW}),
      call("glLoadIdentity"),
      call("glHint", {GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST}),
      call("glutGet", {GLUT_WINDOW_X}),
      call("glutGet", {GLUT_WINDOW_Y}),
      call("glutGet", {GLUT_WINDOW_WIDTH}),
      call("glutGet", {GLUT_WINDOW_HEIGHT}),
      call("glutFullScreen"),
      call("glutSetCursor", {GLUT_CURSOR_NONE}),
      call("glutDisplayFunc"),
      call("glutReshapeFunc"),
      call("glutMouseFunc"),
      call("glutKeyboardFunc"),
      call("glutSpecialFunc"),
      call("glutPassiveMotionFunc"),
      call("glutMotionFunc"),
      call("glutTimerFunc", {5, 0}),
      call("glutMainLoop"),
  };
  EXPECT_EQ(calls(), expected);

  // One scene, published before any callback could need it, already full screen.
  ASSERT_NE(g_scene, nullptr);
  EXPECT_TRUE(g_scene->fullScreen);
  EXPECT_EQ(g_scene->savedWidth, 640);
  EXPECT_EQ(g_scene->savedHeight, 480);
  EXPECT_EQ(glut().cursor, GLUT_CURSOR_NONE);

  EXPECT_EQ(glut().display, &displayCallback);
  EXPECT_EQ(glut().reshape, &reshapeCallback);
  EXPECT_EQ(glut().mouse, &mouseCallback);
  EXPECT_EQ(glut().keyboard, &keyboardCallback);
  EXPECT_EQ(glut().special, &specialCallback);
  EXPECT_EQ(glut().passiveMotion, &motionCallback);
  EXPECT_EQ(glut().motion, &motionCallback);
  EXPECT_EQ(glut().timer, &timerCallback);
  EXPECT_EQ(glut().pendingTimers, 1);
}

}  // namespace
