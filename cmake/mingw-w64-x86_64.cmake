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

# libpng is cross-built once by scripts/build-libpng-mingw into a prefix outside the tree; the
# same rule as in that script finds it.
if(NOT KARVOSS_MINGW_DEPS)
  if(DEFINED ENV{KARVOSS_MINGW_DEPS})
    set(KARVOSS_MINGW_DEPS "$ENV{KARVOSS_MINGW_DEPS}")
  elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(KARVOSS_MINGW_DEPS "$ENV{XDG_CACHE_HOME}/karvoss/mingw-deps")
  else()
    set(KARVOSS_MINGW_DEPS "$ENV{HOME}/.cache/karvoss/mingw-deps")
  endif()
endif()
list(APPEND CMAKE_FIND_ROOT_PATH ${KARVOSS_MINGW_DEPS})
# Static archives only (libpng16.a, libz.a rather than their import libraries), so karvoss.exe
# needs no DLL beside it. CMake's Windows-GNU platform module resets the suffixes after this file
# has run, so the setting is applied again from a rules override, which loads after it.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
set(CMAKE_USER_MAKE_RULES_OVERRIDE ${CMAKE_CURRENT_LIST_DIR}/mingw-static-libraries.cmake)
