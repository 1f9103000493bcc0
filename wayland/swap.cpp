// The buffer swap's wrapper, apart from the other entry points' so that a test build may link its
// own in its place.
#include "toolkit.h"

extern "C" void __wrap_glutSwapBuffers() {  // NOLINT(bugprone-reserved-identifier)
  swapToolkitBuffers();
}
