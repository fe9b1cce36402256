// The drag bar (TsDragBar) along the top of every dialog: a panel-type control that shows the
// dialog's title on a gradient and moves the dialog when pressed with the left button.
#pragma once

#include <string>

#include "widgets/background.h"
#include "widgets/bevel.h"
#include "toolkit/bitmap.h"
#include "toolkit/dpi_scale.h"
#include "toolkit/text_renderer.h"

namespace kv {

enum class Alignment { taLeftJustify, taRightJustify, taCenter };

// The system-menu command that a press on the bar hands to the dragged window: SC_MOVE with the
// caption hit-test code, so the window system runs its interactive move.
inline constexpr unsigned kDragMoveCommand = 0xF010 + 2;

struct DragBarFace {
  std::string caption = " ";
  Font font;
  Color fontColor = clCaptionText;
  Alignment alignment = Alignment::taCenter;
  bool enabled = true;
  BevelKind bevelOuter = BevelKind::cbRaisedSoft;
  BevelKind bevelInner = BevelKind::cbNone;
  int bevelWidth = 2;
  int borderWidth = 0;
  DpiScale scale;  // the font, bevels and border are for 96 DPI and drawn at this scale
};

// The caption box on a bar of `client` size: the client area less the border (BorderWidth plus
// BevelWidth for each drawn bevel, scaled) at the left and right, `textHeight` high, its top at
// (top + bottom - textHeight) / 2.
Rect DragBarCaptionBox(Size client, const DragBarFace& face, int textHeight);

// Paints the bar's cached background: the background (70 % gradient over the plain
// colour in the dialogs), the outer soft bevel, and the caption, embossed when disabled.
void PaintDragBar(Bitmap& image, const DragBarFace& face, const BackgroundSettings& background,
                  TextRenderer& text, const SystemColors& system);

}  // namespace kv
