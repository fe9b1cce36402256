// The bar's look on the screen: the panel's pixels are the portable painter's, and the flat
// buttons frame themselves under the pointer and while held.
#include <gtest/gtest.h>

#include "tests/e2e/support/harness.h"
#include "toolkit/gdi_win.h"
#include "widgets/background.h"

namespace kv::e2e {
namespace {

constexpr char kDesigned[] =
    "16777215;12632256;22;0;0;12632256;12632256;54;0;0;12632256;16777215;23;0;0;16777215;"
    "16777215;0;0;0";

Color ScreenColor(int x, int y) {
  const COLORREF c = ScreenPixel(x, y);
  return rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

TEST(Panel, ScreenPixelsAreThePaintersOutput) {
  Karvoss karvoss;
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  const int width = GetSystemMetrics(SM_CXSCREEN);
  Bitmap expected(width, 61);
  BackgroundSettings settings(clBtnFace);
  settings.Gradient().SetPercent(100);
  settings.Gradient().SetData(kDesigned);
  PaintBackground(expected, settings, WindowsSystemColors());
  const Color face = resolveColor(clBtnFace, CurrentSystemColors());

  RECT field{};
  GetWindowRect(karvoss.Field(), &field);
  EXPECT_EQ(field.top, 13);
  EXPECT_EQ(field.bottom - field.top, 32);
  // The screen may lag the window by a repaint when the slide has just ended.
  Bitmap screen;
  int checked = 0;
  int wrong = 0;
  const auto compare = [&](bool report) {
    checked = 0;
    wrong = 0;
    for (int y = 0; y < 61; ++y) {
      for (int x = 0; x < width; ++x) {
        const bool besideField = x < field.left || (x >= field.right && x < field.right + 5);
        if (y >= field.top - 1 && y < 46 && !besideField)
          continue;  // field and buttons
        const bool corner = (x == 0 || x == width - 1) && (y == 0 || y == 60);
        const Color want = corner ? face : expected.pixel(x, y);
        ++checked;
        if (screen.pixel(x, y) != want && ++wrong <= 5 && report) {
          ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << screen.pixel(x, y)
                        << ", painter says " << want;
        }
      }
    }
  };
  Poll(
      [&] {
        screen = CaptureScreen(0, 0, width, 61);
        compare(false);
        return wrong == 0;
      },
      2000);
  compare(true);
  EXPECT_EQ(wrong, 0) << "of " << checked;
  EXPECT_GT(checked, width * 25);
}

TEST(Panel, OkFramesItselfUnderThePointerAndSinksWhileHeld) {
  Karvoss karvoss;
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  RECT field{};
  GetWindowRect(karvoss.Field(), &field);
  const int left = field.right + 5;  // "Ok" is 32 x 32 at top 12
  const Color highlight = resolveColor(clBtnHighlight, CurrentSystemColors());
  const Color shadow = resolveColor(clBtnShadow, CurrentSystemColors());
  MoveMouse(10, 300);
  const Color plain = ScreenColor(left, 12);
  EXPECT_NE(plain, highlight);
  MoveMouse(left + 16, 28);
  EXPECT_TRUE(Poll(
      [&] { return ScreenColor(left, 12) == highlight && ScreenColor(left + 31, 43) == shadow; }));
  MouseButton(true);
  EXPECT_TRUE(Poll(
      [&] { return ScreenColor(left, 12) == shadow && ScreenColor(left + 31, 43) == highlight; }));
  // Dragged off while held: raised again; released outside: no click, no frame.
  MoveMouse(left + 16, 200);
  EXPECT_TRUE(Poll([&] { return ScreenColor(left, 12) == highlight; }));
  MouseButton(false);
  EXPECT_TRUE(Poll([&] { return ScreenColor(left, 12) == plain; }));
  EXPECT_EQ(karvoss.FieldText(), L"Введите команду (help - справка)");
}

}  // namespace
}  // namespace kv::e2e
