#include "widgets/track_bar.h"

#include <algorithm>

#include "widgets/bevel.h"

namespace kv {
namespace {

// numerator / denominator (denominator > 0) rounded to the nearest integer, ties to even.
int DivideHalfEven(long long numerator, long long denominator) {
  long long q = numerator / denominator;
  long long r = numerator % denominator;
  if (r < 0) {
    --q;
    r += denominator;
  }
  if (2 * r > denominator || (2 * r == denominator && q % 2 != 0))
    ++q;
  return static_cast<int>(q);
}

}  // namespace

int TrackBarTickX(Rect channel, Rect thumb, int i, int n) {
  const int first = channel.left + thumb.width() / 2;
  if (n <= 1)
    return first;
  return first +
         DivideHalfEven(static_cast<long long>(i) * (channel.width() - thumb.width()), n - 1);
}

std::vector<int> TrackBarTickPositions(Rect channel, Rect thumb, int n) {
  std::vector<int> positions;
  for (int i = 0; i < n; ++i)
    positions.push_back(TrackBarTickX(channel, thumb, i, n));
  return positions;
}

Rect TrackBarTickRect(Rect channel, Rect thumb, int x, DpiScale scale) {
  const int top = channel.bottom + (thumb.height() - channel.height()) / 2 + scale(2);
  return {x, top, x + scale(2), top + scale(5)};
}

void DrawTrackBarThumb(Bitmap& image, Rect thumb, int line) {
  const int a = thumb.width() / 2;
  const int l = thumb.left;
  const int t = thumb.top;
  const int r = thumb.right;
  const int b = thumb.bottom;
  // Edge by edge, each pass i pixels further in (up for the two lower edges).
  for (int i = 0; i < line; ++i) {
    DrawLine(image, {l + a, b - 1 - i}, {l, b - 1 - a - i}, clWhite);
    DrawLine(image, {l + i, b - 1 - a}, {l + i, t}, clWhite);
    DrawLine(image, {l, t + i}, {r, t + i}, clWhite);
  }
  for (int i = 0; i < line; ++i) {
    DrawLine(image, {r - 1 - i, t}, {r - 1 - i, b - a - 1}, clBlack);
    DrawLine(image, {r - 1, b - a - 1 - i}, {l + a, b - 1 - i}, clBlack);
  }
}

void PaintTrackBar(Bitmap& image, const TrackBarFace& face, const ControlStyle& style,
                   const SystemColors& system, const Backdrop& backdrop) {
  const DpiScale& scale = face.scale;
  const int line = scale.Line();
  PaintBackground(image, style.Current(face.hot), system);
  const Color shadow = resolveColor(clBtnShadow, system);
  if (face.hot) {
    PaintSoftBevel(image, BevelKind::cbRaisedSoft, scale(style.hotBevelWidth));
  } else {
    DrawFrame(image, {0, 0, image.width(), image.height()}, resolveColor(clBtnHighlight, system),
              shadow, line);
  }

  FillRect(image, face.channel, resolveColor(style.Background().Color(), system));
  DrawFrame(image, face.channel, clBlack, clWhite, line);

  for (int x : TrackBarTickPositions(face.channel, face.thumb, face.tickCount))
    DrawFrame(image, TrackBarTickRect(face.channel, face.thumb, x, scale), shadow, clWhite, line);

  if (face.sliderVisible)
    DrawTrackBarThumb(image, face.thumb, line);

  if (!face.enabled)
    BlendWithBackdrop(image, backdrop, 50, system);
}

void TrackBarModel::Changed() {
  if (OnRedraw)
    OnRedraw();
  if (OnChange)
    OnChange();
}

void TrackBarModel::SetPosition(int position) {
  position = std::clamp(position, min_, max_);
  if (position == position_)
    return;
  position_ = position;
  if (OnPlatformPosition)
    OnPlatformPosition(position_);
  Changed();
}

void TrackBarModel::SetRange(int min, int max) {
  if (max < min)
    return;
  min_ = min;
  max_ = max;
  if (OnPlatformRange)
    OnPlatformRange(min_, max_);
  SetPosition(position_);
}

void TrackBarModel::SetMin(int min) {
  SetRange(min, max_);
}

void TrackBarModel::SetMax(int max) {
  SetRange(min_, max);
}

void TrackBarModel::Scrolled(int platformPosition) {
  position_ = platformPosition;
  Changed();
}

}  // namespace kv
