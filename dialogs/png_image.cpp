#include "dialogs/png_image.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace kv {

RgbaImage::RgbaImage(int w, int h)
    : width(std::max(w, 0)), height(std::max(h, 0)), pixels(std::size_t(width) * height * 4, 0) {}

namespace {

// What the libpng callbacks share with the decoder. Plain data only: the callbacks run inside C
// code and leave it by longjmp, so nothing here may throw or own memory.
struct ReadState {
  const char* data = nullptr;
  std::size_t size = 0;
  std::size_t offset = 0;
  char error[256] = {};
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
  if (count > state->size - state->offset)
    png_error(png, "unexpected end of data");
  std::memcpy(out, state->data + state->offset, count);
  state->offset += count;
}

[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  auto* state = static_cast<ReadState*>(png_get_error_ptr(png));
  std::snprintf(state->error, sizeof state->error, "%s", message ? message : "libpng error");
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Frees the read structures however DecodePng leaves (result, libpng error or bad_alloc).
struct ReadStructs {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~ReadStructs() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// The only function that calls setjmp. It creates no object with a destructor and keeps all it
// fills in the caller's objects, so a longjmp back here skips nothing and leaves nothing
// indeterminate.
bool ReadImage(png_structp png, png_infop info, RgbaImage* image,
               std::vector<png_bytep>* rowPointers) {
  if (setjmp(png_jmpbuf(png)))
    return false;

  png_set_user_limits(png, kMaxPngDimension, kMaxPngDimension);
  png_read_info(png, info);
  png_uint_32 width = 0;
  png_uint_32 height = 0;
  int bitDepth = 0;
  int colorType = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);

  // Everything becomes 8-bit RGBA.
  const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE)
    png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
    png_set_expand_gray_1_2_4_to_8(png);
  if (hasTransparency)
    png_set_tRNS_to_alpha(png);
  if (bitDepth == 16)
    png_set_scale_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
    png_set_gray_to_rgb(png);
  if ((colorType & PNG_COLOR_MASK_ALPHA) == 0 && !hasTransparency)
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_bit_depth(png, info) != 8 || png_get_channels(png, info) != 4 ||
      png_get_rowbytes(png, info) != std::size_t(width) * 4)
    png_error(png, "unexpected pixel layout after the transformations");

  *image = RgbaImage(static_cast<int>(width), static_cast<int>(height));
  rowPointers->resize(height);
  for (png_uint_32 y = 0; y < height; ++y)
    (*rowPointers)[y] = image->At(0, static_cast<int>(y));
  png_read_image(png, rowPointers->data());
  // The trailing chunks too: a file cut short after its pixel data is still an error.
  png_read_end(png, nullptr);
  return true;
}

std::uint8_t RoundToByte(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// One output position's source taps: indices (clamped to the edge) and normalised weights.
struct Taps {
  std::vector<int> index;
  std::vector<double> weight;
};

// Triangle filter between pixel centres. When shrinking the filter widens with the scale, so
// every source pixel counts in proportion to the area it covers.
std::vector<Taps> ComputeTaps(int srcSize, int dstSize) {
  std::vector<Taps> result(dstSize);
  const double scale = double(srcSize) / dstSize;
  const double radius = std::max(scale, 1.0);
  for (int i = 0; i < dstSize; ++i) {
    const double centre = (i + 0.5) * scale - 0.5;
    const int first = static_cast<int>(std::floor(centre - radius)) + 1;
    const int last = static_cast<int>(std::ceil(centre + radius)) - 1;
    double total = 0;
    for (int s = first; s <= last; ++s) {
      const double w = 1.0 - std::abs(s - centre) / radius;
      if (w <= 0)
        continue;
      result[i].index.push_back(std::clamp(s, 0, srcSize - 1));
      result[i].weight.push_back(w);
      total += w;
    }
    for (double& w : result[i].weight)
      w /= total;
  }
  return result;
}

}  // namespace

PngDecodeResult DecodePng(std::string_view bytes) {
  PngDecodeResult result;
  if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0) {
    result.error = "not a PNG file";
    return result;
  }
  ReadState state;
  state.data = bytes.data();
  state.size = bytes.size();
  ReadStructs structs;
  structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, OnError, OnWarning);
  if (structs.png)
    structs.info = png_create_info_struct(structs.png);
  if (!structs.png || !structs.info) {
    result.error = "out of memory";
    return result;
  }
  png_set_read_fn(structs.png, &state, ReadFromMemory);

  RgbaImage image;
  std::vector<png_bytep> rowPointers;
  if (ReadImage(structs.png, structs.info, &image, &rowPointers))
    result.image = std::move(image);
  else
    result.error = state.error[0] ? state.error : "libpng error";
  return result;
}

RgbaImage StretchRgba(const RgbaImage& src, int width, int height) {
  RgbaImage out(width, height);
  if (out.width == 0 || out.height == 0 || src.width <= 0 || src.height <= 0)
    return out;
  const std::vector<Taps> columns = ComputeTaps(src.width, out.width);
  const std::vector<Taps> rows = ComputeTaps(src.height, out.height);

  // Horizontal pass into premultiplied doubles (colour * alpha, alpha), then vertical.
  std::vector<double> across(std::size_t(out.width) * src.height * 4, 0.0);
  for (int y = 0; y < src.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      double* acc = &across[(std::size_t(y) * out.width + x) * 4];
      const Taps& taps = columns[x];
      for (std::size_t t = 0; t < taps.index.size(); ++t) {
        const std::uint8_t* p = src.At(taps.index[t], y);
        const double wa = taps.weight[t] * p[3];
        acc[0] += wa * p[0];
        acc[1] += wa * p[1];
        acc[2] += wa * p[2];
        acc[3] += wa;
      }
    }
  }
  for (int y = 0; y < out.height; ++y) {
    const Taps& taps = rows[y];
    for (int x = 0; x < out.width; ++x) {
      double acc[4] = {0, 0, 0, 0};
      for (std::size_t t = 0; t < taps.index.size(); ++t) {
        const double* p = &across[(std::size_t(taps.index[t]) * out.width + x) * 4];
        for (int c = 0; c < 4; ++c)
          acc[c] += taps.weight[t] * p[c];
      }
      std::uint8_t* q = out.At(x, y);
      const std::uint8_t alpha = RoundToByte(acc[3]);
      // A pixel that ends up fully transparent keeps no colour.
      if (alpha == 0)
        continue;
      for (int c = 0; c < 3; ++c)
        q[c] = RoundToByte(acc[c] / acc[3]);
      q[3] = alpha;
    }
  }
  return out;
}

std::vector<std::uint8_t> PremultipliedBgra(const RgbaImage& image) {
  std::vector<std::uint8_t> out(image.pixels.size());
  for (std::size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
    const unsigned a = image.pixels[i + 3];
    // (v * a + 127) / 255 is v * a / 255 rounded to nearest.
    out[i + 0] = static_cast<std::uint8_t>((image.pixels[i + 2] * a + 127) / 255);
    out[i + 1] = static_cast<std::uint8_t>((image.pixels[i + 1] * a + 127) / 255);
    out[i + 2] = static_cast<std::uint8_t>((image.pixels[i + 0] * a + 127) / 255);
    out[i + 3] = static_cast<std::uint8_t>(a);
  }
  return out;
}

void BlendRgba(Bitmap& target, Point origin, const RgbaImage& image) {
  const int left = std::max(origin.x, 0);
  const int top = std::max(origin.y, 0);
  const int right = std::min(origin.x + image.width, target.width());
  const int bottom = std::min(origin.y + image.height, target.height());
  for (int y = top; y < bottom; ++y) {
    std::uint8_t* row = target.row(y);
    for (int x = left; x < right; ++x) {
      const std::uint8_t* p = image.At(x - origin.x, y - origin.y);
      const unsigned a = p[3];
      std::uint8_t* q = row + x * 3;  // blue, green, red
      for (int c = 0; c < 3; ++c) {
        const unsigned source = p[2 - c];
        q[c] = static_cast<std::uint8_t>((source * a + q[c] * (255 - a) + 127) / 255);
      }
    }
  }
}

}  // namespace kv
