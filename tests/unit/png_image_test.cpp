#include "dialogs/png_image.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <ostream>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/resources.h"

namespace kv {
namespace {

using Bytes = std::vector<std::uint8_t>;

// What a test PNG holds: IHDR values, packed sample rows as the file stores them, and the
// optional palette and tRNS chunk.
struct PngLayout {
  int width = 0;
  int height = 0;
  int colorType = PNG_COLOR_TYPE_RGBA;
  int bitDepth = 8;
  std::vector<Bytes> rows;
  std::vector<png_color> palette;
  Bytes paletteAlpha;                     // tRNS of a palette image
  std::vector<png_color_16> transparent;  // tRNS of a grey or RGB image (one entry)
  bool interlaced = false;
};

PngLayout MakeSpec(int width, int height, int colorType, int bitDepth) {
  PngLayout s;
  s.width = width;
  s.height = height;
  s.colorType = colorType;
  s.bitDepth = bitDepth;
  return s;
}

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void FlushNothing(png_structp) {}

// Writes the file with libpng's own encoder. setjmp lives in a function whose locals are all
// trivial; the output string belongs to the caller.
bool WritePngInto(const PngLayout& layout, std::string* out, png_structp png, png_infop info,
                  std::vector<png_bytep>* rowPointers) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_set_write_fn(png, out, AppendToString, FlushNothing);
  png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType,
               layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (!layout.palette.empty())
    png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
  if (!layout.paletteAlpha.empty())
    png_set_tRNS(png, info, layout.paletteAlpha.data(),
                 static_cast<int>(layout.paletteAlpha.size()), nullptr);
  if (!layout.transparent.empty())
    png_set_tRNS(png, info, nullptr, 0, &layout.transparent[0]);
  png_write_info(png, info);
  png_write_image(png, rowPointers->data());
  png_write_end(png, nullptr);
  return true;
}

std::string EncodePng(PngLayout layout) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rowPointers;
  for (Bytes& row : layout.rows)
    rowPointers.push_back(row.data());
  std::string out;
  const bool ok = WritePngInto(layout, &out, png, info, &rowPointers);
  png_destroy_write_struct(&png, &info);
  EXPECT_TRUE(ok) << "the test's own PNG could not be written";
  return out;
}

Bytes PixelAt(const RgbaImage& image, int x, int y) {
  const std::uint8_t* p = image.At(x, y);
  return Bytes(p, p + 4);
}

Bytes RowOf(const RgbaImage& image, int y) {
  return Bytes(image.At(0, y), image.At(0, y) + image.width * 4);
}

// Big-endian 16-bit samples.
Bytes Samples16(std::initializer_list<unsigned> values) {
  Bytes out;
  for (unsigned v : values) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  }
  return out;
}

TEST(DecodePng, EmbeddedEmblemIs48By48WithTransparentCornersAndOpaqueCentre) {
  const PngDecodeResult result = DecodePng(resources::kEmblemPng);
  ASSERT_TRUE(result.Ok()) << result.error;
  const RgbaImage& image = result.image;
  ASSERT_EQ(image.width, 48);
  ASSERT_EQ(image.height, 48);
  for (auto [x, y] : {std::pair{0, 0}, {47, 0}, {0, 47}, {47, 47}})
    EXPECT_EQ(image.At(x, y)[3], 0) << x << "," << y;
  for (int y = 16; y < 32; ++y)
    for (int x = 16; x < 32; ++x)
      EXPECT_EQ(image.At(x, y)[3], 255) << x << "," << y;
  // Anti-aliased edges: some pixels are neither fully transparent nor opaque.
  int partial = 0;
  for (int i = 3; i < static_cast<int>(image.pixels.size()); i += 4)
    partial += image.pixels[i] != 0 && image.pixels[i] != 255;
  EXPECT_GT(partial, 0);
}

struct DecodeCase {
  const char* name;
  PngLayout layout;
  std::vector<Bytes> expectedRows;  // RGBA
};

std::vector<DecodeCase> DecodeCases() {
  std::vector<DecodeCase> cases;
  {
    // Four 2-bit palette entries, the first three with tRNS alpha, the fourth implied opaque.
    PngLayout s = MakeSpec(4, 1, PNG_COLOR_TYPE_PALETTE, 2);
    s.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {250, 240, 230}};
    s.paletteAlpha = {0, 128, 255};
    s.rows = {{0b00011011}};  // indices 0, 1, 2, 3
    cases.push_back({"palette2WithTrns",
                     s,
                     {{255, 0, 0, 0, 0, 255, 0, 128, 0, 0, 255, 255, 250, 240, 230, 255}}});
  }
  {
    PngLayout s = MakeSpec(2, 2, PNG_COLOR_TYPE_PALETTE, 8);
    s.palette = {{1, 2, 3}, {200, 100, 50}};
    s.rows = {{0, 1}, {1, 0}};
    cases.push_back({"palette8Opaque",
                     s,
                     {{1, 2, 3, 255, 200, 100, 50, 255}, {200, 100, 50, 255, 1, 2, 3, 255}}});
  }
  {
    PngLayout s = MakeSpec(3, 1, PNG_COLOR_TYPE_GRAY, 1);
    s.rows = {{0b10100000}};
    cases.push_back({"grey1", s, {{255, 255, 255, 255, 0, 0, 0, 255, 255, 255, 255, 255}}});
  }
  {
    // 4-bit grey v stands for v * 17.
    PngLayout s = MakeSpec(2, 1, PNG_COLOR_TYPE_GRAY, 4);
    s.rows = {{0x5F}};
    cases.push_back({"grey4", s, {{85, 85, 85, 255, 255, 255, 255, 255}}});
  }
  {
    PngLayout s = MakeSpec(3, 1, PNG_COLOR_TYPE_GRAY, 8);
    s.transparent = {{0, 0, 0, 0, 7}};
    s.rows = {{7, 8, 200}};
    cases.push_back({"grey8WithTrns", s, {{7, 7, 7, 0, 8, 8, 8, 255, 200, 200, 200, 255}}});
  }
  {
    PngLayout s = MakeSpec(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8);
    s.rows = {{100, 50, 0, 255}};
    cases.push_back({"greyAlpha8", s, {{100, 100, 100, 50, 0, 0, 0, 255}}});
  }
  {
    PngLayout s = MakeSpec(2, 1, PNG_COLOR_TYPE_RGB, 8);
    s.transparent = {{0, 10, 20, 30, 0}};
    s.rows = {{10, 20, 30, 10, 20, 31}};
    cases.push_back({"rgb8WithTrns", s, {{10, 20, 30, 0, 10, 20, 31, 255}}});
  }
  {
    // 16-bit samples round to the nearest 8-bit value, v / 257: 0x12FF -> 18.92 -> 19 (cutting
    // the low byte would give 18), 0x0080 -> 0.498 -> 0, 0x0081 -> 0.502 -> 1.
    PngLayout s = MakeSpec(2, 1, PNG_COLOR_TYPE_RGB, 16);
    s.rows = {Samples16({0xFFFF, 0x0000, 0x12FF, 0x8080, 0x0080, 0x0081})};
    cases.push_back({"rgb16", s, {{255, 0, 19, 255, 128, 0, 1, 255}}});
  }
  {
    PngLayout s = MakeSpec(1, 2, PNG_COLOR_TYPE_RGB_ALPHA, 16);
    s.rows = {Samples16({0x8080, 0x4000, 0x0000, 0x8080}), Samples16({1, 2, 3, 0xFFFF})};
    cases.push_back({"rgba16", s, {{128, 64, 0, 128}, {0, 0, 0, 255}}});
  }
  {
    PngLayout s = MakeSpec(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 16);
    s.rows = {Samples16({0xC0C0, 0x2020})};
    cases.push_back({"greyAlpha16", s, {{192, 192, 192, 32}}});
  }
  {
    PngLayout s = MakeSpec(1, 1, PNG_COLOR_TYPE_GRAY, 16);
    s.transparent = {{0, 0, 0, 0, 0x1234}};
    s.rows = {Samples16({0x1234})};
    cases.push_back({"grey16WithTrns", s, {{18, 18, 18, 0}}});
  }
  {
    // Adam7 spreads a 5 x 5 image over all seven passes.
    PngLayout s = MakeSpec(5, 5, PNG_COLOR_TYPE_RGB_ALPHA, 8);
    s.interlaced = true;
    std::vector<Bytes> expected;
    for (int y = 0; y < 5; ++y) {
      Bytes row;
      for (int x = 0; x < 5; ++x)
        row.insert(row.end(), {std::uint8_t(x * 50), std::uint8_t(y * 50), std::uint8_t(x + y),
                               std::uint8_t(255 - x * y)});
      s.rows.push_back(row);
      expected.push_back(row);
    }
    cases.push_back({"rgba8Interlaced", s, expected});
  }
  return cases;
}

void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

class DecodePngColourTypes : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodePngColourTypes, GivesExactStraightRgba) {
  const DecodeCase& c = GetParam();
  const PngDecodeResult result = DecodePng(EncodePng(c.layout));
  ASSERT_TRUE(result.Ok()) << result.error;
  ASSERT_EQ(result.image.width, c.layout.width);
  ASSERT_EQ(result.image.height, c.layout.height);
  for (int y = 0; y < c.layout.height; ++y)
    EXPECT_EQ(RowOf(result.image, y), c.expectedRows[y]) << "row " << y;
}

INSTANTIATE_TEST_SUITE_P(All, DecodePngColourTypes, testing::ValuesIn(DecodeCases()),
                         [](const testing::TestParamInfo<DecodeCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(DecodePng, EveryTruncationOfTheEmblemIsAnError) {
  const std::string_view whole = resources::kEmblemPng;
  ASSERT_TRUE(DecodePng(whole).Ok());
  for (std::size_t length = 0; length < whole.size(); ++length) {
    const PngDecodeResult result = DecodePng(whole.substr(0, length));
    EXPECT_FALSE(result.Ok()) << "length " << length;
    EXPECT_TRUE(result.image.pixels.empty()) << "length " << length;
  }
}

TEST(DecodePng, GarbageIsAnError) {
  EXPECT_FALSE(DecodePng("").Ok());
  EXPECT_FALSE(DecodePng("GIF89a not a png at all").Ok());
  std::string signatureThenNoise("\x89PNG\r\n\x1a\n", 8);
  for (int i = 0; i < 200; ++i)
    signatureThenNoise.push_back(static_cast<char>((i * 73 + 11) & 0xFF));
  EXPECT_FALSE(DecodePng(signatureThenNoise).Ok());
}

TEST(DecodePng, CorruptedBytesAreAnErrorNotACrash) {
  // A flipped bit in any chunk breaks its CRC (critical chunks) or the zlib stream; either way
  // the decoder must stop cleanly. Ancillary chunks may be skipped, so only IHDR, IDAT and IEND
  // bytes are flipped: the emblem has no other chunks.
  const std::string whole(resources::kEmblemPng);
  for (std::size_t i = 8; i < whole.size(); ++i) {
    std::string damaged = whole;
    damaged[i] = static_cast<char>(damaged[i] ^ 0x10);
    EXPECT_FALSE(DecodePng(damaged).Ok()) << "byte " << i;
  }
}

TEST(DecodePng, SizeAboveTheLimitIsRefused) {
  for (int width : {kMaxPngDimension, kMaxPngDimension + 1}) {
    PngLayout s = MakeSpec(width, 1, PNG_COLOR_TYPE_GRAY, 8);
    s.rows = {Bytes(width, 9)};
    const PngDecodeResult wide = DecodePng(EncodePng(s));
    EXPECT_EQ(wide.Ok(), width <= kMaxPngDimension) << width << ": " << wide.error;

    PngLayout t = MakeSpec(1, width, PNG_COLOR_TYPE_GRAY, 8);
    t.rows.assign(width, Bytes{9});
    const PngDecodeResult tall = DecodePng(EncodePng(t));
    EXPECT_EQ(tall.Ok(), width <= kMaxPngDimension) << width << ": " << tall.error;
  }
}

RgbaImage UniformImage(int w, int h, Bytes rgba) {
  RgbaImage image(w, h);
  for (int i = 0; i < w * h; ++i)
    std::copy(rgba.begin(), rgba.end(), image.pixels.begin() + i * 4);
  return image;
}

TEST(StretchRgba, UniformImageStaysUniformEnlargedAndShrunk) {
  const Bytes colour = {10, 200, 31, 77};
  const RgbaImage src = UniformImage(48, 48, colour);
  for (auto [w, h] : {std::pair{65, 65}, {13, 7}, {1, 1}, {48, 48}, {100, 3}}) {
    const RgbaImage out = StretchRgba(src, w, h);
    ASSERT_EQ(out.width, w);
    ASSERT_EQ(out.height, h);
    EXPECT_EQ(out, UniformImage(w, h, colour)) << w << " x " << h;
  }
}

TEST(StretchRgba, SameSizeKeepsEveryPixel) {
  const RgbaImage emblem = DecodePng(resources::kEmblemPng).image;
  ASSERT_EQ(emblem.width, 48);
  EXPECT_EQ(StretchRgba(emblem, 48, 48), emblem);
}

TEST(StretchRgba, EnlargingBlendsInPremultipliedAlpha) {
  // Two pixels to four: the output centres fall at -0.25, 0.25, 0.75 and 1.25 source pixels,
  // so the middle two mix 3:1 and 1:3. Opaque red (255, 0, 0, 255) with blue at alpha 51:
  //   x = 1: alpha 0.75 * 255 + 0.25 * 51 = 204; red 0.75 * 255 * 255 / 204 = 239.06;
  //          blue 0.25 * 51 * 255 / 204 = 15.94.
  //   x = 2: alpha 0.25 * 255 + 0.75 * 51 = 102; red 0.25 * 255 * 255 / 102 = 159.38;
  //          blue 0.75 * 51 * 255 / 102 = 95.63.
  // (Mixing straight colours would give red 191 and 64, blue 64 and 191.)
  RgbaImage src(2, 1);
  src.pixels = {255, 0, 0, 255, 0, 0, 255, 51};
  const RgbaImage out = StretchRgba(src, 4, 1);
  EXPECT_EQ(RowOf(out, 0),
            (Bytes{255, 0, 0, 255, 239, 0, 16, 204, 159, 0, 96, 102, 0, 0, 255, 51}));
  // The same along the other axis.
  RgbaImage column(1, 2);
  column.pixels = src.pixels;
  const RgbaImage tall = StretchRgba(column, 1, 4);
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(PixelAt(tall, 0, y), Bytes(out.At(y, 0), out.At(y, 0) + 4)) << y;
}

TEST(StretchRgba, ShrinkingAveragesTheCoveredArea) {
  // Four pixels to two: each output pixel's centre lies between two source pixels, whose
  // weights are 3/8, 3/8 and 1/8, 1/8 for the outer neighbours (edge clamped).
  RgbaImage src(4, 1);
  src.pixels = {0, 0, 0, 255, 80, 80, 80, 255, 160, 160, 160, 255, 240, 240, 240, 255};
  // Left: 1/8 * 0 (clamped) + 3/8 * 0 + 3/8 * 80 + 1/8 * 160 = 50.
  // Right: 1/8 * 80 + 3/8 * 160 + 3/8 * 240 + 1/8 * 240 = 190.
  EXPECT_EQ(RowOf(StretchRgba(src, 2, 1), 0), (Bytes{50, 50, 50, 255, 190, 190, 190, 255}));
}

TEST(StretchRgba, TransparentPixelsLendNoColourToAnEdge) {
  // Left half opaque red, right half fully transparent green.
  RgbaImage src(48, 48);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 48; ++x) {
      std::uint8_t* p = src.At(x, y);
      if (x < 24) {
        p[0] = 255, p[3] = 255;
      } else {
        p[1] = 255;
      }
    }
  const RgbaImage out = StretchRgba(src, 65, 65);
  for (int y = 0; y < 65; ++y) {
    int previousAlpha = 256;
    for (int x = 0; x < 65; ++x) {
      const Bytes p = PixelAt(out, x, y);
      // Red at any alpha, or nothing at all.
      EXPECT_EQ(p, (Bytes{p[3] ? std::uint8_t(255) : std::uint8_t(0), 0, 0, p[3]}))
          << x << "," << y;
      EXPECT_LE(p[3], previousAlpha) << x << "," << y;
      previousAlpha = p[3];
    }
    EXPECT_EQ(out.At(0, y)[3], 255);
    EXPECT_EQ(out.At(64, y)[3], 0);
  }
  // The edge is soft: some pixel in between.
  EXPECT_GT(out.At(32, 10)[3], 0);
  EXPECT_LT(out.At(32, 10)[3], 255);
}

TEST(StretchRgba, EmptySourceOrSize) {
  EXPECT_EQ(StretchRgba(RgbaImage(), 3, 2), RgbaImage(3, 2));
  EXPECT_EQ(StretchRgba(UniformImage(2, 2, {1, 2, 3, 4}), 0, 5).pixels.size(), 0u);
}

TEST(PremultipliedBgra, SwapsToBgrAndRoundsColourTimesAlpha) {
  RgbaImage image(2, 2);
  image.pixels = {
      200, 100, 50,  128,  // 100.39, 50.20, 25.10
      255, 255, 255, 255,  // unchanged
      9,   99,  199, 0,    // nothing left
      10,  20,  30,  200,  // 7.84, 15.69, 23.53: every channel rounds up
  };
  EXPECT_EQ(PremultipliedBgra(image),
            (Bytes{25, 50, 100, 128, 255, 255, 255, 255, 0, 0, 0, 0, 24, 16, 8, 200}));
}

TEST(BlendRgba, DrawsSourceOverTheBitmapAndClips) {
  Bitmap bitmap(3, 2);
  bitmap.fill(kDialogColor);  // red 64, green 128, blue 128
  RgbaImage image(2, 2);
  image.pixels = {
      255, 255, 255, 128,  // half white over the dialog colour
      10,  20,  30,  255,  // opaque
      1,   2,   3,   0,    // transparent: no change
      255, 0,   0,   255,  // off the bitmap's bottom once drawn at y = 1
  };
  BlendRgba(bitmap, Point{1, 0}, image);
  // Red (255 * 128 + 64 * 127) / 255 = 160.37; green and blue (255 * 128 + 128 * 127) / 255 =
  // 192.25.
  EXPECT_EQ(bitmap.pixel(0, 0), kDialogColor);
  EXPECT_EQ(bitmap.pixel(1, 0), rgb(160, 192, 192));
  EXPECT_EQ(bitmap.pixel(2, 0), rgb(10, 20, 30));
  EXPECT_EQ(bitmap.pixel(1, 1), kDialogColor);
  EXPECT_EQ(bitmap.pixel(2, 1), rgb(255, 0, 0));

  // Partly above and left of the bitmap: only the bottom-right source pixel lands, at 0,0.
  Bitmap small(2, 2);
  small.fill(clBlack);
  BlendRgba(small, Point{-1, -1}, image);
  EXPECT_EQ(small.pixel(0, 0), rgb(255, 0, 0));
  EXPECT_EQ(small.pixel(1, 0), clBlack);
  EXPECT_EQ(small.pixel(0, 1), clBlack);
}

}  // namespace
}  // namespace kv
