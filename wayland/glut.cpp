// Our GLUT on Wayland, over SDL2: one window with a desktop OpenGL context in buffers of the
// output's own pixels, GLUT's callbacks fed from SDL's events, and one-shot timers. Only what the
// shell calls is here, with freeglut's behaviour on X wherever a program could tell.
#include <GL/freeglut_std.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "scene.h"
#include "toolkit.h"

namespace {
using Clock = std::chrono::steady_clock;
constexpr Uint32 kIdleWaitMs = 100;  // the longest wait for an event while no timer is due

struct Timer {
  Clock::time_point due;
  void (*callback)(int);
  int value;
};

struct Glut {
  unsigned int mode = 0;
  int width = 300, height = 300;  // the next window's size, in logical pixels, as GLUT's default
  SDL_Window* window = nullptr;
  bool shown = false;                     // whether a frame has gone to the compositor yet
  bool fullScreenPending = false;         // asked for before that
  int shownWidth = -1, shownHeight = -1;  // the drawable size last reported, in pixels
  std::vector<Timer> timers;
  void (*display)() = nullptr;
  void (*reshape)(int, int) = nullptr;
  void (*mouse)(int, int, int, int) = nullptr;
  void (*keyboard)(unsigned char, int, int) = nullptr;
  void (*special)(int, int, int) = nullptr;
  void (*passiveMotion)(int, int) = nullptr;
  void (*motion)(int, int) = nullptr;
};

Glut g_glut;

// What a window that cannot be made leaves: one line, as freeglut's own errors on X.
[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "%s: %s on Wayland: %s\n", kProgram.name, what, SDL_GetError());
  std::exit(1);
}

// A point in the window's logical pixels, in the drawable's pixels as GLUT reports them.
void toPixels(int& x, int& y) {
  int logicalWidth = 0, logicalHeight = 0, width = 0, height = 0;
  SDL_GetWindowSize(g_glut.window, &logicalWidth, &logicalHeight);
  SDL_GL_GetDrawableSize(g_glut.window, &width, &height);
  if (logicalWidth > 0) x = x * width / logicalWidth;
  if (logicalHeight > 0) y = y * height / logicalHeight;
}

// GLUT's special-key code for an SDL key, or 0 for a key GLUT does not pass as special.
int specialKey(SDL_Keycode key) {
  if (key >= SDLK_F1 && key <= SDLK_F12) return GLUT_KEY_F1 + static_cast<int>(key - SDLK_F1);
  switch (key) {
    case SDLK_LEFT:
      return GLUT_KEY_LEFT;
    case SDLK_UP:
      return GLUT_KEY_UP;
    case SDLK_RIGHT:
      return GLUT_KEY_RIGHT;
    case SDLK_DOWN:
      return GLUT_KEY_DOWN;
    case SDLK_PAGEUP:
      return GLUT_KEY_PAGE_UP;
    case SDLK_PAGEDOWN:
      return GLUT_KEY_PAGE_DOWN;
    case SDLK_HOME:
      return GLUT_KEY_HOME;
    case SDLK_END:
      return GLUT_KEY_END;
    case SDLK_INSERT:
      return GLUT_KEY_INSERT;
    default:
      return 0;
  }
}

// A key press, each repeat included, as freeglut passes it: a special key, or a character that
// typing gives no text for (Esc, Return, Tab, Backspace, Delete, or a letter with Ctrl).
void keyDown(const SDL_KeyboardEvent& key) {
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  toPixels(x, y);
  const SDL_Keycode code = key.keysym.sym;
  if (const int special = specialKey(code)) {
    if (g_glut.special != nullptr) g_glut.special(special, x, y);
    return;
  }
  int character = -1;
  if (code == SDLK_ESCAPE || code == SDLK_RETURN || code == SDLK_TAB || code == SDLK_BACKSPACE ||
      code == SDLK_DELETE)
    character = static_cast<int>(code);
  else if ((key.keysym.mod & KMOD_CTRL) != 0 && code >= SDLK_a && code <= SDLK_z)
    character = static_cast<int>(code - SDLK_a) + 1;
  if (character >= 0 && g_glut.keyboard != nullptr)
    g_glut.keyboard(static_cast<unsigned char>(character), x, y);
}

// Typed text, as the characters GLUT passes: the ASCII ones.
void typed(const char* text) {
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  toPixels(x, y);
  for (const char* c = text; *c != '\0'; ++c)
    if (static_cast<unsigned char>(*c) < 0x80 && g_glut.keyboard != nullptr)
      g_glut.keyboard(static_cast<unsigned char>(*c), x, y);
}

void handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      std::exit(0);  // the window closed, as freeglut's default ends the program
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED && g_glut.display != nullptr &&
          g_glut.shownWidth >= 0)
        g_glut.display();
      break;
    case SDL_KEYDOWN:
      keyDown(event.key);
      break;
    case SDL_TEXTINPUT:
      typed(event.text.text);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int x = event.button.x, y = event.button.y;
      toPixels(x, y);
      const int button = event.button.button == SDL_BUTTON_LEFT     ? GLUT_LEFT_BUTTON
                         : event.button.button == SDL_BUTTON_MIDDLE ? GLUT_MIDDLE_BUTTON
                                                                    : GLUT_RIGHT_BUTTON;
      const int state = event.type == SDL_MOUSEBUTTONDOWN ? GLUT_DOWN : GLUT_UP;
      if (g_glut.mouse != nullptr) g_glut.mouse(button, state, x, y);
      break;
    }
    case SDL_MOUSEMOTION: {
      int x = event.motion.x, y = event.motion.y;
      toPixels(x, y);
      auto* callback = event.motion.state != 0 ? g_glut.motion : g_glut.passiveMotion;
      if (callback != nullptr) callback(x, y);
      break;
    }
    default:
      break;
  }
}

// A new drawable size goes to the reshape callback, in pixels, as GLUT reports a new window size.
void reportSize() {
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(g_glut.window, &width, &height);
  if (width == g_glut.shownWidth && height == g_glut.shownHeight) return;
  g_glut.shownWidth = width;
  g_glut.shownHeight = height;
  if (g_glut.reshape != nullptr) g_glut.reshape(width, height);
}

// Runs the timers that are due, each once; a callback may arm new ones.
void runTimers() {
  const Clock::time_point now = Clock::now();
  std::vector<Timer> due;
  auto first = std::stable_partition(g_glut.timers.begin(), g_glut.timers.end(),
                                     [&](const Timer& t) { return t.due > now; });
  due.assign(first, g_glut.timers.end());
  g_glut.timers.erase(first, g_glut.timers.end());
  for (const Timer& t : due) t.callback(t.value);
}

// Milliseconds until the next timer is due, at most the idle wait.
int untilNextTimer() {
  Clock::time_point next = Clock::now() + std::chrono::milliseconds(kIdleWaitMs);
  for (const Timer& t : g_glut.timers) next = std::min(next, t.due);
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(next - Clock::now()).count();
  return static_cast<int>(std::max<long long>(left, 0));
}

void leaveFullScreen() {
  if ((SDL_GetWindowFlags(g_glut.window) & SDL_WINDOW_FULLSCREEN) != 0)
    SDL_SetWindowFullscreen(g_glut.window, 0);
}

// GLUT's entry points.

void initErrorFunc(void (*)(const char*, va_list)) {
  // SDL's errors are reported where they happen; nothing of freeglut's runs here.
}

void init(int* /*argc*/, char** /*argv*/) {
  // SDL started when Wayland was chosen; GLUT's own options are X's.
}

void initDisplayMode(unsigned int mode) {
  g_glut.mode = mode;
}

void initWindowSize(int width, int height) {
  g_glut.width = width;
  g_glut.height = height;
}

void initWindowPosition(int /*x*/, int /*y*/) {
  // A Wayland client cannot place its window; the compositor does.
}

int createWindow(const char* title) {
  // Eight bits a colour and no alpha, so that the compositor takes the window as opaque whatever
  // alpha the program clears to; a depth buffer of 24 bits, as Mesa's GLX gives freeglut.
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (g_glut.mode & GLUT_DOUBLE) != 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, (g_glut.mode & GLUT_DEPTH) != 0 ? 24 : 0);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  g_glut.window = SDL_CreateWindow(
      title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, g_glut.width, g_glut.height,
      SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (g_glut.window == nullptr) fail("no window");
  SDL_GLContext context = SDL_GL_CreateContext(g_glut.window);
  if (context == nullptr || SDL_GL_MakeCurrent(g_glut.window, context) != 0)
    fail("no OpenGL context");
  // A swap never waits for the compositor's frame, which never comes while the window is hidden.
  SDL_GL_SetSwapInterval(0);
  return 1;
}

int get(unsigned int query) {
  int x = 0, y = 0, width = 0, height = 0;
  SDL_GetWindowPosition(g_glut.window, &x, &y);
  SDL_GetWindowSize(g_glut.window, &width, &height);
  switch (query) {
    case GLUT_WINDOW_X:
      return x;  // the compositor's to know; SDL says 0
    case GLUT_WINDOW_Y:
      return y;
    // Logical pixels, so that the size saved on entering full screen is the one to come back to.
    case GLUT_WINDOW_WIDTH:
      return width;
    case GLUT_WINDOW_HEIGHT:
      return height;
    default:
      return 0;
  }
}

void fullScreen() {
  // kwin takes a window that asks for full screen before its first frame out of full screen again
  // as that frame arrives; asked for once the window is on screen, full screen holds everywhere.
  if (!g_glut.shown) {
    g_glut.fullScreenPending = true;
    return;
  }
  SDL_SetWindowFullscreen(g_glut.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void reshapeWindow(int width, int height) {
  g_glut.fullScreenPending = false;
  leaveFullScreen();  // as freeglut does
  SDL_SetWindowSize(g_glut.window, std::max(width, 1), std::max(height, 1));
}

void positionWindow(int x, int y) {
  g_glut.fullScreenPending = false;
  leaveFullScreen();
  SDL_SetWindowPosition(g_glut.window, x, y);  // the compositor may ignore it
}

void setCursor(int cursor) {
  SDL_ShowCursor(cursor == GLUT_CURSOR_NONE ? SDL_DISABLE : SDL_ENABLE);
}

void swapBuffers() {
  SDL_GL_SwapWindow(g_glut.window);
  if (g_glut.shown) return;
  g_glut.shown = true;
  if (g_glut.fullScreenPending) fullScreen();
}

void displayFunc(void (*callback)()) {
  g_glut.display = callback;
}
void reshapeFunc(void (*callback)(int, int)) {
  g_glut.reshape = callback;
}
void mouseFunc(void (*callback)(int, int, int, int)) {
  g_glut.mouse = callback;
}
void keyboardFunc(void (*callback)(unsigned char, int, int)) {
  g_glut.keyboard = callback;
}
void specialFunc(void (*callback)(int, int, int)) {
  g_glut.special = callback;
}
void passiveMotionFunc(void (*callback)(int, int)) {
  g_glut.passiveMotion = callback;
}
void motionFunc(void (*callback)(int, int)) {
  g_glut.motion = callback;
}

void timerFunc(unsigned int milliseconds, void (*callback)(int), int value) {
  g_glut.timers.push_back(
      {Clock::now() + std::chrono::milliseconds(milliseconds), callback, value});
}

[[noreturn]] void mainLoop() {
  for (;;) {
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, untilNextTimer()) != 0) {
      handle(event);
      while (SDL_PollEvent(&event) != 0) handle(event);
    }
    reportSize();
    runTimers();
  }
}
}  // namespace

const Toolkit kWaylandToolkit = {
    initErrorFunc, init,        initDisplayMode,   initWindowSize, initWindowPosition,
    createWindow,  get,         fullScreen,        reshapeWindow,  positionWindow,
    setCursor,     swapBuffers, displayFunc,       reshapeFunc,    mouseFunc,
    keyboardFunc,  specialFunc, passiveMotionFunc, motionFunc,     timerFunc,
    mainLoop,
};
