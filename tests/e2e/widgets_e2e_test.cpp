// The drag bar, the skinned push button and the dialog frame under a real window system, driven
// through the widget lab: moves, clicks, keys, and the pixels on the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/support/harness.h"
#include "tests/e2e/tools/widget_lab.h"
#include "toolkit/gdi_text_win.h"
#include "toolkit/gdi_win.h"
#include "widgets/background.h"
#include "widgets/drag_bar.h"
#include "widgets/drawing.h"
#include "widgets/gradient.h"
#include "widgets/push_button.h"

namespace kv::e2e {
namespace {

using lab::Control;

// The layouts' settings, written out here once more so the test does not read them from the
// code under test.
constexpr char kBarGradient[] =
    "8388608;16711680;49;0;0;16711680;8388608;50;0;0;8388608;8388608;0;0;0";
constexpr char kButtonGradient[] = "8421440;12632256;99;0;0;12632256;12632256;0;0;0";
constexpr char kButtonHotGradient[] =
    "8421504;8421504;10;0;0;8421504;16777215;43;0;0;16777215;10658466;28;0;0;10658466;13816530;18;"
    "0;0;13816530;13816530;0;0;0";
constexpr Color kDialog = rgb(64, 128, 128);

// ---------------------------------------------------------------------------------------------
// Input and screen helpers

void Key(WORD virtualKey, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

// An owning copy of a DIB section's pixels.
Bitmap OwningCopy(DibSection& dib) {
  GdiFlush();
  Bitmap copy(dib.Width(), dib.Height());
  for (int y = 0; y < dib.Height(); ++y)
    std::memcpy(copy.row(y), dib.Pixels().row(y), static_cast<size_t>(dib.Width()) * 3);
  return copy;
}

// An owning copy of the screen's pixels in `r`.
Bitmap CaptureScreen(const RECT& r) {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  DibSection dib;
  dib.Resize(w, h);
  {
    ScopedGetDC screen(nullptr);
    BitBlt(dib.Dc(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  }
  return OwningCopy(dib);
}

// With KARVOSS_SHOTS set to a folder, saves the screen region as <name>.bmp there.
void SaveShot(const std::string& name, const RECT& r) {
  wchar_t folder[MAX_PATH];
  if (!GetEnvironmentVariableW(L"KARVOSS_SHOTS", folder, MAX_PATH))
    return;
  const Bitmap image = CaptureScreen(r);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = image.width();
  info.biHeight = -image.height();
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD pixels = static_cast<DWORD>(image.stride() * image.height());
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + pixels;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(reinterpret_cast<const char*>(image.bits()), pixels);
  WriteFileBytes(std::wstring(folder) + L"\\" + Wide(name) + L".bmp", bytes);
}

bool IsCorner(int x, int y, int w, int h) {
  return (x == 0 || x == w - 1) && (y == 0 || y == h - 1);
}

// Differences between the screen and the expected image outside the four soft corners, as text
// ("" when equal); the first few are listed.
std::string Differences(const Bitmap& actual, const Bitmap& expected) {
  if (actual.width() != expected.width() || actual.height() != expected.height())
    return "size differs";
  std::string report;
  int count = 0;
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      if (IsCorner(x, y, actual.width(), actual.height()) ||
          actual.pixel(x, y) == expected.pixel(x, y))
        continue;
      if (++count <= 5) {
        char line[96];
        snprintf(line, sizeof line, "(%d,%d) screen %06X expected %06X; ", x, y,
                 unsigned(actual.pixel(x, y)), unsigned(expected.pixel(x, y)));
        report += line;
      }
    }
  }
  if (count > 0)
    report += std::to_string(count) + " pixels differ";
  return report;
}

// The colour of each row of a top-to-bottom gradient over `rows` rows, by the band rule: each
// band runs SizePercent x rows / 100 rows from the previous band's end row, the last one to the
// last row; double accumulators, rounded half to even; a band's first row overwrites the
// previous band's last.
struct Band {
  Color from;
  Color to;
  int percent;
};
std::vector<Color> GradientRows(int rows, const std::vector<Band>& bands) {
  std::vector<Color> colors(static_cast<size_t>(rows), 0);
  int end = 0;
  for (size_t i = 0; i < bands.size(); ++i) {
    const int start = end;
    end = i + 1 == bands.size() ? rows - 1 : start + bands[i].percent * rows / 100;
    if (end - start <= 0)
      continue;
    const int n = end - start;
    double r = redOf(bands[i].from), g = greenOf(bands[i].from), b = blueOf(bands[i].from);
    const double dr = (redOf(bands[i].to) - r) / n, dg = (greenOf(bands[i].to) - g) / n,
                 db = (blueOf(bands[i].to) - b) / n;
    for (int y = start; y <= end; ++y) {
      colors[static_cast<size_t>(y)] =
          rgb(static_cast<int>(RoundHalfEven(r)), static_cast<int>(RoundHalfEven(g)),
              static_cast<int>(RoundHalfEven(b)));
      r += dr;
      g += dg;
      b += db;
    }
  }
  return colors;
}

// c * percent/100 + plain * (1 - percent/100), per channel, half to even.
Color Mix(Color c, Color plain, int percent) {
  const double k = percent / 100.0;
  const auto channel = [&](int a, int b) {
    return static_cast<int>(RoundHalfEven(a * k + b * (1 - k)));
  };
  return rgb(channel(redOf(c), redOf(plain)), channel(greenOf(c), greenOf(plain)),
             channel(blueOf(c), blueOf(plain)));
}

// One channel under a soft-bevel band: ((p - t) * m + 256 t) / 256, rounded down.
int Shade(int p, int t, int m) {
  const int v = (p - t) * m + 256 * t;
  return v >= 0 ? v / 256 : -((-v + 255) / 256);
}
Color ShadeColor(Color c, int t, int m) {
  return rgb(Shade(redOf(c), t, m), Shade(greenOf(c), t, m), Shade(blueOf(c), t, m));
}

// ---------------------------------------------------------------------------------------------
// What the portable painters give for the lab's controls, drawn here with the same GDI fonts.

Bitmap PaintedDragBar(Size size, const std::string& caption, bool enabled) {
  DibSection dib;
  dib.Resize(size.width, size.height);
  GdiTextRenderer text(&dib);
  WindowsSystemColors system;
  DragBarFace face;
  face.caption = caption;
  face.font = Font{"MS Sans Serif", 11, true};
  face.fontColor = clWhite;
  face.enabled = enabled;
  BackgroundSettings background(kDialogColor);
  background.Gradient().SetData(kBarGradient);
  PaintDragBar(dib.Pixels(), face, background, text, system);
  return OwningCopy(dib);
}

struct Look {
  bool mouseOver = false;
  bool focused = false;
  bool pressed = false;
};

// The face of an enabled lab button in the given state.
Bitmap PaintedButton(Size size, const std::string& caption, Look look) {
  DibSection dib;
  dib.Resize(size.width, size.height);
  GdiTextRenderer text(&dib);
  WindowsSystemColors system;
  ControlStyle style(kDialogColor);
  style.Background().Gradient().SetData(kButtonGradient);
  style.Background().Gradient().SetPercent(100);
  style.HotBackground().Gradient().SetData(kButtonHotGradient);
  PushButtonFace face;
  face.caption = caption;
  face.font = Font{"MS Sans Serif", 11, false};
  face.mouseOver = look.mouseOver;
  face.focused = look.focused;
  face.pressed = look.pressed;
  PaintPushButton(dib.Pixels(), face, style, text, system, Backdrop{nullptr, {}, kDialogColor});
  return OwningCopy(dib);
}

// A label: white text on the dialog's colour, on one line from its top-left corner.
Bitmap PaintedLabel(Size size, const std::string& text) {
  DibSection dib;
  dib.Resize(size.width, size.height);
  dib.Pixels().fill(kDialog);
  GdiTextRenderer renderer(&dib);
  const Rect box{0, 0, size.width, size.height};
  renderer.Draw(dib.Pixels(), text, Font{"MS Sans Serif", 11, false}, clWhite, box, box,
                kTextSingleLine);
  return OwningCopy(dib);
}

// How far a label's text really reaches: one past its last lit column, drawn with room to
// spare.
int InkWidth(const std::string& text) {
  const Bitmap wide = PaintedLabel({300, 14}, text);
  int width = 0;
  for (int y = 0; y < wide.height(); ++y) {
    for (int x = 0; x < wide.width(); ++x) {
      if (wide.pixel(x, y) == clWhite)
        width = std::max(width, x + 1);
    }
  }
  return width;
}

// The screen rectangle of the child window at a client point of `parent`.
RECT ChildRect(HWND parent, int x, int y) {
  RECT r{};
  if (HWND child = ChildWindowFromPointEx(parent, {x, y}, CWP_SKIPINVISIBLE))
    GetWindowRect(child, &r);
  return r;
}

// ---------------------------------------------------------------------------------------------
// The lab process

class WidgetLab {
 public:
  WidgetLab() {
    log_ = folder_.Path() + L"\\lab.log";
    // The pointer starts well away from the dialog, so nothing is hot by accident.
    MoveMouse(1200, 780);
    const std::wstring exe = BinFolder() + L"\\widget_lab.exe";
    std::wstring commandLine = L"\"" + exe + L"\" \"" + log_ + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.Path().c_str(), &si, &process_))
      throw std::runtime_error("cannot start widget_lab.exe");
    command_ = RegisterWindowMessageW(lab::kCommandMessage);
    Poll([&] { return (form_ = FindProcessWindow(process_.dwProcessId, lab::kFormClass, true)); });
    if (!form_)
      throw std::runtime_error("the lab's dialog did not appear");
    Poll([&] { return GetForegroundWindow() == form_; });
    // Shown is not yet painted: wait until the bar, a button and the panel show something
    // other than the dialog's colour (or the black of an empty screen).
    Poll([&] {
      const RECT r = FormRect();
      const auto painted = [&](int x, int y) {
        const COLORREF c = ScreenPixel(r.left + x, r.top + y);
        return c != 0 && c != RGB(64, 128, 128);
      };
      return painted(3, 5) && painted(lab::kOkLeft + 5, lab::kOkTop + 3) &&
             painted(300, lab::kPanelTop + 2) && painted(10, 50);
    });
  }
  ~WidgetLab() {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
  WidgetLab(const WidgetLab&) = delete;
  WidgetLab& operator=(const WidgetLab&) = delete;

  HWND Form() const { return form_; }
  RECT FormRect() const {
    RECT r{};
    GetWindowRect(form_, &r);
    return r;
  }
  HWND DragBar() const { return FindWindowExW(form_, nullptr, L"TsDragBar", nullptr); }

  LRESULT Send(lab::Command command, LPARAM arg = 0) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(form_, command_, command, arg, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
  }
  HWND ControlWindow(Control c) const {
    return reinterpret_cast<HWND>(Send(lab::kControlWindow, c));
  }
  RECT ScreenRect(Control c) const {
    RECT r{};
    GetWindowRect(ControlWindow(c), &r);
    return r;
  }
  POINT Centre(Control c) const {
    const RECT r = ScreenRect(c);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  bool Pressed(Control c) const { return Send(lab::kPressed, c) != 0; }
  void Focus(Control c) const {
    Send(lab::kFocus, c);
    Poll([&] { return FocusOf(form_) == ControlWindow(c); });
  }

  std::vector<std::string> Log() const {
    std::vector<std::string> lines;
    const std::string text = ReadFileBytes(log_);
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }
  bool Logged(const std::string& line) const {
    for (const std::string& l : Log()) {
      if (l == line)
        return true;
    }
    return false;
  }
  bool WaitLogged(const std::string& line) const {
    return Poll([&] { return Logged(line); });
  }
  // The reopened dialog after a modal result closed it.
  bool WaitShownAgain() const {
    return Poll([&] { return IsWindowVisible(form_) && GetForegroundWindow() == form_; });
  }

  // Polls until the control's pixels on the screen equal `expected` (outside its corners).
  ::testing::AssertionResult ShowsFace(Control c, const Bitmap& expected) const {
    std::string differences;
    Poll(
        [&] {
          differences = Differences(CaptureScreen(ScreenRect(c)), expected);
          return differences.empty();
        },
        3000);
    if (differences.empty())
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << lab::kNames[c] << ": " << differences;
  }

 private:
  TempFolder folder_;
  std::wstring log_;
  PROCESS_INFORMATION process_{};
  UINT command_ = 0;
  HWND form_ = nullptr;
};

bool SameSize(const RECT& a, const RECT& b) {
  return a.right - a.left == b.right - b.left && a.bottom - a.top == b.bottom - b.top;
}

// A left (or right) press at `from`, moved in two steps by about (dx, dy), released. Returns
// the distance the pointer really went (absolute input may land a pixel off).
POINT Drag(POINT from, int dx, int dy, bool right = false) {
  MoveMouse(from.x, from.y);
  Settle(50);
  POINT start{};
  GetCursorPos(&start);
  MouseButton(true, right);
  Settle(80);
  MoveMouse(from.x + dx / 2, from.y + dy / 2);
  Settle(80);
  MoveMouse(from.x + dx, from.y + dy);
  Settle(80);
  POINT end{};
  GetCursorPos(&end);
  MouseButton(false, right);
  return {end.x - start.x, end.y - start.y};
}

// ---------------------------------------------------------------------------------------------
// Drag bar

TEST(DragBar, LiesAcrossTheTopWithTheHandPointer) {
  WidgetLab lab;
  HWND bar = lab.DragBar();
  ASSERT_NE(bar, nullptr);
  RECT barRect{};
  GetWindowRect(bar, &barRect);
  const RECT form = lab.FormRect();
  EXPECT_EQ(barRect.left, form.left);
  EXPECT_EQ(barRect.top, form.top);
  EXPECT_EQ(barRect.right, form.right);
  EXPECT_EQ(barRect.bottom - barRect.top, 20);
  // A borderless popup: no caption, no frame.
  const LONG_PTR style = GetWindowLongPtrW(lab.Form(), GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME));
  EXPECT_EQ(form.right - form.left, lab::kClientWidth);
  EXPECT_EQ(form.bottom - form.top, lab::kClientHeight);

  // The pointer over the bar is the hand, elsewhere on the dialog it is not.
  const auto pointer = [] {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    GetCursorInfo(&info);
    return reinterpret_cast<LRESULT>(info.hCursor);
  };
  const LRESULT hand = lab.Send(lab::kHandCursor);
  ASSERT_NE(hand, 0);
  MoveMouse(barRect.left + 30, barRect.top + 10);
  EXPECT_TRUE(Poll([&] { return pointer() == hand; }));
  MoveMouse(barRect.left + 30, barRect.top + 30);
  EXPECT_TRUE(Poll([&] { return pointer() != hand; }));
}

TEST(DragBar, LeftPressOnTheGradientMovesTheDialogByTheDragDistance) {
  WidgetLab lab;
  const RECT before = lab.FormRect();
  const POINT moved = Drag({before.left + 20, before.top + 10}, 60, 40);
  ASSERT_GT(moved.x, 50);
  ASSERT_GT(moved.y, 30);
  ASSERT_TRUE(Poll([&] {
    const RECT r = lab.FormRect();
    return r.left == before.left + moved.x && r.top == before.top + moved.y;
  })) << "moved by "
      << lab.FormRect().left - before.left << "," << lab.FormRect().top - before.top
      << ", pointer by " << moved.x << "," << moved.y;
  const RECT after = lab.FormRect();
  EXPECT_TRUE(SameSize(before, after));
  RECT bar{};
  GetWindowRect(lab.DragBar(), &bar);
  EXPECT_EQ(bar.left, after.left);
  EXPECT_EQ(bar.top, after.top);
  EXPECT_TRUE(lab.Logged("bar-down left"));

  // Closed by a modal result, the dialog reopens where it was left.
  Click(lab.Centre(lab::kClose).x, lab.Centre(lab::kClose).y);
  ASSERT_TRUE(lab.WaitLogged("modal 1"));
  ASSERT_TRUE(lab.WaitShownAgain());
  EXPECT_EQ(lab.FormRect().left, after.left);
  EXPECT_EQ(lab.FormRect().top, after.top);
}

TEST(DragBar, PressOnTheCaptionTextMovesTheSame) {
  WidgetLab lab;
  const RECT before = lab.FormRect();
  const POINT moved = Drag({(before.left + before.right) / 2, before.top + 9}, -70, 25);
  ASSERT_LT(moved.x, -60);
  ASSERT_GT(moved.y, 15);
  ASSERT_TRUE(Poll([&] {
    const RECT r = lab.FormRect();
    return r.left == before.left + moved.x && r.top == before.top + moved.y;
  }));
  EXPECT_TRUE(SameSize(before, lab.FormRect()));
}

TEST(DragBar, RightPressOnlyReportsAndDoesNotMove) {
  WidgetLab lab;
  const RECT before = lab.FormRect();
  Drag({before.left + 20, before.top + 10}, 60, 40, true);
  ASSERT_TRUE(lab.WaitLogged("bar-down right"));
  Settle(300);
  const RECT after = lab.FormRect();
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  // A right-button context menu would have taken the foreground.
  EXPECT_EQ(GetForegroundWindow(), lab.Form());
}

TEST(DragBar, WithoutADraggedControlAPressIsOnlyReported) {
  WidgetLab lab;
  lab.Send(lab::kDetachBar);
  const RECT before = lab.FormRect();
  Drag({before.left + 20, before.top + 10}, 60, 40);
  ASSERT_TRUE(lab.WaitLogged("bar-down left"));
  Settle(300);
  EXPECT_EQ(lab.FormRect().left, before.left);
  EXPECT_EQ(lab.FormRect().top, before.top);
}

TEST(DragBar, PixelsFollowTheGradientRuleTheBevelAndThePainter) {
  WidgetLab lab;
  RECT bar{};
  GetWindowRect(lab.DragBar(), &bar);
  SaveShot("dragbar", bar);
  const Bitmap screen = CaptureScreen(bar);
  const int w = screen.width();
  ASSERT_EQ(screen.height(), 20);

  // Column 3 lies inside the bevel's top and bottom bands, outside its side bands and left of
  // the centred caption: navy (blue 128) to blue over 49 % (rows 0..9), back to navy over 50 %
  // (rows 9..19), 70 % of that over 30 % of the plain colour; rows 0 and 1 lightened towards 255
  // with m = 0 and 127, rows 16 to 18 darkened towards 0 with m = 255, 170 and 85.
  const std::vector<Color> rows = GradientRows(20, {{rgb(0, 0, 128), rgb(0, 0, 255), 49},
                                                    {rgb(0, 0, 255), rgb(0, 0, 128), 50},
                                                    {rgb(0, 0, 128), rgb(0, 0, 128), 0}});
  EXPECT_EQ(rows[0], rgb(0, 0, 128));
  EXPECT_EQ(rows[9], rgb(0, 0, 255));
  EXPECT_EQ(rows[19], rgb(0, 0, 128));
  for (int y = 0; y < 20; ++y) {
    Color expected = Mix(rows[static_cast<size_t>(y)], kDialog, 70);
    if (y < 2)
      expected = ShadeColor(expected, 255, y * 127);
    else if (y >= 16 && y <= 18)
      expected = ShadeColor(expected, 0, 255 - (y - 16) * 85);
    EXPECT_EQ(screen.pixel(3, y), expected) << "row " << y;
  }
  // Row 5: blue 128 + 5 x 127 / 9 = 198.6 -> 199, then 0.7 x 199 + 0.3 x 128 = 177.7 -> 178.
  EXPECT_EQ(screen.pixel(3, 5), rgb(19, 38, 178));

  // The four corner pixels are left out of the window: the dialog's colour shows there.
  EXPECT_EQ(screen.pixel(0, 0), kDialog);
  EXPECT_EQ(screen.pixel(w - 1, 0), kDialog);
  EXPECT_EQ(screen.pixel(0, 19), kDialog);
  EXPECT_EQ(screen.pixel(w - 1, 19), kDialog);

  // The whole strip, caption included, as the portable painter draws it at this size.
  EXPECT_EQ(Differences(screen, PaintedDragBar({w, 20}, lab::kBarCaptions[0], true)), "");
}

TEST(DragBar, NewCaptionAndDisabledLookAreRepaintedAndADisabledBarDoesNotMove) {
  WidgetLab lab;
  RECT bar{};
  GetWindowRect(lab.DragBar(), &bar);
  const Size size{bar.right - bar.left, 20};
  const Bitmap enabled = PaintedDragBar(size, lab::kBarCaptions[0], true);

  lab.Send(lab::kBarCaption, 1);
  const Bitmap renamed = PaintedDragBar(size, lab::kBarCaptions[1], true);
  ASSERT_NE(Differences(renamed, enabled), "");
  EXPECT_TRUE(Poll([&] { return Differences(CaptureScreen(bar), renamed).empty(); }, 3000))
      << Differences(CaptureScreen(bar), renamed);

  lab.Send(lab::kEnableBar, 0);
  const Bitmap embossed = PaintedDragBar(size, lab::kBarCaptions[1], false);
  ASSERT_NE(Differences(embossed, renamed), "");
  EXPECT_TRUE(Poll([&] { return Differences(CaptureScreen(bar), embossed).empty(); }, 3000))
      << Differences(CaptureScreen(bar), embossed);
  SaveShot("dragbar-disabled", bar);

  const RECT before = lab.FormRect();
  Drag({before.left + 20, before.top + 10}, 60, 40);
  Settle(300);
  EXPECT_EQ(lab.FormRect().left, before.left);
  EXPECT_EQ(lab.FormRect().top, before.top);
  EXPECT_FALSE(lab.Logged("bar-down left"));
}

// ---------------------------------------------------------------------------------------------
// Push button: mouse

TEST(Button, ClickSetsTheModalResultBeforeOnClickAndAZeroResultKeepsTheDialogOpen) {
  WidgetLab lab;
  Click(lab.Centre(lab::kOk).x, lab.Centre(lab::kOk).y);
  ASSERT_TRUE(lab.WaitLogged("click ok 0"));
  Settle(200);
  EXPECT_FALSE(lab.Logged("modal 0"));
  EXPECT_TRUE(IsWindowVisible(lab.Form()));
  // Any press takes the focus.
  EXPECT_EQ(FocusOf(lab.Form()), lab.ControlWindow(lab::kOk));

  Click(lab.Centre(lab::kClose).x, lab.Centre(lab::kClose).y);
  ASSERT_TRUE(lab.WaitLogged("click close 1"));
  ASSERT_TRUE(lab.WaitLogged("modal 1"));
  EXPECT_TRUE(lab.WaitShownAgain());
}

TEST(Button, HeldDownItLooksPushedAndReleaseInsideClicks) {
  WidgetLab lab;
  const POINT c = lab.Centre(lab::kOk);
  MoveMouse(c.x, c.y);
  Settle(50);
  MouseButton(true);
  ASSERT_TRUE(Poll([&] { return lab.Pressed(lab::kOk); }));
  const Size size{lab::kButtonWidth, lab::kButtonHeight};
  const Bitmap pushed = PaintedButton(size, "Ок", {true, true, true});
  EXPECT_TRUE(lab.ShowsFace(lab::kOk, pushed));
  // Lowered bevel: the top row is shaded all the way to black.
  EXPECT_EQ(CaptureScreen(lab.ScreenRect(lab::kOk)).pixel(37, 0), clBlack);
  SaveShot("button-pressed", lab.FormRect());
  EXPECT_FALSE(lab.Logged("click ok 0"));
  MouseButton(false);
  ASSERT_TRUE(lab.WaitLogged("click ok 0"));
  EXPECT_FALSE(lab.Pressed(lab::kOk));
  EXPECT_TRUE(lab.Logged("down ok left"));
  EXPECT_TRUE(lab.Logged("up ok left"));
}

TEST(Button, ReleasedOutsideItGivesNoClickAndSpringsBack) {
  WidgetLab lab;
  const POINT c = lab.Centre(lab::kOk);
  const RECT form = lab.FormRect();
  MoveMouse(c.x, c.y);
  Settle(50);
  MouseButton(true);
  ASSERT_TRUE(Poll([&] { return lab.Pressed(lab::kOk); }));
  MoveMouse(form.right - 10, form.top + 35);  // empty dialog area
  Settle(80);
  MouseButton(false);
  ASSERT_TRUE(lab.WaitLogged("up ok left"));
  Settle(200);
  EXPECT_FALSE(lab.Pressed(lab::kOk));
  EXPECT_FALSE(lab.Logged("click ok 0"));
  // Focused but neither pushed nor under the pointer: the raised hot face with the focus dots.
  EXPECT_TRUE(lab.ShowsFace(lab::kOk, PaintedButton({75, 25}, "Ок", {false, true, false})));
}

TEST(Button, UnderThePointerItShowsTheHotFaceWithTheWideBevel) {
  WidgetLab lab;
  const Size size{lab::kButtonWidth, lab::kButtonHeight};
  // Not hot: the normal gradient at row 3, (64,128,128) to silver over 24 rows: 3 x 128 / 24
  // and 3 x 64 / 24 up from the start; the 2-pixel bevel does not reach row 3.
  EXPECT_TRUE(lab.ShowsFace(lab::kCancel, PaintedButton(size, "Отмена", {})));
  EXPECT_EQ(CaptureScreen(lab.ScreenRect(lab::kCancel)).pixel(37, 3), rgb(80, 136, 136));

  const POINT c = lab.Centre(lab::kCancel);
  MoveMouse(c.x, c.y);
  EXPECT_TRUE(lab.ShowsFace(lab::kCancel, PaintedButton(size, "Отмена", {true, false, false})));
  // Hot, row 3: grey 128 to white over 10 rows from row 2 gives 140.7 -> 141; 70 % of it over
  // 30 % of (143,183,207) gives (142,154,161); the 5-pixel bevel's top band at row 3 has
  // m = 3 x 51 = 153 towards 255.
  EXPECT_EQ(CaptureScreen(lab.ScreenRect(lab::kCancel)).pixel(37, 3), rgb(187, 194, 198));
  SaveShot("button-hot", lab.FormRect());

  MoveMouse(1200, 780);
  EXPECT_TRUE(lab.ShowsFace(lab::kCancel, PaintedButton(size, "Отмена", {})));
}

TEST(Button, PointerThatLeftWhileTheDialogWasClosedLeavesNoHotLook) {
  WidgetLab lab;
  const Size size{lab::kButtonWidth, lab::kButtonHeight};
  const POINT c = lab.Centre(lab::kOk);
  MoveMouse(c.x, c.y);
  ASSERT_TRUE(lab.ShowsFace(lab::kOk, PaintedButton(size, "Ок", {true, false, false})));
  // Esc from the edit closes through "Отмена"; the pointer moves away while the dialog is
  // hidden.
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(lab.WaitLogged("modal 2"));
  MoveMouse(1200, 780);
  ASSERT_TRUE(lab.WaitShownAgain());
  EXPECT_TRUE(lab.ShowsFace(lab::kOk, PaintedButton(size, "Ок", {})));
}

TEST(Button, DisabledItIgnoresClicksAndIsHalfBlendedWithWhatLiesBehind) {
  WidgetLab lab;
  const Size size{lab::kButtonWidth, lab::kButtonHeight};
  const Bitmap face = PaintedButton(size, "Выкл", {});
  Bitmap expected = face;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x)
      expected.setPixel(x, y, Mix(face.pixel(x, y), kDialog, 50));
  }
  EXPECT_TRUE(lab.ShowsFace(lab::kOff, expected));

  // On the drawn panel the blend is with the panel's gradient under the button: red to green
  // over 50 % of 50 rows, then green to blue.
  const std::vector<Color> panel =
      GradientRows(lab::kPanelHeight,
                   {{rgb(255, 0, 0), rgb(0, 255, 0), 50}, {rgb(0, 255, 0), rgb(0, 0, 255), 50}});
  const Bitmap panelFace = PaintedButton(size, "Панель", {});
  Bitmap onPanel = panelFace;
  for (int y = 0; y < size.height; ++y) {
    for (int x = 0; x < size.width; ++x) {
      const Color back = panel[static_cast<size_t>(lab::kOnPanelTop + y)];
      onPanel.setPixel(x, y, Mix(panelFace.pixel(x, y), back, 50));
    }
  }
  EXPECT_TRUE(lab.ShowsFace(lab::kOnPanel, onPanel));
  const Bitmap screen = CaptureScreen(lab.ScreenRect(lab::kOnPanel));
  EXPECT_EQ(screen.pixel(0, 0), panel[lab::kOnPanelTop]);  // a soft corner shows the panel
  SaveShot("button-disabled", lab.FormRect());

  Click(lab.Centre(lab::kOff).x, lab.Centre(lab::kOff).y);
  Click(lab.Centre(lab::kOnPanel).x, lab.Centre(lab::kOnPanel).y);
  Settle(300);
  EXPECT_FALSE(lab.Logged("down off left"));
  EXPECT_FALSE(lab.Logged("click off 1"));
  EXPECT_FALSE(lab.Logged("click onpanel 1"));
  EXPECT_FALSE(lab.Logged("modal 1"));

  lab.Send(lab::kEnable, lab::kOff | (1 << 8));
  EXPECT_TRUE(lab.ShowsFace(lab::kOff, face));
  Click(lab.Centre(lab::kOff).x, lab.Centre(lab::kOff).y);
  EXPECT_TRUE(lab.WaitLogged("click off 1"));
  EXPECT_TRUE(lab.WaitLogged("modal 1"));
}

// ---------------------------------------------------------------------------------------------
// Push button: keys

TEST(Button, EnterClicksTheFocusedButtonAndNothingFromAnEdit) {
  WidgetLab lab;
  lab.Focus(lab::kEdit);
  PressKey(VK_RETURN);
  Settle(300);
  EXPECT_TRUE(lab.Log().empty());

  lab.Focus(lab::kOk);
  EXPECT_TRUE(lab.ShowsFace(lab::kOk, PaintedButton({75, 25}, "Ок", {false, true, false})));
  SaveShot("button-focused", lab.FormRect());
  PressKey(VK_RETURN);
  ASSERT_TRUE(lab.WaitLogged("click ok 0"));
  EXPECT_FALSE(lab.Pressed(lab::kOk));

  // Tab goes on from the button in the tab order, and Enter follows the focus.
  PressKey(VK_TAB);
  ASSERT_TRUE(Poll([&] { return FocusOf(lab.Form()) == lab.ControlWindow(lab::kCancel); }));
  PressKey(VK_RETURN);
  EXPECT_TRUE(lab.WaitLogged("click cancel 2"));
  EXPECT_TRUE(lab.WaitLogged("modal 2"));
}

TEST(Button, EscClicksTheCancelButtonWhereverTheFocusIs) {
  WidgetLab lab;
  lab.Focus(lab::kEdit);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(lab.WaitLogged("click cancel 2"));
  ASSERT_TRUE(lab.WaitLogged("modal 2"));
  ASSERT_TRUE(lab.WaitShownAgain());

  lab.Focus(lab::kOk);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Poll([&] { return lab.Log().size() == 4; }));
  EXPECT_FALSE(lab.Logged("click ok 0"));
}

TEST(Button, EnterOrEscWithAModifierHeldClicksNothing) {
  WidgetLab lab;
  lab.Focus(lab::kOk);
  Key(VK_SHIFT, true);
  PressKey(VK_RETURN);
  PressKey(VK_ESCAPE);
  Key(VK_SHIFT, false);
  Settle(300);
  EXPECT_TRUE(lab.Log().empty());
}

TEST(Button, SpacePushesOnKeyDownAndClicksOnRelease) {
  WidgetLab lab;
  lab.Focus(lab::kOk);
  Key(VK_SPACE, true);
  ASSERT_TRUE(Poll([&] { return lab.Pressed(lab::kOk); }));
  EXPECT_TRUE(lab.ShowsFace(lab::kOk, PaintedButton({75, 25}, "Ок", {false, true, true})));
  Settle(200);
  EXPECT_FALSE(lab.Logged("click ok 0"));
  Key(VK_SPACE, false);
  ASSERT_TRUE(lab.WaitLogged("click ok 0"));
  EXPECT_FALSE(lab.Pressed(lab::kOk));
  EXPECT_EQ(lab.Log().size(), 1u);

  // From an edit, Space is just a character.
  lab.Focus(lab::kEdit);
  PressKey(VK_SPACE);
  Settle(200);
  EXPECT_EQ(lab.Log().size(), 1u);
}

TEST(Button, AcceleratorPushesOnKeyDownAndClicksOnRelease) {
  WidgetLab lab;
  lab.Focus(lab::kOk);
  Key('A', true);
  ASSERT_TRUE(Poll([&] { return lab.Pressed(lab::kApply); }));
  EXPECT_EQ(FocusOf(lab.Form()), lab.ControlWindow(lab::kApply));
  Settle(200);
  EXPECT_FALSE(lab.Logged("click apply 0"));
  Key('A', false);
  ASSERT_TRUE(lab.WaitLogged("click apply 0"));
  EXPECT_FALSE(lab.Pressed(lab::kApply));

  // In an edit the letter is typed, not taken as the accelerator.
  lab.Focus(lab::kEdit);
  PressKey('A');
  Settle(200);
  EXPECT_EQ(lab.Log().size(), 1u);

  // A character typed by injection (no key of its own) clicks at its release as well.
  lab.Focus(lab::kOk);
  TypeText(L"a");
  EXPECT_TRUE(Poll([&] { return lab.Log().size() == 2; }));
  EXPECT_EQ(lab.Log().back(), "click apply 0");
  EXPECT_FALSE(lab.Pressed(lab::kApply));
}

// ---------------------------------------------------------------------------------------------
// Dialog frame

TEST(DialogFrame, LabelIsWhiteOnTheDialogColourAndTheEditWhite) {
  WidgetLab lab;
  const RECT form = lab.FormRect();
  // The label "Имя:" at 8, 28: white text on the dialog colour, its whole text shown.
  const RECT label = ChildRect(lab.Form(), 10, 30);
  const Size size{label.right - label.left, label.bottom - label.top};
  ASSERT_EQ(label.left, form.left + 8);
  ASSERT_EQ(label.top, form.top + 28);
  EXPECT_GE(size.width, InkWidth("Имя:"));
  const Bitmap expected = PaintedLabel(size, "Имя:");
  std::string differences;
  EXPECT_TRUE(Poll(
      [&] {
        differences = Differences(CaptureScreen(label), expected);
        return differences.empty();
      },
      3000))
      << differences;
  // The edit's inside (within its sunken border) is white.
  RECT edit{};
  GetWindowRect(lab.ControlWindow(lab::kEdit), &edit);
  const int middle = (edit.top + edit.bottom) / 2;
  EXPECT_TRUE(Poll(
      [&] {
        return ScreenPixel(edit.left + 5, middle) == RGB(255, 255, 255) &&
               ScreenPixel(edit.right - 5, middle) == RGB(255, 255, 255);
      },
      3000));
}

// ---------------------------------------------------------------------------------------------
// In a real dialog: the command editor of karvoss.exe

TEST(RealDialog, CommandEditorsBarAndDisabledAddButtonLookAsDrawnAndIgnoreClicks) {
  Karvoss karvoss;
  karvoss.Run(L"commed");
  HWND editor = nullptr;
  ASSERT_TRUE(Poll(
      [&] { return (editor = FindProcessWindow(karvoss.Pid(), L"TForm2", true)) != nullptr; }));
  POINT origin{0, 0};
  ClientToScreen(editor, &origin);

  // bAddEdit at 136, 214, 129 x 21, disabled while the name and path are empty: its face half
  // blended with the dialog's colour.
  const RECT add{origin.x + 136, origin.y + 214, origin.x + 136 + 129, origin.y + 214 + 21};
  const Bitmap face = PaintedButton({129, 21}, "Добавить/Изменить", {});
  Bitmap expected = face;
  for (int y = 0; y < face.height(); ++y) {
    for (int x = 0; x < face.width(); ++x)
      expected.setPixel(x, y, Mix(face.pixel(x, y), kDialog, 50));
  }
  std::string differences;
  EXPECT_TRUE(Poll(
      [&] {
        differences = Differences(CaptureScreen(add), expected);
        return differences.empty();
      },
      5000))
      << differences;

  // sDragBar1 across the 497-pixel client width.
  const RECT bar{origin.x, origin.y, origin.x + 497, origin.y + 20};
  const Bitmap painted = PaintedDragBar({497, 20}, "Редактор команд", true);
  EXPECT_TRUE(Poll(
      [&] {
        differences = Differences(CaptureScreen(bar), painted);
        return differences.empty();
      },
      5000))
      << differences;
  SaveShot("command-editor", {origin.x, origin.y, origin.x + 497, origin.y + 270});

  // The label "Команда/путь:" at 136, 69 shows all of its text, the colon included.
  const RECT label = ChildRect(editor, 140, 72);
  ASSERT_EQ(label.left, origin.x + 136);
  EXPECT_GE(label.right - label.left, InkWidth("Команда/путь:"));
  const Bitmap text =
      PaintedLabel({label.right - label.left, label.bottom - label.top}, "Команда/путь:");
  EXPECT_TRUE(Poll(
      [&] {
        differences = Differences(CaptureScreen(label), text);
        return differences.empty();
      },
      5000))
      << differences;

  // A click on the disabled button neither takes the focus nor shows anything.
  HWND focus = FocusOf(editor);
  Click(add.left + 60, add.top + 10);
  Settle(300);
  EXPECT_EQ(FocusOf(editor), focus);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
  EXPECT_TRUE(IsWindowVisible(editor));
}

}  // namespace
}  // namespace kv::e2e
