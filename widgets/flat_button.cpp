#include "widgets/flat_button.h"

#include <algorithm>

#include "widgets/drawing.h"

namespace kv {

FlatButtonLayout LayOutFlatButton(kv::Size button, kv::Size image, kv::Size text, bool hasCaption,
                                  PngButtonLayout layout, bool pushed, DpiScale scale) {
  const int w = button.width;
  const int h = button.height;
  const int iw = image.width;
  const int ih = image.height + (hasCaption ? scale(4) : 0);
  const int tw = hasCaption ? text.width : 0;
  const int th = hasCaption ? text.height : 0;
  const int offset = pushed ? scale(2) : 0;
  FlatButtonLayout at{{(w - iw) / 2 + offset, (h - ih) / 2}, {(w - tw) / 2 + offset, (h - th) / 2}};
  switch (layout) {
    case PngButtonLayout::pbsImageAbove:
      at.image.y = (h - ih - th) / 2;
      at.text.y = at.image.y + ih;
      break;
    case PngButtonLayout::pbsImageBellow:
      at.text.y = (h - ih - th) / 2;
      at.image.y = at.text.y + th;
      break;
    case PngButtonLayout::pbsImageLeft:
      at.image.x = (w - iw - tw) / 2;
      at.text.x = at.image.x + iw + scale(5);
      break;
    case PngButtonLayout::pbsImageRight:
      at.text.x = (w - iw - tw) / 2;
      at.image.x = at.text.x + tw + scale(5);
      break;
  }
  at.image.y += offset;
  at.text.y += offset;
  return at;
}

FrameKind FlatButtonFrame(kv::ButtonState state, bool mouseOver) {
  if (state == kv::ButtonState::disabled)
    return FrameKind::none;
  if (state == kv::ButtonState::down && mouseOver)
    return FrameKind::sunken;
  if (mouseOver || state == kv::ButtonState::down)
    return FrameKind::raised;
  return FrameKind::none;
}

void TPNGButton::Repaint() const {
  if (OnRepaint)
    OnRepaint();
}

void TPNGButton::SetState(kv::ButtonState state) {
  state_ = state;
  Repaint();
}

void TPNGButton::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Repaint();
}

void TPNGButton::SetButtonStyle(PngButtonStyle style) {
  style_ = style;
  Repaint();
}

void TPNGButton::SetButtonLayout(PngButtonLayout layout) {
  layout_ = layout;
  Repaint();
}

void TPNGButton::SetFont(kv::Font font) {
  font_ = std::move(font);
  Repaint();
}

void TPNGButton::SetFontColor(Color color) {
  fontColor_ = color;
  Repaint();
}

void TPNGButton::SetEnabled(bool enabled) {
  if (enabled == this->Enabled())
    return;
  capture_ = false;
  clickPending_ = false;
  SetState(enabled ? kv::ButtonState::normal : kv::ButtonState::disabled);
}

void TPNGButton::Press(MouseButton button, Point at) {
  if (state_ == kv::ButtonState::normal && button == MouseButton::left)
    SetState(kv::ButtonState::down);
  if (OnMouseDown)
    OnMouseDown(button, at);
}

void TPNGButton::MouseDown(MouseButton button, Point at) {
  if (!Enabled())
    return;
  if (button == MouseButton::left) {
    capture_ = true;
    clickPending_ = true;
  }
  Press(button, at);
}

void TPNGButton::MouseDoubleClick(MouseButton button, Point at) {
  if (!Enabled())
    return;
  if (button == MouseButton::left) {
    capture_ = true;
    clickPending_ = false;  // the release of a double click is no click
    if (OnDblClick)
      OnDblClick();
  }
  Press(button, at);
}

void TPNGButton::MouseMove(Point at) {
  if (!Enabled())
    return;
  // The row just below the button counts as inside.
  const bool inside = at.x >= 0 && at.x < size_.width && at.y >= 0 && at.y <= size_.height;
  if (inside && !mouseOver_ && state_ != kv::ButtonState::down) {
    mouseOver_ = true;
    Repaint();
  }
  if (OnMouseMove)
    OnMouseMove(at);
}

void TPNGButton::MouseUp(MouseButton button, Point at) {
  if (!Enabled())
    return;
  if (button == MouseButton::left) {
    capture_ = false;
    if (clickPending_) {
      clickPending_ = false;
      if (Rect{0, 0, size_.width, size_.height}.contains(at)) {
        if (state_ == kv::ButtonState::down)
          SetState(kv::ButtonState::normal);
        if (OnClick)
          OnClick();
      }
    }
  }
  if (state_ == kv::ButtonState::down)
    SetState(kv::ButtonState::normal);
  if (OnMouseUp)
    OnMouseUp(button, at);
}

void TPNGButton::MouseEnter() {
  if (!Enabled())
    return;
  if (OnMouseEnter)
    OnMouseEnter();
  mouseOver_ = true;
  Repaint();
}

void TPNGButton::MouseLeave() {
  if (!Enabled())
    return;
  if (OnMouseExit)
    OnMouseExit();
  mouseOver_ = false;
  Repaint();
}

void TPNGButton::Paint(Bitmap& surface, Rect bounds, TextRenderer& text,
                       const SystemColors& system) const {
  const bool isPushed = Pushed();
  const bool hasCaption = !caption_.empty();
  const kv::Font font = scale_(font_);
  const kv::Size extent = hasCaption ? text.Measure(caption_, font) : kv::Size{};
  const kv::Size size{bounds.width(), bounds.height()};
  const FlatButtonLayout at =
      LayOutFlatButton(size, {}, extent, hasCaption, layout_, isPushed, scale_);
  const int line = scale_.Line();

  const Color highlight = resolveColor(clBtnHighlight, system);
  const Color shadow = resolveColor(clBtnShadow, system);
  FrameKind frame = FrameKind::none;
  switch (style_) {
    case PngButtonStyle::pbsFlat:
      frame = FlatButtonFrame(state_, mouseOver_);
      break;
    case PngButtonStyle::pbsDefault:
      // The platform's push-button face, approximated: button face with a one-pixel bevel.
      FillRect(surface, bounds, resolveColor(clBtnFace, system));
      frame = isPushed ? FrameKind::sunken : FrameKind::raised;
      break;
    case PngButtonStyle::pbsNoFrame:
      break;
  }
  Rect clip = bounds;
  if (frame != FrameKind::none) {
    if (frame == FrameKind::sunken)
      DrawFrame(surface, bounds, shadow, highlight, line);
    else
      DrawFrame(surface, bounds, highlight, shadow, line);
    clip = bounds.inflate(-line);
  }
  if (!hasCaption)
    return;
  const Color color =
      resolveColor(state_ == kv::ButtonState::disabled ? clGrayText : fontColor_, system);
  const Point origin{bounds.left + at.text.x, bounds.top + at.text.y};
  text.Draw(surface, caption_, font, color,
            {origin.x, origin.y, origin.x + extent.width, origin.y + extent.height}, clip,
            kTextSingleLine | kTextLeft);
}

}  // namespace kv
