// A stand-in for the GL, GLU and GLUT functions the programs call that does nothing, so that a
// benchmark linked against it times the program's own work alone. It only counts vertices.
#pragma once

namespace nullgl {

// glVertex3f calls since the last reset: the per-vertex figures divide by it.
long long vertices();
void resetVertices();

}  // namespace nullgl
