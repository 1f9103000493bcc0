// libFuzzer target: the fuzzer's bytes, read as an event stream, played on a fresh scene through
// the callbacks of one program, with the same checks after every event as the seeded tests.
#include <cstdio>
#include <cstdlib>

#include "event_play.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto scene = events::startedScene();
  events::Player player(*scene);
  events::ByteReader reader(data, size);
  for (int n = 0; !reader.done(); ++n) {
    const std::string broken = player.play(reader.next());
    if (!broken.empty()) {
      std::fprintf(stderr, "event %d: %s\n", n, broken.c_str());
      std::abort();
    }
  }
  return 0;
}
