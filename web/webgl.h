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

// The kinds of run in a batch: GL_LINES or GL_TRIANGLES of the plain vertices' indices; or
// GL_TRIANGLES of smoothed segments' quads, whose indices are the same for every frame (quad n:
// corners 4n, 4n + 1, 4n + 2 and 4n + 1, 4n + 3, 4n + 2) and kept by webgl.js, the quads made here
// or, where the context reads textures in its vertex shader, made there from each segment's ends.
enum : std::uint32_t {
  kSculptPlain = 0,
  kSculptQuads = 1,
  kSculptSegments = 2,
};
struct SculptRange {
  std::uint32_t mode;   // GL_LINES or GL_TRIANGLES
  std::uint32_t first;  // the run's first index, 6 a quad for smoothed segments
  std::uint32_t count;  // indices in the run
  std::uint32_t kind;   // one of the three above
};

// Vertices a row of the textures that hold the segments' ends: a power of two, so that the shader
// finds a vertex's row and column exactly.
constexpr std::uint32_t kSculptRowVertices = 1024;

// The ends of the smoothed segments that the GPU widens itself, apart from the plain vertices: in
// whole rows of kSculptRowVertices, positions as floats and colours as bytes for two textures, and
// each segment as the numbers of its two ends.
struct SculptEnds {
  const float* positions;       // 4 a vertex
  const std::uint8_t* colours;  // 4 a vertex
  std::uint32_t rows;
  const std::uint32_t* pairs;  // 2 a segment
  std::uint32_t segments;
  std::uint32_t pairsChanged;  // 0 when they are the last frame's, which webgl.js keeps
};
static_assert(sizeof(void*) != 4 || sizeof(SculptEnds) == 24, "webgl.js reads six words");

extern "C" {
// Draws the batch in order, with one upload of each kind of vertex and, when they are not the
// last frame's (`indicesChanged` false) on a context that has them, one of the plain vertices'
// indices; `ends` is null when no run is of kSculptSegments.
void sculptWebGlDraw(const SculptVertex* vertices, std::size_t vertexCount,
                     const SculptLineVertex* lineVertices, std::size_t lineVertexCount,
                     const std::uint32_t* indices, std::size_t indexCount, bool indicesChanged,
                     const SculptEnds* ends, const SculptRange* ranges, std::size_t rangeCount);
// The most vertices a frame's segment ends may have: 0 where the context cannot read float
// textures in its vertex shader, and the layer makes the quads itself.
std::uint32_t sculptWebGlEndsCapacity();
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
