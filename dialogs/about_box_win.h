// TAboutBox, the About window: a bevelled panel with the emblem, the product name, the version
// and a one-line description, and "Ok".
#pragma once

#include <windows.h>

#include "dialogs/dialog_form_win.h"
#include "dialogs/png_image.h"
#include "toolkit/controls_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/button_win.h"
#include "widgets/drawn_control_win.h"

namespace kv {

// Panel1: raised inner and lowered outer one-pixel bevel in the window colour, with the emblem
// (ProgramIcon) blended into its painted image and white labels as child windows.
class AboutPanel final : public DrawnControl {
 public:
  // `bounds` at 96 DPI; the labels' font is the form's.
  void Create(Form& form, Rect bounds);

  // The emblem as the picture's 65 x 65 at the panel's scale, straight alpha.
  const RgbaImage& Picture() const { return picture_; }

  Label ProductName;
  Label Version;
  Label Comments;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  void DpiChanged() override;

 private:
  void CreateLabel(Label& label, const std::string& text);
  // The picture and the labels at the panel's scale; the auto-sized labels measured in the font
  // they show.
  void LayOut();
  void PaintFace(Bitmap& face) override;
  // A plain panel: its corners are its own.
  bool SoftCorners() const override { return false; }

  Form* form_ = nullptr;
  RgbaImage picture_;
};

class TAboutBox final : public DialogForm {
 public:
  void Create(HWND owner);

  AboutPanel Panel1;
  TsButton OKButton;
};

}  // namespace kv
