// Text for the painters, drawn by GDI straight into the DIB section that a Bitmap views.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "toolkit/gdi_win.h"
#include "toolkit/text_renderer.h"

namespace kv {

class GdiTextRenderer final : public TextRenderer {
 public:
  // Draws into `target`; measuring works without one.
  explicit GdiTextRenderer(DibSection* target = nullptr);
  GdiTextRenderer(const GdiTextRenderer&) = delete;
  GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

  void SetTarget(DibSection* target) { target_ = target; }

  Size Measure(std::string_view utf8, const Font& font) const override;
  Size MeasureWrapped(std::string_view utf8, const Font& font, int maxWidth) const override;
  void Draw(Bitmap& target, std::string_view utf8, const Font& font, Color rgb, Rect box, Rect clip,
            unsigned flags) override;

  HFONT FontHandle(const Font& font) const;

 private:
  DibSection* target_;
  MemoryDc measureDc_;
  mutable std::map<std::tuple<std::string, int, bool, bool>, GdiObject<HFONT>> fonts_;
};

}  // namespace kv
