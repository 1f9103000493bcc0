// Seeded random event sequences through the callbacks of one program, checked after every event;
// and Esc ending the process from wherever such a sequence leaves it.
//
// To run longer: SCULPT_EVENT_SEEDS=200 SCULPT_EVENTS=20000 build/lines_events (any program's
// binary); a failure names its seed and event, and the same seed plays the same events again.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "callbacks.h"
#include "event_play.h"

namespace {

long fromEnvironment(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && std::atol(text) > 0 ? std::atol(text) : fallback;
}

std::vector<std::uint8_t> randomBytes(unsigned seed, std::size_t count) {
  std::mt19937 generator(seed);
  std::vector<std::uint8_t> bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(generator());
  return bytes;
}

TEST(Events, NoSequenceBreaksTheScene) {
  const long seeds = fromEnvironment("SCULPT_EVENT_SEEDS", 6);
  const long count = fromEnvironment("SCULPT_EVENTS", 1500);
  long frames = 0, played = 0;
  for (long seed = 1; seed <= seeds; ++seed) {
    auto scene = events::startedScene();
    events::Player player(*scene);
    // Each event takes at most a dozen bytes; the rest of a run's bytes are left unread.
    const auto bytes =
        randomBytes(static_cast<unsigned>(seed), static_cast<std::size_t>(count) * 12);
    events::ByteReader reader(bytes.data(), bytes.size());
    for (long n = 0; n < count; ++n) {
      const std::string broken = player.play(reader.next());
      ASSERT_EQ(broken, "") << "seed " << seed << ", event " << n;
    }
    frames += player.frames();
    played += count;
  }
  RecordProperty("events", static_cast<int>(played));
  RecordProperty("frames", static_cast<int>(frames));
  EXPECT_GT(frames, played / 10);  // the mix draws frames, not only keys
}

// Plays a seeded sequence, brings the window to the wanted state, and presses Esc; reaching the
// end of the function means Esc did not end the process.
[[maybe_unused]] void escapeAfter(unsigned seed, bool fullScreen) {
  auto scene = events::startedScene();
  events::Player player(*scene);
  const auto bytes = randomBytes(seed, 4000);
  events::ByteReader reader(bytes.data(), bytes.size());
  for (int n = 0; n < 300; ++n) player.play(reader.next());
  if (scene->fullScreen != fullScreen) specialCallback(GLUT_KEY_F11, 0, 0);
  keyboardCallback(27, 0, 0);
}

TEST(Events, EscapeEndsTheProcessWithStatusZeroFromAnyState) {
#if GTEST_HAS_DEATH_TEST
  for (unsigned seed = 1; seed <= 3; ++seed) {
    EXPECT_EXIT(escapeAfter(seed, true), ::testing::ExitedWithCode(0), "") << "seed " << seed;
    EXPECT_EXIT(escapeAfter(seed, false), ::testing::ExitedWithCode(0), "") << "seed " << seed;
  }
#else
  GTEST_SKIP() << "no child processes here; the browser tests press Esc in the real page";
#endif
}

}  // namespace
