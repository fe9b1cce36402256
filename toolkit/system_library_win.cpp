#include "toolkit/system_library_win.h"

#include <string>

namespace kv {

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  wchar_t folder[MAX_PATH];
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH)
    return nullptr;
  const std::wstring path = std::wstring(folder, n) + L"\\" + fileName;
  // The library's own dependencies are searched for beside it, in the system folder.
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace kv
