#include "widgets/track_bar_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <string>

#include "widgets/drawn_control_win.h"

namespace kv {
namespace {

constexpr Color kSliderColor = 14145495;  // grey 215
constexpr char kNormalGradient[] =
    "12632256;8421504;67;0;0;8421504;12632256;32;0;0;12632256;12632256;0;0;0";
constexpr char kHotGradient[] =
    "16777215;10127749;6;0;0;10127749;16777215;42;0;0;16777215;9798519;42;0;0;9798519;16777215;"
    "8;0;0;16777215;16777215;0;0;0";

Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

TsTrackBar::TsTrackBar() : NamedAccessible(ROLE_SYSTEM_SLIDER), style_(kSliderColor) {
  style_.Background().Gradient().SetData(kNormalGradient);
  style_.Background().Gradient().SetPercent(100);
  style_.HotBackground().Gradient().SetData(kHotGradient);
  style_.SetOnChange([this] {
    if (Hwnd())
      InvalidateRect(Hwnd(), nullptr, FALSE);
  });
  model_.OnPlatformPosition = [this](int position) {
    if (Hwnd())
      SendMessageW(Hwnd(), TBM_SETPOS, TRUE, position);
  };
  model_.OnPlatformRange = [this](int min, int max) {
    if (!Hwnd())
      return;
    SendMessageW(Hwnd(), TBM_SETRANGEMIN, FALSE, min);
    SendMessageW(Hwnd(), TBM_SETRANGEMAX, TRUE, max);
  };
  model_.OnRedraw = [this] { RedrawNow(); };
  model_.OnChange = [this] {
    if (OnChange)
      OnChange();
  };
}

AccessiblePart TsTrackBar::DescribeAccessible(int part) {
  AccessiblePart described = NamedAccessible::DescribeAccessible(part);
  described.value = std::to_string(Position());
  return described;
}

void TsTrackBar::Create(HWND parent, Rect b, const TrackBarSettings& settings) {
  settings_ = settings;
  // The component's own values first; the window takes them over below, in its fixed order.
  if (settings.min > model_.Max()) {
    model_.SetMax(settings.max);
    model_.SetMin(settings.min);
  } else {
    model_.SetMin(settings.min);
    model_.SetMax(settings.max);
  }
  model_.SetPosition(settings.position);

  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS | TBS_BOTTOM |
                TBS_ENABLESELRANGE | TBS_FIXEDLENGTH;
  if (!settings.sliderVisible)
    style |= TBS_NOTHUMB;
  CreateControl({.className = TRACKBAR_CLASSW, .style = style, .bounds = b, .parent = parent});
  if (!Hwnd())
    return;
  HWND h = Hwnd();
  SendMessageW(h, TBM_SETTHUMBLENGTH, Scale()(settings.thumbLength), 0);
  SendMessageW(h, TBM_SETLINESIZE, 0, settings.lineSize);
  SendMessageW(h, TBM_SETPAGESIZE, 0, settings.pageSize);
  SendMessageW(h, TBM_SETRANGEMIN, FALSE, model_.Min());
  SendMessageW(h, TBM_SETRANGEMAX, FALSE, model_.Max());
  if (settings.selStart == 0 && settings.selEnd == 0) {
    SendMessageW(h, TBM_CLEARSEL, FALSE, 0);
  } else {
    SendMessageW(h, TBM_SETSELSTART, FALSE, settings.selStart);
    SendMessageW(h, TBM_SETSELEND, FALSE, settings.selEnd);
  }
  SendMessageW(h, TBM_SETPOS, TRUE, model_.Position());
  SendMessageW(h, TBM_SETTICFREQ, settings.frequency, 0);
  // The subclass came after the creation's WM_SIZE.
  RECT client{};
  GetClientRect(h, &client);
  ApplySoftControlRegion(h, {client.right, client.bottom}, Scale());
}

void TsTrackBar::DpiChanged() {
  SendMessageW(Hwnd(), TBM_SETTHUMBLENGTH, Scale()(settings_.thumbLength), 0);
  RECT client{};
  GetClientRect(Hwnd(), &client);
  ApplySoftControlRegion(Hwnd(), {client.right, client.bottom}, Scale());
  InvalidateRect(Hwnd(), nullptr, FALSE);
}

void TsTrackBar::RedrawNow() {
  if (!Hwnd())
    return;
  InvalidateRect(Hwnd(), nullptr, FALSE);
  UpdateWindow(Hwnd());
}

void TsTrackBar::SetHotPart(bool& part, bool value) {
  const bool wasHot = Hot();
  part = value;
  if (Hot() != wasHot)
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void TsTrackBar::Paint(HDC dc) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  if (client.right <= 0 || client.bottom <= 0)
    return;
  cache_.Resize(client.right, client.bottom);
  RECT channel{};
  RECT thumb{};
  SendMessageW(Hwnd(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  SendMessageW(Hwnd(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  TrackBarFace face;
  face.channel = ToRect(channel);
  face.thumb = ToRect(thumb);
  face.tickCount = static_cast<int>(SendMessageW(Hwnd(), TBM_GETNUMTICS, 0, 0));
  face.sliderVisible = settings_.sliderVisible;
  face.hot = Hot();
  face.enabled = IsWindowEnabled(Hwnd()) != 0;
  face.scale = Scale();
  PaintTrackBar(cache_.Pixels(), face, style_, systemColors_, ParentBackdropOf(Hwnd()));
  cache_.BlitTo(dc, 0, 0);
}

bool TsTrackBar::Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (msg != WM_HSCROLL && msg != WM_VSCROLL)
    return false;
  model_.Scrolled(static_cast<int>(SendMessageW(Hwnd(), TBM_GETPOS, 0, 0)));
  result = 0;
  return true;
}

LRESULT TsTrackBar::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (wparam) {
        Paint(reinterpret_cast<HDC>(wparam));
      } else {
        ScopedPaint paint(Hwnd());
        Paint(paint);
      }
      return 0;
    case WM_SIZE: {
      const LRESULT result = DefaultHandle(msg, wparam, lparam);
      ApplySoftControlRegion(Hwnd(), {LOWORD(lparam), HIWORD(lparam)}, Scale());
      return result;
    }
    case WM_MOUSEMOVE: {
      if (!trackingLeave_) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, Hwnd(), 0};
        trackingLeave_ = TrackMouseEvent(&tme) != 0;
      }
      RECT client{};
      GetClientRect(Hwnd(), &client);
      const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      SetHotPart(mouseOver_, PtInRect(&client, at) != 0);
      break;
    }
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      SetHotPart(mouseOver_, false);
      break;
    case WM_SETFOCUS:
      SetHotPart(focused_, true);
      break;
    case WM_KILLFOCUS:
      SetHotPart(focused_, false);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetHotPart(pressed_, true);
      break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: {
      const LRESULT result = DefaultHandle(msg, wparam, lparam);
      if (GetCapture() != Hwnd())
        SetHotPart(pressed_, false);
      return result;
    }
  }
  return DefaultHandle(msg, wparam, lparam);
}

}  // namespace kv
