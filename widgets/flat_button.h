// The flat caption button (TPNGButton) of the bar, "Ok" and "X": a windowless button drawn on its
// parent's surface. Layout and painting are pure functions; the class below holds the button's
// properties and its mouse state machine, so the window layer only forwards mouse messages and
// paints when asked to.
#pragma once

#include <functional>
#include <string>

#include "toolkit/bitmap.h"
#include "toolkit/color.h"
#include "toolkit/dpi_scale.h"
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
// 2 pixels right in the above/below layouts. The fixed pixels are scaled.
FlatButtonLayout LayOutFlatButton(Size button, Size image, Size text, bool hasCaption,
                                  PngButtonLayout layout, bool pushed, DpiScale scale = {});

// The frame of a pbsFlat button: none when disabled, sunken while pushed (down with the pointer
// over it), raised while the pointer is over it or it is held down, else none.
FrameKind FlatButtonFrame(ButtonState state, bool mouseOver);

class TPNGButton {
 public:
  TPNGButton() = default;
  TPNGButton(const TPNGButton&) = delete;
  TPNGButton& operator=(const TPNGButton&) = delete;

  // Properties; setting one repaints.
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  PngButtonStyle ButtonStyle() const { return style_; }
  void SetButtonStyle(PngButtonStyle style);
  PngButtonLayout ButtonLayout() const { return layout_; }
  void SetButtonLayout(PngButtonLayout layout);
  const kv::Font& Font() const { return font_; }
  void SetFont(kv::Font font);
  Color FontColor() const { return fontColor_; }
  void SetFontColor(Color color);
  bool Enabled() const { return state_ != kv::ButtonState::disabled; }
  void SetEnabled(bool enabled);
  // The client size, for the hit tests; 23 x 23 on creation.
  kv::Size Size() const { return size_; }
  void SetSize(kv::Size size) { size_ = size; }
  // The display scale the font, frame and offsets (designed for 96 DPI) are drawn at.
  void SetScale(DpiScale scale) { scale_ = scale; }

  kv::ButtonState ButtonState() const { return state_; }
  bool MouseOver() const { return mouseOver_; }
  bool Pushed() const { return state_ == kv::ButtonState::down && mouseOver_; }
  // The window layer holds the mouse capture for the button while this is true (left button
  // held after a press on it).
  bool CapturesMouse() const { return capture_; }

  // Mouse input in client coordinates, forwarded by the window layer. A disabled button ignores
  // all of it.
  void MouseDown(MouseButton button, Point at);
  // The second press of a double click.
  void MouseDoubleClick(MouseButton button, Point at);
  void MouseMove(Point at);
  void MouseUp(MouseButton button, Point at);
  void MouseEnter();
  void MouseLeave();

  // Draws the frame and caption over `bounds` of `surface`, which already shows the parent's
  // background there.
  void Paint(Bitmap& surface, Rect bounds, TextRenderer& text, const SystemColors& system) const;

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(MouseButton, Point)> OnMouseDown;
  std::function<void(MouseButton, Point)> OnMouseUp;
  std::function<void(Point)> OnMouseMove;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseExit;
  // Asks the window layer to repaint the button (with the parent's background under it).
  std::function<void()> OnRepaint;

 private:
  void Repaint() const;
  void SetState(kv::ButtonState state);
  void Press(MouseButton button, Point at);

  std::string caption_;
  PngButtonStyle style_ = PngButtonStyle::pbsDefault;
  PngButtonLayout layout_ = PngButtonLayout::pbsImageAbove;
  kv::Font font_;
  Color fontColor_ = clWindowText;
  kv::Size size_{23, 23};
  DpiScale scale_;
  kv::ButtonState state_ = kv::ButtonState::normal;
  bool mouseOver_ = false;
  bool capture_ = false;
  bool clickPending_ = false;  // a left press began on the button
};

}  // namespace kv
