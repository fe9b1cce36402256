// The program's dialogs: their objects made once, with the bar, and their windows created when
// the message loop is first idle (one per idle turn, in the program's order), or at once when
// something needs one sooner. The bar owns them, so no dialog gets a taskbar button.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "dialogs/bar_dialogs.h"
#include "toolkit/data_paths.h"
#include "toolkit/file_system.h"
#include "toolkit/text_codec.h"

namespace kv {

class TForm2;
class TForm3;
class Tf_Dir;
class TAboutBox;
class TOptForm;

class ProgramDialogs final : public BarDialogs {
 public:
  // The command editor reads and writes Data\command.cms through `fs` and `codec`.
  ProgramDialogs(FileSystem& fs, const AnsiCodec& codec, const DataPaths& paths);
  ~ProgramDialogs() override;

  void SetOwner(HWND owner) { owner_ = owner; }
  // Creates the next window still missing, in the order TForm2, TForm3, Tf_Dir, TAboutBox,
  // TOptForm; false when all existed already.
  bool CreateNext();

  int ShowHelp() override;
  int ShowAbout() override;
  int ShowCommandEditor() override;
  OptionsWindow& Options() override;

 private:
  enum Index { editor, help, folderChooser, about, options, count };
  // The dialog's window, created now if it does not exist yet.
  void Ensure(Index index);
  TForm2& Form2();
  TForm3& Form3();
  Tf_Dir& FolderChooser();
  TAboutBox& AboutBox();
  TOptForm& OptForm();

  struct Forms;
  std::unique_ptr<Forms> forms_;
  HWND owner_ = nullptr;
  std::array<bool, count> created_{};
};

}  // namespace kv
