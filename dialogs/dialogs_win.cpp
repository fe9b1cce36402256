#include "dialogs/dialogs_win.h"

#include "dialogs/about_box_win.h"
#include "dialogs/command_editor_win.h"
#include "dialogs/folder_chooser_win.h"
#include "dialogs/help_window_win.h"
#include "dialogs/options_window_win.h"

namespace kv {

struct ProgramDialogs::Forms {
  Forms(FileSystem& fs, const AnsiCodec& codec, const DataPaths& paths)
      : Form2(fs, codec, paths.File("command.cms")), f_Dir(fs) {}

  TForm2 Form2;
  TForm3 Form3;
  Tf_Dir f_Dir;
  TAboutBox AboutBox;
  TOptForm OptForm;
};

ProgramDialogs::ProgramDialogs(FileSystem& fs, const AnsiCodec& codec, const DataPaths& paths)
    : forms_(std::make_unique<Forms>(fs, codec, paths)) {}

ProgramDialogs::~ProgramDialogs() = default;

void ProgramDialogs::Ensure(Index index) {
  if (created_[index])
    return;
  // Marked first: a window that fails to come up is not tried again on every idle turn.
  created_[index] = true;
  Forms& f = *forms_;
  switch (index) {
    case editor:
      f.Form2.Create(owner_, [this]() -> Tf_Dir& { return FolderChooser(); });
      break;
    case help:
      f.Form3.Create(owner_, [this] { ShowAbout(); });
      break;
    case folderChooser:
      f.f_Dir.Create(owner_);
      break;
    case about:
      f.AboutBox.Create(owner_);
      break;
    case options:
      f.OptForm.Create(owner_);
      break;
    case count:
      break;
  }
}

bool ProgramDialogs::CreateNext() {
  for (int i = 0; i < count; ++i) {
    if (!created_[i]) {
      Ensure(static_cast<Index>(i));
      return true;
    }
  }
  return false;
}

TForm2& ProgramDialogs::Form2() {
  Ensure(editor);
  return forms_->Form2;
}
TForm3& ProgramDialogs::Form3() {
  Ensure(help);
  return forms_->Form3;
}
Tf_Dir& ProgramDialogs::FolderChooser() {
  Ensure(folderChooser);
  return forms_->f_Dir;
}
TAboutBox& ProgramDialogs::AboutBox() {
  Ensure(about);
  return forms_->AboutBox;
}
TOptForm& ProgramDialogs::OptForm() {
  Ensure(options);
  return forms_->OptForm;
}

int ProgramDialogs::ShowHelp() {
  return Form3().ShowModal();
}

int ProgramDialogs::ShowAbout() {
  return AboutBox().ShowModal();
}

int ProgramDialogs::ShowCommandEditor() {
  return Form2().ShowModal();
}

OptionsWindow& ProgramDialogs::Options() {
  return OptForm();
}

}  // namespace kv
