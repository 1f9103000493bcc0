// The browser layer's batch as webgl.js receives it: smoothed segments' runs counted in the
// quads' own indices, and the plain indices sent again only when a frame's differ from the last.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "webgl.h"

namespace {

// One frame as it reached sculptWebGlDraw.
struct Sent {
  std::size_t corners = 0;
  std::vector<std::uint32_t> indices;
  bool indicesChanged = false;
  std::vector<SculptRange> ranges;
};
std::vector<Sent> g_sent;

void strip(int vertices) {
  glBegin(GL_LINE_STRIP);
  for (int i = 0; i < vertices; ++i) glVertex3f(0.1f * i, 0.05f * i, 0.0f);
  glEnd();
}

}  // namespace

bool operator==(const SculptRange& a, const SculptRange& b) {
  return a.mode == b.mode && a.first == b.first && a.count == b.count && a.smooth == b.smooth;
}

extern "C" {
void sculptWebGlDraw(const SculptVertex*, std::size_t, const SculptLineVertex*,
                     std::size_t lineVertexCount, const std::uint32_t* indices,
                     std::size_t indexCount, bool indicesChanged, const SculptRange* ranges,
                     std::size_t rangeCount) {
  g_sent.push_back({lineVertexCount,
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
