#include "widgets/png_button_win.h"

#include "toolkit/accessible.h"

namespace kv {

void PngButtonControl::Attach(TsPanel& panel, Rect bounds) {
  panel_ = &panel;
  bounds_ = bounds;
  button_.SetSize({bounds.width(), bounds.height()});
  // Not opaque: a repaint redraws the panel's background under the button first.
  // Every change of the look is a repaint; a screen reader hears of those that change the state.
  button_.OnRepaint = [this] {
    panel_->InvalidateGraphic(*this, true);
    const DWORD state = DescribeAccessible().state;
    if (state != notifiedState_) {
      notifiedState_ = state;
      panel_->NotifyGraphic(*this, EVENT_OBJECT_STATECHANGE);
    }
  };
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

AccessiblePart PngButtonControl::DescribeAccessible() const {
  DWORD state = 0;
  if (!button_.Enabled())
    state |= STATE_SYSTEM_UNAVAILABLE;
  if (button_.Pushed())
    state |= STATE_SYSTEM_PRESSED;
  if (button_.MouseOver())
    state |= STATE_SYSTEM_HOTTRACKED;
  return {.role = ROLE_SYSTEM_PUSHBUTTON,
          .name = accessibleName_.empty() ? NameFromCaption(button_.Caption()) : accessibleName_,
          .action = kPressAction,
          .state = state};
}

void PngButtonControl::DoAccessibleAction() {
  if (button_.Enabled() && button_.OnClick)
    button_.OnClick();
}

void PngButtonControl::Paint(Bitmap& surface, TextRenderer& text) {
  // Drawn at the panel's scale, whatever it was when the button was placed.
  button_.SetScale(panel_->Scale());
  button_.Paint(surface, bounds_, text, systemColors_);
}

}  // namespace kv
