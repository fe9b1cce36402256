// TsButton on Windows: the dialogs' drawn push button. Closes its form through ModalResult,
// answers Enter while focused, Esc when Cancel, Space and its accelerator on release.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/form_win.h"
#include "toolkit/gdi_text_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/background.h"
#include "widgets/push_button.h"

namespace kv {

class TsButton final : public Window, public DialogKeyTarget {
 public:
  TsButton();

  // Creates the button as a child of `form` at `bounds` (client coordinates) with the dialogs'
  // settings: MS Sans Serif 11 px black caption, colour 8421440, the normal gradient
  // "8421440;12632256;99;0;0;12632256;12632256;0;0;0" at 100 percent and the hot gradient at
  // its default 70 percent. Registers itself with the form for Enter and Esc.
  void Create(Form& form, Rect bounds, const std::string& caption, int modalResult = 0,
              bool cancel = false);

  // Sets the form's modal result to ModalResult, then runs OnClick.
  void Click();
  std::function<void()> OnClick;

  void SetEnabled(bool enabled);
  bool Enabled() const;
  bool Pressed() const { return face_.pressed; }
  ControlStyle& Style() { return style_; }

  // DialogKeyTarget: Enter while this button has the focus, Esc when it is the Cancel button.
  bool DialogKey(int virtualKey) override;
  bool DialogChar(wchar_t ch) override;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void Repaint();

  Form* form_ = nullptr;
  int modalResult_ = 0;
  bool cancel_ = false;
  bool default_ = false;
  PushButtonFace face_;
  ControlStyle style_;
  WindowsSystemColors systemColors_;
  DibSection cache_;
  GdiTextRenderer text_{&cache_};
  bool trackingLeave_ = false;
};

}  // namespace kv
