// The stand-in's bookkeeping: call records, their comparison and printing, GLUT's memory.
#include "recorder.h"

#include <cmath>
#include <cstdio>

namespace recorder {

bool operator==(const Call& a, const Call& b) {
  return a.name == b.name && a.argCount == b.argCount && a.args == b.args && a.text == b.text;
}

void PrintTo(const Call& c, std::ostream* out) {
  *out << c.name << '(';
  if (!c.text.empty()) *out << '"' << c.text << '"';
  for (int i = 0; i < c.argCount; ++i) {
    char number[32];
    std::snprintf(number, sizeof number, "%.17g", c.args[i]);
    *out << (i ? ", " : "") << number;
  }
  *out << ')';
}

Call call(std::string_view name, std::initializer_list<double> args) {
  Call c;
  c.name = name;
  for (double a : args) c.args[c.argCount++] = a;
  return c;
}

Call vertex(float x, float y, float z) {
  return call("glVertex3f", {x, y, z});
}

Call colour(float r, float g, float b, float a) {
  return call("glColor4f", {r, g, b, a});
}

std::vector<Call>& calls() {
  static std::vector<Call> all;
  return all;
}

Glut& glut() {
  static Glut state;
  return state;
}

namespace {
bool g_storeVertices = true;

bool finite(std::initializer_list<float> values) {
  for (float v : values)
    if (!std::isfinite(v)) return false;
  return true;
}
}  // namespace

void storeVertices(bool store) {
  g_storeVertices = store;
}

VertexTally& tally() {
  static VertexTally counts;
  return counts;
}

void vertexCall(float x, float y, float z) {
  if (g_storeVertices) {
    calls().push_back(vertex(x, y, z));
    return;
  }
  ++tally().vertices;
  if (!finite({x, y, z})) ++tally().nonFinite;
}

void colourCall(float r, float g, float b, float a) {
  if (g_storeVertices) {
    calls().push_back(colour(r, g, b, a));
    return;
  }
  ++tally().colours;
  if (!finite({r, g, b, a})) ++tally().nonFinite;
}

void reset() {
  calls().clear();
  glut() = Glut{};
  tally() = VertexTally{};
  g_storeVertices = true;
}

void fireTimer() {
  Glut& g = glut();
  if (g.pendingTimers == 0 || g.timer == nullptr) return;
  --g.pendingTimers;
  g.timer(g.timerValue);
}

}  // namespace recorder
