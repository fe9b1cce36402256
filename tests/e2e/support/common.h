// Small helpers the end-to-end programs share (the suite, the probe, the start-up bench), header
// only so the small tools need no library: UTF-8 from the wide API, another thread's focus and
// capture, and removing a folder with everything in it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace kv::e2e {

inline std::string Utf8(const std::wstring& w) {
  if (w.empty())
    return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr,
                      nullptr);
  return s;
}

inline GUITHREADINFO ThreadInputOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

// The keyboard focus and the mouse capture of the window's thread.
inline HWND FocusOf(HWND window) {
  return ThreadInputOf(window).hwndFocus;
}
inline HWND CaptureOf(HWND window) {
  return ThreadInputOf(window).hwndCapture;
}

inline void RemoveTree(const std::wstring& path) {
  std::wstring from = path + L'\0';
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
  SHFileOperationW(&op);
}

}  // namespace kv::e2e
