// The height-band palette of sculpt_bands: a grey ramp below 1, nine bands two units wide, white
// from 19 up, all at alpha 0.3.
#include <GL/gl.h>

#include "scene.h"

namespace {
constexpr float kAlpha = 0.3f;
constexpr int kBands = 10;  // band edges; the colour below edge n is kBandColours[n - 1]
constexpr float kEdges[kBands] = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19};  // grid height units
constexpr float kBandColours[kBands][3] = {
    {1.0f, 0.5f, 0.0f},  // orange, from 1
    {1.0f, 0.0f, 0.0f},  // red, from 3
    {0.5f, 0.0f, 0.5f},  // purple, from 5
    {0.5f, 0.0f, 1.0f},  // violet, from 7
    {0.0f, 0.0f, 1.0f},  // blue, from 9
    {0.0f, 0.5f, 1.0f},  // azure, from 11
    {0.0f, 0.5f, 0.5f},  // teal, from 13
    {0.0f, 1.0f, 0.5f},  // spring green, from 15
    {0.0f, 1.0f, 0.0f},  // green, from 17
    {1.0f, 1.0f, 1.0f},  // white, from 19
};
}  // namespace

void Scene::bandColour(float height) const {
  // Each band takes its lower edge; a NaN reaches no edge and so falls in the grey ramp.
  int band = 0;
  while (band < kBands && height >= kEdges[band]) ++band;
  if (band == 0) {
    glColor4f(height, height, height, kAlpha);
  } else {
    const float* c = kBandColours[band - 1];
    glColor4f(c[0], c[1], c[2], kAlpha);
  }
}
