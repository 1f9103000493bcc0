# Cross-building for 64-bit Windows with Debian's mingw-w64 compilers, the POSIX-thread ones
# (GoogleTest needs their std::thread); programs and tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(sculpt_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${sculpt_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${sculpt_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${sculpt_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${sculpt_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Test programs run through Wine's 64-bit loader, so no 32-bit Wine is needed, with Wine's own
# messages off: what the tests check is the programs' output.
find_program(SCULPT_WINE64 NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(SCULPT_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEDEBUG=-all ${SCULPT_WINE64})
endif()
# The compiler's own runtime (libstdc++, libgcc, winpthread) linked in, so that a program needs
# only the DLLs that Windows ships.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
