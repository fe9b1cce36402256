// Text measuring and drawing for the painters. The window layer implements it with GDI on a DIB
// section that wraps the same memory as the Bitmap, so text lands in the painted image directly;
// the unit tests use a fake with fixed character cells.
#pragma once

#include <string>
#include <string_view>

#include "toolkit/bitmap.h"
#include "toolkit/geometry.h"

namespace kv {

struct Font {
  std::string face;
  // Character height in pixels (the layouts' negative font heights, as a positive number).
  int height = 11;
  bool bold = false;
  // For a text laid out in columns: where the face is missing, the system picks another
  // fixed-pitch one.
  bool fixedPitch = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// Flags of TextRenderer::Draw; they mirror the platform's DrawText flags of the same meaning.
inline constexpr unsigned kTextLeft = 0;
inline constexpr unsigned kTextCenter = 1u << 0;  // horizontally centred in the box
inline constexpr unsigned kTextRight = 1u << 1;
inline constexpr unsigned kTextVCenter = 1u << 2;  // vertically centred; only with kTextSingleLine
inline constexpr unsigned kTextSingleLine = 1u << 3;
inline constexpr unsigned kTextWordBreak = 1u << 4;
inline constexpr unsigned kTextExpandTabs = 1u << 5;

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  // Extent of the text on one line.
  virtual Size Measure(std::string_view utf8, const Font& font) const = 0;
  // Extent of the text broken into words within maxWidth (one line per hard line break).
  virtual Size MeasureWrapped(std::string_view utf8, const Font& font, int maxWidth) const = 0;
  // Draws with a transparent background in the plain RGB colour `rgb`, laid out in `box` by
  // `flags` (the kText flags). Only `clip` (and the bitmap) clips: text may run out of `box`.
  virtual void Draw(Bitmap& target, std::string_view utf8, const Font& font, Color rgb, Rect box,
                    Rect clip, unsigned flags) = 0;
};

}  // namespace kv
