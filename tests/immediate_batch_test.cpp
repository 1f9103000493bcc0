// The browser layer's batch as webgl.js receives it: smoothed segments' runs counted in the
// quads' own indices, or, where the context draws instances, read from their ends among the plain
// vertices, a shared end sent once; and the plain indices sent again only when a frame's differ
// from the last.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "webgl.h"

namespace {

// One frame as it reached sculptWebGlDraw.
struct Sent {
  std::vector<SculptVertex> vertices;
  std::size_t corners = 0;
  std::vector<std::uint32_t> indices;
  bool indicesChanged = false;
  std::vector<SculptRange> ranges;
};
std::vector<Sent> g_sent;
bool g_instanced = false;  // what the stand-in's context says of instanced drawing

void strip(int vertices) {
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < vertices; ++i) glVertex3f(0.1f * i, 0.05f * i, 0.0f);
  glEnd();
}

}  // namespace

bool operator==(const SculptRange& a, const SculptRange& b) {
  return a.mode == b.mode && a.first == b.first && a.count == b.count && a.smooth == b.smooth &&
         a.second == b.second && a.firstStep == b.firstStep && a.secondStep == b.secondStep;
}

extern "C" {
void sculptWebGlDraw(const SculptVertex* vertices, std::size_t vertexCount, const SculptLineVertex*,
                     std::size_t lineVertexCount, const std::uint32_t* indices,
                     std::size_t indexCount, bool indicesChanged, const SculptRange* ranges,
                     std::size_t rangeCount) {
  g_sent.push_back({{vertices, vertices + vertexCount},
                    lineVertexCount,
                    {indices, indices + indexCount},
                    indicesChanged,
                    {ranges, ranges + rangeCount}});
}
void sculptWebGlEnable(std::uint32_t) {}
void sculptWebGlDisable(std::uint32_t) {}
void sculptWebGlBlendFunc(std::uint32_t, std::uint32_t) {}
void sculptWebGlDepthFunc(std::uint32_t) {}
void sculptWebGlLineWidth(float) {}
void sculptWebGlClearDepth(float) {}
void sculptWebGlClearColor(float, float, float, float) {}
void sculptWebGlClear(std::uint32_t) {}
void sculptWebGlViewport(int, int, int, int) {}
bool sculptWebGlInstanced() {
  return g_instanced;
}
}

TEST(BrowserBatch, SmoothedRunsCountInTheQuadsIndicesBesidePlainOnes) {
  g_sent.clear();
  glViewport(0, 0, 100, 100);
  glEnable(GL_LINE_SMOOTH);
  strip(3);  // two quads
  strip(2);  // one more, in the same run
  glDisable(GL_LINE_SMOOTH);
  strip(3);
  glEnable(GL_LINE_SMOOTH);
  strip(2);  // the fourth quad, in a run of its own
  sculptFlush();
  ASSERT_EQ(g_sent.size(), 1u);
  EXPECT_EQ(g_sent[0].corners, 16u);
  EXPECT_EQ(g_sent[0].indices, (std::vector<std::uint32_t>{0, 1, 1, 2}));
  EXPECT_EQ(g_sent[0].ranges,
            (std::vector<SculptRange>{
                {GL_TRIANGLES, 0, 18, 1}, {GL_LINES, 0, 4, 0}, {GL_TRIANGLES, 18, 6, 1}}));
  glDisable(GL_LINE_SMOOTH);
}

TEST(BrowserBatch, PlainIndicesAreSentAgainOnlyWhenTheyChange) {
  g_sent.clear();
  glViewport(0, 0, 100, 100);
  for (int vertices : {2, 3, 3, 4, 4}) {  // the first frame whatever an earlier test sent
    strip(vertices);
    sculptFlush();
  }
  ASSERT_EQ(g_sent.size(), 5u);
  g_sent.erase(g_sent.begin());
  const std::vector<std::uint32_t> three = {0, 1, 1, 2}, four = {0, 1, 1, 2, 2, 3};
  const std::vector<std::vector<std::uint32_t>> indices = {three, three, four, four};
  const std::vector<bool> changed = {true, false, true, false};
  for (std::size_t f = 0; f < 4; ++f) {
    EXPECT_EQ(g_sent[f].indices, indices[f]) << "frame " << f;
    EXPECT_EQ(g_sent[f].indicesChanged, changed[f]) << "frame " << f;
  }
}

// Pairs of cells along a grid's column and the next, as a line grid draws them: (x, j)–(x + 1, j).
void column(int x, int cells) {
  glBegin(GL_LINES);
  for (int j = 0; j < cells; ++j) {
    glVertex3f(0.1f * x, 0.1f * j, 0.0f);
    glVertex3f(0.1f * (x + 1), 0.1f * j, 0.0f);
  }
  glEnd();
}

TEST(BrowserBatch, InstancedContextsReadSegmentsFromTheirEndsSharedOnce) {
  g_sent.clear();
  g_instanced = true;
  sculptFlush();  // the layer asks after a frame
  glViewport(0, 0, 100, 100);
  glEnable(GL_LINE_SMOOTH);
  column(0, 3);  // three pairs
  column(1, 3);  // begins at column 0's second ends: keeps only its own
  column(5, 3);  // begins elsewhere: all its pairs
  strip(4);      // three segments sharing their ends
  glDisable(GL_LINE_SMOOTH);
  strip(2);  // plain, indexed as ever
  sculptFlush();
  g_instanced = false;
  sculptFlush();
  ASSERT_EQ(g_sent.size(), 1u);
  const Sent& frame = g_sent[0];
  EXPECT_EQ(frame.corners, 0u) << "no quads made here";
  EXPECT_EQ(frame.vertices.size(), 6u + 3u + 6u + 4u + 2u);
  EXPECT_EQ(frame.ranges,
            (std::vector<SculptRange>{{GL_LINES, 0, 3, kSculptWideSegments, 1, 2, 2},
                                      {GL_LINES, 1, 3, kSculptWideSegments, 6, 2, 1},
                                      {GL_LINES, 9, 3, kSculptWideSegments, 10, 2, 2},
                                      {GL_LINES, 15, 3, kSculptWideSegments, 16, 1, 1},
                                      {GL_LINES, 0, 2, kSculptPlain}}));
  // Column 1's own ends are its second vertices, (0.2, 0.1 j) before the transform.
  for (std::uint32_t n = 0; n < 3; ++n) {
    EXPECT_FLOAT_EQ(frame.vertices[6 + n].position[0], 0.2f) << n;
    EXPECT_FLOAT_EQ(frame.vertices[6 + n].position[1], 0.1f * static_cast<float>(n)) << n;
  }
  EXPECT_EQ(frame.indices, (std::vector<std::uint32_t>{19, 20}));
}
