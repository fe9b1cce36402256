// Forms: top-level windows created once and hidden, shown modally with their own loop, which
// ends when a modal result is set (kModalResultOk, kModalResultCancel). A modal form is centred on
// the screen the first time and reopens where it was left.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "toolkit/backdrop.h"
#include "toolkit/handles_win.h"
#include "toolkit/modal_result.h"
#include "toolkit/window_win.h"
#include "toolkit/color.h"

namespace kv {

// A control that answers Enter, Esc and accelerator characters on behalf of its form.
class DialogKeyTarget {
 public:
  virtual ~DialogKeyTarget() = default;
  virtual bool DialogKey(int virtualKey) = 0;
  virtual bool DialogChar(wchar_t ch) { return false; }
};

class Form : public Window, public BackdropSource {
 public:
  // A hidden top-level window of class `args.className` (registered here) whose client area is
  // `args.bounds` (at 96 DPI, scaled to the monitor's), owned by `args.parent`, filled with
  // `color`.
  void CreateForm(WindowArgs args, Color color);

  // The form laid out again at `scale` (a move to a monitor of another scale): the form takes
  // `suggested` as its window rectangle (none: its place, with the designed client size scaled),
  // its fonts are made anew at the new size and given to the windows that had the old ones,
  // every window of ours in it takes its designed bounds scaled (Window::ApplyScale), then
  // DpiChanged runs for the form itself.
  void Rescale(DpiScale scale, const RECT* suggested = nullptr);
  // The client size the form was designed with, at 96 DPI.
  Size DesignedClientSize() const { return designedClient_; }

  int ShowModal();
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  bool IsModal() const { return modal_; }

  Color FormColor() const { return color_; }
  // BackdropSource: the form's plain colour.
  Backdrop BackdropAt(Point origin) override { return {nullptr, origin, color_}; }
  // MS Sans Serif 8 pt, the dialogs' font, at the form's scale.
  HFONT FormFont() const { return font_; }
  // A font of the form at its scale, made at the first request; Rescale makes it anew.
  HFONT FontFor(const Font& font);

  // Keyboard: the tab order, the control focused at the first showing, Enter/Esc targets.
  void SetTabOrder(std::vector<HWND> order) { tabOrder_ = std::move(order); }
  void AddDialogKeyTarget(DialogKeyTarget* target) { keyTargets_.push_back(target); }
  // Esc not taken by any control closes the form with this result (0: Esc does nothing).
  void SetEscapeResult(int result) { escapeResult_ = result; }

  // Runs before the message is translated; true when the form consumed it.
  virtual bool PreTranslate(MSG& msg);

  // The form's FormShow handler, run each time the form is shown.
  virtual void FormShow() {}

  // The form that holds a window (its top-level ancestor), if it is one of ours.
  static Form* FormOf(HWND hwnd);

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  void FocusFirst();
  bool MoveFocus(bool backwards);

 private:
  void RememberFocus();
  // The window's size that makes its client area the designed one at its scale.
  void FitClientSize();

  Color color_ = clBtnFace;
  Size designedClient_;
  std::vector<std::pair<Font, GdiObject<HFONT>>> fonts_;  // at the form's scale
  HFONT font_ = nullptr;
  int modalResult_ = 0;
  bool modal_ = false;
  bool shownBefore_ = false;
  int escapeResult_ = 0;
  HWND lastFocus_ = nullptr;
  std::vector<HWND> tabOrder_;
  std::vector<DialogKeyTarget*> keyTargets_;
};

}  // namespace kv
