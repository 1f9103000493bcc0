// How the window meets the X window manager: its name, and where it comes back on leaving full
// screen.
#include <GL/glx.h>
#include <X11/Xutil.h>

#include "scene.h"

namespace {
// GLUT's window is the current GLX drawable; without one (no window system) there is nothing to
// do, and each function here returns at once.
bool currentWindow(Display*& display, Window& window) {
  display = glXGetCurrentDisplay();
  window = glXGetCurrentDrawable();
  return display != nullptr && window != 0;
}
}  // namespace

void nameWindow() {
  // WM_CLASS ties the window to its program's menu entry (StartupWMClass), so that docks and
  // window switchers show the program's name and icon; GLUT sets none. The title stays empty.
  Display* display = nullptr;
  Window window = 0;
  if (!currentWindow(display, window)) return;
  XClassHint hint;
  hint.res_name = const_cast<char*>(kProgram.name);
  hint.res_class = const_cast<char*>(kProgram.name);
  XSetClassHint(display, window, &hint);
}

void keepClientPosition() {
  // GLUT reports the drawing area's position, but a window manager places the frame's corner
  // there unless told otherwise (ICCCM's default gravity); static gravity tells it to put the
  // drawing area there, which undoes the title bar's offset on every restore.
  Display* display = nullptr;
  Window window = 0;
  if (!currentWindow(display, window)) return;
  XSizeHints* hints = XAllocSizeHints();
  if (hints == nullptr) return;
  long supplied = 0;
  XGetWMNormalHints(display, window, hints, &supplied);  // keeps GLUT's own hints
  hints->flags |= PWinGravity;
  hints->win_gravity = StaticGravity;
  XSetWMNormalHints(display, window, hints);
  XFree(hints);
}
