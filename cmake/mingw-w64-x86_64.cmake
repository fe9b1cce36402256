# Cross build of the Windows executable with Debian's MinGW-w64 (posix threads flavour).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KARVOSS_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KARVOSS_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KARVOSS_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KARVOSS_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KARVOSS_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests built for Windows run through Wine; see scripts/wine-exec.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)

# libpng is cross-built once by scripts/build-libpng-mingw into a prefix outside the tree.
if(NOT KARVOSS_MINGW_DEPS)
  set(KARVOSS_MINGW_DEPS "$ENV{HOME}/.cache/karvoss/mingw-deps")
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${KARVOSS_MINGW_DEPS})
