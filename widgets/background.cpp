#include "widgets/background.h"

#include <algorithm>

namespace kv {

void TsBGGradient::setData(std::string_view text) {
  text = text.substr(0, kMaxGradientDataLength);
  if (text == data_)
    return;
  data_ = text;
  ParseGradientData(data_, segments_);
  owner_.reportChange();
}

void TsBGGradient::setPercent(int percent) {
  percent = std::clamp(percent, 0, kMaxPercent);
  if (percent == percent_)
    return;
  percent_ = percent;
  TsBGImage& image = owner_.image();
  if (percent_ + image.percent_ > kMaxPercent)
    image.percent_ = kMaxPercent - percent_;
  owner_.reportChange();
}

void TsBGImage::setPercent(int percent) {
  percent_ = std::clamp(percent, 0, kMaxPercent);
  TsBGGradient& gradient = owner_.gradient();
  if (percent_ + gradient.percent_ > kMaxPercent)
    gradient.percent_ = kMaxPercent - percent_;
  owner_.reportChange();
}

void BackgroundSettings::setColor(Color color) {
  if (color == color_)
    return;
  color_ = color;
  reportChange();
}

void PaintBackground(Bitmap& image, const BackgroundSettings& settings,
                     const SystemColors& system) {
  const int g = settings.gradient().percent();
  const int i = settings.image().percent();
  const Color plain = resolveColor(settings.color(), system);
  // The image step (i > 0) is never reached: no control here has a background image.
  if (g > 0) {
    if (settings.gradient().segments().empty())
      image.fill(plain);
    else
      PaintGradient(image, {0, 0, image.width(), image.height()}, settings.gradient().segments());
  }
  const int total = g + i;
  if (total >= 1 && total <= 99)
    BlendWithColor(image, {0, 0, image.width() - 1, image.height() - 1}, total, plain);
  else if (total != kMaxPercent)
    image.fill(plain);
}

}  // namespace kv
