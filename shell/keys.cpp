// The keyboard and pointer handlers: Esc ends the program, F11 toggles full screen, the arrows
// steer the cursor cell.
#include <GL/glut.h>

#include <cstdlib>

#include "scene.h"

namespace {
constexpr int kEscape = 27;
}

void Scene::keyboard(int key, int /*x*/, int /*y*/) {
  if (key == kEscape) std::exit(0);
}

void Scene::special(int key, int /*x*/, int /*y*/) {
  switch (key) {
    case GLUT_KEY_F11:
      toggleFullScreen();
      break;
    case GLUT_KEY_LEFT:
      if (cursorX > 0) --cursorX;
      break;
    case GLUT_KEY_UP:
      if (cursorY < kGridLast) ++cursorY;
      break;
    case GLUT_KEY_RIGHT:
      if (cursorX < kGridLast) ++cursorX;
      break;
    case GLUT_KEY_DOWN:
      if (cursorY > 0) --cursorY;
      break;
    default:
      break;
  }
}

// The pointer is hidden and steers nothing; the handler exists so every event has a home.
void Scene::pointer(int /*x*/, int /*y*/) {}
