# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads) and a static Qt
# for Windows, whose folder QUORIX_WINQT names (a cache variable or the environment).
# Qt's host tools (moc, rcc, uic) are the system's own Qt 6 under /usr.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

if(NOT QUORIX_WINQT AND DEFINED ENV{QUORIX_WINQT})
    set(QUORIX_WINQT $ENV{QUORIX_WINQT})
endif()
set(QUORIX_WINQT "${QUORIX_WINQT}" CACHE PATH "The static Qt for Windows (its folder holds bin/, lib/, plugins/)")
# Compiler checks run in scratch projects that see the environment, not this cache.
set(ENV{QUORIX_WINQT} "${QUORIX_WINQT}")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUORIX_WINQT)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
if(QUORIX_WINQT)
    list(PREPEND CMAKE_FIND_ROOT_PATH ${QUORIX_WINQT})
    list(PREPEND CMAKE_PREFIX_PATH ${QUORIX_WINQT}/lib/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(QT_HOST_PATH /usr CACHE PATH "The Qt whose moc, rcc and uic run on this machine")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Its CMake packages")

# One file to hand out: the C and C++ runtimes and winpthread inside the executable.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
