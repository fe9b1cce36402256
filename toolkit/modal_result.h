// The results a modal form ends with: its "Ok" and its "Cancel" (Esc, or the close request).
#pragma once

namespace kv {

inline constexpr int kModalResultOk = 1;
inline constexpr int kModalResultCancel = 2;

}  // namespace kv
