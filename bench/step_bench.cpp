// The program's own CPU work per frame, against the do-nothing GL: its model step, and its draw
// step on a fresh field and on one sculpted by two minutes of the benchmark's key path.
#include <GL/glut.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "key_path.h"
#include "null_gl.h"
#include "random.h"
#include "scene.h"

namespace {

constexpr int kAssumedFps = 30;       // frames per second of the replayed session
constexpr int kSessionSeconds = 120;  // as long as the scripted session of the frame-time plot

std::unique_ptr<Scene> freshScene() {
  seedRandom(1);  // every run benchmarks the same field
  auto scene = std::make_unique<Scene>();
  g_scene = scene.get();
  scene->init();
  return scene;
}

// The model after the session's key path, replayed at kAssumedFps without drawing.
std::unique_ptr<Scene> sculptedScene() {
  auto scene = freshScene();
  constexpr int kFrames = kSessionSeconds * kAssumedFps;
  int pressed = 0;
  for (int frame = 0; frame < kFrames; ++frame) {
    for (const int due = bench::pressesBy(frame * 1000LL / kAssumedFps); pressed < due; ++pressed) {
      static constexpr int kKeys[] = {GLUT_KEY_RIGHT, GLUT_KEY_UP, GLUT_KEY_LEFT, GLUT_KEY_DOWN};
      scene->special(kKeys[static_cast<int>(bench::spiralArrow(pressed))], 0, 0);
    }
    scene->advance();
  }
  return scene;
}

void modelStep(benchmark::State& state) {
  auto scene = freshScene();
  for (auto _ : state) {
    scene->advance();
    benchmark::ClobberMemory();
  }
  // The CSV report wants the same counters on every benchmark; the model step draws nothing.
  state.counters["vertices"] = 0;
  state.counters["per_vertex"] = 0;
}

void drawStep(benchmark::State& state, bool sculpted) {
  const auto scene = sculpted ? sculptedScene() : freshScene();
  nullgl::resetVertices();
  scene->draw();
  const long long perFrame = nullgl::vertices();
  nullgl::resetVertices();
  for (auto _ : state) scene->draw();
  state.counters["vertices"] = static_cast<double>(perFrame);
  // Seconds per vertex: the rate of vertices inverted.
  state.counters["per_vertex"] =
      benchmark::Counter(static_cast<double>(nullgl::vertices()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(modelStep)->Name("model_step");
BENCHMARK_CAPTURE(drawStep, fresh, false)->Name("draw_step/fresh")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(drawStep, sculpted, true)
    ->Name("draw_step/sculpted")
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
