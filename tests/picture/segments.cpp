// A test-only draw step for the browser layer: translucent smoothed segments that run behind the
// eye, are shorter than a pixel or have no length, so that the page's two ways of widening them
// can be compared picture for picture.
#include <GL/glut.h>

#include <cmath>
#include <initializer_list>

#include "scene.h"

const ProgramValues kProgram = {
    "sculpt_segments",
    {0.0f, 0.0f, 0.0f, 0.0f},
    Terrain::unitRandom,
    Brush::nineCell,
};

void Scene::draw() const {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  gluPerspective(60.0, 4.0 / 3.0, 1.0, 100.0);  // the near plane one unit ahead of the eye
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  for (float width : {1.0f, 2.5f}) {  // pixels
    glLineWidth(width);
    glBegin(GL_LINES);
    for (int i = 0; i < 24; ++i) {
      // Spokes from four units ahead to three behind the eye, cut where they cross the near
      // plane; their colour there lies between their ends'.
      const float angle = 0.2618f * static_cast<float>(i) + (width > 1.0f ? 0.13f : 0.0f);
      glColor4f(1.0f, 0.2f, 0.0f, 1.0f);
      glVertex3f(0.8f * std::cos(angle), 0.6f * std::sin(angle), -4.0f);
      glColor4f(0.0f, 1.0f, 0.5f, 0.6f);
      glVertex3f(0.1f * std::cos(angle), 0.1f * std::sin(angle), 3.0f);
    }
    for (int i = 0; i < 16; ++i) {  // from no length to about two pixels, all in front
      const float x = -1.5f + 0.2f * static_cast<float>(i), y = width > 1.0f ? -0.8f : 0.8f;
      glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
      glVertex3f(x, y, -3.0f);
      glVertex3f(x + 0.001f * static_cast<float>(i), y, -3.0f);
    }
    glEnd();
  }
  glLineWidth(1.0f);
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glutSwapBuffers();
}
