// Win+Z seen key by key by the keyboard hook: which key events make the toggle and must not
// reach anyone, and which keys typed right after it are held back until the field can take them.
#pragma once

#include <bitset>
#include <vector>

namespace kv {

// Virtual-key codes the recogniser looks at.
inline constexpr unsigned kVkZ = 0x5A;
// A key that means nothing (unassigned): pressed while the Windows key is down, it keeps the
// Windows key's release from opening the Start menu.
inline constexpr unsigned kVkMaskKey = 0xE8;

// What the keyboard held when a key event arrived (the key of the event itself not counted).
struct HeldModifiers {
  bool win = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
};

struct KeyVerdict {
  bool swallow = false;         // the event must not reach the shell or any window
  bool toggle = false;          // Win+Z was pressed: the bar shows or hides
  bool maskWindowsKey = false;  // press the mask key before the Windows key is released
};

// Z pressed while a Windows key is down and no other modifier is, is Win+Z: the press toggles
// the bar once however long Z is held (its repeats and its release are swallowed with it), the
// way a hotkey registered without repeat behaves. The hook may miss a release (Z let go on the
// secure desktop, over an elevated window, across sleep), so a Z press counts as key repeat only
// while the keyboard could still be repeating it: no other key went down since the last Z event,
// which came less than kRepeatWindowMs before (the longest repeat delay is one second).
class WinZRecognizer {
 public:
  static constexpr unsigned kRepeatWindowMs = 1500;

  // Every key event the hook sees, with its time stamp in milliseconds (wrapping).
  KeyVerdict OnKey(unsigned virtualKey, bool down, const HeldModifiers& held, unsigned time);

 private:
  bool zTaken_ = false;  // the current Z press was Win+Z
  bool otherKeySinceZ_ = false;
  unsigned lastZTime_ = 0;
};

// One key event as the hook saw it, enough to send it again unchanged.
struct HeldKey {
  unsigned virtualKey = 0;
  unsigned scanCode = 0;
  unsigned flags = 0;  // the platform's own (extended key, Unicode packet)
  bool down = false;
};

// Keys typed between Win+Z showing the bar and the field taking the keyboard would go to the
// program that had it, or be lost while the foreground moves. They are held back, in order, and
// sent again once the field is ready (or the wait is over, then they go wherever the keyboard
// is). Keys that were already down when the hold began (Win, Z, a modifier) pass, so nothing
// stays pressed.
class TypingHold {
 public:
  static constexpr unsigned kLongestHoldMs = 300;

  // A key event that may be held back: true when it is. Every event goes through here or
  // Track, so that the keys down when a hold begins are known.
  bool OnKey(const HeldKey& key);
  // A key event that passes or is swallowed whatever the hold (Win+Z itself).
  void Track(const HeldKey& key);
  // Win+Z will show the bar: hold keys from now on.
  void Start(unsigned time);
  // The events to send again now, in order; none when nothing is held. The hold goes on until
  // every one of them has come back through the hook (OnResent), so a key typed meanwhile
  // cannot overtake them.
  std::vector<HeldKey> Release(unsigned time);
  // One of the events Release gave came back. Returns the events held meanwhile, to be sent
  // in turn, once the last one is back.
  std::vector<HeldKey> OnResent(unsigned time);
  // The hold has waited kLongestHoldMs, for the field or for a batch to come back: time to
  // Release, or to GiveUp when a batch is out.
  bool Overdue(unsigned time) const;
  bool Released() const { return released_; }
  // Stops waiting for what was sent (the system may have dropped it): what is held goes now
  // and the hold ends. Typing must never stay blocked.
  std::vector<HeldKey> GiveUp();

  bool Holding() const { return holding_; }

 private:
  std::bitset<256> down_;
  std::bitset<256> downBefore_;
  std::vector<HeldKey> held_;
  bool holding_ = false;
  bool released_ = false;
  size_t inFlight_ = 0;
  unsigned since_ = 0;  // the hold began, or the last batch went
};

}  // namespace kv
