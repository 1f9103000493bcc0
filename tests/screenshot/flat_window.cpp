// A stand-in for a program that shows nothing: a full-screen window of one flat colour, for
// checking that scripts/screenshot refuses such a picture.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <unistd.h>

int main() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 640, 480, 0, 0, 0x202020);
  const unsigned long pid = static_cast<unsigned long>(getpid());
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
  // Asked for before mapping, as the window manager reads it when it first manages the window.
  const Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(&fullScreen), 1);
  XMapWindow(display, window);
  for (XEvent event;;) XNextEvent(display, &event);
}
