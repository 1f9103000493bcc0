// Recording definitions of the GL and GLU entry points, with the real headers' signatures.
#include <GL/gl.h>
#include <GL/glu.h>

#include "recorder.h"

using recorder::call;
using recorder::calls;

extern "C" {

GLint glRenderMode(GLenum mode) {
  calls().push_back(call("glRenderMode", {double(mode)}));
  return 0;
}
void glClear(GLbitfield mask) {
  calls().push_back(call("glClear", {double(mask)}));
}
void glLoadIdentity() {
  calls().push_back(call("glLoadIdentity"));
}
void glPushMatrix() {
  calls().push_back(call("glPushMatrix"));
}
void glPopMatrix() {
  calls().push_back(call("glPopMatrix"));
}
void glMatrixMode(GLenum mode) {
  calls().push_back(call("glMatrixMode", {double(mode)}));
}
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  calls().push_back(call("glRotatef", {angle, x, y, z}));
}
void glScalef(GLfloat x, GLfloat y, GLfloat z) {
  calls().push_back(call("glScalef", {x, y, z}));
}
void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  calls().push_back(call("glTranslatef", {x, y, z}));
}
void glBegin(GLenum mode) {
  calls().push_back(call("glBegin", {double(mode)}));
}
void glEnd() {
  calls().push_back(call("glEnd"));
}
void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  recorder::vertexCall(x, y, z);
}
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
  recorder::colourCall(r, g, b, a);
}
void glEnable(GLenum cap) {
  calls().push_back(call("glEnable", {double(cap)}));
}
void glLineWidth(GLfloat width) {
  calls().push_back(call("glLineWidth", {width}));
}
void glDepthFunc(GLenum func) {
  calls().push_back(call("glDepthFunc", {double(func)}));
}
void glClearDepth(GLclampd depth) {
  calls().push_back(call("glClearDepth", {depth}));
}
void glShadeModel(GLenum mode) {
  calls().push_back(call("glShadeModel", {double(mode)}));
}
void glBlendFunc(GLenum s, GLenum d) {
  calls().push_back(call("glBlendFunc", {double(s), double(d)}));
}
void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  calls().push_back(call("glClearColor", {r, g, b, a}));
}
void glHint(GLenum target, GLenum mode) {
  calls().push_back(call("glHint", {double(target), double(mode)}));
}
void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  calls().push_back(call("glViewport", {double(x), double(y), double(w), double(h)}));
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
  calls().push_back(call("gluPerspective", {fovy, aspect, zNear, zFar}));
}
void gluLookAt(GLdouble ex, GLdouble ey, GLdouble ez, GLdouble cx, GLdouble cy, GLdouble cz,
               GLdouble ux, GLdouble uy, GLdouble uz) {
  calls().push_back(call("gluLookAt", {ex, ey, ez, cx, cy, cz, ux, uy, uz}));
}

}  // extern "C"
