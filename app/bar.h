// The bar, TForm1: start-up, showing and hiding, the field's keys and buttons, the history, the
// settings and the dispatcher's host. Everything here is portable; the window layer forwards
// messages to these handlers and implements the interfaces below.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/settings.h"
#include "dialogs/bar_dialogs.h"
#include "interpreter/dispatch.h"
#include "interpreter/session.h"
#include "toolkit/data_paths.h"
#include "toolkit/errors.h"
#include "toolkit/file_system.h"
#include "toolkit/text_codec.h"
#include "toolkit/color.h"
#include "toolkit/dpi_scale.h"
#include "toolkit/geometry.h"

namespace kv {

// The bar's designed height, hidden top and slide step, at 96 DPI.
inline constexpr int kBarHeight = 61;
inline constexpr int kHiddenTop = -100;
inline constexpr int kSlideStep = 5;
// "Ok" lies this far right of the field, "X" this far right of the field plus the width of "Ok",
// at 96 DPI.
inline constexpr int kOkBGap = 5;
inline constexpr int kCloseBGap = 10;

// The bar's sizes at a display scale. The slide keeps its 19 steps each way at every scale: the
// step is scaled, and the hidden top lies 20 steps above the screen (at 96 DPI, -100), so the
// bar, scaled as high, is always wholly above it.
struct BarMetrics {
  int height = kBarHeight;
  int slideStep = kSlideStep;
  int hiddenTop = kHiddenTop;
  int okBGap = kOkBGap;
  int closeBGap = kCloseBGap;
  friend bool operator==(const BarMetrics&, const BarMetrics&) = default;
};
BarMetrics BarMetricsAt(DpiScale scale);
inline constexpr unsigned kHotkeyModifierWin = 8;
inline constexpr unsigned kHotkeyKeyZ = 0x5A;
// The history is written once the started program has had its start (it takes some tens of
// milliseconds): when the bar has gone up, or after this long at the latest.
inline constexpr int kHistorySaveDelayMs = 500;

// The bar window and its controls.
class BarView {
 public:
  virtual ~BarView() = default;

  virtual void ShowBarWindow() = 0;  // visible, active, in the foreground
  // Takes the foreground again and gives the field the keyboard.
  virtual void ActivateBar() = 0;
  virtual void HideBarWindow() = 0;
  virtual bool IsBarShowing() = 0;  // visible (sliding included)
  virtual bool IsBarActive() = 0;   // the active window of the system
  virtual int BarTop() = 0;
  virtual void SetBarTop(int top) = 0;
  virtual void SetBarBounds(int left, int top, int width) = 0;
  virtual int ScreenWidth() = 0;
  // The display scale the bar is laid out at: its monitor's (the primary monitor's).
  virtual DpiScale BarScale() = 0;
  virtual void SetBarAlpha(int alpha) = 0;

  virtual void RepaintBar() = 0;
  // Paints now what changed and waits to be painted (the field's new text).
  virtual void PaintChanges() = 0;
  virtual void RepaintPan() = 0;
  virtual void RepaintField() = 0;
  virtual void ProcessMessages() = 0;  // let every pending message run
  virtual void SetTimer1(bool on) = 0;
  virtual void SetQTTimer(bool on) = 0;
  virtual void SetSaveTimer(bool on) = 0;  // one tick of kHistorySaveDelayMs

  virtual std::string FieldText() = 0;
  virtual void SetFieldText(const std::string& text) = 0;
  virtual void SelectAllField() = 0;
  virtual void FocusField() = 0;
  virtual void SetDropDownItems(const std::vector<std::string>& items) = 0;
  // Takes the suggestion list under the field out of view.
  virtual void CloseSuggestions() = 0;

  virtual Rect FieldBounds() = 0;  // ECommand within the bar
  virtual Rect OkBBounds() = 0;
  virtual Rect CloseBBounds() = 0;
  virtual void SetOkBLeft(int left) = 0;
  virtual void SetCloseBLeft(int left) = 0;
  virtual void PopupExitMenu(Point screen) = 0;  // PopupMenu1 with "Выход"
  // Brings the program's open modal dialog (the top one, when one opened another) to the front;
  // false when no dialog is open.
  virtual bool BringOpenDialogToFront() = 0;

  // The panel's gradient, the buttons' font colour, the field's fill (colour index 3) and font
  // colour; colours passed unconverted.
  virtual void SetPanelGradient(const std::string& data) = 0;
  virtual void SetButtonsFontColor(Color c) = 0;
  virtual void SetFieldColor(Color c) = 0;
  virtual void SetFieldFontColor(Color c) = 0;
};

enum class HotkeyRegistration {
  registered,
  taken,   // another program holds Win+Z
  failed,  // refused for another reason
};

// The process and the system around the bar.
class BarSystem {
 public:
  virtual ~BarSystem() = default;
  // Creates the named mutex "Karvossz" (kept for the process's life); true when the thread's
  // last-error value after the call is non-zero (another instance made it).
  virtual bool CreateInstanceMutex() = 0;
  // Win+Z for the bar window under the atom "hotkey".
  virtual HotkeyRegistration RegisterHotkey() = 0;
  // Watches the keyboard for Win+Z instead, posting the bar the same hotkey message; false when
  // the system would not let it.
  virtual bool WatchKeyboardForHotkey() = 0;
  // Ends the registration or the watch.
  virtual void UnregisterHotkey() = 0;
  // The field (or the dialog brought to front) has the keyboard: keys typed since Win+Z and
  // held back meanwhile go to it now.
  virtual void KeyboardReady() = 0;
  // A second start asks the running copy to put its keyboard hook back.
  virtual void AskRunningCopyToRearm() = 0;
  virtual void Terminate() = 0;  // the application ends when control is back in its loop
  virtual void Sleep(int milliseconds) = 0;
  virtual void ShowMessage(const std::string& text) = 0;      // plain message window
  virtual void ShowErrorBox(const std::string& message) = 0;  // the default error box
  // Message box with one OK and the exclamation icon (flags 0x30).
  virtual void ShowWarningBox(const std::string& text, const std::string& caption) = 0;
  virtual int ShellOpen(const std::string& file, const std::string& parameters,
                        const std::string& directory) = 0;
  virtual const SystemColors& Colors() = 0;
};

class TForm1 : private DispatchHost {
 public:
  TForm1(BarView& view, BarSystem& system, SessionControl& session, BarDialogs& dialogs,
         FileSystem& fs, const AnsiCodec& codec, DataPaths paths);

  // Start-up and teardown.
  void FormCreate();
  void FormDestroy();

  // Showing and hiding.
  void WMHotKey(unsigned modifiers, unsigned key);
  void ShowPanel();
  void HidePanel() override;
  void FormShow();
  void Timer1Timer();

  // The field and the buttons.
  void OkBClick();
  void ECommandKeyPress(char& key);
  void CloseBClick();
  void CloseBMouseDown();
  void CloseBMouseUp();
  void QTTimerTimer();
  void N1Click();
  void SaveTimerTimer();

  // History. AddToHistory changes the list at once and the file later (SaveHistory): the
  // write and its flush would compete with the program just started.
  void LoadHistory();
  void AddToHistory(const std::string& text);
  void SaveHistory();
  void ClearHistory() override;

  // Settings.
  void LoadSettings();
  void SaveSettings();
  void ApplyPanelColours();
  void EditSettings() override;

  CommandState& State() { return state_; }
  const std::vector<std::string>& HistoryList() const { return historyList_; }
  const std::vector<std::string>& CommandLines() const { return commands_; }
  // Changes whenever the command lines are read again.
  unsigned CommandLinesVersion() const { return commandsVersion_; }
  const Settings& CurrentSettings() const { return settings_; }
  const std::string& GradientData() const { return gradientData_; }
  const std::string& ConfigPath() const { return configPath_; }
  const DataPaths& Paths() const { return paths_; }

 private:
  // DispatchHost.
  void ShowHelp() override;
  void ShowAbout() override;
  void Terminate() override;
  int ShowCommandEditor() override;
  void ReloadCommands() override;
  void SetFieldText(const std::string& text, bool selectAll) override;
  void RepaintBar() override;
  const std::vector<std::string>& Commands() override { return commands_; }
  void RestartWindows(TRestartWindows type) override;
  int ShellOpen(const std::string& file, const std::string& parameters,
                const std::string& directory) override;
  void ShowMessage(const std::string& text) override;

  void BuildGradientData();
  std::string HistoryPath() const;
  // Runs one of the show's reads; a FileError is kept for ShowPendingErrors.
  void ReadAtShow(const std::function<void()>& read);
  bool ShouldReport(const FileError& e);
  void ShowPendingErrors();

  BarView& view_;
  BarSystem& system_;
  BarDialogs& dialogs_;
  FileSystem& fs_;
  const AnsiCodec& codec_;
  DataPaths paths_;
  TCoolDesktop CoolD;

  CommandState state_;
  std::string configPath_;
  std::vector<std::string> commands_;  // Commands
  unsigned commandsVersion_ = 0;
  std::vector<std::string> historyList_;  // HistoryList
  // Whether historyList_ is what the file held at the last read (or there was no file): only
  // then may a save replace the file.
  bool historyRead_ = true;
  std::vector<std::string> unsavedCommands_;  // added since the last save, oldest first
  std::vector<std::string> pendingErrors_;    // read errors of a show, reported once it is down
  std::set<std::string> reportedTooLarge_;    // refusals already said in this run
  Settings settings_;                         // zero until LoadSettings
  std::string gradientData_;
  int longPressTicks_ = 0;
};

}  // namespace kv
