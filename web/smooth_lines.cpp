// Smoothed segments as quads for webgl.js's line shader, which computes each fragment's coverage
// from its distances across and along the segment that the corners carry.
#include "smooth_lines.h"

#include <cmath>

namespace {

// The point a fraction `t` of the way from `p` to `q`, colour too, as GL's clipper makes it.
SculptVertex between(const SculptVertex& p, const SculptVertex& q, float t) {
  SculptVertex v;
  for (int i = 0; i < 4; ++i) {
    v.position[i] = p.position[i] + t * (q.position[i] - p.position[i]);
    v.colour[i] = static_cast<std::uint8_t>(
        std::lround(p.colour[i] + t * (static_cast<float>(q.colour[i]) - p.colour[i])));
  }
  return v;
}

}  // namespace

void sculptSmoothSegment(SculptVertex a, SculptVertex b, const SculptViewport& viewport,
                         float width, std::vector<SculptLineVertex>& corners) {
  if (viewport.width <= 0 || viewport.height <= 0) return;
  // In front of the near plane z >= -w; behind it the division by w would turn the segment
  // about, so the part behind is cut off first.
  const float inA = a.position[2] + a.position[3];
  const float inB = b.position[2] + b.position[3];
  if (!(inA >= 0.0f) && !(inB >= 0.0f)) return;
  if (!(inA >= 0.0f)) a = between(a, b, inA / (inA - inB));
  if (!(inB >= 0.0f)) b = between(b, a, inB / (inB - inA));

  // Window coordinates, as gl_FragCoord gives them, of both ends.
  const float halfW = 0.5f * static_cast<float>(viewport.width);
  const float halfH = 0.5f * static_cast<float>(viewport.height);
  auto window = [&](const SculptVertex& v, float out[2]) {
    out[0] = (v.position[0] / v.position[3] + 1.0f) * halfW + static_cast<float>(viewport.x);
    out[1] = (v.position[1] / v.position[3] + 1.0f) * halfH + static_cast<float>(viewport.y);
  };
  float sa[2], sb[2];
  window(a, sa);
  window(b, sb);
  float along[2] = {sb[0] - sa[0], sb[1] - sa[1]};
  const float length = std::sqrt(along[0] * along[0] + along[1] * along[1]);
  if (length > 0.0f && std::isfinite(length)) {
    along[0] /= length;
    along[1] /= length;
  } else {  // a point, or beyond a float: the shader takes the same direction
    along[0] = 1.0f;
    along[1] = 0.0f;
  }
  const float across[2] = {-along[1], along[0]};
  const float reach = 0.5f * width + 0.5f;  // pixels from the centre line to zero coverage

  // A corner `forward` pixels along the segment and `side` across from end `v`, divided by w:
  // the quad lies in the screen's plane, so its depth and everything the shader interpolates
  // runs straight across it, as a line's does.
  const float end = length > 0.0f && std::isfinite(length) ? length : 0.0f;  // pixels
  auto corner = [&](const SculptVertex& v, float forward, float side, float fromFirst) {
    SculptLineVertex c;
    const float dx = forward * along[0] + side * across[0];
    const float dy = forward * along[1] + side * across[1];
    c.position[0] = v.position[0] / v.position[3] + dx / halfW;
    c.position[1] = v.position[1] / v.position[3] + dy / halfH;
    c.position[2] = v.position[2] / v.position[3];
    for (int i = 0; i < 4; ++i) c.colour[i] = v.colour[i];
    c.span[0] = side;
    c.span[1] = fromFirst;
    c.span[2] = end - fromFirst;
    corners.push_back(c);
  };
  corner(a, -0.5f, -reach, -0.5f);
  corner(a, -0.5f, reach, -0.5f);
  corner(b, 0.5f, -reach, end + 0.5f);
  corner(b, 0.5f, reach, end + 0.5f);
}
