// Test doubles for the painters: a text renderer with fixed 7-pixel character cells that records
// what it is asked to draw, fixed system colours, and row/column readers.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "toolkit/text_renderer.h"

namespace kv::test {

inline constexpr int kCharWidth = 7;

class FakeTextRenderer : public TextRenderer {
 public:
  struct Call {
    std::string text;
    Font font;
    Color rgb;
    Rect box;
    Rect clip;
    unsigned flags;
  };

  Size Measure(std::string_view utf8, const Font& font) const override {
    return {static_cast<int>(utf8.size()) * kCharWidth, font.height};
  }
  // Breaks only between whole characters; enough for the layouts that depend on the line count.
  Size MeasureWrapped(std::string_view utf8, const Font& font, int maxWidth) const override {
    const int perLine = std::max(1, maxWidth / kCharWidth);
    const int chars = static_cast<int>(utf8.size());
    const int lines = std::max(1, (chars + perLine - 1) / perLine);
    return {std::min(chars, perLine) * kCharWidth, lines * font.height};
  }
  void Draw(Bitmap&, std::string_view utf8, const Font& font, Color rgb, Rect box, Rect clip,
            unsigned flags) override {
    calls.push_back({std::string(utf8), font, rgb, box, clip, flags});
  }

  std::vector<Call> calls;
};

// Distinct, recognisable values for the system colours the painters use.
class FakeSystemColors : public SystemColors {
 public:
  static constexpr Color kBtnFace = 0xE0E1E2;
  static constexpr Color kBtnShadow = 0x808182;
  static constexpr Color kBtnHighlight = 0xFEFDFC;
  static constexpr Color kGrayText = 0x6D6E6F;
  static constexpr Color kOther = 0x010203;

  Color rgbOf(int index) const override {
    switch (index) {
      case kColorBtnFace:
        return kBtnFace;
      case kColorBtnShadow:
        return kBtnShadow;
      case kColorBtnHighlight:
        return kBtnHighlight;
      case kColorGrayText:
        return kGrayText;
      default:
        return kOther;
    }
  }
};

inline Color Grey(int v) {
  return rgb(v, v, v);
}

inline std::vector<Color> RowOf(const Bitmap& image, int y) {
  std::vector<Color> row;
  for (int x = 0; x < image.width(); ++x)
    row.push_back(image.pixel(x, y));
  return row;
}

inline std::vector<Color> ColumnOf(const Bitmap& image, int x) {
  std::vector<Color> column;
  for (int y = 0; y < image.height(); ++y)
    column.push_back(image.pixel(x, y));
  return column;
}

inline Bitmap Filled(int width, int height, Color c) {
  Bitmap image(width, height);
  image.fill(c);
  return image;
}

}  // namespace kv::test
