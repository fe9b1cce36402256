# Loaded through CMAKE_USER_MAKE_RULES_OVERRIDE by the MinGW toolchain file, after CMake's platform
# modules: find_library() then finds static archives only, never DLL import libraries.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a)
