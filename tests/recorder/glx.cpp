// The GLX queries under the stand-in: there is no window system, so no window for the shell's X
// platform layer to name or place.
#include <GL/glx.h>

extern "C" {

Display* glXGetCurrentDisplay() {
  return nullptr;
}
GLXDrawable glXGetCurrentDrawable() {
  return 0;
}

}  // extern "C"
