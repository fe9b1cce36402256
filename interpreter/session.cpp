#include "interpreter/session.h"

namespace kv {

unsigned RestartFlags(TRestartWindows type) {
  switch (type) {
    case TRestartWindows::rwForced:
      return kEwxForce;
    case TRestartWindows::rwLogOff:
      return kEwxLogOff;
    case TRestartWindows::rwPowerOff:
      return kEwxPowerOff;
    case TRestartWindows::rwReboot:
      return kEwxReboot;
    case TRestartWindows::rwShutdown:
      return kEwxShutdown;
  }
  return kEwxLogOff;
}

}  // namespace kv
