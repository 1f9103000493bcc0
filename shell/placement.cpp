// Where the window comes back on leaving full screen: its drawing area, not its frame, at the
// position GLUT is asked for, so that every F11 round trip restores the same place.
#include <GL/glx.h>
#include <X11/Xutil.h>

#include "scene.h"

void keepClientPosition() {
  // GLUT reports the drawing area's position, but a window manager places the frame's corner
  // there unless told otherwise (ICCCM's default gravity); static gravity tells it to put the
  // drawing area there, which undoes the title bar's offset on every restore. GLUT's window is
  // the current GLX drawable; without one (no window system) there is nothing to place.
  Display* display = glXGetCurrentDisplay();
  const GLXDrawable window = glXGetCurrentDrawable();
  if (display == nullptr || window == 0) return;
  XSizeHints* hints = XAllocSizeHints();
  if (hints == nullptr) return;
  long supplied = 0;
  XGetWMNormalHints(display, window, hints, &supplied);  // keeps GLUT's own hints
  hints->flags |= PWinGravity;
  hints->win_gravity = StaticGravity;
  XSetWMNormalHints(display, window, hints);
  XFree(hints);
}
