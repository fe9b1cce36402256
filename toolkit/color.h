// Colours as the settings and layouts hold them: signed 32-bit 0x00BBGGRR, where a negative value
// names a system colour (0x80000000 | the system colour index).
#pragma once

#include <cstdint>

namespace kv {

using Color = std::int32_t;

constexpr Color systemColor(int index) {
  return static_cast<Color>(0x80000000u | unsigned(index));
}
constexpr bool isSystemColor(Color c) {
  return c < 0;
}
constexpr int systemColorIndex(Color c) {
  return static_cast<int>(c & 0xFF);
}

// System colour indices (the platform's COLOR_* values).
inline constexpr int kColorWindow = 5;
inline constexpr int kColorWindowText = 8;
inline constexpr int kColorCaptionText = 9;
inline constexpr int kColorBtnFace = 15;
inline constexpr int kColorBtnShadow = 16;
inline constexpr int kColorGrayText = 17;
inline constexpr int kColorBtnHighlight = 20;

inline constexpr Color clBtnFace = systemColor(kColorBtnFace);
inline constexpr Color clBtnShadow = systemColor(kColorBtnShadow);
inline constexpr Color clBtnHighlight = systemColor(kColorBtnHighlight);
inline constexpr Color clGrayText = systemColor(kColorGrayText);
inline constexpr Color clWindow = systemColor(kColorWindow);
inline constexpr Color clWindowText = systemColor(kColorWindowText);
inline constexpr Color clCaptionText = systemColor(kColorCaptionText);
inline constexpr Color clWhite = 0xFFFFFF;
inline constexpr Color clBlack = 0x000000;
inline constexpr Color clSilver = 0xC0C0C0;
// The dialogs' window colour: red 64, green 128, blue 128.
inline constexpr Color kDialogColor = 8421440;

constexpr int redOf(Color c) {
  return c & 0xFF;
}
constexpr int greenOf(Color c) {
  return (c >> 8) & 0xFF;
}
constexpr int blueOf(Color c) {
  return (c >> 16) & 0xFF;
}
constexpr Color rgb(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}

// Current RGB values of the system colours.
class SystemColors {
 public:
  virtual ~SystemColors() = default;
  virtual Color rgbOf(int index) const = 0;
};

// Plain RGB for painting: a system colour becomes its current value, others keep their low
// 24 bits.
inline Color resolveColor(Color c, const SystemColors& system) {
  return isSystemColor(c) ? system.rgbOf(systemColorIndex(c)) : (c & 0xFFFFFF);
}

}  // namespace kv
