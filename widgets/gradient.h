// The gradient data string (five semicolon-separated integers per band) and the two raster
// operations built on it: painting the bands and mixing a plain colour into a painted image.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace kv {

// One band of a gradient. Colours are plain RGB (0x00BBGGRR, top byte ignored).
struct GradientSegment {
  Color StartColor = 0;
  Color EndColor = 0;
  std::uint8_t SizePercent = 0;  // low 8 bits of the number written
  std::int32_t Direction = 0;    // 0 rows, 1 columns, else nothing; only the first band's counts
  std::int32_t Reserved = 0;
  friend bool operator==(const GradientSegment&, const GradientSegment&) = default;
};

// Rebuilds `segments` from the text: words are the maximal runs of characters other than ';',
// every five words make one segment (1 to 4 trailing words are ignored), the fifth word of each is
// skipped. A word that is not a signed decimal 32-bit integer throws ConvertError; `segments`
// then has its full length, the segments before the bad one filled and the others zero.
void ParseGradientData(std::string_view text, std::vector<GradientSegment>& segments);
std::vector<GradientSegment> ParseGradientData(std::string_view text);

// Paints the segments into `rect` of the image (limited to the image). Rows or columns are
// shaded by double accumulators rounded half to even; the last segment runs to the image's last
// row (column), and the row where two segments meet shows the later one's StartColor.
void PaintGradient(Bitmap& image, Rect rect, std::span<const GradientSegment> segments);

// Every pixel of the inclusive rectangle `inclusive` (right and bottom belong to it; limited to
// the image) becomes pixel * percent/100 + rgb * (1 - percent/100) per channel, rounded half to
// even. `rgb` is a plain colour.
void BlendWithColor(Bitmap& image, Rect inclusive, int percent, Color rgb);

// Nearest integer, ties to even, independent of the floating-point environment's rounding mode.
inline double RoundHalfEven(double v) {
  double f = std::floor(v);
  const double fraction = v - f;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(f, 2.0) != 0.0))
    f += 1.0;
  return f;
}

}  // namespace kv
