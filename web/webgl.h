// What the immediate-mode layer asks of the browser's WebGL context (webgl.js), and the batch it
// hands over once per frame.
#pragma once

#include <cstddef>
#include <cstdint>

// One vertex as WebGL draws it: its clip coordinates, and its colour in bytes, 255 for 1.0.
struct SculptVertex {
  float position[4];
  std::uint8_t colour[4];
};
static_assert(sizeof(SculptVertex) == 20, "webgl.js reads vertices 20 bytes apart");

// A run of the batch's indices drawn as one kind: GL_LINES or GL_TRIANGLES.
struct SculptRange {
  std::uint32_t mode;
  std::uint32_t first;  // the run's first index
  std::uint32_t count;  // indices in the run
};

extern "C" {
// Draws the batch in order, with one upload of its vertices and one of its indices.
void sculptWebGlDraw(const SculptVertex* vertices, std::size_t vertexCount,
                     const std::uint32_t* indices, std::size_t indexCount,
                     const SculptRange* ranges, std::size_t rangeCount);
void sculptWebGlEnable(std::uint32_t capability);
void sculptWebGlBlendFunc(std::uint32_t source, std::uint32_t destination);
void sculptWebGlDepthFunc(std::uint32_t function);
void sculptWebGlLineWidth(float width);
void sculptWebGlClearDepth(float depth);
void sculptWebGlClearColor(float red, float green, float blue, float alpha);
void sculptWebGlClear(std::uint32_t mask);
void sculptWebGlViewport(int x, int y, int width, int height);
// Sends whatever the frame has batched; glutSwapBuffers calls it before the frame is shown.
void sculptFlush();
}
