// A window timer with a fixed id; killed when switched off and again on destruction.
#pragma once

#include <windows.h>

namespace kv {

class Timer {
 public:
  Timer(UINT_PTR id, UINT intervalMs) : id_(id), interval_(intervalMs) {}
  ~Timer() { SetEnabled(false); }
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  void Attach(HWND owner) { owner_ = owner; }
  UINT_PTR Id() const { return id_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on) {
    if (on == enabled_ || !owner_)
      return;
    enabled_ = on;
    if (on) {
      SetTimer(owner_, id_, interval_, nullptr);
    } else {
      KillTimer(owner_, id_);
    }
  }

 private:
  HWND owner_ = nullptr;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_ = false;
};

}  // namespace kv
