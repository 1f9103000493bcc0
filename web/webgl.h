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

// A corner of a smoothed segment's quad, already divided by w: on the screen the quad is a
// rectangle, so its corners' distances across and along the segment, interpolated, are each
// fragment's own, from which the line shader takes its coverage.
struct SculptLineVertex {
  float position[3];  // normalised device coordinates
  std::uint8_t colour[4];
  float span[3];  // pixels: across the centre line, along from the first end, back from the second
};
static_assert(sizeof(SculptLineVertex) == 28, "webgl.js reads line vertices 28 bytes apart");

// A run of the batch drawn as one kind: GL_LINES or GL_TRIANGLES of the plain vertices' indices,
// or GL_TRIANGLES of the smoothed segments' quads, whose indices are the same for every frame
// (quad n: corners 4n, 4n + 1, 4n + 2 and 4n + 1, 4n + 3, 4n + 2) and kept by webgl.js.
struct SculptRange {
  std::uint32_t mode;
  std::uint32_t first;   // the run's first index, 6 a quad for smoothed segments
  std::uint32_t count;   // indices in the run
  std::uint32_t smooth;  // 1 for smoothed segments' quads, 0 for plain vertices
};

extern "C" {
// Draws the batch in order, with one upload of each kind of vertex and, when they are not the
// last frame's (`indicesChanged` false) on a context that has them, one of the plain vertices'
// indices.
void sculptWebGlDraw(const SculptVertex* vertices, std::size_t vertexCount,
                     const SculptLineVertex* lineVertices, std::size_t lineVertexCount,
                     const std::uint32_t* indices, std::size_t indexCount, bool indicesChanged,
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
