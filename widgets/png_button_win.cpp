#include "widgets/png_button_win.h"

namespace kv {

void PngButtonControl::Attach(TsPanel& panel, Rect bounds) {
  panel_ = &panel;
  bounds_ = bounds;
  button_.SetSize({bounds.width(), bounds.height()});
  // Not opaque: a repaint redraws the panel's background under the button first.
  button_.OnRepaint = [this] { panel_->InvalidateGraphic(*this, true); };
  panel.AddGraphicControl(this);
}

void PngButtonControl::SetLeft(int left) {
  if (left == bounds_.left)
    return;
  if (panel_)
    panel_->InvalidateGraphic(*this, false);
  bounds_ = bounds_.offset(left - bounds_.left, 0);
  if (panel_)
    panel_->InvalidateGraphic(*this, false);
}

void PngButtonControl::SetBounds(Rect bounds) {
  if (bounds == bounds_)
    return;
  if (panel_)
    panel_->InvalidateGraphic(*this, false);
  bounds_ = bounds;
  button_.SetSize({bounds.width(), bounds.height()});
  if (panel_)
    panel_->InvalidateGraphic(*this, false);
}

void PngButtonControl::Paint(Bitmap& surface, TextRenderer& text) {
  // Drawn at the panel's scale, whatever it was when the button was placed.
  button_.SetScale(panel_->Scale());
  button_.Paint(surface, bounds_, text, systemColors_);
}

}  // namespace kv
