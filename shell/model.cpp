// The height-field model: the initial terrain, the per-frame brush growth and the camera that
// glides after the cursor.
#include "random.h"
#include "scene.h"

namespace {
// Growth per frame, in grid height units.
constexpr float kCentreGrowth = 0.1f;
constexpr float kEdgeGrowth = 0.06f;    // the four cells sharing a side with the cursor cell
constexpr float kCornerGrowth = 0.03f;  // the four cells sharing only a corner
// Fraction of its remaining way the camera covers per frame: the float nearest 1/15.
constexpr float kFollow = 1.0f / 15.0f;
}  // namespace

void Scene::fillTerrain() {
  if (kProgram.terrain == Terrain::flat) {
    for (auto& row : heights)
      for (float& h : row) h = 0.0f;
    return;
  }
  const float scale = kProgram.terrain == Terrain::halfRandom ? 0.5f : 1.0f;  // exact either way
  // Scan order fixes which random number lands in which cell, so a seed gives one field.
  for (auto& row : heights)
    for (float& h : row) h = randomUnit() * scale;
}

void Scene::tick() {
  frame();
}

void Scene::frame() {
  advance();
  draw();
}

void Scene::advance() {
  if (kProgram.brush == Brush::centreOnly) {
    heights[cursorX][cursorY] += kCentreGrowth;
  } else {
    growBrush();
  }
  camY += (static_cast<float>(cursorY) - camY) * kFollow;
  camX += (static_cast<float>(cursorX) - camX) * kFollow;
  if (kProgram.brush == Brush::nineCell) camZ += (heights[cursorX][cursorY] - camZ) * kFollow;
}

void Scene::growBrush() {
  // Cells beyond the border are skipped, not redistributed: the brush is weaker at the edges.
  const int x = cursorX;
  const int y = cursorY;
  const bool up = y < kGridLast;
  const bool down = y > 0;
  if (x < kGridLast) {
    if (down) heights[x + 1][y - 1] += kCornerGrowth;
    heights[x + 1][y] += kEdgeGrowth;
    if (up) heights[x + 1][y + 1] += kCornerGrowth;
  }
  if (down) heights[x][y - 1] += kEdgeGrowth;
  heights[x][y] += kCentreGrowth;
  if (up) heights[x][y + 1] += kEdgeGrowth;
  if (x > 0) {
    if (down) heights[x - 1][y - 1] += kCornerGrowth;
    heights[x - 1][y] += kEdgeGrowth;
    if (up) heights[x - 1][y + 1] += kCornerGrowth;
  }
}
