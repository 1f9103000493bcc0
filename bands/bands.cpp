// sculpt_bands: the field coloured by height bands over sand, with threshold strips through the
// high cells and yellow guide lines from the cursor to the corners.
#include <GL/glut.h>

#include "scene.h"

const ProgramValues kProgram = {
    "sculpt_bands",
    {0.8359375f, 0.75390625f, 0.51171875f, 0.0f},  // sand
    Terrain::halfRandom,
    Brush::nineCell,
};

namespace {
constexpr float kViewScale = 0.05f;    // scene units per cell
constexpr float kCameraTilt = -5.0f;   // degrees about (1, 0, 1) per unit of camZ
constexpr float kHeightShift = -0.5f;  // grid units along z per unit of camZ

// One primitive through every cell higher than `threshold`, in scan order: consecutive cells are
// joined whatever lies between them.
void thresholdPass(const Scene& scene, GLenum primitive, float threshold) {
  glBegin(primitive);
  for (int i = 0; i < kGridSize; ++i)
    for (int j = 0; j < kGridSize; ++j)
      if (scene.heights[i][j] > threshold)
        glVertex3f(static_cast<float>(i), static_cast<float>(j), scene.heights[i][j]);
  glEnd();
}
}  // namespace

void Scene::draw() const {
  glRenderMode(GL_RENDER);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glPushMatrix();
  glRotatef(-60.0f, 1.0f, 0.0f, -0.3f);
  glRotatef(camZ * kCameraTilt, 1.0f, 0.0f, 1.0f);  // tips the relief further as it grows
  glScalef(kViewScale, kViewScale, kViewScale);
  glTranslatef(-camX, -camY, camZ * kHeightShift);

  for (int i = 0; i < kGridSize; ++i) {
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j < kGridSize; ++j) {
      const float x = static_cast<float>(i);
      const float y = static_cast<float>(j);
      bandColour(heights[i][j]);
      glVertex3f(x, y, heights[i][j]);
      if (i < kGridLast) {
        bandColour(heights[i + 1][j]);
        glVertex3f(x + 1.0f, y, heights[i + 1][j]);
      } else {
        glVertex3f(x, y, 0.0f);  // the last strip is a wall down to the base, in its top's colour
      }
    }
    glEnd();
  }

  glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
  thresholdPass(*this, GL_LINE_STRIP, 1.0f);
  glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
  thresholdPass(*this, GL_LINE_STRIP, 5.0f);
  glColor4f(0.8f, 0.8f, 1.0f, 0.3f);
  thresholdPass(*this, GL_POLYGON, 10.0f);

  // Guide lines from the cursor, at the camera height, to the corners of the field.
  const float cx = static_cast<float>(cursorX);
  const float cy = static_cast<float>(cursorY);
  const float edge = static_cast<float>(kGridLast);
  const float corners[4][2] = {{0.0f, 0.0f}, {edge, 0.0f}, {edge, edge}, {0.0f, edge}};
  glColor4f(1.0f, 1.0f, 0.0f, 1.0f);
  glBegin(GL_LINES);
  for (const auto& corner : corners) {
    glVertex3f(cx, cy, camZ);
    glVertex3f(corner[0], corner[1], 0.0f);
  }
  glEnd();

  glPopMatrix();
  glutSwapBuffers();
}
