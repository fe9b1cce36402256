#include "dialogs/dialogs_win.h"

#include <stdexcept>

#include "dialogs/about_box_win.h"
#include "dialogs/command_editor_win.h"
#include "dialogs/folder_chooser_win.h"
#include "dialogs/help_window_win.h"
#include "dialogs/options_window_win.h"

namespace kv {

struct ProgramDialogs::Forms {
  Forms(FileSystem& fs, const AnsiCodec& codec, const DataPaths& paths)
      : Form2(fs, codec, paths.File("command.cms")) {}

  TForm2 Form2;
  TForm3 Form3;
  Tf_Dir f_Dir;
  TAboutBox AboutBox;
  TOptForm OptForm;
};

ProgramDialogs::ProgramDialogs(FileSystem& fs, const AnsiCodec& codec, DataPaths paths)
    : fs_(fs), codec_(codec), paths_(std::move(paths)) {}

ProgramDialogs::~ProgramDialogs() = default;

void ProgramDialogs::Create(HWND owner) {
  forms_ = std::make_unique<Forms>(fs_, codec_, paths_);
  Forms& f = *forms_;
  f.Form2.Create(owner, f.f_Dir);
  f.Form3.Create(owner, [this] { ShowAbout(); });
  f.f_Dir.Create(owner);
  f.AboutBox.Create(owner);
  f.OptForm.Create(owner);
}

int ProgramDialogs::ShowHelp() {
  return forms_->Form3.ShowModal();
}

int ProgramDialogs::ShowAbout() {
  return forms_->AboutBox.ShowModal();
}

int ProgramDialogs::ShowCommandEditor() {
  return forms_->Form2.ShowModal();
}

OptionsWindow& ProgramDialogs::Options() {
  return forms_->OptForm;
}

}  // namespace kv
