// The GLX queries and freeglut's error hook under the stand-in: there is no window system, so no
// window for the shell's X platform layer to name or place, and nothing for GLUT to fail at.
#include <GL/freeglut.h>
#include <GL/glx.h>

extern "C" {

Display* glXGetCurrentDisplay() {
  return nullptr;
}
GLXDrawable glXGetCurrentDrawable() {
  return 0;
}
void glutInitErrorFunc(void (*)(const char*, va_list)) {}

}  // extern "C"
