// sculpt_lines multiplies every vertex height by tan(camZ × 0.1): over every camera height the
// model can reach, that scale and the vertices it makes stay finite.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "test_scene.h"

namespace {

// No cell grows past 2^21 and the camera height never passes the tallest cell (longrun_test.cpp),
// so camZ × 0.1 stays within [0, 209715.2].
constexpr float kTallest = 2097152.0f;
constexpr float kSwing = 0.1f;                  // radians per unit of camZ, as sculpt_lines has it
constexpr double kPi = 3.14159265358979323846;  // M_PI is POSIX's, not every compiler's

TEST(HeightScale, TheTangentIsFiniteAndSmallEnoughNearEveryPole) {
  // |tan| is largest at the floats nearest its poles, the odd multiples of pi/2; look at the float
  // nearest each pole in range and its two neighbours.
  float worstArgument = 0.0f, worst = 0.0f;
  long poles = 0;
  for (long k = 0;; ++k) {
    const double pole = (2.0 * double(k) + 1.0) * kPi / 2.0;
    if (pole > double(kTallest * kSwing)) break;
    ++poles;
    const float nearest = static_cast<float>(pole);
    for (float x : {std::nextafter(nearest, 0.0f), nearest, std::nextafter(nearest, FLT_MAX)}) {
      const float t = std::fabs(std::tan(x));
      ASSERT_TRUE(std::isfinite(t)) << "tan(" << x << ")";
      if (t > worst) {
        worst = t;
        worstArgument = x;
      }
    }
  }
  EXPECT_GT(poles, 60000);
  // The tallest height times the steepest scale is still far inside the float range.
  EXPECT_LT(double(worst) * kTallest, double(FLT_MAX) / 1e6)
      << "tan(" << worstArgument << ") = " << worst;

  // Draw a frame with every cell at the tallest height and the camera height nearest that worst
  // argument: no vertex or colour carries a NaN or an infinity.
  auto scene = flatScene();
  for (auto& row : scene->heights)
    for (float& h : row) h = kTallest;
  recorder::storeVertices(false);
  for (float camZ : {worstArgument / kSwing, std::nextafter(worstArgument / kSwing, 0.0f),
                     2097151.125f, kTallest, 0.0f}) {
    scene->camZ = camZ;
    scene->draw();
  }
  EXPECT_EQ(recorder::tally().vertices, 5L * kGridSize * kGridSize * 2);
  EXPECT_EQ(recorder::tally().nonFinite, 0);
}

}  // namespace
