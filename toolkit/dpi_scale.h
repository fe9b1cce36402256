// Display scale. Every designed size, position, font height and line width of the program is
// for 96 DPI; at another DPI it is scaled by MulDiv(value, dpi, 96): multiplied, then rounded to
// the nearest integer with halves away from zero. Rectangles scale edge by edge, so controls
// that touch at 96 DPI still touch. A line keeps the same rule but never becomes thinner than
// one pixel. At 96 DPI every value is left as it is.
#pragma once

#include "toolkit/geometry.h"
#include "toolkit/text_renderer.h"

namespace kv {

inline constexpr int kDesignDpi = 96;

// MulDiv(value, dpi, 96).
constexpr int ScaleToDpi(int value, int dpi) {
  const long long product = static_cast<long long>(value) * dpi;
  const long long half = kDesignDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi
                                       : -((-product + half) / kDesignDpi));
}

class DpiScale {
 public:
  constexpr DpiScale() = default;
  // A DPI of 0 or less (a system that did not say) is taken as the design's.
  constexpr explicit DpiScale(int dpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

  constexpr int Dpi() const { return dpi_; }
  constexpr int operator()(int value) const { return ScaleToDpi(value, dpi_); }
  // The width of a line `width` pixels wide at 96 DPI: scaled, at least 1 pixel.
  constexpr int Line(int width = 1) const {
    const int scaled = ScaleToDpi(width, dpi_);
    return width > 0 && scaled < 1 ? 1 : scaled;
  }
  constexpr Point operator()(Point p) const { return {(*this)(p.x), (*this)(p.y)}; }
  constexpr Size operator()(Size s) const { return {(*this)(s.width), (*this)(s.height)}; }
  constexpr Rect operator()(Rect r) const {
    return {(*this)(r.left), (*this)(r.top), (*this)(r.right), (*this)(r.bottom)};
  }
  // The same face with its character height scaled.
  Font operator()(const Font& font) const {
    Font scaled = font;
    scaled.height = (*this)(font.height);
    return scaled;
  }

  friend constexpr bool operator==(DpiScale, DpiScale) = default;

 private:
  int dpi_ = kDesignDpi;
};

}  // namespace kv
