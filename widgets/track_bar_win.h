// TsTrackBar on Windows: the platform's slider control ("msctls_trackbar32") with keys and mouse
// left to it and its surface drawn by us from its channel and thumb rectangles.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/accessible_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/background.h"
#include "widgets/drawing.h"
#include "widgets/track_bar.h"

namespace kv {

// What the slider hands the platform control when its window is created. Horizontal with
// automatic ticks below: the only kind this program uses.
struct TrackBarSettings {
  int min = 0;
  int max = 100;
  int position = 0;
  int frequency = 5;  // positions per tick
  int pageSize = 1;
  int lineSize = 1;
  int thumbLength = 9;  // at 96 DPI
  int selStart = 0;
  int selEnd = 0;
  bool sliderVisible = true;
};

// A slider to a screen reader, named after its caption (SetAccessibleName), its position the
// value.
class TsTrackBar final : public Window, public NamedAccessible {
 public:
  TsTrackBar();

  // Creates the control as a child of `parent` at `bounds` (client coordinates), a tab stop,
  // painted with the options window's slider settings (plain colour grey 215, its normal
  // gradient at 100 percent, its hot gradient at the default 70 percent).
  void Create(HWND parent, Rect bounds, const TrackBarSettings& settings);

  int Position() const { return model_.Position(); }
  // Limited to Min..Max; an unchanged position does nothing, else the control moves and
  // OnChange runs.
  void SetPosition(int position) { model_.SetPosition(position); }
  int Min() const { return model_.Min(); }
  int Max() const { return model_.Max(); }
  void SetMin(int min) { model_.SetMin(min); }
  void SetMax(int max) { model_.SetMax(max); }

  // Every change of the position by the program, and every scroll notification of the control
  // (each drag step, key or click, and the end of a scroll), changed or not.
  std::function<void()> OnChange;

  ControlStyle& Style() { return style_; }
  bool Hot() const { return mouseOver_ || focused_ || pressed_; }

  AccessiblePart DescribeAccessible(int part) override;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;
  bool Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  void DpiChanged() override;

 private:
  void Paint(HDC dc);
  void SetHotPart(bool& part, bool value);
  void RedrawNow();

  TrackBarModel model_;
  TrackBarSettings settings_;
  ControlStyle style_;
  WindowsSystemColors systemColors_;
  DibSection cache_;
  bool mouseOver_ = false;
  bool focused_ = false;
  bool pressed_ = false;
  bool trackingLeave_ = false;
};

}  // namespace kv
