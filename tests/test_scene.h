// A fresh Scene for tests: the same object the programs build, on the heap as they keep it.
#pragma once

#include <memory>

#include "recorder.h"
#include "scene.h"

// A scene that has run init() against the stand-in, published in g_scene, with the recorded
// start-up calls forgotten.
inline std::unique_ptr<Scene> initialisedScene() {
  recorder::reset();
  auto scene = std::make_unique<Scene>();
  g_scene = scene.get();
  scene->init();
  recorder::calls().clear();
  return scene;
}

// A scene with a known, flat field: every height zero, cursor and camera in the middle.
inline std::unique_ptr<Scene> flatScene() {
  auto scene = initialisedScene();
  for (auto& row : scene->heights)
    for (float& h : row) h = 0.0f;
  return scene;
}

// True when every field of the two scenes holds the same value.
inline bool sameScene(const Scene& a, const Scene& b) {
  for (int x = 0; x < kGridSize; ++x)
    for (int y = 0; y < kGridSize; ++y)
      if (a.heights[x][y] != b.heights[x][y]) return false;
  return a.viewHeight == b.viewHeight && a.viewWidth == b.viewWidth && a.savedX == b.savedX &&
         a.savedY == b.savedY && a.savedHeight == b.savedHeight && a.savedWidth == b.savedWidth &&
         a.fullScreen == b.fullScreen && a.cursorX == b.cursorX && a.cursorY == b.cursorY &&
         a.camX == b.camX && a.camY == b.camY && a.camZ == b.camZ;
}
