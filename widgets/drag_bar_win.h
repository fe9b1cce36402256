// TsDragBar on Windows: the 20-pixel caption strip along a dialog's top edge. A left press hands
// the dialog the system's interactive move.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/accessible_win.h"
#include "toolkit/backdrop.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_text_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/window_win.h"
#include "widgets/background.h"
#include "widgets/drag_bar.h"
#include "widgets/drawn_control_win.h"
#include "widgets/flat_button.h"
#include "toolkit/geometry.h"

namespace kv {

// The dialogs' drag bar height at 96 DPI.
inline constexpr int kDragBarHeight = 20;

// The dialog's title bar to a screen reader.
class TsDragBar final : public DrawnControl, public BackdropSource, public AccessibleSource {
 public:
  TsDragBar();

  // Creates the bar across the top of `dragged` (its designed client width, 20 high) with the
  // dialogs' settings: MS Sans Serif 11 px bold white caption, colour 8421440, the navy-blue
  // gradient at its default 70 percent, the hand pointer. `dragged` is DraggedControl.
  void Create(Form& dragged, const std::string& caption);

  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return face_.caption; }
  void SetEnabled(bool enabled);
  void SetAlignment(Alignment alignment);
  // DraggedControl: the window a left press moves; none makes presses only reported.
  void SetDraggedControl(HWND dragged) { dragged_ = dragged; }
  HWND DraggedControl() const { return dragged_; }
  BackgroundSettings& Background() { return background_; }
  // The face settings as painted (font, colours, bevels); call Refresh after changing them.
  DragBarFace& Face() { return face_; }
  void Refresh() { MarkStale(); }
  Backdrop BackdropAt(Point origin) override {
    return {&CachedFace(), origin, background_.Color()};
  }

  AccessiblePart DescribeAccessible(int part) override;

  // OnMouseDown: every press is reported here first, before a left press starts the move.
  std::function<void(MouseButton, Point)> OnMouseDown;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  void PaintFace(Bitmap& face) override;
  void Press(MouseButton button, LPARAM lparam);

  HWND dragged_ = nullptr;
  DragBarFace face_;
  BackgroundSettings background_;
};

}  // namespace kv
