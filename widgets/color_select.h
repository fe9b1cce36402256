// The colour picker button (TsColorSelect) of the options window: a drawn push button whose face
// carries a swatch of its colour.
#pragma once

#include <string>

#include "widgets/background.h"
#include "toolkit/bitmap.h"
#include "toolkit/dpi_scale.h"
#include "toolkit/text_renderer.h"

namespace kv {

enum class ButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct ColorSelectFace {
  Color ColorValue = 0;
  int ImgWidth = 32;
  int ImgHeight = 12;
  int Spacing = 3;
  ButtonLayout Layout = ButtonLayout::blGlyphLeft;
  bool ShowCaption = true;
  std::string caption;
  Font font;
  Color fontColor = clWindowText;
  bool mouseOver = false;
  bool pressed = false;  // held down with the left button or a key
  bool focused = false;  // the keyboard focus: hot, with focus dots around the swatch
  DpiScale scale;        // the sizes above are for 96 DPI and drawn at this scale

  bool Hot() const { return mouseOver || pressed || focused; }
};

// The swatch rectangle (ImgWidth x ImgHeight) for a caption `textWidth` wide, centred with the
// caption; with the glyph right of the caption its left is (W - ImgWidth + spacing + textWidth)
// / 2 and its top (H - ImgHeight) / 2, one pixel right and down while held. The spacing counts
// only with a shown, non-empty caption and a swatch. The sizes and the pixel are scaled.
Rect ColorSelectSwatchRect(Size button, const ColorSelectFace& face, int textWidth);

// Paints the face: background from the normal or hot set, soft bevel (raised BevelWidth, raised
// hot BevelWidth while hot, lowered hot BevelWidth / 4 + 1 while held), the swatch filled the
// platform's way (right-most column and bottom row left out) and the caption, if any.
void PaintColorSelect(Bitmap& image, const ColorSelectFace& face, const ControlStyle& style,
                      TextRenderer& text, const SystemColors& system);

}  // namespace kv
