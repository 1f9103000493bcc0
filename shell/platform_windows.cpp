// The platform layer on Windows: the hidden pointer, freeglut kept quiet, and the window put back
// by its drawing area on leaving full screen. Its icon is the program's GLUT_ICON resource.
#include <GL/freeglut.h>
#include <windows.h>

#include <cstdarg>

#include "scene.h"

namespace {
constexpr int kMostHides = 64;  // ShowCursor calls at most; each lowers the display count by one

WNDPROC g_glutProcedure = nullptr;
bool g_restoring = false;  // the next move of the window is the one out of full screen

void ignoreMessage(const char* /*format*/, va_list /*arguments*/) {}

HWND currentWindow() {
  return WindowFromDC(wglGetCurrentDC());
}

// Wraps freeglut's own handler of the window's messages. freeglut places a window by the corner of
// its frame but reports it by the corner of its drawing area, so a window put back where it was
// reported creeps by the width of its frame on every round trip; once the move out of full screen
// is done, this moves the frame on by that offset, so the drawing area lands where it was asked to
// be.
LRESULT CALLBACK placementProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallWindowProc(g_glutProcedure, window, message, wParam, lParam);
  if (message == WM_WINDOWPOSCHANGED && g_restoring) {
    const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
    const LONG style = GetWindowLong(window, GWL_STYLE);
    if (!(position->flags & SWP_NOMOVE) && (style & WS_CAPTION) == WS_CAPTION) {
      g_restoring = false;
      RECT frame = {0, 0, 0, 0};  // the frame around an empty drawing area at the origin
      AdjustWindowRectEx(&frame, static_cast<DWORD>(style), FALSE,
                         static_cast<DWORD>(GetWindowLong(window, GWL_EXSTYLE)));
      SetWindowPos(window, nullptr, position->x + frame.left, position->y + frame.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
  }
  return result;
}
}  // namespace

void prepareToolkit() {
  // freeglut warns on the console about what it can do without (under Wine, for one, it takes the
  // X display's name for a Windows display device); the programs print nothing.
  glutInitWarningFunc(ignoreMessage);
}

void hidePointer() {
  // GLUT's blank cursor, as on X, so the start-up calls are the same on both platforms; and
  // Windows' own switch, which hides the pointer only while its display count is below zero.
  // freeglut raised the count when it showed the window, so it is lowered until it is.
  glutSetCursor(GLUT_CURSOR_NONE);
  for (int i = 0; i < kMostHides && ShowCursor(FALSE) >= 0; ++i) {
  }
}

void nameWindow() {
  // Nothing to add: the window's icon is the program's GLUT_ICON resource, which freeglut loads
  // for every window it opens, and Windows ties a window to its program by the program itself.
}

void awaitPlacement() {
  // Nothing to wait for: Windows places a window as it creates it.
}

void keepClientPosition() {
  const HWND window = currentWindow();
  if (window == nullptr) return;
  if (g_glutProcedure == nullptr) {
    g_glutProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(placementProcedure)));
  }
  g_restoring = true;
}
