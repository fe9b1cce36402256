// The About window's emblem: PNG decoding to straight-alpha RGBA, resampling to the 65 x 65
// picture, and the two ways the window layer puts it on screen (AlphaBlend from premultiplied
// BGRA, or blending into the core's 24-bit bitmap).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/geometry.h"

namespace kv {

// Pixels as red, green, blue, alpha bytes with straight (not premultiplied) alpha; rows top to
// bottom, 4 * width bytes each, no padding.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  RgbaImage() = default;
  // Fully transparent black.
  RgbaImage(int w, int h);

  std::uint8_t* At(int x, int y) { return pixels.data() + (std::size_t(y) * width + x) * 4; }
  const std::uint8_t* At(int x, int y) const {
    return pixels.data() + (std::size_t(y) * width + x) * 4;
  }
  friend bool operator==(const RgbaImage&, const RgbaImage&) = default;
};

struct PngDecodeResult {
  RgbaImage image;    // empty on failure
  std::string error;  // libpng's reason, empty on success
  bool Ok() const { return error.empty(); }
};

// The largest width or height DecodePng accepts: a corrupt header must not make it allocate
// gigabytes.
inline constexpr int kMaxPngDimension = 8192;

// Decodes a whole PNG file of any colour type and bit depth: palettes, grey and tRNS become
// RGBA, 16-bit samples are rounded to the nearest 8-bit value, interlaced images are
// de-interlaced. Gamma chunks are ignored (the pixels are taken as they are stored). Truncated
// or corrupt data, a missing IEND included, gives an error, never a partial image.
PngDecodeResult DecodePng(std::string_view bytes);

// Resamples to width x height with a triangle filter in premultiplied alpha: bilinear when
// enlarging, an area-weighted average when shrinking, so fully transparent pixels never lend
// their colour to the edge. Same size gives the same pixels. An empty source or size gives a
// transparent or empty image.
RgbaImage StretchRgba(const RgbaImage& src, int width, int height);

// Blue, green, red, alpha bytes with the colour premultiplied by alpha, rows top to bottom: the
// bits of a top-down 32-bit DIB section for AlphaBlend with AC_SRC_ALPHA.
std::vector<std::uint8_t> PremultipliedBgra(const RgbaImage& image);

// Draws the image over the bitmap with its top-left corner at `origin` (source-over, clipped to
// the bitmap).
void BlendRgba(Bitmap& target, Point origin, const RgbaImage& image);

}  // namespace kv
