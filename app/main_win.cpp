// Program entry: the application object, the windows created once and hidden in their fixed
// order, and the one message loop.
#include <windows.h>
#include <objbase.h>

#include "app/bar.h"
#include "app/bar_system_win.h"
#include "app/bar_window_win.h"
#include "app/texts.h"
#include "dialogs/dialogs_win.h"
#include "toolkit/application_win.h"
#include "toolkit/file_system_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

int Run() {
  // The shell's "open" of documents and addresses may need COM on this thread.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  Application& app = Application::Instance();
  app.ShowMainForm = false;
  app.Initialize(std::string(texts::kApplicationTitle));

  WindowsFileSystem fs;
  WindowsAnsiCodec codec;
  WindowsBarSystem system;
  WindowsSessionControl session;
  const DataPaths paths{ExecutableFolder()};
  ProgramDialogs dialogs(fs, codec, paths);

  BarWindow Form1;
  TForm1 logic(Form1, system, session, dialogs, fs, codec, paths);
  Form1.Create(logic);
  // The dialogs after the bar, which owns them.
  dialogs.Create(Form1.hwnd());
  system.SetBarWindow(Form1.hwnd());
  app.SetMainForm(&Form1);
  Form1.RunFormCreate();

  app.Run();
  logic.FormDestroy();
  CoUninitialize();
  return 0;
}

}  // namespace
}  // namespace kv

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return kv::Run();
}
