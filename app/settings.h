// The settings record kept in Data\config.cfg: 16 bytes, little-endian, no header.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/color.h"

namespace kv {

struct Settings {
  std::uint8_t Delay = 0;                // milliseconds slept after each 5-pixel slide step
  std::array<std::uint8_t, 3> Filler{};  // kept as read at start-up, written back unchanged
  Color EdgeColor = 0;                   // top and bottom bands of the panel
  Color MiddleColor = 0;                 // middle band and the field's background
  Color TextColor = 0;                   // field text and the "Ok" / "X" captions
};

inline constexpr size_t kSettingsRecordSize = 16;
inline constexpr std::uint8_t kDelayAfterOpenError = 15;

Settings DefaultSettings();
// The first 16 bytes of `bytes`, which must hold at least that many.
Settings DecodeSettingsRecord(std::string_view bytes);
std::string EncodeSettingsRecord(const Settings& settings);

// The panel's gradient data string: edge to middle over 22 %, middle over 54 %, middle to edge
// over 23 %, edge for the rest. System colours are written as their current RGB value.
std::string BuildGradientData(Color edge, Color middle, const SystemColors& system);

}  // namespace kv
