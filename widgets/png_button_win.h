// TPNGButton on a TsPanel: the portable button with its place on the panel.
#pragma once

#include <string>

#include "widgets/flat_button.h"
#include "widgets/panel_win.h"

namespace kv {

class PngButtonControl final : public GraphicControl {
 public:
  PngButtonControl() = default;

  // Places the button on the panel and routes its repaints there.
  void Attach(TsPanel& panel, Rect bounds);
  TPNGButton& Button() { return button_; }
  void SetLeft(int left);
  // In the panel's pixels.
  void SetBounds(Rect bounds);

  Rect Bounds() const override { return bounds_; }
  void Paint(Bitmap& surface, TextRenderer& text) override;
  void MouseDown(MouseButton b, Point at) override { button_.MouseDown(b, at); }
  void MouseDoubleClick(MouseButton b, Point at) override { button_.MouseDoubleClick(b, at); }
  void MouseMove(Point at) override { button_.MouseMove(at); }
  void MouseUp(MouseButton b, Point at) override { button_.MouseUp(b, at); }
  void MouseEnter() override { button_.MouseEnter(); }
  void MouseLeave() override { button_.MouseLeave(); }
  bool CapturesMouse() const override { return button_.CapturesMouse(); }

  // A push button named by its caption or by this name (for "X", which says nothing read out);
  // its default action clicks it.
  void SetAccessibleName(std::string name) { accessibleName_ = std::move(name); }
  AccessiblePart DescribeAccessible() const override;
  void DoAccessibleAction() override;

 private:
  TsPanel* panel_ = nullptr;
  Rect bounds_;
  TPNGButton button_;
  WindowsSystemColors systemColors_;
  std::string accessibleName_;
  DWORD notifiedState_ = 0;
};

}  // namespace kv
