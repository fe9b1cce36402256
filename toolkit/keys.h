// The characters of the two keys a key-press handler answers (WM_CHAR's values).
#pragma once

namespace kv {

inline constexpr char kKeyEnter = 13;
inline constexpr char kKeyEscape = 27;

}  // namespace kv
