// Recording definitions of the GLUT entry points. Registrations and the timer are remembered so a
// test can play GLUT's part; the window geometry follows the calls that change it.
#include <GL/glut.h>

#include "recorder.h"

using recorder::call;
using recorder::calls;
using recorder::glut;

extern "C" {

void glutInit(int* argc, char** /*argv*/) {
  calls().push_back(call("glutInit", {double(*argc)}));
}
void glutInitDisplayMode(unsigned int mode) {
  calls().push_back(call("glutInitDisplayMode", {double(mode)}));
}
void glutInitWindowSize(int width, int height) {
  calls().push_back(call("glutInitWindowSize", {double(width), double(height)}));
  glut().window.width = width;
  glut().window.height = height;
}
void glutInitWindowPosition(int x, int y) {
  calls().push_back(call("glutInitWindowPosition", {double(x), double(y)}));
  glut().window.x = x;
  glut().window.y = y;
}
int glutCreateWindow(const char* title) {
  recorder::Call c = call("glutCreateWindow");
  c.text = title;
  calls().push_back(c);
  return 1;
}
int glutGet(GLenum query) {
  calls().push_back(call("glutGet", {double(query)}));
  const recorder::Window& w = glut().window;
  switch (query) {
    case GLUT_WINDOW_X:
      return w.x;
    case GLUT_WINDOW_Y:
      return w.y;
    case GLUT_WINDOW_WIDTH:
      return w.width;
    case GLUT_WINDOW_HEIGHT:
      return w.height;
    default:
      return 0;
  }
}
void glutFullScreen() {
  calls().push_back(call("glutFullScreen"));
  glut().window = glut().screen;
}
void glutReshapeWindow(int width, int height) {
  calls().push_back(call("glutReshapeWindow", {double(width), double(height)}));
  glut().window.width = width;
  glut().window.height = height;
}
void glutPositionWindow(int x, int y) {
  calls().push_back(call("glutPositionWindow", {double(x), double(y)}));
  glut().window.x = x;
  glut().window.y = y;
}
void glutSetCursor(int cursor) {
  calls().push_back(call("glutSetCursor", {double(cursor)}));
  glut().cursor = cursor;
}
void glutSwapBuffers() {
  calls().push_back(call("glutSwapBuffers"));
}

void glutDisplayFunc(void (*callback)()) {
  calls().push_back(call("glutDisplayFunc"));
  glut().display = callback;
}
void glutReshapeFunc(void (*callback)(int, int)) {
  calls().push_back(call("glutReshapeFunc"));
  glut().reshape = callback;
}
void glutMouseFunc(void (*callback)(int, int, int, int)) {
  calls().push_back(call("glutMouseFunc"));
  glut().mouse = callback;
}
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
  calls().push_back(call("glutKeyboardFunc"));
  glut().keyboard = callback;
}
void glutSpecialFunc(void (*callback)(int, int, int)) {
  calls().push_back(call("glutSpecialFunc"));
  glut().special = callback;
}
void glutPassiveMotionFunc(void (*callback)(int, int)) {
  calls().push_back(call("glutPassiveMotionFunc"));
  glut().passiveMotion = callback;
}
void glutMotionFunc(void (*callback)(int, int)) {
  calls().push_back(call("glutMotionFunc"));
  glut().motion = callback;
}
void glutTimerFunc(unsigned int msecs, void (*callback)(int), int value) {
  calls().push_back(call("glutTimerFunc", {double(msecs), double(value)}));
  glut().timer = callback;
  glut().timerPeriod = msecs;
  glut().timerValue = value;
  ++glut().pendingTimers;
}
// The real loop never returns; this one does, so a test can go on to play GLUT's events.
void glutMainLoop() {
  calls().push_back(call("glutMainLoop"));
}

}  // extern "C"
