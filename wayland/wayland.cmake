# The Linux programs' Wayland side: the choice of toolkit, made once at start, which the X
# platform file asks first; and our GLUT over SDL2 with the entry points that go to the chosen
# toolkit, linked into the programs alone, so that the tests' stand-in takes GLUT's calls directly.
find_package(SDL2 REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(sculpt_wayland_client REQUIRED IMPORTED_TARGET wayland-client)

add_library(sculpt_toolkit_choice STATIC ${CMAKE_CURRENT_LIST_DIR}/choice.cpp)
target_include_directories(sculpt_toolkit_choice PUBLIC ${CMAKE_CURRENT_LIST_DIR}
  PRIVATE ${PROJECT_SOURCE_DIR}/shell)
target_link_libraries(sculpt_toolkit_choice PUBLIC SDL2::SDL2 PkgConfig::sculpt_wayland_client)
target_compile_options(sculpt_toolkit_choice PRIVATE -Wall -Wextra -Wpedantic)

set(sculpt_glut_entry_points InitErrorFunc Init InitDisplayMode InitWindowSize InitWindowPosition
  CreateWindow Get FullScreen ReshapeWindow PositionWindow SetCursor SwapBuffers DisplayFunc
  ReshapeFunc MouseFunc KeyboardFunc SpecialFunc PassiveMotionFunc MotionFunc TimerFunc MainLoop)
list(TRANSFORM sculpt_glut_entry_points PREPEND -Wl,--wrap=glut OUTPUT_VARIABLE sculpt_glut_wraps)
add_library(sculpt_wayland STATIC ${CMAKE_CURRENT_LIST_DIR}/glut.cpp
  ${CMAKE_CURRENT_LIST_DIR}/toolkit.cpp ${CMAKE_CURRENT_LIST_DIR}/swap.cpp)
target_include_directories(sculpt_wayland PRIVATE ${PROJECT_SOURCE_DIR}/shell)
target_include_directories(sculpt_wayland SYSTEM PRIVATE ${GLUT_INCLUDE_DIRS})
target_link_libraries(sculpt_wayland PUBLIC sculpt_toolkit_choice)
target_link_options(sculpt_wayland INTERFACE ${sculpt_glut_wraps})
target_compile_options(sculpt_wayland PRIVATE -Wall -Wextra -Wpedantic)
