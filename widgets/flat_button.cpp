#include "widgets/flat_button.h"

#include <algorithm>

#include "widgets/drawing.h"

namespace kv {

FlatButtonLayout flatButtonLayout(Size button, Size image, Size text, bool hasCaption,
                                  PngButtonLayout layout, bool pushed) {
  const int w = button.width;
  const int h = button.height;
  const int iw = image.width;
  const int ih = image.height + (hasCaption ? 4 : 0);
  const int tw = hasCaption ? text.width : 0;
  const int th = hasCaption ? text.height : 0;
  const int offset = pushed ? 2 : 0;
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
      at.text.x = at.image.x + iw + 5;
      break;
    case PngButtonLayout::pbsImageRight:
      at.text.x = (w - iw - tw) / 2;
      at.image.x = at.text.x + tw + 5;
      break;
  }
  at.image.y += offset;
  at.text.y += offset;
  return at;
}

FrameKind flatButtonFrame(ButtonState state, bool mouseOver) {
  if (state == ButtonState::disabled)
    return FrameKind::none;
  if (state == ButtonState::down && mouseOver)
    return FrameKind::sunken;
  if (mouseOver || state == ButtonState::down)
    return FrameKind::raised;
  return FrameKind::none;
}

void TPNGButton::repaint() const {
  if (onRepaint)
    onRepaint();
}

void TPNGButton::setState(ButtonState state) {
  state_ = state;
  repaint();
}

void TPNGButton::setCaption(std::string caption) {
  caption_ = std::move(caption);
  repaint();
}

void TPNGButton::setButtonStyle(PngButtonStyle style) {
  style_ = style;
  repaint();
}

void TPNGButton::setButtonLayout(PngButtonLayout layout) {
  layout_ = layout;
  repaint();
}

void TPNGButton::setFont(Font font) {
  font_ = std::move(font);
  repaint();
}

void TPNGButton::setFontColor(Color color) {
  fontColor_ = color;
  repaint();
}

void TPNGButton::setEnabled(bool enabled) {
  if (enabled == this->enabled())
    return;
  capture_ = false;
  clickPending_ = false;
  setState(enabled ? ButtonState::normal : ButtonState::disabled);
}

void TPNGButton::press(MouseButton button, Point at) {
  if (state_ == ButtonState::normal && button == MouseButton::left)
    setState(ButtonState::down);
  if (OnMouseDown)
    OnMouseDown(button, at);
}

void TPNGButton::mouseDown(MouseButton button, Point at) {
  if (!enabled())
    return;
  if (button == MouseButton::left) {
    capture_ = true;
    clickPending_ = true;
  }
  press(button, at);
}

void TPNGButton::mouseDoubleClick(MouseButton button, Point at) {
  if (!enabled())
    return;
  if (button == MouseButton::left) {
    capture_ = true;
    clickPending_ = false;  // the release of a double click is no click
    if (OnDblClick)
      OnDblClick();
  }
  press(button, at);
}

void TPNGButton::mouseMove(Point at) {
  if (!enabled())
    return;
  // The row just below the button counts as inside.
  const bool inside = at.x >= 0 && at.x < size_.width && at.y >= 0 && at.y <= size_.height;
  if (inside && !mouseOver_ && state_ != ButtonState::down) {
    mouseOver_ = true;
    repaint();
  }
  if (OnMouseMove)
    OnMouseMove(at);
}

void TPNGButton::mouseUp(MouseButton button, Point at) {
  if (!enabled())
    return;
  if (button == MouseButton::left) {
    capture_ = false;
    if (clickPending_) {
      clickPending_ = false;
      if (Rect{0, 0, size_.width, size_.height}.contains(at)) {
        if (state_ == ButtonState::down)
          setState(ButtonState::normal);
        if (OnClick)
          OnClick();
      }
    }
  }
  if (state_ == ButtonState::down)
    setState(ButtonState::normal);
  if (OnMouseUp)
    OnMouseUp(button, at);
}

void TPNGButton::mouseEnter() {
  if (!enabled())
    return;
  if (OnMouseEnter)
    OnMouseEnter();
  mouseOver_ = true;
  repaint();
}

void TPNGButton::mouseLeave() {
  if (!enabled())
    return;
  if (OnMouseExit)
    OnMouseExit();
  mouseOver_ = false;
  repaint();
}

void TPNGButton::paint(Bitmap& surface, Rect bounds, TextRenderer& text,
                       const SystemColors& system) const {
  const bool isPushed = pushed();
  const bool hasCaption = !caption_.empty();
  const Size extent = hasCaption ? text.measure(caption_, font_) : Size{};
  const Size size{bounds.width(), bounds.height()};
  const FlatButtonLayout at = flatButtonLayout(size, {}, extent, hasCaption, layout_, isPushed);

  const Color highlight = resolveColor(clBtnHighlight, system);
  const Color shadow = resolveColor(clBtnShadow, system);
  FrameKind frame = FrameKind::none;
  switch (style_) {
    case PngButtonStyle::pbsFlat:
      frame = flatButtonFrame(state_, mouseOver_);
      break;
    case PngButtonStyle::pbsDefault:
      // The platform's push-button face, approximated: button face with a one-pixel bevel.
      fillRect(surface, bounds, resolveColor(clBtnFace, system));
      frame = isPushed ? FrameKind::sunken : FrameKind::raised;
      break;
    case PngButtonStyle::pbsNoFrame:
      break;
  }
  Rect clip = bounds;
  if (frame != FrameKind::none) {
    if (frame == FrameKind::sunken)
      drawFrame(surface, bounds, shadow, highlight);
    else
      drawFrame(surface, bounds, highlight, shadow);
    clip = bounds.inflate(-1);
  }
  if (!hasCaption)
    return;
  const Color color =
      resolveColor(state_ == ButtonState::disabled ? clGrayText : fontColor_, system);
  const Point origin{bounds.left + at.text.x, bounds.top + at.text.y};
  text.draw(surface, caption_, font_, color,
            {origin.x, origin.y, origin.x + extent.width, origin.y + extent.height}, clip,
            kTextSingleLine | kTextLeft);
}

}  // namespace kv
