#include "widgets/panel_win.h"

#include <windowsx.h>

#include <cstring>

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
  background_.setOnChange([this] { MarkStale(); });
}

void TsPanel::Create(HWND parent, RECT bounds) {
  RegisterWindowClass(kClassName, CS_DBLCLKS);
  CreateOwnWindow(WS_EX_CONTROLPARENT, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                  bounds, parent);
}

void TsPanel::MarkStale() {
  stale_ = true;
  frameStale_ = true;
  if (hwnd())
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TsPanel::Repaint() {
  InvalidateRect(hwnd(), nullptr, FALSE);
  UpdateWindow(hwnd());
}

void TsPanel::InvalidateGraphic(const GraphicControl& control, bool now) {
  const Rect b = control.Bounds();
  RECT r{b.left, b.top, b.right, b.bottom};
  frameStale_ = true;
  InvalidateRect(hwnd(), &r, FALSE);
  if (now)
    UpdateWindow(hwnd());
}

// The frame (background and windowless controls) is composed only when something in it
// changed; a paint that merely uncovers part of the panel (a slide step) copies that part.
void TsPanel::Paint(HDC dc, const RECT& part) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int w = client.right;
  const int h = client.bottom;
  if (w <= 0 || h <= 0)
    return;
  if (stale_ || cache_.width() != w || cache_.height() != h) {
    cache_.Resize(w, h);
    PaintBackground(cache_.bitmap(), background_, systemColors_);
    stale_ = false;
    frameStale_ = true;
  }
  if (graphics_.empty()) {
    cache_.BlitPart(dc, part);
    return;
  }
  if (frameStale_ || frame_.width() != w || frame_.height() != h) {
    // The windowless controls are drawn over a copy, so the cached background stays clean.
    frame_.Resize(w, h);
    std::memcpy(frame_.bitmap().bits(), cache_.bitmap().bits(),
                static_cast<size_t>(cache_.bitmap().stride()) * h);
    for (GraphicControl* control : graphics_)
      control->Paint(frame_.bitmap(), text_);
    frameStale_ = false;
  }
  frame_.BlitPart(dc, part);
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
    TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
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
        SetCapture(hwnd());
      }
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      target->MouseDoubleClick(ButtonOf(msg), local);
      if (target->CapturesMouse()) {
        captured_ = target;
        SetCapture(hwnd());
      }
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      target->MouseUp(ButtonOf(msg), local);
      if (captured_ && !captured_->CapturesMouse()) {
        captured_ = nullptr;
        if (GetCapture() == hwnd())
          ReleaseCapture();
        SetHovered(under);
      }
      break;
  }
}

LRESULT TsPanel::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      ScopedPaint paint(hwnd());
      Paint(paint, paint.PaintRect());
      return 0;
    }
    case WM_SIZE:
      ApplySoftControlRegion(hwnd(), {LOWORD(lparam), HIWORD(lparam)});
      MarkStale();
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
      if (captured_ && reinterpret_cast<HWND>(lparam) != hwnd()) {
        GraphicControl* held = captured_;
        captured_ = nullptr;
        held->MouseUp(MouseButton::left, {-10000, -10000});
        SetHovered(nullptr);
      }
      return 0;
  }
  return DefaultHandle(msg, wparam, lparam);
}

}  // namespace kv
