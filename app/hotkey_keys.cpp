#include "app/hotkey_keys.h"

namespace kv {

KeyVerdict WinZRecognizer::OnKey(unsigned virtualKey, bool down, const HeldModifiers& held) {
  if (virtualKey != kVkZ)
    return {};
  if (!down) {
    const bool taken = zTaken_;
    zTaken_ = false;
    return {taken, false, false};
  }
  if (zTaken_)
    return {true, false, false};  // key repeat of the Z already taken
  if (!held.win || held.shift || held.control || held.alt)
    return {};
  zTaken_ = true;
  return {true, true, true};
}

}  // namespace kv
