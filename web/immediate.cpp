// OpenGL 1.1's immediate mode and GLU's two view functions, as the programs use them, over WebGL:
// vertices are transformed here and a whole frame goes to the browser in one upload.
#include <GL/gl.h>
#include <GL/glu.h>
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "smooth_lines.h"
#include "webgl.h"

namespace {
constexpr int kModelViewDepth = 32;  // matrices; the least GL 1.1 allows for each stack
constexpr int kProjectionDepth = 2;
constexpr double kPi = 3.14159265358979323846;

// Column-major 4 × 4, as GL keeps it: element (row r, column c) at [c * 4 + r].
struct Matrix {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

Matrix product(const Matrix& a, const Matrix& b) {
  Matrix p;
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[k * 4 + r] * b.m[c * 4 + k];
      p.m[c * 4 + r] = sum;
    }
  return p;
}

struct Stack {
  Matrix matrices[kModelViewDepth];
  int top = 0;
  int depth = 0;  // matrices the stack can hold
};

// Everything GL would remember between calls, and the frame's batch not yet sent.
struct State {
  Stack modelView{{}, 0, kModelViewDepth};
  Stack projection{{}, 0, kProjectionDepth};
  Stack* current = &modelView;
  std::uint8_t colour[4] = {255, 255, 255, 255};  // clamped to [0, 1] and scaled, as GL draws it
  GLenum primitive = 0;                           // 0 outside glBegin and glEnd
  Matrix transform;         // projection times model-view, fixed for one glBegin
  std::uint32_t first = 0;  // the open primitive's first vertex
  bool smoothLines = false;
  float lineWidth = 1.0f;  // pixels
  SculptViewport viewport;
  std::vector<SculptVertex> vertices;
  std::vector<SculptLineVertex> lineVertices;  // smoothed segments' quads
  std::vector<std::uint32_t> indices;
  std::vector<std::uint32_t> sentIndices;  // the last frame's, as webgl.js keeps them
  std::vector<std::uint32_t> renumbered;   // each plain vertex's number in the batch sent
  std::vector<SculptRange> ranges;
  // Smoothed segments that the context widens itself, by their ends' vertex numbers.
  std::uint32_t endsCapacity = 0;  // vertices; 0 where the context cannot
  std::vector<std::uint32_t> pairs;
  std::vector<std::uint32_t> sentPairs;  // the last frame's, as webgl.js keeps them
  std::size_t lastLines = 0;             // the last GL_LINES primitive's first pair, and its pairs
  std::uint32_t lastLinesCount = 0;
  std::vector<float> positions;  // the ends, apart from the plain vertices, as the textures take
  std::vector<std::uint8_t> colours;  // them: 4 floats and 4 bytes a vertex
};

State& state() {
  static State s;
  return s;
}

Matrix& top() {
  Stack& s = *state().current;
  return s.matrices[s.top];
}

void multiply(const Matrix& by) {
  top() = product(top(), by);
}

std::uint8_t channel(float value) {
  // A NaN fails both comparisons and lands on 0, as the rasteriser clamps it.
  if (!(value > 0.0f)) return 0;
  if (value >= 1.0f) return 255;
  return static_cast<std::uint8_t>(std::lround(value * 255.0f));
}

// With line smoothing on, replaces the segments just added as index pairs by their quads, and
// tells how many quads there are.
std::uint32_t smoothSegments(std::size_t before) {
  State& s = state();
  const std::size_t corners = s.lineVertices.size();
  for (std::size_t i = before; i + 1 < s.indices.size(); i += 2)
    sculptSmoothSegment(s.vertices[s.indices[i]], s.vertices[s.indices[i + 1]], s.viewport,
                        s.lineWidth, s.lineVertices);
  s.indices.resize(before);
  s.vertices.resize(s.first);
  return static_cast<std::uint32_t>((s.lineVertices.size() - corners) / 4);
}

std::uint32_t endCount() {
  return static_cast<std::uint32_t>(state().positions.size() / 4);
}

bool sameEnd(const SculptVertex& v, std::uint32_t end) {
  const State& s = state();
  return std::memcmp(v.position, &s.positions[std::size_t{end} * 4], sizeof v.position) == 0 &&
         std::memcmp(v.colour, &s.colours[std::size_t{end} * 4], sizeof v.colour) == 0;
}

// Where the context widens smoothed segments itself, a line primitive's vertices move to the ends
// and it becomes pairs of their numbers; tells how many. A GL_LINES primitive whose segments begin
// at the last one's second ends, vertex for vertex, as a grid's neighbouring lines do, takes those
// and keeps only its own second ends, so that a shared vertex goes to the GPU once. The ends and
// pairs are written in place, room made first: this runs for every line of every frame.
std::uint32_t segmentEnds() {
  State& s = state();
  const std::uint32_t first = s.first;
  const std::uint32_t count = static_cast<std::uint32_t>(s.vertices.size()) - first;
  const bool strip = s.primitive == GL_LINE_STRIP;
  const std::uint32_t segments = strip ? (count > 0 ? count - 1 : 0) : count / 2;
  const SculptVertex* v = &s.vertices[first];
  const std::size_t before = s.pairs.size() / 2;
  bool shared = !strip && segments > 0 && s.lastLinesCount == segments;
  for (std::uint32_t n = 0; n < segments && shared; ++n)
    shared = sameEnd(v[2 * n], s.pairs[(s.lastLines + n) * 2 + 1]);
  // Each vertex that is kept goes to the next end, in the order drawn.
  std::uint32_t end = endCount();
  const std::uint32_t kept = segments == 0 ? 0 : strip ? count : shared ? segments : 2 * segments;
  s.positions.resize(s.positions.size() + std::size_t{kept} * 4);
  s.colours.resize(s.colours.size() + std::size_t{kept} * 4);
  s.pairs.resize(s.pairs.size() + std::size_t{segments} * 2);
  std::uint32_t* pair = &s.pairs[before * 2];
  auto keep = [&](const SculptVertex& vertex) {
    std::memcpy(&s.positions[std::size_t{end} * 4], vertex.position, sizeof vertex.position);
    std::memcpy(&s.colours[std::size_t{end} * 4], vertex.colour, sizeof vertex.colour);
    return end++;
  };
  if (strip) {
    if (segments > 0) keep(v[0]);
    for (std::uint32_t i = 1; i <= segments; ++i, pair += 2) {
      pair[0] = end - 1;
      pair[1] = keep(v[i]);
    }
  } else {
    for (std::uint32_t n = 0; n < segments; ++n, pair += 2) {
      pair[0] = shared ? s.pairs[(s.lastLines + n) * 2 + 1] : keep(v[2 * n]);
      pair[1] = keep(v[2 * n + 1]);
    }
    s.lastLines = before;
    s.lastLinesCount = segments;
  }
  s.vertices.resize(first);
  return segments;
}

// Whether a triangle lies wholly beyond one plane of the clip volume, where GL draws none of it. A
// NaN fails every comparison, so such a triangle goes to the GPU as it always did.
bool beyondOnePlane(const SculptVertex& a, const SculptVertex& b, const SculptVertex& c) {
  const float *p = a.position, *q = b.position, *r = c.position;
  for (int axis = 0; axis < 3; ++axis) {
    if (p[axis] < -p[3] && q[axis] < -q[3] && r[axis] < -r[3]) return true;
    if (p[axis] > p[3] && q[axis] > q[3] && r[axis] > r[3]) return true;
  }
  return false;
}

// Appends a triangle's indices unless it cannot reach the screen: most of a field lies outside the
// view, and the browser's GPU process would transform and clip every vertex of it each frame.
void addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  State& s = state();
  if (beyondOnePlane(s.vertices[a], s.vertices[b], s.vertices[c])) return;
  s.indices.insert(s.indices.end(), {a, b, c});
}

// Keeps only the plain vertices that the batch's indices name, in the order drawn, and numbers
// the indices afresh; a frame of the same triangles on the screen gives the same indices.
void dropUnusedVertices() {
  State& s = state();
  constexpr std::uint32_t kUnused = 0xffffffff;
  s.renumbered.assign(s.vertices.size(), kUnused);
  for (const std::uint32_t i : s.indices) s.renumbered[i] = 0;
  std::uint32_t kept = 0;
  for (std::size_t v = 0; v < s.vertices.size(); ++v) {
    if (s.renumbered[v] == kUnused) continue;
    s.vertices[kept] = s.vertices[v];
    s.renumbered[v] = kept++;
  }
  s.vertices.resize(kept);
  for (std::uint32_t& i : s.indices) i = s.renumbered[i];
}

// Adds `added` indices from `start` as a run, or to the last run where it is of the same kind.
void addRun(std::uint32_t mode, std::uint32_t kind, std::uint32_t start, std::uint32_t added) {
  State& s = state();
  if (added == 0) return;
  if (!s.ranges.empty() && s.ranges.back().mode == mode && s.ranges.back().kind == kind) {
    s.ranges.back().count += added;
  } else {
    s.ranges.push_back({mode, start, added, kind});
  }
}

// Appends the open primitive's triangles or segments, as indices into its vertices, to the batch;
// a primitive too short to draw anything adds nothing, as in GL.
void closePrimitive() {
  State& s = state();
  if (s.smoothLines && (s.primitive == GL_LINES || s.primitive == GL_LINE_STRIP) &&
      endCount() + (s.vertices.size() - s.first) <= s.endsCapacity) {
    const auto start = static_cast<std::uint32_t>(s.pairs.size() / 2 * 6);
    addRun(GL_TRIANGLES, kSculptSegments, start, segmentEnds() * 6);
    return;
  }
  const std::uint32_t first = s.first;
  const std::uint32_t count = static_cast<std::uint32_t>(s.vertices.size()) - first;
  const std::size_t before = s.indices.size();
  bool lines = true;
  switch (s.primitive) {
    case GL_LINES:
      for (std::uint32_t i = 0; i + 1 < count; i += 2)
        s.indices.insert(s.indices.end(), {first + i, first + i + 1});
      break;
    case GL_LINE_STRIP:
      for (std::uint32_t i = 0; i + 1 < count; ++i)
        s.indices.insert(s.indices.end(), {first + i, first + i + 1});
      break;
    case GL_QUAD_STRIP:
      // Each quad is cut along the diagonal from its first vertex to its last, as Mesa cuts it, so
      // that the shading matches the desktop's.
      lines = false;
      for (std::uint32_t i = 0; i + 3 < count; i += 2) {
        const std::uint32_t a = first + i, b = a + 1, c = a + 2, d = a + 3;
        addTriangle(c, a, d);
        addTriangle(a, b, d);
      }
      break;
    case GL_POLYGON:
      lines = false;
      for (std::uint32_t i = 1; i + 1 < count; ++i) addTriangle(first, first + i, first + i + 1);
      break;
    default:  // no program draws another kind
      break;
  }
  if (lines && s.smoothLines) {  // a smoothed run counts in the quads' own indices, six a quad
    const auto start = static_cast<std::uint32_t>(s.lineVertices.size() / 4 * 6);
    addRun(GL_TRIANGLES, kSculptQuads, start, smoothSegments(before) * 6);
    return;
  }
  addRun(lines ? GL_LINES : GL_TRIANGLES, kSculptPlain, static_cast<std::uint32_t>(before),
         static_cast<std::uint32_t>(s.indices.size() - before));
}

// The frame's segment ends as webgl.js takes them, their pairs sent again only when they change.
SculptEnds ends() {
  State& s = state();
  const std::uint32_t rows = (endCount() + kSculptRowVertices - 1) / kSculptRowVertices;
  s.positions.resize(std::size_t{rows} * kSculptRowVertices * 4);  // whole rows
  s.colours.resize(s.positions.size());
  const bool changed = s.pairs != s.sentPairs;
  if (changed) s.sentPairs.swap(s.pairs);
  return {s.positions.data(),
          s.colours.data(),
          rows,
          s.sentPairs.data(),
          static_cast<std::uint32_t>(s.sentPairs.size() / 2),
          changed};
}
}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void sculptFlush() {
  State& s = state();
  if (!s.ranges.empty()) {
    dropUnusedVertices();
    // While the same triangles reach the screen a frame's indices are the last frame's, and every
    // program draws the same primitives every frame; comparing them costs far less than sending
    // them again.
    const bool changed = s.indices != s.sentIndices;
    if (changed) s.sentIndices.swap(s.indices);
    const bool widened = !s.pairs.empty();
    const SculptEnds segmentEnds = widened ? ends() : SculptEnds{};
    sculptWebGlDraw(s.vertices.data(), s.vertices.size(), s.lineVertices.data(),
                    s.lineVertices.size(), s.sentIndices.data(), s.sentIndices.size(), changed,
                    widened ? &segmentEnds : nullptr, s.ranges.data(), s.ranges.size());
  }
  s.vertices.clear();
  s.lineVertices.clear();
  s.indices.clear();
  s.ranges.clear();
  s.pairs.clear();
  s.positions.clear();
  s.colours.clear();
  s.lastLinesCount = 0;
  // Asked after each batch, so that the next takes the context's way.
  s.endsCapacity = sculptWebGlEndsCapacity();
}

// State that WebGL keeps too: the batch drawn so far goes first, so the order of a frame holds.
// Line smoothing is ours, taken at each glEnd; texturing with no texture bound changes nothing.
void glEnable(GLenum capability) {
  if (capability == GL_LINE_SMOOTH) state().smoothLines = true;
  if (capability != GL_BLEND && capability != GL_DEPTH_TEST) return;
  sculptFlush();
  sculptWebGlEnable(capability);
}
void glDisable(GLenum capability) {
  if (capability == GL_LINE_SMOOTH) state().smoothLines = false;
  if (capability != GL_BLEND && capability != GL_DEPTH_TEST) return;
  sculptFlush();
  sculptWebGlDisable(capability);
}
void glBlendFunc(GLenum source, GLenum destination) {
  sculptFlush();
  sculptWebGlBlendFunc(source, destination);
}
void glDepthFunc(GLenum function) {
  sculptFlush();
  sculptWebGlDepthFunc(function);
}
void glLineWidth(GLfloat width) {
  if (!(width > 0.0f)) return;  // GL_INVALID_VALUE, and the width stays
  sculptFlush();
  state().lineWidth = width;
  sculptWebGlLineWidth(width);
}
void glClearDepth(GLclampd depth) {
  sculptFlush();
  sculptWebGlClearDepth(static_cast<float>(depth));
}
void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  sculptFlush();
  sculptWebGlClearColor(red, green, blue, alpha);
}
void glClear(GLbitfield mask) {
  sculptFlush();
  sculptWebGlClear(mask);
}
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  if (width < 0 || height < 0) return;  // GL_INVALID_VALUE, and the viewport stays
  sculptFlush();
  state().viewport = {x, y, width, height};
  sculptWebGlViewport(x, y, width, height);
}

// Smooth shading is all WebGL does; the hint asks for what it does anyway; the render mode is
// only ever GL_RENDER.
void glShadeModel(GLenum /*mode*/) {}
void glHint(GLenum /*target*/, GLenum /*mode*/) {}
GLint glRenderMode(GLenum /*mode*/) {
  return 0;
}

void glMatrixMode(GLenum mode) {
  state().current = mode == GL_PROJECTION ? &state().projection : &state().modelView;
}
void glLoadIdentity() {
  top() = Matrix();
}
void glPushMatrix() {
  Stack& s = *state().current;
  if (s.top + 1 >= s.depth) return;  // GL's stack overflow: an error, and nothing changes
  s.matrices[s.top + 1] = s.matrices[s.top];
  ++s.top;
}
void glPopMatrix() {
  Stack& s = *state().current;
  if (s.top > 0) --s.top;
}
void glMultMatrixf(const GLfloat* m) {
  Matrix by;
  for (int i = 0; i < 16; ++i) by.m[i] = m[i];
  multiply(by);
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  Matrix t;
  t.m[12] = x;
  t.m[13] = y;
  t.m[14] = z;
  multiply(t);
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  Matrix s;
  s.m[0] = x;
  s.m[5] = y;
  s.m[10] = z;
  multiply(s);
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  const float length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 0.0f)) return;  // no axis: GL leaves the matrix as it is
  x /= length;
  y /= length;
  z /= length;
  const float radians = static_cast<float>(angle * kPi / 180.0);
  const float c = std::cos(radians), s = std::sin(radians), t = 1.0f - c;
  Matrix r;
  r.m[0] = x * x * t + c;
  r.m[1] = y * x * t + z * s;
  r.m[2] = x * z * t - y * s;
  r.m[4] = x * y * t - z * s;
  r.m[5] = y * y * t + c;
  r.m[6] = y * z * t + x * s;
  r.m[8] = x * z * t + y * s;
  r.m[9] = y * z * t - x * s;
  r.m[10] = z * z * t + c;
  multiply(r);
}

void glBegin(GLenum mode) {
  State& s = state();
  s.primitive = mode;
  s.transform =
      product(s.projection.matrices[s.projection.top], s.modelView.matrices[s.modelView.top]);
  s.first = static_cast<std::uint32_t>(s.vertices.size());
}
void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
  std::uint8_t* c = state().colour;
  c[0] = channel(red);
  c[1] = channel(green);
  c[2] = channel(blue);
  c[3] = channel(alpha);
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  State& s = state();
  if (s.primitive == 0) return;  // outside glBegin and glEnd a vertex draws nothing
  const float* m = s.transform.m;
  SculptVertex v;
  for (int r = 0; r < 4; ++r) v.position[r] = m[r] * x + m[4 + r] * y + m[8 + r] * z + m[12 + r];
  for (int i = 0; i < 4; ++i) v.colour[i] = s.colour[i];
  s.vertices.push_back(v);
}
void glEnd() {
  closePrimitive();
  state().primitive = 0;
}

// GLU's own arithmetic, in double precision, then multiplied in as GL's single precision.
void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  const double radians = fovy / 2.0 * kPi / 180.0;
  const double depth = zFar - zNear;
  const double sine = std::sin(radians);
  if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return;  // GLU leaves the matrix too
  const double cotangent = std::cos(radians) / sine;
  Matrix p;
  p.m[0] = static_cast<float>(cotangent / aspect);
  p.m[5] = static_cast<float>(cotangent);
  p.m[10] = static_cast<float>(-(zFar + zNear) / depth);
  p.m[11] = -1.0f;
  p.m[14] = static_cast<float>(-2.0 * zNear * zFar / depth);
  p.m[15] = 0.0f;
  multiply(p);
}

void gluLookAt(GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centreX, GLdouble centreY,
               GLdouble centreZ, GLdouble upX, GLdouble upY, GLdouble upZ) {
  auto normalise = [](double v[3]) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0) return;
    for (int i = 0; i < 3; ++i) v[i] /= length;
  };
  auto cross = [](const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
  };
  double forward[3] = {centreX - eyeX, centreY - eyeY, centreZ - eyeZ};
  const double up[3] = {upX, upY, upZ};
  normalise(forward);
  double side[3];
  cross(forward, up, side);
  normalise(side);
  double trueUp[3];
  cross(side, forward, trueUp);
  Matrix m;
  for (int i = 0; i < 3; ++i) {
    m.m[i * 4 + 0] = static_cast<float>(side[i]);
    m.m[i * 4 + 1] = static_cast<float>(trueUp[i]);
    m.m[i * 4 + 2] = static_cast<float>(-forward[i]);
  }
  multiply(m);
  glTranslatef(static_cast<float>(-eyeX), static_cast<float>(-eyeY), static_cast<float>(-eyeZ));
}

}  // extern "C"
