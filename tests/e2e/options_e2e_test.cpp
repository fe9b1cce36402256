// The settings end to end: config.cfg colours the bar at start, its two fallbacks, and the
// options window with its slider, its colour pickers and the platform's colour dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "tests/support/settings_record.h"
#include "tests/e2e/support/harness.h"
#include "toolkit/gdi_win.h"
#include "widgets/gradient.h"

namespace kv::e2e {
namespace {

// The colour dialog's red, green and blue edits (colordlg.h).
constexpr int kColorRedEdit = 706;
constexpr int kColorGreenEdit = 707;
constexpr int kColorBlueEdit = 708;

// Places in the options window's client area.
constexpr POINT kOkButton{8 + 40, 280 + 12};
constexpr POINT kCancelButton{104 + 41, 280 + 12};
constexpr POINT kTopColor{8 + 112, 136 + 32};
constexpr POINT kBottomColor{8 + 112, 136 + 64};

Color ScreenColor(int x, int y) {
  const COLORREF c = ScreenPixel(x, y);
  return rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A Karvoss whose Data\config.cfg holds `bytes` before it starts.
class ConfiguredKarvoss : public Karvoss {
 public:
  explicit ConfiguredKarvoss(const std::string& bytes) : Karvoss(Options{false, L""}) {
    CreateDirectoryW((Folder() + L"\\Data").c_str(), nullptr);
    WriteFileBytes(Config(), bytes);
  }
  std::wstring Config() const { return DataFile(L"config.cfg"); }
};

// Brings the bar down, whatever slide the closing of a dialog left it in.
void BringBarDown(Karvoss& karvoss) {
  ASSERT_TRUE(Poll([&] { return !karvoss.BarVisible() || karvoss.BarRect().top == 0; }));
  if (!karvoss.BarVisible())
    karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
}

// The panel column at x = 4 (left of the field) against the portable painter's output for the
// gradient string the bar builds from these colours.
void ExpectPanelColours(Karvoss& karvoss, Color edge, Color middle) {
  BringBarDown(karvoss);
  Bitmap expected(1, 61);
  PaintGradient(expected, {0, 0, 1, 61},
                ParseGradientData(BuildGradientData(edge, middle, WindowsSystemColors())));
  // The screen may lag the window by a repaint.
  bool same = false;
  Bitmap screen;
  Poll([&] {
    screen = CaptureScreen(4, 0, 1, 61);
    same = true;
    for (int y = 0; y < 61; ++y)
      same = same && screen.pixel(0, y) == expected.pixel(0, y);
    return same;
  });
  for (int y = 0; y < 61 && !same; ++y) {
    EXPECT_EQ(screen.pixel(0, y), expected.pixel(0, y)) << "row " << y;
  }
}

// A point of the command field's fill, right of its text and left of its drop-down button.
POINT FieldFillPoint(Karvoss& karvoss) {
  RECT field{};
  GetWindowRect(karvoss.Field(), &field);
  return {field.right - 60, field.top + 4};
}

class OptionsDialog {
 public:
  explicit OptionsDialog(Karvoss& karvoss) : karvoss_(karvoss) {}

  // Runs "options" and waits for the window.
  HWND Open() {
    karvoss_.Run(L"options");
    Poll([&] { return (form_ = FindProcessWindow(karvoss_.Pid(), L"TOptForm", true)); });
    if (form_)
      Poll([&] { return GetForegroundWindow() == form_; });
    return form_;
  }
  bool WaitClosed() {
    return Poll([&] { return !IsWindowVisible(form_); });
  }

  HWND Form() const { return form_; }
  HWND Slider() const { return FindWindowExW(form_, nullptr, L"msctls_trackbar32", nullptr); }
  std::wstring SpeedCap() const {
    HWND label = FindWindowExW(form_, nullptr, L"TsLabel", nullptr);
    wchar_t text[64]{};
    SendMessageW(label, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
    return text;
  }
  bool WaitSpeedCap(const std::wstring& text) const {
    return Poll([&] { return SpeedCap() == text; });
  }
  POINT Screen(POINT client) const {
    ClientToScreen(form_, &client);
    return client;
  }
  void ClickAt(POINT client) const {
    const POINT p = Screen(client);
    Click(p.x, p.y);
  }

  // The colour dialog opened by a picker, or null.
  HWND WaitColorDialog() const {
    HWND dialog = nullptr;
    Poll([&] {
      for (HWND box : karvoss_.MessageBoxes()) {
        if (GetDlgItem(box, kColorRedEdit))
          dialog = box;
      }
      return dialog != nullptr;
    });
    return dialog;
  }

 private:
  Karvoss& karvoss_;
  HWND form_ = nullptr;
};

void SetColorDialogRgb(HWND dialog, int red, int green, int blue) {
  SetDlgItemInt(dialog, kColorRedEdit, red, FALSE);
  SetDlgItemInt(dialog, kColorGreenEdit, green, FALSE);
  SetDlgItemInt(dialog, kColorBlueEdit, blue, FALSE);
}

TEST(Settings, StoredRecordColoursTheBar) {
  ConfiguredKarvoss karvoss(test::SettingsRecord(20, 0x0000FF, 0x00FF00, 0xFF0000));
  karvoss.Start();
  ExpectPanelColours(karvoss, 0x0000FF, 0x00FF00);
  const POINT fill = FieldFillPoint(karvoss);
  EXPECT_TRUE(Poll([&] { return ScreenColor(fill.x, fill.y) == 0x00FF00; }));
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
}

TEST(Settings, ShortFileIsReportedAndTheBarStillSlides) {
  ConfiguredKarvoss karvoss(std::string(10, '\x05'));
  karvoss.Start();
  HWND box = karvoss.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  const WindowText texts = Karvoss::TextsOf(box);
  EXPECT_EQ(texts.caption, L"Karvoss");
  ASSERT_FALSE(texts.statics.empty());
  EXPECT_EQ(texts.statics.back(), L"Read beyond end of file.");
  Karvoss::Confirm(box);
  ASSERT_TRUE(Poll([&] { return karvoss.MessageBoxes().empty(); }));
  karvoss.Hotkey();
  EXPECT_TRUE(karvoss.WaitShown());
  EXPECT_EQ(ReadFileBytes(karvoss.Config()), std::string(10, '\x05'));
}

// The open for reading and writing fails: the plain message, the file deleted where the system
// allows it, the delay 15 (shown by the options window), and the bar still slides.
void ExpectOpenErrorThenDelay15(ConfiguredKarvoss& karvoss) {
  HWND box = karvoss.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  const WindowText texts = Karvoss::TextsOf(box);
  EXPECT_EQ(texts.caption, L"Karvoss");
  ASSERT_EQ(texts.statics.size(), 1u);  // no icon
  EXPECT_EQ(texts.statics[0], L"Ошибка открытия файла конфигурации");
  Karvoss::Confirm(box);
  ASSERT_TRUE(Poll([&] { return karvoss.MessageBoxes().empty(); }));
  OptionsDialog options(karvoss);
  ASSERT_NE(options.Open(), nullptr);
  EXPECT_TRUE(options.WaitSpeedCap(L"15"));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(options.WaitClosed());
  BringBarDown(karvoss);
}

TEST(Settings, ReadOnlyFileIsReportedAndTheDelayIs15) {
  ConfiguredKarvoss karvoss(test::SettingsRecord(3, 1, 2, 3));
  ASSERT_TRUE(SetFileAttributesW(karvoss.Config().c_str(), FILE_ATTRIBUTE_READONLY));
  // Writable again at the end, so the test folder can be removed.
  struct Writable {
    std::wstring path;
    ~Writable() { SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL); }
  } writable{karvoss.Config()};
  karvoss.Start();
  ExpectOpenErrorThenDelay15(karvoss);
}

TEST(Settings, FileHeldOpenIsReportedAndDeleted) {
  ConfiguredKarvoss karvoss(test::SettingsRecord(3, 1, 2, 3));
  // Held without read or write sharing, but open to deletion.
  HANDLE held = CreateFileW(karvoss.Config().c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  karvoss.Start();
  const bool reported = karvoss.WaitMessageBox() != nullptr;
  CloseHandle(held);
  ASSERT_TRUE(reported);
  ExpectOpenErrorThenDelay15(karvoss);
  EXPECT_FALSE(FileExists(karvoss.Config()));
}

// A second copy ends without touching the settings, even when it cannot open them (before, it
// went on to load them and deleted a file held at that moment).
TEST(Settings, ASecondCopyLeavesAHeldFileAlone) {
  const std::string record = test::SettingsRecord(3, 1, 2, 3);
  ConfiguredKarvoss first(record);
  first.Start();
  ASSERT_TRUE(first.WaitIdle());
  HeldFile held(first.Config(), FILE_SHARE_DELETE);
  ASSERT_TRUE(held.Held());
  Karvoss second(Karvoss::Options{true, first.Folder()});
  HWND box = second.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  Karvoss::Confirm(box);
  EXPECT_TRUE(second.WaitExit());
  held.Release();
  EXPECT_EQ(ReadFileBytes(first.Config()), record);
  EXPECT_TRUE(first.MessageBoxes().empty());
}

// A scanner or backup tool holding the file for a moment at start-up (sharing reading and
// deletion, not writing) costs the user nothing: no message, the file and its colours kept.
TEST(Settings, FileHeldBrieflyAtStartUpIsReadOnceReleased) {
  const std::string record = test::SettingsRecord(7, 0x0000FF, 0x00FF00, 0xFF0000);
  ConfiguredKarvoss karvoss(record);
  HANDLE held =
      CreateFileW(karvoss.Config().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  karvoss.Start();
  karvoss.Bar();
  Settle(150);
  CloseHandle(held);
  ExpectPanelColours(karvoss, 0x0000FF, 0x00FF00);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
  EXPECT_EQ(ReadFileBytes(karvoss.Config()), record);
}

// In a dark scheme the field is all its fill colour: no platform frame, and the drop-down
// arrow on a patch of the fill, not on a white button.
TEST(Settings, DarkFieldShowsNoFrameAndItsArrowOnTheFill) {
  constexpr Color kFill = 0x302010;
  constexpr Color kText = 0x00FFFF;  // yellow
  ConfiguredKarvoss karvoss(test::SettingsRecord(0, 0x101010, kFill, kText));
  karvoss.Start();
  BringBarDown(karvoss);
  RECT field{};
  GetWindowRect(karvoss.Field(), &field);
  const int width = field.right - field.left;
  const int height = field.bottom - field.top;
  ASSERT_EQ(height, 32);
  // The edges: two rows and two columns all round, and the button column band at the right.
  Bitmap shot;
  int wrong = 0;
  Poll([&] {
    shot = CaptureScreen(field.left, field.top, width, height);
    wrong = 0;
    for (int x = 0; x < width; ++x) {
      for (int y : {0, 1, 2, height - 3, height - 2, height - 1})
        wrong += shot.pixel(x, y) != kFill;
    }
    for (int y = 0; y < height; ++y) {
      for (int x : {0, 1, 2})
        wrong += shot.pixel(x, y) != kFill;
    }
    return wrong == 0;
  });
  EXPECT_EQ(wrong, 0);
  // The button: fill and the arrow in the text colour, nothing else (no white, no grey).
  int arrow = 0;
  int other = 0;
  for (int x = width - 20; x < width; ++x) {
    for (int y = 0; y < height; ++y) {
      const Color c = shot.pixel(x, y);
      arrow += c == kText;
      other += c != kText && c != kFill;
    }
  }
  EXPECT_GT(arrow, 4);
  EXPECT_EQ(other, 0);
}

TEST(OptionsWindowTest, OpensWithTheStoredDelayAndTheSliderFocused) {
  Karvoss karvoss;  // no config.cfg: Delay 0
  OptionsDialog options(karvoss);
  ASSERT_NE(options.Open(), nullptr);
  EXPECT_EQ(options.SpeedCap(), L"0");
  EXPECT_TRUE(Poll([&] { return FocusOf(options.Form()) == options.Slider(); }));
  RECT client{};
  GetClientRect(options.Form(), &client);
  EXPECT_EQ(client.right, 194);
  EXPECT_EQ(client.bottom, 310);

  // The slider's own keys: End to Max, Home to Min, the arrows by one.
  PressKey(VK_END);
  EXPECT_TRUE(options.WaitSpeedCap(L"50"));
  EXPECT_EQ(SendMessageW(options.Slider(), TBM_GETPOS, 0, 0), 50);
  PressKey(VK_RIGHT);
  Settle(100);
  EXPECT_EQ(options.SpeedCap(), L"50");
  PressKey(VK_HOME);
  EXPECT_TRUE(options.WaitSpeedCap(L"0"));
  PressKey(VK_RIGHT);
  EXPECT_TRUE(options.WaitSpeedCap(L"1"));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(options.WaitClosed());
  EXPECT_FALSE(FileExists(karvoss.DataFile(L"config.cfg")));

  // Every opening starts from the settings, with the focus on the slider again.
  ASSERT_NE(options.Open(), nullptr);
  EXPECT_EQ(options.SpeedCap(), L"0");
  EXPECT_TRUE(Poll([&] { return FocusOf(options.Form()) == options.Slider(); }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(options.WaitClosed());
}

TEST(OptionsWindowTest, DraggingTheThumbToTheRightEndShows50) {
  Karvoss karvoss;
  OptionsDialog options(karvoss);
  ASSERT_NE(options.Open(), nullptr);
  // The thumb at position 0: 8,2 to 19,25 of the 121 x 33 slider as Wine lays it out (its
  // rectangle cannot be asked for across processes).
  POINT from{13, 13};
  ClientToScreen(options.Slider(), &from);
  MoveMouse(from.x, from.y);
  Settle(50);
  MouseButton(true);
  for (int dx = 10; dx <= 200; dx += 10) {
    MoveMouse(from.x + dx, from.y);
    Settle(20);
    if (dx == 50) {
      // Half way the caption follows the thumb.
      EXPECT_TRUE(Poll([&] {
        const std::wstring caption = options.SpeedCap();
        return caption != L"0" && caption != L"50";
      }));
    }
  }
  MouseButton(false);
  EXPECT_TRUE(options.WaitSpeedCap(L"50"));
  options.ClickAt(kCancelButton);
  EXPECT_TRUE(options.WaitClosed());
}

// Changes in the window, then "Отмена" or Esc: file, memory and look stay as they were, and the
// command still goes to the history.
void ExpectCancelChangesNothing(bool escape) {
  const std::string record = test::SettingsRecord(20, 0x0000FF, 0x00FF00, 0xFF0000, "abc");
  ConfiguredKarvoss karvoss(record);
  karvoss.Start();
  OptionsDialog options(karvoss);
  ASSERT_NE(options.Open(), nullptr);
  EXPECT_EQ(options.SpeedCap(), L"20");
  PressKey(VK_END);
  ASSERT_TRUE(options.WaitSpeedCap(L"50"));
  if (escape)
    PressKey(VK_ESCAPE);
  else
    options.ClickAt(kCancelButton);
  ASSERT_TRUE(options.WaitClosed());
  EXPECT_TRUE(
      Poll([&] { return ReadFileBytes(karvoss.DataFile(L"history.cmh")) == "options\r\n"; }));
  EXPECT_EQ(ReadFileBytes(karvoss.Config()), record);
  ExpectPanelColours(karvoss, 0x0000FF, 0x00FF00);
  // In memory too: the next opening shows the stored delay, and the slider has the focus again
  // even when a button took it last time.
  ASSERT_NE(options.Open(), nullptr);
  EXPECT_EQ(options.SpeedCap(), L"20");
  EXPECT_TRUE(Poll([&] { return FocusOf(options.Form()) == options.Slider(); }));
  Settle(300);
  EXPECT_EQ(FocusOf(options.Form()), options.Slider());
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(options.WaitClosed());
}

TEST(OptionsWindowTest, CancelButtonChangesNothing) {
  ExpectCancelChangesNothing(false);
}

TEST(OptionsWindowTest, EscChangesNothing) {
  ExpectCancelChangesNothing(true);
}

TEST(OptionsWindowTest, OkWithoutChangesRewritesTheSameRecord) {
  const std::string record = test::SettingsRecord(20, 0x0000FF, 0x00FF00, 0xFF0000, "xyz");
  // Bytes after the record are ignored when read and gone after the save.
  ConfiguredKarvoss karvoss(record + "tail");
  karvoss.Start();
  OptionsDialog options(karvoss);
  ASSERT_NE(options.Open(), nullptr);
  options.ClickAt(kOkButton);
  ASSERT_TRUE(options.WaitClosed());
  EXPECT_TRUE(Poll([&] { return ReadFileBytes(karvoss.Config()) == record; }));
  ExpectPanelColours(karvoss, 0x0000FF, 0x00FF00);
}

TEST(OptionsWindowTest, ColourChosenInTheDialogReachesTheBarAfterOk) {
  Karvoss karvoss;
  OptionsDialog options(karvoss);
  ASSERT_NE(options.Open(), nullptr);
  // The middle colour's picker; the swatch (31 x 11 at 8,6 of the picker) shows silver.
  const POINT swatch = options.Screen({kBottomColor.x + 8, kBottomColor.y + 6});
  EXPECT_TRUE(Poll([&] { return ScreenColor(swatch.x, swatch.y) == clSilver; }));
  options.ClickAt({kBottomColor.x + 24, kBottomColor.y + 12});
  HWND dialog = options.WaitColorDialog();
  ASSERT_NE(dialog, nullptr);
  // The dialog starts from the picker's colour.
  EXPECT_EQ(GetDlgItemInt(dialog, kColorRedEdit, nullptr, FALSE), 192u);
  EXPECT_EQ(GetDlgItemInt(dialog, kColorGreenEdit, nullptr, FALSE), 192u);
  EXPECT_EQ(GetDlgItemInt(dialog, kColorBlueEdit, nullptr, FALSE), 192u);
  SetColorDialogRgb(dialog, 255, 0, 0);
  Karvoss::Confirm(dialog);
  ASSERT_TRUE(Poll([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
  EXPECT_TRUE(Poll([&] { return ScreenColor(swatch.x, swatch.y) == 0x0000FF; }));
  options.ClickAt(kOkButton);
  ASSERT_TRUE(options.WaitClosed());
  EXPECT_TRUE(Poll([&] {
    return ReadFileBytes(karvoss.DataFile(L"config.cfg")) ==
           test::SettingsRecord(0, clWhite, 0x0000FF, clBlack);
  }));
  ExpectPanelColours(karvoss, clWhite, 0x0000FF);
  const POINT fill = FieldFillPoint(karvoss);
  EXPECT_TRUE(Poll([&] { return ScreenColor(fill.x, fill.y) == 0x0000FF; }));
}

TEST(OptionsWindowTest, RightClickOpensTheDialogAndItsCancelKeepsTheColour) {
  Karvoss karvoss;
  OptionsDialog options(karvoss);
  ASSERT_NE(options.Open(), nullptr);
  const POINT p = options.Screen({kTopColor.x + 24, kTopColor.y + 12});
  MoveMouse(p.x, p.y);
  Settle(30);
  MouseButton(true, true);
  Settle(30);
  MouseButton(false, true);
  HWND dialog = options.WaitColorDialog();
  ASSERT_NE(dialog, nullptr);
  SetColorDialogRgb(dialog, 0, 0, 255);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(Poll([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
  options.ClickAt(kOkButton);
  ASSERT_TRUE(options.WaitClosed());
  EXPECT_TRUE(Poll([&] {
    return ReadFileBytes(karvoss.DataFile(L"config.cfg")) ==
           test::SettingsRecord(0, clWhite, clSilver, clBlack);
  }));
}

TEST(OptionsWindowTest, PickerStaysPressedWhileItsDialogIsOpen) {
  Karvoss karvoss;
  OptionsDialog options(karvoss);
  ASSERT_NE(options.Open(), nullptr);
  // White swatch: 31 x 11 at 8,6, one pixel right and down while pressed.
  const POINT normalCorner = options.Screen({kTopColor.x + 8, kTopColor.y + 6});
  const POINT pressedCorner = options.Screen({kTopColor.x + 8 + 31, kTopColor.y + 6 + 11});
  ASSERT_TRUE(Poll([&] { return ScreenColor(normalCorner.x, normalCorner.y) == clWhite; }));
  options.ClickAt({kTopColor.x + 24, kTopColor.y + 12});
  HWND dialog = options.WaitColorDialog();
  ASSERT_NE(dialog, nullptr);
  // Out of the way, so the picker shows on the screen.
  SetWindowPos(dialog, nullptr, 0, 380, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT dialogRect{};
  GetWindowRect(dialog, &dialogRect);
  ASSERT_FALSE(PtInRect(&dialogRect, normalCorner) || PtInRect(&dialogRect, pressedCorner));
  EXPECT_TRUE(Poll([&] { return ScreenColor(pressedCorner.x, pressedCorner.y) == clWhite; }));
  EXPECT_NE(ScreenColor(normalCorner.x, normalCorner.y), clWhite);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(Poll([&] { return ScreenColor(normalCorner.x, normalCorner.y) == clWhite; }));
  EXPECT_NE(ScreenColor(pressedCorner.x, pressedCorner.y), clWhite);
  options.ClickAt(kCancelButton);
  EXPECT_TRUE(options.WaitClosed());
}

}  // namespace
}  // namespace kv::e2e
