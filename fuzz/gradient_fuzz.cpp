// The gradient data string, then the bands painted from it and a colour blended in, on a small
// bitmap and a rectangle that may reach outside it. Input: width, height, the rectangle's four
// edges, the blend percentage, the blend colour (4 bytes), then the string.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "toolkit/errors.h"
#include "widgets/gradient.h"

namespace kv {
namespace {

constexpr size_t kHeader = 11;
constexpr std::uint8_t kMarker = 0x5A;   // every byte of the image before painting
constexpr std::uint8_t kPadding = 0xA5;  // the row padding, which nothing may touch

size_t CountWords(std::string_view text) {
  size_t words = 0;
  for (size_t i = 0; i < text.size(); ++i)
    words += text[i] != ';' && (i == 0 || text[i - 1] == ';');
  return words;
}

struct Canvas {
  int width;
  int height;
  std::vector<std::uint8_t> bytes;
  Bitmap image;

  Canvas(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(Bitmap::strideFor(w)) * h) {
    const int stride = Bitmap::strideFor(w);
    for (int y = 0; y < h; ++y) {
      std::memset(bytes.data() + y * stride, kMarker, static_cast<size_t>(w) * 3);
      std::memset(bytes.data() + y * stride + w * 3, kPadding, static_cast<size_t>(stride - w * 3));
    }
    image = Bitmap(w, h, bytes.data());
  }
  bool inside(int x, int y, int left, int top, int right, int bottom) const {
    return x >= left && x < right && y >= top && y < bottom;
  }
  // Nothing outside [left, right) x [top, bottom) of the image changed, the padding included.
  void checkUntouchedOutside(int left, int top, int right, int bottom,
                             const std::vector<std::uint8_t>& before) const {
    const int stride = Bitmap::strideFor(width);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (inside(x, y, left, top, right, bottom))
          continue;
        FUZZ_CHECK(std::memcmp(&bytes[y * stride + x * 3], &before[y * stride + x * 3], 3) == 0);
      }
      for (int i = width * 3; i < stride; ++i)
        FUZZ_CHECK(bytes[y * stride + i] == kPadding);
    }
  }
};

std::string FormatSegments(const std::vector<GradientSegment>& segments) {
  std::string text;
  for (const GradientSegment& s : segments) {
    text += std::to_string(s.StartColor) + ";" + std::to_string(s.EndColor) + ";" +
            std::to_string(s.SizePercent) + ";" + std::to_string(s.Direction) + ";0;";
  }
  return text;
}

}  // namespace
}  // namespace kv

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace kv;
  if (size < kHeader)
    return 0;
  const int width = 1 + data[0] % 48;
  const int height = 1 + data[1] % 48;
  // Edges from -8 to 55, so the rectangle may be empty, inverted or larger than the image.
  const Rect rect{data[2] % 64 - 8, data[3] % 64 - 8, data[4] % 64 - 8, data[5] % 64 - 8};
  const int percent = data[6] % 101;
  Color colour;
  std::memcpy(&colour, data + 7, sizeof colour);  // bytes 7 to 10
  const std::string_view text(reinterpret_cast<const char*>(data + kHeader),
                              std::min<size_t>(size - kHeader, 600));

  std::vector<GradientSegment> segments = {{1, 2, 3, 4, 5}};
  bool valid = true;
  try {
    ParseGradientData(text, segments);
  } catch (const ConvertError&) {
    valid = false;
  }
  FUZZ_CHECK(segments.size() == CountWords(text) / 5);
  if (valid)
    FUZZ_CHECK(ParseGradientData(FormatSegments(segments)) == segments);

  Canvas canvas(width, height);
  std::vector<std::uint8_t> before = canvas.bytes;
  PaintGradient(canvas.image, rect, segments);
  const int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  const int right = std::min(rect.right, width), bottom = std::min(rect.bottom, height);
  canvas.checkUntouchedOutside(left, top, right, bottom, before);
  // Rows are painted in one colour each from top to bottom, columns from left to right.
  if (!segments.empty() && left < right && top < bottom) {
    const bool rows = segments.front().Direction == 0;
    const bool columns = segments.front().Direction == 1;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) {
        if (rows)
          FUZZ_CHECK(canvas.image.pixel(x, y) == canvas.image.pixel(left, y));
        if (columns)
          FUZZ_CHECK(canvas.image.pixel(x, y) == canvas.image.pixel(x, top));
      }
    }
  }

  // The blend's rectangle includes its right and bottom edges.
  before = canvas.bytes;
  const Color rgbColour = colour & 0xFFFFFF;
  BlendWithColor(canvas.image, rect, percent, rgbColour);
  canvas.checkUntouchedOutside(left, top, std::min(rect.right + 1, width),
                               std::min(rect.bottom + 1, height), before);
  const int stride = Bitmap::strideFor(width);
  const int channel[3] = {blueOf(rgbColour), greenOf(rgbColour), redOf(rgbColour)};
  for (int y = top; y <= std::min(rect.bottom, height - 1); ++y) {
    for (int x = left; x <= std::min(rect.right, width - 1); ++x) {
      for (int c = 0; c < 3; ++c) {
        // A mix lies between its two parts; the whole of either part gives that part.
        const int was = before[y * stride + x * 3 + c];
        const int now = canvas.bytes[y * stride + x * 3 + c];
        FUZZ_CHECK(now >= std::min(was, channel[c]) && now <= std::max(was, channel[c]));
        if (percent == 100)
          FUZZ_CHECK(now == was);
        if (percent == 0)
          FUZZ_CHECK(now == channel[c]);
      }
    }
  }
  return 0;
}
