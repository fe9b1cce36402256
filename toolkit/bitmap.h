// A 24-bit off-screen image with direct row access: three bytes per pixel in the order blue,
// green, red, rows top to bottom, each row padded to a multiple of 4 bytes (the layout of a
// top-down device-independent bitmap, so the window layer can blit or draw on it as it is).
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/color.h"

namespace kv {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(int width, int height);
  // A view of memory owned elsewhere (a DIB section), laid out as above.
  Bitmap(int width, int height, std::uint8_t* bits);
  // Copies of an owning bitmap own a copy of the pixels; copies of a view view the same memory.
  Bitmap(const Bitmap& other);
  Bitmap& operator=(const Bitmap& other);
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(Bitmap&& other) noexcept;

  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }
  static int strideFor(int width) { return (width * 3 + 3) & ~3; }

  std::uint8_t* row(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  const std::uint8_t* row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  std::uint8_t* bits() { return bits_; }
  const std::uint8_t* bits() const { return bits_; }

  // Pixel as 0x00BBGGRR.
  Color pixel(int x, int y) const;
  void setPixel(int x, int y, Color c);
  // Fills x in [left, right) of row y with one colour.
  void fillRow(int y, int left, int right, Color c);
  void fill(Color c);

  // Resizes an owning bitmap; the content is then undefined.
  void resize(int width, int height);

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::vector<std::uint8_t> storage_;
  std::uint8_t* bits_ = nullptr;
};

}  // namespace kv
