// Win+Z seen key by key, for systems where another program holds the hotkey and the bar has to
// watch the keyboard itself: which key events make the toggle, and which must not reach anyone.
#pragma once

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
  bool toggle = false;          // post the bar its hotkey message
  bool maskWindowsKey = false;  // press the mask key before the Windows key is released
};

// Z pressed while a Windows key is down and no other modifier is, is Win+Z: the press toggles
// the bar once however long Z is held (its repeats and its release are swallowed with it), the
// way a hotkey registered without repeat behaves.
class WinZRecognizer {
 public:
  KeyVerdict OnKey(unsigned virtualKey, bool down, const HeldModifiers& held);

 private:
  bool zTaken_ = false;  // the current Z press was Win+Z
};

}  // namespace kv
