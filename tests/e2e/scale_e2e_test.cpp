// Display scale. Rescale: a dialog of this process moved to a monitor of another scale lays
// itself out again (run with the rest of the suite). DisplayScale: the real program at the DPI
// every program of the prefix sees, run by tests/e2e/run-scaled in prefixes of 144 and 192 DPI:
// the bar and each dialog have their designed sizes scaled, and their text fits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/bar.h"
#include "dialogs/about_picture.h"
#include "dialogs/dialog_form_win.h"
#include "tests/e2e/support/harness.h"
#include "toolkit/dpi_win.h"
#include "toolkit/gdi_win.h"
#include "widgets/button_win.h"

namespace kv::e2e {
namespace {

// WM_GETDPISCALEDSIZE, which the build's Windows 7 headers leave out.
constexpr UINT kGetDpiScaledSize = 0x02E4;

Rect ClientRectOf(HWND form, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

Size ClientSizeOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {r.right, r.bottom};
}

int FontHeightOf(HWND hwnd) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfHeight;
}

// The extent of a text in the dialogs' font at `scale`, as this process draws it.
Size TextExtent(const std::wstring& text, DpiScale scale, int maxWidth = 0) {
  const GdiObject<HFONT> font(CreateUiFont(scale(Font{.face = "MS Sans Serif", .height = 11})));
  ScopedGetDC dc(nullptr);
  ScopedSelect select(dc, font);
  RECT r{0, 0, maxWidth, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
            DT_CALCRECT | DT_NOPREFIX | (maxWidth ? DT_WORDBREAK : 0));
  return {r.right, r.bottom};
}

class RescaleForm final : public DialogForm {
 public:
  RescaleForm() {
    CreateDialogForm(
        {.className = L"KarvossRescaleTest", .text = "Проба", .bounds = {0, 0, 200, 100}}, "Проба");
    label = &AddLabel({.at = {8, 26}, .text = "Рабочая папка:"});
    CreateEdit(edit, {8, 44, 148, 65});
    button.Create(*this, {120, 70, 192, 95}, "Закрыть");
  }

  Label* label = nullptr;
  Edit edit;
  TsButton button;
};

TEST(Rescale, AMoveToAMonitorOfAnotherScaleLaysTheDialogOutAgainWithFontsOfTheNewSize) {
  RescaleForm form;
  const DpiScale before = form.Scale();
  const DpiScale after(before.Dpi() * 2);
  EXPECT_EQ(ClientSizeOf(form.Hwnd()), before(Size{200, 100}));

  // The size the system is told for the new scale, so that its rectangle has it exactly.
  SIZE size{};
  EXPECT_TRUE(
      SendMessageW(form.Hwnd(), kGetDpiScaledSize, after.Dpi(), reinterpret_cast<LPARAM>(&size)));
  EXPECT_EQ(size.cx, after(200));
  EXPECT_EQ(size.cy, after(100));

  const auto moveTo = [&](DpiScale scale, int left) {
    const Size client = scale(Size{200, 100});
    RECT suggested{left, 40, left + client.width, 40 + client.height};
    SendMessageW(form.Hwnd(), WM_DPICHANGED, MAKEWPARAM(scale.Dpi(), scale.Dpi()),
                 reinterpret_cast<LPARAM>(&suggested));
    RECT now{};
    GetWindowRect(form.Hwnd(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    EXPECT_EQ(form.Scale(), scale);
    EXPECT_EQ(ClientRectOf(form.Hwnd(), form.edit.Hwnd()), scale(Rect{8, 44, 148, 65}));
    EXPECT_EQ(ClientRectOf(form.Hwnd(), form.button.Hwnd()), scale(Rect{120, 70, 192, 95}));
    EXPECT_EQ(ClientRectOf(form.Hwnd(), form.sDragBar1.Hwnd()), scale(Rect{0, 0, 200, 20}));
    EXPECT_EQ(FontHeightOf(form.edit.Hwnd()), -scale(11));
    EXPECT_EQ(FontHeightOf(form.label->Hwnd()), -scale(11));
    // The label sized to its text was measured again in the new font.
    const Rect label = ClientRectOf(form.Hwnd(), form.label->Hwnd());
    const Size text = TextExtent(L"Рабочая папка:", scale);
    EXPECT_EQ(label.left, scale(8));
    EXPECT_GE(label.width(), text.width);
    EXPECT_EQ(label.height(), text.height);
  };
  moveTo(after, 30);
  moveTo(before, 60);
}

// ---------------------------------------------------------------------------------------------
// The program at the prefix's display scale.

DpiScale PrefixScale() {
  const DpiScale scale = SystemScale();
  // run-scaled names the DPI it set: the prefix must really show it.
  if (const char* dpi = std::getenv("KARVOSS_DISPLAY_DPI")) {
    EXPECT_EQ(scale.Dpi(), std::atoi(dpi));
  }
  return scale;
}

bool SameColor(COLORREF a, COLORREF b) {
  return (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

HWND WaitShownWindow(const Karvoss& karvoss, const wchar_t* className) {
  HWND found = nullptr;
  Poll([&] { return (found = FindProcessWindow(karvoss.Pid(), className, true)) != nullptr; });
  return found;
}

void ClickAt(HWND form, Point at) {
  POINT p{at.x, at.y};
  ClientToScreen(form, &p);
  Click(p.x, p.y);
}

HWND ControlAt(HWND form, Point at) {
  HWND child = ChildWindowFromPointEx(form, POINT{at.x, at.y}, CWP_SKIPINVISIBLE);
  return child == form ? nullptr : child;
}

// Runs the command and waits for its dialog, whose client area must be the designed one scaled.
HWND OpenDialog(Karvoss& karvoss, const wchar_t* command, const wchar_t* className, Size designed,
                DpiScale s) {
  karvoss.Run(command);
  HWND dialog = WaitShownWindow(karvoss, className);
  if (dialog) {
    EXPECT_EQ(ClientSizeOf(dialog), s(designed)) << Utf8(className);
  }
  return dialog;
}

// The control of the form at its designed place (at 96 DPI, probed at `inside`), which must lie
// there scaled.
HWND PlacedControl(HWND form, Point inside, Rect designed, DpiScale s) {
  HWND control = ControlAt(form, s(inside));
  if (control) {
    EXPECT_EQ(ClientRectOf(form, control), s(designed));
  }
  return control;
}

// Every label (STATIC) of the window is at least as large as its text in the scaled font.
void ExpectLabelsFit(HWND parent, DpiScale scale) {
  int labels = 0;
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (ClassOf(c) != L"Static")
      continue;
    ++labels;
    const Rect r = ClientRectOf(parent, c);
    const std::wstring text = TextOf(c);
    const bool wraps = (GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_LEFT;
    const Size extent = TextExtent(text, scale, wraps ? r.width() : 0);
    EXPECT_GE(r.width(), extent.width) << Utf8(text);
    EXPECT_GE(r.height(), extent.height) << Utf8(text);
  }
  EXPECT_GT(labels, 0);
}

// Every line of the help text ends inside the memo's text area: nothing runs under the scroll
// bar or needs scrolling sideways.
void ExpectMemoLinesFit(HWND memo) {
  RECT area{};
  SendMessageW(memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
  const auto lines = static_cast<int>(SendMessageW(memo, EM_GETLINECOUNT, 0, 0));
  EXPECT_EQ(lines, 110);
  int widest = 0;
  for (int line = 0; line < lines; ++line) {
    const auto start = static_cast<int>(SendMessageW(memo, EM_LINEINDEX, line, 0));
    const auto length = static_cast<int>(SendMessageW(memo, EM_LINELENGTH, start, 0));
    if (length < 2)
      continue;
    const auto first = static_cast<DWORD>(SendMessageW(memo, EM_POSFROMCHAR, start, 0));
    const auto last = static_cast<DWORD>(SendMessageW(memo, EM_POSFROMCHAR, start + length - 1, 0));
    const int advance =
        (static_cast<short>(LOWORD(last)) - static_cast<short>(LOWORD(first))) / (length - 1);
    widest = std::max(widest, static_cast<short>(LOWORD(last)) + advance);
  }
  EXPECT_LE(widest, area.right);
  EXPECT_GT(widest, area.right * 3 / 4);  // the lines were measured, not skipped
}

TEST(DisplayScale, TheBarKeepsItsDesignedProportions) {
  const DpiScale s = PrefixScale();
  const BarMetrics metrics = BarMetricsAt(s);
  Karvoss karvoss;
  ASSERT_TRUE(karvoss.WaitIdle());
  RECT bar = karvoss.BarRect();
  EXPECT_EQ(bar.top, metrics.hiddenTop);
  EXPECT_EQ(bar.bottom - bar.top, metrics.height);
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  bar = karvoss.BarRect();
  EXPECT_EQ(bar.bottom, metrics.height);

  HWND field = karvoss.Field();
  RECT f{};
  GetWindowRect(field, &f);
  EXPECT_EQ(f.left - bar.left, s(8));
  EXPECT_EQ(f.top, s(13));
  EXPECT_EQ(bar.right - f.right, s(84));
  EXPECT_EQ(f.bottom - f.top, s(32));
  EXPECT_EQ(SendMessageW(field, CB_GETITEMHEIGHT, 0, 0), s(24));

  // "Ok" and "X" have no window: under the pointer each shows its raised frame, a line wide,
  // around its scaled square.
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const int size = s(32);
  const int top = s(12);
  const int line = s.Line();
  for (const int left :
       {static_cast<int>(f.right) + s(5), static_cast<int>(f.right) + size + s(10)}) {
    const int middle = top + size / 2;
    MoveMouse(left + size / 2, middle);
    ASSERT_TRUE(Poll([&] { return SameColor(ScreenPixel(left, middle), highlight); })) << left;
    EXPECT_TRUE(SameColor(ScreenPixel(left + line - 1, middle), highlight));
    EXPECT_FALSE(SameColor(ScreenPixel(left + line, middle), highlight));
    EXPECT_FALSE(SameColor(ScreenPixel(left - 1, middle), highlight));
    EXPECT_TRUE(SameColor(ScreenPixel(left + size / 2, top + line - 1), highlight));
    EXPECT_TRUE(SameColor(ScreenPixel(left + size - 1, middle), shadow));
    EXPECT_TRUE(SameColor(ScreenPixel(left + size - line, middle), shadow));
    EXPECT_FALSE(SameColor(ScreenPixel(left + size - line - 1, middle), shadow));
    EXPECT_FALSE(SameColor(ScreenPixel(left + size, middle), shadow));
    EXPECT_TRUE(SameColor(ScreenPixel(left + size / 2, top + size - 1), shadow));
    EXPECT_FALSE(SameColor(ScreenPixel(left + size / 2, top + size), shadow));
  }
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(karvoss.WaitHidden());
}

TEST(DisplayScale, HelpAndAboutHaveTheirDesignedSizesScaledWithTheTextAndPictureInside) {
  const DpiScale s = PrefixScale();
  Karvoss karvoss;
  HWND help = OpenDialog(karvoss, L"help", L"TForm3", {535, 518}, s);
  ASSERT_NE(help, nullptr);
  HWND memo = PlacedControl(help, {100, 100}, {8, 24, 8 + 521, 24 + 457}, s);
  ASSERT_NE(memo, nullptr);
  ExpectMemoLinesFit(memo);

  // At 200 % the help window is higher than the test display: it is closed, not clicked.
  PostMessageW(help, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Poll([&] { return !IsWindowVisible(help); }));

  HWND about = OpenDialog(karvoss, L"about", L"TAboutBox", {298, 223}, s);
  ASSERT_NE(about, nullptr);
  HWND panel = PlacedControl(about, {150, 100}, {8, 24, 8 + 281, 24 + 161}, s);
  ASSERT_NE(panel, nullptr);
  ExpectLabelsFit(panel, s);

  // The picture, 65 x 65 at 96 DPI, at its scaled size from the emblem made for the scale; its
  // transparent parts show the panel's colour. Checked along its middle row and column.
  const RgbaImage picture = AboutPicture(s);
  ASSERT_EQ(picture.width, s(65));
  Bitmap expected(picture.width, picture.height);
  expected.fill(RGB(64, 128, 128));
  BlendRgba(expected, {0, 0}, picture);
  POINT origin{s(8), s(8)};
  ClientToScreen(panel, &origin);
  const int middle = picture.width / 2;
  ASSERT_TRUE(Poll([&] {
    return SameColor(ScreenPixel(origin.x + middle, origin.y + middle),
                     static_cast<COLORREF>(expected.pixel(middle, middle)));
  }));
  int differing = 0;
  for (int i = 0; i < picture.width; ++i) {
    differing += !SameColor(ScreenPixel(origin.x + i, origin.y + middle),
                            static_cast<COLORREF>(expected.pixel(i, middle)));
    differing += !SameColor(ScreenPixel(origin.x + middle, origin.y + i),
                            static_cast<COLORREF>(expected.pixel(middle, i)));
  }
  EXPECT_EQ(differing, 0);

  ClickAt(about, s(Point{216 + 75 / 2, 192 + 12}));  // "Ok"
  EXPECT_TRUE(Poll([&] { return !IsWindowVisible(about); }));
}

TEST(DisplayScale, OptionsEditorAndFolderChooserHaveTheirDesignedSizesScaledWithTheTextInside) {
  const DpiScale s = PrefixScale();
  Karvoss karvoss;
  HWND options = OpenDialog(karvoss, L"options", L"TOptForm", {194, 310}, s);
  ASSERT_NE(options, nullptr);
  ExpectLabelsFit(options, s);
  // The slider, 121 x 33 at 8, 32 in the first group (at 8, 32).
  EXPECT_NE(PlacedControl(options, {16 + 60, 64 + 16}, {16, 64, 16 + 121, 64 + 33}, s), nullptr);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(Poll([&] { return !IsWindowVisible(options); }));

  HWND editor = OpenDialog(karvoss, L"commed", L"TForm2", {497, 270}, s);
  ASSERT_NE(editor, nullptr);
  ExpectLabelsFit(editor, s);
  HWND name = PlacedControl(editor, {136 + 100, 40 + 10}, {136, 40, 136 + 353, 40 + 21}, s);
  ASSERT_NE(name, nullptr);
  // The edit's text area holds a line of the scaled font.
  RECT area{};
  SendMessageW(name, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
  EXPECT_GE(area.bottom - area.top, TextExtent(L"Ну", s).height);

  ClickAt(editor, s(Point{368 + 10, 162 + 10}));  // "..." beside the working folder
  HWND chooser = WaitShownWindow(karvoss, L"Tf_Dir");
  ASSERT_NE(chooser, nullptr);
  EXPECT_EQ(ClientSizeOf(chooser), s(Size{287, 241}));
  HWND folders = PlacedControl(chooser, {100, 100}, {8, 48, 8 + 273, 48 + 185}, s);
  ASSERT_NE(folders, nullptr);
  EXPECT_EQ(SendMessageW(folders, LB_GETITEMHEIGHT, 0, 0), s(16));
  HWND drives = ControlAt(chooser, s(Point{50, 30}));
  ASSERT_NE(drives, nullptr);
  const Rect drive = ClientRectOf(chooser, drives);
  EXPECT_EQ(drive.left, s(8));
  // The closed box is as high as designed, or the little more that Wine's combo box needs for
  // its scaled font (31 for 29 at 144 DPI).
  EXPECT_GE(drive.height(), s(19));
  EXPECT_LE(drive.height(), s(19) + 2);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(Poll([&] { return !IsWindowVisible(chooser); }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Poll([&] { return !IsWindowVisible(editor); }));
}

}  // namespace
}  // namespace kv::e2e
