// The browser layer's batch as webgl.js receives it: smoothed segments' runs counted in the
// quads' own indices, or, where the context widens them itself, their ends' vertex numbers with a
// shared end sent once; and indices and pairs sent again only when a frame's differ from the last.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "webgl.h"

namespace {

// One frame as it reached sculptWebGlDraw.
struct Sent {
  std::vector<SculptVertex> vertices;
  bool ends = false;
  std::vector<float> positions;  // the ends' vertices as far as the pairs reach
  std::vector<std::uint32_t> pairs;
  bool pairsChanged = false;
  std::size_t corners = 0;
  std::vector<std::uint32_t> indices;
  bool indicesChanged = false;
  std::vector<SculptRange> ranges;
};
std::vector<Sent> g_sent;
std::uint32_t g_endsCapacity = 0;  // what the stand-in's context says it can widen

void strip(int vertices) {
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < vertices; ++i) glVertex3f(0.1f * i, 0.05f * i, 0.0f);
  glEnd();
}

}  // namespace

bool operator==(const SculptRange& a, const SculptRange& b) {
  return a.mode == b.mode && a.first == b.first && a.count == b.count && a.kind == b.kind;
}

extern "C" {
void sculptWebGlDraw(const SculptVertex* vertices, std::size_t vertexCount, const SculptLineVertex*,
                     std::size_t lineVertexCount, const std::uint32_t* indices,
                     std::size_t indexCount, bool indicesChanged, const SculptEnds* ends,
                     const SculptRange* ranges, std::size_t rangeCount) {
  Sent sent{{vertices, vertices + vertexCount},
            ends != nullptr,
            {},
            {},
            false,
            lineVertexCount,
            {indices, indices + indexCount},
            indicesChanged,
            {ranges, ranges + rangeCount}};
  if (ends) {
    sent.positions.assign(ends->positions,
                          ends->positions + std::size_t{ends->rows} * kSculptRowVertices * 4);
    sent.pairs.assign(ends->pairs, ends->pairs + std::size_t{ends->segments} * 2);
    sent.pairsChanged = ends->pairsChanged != 0;
  }
  g_sent.push_back(sent);
}
std::uint32_t sculptWebGlEndsCapacity() {
  return g_endsCapacity;
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
  EXPECT_EQ(g_sent[0].ranges, (std::vector<SculptRange>{{GL_TRIANGLES, 0, 18, kSculptQuads},
                                                        {GL_LINES, 0, 4, kSculptPlain},
                                                        {GL_TRIANGLES, 18, 6, kSculptQuads}}));
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

TEST(BrowserBatch, ContextsThatWidenSegmentsGetTheirEndsWithSharedOnesOnce) {
  g_sent.clear();
  g_endsCapacity = 1000;
  sculptFlush();  // the layer asks after a batch
  glViewport(0, 0, 100, 100);
  glEnable(GL_LINE_SMOOTH);
  column(0, 3);  // three pairs
  column(1, 3);  // begins at column 0's second ends: keeps only its own
  column(5, 3);  // begins elsewhere: all its pairs
  strip(4);      // three segments sharing their ends
  glDisable(GL_LINE_SMOOTH);
  strip(2);  // plain, indexed as ever, after the ends
  glEnable(GL_LINE_SMOOTH);
  strip(2);  // widened again: a run of its own
  glDisable(GL_LINE_SMOOTH);
  sculptFlush();
  for (int frame = 0; frame < 2; ++frame) {  // the same pairs again: not sent again
    glEnable(GL_LINE_SMOOTH);
    column(0, 3);
    glDisable(GL_LINE_SMOOTH);
    sculptFlush();
  }
  g_endsCapacity = 0;
  sculptFlush();
  ASSERT_EQ(g_sent.size(), 3u);  // the frame and the two repeats
  const Sent& frame = g_sent[0];
  EXPECT_EQ(frame.corners, 0u) << "no quads made here";
  ASSERT_TRUE(frame.ends);
  EXPECT_EQ(frame.vertices.size(), 2u) << "the plain strip's alone";
  EXPECT_EQ(frame.indices, (std::vector<std::uint32_t>{0, 1}));
  EXPECT_EQ(frame.pairs, (std::vector<std::uint32_t>{0,  1,  2,  3,  4,  5,   // column 0
                                                     1,  6,  3,  7,  5,  8,   // column 1
                                                     9,  10, 11, 12, 13, 14,  // column 5
                                                     15, 16, 16, 17, 17, 18,  // the strip
                                                     19, 20}));
  EXPECT_EQ(frame.ranges, (std::vector<SculptRange>{{GL_TRIANGLES, 0, 12 * 6, kSculptSegments},
                                                    {GL_LINES, 0, 2, kSculptPlain},
                                                    {GL_TRIANGLES, 12 * 6, 6, kSculptSegments}}));
  // The ends in whole rows, as transformed: column 0's second ends, (0.1, 0.1 j) before the
  // transform, shared by column 1, whose own second ends are (0.2, 0.1 j).
  ASSERT_EQ(frame.positions.size(), kSculptRowVertices * 4);
  for (std::uint32_t n = 0; n < 3; ++n) {
    EXPECT_FLOAT_EQ(frame.positions[(1 + 2 * n) * 4], 0.1f) << n;
    EXPECT_FLOAT_EQ(frame.positions[(6 + n) * 4], 0.2f) << n;
    EXPECT_FLOAT_EQ(frame.positions[(6 + n) * 4 + 1], 0.1f * static_cast<float>(n)) << n;
  }
  EXPECT_TRUE(frame.pairsChanged);
  EXPECT_TRUE(g_sent[1].pairsChanged);
  EXPECT_EQ(g_sent[1].pairs, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_FALSE(g_sent[2].pairsChanged);
  EXPECT_EQ(g_sent[2].pairs, g_sent[1].pairs);
}

TEST(BrowserBatch, SegmentsPastTheEndsCapacityAreWidenedHere) {
  g_sent.clear();
  g_endsCapacity = 8;  // vertices
  sculptFlush();
  glViewport(0, 0, 100, 100);
  glEnable(GL_LINE_SMOOTH);
  column(0, 3);  // six vertices: within
  column(4, 3);  // twelve: its quads made here
  glDisable(GL_LINE_SMOOTH);
  sculptFlush();
  g_endsCapacity = 0;
  sculptFlush();
  ASSERT_EQ(g_sent.size(), 1u);
  EXPECT_EQ(g_sent[0].corners, 12u);
  EXPECT_EQ(g_sent[0].pairs, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(g_sent[0].ranges, (std::vector<SculptRange>{{GL_TRIANGLES, 0, 18, kSculptSegments},
                                                        {GL_TRIANGLES, 0, 18, kSculptQuads}}));
}

// With no transform a vertex's clip coordinates are its own, w 1: the view is -1 to 1 each way.
TEST(BrowserBatch, TrianglesWhollyBeyondOneSideOfTheViewAreNotSentNorTheirOwnVertices) {
  g_sent.clear();
  glViewport(0, 0, 100, 100);
  for (int frame = 0; frame < 2; ++frame) {
    glBegin(GL_QUAD_STRIP);
    for (const float x : {2.0f, 3.0f, 0.5f, 0.0f}) {  // a quad off to the right, then across
      glVertex3f(x, 0.0f, 0.0f);
      glVertex3f(x, 0.5f, 0.0f);
    }
    glEnd();
    glBegin(GL_POLYGON);
    glVertex3f(-2.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 2.0f, 0.0f);  // beyond a different side from each neighbour: across the view
    glVertex3f(2.0f, 0.0f, 0.0f);
    glVertex3f(-3.0f, 1.0f, 0.0f);
    glVertex3f(-3.0f, -1.0f, 0.0f);  // with the first and the last: all to the left
    glVertex3f(std::nanf(""), 0.0f, 0.0f);
    glEnd();
    sculptFlush();
  }
  ASSERT_EQ(g_sent.size(), 2u);
  const Sent& sent = g_sent[0];
  // The strip's first two vertices draw only its first quad, which is all off the screen.
  ASSERT_EQ(sent.vertices.size(), 12u);
  EXPECT_EQ(sent.vertices[0].position[0], 3.0f);
  EXPECT_EQ(sent.vertices[6].position[0], -2.0f);
  EXPECT_EQ(sent.indices, (std::vector<std::uint32_t>{2, 0, 3, 0, 1, 3, 4, 2, 5, 2, 3, 5,  // strip
                                                      6, 7, 8, 6, 8, 9, 6, 10, 11}));
  EXPECT_EQ(sent.ranges, (std::vector<SculptRange>{{GL_TRIANGLES, 0, 21, kSculptPlain}}));
  EXPECT_FALSE(g_sent[1].indicesChanged) << "the same triangles on the screen, the same indices";
  EXPECT_EQ(g_sent[1].vertices.size(), 12u);
}
