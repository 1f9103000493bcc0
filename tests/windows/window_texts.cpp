// window_texts TITLE: prints, one a line in UTF-8, the texts of every control in the visible
// top-level windows whose title holds TITLE, as a user would read them, so that a test can see
// which page of an installer is showing. Exits 1 if no such window is there.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char* g_title = nullptr;
bool g_found = false;

// WM_GETTEXT rather than GetWindowText, which reads no control of another program.
void printText(HWND window) {
  LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  length = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(length), nullptr, 0,
                                  nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(length), utf8.data(), bytes,
                      nullptr, nullptr);
  std::printf("%s\n", utf8.c_str());
}

BOOL CALLBACK controlCallback(HWND control, LPARAM) {
  if (IsWindowVisible(control)) printText(control);
  return TRUE;
}

BOOL CALLBACK windowCallback(HWND window, LPARAM) {
  char title[256] = "";
  GetWindowTextA(window, title, sizeof title);
  if (IsWindowVisible(window) && std::strstr(title, g_title)) {
    g_found = true;
    EnumChildWindows(window, controlCallback, 0);
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  g_title = argv[1];
  EnumWindows(windowCallback, 0);
  return g_found ? 0 : 1;
}
