// sculpt_lines: the field as 256 translucent profile lines over olive, the cursor cell in red,
// spun and height-scaled by the camera height.
#include <GL/glut.h>

#include <cmath>

#include "scene.h"

const ProgramValues kProgram = {
    "sculpt_lines",
    {0.46875f, 0.5234375f, 0.2578125f, 0.0f},  // olive
    Terrain::unitRandom,
    Brush::nineCell,
};

namespace {
constexpr float kViewScale = 0.05f;   // scene units per cell
constexpr float kHeightSwing = 0.1f;  // radians of the height scale's tangent per unit of camZ

// The cursor cell is opaque red; any other cell is as bright and as opaque as it is high.
void cellVertex(const Scene& scene, int x, int y, float heightScale) {
  const float h = scene.heights[x][y];
  if (x == scene.cursorX && y == scene.cursorY) {
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
  } else {
    glColor4f(h, h, h, h);
  }
  glVertex3f(static_cast<float>(x), static_cast<float>(y), heightScale * h);
}
}  // namespace

void Scene::draw() const {
  glRenderMode(GL_RENDER);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glPushMatrix();
  glRotatef(-60.0f, 1.0f, -0.3f, -0.3f);  // tilt: profile lines run across the screen
  glRotatef(-camZ, 0.0f, 0.0f, 1.0f);     // spin: one degree per unit of camera height
  glScalef(kViewScale, kViewScale, kViewScale);
  glTranslatef(-camX, -camY, 0.0f);

  // Swings through zero every 10 pi of camZ, mirroring the relief below the base plane between.
  const float heightScale = std::tan(camZ * kHeightSwing);
  for (int i = 0; i < kGridSize; ++i) {
    // Each cell is joined to the next along x; the segments of one column form a profile line.
    glBegin(GL_LINES);
    for (int j = 0; j < kGridSize; ++j) {
      cellVertex(*this, i, j, heightScale);
      if (i < kGridLast) {
        cellVertex(*this, i + 1, j, heightScale);
      } else {
        glVertex3f(kGridSize, static_cast<float>(j), 0.0f);  // drop to the base plane past the edge
      }
    }
    glEnd();
  }

  glPopMatrix();
  glutSwapBuffers();
}
