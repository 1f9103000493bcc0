// Starting Xvfb, a window manager and the program under test, and reading the screen through Xlib.
#include "desktop.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace desktop {
namespace {

// The current environment with DISPLAY replaced, WAYLAND_DISPLAY taken out (the programs would
// draw on a Wayland session the tests run in), and `extra` (NAME=value entries) added.
std::vector<std::string> environmentFor(const std::string& display,
                                        const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e)
    if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "WAYLAND_DISPLAY=", 16) != 0)
      env.emplace_back(*e);
  env.push_back("DISPLAY=" + display);
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  p.reserve(strings.size() + 1);
  for (auto& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

// Starts `argv` with `env`, stdout and stderr to `outputPath`.
pid_t spawn(std::vector<std::string> argv, std::vector<std::string> env,
            const std::string& outputPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  auto args = pointers(argv);
  auto envp = pointers(env);
  pid_t pid = -1;
  const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(error));
  return pid;
}

void stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

// A window can vanish between being listed and being read; that is no reason to end the test.
int ignoreXError(Display*, XErrorEvent*) {
  return 0;
}

int shiftOf(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

// The value of `atom` on `w` if it holds one CARDINAL, else -1.
long cardinalProperty(Display* d, Window w, Atom atom) {
  Atom type;
  int format;
  unsigned long count, remaining;
  unsigned char* data = nullptr;
  long value = -1;
  if (XGetWindowProperty(d, w, atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &remaining,
                         &data) == Success &&
      data != nullptr && count == 1)
    value = static_cast<long>(*reinterpret_cast<const unsigned long*>(data));
  if (data != nullptr) XFree(data);
  return value;
}

// Every window under `w` that `mine` picks, mapped or not, managed or not.
void windowsOf(Display* d, Window w, const std::function<bool(Window)>& mine,
               std::vector<Window>& found) {
  if (mine(w)) found.push_back(w);
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(d, w, &root, &parent, &children, &count)) return;
  for (unsigned n = 0; n < count; ++n) windowsOf(d, children[n], mine, found);
  if (children != nullptr) XFree(children);
}

// Every window under `w` that carries _NET_WM_PID `pid`.
void windowsOf(Display* d, Window w, Atom pidAtom, pid_t pid, std::vector<Window>& found) {
  windowsOf(
      d, w, [&](Window c) { return cardinalProperty(d, c, pidAtom) == pid; }, found);
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, Seconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::ostream& operator<<(std::ostream& out, const Rect& r) {
  return out << '(' << r.x << ", " << r.y << ") " << r.width << " × " << r.height;
}

bool near(Rgb a, Rgb b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

int Image::count(const Rect& r, const std::function<bool(Rgb)>& test) const {
  int n = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) n += test(at(x, y));
  return n;
}

Point Image::centre(const Rect& r, const std::function<bool(Rgb)>& test) const {
  double sx = 0, sy = 0;
  int n = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x)
      if (test(at(x, y))) {
        sx += x;
        sy += y;
        ++n;
      }
  return n == 0 ? Point{-1, -1} : Point{sx / n, sy / n};
}

Rgb Image::mostCommon(const Rect& r) const {
  std::map<int, int> counts;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x) {
      const Rgb& p = at(x, y);
      ++counts[(p.r << 16) | (p.g << 8) | p.b];
    }
  const auto top = std::max_element(counts.begin(), counts.end(),
                                    [](auto& a, auto& b) { return a.second < b.second; });
  return {top->first >> 16, (top->first >> 8) & 0xFF, top->first & 0xFF};
}

void Image::writePpm(const std::string& path) const {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << width_ << ' ' << height_ << "\n255\n";
  for (const Rgb& p : pixels_) out.put(char(p.r)).put(char(p.g)).put(char(p.b));
}

Desktop::Desktop(int width, int height, const std::string& windowManager)
    : width_(width), height_(height) {
  // The project's one way to start a desktop: it prints the display's name once the window
  // manager manages windows, and takes the desktop down when its input closes.
  int input[2], output[2];
  if (pipe2(input, O_CLOEXEC) != 0 || pipe2(output, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], 0);
  posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  // A process group of its own, so that everything it started can be ended with it.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::vector<std::string> argv = {SCULPT_DESKTOP_SCRIPT, "--size",
                                   std::to_string(width) + "x" + std::to_string(height), "--wm",
                                   windowManager};
  auto args = pointers(argv);
  const int error = posix_spawn(&script_, args[0], &actions, &attributes, args.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(input[0]);
  close(output[1]);
  holdOpen_ = input[1];
  if (error != 0) {
    script_ = -1;
    close(output[0]);
    throw std::runtime_error(std::string("cannot start the desktop: ") + std::strerror(error));
  }
  // The script gives up by itself after a minute; this bound only guards against the script.
  const auto deadline = std::chrono::steady_clock::now() + kStartBound;
  char c = 0;
  pollfd ready = {output[0], POLLIN, 0};
  while (c != '\n' && std::chrono::steady_clock::now() < deadline && poll(&ready, 1, 100) >= 0) {
    if (ready.revents == 0) continue;
    if (read(output[0], &c, 1) != 1) break;
    if (c != '\n') name_ += c;
  }
  close(output[0]);
  if (c != '\n' || name_.empty()) {
    end();
    throw std::runtime_error("the desktop did not start (" + windowManager + ")");
  }
  display_ = XOpenDisplay(name_.c_str());
  if (display_ == nullptr) {
    end();
    throw std::runtime_error("cannot open display " + name_);
  }
  XSetErrorHandler(ignoreXError);
}

Desktop::~Desktop() {
  if (display_ != nullptr) XCloseDisplay(display_);
  end();
}

void Desktop::end() {
  if (holdOpen_ >= 0) close(holdOpen_);  // the script stops its server and window manager
  holdOpen_ = -1;
  if (script_ <= 0) return;
  // The script ends its processes within its own grace; past this bound, it goes by force. Its
  // whole group goes in any case, so that nothing it started outlives the desktop; the script is
  // reaped only after that, so that its number cannot have passed to another process.
  waitUntil(
      [&] {
        siginfo_t info = {};
        return waitid(P_PID, script_, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid != 0;
      },
      kEndBound);
  kill(-script_, SIGKILL);
  waitpid(script_, nullptr, 0);
  script_ = -1;
}

std::string Desktop::whyNoWindow(pid_t pid) const {
  std::vector<Window> windows;
  windowsOf(display_, DefaultRootWindow(display_), XInternAtom(display_, "_NET_WM_PID", False), pid,
            windows);
  if (windows.empty()) return "the program has no window at all";
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display_, windows.front(), &attributes) &&
      attributes.map_state == IsUnmapped)
    return "its window exists unmapped: the window manager did not map it";
  return "its window exists mapped, but the window manager does not manage it";
}

Window Desktop::waitForWindow(pid_t pid, Seconds timeout) const {
  const Atom pidAtom = XInternAtom(display_, "_NET_WM_PID", False);
  return waitForWindow([&](Window w) { return cardinalProperty(display_, w, pidAtom) == pid; },
                       timeout);
}

Window Desktop::waitForWindow(const std::string& windowClass, Seconds timeout) const {
  return waitForWindow([&](Window w) { return this->windowClass(w) == windowClass; }, timeout);
}

Window Desktop::waitForWindow(const std::function<bool(Window)>& mine, Seconds timeout) const {
  // Managed and shown: mapped, with the WM_STATE that a window manager puts on every client it
  // manages (not every manager keeps the EWMH client list).
  const Atom wmState = XInternAtom(display_, "WM_STATE", False);
  Window found = 0;
  waitUntil(
      [&] {
        std::vector<Window> windows;
        windowsOf(display_, DefaultRootWindow(display_), mine, windows);
        for (Window w : windows) {
          XWindowAttributes attributes;
          int count = 0;
          Atom* names = XListProperties(display_, w, &count);
          const bool managed =
              names != nullptr && std::find(names, names + count, wmState) != names + count;
          if (names != nullptr) XFree(names);
          if (managed && XGetWindowAttributes(display_, w, &attributes) &&
              attributes.map_state == IsViewable)
            found = w;
        }
        return found != 0;
      },
      timeout);
  return found;
}

Rect Desktop::geometry(Window client) const {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, client, &attributes)) return {};
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display_, client, DefaultRootWindow(display_), 0, 0, &x, &y, &child);
  return {x, y, attributes.width, attributes.height};
}

std::string Desktop::title(Window client) const {
  std::string text;
  XTextProperty name;
  if (XGetWMName(display_, client, &name) && name.value != nullptr) {
    text.assign(reinterpret_cast<const char*>(name.value), name.nitems);
    XFree(name.value);
  }
  Atom type;
  int format;
  unsigned long count, remaining;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display_, client, XInternAtom(display_, "_NET_WM_NAME", False), 0, 1024,
                         False, AnyPropertyType, &type, &format, &count, &remaining,
                         &data) == Success &&
      data != nullptr) {
    text.append(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return text;
}

std::string Desktop::windowClass(Window client) const {
  XClassHint hint = {};
  if (!XGetClassHint(display_, client, &hint)) return "";
  std::string text = std::string(hint.res_name != nullptr ? hint.res_name : "") + "/" +
                     (hint.res_class != nullptr ? hint.res_class : "");
  if (hint.res_name != nullptr) XFree(hint.res_name);
  if (hint.res_class != nullptr) XFree(hint.res_class);
  return text;
}

std::vector<unsigned long> Desktop::cardinals(Window client, const char* property) const {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, left = 0;
  unsigned char* data = nullptr;
  const Atom atom = XInternAtom(display_, property, False);
  // Up to 4 M items, far more than any window property this project reads.
  if (XGetWindowProperty(display_, client, atom, 0, 1L << 22, False, AnyPropertyType, &type,
                         &format, &count, &left, &data) != Success)
    return {};
  std::vector<unsigned long> items;
  if (format == 32 && data != nullptr) {
    // Xlib hands the items over as longs, sign-extended from their 32 bits.
    const auto* first = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long i = 0; i < count; ++i) items.push_back(first[i] & 0xffffffffu);
  }
  if (data != nullptr) XFree(data);
  return items;
}

bool Desktop::keysReach(Window client) const {
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  if (focus == client) return true;
  if (focus != PointerRoot) return false;
  Window root, child;
  int rootX, rootY, x, y;
  unsigned mask;
  XQueryPointer(display_, client, &root, &child, &rootX, &rootY, &x, &y, &mask);
  const Rect area = geometry(client);
  return x >= 0 && y >= 0 && x < area.width && y < area.height;
}

std::string Desktop::describeFocus() const {
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display_, &focus, &revert);
  if (focus == None) return "no window";
  if (focus == PointerRoot) return "whatever window is under the pointer";
  std::ostringstream text;
  text << "window 0x" << std::hex << focus << std::dec;
  const std::string type = windowClass(focus);
  if (!type.empty()) text << " of class " << type;
  const std::string name = title(focus);
  if (!name.empty()) text << " named \"" << name << '"';
  return text.str();
}

bool Desktop::pointerHiddenAt(int x, int y) const {
  XWarpPointer(display_, None, DefaultRootWindow(display_), 0, 0, 0, 0, x, y);
  XSync(display_, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  XFixesCursorImage* cursor = XFixesGetCursorImage(display_);
  if (cursor == nullptr) return false;
  bool blank = true;
  for (int n = 0; n < cursor->width * cursor->height; ++n)
    if ((cursor->pixels[n] >> 24) != 0) blank = false;  // ARGB: any visible alpha
  XFree(cursor);
  return blank;
}

Image Desktop::grab(const Rect& area) const {
  XImage* shot = XGetImage(display_, DefaultRootWindow(display_), area.x, area.y, area.width,
                           area.height, AllPlanes, ZPixmap);
  if (shot == nullptr) throw std::runtime_error("cannot read the screen");
  Image image(area.width, area.height);
  const int rs = shiftOf(shot->red_mask), gs = shiftOf(shot->green_mask),
            bs = shiftOf(shot->blue_mask);
  for (int y = 0; y < area.height; ++y)
    for (int x = 0; x < area.width; ++x) {
      const unsigned long p = XGetPixel(shot, x, y);
      image.at(x, y) = {int((p & shot->red_mask) >> rs), int((p & shot->green_mask) >> gs),
                        int((p & shot->blue_mask) >> bs)};
    }
  XDestroyImage(shot);
  return image;
}

void Desktop::press(KeySym key, int times) const {
  const KeyCode code = XKeysymToKeycode(display_, key);
  for (int n = 0; n < times; ++n) {
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
  }
}

void Desktop::movePointer(int x, int y) const {
  XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
  XSync(display_, False);
}

void Desktop::focus(Window client) const {
  XSetInputFocus(display_, client, RevertToParent, CurrentTime);
  XSync(display_, False);
}

DamageCounter::DamageCounter(const Desktop& desktop, Window client) {
  display_ = XOpenDisplay(desktop.name().c_str());
  int errorBase = 0;
  if (display_ == nullptr || !XDamageQueryExtension(display_, &eventBase_, &errorBase))
    throw std::runtime_error("no DAMAGE extension on " + desktop.name());
  damage_ = XDamageCreate(display_, client, XDamageReportRawRectangles);
  XSync(display_, False);
}

DamageCounter::~DamageCounter() {
  XDamageDestroy(display_, damage_);
  XCloseDisplay(display_);
}

long DamageCounter::count() {
  XSync(display_, False);
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == eventBase_ + XDamageNotify) ++count_;
  }
  return count_;
}

Program::Program(const std::string& path, const Desktop& desktop,
                 const std::vector<std::string>& env) {
  char pattern[] = "/tmp/sculpt-output-XXXXXX";
  const int fd = mkstemp(pattern);
  if (fd < 0) throw std::runtime_error("mkstemp");
  close(fd);
  outputPath_ = pattern;
  pid_ = spawn({path}, environmentFor(desktop.name(), env), outputPath_);
}

Program::Program(const std::vector<std::string>& command, const Desktop& desktop) {
  char pattern[] = "/tmp/sculpt-output-XXXXXX";
  const int fd = mkstemp(pattern);
  if (fd < 0) throw std::runtime_error("mkstemp");
  close(fd);
  outputPath_ = pattern;
  pid_ = spawn(command, environmentFor(desktop.name(), {}), outputPath_);
}

Program::~Program() {
  stop(pid_);
  std::remove(outputPath_.c_str());
}

bool Program::waitForExit(Seconds timeout, int* status) {
  if (pid_ <= 0) return false;
  const bool ended = waitUntil([&] { return waitpid(pid_, status, WNOHANG) == pid_; }, timeout);
  if (ended) pid_ = -1;
  return ended;
}

std::string Program::output() const {
  std::ifstream in(outputPath_);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace desktop
