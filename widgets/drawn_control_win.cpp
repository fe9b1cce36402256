#include "widgets/drawn_control_win.h"

#include <windowsx.h>

#include "widgets/drawing.h"

namespace kv {

void ApplySoftControlRegion(HWND hwnd, Size size, DpiScale scale) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  for (const Rect& r : SoftControlRegion(size, scale.Line())) {
    const GdiObject<HRGN> part(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    CombineRgn(region, region, part, RGN_OR);
  }
  SetWindowRgn(hwnd, region, TRUE);  // the system owns the region now
}

Backdrop ParentBackdropOf(HWND control) {
  HWND parent = GetParent(control);
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  const Point origin{r.left, r.top};
  auto* source = dynamic_cast<BackdropSource*>(Window::FromHandle(parent));
  return source ? source->BackdropAt(origin) : Backdrop{nullptr, origin, clBtnFace};
}

void DrawnControl::MarkStale(bool now, const RECT* part) {
  stale_ = true;
  if (!Hwnd())
    return;
  InvalidateRect(Hwnd(), part, FALSE);
  if (now)
    UpdateWindow(Hwnd());
}

// A paint that merely uncovers part of the control (the bar's slide) copies that part of the
// face; the face is composed again only when something in it changed.
void DrawnControl::Paint(HDC dc, const RECT& part) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  if (client.right <= 0 || client.bottom <= 0)
    return;
  if (stale_ || FaceFollowsBackdrop() || cache_.Width() != client.right ||
      cache_.Height() != client.bottom) {
    cache_.Resize(client.right, client.bottom);
    PaintFace(cache_.Pixels());
    stale_ = false;
  }
  cache_.BlitPart(dc, part);
}

void DrawnControl::DpiChanged() {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  if (SoftCorners())
    ApplySoftControlRegion(Hwnd(), {client.right, client.bottom}, Scale());
  MarkStale();
}

bool DrawnControl::Inside(LPARAM lparam) const {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  return PtInRect(&client, at) != 0;
}

LRESULT DrawnControl::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Hwnd(), 0};
        trackingLeave_ = TrackMouseEvent(&tme) != 0;
      }
      PointerOver(Inside(lparam));
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      PointerOver(false);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      ScopedPaint paint(Hwnd());
      Paint(paint, paint.PaintRect());
      return 0;
    }
    case WM_SIZE:
      if (SoftCorners())
        ApplySoftControlRegion(Hwnd(), {LOWORD(lparam), HIWORD(lparam)}, Scale());
      MarkStale();
      return 0;
  }
  return DefaultHandle(msg, wparam, lparam);
}

}  // namespace kv
