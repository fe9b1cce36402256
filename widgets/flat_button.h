// The flat caption button (TPNGButton) of the bar, "Ok" and "X": a windowless button drawn on its
// parent's surface. Layout and painting are pure functions; the class below holds the button's
// properties and its mouse state machine, so the window layer only forwards mouse messages and
// paints when asked to.
#pragma once

#include <functional>
#include <string>

#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "toolkit/geometry.h"
#include "toolkit/text_renderer.h"

namespace kv {

enum class PngButtonStyle { pbsDefault, pbsFlat, pbsNoFrame };
enum class PngButtonLayout { pbsImageAbove, pbsImageBellow, pbsImageLeft, pbsImageRight };
enum class ButtonState { normal, down, disabled };
enum class MouseButton { left, right, middle };
enum class FrameKind { none, raised, sunken };

struct FlatButtonLayout {
  Point image;
  Point text;
  friend bool operator==(const FlatButtonLayout&, const FlatButtonLayout&) = default;
};

// Positions of the image and the caption inside a button of size `button`. `image` is the
// image's size (0 x 0 without one), `text` the caption's extent (0 x 0 for an empty caption);
// the image counts 4 pixels higher when there is a caption. Pushed moves both 2 pixels down, and
// 2 pixels right in the above/below layouts.
FlatButtonLayout flatButtonLayout(Size button, Size image, Size text, bool hasCaption,
                                  PngButtonLayout layout, bool pushed);

// The frame of a pbsFlat button: none when disabled, sunken while pushed (down with the pointer
// over it), raised while the pointer is over it or it is held down, else none.
FrameKind flatButtonFrame(ButtonState state, bool mouseOver);

class TPNGButton {
 public:
  TPNGButton() = default;
  TPNGButton(const TPNGButton&) = delete;
  TPNGButton& operator=(const TPNGButton&) = delete;

  // Properties; setting one repaints.
  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  PngButtonStyle buttonStyle() const { return style_; }
  void setButtonStyle(PngButtonStyle style);
  PngButtonLayout buttonLayout() const { return layout_; }
  void setButtonLayout(PngButtonLayout layout);
  const Font& font() const { return font_; }
  void setFont(Font font);
  Color fontColor() const { return fontColor_; }
  void setFontColor(Color color);
  bool enabled() const { return state_ != ButtonState::disabled; }
  void setEnabled(bool enabled);
  // The client size, for the hit tests; 23 x 23 on creation.
  Size size() const { return size_; }
  void setSize(Size size) { size_ = size; }

  ButtonState buttonState() const { return state_; }
  bool mouseOver() const { return mouseOver_; }
  bool pushed() const { return state_ == ButtonState::down && mouseOver_; }
  // The window layer holds the mouse capture for the button while this is true (left button
  // held after a press on it).
  bool capturesMouse() const { return capture_; }

  // Mouse input in client coordinates, forwarded by the window layer. A disabled button ignores
  // all of it.
  void mouseDown(MouseButton button, Point at);
  // The second press of a double click.
  void mouseDoubleClick(MouseButton button, Point at);
  void mouseMove(Point at);
  void mouseUp(MouseButton button, Point at);
  void mouseEnter();
  void mouseLeave();

  // Draws the frame and caption over `bounds` of `surface`, which already shows the parent's
  // background there.
  void paint(Bitmap& surface, Rect bounds, TextRenderer& text, const SystemColors& system) const;

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(MouseButton, Point)> OnMouseDown;
  std::function<void(MouseButton, Point)> OnMouseUp;
  std::function<void(Point)> OnMouseMove;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseExit;
  // Asks the window layer to repaint the button (with the parent's background under it).
  std::function<void()> onRepaint;

 private:
  void repaint() const;
  void setState(ButtonState state);
  void press(MouseButton button, Point at);

  std::string caption_;
  PngButtonStyle style_ = PngButtonStyle::pbsDefault;
  PngButtonLayout layout_ = PngButtonLayout::pbsImageAbove;
  Font font_;
  Color fontColor_ = clWindowText;
  Size size_{23, 23};
  ButtonState state_ = ButtonState::normal;
  bool mouseOver_ = false;
  bool capture_ = false;
  bool clickPending_ = false;  // a left press began on the button
};

}  // namespace kv
