// Program entry: the application object, the bar and its start-up work first, the dialogs'
// windows when the loop is first idle, and the one message loop.
#include <windows.h>

#include "app/bar.h"
#include "app/bar_system_win.h"
#include "app/bar_window_win.h"
#include "app/exit_request.h"
#include "app/exit_request_win.h"
#include "app/texts.h"
#include "dialogs/dialogs_win.h"
#include "toolkit/application_win.h"
#include "toolkit/file_system_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

int Run() {
  Application& app = Application::Instance();
  app.ShowMainForm = false;
  app.Initialize(std::string(texts::kApplicationTitle));

  WindowsFileSystem fs;
  WindowsAnsiCodec codec;
  WindowsBarSystem system;
  WindowsSessionControl session;
  const DataPaths paths{ExecutableFolder()};

  // The form objects in the program's order: the bar, then the dialogs.
  BarWindow Form1;
  ProgramDialogs dialogs(fs, codec, paths);
  TForm1 logic(Form1, system, session, dialogs, fs, codec, paths);
  Form1.Create(logic);
  system.SetBarWindow(Form1.Hwnd());
  app.SetMainForm(&Form1);
  // The bar's start-up work runs before any other window exists, so Win+Z works as soon as the
  // loop runs; a second instance says so and ends without ever making the dialogs. The field,
  // the keyboard hook's watch and the dialogs' windows are made when the loop is first idle,
  // or (the field and the dialogs) when needed sooner.
  Form1.RunFormCreate();
  dialogs.SetOwner(Form1.Hwnd());
  app.WhenIdle(
      [&] { return Form1.CreateField() || system.StartKeyboardWatch() || dialogs.CreateNext(); });
  // The shell libraries and the suggestion list, which needs them, load at the first key typed
  // into the field: never on the way of the slide, and never for a program that is only called
  // and sent away. A launch loads the libraries itself when Enter comes first.
  Form1.OnFirstKey = [&] {
    system.LoadShell();
    Form1.AttachSuggestions();
  };

  app.Run();
  logic.FormDestroy();
  return 0;
}

}  // namespace
}  // namespace kv

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
  // `karvoss.exe /exit` only ends the running copy: no window, no Data folder, an exit code.
  if (kv::IsExitRequest(kv::Narrow(arguments ? arguments : L"")))
    return kv::EndRunningKarvoss();
  // The boundary outside the message loop: an error before it runs (a window the system would
  // not create) is shown in the default error box, and the program ends.
  try {
    return kv::Run();
  } catch (const std::exception& e) {
    kv::Application::Instance().ShowException(e);
  }
  return 0;
}
