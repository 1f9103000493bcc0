// The fixed-seed build on Linux, X or Wayland: at its set frame it writes the back buffer, as
// drawn, to the binary PPM named by SCULPT_PICTURE, bottom row first as GL reads it, and ends.
#include <GL/gl.h>
#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "fixed_frames.h"
#include "toolkit.h"

std::time_t __wrap_time(std::time_t* out) {
  if (out != nullptr) *out = fixed::kSeed;
  return fixed::kSeed;
}

void __wrap_glutSwapBuffers() {
  static int frames = 0;
  if (++frames < fixed::kFrames) {
    swapToolkitBuffers();  // freeglut's on X, ours on Wayland
    return;
  }
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(viewport[2]) * viewport[3] * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, viewport[2], viewport[3], GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  const char* path = std::getenv("SCULPT_PICTURE");
  std::FILE* file = path != nullptr ? std::fopen(path, "wb") : nullptr;
  if (file == nullptr) std::_Exit(1);
  std::fprintf(file, "P6\n%d %d\n255\n", viewport[2], viewport[3]);
  const bool written = std::fwrite(pixels.data(), 1, pixels.size(), file) == pixels.size();
  std::_Exit(std::fclose(file) == 0 && written ? 0 : 1);
}
