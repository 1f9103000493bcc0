# Cross-building for 64-bit ARM Linux (the Raspberry Pi's Debian, arm64) with Debian's own cross
# compilers and the arm64 libraries that dpkg's multiarch installs beside the machine's own;
# programs and tests run under qemu's user-mode emulator, which finds their loader and libraries in
# the machine's own multiarch folders.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(sculpt_triplet aarch64-linux-gnu)
set(CMAKE_C_COMPILER ${sculpt_triplet}-gcc)
set(CMAKE_CXX_COMPILER ${sculpt_triplet}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${sculpt_triplet})
# The arm64 libraries and headers are in the machine's own root, under their multiarch folders.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(PKG_CONFIG_EXECUTABLE ${sculpt_triplet}-pkg-config CACHE FILEPATH "pkg-config for arm64")
# The package is named for dpkg's arm64, not for the machine that built it.
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
find_program(SCULPT_QEMU_AARCH64 qemu-aarch64-static NO_CMAKE_FIND_ROOT_PATH)
if(SCULPT_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SCULPT_QEMU_AARCH64})
endif()
