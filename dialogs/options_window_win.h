// TOptForm, the options window: the drop delay on a slider and the bar's three colours on colour
// picker buttons. It changes no setting itself: EditSettings fills it, shows it and reads it back.
#pragma once

#include <windows.h>

#include <string>

#include "dialogs/bar_dialogs.h"
#include "dialogs/dialog_form_win.h"
#include "toolkit/gdi_win.h"
#include "widgets/button_win.h"
#include "widgets/color_select_win.h"
#include "widgets/skinned_label_win.h"
#include "widgets/track_bar_win.h"

namespace kv {

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
  // The slider and the value's label lie over the group box's gradient.
  Backdrop BackdropAt(Point origin) override;

  TsTrackBar SpeedTracker;
  SkinnedLabel SpeedCap;
  TsColorSelect bTopColor;
  TsColorSelect bBottomColor;  // the middle colour, beside "Середина панели"
  TsColorSelect bETextColor;
  TsButton sButton1;
  TsButton sButton2;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  void DpiChanged() override;

 private:
  void AddGroupLabel(Point at, const std::string& text);
  void SpeedTrackerChange();
  // The window's background with the two group boxes, painted once for each size.
  void PaintSurface();

  DibSection surface_;
  bool surfaceStale_ = false;
};

}  // namespace kv
