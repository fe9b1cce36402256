#include "widgets/background.h"

#include <algorithm>

namespace kv {

void TsBGGradient::SetData(std::string_view text) {
  text = text.substr(0, kMaxGradientDataLength);
  if (text == data_)
    return;
  data_ = text;
  ParseGradientData(data_, segments_);
  owner_.ReportChange();
}

void TsBGGradient::SetPercent(int percent) {
  percent = std::clamp(percent, 0, kMaxPercent);
  if (percent == percent_)
    return;
  percent_ = percent;
  TsBGImage& image = owner_.Image();
  if (percent_ + image.percent_ > kMaxPercent)
    image.percent_ = kMaxPercent - percent_;
  owner_.ReportChange();
}

void TsBGImage::SetPercent(int percent) {
  percent_ = std::clamp(percent, 0, kMaxPercent);
  TsBGGradient& gradient = owner_.Gradient();
  if (percent_ + gradient.percent_ > kMaxPercent)
    gradient.percent_ = kMaxPercent - percent_;
  owner_.ReportChange();
}

void BackgroundSettings::SetColor(kv::Color color) {
  if (color == color_)
    return;
  color_ = color;
  ReportChange();
}

void PaintBackground(Bitmap& image, const BackgroundSettings& settings,
                     const SystemColors& system) {
  const int g = settings.Gradient().Percent();
  const int i = settings.Image().Percent();
  const Color plain = resolveColor(settings.Color(), system);
  // The image step (i > 0) is never reached: no control here has a background image.
  if (g > 0) {
    if (settings.Gradient().Segments().empty())
      image.fill(plain);
    else
      PaintGradient(image, {0, 0, image.width(), image.height()}, settings.Gradient().Segments());
  }
  const int total = g + i;
  if (total >= 1 && total <= 99)
    BlendWithColor(image, {0, 0, image.width() - 1, image.height() - 1}, total, plain);
  else if (total != kMaxPercent)
    image.fill(plain);
}

}  // namespace kv
