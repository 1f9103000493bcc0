// The platform layer in a web page: the canvas is the window, and the page around it already
// names the program, so only the pointer needs hiding.
#include <GL/glut.h>

#include "scene.h"

void prepareToolkit() {
  // Nothing to do: the page's GLUT writes nothing to the browser's console.
}

void hidePointer() {
  glutSetCursor(GLUT_CURSOR_NONE);  // over the canvas, for the life of the page
}

void nameWindow() {
  // Nothing to add: the page's title and icon are the program's own.
}

void awaitPlacement() {
  // Nothing to wait for: the canvas is where the page puts it as soon as it exists.
}

void keepClientPosition() {
  // Nothing to do: a canvas has no frame, so it comes back exactly where it is positioned.
}
