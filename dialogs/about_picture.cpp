#include "dialogs/about_picture.h"

#include "resources/resources.h"

namespace kv {

namespace {
constexpr int kSmallEmblemSize = 48;
}  // namespace

std::string_view AboutEmblemSource(DpiScale scale) {
  return scale(kSmallEmblemSize) <= kSmallEmblemSize ? resources::kEmblemPng
                                                     : resources::kEmblemLargePng;
}

RgbaImage AboutPicture(DpiScale scale) {
  const PngDecodeResult emblem = DecodePng(AboutEmblemSource(scale));
  if (!emblem.Ok())
    return {};
  const int size = scale(kAboutPictureSize);
  return StretchRgba(emblem.image, size, size);
}

}  // namespace kv
