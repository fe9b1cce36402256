// TsButton on Windows: the dialogs' drawn push button. Closes its form through ModalResult,
// answers Enter while focused, Esc when Cancel, Space and its accelerator on release.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/accessible_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_text_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/background.h"
#include "widgets/drawn_control_win.h"
#include "widgets/drawing.h"
#include "widgets/flat_button.h"
#include "widgets/push_button.h"

namespace kv {

class TsButton final : public DrawnControl, public DialogKeyTarget, public AccessibleSource {
 public:
  TsButton();

  // Creates the button as a child of `form` at `bounds` (client coordinates) with the dialogs'
  // settings: MS Sans Serif 11 px black caption, colour 8421440, the normal gradient
  // "8421440;12632256;99;0;0;12632256;12632256;0;0;0" at 100 percent and the hot gradient at
  // its default 70 percent. Registers itself with the form for Enter and Esc (see SetCancel,
  // SetModalResult).
  void Create(Form& form, Rect bounds, const std::string& caption);
  // The same on a drawn parent inside the form (a panel): `parent` is the window it lies on.
  void Create(Form& form, HWND parent, Rect bounds, const std::string& caption);

  // Sets the form's modal result to ModalResult, then runs OnClick.
  void Click();
  std::function<void()> OnClick;
  // Every press and release is reported here first, whether or not it clicks.
  std::function<void(MouseButton, Point)> OnMouseDown;
  std::function<void(MouseButton, Point)> OnMouseUp;

  void SetEnabled(bool enabled);
  bool Enabled() const;
  bool Pressed() const { return face_.pressed; }
  ControlStyle& Style() { return style_; }

  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return face_.caption; }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int modalResult) { modalResult_ = modalResult; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool cancel) { cancel_ = cancel; }
  // Default: Enter clicks this button while the focus is on a control other than a button.
  bool Default() const { return default_; }
  void SetDefault(bool isDefault) { default_ = isDefault; }
  // Active: Enter clicks this button (it has the focus, or it is Default and no button has).
  bool Active() const;
  // The caption's accelerator character (the one after a single "&"), 0 without one.
  wchar_t Accelerator() const;

  // DialogKeyTarget: Enter while this button has the focus, Esc when it is the Cancel button.
  bool DialogKey(int virtualKey) override;
  bool DialogChar(wchar_t ch) override;

  // A push button to a screen reader, named by its caption or by this name (for a caption
  // that says nothing read out, "..."); its default action clicks it.
  void SetAccessibleName(std::string name) { accessibleName_ = std::move(name); }
  AccessiblePart DescribeAccessible(int part) override;
  void DoAccessibleAction(int part) override;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void Repaint() { MarkStale(true); }
  void PaintFace(Bitmap& face) override;
  // A disabled face shows what lies behind it, which may have changed since the last paint.
  bool FaceFollowsBackdrop() const override { return !face_.enabled; }
  bool CanFocus() const;
  void SetPressed(bool pressed);
  void SetMouseOver(bool over);
  void PointerOver(bool inside) override { SetMouseOver(inside); }
  void MouseDown(MouseButton button, LPARAM lparam);
  void MouseUp(MouseButton button, LPARAM lparam);
  void KeyUp();
  // Clicks with the pushed look shown while the click runs (Enter, Esc, a screen reader).
  void ClickPushed();

  Form* form_ = nullptr;
  int modalResult_ = 0;
  bool cancel_ = false;
  bool default_ = false;
  PushButtonFace face_;
  ControlStyle style_;
  // Who holds the button down: the left mouse button (with the capture) or Space/the accelerator.
  bool heldByMouse_ = false;
  bool heldByKey_ = false;
  // The key whose release clicks; 0: the accelerator's key is unknown, any non-modifier release.
  WPARAM heldKey_ = 0;
  std::string accessibleName_;
};

}  // namespace kv
