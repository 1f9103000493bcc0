// The browser layer's smoothed segments: each is one quad reaching past the segment as far as
// Mesa's coverage does, and a segment that runs behind the eye is cut at the near plane.
#include "smooth_lines.h"

#include <gtest/gtest.h>

namespace {

SculptVertex vertex(float x, float y, float z, float w, std::uint8_t red) {
  return {{x, y, z, w}, {red, 0, 0, 255}};
}

std::vector<SculptLineVertex> widen(SculptVertex a, SculptVertex b, SculptViewport viewport,
                                    float width = 1.0f) {
  std::vector<SculptLineVertex> corners;
  sculptSmoothSegment(a, b, viewport, width, corners);
  return corners;
}

// A corner's window coordinates, as the rasteriser will put it.
void window(const SculptLineVertex& c, const SculptViewport& v, float& x, float& y) {
  x = (c.position[0] + 1.0f) * 0.5f * static_cast<float>(v.width) + v.x;
  y = (c.position[1] + 1.0f) * 0.5f * static_cast<float>(v.height) + v.y;
}

}  // namespace

TEST(SmoothLines, AQuadReachesHalfTheWidthAndHalfAPixelMoreAcrossAndHalfAPixelPastEachEnd) {
  // Its corners carry their distances across and along, which the shader's coverage reads.
  const SculptViewport viewport{0, 0, 64, 64};
  // From window (10.3, 32.2) to (20.3, 32.2), with w = 2 so that the widening must scale by it.
  const float x0 = (10.3f / 32 - 1) * 2, x1 = (20.3f / 32 - 1) * 2, y = (32.2f / 32 - 1) * 2;
  for (float width : {1.0f, 3.0f}) {
    const auto q = widen(vertex(x0, y, 1, 2, 10), vertex(x1, y, 1, 2, 20), viewport, width);
    ASSERT_EQ(q.size(), 4u);
    const float reach = width / 2 + 0.5f;
    const float expected[4][2] = {{9.8f, 32.2f - reach},
                                  {9.8f, 32.2f + reach},
                                  {20.8f, 32.2f - reach},
                                  {20.8f, 32.2f + reach}};
    for (int i = 0; i < 4; ++i) {
      float cx, cy;
      window(q[i], viewport, cx, cy);
      EXPECT_NEAR(cx, expected[i][0], 1e-4) << "corner " << i << ", width " << width;
      EXPECT_NEAR(cy, expected[i][1], 1e-4) << "corner " << i << ", width " << width;
      EXPECT_FLOAT_EQ(q[i].position[2], 0.5f) << "depth divided by w";
      EXPECT_NEAR(q[i].span[0], i % 2 ? reach : -reach, 1e-4);
      EXPECT_NEAR(q[i].span[1], i < 2 ? -0.5f : 10.5f, 1e-4);
      EXPECT_NEAR(q[i].span[2], i < 2 ? 10.5f : -0.5f, 1e-4);
      EXPECT_EQ(q[i].colour[0], i < 2 ? 10 : 20) << "each end keeps its colour";
    }
  }
}

TEST(SmoothLines, ASegmentRunningBehindTheEyeIsCutAtTheNearPlaneNotDroppedOrTurned) {
  const SculptViewport viewport{0, 0, 100, 100};
  // In front at the middle of the window; behind the eye (z < -w) further up. Divided by its w
  // as it stands, the far end would land below the near one, turning the segment about.
  const SculptVertex front = vertex(0, 0, 0, 1, 0);
  const SculptVertex behind = vertex(0, 2, -3, -1, 250);
  for (bool reversed : {false, true}) {
    const auto q = reversed ? widen(behind, front, viewport) : widen(front, behind, viewport);
    ASSERT_EQ(q.size(), 4u) << "reversed " << reversed;
    // Cut a fifth of the way along, where z = -w: window y 50 + 50 * 0.4 / 0.6, colour 50.
    const float cut = 50 + 50 * 0.4f / 0.6f;
    EXPECT_NEAR(q[0].span[2] - 0.5f, cut - 50, 1e-3) << "the cut segment's length";
    for (const SculptLineVertex& c : q) {
      EXPECT_GE(c.position[2], -1 - 1e-6) << "every corner in front of the plane";
      float cx, cy;
      window(c, viewport, cx, cy);
      EXPECT_NEAR(cy, c.colour[0] == 0 ? 49.5f : cut + 0.5f, 1e-3) << "off the cut segment";
      if (c.colour[0] != 0) {
        EXPECT_EQ(c.colour[0], 50);
      }
    }
  }
}

TEST(SmoothLines, NothingInFrontOfTheNearPlaneOrNoViewportDrawsNothing) {
  EXPECT_TRUE(widen(vertex(0, 0, -2, 1, 0), vertex(1, 1, -3, 1, 0), {0, 0, 100, 100}).empty());
  EXPECT_TRUE(widen(vertex(0, 0, 0, 1, 0), vertex(1, 1, 0, 1, 0), {0, 0, 0, 0}).empty());
}
