// GLUT's entry points in the Linux programs, linked with --wrap: each goes to the toolkit chosen
// once at start, freeglut's own entry points (the __real_ names) on X or ours on Wayland.
#include "toolkit.h"

// The linker's names for a wrapped function and for the function itself.
// NOLINTBEGIN(bugprone-reserved-identifier)
extern "C" {
void __real_glutInitErrorFunc(void (*callback)(const char*, va_list));
void __real_glutInit(int* argc, char** argv);
void __real_glutInitDisplayMode(unsigned int mode);
void __real_glutInitWindowSize(int width, int height);
void __real_glutInitWindowPosition(int x, int y);
int __real_glutCreateWindow(const char* title);
int __real_glutGet(unsigned int query);
void __real_glutFullScreen();
void __real_glutReshapeWindow(int width, int height);
void __real_glutPositionWindow(int x, int y);
void __real_glutSetCursor(int cursor);
void __real_glutSwapBuffers();
void __real_glutDisplayFunc(void (*callback)());
void __real_glutReshapeFunc(void (*callback)(int, int));
void __real_glutMouseFunc(void (*callback)(int, int, int, int));
void __real_glutKeyboardFunc(void (*callback)(unsigned char, int, int));
void __real_glutSpecialFunc(void (*callback)(int, int, int));
void __real_glutPassiveMotionFunc(void (*callback)(int, int));
void __real_glutMotionFunc(void (*callback)(int, int));
void __real_glutTimerFunc(unsigned int milliseconds, void (*callback)(int), int value);
void __real_glutMainLoop();
}

namespace {
const Toolkit kFreeglut = {
    __real_glutInitErrorFunc,
    __real_glutInit,
    __real_glutInitDisplayMode,
    __real_glutInitWindowSize,
    __real_glutInitWindowPosition,
    __real_glutCreateWindow,
    __real_glutGet,
    __real_glutFullScreen,
    __real_glutReshapeWindow,
    __real_glutPositionWindow,
    __real_glutSetCursor,
    __real_glutSwapBuffers,
    __real_glutDisplayFunc,
    __real_glutReshapeFunc,
    __real_glutMouseFunc,
    __real_glutKeyboardFunc,
    __real_glutSpecialFunc,
    __real_glutPassiveMotionFunc,
    __real_glutMotionFunc,
    __real_glutTimerFunc,
    __real_glutMainLoop,
};

const Toolkit& toolkit() {
  static const Toolkit& chosen = onWayland() ? kWaylandToolkit : kFreeglut;
  return chosen;
}
}  // namespace

void swapToolkitBuffers() {
  toolkit().swapBuffers();
}

extern "C" {
void __wrap_glutInitErrorFunc(void (*callback)(const char*, va_list)) {
  toolkit().initErrorFunc(callback);
}
void __wrap_glutInit(int* argc, char** argv) {
  toolkit().init(argc, argv);
}
void __wrap_glutInitDisplayMode(unsigned int mode) {
  toolkit().initDisplayMode(mode);
}
void __wrap_glutInitWindowSize(int width, int height) {
  toolkit().initWindowSize(width, height);
}
void __wrap_glutInitWindowPosition(int x, int y) {
  toolkit().initWindowPosition(x, y);
}
int __wrap_glutCreateWindow(const char* title) {
  return toolkit().createWindow(title);
}
int __wrap_glutGet(unsigned int query) {
  return toolkit().get(query);
}
void __wrap_glutFullScreen() {
  toolkit().fullScreen();
}
void __wrap_glutReshapeWindow(int width, int height) {
  toolkit().reshapeWindow(width, height);
}
void __wrap_glutPositionWindow(int x, int y) {
  toolkit().positionWindow(x, y);
}
void __wrap_glutSetCursor(int cursor) {
  toolkit().setCursor(cursor);
}
void __wrap_glutDisplayFunc(void (*callback)()) {
  toolkit().displayFunc(callback);
}
void __wrap_glutReshapeFunc(void (*callback)(int, int)) {
  toolkit().reshapeFunc(callback);
}
void __wrap_glutMouseFunc(void (*callback)(int, int, int, int)) {
  toolkit().mouseFunc(callback);
}
void __wrap_glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
  toolkit().keyboardFunc(callback);
}
void __wrap_glutSpecialFunc(void (*callback)(int, int, int)) {
  toolkit().specialFunc(callback);
}
void __wrap_glutPassiveMotionFunc(void (*callback)(int, int)) {
  toolkit().passiveMotionFunc(callback);
}
void __wrap_glutMotionFunc(void (*callback)(int, int)) {
  toolkit().motionFunc(callback);
}
void __wrap_glutTimerFunc(unsigned int milliseconds, void (*callback)(int), int value) {
  toolkit().timerFunc(milliseconds, callback, value);
}
void __wrap_glutMainLoop() {
  toolkit().mainLoop();
}
}
// NOLINTEND(bugprone-reserved-identifier)
