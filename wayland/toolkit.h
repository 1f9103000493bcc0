// The Linux programs' two toolkits, one build for X and Wayland: freeglut on X, or our own GLUT
// over SDL2 on Wayland, chosen once at start. The programs are linked with --wrap for each GLUT
// entry point the shell calls, so every call goes through the chosen toolkit's table.
#pragma once

#include <cstdarg>

// GLUT's entry points, as one toolkit provides them.
struct Toolkit {
  void (*initErrorFunc)(void (*callback)(const char* format, va_list arguments));
  void (*init)(int* argc, char** argv);
  void (*initDisplayMode)(unsigned int mode);
  void (*initWindowSize)(int width, int height);
  void (*initWindowPosition)(int x, int y);
  int (*createWindow)(const char* title);
  int (*get)(unsigned int query);
  void (*fullScreen)();
  void (*reshapeWindow)(int width, int height);
  void (*positionWindow)(int x, int y);
  void (*setCursor)(int cursor);
  void (*swapBuffers)();
  void (*displayFunc)(void (*callback)());
  void (*reshapeFunc)(void (*callback)(int width, int height));
  void (*mouseFunc)(void (*callback)(int button, int state, int x, int y));
  void (*keyboardFunc)(void (*callback)(unsigned char key, int x, int y));
  void (*specialFunc)(void (*callback)(int key, int x, int y));
  void (*passiveMotionFunc)(void (*callback)(int x, int y));
  void (*motionFunc)(void (*callback)(int x, int y));
  void (*timerFunc)(unsigned int milliseconds, void (*callback)(int value), int value);
  void (*mainLoop)();
};

// Our GLUT over SDL2's Wayland driver.
extern const Toolkit kWaylandToolkit;

// Whether this start draws on Wayland. Decided at the first call: on Wayland when WAYLAND_DISPLAY
// names a compositor that answers, within a bound, with what SDL needs (a compositor, xdg-shell
// and a seat) and SDL starts on it; otherwise on X when DISPLAY is set; otherwise the program ends
// with one line on stderr and status 1.
bool onWayland();

// The chosen toolkit's buffer swap, for a test build that brings its own wrapper of
// glutSwapBuffers.
void swapToolkitBuffers();
