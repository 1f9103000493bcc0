// sculpt_glow: a flat field over sky blue that grows only at the cursor, drawn as translucent grey
// quad strips with the cursor's grid point in opaque blue.
#include <GL/glut.h>

#include "scene.h"

const ProgramValues kProgram = {
    "sculpt_glow",
    {0.4765625f, 0.6328125f, 0.796875f, 0.0f},  // sky blue
    Terrain::flat,
    Brush::centreOnly,
};

namespace {
constexpr float kViewScale = 0.05f;  // scene units per cell
constexpr float kSurfaceAlpha = 0.3f;

// Smooth shading spreads the cursor point's blue over the quads that share it: the glow.
void gridVertex(const Scene& scene, int x, int y) {
  const float h = scene.heights[x][y];
  if (x == scene.cursorX && y == scene.cursorY) {
    glColor4f(0.0f, 0.0f, 1.0f, 1.0f);
  } else {
    glColor4f(h, h, h, kSurfaceAlpha);
  }
  glVertex3f(static_cast<float>(x), static_cast<float>(y), h);
}
}  // namespace

void Scene::draw() const {
  glRenderMode(GL_RENDER);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glPushMatrix();
  glRotatef(-60.0f, 1.0f, 0.3f, 0.3f);
  glScalef(kViewScale, kViewScale, kViewScale);
  glTranslatef(-camX, -camY, 0.0f);

  for (int i = 0; i < kGridSize; ++i) {
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j < kGridSize; ++j) {
      gridVertex(*this, i, j);
      if (i < kGridLast) {
        gridVertex(*this, i + 1, j);
      } else {
        glVertex3f(kGridSize, static_cast<float>(j), 0.0f);  // rim in the colour of (255, j)
      }
    }
    glEnd();
  }

  glPopMatrix();
  glutSwapBuffers();
}
