// The program's dialogs: created once, hidden, right after the bar and owned by it, and shown
// modally for the built-in commands.
#pragma once

#include <windows.h>

#include <memory>

#include "app/bar.h"
#include "toolkit/file_system.h"
#include "toolkit/text_codec.h"

namespace kv {

class ProgramDialogs final : public BarDialogs {
 public:
  // The command editor reads and writes Data\command.cms through `fs` and `codec`.
  ProgramDialogs(FileSystem& fs, const AnsiCodec& codec, DataPaths paths);
  ~ProgramDialogs() override;

  // Creates every dialog, hidden, in the program's order: TForm2, TForm3, Tf_Dir, TAboutBox,
  // TOptForm. `owner` is the bar, so no dialog gets a taskbar button.
  void Create(HWND owner);

  int ShowHelp() override;
  int ShowAbout() override;
  int ShowCommandEditor() override;
  OptionsWindow& Options() override;

 private:
  struct Forms;
  FileSystem& fs_;
  const AnsiCodec& codec_;
  DataPaths paths_;
  std::unique_ptr<Forms> forms_;
};

}  // namespace kv
