// The names a new user command may not take: built-in, session, shortcut and network words and
// the system program names the help text lists.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace kv {

// 96 entries; "odbc" stands twice. "about", "hide" and "clearhistory" are not reserved.
inline constexpr size_t kReservedNameCount = 96;

const std::array<std::string_view, kReservedNameCount>& ReservedNames();

// Whether `name` equals a reserved name exactly (with case: "Help" is free).
bool IsReservedName(std::string_view name);

}  // namespace kv
