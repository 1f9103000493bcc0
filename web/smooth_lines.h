// GL's smoothed lines for WebGL, which has none: each segment becomes a quad whose fragments take
// their coverage from their distance to the segment, as Mesa's software renderer draws them.
#pragma once

#include <cstdint>
#include <vector>

#include "webgl.h"

struct SculptViewport {
  int x = 0, y = 0, width = 0, height = 0;  // pixels, as glViewport sets them
};

// Adds segment `a`–`b` (clip coordinates) as one quad, its four corners, to `corners`: first cut
// to the part in front of the near plane, then widened on the screen to `width` / 2 + 1/2 pixels
// each side and half a pixel past each end, where Mesa's coverage falls to nothing. Adds nothing
// when no part of it is in front of the near plane or the viewport is empty.
void sculptSmoothSegment(SculptVertex a, SculptVertex b, const SculptViewport& viewport,
                         float width, std::vector<SculptLineVertex>& corners);
