#include "widgets/drawing.h"

#include <algorithm>
#include <cstdlib>

#include "widgets/gradient.h"

namespace kv {

void SetPixelClipped(Bitmap& image, int x, int y, Color rgb) {
  if (x >= 0 && y >= 0 && x < image.width() && y < image.height())
    image.setPixel(x, y, rgb);
}

void FillRect(Bitmap& image, Rect rect, Color rgb) {
  const int left = std::max(rect.left, 0);
  const int right = std::min(rect.right, image.width());
  for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, image.height()); ++y)
    image.fillRow(y, left, right, rgb);
}

void DrawFrame(Bitmap& image, Rect rect, Color topLeft, Color bottomRight, int width) {
  for (int i = 0; i < width; ++i, rect = rect.inflate(-1)) {
    if (rect.width() <= 0 || rect.height() <= 0)
      return;
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    FillRect(image, {rect.left, rect.top, rect.left + 1, bottom}, topLeft);
    FillRect(image, {rect.left, rect.top, right, rect.top + 1}, topLeft);
    FillRect(image, {right, rect.top, right + 1, rect.bottom}, bottomRight);
    FillRect(image, {rect.left, bottom, rect.right, bottom + 1}, bottomRight);
  }
}

void DrawLine(Bitmap& image, Point from, Point to, Color rgb) {
  const int dx = to.x - from.x;
  const int dy = to.y - from.y;
  const int adx = std::abs(dx);
  const int ady = std::abs(dy);
  const int sx = dx < 0 ? -1 : 1;
  const int sy = dy < 0 ? -1 : 1;
  if (adx >= ady) {
    for (int i = 0; i < adx; ++i)
      SetPixelClipped(image, from.x + sx * i, from.y + sy * ((2 * ady * i + adx) / (2 * adx)), rgb);
  } else {
    for (int i = 0; i < ady; ++i)
      SetPixelClipped(image, from.x + sx * ((2 * adx * i + ady) / (2 * ady)), from.y + sy * i, rgb);
  }
}

void DrawPolyline(Bitmap& image, std::span<const Point> points, Color rgb) {
  for (size_t i = 1; i < points.size(); ++i)
    DrawLine(image, points[i - 1], points[i], rgb);
}

void BlendWithBackdrop(Bitmap& face, const Backdrop& backdrop, int percent,
                       const SystemColors& system) {
  const double k = percent / 100.0;
  const double j = 1.0 - k;
  const Color plain = resolveColor(backdrop.color, system);
  const int plainChannel[3] = {blueOf(plain), greenOf(plain), redOf(plain)};
  const auto mix = [&](std::uint8_t& p, int back) {
    p = static_cast<std::uint8_t>(std::clamp(RoundHalfEven(p * k + back * j), 0.0, 255.0));
  };
  for (int y = 0; y < face.height(); ++y) {
    std::uint8_t* p = face.row(y);
    const int by = backdrop.origin.y + y;
    const bool rowCovered = backdrop.bitmap && by >= 0 && by < backdrop.bitmap->height();
    for (int x = 0; x < face.width(); ++x, p += 3) {
      const int bx = backdrop.origin.x + x;
      if (rowCovered && bx >= 0 && bx < backdrop.bitmap->width()) {
        const std::uint8_t* b = backdrop.bitmap->row(by) + bx * 3;
        for (int c = 0; c < 3; ++c)
          mix(p[c], b[c]);
      } else {
        for (int c = 0; c < 3; ++c)
          mix(p[c], plainChannel[c]);
      }
    }
  }
}

std::vector<Rect> SoftControlRegion(Size size, int corner) {
  std::vector<Rect> region;
  for (const Rect& r : {Rect{corner, 0, size.width - corner, size.height},
                        Rect{0, corner, size.width, size.height - corner}}) {
    if (r.width() > 0 && r.height() > 0)
      region.push_back(r);
  }
  return region;
}

}  // namespace kv
