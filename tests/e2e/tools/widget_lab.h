// The protocol between the widget lab (a small program that shows a dialog frame with a drag bar,
// push buttons, an edit and a panel) and the end-to-end tests that drive it.
#pragma once

namespace kv::lab {

inline constexpr wchar_t kFormClass[] = L"TWidgetLab";
// The registered message the tests send to the lab's form: wparam a command, lparam its argument.
inline constexpr wchar_t kCommandMessage[] = L"KarvossWidgetLab";

enum Command {
  kFocus = 1,          // lparam: a Control; the control takes the keyboard focus
  kPressed = 2,        // lparam: a Control (a button); returns 1 while it is drawn pushed in
  kEnable = 3,         // lparam: Control | enabled << 8
  kModalResult = 4,    // returns the form's modal result
  kDetachBar = 5,      // the drag bar's DraggedControl := none
  kEnableBar = 6,      // lparam: 1 enabled, 0 disabled
  kBarCaption = 7,     // lparam: index into kBarCaptions
  kQuit = 8,           // ends the program
  kControlWindow = 9,  // lparam: a Control; returns its window
  kHandCursor = 10,    // returns the lab's handle of the system's hand pointer
};

enum Control { kEdit = 0, kOk, kCancel, kClose, kOff, kApply, kOnPanel, kPanel, kControlCount };

// Names in the log, by Control.
inline constexpr const char* kNames[] = {"edit", "ok",    "cancel",  "close",
                                         "off",  "apply", "onpanel", "panel"};

inline constexpr const char* kBarCaptions[] = {"Лаборатория кнопок", "Другой заголовок"};

// Layout (client coordinates of the 400 x 160 form).
inline constexpr int kClientWidth = 400;
inline constexpr int kClientHeight = 160;
inline constexpr int kOkLeft = 160, kOkTop = 44, kButtonWidth = 75, kButtonHeight = 25;
inline constexpr int kPanelTop = 110, kPanelHeight = 50;
// The panel's gradient and the place of its disabled button on it.
inline constexpr char kPanelGradient[] = "255;65280;50;0;0;65280;16711680;50;0;0";
inline constexpr int kOnPanelLeft = 20, kOnPanelTop = 12;

}  // namespace kv::lab
