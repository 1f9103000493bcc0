// The one record of every sculpt program: window geometry, height field, cursor and camera,
// with the methods that GLUT's callbacks forward to.
#pragma once

constexpr int kGridSize = 256;            // cells along each axis of the height field
constexpr int kGridLast = kGridSize - 1;  // highest cell index

class Scene {
 public:
  // Start-up: window, rendering state, initial terrain, full screen, hidden pointer.
  void init();
  // One complete frame: the model step, then the program's draw step and buffer swap.
  void frame();
  void tick();
  void reshape(int width, int height);
  void keyboard(int key, int x, int y);
  void special(int key, int x, int y);
  void pointer(int x, int y);

  // The model step: brush growth at the cursor, then the camera follow.
  void advance();
  // The program's draw step; each program defines it. Reads the scene, writes nothing.
  void draw() const;
  // Height-band colour of one surface vertex; defined by sculpt_bands only.
  void bandColour(float height) const;

  int viewHeight = 0;  // pixels, as last reshaped
  int viewWidth = 0;
  int savedX = 0;  // window geometry saved on entering full screen, in pixels
  int savedY = 0;
  int savedHeight = 0;
  int savedWidth = 0;
  bool fullScreen = false;
  float heights[kGridSize][kGridSize] = {};  // heights[x][y], in grid units
  int cursorX = 0;                           // cursor cell, 0 to kGridLast on each axis
  int cursorY = 0;
  float camX = 0.0f;  // camera position in cells, and camera height in grid units
  float camY = 0.0f;
  float camZ = 0.0f;

 private:
  void fillTerrain();
  void toggleFullScreen();
  void growBrush();
};

// How a program's field starts and how its brush grows it.
enum class Terrain { flat, unitRandom, halfRandom };
enum class Brush {
  nineCell,    // cursor cell and its eight neighbours; the camera follows the height too
  centreOnly,  // cursor cell alone; the camera has no height
};

struct ProgramValues {
  const char* name;      // the program's name, as its window's class
  float clearColour[4];  // red, green, blue, alpha
  Terrain terrain;
  Brush brush;
};

// Supplied by each program's folder at link time.
extern const ProgramValues kProgram;

extern Scene* g_scene;
extern const float kFramePeriodMs;  // milliseconds between the end of a frame and the next

void createScene();

// The platform layer: one file per platform, chosen by the build.
// Called before glutInit: keeps the toolkit's own messages off the console, and lets it start
// beside a window manager whose windows come and go.
void prepareToolkit();
void hidePointer();
// Gives the window its program's name as its class, and its icon, for the desktop's docks and
// menus.
void nameWindow();
// Returns once the window manager has placed the new window (bounded), so that the geometry read
// next is where the window stays.
void awaitPlacement();
// Asks the window manager to put the window's drawing area, not its frame, where it is positioned.
void keepClientPosition();
