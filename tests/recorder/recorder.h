// A recording stand-in for the GL, GLU and GLUT functions the programs call. Test binaries link
// it in place of the real libraries; every call lands in calls() with its arguments.
#pragma once

#include <array>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace recorder {

struct Call {
  std::string_view name;
  std::array<double, 9> args{};  // every GL, GLU and GLUT argument used fits a double exactly
  int argCount = 0;
  std::string text;  // the one string argument, glutCreateWindow's title
};

bool operator==(const Call& a, const Call& b);
inline bool operator!=(const Call& a, const Call& b) {
  return !(a == b);
}
void PrintTo(const Call& call, std::ostream* out);  // gtest's printer: name(arg, ...)

Call call(std::string_view name, std::initializer_list<double> args = {});
Call vertex(float x, float y, float z);
Call colour(float r, float g, float b, float a);

struct Window {
  int x = 0, y = 0, width = 0, height = 0;
};

// What GLUT would remember: the registered callbacks, the pending timer and the window.
struct Glut {
  void (*display)() = nullptr;
  void (*reshape)(int, int) = nullptr;
  void (*mouse)(int, int, int, int) = nullptr;
  void (*keyboard)(unsigned char, int, int) = nullptr;
  void (*special)(int, int, int) = nullptr;
  void (*motion)(int, int) = nullptr;
  void (*passiveMotion)(int, int) = nullptr;
  void (*timer)(int) = nullptr;
  unsigned timerPeriod = 0;
  int timerValue = 0;
  int pendingTimers = 0;  // armed and not yet fired
  Window window;          // what glutGet reports; moved and resized by the GLUT calls
  Window screen{0, 0, 1920, 1080};
  int cursor = -1;  // the last glutSetCursor argument
};

std::vector<Call>& calls();
Glut& glut();
void reset();  // forget every call and every registration, and store vertices again

// A frame sends about 262,000 vertices and colours; storing them makes long event sequences slow.
// With storing off they are only counted, with a count of those carrying a NaN or an infinity;
// every other call is still stored.
struct VertexTally {
  long vertices = 0;
  long colours = 0;
  long nonFinite = 0;  // vertex and colour calls with any argument not finite
};
void storeVertices(bool store);
VertexTally& tally();
// What glVertex3f and glColor4f do: store the call, or count it when storing is off.
void vertexCall(float x, float y, float z);
void colourCall(float r, float g, float b, float a);

// Runs the pending timer as GLUT's main loop would.
void fireTimer();

}  // namespace recorder
