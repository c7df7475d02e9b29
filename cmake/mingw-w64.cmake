# mingw-w64.cmake: cross-compiles the Windows edition (x86-64) on Linux with
# Debian's mingw-w64, POSIX thread model (std::thread and std::mutex work).
# Everything links statically, so the executables need only the DLLs that
# Windows ships. Test programs run under Wine, the emulator ctest prefixes.
#   cmake --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
find_program(QUILLON_WINE NAMES wine64 wine)
if(QUILLON_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUILLON_WINE})
endif()
