// TOptForm, the options window: the drop delay on a slider and the bar's three colours on colour
// picker buttons. It changes no setting itself: EditSettings fills it, shows it and reads it back.
#pragma once

#include <windows.h>

#include <string>

#include "dialogs/bar_dialogs.h"
#include "dialogs/dialog_form_win.h"
#include "toolkit/gdi_text_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/button_win.h"
#include "widgets/color_select_win.h"
#include "widgets/drawn_control_win.h"
#include "widgets/drawing.h"
#include "toolkit/text_renderer.h"
#include "widgets/track_bar_win.h"

namespace kv {

// A label without a window background of its own: it shows what its form painted beneath it
// (`backdrop`) and its text on top. Its window text is the caption, so it can be read back.
class SkinnedLabel final : public DrawnControl {
 public:
  void Create(HWND parent, Rect bounds, const std::string& text, const Font& font, Color color,
              const Backdrop& backdrop);
  void SetText(const std::string& text);
  std::string Text() const;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintFace(Bitmap& face) override;
  // What lies behind it may change (the form paints its surface when first shown).
  bool FaceFollowsBackdrop() const override { return true; }
  bool SoftCorners() const override { return false; }

  Font font_;
  Color color_ = clBlack;
  Backdrop backdrop_;
};

class TOptForm final : public DialogForm, public OptionsWindow {
 public:
  // Creates the window and its controls, hidden, owned by `owner`.
  void Create(HWND owner);

  // OptionsWindow.
  void SetSpeed(int position) override;
  int Speed() override;
  void SetSpeedCaption(const std::string& text) override;
  void SetColors(Color top, Color middle, Color text) override;
  Color TopColor() override;
  Color MiddleColor() override;
  Color TextColor() override;
  int ShowModal() override;

  // The slider takes the keyboard focus at every opening, so the arrow keys move it at once.
  void FormShow() override;

  TsTrackBar SpeedTracker;
  SkinnedLabel SpeedCap;
  TsColorSelect bTopColor;
  TsColorSelect bBottomColor;  // the middle colour, beside "Середина панели"
  TsColorSelect bETextColor;
  TsButton sButton1;
  TsButton sButton2;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void SpeedTrackerChange();
  // The window's background with the two group boxes, painted once.
  void PaintSurface();

  DibSection surface_;
};

}  // namespace kv
