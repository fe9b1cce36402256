// The background settings of a drawn control (sStyle.Background with its plain colour, and the hot
// set sStyle.HotStyle.HotBackground with HotPainting) and PaintBackground, which composes a
// control's cached background from one set. Property setters report every effective change
// through the set's change callback, with which the owning control marks its cache stale.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "widgets/gradient.h"

namespace kv {

class BackgroundSettings;

// TPercent: 0..100.
inline constexpr int kMaxPercent = 100;
inline constexpr int kDefaultGradientPercent = 70;
// HotPainting.Color: red 143, green 183, blue 207.
inline constexpr Color kDefaultHotColor = 13612943;
inline constexpr size_t kMaxGradientDataLength = 255;

class TsBGGradient {
 public:
  explicit TsBGGradient(BackgroundSettings& owner) : owner_(owner) {}
  TsBGGradient(const TsBGGradient&) = delete;
  TsBGGradient& operator=(const TsBGGradient&) = delete;

  const std::string& Data() const { return data_; }
  // Stores the text cut to 255 bytes and rebuilds the segments; an unchanged text does nothing.
  // A bad word throws ConvertError: the text stays stored, the segments are partial (see
  // ParseGradientData) and no change is reported.
  void SetData(std::string_view text);
  const std::vector<GradientSegment>& Segments() const { return segments_; }

  int Percent() const { return percent_; }
  // Clamped to 0..100; lowers the image percent so that the two never exceed 100.
  void SetPercent(int percent);

 private:
  friend class TsBGImage;
  BackgroundSettings& owner_;
  std::string data_;
  std::vector<GradientSegment> segments_;
  int percent_ = kDefaultGradientPercent;
};

// Only the image's share matters here: no control of this program shows a background image.
class TsBGImage {
 public:
  explicit TsBGImage(BackgroundSettings& owner) : owner_(owner) {}
  TsBGImage(const TsBGImage&) = delete;
  TsBGImage& operator=(const TsBGImage&) = delete;

  int Percent() const { return percent_; }
  // Clamped to 0..100; lowers the gradient percent so that the two never exceed 100.
  void SetPercent(int percent);

 private:
  friend class TsBGGradient;
  BackgroundSettings& owner_;
  int percent_ = 0;
};

// One complete set: gradient, image and the plain colour (system colours allowed).
class BackgroundSettings {
 public:
  explicit BackgroundSettings(kv::Color color = clBtnFace) : color_(color) {}
  BackgroundSettings(const BackgroundSettings&) = delete;
  BackgroundSettings& operator=(const BackgroundSettings&) = delete;

  TsBGGradient& Gradient() { return gradient_; }
  const TsBGGradient& Gradient() const { return gradient_; }
  TsBGImage& Image() { return image_; }
  const TsBGImage& Image() const { return image_; }

  kv::Color Color() const { return color_; }
  void SetColor(kv::Color color);

  void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }
  void ReportChange() const {
    if (onChange_)
      onChange_();
  }

 private:
  TsBGGradient gradient_{*this};
  TsBGImage image_{*this};
  kv::Color color_;
  std::function<void()> onChange_;
};

// sStyle of a drawn control that reacts to the pointer: the normal set (Background with
// Painting.Color and BevelWidth) and the hot set (HotBackground with HotPainting.Color and its
// BevelWidth).
class ControlStyle {
 public:
  explicit ControlStyle(Color color = clBtnFace) : background_(color) {}

  BackgroundSettings& Background() { return background_; }
  const BackgroundSettings& Background() const { return background_; }
  BackgroundSettings& HotBackground() { return hotBackground_; }
  const BackgroundSettings& HotBackground() const { return hotBackground_; }
  const BackgroundSettings& Current(bool hot) const { return hot ? hotBackground_ : background_; }

  int bevelWidth = 2;
  int hotBevelWidth = 5;

  // One callback for both sets.
  void SetOnChange(const std::function<void()>& onChange) {
    background_.SetOnChange(onChange);
    hotBackground_.SetOnChange(onChange);
  }

 private:
  BackgroundSettings background_;
  BackgroundSettings hotBackground_{kDefaultHotColor};
};

// Composes the cached background over the whole image: the gradient (or the plain colour when
// the segment list is empty) at gradient percent G, mixed with the plain colour unless G + image
// percent is 100, or the plain colour alone when both are 0.
void PaintBackground(Bitmap& image, const BackgroundSettings& settings, const SystemColors& system);

}  // namespace kv
