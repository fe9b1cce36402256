#include "dialogs/about_box_win.h"

#include "resources/resources.h"
#include "toolkit/text_win.h"
#include "widgets/drawing.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TAboutBox";
constexpr wchar_t kPanelClassName[] = L"TPanel";

// Places within the panel.
constexpr Rect kProgramIcon{8, 8, 8 + 65, 8 + 65};
constexpr Point kProductName{88, 16};
constexpr Point kVersion{88, 40};
constexpr Rect kComments{8, 104, 8 + 234, 104 + 26};

constexpr wchar_t kProductNameText[] = L"Karvoss";
constexpr wchar_t kVersionText[] = L"Версия 3,0";
constexpr wchar_t kCommentsText[] = L"Karvoss - расширенная командная консоль";

}  // namespace

void AboutPanel::Create(HWND parent, Rect bounds, HFONT font) {
  font_ = font;
  brush_.reset(CreateSolidBrush(ToColorRef(kDialogColor)));
  const PngDecodeResult emblem = DecodePng(resources::kEmblemPng);
  if (emblem.ok())
    picture_ = StretchRgba(emblem.image, kProgramIcon.width(), kProgramIcon.height());

  RegisterWindowClass(kPanelClassName, CS_DBLCLKS);
  CreateOwnWindow(0, kPanelClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                  {bounds.left, bounds.top, bounds.right, bounds.bottom}, parent);

  // Auto-sized labels: as wide and high as their text in the dialog font.
  auto autoSized = [&](Point at, const wchar_t* text) {
    ScopedGetDC dc(hwnd());
    ScopedSelect select(dc, font_);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &extent);
    return Rect{at.x, at.y, at.x + extent.cx, at.y + extent.cy};
  };
  AddLabel(autoSized(kProductName, kProductNameText), kProductNameText, SS_LEFT);
  AddLabel(autoSized(kVersion, kVersionText), kVersionText, SS_LEFT);
  AddLabel(kComments, kCommentsText, SS_LEFT);  // SS_LEFT breaks lines at words
}

HWND AboutPanel::AddLabel(Rect b, const wchar_t* text, DWORD style) {
  return CreateChildControl(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | SS_NOPREFIX | style,
                            {b.left, b.top, b.right, b.bottom}, hwnd(), font_);
}

void AboutPanel::PaintFace(Bitmap& image) {
  image.fill(kDialogColor);
  const Rect all{0, 0, image.width(), image.height()};
  // Outer bevel lowered, inner bevel raised, one pixel each (the platform's Frame3D order).
  drawFrame(image, all, resolveColor(clBtnShadow, Colors()),
            resolveColor(clBtnHighlight, Colors()));
  drawFrame(image, all.inflate(-1), resolveColor(clBtnHighlight, Colors()),
            resolveColor(clBtnShadow, Colors()));
  BlendRgba(image, {kProgramIcon.left, kProgramIcon.top}, picture_);
}

LRESULT AboutPanel::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SYSCOLORCHANGE:
      MarkStale();
      break;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, ToColorRef(clWhite));
      SetBkColor(dc, ToColorRef(kDialogColor));
      return reinterpret_cast<LRESULT>(brush_.get());
    }
  }
  return DrawnControl::Handle(msg, wparam, lparam);
}

void TAboutBox::Create(HWND owner) {
  CreateDialogForm(kClassName, "About", "О программе", 298, 223, owner);
  Panel1.Create(hwnd(), {8, 24, 8 + 281, 24 + 161}, FormFont());
  OKButton.Create(*this, {216, 192, 216 + 75, 192 + 25}, "Ok", kModalResultOk);
  SetTabOrder({OKButton.hwnd()});
}

}  // namespace kv
