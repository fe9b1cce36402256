#include "widgets/panel_win.h"

#include <windowsx.h>

#include "widgets/drawing.h"
#include "widgets/drawn_control_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TsPanel";

MouseButton ButtonOf(UINT msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return MouseButton::right;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return MouseButton::middle;
    default:
      return MouseButton::left;
  }
}

}  // namespace

TsPanel::TsPanel() {
  background_.SetOnChange([this] {
    backgroundStale_ = true;
    MarkStale();
  });
}

void TsPanel::Create(HWND parent, Rect bounds) {
  RegisterWindowClass(kClassName, CS_DBLCLKS);
  CreateOwnWindow({.className = kClassName,
                   .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                   .exStyle = WS_EX_CONTROLPARENT,
                   .bounds = bounds,
                   .parent = parent});
}

void TsPanel::InvalidateGraphic(const GraphicControl& control, bool now) {
  const Rect b = control.Bounds();
  const RECT r{b.left, b.top, b.right, b.bottom};
  MarkStale(now, &r);
}

void TsPanel::NotifyGraphic(const GraphicControl& control, DWORD event) {
  for (size_t i = 0; i < graphics_.size(); ++i) {
    if (graphics_[i] == &control)
      NotifyAccessible(Hwnd(), event, static_cast<int>(i) + 1);
  }
}

AccessiblePart TsPanel::DescribeAccessible(int part) {
  if (part < 1 || part > AccessiblePartCount())
    return {.role = ROLE_SYSTEM_PANE};
  const GraphicControl& control = *graphics_[static_cast<size_t>(part) - 1];
  AccessiblePart described = control.DescribeAccessible();
  described.bounds = control.Bounds();
  return described;
}

void TsPanel::DoAccessibleAction(int part) {
  if (part >= 1 && part <= AccessiblePartCount())
    graphics_[static_cast<size_t>(part) - 1]->DoAccessibleAction();
}

void TsPanel::PaintFace(Bitmap& face) {
  PaintBackground(face, background_, Colors());
  for (GraphicControl* control : graphics_)
    control->Paint(face, Text());
}

// The clean background is kept only once a child asks for what lies under it.
Backdrop TsPanel::BackdropAt(Point origin) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  if (backgroundStale_ || backgroundImage_.width() != client.right ||
      backgroundImage_.height() != client.bottom) {
    backgroundImage_ = Bitmap(client.right, client.bottom);
    PaintBackground(backgroundImage_, background_, Colors());
    backgroundStale_ = false;
  }
  return {&backgroundImage_, origin, background_.Color()};
}

GraphicControl* TsPanel::HitTest(Point at) const {
  for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
    if ((*it)->Bounds().contains(at))
      return *it;
  }
  return nullptr;
}

void TsPanel::SetHovered(GraphicControl* control) {
  if (control == hovered_)
    return;
  GraphicControl* previous = hovered_;
  hovered_ = control;
  if (previous)
    previous->MouseLeave();
  if (control)
    control->MouseEnter();
}

void TsPanel::RouteMouse(UINT msg, WPARAM wparam, LPARAM lparam) {
  const Point at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  if (msg == WM_MOUSEMOVE && !trackingLeave_) {
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Hwnd(), 0};
    trackingLeave_ = TrackMouseEvent(&tme) != 0;
  }
  GraphicControl* under = HitTest(at);
  if (!captured_)
    SetHovered(under);
  GraphicControl* target = captured_ ? captured_ : under;
  if (!target)
    return;
  const Rect b = target->Bounds();
  const Point local{at.x - b.left, at.y - b.top};
  switch (msg) {
    case WM_MOUSEMOVE:
      if (captured_)
        SetHovered(under == captured_ ? captured_ : nullptr);
      target->MouseMove(local);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      target->MouseDown(ButtonOf(msg), local);
      if (target->CapturesMouse()) {
        captured_ = target;
        SetCapture(Hwnd());
      }
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      target->MouseDoubleClick(ButtonOf(msg), local);
      if (target->CapturesMouse()) {
        captured_ = target;
        SetCapture(Hwnd());
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      target->MouseUp(ButtonOf(msg), local);
      if (captured_ && !captured_->CapturesMouse()) {
        captured_ = nullptr;
        if (GetCapture() == Hwnd())
          ReleaseCapture();
        SetHovered(under);
      }
      break;
  }
}

LRESULT TsPanel::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SIZE:
      backgroundStale_ = true;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      RouteMouse(msg, wparam, lparam);
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      if (!captured_)
        SetHovered(nullptr);
      return 0;
    case WM_CAPTURECHANGED:
      // Capture taken away (a menu opened): the held control gets a release outside itself, so
      // it springs back without a click.
      if (captured_ && reinterpret_cast<HWND>(lparam) != Hwnd()) {
        GraphicControl* held = captured_;
        captured_ = nullptr;
        held->MouseUp(MouseButton::left, {-10000, -10000});
        SetHovered(nullptr);
      }
      return 0;
  }
  return DrawnControl::Handle(msg, wparam, lparam);
}

}  // namespace kv
