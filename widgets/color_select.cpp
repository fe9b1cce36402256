#include "widgets/color_select.h"

#include "widgets/bevel.h"
#include "widgets/drawing.h"
#include "widgets/push_button.h"

namespace kv {
namespace {

// The focus dots keep this far from the swatch, as a push button's from its caption.
constexpr int kSwatchFocusMargin = 2;

bool CaptionShown(const ColorSelectFace& face) {
  return face.ShowCaption && !face.caption.empty();
}

int SpacingTerm(const ColorSelectFace& face) {
  return CaptionShown(face) && face.ImgWidth > 0 ? face.Spacing : 0;
}

}  // namespace

Rect ColorSelectSwatchRect(Size button, const ColorSelectFace& face, int textWidth) {
  const DpiScale& scale = face.scale;
  const int w = button.width;
  const int h = button.height;
  const int iw = scale(face.ImgWidth);
  const int ih = scale(face.ImgHeight);
  const int spacing = scale(SpacingTerm(face));
  Point at{(w - iw) / 2, (h - ih) / 2};
  switch (face.Layout) {
    case ButtonLayout::blGlyphRight:
      at.x = (w - iw + spacing + textWidth) / 2;
      break;
    case ButtonLayout::blGlyphLeft:
      at.x = (w - iw - spacing - textWidth) / 2;
      break;
    case ButtonLayout::blGlyphTop:
    case ButtonLayout::blGlyphBottom:
      // Captions above or below a swatch are not used; the swatch stays centred.
      break;
  }
  if (face.pressed)
    at = {at.x + scale(1), at.y + scale(1)};
  return {at.x, at.y, at.x + iw, at.y + ih};
}

void PaintColorSelect(Bitmap& image, const ColorSelectFace& face, const ControlStyle& style,
                      TextRenderer& text, const SystemColors& system) {
  const DpiScale& scale = face.scale;
  PaintBackground(image, style.Current(face.Hot()), system);
  if (face.pressed) {
    PaintSoftBevel(image, BevelKind::cbLoweredSoft, scale(style.hotBevelWidth / 4 + 1));
  } else {
    PaintSoftBevel(image, BevelKind::cbRaisedSoft,
                   scale(face.Hot() ? style.hotBevelWidth : style.bevelWidth));
  }

  const Size size{image.width(), image.height()};
  const Font font = scale(face.font);
  const Size extent = CaptionShown(face) ? text.Measure(face.caption, font) : Size{};
  const Rect swatch = ColorSelectSwatchRect(size, face, extent.width);
  // A rectangle without outline: the platform fills one pixel (a line) short at the right and
  // bottom.
  const int unfilled = scale.Line();
  FillRect(image, {swatch.left, swatch.top, swatch.right - unfilled, swatch.bottom - unfilled},
           resolveColor(face.ColorValue, system));
  if (face.focused)
    DrawFocusMark(image, swatch, kSwatchFocusMargin, scale);

  if (!CaptionShown(face))
    return;
  const int gap = scale(SpacingTerm(face));
  const int shift = face.pressed ? scale(1) : 0;
  const int left = face.Layout == ButtonLayout::blGlyphLeft
                       ? swatch.right + gap
                       : (size.width - swatch.width() - gap - extent.width) / 2 + shift;
  const int top = (size.height - extent.height) / 2 + shift;
  text.Draw(image, face.caption, font, resolveColor(face.fontColor, system),
            {left, top, left + extent.width, top + extent.height}, {0, 0, size.width, size.height},
            kTextSingleLine | kTextLeft);
}

}  // namespace kv
