// TForm2, the command editor: the store's names on the left, the four fields of one entry on the
// right, and the buttons that add, replace, delete, pick files and folders, save and cancel. The
// lists live in CommandEditorModel; the name list box mirrors its rows.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "dialogs/dialog_form_win.h"
#include "dialogs/editor_model.h"
#include "toolkit/controls_win.h"
#include "toolkit/file_system.h"
#include "toolkit/text_codec.h"
#include "widgets/button_win.h"

namespace kv {

class Tf_Dir;

class TForm2 final : public DialogForm {
 public:
  TForm2(FileSystem& fs, const AnsiCodec& codec, std::string storePath);

  // `folderChooser` gives the folder chooser that serves DirBrowse.
  void Create(HWND owner, std::function<Tf_Dir&()> folderChooser);

  void FormShow() override;

  // Event handlers.
  void CommsNamesClick();
  void bAddEditClick();
  void DelButtonClick();
  void ClearButtonClick();
  void FileBrowseClick();
  void ParamFileBrowseClick();
  void DirBrowseClick();
  void ExtractDirFromPathClick();
  void OkBClick();
  void CancelBClick();

  const CommandEditorModel& Model() const { return model_; }

  ListBox CommsNames;
  Edit Comm;
  Edit Path;
  Edit Param;
  Edit Dir;
  TsButton FileBrowse;
  TsButton ParamFileBrowse;
  TsButton DirBrowse;
  TsButton ExtractDirFromPath;
  TsButton bAddEdit;
  TsButton ClearButton;
  TsButton DelButton;
  TsButton OkB;
  TsButton CancelB;

 private:
  // One of the four edits of an entry: it refuses what a stored line cannot carry.
  void CreateFieldEdit(Edit& edit, Rect bounds);
  void FieldEditChanged(Edit& edit);
  CommandEntry EditTexts() const;
  void SetEditTexts(const CommandEntry& entry);
  void FillNames();
  // bAddEdit is enabled exactly while the name and the path hold text.
  void UpdateAddButton();
  // OD: the one file-open dialog of both "..." file buttons; `filter` in the form
  // "name|pattern|name|pattern". The picked file's full name, or nullopt when cancelled.
  std::optional<std::string> RunOpenDialog(const std::string& filter);

  FileSystem& fs_;
  const AnsiCodec& codec_;
  std::string storePath_;
  std::function<Tf_Dir&()> folderChooser_;
  CommandEditorModel model_;
  std::wstring odFileName_;  // the dialog starts at the file picked last
};

// Removes the characters a stored line cannot carry from an edit's text (separators, line breaks
// and what the code page lacks), keeping the caret where it was relative to the text around it.
// Returns the refused characters the code page lacks.
std::string StripUnstorableText(Edit& edit, const AnsiCodec& codec);

}  // namespace kv
