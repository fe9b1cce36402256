#include "widgets/color_select.h"

#include "widgets/bevel.h"
#include "widgets/drawing.h"

namespace kv {
namespace {

bool CaptionShown(const ColorSelectFace& face) {
  return face.ShowCaption && !face.caption.empty();
}

int SpacingTerm(const ColorSelectFace& face) {
  return CaptionShown(face) && face.ImgWidth > 0 ? face.Spacing : 0;
}

}  // namespace

Rect ColorSelectSwatchRect(Size button, const ColorSelectFace& face, int textWidth) {
  const int w = button.width;
  const int h = button.height;
  const int iw = face.ImgWidth;
  const int ih = face.ImgHeight;
  const int spacing = SpacingTerm(face);
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
    at = {at.x + 1, at.y + 1};
  return {at.x, at.y, at.x + iw, at.y + ih};
}

void PaintColorSelect(Bitmap& image, const ColorSelectFace& face, const ControlStyle& style,
                      TextRenderer& text, const SystemColors& system) {
  PaintBackground(image, style.Current(face.Hot()), system);
  if (face.pressed)
    PaintSoftBevel(image, BevelKind::cbLoweredSoft, style.hotBevelWidth / 4 + 1);
  else
    PaintSoftBevel(image, BevelKind::cbRaisedSoft,
                   face.Hot() ? style.hotBevelWidth : style.bevelWidth);

  const Size size{image.width(), image.height()};
  const Size extent = CaptionShown(face) ? text.Measure(face.caption, face.font) : Size{};
  const Rect swatch = ColorSelectSwatchRect(size, face, extent.width);
  // A rectangle without outline: the platform fills one pixel short at the right and bottom.
  FillRect(image, {swatch.left, swatch.top, swatch.right - 1, swatch.bottom - 1},
           resolveColor(face.ColorValue, system));

  if (!CaptionShown(face))
    return;
  const int gap = SpacingTerm(face);
  const int left =
      face.Layout == ButtonLayout::blGlyphLeft
          ? swatch.right + gap
          : (size.width - face.ImgWidth - gap - extent.width) / 2 + (face.pressed ? 1 : 0);
  const int top = (size.height - extent.height) / 2 + (face.pressed ? 1 : 0);
  text.Draw(image, face.caption, face.font, resolveColor(face.fontColor, system),
            {left, top, left + extent.width, top + extent.height}, {0, 0, size.width, size.height},
            kTextSingleLine | kTextLeft);
}

}  // namespace kv
