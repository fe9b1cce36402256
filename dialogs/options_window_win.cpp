#include "dialogs/options_window_win.h"

#include "toolkit/gdi_text_win.h"
#include "widgets/drawing.h"
#include "widgets/gradient.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TOptForm";
constexpr int kClientWidth = 194;
constexpr int kClientHeight = 310;

// The group boxes and what lies in them, in the window's client coordinates (a control's place
// in its group plus the group's place).
constexpr Rect kGroupBox1{8, 32, 8 + 177, 32 + 97};
constexpr Rect kGroupBox2{8, 136, 8 + 177, 136 + 137};
constexpr Rect InGroup(Rect group, int left, int top, int width, int height) {
  return {group.left + left, group.top + top, group.left + left + width, group.top + top + height};
}
constexpr Rect kSpeedTracker = InGroup(kGroupBox1, 8, 32, 121, 33);
constexpr Rect kSpeedCap = InGroup(kGroupBox1, 136, 40, 27, 20);
constexpr Rect kTopColor = InGroup(kGroupBox2, 112, 32, 49, 25);
constexpr Rect kBottomColor = InGroup(kGroupBox2, 112, 64, 49, 25);
constexpr Rect kTextColor = InGroup(kGroupBox2, 112, 96, 49, 25);
constexpr Rect kOkButton{8, 280, 8 + 81, 280 + 25};
constexpr Rect kCancelButton{104, 280, 104 + 83, 280 + 25};

constexpr char kGroupGradient[] =
    "8421440;12632256;21;0;0;12632256;12632256;78;0;0;12632256;12632256;0;0;0";
// The group frame: darker on the left and top, light on the right and bottom, like an etched
// line on the window colour.
constexpr Color kGroupShadow = 4210752;  // grey 64
constexpr Color kGroupLight = clWhite;
constexpr int kCaptionPadding = 4;

const Font kDialogFont{"MS Sans Serif", 11, false};

// The first group's caption, which also names the slider in it.
constexpr char kDelayCaption[] = "Задержка выпадания";

// A group box (`designed` at 96 DPI, drawn at `scale`): the gradient under a one-pixel frame whose
// top edge runs through the middle of the caption, and the caption, centred, on a small framed
// patch of the window colour.
void PaintGroupBox(Bitmap& image, Rect designed, const std::string& caption, TextRenderer& text,
                   DpiScale scale) {
  const Rect box = scale(designed);
  const Font font = scale(kDialogFont);
  const int line = scale.Line();
  const int padding = scale(kCaptionPadding);
  const Size extent = text.Measure(caption, font);
  const Rect body{box.left, box.top + extent.height / 2, box.right, box.bottom};
  PaintGradient(image, body, ParseGradientData(kGroupGradient));
  DrawFrame(image, body, kGroupShadow, kGroupLight, line);

  // Glyphs may run past the measured extent (Wine's substitutes for MS Sans Serif do): the
  // patch keeps a character's room to spare, split on both sides, as the labels do.
  const int room = text.Measure("x", font).width;
  const int patchWidth = extent.width + room + 2 * padding;
  const int patchLeft = box.left + (box.width() - patchWidth) / 2;
  const Rect patch{patchLeft, box.top, patchLeft + patchWidth, box.top + extent.height + 2 * line};
  FillRect(image, patch, kDialogColor);
  DrawFrame(image, patch, kGroupLight, kGroupShadow, line);
  const Rect textBox{patch.left + padding + room / 2, patch.top + line, patch.right - padding,
                     patch.bottom - line};
  text.Draw(image, caption, font, clWhite, textBox, patch, kTextSingleLine | kTextLeft);
}

}  // namespace

void TOptForm::Create(HWND owner) {
  CreateDialogForm({.className = kClassName,
                    .text = "Настройки",
                    .bounds = {0, 0, kClientWidth, kClientHeight},
                    .parent = owner},
                   "Настройки");

  TrackBarSettings speed;
  speed.min = 0;
  speed.max = 50;
  speed.position = 0;
  speed.frequency = 5;
  speed.pageSize = 1;
  speed.lineSize = 1;
  speed.thumbLength = 20;
  SpeedTracker.Create(Hwnd(), kSpeedTracker, speed);
  SpeedTracker.SetAccessibleName(kDelayCaption);
  SpeedTracker.OnChange = [this] { SpeedTrackerChange(); };

  SpeedCap.Create(Hwnd(), kSpeedCap, "888", Font{"MS Sans Serif", 17, false}, clBlack);
  AddGroupLabel({kGroupBox1.left + 9, kGroupBox1.top + 72}, "Меньше              Больше");

  AddGroupLabel({kGroupBox2.left + 8, kGroupBox2.top + 37}, "Верх и низ панели");
  bTopColor.Create(Hwnd(), kTopColor, "Цвет краёв");
  bTopColor.SetColorValue(clWhite);
  AddGroupLabel({kGroupBox2.left + 8, kGroupBox2.top + 68}, "Середина панели");
  bBottomColor.Create(Hwnd(), kBottomColor, "Цвет середины");
  bBottomColor.SetColorValue(clSilver);
  AddGroupLabel({kGroupBox2.left + 8, kGroupBox2.top + 102}, "Текст панели");
  bETextColor.Create(Hwnd(), kTextColor, "Цвет текста");
  bETextColor.SetColorValue(clBlack);

  sButton1.Create(*this, kOkButton, "Ok");
  sButton1.SetModalResult(kModalResultOk);
  sButton2.Create(*this, kCancelButton, "Отмена");
  sButton2.SetModalResult(kModalResultCancel);
  sButton2.SetCancel(true);
  SetTabOrder({SpeedTracker.Hwnd(), bTopColor.Hwnd(), bBottomColor.Hwnd(), bETextColor.Hwnd(),
               sButton1.Hwnd(), sButton2.Hwnd()});
}

// Black over the group box's gradient.
void TOptForm::AddGroupLabel(Point at, const std::string& text) {
  AddLabel({.at = at, .text = text, .color = clBlack, .transparent = true});
}

// Painted when the window is first shown, not when it is made at start-up: until then the
// waiting program does not carry the image and the fonts it takes.
void TOptForm::PaintSurface() {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  if (surface_.Width() == client.right && surface_.Height() == client.bottom && !surfaceStale_)
    return;
  surfaceStale_ = false;
  surface_.Resize(client.right, client.bottom);
  surface_.Pixels().fill(kDialogColor);
  GdiTextRenderer text(&surface_);
  PaintGroupBox(surface_.Pixels(), kGroupBox1, kDelayCaption, text, Scale());
  PaintGroupBox(surface_.Pixels(), kGroupBox2, "Цвета", text, Scale());
}

Backdrop TOptForm::BackdropAt(Point origin) {
  return {&surface_.Pixels(), origin, kDialogColor};
}

void TOptForm::DpiChanged() {
  surfaceStale_ = true;
  DialogForm::DpiChanged();
}

void TOptForm::SpeedTrackerChange() {
  SpeedCap.SetText(std::to_string(SpeedTracker.Position()));
}

void TOptForm::SetSpeed(int position) {
  SpeedTracker.SetPosition(position);
}

int TOptForm::Speed() {
  return SpeedTracker.Position();
}

void TOptForm::SetSpeedCaption(const std::string& text) {
  SpeedCap.SetText(text);
}

void TOptForm::SetColors(Color top, Color middle, Color text) {
  bTopColor.SetColorValue(top);
  bBottomColor.SetColorValue(middle);
  bETextColor.SetColorValue(text);
}

Color TOptForm::TopColor() {
  return bTopColor.ColorValue();
}

Color TOptForm::MiddleColor() {
  return bBottomColor.ColorValue();
}

Color TOptForm::TextColor() {
  return bETextColor.ColorValue();
}

int TOptForm::ShowModal() {
  return DialogForm::ShowModal();
}

void TOptForm::FormShow() {
  PaintSurface();
  SetFocus(SpeedTracker.Hwnd());
}

LRESULT TOptForm::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_ERASEBKGND) {
    PaintSurface();
    surface_.BlitTo(reinterpret_cast<HDC>(wparam), 0, 0);
    return 1;
  }
  return DialogForm::Handle(msg, wparam, lparam);
}

}  // namespace kv
