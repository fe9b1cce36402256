// TsColorSelect on Windows: a drawn push button with a swatch of its colour. A release of any
// mouse button over it lets the user choose a new colour in the platform's colour dialog.
#pragma once

#include <windows.h>

#include <functional>

#include "widgets/drawn_control_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/background.h"
#include "widgets/color_select.h"

namespace kv {

class TsColorSelect final : public DrawnControl {
 public:
  TsColorSelect();

  // Creates the picker as a child of `parent` at `bounds` (client coordinates) with the options
  // window's settings: no caption, the 32 x 12 swatch right of it 5 pixels apart, the button-face
  // colour, grey 128 to white at 100 percent and the hot gradient at its default 70 percent.
  // Not a tab stop.
  void Create(HWND parent, Rect bounds);

  Color ColorValue() const { return face_.ColorValue; }
  // Stores the value without comparing it with the old one and repaints.
  void SetColorValue(Color value);
  // After the user confirmed a colour in the dialog (not when the program sets one).
  std::function<void()> OnChange;

  ControlStyle& Style() { return style_; }
  bool Pressed() const { return face_.pressed; }
  bool Hot() const { return face_.Hot(); }

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintFace(Bitmap& face) override;
  void SetMouseOver(bool over);
  void PointerOver(bool inside) override { SetMouseOver(inside); }
  void SetPressed(bool pressed);
  // The colour dialog, owned by the picker's form, starting from ColorValue.
  void ChooseColorValue();

  ColorSelectFace face_;
  ControlStyle style_;
  bool choosing_ = false;
};

}  // namespace kv
