#include "app/bar.h"

#include "app/history.h"
#include "app/texts.h"
#include "interpreter/command_store.h"
#include "toolkit/errors.h"
#include "toolkit/keys.h"
#include "toolkit/line_list.h"

namespace kv {

BarMetrics BarMetricsAt(DpiScale scale) {
  const int step = scale(kSlideStep);
  return {.height = scale(kBarHeight),
          .slideStep = step,
          .hiddenTop = kHiddenTop / kSlideStep * step,
          .okBGap = scale(kOkBGap),
          .closeBGap = scale(kCloseBGap)};
}

TForm1::TForm1(BarView& view, BarSystem& system, SessionControl& session, BarDialogs& dialogs,
               FileSystem& fs, const AnsiCodec& codec, DataPaths paths)
    : view_(view),
      system_(system),
      dialogs_(dialogs),
      fs_(fs),
      codec_(codec),
      paths_(std::move(paths)),
      CoolD(session) {}

void TForm1::FormCreate() {
  // A copy that is about to end touches nothing: not the Data folder, not the settings file.
  if (system_.CreateInstanceMutex()) {
    system_.AskRunningCopyToRearm();
    system_.ShowWarningBox(std::string(texts::kAlreadyRunning),
                           std::string(texts::kAlreadyRunningCaption));
    system_.Terminate();
    return;
  }
  const std::string dataFolder = paths_.DataFolder();
  if (!fs_.directoryExists(dataFolder))
    fs_.createDirectories(dataFolder);
  configPath_ = paths_.File("config.cfg");
  state_.CurrentCommand = std::string(texts::kPrompt);

  view_.SetBarBounds(0, BarMetricsAt(view_.BarScale()).hiddenTop, view_.ScreenWidth());

  const HotkeyRegistration hotkey = system_.RegisterHotkey();
  // Windows 11 keeps Win+Z for its snap layouts: then the keyboard is watched for it instead.
  // Without either the program could never be called up or ended: say so and end.
  if (hotkey != HotkeyRegistration::registered &&
      (hotkey != HotkeyRegistration::taken || !system_.WatchKeyboardForHotkey())) {
    system_.ShowMessage(std::string(texts::kHotkeyTaken));
    system_.Terminate();
    return;
  }

  LoadSettings();
  view_.HideBarWindow();
}

void TForm1::FormDestroy() {
  SaveHistory();
  ShowPendingErrors();
  system_.UnregisterHotkey();
}

void TForm1::WMHotKey(unsigned modifiers, unsigned key) {
  if (modifiers != kHotkeyModifierWin || key != kHotkeyKeyZ)
    return;
  if (view_.IsBarShowing()) {
    HidePanel();
  } else if (view_.BringOpenDialogToFront()) {
    system_.KeyboardReady();
  } else {
    // A modal dialog disables the bar: it would come down unable to take a key or a click.
    ShowPanel();
  }
}

void TForm1::ShowPanel() {
  // Shown first, while still above the screen, so that FormShow can take the foreground and
  // the focus; nothing is in view before the alpha value is set.
  view_.ShowBarWindow();
  FormShow();
  if (view_.IsBarActive())
    system_.KeyboardReady();
  view_.RepaintBar();
  const int step = BarMetricsAt(view_.BarScale()).slideStep;
  while (view_.BarTop() < -step) {
    view_.SetBarTop(view_.BarTop() + step);
    view_.RepaintPan();
    view_.ProcessMessages();
    system_.Sleep(settings_.Delay);
    view_.RepaintField();
  }
  view_.SetBarTop(0);
  // Win and Z are usually released by now: a bar that came down without the keyboard takes it
  // once more, instead of being found inactive by Timer1 and sent straight back.
  if (view_.IsBarShowing() && !view_.IsBarActive())
    view_.ActivateBar();
  system_.KeyboardReady();
  ShowPendingErrors();
  view_.SetTimer1(true);
}

void TForm1::HidePanel() {
  // The list hangs below the field: it must not stay behind while the bar slides away.
  view_.CloseSuggestions();
  view_.SetTimer1(false);
  const BarMetrics metrics = BarMetricsAt(view_.BarScale());
  while (view_.BarTop() > metrics.hiddenTop + metrics.slideStep) {
    view_.SetBarTop(view_.BarTop() - metrics.slideStep);
    view_.RepaintPan();
    view_.ProcessMessages();
    system_.Sleep(settings_.Delay);
    view_.RepaintPan();
  }
  view_.SetBarTop(metrics.hiddenTop);
  view_.HideBarWindow();
  // The started program has had its start.
  SaveHistory();
  ShowPendingErrors();
}

void TForm1::FormShow() {
  view_.SetBarAlpha(255);
  view_.SetFieldText(state_.CurrentCommand);
  view_.SelectAllField();
  // Each list on its own: a store that cannot be read must not keep the history from loading.
  // What failed is reported once the bar is down, so that no box holds the slide.
  SaveHistory();
  ReadAtShow([this] { ReloadCommands(); });
  ReadAtShow([this] { LoadHistory(); });
  view_.FocusField();
}

void TForm1::ReadAtShow(const std::function<void()>& read) {
  try {
    read();
  } catch (const FileError& e) {
    if (ShouldReport(e))
      pendingErrors_.emplace_back(e.what());
  }
}

bool TForm1::ShouldReport(const FileError& e) {
  // A file too large to read stays so until someone deals with it: said once, not at every
  // Win+Z. A file held by another program is reported each time.
  if (dynamic_cast<const FileTooLargeError*>(&e) == nullptr)
    return true;
  return reportedTooLarge_.insert(e.what()).second;
}

void TForm1::ShowPendingErrors() {
  std::vector<std::string> errors;
  errors.swap(pendingErrors_);
  for (const std::string& error : errors)
    system_.ShowErrorBox(error);
}

void TForm1::Timer1Timer() {
  view_.SetBarBounds(0, 0, view_.ScreenWidth());
  const BarMetrics metrics = BarMetricsAt(view_.BarScale());
  const Rect field = view_.FieldBounds();
  view_.SetOkBLeft(field.left + field.width() + metrics.okBGap);
  view_.SetCloseBLeft(field.left + field.width() + view_.OkBBounds().width() + metrics.closeBGap);
  if (!view_.IsBarActive())
    HidePanel();
}

void TForm1::OkBClick() {
  const std::string text = view_.FieldText();
  if (text.empty())
    return;
  state_.CurrentCommand = text;
  view_.SetFieldText(std::string(texts::kRunning));
  ExecuteCommand(state_, *this);
  if (state_.KeepInHistory)
    AddToHistory(state_.CurrentCommand);
}

void TForm1::ECommandKeyPress(char& key) {
  if (key == kKeyEnter) {
    key = 0;
    OkBClick();
  } else if (key == kKeyEscape) {
    key = 0;
    HidePanel();
  }
}

void TForm1::CloseBClick() {
  // The click arrives before the release; with a slow slide the long-press timer would
  // otherwise fire during the slide and open the menu after a short click.
  view_.SetQTTimer(false);
  HidePanel();
}

void TForm1::CloseBMouseDown() {
  longPressTicks_ = 0;
  view_.SetQTTimer(true);
}

void TForm1::CloseBMouseUp() {
  view_.SetQTTimer(false);
}

void TForm1::QTTimerTimer() {
  ++longPressTicks_;
  if (longPressTicks_ != 1)
    return;
  view_.SetQTTimer(false);
  // The shown bar sits at the screen's top-left corner, so bar coordinates are screen ones.
  const Rect button = view_.CloseBBounds();
  view_.PopupExitMenu({button.left, button.top});
}

void TForm1::N1Click() {
  HidePanel();
  system_.Terminate();
}

void TForm1::LoadHistory() {
  // Until a read succeeds the list is not the file's, and must never be written over it.
  historyRead_ = false;
  if (kv::LoadHistory(fs_, codec_, HistoryPath(), historyList_))
    view_.SetDropDownItems(historyList_);
  historyRead_ = true;
}

void TForm1::AddToHistory(const std::string& text) {
  PutOnTop(historyList_, text);
  unsavedCommands_.push_back(text);
  view_.SetDropDownItems(historyList_);
  view_.SetSaveTimer(true);
}

void TForm1::SaveHistory() {
  if (unsavedCommands_.empty())
    return;
  view_.SetSaveTimer(false);
  std::vector<std::string> commands;
  commands.swap(unsavedCommands_);
  try {
    if (!historyRead_) {
      // Read again first: a file that still cannot be read is left as it is rather than
      // rewritten from a part of it.
      std::vector<std::string> fromFile;
      kv::LoadHistory(fs_, codec_, HistoryPath(), fromFile);
      for (std::string& command : commands)
        PutOnTop(fromFile, std::move(command));
      historyList_ = std::move(fromFile);
      historyRead_ = true;
      view_.SetDropDownItems(historyList_);
    }
    writeLineList(fs_, codec_, HistoryPath(), historyList_);
  } catch (const FileError& e) {
    if (ShouldReport(e))
      pendingErrors_.emplace_back(e.what());
  }
}

void TForm1::SaveTimerTimer() {
  SaveHistory();
  ShowPendingErrors();
}

void TForm1::ClearHistory() {
  // The user asked for an empty history: whatever the file held, it may go.
  unsavedCommands_.clear();
  view_.SetSaveTimer(false);
  kv::ClearHistory(fs_, codec_, HistoryPath(), historyList_);
  historyRead_ = true;
  view_.SetDropDownItems(historyList_);
}

std::string TForm1::HistoryPath() const {
  return paths_.File("history.cmh");
}

void TForm1::LoadSettings() {
  if (!fs_.fileExists(configPath_)) {
    settings_ = DefaultSettings();
    BuildGradientData();
    ApplyPanelColours();
    return;
  }
  const std::optional<std::string> record = fs_.readFileForUpdate(configPath_, kSettingsRecordSize);
  if (!record) {
    system_.ShowMessage(std::string(texts::kConfigOpenError));
    fs_.removeFile(configPath_);
    settings_.Delay = kDelayAfterOpenError;
    return;
  }
  if (record->size() < kSettingsRecordSize)
    throw FileError(std::string(kReadBeyondEndOfFile));
  settings_ = DecodeSettingsRecord(*record);
  BuildGradientData();
  ApplyPanelColours();
}

void TForm1::SaveSettings() {
  writeFileAtomically(fs_, configPath_, EncodeSettingsRecord(settings_));
}

void TForm1::BuildGradientData() {
  gradientData_ =
      kv::BuildGradientData(settings_.EdgeColor, settings_.MiddleColor, system_.Colors());
}

void TForm1::ApplyPanelColours() {
  view_.SetPanelGradient(gradientData_);
  view_.SetButtonsFontColor(settings_.TextColor);
  view_.SetFieldColor(settings_.MiddleColor);
  view_.SetFieldFontColor(settings_.TextColor);
}

void TForm1::EditSettings() {
  OptionsWindow& options = dialogs_.Options();
  options.SetSpeed(settings_.Delay);
  options.SetSpeedCaption(std::to_string(options.Speed()));
  options.SetColors(settings_.EdgeColor, settings_.MiddleColor, settings_.TextColor);
  if (options.ShowModal() != kModalResultOk)
    return;
  settings_.Delay = static_cast<std::uint8_t>(options.Speed() & 0xFF);
  settings_.EdgeColor = options.TopColor();
  settings_.MiddleColor = options.MiddleColor();
  settings_.TextColor = options.TextColor();
  SaveSettings();
  BuildGradientData();
  ApplyPanelColours();
}

void TForm1::ShowHelp() {
  dialogs_.ShowHelp();
}
void TForm1::ShowAbout() {
  dialogs_.ShowAbout();
}
void TForm1::Terminate() {
  system_.Terminate();
}
int TForm1::ShowCommandEditor() {
  return dialogs_.ShowCommandEditor();
}

void TForm1::ReloadCommands() {
  ++commandsVersion_;
  LoadCommandStore(fs_, codec_, paths_.File("command.cms"), commands_);
}

void TForm1::SetFieldText(const std::string& text, bool selectAll) {
  view_.SetFieldText(text);
  if (selectAll)
    view_.SelectAllField();
}

void TForm1::RepaintBar() {
  // Only the field changed ("Выполнение..."): painting that is enough for it to show.
  view_.PaintChanges();
}

void TForm1::RestartWindows(TRestartWindows type) {
  CoolD.RestartType = type;
  CoolD.RestartWindows();
}

int TForm1::ShellOpen(const std::string& file, const std::string& parameters,
                      const std::string& directory) {
  return system_.ShellOpen(file, parameters, directory);
}

void TForm1::ShowMessage(const std::string& text) {
  system_.ShowMessage(text);
}

}  // namespace kv
