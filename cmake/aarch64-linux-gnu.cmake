# aarch64-linux-gnu.cmake: cross-compiling for 64-bit Arm Linux with Debian's
# g++-aarch64-linux-gnu. Everything built runs under qemu-aarch64 with the
# target's libraries from /usr/aarch64-linux-gnu: the build-time tools (the
# module composer, the embedder, ...), the tests under ctest and the programs.
#   cmake --preset aarch64        (or -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake)
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /usr/aarch64-linux-gnu)

# Headers, libraries and packages of the target only; programs of the host.
set(CMAKE_FIND_ROOT_PATH /usr/aarch64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
