// sculpt_grey: the field as translucent grey quad strips over mauve, grey level equal to height,
// with a turning red-and-white square marking the cursor at the camera height.
#include <GL/glut.h>

#include "scene.h"

const ProgramValues kProgram = {
    "sculpt_grey",
    {0.8984375f, 0.67578125f, 0.80859375f, 0.0f},  // mauve
    Terrain::unitRandom,
    Brush::nineCell,
};

namespace {
constexpr float kViewScale = 0.05f;  // scene units per cell
constexpr float kSurfaceAlpha = 0.3f;
constexpr float kMarkerHalfSize = 2.0f;  // cells
constexpr float kMarkerSpin = 100.0f;    // degrees per unit of camZ

void greyVertex(float x, float y, float h) {
  glColor4f(h, h, h, kSurfaceAlpha);
  glVertex3f(x, y, h);
}

// A square around the cursor, corners alternating red and white, floating at the camera height.
void drawMarker(const Scene& scene) {
  glPushMatrix();
  glTranslatef(static_cast<float>(scene.cursorX) - scene.camX,
               static_cast<float>(scene.cursorY) - scene.camY, scene.camZ);
  glRotatef(scene.camZ * kMarkerSpin, 0.0f, 0.0f, 1.0f);
  const float s = kMarkerHalfSize;
  glBegin(GL_LINE_STRIP);
  glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
  glVertex3f(s, s, 0.0f);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glVertex3f(-s, s, 0.0f);
  glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
  glVertex3f(-s, -s, 0.0f);
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  glVertex3f(s, -s, 0.0f);
  glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
  glVertex3f(s, s, 0.0f);
  glEnd();
  glPopMatrix();
}
}  // namespace

void Scene::draw() const {
  glRenderMode(GL_RENDER);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glPushMatrix();
  glRotatef(-60.0f, 1.0f, 0.3f, 0.3f);
  glScalef(kViewScale, kViewScale, kViewScale);
  // Drawn before the surface: the opaque marker shows through the translucent surface in front.
  drawMarker(*this);
  glTranslatef(-camX, -camY, 0.0f);

  for (int i = 0; i < kGridSize; ++i) {
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j < kGridSize; ++j) {
      const float x = static_cast<float>(i);
      const float y = static_cast<float>(j);
      greyVertex(x, y, heights[i][j]);
      if (i < kGridLast) {
        greyVertex(x + 1.0f, y, heights[i + 1][j]);
      } else {
        glVertex3f(kGridSize, y, 0.0f);  // flat rim past the edge, in the grey of (255, j)
      }
    }
    glEnd();
  }

  glPopMatrix();
  glutSwapBuffers();
}
