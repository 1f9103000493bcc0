// line_coverage [WIDTH]: Mesa's coverage of a smoothed line, which the browser layer's line shader
// copies: one white line on black, horizontal, diagonal and steep, each pixel it touches printed
// as the share of white it got. Run on a display: scripts/desktop build/bench/line_coverage
#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kSize = 48;  // pixels a side of the window, one unit a pixel

float g_width = 1.0f;  // the line's, in pixels

void printLine(const char* name, float x0, float y0, float x1, float y1) {
  glClear(GL_COLOR_BUFFER_BIT);
  glBegin(GL_LINES);
  glVertex2f(x0, y0);
  glVertex2f(x1, y1);
  glEnd();
  std::vector<unsigned char> pixels(kSize * kSize);
  glReadPixels(0, 0, kSize, kSize, GL_RED, GL_UNSIGNED_BYTE, pixels.data());
  std::printf("%s from (%.1f, %.1f) to (%.1f, %.1f), width %.0f: row: column=coverage ...\n", name,
              x0, y0, x1, y1, g_width);
  for (int y = kSize - 1; y >= 0; --y) {
    bool any = false;
    for (int x = 0; x < kSize; ++x) {
      const int value = pixels[y * kSize + x];
      if (value == 0) continue;
      if (!any) std::printf("  %2d:", y);
      any = true;
      std::printf(" %d=%.3f", x, value / 255.0);
    }
    if (any) std::printf("\n");
  }
}

void displayCallback() {
  glViewport(0, 0, kSize, kSize);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kSize, 0, kSize, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glClearColor(0, 0, 0, 0);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);  // the programs' blending
  glEnable(GL_LINE_SMOOTH);
  glLineWidth(g_width);
  glColor4f(1, 1, 1, 1);
  // Ends off the pixel centres, so that every distance differs from its neighbours'.
  printLine("horizontal", 10.3f, 24.2f, 20.3f, 24.2f);
  printLine("diagonal", 10.3f, 10.2f, 20.3f, 20.2f);
  printLine("steep", 32.3f, 10.2f, 35.3f, 20.2f);
  std::exit(0);
}

}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  if (argc > 1) g_width = static_cast<float>(std::atof(argv[1]));
  glutInitDisplayMode(GLUT_RGBA | GLUT_SINGLE);
  glutInitWindowSize(kSize, kSize);
  glutCreateWindow("line_coverage");
  glutDisplayFunc(displayCallback);
  glutMainLoop();
}
