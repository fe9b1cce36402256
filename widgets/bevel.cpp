#include "widgets/bevel.h"

#include <cstdint>

namespace kv {
namespace {

// Every channel p becomes ((p - t) * m + 256 * t) / 256 with the band's mask m(x, y), x and y
// counted from the band's corner. The numerator is never negative (it is at least t), so the
// division rounds down and is a shift. The mask's steps 255 / w and 255 / h are worked out once
// per band rather than per pixel.
template <typename Mask>
void ShadeBand(Bitmap& image, int left, int top, int w, int h, int t, Mask mask) {
  const int stepX = 255 / w;
  const int stepY = 255 / h;
  for (int y = 0; y < h; ++y) {
    std::uint8_t* p = image.row(top + y) + left * 3;
    for (int x = 0; x < w; ++x) {
      const int m = mask(x, y, w, h, stepX, stepY);
      for (int c = 0; c < 3; ++c, ++p)
        *p = static_cast<std::uint8_t>(static_cast<unsigned>((*p - t) * m + 256 * t) >> 8);
    }
  }
}

}  // namespace

void PaintSoftBevel(Bitmap& image, BevelKind kind, int a) {
  if (kind != BevelKind::cbRaisedSoft && kind != BevelKind::cbLoweredSoft)
    return;
  const bool raised = kind == BevelKind::cbRaisedSoft;
  const int W = image.width();
  const int H = image.height();
  if (H - 1 < 2 * a)
    a = (H - 1) / 2 - 1;
  if (W - 1 < 2 * a)
    a = (W - 1) / 2 - 1;
  if (a < 2)
    return;

  ShadeBand(image, 0, 0, a, H - 1, raised ? 240 : 25, [](int x, int y, int w, int h, int sx, int) {
    return x < y && x < h - y ? x * sx : 255;
  });
  ShadeBand(image, 0, 0, W - 1, a, raised ? 255 : 0, [](int x, int y, int w, int h, int, int sy) {
    return y <= x && y < w - x ? y * sy : 255;
  });
  ShadeBand(image, W - a - 2, 0, a + 1, H - 1, raised ? 25 : 240,
            [](int x, int y, int w, int h, int sx, int) {
              return w - x - 1 < y && w - x < h - y ? 255 - x * sx : 255;
            });
  ShadeBand(image, 0, H - a - 2, W - 1, a + 1, raised ? 0 : 255,
            [](int x, int y, int w, int h, int, int sy) {
              return h - y - 1 < x && h - y - 1 < w - x ? 255 - y * sy : 255;
            });
}

}  // namespace kv
