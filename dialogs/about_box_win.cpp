#include "dialogs/about_box_win.h"

#include "dialogs/about_picture.h"
#include "toolkit/text_win.h"
#include "widgets/drawing.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TAboutBox";
constexpr wchar_t kPanelClassName[] = L"TPanel";

// Places within the panel, at 96 DPI.
constexpr Point kProgramIcon{8, 8};
constexpr Point kProductName{88, 16};
constexpr Point kVersion{88, 40};
constexpr Rect kComments{8, 104, 8 + 234, 104 + 26};

constexpr char kProductNameText[] = "Karvoss";
constexpr char kVersionText[] = "Версия 3,0";
constexpr char kCommentsText[] = "Karvoss - расширенная командная консоль";

}  // namespace

void AboutPanel::Create(Form& form, Rect bounds) {
  form_ = &form;
  RegisterWindowClass(kPanelClassName, CS_DBLCLKS);
  CreateOwnWindow({.className = kPanelClassName,
                   .style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                   .bounds = bounds,
                   .parent = form.Hwnd()});
  CreateLabel(ProductName, kProductNameText);
  CreateLabel(Version, kVersionText);
  CreateLabel(Comments, kCommentsText);
  LayOut();
}

// White on the window colour; SS_LEFT breaks lines at words.
void AboutPanel::CreateLabel(Label& label, const std::string& text) {
  label.Create({.text = text,
                .style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX | SS_LEFT,
                .parent = Hwnd(),
                .font = form_->FormFont()});
  label.Colors().Set(clWhite, kDialogColor);
}

void AboutPanel::LayOut() {
  const DpiScale scale = Scale();
  // Auto-sized labels: as wide and high as their text in the dialog font.
  auto autoSized = [&](Label& label, Point designed, const char* text) {
    ScopedGetDC dc(Hwnd());
    ScopedSelect select(dc, form_->FormFont());
    const std::wstring wide = Widen(text);
    SIZE extent{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
    const Point at = scale(designed);
    label.SetBounds(at.x, at.y, extent.cx, extent.cy);
  };
  autoSized(ProductName, kProductName, kProductNameText);
  autoSized(Version, kVersion, kVersionText);
  const Rect comments = scale(kComments);
  Comments.SetBounds(comments.left, comments.top, comments.width(), comments.height());
}

void AboutPanel::DpiChanged() {
  LayOut();
  DrawnControl::DpiChanged();
}

void AboutPanel::PaintFace(Bitmap& image) {
  const DpiScale scale = Scale();
  // Made at the first showing (and for a new scale): a window made ahead carries no picture
  // nobody has seen.
  if (pictureScale_ != scale) {
    picture_ = AboutPicture(scale);
    pictureScale_ = scale;
  }
  const int line = scale.Line();
  image.fill(kDialogColor);
  const Rect all{0, 0, image.width(), image.height()};
  // Outer bevel lowered, inner bevel raised, one pixel (a line) each (the platform's Frame3D
  // order).
  DrawFrame(image, all, resolveColor(clBtnShadow, Colors()), resolveColor(clBtnHighlight, Colors()),
            line);
  DrawFrame(image, all.inflate(-line), resolveColor(clBtnHighlight, Colors()),
            resolveColor(clBtnShadow, Colors()), line);
  BlendRgba(image, scale(kProgramIcon), picture_);
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
  Panel1.Create(*this, {8, 24, 8 + 281, 24 + 161});
  OKButton.Create(*this, {216, 192, 216 + 75, 192 + 25}, "Ok");
  OKButton.SetModalResult(kModalResultOk);
  SetEscapeResult(kModalResultCancel);
  SetTabOrder({OKButton.Hwnd()});
}

}  // namespace kv
