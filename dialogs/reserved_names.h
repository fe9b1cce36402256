// The names a new user command may not take: built-in, session, shortcut and network words and
// the system program names the help text lists.
#pragma once

#include <span>
#include <string_view>

namespace kv {

// The reserved rows of the built-in word table in their order, then the fixed list of the
// other names: 96 entries, "odbc" twice. "about", "hide" and "clearhistory" are not reserved.
std::span<const std::string_view> ReservedNames();

// Whether `name` equals a reserved name exactly (with case: "Help" is free).
bool IsReservedName(std::string_view name);

}  // namespace kv
