// Empty definitions of every GL, GLU and GLUT entry point the shell and the draw steps use, with
// the real headers' signatures. Built without link-time optimisation, so each stays a real call.
#include "null_gl.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glx.h>

namespace {
long long g_vertices = 0;
}

namespace nullgl {
long long vertices() {
  return g_vertices;
}
void resetVertices() {
  g_vertices = 0;
}
}  // namespace nullgl

extern "C" {

GLint glRenderMode(GLenum) {
  return 0;
}
void glClear(GLbitfield) {}
void glLoadIdentity() {}
void glPushMatrix() {}
void glPopMatrix() {}
void glMatrixMode(GLenum) {}
void glRotatef(GLfloat, GLfloat, GLfloat, GLfloat) {}
void glScalef(GLfloat, GLfloat, GLfloat) {}
void glTranslatef(GLfloat, GLfloat, GLfloat) {}
void glBegin(GLenum) {}
void glEnd() {}
void glVertex3f(GLfloat, GLfloat, GLfloat) {
  ++g_vertices;
}
void glColor4f(GLfloat, GLfloat, GLfloat, GLfloat) {}
void glEnable(GLenum) {}
void glLineWidth(GLfloat) {}
void glDepthFunc(GLenum) {}
void glClearDepth(GLclampd) {}
void glShadeModel(GLenum) {}
void glBlendFunc(GLenum, GLenum) {}
void glClearColor(GLclampf, GLclampf, GLclampf, GLclampf) {}
void glHint(GLenum, GLenum) {}
void glViewport(GLint, GLint, GLsizei, GLsizei) {}

void gluPerspective(GLdouble, GLdouble, GLdouble, GLdouble) {}
void gluLookAt(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble,
               GLdouble) {}

void glutInit(int*, char**) {}
void glutInitDisplayMode(unsigned int) {}
void glutInitWindowSize(int, int) {}
void glutInitWindowPosition(int, int) {}
int glutCreateWindow(const char*) {
  return 1;
}
int glutGet(GLenum) {
  return 0;
}
void glutFullScreen() {}
void glutReshapeWindow(int, int) {}
void glutPositionWindow(int, int) {}
void glutSetCursor(int) {}
void glutSwapBuffers() {}
void glutDisplayFunc(void (*)()) {}
void glutReshapeFunc(void (*)(int, int)) {}
void glutMouseFunc(void (*)(int, int, int, int)) {}
void glutKeyboardFunc(void (*)(unsigned char, int, int)) {}
void glutSpecialFunc(void (*)(int, int, int)) {}
void glutPassiveMotionFunc(void (*)(int, int)) {}
void glutMotionFunc(void (*)(int, int)) {}
void glutTimerFunc(unsigned int, void (*)(int), int) {}
void glutMainLoop() {}
void glutInitErrorFunc(void (*)(const char*, va_list)) {}

Display* glXGetCurrentDisplay() {
  return nullptr;
}
GLXDrawable glXGetCurrentDrawable() {
  return 0;
}

}  // extern "C"
