// The widget lab: a dialog frame with its drag bar, push buttons, an edit and a drawn panel, for
// the end-to-end tests of the controls. It reopens its dialog whenever a modal result closes it
// and writes what happens, one line per event, into the file named on its command line:
//   click <button> <the form's modal result when OnClick ran>
//   down|up <button> left|right|middle      (a button's mouse reports)
//   bar-down left|right|middle              (the drag bar's report)
//   modal <result>                          (the modal loop ended)
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "dialogs/dialog_form_win.h"
#include "tests/e2e/tools/widget_lab.h"
#include "toolkit/application_win.h"
#include "toolkit/text_win.h"
#include "widgets/button_win.h"
#include "widgets/panel_win.h"

namespace kv::lab {
namespace {

std::wstring logPath;

void Log(const std::string& line) {
  HANDLE f = CreateFileW(logPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, OPEN_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE)
    return;
  const std::string text = line + "\n";
  DWORD n = 0;
  WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
  CloseHandle(f);
}

const char* NameOf(MouseButton b) {
  switch (b) {
    case MouseButton::left:
      return "left";
    case MouseButton::right:
      return "right";
    default:
      return "middle";
  }
}

class LabForm final : public DialogForm {
 public:
  void Create() {
    CreateDialogForm({.className = kFormClass,
                      .text = "Widget lab",
                      .bounds = {0, 0, kClientWidth, kClientHeight}},
                     kBarCaptions[0]);
    sDragBar1.OnMouseDown = [](MouseButton b, Point) { Log(std::string("bar-down ") + NameOf(b)); };
    AddLabel({.at = {8, 28}, .text = "Имя:"});
    CreateEdit(edit_, {8, 44, 148, 65});
    const int row2 = kOkTop + kButtonHeight + 7;
    const int step = kButtonWidth + 5;
    AddButton(kOk, {kOkLeft, kOkTop, kOkLeft + kButtonWidth, kOkTop + kButtonHeight}, "Ок", 0,
              false);
    AddButton(kCancel,
              {kOkLeft + step, kOkTop, kOkLeft + step + kButtonWidth, kOkTop + kButtonHeight},
              "Отмена", 2, true);
    AddButton(kClose, {8, row2, 8 + kButtonWidth, row2 + kButtonHeight}, "Закрыть", 1, false);
    AddButton(kOff, {kOkLeft, row2, kOkLeft + kButtonWidth, row2 + kButtonHeight}, "Выкл", 1,
              false);
    AddButton(kApply, {kOkLeft + step, row2, kOkLeft + step + kButtonWidth, row2 + kButtonHeight},
              "&Apply", 0, false);
    buttons_[kOff].SetEnabled(false);

    panel_.Background().Gradient().SetData(kPanelGradient);
    panel_.Background().Gradient().SetPercent(100);
    panel_.Create(Hwnd(), {0, kPanelTop, kClientWidth, kPanelTop + kPanelHeight});
    AddButton(kOnPanel,
              {kOnPanelLeft, kOnPanelTop, kOnPanelLeft + kButtonWidth, kOnPanelTop + kButtonHeight},
              "Панель", 1, false, panel_.Hwnd());
    buttons_[kOnPanel].SetEnabled(false);

    SetTabOrder({edit_.Hwnd(), buttons_[kOk].Hwnd(), buttons_[kCancel].Hwnd(),
                 buttons_[kClose].Hwnd(), buttons_[kOff].Hwnd(), buttons_[kApply].Hwnd()});
    command_ = RegisterWindowMessageW(kCommandMessage);
  }

 protected:
  LRESULT Handle(UINT msg, WPARAM wparam, LPARAM lparam) override {
    if (msg == command_ && command_ != 0)
      return Command(static_cast<int>(wparam), lparam);
    return DialogForm::Handle(msg, wparam, lparam);
  }

 private:
  void AddButton(Control c, Rect bounds, const std::string& caption, int modalResult, bool cancel,
                 HWND parent = nullptr) {
    TsButton& b = buttons_[c];
    const std::string name = kNames[c];
    b.Create(*this, parent ? parent : Hwnd(), bounds, caption);
    b.SetModalResult(modalResult);
    b.SetCancel(cancel);
    b.OnClick = [this, name] { Log("click " + name + " " + std::to_string(ModalResult())); };
    b.OnMouseDown = [name](MouseButton m, Point) { Log("down " + name + " " + NameOf(m)); };
    b.OnMouseUp = [name](MouseButton m, Point) { Log("up " + name + " " + NameOf(m)); };
  }

  HWND ControlWindow(LPARAM c) {
    if (c == kEdit)
      return edit_.Hwnd();
    if (c == kPanel)
      return panel_.Hwnd();
    if (c > kEdit && c < kPanel)
      return buttons_[c].Hwnd();
    return nullptr;
  }

  LRESULT Command(int command, LPARAM arg) {
    switch (command) {
      case kFocus:
        SetFocus(ControlWindow(arg));
        return 1;
      case kPressed:
        return arg > kEdit && arg < kPanel && buttons_[arg].Pressed();
      case kEnable: {
        const int c = static_cast<int>(arg & 0xFF);
        if (c > kEdit && c < kPanel)
          buttons_[c].SetEnabled((arg >> 8) != 0);
        return 1;
      }
      case kModalResult:
        return ModalResult();
      case kDetachBar:
        sDragBar1.SetDraggedControl(nullptr);
        return 1;
      case kEnableBar:
        sDragBar1.SetEnabled(arg != 0);
        return 1;
      case kBarCaption:
        sDragBar1.SetCaption(kBarCaptions[arg ? 1 : 0]);
        return 1;
      case kQuit:
        Application::Instance().Terminate();
        return 1;
      case kControlWindow:
        return reinterpret_cast<LRESULT>(ControlWindow(arg));
      case kHandCursor:
        // Cursor handles are the process's own under Wine: the test compares with this one.
        return reinterpret_cast<LRESULT>(LoadCursorW(nullptr, IDC_HAND));
    }
    return 0;
  }

  UINT command_ = 0;
  Edit edit_;
  TsButton buttons_[kPanel];
  TsPanel panel_;
};

int Run() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 2)
    return 2;
  logPath = argv[1];
  LocalFree(argv);

  Application& app = Application::Instance();
  app.Initialize("Karvoss");
  auto form = std::make_unique<LabForm>();
  form->Create();
  while (!app.Terminated())
    Log("modal " + std::to_string(form->ShowModal()));
  return 0;
}

}  // namespace
}  // namespace kv::lab

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return kv::lab::Run();
}
