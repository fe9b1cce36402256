// The fixed table of short names for system consoles, Control Panel applets and programs.
// A row opens through the shell: verb "open", no owner, the row's file and parameters, an empty
// working folder, SW_SHOW; its result is not examined.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kv {

enum class ShortcutKind {
  console,  // a management console; the file is the .msc, no parameters
  applet,   // a Control Panel applet; the file is "control", the parameters the .cpl
  program,  // a program or shell target; the file is the whole target, no parameters
};

struct ShortcutRow {
  std::string_view name;        // what the user types, compared exactly
  std::string_view file;        // handed to the shell as written, case included
  std::string_view parameters;  // empty where the row has none
  ShortcutKind kind;
  bool hidesBar;  // the bar slides up right after the launch ("phoneconfig" only)
};

inline constexpr size_t kShortcutCount = 65;

// Every row, in the order the dispatcher tests them.
const std::array<ShortcutRow, kShortcutCount>& SystemShortcuts();

// The first row whose name equals `typed` exactly (no trimming, no case folding), or nullptr.
const ShortcutRow* FindShortcut(std::string_view typed);

}  // namespace kv
