#include "app/hotkey_keys.h"

namespace kv {

KeyVerdict WinZRecognizer::OnKey(unsigned virtualKey, bool down, const HeldModifiers& held,
                                 unsigned time) {
  if (virtualKey != kVkZ) {
    otherKeySinceZ_ = otherKeySinceZ_ || down;
    return {};
  }
  const bool repeatPossible = !otherKeySinceZ_ && time - lastZTime_ < kRepeatWindowMs;
  lastZTime_ = time;
  otherKeySinceZ_ = false;
  if (!down) {
    const bool taken = zTaken_;
    zTaken_ = false;
    return {taken, false, false};
  }
  if (zTaken_ && repeatPossible)
    return {true, false, false};  // key repeat of the Z already taken
  zTaken_ = false;
  if (!held.win || held.shift || held.control || held.alt)
    return {};
  zTaken_ = true;
  return {true, true, true};
}

bool TypingHold::OnKey(const HeldKey& key) {
  const bool downBefore = downBefore_[key.virtualKey & 0xFF];
  Track(key);
  if (!holding_ || downBefore)
    return false;
  held_.push_back(key);
  return true;
}

void TypingHold::Track(const HeldKey& key) {
  const size_t index = key.virtualKey & 0xFF;
  down_[index] = key.down;
  if (!key.down)
    downBefore_[index] = false;
}

void TypingHold::Start(unsigned time) {
  if (holding_)
    return;
  holding_ = true;
  released_ = false;
  since_ = time;
  downBefore_ = down_;
}

std::vector<HeldKey> TypingHold::Release(unsigned time) {
  released_ = true;
  since_ = time;
  std::vector<HeldKey> keys;
  keys.swap(held_);
  inFlight_ += keys.size();
  if (inFlight_ == 0)
    holding_ = false;
  return keys;
}

std::vector<HeldKey> TypingHold::OnResent(unsigned time) {
  if (inFlight_ == 0 || --inFlight_ > 0)
    return {};
  return Release(time);
}

bool TypingHold::Overdue(unsigned time) const {
  return holding_ && time - since_ >= kLongestHoldMs;
}

std::vector<HeldKey> TypingHold::GiveUp() {
  std::vector<HeldKey> keys;
  keys.swap(held_);
  inFlight_ = 0;
  holding_ = false;
  return keys;
}

}  // namespace kv
