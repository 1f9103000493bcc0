// Entry point shared by every sculpt program.
#include <GL/glut.h>

#include "callbacks.h"
#include "scene.h"

int main(int argc, char** argv) {
  prepareToolkit();  // before GLUT opens the display
  glutInit(&argc, argv);
  createScene();
  glutDisplayFunc(displayCallback);
  glutReshapeFunc(reshapeCallback);
  glutMouseFunc(mouseCallback);
  glutKeyboardFunc(keyboardCallback);
  glutSpecialFunc(specialCallback);
  glutPassiveMotionFunc(motionCallback);
  glutMotionFunc(motionCallback);
  glutTimerFunc(framePeriod(), timerCallback, 0);
  glutMainLoop();
  return 0;
}
