#include "toolkit/bitmap.h"

#include <algorithm>
#include <cstring>

namespace kv {

Bitmap::Bitmap(int width, int height) {
  resize(width, height);
}

Bitmap::Bitmap(int width, int height, std::uint8_t* bits)
    : width_(width), height_(height), stride_(strideFor(width)), bits_(bits) {}

Bitmap::Bitmap(const Bitmap& other)
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      storage_(other.storage_),
      bits_(storage_.empty() ? other.bits_ : storage_.data()) {}

Bitmap& Bitmap::operator=(const Bitmap& other) {
  if (this != &other) {
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    storage_ = other.storage_;
    bits_ = storage_.empty() ? other.bits_ : storage_.data();
  }
  return *this;
}

Bitmap::Bitmap(Bitmap&& other) noexcept
    : width_(other.width_),
      height_(other.height_),
      stride_(other.stride_),
      storage_(std::move(other.storage_)),
      bits_(other.bits_) {
  other.width_ = other.height_ = other.stride_ = 0;
  other.bits_ = nullptr;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) {
    width_ = other.width_;
    height_ = other.height_;
    stride_ = other.stride_;
    storage_ = std::move(other.storage_);
    bits_ = other.bits_;
    other.width_ = other.height_ = other.stride_ = 0;
    other.bits_ = nullptr;
  }
  return *this;
}

void Bitmap::resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  stride_ = strideFor(width_);
  storage_.assign(static_cast<size_t>(stride_) * height_, 0);
  bits_ = storage_.data();
}

Color Bitmap::pixel(int x, int y) const {
  const std::uint8_t* p = row(y) + x * 3;
  return rgb(p[2], p[1], p[0]);
}

void Bitmap::setPixel(int x, int y, Color c) {
  std::uint8_t* p = row(y) + x * 3;
  p[0] = static_cast<std::uint8_t>(blueOf(c));
  p[1] = static_cast<std::uint8_t>(greenOf(c));
  p[2] = static_cast<std::uint8_t>(redOf(c));
}

void Bitmap::fillRow(int y, int left, int right, Color c) {
  if (left >= right)
    return;
  std::uint8_t* p = row(y) + left * 3;
  const std::uint8_t b = static_cast<std::uint8_t>(blueOf(c));
  const std::uint8_t g = static_cast<std::uint8_t>(greenOf(c));
  const std::uint8_t r = static_cast<std::uint8_t>(redOf(c));
  if (b == g && g == r) {
    std::memset(p, b, static_cast<size_t>(right - left) * 3);
    return;
  }
  p[0] = b;
  p[1] = g;
  p[2] = r;
  // Doubling copies: the row fills in log(n) memcpy calls.
  size_t filled = 3;
  const size_t total = static_cast<size_t>(right - left) * 3;
  while (filled < total) {
    const size_t chunk = std::min(filled, total - filled);
    std::memcpy(p + filled, p, chunk);
    filled += chunk;
  }
}

void Bitmap::fill(Color c) {
  for (int y = 0; y < height_; ++y)
    fillRow(y, 0, width_, c);
}

}  // namespace kv
