// The fixed-seed build in the browser: at its set frame it leaves the drawn picture, bottom row
// first as GL reads it, in the page's sculptPicture, and ends as Esc ends the program.
#include <emscripten/emscripten.h>

#include <cstdlib>

#include "fixed_frames.h"

std::time_t __wrap_time(std::time_t* out) {
  if (out != nullptr) *out = fixed::kSeed;
  return fixed::kSeed;
}

// The drawing buffer as the frame left it, read before the browser shows and clears it.
EM_JS(void, keepPicture, (), {
  const gl = sculptGl.gl;
  const width = gl.drawingBufferWidth, height = gl.drawingBufferHeight;
  const rgba = new Uint8Array(width * height * 4);
  gl.readPixels(0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
  const rgb = new Uint8Array(width * height * 3);
  for (let i = 0, j = 0; i < rgba.length; i += 4, j += 3) rgb.set(rgba.subarray(i, i + 3), j);
  window.sculptPicture = {width : width, height : height, pixels : rgb};
});

void __wrap_glutSwapBuffers() {
  static int frames = 0;
  __real_glutSwapBuffers();  // sends the frame's batch; the picture is read before it is shown
  if (++frames < fixed::kFrames) return;
  keepPicture();
  std::exit(0);
}
