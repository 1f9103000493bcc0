// The scene's start-up and the GLUT callbacks, which forward every event to g_scene.
#include "callbacks.h"

#include <GL/glut.h>

#include <ctime>

#include "random.h"
#include "scene.h"

Scene* g_scene = nullptr;
const float kFramePeriodMs = 5.0f;

unsigned framePeriod() {
  return static_cast<unsigned>(kFramePeriodMs);
}

void createScene() {
  // Two starts within the same second share their terrain; nothing needs them to differ.
  seedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
  g_scene = new Scene;
  g_scene->init();
}

void displayCallback() {
  g_scene->frame();
}

void reshapeCallback(int width, int height) {
  g_scene->reshape(width, height);
}

void mouseCallback(int button, int /*state*/, int x, int y) {
  if (button == GLUT_LEFT_BUTTON) g_scene->pointer(x, y);
}

void keyboardCallback(unsigned char key, int x, int y) {
  g_scene->keyboard(key, x, y);
}

void specialCallback(int key, int x, int y) {
  g_scene->special(key, x, y);
}

void motionCallback(int x, int y) {
  g_scene->pointer(x, y);
}

void timerCallback(int value) {
  // Re-arming after the frame, not before, lets a slow frame delay the next instead of piling up.
  g_scene->tick();
  glutTimerFunc(framePeriod(), timerCallback, value);
}
