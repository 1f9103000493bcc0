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

// A corner of a smoothed segment's quad: as a vertex, and the window coordinates of the segment's
// two ends, from which the line shader takes each fragment's coverage.
struct SculptLineVertex {
  float position[4];
  std::uint8_t colour[4];
  float ends[4];  // pixels: first end x, y, second end x, y
};
static_assert(sizeof(SculptLineVertex) == 36, "webgl.js reads line vertices 36 bytes apart");

// A run of the batch's indices drawn as one kind: GL_LINES or GL_TRIANGLES of the plain vertices,
// or GL_TRIANGLES of the smoothed segments' quads.
struct SculptRange {
  std::uint32_t mode;
  std::uint32_t first;   // the run's first index
  std::uint32_t count;   // indices in the run
  std::uint32_t smooth;  // 1 for smoothed segments' quads, 0 for plain vertices
};

extern "C" {
// Draws the batch in order, with one upload of each kind of vertex and one of the indices.
void sculptWebGlDraw(const SculptVertex* vertices, std::size_t vertexCount,
                     const SculptLineVertex* lineVertices, std::size_t lineVertexCount,
                     const std::uint32_t* indices, std::size_t indexCount,
                     const SculptRange* ranges, std::size_t rangeCount);
void sculptWebGlEnable(std::uint32_t capability);
void sculptWebGlDisable(std::uint32_t capability);
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
