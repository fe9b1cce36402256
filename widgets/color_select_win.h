// TsColorSelect on Windows: a drawn push button with a swatch of its colour. A release of any
// mouse button over it, Space or Enter while it has the focus, lets the user choose a new colour
// in the platform's colour dialog.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/accessible_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/background.h"
#include "widgets/color_select.h"
#include "widgets/drawn_control_win.h"

namespace kv {

class TsColorSelect final : public DrawnControl, public DialogKeyTarget, public AccessibleSource {
 public:
  TsColorSelect();

  // Creates the picker as a child of `parent` at `bounds` (client coordinates) with the options
  // window's settings: no caption, the 32 x 12 swatch right of it 5 pixels apart, the button-face
  // colour, grey 128 to white at 100 percent and the hot gradient at its default 70 percent.
  // A tab stop, hot with dots around the swatch while it has the focus; `name` is what a screen
  // reader calls it, its colour in words the value.
  void Create(HWND parent, Rect bounds, const std::string& name);

  Color ColorValue() const { return face_.ColorValue; }
  // Stores the value without comparing it with the old one and repaints.
  void SetColorValue(Color value);
  // After the user confirmed a colour in the dialog (not when the program sets one).
  std::function<void()> OnChange;

  ControlStyle& Style() { return style_; }
  bool Pressed() const { return face_.pressed; }
  bool Hot() const { return face_.Hot(); }

  // Enter while it has the focus.
  bool DialogKey(int virtualKey) override;
  AccessiblePart DescribeAccessible(int part) override;
  void DoAccessibleAction(int part) override;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintFace(Bitmap& face) override;
  void SetMouseOver(bool over);
  void PointerOver(bool inside) override { SetMouseOver(inside); }
  void SetPressed(bool pressed);
  // The colour dialog, owned by the picker's form, starting from ColorValue.
  void ChooseColorValue();
  // ChooseColorValue, once at a time.
  void Choose();
  // The same with the picker held down until the dialog closes (keys, a screen reader).
  void ChoosePressed();

  ColorSelectFace face_;
  ControlStyle style_;
  bool choosing_ = false;
  bool heldByKey_ = false;
  std::string name_;
};

}  // namespace kv
