// Ending the Windows session on command: log off, shut down, switch off or restart.
#pragma once

#include <cstdint>

namespace kv {

enum class TRestartWindows : std::uint8_t {
  rwForced = 0,
  rwLogOff = 1,
  rwPowerOff = 2,
  rwReboot = 3,
  rwShutdown = 4,
};

// The system's session-ending request (ExitWindowsEx on Windows).
class SessionControl {
 public:
  virtual ~SessionControl() = default;
  // True when the system accepted the request.
  virtual bool CallExitWindows(unsigned flags) = 0;
};

// ExitWindowsEx flags.
inline constexpr unsigned kEwxLogOff = 0x0;
inline constexpr unsigned kEwxShutdown = 0x1;
inline constexpr unsigned kEwxReboot = 0x2;
inline constexpr unsigned kEwxForce = 0x4;
inline constexpr unsigned kEwxPowerOff = 0x8;

unsigned RestartFlags(TRestartWindows type);

class TCoolDesktop {
 public:
  explicit TCoolDesktop(SessionControl& session) : session_(session) {}

  TRestartWindows RestartType = TRestartWindows::rwShutdown;

  // One request to the system with the flags of RestartType; true when it was accepted.
  bool RestartWindows() { return session_.CallExitWindows(RestartFlags(RestartType)); }

 private:
  SessionControl& session_;
};

}  // namespace kv
