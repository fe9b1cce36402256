// The shell's "open". The shell and COM libraries are loaded at the first use, not at start-up
// (they cost a waiting process megabytes of memory and its start milliseconds), and from the
// system folder only.
#pragma once

#include <windows.h>

#include <string>

namespace kv {

class Shell {
 public:
  Shell() = default;
  ~Shell();
  Shell(const Shell&) = delete;
  Shell& operator=(const Shell&) = delete;

  // ShellExecuteW with the verb "open", no owner and SW_SHOW: the shell's result code (above
  // 32 on success), 0 when the shell cannot be loaded.
  int Open(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory);
  // Loads the libraries now, on the thread that will launch: a moment when the user is about
  // to launch something is cheaper than the launch itself.
  void Load();

 private:
  using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
  bool loaded_ = false;
  bool comEntered_ = false;
  ShellExecuteFunction execute_ = nullptr;
};

}  // namespace kv
