// GLUT's entry points into the program; each forwards to the one Scene through g_scene.
#pragma once

void displayCallback();
void reshapeCallback(int width, int height);
void mouseCallback(int button, int state, int x, int y);
void keyboardCallback(unsigned char key, int x, int y);
void specialCallback(int key, int x, int y);
void motionCallback(int x, int y);
void timerCallback(int value);

// kFramePeriodMs as the whole milliseconds that glutTimerFunc takes.
unsigned framePeriod();
