# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads
# flavour, for std::thread and friends). The core alone:
#   cmake -S . -B build-mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DK4R_BUILD_GUI=OFF
# The whole program chains this file behind the toolchain file of a Qt built
# for Windows (scripts/windows-deps unpacks one; scripts/test shows the call).
# The tests then run under Wine through ctest.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(K4R_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${K4R_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${K4R_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${K4R_MINGW_TRIPLE}-windres)

# Qt's toolchain file adds its own prefixes; K4R_WINDOWS_LIBS names the
# folders of other libraries built for Windows (scripts/windows-deps).
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${K4R_MINGW_TRIPLE} ${K4R_WINDOWS_LIBS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Without Qt the C and C++ runtimes are linked in, so that the programs need
# no DLLs from the cross compiler. Qt's DLLs use the runtime DLLs, and a
# program beside them shares those rather than carry a second copy.
if(NOT QT_HOST_PATH)
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
endif()

# ctest runs the Windows programs through Wine when it is there, in a Wine
# folder of the build tree's own.
find_program(K4R_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(K4R_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tests/windows/wine-run ${CMAKE_BINARY_DIR}/wine-prefix)
endif()
