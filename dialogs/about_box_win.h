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
  void Create(HWND parent, Rect bounds, HFONT font);

  // The emblem stretched to the picture's 65 x 65, straight alpha.
  const RgbaImage& Picture() const { return picture_; }

  Label ProductName;
  Label Version;
  Label Comments;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void CreateLabel(Label& label, Rect bounds, const std::string& text);
  void PaintFace(Bitmap& face) override;
  // A plain panel: its corners are its own.
  bool SoftCorners() const override { return false; }

  HFONT font_ = nullptr;
  RgbaImage picture_;
  bool pictureDecoded_ = false;
};

class TAboutBox final : public DialogForm {
 public:
  void Create(HWND owner);

  AboutPanel Panel1;
  TsButton OKButton;
};

}  // namespace kv
