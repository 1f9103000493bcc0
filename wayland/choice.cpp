// Choosing between X and Wayland, once, at start: the compositor is asked, within a bound, for
// what SDL needs before SDL is started on it, since SDL 2.26 crashes on a compositor without a
// seat and waits without end on one that never answers.
#include <SDL.h>
#include <poll.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "scene.h"
#include "toolkit.h"

namespace {
constexpr auto kAnswerBound = std::chrono::seconds(5);  // for the compositor's first answer

struct Globals {
  bool compositor = false;
  bool shell = false;  // xdg_wm_base, the desktop's windows
  bool seat = false;
};

void globalCallback(void* data, wl_registry* /*registry*/, std::uint32_t /*name*/,
                    const char* interface, std::uint32_t /*version*/) {
  auto* globals = static_cast<Globals*>(data);
  if (std::strcmp(interface, "wl_compositor") == 0) globals->compositor = true;
  if (std::strcmp(interface, "xdg_wm_base") == 0) globals->shell = true;
  if (std::strcmp(interface, "wl_seat") == 0) globals->seat = true;
}

void globalRemoveCallback(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

void doneCallback(void* data, wl_callback* /*callback*/, std::uint32_t /*serial*/) {
  *static_cast<bool*>(data) = true;
}

const wl_registry_listener kRegistryListener = {globalCallback, globalRemoveCallback};
const wl_callback_listener kDoneListener = {doneCallback};

// Reads the compositor's answers until `done`, or until the bound; false on an error or no answer.
bool awaitAnswer(wl_display* display, const bool& done) {
  const auto deadline = std::chrono::steady_clock::now() + kAnswerBound;
  while (!done) {
    if (wl_display_prepare_read(display) != 0) {
      if (wl_display_dispatch_pending(display) < 0) return false;
      continue;
    }
    wl_display_flush(display);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd socket = {wl_display_get_fd(display), POLLIN, 0};
    if (left.count() <= 0 || poll(&socket, 1, static_cast<int>(left.count())) <= 0) {
      wl_display_cancel_read(display);
      return false;
    }
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
      return false;
  }
  return true;
}

// Whether the compositor named by WAYLAND_DISPLAY has what the programs need; `why` says what it
// lacks.
bool compositorUsable(std::string& why) {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) {
    why = "cannot be reached";
    return false;
  }
  Globals globals;
  bool done = false;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &globals);
  wl_callback* sync = wl_display_sync(display);
  wl_callback_add_listener(sync, &kDoneListener, &done);
  const bool answered = awaitAnswer(display, done);
  wl_callback_destroy(sync);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  if (!answered)
    why = "did not answer";
  else if (!globals.compositor || !globals.shell)
    why = "offers no desktop windows (xdg-shell)";
  else if (!globals.seat)
    why = "has no seat, so no keyboard";
  return answered && globals.compositor && globals.shell && globals.seat;
}

// SDL on Wayland, with desktop OpenGL through EGL; `why` says what failed.
bool sdlStarted(std::string& why) {
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // TERM and INT end the program, as on X
  // The compositor matches the window to its menu entry by this name.
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", kProgram.name, 0);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 && SDL_GL_LoadLibrary(nullptr) == 0) return true;
  why = std::string("cannot be drawn on: ") + SDL_GetError();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return false;
}

bool choose() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (wayland == nullptr || *wayland == '\0') return false;
  std::string why;
  if (compositorUsable(why) && sdlStarted(why)) return true;
  const char* x = std::getenv("DISPLAY");
  if (x != nullptr && *x != '\0') return false;
  std::fprintf(stderr, "%s: the Wayland display '%s' %s, and no X display is set\n", kProgram.name,
               wayland, why.c_str());
  std::exit(1);
}
}  // namespace

bool onWayland() {
  static const bool chosen = choose();
  return chosen;
}
