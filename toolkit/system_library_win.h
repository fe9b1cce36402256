// Libraries loaded at run time come from the system folder only, never from the program's or
// the current folder, where a planted DLL of the same name would otherwise be picked up.
#pragma once

#include <windows.h>

namespace kv {

// The library of that file name from the system folder (loaded once per call; the system counts
// references), or null.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// An entry of a system library, loaded on first use and kept for the process's life.
template <typename Function>
Function SystemEntry(const wchar_t* fileName, const char* entry) {
  HMODULE library = LoadSystemLibrary(fileName);
  // Through void*: the entry is of the function type the caller names, not FARPROC.
  return library
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, entry)))
             : nullptr;
}

}  // namespace kv
