// The platform layer on Linux, X's part: how the window meets the window manager (its name and
// icon, its placement at start, where it comes back on leaving full screen) and the hidden pointer.
// Wayland's part is in wayland/.
#include <GL/freeglut.h>  // for its error hook
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "scene.h"
#include "toolkit.h"
#include "window_icon.h"

namespace {
constexpr auto kPlacementBound = std::chrono::seconds(1);
constexpr auto kPlacementPoll = std::chrono::milliseconds(1);
constexpr auto kCheckBound = std::chrono::seconds(1);
constexpr auto kCheckPoll = std::chrono::milliseconds(10);

// Another client's window, the window manager's check window or one of its frames, can go
// between the moment its id is read and the request that uses it. Xlib's default handler ends
// the program on any error; such an error passes here, its request remembered, and every other
// error ends the program as before.
XErrorHandler g_defaultXErrorHandler = nullptr;
Display* g_wentDisplay = nullptr;
unsigned long g_wentRequest = 0;  // the serial number of the request whose window went

int xErrorCallback(Display* display, XErrorEvent* error) {
  const bool gone = error->error_code == BadWindow || error->error_code == BadDrawable;
  if (!gone || (error->resourceid != 0 && error->resourceid == glXGetCurrentDrawable()))
    return g_defaultXErrorHandler(display, error);
  g_wentDisplay = display;
  g_wentRequest = error->serial;
  return 0;
}

// GLUT gives up when the window manager's check window it asked about is gone; it is then as if
// the window manager said nothing of what it supports, and the program goes on. Any other GLUT
// error ends the program as GLUT itself would.
void toolkitErrorCallback(const char* format, va_list args) {
  if (g_wentDisplay != nullptr && NextRequest(g_wentDisplay) - 1 == g_wentRequest) return;
  std::fputs("freeglut: ", stderr);
  std::vfprintf(stderr, format, args);
  std::fputc('\n', stderr);
  std::exit(1);
}

// The window that `window`'s _NET_SUPPORTING_WM_CHECK names, or 0.
Window checkWindow(Display* display, Window window, Atom check) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  Window named = 0;
  if (XGetWindowProperty(display, window, check, 0, 1, False, XA_WINDOW, &type, &format, &count,
                         &left, &data) == Success &&
      type == XA_WINDOW && format == 32 && count == 1)
    named = *reinterpret_cast<Window*>(data);
  if (data != nullptr) XFree(data);
  return named;
}

// A window manager replacing itself names its new check window on the root a moment after the
// old one goes; GLUT reads it once, at its start, to learn whether full screen can be asked for.
// Waits (bounded) while the root names a window that is gone.
void awaitWindowManagerCheck() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return;  // glutInit says why
  const Window root = DefaultRootWindow(display);
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
  const auto deadline = std::chrono::steady_clock::now() + kCheckBound;
  for (;;) {
    const Window named = checkWindow(display, root, check);
    if (named == 0 || checkWindow(display, named, check) == named) break;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kCheckPoll);
  }
  XCloseDisplay(display);
  g_wentDisplay = nullptr;  // whatever went here, GLUT has not asked about it
}

// GLUT's window is the current GLX drawable; without one (no window system) there is nothing to
// do, and each function here returns at once.
bool currentWindow(Display*& display, Window& window) {
  display = glXGetCurrentDisplay();
  window = glXGetCurrentDrawable();
  return display != nullptr && window != 0;
}

// Whether every window between ours and the root, its window manager's frame and whatever the
// frame holds it in, is at least as large as ours; true too when there is no frame at all.
bool framed(Display* display, Window window) {
  Window root = 0;
  int x = 0, y = 0;
  unsigned width = 0, height = 0, border = 0, depth = 0;
  if (!XGetGeometry(display, window, &root, &x, &y, &width, &height, &border, &depth)) return true;
  for (Window child = window;;) {
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, child, &root, &parent, &children, &count)) return true;
    if (children != nullptr) XFree(children);
    if (parent == root || parent == 0) return true;
    unsigned frameWidth = 0, frameHeight = 0;
    if (!XGetGeometry(display, parent, &root, &x, &y, &frameWidth, &frameHeight, &border, &depth))
      return true;
    if (frameWidth < width || frameHeight < height) return false;
    child = parent;
  }
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

  // For the desktops that take the icon from the window rather than from the menu entry; Xlib
  // takes 32-bit property data as longs.
  const std::vector<unsigned long> icon(kWindowIcon, kWindowIcon + kWindowIconLength);
  XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(icon.data()),
                  static_cast<int>(icon.size()));
}

void awaitPlacement() {
  // Most window managers place a window before they map it. kwin maps it first, in a frame of one
  // pixel at the screen's corner, and moves and grows the frame a few milliseconds later; a
  // position read in between is the corner's, and F11 would later put the window back there.
  Display* display = nullptr;
  Window window = 0;
  if (!currentWindow(display, window)) return;
  const auto deadline = std::chrono::steady_clock::now() + kPlacementBound;
  while (!framed(display, window) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(kPlacementPoll);
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

void prepareToolkit() {
  // On Wayland the toolkit is our own GLUT, which needs none of this; and each function below
  // finds no GLX window there, so does nothing but hide the pointer.
  if (onWayland()) return;
  // GLUT on X prints nothing on its own in a working start; what it needs is a start that
  // survives a window manager's windows going under it.
  g_defaultXErrorHandler = XSetErrorHandler(xErrorCallback);
  glutInitErrorFunc(toolkitErrorCallback);
  awaitWindowManagerCheck();
}

void hidePointer() {
  // Stays hidden for the life of the window: nothing sets another cursor on it.
  glutSetCursor(GLUT_CURSOR_NONE);
}
