#include "app/bar.h"

#include "tests/support/settings_record.h"
#include "tests/support/cp1251_codec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/posix_file_system.h"
#include "toolkit/errors.h"
#include "toolkit/keys.h"

namespace kv {
namespace {

using test::ReadBytes;
using test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FakeView : public BarView {
 public:
  // Window.
  bool showing = false;
  bool active = false;
  int top = 0;
  int left = -1;
  int width = 0;
  int alpha = 0;
  int screenWidth = 1280;
  DpiScale scale;
  std::vector<int> tops;                        // every top set while sliding
  std::vector<size_t> suggestionsClosedAtStep;  // how many tops were set by then
  bool timer1 = false;
  bool qtTimer = false;
  std::function<void()> OnProcessMessages;
  // Field.
  std::string field;
  bool fieldSelected = false;
  bool fieldFocused = false;
  std::vector<std::string> dropDown;
  int dropDownRefreshes = 0;
  Rect fieldBounds{8, 13, 8 + 1188, 45};
  Rect okB{360, 12, 392, 44};
  Rect closeB{400, 12, 432, 44};
  std::vector<Point> menus;
  // Colours.
  std::vector<std::string> applied;

  void ShowBarWindow() override {
    showing = true;
    active = !refuseForeground;
  }
  bool refuseForeground = false;  // the system keeps the bar out of the foreground once
  int activations = 0;
  void ActivateBar() override {
    ++activations;
    active = true;
    fieldFocused = true;
  }
  bool saveTimer = false;
  void SetSaveTimer(bool on) override { saveTimer = on; }
  void HideBarWindow() override {
    showing = false;
    active = false;
  }
  bool IsBarShowing() override { return showing; }
  bool IsBarActive() override { return active; }
  int BarTop() override { return top; }
  void SetBarTop(int t) override {
    top = t;
    tops.push_back(t);
  }
  void SetBarBounds(int l, int t, int w) override {
    left = l;
    top = t;
    width = w;
  }
  int ScreenWidth() override { return screenWidth; }
  DpiScale BarScale() override { return scale; }
  void SetBarAlpha(int a) override { alpha = a; }
  void RepaintBar() override {}
  void PaintChanges() override {}
  void RepaintPan() override {}
  void RepaintField() override {}
  void ProcessMessages() override {
    if (OnProcessMessages) {
      auto once = std::move(OnProcessMessages);
      OnProcessMessages = nullptr;
      once();
    }
  }
  void SetTimer1(bool on) override { timer1 = on; }
  void SetQTTimer(bool on) override { qtTimer = on; }
  std::string FieldText() override { return field; }
  void SetFieldText(const std::string& text) override {
    field = text;
    fieldSelected = false;
  }
  void SelectAllField() override { fieldSelected = true; }
  void FocusField() override { fieldFocused = true; }
  void CloseSuggestions() override { suggestionsClosedAtStep.push_back(tops.size()); }
  void SetDropDownItems(const std::vector<std::string>& items) override {
    dropDown = items;
    ++dropDownRefreshes;
  }
  Rect FieldBounds() override { return fieldBounds; }
  Rect OkBBounds() override { return okB; }
  Rect CloseBBounds() override { return closeB; }
  void SetOkBLeft(int l) override { okB = okB.offset(l - okB.left, 0); }
  void SetCloseBLeft(int l) override { closeB = closeB.offset(l - closeB.left, 0); }
  void PopupExitMenu(Point at) override { menus.push_back(at); }
  bool dialogOpen = false;
  int dialogsBroughtToFront = 0;
  bool BringOpenDialogToFront() override {
    dialogsBroughtToFront += dialogOpen;
    return dialogOpen;
  }
  void SetPanelGradient(const std::string& data) override { applied.push_back("gradient " + data); }
  void SetButtonsFontColor(Color c) override { applied.push_back("buttons " + std::to_string(c)); }
  void SetFieldColor(Color c) override { applied.push_back("field " + std::to_string(c)); }
  void SetFieldFontColor(Color c) override { applied.push_back("font " + std::to_string(c)); }
};

class FixedColors : public SystemColors {
 public:
  Color rgbOf(int index) const override { return index == kColorBtnFace ? 0xF0F0F0 : 0x102030; }
};

class FakeSystem : public BarSystem {
 public:
  bool mutexExisted = false;
  HotkeyRegistration hotkey = HotkeyRegistration::registered;
  bool hookInstalls = true;
  bool watching = false;
  bool terminated = false;
  bool unregistered = false;
  std::vector<int> sleeps;
  std::vector<std::string> boxes;
  std::vector<std::string> launches;
  int shellResult = 42;
  FixedColors colors;

  bool CreateInstanceMutex() override { return mutexExisted; }
  HotkeyRegistration RegisterHotkey() override { return hotkey; }
  bool WatchKeyboardForHotkey() override { return watching = hookInstalls; }
  void UnregisterHotkey() override { unregistered = true; }
  int keyboardReady = 0;
  void KeyboardReady() override { ++keyboardReady; }
  bool rearmAsked = false;
  void AskRunningCopyToRearm() override { rearmAsked = true; }
  void Terminate() override { terminated = true; }
  void Sleep(int ms) override { sleeps.push_back(ms); }
  void ShowMessage(const std::string& text) override { boxes.push_back("message: " + text); }
  void ShowErrorBox(const std::string& text) override { boxes.push_back("error: " + text); }
  void ShowWarningBox(const std::string& text, const std::string& caption) override {
    boxes.push_back("warning: " + text + " | " + caption);
  }
  int ShellOpen(const std::string& file, const std::string& parameters,
                const std::string& directory) override {
    launches.push_back(file + " [" + parameters + "] [" + directory + "]");
    return shellResult;
  }
  const SystemColors& Colors() override { return colors; }
};

class NoSession : public SessionControl {
 public:
  bool CallExitWindows(unsigned) override { return false; }
};

class FakeOptions : public OptionsWindow {
 public:
  int speed = 0;
  std::string caption = "888";
  Color top = 0, middle = 0, text = 0;
  int result = kModalResultCancel;
  std::function<void(FakeOptions&)> userEdits;

  void SetSpeed(int p) override { speed = std::clamp(p, 0, 50); }
  int Speed() override { return speed; }
  void SetSpeedCaption(const std::string& c) override { caption = c; }
  void SetColors(Color t, Color m, Color x) override {
    top = t;
    middle = m;
    text = x;
  }
  Color TopColor() override { return top; }
  Color MiddleColor() override { return middle; }
  Color TextColor() override { return text; }
  int ShowModal() override {
    if (userEdits)
      userEdits(*this);
    return result;
  }
};

class FakeDialogs : public BarDialogs {
 public:
  FakeOptions options;
  int ShowHelp() override { return kModalResultOk; }
  int ShowAbout() override { return kModalResultOk; }
  int ShowCommandEditor() override { return kModalResultCancel; }
  OptionsWindow& Options() override { return options; }
};

// A file system whose config file cannot be opened for writing.
class LockedConfig : public test::PosixFileSystem {
 public:
  std::optional<std::string> readFileForUpdate(const std::string&, size_t) override {
    return std::nullopt;
  }
};

// A file system on which one file exists but cannot be read (locked by another program).
class LockedFile : public test::PosixFileSystem {
 public:
  explicit LockedFile(std::string name) : name_(std::move(name)) {}
  bool locked = true;
  std::string readFile(const std::string& path, size_t maxBytes) override {
    if (locked && path.size() >= name_.size() && path.substr(path.size() - name_.size()) == name_) {
      throw FileError(CannotOpenFileMessage(path, "locked"));
    }
    return PosixFileSystem::readFile(path, maxBytes);
  }

 private:
  std::string name_;
};

class BarTest : public ::testing::Test {
 protected:
  void SetUp() override { Make(fs_); }
  void Make(FileSystem& fs) {
    form_ = std::make_unique<TForm1>(view_, system_, session_, dialogs_, fs, codec_,
                                     DataPaths{dir_.Path(), '/'});
  }
  std::string DataFile(const std::string& name) { return dir_.Path() + "/Data/" + name; }
  void ShowShown() {
    form_->ShowPanel();
    view_.tops.clear();
  }

  test::TemporaryFolder dir_;
  test::PosixFileSystem fs_;
  Cp1251Codec codec_;
  FakeView view_;
  FakeSystem system_;
  NoSession session_;
  FakeDialogs dialogs_;
  std::unique_ptr<TForm1> form_;
};

constexpr char kDesigned[] =
    "16777215;12632256;22;0;0;12632256;12632256;54;0;0;12632256;16777215;23;0;0;16777215;"
    "16777215;0;0;0";

TEST_F(BarTest, FirstStartCreatesDataWritesNothingAndWaitsHidden) {
  form_->FormCreate();
  EXPECT_TRUE(fs_.directoryExists(dir_.Path() + "/Data"));
  EXPECT_FALSE(fs_.fileExists(DataFile("config.cfg")));
  EXPECT_FALSE(fs_.fileExists(DataFile("history.cmh")));
  EXPECT_FALSE(view_.showing);
  EXPECT_EQ(view_.top, -100);
  EXPECT_EQ(view_.left, 0);
  EXPECT_EQ(view_.width, 1280);
  EXPECT_EQ(form_->State().CurrentCommand, "Введите команду (help - справка)");
  EXPECT_THAT(system_.boxes, IsEmpty());
  EXPECT_FALSE(system_.terminated);
  // Defaults applied in order: gradient, buttons' font, field fill, field font.
  EXPECT_THAT(view_.applied, ElementsAre(std::string("gradient ") + kDesigned, "buttons 0",
                                         "field 12632256", "font 0"));
  EXPECT_EQ(form_->ConfigPath(), DataFile("config.cfg"));
}

TEST_F(BarTest, SecondInstanceSaysSoOnceAndEndsTouchingNothing) {
  // Settings the exiting copy cannot open: it must neither delete nor rewrite them.
  LockedConfig locked;
  Make(locked);
  fs_.createDirectories(dir_.Path() + "/Data");
  WriteBytes(DataFile("config.cfg"), test::SettingsRecord(20, 1, 2, 3));
  system_.mutexExisted = true;
  system_.hotkey = HotkeyRegistration::taken;  // the first instance holds Win+Z
  form_->FormCreate();
  EXPECT_THAT(system_.boxes,
              ElementsAre("warning: Программа уже запущена! Нажмите сочетание Win+Z для "
                          "вызова консоли. | Karvoss: повторный запуск "));
  EXPECT_TRUE(system_.terminated);
  EXPECT_FALSE(system_.watching);
  EXPECT_EQ(ReadBytes(DataFile("config.cfg")), test::SettingsRecord(20, 1, 2, 3));
  EXPECT_TRUE(system_.rearmAsked);  // a second start repairs a hook the system dropped
}

TEST_F(BarTest, HotkeyHeldByAnotherProgramIsWatchedForOnTheKeyboard) {
  system_.hotkey = HotkeyRegistration::taken;
  form_->FormCreate();
  EXPECT_TRUE(system_.watching);
  EXPECT_THAT(system_.boxes, IsEmpty());
  EXPECT_FALSE(system_.terminated);
}

TEST_F(BarTest, HotkeyThatCanBeNeitherRegisteredNorWatchedIsReportedAndEndsTheProgram) {
  for (const bool hookInstalls : {false, true}) {
    system_ = FakeSystem();
    system_.hotkey = hookInstalls ? HotkeyRegistration::failed : HotkeyRegistration::taken;
    system_.hookInstalls = hookInstalls;
    Make(fs_);
    form_->FormCreate();
    EXPECT_THAT(system_.boxes, ElementsAre("message: Не удалось зарегистрировать сочетание "
                                           "Win+Z: оно занято другой программой."));
    EXPECT_TRUE(system_.terminated);
  }
}

TEST_F(BarTest, DestroyUnregistersTheHotkey) {
  form_->FormCreate();
  form_->FormDestroy();
  EXPECT_TRUE(system_.unregistered);
}

TEST_F(BarTest, ShowSlidesIn19StepsThenPinsAtZero) {
  form_->FormCreate();
  form_->WMHotKey(8, 0x5A);
  std::vector<int> expected;
  for (int t = -95; t <= -5; t += 5)
    expected.push_back(t);
  expected.push_back(0);
  EXPECT_EQ(view_.tops, expected);
  EXPECT_EQ(system_.sleeps.size(), 19u);
  EXPECT_TRUE(view_.timer1);
  EXPECT_EQ(view_.alpha, 255);
  EXPECT_EQ(view_.field, "Введите команду (help - справка)");
  EXPECT_TRUE(view_.fieldSelected);
  EXPECT_TRUE(view_.fieldFocused);
}

// Typing held back since Win+Z goes to the field once it has the keyboard; a bar the system kept
// out of the foreground takes it once more after the slide instead of flickering back up.
TEST_F(BarTest, TheFieldTakesTheKeyboardBeforeTheTimerAndThenReceivesTheHeldKeys) {
  form_->FormCreate();
  form_->WMHotKey(8, 0x5A);
  EXPECT_EQ(view_.activations, 0);
  EXPECT_GE(system_.keyboardReady, 1);
  form_->HidePanel();
  view_.refuseForeground = true;
  system_.keyboardReady = 0;
  view_.OnProcessMessages = [this] { EXPECT_EQ(system_.keyboardReady, 0); };
  form_->WMHotKey(8, 0x5A);
  EXPECT_EQ(view_.activations, 1);
  EXPECT_EQ(system_.keyboardReady, 1);
  form_->Timer1Timer();
  EXPECT_TRUE(view_.showing);
}

TEST_F(BarTest, HideSlidesOut19StepsAndHides) {
  form_->FormCreate();
  ShowShown();
  form_->WMHotKey(8, 0x5A);
  std::vector<int> expected;
  for (int t = -5; t >= -95; t -= 5)
    expected.push_back(t);
  expected.push_back(-100);
  EXPECT_EQ(view_.tops, expected);
  EXPECT_FALSE(view_.showing);
  EXPECT_FALSE(view_.timer1);
  // The suggestion list goes before the first step: it would hang where the bar was.
  EXPECT_THAT(view_.suggestionsClosedAtStep, ElementsAre(0u));
}

TEST_F(BarTest, OtherHotkeyWordsAreIgnored) {
  form_->FormCreate();
  form_->WMHotKey(8, 0x59);
  form_->WMHotKey(2, 0x5A);
  EXPECT_FALSE(view_.showing);
  EXPECT_THAT(view_.tops, IsEmpty());
}

TEST_F(BarTest, WinZWithADialogOpenBringsTheDialogForwardAndLeavesTheBarHidden) {
  form_->FormCreate();
  view_.dialogOpen = true;
  form_->WMHotKey(8, 0x5A);
  EXPECT_EQ(view_.dialogsBroughtToFront, 1);
  EXPECT_FALSE(view_.showing);
  EXPECT_THAT(view_.tops, IsEmpty());
}

TEST_F(BarTest, WinZDuringSlideInEndsHiddenAfterTheFirstTick) {
  form_->FormCreate();
  view_.OnProcessMessages = [this] { form_->WMHotKey(8, 0x5A); };
  form_->WMHotKey(8, 0x5A);
  // The nested hide ran to its end; the outer loop then moved the hidden window down.
  EXPECT_FALSE(view_.showing);
  EXPECT_EQ(view_.top, 0);
  EXPECT_TRUE(view_.timer1);
  form_->Timer1Timer();  // the first tick finds the bar not active
  EXPECT_FALSE(view_.showing);
  EXPECT_EQ(view_.top, -100);
  EXPECT_FALSE(view_.timer1);
}

TEST_F(BarTest, WinZDuringSlideOutEndsHidden) {
  form_->FormCreate();
  ShowShown();
  view_.OnProcessMessages = [this] { form_->WMHotKey(8, 0x5A); };
  form_->WMHotKey(8, 0x5A);
  EXPECT_FALSE(view_.showing);
  EXPECT_EQ(view_.top, -100);
  EXPECT_FALSE(view_.timer1);
}

TEST_F(BarTest, TimerPinsTheBarLaysOutTheButtonsAndHidesWhenInactive) {
  form_->FormCreate();
  ShowShown();
  view_.screenWidth = 1600;
  view_.fieldBounds = {8, 13, 8 + 1508, 45};
  form_->Timer1Timer();
  EXPECT_EQ(view_.width, 1600);
  EXPECT_EQ(view_.top, 0);
  EXPECT_EQ(view_.okB.left, 8 + 1508 + 5);
  EXPECT_EQ(view_.closeB.left, 8 + 1508 + 32 + 10);
  EXPECT_EQ(view_.closeB.right, 1600 - 10);  // "X" ends 10 pixels before the right edge
  EXPECT_TRUE(view_.showing);
  view_.active = false;
  form_->Timer1Timer();
  EXPECT_FALSE(view_.showing);
}

// At 150 % the bar is 92 high and waits 160 above the screen; the slide keeps its 19 steps, of
// 8 pixels; the buttons, 48 wide, keep their scaled gaps of 8 and 15.
TEST_F(BarTest, AtOneAndAHalfTheSlideKeeps19StepsAndTheButtonsTheirScaledGaps) {
  view_.scale = DpiScale(144);
  EXPECT_EQ(
      BarMetricsAt(view_.scale),
      (BarMetrics{.height = 92, .slideStep = 8, .hiddenTop = -160, .okBGap = 8, .closeBGap = 15}));
  form_->FormCreate();
  EXPECT_EQ(view_.top, -160);
  form_->WMHotKey(8, 0x5A);
  std::vector<int> expected;
  for (int t = -152; t <= -8; t += 8)
    expected.push_back(t);
  expected.push_back(0);
  EXPECT_EQ(view_.tops, expected);
  EXPECT_EQ(expected.size(), 20u);

  view_.fieldBounds = {12, 20, 1280 - 126, 68};
  view_.okB = {540, 18, 588, 66};
  view_.closeB = {600, 18, 648, 66};
  form_->Timer1Timer();
  EXPECT_EQ(view_.okB.left, 1280 - 126 + 8);
  EXPECT_EQ(view_.closeB.left, 1280 - 126 + 48 + 15);
  EXPECT_EQ(view_.closeB.right, 1280 - 15);

  view_.tops.clear();
  form_->HidePanel();
  expected.clear();
  for (int t = -8; t >= -152; t -= 8)
    expected.push_back(t);
  expected.push_back(-160);
  EXPECT_EQ(view_.tops, expected);
}

TEST_F(BarTest, EnterOnAnEmptyFieldDoesNothing) {
  form_->FormCreate();
  ShowShown();
  view_.field = "";
  char key = kKeyEnter;
  form_->ECommandKeyPress(key);
  EXPECT_EQ(key, 0);
  EXPECT_THAT(system_.launches, IsEmpty());
  EXPECT_EQ(view_.field, "");
  EXPECT_FALSE(fs_.fileExists(DataFile("history.cmh")));
}

TEST_F(BarTest, BlankOnlyTextIsDispatchedAsTyped) {
  form_->FormCreate();
  ShowShown();
  view_.field = "  ";
  form_->OkBClick();
  EXPECT_THAT(system_.launches, ElementsAre("   [] []"));
  EXPECT_EQ(view_.field, "Выполнение...");
  form_->SaveTimerTimer();
  EXPECT_EQ(ReadBytes(DataFile("history.cmh")), "  \r\n");
}

TEST_F(BarTest, SuccessfulCommandsGoToTheHistoryNewestFirstAndOnce) {
  form_->FormCreate();
  ShowShown();
  for (const char* typed : {"a", "b", "a"}) {
    view_.field = typed;
    form_->OkBClick();
  }
  EXPECT_THAT(view_.dropDown, ElementsAre("a", "b"));
  EXPECT_EQ(form_->State().CurrentCommand, "a");
  // Written while nothing else competes for the disk: once the bar has gone up.
  EXPECT_FALSE(fs_.fileExists(DataFile("history.cmh")));
  EXPECT_TRUE(view_.saveTimer);
  form_->HidePanel();
  EXPECT_EQ(ReadBytes(DataFile("history.cmh")), "a\r\nb\r\n");
  EXPECT_FALSE(view_.saveTimer);
  // The next show offers the last command again, selected.
  form_->ShowPanel();
  EXPECT_EQ(view_.field, "a");
  EXPECT_TRUE(view_.fieldSelected);
}

TEST_F(BarTest, FailedLaunchStaysOutOfTheHistory) {
  form_->FormCreate();
  ShowShown();
  system_.shellResult = 2;
  view_.field = "missing";
  form_->OkBClick();
  EXPECT_EQ(view_.field, "Команда не найдена (2)");
  EXPECT_TRUE(view_.fieldSelected);
  EXPECT_FALSE(fs_.fileExists(DataFile("history.cmh")));
}

TEST_F(BarTest, ClearHistoryLeavesAnEmptyFileAndAnEmptyFieldNextTime) {
  form_->FormCreate();
  ShowShown();
  view_.field = "a";
  form_->OkBClick();
  view_.field = "clearhistory";
  form_->OkBClick();
  EXPECT_EQ(ReadBytes(DataFile("history.cmh")), "");
  EXPECT_TRUE(fs_.fileExists(DataFile("history.cmh")));
  EXPECT_EQ(view_.field, "Введите команду (help - справка)");
  EXPECT_THAT(view_.dropDown, IsEmpty());
  form_->HidePanel();
  form_->ShowPanel();
  EXPECT_EQ(view_.field, "");
}

TEST_F(BarTest, EscHidesWithoutRunningAnything) {
  form_->FormCreate();
  ShowShown();
  view_.field = "notepad";
  char key = kKeyEscape;
  form_->ECommandKeyPress(key);
  EXPECT_EQ(key, 0);
  EXPECT_FALSE(view_.showing);
  EXPECT_EQ(view_.field, "notepad");
  EXPECT_THAT(system_.launches, IsEmpty());
  char other = 'x';
  form_->ECommandKeyPress(other);
  EXPECT_EQ(other, 'x');
}

TEST_F(BarTest, ExitHidesAndAsksToTerminateAndIsStillRecorded) {
  form_->FormCreate();
  ShowShown();
  view_.field = "exit";
  form_->OkBClick();
  EXPECT_FALSE(view_.showing);
  EXPECT_TRUE(system_.terminated);
  EXPECT_THAT(system_.launches, IsEmpty());
  form_->FormDestroy();  // the program ends: what is unsaved is written first
  EXPECT_EQ(ReadBytes(DataFile("history.cmh")), "exit\r\n");
}

// A command run while the bar stays down is written before the next show reads the file.
TEST_F(BarTest, AnUnsavedCommandIsWrittenBeforeTheNextShowReadsTheHistory) {
  form_->FormCreate();
  WriteBytes(DataFile("history.cmh"), "older\r\n");
  ShowShown();
  view_.field = "newer";
  form_->OkBClick();
  view_.showing = false;  // hidden without a slide, as at the end of a session
  form_->ShowPanel();
  EXPECT_THAT(view_.dropDown, ElementsAre("newer", "older"));
  EXPECT_EQ(ReadBytes(DataFile("history.cmh")), "newer\r\nolder\r\n");
}

TEST_F(BarTest, LongPressOnXOpensTheMenuOnceAtTheButton) {
  form_->FormCreate();
  ShowShown();
  form_->CloseBMouseDown();
  EXPECT_TRUE(view_.qtTimer);
  form_->QTTimerTimer();
  EXPECT_FALSE(view_.qtTimer);
  form_->QTTimerTimer();
  EXPECT_THAT(view_.menus, ElementsAre(Point{400, 12}));
  form_->CloseBMouseUp();
  // A short press: released before the first tick, no menu.
  form_->CloseBMouseDown();
  form_->CloseBMouseUp();
  EXPECT_FALSE(view_.qtTimer);
  EXPECT_EQ(view_.menus.size(), 1u);
  form_->N1Click();
  EXPECT_FALSE(view_.showing);
  EXPECT_TRUE(system_.terminated);
}

TEST_F(BarTest, ShortClickOnXNeverOpensTheMenuEvenWhenTheSlideIsSlow) {
  form_->FormCreate();
  ShowShown();
  form_->CloseBMouseDown();
  // The click comes before the release; a tick during its slide must find the timer off.
  view_.OnProcessMessages = [this] {
    if (view_.qtTimer)
      form_->QTTimerTimer();
  };
  form_->CloseBClick();
  form_->CloseBMouseUp();
  EXPECT_FALSE(view_.showing);
  EXPECT_THAT(view_.menus, IsEmpty());
}

TEST_F(BarTest, EachShowReloadsTheStoreAndTheHistoryFromDisk) {
  form_->FormCreate();
  WriteBytes(DataFile("command.cms"), "ed|probe.exe|x|C:\\\r\n");
  WriteBytes(DataFile("history.cmh"), "one\ntwo\n");
  form_->ShowPanel();
  EXPECT_THAT(form_->CommandLines(), ElementsAre("ed|probe.exe|x|C:\\"));
  EXPECT_THAT(view_.dropDown, ElementsAre("one", "two"));
  // Files removed while hidden: the lists keep what they held.
  fs_.removeFile(DataFile("command.cms"));
  fs_.removeFile(DataFile("history.cmh"));
  form_->HidePanel();
  form_->ShowPanel();
  EXPECT_THAT(form_->CommandLines(), ElementsAre("ed|probe.exe|x|C:\\"));
  EXPECT_THAT(form_->HistoryList(), ElementsAre("one", "two"));
}

TEST_F(BarTest, UnreadableHistoryIsReportedOnceDownAndNeverOverwrittenFromAPart) {
  LockedFile locked("history.cmh");
  Make(locked);
  form_->FormCreate();
  WriteBytes(DataFile("history.cmh"), "kept\r\n");
  view_.OnProcessMessages = [this] {
    EXPECT_THAT(system_.boxes, IsEmpty()) << "box held the slide";
  };
  form_->ShowPanel();
  EXPECT_THAT(system_.boxes,
              ElementsAre("error: Cannot open file \"" + DataFile("history.cmh") + "\". locked"));
  EXPECT_TRUE(view_.fieldFocused);
  EXPECT_THAT(view_.dropDown, IsEmpty());
  EXPECT_EQ(view_.top, 0);
  EXPECT_TRUE(view_.timer1);
  // The command still runs; the file, read again and still held, is left as it was.
  view_.field = "probe.exe";
  form_->OkBClick();
  EXPECT_THAT(system_.launches, ElementsAre("probe.exe [] []"));
  form_->HidePanel();
  EXPECT_EQ(system_.boxes.size(), 2u);
  EXPECT_EQ(ReadBytes(DataFile("history.cmh")), "kept\r\n");
}

TEST_F(BarTest, HistoryUnreadAtTheShowIsReadAgainBeforeTheSave) {
  LockedFile locked("history.cmh");
  Make(locked);
  form_->FormCreate();
  WriteBytes(DataFile("history.cmh"), "older\r\n");
  form_->ShowPanel();
  locked.locked = false;  // released meanwhile
  view_.field = "probe.exe";
  form_->OkBClick();
  form_->HidePanel();
  EXPECT_EQ(ReadBytes(DataFile("history.cmh")), "probe.exe\r\nolder\r\n");
}

TEST_F(BarTest, LockedStoreDoesNotKeepTheHistoryFromLoading) {
  LockedFile locked("command.cms");
  Make(locked);
  form_->FormCreate();
  WriteBytes(DataFile("command.cms"), "a|b||\r\n");
  WriteBytes(DataFile("history.cmh"), "one\r\n");
  form_->ShowPanel();
  EXPECT_THAT(view_.dropDown, ElementsAre("one"));
  EXPECT_EQ(system_.boxes.size(), 1u);
}

// A file of the size a launcher never writes is refused before it is read, said once in a run,
// and never rewritten.
TEST_F(BarTest, HistoryAboveTheBoundIsRefusedOnceAndLeftUntouched) {
  form_->FormCreate();
  const std::string path = DataFile("history.cmh");
  std::string huge(kMaxLineListBytes + 1, 'x');
  WriteBytes(path, huge);
  huge.clear();
  for (int show = 0; show < 2; ++show) {
    form_->ShowPanel();
    EXPECT_EQ(view_.top, 0);
    view_.field = "probe.exe";
    form_->OkBClick();
    form_->HidePanel();
  }
  EXPECT_THAT(system_.boxes, ElementsAre("error: " + FileTooLargeMessage(path, kMaxLineListBytes)));
  EXPECT_EQ(std::filesystem::file_size(path), kMaxLineListBytes + 1);
  EXPECT_EQ(system_.launches.size(), 2u);
}

// Settings.

TEST_F(BarTest, StoredSettingsColourTheBar) {
  fs_.createDirectories(dir_.Path() + "/Data");
  WriteBytes(DataFile("config.cfg"), test::SettingsRecord(20, 0x0000FF, 0x00FF00, 0xFF0000));
  form_->FormCreate();
  EXPECT_EQ(form_->CurrentSettings().Delay, 20);
  EXPECT_THAT(view_.applied,
              ElementsAre("gradient 255;65280;22;0;0;65280;65280;54;0;0;65280;255;23;0;0;255;"
                          "255;0;0;0",
                          "buttons 16711680", "field 65280", "font 16711680"));
  form_->ShowPanel();
  EXPECT_EQ(system_.sleeps, std::vector<int>(19, 20));
}

TEST_F(BarTest, ShortSettingsFileIsReportedAndNothingIsApplied) {
  fs_.createDirectories(dir_.Path() + "/Data");
  WriteBytes(DataFile("config.cfg"), std::string(10, '\x05'));
  try {
    form_->FormCreate();
    FAIL() << "expected the read error";
  } catch (const FileError& e) {
    EXPECT_EQ(ErrorBoxText(e.what()), "Read beyond end of file.");
  }
  EXPECT_THAT(view_.applied, IsEmpty());
  EXPECT_EQ(form_->CurrentSettings().Delay, 0);
}

TEST_F(BarTest, UnopenableSettingsFileIsDeletedAndTheDelayIs15) {
  LockedConfig locked;
  Make(locked);
  fs_.createDirectories(dir_.Path() + "/Data");
  WriteBytes(DataFile("config.cfg"), test::SettingsRecord(3, 1, 2, 3));
  form_->FormCreate();
  EXPECT_THAT(system_.boxes, ElementsAre("message: Ошибка открытия файла конфигурации"));
  EXPECT_FALSE(fs_.fileExists(DataFile("config.cfg")));
  EXPECT_EQ(form_->CurrentSettings().Delay, 15);
  EXPECT_EQ(form_->CurrentSettings().EdgeColor, 0);
  EXPECT_THAT(view_.applied, IsEmpty());
}

TEST_F(BarTest, LongerSettingsFileLoadsItsFirstRecordAndTheNextSaveShortensIt) {
  fs_.createDirectories(dir_.Path() + "/Data");
  WriteBytes(DataFile("config.cfg"), test::SettingsRecord(7, 1, 2, 3, "xyz") + "trailing bytes");
  form_->FormCreate();
  EXPECT_EQ(form_->CurrentSettings().Delay, 7);
  dialogs_.options.result = kModalResultOk;
  form_->EditSettings();
  EXPECT_EQ(ReadBytes(DataFile("config.cfg")), test::SettingsRecord(7, 1, 2, 3, "xyz"));
}

TEST_F(BarTest, CancelledOptionsChangeNothing) {
  form_->FormCreate();
  view_.applied.clear();
  dialogs_.options.userEdits = [](FakeOptions& o) {
    o.speed = 40;
    o.top = 0x123456;
  };
  form_->EditSettings();
  EXPECT_EQ(dialogs_.options.caption, "0");
  EXPECT_FALSE(fs_.fileExists(DataFile("config.cfg")));
  EXPECT_EQ(form_->CurrentSettings().Delay, 0);
  EXPECT_THAT(view_.applied, IsEmpty());
}

TEST_F(BarTest, ConfirmedOptionsAreStoredSavedAndApplied) {
  form_->FormCreate();
  view_.applied.clear();
  dialogs_.options.result = kModalResultOk;
  dialogs_.options.userEdits = [](FakeOptions& o) {
    o.speed = 50;
    o.top = systemColor(kColorBtnFace);
    o.middle = 0x00FF00;
    o.text = 0xFF0000;
  };
  form_->EditSettings();
  // The system colour is kept in the record but written as its RGB value into the gradient.
  EXPECT_EQ(ReadBytes(DataFile("config.cfg")),
            test::SettingsRecord(50, systemColor(kColorBtnFace), 0x00FF00, 0xFF0000));
  EXPECT_THAT(view_.applied,
              ElementsAre("gradient 15790320;65280;22;0;0;65280;65280;54;0;0;65280;15790320;23;"
                          "0;0;15790320;15790320;0;0;0",
                          "buttons 16711680", "field 65280", "font 16711680"));
  EXPECT_EQ(form_->CurrentSettings().Delay, 50);
}

TEST_F(BarTest, StoredDelayAbove50IsUsedAndTheWindowShowsTheClampedValue) {
  fs_.createDirectories(dir_.Path() + "/Data");
  WriteBytes(DataFile("config.cfg"), test::SettingsRecord(200, 0, 0, 0));
  form_->FormCreate();
  form_->ShowPanel();
  EXPECT_EQ(system_.sleeps, std::vector<int>(19, 200));
  form_->EditSettings();
  EXPECT_EQ(dialogs_.options.caption, "50");
}

TEST_F(BarTest, FailedSettingsSaveKeepsTheValuesButAppliesNothing) {
  form_->FormCreate();
  view_.applied.clear();
  fs_.createDirectories(DataFile("config.cfg"));  // a folder in the way of the file
  dialogs_.options.result = kModalResultOk;
  dialogs_.options.userEdits = [](FakeOptions& o) { o.speed = 9; };
  EXPECT_THROW(form_->EditSettings(), FileError);
  EXPECT_EQ(form_->CurrentSettings().Delay, 9);
  EXPECT_THAT(view_.applied, IsEmpty());
}

}  // namespace
}  // namespace kv
