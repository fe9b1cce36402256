// The face of the skinned push button (TsButton) of the dialogs: background from the normal or
// hot set, soft bevel, caption, dotted focus mark, and the half-blended look when disabled.
#pragma once

#include <string>

#include "widgets/background.h"
#include "toolkit/bitmap.h"
#include "toolkit/dpi_scale.h"
#include "widgets/drawing.h"
#include "toolkit/text_renderer.h"

namespace kv {

struct PushButtonFace {
  std::string caption;
  Font font;
  Color fontColor = clBlack;
  bool enabled = true;
  bool mouseOver = false;
  bool focused = false;
  bool pressed = false;  // Pressed: drawn pushed in
  bool showCaption = true;
  bool showFocus = true;
  int focusMargin = 1;
  int margin = 0;
  DpiScale scale;  // the font, margins and bevels are for 96 DPI and drawn at this scale

  bool Hot() const { return pressed || focused || (enabled && mouseOver); }
};

// Caption rectangle for a caption of extent `text` on a button of `button` size: left
// (W - tw) / 2 - 1, top (H - th) / 2, right W - (W - tw) / 2 + 2, bottom H - (H - th) / 2, one
// pixel right and down while pressed (the fixed pixels scaled).
Rect PlacePushButtonCaption(Size button, Size text, bool pressed, DpiScale scale = {});

// The dotted focus frame around `captionRect` grown by `focusMargin`: a black dot every third
// pixel along each edge, each with a white dot diagonally above and to its left. Scaled, a dot
// is a square a line wide (DpiScale::Line) and the dots keep their scaled pitch; the frame's
// outer edges stay where the 1-pixel dots would lie.
void DrawFocusMark(Bitmap& face, Rect captionRect, int focusMargin, DpiScale scale = {});

// Paints the whole face into `face` (sized to the button). `backdrop` is what a disabled button
// is blended with, 50 %.
void PaintPushButton(Bitmap& face, const PushButtonFace& state, const ControlStyle& style,
                     TextRenderer& text, const SystemColors& system, const Backdrop& backdrop);

}  // namespace kv
