// Decoding events from bytes, playing them through the callbacks, and checking the scene and the
// recorded calls after each one against the model.
#include "event_play.h"

#include <GL/glut.h>

#include <cmath>
#include <cstring>
#include <sstream>

#include "callbacks.h"
#include "random.h"
#include "recorder.h"

namespace events {
namespace {

constexpr int kEscape = 27;
constexpr int kKnownSpecial[] = {
    GLUT_KEY_F1,     GLUT_KEY_F2,      GLUT_KEY_F3,        GLUT_KEY_F4,    GLUT_KEY_F5,
    GLUT_KEY_F6,     GLUT_KEY_F7,      GLUT_KEY_F8,        GLUT_KEY_F9,    GLUT_KEY_F10,
    GLUT_KEY_F11,    GLUT_KEY_F12,     GLUT_KEY_LEFT,      GLUT_KEY_UP,    GLUT_KEY_RIGHT,
    GLUT_KEY_DOWN,   GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN, GLUT_KEY_HOME,  GLUT_KEY_END,
    GLUT_KEY_INSERT, GLUT_KEY_LEFT,    GLUT_KEY_UP,        GLUT_KEY_RIGHT, GLUT_KEY_DOWN};
constexpr int kKnownSpecialCount = sizeof kKnownSpecial / sizeof kKnownSpecial[0];
// Beyond this height a float's spacing reaches 0.125, and a gap of one cell may stop closing.
constexpr float kExactCameraLimit = 1048576.0f;

// Growth the brush gives the cell (dx, dy) away from the cursor in one frame, in grid units.
float brushAmount(int dx, int dy) {
  if (kProgram.brush == Brush::centreOnly) return dx == 0 && dy == 0 ? 0.1f : 0.0f;
  if (dx < -1 || dx > 1 || dy < -1 || dy > 1) return 0.0f;
  if (dx == 0 && dy == 0) return 0.1f;
  return dx == 0 || dy == 0 ? 0.06f : 0.03f;
}

// The camera may close on its target or stay; it may never pass it or move away.
std::string checkFollow(const char* name, float before, float after, float target) {
  const double gapBefore = double(target) - double(before);
  const double gapAfter = double(target) - double(after);
  std::ostringstream out;
  if (!std::isfinite(after)) {
    out << name << " is not finite";
  } else if ((gapBefore >= 0 && (gapAfter < 0 || gapAfter > gapBefore)) ||
             (gapBefore < 0 && (gapAfter > 0 || gapAfter < gapBefore))) {
    out << name << " went from " << before << " to " << after << " toward " << target;
  } else if (std::fabs(gapBefore) >= 1.0 && std::fabs(before) < kExactCameraLimit &&
             gapAfter == gapBefore) {
    out << name << " stopped at " << before << ", a whole cell from " << target;
  }
  return out.str();
}

// Bit for bit, so that a NaN or a zero changing sign counts as a change.
std::uint32_t bits(float value) {
  std::uint32_t b;
  std::memcpy(&b, &value, sizeof b);
  return b;
}

bool sameField(const Scene& a, const Scene& b) {
  for (int x = 0; x < kGridSize; ++x)
    for (int y = 0; y < kGridSize; ++y)
      if (bits(a.heights[x][y]) != bits(b.heights[x][y])) return false;
  return true;
}

bool allFinite(const recorder::Call& call) {
  for (int n = 0; n < call.argCount; ++n)
    if (!std::isfinite(call.args[n])) return false;
  return true;
}

}  // namespace

int ByteReader::upTo(int most) {
  unsigned value = byte();
  if (most > 255) value = value << 8 | byte();
  if (most > 65535) value = value << 8 | byte();
  return static_cast<int>(value % (static_cast<unsigned>(most) + 1));
}

Event ByteReader::next() {
  Event e;
  const int choice = byte() % 16;
  // Any int may arrive as a position: pointers outside the window, grabs, odd window systems.
  auto position = [this] {
    const std::uint8_t width = byte();
    if (width < 200) return upTo(8191) - 4096;
    std::uint32_t v = 0;
    for (int n = 0; n < 4; ++n) v = v << 8 | byte();
    int signedValue;
    std::memcpy(&signedValue, &v, sizeof v);
    return signedValue;
  };
  if (choice < 3) {
    e.kind = Kind::key;
    e.a = byte();
    if (e.a == kEscape) e.a = 0;  // Esc ends the process; the exit tests press it
  } else if (choice < 6) {
    e.kind = Kind::special;
    const int pick = byte();
    e.a = pick < 200 ? kKnownSpecial[pick % kKnownSpecialCount] : position();
  } else if (choice == 6) {
    e.kind = Kind::arrowRun;
    e.a = GLUT_KEY_LEFT + upTo(3);
    e.b = 1 + upTo(299);
  } else if (choice == 7) {
    e.kind = Kind::mouse;
    e.a = upTo(7) - 1;  // -1 to 6: the three buttons, the wheel's 3 and 4, and more
    e.b = upTo(3) - 1;  // GLUT_DOWN, GLUT_UP and values GLUT never sends
  } else if (choice == 8) {
    e.kind = Kind::motion;
  } else if (choice == 9) {
    e.kind = Kind::reshape;
    static const int kSizes[][2] = {{0, 0}, {1, 100000}, {100000, 1}, {0, 480}, {640, 0}};
    const int pick = upTo(9);
    e.a = pick < 5 ? kSizes[pick][0] : upTo(4096);
    e.b = pick < 5 ? kSizes[pick][1] : upTo(4096);
  } else if (choice == 10) {
    e.kind = Kind::display;
  } else if (choice < 14) {
    e.kind = Kind::timer;
  } else if (choice == 14) {
    e.kind = Kind::f11Flood;
    e.a = 1 + upTo(255);
  } else {
    e.kind = Kind::windowMoved;
    e.a = upTo(4000) - 1000;
    e.b = upTo(4000) - 1000;
    e.c = upTo(4000);
    e.d = upTo(4000);
  }
  if (e.kind != Kind::reshape && e.kind != Kind::windowMoved) {
    e.c = position();
    e.d = position();
  }
  return e;
}

Player::Player(Scene& scene)
    : scene_(scene),
      before_(std::make_unique<Scene>(scene)),
      cursorX_(scene.cursorX),
      cursorY_(scene.cursorY),
      fullScreen_(scene.fullScreen),
      savedX_(scene.savedX),
      savedY_(scene.savedY),
      savedWidth_(scene.savedWidth),
      savedHeight_(scene.savedHeight) {}

std::string Player::play(const Event& e) {
  *before_ = scene_;
  recorder::calls().clear();
  int framesNow = 0;
  bool left = false;  // this event left full screen at least once
  auto pressF11 = [&] {
    fullScreen_ = !fullScreen_;
    if (fullScreen_) {
      const recorder::Window& w = recorder::glut().window;
      savedX_ = w.x;
      savedY_ = w.y;
      savedWidth_ = w.width;
      savedHeight_ = w.height;
    } else {
      left = true;
    }
    specialCallback(GLUT_KEY_F11, e.c, e.d);
  };

  auto pressArrow = [&](int key) {
    if (key == GLUT_KEY_LEFT && cursorX_ > 0) --cursorX_;
    if (key == GLUT_KEY_RIGHT && cursorX_ < kGridLast) ++cursorX_;
    if (key == GLUT_KEY_DOWN && cursorY_ > 0) --cursorY_;
    if (key == GLUT_KEY_UP && cursorY_ < kGridLast) ++cursorY_;
    specialCallback(key, e.c, e.d);
  };

  switch (e.kind) {
    case Kind::key:
      keyboardCallback(static_cast<unsigned char>(e.a), e.c, e.d);
      break;
    case Kind::special:
      if (e.a == GLUT_KEY_F11) {
        pressF11();
        break;
      }
      pressArrow(e.a);  // the model moves the cursor for arrows; other keys must change nothing
      break;
    case Kind::arrowRun:
      for (int n = 0; n < e.b; ++n) pressArrow(e.a);
      break;
    case Kind::mouse:
      mouseCallback(e.a, e.b, e.c, e.d);
      break;
    case Kind::motion:
      motionCallback(e.c, e.d);
      break;
    case Kind::reshape:
      reshapeCallback(e.a, e.b);
      framesNow = 1;
      break;
    case Kind::display:
      displayCallback();
      framesNow = 1;
      break;
    case Kind::timer:
      recorder::fireTimer();
      framesNow = 1;
      break;
    case Kind::f11Flood:
      for (int n = 0; n < e.a; ++n) pressF11();
      break;
    case Kind::windowMoved:
      if (!fullScreen_) recorder::glut().window = {e.a, e.b, e.c, e.d};
      break;
  }
  frames_ += framesNow;

  std::ostringstream out;
  const Scene& s = scene_;
  if (s.cursorX < 0 || s.cursorX > kGridLast || s.cursorY < 0 || s.cursorY > kGridLast)
    out << "cursor off the grid at " << s.cursorX << ", " << s.cursorY << "; ";
  if (s.cursorX != cursorX_ || s.cursorY != cursorY_)
    out << "cursor at " << s.cursorX << ", " << s.cursorY << " instead of " << cursorX_ << ", "
        << cursorY_ << "; ";
  if (s.fullScreen != fullScreen_) out << "full-screen flag is " << s.fullScreen << "; ";
  if (s.savedX != savedX_ || s.savedY != savedY_ || s.savedWidth != savedWidth_ ||
      s.savedHeight != savedHeight_)
    out << "saved geometry " << s.savedX << ", " << s.savedY << ", " << s.savedWidth << " x "
        << s.savedHeight << " instead of " << savedX_ << ", " << savedY_ << ", " << savedWidth_
        << " x " << savedHeight_ << "; ";
  const recorder::Window& w = recorder::glut().window;
  if (left && !fullScreen_ &&
      (w.x != savedX_ || w.y != savedY_ || w.width != savedWidth_ || w.height != savedHeight_))
    out << "window not restored to the saved geometry; ";
  if (e.kind == Kind::reshape && (s.viewWidth != e.a || s.viewHeight != e.b))
    out << "view size not recorded; ";
  if (framesNow == 0) {
    if (!sameField(s, *before_) || bits(s.camX) != bits(before_->camX) ||
        bits(s.camY) != bits(before_->camY) || bits(s.camZ) != bits(before_->camZ))
      out << "the field or camera changed without a frame; ";
  } else {
    out << checkFrame(*before_);
  }
  out << checkCalls(framesNow);
  return out.str();
}

std::string Player::checkFrame(const Scene& before) const {
  const Scene& s = scene_;
  std::ostringstream out;
  for (int x = 0; x < kGridSize; ++x)
    for (int y = 0; y < kGridSize; ++y) {
      const float was = before.heights[x][y];
      const float now = s.heights[x][y];
      const float amount = brushAmount(x - cursorX_, y - cursorY_);
      const float expected = amount > 0.0f ? was + amount : was;
      if (!(now >= was) || !(now >= 0.0f) || !std::isfinite(now) || now != expected) {
        out << "cell " << x << ", " << y << " went from " << was << " to " << now << " instead of "
            << expected << "; ";
        return out.str();
      }
    }
  out << checkFollow("camX", before.camX, s.camX, static_cast<float>(cursorX_));
  out << checkFollow("camY", before.camY, s.camY, static_cast<float>(cursorY_));
  if (kProgram.brush == Brush::nineCell) {
    out << checkFollow("camZ", before.camZ, s.camZ, s.heights[cursorX_][cursorY_]);
  } else if (bits(s.camZ) != bits(before.camZ)) {
    out << "camZ moved in a program without camera height; ";
  }
  return out.str();
}

std::string Player::checkCalls(int expectedFrames) const {
  std::ostringstream out;
  int swaps = 0, pushes = 0, pops = 0, begins = 0, ends = 0;
  for (const recorder::Call& c : recorder::calls()) {
    swaps += c.name == "glutSwapBuffers";
    pushes += c.name == "glPushMatrix";
    pops += c.name == "glPopMatrix";
    begins += c.name == "glBegin";
    ends += c.name == "glEnd";
    if (!allFinite(c)) out << c.name << " got a value that is not finite; ";
  }
  if (swaps != expectedFrames)
    out << swaps << " buffer swaps for " << expectedFrames << " frames; ";
  if (pushes != pops) out << pushes << " pushes against " << pops << " pops; ";
  if (begins != ends) out << begins << " glBegin against " << ends << " glEnd; ";
  if (recorder::tally().nonFinite != 0) out << "a vertex or colour that is not finite; ";
  if (recorder::glut().pendingTimers != 1) {
    out << recorder::glut().pendingTimers << " timers pending; ";
  }
  return out.str();
}

std::unique_ptr<Scene> startedScene() {
  recorder::reset();
  seedRandom(20261207);  // any fixed seed: the same bytes then give the same run
  auto scene = std::make_unique<Scene>();
  g_scene = scene.get();
  scene->init();
  glutTimerFunc(framePeriod(), timerCallback, 0);
  recorder::storeVertices(false);
  recorder::calls().clear();
  return scene;
}

}  // namespace events
