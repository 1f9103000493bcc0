// A real X desktop for end-to-end tests: an Xvfb server with a window manager, the program under
// test started on it, and the means to look at its window and press its keys.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace desktop {

using Seconds = std::chrono::duration<double>;

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Rect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
  bool operator!=(const Rect& o) const { return !(*this == o); }
};
std::ostream& operator<<(std::ostream& out, const Rect& r);  // "(x, y) width × height"

struct Rgb {
  int r = 0, g = 0, b = 0;
};
// True when every channel differs by at most `tolerance`.
bool near(Rgb a, Rgb b, int tolerance = 2);

struct Point {
  double x, y;
};

// A copy of part of the screen.
class Image {
 public:
  Image(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height) {}
  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return pixels_[y * width_ + x]; }
  const Rgb& at(int x, int y) const { return pixels_[y * width_ + x]; }
  // The colour that the most pixels in the rectangle have exactly.
  Rgb mostCommon(const Rect& r) const;
  // Number and centre of the pixels in the rectangle that pass `test`.
  int count(const Rect& r, const std::function<bool(Rgb)>& test) const;
  Point centre(const Rect& r, const std::function<bool(Rgb)>& test) const;
  void writePpm(const std::string& path) const;  // for looking at a failure

 private:
  int width_, height_;
  std::vector<Rgb> pixels_;
};

// An Xvfb server with an EWMH window manager on it, as a user's desktop would have, ready to
// manage windows: openbox, fluxbox, icewm or i3.
class Desktop {
 public:
  Desktop(int width, int height, const std::string& windowManager = "openbox");
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  const std::string& name() const { return name_; }  // the DISPLAY value
  Display* display() const { return display_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // The top-level window that process `pid` opened, or 0 once `timeout` passes.
  Window waitForWindow(pid_t pid, Seconds timeout) const;
  // The same for a window of WM_CLASS "name/class", for a program that sets no _NET_WM_PID.
  Window waitForWindow(const std::string& windowClass, Seconds timeout) const;
  // Why waitForWindow found none: whether the process has a window, and whether it is mapped.
  std::string whyNoWindow(pid_t pid) const;
  // The client's drawing area in root coordinates.
  Rect geometry(Window client) const;
  std::string title(Window client) const;
  // The client's WM_CLASS as "name/class", empty without one.
  std::string windowClass(Window client) const;
  // A property of 32-bit items on the client, such as _NET_WM_ICON; empty without one.
  std::vector<unsigned long> cardinals(Window client, const char* property) const;
  // Whether key presses now go to the client: it has the keyboard focus, or the focus follows
  // the pointer (as Xwayland's does) and the pointer is over it.
  bool keysReach(Window client) const;
  // A few words on the window that has the keyboard focus, for a failure message.
  std::string describeFocus() const;
  // Moves the pointer to a screen position and tells whether the cursor shown there is blank.
  bool pointerHiddenAt(int x, int y) const;
  Image grab(const Rect& area) const;
  Image grabScreen() const { return grab({0, 0, width_, height_}); }
  // Presses and releases the key `times` times, as a user's keyboard would.
  void press(KeySym key, int times = 1) const;
  // Moves the pointer to a screen position, as a user's mouse would.
  void movePointer(int x, int y) const;
  // Gives the keyboard focus to the window, as a click on it would.
  void focus(Window client) const;

 private:
  // Closes the script's input and waits, within kEndBound, for it to take the desktop down.
  void end();
  Window waitForWindow(const std::function<bool(Window)>& mine, Seconds timeout) const;
  static constexpr Seconds kStartBound{90};
  static constexpr Seconds kEndBound{6};

  int width_, height_;
  std::string name_;
  pid_t script_ = -1;
  int holdOpen_ = -1;  // the desktop lives while this end of its input is open
  Display* display_ = nullptr;
};

// Counts, from outside the program, the damage events of its window: one for every picture put
// on it, so a count of the frames it shows. Uses its own connection to the desktop's server.
class DamageCounter {
 public:
  DamageCounter(const Desktop& desktop, Window client);
  ~DamageCounter();
  DamageCounter(const DamageCounter&) = delete;
  DamageCounter& operator=(const DamageCounter&) = delete;
  long count();  // events so far

 private:
  Display* display_ = nullptr;
  unsigned long damage_ = 0;
  int eventBase_ = 0;
  long count_ = 0;
};

// One run of a program on the desktop; killed when it goes out of scope.
class Program {
 public:
  Program(const std::string& path, const Desktop& desktop,
          const std::vector<std::string>& env = {});
  // The program run under another, such as valgrind: `command` ends with the program's path.
  Program(const std::vector<std::string>& command, const Desktop& desktop);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  pid_t pid() const { return pid_; }
  // Waits for the process to end; true with its wait status, false if it is still running.
  bool waitForExit(Seconds timeout, int* status);
  std::string output() const;  // everything it wrote to stdout and stderr

 private:
  pid_t pid_ = -1;
  std::string outputPath_;
};

// Polls `condition` until it holds or `timeout` passes; returns its last value.
bool waitUntil(const std::function<bool()>& condition, Seconds timeout);

}  // namespace desktop
