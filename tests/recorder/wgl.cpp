// The WGL query and freeglut's warning hook under the stand-in: there is no window system, so no
// window for the shell's Windows platform layer to place, and nothing for GLUT to warn about.
#include <GL/freeglut.h>
#include <windows.h>

extern "C" {

HDC WINAPI wglGetCurrentDC() {
  return nullptr;
}
void glutInitWarningFunc(void (*)(const char*, va_list)) {}

}  // extern "C"
