// Small owners of the system's handles: each releases its handle the way that kind of handle is
// released, when it goes or is given another.
#pragma once

#include <windows.h>

#include <type_traits>

namespace kv {

template <typename T, typename Release>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = T{}; }
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.handle_;
      other.handle_ = T{};
    }
    return *this;
  }

  // Whether it holds a handle (the kernel's "invalid" value counts as none).
  bool Valid() const {
    if constexpr (std::is_same_v<T, HANDLE>)
      return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
    else
      return handle_ != nullptr;
  }
  // Releases the handle now; false when the system reports that the release failed.
  bool Close() {
    const bool ok = !Valid() || Release{}(handle_);
    handle_ = T{};
    return ok;
  }
  void Reset(T handle = T{}) {
    Close();
    handle_ = handle;
  }
  T Get() const { return handle_; }
  operator T() const { return handle_; }

 private:
  T handle_{};
};

struct ReleaseGdiObject {
  bool operator()(HGDIOBJ h) const { return DeleteObject(h) != 0; }
};
struct ReleaseMemoryDc {
  bool operator()(HDC dc) const { return DeleteDC(dc) != 0; }
};
struct ReleaseMenu {
  bool operator()(HMENU menu) const { return DestroyMenu(menu) != 0; }
};
struct ReleaseKernelHandle {
  bool operator()(HANDLE h) const { return CloseHandle(h) != 0; }
};
struct ReleaseFindHandle {
  bool operator()(HANDLE h) const { return FindClose(h) != 0; }
};
struct ReleaseHook {
  bool operator()(HHOOK hook) const { return UnhookWindowsHookEx(hook) != 0; }
};
struct ReleaseWindow {
  bool operator()(HWND hwnd) const { return DestroyWindow(hwnd) != 0; }
};

template <typename T>
using GdiObject = UniqueHandle<T, ReleaseGdiObject>;  // a font, brush, bitmap or region
using MemoryDc = UniqueHandle<HDC, ReleaseMemoryDc>;
using MenuHandle = UniqueHandle<HMENU, ReleaseMenu>;
using KernelHandle = UniqueHandle<HANDLE, ReleaseKernelHandle>;  // a file, thread, event, token
using FindHandle = UniqueHandle<HANDLE, ReleaseFindHandle>;
using HookHandle = UniqueHandle<HHOOK, ReleaseHook>;
// A window with no object of ours, destroyed on the thread that made it.
using WindowHandle = UniqueHandle<HWND, ReleaseWindow>;

// The thread's error mode set for a scope (SetThreadErrorMode), the one before put back after.
class ScopedErrorMode {
 public:
  explicit ScopedErrorMode(DWORD mode) { SetThreadErrorMode(mode, &before_); }
  ~ScopedErrorMode() { SetThreadErrorMode(before_, nullptr); }
  ScopedErrorMode(const ScopedErrorMode&) = delete;
  ScopedErrorMode& operator=(const ScopedErrorMode&) = delete;

 private:
  DWORD before_ = 0;
};

}  // namespace kv
