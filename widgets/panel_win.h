// TsPanel: a panel that paints its background from its gradient settings into a cached image and
// carries windowless controls (the bar's "Ok" and "X") drawn on that surface.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "toolkit/accessible_win.h"
#include "toolkit/backdrop.h"
#include "toolkit/gdi_win.h"
#include "widgets/background.h"
#include "widgets/drawn_control_win.h"
#include "widgets/flat_button.h"

namespace kv {

// A control without a window of its own, painted on and fed by its parent panel.
class GraphicControl {
 public:
  virtual ~GraphicControl() = default;
  virtual Rect Bounds() const = 0;  // in the panel's client coordinates
  virtual void Paint(Bitmap& surface, TextRenderer& text) = 0;
  virtual void MouseDown(MouseButton button, Point at) {}
  virtual void MouseDoubleClick(MouseButton button, Point at) {}
  virtual void MouseMove(Point at) {}
  virtual void MouseUp(MouseButton button, Point at) {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // Keeps receiving the mouse while this is true, wherever the pointer goes.
  virtual bool CapturesMouse() const { return false; }
  // What a screen reader is told about it (its bounds are filled in by the panel), and its
  // default action.
  virtual AccessiblePart DescribeAccessible() const = 0;
  virtual void DoAccessibleAction() {}
};

// Its windowless controls are its parts for a screen reader, after its child windows.
class TsPanel : public DrawnControl, public BackdropSource, public AccessibleSource {
 public:
  TsPanel();

  void Create(HWND parent, Rect bounds);

  // sStyle.Background: gradient data and percent, image percent, the plain colour.
  BackgroundSettings& Background() { return background_; }
  // The designed gradient string goes through here; an equal string changes nothing.
  void SetGradientData(const std::string& data) { background_.Gradient().SetData(data); }

  void AddGraphicControl(GraphicControl* control) { graphics_.push_back(control); }
  void InvalidateGraphic(const GraphicControl& control, bool now);
  // Tells a screen reader that a windowless control changed (EVENT_OBJECT_STATECHANGE, ...).
  void NotifyGraphic(const GraphicControl& control, DWORD event);

  int AccessiblePartCount() override { return static_cast<int>(graphics_.size()); }
  AccessiblePart DescribeAccessible(int part) override;
  void DoAccessibleAction(int part) override;

  // BackdropSource: the background under a child, the windowless controls left out.
  Backdrop BackdropAt(Point origin) override;

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  // The background, then the windowless controls over it.
  void PaintFace(Bitmap& face) override;
  GraphicControl* HitTest(Point at) const;
  void RouteMouse(UINT msg, WPARAM wparam, LPARAM lparam);
  void SetHovered(GraphicControl* control);

  BackgroundSettings background_{clBtnFace};
  Bitmap backgroundImage_;
  bool backgroundStale_ = true;
  std::vector<GraphicControl*> graphics_;
  GraphicControl* hovered_ = nullptr;
  GraphicControl* captured_ = nullptr;
  bool trackingLeave_ = false;
};

}  // namespace kv
