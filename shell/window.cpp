// Opening the window with its fixed rendering state, the full-screen toggle, and the projection
// that follows every change of window size.
#include <GL/glu.h>
#include <GL/glut.h>

#include "scene.h"

namespace {
constexpr int kStartCell = 128;    // the cursor and camera start over the middle of the field
constexpr int kWindowWidth = 640;  // pixels, the window before and after full screen
constexpr int kWindowHeight = 480;
constexpr int kWindowX = 100;
constexpr int kWindowY = 100;
constexpr double kFieldOfView = 60.0;  // degrees, vertical
constexpr float kNearPlane =
    0.1f;  // single precision on purpose: the projection uses its widened value
constexpr double kFarPlane = 100.0;
}  // namespace

void Scene::init() {
  fullScreen = false;
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  camY = kStartCell;
  camX = kStartCell;
  cursorY = kStartCell;
  cursorX = kStartCell;
  glutInitWindowSize(kWindowWidth, kWindowHeight);
  glutInitWindowPosition(kWindowX, kWindowY);
  glutCreateWindow("");
  nameWindow();
  awaitPlacement();

  // Texturing is enabled though no texture is ever bound; the pictures were tuned this way.
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LINE_SMOOTH);
  glLineWidth(1.0f);
  glDepthFunc(GL_LEQUAL);
  glClearDepth(1.0);
  glShadeModel(GL_SMOOTH);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  const float* c = kProgram.clearColour;
  glClearColor(c[0], c[1], c[2], c[3]);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

  fillTerrain();
  special(GLUT_KEY_F11, 0, 0);  // saves the new window's geometry and asks for full screen
  hidePointer();
}

void Scene::toggleFullScreen() {
  // The flag follows the key presses alone; GLUT is never asked what the window really is.
  fullScreen = !fullScreen;
  if (fullScreen) {
    savedX = glutGet(GLUT_WINDOW_X);
    savedY = glutGet(GLUT_WINDOW_Y);
    savedWidth = glutGet(GLUT_WINDOW_WIDTH);
    savedHeight = glutGet(GLUT_WINDOW_HEIGHT);
    glutFullScreen();
  } else {
    keepClientPosition();
    glutReshapeWindow(savedWidth, savedHeight);
    glutPositionWindow(savedX, savedY);
  }
}

void Scene::reshape(int width, int height) {
  viewWidth = width;
  viewHeight = height;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // A window of no height is drawn as if it were one pixel high, so the aspect stays finite.
  const double aspect = static_cast<double>(width) / static_cast<double>(height == 0 ? 1 : height);
  gluPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
  // The eye sits in the projection matrix so the draw steps may reset the model-view freely.
  gluLookAt(0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  frame();
}
