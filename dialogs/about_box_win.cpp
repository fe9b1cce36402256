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

constexpr char kProductNameText[] = "Karvoss";
constexpr char kVersionText[] = "Версия 3,0";
constexpr char kCommentsText[] = "Karvoss - расширенная командная консоль";

}  // namespace

void AboutPanel::Create(HWND parent, Rect bounds, HFONT font) {
  font_ = font;

  RegisterWindowClass(kPanelClassName, CS_DBLCLKS);
  CreateOwnWindow({.className = kPanelClassName,
                   .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                   .bounds = bounds,
                   .parent = parent});

  // Auto-sized labels: as wide and high as their text in the dialog font.
  auto autoSized = [&](Point at, const char* text) {
    ScopedGetDC dc(Hwnd());
    ScopedSelect select(dc, font_);
    const std::wstring wide = Widen(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    return Rect{at.x, at.y, at.x + extent.cx, at.y + extent.cy};
  };
  CreateLabel(ProductName, autoSized(kProductName, kProductNameText), kProductNameText);
  CreateLabel(Version, autoSized(kVersion, kVersionText), kVersionText);
  CreateLabel(Comments, kComments, kCommentsText);
}

// White on the window colour; SS_LEFT breaks lines at words.
void AboutPanel::CreateLabel(Label& label, Rect bounds, const std::string& text) {
  label.Create({.text = text,
                .style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFT,
                .bounds = bounds,
                .parent = Hwnd(),
                .font = font_});
  label.Colors().Set(clWhite, kDialogColor);
}

void AboutPanel::PaintFace(Bitmap& image) {
  // Decoded at the first showing: a window made ahead carries no picture nobody has seen.
  if (!pictureDecoded_) {
    pictureDecoded_ = true;
    const PngDecodeResult emblem = DecodePng(resources::kEmblemPng);
    if (emblem.Ok())
      picture_ = StretchRgba(emblem.image, kProgramIcon.width(), kProgramIcon.height());
  }
  image.fill(kDialogColor);
  const Rect all{0, 0, image.width(), image.height()};
  // Outer bevel lowered, inner bevel raised, one pixel each (the platform's Frame3D order).
  DrawFrame(image, all, resolveColor(clBtnShadow, Colors()),
            resolveColor(clBtnHighlight, Colors()));
  DrawFrame(image, all.inflate(-1), resolveColor(clBtnHighlight, Colors()),
            resolveColor(clBtnShadow, Colors()));
  BlendRgba(image, {kProgramIcon.left, kProgramIcon.top}, picture_);
}

LRESULT AboutPanel::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_SYSCOLORCHANGE:
      MarkStale();
      break;
  }
  return DrawnControl::Handle(msg, wparam, lparam);
}

void TAboutBox::Create(HWND owner) {
  CreateDialogForm(
      {.className = kClassName, .text = "About", .bounds = {0, 0, 298, 223}, .parent = owner},
      "О программе");
  Panel1.Create(Hwnd(), {8, 24, 8 + 281, 24 + 161}, FormFont());
  OKButton.Create(*this, {216, 192, 216 + 75, 192 + 25}, "Ok");
  OKButton.SetModalResult(kModalResultOk);
  SetTabOrder({OKButton.Hwnd()});
}

}  // namespace kv
