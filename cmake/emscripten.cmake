# Building for the browser with Debian's Emscripten: its own toolchain file, with node running
# the tests and finding Debian's node modules when emcc calls it at link time.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
find_program(SCULPT_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${SCULPT_NODE} CACHE FILEPATH "Runs the tests" FORCE)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
