// Random event sequences played through GLUT's callbacks on the one Scene, each event checked
// against a plain model of what it may change. Shared by the seeded tests and the fuzzer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "scene.h"

namespace events {

enum class Kind {
  key,          // an ASCII key, any code but Esc
  special,      // a GLUT special key, known or not
  arrowRun,     // one arrow key held down: up to 300 presses by key repeat
  mouse,        // any button in any state
  motion,       // the pointer moves, with or without a button held
  reshape,      // the window system reports a new size, 0 × 0 and extremes included
  display,      // the window system asks for a redraw
  timer,        // the frame timer expires
  f11Flood,     // F11 pressed many times in a row
  windowMoved,  // the user moves or resizes the window while it is not full screen
};

struct Event {
  Kind kind = Kind::display;
  int a = 0, b = 0, c = 0, d = 0;  // key or button, state, x, y; or width, height; or a count
};

// Turns bytes, from the fuzzer or from a seeded generator, into events; past the end it reads 0.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  int upTo(int most);  // 0 to `most`, from as few bytes as that needs
  Event next();

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Plays events on an initialised scene, published in g_scene, and keeps the model of it.
class Player {
 public:
  explicit Player(Scene& scene);
  // Plays one event through the callbacks; returns what it broke, or "" when nothing.
  std::string play(const Event& event);
  long frames() const { return frames_; }

 private:
  std::string checkFrame(const Scene& before) const;
  std::string checkCalls(int expectedFrames) const;

  Scene& scene_;
  std::unique_ptr<Scene> before_;  // the scene as it was before the event being played
  long frames_ = 0;
  // The model: where the cursor must be, whether full screen was asked for, and the window
  // geometry saved at the last entry into full screen.
  int cursorX_, cursorY_;
  bool fullScreen_;
  int savedX_, savedY_, savedWidth_, savedHeight_;
};

// A scene started through init() on the stand-in with a fixed seed, vertices counted rather than
// stored, and the frame timer armed as main() arms it.
std::unique_ptr<Scene> startedScene();

}  // namespace events
